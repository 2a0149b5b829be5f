// script-translator: a construction script in, its construction listing out.
#include "command_line.hpp"
#include "diagnostics.hpp"
#include "output.hpp"
#include "parser.hpp"
#include "scanners.hpp"
#include "tool.hpp"

int main(int argc, char **argv)
{
    const tool::CommandLine command(argc, argv, "script-translator", 1);
    diagnostics::on = command.given("diagnostics");
    std::FILE *input = command.open_input();
    if (tool::input_name != nullptr)
        diagnostics::read_from(tool::input_name);
    scanner::open(input);
    const int result = script_parse();
    scanner::destroy();
    output::flush();
    diagnostics::finish(result);
    return tool::finish(result);
}

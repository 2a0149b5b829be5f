// script-translator: a construction script in, its construction listing out.
#include <string>

#include "command_line.hpp"
#include "output.hpp"
#include "parser.hpp"
#include "scanners.hpp"
#include "tool.hpp"

int main(int argc, char **argv)
{
    const tool::CommandLine command(argc, argv, "script-translator", 1);
    diagnostics.on = command.given("diagnostics");
    std::FILE *input = command.open_input();
    if (tool::input_name != nullptr)
        diagnostics.name = tool::input_name;
    scanner::open(input);
    const int result = yyparse();
    scanner::destroy();
    output::flush();
    if (diagnostics.on && diagnostics.errors > 0) {
        /* a goal the parse gave up in was not written either */
        const int skipped = diagnostics.statements_skipped + (result != 0);
        const int unreadable = diagnostics.operands_unreadable;
        tool::write_message(std::string(diagnostics.name) + ": " + std::to_string(skipped)
                            + (skipped == 1 ? " statement" : " statements") + " skipped, "
                            + std::to_string(unreadable)
                            + (unreadable == 1 ? " goal operand" : " goal operands")
                            + " unreadable\n");
    }
    return tool::finish(result);
}

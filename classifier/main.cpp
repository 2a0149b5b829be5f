// token-classifier: classifies the tokens of a program text, one line a token.
#include "command_line.hpp"
#include "output.hpp"
#include "scanners.hpp"
#include "tool.hpp"

int main(int argc, char* argv[]) {
    const tool::CommandLine command(argc, argv, "token-classifier", 1);
    scanner::open(command.open_input());
    int status = scanner::lex();
    scanner::destroy();
    output::flush();
    return tool::finish(status);
}

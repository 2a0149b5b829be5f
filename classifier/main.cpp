// token-classifier: classifies the tokens of a program text, one line a token.
#include "command_line.hpp"
#include "output.hpp"
#include "scanners.hpp"
#include "tool.hpp"

static const char usage[] =
    "Usage: token-classifier [FILE]\n"
    "Classify the tokens of a program text read from FILE (standard input when FILE is absent\n"
    "or -) and write one line per token to standard output.\n"
    "Exit status: 0 at the end of the input; 2 when FILE cannot be opened or read, when\n"
    "standard output cannot be written, or on a bad command line.\n";

int main(int argc, char* argv[]) {
    const tool::CommandLine command = tool::command_line(argc, argv, "token-classifier", usage);
    if (command.exit_status >= 0) return tool::finish("token-classifier", command.exit_status);
    scanner::open(command.input);
    int status = scanner::lex();
    scanner::destroy();
    output::flush();
    return tool::finish("token-classifier", status);
}

// token-classifier: classifies the tokens of a program text, one line a token.
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "output.hpp"
#include "scanners.hpp"
#include "tool.hpp"

static const char usage[] =
    "Usage: token-classifier [FILE]\n"
    "Classify the tokens of a program text read from FILE, or from standard input, and write\n"
    "one line per token to standard output.\n"
    "Exit status: 0 at the end of the input; 2 when FILE cannot be opened or read, or when\n"
    "standard output cannot be written.\n";

int main(int argc, char* argv[]) {
    if (tool::info_option(argc, argv, "token-classifier", usage))
        return tool::finish("token-classifier", 0);
    FILE* input = nullptr;
    if (argc > 1 && !(input = std::fopen(argv[1], "r"))) {
        std::fprintf(stderr, "token-classifier: cannot open '%s': %s\n", argv[1],
                     std::strerror(errno));
        return 2;
    }
    scanner::open(input);
    int status = scanner::lex();
    scanner::destroy();
    output::flush();
    return tool::finish("token-classifier", status);
}

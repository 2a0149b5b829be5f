// The program of one filter: its recogniser over its report, its lines to standard output.  The
// build gives the program's name as FILTER_NAME, and FILTER_EXIT_ZERO true for a program that
// ends with status 0 whatever it read.
#include <unistd.h>

#include "command_line.hpp"
#include "lines.hpp"
#include "output.hpp"
#include "tool.hpp"

namespace {

// Each line goes out with its newline; at a terminal, or line-buffered, at once.
class StandardOutput final : public filters::Sink {
public:
    void line(std::string_view text) override {
        output::put({text, "\n"});
        output::done();
    }
};

}  // namespace

int main(int argc, char** argv)
{
    const tool::CommandLine command(argc, argv, FILTER_NAME, 1);
    std::FILE* file = command.open_input();
    auto recogniser = filters::registered_maker();
    StandardOutput sink;
    filters::TerminalLines terminal(file);
#ifdef FILTER_REFERENCE
    filters::UnsiftedInput lines(fileno(file));
#else
    static filters::FileLines lines(fileno(file), recogniser->find_line);
#endif
    filters::Source& input = isatty(fileno(file)) ? static_cast<filters::Source&>(terminal) : lines;
    const int parsed = recogniser->parse(input, sink);
    recogniser->end_report(sink);
    recogniser.reset();
    output::flush();
    return tool::finish(FILTER_EXIT_ZERO ? 0 : parsed);
}

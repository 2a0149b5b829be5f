// The program of one filter: its recogniser over standard input, its lines to standard output.
#include <string>
#include <unistd.h>

#include "catalogue.hpp"
#include "command_line.hpp"
#include "lines.hpp"
#include "output.hpp"
#include "tool.hpp"

namespace filters {
std::unique_ptr<Recogniser> FILTER_MAKE();
}

namespace {

std::string usage(bool parse_result)
{
    const catalogue::Program& filter = catalogue::find(FILTER_NAME);
    std::string text = "Usage: " FILTER_NAME " [REPORT]\n"
                       "Read a prover report (standard input when REPORT is absent or -) and pick out\n"
                       "its lines of interest.\n";
    text.append("Looks for: ").append(filter.looks_for).append("\nWrites:    ").append(filter.writes);
    text += "\nOther lines are skipped silently.\nExit status: ";
    if (parse_result)
        text += "0 when the report was read to its end; 1 when it ended, without a final\n"
                "newline, in a line holding a token; 2 when REPORT cannot be opened, on a read\n"
                "or write error, or on a bad command line.\n";
    else
        text += "0; 2 when REPORT cannot be opened, on a read or write error, or on a bad\n"
                "command line.\n";
    return text;
}

// Each line goes out with its newline; at a terminal, at once.
class StandardOutput final : public filters::Sink {
public:
    void line(std::string_view text) override {
        output::put(text);
        output::put("\n");
        output::done();
    }
};

}  // namespace

int main(int argc, char** argv)
{
    auto recogniser = filters::FILTER_MAKE();
    const bool parse_result = recogniser->finish == filters::parse_result;
    const tool::CommandLine command =
        tool::command_line(argc, argv, FILTER_NAME, usage(parse_result).c_str());
    if (command.exit_status >= 0) return tool::finish(FILTER_NAME, command.exit_status);
    std::FILE* file = command.input ? command.input : stdin;
    StandardOutput sink;
    filters::TerminalLines terminal(file);
#ifdef FILTER_REFERENCE
    filters::EveryLine blocks(fileno(file));
#else
    static filters::Blocks blocks(fileno(file), recogniser->find_line);
#endif
    filters::Source& input = isatty(fileno(file)) ? static_cast<filters::Source&>(terminal) : blocks;
    const int status = recogniser->finish(recogniser->parse(input, sink), sink);
    recogniser.reset();
    output::flush();
    return tool::finish(FILTER_NAME, status);
}

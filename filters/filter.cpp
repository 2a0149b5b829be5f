// The program of one filter: its recogniser over standard input, its lines to standard output.
#include <string>
#include <unistd.h>

#include "catalogue.hpp"
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
    std::string text = "Usage: " FILTER_NAME " < REPORT\n"
                       "Read a prover report on standard input and pick out its lines of interest.\n";
    text.append("Looks for: ").append(filter.looks_for).append("\nWrites:    ").append(filter.writes);
    text += "\nOther lines are skipped silently.\nExit status: ";
    if (parse_result)
        text += "0 when the report was read to its end; 1 when it ended, without a final\n"
                "newline, in a line holding a token; 2 on a read or write error.\n";
    else
        text += "0; 2 on a read or write error.\n";
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
    if (tool::info_option(argc, argv, FILTER_NAME, usage(parse_result).c_str()))
        return tool::finish(FILTER_NAME, 0);
    StandardOutput sink;
    filters::TerminalLines terminal;
#ifdef FILTER_REFERENCE
    filters::EveryLine file(0);
#else
    static filters::Blocks file(0, recogniser->find_line);
#endif
    filters::Source& input = isatty(0) ? static_cast<filters::Source&>(terminal) : file;
    const int status = recogniser->finish(recogniser->parse(input, sink), sink);
    recogniser.reset();
    output::flush();
    return tool::finish(FILTER_NAME, status);
}

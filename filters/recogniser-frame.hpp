// The recogniser made of a filter's scanner and parser, included at the end of its scanner's
// rule file, after its line search `find_line`.  The build gives the program's identifier as
// FILTER_IDENT (prover_time).
#pragma once

namespace {

class RuleRecogniser final : public filters::Recogniser {
public:
    RuleRecogniser() : filters::Recogniser(::find_line)
    {
        if (yylex_init_extra(nullptr, &scanner_) != 0) throw std::bad_alloc();
    }
    ~RuleRecogniser() override { yylex_destroy(scanner_); }

    int parse(filters::Source& source, filters::Sink& sink) override
    {
        yyset_extra(&source, scanner_);
        int parsed;
        do {
            yyrestart(nullptr, scanner_);
            parsed = yyparse(sink, scanner_);
        } while (parsed == 0 && source.resume());
        return parsed;
    }

    void end_report(filters::Sink& sink) override { report_end(sink); }

private:
    yyscan_t scanner_ = nullptr;
};

std::unique_ptr<filters::Recogniser> make_recogniser()
{
    return std::make_unique<RuleRecogniser>();
}

const filters::Registration registration(make_recogniser);

}  // namespace

// report-table's name for it.
#define FILTER_GLUE(a, b) a##b
#define FILTER_MAKER(ident) FILTER_GLUE(make_, ident)
namespace filters {
std::unique_ptr<Recogniser> FILTER_MAKER(FILTER_IDENT)() { return make_recogniser(); }
}

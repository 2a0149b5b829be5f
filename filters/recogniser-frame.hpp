// The recogniser made of a filter's scanner and parser, included at the end of its scanner's
// rule file, after its line search `find_line`.  The build gives the program's identifier as
// FILTER_IDENT (prover_time).
#pragma once

namespace {

class RuleRecogniser final : public filters::Recogniser {
public:
    RuleRecogniser() : filters::Recogniser(::find_line)
    {
        if (yylex_init_extra(&data_, &scanner_) != 0) throw std::bad_alloc();
    }
    ~RuleRecogniser() override { yylex_destroy(scanner_); }

    int parse(filters::Source& source, filters::Sink& sink) override
    {
        data_.source = &source;
        int parsed;
        do {
            yyrestart(nullptr, scanner_);
            parsed = parse_stretch(sink);
        } while (parsed == 0 && source.resume());
        return parsed;
    }

// A grammar whose report leaves something behind beyond its lines names its type in its header
// as FILTER_REPORT_STATE; its parser takes one as its third parameter, and its report_end
// writes from it.
#ifdef FILTER_REPORT_STATE
    void start_report() override { report_ = {}; }
    void end_report(filters::Sink& sink) override { report_end(sink, report_); }

private:
    int parse_stretch(filters::Sink& sink) { return yyparse(sink, scanner_, report_); }
    FILTER_REPORT_STATE report_;
#else
    void start_report() override {}
    void end_report(filters::Sink&) override {}

private:
    int parse_stretch(filters::Sink& sink) { return yyparse(sink, scanner_); }
#endif

    filters::ScannerData data_;
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

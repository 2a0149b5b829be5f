// The recogniser made of this scanner and its parser.
namespace {

class Generated final : public filters::Recogniser {
public:
    Generated() : filters::Recogniser(::find_line, @ENDING@)
    {
        if (@PREFIX@lex_init_extra(nullptr, &scanner_) != 0) throw std::bad_alloc();
    }
    ~Generated() override { @PREFIX@lex_destroy(scanner_); }

    int parse(filters::Source& source, filters::Sink& sink) override
    {
        @PREFIX@set_extra(&source, scanner_);
        int parsed;
        do {
            @PREFIX@restart(nullptr, scanner_);
            parsed = @PREFIX@parse(sink, scanner_);
        } while (parsed == 0 && source.resume());
        return parsed;
    }

private:
    yyscan_t scanner_ = nullptr;
};

}  // namespace

namespace filters {
std::unique_ptr<Recogniser> make_@IDENT@();
}

std::unique_ptr<filters::Recogniser> filters::make_@IDENT@()
{
    return std::make_unique<Generated>();
}

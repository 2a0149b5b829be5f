#include "plots.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "writers.hpp"

namespace plots {

namespace {

using compare::Comparison;
using compare::Result;

// Okabe and Ito's palette, which stays distinct for the colour-blind, less its yellow, too pale
// for a line on white. Each run's line also has a dash pattern of its own, so that lines that
// run together still show apart, and so does a print in grey.
constexpr std::string_view run_colours[] = {"#0072B2", "#D55E00", "#009E73", "#CC79A7",
                                            "#E69F00", "#56B4E9", "#000000"};
constexpr std::string_view run_dashes[] = {"", "9 3", "2 2", "9 3 2 3", "5 5"};
// A scatter plot's marks: problems both runs proved, and those only one of them did.
constexpr std::string_view both_colour = "#0072B2", baseline_only_colour = "#D55E00",
                           run_only_colour = "#009E73";
constexpr std::size_t label_most = 32;  // characters of a label in a plot, the rest cut

constexpr int lowest_decade = -3, highest_decade = 9;

double power_of_ten(int decade) {
    static constexpr double powers[] = {1e-3, 1e-2, 1e-1, 1e0, 1e1, 1e2, 1e3,
                                        1e4,  1e5,  1e6,  1e7, 1e8, 1e9};
    return powers[decade - lowest_decade];
}

// A decade's tick label: 0.001, 0.01, 0.1, 1, 10, ...
std::string decade_label(int decade) {
    std::string label = decade < 0 ? "0." : "1";
    label.append(static_cast<std::size_t>(decade < 0 ? -decade - 1 : decade), '0');
    if (decade < 0) label += '1';
    return label;
}

// A round step, 1, 2 or 5 times a power of ten, that counts to `most` in at most 8 steps.
long round_step(long most) {
    for (long scale = 1;; scale *= 10)
        for (long m : {1, 2, 5})
            if (8 * m * scale >= most) return m * scale;
}

constexpr std::string_view untimed_note = "A problem proved without a time is not drawn: a time axis cannot place it.";

std::string count_of(long n, std::string_view one, std::string_view more) {
    return std::to_string(n) + " " + std::string(n == 1 ? one : more);
}

// A logarithmic time axis over whole decades for `times`, and how many of them it draws on its
// floor and on its ceiling.
class TimeAxis {
public:
    explicit TimeAxis(const std::vector<double>& times) {
        double least = HUGE_VAL, most = 0;
        for (double t : times)
            if (t > 0 && std::isfinite(t)) {
                least = std::min(least, t);
                most = std::max(most, t);
            }
        // A time of 0, or below the lowest decade, puts the floor there, apart from the others.
        const bool tiny = std::find_if(times.begin(), times.end(), [](double t) {
                              return !(t >= power_of_ten(lowest_decade));
                          }) != times.end();
        if (most > 0) {
            low_ = lowest_decade;
            while (!tiny && low_ < highest_decade && power_of_ten(low_ + 1) <= least) ++low_;
            high_ = highest_decade;
            while (high_ > lowest_decade && power_of_ten(high_ - 1) >= most) --high_;
        }
        if (high_ <= low_) {
            if (low_ < highest_decade) high_ = low_ + 1;
            else low_ = high_ - 1;
        }
        for (double t : times) {
            below_ += !(t >= power_of_ten(low_));
            above_ += t > power_of_ten(high_);
        }
    }

    int low() const { return low_; }
    int high() const { return high_; }

    // Where `seconds` stands: 0 at the floor, 1 at the ceiling; a time beyond either there.
    double place(double seconds) const {
        if (!(seconds >= power_of_ten(low_))) return 0;
        if (!(seconds <= power_of_ten(high_))) return 1;
        return (std::log10(seconds) - low_) / (high_ - low_);
    }
    double place_of_decade(int decade) const { return static_cast<double>(decade - low_) / (high_ - low_); }

    // The lines under a plot that tell of the times drawn on an edge, after `notes`.
    std::vector<std::string> notes(std::vector<std::string> notes) const {
        const std::string floor = decade_label(low_), ceiling = decade_label(high_);
        if (below_ > 0)
            notes.push_back(count_of(below_, "time", "times") + " of 0 or below " + floor + " s " +
                            (below_ == 1 ? "is" : "are") + " drawn at " + floor + " s.");
        if (above_ > 0)
            notes.push_back(count_of(above_, "time", "times") + " above " + ceiling + " s " +
                            (above_ == 1 ? "is" : "are") + " drawn at " + ceiling + " s.");
        return notes;
    }

private:
    int low_ = lowest_decade, high_ = 0;  // without a time to draw: 0.001 to 1 s
    long below_ = 0, above_ = 0;
};

// An SVG element's text, put together piece by piece: coordinates with at most 2 decimals.
class Svg {
public:
    Svg& operator<<(std::string_view piece) {
        text_ += piece;
        return *this;
    }
    Svg& operator<<(const char* piece) { return *this << std::string_view(piece); }
    Svg& operator<<(const std::string& piece) { return *this << std::string_view(piece); }
    Svg& operator<<(double coordinate) {
        char digits[64];
        std::snprintf(digits, sizeof digits, "%.2f", coordinate);
        std::string_view shown = digits;
        while (shown.ends_with('0')) shown.remove_suffix(1);
        if (shown.ends_with('.')) shown.remove_suffix(1);
        text_ += shown == "-0" ? "0" : shown;
        return *this;
    }
    // Text that shows as text: a label, a name.
    Svg& text(std::string_view text, std::size_t most = std::string_view::npos) {
        append_text(text_, text, most);
        return *this;
    }

    void open(std::string_view kind, std::size_t run, double width, double height, std::string_view title) {
        *this << "<svg xmlns=\"http://www.w3.org/2000/svg\" class=\"plot " << kind << "\"";
        if (run > 0) *this << " data-run=\"" << std::to_string(run + 1) << "\"";
        *this << " width=\"" << width << "\" height=\"" << height << "\" viewBox=\"0 0 " << width << " " << height
              << "\" font-family=\"sans-serif\" font-size=\"12\" role=\"img\">\n<title>";
        text(title);
        *this << "</title>\n<rect width=\"" << width << "\" height=\"" << height << "\" fill=\"#fff\"/>\n";
    }
    void heading(double x, double y, std::string_view title) {
        *this << "<text x=\"" << x << "\" y=\"" << y << "\" font-size=\"14\" font-weight=\"bold\">";
        text(title);
        *this << "</text>\n";
    }
    void line(double x1, double y1, double x2, double y2, std::string_view stroke) {
        *this << "<line x1=\"" << x1 << "\" y1=\"" << y1 << "\" x2=\"" << x2 << "\" y2=\"" << y2
              << "\" stroke=\"" << stroke << "\"/>\n";
    }
    // A line of text; `anchor` start, middle or end.
    void label(double x, double y, std::string_view anchor, std::string_view text_of) {
        *this << "<text x=\"" << x << "\" y=\"" << y << "\"";
        if (anchor != "start") *this << " text-anchor=\"" << anchor << "\"";
        *this << ">";
        text(text_of);
        *this << "</text>\n";
    }
    void rotated_label(double x, double y, std::string_view text_of) {
        *this << "<text transform=\"translate(" << x << " " << y << ") rotate(-90)\" text-anchor=\"middle\">";
        text(text_of);
        *this << "</text>\n";
    }
    void notes(double x, double& y, const std::vector<std::string>& lines) {
        for (const std::string& line : lines) {
            *this << "<text x=\"" << x << "\" y=\"" << y << "\" font-size=\"11\" fill=\"#444\">";
            text(line);
            *this << "</text>\n";
            y += 16;
        }
    }
    std::string done() {
        text_ += "</svg>\n";
        return std::move(text_);
    }

private:
    std::string text_;
};

// A plot's box, where its data go.
struct Box {
    double left, top, right, bottom;
    double width() const { return right - left; }
    double height() const { return bottom - top; }
};

// The decades of a time axis: grid lines across the box, minor ticks where a decade has room,
// and labels, as many as fit without running into each other. `across` true: the axis runs
// along the bottom (x), else up the left side (y).
void time_axis(Svg& svg, const Box& box, const TimeAxis& axis, bool across) {
    const double length = across ? box.width() : box.height();
    const double decade = length / (axis.high() - axis.low());
    auto at = [&](double place) { return across ? box.left + place * length : box.bottom - place * length; };
    // Labels along x need the widest one's width, about 7 px a character; up y, a line's height.
    const std::size_t widest = std::max(decade_label(axis.low()).size(), decade_label(axis.high()).size());
    const double room = across ? 7.0 * static_cast<double>(widest) + 10 : 18;
    const int every = std::max(1, static_cast<int>(std::ceil(room / decade)));
    for (int k = axis.low(); k <= axis.high(); ++k) {
        const double p = at(axis.place_of_decade(k));
        if (across) svg.line(p, box.top, p, box.bottom, "#e2e2e2");
        else svg.line(box.left, p, box.right, p, "#e2e2e2");
        if ((k - axis.low()) % every == 0) {
            if (across) svg.label(p, box.bottom + 16, "middle", decade_label(k));
            else svg.label(box.left - 6, p + 4, "end", decade_label(k));
        }
        if (k == axis.high() || decade < 40) continue;
        for (int m = 2; m <= 9; ++m) {
            const double q = at(axis.place_of_decade(k) + std::log10(m) / (axis.high() - axis.low()));
            if (across) svg.line(q, box.bottom, q, box.bottom - 4, "#666");
            else svg.line(box.left, q, box.left + 4, q, "#666");
        }
    }
}

void frame(Svg& svg, const Box& box, bool filled) {
    svg << "<rect class=\"frame\" x=\"" << box.left << "\" y=\"" << box.top << "\" width=\"" << box.width()
        << "\" height=\"" << box.height() << "\" " << (filled ? "fill=\"#fff\"" : "fill=\"none\" stroke=\"#666\"")
        << "/>\n";
}

// The stroke of run `run`'s line.
void run_stroke(Svg& svg, std::size_t run) {
    svg << " fill=\"none\" stroke=\"" << run_colours[run % std::size(run_colours)] << "\" stroke-width=\"2\"";
    const std::string_view dash = run_dashes[run % std::size(run_dashes)];
    if (!dash.empty()) svg << " stroke-dasharray=\"" << dash << "\"";
}

std::string labels_of(const Comparison& comparison) {
    std::string all;
    for (const std::string& label : comparison.labels) {
        if (!all.empty()) all += ", ";
        all += label;
    }
    return all;
}

}  // namespace

void append_text(std::string& out, std::string_view text, std::size_t most) {
    for (std::size_t shown = 0; !text.empty(); ++shown) {
        if (shown == most) {
            out += "\xE2\x80\xA6";  // U+2026, the ellipsis
            return;
        }
        const std::size_t length = table::utf8_sequence(text);
        const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]) & 0x3Fu; };
        const auto lead = static_cast<unsigned char>(text[0]);
        if (length == 0) {
            out += "\xEF\xBF\xBD";  // U+FFFD
            text.remove_prefix(1);
            continue;
        }
        if (length == 1) {
            switch (lead) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            case '\'': out += "&#39;"; break;
            default:
                if (lead < 0x20 || lead == 0x7F) {  // U+2400 + the control, U+2421 for DEL
                    out += "\xE2\x90";
                    out += static_cast<char>(0x80 + (lead == 0x7F ? 0x21 : lead));
                } else {
                    out += static_cast<char>(lead);
                }
            }
        } else {
            const unsigned code = length == 2   ? (lead & 0x1Fu) << 6 | byte(1)
                                  : length == 3 ? (lead & 0x0Fu) << 12 | byte(1) << 6 | byte(2)
                                                : (lead & 0x07u) << 18 | byte(1) << 12 | byte(2) << 6 | byte(3);
            const bool shown_as_is = !(code <= 0x9F || (code >= 0xFDD0 && code <= 0xFDEF) || (code & 0xFFFE) == 0xFFFE);
            out += shown_as_is ? text.substr(0, length) : std::string_view("\xEF\xBF\xBD");
        }
        text.remove_prefix(length);
    }
}

std::string cactus(const Comparison& comparison) {
    const std::size_t runs = comparison.labels.size();
    std::vector<std::vector<double>> times(runs);
    std::vector<long> proved(runs), untimed(runs);
    for (const compare::Problem& problem : comparison.problems)
        for (std::size_t run = 0; run < runs; ++run) {
            const Result& result = problem.results[run];
            if (!result.proved()) continue;
            ++proved[run];
            if (result.time.empty()) ++untimed[run];
            else times[run].push_back(compare::seconds_of(result.time));
        }
    std::vector<double> every;
    std::size_t most = 0;
    for (std::vector<double>& t : times) {
        std::sort(t.begin(), t.end());
        every.insert(every.end(), t.begin(), t.end());
        most = std::max(most, t.size());
    }
    const TimeAxis axis(every);
    // The x axis: 0 to a round count at or above the most any run drew.
    const long step = round_step(static_cast<long>(most));
    const long top = std::max<long>(1, (static_cast<long>(most) + step - 1) / step) * step;

    const Box box{76, 40, 700, 400};
    const double width = 720, legend_top = box.bottom + 62;
    std::vector<std::string> notes;
    if (std::find_if(untimed.begin(), untimed.end(), [](long n) { return n > 0; }) != untimed.end())
        notes.emplace_back(untimed_note);
    notes = axis.notes(notes);
    Svg svg;
    const double height = legend_top + 18.0 * static_cast<double>(runs) + 16.0 * static_cast<double>(notes.size()) + 6;
    svg.open("cactus", 0, width, height, "Cactus plot of " + labels_of(comparison));
    svg.heading(box.left, 24, "Cactus plot: the problems each run proved, fastest first");
    frame(svg, box, true);
    time_axis(svg, box, axis, false);
    for (long n = 0; n <= top; n += step) {
        const double x = box.left + box.width() * static_cast<double>(n) / static_cast<double>(top);
        svg.line(x, box.top, x, box.bottom, "#e2e2e2");
        svg.label(x, box.bottom + 16, "middle", std::to_string(n));
    }
    svg.label((box.left + box.right) / 2, box.bottom + 38, "middle", "problems proved (the n-th fastest at n)");
    svg.rotated_label(18, (box.top + box.bottom) / 2, "prover time (s)");
    if (every.empty())
        svg.label((box.left + box.right) / 2, (box.top + box.bottom) / 2, "middle",
                  "no run proved a problem with a time");
    for (std::size_t run = 0; run < runs; ++run) {
        if (times[run].empty()) continue;
        svg << "<polyline class=\"run\" data-run=\"" << std::to_string(run + 1) << "\" points=\"";
        long n = 0;
        for (double t : times[run]) {
            const double x = box.left + box.width() * static_cast<double>(++n) / static_cast<double>(top);
            const double y = box.bottom - box.height() * axis.place(t);
            svg << (n > 1 ? " " : "") << x << "," << y;
            if (times[run].size() == 1) svg << " " << x << "," << y;
        }
        svg << "\"";
        run_stroke(svg, run);
        svg << " stroke-linejoin=\"round\" stroke-linecap=\"round\"/>\n";
    }
    frame(svg, box, false);
    double y = legend_top;
    for (std::size_t run = 0; run < runs; ++run, y += 18) {
        svg << "<line x1=\"" << box.left << "\" y1=\"" << y - 4 << "\" x2=\"" << box.left + 32 << "\" y2=\"" << y - 4
            << "\"";
        run_stroke(svg, run);
        svg << "/>\n<text x=\"" << box.left + 40 << "\" y=\"" << y << "\">";
        svg.text(comparison.labels[run], label_most);
        std::string counts = run == 0 && runs > 1 ? " (baseline): " : ": ";
        counts += proved[run] == 0 ? std::string("none proved") : std::to_string(proved[run]) + " proved";
        if (untimed[run] > 0) counts += ", " + std::to_string(proved[run] - untimed[run]) + " drawn";
        svg.text(counts);
        svg << "</text>\n";
    }
    svg.notes(box.left, y, notes);
    return svg.done();
}

std::string scatter(const Comparison& comparison, std::size_t run) {
    struct Point {
        double x, y;
    };
    std::vector<Point> both;
    std::vector<double> baseline_only, run_only, every;
    long both_proved = 0, both_untimed = 0, baseline_proved = 0, baseline_untimed = 0, run_proved = 0,
         run_untimed = 0, faster = 0, slower = 0;
    for (const compare::Problem& problem : comparison.problems) {
        const Result& a = problem.results[0];
        const Result& b = problem.results[run];
        if (a.proved() && b.proved()) {
            ++both_proved;
            if (a.time.empty() || b.time.empty()) {
                ++both_untimed;
                continue;
            }
            const Point p{compare::seconds_of(a.time), compare::seconds_of(b.time)};
            both.push_back(p);
            every.insert(every.end(), {p.x, p.y});
            faster += p.y < p.x;
            slower += p.y > p.x;
        } else if (a.proved() || b.proved()) {
            const Result& r = a.proved() ? a : b;
            ++(a.proved() ? baseline_proved : run_proved);
            if (r.time.empty()) {
                ++(a.proved() ? baseline_untimed : run_untimed);
                continue;
            }
            (a.proved() ? baseline_only : run_only).push_back(compare::seconds_of(r.time));
            every.push_back(compare::seconds_of(r.time));
        }
    }
    std::vector<std::string> notes;
    if (both_untimed + baseline_untimed + run_untimed > 0) notes.emplace_back(untimed_note);
    const TimeAxis axis(every);
    notes = axis.notes(notes);
    const std::string& base_label = comparison.labels[0];
    const std::string& run_label = comparison.labels[run];

    // The plot's box, square; above it a band for the problems the run did not prove, right of
    // it one for those the baseline did not.
    const Box box{76, 80, 476, 480};
    const double band_y = 56, band_x = 512, width = 548, legend_top = box.bottom + 64;
    const double height = legend_top + 18 * 4 + 16.0 * static_cast<double>(notes.size()) + 6;
    Svg svg;
    svg.open("scatter", run, width, height, "Scatter plot of " + run_label + " against " + base_label);
    // The heading cuts each label on its own, so that both show, and fits the plot's width.
    svg << "<text x=\"16\" y=\"24\" font-size=\"14\" font-weight=\"bold\">";
    svg.text(run_label, 24).text(" against ").text(base_label, 24);
    svg << "</text>\n";
    frame(svg, box, true);
    svg << "<rect class=\"band\" x=\"" << box.left << "\" y=\"" << band_y - 9 << "\" width=\"" << box.width()
        << "\" height=\"18\" fill=\"#f0f0f0\"/>\n<rect class=\"band\" x=\"" << band_x - 9 << "\" y=\"" << box.top
        << "\" width=\"18\" height=\"" << box.height() << "\" fill=\"#f0f0f0\"/>\n";
    time_axis(svg, box, axis, true);
    time_axis(svg, box, axis, false);
    svg.label(box.left - 6, band_y + 4, "end", "not proved");
    svg.label(band_x, box.bottom + 16, "middle", "not");
    svg.label(band_x, box.bottom + 28, "middle", "proved");
    svg << "<line x1=\"" << box.left << "\" y1=\"" << box.bottom << "\" x2=\"" << box.right << "\" y2=\"" << box.top
        << "\" stroke=\"#888\" stroke-dasharray=\"5 4\"/>\n";
    svg << "<text x=\"" << (box.left + box.right) / 2 << "\" y=\"" << box.bottom + 42 << "\" text-anchor=\"middle\">";
    svg.text(base_label, label_most).text(": prover time (s)");
    svg << "</text>\n<text transform=\"translate(18 " << (box.top + box.bottom) / 2
        << ") rotate(-90)\" text-anchor=\"middle\">";
    svg.text(run_label, label_most).text(": prover time (s)");
    svg << "</text>\n";

    // The marks, one path of them a kind (a browser styles one element far sooner than
    // thousands), each mark a subpath that begins with the path's only absolute moves: a dot for
    // a problem both proved; a triangle pointing down into the top band for one only the
    // baseline proved, and up in the right band for one only the run proved. Newlines keep
    // the lines of the file short.
    svg << "<path class=\"both\" fill=\"" << both_colour << "\" d=\"";
    for (const Point& p : both)
        svg << "M" << box.left + box.width() * axis.place(p.x) << " " << box.bottom - box.height() * axis.place(p.y)
            << "m-2.5 0a2.5 2.5 0 1 0 5 0a2.5 2.5 0 1 0-5 0\n";
    svg << "\"/>\n<path class=\"baseline-only\" fill=\"" << baseline_only_colour << "\" d=\"";
    for (double t : baseline_only) svg << "M" << box.left + box.width() * axis.place(t) << " " << band_y + 4 << "l-4-7h8z\n";
    svg << "\"/>\n<path class=\"run-only\" fill=\"" << run_only_colour << "\" d=\"";
    for (double t : run_only) svg << "M" << band_x << " " << box.bottom - box.height() * axis.place(t) - 4 << "l-4 7h8z\n";
    svg << "\"/>\n";
    frame(svg, box, false);

    // The legend: each kind of mark with its count, and how many of them are drawn.
    const double mark_x = 22, text_x = 34;
    auto drawn = [](long proved, long untimed, std::string_view where) {
        return untimed > 0 ? ", " + std::to_string(proved - untimed) + " drawn " + std::string(where)
                           : ", " + std::string(where);
    };
    double y = legend_top;
    svg << "<g class=\"legend\">\n<circle cx=\"" << mark_x << "\" cy=\"" << y - 4 << "\" r=\"3\" fill=\"" << both_colour
        << "\"/>\n";
    svg.label(text_x, y, "start",
              std::to_string(both_proved) + " proved by both" +
                  (both_untimed > 0 ? ", " + std::to_string(both_proved - both_untimed) + " drawn" : ""));
    y += 18;
    if (!both.empty()) {
        svg << "<text x=\"" << text_x << "\" y=\"" << y << "\">";
        svg.text(run_label, label_most)
            .text(" faster on " + std::to_string(faster) + ", slower on " + std::to_string(slower) +
                  ", as fast on " + std::to_string(static_cast<long>(both.size()) - faster - slower));
        svg << "</text>\n";
    }
    y += 18;
    svg << "<path d=\"M" << mark_x << "," << y << "l-4,-7h8z\" fill=\"" << baseline_only_colour << "\"/>\n<text x=\""
        << text_x << "\" y=\"" << y << "\">" << std::to_string(baseline_proved) << " proved by ";
    svg.text(base_label, label_most).text(" only" + drawn(baseline_proved, baseline_untimed, "at the top"));
    svg << "</text>\n";
    y += 18;
    svg << "<path d=\"M" << mark_x << "," << y - 8 << "l-4,7h8z\" fill=\"" << run_only_colour << "\"/>\n<text x=\""
        << text_x << "\" y=\"" << y << "\">" << std::to_string(run_proved) << " proved by ";
    svg.text(run_label, label_most).text(" only" + drawn(run_proved, run_untimed, "at the right"));
    svg << "</text>\n</g>\n";
    y += 18;
    svg.notes(mark_x - 4, y, notes);
    return svg.done();
}

std::string standalone(std::string_view svg) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n" + std::string(svg);
}

}  // namespace plots

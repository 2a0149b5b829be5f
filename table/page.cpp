#include "page.hpp"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

#include "io.hpp"
#include "plots.hpp"

namespace page {

namespace {

using compare::Change;
using compare::Comparison;
using compare::Problem;

// How many problems the page shows open at most: a browser lays out a table of 1,000 rows in
// well under a second, one of 10,000 in several.
constexpr std::size_t open_rows = 1000;

// Outcomes and changes are coloured by tints of Okabe and Ito's palette, which stays distinct
// for the colour-blind; every cell still holds its word, for print and for readers who cannot
// tell the colours apart.
constexpr std::string_view style = R"(body{font-family:sans-serif;color:#222;background:#fff;margin:16px 24px}
h1{font-size:22px;margin:0 0 4px}h2{font-size:18px;margin:24px 0 8px}
table{border-collapse:collapse;font-size:13px}
th,td{border:1px solid #ccc;padding:2px 6px}th{background:#f2f2f2;font-weight:600}
td{text-align:right;font-variant-numeric:tabular-nums}td:first-child{text-align:left}
.summary td:first-child{white-space:nowrap}
.problems td:first-child{max-width:40em;overflow-wrap:anywhere}.problems colgroup{border-left:2px solid #888}
td.proved{background:#a6ddce}td.disproved{background:#e6bcd3}td.not-proved{background:#dcdcdc}
td.timeout{background:#f0c566}td.step-limit{background:#f8f2a1}td.out-of-scope{background:#bbe1f6}
td.missing{color:#666;font-style:italic}
td.lost{background:#d55e00;color:#fff;font-weight:600}td.gained{background:#0072b2;color:#fff;font-weight:600}
td.changed{background:#f0e442}
td[class]{text-align:center}
.plots{display:flex;flex-wrap:wrap;gap:16px;align-items:flex-start}
.plots svg{max-width:100%;height:auto;border:1px solid #ddd}
details{margin:8px 0 12px}summary{cursor:pointer;margin-bottom:6px}
footer{margin-top:24px;font-size:12px;color:#666}
)";

void text(std::string& page, std::string_view text) { plots::append_text(page, text); }

// The runs' labels, "a, b and c".
std::string labels_of(const Comparison& comparison) {
    std::string all;
    const std::size_t n = comparison.labels.size();
    for (std::size_t run = 0; run < n; ++run) {
        if (run > 0) all += run + 1 == n ? " and " : ", ";
        all += comparison.labels[run];
    }
    return all;
}

void summary(std::string& page, const Comparison& comparison) {
    page += "<table class=\"summary\">\n<thead><tr>";
    for (std::string_view column : compare::summary_columns) page.append("<th>").append(column).append("</th>");
    page += "</tr></thead>\n<tbody>\n";
    for (const compare::RunSummary& run : comparison.runs) {
        page += "<tr>";
        const auto cells = compare::summary_cells(run);
        for (std::size_t cell = 0; cell < cells.size(); ++cell) {
            const bool lost = compare::summary_columns[cell] == "lost" && cells[cell] != "0";
            page += lost ? "<td class=\"lost\">" : "<td>";
            text(page, cells[cell]);
            page += "</td>";
        }
        page += "</tr>\n";
    }
    page += "</tbody>\n</table>\n";
}

// The problems' table: a header of two rows (each run over its three columns), then the rows.
void problems_table(std::string& page, const Comparison& comparison, const std::vector<const Problem*>& rows) {
    // A column group a run, which the style sets apart.
    page += "<table class=\"problems\">\n<colgroup></colgroup>";
    for (std::size_t run = 0; run < comparison.labels.size(); ++run) page += "<colgroup span=\"3\"></colgroup>";
    page += "<colgroup></colgroup>\n<thead>\n<tr><th rowspan=\"2\">problem</th>";
    for (const std::string& label : comparison.labels) {
        page += "<th colspan=\"3\">";
        text(page, label);
        page += "</th>";
    }
    page += "<th rowspan=\"2\">change</th></tr>\n<tr>";
    for (std::size_t run = 0; run < comparison.labels.size(); ++run) page += "<th>outcome</th><th>time</th><th>steps</th>";
    page += "</tr>\n</thead>\n<tbody>\n";
    for (const Problem* problem : rows) {
        page += "<tr><td>";
        text(page, problem->name);
        page += "</td>";
        for (const compare::Result& result : problem->results) {
            const std::string_view outcome = compare::name_of(result.outcome);
            page.append("<td class=\"").append(outcome).append("\">").append(outcome).append("</td><td>");
            text(page, result.time);
            page += "</td><td>";
            text(page, result.steps);
            page += "</td>";
        }
        const std::string_view change = compare::name_of(problem->change);
        if (problem->change == Change::same) page += "<td>same</td></tr>\n";
        else page.append("<td class=\"").append(change).append("\">").append(change).append("</td></tr>\n");
    }
    page += "</tbody>\n</table>\n";
}

void problems(std::string& page, const Comparison& comparison) {
    page += "<h2>Problems</h2>\n";
    if (comparison.problems.empty()) {
        page += "<p>No reports.</p>\n";
        return;
    }
    std::vector<const Problem*> by_change[4];
    for (const Problem& problem : comparison.problems)
        by_change[static_cast<int>(problem.change)].push_back(&problem);
    // Lost first, then gained, changed and the same, each a table of its own under its count:
    // open as long as the open ones hold at most `open_rows` between them; one that would take
    // them past that is folded.
    static constexpr std::pair<Change, std::string_view> groups[] = {
        {Change::lost, " lost: proved by the baseline, not by some later run"},
        {Change::gained, " gained: proved by some later run, not by the baseline"},
        {Change::changed, " changed: proved by none, with outcomes that differ"},
        {Change::same, " the same: one outcome in every run"}};
    std::size_t open = 0;
    for (const auto& [change, what] : groups) {
        const std::vector<const Problem*>& rows = by_change[static_cast<int>(change)];
        if (rows.empty()) continue;
        const bool shown = open + rows.size() <= open_rows;
        if (shown) open += rows.size();
        page.append(shown ? "<details open>" : "<details>").append("<summary>");
        page.append(std::to_string(rows.size())).append(what).append("</summary>\n");
        problems_table(page, comparison, rows);
        page += "</details>\n";
    }
}

}  // namespace

std::string page(const Comparison& comparison) {
    std::string page = "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
                       "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n<title>";
    text(page, "report-compare: " + labels_of(comparison));
    page += "</title>\n<style>\n";
    page += style;
    page += "</style>\n</head>\n<body>\n<h1>";
    text(page, labels_of(comparison));
    page += "</h1>\n<p>";
    const std::size_t runs = comparison.labels.size();
    page += std::to_string(runs) + (runs == 1 ? " run over " : " runs over ") +
            std::to_string(comparison.problems.size()) +
            (comparison.problems.size() == 1 ? " problem" : " problems");
    if (runs > 1) {
        page += "; the baseline is the first, ";
        text(page, comparison.labels[0]);
    }
    page += ".</p>\n<h2>Summary</h2>\n";
    summary(page, comparison);
    page += "<h2>Plots</h2>\n<p>Prover times on logarithmic axes. A problem proved without a time cannot "
            "stand on them: it is counted under each plot, and not drawn.</p>\n<div class=\"plots\">\n";
    page += plots::cactus(comparison);
    for (std::size_t run = 1; run < runs; ++run) page += plots::scatter(comparison, run);
    page += "</div>\n";
    problems(page, comparison);
    page += "<footer>Made by report-compare (geoproof-tools " GEOPROOF_VERSION ").</footer>\n</body>\n</html>\n";
    return page;
}

int write_file(const std::string& path, std::string_view text) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) return errno;
    int error = io::write_all(fd, text);
    if (::close(fd) != 0 && error == 0) error = errno;
    return error;
}

}  // namespace page

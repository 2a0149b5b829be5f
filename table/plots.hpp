// The plots report-compare draws of a comparison, as SVG, by itself: a cactus plot of every run
// (the times of the problems it proved, sorted; the n-th fastest at x = n, on a logarithmic time
// axis) and, for each later run, a scatter plot of its times against the baseline's. Each is one
// <svg> element that reads the same inline in the page (page.hpp) and as a file of its own.
//
// The time axes run over whole decades, from the one at or below the least time drawn to the
// one at or above the greatest, but never below 0.001 s nor above 10^9 s. What cannot stand on
// such an axis is counted under the plot, never left out silently: a problem proved without a
// time is not drawn; a time of 0 or below 0.001 s is drawn at 0.001 s (the axis then starts
// there), one above 10^9 s (inf) at 10^9 s.
//
// Every mark a plot draws for a problem is one piece of an element that names what it shows,
// so that the marks can be counted: a cactus plot's line of the run at position K (1, 2, ...)
// is a <polyline class="run" data-run="K">, one vertex a problem (a line of one problem has
// its vertex twice, which a browser shows as a dot); a scatter plot, <svg data-run="K">, has
// its marks as the subpaths, each begun by an absolute move (M), of <path class="both">,
// <path class="baseline-only"> (in the top <rect class="band">) and <path class="run-only">
// (in the right one).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "compare.hpp"

namespace plots {

// `text` as character data for HTML or SVG, appended to `out`, that shows as text and never
// as markup: & < > " ' as references; each byte outside well-formed UTF-8 as U+FFFD (as the
// JSON writer replaces it); control characters as their pictures (U+2400 on, U+2421 for DEL);
// C1 controls and noncharacters (U+FFFE, which XML does not allow, and the like) as U+FFFD.
// After `most` characters the rest is cut to an ellipsis.
void append_text(std::string& out, std::string_view text, std::size_t most = std::string_view::npos);

// The cactus plot of every run of `comparison`.
std::string cactus(const compare::Comparison& comparison);

// The scatter plot of the run at index `run` (1 or more) against the baseline, index 0.
std::string scatter(const compare::Comparison& comparison, std::size_t run);

// A plot as a file of its own: the XML declaration before it.
std::string standalone(std::string_view svg);

}  // namespace plots

// report-compare's page: the whole comparison as one HTML5 document that needs nothing else to
// show (no script at all, no style sheet, font or picture from anywhere; its style and its
// plots are inside it), so that a page mailed on or kept by a CI job shows everything offline.
// In order: a title naming the runs and the summary, the cactus plot and each later run's
// scatter plot (plots.hpp), and the problems, lost first, then gained, changed and the same,
// each group under its count, which a large comparison folds away.
#pragma once

#include <string>
#include <string_view>

#include "compare.hpp"

namespace page {

// The page of `comparison`.
std::string page(const compare::Comparison& comparison);

// Writes `text` to the file `path`, made or emptied first (mode 0666 less the umask): 0, or the
// reason it could not (an errno value).
int write_file(const std::string& path, std::string_view text);

}  // namespace page

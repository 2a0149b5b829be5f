// The reports under a directory, as `find DIR -type f` finds them: every regular file at any
// depth, hidden ones too, without following symbolic links (DIR itself may be one), in byte
// order of their paths (as `LC_ALL=C sort` orders them).
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace table {

// What a walk tells of a directory under the top that it cannot read: its path (the top's
// name, '/', the path under it) and the reason.
using WalkFailure = std::function<void(const std::string& path, int error)>;

// The paths, relative to the directory `top` (open as the descriptor `top_fd`), of its
// regular files whose base name matches the shell pattern `match` (fnmatch; null: every one),
// sorted. A subdirectory that cannot be read is told to `failed` and left out; the rest is
// still walked.
std::vector<std::string> regular_files(int top_fd, const std::string& top, const char* match,
                                       const WalkFailure& failed);

// `top` opened as a directory to walk, following it if it is a symbolic link; -1 with errno.
int open_directory(const char* top);

// `top` and `relative` joined by one slash (none added after a top that ends in one).
std::string joined(const std::string& top, const std::string& relative);

}  // namespace table

#include "walk.hpp"

#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <fnmatch.h>
#include <sys/stat.h>
#include <unistd.h>

namespace table {

int open_directory(const char* top) { return ::open(top, O_RDONLY | O_DIRECTORY | O_CLOEXEC); }

std::string joined(const std::string& top, const std::string& relative) {
    if (!top.empty() && top.back() == '/') return top + relative;
    return top + "/" + relative;
}

std::vector<std::string> regular_files(int top_fd, const std::string& top, const char* match,
                                       const WalkFailure& failed) {
    std::vector<std::string> files;
    // Directories still to read, as paths under the top ("" for the top itself). Each is
    // opened from the top's descriptor and read whole before the next: a walk holds two
    // descriptors however deep it goes.
    std::vector<std::string> pending = {""};
    while (!pending.empty()) {
        const std::string dir = std::move(pending.back());
        pending.pop_back();
        const int fd = dir.empty() ? ::dup(top_fd)
                                   : ::openat(top_fd, dir.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        DIR* stream = fd >= 0 ? ::fdopendir(fd) : nullptr;
        if (stream == nullptr) {
            const int error = errno;
            if (fd >= 0) ::close(fd);
            // A directory that turned into something else since it was listed is no longer one
            // to walk, like a file that vanished; both are reported.
            failed(dir.empty() ? top : joined(top, dir), error);
            continue;
        }
        if (dir.empty()) ::rewinddir(stream);  // the top's descriptor may have been read before
        for (;;) {
            errno = 0;
            const dirent* entry = ::readdir(stream);
            if (entry == nullptr) break;
            const std::string_view name = entry->d_name;
            if (name == "." || name == "..") continue;
            unsigned char type = entry->d_type;
            if (type == DT_UNKNOWN) {
                struct stat status;
                if (::fstatat(::dirfd(stream), entry->d_name, &status, AT_SYMLINK_NOFOLLOW) != 0) continue;
                type = S_ISREG(status.st_mode) ? DT_REG : S_ISDIR(status.st_mode) ? DT_DIR : DT_UNKNOWN;
            }
            std::string path = dir.empty() ? std::string(name) : dir + "/" + std::string(name);
            if (type == DT_DIR)
                pending.push_back(std::move(path));
            else if (type == DT_REG && (match == nullptr || ::fnmatch(match, entry->d_name, 0) == 0))
                files.push_back(std::move(path));
        }
        if (errno != 0) failed(dir.empty() ? top : joined(top, dir), errno);
        ::closedir(stream);
    }
    std::sort(files.begin(), files.end());
    return files;
}

}  // namespace table

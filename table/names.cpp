#include "names.hpp"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>

#include "io.hpp"

namespace table {

namespace {
// The longest name kept whole: the system takes no path longer (PATH_MAX counts the NUL).
constexpr std::size_t longest = PATH_MAX - 1;
// What a name too long keeps of itself, for its message.
constexpr std::size_t shown = 64;
}  // namespace

const std::string* NameList::next() {
    name_.clear();
    too_long_ = false;
    for (;;) {
        if (next_ == end_) {
            const long got = io::read_some(fd_, block_, sizeof block_);
            if (got <= 0) {
                error_ = got < 0 ? errno : 0;
                if (error_ || (name_.empty() && !too_long_)) return nullptr;
                return &name_;
            }
            next_ = block_;
            end_ = block_ + got;
        }
        const auto nul = static_cast<const char*>(std::memchr(next_, '\0', static_cast<std::size_t>(end_ - next_)));
        const char* piece_end = nul ? nul : end_;
        if (!too_long_) {
            name_.append(next_, std::min(static_cast<std::size_t>(piece_end - next_), longest + 1 - name_.size()));
            if (name_.size() > longest) {
                too_long_ = true;
                name_.resize(shown);
            }
        }
        next_ = nul ? nul + 1 : end_;
        if (nul) return &name_;
    }
}

}  // namespace table

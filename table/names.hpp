// The names of the reports that --files0-from lists, each ended by a NUL byte, read from a
// descriptor a block at a time as they are needed, so that any number of them can come.
#pragma once

#include <string>

namespace table {

class NameList {
public:
    explicit NameList(int fd) : fd_(fd) {}
    NameList(const NameList&) = delete;
    NameList& operator=(const NameList&) = delete;

    // The next name, or null at the end of the list or on a read error (then error() is its
    // reason). A last name without its NUL counts as a name. A name longer than a path may be
    // is not held: too_long() is then true, and the name holds its first bytes only.
    const std::string* next();
    bool too_long() const { return too_long_; }
    int error() const { return error_; }

private:
    int fd_;
    char block_[1 << 16];
    const char* next_ = block_;
    const char* end_ = block_;
    std::string name_;
    bool too_long_ = false;
    int error_ = 0;
};

}  // namespace table

// "PROGRAM: N of M reports" on standard error while a long run goes on, when standard error is a
// terminal: shown once the run has lasted a while (PROGRAM_PROGRESS_AFTER milliseconds, the
// program's name in capitals with '_' for '-', a second by default; a value too large for a
// clock means never), rewritten in place four times a second, cut to the terminal's width so
// that it never wraps, and erased before anything else is written there and at the end. Killed
// by SIGINT, SIGTERM or SIGHUP, the program erases it first and then dies by the same signal;
// a fatal message (a failed write ends the run at once) goes below it too.
#pragma once

namespace table {

class Progress {
public:
    Progress();
    ~Progress();
    Progress(const Progress&) = delete;
    Progress& operator=(const Progress&) = delete;

    // `done` reports of `total` (-1: the total is not known) have been read.
    void update(long done, long total);
    // Takes the line off the terminal, if it shows.
    void erase();

private:
    bool active_ = false;
    bool signals_caught_ = false;
    long due_ = 0;  // when the line is next written, in milliseconds of the monotonic clock
};

}  // namespace table

#include "progress.hpp"

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <sys/ioctl.h>
#include <unistd.h>

#include "io.hpp"
#include "output.hpp"
#include "tool.hpp"

namespace table {

namespace {

long milliseconds_now() {
    timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1000L + t.tv_nsec / 1'000'000;
}

// The width of the line on the terminal, 0 when none shows. A signal handler reads it.
volatile sig_atomic_t shown = 0;

void erase_shown() {
    static const char blanks[] = "\r                                                                "
                                 "                                                                \r";
    constexpr int room = sizeof blanks - 3;  // the blanks between the two carriage returns
    if (shown == 0) return;
    int left = shown;
    io::write_all(STDERR_FILENO, {blanks, 1});
    for (; left > 0; left -= room) io::write_all(STDERR_FILENO, {blanks + 1, static_cast<std::size_t>(std::min(left, room))});
    io::write_all(STDERR_FILENO, {blanks + sizeof blanks - 2, 1});
    shown = 0;
}

constexpr int caught[] = {SIGINT, SIGTERM, SIGHUP};

extern "C" void erase_and_die(int signal) {
    erase_shown();
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

// The delay before the line first shows: the program's PROGRESS_AFTER variable, or a second.
long delay() {
    std::string variable = tool::program;
    for (char& c : variable) c = c == '-' ? '_' : static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    variable += "_PROGRESS_AFTER";
    const char* text = std::getenv(variable.c_str());
    if (text == nullptr || *text < '0' || *text > '9') return 1000;
    char* end;
    errno = 0;
    const long value = std::strtol(text, &end, 10);
    if (*end != '\0') return 1000;
    return errno == ERANGE ? LONG_MAX : value;
}

}  // namespace

Progress::Progress() {
    if (isatty(STDERR_FILENO) != 1) return;
    tool::before_fatal = [] {
        erase_shown();
        output::flush();
    };
    const long after = delay(), now = milliseconds_now();
    if (after > LONG_MAX - now) return;  // never
    active_ = true;
    due_ = now + after;
}

Progress::~Progress() {
    erase();
    if (signals_caught_)
        for (int signal : caught) std::signal(signal, SIG_DFL);
}

void Progress::update(long done, long total) {
    if (!active_) return;
    const long now = milliseconds_now();
    if (now < due_) return;
    if (!signals_caught_) {
        signals_caught_ = true;
        for (int signal : caught)
            if (struct sigaction old; sigaction(signal, nullptr, &old) == 0 && old.sa_handler != SIG_IGN)
                std::signal(signal, erase_and_die);
    }
    due_ = now + 250;
    char line[128];
    int size = total >= 0 ? std::snprintf(line, sizeof line, "\r%s: %ld of %ld reports", tool::program, done, total)
                          : std::snprintf(line, sizeof line, "\r%s: %ld reports", tool::program, done);
    size = std::min(size, static_cast<int>(sizeof line) - 1);
    // Cut to the terminal's width, less one column: a line that fills the last one wraps on
    // some terminals.
    if (winsize w; ioctl(STDERR_FILENO, TIOCGWINSZ, &w) == 0 && w.ws_col > 1)
        size = std::min(size, static_cast<int>(w.ws_col));
    const int width = size - 1;
    if (width < shown) erase_shown();  // a shorter line would leave the end of the longer one
    shown = width;  // before the line shows: a signal that comes once it shows must erase it
    tool::write_message({line, static_cast<std::size_t>(size)});
}

void Progress::erase() { erase_shown(); }

}  // namespace table

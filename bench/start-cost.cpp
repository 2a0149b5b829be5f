// What one run of a program costs next to another's, on a small input: the two run in turn,
// each from a new process with the input on standard input and standard output on /dev/null,
// and each run's CPU time (user and system, as the kernel counts the process: perf's
// task-clock) is read when it ends.  Taking the runs in pairs keeps the ratio steady while the
// machine's speed drifts.
//
//   bench-start-cost RUNS INPUT COMMAND... -- BASELINE...
//
// Prints the median CPU time of COMMAND's runs and of BASELINE's, in ms, and the median of the
// pairs' ratios: "0.412 0.380 1.084".  Exits 1 when a run fails or cannot start.
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

// One run of argv with `input` on standard input: its CPU time in seconds, or -1 when it fails.
double run_once(char** argv, const char* input)
{
    const pid_t child = fork();
    if (child < 0) return -1;
    if (child == 0) {
        const int in = open(input, O_RDONLY);
        const int out = open("/dev/null", O_WRONLY);
        if (in < 0 || out < 0 || dup2(in, 0) < 0 || dup2(out, 1) < 0) _exit(127);
        execv(argv[0], argv);
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    if (wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) ||
        WEXITSTATUS(status) == 127)
        return -1;
    auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

double median(std::vector<double> values)
{
    std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv)
{
    int split = 3;
    while (split < argc && std::strcmp(argv[split], "--") != 0) ++split;
    const int runs = argc > 1 ? std::atoi(argv[1]) : 0;
    if (argc < 6 || runs < 1 || split == 3 || split >= argc - 1) {
        std::fputs("usage: bench-start-cost RUNS INPUT COMMAND... -- BASELINE...\n", stderr);
        return 2;
    }
    argv[split] = nullptr;
    char** command = argv + 3;
    char** baseline = argv + split + 1;
    std::vector<double> times, baseline_times, ratios;
    for (int i = 0; i < runs; ++i) {
        const double a = run_once(command, argv[2]);
        const double b = run_once(baseline, argv[2]);
        if (a < 0 || b < 0) {
            std::fprintf(stderr, "bench-start-cost: %s failed\n", a < 0 ? command[0] : baseline[0]);
            return 1;
        }
        times.push_back(a);
        baseline_times.push_back(b);
        if (b > 0) ratios.push_back(a / b);
    }
    if (ratios.empty()) ratios.push_back(0);
    std::printf("%.3f %.3f %.3f\n", median(times) * 1e3, median(baseline_times) * 1e3,
                median(ratios));
    return 0;
}

#pragma once
// Helpers for the benchmark programs run by scripts/bench: a connection to the bench
// cluster, medians, peak memory of a child process, and the "name: value unit" lines.

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace bench {

inline double medianMs(int runs, const std::function<void()>& body) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const auto t0 = std::chrono::steady_clock::now();
        body();
        times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// Runs body in a forked child and returns the child's peak resident memory in MB.
inline double peakMemoryMb(const std::function<void()>& body) {
    const pid_t pid = fork();
    if (pid == 0) {
        body();
        _exit(0);
    }
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    return usage.ru_maxrss / 1024.0;
}

inline void report(const std::string& name, double value, const char* unit) {
    std::printf("%s: %.3f %s\n", name.c_str(), value, unit);
    std::fflush(stdout);
}

}  // namespace bench

// Timing and memory readings shared by the benchmark drivers.
#pragma once

#include <sys/resource.h>

#include <chrono>
#include <ctime>

namespace bench {

using Clock = std::chrono::steady_clock;

// Wall seconds from one time point to another (or to now).
inline double Seconds(Clock::time_point from, Clock::time_point to = Clock::now()) {
    return std::chrono::duration<double>(to - from).count();
}

// Processor time of the process so far (user and system), in seconds: on a machine shared
// with other work it shows what the wall time would be without the others.
inline double CpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

// Peak resident memory of the process so far, in megabytes.
inline double PeakMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

}  // namespace bench

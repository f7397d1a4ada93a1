#pragma once

#include <windows.h>

#include <algorithm>
#include <array>
#include <limits>

namespace claverix::bench {

// Elapsed time by QueryPerformanceCounter, in milliseconds.
class Stopwatch {
public:
    Stopwatch() { ::QueryPerformanceCounter(&start_); }

    double Milliseconds() const {
        LARGE_INTEGER now;
        LARGE_INTEGER frequency;
        ::QueryPerformanceCounter(&now);
        ::QueryPerformanceFrequency(&frequency);
        return static_cast<double>(now.QuadPart - start_.QuadPart) * 1000.0 /
               static_cast<double>(frequency.QuadPart);
    }

private:
    LARGE_INTEGER start_;
};

template <typename Work>
double TimeOnce(Work& work) {
    Stopwatch stopwatch;
    work();
    return stopwatch.Milliseconds();
}

// The minimum time of each piece of work over `runs` runs, the pieces taking
// turns so that a slow spell of the machine does not fall on one of them
// only. Minimums, because other work on the machine only ever adds time.
template <typename... Works>
std::array<double, sizeof...(Works)> MinimumTimes(int runs, Works&&... works) {
    std::array<double, sizeof...(Works)> minimums;
    minimums.fill(std::numeric_limits<double>::infinity());
    for (int run = 0; run < runs; ++run) {
        std::size_t index = 0;
        ((minimums[index] = std::min(minimums[index], TimeOnce(works)), ++index), ...);
    }
    return minimums;
}

}  // namespace claverix::bench

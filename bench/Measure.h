#pragma once

#include <windows.h>

#include <algorithm>
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

// The shortest of the times measured: other work on the machine only ever adds time.
class ShortestTime {
public:
    template <typename Work>
    void Measure(Work&& work) {
        Stopwatch stopwatch;
        work();
        Record(stopwatch.Milliseconds());
    }

    // A time measured otherwise.
    void Record(double milliseconds) { shortest_ = std::min(shortest_, milliseconds); }

    double Milliseconds() const { return shortest_; }

private:
    double shortest_ = std::numeric_limits<double>::infinity();
};

}  // namespace claverix::bench

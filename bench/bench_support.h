// Timing and the printed tables shared by the benchmark programs.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

// Wall-clock time of one operation, in microseconds.
class Stopwatch {
public:
    Stopwatch() { QueryPerformanceCounter(&start_); }
    double Microseconds() const
    {
        LARGE_INTEGER now;
        LARGE_INTEGER frequency;
        QueryPerformanceCounter(&now);
        QueryPerformanceFrequency(&frequency);
        return static_cast<double>(now.QuadPart - start_.QuadPart) * 1e6 /
               static_cast<double>(frequency.QuadPart);
    }

private:
    LARGE_INTEGER start_;
};

class Samples {
public:
    void Add(double microseconds) { values_.push_back(microseconds); }
    std::size_t Count() const { return values_.size(); }
    // The value at fraction `q` of the sorted samples (0.5: the median).
    double Quantile(double q) const
    {
        if (values_.empty()) {
            return 0;
        }
        std::vector<double> sorted = values_;
        std::sort(sorted.begin(), sorted.end());
        const auto index = static_cast<std::size_t>(q * static_cast<double>(sorted.size() - 1) + 0.5);
        return sorted[index];
    }
    double Median() const { return Quantile(0.5); }
    double P99() const { return Quantile(0.99); }
    double Max() const { return Quantile(1.0); }

private:
    std::vector<double> values_;
};

inline void PrintHeader(const char* title)
{
    std::printf("\n%s\n", title);
    std::printf("%-52s %8s %12s %12s\n", "case", "runs", "median us", "p99 us");
}

inline void PrintRow(const char* name, const Samples& samples)
{
    std::printf("%-52s %8zu %12.1f %12.1f\n", name, samples.Count(), samples.Median(), samples.P99());
}

// One line per target: the figure, the limit and whether it holds.
inline bool PrintTarget(const char* name, double value, const char* unit, double limit)
{
    const bool holds = value <= limit;
    std::printf("target %-46s %10.3f %-4s (limit %g) %s\n", name, value, unit, limit,
                holds ? "holds" : "MISSED");
    return holds;
}

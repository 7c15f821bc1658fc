// Wall clock and percentiles for the resident textlint's benchmarks.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstddef>
#include <vector>

namespace bench {

inline double milliseconds() {
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// The nearest-rank percentile `p` (0-100) of `values`.
inline double percentile(std::vector<double> values, double p) {
    std::sort(values.begin(), values.end());
    std::size_t rank =
        static_cast<std::size_t>(p / 100.0 * static_cast<double>(values.size()) + 0.999999);
    return values[std::min(values.size(), std::max<std::size_t>(rank, 1)) - 1];
}

} // namespace bench

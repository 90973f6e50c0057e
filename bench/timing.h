#pragma once

// What every benchmark measures with: the wall clock around one run, the median of several, and
// the word printed beside a figure and its floor.

#include <algorithm>
#include <chrono>
#include <vector>

namespace sorakado::bench {

inline double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

template <class Fn> double timeMs(Fn&& fn) {
    const auto start = std::chrono::steady_clock::now();
    fn();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

inline const char* verdict(double figure, double floor) {
    return figure <= floor ? "ok" : "OVER";
}

} // namespace sorakado::bench

#pragma once

#include <algorithm>
#include <chrono>
#include <functional>

// The best of Rounds timings of Work, in seconds.
inline double BestSeconds(int Rounds, const std::function<void()>& Work) {
    double best = 1e9;
    for (int i = 0; i < Rounds; ++i) {
        const auto start = std::chrono::steady_clock::now();
        Work();
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        best = std::min(best, took.count());
    }
    return best;
}

// Runs fn(row) for every row in [0, rows) on a few threads. Rows are
// independent, so the result does not depend on the number of threads.
#pragma once

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

namespace gen {

template <typename Fn>
void ParallelRows(int rows, Fn fn) {
    int threads = int(std::clamp(std::thread::hardware_concurrency(), 1u, 8u));
    std::atomic<int> next{0};
    auto work = [&] {
        for (int row = next++; row < rows; row = next++) fn(row);
    };
    std::vector<std::thread> pool;
    for (int i = 1; i < threads; ++i) pool.emplace_back(work);
    work();
    for (auto& t : pool) t.join();
}

}  // namespace gen

#pragma once

#include <algorithm>
#include <cstddef>
#include <exception>
#include <vector>

// Runs body(0) .. body(count - 1) on every core, in runs of indices long
// enough that handing them out costs little. An exception cannot leave an
// OpenMP loop, so each one is kept and, after the loop, the one of the lowest
// index is thrown: the first failure in input order, whatever the threads did.
template <typename Body> void forEachInParallel(std::size_t count, Body body) {
    std::vector<std::exception_ptr> failures(count);
    const auto n = static_cast<std::ptrdiff_t>(count);
    const std::ptrdiff_t run = std::max<std::ptrdiff_t>(1, n / 1024);
#pragma omp parallel for schedule(dynamic, run)
    for (std::ptrdiff_t i = 0; i < n; ++i) {
        try {
            body(static_cast<std::size_t>(i));
        } catch (...) {
            failures[static_cast<std::size_t>(i)] = std::current_exception();
        }
    }
    for (const std::exception_ptr &failure : failures)
        if (failure)
            std::rethrow_exception(failure);
}

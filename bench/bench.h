#pragma once

#include <QString>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

// A tiny harness: each benchmark file registers one function with
// BREVANE_BENCH(name); main() runs them all (or those named on the command
// line) and each reports its medians.
namespace brevane::bench {

using BenchFn = std::function<void()>;

struct Entry {
    const char *name;
    BenchFn fn;
};

inline std::vector<Entry> &registry()
{
    static std::vector<Entry> entries;
    return entries;
}

struct Registrar {
    Registrar(const char *name, BenchFn fn) { registry().push_back({name, std::move(fn)}); }
};

// Median wall time in milliseconds of `runs` calls of `fn`.
inline double medianMs(int runs, const std::function<void(int)> &fn)
{
    std::vector<double> times;
    times.reserve(static_cast<size_t>(runs));
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        fn(i);
        const auto end = std::chrono::steady_clock::now();
        times.push_back(std::chrono::duration<double, std::milli>(end - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

inline void report(const char *what, double ms)
{
    std::printf("%-60s %9.3f ms\n", what, ms);
    std::fflush(stdout);
}

} // namespace brevane::bench

#define BREVANE_BENCH(name) \
    static void bench_##name(); \
    static const ::brevane::bench::Registrar benchRegistrar_##name(#name, &bench_##name); \
    static void bench_##name()

#pragma once
// The short mode of the benchmarks. With ZEDEDE_BENCH_SMOKE set (and not
// "0") every benchmark runs one brief round: the tests run each benchmark so,
// to find one that no longer works. Its figures then mean nothing.

#include <cstdlib>
#include <cstring>

inline bool BenchSmoke()
{
    const char *value = std::getenv("ZEDEDE_BENCH_SMOKE");
    return value && *value && std::strcmp(value, "0") != 0;
}

// Count repetitions (or rounds), one in the short mode.
inline int BenchRepetitions(int Count)
{
    return BenchSmoke() ? 1 : Count;
}

// At least Seconds per measurement, 10 ms in the short mode.
inline double BenchMinTime(double Seconds)
{
    return BenchSmoke() ? 0.01 : Seconds;
}

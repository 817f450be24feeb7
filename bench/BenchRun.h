#pragma once
// Runs the Google Benchmark cases of a program and gives its exit status.
// Google Benchmark itself ends with 0 even when a case stopped with
// State::SkipWithError; here such a case makes the program end with 1.

#include "BenchSmoke.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

// The usual console table, counting the runs that reported an error.
class TCheckedReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run> &Reports) override
    {
        for (const Run &r : Reports) {
            if (r.error_occurred) {
                ++Errors;
                if (FirstError.empty())
                    FirstError = r.benchmark_name() + ": " + r.error_message;
            }
        }
        ConsoleReporter::ReportRuns(Reports);
    }
    int Errors = 0;
    std::string FirstError;
};

// Initialises Google Benchmark with Args (argv as given, plus any flags the
// program adds; in the short mode also a 10 ms minimum time unless Args set
// one), runs the selected cases through Reporter and returns the exit
// status: 1 when a run reported an error or no case ran, else 0.
inline int RunBenchmarks(std::vector<char *> Args, TCheckedReporter &Reporter)
{
    static char kSmokeMinTime[] = "--benchmark_min_time=0.01";
    bool hasMinTime = false;
    for (const char *a : Args)
        hasMinTime = hasMinTime || std::strncmp(a, "--benchmark_min_time", 20) == 0;
    if (BenchSmoke() && !hasMinTime)
        Args.push_back(kSmokeMinTime);
    int count = static_cast<int>(Args.size());
    Args.push_back(nullptr);
    benchmark::Initialize(&count, Args.data());
    const size_t ran = benchmark::RunSpecifiedBenchmarks(&Reporter);
    benchmark::Shutdown();
    if (ran == 0) {
        std::fprintf(stderr, "no benchmark ran\n");
        return 1;
    }
    if (Reporter.Errors > 0) {
        std::fprintf(stderr, "%d benchmark run(s) reported an error; the first: %s\n",
                     Reporter.Errors, Reporter.FirstError.c_str());
        return 1;
    }
    return 0;
}

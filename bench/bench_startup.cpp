// Start-up time: from starting a process to its main window being painted,
// for the program (startup_zedede: the program's start-up routine, linked as
// the program is) and for a bare Qt program showing an empty window
// (startup_bare). Both are built next to this one. Each run is one fresh
// process; the figure is the ratio of the two medians (printed at the end).
// Timed alongside, for reference: the bare window with one line of text
// (startup_one_line), the least any window that shows text costs; its ratio
// to the bare window is printed too.
//
//   bench_startup [--benchmark_repetitions=N] [other Google Benchmark flags]

#include "BenchRun.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace {

std::string GProgram;
std::string GBare;
std::string GOneLine;
std::vector<double> GZeDede;
std::vector<double> GBareRuns;
std::vector<double> GOneLineRuns;

// Seconds from spawning AArgs[0] to reading its "shown" line; < 0 on failure.
double TimeToShown(std::vector<std::string> AArgs)
{
    int out[2];
    if (pipe(out) != 0)
        return -1;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    std::vector<char *> argv;
    for (std::string &a : AArgs)
        argv.push_back(a.data());
    argv.push_back(nullptr);

    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    const int rc = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    if (rc != 0) {
        close(out[0]);
        return -1;
    }
    std::string got;
    char buf[64];
    while (got.find("shown\n") == std::string::npos) {
        const ssize_t n = read(out[0], buf, sizeof buf);
        if (n <= 0)
            break;
        got.append(buf, size_t(n));
    }
    const auto end = std::chrono::steady_clock::now();
    close(out[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    if (got.find("shown\n") == std::string::npos)
        return -1;
    return std::chrono::duration<double>(end - start).count();
}

// One repetition starts the three programs, the one that goes first turning
// round, so that the load of the machine weighs on all alike. The manual
// time is the program's; the counters hold all three and the ratios.
void BM_StartupZeDedeVsBareQt(benchmark::State &AState)
{
    for (auto _ : AState) {
        const std::string *programs[] = {&GProgram, &GBare, &GOneLine};
        double times[3] = {0, 0, 0};
        const size_t first = GZeDede.size() % 3;
        for (size_t k = 0; k < 3; ++k) {
            const size_t i = (first + k) % 3;
            times[i] = TimeToShown({*programs[i]});
        }
        const double z = times[0];
        const double b = times[1];
        const double l = times[2];
        if (z < 0 || b < 0 || l < 0) {
            AState.SkipWithError("a program did not show its window");
            return;
        }
        GZeDede.push_back(z);
        GBareRuns.push_back(b);
        GOneLineRuns.push_back(l);
        AState.SetIterationTime(z);
        AState.counters["ZeDede_ms"] = z * 1000;
        AState.counters["BareQt_ms"] = b * 1000;
        AState.counters["OneLine_ms"] = l * 1000;
        AState.counters["ratio"] = z / b;
        AState.counters["one_line_ratio"] = l / b;
    }
}

double Median(std::vector<double> AValues)
{
    if (AValues.empty())
        return 0;
    std::sort(AValues.begin(), AValues.end());
    const size_t n = AValues.size();
    return n % 2 ? AValues[n / 2] : (AValues[n / 2 - 1] + AValues[n / 2]) / 2;
}

std::string Folder(const std::string &APath)
{
    const size_t slash = APath.rfind('/');
    return slash == std::string::npos ? std::string(".") : APath.substr(0, slash);
}

} // namespace

int main(int argc, char **argv)
{
    char self[4096];
    const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    if (n <= 0)
        return 1;
    self[n] = 0;
    GProgram = Folder(self) + "/startup_zedede";
    GBare = Folder(self) + "/startup_bare";
    GOneLine = Folder(self) + "/startup_one_line";
    if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY"))
        setenv("QT_QPA_PLATFORM", "offscreen", 0);

    // One untimed start of each warms the file cache.
    TimeToShown({GProgram});
    TimeToShown({GBare});
    TimeToShown({GOneLine});

    std::vector<char *> args(argv, argv + argc);
    // This machine class is noisy: 25 pairs give a median that holds still.
    std::string reps = "--benchmark_repetitions=" + std::to_string(BenchRepetitions(25));
    bool hasReps = false;
    for (int i = 1; i < argc; ++i)
        hasReps = hasReps || std::strncmp(argv[i], "--benchmark_repetitions", 23) == 0;
    if (!hasReps)
        args.push_back(reps.data());

    benchmark::RegisterBenchmark("BM_StartupZeDedeVsBareQt", BM_StartupZeDedeVsBareQt)
        ->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);
    TCheckedReporter reporter;
    const int status = RunBenchmarks(args, reporter);

    const double z = Median(GZeDede);
    const double b = Median(GBareRuns);
    const double l = Median(GOneLineRuns);
    std::printf("\nstart-up to window shown, median of %zu runs each (%s):\n"
                "  ZeDede %.1f ms, bare Qt %.1f ms, ratio %.2f (limit 1.50)\n"
                "  bare Qt with one line of text %.1f ms, ratio to bare Qt %.2f\n",
                GZeDede.size(), std::getenv("QT_QPA_PLATFORM") ? std::getenv("QT_QPA_PLATFORM") : "display",
                z * 1000, b * 1000, b > 0 ? z / b : 0.0, l * 1000, b > 0 ? l / b : 0.0);
    return status;
}

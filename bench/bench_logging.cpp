// Lines per second of the managed log, against the floor of its
// one-open-per-line design: a bare loop that opens, locks, appends one line
// to and closes the same file. Prints the ratio of the medians.

#include "BenchRun.h"
#include "uVmPaths.h"
#include "uVmWriteToLog.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cstdio>
#include <map>
#include <string>

namespace {

QString gLogFile;

void BM_ManagedLogWrite(benchmark::State &state)
{
    const QString message = QStringLiteral("imagen no encontrada: ieAceptar en el tamaño 16");
    for (auto _ : state) {
        if (!TManagedLogFile::Write(ltError, message)) {
            state.SkipWithError("write failed");
            break;
        }
    }
    state.SetItemsProcessed(state.iterations());
}

void BM_BareOpenLockAppendClose(benchmark::State &state)
{
    const QByteArray name = QFile::encodeName(gLogFile);
    const QByteArray line =
        "2026/12/09 10:15:42:123 | 427569 | #FALLA | imagen no encontrada: ieAceptar en el tama\xF1o 16\r\n";
    for (auto _ : state) {
        const int fd = ::open(name.constData(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
        if (fd < 0 || ::flock(fd, LOCK_EX | LOCK_NB) != 0
            || ::write(fd, line.constData(), line.size()) != line.size()) {
            state.SkipWithError("append failed");
            if (fd >= 0)
                ::close(fd);
            break;
        }
        ::close(fd);
    }
    state.SetItemsProcessed(state.iterations());
}

BENCHMARK(BM_ManagedLogWrite)->Repetitions(BenchRepetitions(7))->ReportAggregatesOnly(true)
    ->MinTime(BenchMinTime(0.3));
BENCHMARK(BM_BareOpenLockAppendClose)->Repetitions(BenchRepetitions(7))->ReportAggregatesOnly(true)
    ->MinTime(BenchMinTime(0.3));

// Keeps the median of every benchmark (its one run when it has only one)
// while the console shows the usual table.
class TMedianReporter : public TCheckedReporter
{
public:
    void ReportRuns(const std::vector<Run> &reports) override
    {
        for (const Run &r : reports) {
            const bool median = r.run_type == Run::RT_Aggregate && r.aggregate_name == "median";
            const bool single = r.run_type == Run::RT_Iteration && r.repetitions <= 1;
            if ((median || single) && !r.error_occurred) {
                const auto it = r.counters.find("items_per_second");
                if (it != r.counters.end())
                    Medians[r.run_name.function_name] = it->second.value;
            }
        }
        TCheckedReporter::ReportRuns(reports);
    }
    std::map<std::string, double> Medians;
};

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir home;
    qputenv("XDG_DATA_HOME", QFile::encodeName(home.path()));
    TVmPaths::ClearCommonAppDataCache();
    TManagedLogFile::Write(ltAudit, QStringLiteral("inicio de la medición"));
    gLogFile = TVmPaths::ApplicationData_Vemra(QStringLiteral("Logs")) + QStringLiteral("bench_logging.log");

    TMedianReporter reporter;
    const int status = RunBenchmarks({argv, argv + argc}, reporter);

    const double managed = reporter.Medians["BM_ManagedLogWrite"];
    const double bare = reporter.Medians["BM_BareOpenLockAppendClose"];
    if (managed > 0 && bare > 0)
        std::printf("\nmanaged log: %.0f lines/s, bare append: %.0f lines/s, ratio %.2f (floor 0.30)\n",
                    managed, bare, managed / bare);
    TManagedLogFile::ClearThreadData();
    return status;
}

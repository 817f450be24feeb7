// Appends numbered lines to the managed log from several threads:
//   logging_log_writer <process tag> <threads> <lines per thread>
// Exits 0 when every write reported success.

#include "uVmWriteToLog.h"

#include <QCoreApplication>
#include <QString>

#include <atomic>
#include <cstdio>
#include <thread>
#include <vector>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 4)
        return 2;
    const QString tag = QString::fromLocal8Bit(argv[1]);
    const int threads = QString::fromLocal8Bit(argv[2]).toInt();
    const int lines = QString::fromLocal8Bit(argv[3]).toInt();
    std::atomic<int> failures{0};
    std::vector<std::thread> workers;
    for (int t = 0; t < threads; ++t) {
        workers.emplace_back([&, t] {
            for (int i = 0; i < lines; ++i) {
                const QString message = QStringLiteral("linea %1-%2-%3 %4")
                                            .arg(tag).arg(t).arg(i)
                                            .arg(QString(40 + (i % 17), QLatin1Char('x')));
                if (!TManagedLogFile::Write(ltError, message))
                    ++failures;
            }
            TManagedLogFile::ClearThreadData();
        });
    }
    for (auto &w : workers)
        w.join();
    if (failures != 0)
        fprintf(stderr, "%d writes failed\n", failures.load());
    return failures == 0 ? 0 : 1;
}

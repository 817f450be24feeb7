// Regular expressions matched on several threads at once, as the certificate
// book's readers do: every thread ends and every match is right. With PCRE2's
// just-in-time compiler the static Qt of this build crashed or hung here.
#include "RegularExpressions.h"

#include <QRegularExpression>
#include <QThread>
#include <QtTest>

#include <atomic>
#include <thread>
#include <vector>

namespace {

int MatchMany()
{
    static const QRegularExpression digits(QStringLiteral("^[0-9]{11}$"));
    int found = 0;
    for (int i = 0; i < 200; ++i)
        found += digits.match(QString::number(20123456786LL + i)).hasMatch() ? 1 : 0;
    return found;
}

} // namespace

class TestWin32RegularExpressions : public QObject
{
    Q_OBJECT

private slots:
    void jitIsOff() { QCOMPARE(qgetenv("QT_ENABLE_REGEXP_JIT"), QByteArray("0")); }

    void standardThreads()
    {
        for (int round = 0; round < 3; ++round) {
            std::atomic<int> found{0};
            std::vector<std::thread> pool;
            for (int t = 0; t < 4; ++t)
                pool.emplace_back([&] { found += MatchMany(); });
            for (std::thread &t : pool)
                t.join();
            QCOMPARE(found.load(), 4 * 200);
        }
    }

    void qtThreads()
    {
        for (int round = 0; round < 3; ++round) {
            std::atomic<int> found{0};
            std::vector<QThread *> pool;
            for (int t = 0; t < 4; ++t) {
                pool.push_back(QThread::create([&] { found += MatchMany(); }));
                pool.back()->start();
            }
            for (QThread *t : pool) {
                QVERIFY(t->wait(30000));
                delete t;
            }
            QCOMPARE(found.load(), 4 * 200);
        }
    }
};

QTEST_GUILESS_MAIN(TestWin32RegularExpressions)
#include "tst_Win32RegularExpressions.moc"

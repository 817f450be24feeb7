// How long the certificate check takes with many keys beside the
// certificate, and how long the check window's event loop is held up.
//
// 1. The windowless check (VerifyFile) of one certificate with 1,000
//    Privada_*.key files beside it, against the same check with its one key:
//    the median of several runs of each, the ratio and the times (goal: the
//    1,000 keys in under 2 s).
// 2. The check window (offscreen) opening a certificate with 3,000 keys
//    beside it while a 10 ms heartbeat records the longest gap between its
//    ticks (goal: at most 100 ms); for contrast the same check called on the
//    window's thread.
//
//   QT_QPA_PLATFORM=offscreen bench_certificate_check [runs, default 5]
//
// Ends with 1 when a check does not find the certificate valid with its key.
// In the short mode (BenchSmoke.h) one run with 50 and 100 keys.

#include "BenchSmoke.h"
#include "CertificateReport.h"
#include "UserDialogs.h"
#include "VerifyWindow.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

bool OpenSSL(const QStringList &Args)
{
    QProcess p;
    p.start(QStringLiteral("openssl"), Args);
    return p.waitForFinished(120000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

// A folder holding the certificate, its key and Others foreign keys (copies
// of one key, each read and compared all the same), named to come first.
QString Folder(const QString &Base, const QString &Certificate, const QString &Key,
               const QString &Foreign, int Others)
{
    QDir().mkpath(Base);
    QFile::copy(Certificate, Base + QStringLiteral("/certificado.crt"));
    QFile::copy(Key, Base + QStringLiteral("/Privada_zz_Empresa.key"));
    for (int i = 0; i < Others; ++i)
        QFile::copy(Foreign, Base + QStringLiteral("/Privada_%1.key").arg(i, 5, 10, QLatin1Char('0')));
    return Base + QStringLiteral("/certificado.crt");
}

double Median(std::vector<double> V)
{
    std::sort(V.begin(), V.end());
    return V.empty() ? 0 : V[V.size() / 2];
}

class THeartbeat
{
public:
    THeartbeat()
    {
        FTimer.setTimerType(Qt::PreciseTimer);
        FTimer.setInterval(10);
        QObject::connect(&FTimer, &QTimer::timeout, [this] {
            const qint64 now = FClock.nsecsElapsed();
            FMax = std::max(FMax, now - FLast);
            FLast = now;
        });
    }
    void Start()
    {
        FClock.start();
        FLast = 0;
        FMax = 0;
        FTimer.start();
    }
    void Stop() { FTimer.stop(); }
    double MaxGapMs() const { return FMax / 1e6; }

private:
    QTimer FTimer;
    QElapsedTimer FClock;
    qint64 FLast = 0;
    qint64 FMax = 0;
};

class TPrintedBoxes : public TUserDialogs
{
public:
    TPrintedBoxes() { Install(this); }
    ~TPrintedBoxes() override { Install(nullptr); }
    QMessageBox::StandardButton MessageBox(const TMessageBoxRequest &ARequest) override
    {
        std::fprintf(stderr, "box: %s\n", qPrintable(ARequest.Text));
        return QMessageBox::Ok;
    }
};

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : BenchRepetitions(5);
    const int manyKeys = BenchSmoke() ? 50 : 1000;
    const int windowKeys = BenchSmoke() ? 100 : 3000;
    QTemporaryDir dir;
    qputenv("HOME", dir.path().toLocal8Bit());
    TPrintedBoxes boxes;

    const QString ca = dir.filePath(QStringLiteral("ca.key")), caCert = dir.filePath(QStringLiteral("ca.crt"));
    const QString key = dir.filePath(QStringLiteral("clave.key")), other = dir.filePath(QStringLiteral("otra.key"));
    const QString req = dir.filePath(QStringLiteral("pedido.req")), cert = dir.filePath(QStringLiteral("c.crt"));
    const QString authorities = dir.filePath(QStringLiteral("autoridades"));
    QDir().mkpath(authorities);
    const bool made =
        OpenSSL({"genrsa", "-out", ca, "2048"})
        && OpenSSL({"req", "-x509", "-new", "-key", ca, "-subj", "/C=AR/O=AFIP/CN=Computadores",
                    "-days", "3650", "-out", caCert})
        && OpenSSL({"pkey", "-in", ca, "-pubout", "-out", authorities + "/autoridad-produccion.pem"})
        && OpenSSL({"genrsa", "-traditional", "-out", key, "4096"})
        && OpenSSL({"genrsa", "-traditional", "-out", other, "4096"})
        && OpenSSL({"req", "-new", "-key", key, "-subj",
                    "/C=AR/O=Empresa/CN=Operador/serialNumber=CUIT 20123456786", "-out", req})
        && OpenSSL({"x509", "-req", "-in", req, "-CA", caCert, "-CAkey", ca, "-CAcreateserial",
                    "-days", "700", "-sha512", "-out", cert});
    if (!made) {
        std::fprintf(stderr, "could not make the certificate\n");
        return 1;
    }
    qputenv("ZEDEDE_AUTORIDADES", authorities.toLocal8Bit());
    const QString one = Folder(dir.filePath(QStringLiteral("una")), cert, key, other, 0);
    const QString many = Folder(dir.filePath(QStringLiteral("muchas")), cert, key, other, manyKeys - 1);
    const QString window = Folder(dir.filePath(QStringLiteral("ventana")), cert, key, other, windowKeys - 1);
    const QString noDefault = dir.filePath(QStringLiteral("Mis certificados"));

    bool allOk = true;
    const auto timeCheck = [&](const QString &File, int Keys) {
        QElapsedTimer t;
        t.start();
        const TVerification v = VerifyFile(File, noDefault);
        const double ms = t.nsecsElapsed() / 1e6;
        if (ExitCodeOf(v) != veOk || v.Keys.size() != Keys) {
            std::fprintf(stderr, "check failed: %s\n", qPrintable(ResultLine(v)));
            allOk = false;
        }
        return ms;
    };
    std::vector<double> oneMs, manyMs;
    for (int i = 0; i < runs; ++i) {
        oneMs.push_back(timeCheck(one, 1));
        manyMs.push_back(timeCheck(many, manyKeys));
    }
    const double base = Median(oneMs), with = Median(manyMs);
    std::printf("check with 1 key:        median %8.1f ms (%d runs)\n", base, runs);
    std::printf("check with %4d keys:    median %8.1f ms (%d runs), ratio %.1f (goal: under 2000 ms)\n",
                manyKeys, with, runs, base > 0 ? with / base : 0.0);

    // The window.
    std::vector<double> gaps;
    for (int i = 0; i < runs; ++i) {
        TfrmVerificar frm;
        frm.DefaultFolder = noDefault;
        frm.show();
        QApplication::processEvents();
        THeartbeat beat;
        QElapsedTimer total;
        double totalMs = 0;
        QTimer::singleShot(30, [&] {
            total.start();
            frm.OpenFile(window);
            totalMs = total.elapsed();
            QApplication::quit();
        });
        beat.Start();
        QApplication::exec();
        beat.Stop();
        const bool ok = frm.HasVerification() && ExitCodeOf(frm.Verification()) == veOk;
        allOk = allOk && ok;
        gaps.push_back(beat.MaxGapMs());
        std::printf("window, %d keys: %s check %8.0f ms, longest gap %6.1f ms\n", windowKeys,
                    ok ? "ok    " : "FAILED", totalMs, beat.MaxGapMs());
    }
    {
        THeartbeat beat;
        double totalMs = 0;
        QTimer::singleShot(30, [&] {
            QElapsedTimer t;
            t.start();
            timeCheck(window, windowKeys);
            totalMs = t.elapsed();
            QApplication::quit();
        });
        beat.Start();
        QApplication::exec();
        beat.Stop();
        std::printf("on the window's thread (contrast), %d keys: check %8.0f ms, longest gap %6.1f ms\n",
                    windowKeys, totalMs, beat.MaxGapMs());
    }
    std::printf("\nlongest event-loop stall of the check window: %.1f ms (goal: at most 100 ms)\n",
                *std::max_element(gaps.begin(), gaps.end()));
    if (!allOk) {
        std::fprintf(stderr, "a check failed\n");
        return 1;
    }
    return 0;
}

// How long the window's event loop is held up while it generates.
//
// The real window (offscreen) is driven to the data page and Next is pressed;
// a 10 ms heartbeat timer records the gaps between its ticks until the
// results page shows. The figure is the longest gap (goal: at most 100 ms).
// Two runs of OpenSSL: the real openssl (a 4096-bit key), and a stand-in that
// takes 12 seconds before it acts as openssl. For contrast the same
// generation is also run with the event loop blocked (the generation called
// directly from a timer, without the window's work), as the window did before
// it handed its waits to another thread.
//
//   QT_QPA_PLATFORM=offscreen bench_window_stall [real runs, default 3]
//
// Ends with 1 when a generation failed. In the short mode (BenchSmoke.h)
// one real run, a 1-second stand-in and a 200 ms idle measure.

#include "BenchSmoke.h"
#include "CuitMaskEdit.h"
#include "RequestGenerator.h"
#include "Registry.h"
#include "UCWWizard.h"
#include "UserDialogs.h"
#include "ZeDedeApp.h"
#include "uZeDede.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

QTemporaryDir *GHome = nullptr;

QString MakeFolder(const QString &Name, const QByteArray &Program)
{
    const QString folder = GHome->filePath(Name) + QLatin1Char('/');
    QDir().mkpath(folder);
    QProcess v;
    v.start(QStringLiteral("openssl"), {QStringLiteral("version"), QStringLiteral("-d")});
    v.waitForFinished();
    const QString sys = QString::fromLocal8Bit(v.readAllStandardOutput()).section('"', 1, 1);
    QFile::copy(sys + QStringLiteral("/openssl.cnf"), folder + QStringLiteral("openssl.cnf"));
    QFile p(folder + QStringLiteral("openssl"));
    if (p.open(QIODevice::WriteOnly)) {
        p.write(Program);
        p.close();
        p.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    return folder;
}

void UseFolder(const QString &Folder)
{
    QDir().mkpath(QFileInfo(UserEnvironmentFile()).path());
    QFile env(UserEnvironmentFile());
    if (env.open(QIODevice::WriteOnly | QIODevice::Truncate))
        env.write("OPENSSL_CONF=" + Folder.toUtf8() + "openssl.cnf\n");
}

struct TStall
{
    double MaxGapMs = 0;
    double TotalMs = 0;
    int Ticks = 0;
    bool Ok = false;
};

// Ticks every 10 ms and keeps the longest gap.
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
            ++FTicks;
        });
    }
    void Start()
    {
        FClock.start();
        FLast = 0;
        FMax = 0;
        FTicks = 0;
        FTimer.start();
    }
    void Stop() { FTimer.stop(); }
    double MaxGapMs() const { return FMax / 1e6; }
    int Ticks() const { return FTicks; }

private:
    QTimer FTimer;
    QElapsedTimer FClock;
    qint64 FLast = 0;
    qint64 FMax = 0;
    int FTicks = 0;
};

TRequestData Data(const QString &Folder)
{
    TRequestData d;
    d.NombreEmpresa = QStringLiteral("Compañía S.A.");
    d.CUIT = QStringLiteral("20-12345678-6");
    d.Operador = QStringLiteral("José Pérez");
    d.Mail = QStringLiteral("jose@example.com");
    d.Password = d.Password2 = QStringLiteral("secreto");
    d.Carpeta = Folder;
    return d;
}

// Next on the data page of the real window, with the heartbeat running.
TStall ThroughTheWindow(const QString &Destination)
{
    TfrmZeDede frm;
    frm.show();
    QApplication::processEvents();
    frm.wizt->NextButtonClick(); // OpenSSL is set up: the data page
    const TRequestData d = Data(Destination);
    frm.eNombreEmpresa->setText(d.NombreEmpresa);
    frm.eCUIT->setText(QStringLiteral("20123456786"));
    frm.eOperador->setText(d.Operador);
    frm.eMail->setText(d.Mail);
    frm.ePassword->setText(d.Password);
    frm.ePassword2->setText(d.Password2);
    frm.eCarpeta->setText(Destination);
    QApplication::processEvents();

    TStall s;
    THeartbeat beat;
    QElapsedTimer total;
    QTimer::singleShot(50, [&] {
        total.start();
        frm.wizt->NextButton->click();
        s.TotalMs = total.elapsed();
        QApplication::quit();
    });
    beat.Start();
    QApplication::exec();
    beat.Stop();
    s.MaxGapMs = beat.MaxGapMs();
    s.Ticks = beat.Ticks();
    s.Ok = frm.wizt->ActivePage() == frm.wpFinal;
    return s;
}

// The heartbeat alone for Ms: what the machine itself holds up.
TStall Idle(int Ms)
{
    TStall s;
    THeartbeat beat;
    QTimer::singleShot(Ms, [] { QApplication::quit(); });
    beat.Start();
    QApplication::exec();
    beat.Stop();
    s.MaxGapMs = beat.MaxGapMs();
    s.Ticks = beat.Ticks();
    s.TotalMs = Ms;
    s.Ok = true;
    return s;
}

// The same generation with the event loop blocked.
TStall Blocked(const QString &Destination)
{
    QDir().mkpath(Destination);
    TStall s;
    THeartbeat beat;
    QElapsedTimer total;
    QTimer::singleShot(50, [&] {
        total.start();
        try {
            GenerateRequestFiles(Data(Destination));
            s.Ok = true;
        } catch (...) {
        }
        s.TotalMs = total.elapsed();
        QApplication::quit();
    });
    beat.Start();
    QApplication::exec();
    beat.Stop();
    s.MaxGapMs = beat.MaxGapMs();
    s.Ticks = beat.Ticks();
    return s;
}

void Print(const char *What, const TStall &S)
{
    std::printf("%-44s %s  run %8.0f ms  heartbeats %5d  longest gap %8.1f ms\n", What,
                S.Ok ? "ok    " : "FAILED", S.TotalMs, S.Ticks, S.MaxGapMs);
}

} // namespace

// Boxes are printed, not shown: nobody is there to close them.
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

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : BenchRepetitions(3);
    const int idleMs = BenchSmoke() ? 200 : 5000;
    const int slowSeconds = BenchSmoke() ? 1 : 12;
    GHome = new QTemporaryDir;
    qputenv("HOME", GHome->path().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", GHome->filePath(QStringLiteral("config")).toLocal8Bit());
    qputenv("XDG_DATA_HOME", GHome->filePath(QStringLiteral("data")).toLocal8Bit());
    TPrintedBoxes boxes;
    const QByteArray real = QStandardPaths::findExecutable(QStringLiteral("openssl")).toLocal8Bit();
    const QString realFolder = MakeFolder(QStringLiteral("real"), "#!/bin/sh\nexec " + real + " \"$@\"\n");
    const QString slowFolder = MakeFolder(
        QStringLiteral("slow"),
        "#!/bin/sh\n[ \"$1\" = genrsa ] && sleep " + QByteArray::number(slowSeconds)
            + "\nexec " + real + " \"$@\"\n");

    Print("idle event loop (the machine's own noise)", Idle(idleMs));
    std::vector<double> gaps;
    bool allOk = true;
    UseFolder(realFolder);
    for (int i = 0; i < runs; ++i) {
        const TStall s = ThroughTheWindow(GHome->filePath(QStringLiteral("dest-real-%1").arg(i)));
        Print("window, real openssl", s);
        gaps.push_back(s.MaxGapMs);
        allOk = allOk && s.Ok;
    }
    UseFolder(slowFolder);
    const TStall slow = ThroughTheWindow(GHome->filePath(QStringLiteral("dest-slow")));
    Print(qPrintable(QStringLiteral("window, %1-second stand-in").arg(slowSeconds)), slow);
    gaps.push_back(slow.MaxGapMs);
    allOk = allOk && slow.Ok;

    UseFolder(realFolder);
    const TStall blocked = Blocked(GHome->filePath(QStringLiteral("dest-blocked")));
    Print("blocked event loop (before), real openssl", blocked);
    allOk = allOk && blocked.Ok;

    std::printf("\nlongest event-loop stall during a generation through the window: %.1f ms "
                "(goal: at most 100 ms)\n",
                *std::max_element(gaps.begin(), gaps.end()));
    delete GHome;
    if (!allOk) {
        std::fprintf(stderr, "a generation failed\n");
        return 1;
    }
    return 0;
}

// GenerateRequest against the same two openssl commands run directly.
//
// Both run the real openssl (a 4096-bit key and a request) in a throw-away
// OpenSSL folder and destination. Key generation time varies a lot from run
// to run, so the repetitions of the two are interleaved at random and the
// medians compared:  overhead ratio = median(GenerateRequest) / median(direct).
//
// That noise hides an overhead of a few milliseconds, so the same pair is
// also run with a quick stand-in for openssl: its genrsa and "req -new" copy
// a key and a request the real openssl made once at set-up for the same data
// (GenerateRequest reads them back as it reads what openssl writes), and it
// hands every other command (version and the read-backs) to the real one.
// The difference of those medians is the overhead itself, to be set against
// the real direct median.

#include "BenchRun.h"
#include "Exception.h"
#include "OpenSSLSetup.h"
#include "RequestGenerator.h"
#include "Registry.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

QTemporaryDir *GHome = nullptr;
QString GFolder; // OpenSSL folder, ending with "/"
QString GDest;
QString GFast; // OpenSSL folder with the quick stand-in

void UseFolder(const QString &Folder)
{
    QDir().mkpath(GHome->filePath("config/Vemra"));
    QFile env(UserEnvironmentFile());
    if (env.open(QIODevice::WriteOnly | QIODevice::Truncate))
        env.write("OPENSSL_CONF=" + Folder.toUtf8() + "openssl.cnf\n");
}

TRequestData Data()
{
    TRequestData d;
    d.NombreEmpresa = QStringLiteral("Compañía S.A.");
    d.CUIT = QStringLiteral("20-12345678-6");
    d.Operador = QStringLiteral("José Pérez");
    d.Mail = QStringLiteral("jose.perez@example.com");
    d.Password = d.Password2 = QStringLiteral("secreto");
    d.Carpeta = GDest;
    return d;
}

void ClearDestination()
{
    QDir dest(GDest);
    for (const QString &f : dest.entryList(QDir::Files))
        dest.remove(f);
}

bool RunDirect(const QString &Folder, const QStringList &Args)
{
    QProcess p;
    p.setWorkingDirectory(Folder);
    p.setStandardOutputFile(QProcess::nullDevice());
    p.setStandardErrorFile(QProcess::nullDevice());
    p.start(Folder + QStringLiteral("openssl"), Args);
    return p.waitForFinished(-1) && p.exitCode() == 0;
}

void Generate(benchmark::State &State, const QString &Folder)
{
    UseFolder(Folder);
    ClearDestination();
    const TRequestData data = Data();
    for (auto _ : State) {
        try {
            benchmark::DoNotOptimize(GenerateRequestFiles(data));
        } catch (const Exception &e) {
            const std::string why = "GenerateRequestFiles failed: " + e.Message().toStdString()
                                    + " " + e.Details().simplified().left(300).toStdString();
            State.SkipWithError(why.c_str());
        } catch (...) {
            State.SkipWithError("GenerateRequestFiles failed");
        }
    }
}

void Direct(benchmark::State &State, const QString &Folder)
{
    ClearDestination();
    const TRequestNames n = RequestNames(Data(), Folder);
    for (auto _ : State) {
        if (!RunDirect(Folder, {"genrsa", "-traditional", "-out", n.KeyFile, "4096"})
            || !RunDirect(Folder, {"req", "-new", "-key", n.KeyFile, "-config", "vemra.cnf",
                                   "-out", n.RequestFile, "-batch"}))
            State.SkipWithError("openssl failed");
    }
}

void BM_GenerateRequest(benchmark::State &State) { Generate(State, GFolder); }
void BM_OpenSSLDirect(benchmark::State &State) { Direct(State, GFolder); }
void BM_GenerateRequestQuickStandIn(benchmark::State &State) { Generate(State, GFast); }
void BM_DirectQuickStandIn(benchmark::State &State) { Direct(State, GFast); }

BENCHMARK(BM_GenerateRequest)->Iterations(1)->Repetitions(BenchRepetitions(15))->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenSSLDirect)->Iterations(1)->Repetitions(BenchRepetitions(15))->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GenerateRequestQuickStandIn)->Iterations(1)->Repetitions(BenchRepetitions(40))->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DirectQuickStandIn)->Iterations(1)->Repetitions(BenchRepetitions(40))->UseRealTime()
    ->Unit(benchmark::kMillisecond);

bool SetUp()
{
    GHome = new QTemporaryDir;
    if (!GHome->isValid())
        return false;
    qputenv("XDG_CONFIG_HOME", GHome->filePath("config").toLocal8Bit());
    qputenv("XDG_DATA_HOME", GHome->filePath("data").toLocal8Bit());
    GFolder = GHome->filePath("ssl") + "/";
    GDest = GHome->filePath("dest");
    QDir().mkpath(GFolder);
    QDir().mkpath(GDest);
    QProcess v;
    v.start("openssl", {"version", "-d"});
    v.waitForFinished();
    const QString sys = QString::fromLocal8Bit(v.readAllStandardOutput()).section('"', 1, 1);
    if (!QFile::copy(sys + "/openssl.cnf", GFolder + "openssl.cnf")
        || !QFile::link(QStandardPaths::findExecutable("openssl"), GFolder + "openssl"))
        return false;
    GFast = GHome->filePath("fast") + "/";
    QDir().mkpath(GFast);
    if (!QFile::copy(sys + "/openssl.cnf", GFast + "openssl.cnf"))
        return false;
    // The direct runs read the configuration copy GenerateRequest writes.
    WriteConfigFile(GFolder + "openssl.cnf", GFolder + "vemra.cnf", Data());
    WriteConfigFile(GFast + "openssl.cnf", GFast + "vemra.cnf", Data());

    // What the stand-in copies: a key and a request of the data, made by the
    // real openssl with the configuration copy of the data.
    const QString made = GHome->filePath("made") + "/";
    QDir().mkpath(made);
    if (!RunDirect(GFolder, {"genrsa", "-traditional", "-out", made + "key.pem", "4096"})
        || !RunDirect(GFolder, {"req", "-new", "-key", made + "key.pem", "-config", "vemra.cnf",
                                "-out", made + "req.pem", "-batch", "-utf8"}))
        return false;
    QFile standIn(GFast + "openssl");
    if (!standIn.open(QIODevice::WriteOnly))
        return false;
    const QByteArray real = QStandardPaths::findExecutable("openssl").toUtf8();
    standIn.write("#!/bin/sh\n"
                  "out=; prev=; new=\n"
                  "for a; do [ \"$prev\" = -out ] && out=$a; [ \"$a\" = -new ] && new=1; prev=$a; done\n"
                  "[ \"$1\" = genrsa ] && exec cp '" + made.toUtf8() + "key.pem' \"$out\"\n"
                  "[ \"$1\" = req ] && [ -n \"$new\" ] && exec cp '" + made.toUtf8()
                  + "req.pem' \"$out\"\n"
                  "exec '" + real + "' \"$@\"\n");
    standIn.close();
    standIn.setPermissions(standIn.permissions() | QFile::ExeOwner);
    UseFolder(GFolder);
    return GetOpenSSLDir() == GFolder;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (!SetUp()) {
        std::fprintf(stderr, "set-up failed\n");
        return 1;
    }
    // Interleave the repetitions unless told otherwise.
    std::vector<char *> args(argv, argv + argc);
    bool interleaving = false;
    for (int i = 1; i < argc; ++i)
        interleaving |= std::strstr(argv[i], "random_interleaving") != nullptr;
    static char kInterleave[] = "--benchmark_enable_random_interleaving=true";
    if (!interleaving)
        args.push_back(kInterleave);
    TCheckedReporter reporter;
    const int status = RunBenchmarks(args, reporter);
    delete GHome;
    return status;
}

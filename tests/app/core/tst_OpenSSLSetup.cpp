#include "OpenSSLSetup.h"

#include "Exception.h"
#include "Process.h"
#include "Registry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

class TestOpenSSLSetup : public QObject
{
    Q_OBJECT
    QTemporaryDir FHome;
    QString FBin; // where the build puts ZeDede and its installer

    static QByteArray readFile(const QString &Path)
    {
        QFile f(Path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }

    static void writeFile(const QString &Path, const QByteArray &Bytes, bool Executable = false)
    {
        QDir().mkpath(QFileInfo(Path).path());
        QFile f(Path);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(Bytes);
        f.close();
        if (Executable)
            f.setPermissions(f.permissions() | QFile::ExeOwner);
    }

    void setConf(const QByteArray &Value)
    {
        writeFile(UserEnvironmentFile(), "OPENSSL_CONF=" + Value + "\n");
    }

    // A folder holding a stand-in installer with Body.
    QString installerFolder(const QString &Name, const QByteArray &Body)
    {
        const QString folder = FHome.filePath(Name);
        writeFile(folder + "/install-openssl.sh", "#!/bin/sh\n" + Body, true);
        return folder;
    }

    // A folder for PATH with the tools the installers use, but no openssl.
    QString toolsWithoutOpenSSL()
    {
        const QString bin = FHome.filePath("fakebin");
        QDir().mkpath(bin);
        for (const char *tool : {"sh", "sed", "grep", "mkdir", "cp", "mv", "ln", "cat", "id",
                                 "stat", "readlink", "dirname", "pwd"}) {
            const QString real = QStandardPaths::findExecutable(tool);
            if (real.isEmpty())
                return QString();
            QFile::link(real, bin + "/" + tool);
        }
        return bin;
    }

    // Runs Body with PATH set to Path.
    template <typename F>
    static void withPath(const QString &Path, F Body)
    {
        const QByteArray old = qgetenv("PATH");
        qputenv("PATH", Path.toLocal8Bit());
        Body();
        qputenv("PATH", old);
    }

    // Message of the Exception InstallOpenSSL throws, "" when none.
    static QString installError(const QString &Folder, QString *Details = nullptr)
    {
        try {
            InstallOpenSSL(Folder);
        } catch (const Exception &e) {
            if (Details)
                *Details = e.Details();
            return e.Message();
        }
        return QString();
    }

private slots:
    void initTestCase()
    {
        QVERIFY(FHome.isValid());
        qputenv("HOME", FHome.path().toLocal8Bit());
        qputenv("XDG_CONFIG_HOME", FHome.filePath("config").toLocal8Bit());
        qputenv("XDG_DATA_HOME", FHome.filePath("data").toLocal8Bit());
        FBin = qEnvironmentVariable("ZEDEDE_BINARY_DIR") + "/bin";
        QVERIFY(QFileInfo::exists(FBin + "/install-openssl.sh"));
        QVERIFY(!QStandardPaths::findExecutable("openssl").isEmpty());
    }
    void init() { QFile::remove(UserEnvironmentFile()); }
    void cleanup() { SetExecuteWaits(TExecuteWaits()); }

    void folderIsTheDirectoryPartOfTheValue_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("folder");
        QTest::newRow("full path") << "/home/u/.local/share/Vemra/OpenSSL/openssl.cnf"
                                   << "/home/u/.local/share/Vemra/OpenSSL/";
        QTest::newRow("bare name") << "openssl.cnf" << "";
        QTest::newRow("root") << "/openssl.cnf" << "/";
        QTest::newRow("backslashes") << "C:\\OpenSSL\\bin\\openssl.cnf" << "";
        QTest::newRow("forward slashes") << "C:/OpenSSL/bin/openssl.cnf" << "C:/OpenSSL/bin/";
        QTest::newRow("unexpanded") << "%SystemDrive%/OpenSSL/openssl.cnf" << "%SystemDrive%/OpenSSL/";
        QTest::newRow("empty") << "" << "";
    }
    void folderIsTheDirectoryPartOfTheValue()
    {
        QFETCH(QString, value);
        QFETCH(QString, folder);
        QCOMPARE(OpenSSLDirOf(value), folder);
        setConf(value.toUtf8());
        QCOMPARE(GetOpenSSLDir(), folder);
        QCOMPARE(OpenSSLInstalled(), !folder.isEmpty());
    }

    void installerPathIsNextToTheProgram()
    {
        QCOMPARE(InstallerPath("/opt/zedede"), QStringLiteral("/opt/zedede/install-openssl.sh"));
        QCOMPARE(InstallerPath("/opt/zedede/"), QStringLiteral("/opt/zedede/install-openssl.sh"));
        const QFileInfo copy(FBin + "/install-openssl.sh");
        QVERIFY(copy.isExecutable());
        QCOMPARE(readFile(copy.filePath()),
                 readFile(qEnvironmentVariable("ZEDEDE_SOURCE_DIR") + "/app/install-openssl.sh"));
    }

    void realInstallerMakesTheFolderAndIsFoundAtOnce()
    {
        writeFile(UserEnvironmentFile(), "LANG=es_AR.UTF-8\nopenssl_conf=/old/openssl.cnf\n");
        QVERIFY(!OpenSSLInstalled() || GetOpenSSLDir() == "/old/");
        QCOMPARE(installError(FBin), QString());
        const QString folder = FHome.filePath("data/Vemra/OpenSSL/");
        QCOMPARE(GetOpenSSLDir(), folder);
        QCOMPARE(readFile(UserEnvironmentFile()),
                 "LANG=es_AR.UTF-8\nOPENSSL_CONF=" + folder.toUtf8() + "openssl.cnf\n");
        QByteArray dir;
        QVERIFY(ReadProgramOutput("openssl", QString(), "version -d", 10000, dir));
        const QString systemConf = QString::fromLocal8Bit(dir).section('"', 1, 1) + "/openssl.cnf";
        QCOMPARE(readFile(folder + "openssl.cnf"), readFile(systemConf));
        QByteArray version;
        QVERIFY(ReadProgramOutput(folder + "openssl", folder, "version", 10000, version));
        QVERIFY(version.startsWith("OpenSSL "));

        // Running it again changes nothing.
        QVERIFY(ExecuteAndWait(FBin + "/install-openssl.sh", FBin, QString()));
        QCOMPARE(readFile(UserEnvironmentFile()),
                 "LANG=es_AR.UTF-8\nOPENSSL_CONF=" + folder.toUtf8() + "openssl.cnf\n");
        QCOMPARE(QDir(FHome.filePath("data/Vemra/OpenSSL")).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::System),
                 (QStringList{"openssl", "openssl.cnf"}));
        QCOMPARE(QDir(FHome.filePath("config/Vemra")).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
                 QStringList{"environment"});
    }

    void installerAsksForOpenSSLWhenItIsMissing()
    {
        // A PATH without openssl, whose pkexec records its request and refuses.
        const QString bin = toolsWithoutOpenSSL();
        QVERIFY(!bin.isEmpty());
        const QString asked = FHome.filePath("asked");
        writeFile(bin + "/pkexec", "#!/bin/sh\necho \"$@\" > " + asked.toLocal8Bit() + "\nexit 126\n", true);

        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("PATH", bin);
        env.insert("XDG_DATA_HOME", FHome.filePath("data2"));
        env.insert("XDG_CONFIG_HOME", FHome.filePath("config2"));
        p.setProcessEnvironment(env);
        p.start(bin + "/sh", {FBin + "/install-openssl.sh"});
        QVERIFY(p.waitForFinished(10000));
        QVERIFY(p.exitCode() != 0);
        QCOMPARE(readFile(asked), QByteArray("apt-get install -y openssl\n"));
        QVERIFY(!QFileInfo::exists(FHome.filePath("data2")));
        QVERIFY(!QFileInfo::exists(FHome.filePath("config2")));
    }

    void installFailuresHaveTheirMessages()
    {
        const QString empty = FHome.filePath("empty");
        QDir().mkpath(empty);
        QCOMPARE(installError(empty),
                 "No se pudo encontrar el archivo " + empty + "/install-openssl.sh.");

        const QString notRunnable = installerFolder("not-runnable", "exit 0\n");
        QFile::setPermissions(notRunnable + "/install-openssl.sh", QFile::ReadOwner | QFile::WriteOwner);
        QCOMPARE(installError(notRunnable), QStringLiteral("No se pudo ejecutar la instalación de OpenSSL."));

        SetExecuteWaits({50, 100});
        QCOMPARE(installError(installerFolder("slow", "sleep 2\n")),
                 QStringLiteral("No se pudo ejecutar la instalación de OpenSSL."));
        SetExecuteWaits(TExecuteWaits());

        // Ended, even successfully, without leaving a folder.
        QCOMPARE(installError(installerFolder("cancelled", "exit 0\n")),
                 QStringLiteral("Falló la ejecución del instalador de OpenSSL, o fue cancelada por el usuario."));

        // The installer's own words are the details.
        QString details;
        const QString refused = installerFolder("refused", "echo 'install-openssl: refused' >&2\nexit 1\n");
        QCOMPARE(installError(refused, &details),
                 QStringLiteral("Falló la ejecución del instalador de OpenSSL, o fue cancelada por el usuario."));
        QCOMPARE(details, "El instalador terminó con el código 1.\n\nSalida del instalador:\n"
                          "install-openssl: refused\n\nOrden: \"" + refused + "/install-openssl.sh\"");
    }

    // The machine has openssl: the question would be untrue. The folder is
    // prepared without asking, exactly as the installer run by hand makes it.
    void welcomeNextPreparesTheFolderWithoutAskingWhenTheSystemHasOpenSSL()
    {
        QVERIFY(SystemHasOpenSSL());
        int asked = 0;
        const TInstallQuestion ask = [&](const QString &) { ++asked; return false; };
        bool done = false;
        (done = PrepareOpenSSL(ask, FBin));
        QVERIFY(done);
        QCOMPARE(asked, 0);
        const QString folder = FHome.filePath("data/Vemra/OpenSSL/");
        QCOMPARE(GetOpenSSLDir(), folder);
        const QByteArray environment = readFile(UserEnvironmentFile());
        const QByteArray conf = readFile(folder + "openssl.cnf");
        const QString link = QFileInfo(folder + "openssl").symLinkTarget();

        QVERIFY(QFile::remove(UserEnvironmentFile()));
        QVERIFY(QDir(folder).removeRecursively());
        QVERIFY(ExecuteAndWait(FBin + "/install-openssl.sh", FBin, QString()));
        QCOMPARE(environment, readFile(UserEnvironmentFile()));
        QCOMPARE(conf, readFile(folder + "openssl.cnf"));
        QCOMPARE(link, QFileInfo(folder + "openssl").symLinkTarget());

        // Recorded now: Next neither asks nor runs an installer.
        const QString empty = FHome.filePath("no-installer");
        QDir().mkpath(empty);
        done = false;
        (done = PrepareOpenSSL(ask, empty));
        QVERIFY(done);
        QCOMPARE(asked, 0);
    }

    // A folder that cannot be prepared is reported as the installer's
    // failure is, without a question; Next stays on the welcome page.
    void aFolderThatCannotBePreparedIsTheInstallersFailure()
    {
        int asked = 0;
        const TInstallQuestion ask = [&](const QString &) { ++asked; return true; };
        bool done = false;
        const QString empty = FHome.filePath("no-installer");
        QDir().mkpath(empty);
        QVERIFY_THROWS_EXCEPTION(Exception, (done = PrepareOpenSSL(ask, empty)));
        QVERIFY(!done);

        // The data folder lies under a file: nothing can be made there.
        writeFile(FHome.filePath("blocked"), "a file\n");
        const QByteArray dataHome = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", FHome.filePath("blocked/data").toLocal8Bit());
        QString message;
        try {
            (done = PrepareOpenSSL(ask, FBin));
        } catch (const Exception &e) {
            message = e.Message();
        }
        qputenv("XDG_DATA_HOME", dataHome);
        QCOMPARE(message, QStringLiteral("Falló la ejecución del instalador de OpenSSL, o fue "
                                         "cancelada por el usuario."));
        QVERIFY(!done);
        QCOMPARE(asked, 0);
        QVERIFY(!OpenSSLInstalled());
    }

    // Without openssl on the machine everything is as before: the question,
    // asked on every Next, and the installer on Yes.
    void withoutOpenSSLWelcomeNextAsksAndInstalls()
    {
        const QString bin = toolsWithoutOpenSSL();
        QVERIFY(!bin.isEmpty());
        // Stand-in for a successful installation: it records a folder.
        const QString installs = installerFolder(
            "installs", "mkdir -p \"$XDG_CONFIG_HOME/Vemra\"\n"
                        "echo OPENSSL_CONF=/opt/ssl/openssl.cnf > \"$XDG_CONFIG_HOME/Vemra/environment\"\n");
        const QString failing = installerFolder("fails", "exit 1\n");
        withPath(bin, [&] {
            QVERIFY(!SystemHasOpenSSL());
            int asked = 0;
            QString question;
            bool answer = false;
            const TInstallQuestion ask = [&](const QString &m) { ++asked; question = m; return answer; };
            bool done = true;

            (done = PrepareOpenSSL(ask, installs)); // user says No
            QVERIFY(!done);
            QCOMPARE(asked, 1);
            QCOMPARE(question, QStringLiteral("Se detectó que en su sistema no se encuentra "
                                              "instalado OpenSSL. \r\n¿Desea instalarlo ahora?"));
            QVERIFY(!OpenSSLInstalled());

            answer = true; // asked again; a failing installer's error propagates
            QVERIFY_THROWS_EXCEPTION(Exception, (done = PrepareOpenSSL(ask, failing)));
            QVERIFY(!done);
            QCOMPARE(asked, 2);

            (done = PrepareOpenSSL(ask, installs)); // Yes, and it installs
            QVERIFY(done);
            QCOMPARE(asked, 3);
            QCOMPARE(GetOpenSSLDir(), QStringLiteral("/opt/ssl/"));

            done = false; // installed: no question
            (done = PrepareOpenSSL(ask, installs));
            QVERIFY(done);
            QCOMPARE(asked, 3);
        });
    }

    void installerRefusesAnOpenSSLOthersCouldReplace()
    {
        const QString bin = toolsWithoutOpenSSL();
        QVERIFY(!bin.isEmpty());
        const QString real = QStandardPaths::findExecutable("openssl");
        QVERIFY(!real.isEmpty());
        const QString folder = FHome.filePath("data/Vemra/OpenSSL/");
        const auto run = [&](const QString &Path, QString &Details) {
            QFile::remove(UserEnvironmentFile());
            QFile::remove(folder + "openssl");
            QString message;
            withPath(Path, [&] { message = installError(FBin, &Details); });
            return message;
        };
        QString details;

        // A PATH folder anyone may write holding openssl.
        const QString open = FHome.filePath("abierta");
        QDir().mkpath(open);
        QVERIFY(::chmod(QFile::encodeName(open).constData(), 0777) == 0);
        QFile::remove(open + "/openssl");
        QVERIFY(QFile::link(real, open + "/openssl"));
        QCOMPARE(run(open + ":" + bin, details),
                 QStringLiteral("Falló la ejecución del instalador de OpenSSL, o fue cancelada por el usuario."));
        QVERIFY2(details.contains("la carpeta " + open + " la pueden modificar otros usuarios (permisos 777)"),
                 qPrintable(details));
        QVERIFY(!QFileInfo(folder + "openssl").isSymLink());

        // A safe PATH folder whose openssl is a link into that folder: the
        // link is followed. The program there is a copy, writable by others.
        const QString safe = FHome.filePath("segura");
        QDir().mkpath(safe);
        QVERIFY(::chmod(QFile::encodeName(safe).constData(), 0755) == 0);
        QFile::remove(open + "/openssl");
        QVERIFY(QFile::copy(real, open + "/openssl"));
        QFile::remove(safe + "/openssl");
        QVERIFY(QFile::link(open + "/openssl", safe + "/openssl"));
        QCOMPARE(run(safe + ":" + bin, details),
                 QStringLiteral("Falló la ejecución del instalador de OpenSSL, o fue cancelada por el usuario."));
        QVERIFY2(details.contains("la carpeta " + open + " la pueden modificar otros usuarios"),
                 qPrintable(details));
        QVERIFY(!QFileInfo(folder + "openssl").isSymLink());

        // A safe folder and a safe program: the link points at the program
        // itself, not at the link found on PATH.
        QVERIFY(::chmod(QFile::encodeName(open).constData(), 0755) == 0);
        QFile::remove(safe + "/openssl");
        QVERIFY(QFile::link(real, safe + "/openssl"));
        QCOMPARE(run(safe + ":" + bin, details), QString());
        QCOMPARE(QFileInfo(folder + "openssl").symLinkTarget(), QFileInfo(real).canonicalFilePath());
    }
};

QTEST_MAIN(TestOpenSSLSetup)
#include "tst_OpenSSLSetup.moc"

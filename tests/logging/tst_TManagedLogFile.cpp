#include "AnsiCodePage.h"
#include "Exception.h"
#include "LogTestSupport.h"
#include "uLogIni.h"
#include "uVmWriteToLog.h"

#include <QProcess>
#include <QSet>
#include <QtTest>

#include <thread>

class TestTManagedLogFile : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void write_readsTheConfigurationOncePerThread();
    void clearThreadData_takesANewStampAndConfiguration();
    void threads_carryTheirOwnStamps();
    void startAndEnd_areNeverIndented();
    void semicolonInAValue_reachesTheWriterWhole();
    void variants_matchThoseOfTheLogFile();
    void failures_returnFalseWithoutRaising();
    void processesAndThreads_appendWholeLinesWithoutLoss();

private:
    void WriteIni(const QString &Sections);
    QString DefaultLog() const { return FHome->Logs() + "logging_tst_TManagedLogFile.log"; }
    QStringList Entries(const QString &File) const;
    TTempHome *FHome = nullptr;
};

namespace {

QString ValueIn(const QString &Data, const QString &Name)
{
    for (const QString &line : Data.split(QStringLiteral("\r\n")))
        if (line.startsWith(Name + QLatin1Char('=')))
            return line.mid(Name.size() + 1);
    return QString();
}

} // namespace

void TestTManagedLogFile::init()
{
    FHome = new TTempHome;
    QDir().mkpath(FHome->Vemra());
    TManagedLogFile::ClearThreadData();
}

void TestTManagedLogFile::cleanup()
{
    TManagedLogFile::ClearThreadData();
    delete FHome;
    FHome = nullptr;
}

void TestTManagedLogFile::WriteIni(const QString &Sections)
{
    QVERIFY(WriteBytes(FHome->LogIni(),
                       ToAnsi(TLogIni::GetHelpText().join(QStringLiteral("\r\n")) + "\r\n" + Sections)));
}

QStringList TestTManagedLogFile::Entries(const QString &File) const
{
    QStringList result;
    for (const QString &line : ReadLines(File))
        result << AfterStamp(line);
    return result;
}

void TestTManagedLogFile::write_readsTheConfigurationOncePerThread()
{
    QCOMPARE(TManagedLogFile::ThreadLogData(), QString());
    QVERIFY(TManagedLogFile::Write(ltError, QStringLiteral("imagen no encontrada")));
    const QString data = TManagedLogFile::ThreadLogData();
    QCOMPARE(ValueIn(data, "Initialized"), QStringLiteral("S"));
    const QString stamp = ValueIn(data, "ThreadID");
    QVERIFY(!stamp.isEmpty());
    // The configuration travels as one value, its lines separated by ";".
    QVERIFY(ValueIn(data, "TextWriter").startsWith(QStringLiteral("Debug_Activo=1;Archivo_Texto_Nivel=7;")));
    QVERIFY(!ValueIn(data, "TextWriter").contains(QLatin1Char('\r')));
    QCOMPARE(Entries(DefaultLog()).last(), stamp + " | #FALLA | imagen no encontrada");

    // Later edits are not seen by this thread.
    WriteIni(QStringLiteral("[GLOBAL]\r\nArchivo_Texto_Nivel=8\r\n"));
    QVERIFY(!TManagedLogFile::Write(ltMsg, QStringLiteral("no")));
    QVERIFY(TManagedLogFile::Write(QStringLiteral("auditoría")));
    QCOMPARE(Entries(DefaultLog()).last(), stamp + " | T_AUDI | auditoría");
}

void TestTManagedLogFile::clearThreadData_takesANewStampAndConfiguration()
{
    QVERIFY(TManagedLogFile::Write(QStringLiteral("uno")));
    const QString first = ValueIn(TManagedLogFile::ThreadLogData(), "ThreadID");
    WriteIni(QStringLiteral("[GLOBAL]\r\nArchivo_Texto_Nivel=8\r\n"));
    TManagedLogFile::ClearThreadData();
    QCOMPARE(TManagedLogFile::ThreadLogData(), QString());
    QTest::qSleep(100); // more than one stamp unit
    QVERIFY(TManagedLogFile::Write(ltMsg, QStringLiteral("dos")));
    const QString second = ValueIn(TManagedLogFile::ThreadLogData(), "ThreadID");
    QVERIFY(second != first);
    QCOMPARE(Entries(DefaultLog()).last(), second + " | T_MNSJ | dos");
}

void TestTManagedLogFile::threads_carryTheirOwnStamps()
{
    QVERIFY(TManagedLogFile::Write(QStringLiteral("principal")));
    const QString mainStamp = ValueIn(TManagedLogFile::ThreadLogData(), "ThreadID");
    QString otherStamp;
    QTest::qSleep(100);
    std::thread other([&] {
        TManagedLogFile::Write(QStringLiteral("otro hilo"));
        otherStamp = ValueIn(TManagedLogFile::ThreadLogData(), "ThreadID");
    });
    other.join();
    QVERIFY(TManagedLogFile::Write(QStringLiteral("principal otra vez")));
    QVERIFY(!otherStamp.isEmpty());
    QVERIFY(otherStamp != mainStamp);
    const QStringList e = Entries(DefaultLog()).mid(5);
    QCOMPARE(e, QStringList({mainStamp + " | T_AUDI | principal", otherStamp + " | T_AUDI | otro hilo",
                             mainStamp + " | T_AUDI | principal otra vez"}));
}

void TestTManagedLogFile::startAndEnd_areNeverIndented()
{
    WriteIni(QStringLiteral("[GLOBAL]\r\nArchivo_Texto_Identacion=\"--\"\r\n"));
    QVERIFY(TManagedLogFile::Write(ltStart, QStringLiteral("a")));
    QVERIFY(TManagedLogFile::Write(ltStart, QStringLiteral("b")));
    QVERIFY(TManagedLogFile::Write(ltDown, QStringLiteral("c")));
    const QStringList e = Entries(DefaultLog()).mid(5);
    QCOMPARE(e.size(), 3);
    for (const QString &entry : e)
        QVERIFY2(!entry.contains(QStringLiteral("| -")), qPrintable(entry));
}

void TestTManagedLogFile::semicolonInAValue_reachesTheWriterWhole()
{
    const QString folder = FHome->Root() + "/a;b%3B/";
    WriteIni("[GLOBAL]\r\nArchivo_Texto_Directorio=" + folder + "\r\nArchivo_Texto_Nombre=x;y.log\r\n");
    QVERIFY(TManagedLogFile::Write(QStringLiteral("punto y coma")));
    QVERIFY(QFileInfo::exists(folder + "x;y.log"));
    QVERIFY(!QFileInfo::exists(FHome->Root() + "/a"));
}

void TestTManagedLogFile::variants_matchThoseOfTheLogFile()
{
    const Exception error(QStringLiteral("sin disco"));
    QVERIFY(TManagedLogFile::Write(ltFail, QStringLiteral("Falló"), error));
    QVERIFY(TManagedLogFile::Write(ltFail, QStringLiteral("Nada"), nullptr));
    QVERIFY(TManagedLogFile::WriteForced(QStringLiteral("forzado")));
    QVERIFY(TManagedLogFile::WriteResult(ltAudit, QStringLiteral("Grabar"), true));
    QVERIFY(TManagedLogFile::WriteInOtherFile(FHome->Root() + "/otro/o.log", QStringLiteral("otro")));
    const QString id = ValueIn(TManagedLogFile::ThreadLogData(), "ThreadID") + " | ";
    QCOMPARE(Entries(DefaultLog()).mid(5), QStringList({
        id + "#EXCEP | Falló(Excepción: Exception - sin disco)",
        id + "#EXCEP | Nada",
        id + "FORZADO | forzado",
        id + "T_AUDI | Grabar     --> Result = True",
    }));
    QCOMPARE(Entries(FHome->Root() + "/otro/o.log").last(), id + "T_AUDI | otro");
}

void TestTManagedLogFile::failures_returnFalseWithoutRaising()
{
    QVERIFY(WriteBytes(FHome->Root() + "/file", "x"));
    WriteIni("[GLOBAL]\r\nArchivo_Texto_Directorio=" + FHome->Root() + "/file/logs\r\n");
    bool result = true;
    try {
        result = TManagedLogFile::Write(ltError, QStringLiteral("no"))
                 || TManagedLogFile::WriteForced(QStringLiteral("no"))
                 || TManagedLogFile::WriteInOtherFile(FHome->Root() + "/file/x.log", QStringLiteral("no"));
    } catch (...) {
        QFAIL("a managed write raised");
    }
    QVERIFY(!result);

    // An unreadable configuration: the defaults apply and nothing raises.
    TManagedLogFile::ClearThreadData();
    QVERIFY(QFile::remove(FHome->LogIni()));
    QVERIFY(QDir().mkpath(FHome->LogIni()));
    QVERIFY(TManagedLogFile::Write(ltError, QStringLiteral("por defecto")));
    QVERIFY(Entries(DefaultLog()).last().endsWith(QStringLiteral("#FALLA | por defecto")));
}

void TestTManagedLogFile::processesAndThreads_appendWholeLinesWithoutLoss()
{
    constexpr int processes = 4, threads = 4, lines = 500;
    // Create the configuration before the writers race for it.
    TLogIni(QString(), QString()).ReadIni();
    QList<QProcess *> children;
    for (int p = 0; p < processes; ++p) {
        auto *child = new QProcess(this);
        child->setProgram(QStringLiteral(LOG_WRITER));
        child->setArguments({QString::number(p), QString::number(threads), QString::number(lines)});
        child->start();
        children << child;
    }
    // Every writer has finished before anything is checked.
    bool finished = true;
    for (QProcess *child : children)
        finished = child->waitForFinished(300000) && finished;
    QVERIFY(finished);
    for (QProcess *child : children) {
        QCOMPARE(child->exitStatus(), QProcess::NormalExit);
        const QByteArray errors = child->readAllStandardError();
        QVERIFY2(errors.isEmpty(), errors.constData());
        QCOMPARE(child->exitCode(), 0);
    }
    qDeleteAll(children);

    const QString log = FHome->Logs() + "logging_log_writer.log";
    QStringList all = ReadLines(log);
    if (QFileInfo::exists(FHome->Logs() + "logging_log_writer.bak"))
        all = ReadLines(FHome->Logs() + "logging_log_writer.bak") + all;
    const QRegularExpression entry(
        QStringLiteral("^\\d{4}/\\d{2}/\\d{2} \\d{2}:\\d{2}:\\d{2}:\\d{3} \\| \\d+ \\| "
                       "#FALLA \\| linea (\\d)-(\\d)-(\\d+) (x+)$"));
    QSet<QString> seen;
    for (const QString &line : all) {
        const QString rest = AfterStamp(line);
        QVERIFY2(!rest.isNull(), qPrintable(line));
        if (rest.contains(QStringLiteral(" | T_AUDI | ")))
            continue; // header lines
        const QRegularExpressionMatch m = entry.match(line);
        QVERIFY2(m.hasMatch(), qPrintable(line));
        QCOMPARE(m.captured(4).size(), 40 + m.captured(3).toInt() % 17);
        const QString key = m.captured(1) + "-" + m.captured(2) + "-" + m.captured(3);
        QVERIFY2(!seen.contains(key), qPrintable(key));
        seen.insert(key);
    }
    QCOMPARE(seen.size(), processes * threads * lines);
}

QTEST_GUILESS_MAIN(TestTManagedLogFile)
#include "tst_TManagedLogFile.moc"

#include "AnsiCodePage.h"
#include "Exception.h"
#include "LogTestSupport.h"
#include "uLogIni.h"
#include "uVmWriteToLog.h"

#include <QDirIterator>
#include <QtTest>

#include <stdexcept>

// An error kind of the program's own, as the log names it.
class ELectura : public Exception
{
public:
    using Exception::Exception;
};

class TestTLogFile : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void firstWrite_createsTheConfigurationAndWritesTheDefaultLog();
    void level_selectsTheKindsThatAreWritten_data();
    void level_selectsTheKindsThatAreWritten();
    void configuration_isReadOncePerObject();
    void processSections_applyToTheLogsOwnName();
    void writeVariants_formatTheirMessages();
    void writeFmt_rejectsDirectivesThatDoNotMatch();
    void writeInOtherFile_leavesTheObjectsFileUnchanged();
    void setters_cleanFolderAndName();
    void unreadableConfiguration_keepsDefaultsAndStillWrites();
    void homeOutsideTheCodePage_logsIntoTheRealFolder();
    void parametrized_neverReadsTheConfiguration();
    void newThreadStamp_isTheElapsedFractionOfTheDay();

private:
    void WriteIni(const QString &Sections);
    QStringList Entries(const QString &File) const;
    TTempHome *FHome = nullptr;
};

void TestTLogFile::init()
{
    FHome = new TTempHome;
    QDir().mkpath(FHome->Vemra());
}

void TestTLogFile::cleanup()
{
    delete FHome;
    FHome = nullptr;
}

void TestTLogFile::WriteIni(const QString &Sections)
{
    QVERIFY(WriteBytes(FHome->LogIni(),
                       ToAnsi(TLogIni::GetHelpText().join(QStringLiteral("\r\n")) + "\r\n" + Sections)));
}

QStringList TestTLogFile::Entries(const QString &File) const
{
    QStringList result;
    for (const QString &line : ReadLines(File))
        result << AfterStamp(line);
    return result;
}

void TestTLogFile::firstWrite_createsTheConfigurationAndWritesTheDefaultLog()
{
    TLogFile log;
    QVERIFY(log.Write(ltError, QStringLiteral("falta imagen")));
    QVERIFY(QFileInfo::exists(FHome->LogIni()));
    const QString file = FHome->Logs() + "logging_tst_TLogFile.log";
    const QStringList e = Entries(file);
    QCOMPARE(e.size(), 6);
    QCOMPARE(e.last(), log.ThreadID() + " | #FALLA | falta imagen");
    // The default section names no file.
    QVERIFY(ReadLines(FHome->LogIni()).contains(QStringLiteral("Archivo_Texto_Nombre= ")));
    QCOMPARE(log.DefaultConfiguration().split("\r\n").at(5), QStringLiteral("Archivo_Texto_Nombre= "));
}

void TestTLogFile::level_selectsTheKindsThatAreWritten_data()
{
    QTest::addColumn<int>("level");
    QTest::addColumn<QList<int>>("written");
    QTest::newRow("7") << 7 << QList<int>{ltForced, ltError, ltFail, ltStart, ltDown, ltAudit};
    QTest::newRow("12") << 12 << QList<int>{ltForced, ltAudit, ltMsg};
    QTest::newRow("0") << 0 << QList<int>{ltForced};
    QTest::newRow("2048") << 2048 << QList<int>{ltForced, ltEventViewer};
    QTest::newRow("1664") << (128 + 512 + 1024) << QList<int>{ltForced, ltTermLogIn, ltUserLogin, ltCoLogin,
                                                           ltCoLogOff, ltUserLogOff, ltTermLogOff};
}

void TestTLogFile::level_selectsTheKindsThatAreWritten()
{
    QFETCH(int, level);
    QFETCH(QList<int>, written);
    WriteIni(QStringLiteral("[GLOBAL]\r\nArchivo_Texto_Nivel=%1\r\n").arg(level));
    TLogFile log;
    log.SetPath(FHome->Root() + "/lvl");
    const QString file = FHome->Root() + "/lvl/logging_tst_TLogFile.log";
    for (int t = 0; t <= int(ltEventViewer); ++t) {
        const qint32 before = QFileInfo(file).exists() ? QFileInfo(file).size() : -1;
        const bool result = log.Write(TLogType(t), QStringLiteral("tipo %1").arg(t));
        QCOMPARE(result, written.contains(t));
        if (!result)
            QCOMPARE(QFileInfo(file).exists() ? QFileInfo(file).size() : -1, before);
    }
    QCOMPARE(Entries(file).size(), written.size() + 5);
}

void TestTLogFile::configuration_isReadOncePerObject()
{
    WriteIni(QStringLiteral("[GLOBAL]\r\nArchivo_Texto_Nivel=8\r\n"));
    TLogFile first;
    QVERIFY(first.Write(ltMsg, QStringLiteral("m")));
    WriteIni(QStringLiteral("[GLOBAL]\r\nArchivo_Texto_Nivel=4\r\n"));
    QVERIFY(first.Write(ltMsg, QStringLiteral("m")));
    QVERIFY(!first.Write(ltAudit, QStringLiteral("a")));
    TLogFile second;
    QVERIFY(!second.Write(ltMsg, QStringLiteral("m")));
    QVERIFY(second.Write(ltAudit, QStringLiteral("a")));
}

void TestTLogFile::processSections_applyToTheLogsOwnName()
{
    WriteIni(QStringLiteral("[GLOBAL]\r\nArchivo_Texto_Tamaño_Maximo=5\r\n"
                            "[logging_tst_TLogFile]\r\nArchivo_Texto_Nivel=8\r\n"
                            "[logging_tst_TLogFile_77]\r\nArchivo_Texto_Nivel=1\r\nGuarda_Historial=-1\r\n"));
    TLogFile log;
    log.SetIDProceso(QStringLiteral("77"));
    QVERIFY(log.Write(ltMsg, QStringLiteral("proceso")));
    QCOMPARE(log.TextWriter()->PropText()->Level(), 8);
    QCOMPARE(log.TextWriter()->PropText()->MaxSize(), 5);
    QVERIFY(log.TextWriter()->PropText()->SaveHistory());
    QCOMPARE(log.TextWriter()->PropText()->ThreadID(), log.ThreadID());
}

void TestTLogFile::writeVariants_formatTheirMessages()
{
    TLogFile log;
    log.SetPath(FHome->Root() + "/v/");
    const ELectura error(QStringLiteral("x"));
    QVERIFY(log.Write(ltFail, QStringLiteral("Error al leer"), error));
    QVERIFY(log.Write(ltFail, QStringLiteral("Estándar"), std::runtime_error("disco lleno")));
    QVERIFY(log.Write(ltError, QStringLiteral("Sin excepción"), nullptr));
    QVERIFY(log.WriteResult(ltAudit, QStringLiteral("Grabar"), true));
    QVERIFY(log.WriteResult(ltAudit, QStringLiteral("Grabar"), false));
    QVERIFY(log.WriteFmt(ltAudit, QStringLiteral("%s tiene %d años, %.1f%% [%-4s] [%4d] %x %0:s"),
                         {QStringLiteral("Ana"), 30, 12.34, QStringLiteral("ab"), 7, 255}));
    QVERIFY(log.WriteForced(QStringLiteral("forzado")));
    QVERIFY(log.Write(QStringLiteral("auditoría")));
    const QString id = log.ThreadID() + " | ";
    QCOMPARE(Entries(FHome->Root() + "/v/logging_tst_TLogFile.log").mid(5), QStringList({
        id + "#EXCEP | Error al leer(Excepción: ELectura - x)",
        id + "#EXCEP | Estándar(Excepción: std::runtime_error - disco lleno)",
        id + "#FALLA | Sin excepción",
        id + "T_AUDI | Grabar     --> Result = True",
        id + "T_AUDI | Grabar     --> Result = False",
        id + "T_AUDI | Ana tiene 30 años, 12.3% [ab  ] [   7] FF Ana",
        id + "FORZADO | forzado",
        id + "T_AUDI | auditoría",
    }));
}

void TestTLogFile::writeFmt_rejectsDirectivesThatDoNotMatch()
{
    TLogFile log;
    log.SetPath(FHome->Root() + "/f/");
    QVERIFY_THROWS_EXCEPTION(Exception, log.WriteFmt(ltAudit, QStringLiteral("%d"), {QStringLiteral("x")}));
    QVERIFY_THROWS_EXCEPTION(Exception, log.WriteFmt(ltAudit, QStringLiteral("%s %s"), {QStringLiteral("x")}));
    QVERIFY_THROWS_EXCEPTION(Exception, log.WriteFmt(ltAudit, QStringLiteral("%s"), {3}));
    QVERIFY_THROWS_EXCEPTION(Exception, log.WriteFmt(ltAudit, QStringLiteral("50%"), {}));
    QVERIFY_THROWS_EXCEPTION(Exception, log.WriteFmt(ltAudit, QStringLiteral("%q"), {1}));
    QVERIFY(log.WriteFmt(ltAudit, QStringLiteral("100%%"), {}));
}

void TestTLogFile::writeInOtherFile_leavesTheObjectsFileUnchanged()
{
    TLogFile log;
    log.SetPath(FHome->Root() + "/propio");
    log.SetFileName(QStringLiteral("propio.log"));
    QVERIFY(log.WriteInOtherFile(FHome->Root() + "/temp/otro.log", QStringLiteral("al otro")));
    QCOMPARE(log.Path(), FHome->Root() + "/propio/");
    QCOMPARE(log.FileName(), QStringLiteral("propio.log"));
    const QStringList other = Entries(FHome->Root() + "/temp/otro.log");
    QCOMPARE(other.size(), 6);
    QVERIFY(other.last().endsWith(QStringLiteral("T_AUDI | al otro")));
    QVERIFY(log.Write(QStringLiteral("al propio")));
    QCOMPARE(Entries(FHome->Root() + "/propio/propio.log").size(), 6);

    // A bare name goes into the default folder.
    QVERIFY(log.WriteInOtherFile(QStringLiteral("otro.log"), QStringLiteral("por defecto")));
    QVERIFY(QFileInfo::exists(FHome->Logs() + "otro.log"));
    QCOMPARE(log.Path(), FHome->Root() + "/propio/");

    // The level check applies.
    log.TextWriter()->PropText()->SetLevel(1);
    QVERIFY(!log.WriteInOtherFile(FHome->Root() + "/temp/nivel.log", QStringLiteral("no")));
    QVERIFY(!QFileInfo::exists(FHome->Root() + "/temp/nivel.log"));
}

void TestTLogFile::setters_cleanFolderAndName()
{
    TLogFile log;
    log.SetPath(FHome->Root() + "/sin_barra");
    QCOMPARE(log.Path(), FHome->Root() + "/sin_barra/");
    log.SetPath(QStringLiteral("   "));
    QCOMPARE(log.Path(), FHome->Logs());
    log.SetFileName(QStringLiteral("/una/carpeta/nombre.log"));
    QCOMPARE(log.FileName(), QStringLiteral("nombre.log"));
    log.SetFileName(QString());
    QCOMPARE(log.FileName(), QStringLiteral("logging_tst_TLogFile.log"));
    log.SetCurrentUserName(QStringLiteral("ana"));
    QCOMPARE(log.CurrentUserName(), QStringLiteral("ana"));
    QCOMPARE(log.TextWriter()->CurrentUserName(), QStringLiteral("ana"));
}

void TestTLogFile::unreadableConfiguration_keepsDefaultsAndStillWrites()
{
    QVERIFY(QDir().mkpath(FHome->LogIni()));
    TLogFile log;
    bool result = false;
    try {
        result = log.Write(ltError, QStringLiteral("sin configuración"));
    } catch (...) {
        QFAIL("a write raised");
    }
    QVERIFY(result);
    QCOMPARE(log.TextWriter()->PropText()->Level(), 7);
    QCOMPARE(Entries(FHome->Logs() + "logging_tst_TLogFile.log").last(),
             log.ThreadID() + " | #FALLA | sin configuración");
}

void TestTLogFile::homeOutsideTheCodePage_logsIntoTheRealFolder()
{
    // A home folder whose name Windows-1252, the code page of Log.Ini and of
    // the logs, cannot hold: stored in it, "ő" would read back as "o" and
    // "中" as "?", naming another folder.
    const QString home = FHome->Root() + QString::fromUtf8("/Nő 中文");
    qputenv("XDG_DATA_HOME", QFile::encodeName(home));
    TVmPaths::ClearCommonAppDataCache();
    TManagedLogFile::ClearThreadData();
    const QString logs = home + QStringLiteral("/Vemra/Logs/");
    const QString ini = home + QStringLiteral("/Vemra/Log.Ini");
    const QString file = logs + QStringLiteral("logging_tst_TLogFile.log");
    const QString altered = FromAnsi(ToAnsi(logs));
    QCOMPARE(altered, FHome->Root() + QStringLiteral("/No \?\?/Vemra/Logs/"));
    auto logFiles = [this] {
        QStringList found;
        QDirIterator it(FHome->Root(), {QStringLiteral("*.log")}, QDir::Files | QDir::Hidden,
                        QDirIterator::Subdirectories);
        while (it.hasNext())
            found << it.next();
        return found;
    };

    // A new Log.Ini names no folder, so each reader takes its own default.
    {
        TLogFile log;
        QVERIFY(log.Write(ltError, QStringLiteral("uno")));
        QCOMPARE(log.Path(), logs);
    }
    QVERIFY(ReadLines(ini).contains(QStringLiteral("Archivo_Texto_Directorio= ")));
    QVERIFY(TManagedLogFile::Write(ltError, QStringLiteral("dos")));
    QCOMPARE(logFiles(), QStringList{file});
    QCOMPARE(Entries(file).size(), 7);
    QVERIFY(!QFileInfo::exists(FHome->Root() + QStringLiteral("/No \?\?")));

    // A Log.Ini that an earlier version wrote holds the default folder
    // altered; that name still stands for the real folder.
    QVERIFY(WriteBytes(ini, ToAnsi(QStringLiteral("[GLOBAL]\r\nArchivo_Texto_Directorio=%1\r\n")
                                       .arg(altered))));
    TManagedLogFile::ClearThreadData();
    {
        TLogFile log;
        QVERIFY(log.Write(ltError, QStringLiteral("tres")));
        QCOMPARE(log.Path(), logs);
    }
    QVERIFY(TManagedLogFile::Write(ltError, QStringLiteral("cuatro")));
    QCOMPARE(logFiles(), QStringList{file});
    QCOMPARE(Entries(file).size(), 9);

    // Any other folder written there is taken as it is.
    const QString chosen = FHome->Root() + QStringLiteral("/elegida/");
    QVERIFY(WriteBytes(ini, ToAnsi(QStringLiteral("[GLOBAL]\r\nArchivo_Texto_Directorio=%1\r\n")
                                       .arg(chosen))));
    TLogFile log;
    QVERIFY(log.Write(ltError, QStringLiteral("cinco")));
    QCOMPARE(log.Path(), chosen);
    QVERIFY(QFileInfo::exists(chosen + QStringLiteral("logging_tst_TLogFile.log")));
    TManagedLogFile::ClearThreadData();
}

void TestTLogFile::parametrized_neverReadsTheConfiguration()
{
    RParamLogFile param;
    param.Path = FHome->Root() + "/param";
    param.FileName = QStringLiteral("p.log");
    param.IDProceso = QStringLiteral("9");
    param.CurrentUserName = QStringLiteral("ana");
    param.TextWriter = QStringLiteral("Archivo_Texto_Nivel=8\r\nArchivo_Texto_Mostrar_Usuario=-1");
    param.ThreadID = QStringLiteral("123456");
    TParametrizedLogFile log(param);
    QVERIFY(log.Write(ltMsg, QStringLiteral("m")));
    QVERIFY(!log.Write(ltAudit, QStringLiteral("a")));
    QVERIFY(!QFileInfo::exists(FHome->LogIni()));
    QCOMPARE(log.IDProceso(), QStringLiteral("9"));
    QCOMPARE(Entries(FHome->Root() + "/param/p.log").last(), QStringLiteral("ana | 123456 | T_MNSJ | m"));

    // Folder and name in the settings text win over the record's.
    param.TextWriter = "Archivo_Texto_Directorio=" + FHome->Root() + "/texto\r\nArchivo_Texto_Nombre=t.log";
    TParametrizedLogFile other(param);
    QVERIFY(other.Write(ltError, QStringLiteral("e")));
    QVERIFY(QFileInfo::exists(FHome->Root() + "/texto/t.log"));
}

void TestTLogFile::newThreadStamp_isTheElapsedFractionOfTheDay()
{
    const qint64 before = QTime::currentTime().msecsSinceStartOfDay();
    const qint64 stamp = NewThreadStamp().toLongLong();
    const qint64 after = QTime::currentTime().msecsSinceStartOfDay();
    if (after < before)
        QSKIP("midnight passed");
    QVERIFY(stamp >= before * 1000000 / 86400000);
    QVERIFY(stamp <= after * 1000000 / 86400000);
    QVERIFY(stamp >= 0 && stamp <= 999999);
}

QTEST_GUILESS_MAIN(TestTLogFile)
#include "tst_TLogFile.moc"

#include "AnsiCodePage.h"
#include "FileLock.h"
#include "LogTestSupport.h"
#include "uVmWriteToLog.h"

#include <QCoreApplication>
#include <QtTest>

#include <memory>
#ifndef Q_OS_WIN
#include <sys/stat.h>
#endif
#include <thread>
#include <vector>

class TestTTextWriter : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void defaults_pointAtTheProgramsLogInTheMakersFolder();
    void newFile_beginsWithTheFiveHeaderLines();
    void blankMessage_createsTheFileButAddsNoLine();
    void lineLayout_prefixesTagsAndEmptyEventViewerTag();
    void rotation_keepsExactly1024BytesAndSetsAside1025();
    void rotation_ofLogsOfSeveralGigabytes();
    void rotation_secondBakReplacesTheFirst();
    void newFiles_areTheOwnersOnlyAndExistingOnesKeepTheirMode();
    void rotation_withHistoryKeepsTimeStampedFiles();
    void rotation_byConcurrentWritersLosesNothing();
    void indentation_followsStartAndEndEntries();
    void ansi_unmappedCharactersBecomeQuestionMarks();
    void failures_returnFalseAfterTheRetries();
    void busyFile_isRetriedUntilFree();
    void concurrentWriters_neverInterleave();
    void getProps_writesEveryKeyInOrder();
    void setProps_readsValuesAndFallsBackToDefaults();
    void setProps_folderWithoutDelimiterAndQuotedTabs();
    void initialize_appliesPresentKeysOrAllWhenGlobal();

private:
    std::unique_ptr<TTextWriter> NewWriter(const QString &Name = QStringLiteral("t.log"));
    QString LogFile(const QString &Name = QStringLiteral("t.log")) const { return FDir + Name; }
    QStringList Entries(const QString &Name = QStringLiteral("t.log")) const;

    TTempHome *FHome = nullptr;
    QString FDir;
};

void TestTTextWriter::init()
{
    FHome = new TTempHome;
    FDir = FHome->Root() + QStringLiteral("/logs/");
}

void TestTTextWriter::cleanup()
{
    delete FHome;
    FHome = nullptr;
}

std::unique_ptr<TTextWriter> TestTTextWriter::NewWriter(const QString &Name)
{
    auto w = std::make_unique<TTextWriter>();
    w->PropText()->SetPath(FDir);
    w->PropText()->SetFileName(Name);
    w->PropText()->SetThreadID(QStringLiteral("427569"));
    return w;
}

// Every line after its time stamp; a line without a stamp fails the test.
QStringList TestTTextWriter::Entries(const QString &Name) const
{
    QStringList result;
    for (const QString &line : ReadLines(LogFile(Name))) {
        const QString rest = AfterStamp(line);
        if (rest.isNull())
            return QStringList{QStringLiteral("<sin fecha> ") + line};
        result << rest;
    }
    return result;
}

void TestTTextWriter::defaults_pointAtTheProgramsLogInTheMakersFolder()
{
    TTextWriter w;
    QCOMPARE(w.PropText()->Path(), FHome->Logs());
    QVERIFY(QFileInfo(FHome->Logs()).isDir());
    QCOMPARE(w.PropText()->FileName(), QStringLiteral("logging_tst_TTextWriter.log"));
    QCOMPARE(w.PropText()->Level(), 7);
    QCOMPARE(w.PropText()->MaxSize(), 1024);
    QCOMPARE(w.PropText()->Tabs(), QStringLiteral(" "));
    QVERIFY(!w.PropText()->SaveHistory());
    QVERIFY(!w.PropText()->OSCurrentUser());
    QVERIFY(!w.PropText()->ShowProcessName());
    QVERIFY(w.Write(QStringLiteral("hola")));
    QCOMPARE(ReadLines(FHome->Logs() + "logging_tst_TTextWriter.log").size(), 6);
    // Blank settings select the defaults again.
    w.PropText()->SetPath(QStringLiteral("  "));
    w.PropText()->SetFileName(QString());
    QCOMPARE(w.PropText()->Path(), FHome->Logs());
    QCOMPARE(w.PropText()->FileName(), QStringLiteral("logging_tst_TTextWriter.log"));
}

void TestTTextWriter::newFile_beginsWithTheFiveHeaderLines()
{
    auto w = NewWriter();
    QVERIFY(w->Write(ltError, QStringLiteral("mensaje")));
    const QString stars(50, QLatin1Char('*'));
    const QString version = QStringLiteral(ZEDEDE_PROJECT_VERSION) + QStringLiteral(".0");
    QCOMPARE(Entries(), QStringList({
        "427569 | T_AUDI | " + stars,
        "427569 | T_AUDI | File:           " + QFileInfo(QCoreApplication::applicationFilePath()).canonicalFilePath(),
        "427569 | T_AUDI | File Version:   " + version,
        "427569 | T_AUDI | OS Version:     Unknown",
        "427569 | T_AUDI | " + stars,
        "427569 | #FALLA | mensaje",
    }));
    const QByteArray bytes = ReadBytes(LogFile());
    QVERIFY(bytes.endsWith("| #FALLA | mensaje\r\n"));
    QCOMPARE(bytes.count("\r\n"), 6);
    QCOMPARE(bytes.count('\n'), 6);
    // The header comes with a new file only.
    QVERIFY(w->Write(ltError, QStringLiteral("otro")));
    QCOMPARE(Entries().size(), 7);
}

void TestTTextWriter::blankMessage_createsTheFileButAddsNoLine()
{
    auto w = NewWriter();
    QVERIFY(!w->Write(ltAudit, QStringLiteral(" \t ")));
    QCOMPARE(Entries().size(), 5);
    QVERIFY(!w->Write(ltAudit, QString()));
    QCOMPARE(Entries().size(), 5);
}

void TestTTextWriter::lineLayout_prefixesTagsAndEmptyEventViewerTag()
{
    auto w = NewWriter();
    QVERIFY(w->Write(ltEventViewer, QStringLiteral("visor")));
    w->PropText()->SetShowProcessName(true);
    w->PropText()->SetOSCurrentUser(true);
    QVERIFY(w->Write(ltMsg, QStringLiteral("sin usuario")));
    w->SetCurrentUserName(QStringLiteral("DOM\\ana"));
    QVERIFY(w->Write(ltTCPIP, QStringLiteral("con usuario")));
    w->PropText()->SetShowProcessName(false);
    QVERIFY(w->Write(ltCoLogOff, QStringLiteral("solo usuario")));
    const QStringList e = Entries().mid(5);
    QCOMPARE(e, QStringList({
        "427569 |  | visor",
        "logging_tst_TTextWriter | 427569 | T_MNSJ | sin usuario",
        "logging_tst_TTextWriter | DOM\\ana | 427569 | TCP/IP | con usuario",
        "DOM\\ana | 427569 | S_EMPR | solo usuario",
    }));
    const QStringList tags = {"FORZADO", "#FALLA", "#EXCEP", "INICIO", "SALIDA", "T_AUDI",
                              "T_MNSJ", "TCP/IP", "T_TECH", "T_TIME", "E_TERM", "E_APLC",
                              "E_USUA", "E_EMPR", "S_EMPR", "S_USUA", "S_APLC", "S_TERM", ""};
    for (int i = 0; i <= int(ltEventViewer); ++i)
        QCOMPARE(LogTypeTag(TLogType(i)), tags.at(i));
}

void TestTTextWriter::rotation_keepsExactly1024BytesAndSetsAside1025()
{
    auto w = NewWriter();
    w->PropText()->SetMaxSize(1);
    QVERIFY(QDir().mkpath(FDir));
    QVERIFY(WriteBytes(LogFile(), QByteArray(1024, 'a')));
    QVERIFY(w->Write(QStringLiteral("uno")));
    QVERIFY(!QFileInfo::exists(FDir + "t.bak"));
    QVERIFY(ReadBytes(LogFile()).startsWith(QByteArray(1024, 'a') + "20"));

    QVERIFY(WriteBytes(LogFile(), QByteArray(1025, 'b')));
    QVERIFY(w->Write(QStringLiteral("dos")));
    QCOMPARE(ReadBytes(FDir + "t.bak"), QByteArray(1025, 'b'));
    const QStringList e = Entries();
    QCOMPARE(e.size(), 6);
    QCOMPARE(e.last(), QStringLiteral("427569 | T_AUDI | dos"));

    // Size limits of 0 or less turn rotation off.
    w->PropText()->SetMaxSize(0);
    QVERIFY(WriteBytes(LogFile(), QByteArray(5000, 'c')));
    QVERIFY(w->Write(QStringLiteral("tres")));
    QCOMPARE(ReadBytes(FDir + "t.bak"), QByteArray(1025, 'b'));
}

void TestTTextWriter::rotation_ofLogsOfSeveralGigabytes()
{
    // Sparse files stand in for large logs; they take no room on the disk.
    auto makeLog = [this](qint64 Size) {
        QFile big(LogFile());
        return QDir().mkpath(FDir) && big.open(QIODevice::WriteOnly | QIODevice::Truncate)
               && big.resize(Size);
    };
    const qint64 threeGiB = qint64(3) << 30;

    // Under a limit of 4 GiB a log of 3 GiB is kept: the lines are added to
    // it, with no header in front of each.
    auto w = NewWriter();
    w->PropText()->SetMaxSize(4 * 1024 * 1024);
    if (!makeLog(threeGiB))
        QSKIP("the file system does not take a sparse file of several gigabytes");
    QVERIFY(w->Write(QStringLiteral("uno")));
    QVERIFY(w->Write(QStringLiteral("dos")));
    QVERIFY(!QFileInfo::exists(FDir + "t.bak"));
    QFile log(LogFile());
    QVERIFY(log.open(QIODevice::ReadOnly));
    QVERIFY(log.seek(threeGiB));
    const QStringList added = FromAnsi(log.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    log.close();
    QCOMPARE(added.size(), 2);
    QVERIFY(added[0].endsWith(QStringLiteral("427569 | T_AUDI | uno")));
    QVERIFY(added[1].endsWith(QStringLiteral("427569 | T_AUDI | dos")));

    // Over the usual limit, logs of 3 GiB and of just over 4 GiB are set
    // aside before the next line, which begins a new file with its header.
    for (const qint64 size : {threeGiB, (qint64(4) << 30) + 16}) {
        w = NewWriter();
        QVERIFY(makeLog(size));
        QVERIFY(w->Write(QStringLiteral("grande")));
        QCOMPARE(QFileInfo(FDir + "t.bak").size(), size);
        const QStringList e = Entries();
        QCOMPARE(e.size(), 6);
        QCOMPARE(e.last(), QStringLiteral("427569 | T_AUDI | grande"));
        QVERIFY(QFile::remove(FDir + "t.bak"));
    }
}

void TestTTextWriter::newFiles_areTheOwnersOnlyAndExistingOnesKeepTheirMode()
{
#ifdef Q_OS_WIN
    QSKIP("Windows files take their folder's permissions");
#else
    const auto mode = [](const QString &Path) {
        struct stat st {};
        return ::stat(QFile::encodeName(Path).constData(), &st) == 0 ? (st.st_mode & 07777) : 0;
    };
    const mode_t old = ::umask(022);
    auto w = NewWriter();
    w->PropText()->SetMaxSize(1);
    QVERIFY(w->Write(QStringLiteral("uno")));
    QCOMPARE(mode(LogFile()), mode_t(0600));
    // Set aside when too large: the copy and the new file alike.
    QFile f(LogFile());
    QVERIFY(f.open(QIODevice::Append));
    f.write(QByteArray(2048, 'x'));
    f.close();
    QVERIFY(w->Write(QStringLiteral("dos")));
    QVERIFY(QFileInfo::exists(FDir + "t.bak"));
    QCOMPARE(mode(FDir + "t.bak"), mode_t(0600));
    QCOMPARE(mode(LogFile()), mode_t(0600));
    // A log someone made readable stays so.
    QVERIFY(::chmod(QFile::encodeName(LogFile()).constData(), 0644) == 0);
    QVERIFY(w->Write(QStringLiteral("tres")));
    QCOMPARE(mode(LogFile()), mode_t(0644));
    ::umask(old);
#endif
}

void TestTTextWriter::rotation_secondBakReplacesTheFirst()
{
    auto w = NewWriter(QStringLiteral("ZeDede.log"));
    w->PropText()->SetMaxSize(1);
    QVERIFY(QDir().mkpath(FDir));
    QVERIFY(WriteBytes(FDir + "ZeDede.log", QByteArray(2000, '1')));
    QVERIFY(w->Write(QStringLiteral("a")));
    QCOMPARE(ReadBytes(FDir + "ZeDede.bak"), QByteArray(2000, '1'));
    QVERIFY(WriteBytes(FDir + "ZeDede.log", QByteArray(3000, '2')));
    QVERIFY(w->Write(QStringLiteral("b")));
    QCOMPARE(ReadBytes(FDir + "ZeDede.bak"), QByteArray(3000, '2'));
    QCOMPARE(QDir(FDir).entryList(QDir::Files).size(), 2);
}

void TestTTextWriter::rotation_withHistoryKeepsTimeStampedFiles()
{
    auto w = NewWriter(QStringLiteral("ZeDede.log"));
    w->PropText()->SetMaxSize(1);
    w->PropText()->SetSaveHistory(true);
    QVERIFY(QDir().mkpath(FDir));
    QVERIFY(WriteBytes(FDir + "ZeDede.log", QByteArray(2000, '1')));
    QVERIFY(w->Write(QStringLiteral("a")));
    QTest::qWait(5);
    QVERIFY(WriteBytes(FDir + "ZeDede.log", QByteArray(2000, '2')));
    QVERIFY(w->Write(QStringLiteral("b")));
    const QStringList history = QDir(FDir).entryList({"ZeDede.log_*"}, QDir::Files, QDir::Name);
    QCOMPARE(history.size(), 2);
    const QRegularExpression name(QStringLiteral("^ZeDede\\.log_\\d{17}$"));
    for (const QString &h : history)
        QVERIFY2(name.match(h).hasMatch(), qPrintable(h));
    QCOMPARE(ReadBytes(FDir + history.first()), QByteArray(2000, '1'));
    QCOMPARE(ReadBytes(FDir + history.last()), QByteArray(2000, '2'));
    QVERIFY(!QFileInfo::exists(FDir + "ZeDede.bak"));
}

void TestTTextWriter::rotation_byConcurrentWritersLosesNothing()
{
    // The file is just below the limit; the writers together cross it once.
    // Repeated, so that writers often find the file oversized together.
    QVERIFY(QDir().mkpath(FDir));
    const QByteArray prefill = QByteArray(32 * 1024 - 2, 'p') + "\r\n";
    constexpr int rounds = 20, threads = 12, lines = 12;
    for (int round = 0; round < rounds; ++round) {
        QFile::remove(FDir + "t.bak");
        QVERIFY(WriteBytes(LogFile(), prefill));
        std::vector<std::thread> workers;
        for (int t = 0; t < threads; ++t) {
            workers.emplace_back([&, t] {
                auto w = NewWriter();
                w->PropText()->SetMaxSize(32);
                for (int i = 0; i < lines; ++i)
                    w->Write(QStringLiteral("%1-%2 %3").arg(t).arg(i).arg(QString(60, QLatin1Char('r'))));
            });
        }
        for (auto &w : workers)
            w.join();
        QCOMPARE(ReadBytes(FDir + "t.bak").left(prefill.size()), prefill);
        const QStringList all = ReadLines(FDir + "t.bak").mid(1) + ReadLines(LogFile());
        int entries = 0;
        for (const QString &line : all)
            if (line.endsWith(QString(60, QLatin1Char('r'))))
                ++entries;
        QCOMPARE(entries, threads * lines);
    }
}

void TestTTextWriter::indentation_followsStartAndEndEntries()
{
    auto w = NewWriter();
    w->PropText()->SetTabs(QStringLiteral("--"));
    QVERIFY(w->Write(ltStart, QStringLiteral("s1")));
    QVERIFY(w->Write(ltStart, QStringLiteral("s2")));
    QVERIFY(w->Write(ltMsg, QStringLiteral("m")));
    QVERIFY(w->Write(ltDown, QStringLiteral("d2")));
    QVERIFY(w->Write(ltDown, QStringLiteral("d1")));
    QVERIFY(w->Write(ltStart, QStringLiteral("a")));
    QVERIFY(w->Write(ltStart, QStringLiteral("b")));
    QVERIFY(w->Write(ltStart, QStringLiteral("c")));
    QCOMPARE(Entries().mid(5), QStringList({
        "427569 | INICIO | s1",
        "427569 | INICIO | --s2",
        "427569 | T_MNSJ | --m",
        "427569 | SALIDA | --d2",
        "427569 | SALIDA | d1",
        "427569 | INICIO | a",
        "427569 | INICIO | --b",
        "427569 | INICIO | ----c",
    }));
    // The header lines were not indented although the file was new.
}

void TestTTextWriter::ansi_unmappedCharactersBecomeQuestionMarks()
{
    auto w = NewWriter();
    QVERIFY(w->Write(ltAudit, QStringLiteral("Compañía € ő 漢字 ok")));
    const QByteArray bytes = ReadBytes(LogFile());
    QVERIFY(bytes.endsWith(QByteArray("| T_AUDI | Compa\xF1\xED" "a \x80 o ?? ok\r\n")));
}

void TestTTextWriter::failures_returnFalseAfterTheRetries()
{
    // A folder that cannot exist: its parent is a regular file.
    QVERIFY(WriteBytes(FHome->Root() + "/file", "x"));
    auto w = NewWriter();
    w->PropText()->SetPath(FHome->Root() + "/file/sub/");
    QVERIFY(!w->Write(ltError, QStringLiteral("no")));
    // A file name that is a folder.
    QVERIFY(QDir().mkpath(FDir + "carpeta"));
    w->PropText()->SetPath(FDir);
    w->PropText()->SetFileName(QStringLiteral("carpeta"));
    QVERIFY(!w->Write(ltError, QStringLiteral("no")));
    // A missing folder is created.
    w->PropText()->SetPath(FDir + "nueva/sub/");
    w->PropText()->SetFileName(QStringLiteral("x.log"));
    QVERIFY(w->Write(ltError, QStringLiteral("si")));
    QVERIFY(QFileInfo::exists(FDir + "nueva/sub/x.log"));
}

void TestTTextWriter::busyFile_isRetriedUntilFree()
{
    auto w = NewWriter();
    QVERIFY(w->Write(QStringLiteral("antes")));
    auto lock = std::make_unique<TExclusiveFileLock>(LogFile());
    QVERIFY(lock->Locked());
    QVERIFY(!w->Write(QStringLiteral("bloqueado")));
    // Released while the writer is still retrying: the line arrives.
    std::thread releaser([&] {
        QThread::msleep(50);
        lock.reset();
    });
    QVERIFY(w->Write(QStringLiteral("liberado")));
    releaser.join();
    const QStringList e = Entries();
    QCOMPARE(e.mid(5), QStringList({"427569 | T_AUDI | antes", "427569 | T_AUDI | liberado"}));
}

void TestTTextWriter::concurrentWriters_neverInterleave()
{
    constexpr int threads = 4, lines = 300;
    std::vector<std::thread> workers;
    std::atomic<int> failures{0};
    for (int t = 0; t < threads; ++t) {
        workers.emplace_back([&, t] {
            auto w = NewWriter();
            w->PropText()->SetThreadID(QString::number(t));
            for (int i = 0; i < lines; ++i)
                if (!w->Write(QStringLiteral("%1-%2 %3").arg(t).arg(i).arg(QString(200, QLatin1Char('z')))))
                    ++failures;
        });
    }
    for (auto &w : workers)
        w.join();
    QCOMPARE(failures.load(), 0);
    QSet<QString> seen;
    const QRegularExpression entry(QStringLiteral("^(\\d) \\| T_AUDI \\| (\\d-\\d+) z{200}$"));
    for (const QString &e : Entries()) {
        if (e.contains(QStringLiteral("T_AUDI | File")) || e.contains(QStringLiteral("****"))
            || e.contains(QStringLiteral("Version:")))
            continue;
        const QRegularExpressionMatch m = entry.match(e);
        QVERIFY2(m.hasMatch(), qPrintable(e));
        QVERIFY(m.captured(2).startsWith(m.captured(1) + "-"));
        seen.insert(m.captured(2));
    }
    QCOMPARE(seen.size(), threads * lines);
}

void TestTTextWriter::getProps_writesEveryKeyInOrder()
{
    TPropertyTextWriter p;
    p.SetLevel(12);
    p.SetOSCurrentUser(true);
    p.SetMaxSize(-5);
    p.SetSaveHistory(true);
    p.SetPath(QStringLiteral("/var/log/x/"));
    p.SetFileName(QStringLiteral("a.log"));
    p.SetTabs(QStringLiteral("  "));
    p.SetThreadID(QStringLiteral("99"));
    QCOMPARE(p.GetProps(), QStringLiteral(
        "Archivo_Texto_Nivel=12\r\nArchivo_Texto_Mostrar_Usuario=-1\r\n"
        "Archivo_Texto_Tamaño_Maximo=-5\r\nGuarda_Historial=-1\r\n"
        "Archivo_Texto_Directorio=/var/log/x/\r\nArchivo_Texto_Nombre=a.log\r\n"
        "Archivo_Texto_Identacion=\"  \""));
    // The text reads back to the same settings.
    TPropertyTextWriter q;
    q.SetProps(p.GetProps());
    QCOMPARE(q.GetProps(), p.GetProps());
    QCOMPARE(q.ThreadID(), QString());
}

void TestTTextWriter::setProps_readsValuesAndFallsBackToDefaults()
{
    struct Case { const char *text; int level; int max; bool user; bool history; };
    const Case cases[] = {
        {"Archivo_Texto_Nivel=$10\nArchivo_Texto_Tamaño_Maximo=0x1F\nArchivo_Texto_Mostrar_Usuario=True\nGuarda_Historial=-1", 16, 31, true, true},
        {"Archivo_Texto_Nivel=12abc\nArchivo_Texto_Tamaño_Maximo=\nArchivo_Texto_Mostrar_Usuario=si\nGuarda_Historial=FALSE", 7, 1024, false, false},
        {"archivo_texto_nivel=3\nArchivo_Texto_Nivel=5\nGuarda_Historial=2\nArchivo_Texto_Mostrar_Usuario=0", 3, 1024, false, true},
        {"Archivo_Texto_Nivel=99999999999\nArchivo_Texto_Tamaño_Maximo=-3\nGuarda_Historial=0.0", 7, -3, false, false},
        {"", 7, 1024, false, false},
    };
    for (const Case &c : cases) {
        TPropertyTextWriter p;
        p.SetLevel(1);
        p.SetMaxSize(1);
        p.SetOSCurrentUser(true);
        p.SetSaveHistory(true);
        p.SetProps(QString::fromUtf8(c.text));
        QCOMPARE(p.Level(), c.level);
        QCOMPARE(p.MaxSize(), c.max);
        QCOMPARE(p.OSCurrentUser(), c.user);
        QCOMPARE(p.SaveHistory(), c.history);
    }
    TPropertyTextWriter p;
    p.SetProps(QStringLiteral("ThreadID=123\r\nThreadID=456"));
    QCOMPARE(p.ThreadID(), QStringLiteral("123"));
    // An absent indentation key leaves no indentation.
    QCOMPARE(p.Tabs(), QString());
}

void TestTTextWriter::setProps_folderWithoutDelimiterAndQuotedTabs()
{
    auto w = NewWriter();
    const QString folder = FHome->Root() + "/Logs";
    w->PropText()->SetProps("Archivo_Texto_Directorio=" + folder
                            + "\r\nArchivo_Texto_Nombre=ZeDede.log\r\nArchivo_Texto_Identacion=\"  \"");
    QCOMPARE(w->PropText()->Path(), folder + "/");
    QCOMPARE(w->PropText()->Tabs(), QStringLiteral("  "));
    QVERIFY(w->Write(QStringLiteral("x")));
    QVERIFY(QFileInfo::exists(folder + "/ZeDede.log"));
    QVERIFY(w->PropText()->GetProps().endsWith(QStringLiteral("Archivo_Texto_Identacion=\"  \"")));
    // Empty folder and name leave them as they are.
    w->PropText()->SetProps(QStringLiteral("Archivo_Texto_Directorio=\r\nArchivo_Texto_Nombre="));
    QCOMPARE(w->PropText()->Path(), folder + "/");
    QCOMPARE(w->PropText()->FileName(), QStringLiteral("ZeDede.log"));
}

void TestTTextWriter::initialize_appliesPresentKeysOrAllWhenGlobal()
{
    auto w = NewWriter();
    TPropertyTextWriter *p = w->PropText();
    p->SetLevel(1);
    p->SetMaxSize(5);
    p->SetTabs(QStringLiteral("x"));
    w->Initialize(QString(), true);
    QCOMPARE(p->Level(), 1);

    // Not global: only the keys present change.
    w->Initialize(QStringLiteral("Archivo_Texto_Nivel=3\r\nArchivo_Texto_Mostrar_Usuario=-1"), false);
    QCOMPARE(p->Level(), 3);
    QCOMPARE(p->MaxSize(), 5);
    QCOMPARE(p->Tabs(), QStringLiteral("x"));
    QVERIFY(!p->OSCurrentUser());
    w->Initialize(QStringLiteral("Archivo_Texto_Mostrar_Usuario=1\r\nArchivo_Texto_Nombre=comun.log"), false);
    QVERIFY(p->OSCurrentUser());
    QCOMPARE(p->FileName(), QStringLiteral("comun.log"));
    QVERIFY(!p->ShowProcessName());

    // Global: absent keys take their defaults; a shared file name names
    // the program in every line.
    w->Initialize(QStringLiteral("Archivo_Texto_Nombre=todos.log\r\nArchivo_Texto_Identacion=\"..\""), true);
    QCOMPARE(p->Level(), 7);
    QCOMPARE(p->MaxSize(), 1024);
    QVERIFY(!p->OSCurrentUser());
    QVERIFY(!p->SaveHistory());
    QCOMPARE(p->FileName(), QStringLiteral("todos.log"));
    QCOMPARE(p->Path(), FDir);
    QCOMPARE(p->Tabs(), QStringLiteral(".."));
    QVERIFY(p->ShowProcessName());
    w->Initialize(QStringLiteral("Archivo_Texto_Nombre= \r\nArchivo_Texto_Directorio=/tmp/zd"), true);
    QVERIFY(!p->ShowProcessName());
    QCOMPARE(p->FileName(), QStringLiteral("todos.log"));
    QCOMPARE(p->Path(), QStringLiteral("/tmp/zd/"));
    QCOMPARE(p->Tabs(), QString());
}

QTEST_GUILESS_MAIN(TestTTextWriter)
#include "tst_TTextWriter.moc"

#include "AnsiCodePage.h"
#include "Exception.h"
#include "LogTestSupport.h"
#include "uLogIni.h"
#include "uVmWriteToLog.h"

#include <QtTest>

class TestTLogIni : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void missingFile_isCreatedWithHelpBlockAndDefaultSection();
    void helpBlock_matchesTheReferenceByteForByte();
    void defaultSection_withoutHandler_holdsOnlyTheFixedLines();
    void sections_areMergedAndTheFirstOccurrenceWins();
    void processIdentifier_withoutProcessName_isIgnored();
    void quotes_remainPartOfTheValue();
    void damagedFile_isRepairedAndTheAdditionsCountAtOnce();
    void malformedOrBinaryFile_isReadWithoutCrashing();
    void unreadableFile_raises();
    void withoutMakersFolder_theNameStandsAlone();

private:
    TTempHome *FHome = nullptr;
    QString FOldCurrent;
};

namespace {

QString Ini(const char *Text) { return QString::fromUtf8(Text); }

bool WriteIni(const QString &FileName, const QString &Text)
{
    return WriteBytes(FileName, ToAnsi(Text));
}

// The effective value of a key: its first occurrence in the merged text.
QString Effective(const QString &Merged, const QString &Key)
{
    for (const QString &line : Merged.split(QStringLiteral("\r\n")))
        if (line.startsWith(Key + QLatin1Char('=')))
            return line.mid(Key.size() + 1);
    return QString();
}

} // namespace

void TestTLogIni::init()
{
    FHome = new TTempHome;
    QDir().mkpath(FHome->Vemra());
    FOldCurrent = QDir::currentPath();
}

void TestTLogIni::cleanup()
{
    QDir::setCurrent(FOldCurrent);
    delete FHome;
    FHome = nullptr;
}

void TestTLogIni::missingFile_isCreatedWithHelpBlockAndDefaultSection()
{
    TLogFile defaults;
    TLogIni ini(QStringLiteral("ZeDede"), QString());
    QCOMPARE(ini.ConfigFile(), FHome->LogIni());
    ini.SetOnGetDefaultConfiguration([&] { return defaults.DefaultConfiguration(); });
    const QString result = ini.ReadIni();

    const QString defaultSection = QStringLiteral(
        "[GLOBAL]\r\nDebug_Activo=1\r\nArchivo_Texto_Nivel=7\r\n"
        "Archivo_Texto_Mostrar_Usuario=0\r\nArchivo_Texto_Tamaño_Maximo=1024\r\n"
        "Guarda_Historial=0\r\nArchivo_Texto_Directorio=%1\r\nArchivo_Texto_Nombre= \r\n"
        "Archivo_Texto_Identacion=\" \"\r\n").arg(FHome->Logs());
    const QByteArray help =
        ReadBytes(qEnvironmentVariable("ZEDEDE_SOURCE_DIR") + "/tests/logging/data/LogIniHelp.expected");
    QVERIFY(!help.isEmpty());
    QCOMPARE(ReadBytes(FHome->LogIni()), help + ToAnsi(defaultSection));

    QCOMPARE(result, QStringLiteral(
        "Debug_Activo=1\r\nArchivo_Texto_Nivel=7\r\nArchivo_Texto_Mostrar_Usuario=0\r\n"
        "Archivo_Texto_Tamaño_Maximo=1024\r\nGuarda_Historial=0\r\n"
        "Archivo_Texto_Directorio=%1\r\nArchivo_Texto_Nombre=\r\n"
        "Archivo_Texto_Identacion=\" \"\r\n").arg(FHome->Logs()));
}

void TestTLogIni::helpBlock_matchesTheReferenceByteForByte()
{
    const QStringList help = TLogIni::GetHelpText();
    QCOMPARE(help.first(), QStringLiteral("[LogFileHelp]"));
    for (int i = 1; i < help.size(); ++i)
        QCOMPARE(help.at(i).size(), 77);
    const QByteArray expected =
        ReadBytes(qEnvironmentVariable("ZEDEDE_SOURCE_DIR") + "/tests/logging/data/LogIniHelp.expected");
    QCOMPARE(ToAnsi(help.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")), expected);
}

void TestTLogIni::defaultSection_withoutHandler_holdsOnlyTheFixedLines()
{
    TLogIni ini{QString(), QString()};
    QCOMPARE(ini.GetDefaultSection(), QStringList({"[GLOBAL]", "Debug_Activo=1"}));
    QCOMPARE(ini.ReadIni(), QStringLiteral("Debug_Activo=1\r\n"));
}

void TestTLogIni::sections_areMergedAndTheFirstOccurrenceWins()
{
    const QString help = TLogIni::GetHelpText().join(QStringLiteral("\r\n"));
    QVERIFY(WriteIni(FHome->LogIni(), help + Ini(R"(
[global]
Archivo_Texto_Nivel = 7
Guarda_Historial=0
Guarda_Historial=-1
[Otro]
Archivo_Texto_Nivel=1
[ZEDEDE]
Archivo_Texto_Nivel=15
Archivo_Texto_Tamaño_Maximo=10
[ZeDede_42]
Archivo_Texto_Tamaño_Maximo=20
Archivo_Texto_Nombre=comun.log
[zedede]
Archivo_Texto_Directorio=/ignorado/
)")));
    TLogIni ini(QStringLiteral("ZeDede"), QStringLiteral("42"));
    const QString merged = ini.ReadIni();
    QCOMPARE(Effective(merged, "Archivo_Texto_Nivel"), QStringLiteral("7"));
    QCOMPARE(Effective(merged, "Guarda_Historial"), QStringLiteral("0"));
    QCOMPARE(Effective(merged, "Archivo_Texto_Tamaño_Maximo"), QStringLiteral("10"));
    QCOMPARE(Effective(merged, "Archivo_Texto_Nombre"), QStringLiteral("comun.log"));
    // A second section of the same name is not read.
    QVERIFY(!merged.contains(QStringLiteral("ignorado")));
    QVERIFY(merged.endsWith(QStringLiteral("\r\n")));

    // The writers see the same.
    TPropertyTextWriter props;
    props.SetProps(merged);
    QCOMPARE(props.Level(), 7);
    QCOMPARE(props.MaxSize(), 10);

    // Without the key in [GLOBAL] the process section supplies it.
    QString text = QString::fromLatin1(ReadBytes(FHome->LogIni()));
    text.replace(QStringLiteral("Archivo_Texto_Nivel = 7"), QStringLiteral("; nivel quitado"));
    QVERIFY(WriteBytes(FHome->LogIni(), text.toLatin1()));
    props.SetProps(TLogIni(QStringLiteral("ZeDede"), QString()).ReadIni());
    QCOMPARE(props.Level(), 15);
}

void TestTLogIni::processIdentifier_withoutProcessName_isIgnored()
{
    QVERIFY(WriteIni(FHome->LogIni(), TLogIni::GetHelpText().join(QStringLiteral("\r\n")) + Ini(R"(
[GLOBAL]
a=1
[_7]
b=2
[7]
c=3
)")));
    QCOMPARE(TLogIni(QString(), QStringLiteral("7")).ReadIni(), QStringLiteral("a=1\r\n"));
}

void TestTLogIni::quotes_remainPartOfTheValue()
{
    QVERIFY(WriteIni(FHome->LogIni(), TLogIni::GetHelpText().join(QStringLiteral("\r\n")) + Ini(R"(
[GLOBAL]
Archivo_Texto_Identacion="--"
)")));
    const QString merged = TLogIni(QString(), QString()).ReadIni();
    QCOMPARE(merged, QStringLiteral("Archivo_Texto_Identacion=\"--\"\r\n"));
    TPropertyTextWriter props;
    props.SetProps(merged);
    QCOMPARE(props.Tabs(), QStringLiteral("--"));
}

void TestTLogIni::damagedFile_isRepairedAndTheAdditionsCountAtOnce()
{
    // Only a hand-written section: the help block goes in front.
    QVERIFY(WriteIni(FHome->LogIni(), Ini("[GLOBAL]\nArchivo_Texto_Nivel=3\n")));
    QCOMPARE(TLogIni(QString(), QString()).ReadIni(), QStringLiteral("Archivo_Texto_Nivel=3\r\n"));
    const QStringList help = TLogIni::GetHelpText();
    QStringList lines = ReadLines(FHome->LogIni());
    QCOMPARE(lines.mid(0, help.size()), help);
    QCOMPARE(lines.mid(help.size()), QStringList({"[GLOBAL]", "Archivo_Texto_Nivel=3"}));

    // Only the help block: the default section is appended and read.
    QVERIFY(WriteIni(FHome->LogIni(), help.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")));
    TLogIni ini{QString(), QString()};
    ini.SetOnGetDefaultConfiguration([] { return QStringLiteral("Archivo_Texto_Nivel=9"); });
    QCOMPARE(ini.ReadIni(), QStringLiteral("Debug_Activo=1\r\nArchivo_Texto_Nivel=9\r\n"));
    lines = ReadLines(FHome->LogIni());
    QCOMPARE(lines.mid(help.size()), QStringList({"[GLOBAL]", "Debug_Activo=1", "Archivo_Texto_Nivel=9"}));

    // Repaired once, left alone afterwards.
    const QByteArray before = ReadBytes(FHome->LogIni());
    TLogIni(QString(), QString()).ReadIni();
    QCOMPARE(ReadBytes(FHome->LogIni()), before);
}

void TestTLogIni::malformedOrBinaryFile_isReadWithoutCrashing()
{
    QByteArray binary;
    for (int i = 0; i < 4096; ++i)
        binary.append(char((i * 7919) % 256));
    const QList<QByteArray> samples = {
        binary,
        QByteArray("clave=antes\r\n[GLOBAL\r\nsin igual\r\n=vacio\r\n[]\r\n[GLOBAL]\r\nx=\r\n"),
        QByteArray("[LogFileHelp]\r\n[GLOBAL]\r\nArchivo_Texto_Nivel=ab\xff\x00zz\r\nArchivo_Te"),
        QByteArray("\x00\x00\x00[GLOBAL]\x00=\x00\r\n", 14),
    };
    for (const QByteArray &s : samples) {
        QVERIFY(WriteBytes(FHome->LogIni(), s));
        const QString merged = TLogIni(QStringLiteral("ZeDede"), QStringLiteral("1")).ReadIni();
        QVERIFY(!merged.contains(QStringLiteral("antes")));
        TPropertyTextWriter props;
        props.SetProps(merged);
        // Values that are not numbers leave the defaults.
        QCOMPARE(props.Level(), 7);
        QCOMPARE(props.MaxSize(), 1024);
    }
}

void TestTLogIni::unreadableFile_raises()
{
    // Something that exists under the name but cannot be read as a file.
    QVERIFY(QDir().mkpath(FHome->LogIni()));
    TLogIni ini{QString(), QString()};
    QVERIFY_THROWS_EXCEPTION(Exception, ini.ReadIni());
}

void TestTLogIni::withoutMakersFolder_theNameStandsAlone()
{
    QTemporaryDir work;
    QVERIFY(QDir::setCurrent(work.path()));
    const QString blocker = FHome->Root() + "/blocker";
    QVERIFY(WriteBytes(blocker, "x"));
    qputenv("XDG_DATA_HOME", QFile::encodeName(blocker));
    TVmPaths::ClearCommonAppDataCache();
    TLogIni ini{QString(), QString()};
    QCOMPARE(ini.ConfigFile(), QStringLiteral("Log.Ini"));
    QCOMPARE(ini.ReadIni(), QStringLiteral("Debug_Activo=1\r\n"));
    QVERIFY(QFileInfo::exists(work.filePath("Log.Ini")));

    // A file that cannot be created: nothing read, nothing raised.
    QVERIFY(QFile::remove(work.filePath("Log.Ini")));
    QVERIFY(QFile::link(work.filePath("no/such/folder/Log.Ini"), work.filePath("Log.Ini")));
    QCOMPARE(TLogIni(QString(), QString()).ReadIni(), QString());
}

QTEST_GUILESS_MAIN(TestTLogIni)
#include "tst_TLogIni.moc"

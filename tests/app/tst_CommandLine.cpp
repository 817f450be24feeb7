// The program's command line: what each argument asks for, the help and
// version texts, and the real program answering them without a window.

#include "CommandLine.h"

#include <QProcess>
#include <QTest>

Q_DECLARE_METATYPE(TStartAction)

namespace {
// A table with options that take values, as later options will.
const std::vector<TOptionSpec> &OptionsWithValues()
{
    static const std::vector<TOptionSpec> options = [] {
        std::vector<TOptionSpec> o = ProgramOptions();
        o.push_back({QStringLiteral("archivo"), QChar(), TOptionValue::Optional,
                     QStringLiteral("ARCHIVO"), QStringLiteral("abre el archivo"),
                     TStartAction::Window});
        o.push_back({QStringLiteral("modo"), QLatin1Char('m'), TOptionValue::Required,
                     QStringLiteral("MODO"), QStringLiteral("elige el modo"),
                     TStartAction::Window});
        return o;
    }();
    return options;
}
} // namespace

class TestCommandLine : public QObject
{
    Q_OBJECT
private slots:
    void argumentsAskForAnAction_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<TStartAction>("action");
        QTest::addColumn<QStringList>("ignored");
        QTest::newRow("none") << QStringList() << TStartAction::Window << QStringList();
        QTest::newRow("version") << QStringList{"--version"} << TStartAction::Version
                                 << QStringList();
        QTest::newRow("help") << QStringList{"--help"} << TStartAction::Help << QStringList();
        QTest::newRow("short help") << QStringList{"-h"} << TStartAction::Help << QStringList();
        QTest::newRow("help wins over version")
            << QStringList{"--version", "--help"} << TStartAction::Help << QStringList();
        QTest::newRow("Qt's own arguments")
            << QStringList{"-platform", "offscreen"} << TStartAction::Window
            << QStringList{"-platform", "offscreen"};
        QTest::newRow("unknown options") << QStringList{"--verbose", "-x", "-", "archivo.txt"}
                                         << TStartAction::Window
                                         << QStringList{"--verbose", "-x", "-", "archivo.txt"};
        QTest::newRow("value to an option without one")
            << QStringList{"--version=2"} << TStartAction::Window << QStringList{"--version=2"};
        QTest::newRow("letters run together")
            << QStringList{"-hh"} << TStartAction::Window << QStringList{"-hh"};
        QTest::newRow("after --") << QStringList{"--", "--help"} << TStartAction::Window
                                  << QStringList{"--help"};
        QTest::newRow("case matters")
            << QStringList{"--HELP"} << TStartAction::Window << QStringList{"--HELP"};
    }
    void argumentsAskForAnAction()
    {
        QFETCH(QStringList, args);
        QFETCH(TStartAction, action);
        QFETCH(QStringList, ignored);
        const TCommandLine c = ParseCommandLine(args);
        QCOMPARE(c.Action, action);
        QCOMPARE(c.Ignored, ignored);
    }

    void optionsTakeTheirValues()
    {
        const auto &table = OptionsWithValues();
        TCommandLine c = ParseCommandLine({"--archivo", "a.req", "--modo=rapido"}, table);
        QCOMPARE(c.Given, (QSet<QString>{"archivo", "modo"}));
        QCOMPARE(c.Values.value("archivo"), QStringLiteral("a.req"));
        QCOMPARE(c.Values.value("modo"), QStringLiteral("rapido"));
        QCOMPARE(c.Action, TStartAction::Window);

        // An optional value is not taken from a following option; a required
        // one is, and without any the option is not given.
        c = ParseCommandLine({"--archivo", "--help", "-m", "-raro"}, table);
        QVERIFY(c.Given.contains("archivo"));
        QVERIFY(!c.Values.contains("archivo"));
        QCOMPARE(c.Values.value("modo"), QStringLiteral("-raro"));
        QCOMPARE(c.Action, TStartAction::Help);
        c = ParseCommandLine({"--modo"}, table);
        QVERIFY(c.Given.isEmpty());
        QCOMPARE(c.Ignored, QStringList{"--modo"});
        c = ParseCommandLine({"--archivo="}, table);
        QCOMPARE(c.Values.value("archivo", "<none>"), QString());
    }

    void helpListsEveryOptionInSpanish()
    {
        const QString help = HelpText();
        QVERIFY(help.startsWith(QStringLiteral("Uso: zedede [OPCIÓN]\n")));
        QVERIFY(help.contains(QStringLiteral("  -h, --help     muestra esta ayuda y termina\n")));
        QVERIFY(help.contains(QStringLiteral("      --version  muestra la versión")));
        QVERIFY(help.contains(QStringLiteral("Sin opciones abre la ventana del asistente.")));
        const QString more = HelpText(OptionsWithValues());
        QVERIFY(more.contains(QStringLiteral("      --archivo [ARCHIVO]  abre el archivo\n")));
        QVERIFY(more.contains(QStringLiteral("  -m, --modo MODO          elige el modo\n")));
        for (const QString &line : more.split('\n'))
            QVERIFY2(line.size() <= 80, qPrintable(line));
    }

    void versionNamesTheProject()
    {
        QCOMPARE(VersionText().section('\n', 0, 0),
                 QStringLiteral("zedede " ZEDEDE_PROJECT_VERSION));
    }

    // The program answers --help and --version without a display: it never
    // gets as far as Qt's platform, which here could not be loaded.
    void theProgramPrintsAndEndsWithoutAWindow_data()
    {
        QTest::addColumn<QString>("option");
        QTest::addColumn<QString>("expected");
        QTest::newRow("version") << "--version" << VersionText();
        QTest::newRow("help") << "--help" << HelpText();
        QTest::newRow("short help") << "-h" << HelpText();
    }
    void theProgramPrintsAndEndsWithoutAWindow()
    {
        QFETCH(QString, option);
        QFETCH(QString, expected);
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove("DISPLAY");
        env.remove("WAYLAND_DISPLAY");
        env.insert("QT_QPA_PLATFORM", "no-such-platform");
        p.setProcessEnvironment(env);
        p.start(QStringLiteral(ZEDEDE_PROGRAM), {option});
        QVERIFY(p.waitForFinished(20000));
        QCOMPARE(p.exitStatus(), QProcess::NormalExit);
        QCOMPARE(p.exitCode(), 0);
        QCOMPARE(QString::fromUtf8(p.readAllStandardOutput()), expected);
        QCOMPARE(p.readAllStandardError(), QByteArray());
    }
};

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_CommandLine.moc"

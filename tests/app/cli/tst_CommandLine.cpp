// The program's command line: what each argument asks for, the help and
// version texts, and the real program answering them, and checking a
// certificate, without a window.

#include "CertificateTestSupport.h"
#include "CommandLine.h"
#include "VerifyCommand.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
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

// The environment of a program started without any display: no X or Wayland
// display and no platform chosen, so that making a window would fail. Home
// and its folders in Home.
QProcessEnvironment WithoutDisplay(const QString &AHome = QString())
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("DISPLAY");
    env.remove("WAYLAND_DISPLAY");
    env.remove("QT_QPA_PLATFORM");
    if (!AHome.isEmpty()) {
        env.insert("HOME", AHome);
        env.insert("XDG_DATA_HOME", AHome + "/.local/share");
        env.insert("XDG_CONFIG_HOME", AHome + "/.config");
    }
    return env;
}

// A program's output as text; on Windows its lines end with CR LF.
QString StandardText(const QByteArray &AOutput)
{
    QString text = QString::fromUtf8(AOutput);
#ifdef Q_OS_WIN
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
#endif
    return text;
}

struct TRun
{
    bool Finished = false;
    int ExitCode = -1;
    QString Out;
    QString Err;
};

TRun RunProgram(const QString &AProgram, const QStringList &AArgs,
                const QProcessEnvironment &AEnv, const QString &AFolder = QString())
{
    QProcess p;
    p.setProcessEnvironment(AEnv);
    if (!AFolder.isEmpty())
        p.setWorkingDirectory(AFolder);
    p.start(AProgram, AArgs);
    TRun run;
    run.Finished = p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit;
    run.ExitCode = p.exitCode();
    run.Out = StandardText(p.readAllStandardOutput());
    run.Err = StandardText(p.readAllStandardError());
    return run;
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
        QTest::addColumn<QString>("error");
        const TStartAction refused = TStartAction::UsageError;
        QTest::newRow("none") << QStringList() << TStartAction::Window << QStringList() << "";
        QTest::newRow("version") << QStringList{"--version"} << TStartAction::Version
                                 << QStringList() << "";
        QTest::newRow("help") << QStringList{"--help"} << TStartAction::Help << QStringList() << "";
        QTest::newRow("short help") << QStringList{"-h"} << TStartAction::Help << QStringList() << "";
        QTest::newRow("help wins over version")
            << QStringList{"--version", "--help"} << TStartAction::Help << QStringList() << "";
        QTest::newRow("Qt's own arguments")
            << QStringList{"-platform", "offscreen", "-style=fusion", "--reverse", "--display", ":1"}
            << TStartAction::Window
            << QStringList{"-platform", "offscreen", "-style=fusion", "--reverse", "--display", ":1"}
            << "";
        QTest::newRow("not options") << QStringList{"-", "archivo.txt"} << TStartAction::Window
                                     << QStringList{"-", "archivo.txt"} << "";
        QTest::newRow("unknown long option")
            << QStringList{"--verbose"} << refused << QStringList()
            << QStringLiteral("la opción «--verbose» no existe.");
        QTest::newRow("unknown short option")
            << QStringList{"-x"} << refused << QStringList() << QStringLiteral("la opción «-x» no existe.");
        QTest::newRow("the first refused is named")
            << QStringList{"--foo=1", "-x"} << refused << QStringList()
            << QStringLiteral("la opción «--foo» no existe.");
        QTest::newRow("a refusal wins over help")
            << QStringList{"--help", "--foo"} << refused << QStringList()
            << QStringLiteral("la opción «--foo» no existe.");
        QTest::newRow("misspelt verify")
            << QStringList{"--verifcar", "cert.crt", "--sin-ventana"} << refused
            << QStringList{"cert.crt"} << QStringLiteral("la opción «--verifcar» no existe.");
        QTest::newRow("value to an option without one")
            << QStringList{"--version=2"} << refused << QStringList()
            << QStringLiteral("la opción «--version» no lleva valor.");
        QTest::newRow("letters run together")
            << QStringList{"-hh"} << refused << QStringList() << QStringLiteral("la opción «-hh» no existe.");
        QTest::newRow("after --") << QStringList{"--", "--help"} << TStartAction::Window
                                  << QStringList{"--help"} << "";
        QTest::newRow("case matters")
            << QStringList{"--HELP"} << refused << QStringList() << QStringLiteral("la opción «--HELP» no existe.");
        QTest::newRow("verify") << QStringList{"--verificar"} << TStartAction::Verify
                                << QStringList() << "";
        QTest::newRow("verify a file")
            << QStringList{"--verificar", "a.crt"} << TStartAction::Verify << QStringList() << "";
        QTest::newRow("verify without a window")
            << QStringList{"--verificar", "a.crt", "--sin-ventana"}
            << TStartAction::VerifyWithoutWindow << QStringList() << "";
        QTest::newRow("without a window first")
            << QStringList{"--sin-ventana", "--verificar=a.crt"}
            << TStartAction::VerifyWithoutWindow << QStringList() << "";
        // The start-up refuses it: nothing to check.
        QTest::newRow("without a window alone")
            << QStringList{"--sin-ventana"} << TStartAction::VerifyWithoutWindow << QStringList() << "";
        QTest::newRow("help wins over verify")
            << QStringList{"--verificar", "a.crt", "--sin-ventana", "-h"} << TStartAction::Help
            << QStringList() << "";
        QTest::newRow("version wins over verify")
            << QStringList{"--verificar", "--version"} << TStartAction::Version << QStringList() << "";
        QTest::newRow("reminders of a folder")
            << QStringList{"--avisos", "activar", "/srv/certificados"} << TStartAction::Reminders
            << QStringList{"/srv/certificados"} << "";
        QTest::newRow("reminders, the folder first")
            << QStringList{"Mis certificados", "--avisos=desactivar"} << TStartAction::Reminders
            << QStringList{"Mis certificados"} << "";
        QTest::newRow("reminders without their action")
            << QStringList{"--avisos"} << TStartAction::UsageError << QStringList()
            << QStringLiteral("la opción «--avisos» necesita un valor (ACCIÓN CARPETA).");
        QTest::newRow("value to --sin-ventana")
            << QStringList{"--verificar", "--sin-ventana=a.crt"} << refused << QStringList()
            << QStringLiteral("la opción «--sin-ventana» no lleva valor.");
    }
    void argumentsAskForAnAction()
    {
        QFETCH(QStringList, args);
        QFETCH(TStartAction, action);
        QFETCH(QStringList, ignored);
        QFETCH(QString, error);
        const TCommandLine c = ParseCommandLine(args);
        QCOMPARE(c.Action, action);
        QCOMPARE(c.Ignored, ignored);
        QCOMPARE(c.Error, error);
        for (const QString &a : c.Positional)
            QVERIFY(c.Ignored.contains(a));
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
        QCOMPARE(c.Action, TStartAction::UsageError);
        QCOMPARE(c.Error, QStringLiteral("la opción «--modo» necesita un valor (MODO)."));
        c = ParseCommandLine({"--archivo="}, table);
        QCOMPARE(c.Values.value("archivo", "<none>"), QString());
    }

    // The file to check is --verificar's value: a following option is not
    // taken for it, a file named like an option is given with "=".
    void verifyTakesItsFile()
    {
        TCommandLine c = ParseCommandLine({"--verificar", "Mis certificados/c.crt", "--sin-ventana"});
        QCOMPARE(c.Given, (QSet<QString>{"verificar", "sin-ventana"}));
        QCOMPARE(c.Values.value("verificar"), QStringLiteral("Mis certificados/c.crt"));
        c = ParseCommandLine({"--verificar", "--sin-ventana", "c.crt"});
        QVERIFY(c.Given.contains("verificar"));
        QVERIFY(!c.Values.contains("verificar"));
        QCOMPARE(c.Ignored, QStringList{"c.crt"});
        c = ParseCommandLine({"--verificar=-c.crt"});
        QCOMPARE(c.Values.value("verificar"), QStringLiteral("-c.crt"));
        QCOMPARE(c.Action, TStartAction::Verify);
    }

    void helpListsEveryOptionInSpanish()
    {
        const QString help = HelpText();
        QVERIFY(help.startsWith(QStringLiteral("Uso: zedede [OPCIÓN]\n")));
        // One line an option: its form, then its text in a column of its own.
        const auto listed = [](const QString &AHelp, const QString &AForm, const QString &AText) {
            const QRegularExpression line(QStringLiteral("\\n  ") + QRegularExpression::escape(AForm)
                                          + QStringLiteral(" {2,}")
                                          + QRegularExpression::escape(AText)
                                          + QStringLiteral("\\n"));
            return line.match(AHelp).hasMatch();
        };
        QVERIFY(listed(help, QStringLiteral("-h, --help"), QStringLiteral("muestra esta ayuda y termina")));
        QVERIFY(listed(help, QStringLiteral("    --version"),
                       QStringLiteral("muestra la versión del programa y termina")));
        QVERIFY(listed(help, QStringLiteral("    --verificar [ARCHIVO]"),
                       QStringLiteral("abre la ventana «Verificar certificado»")));
        QVERIFY(listed(help, QStringLiteral("    --sin-ventana"),
                       QStringLiteral("verifica ARCHIVO sin ventana (con --verificar)")));
        QVERIFY(listed(help, QStringLiteral("    --avisos ACCIÓN CARPETA"),
                       QStringLiteral("aviso diario de vencimiento: activar, desactivar")));
        QVERIFY(help.contains(QStringLiteral("Sin opciones abre la ventana del asistente.")));
        // The exit codes, one a line.
        QVERIFY(help.contains(QStringLiteral("  0  certificado emitido por la A.F.I.P.")));
        QVERIFY(help.contains(QStringLiteral("  1  se encontró un problema")));
        QVERIFY(help.contains(QStringLiteral("  2  no se pudo leer ARCHIVO")));
        QVERIFY(listed(help, QStringLiteral("    --clave CLAVE"),
                       QStringLiteral("la clave del certificado (con --verificar)")));
        const QString more = HelpText(OptionsWithValues());
        QVERIFY(listed(more, QStringLiteral("    --archivo [ARCHIVO]"),
                       QStringLiteral("abre el archivo")));
        QVERIFY(listed(more, QStringLiteral("-m, --modo MODO"), QStringLiteral("elige el modo")));
        for (const QString &line : help.split('\n'))
            QVERIFY2(line.size() <= 80, qPrintable(line));
        QVERIFY(listed(help, QStringLiteral("    --certificados [CARPETA]"),
                       QStringLiteral("abre la ventana «Mis certificados» en CARPETA")));
        QVERIFY(help.contains(QStringLiteral("estado;cuit;titular;organizacion;ambiente;vence;dias;")));
        for (const QString &line : more.split('\n'))
            QVERIFY2(line.size() <= 80, qPrintable(line));
        // A table without the check's options says nothing of it.
        const std::vector<TOptionSpec> plain(ProgramOptions().begin(),
                                             ProgramOptions().begin() + 2);
        QVERIFY(!HelpText(plain).contains(QStringLiteral("--verificar")));
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
        QCOMPARE(StandardText(p.readAllStandardOutput()), expected);
        QCOMPARE(p.readAllStandardError(), QByteArray());
    }

    // "--avisos ACCIÓN CARPETA" turns the daily check on and off from a
    // terminal with no display; its state is read back from the system each
    // time (here a session without a user manager: the autostart entry).
    void theProgramTurnsRemindersOnAndOffWithoutAWindow()
    {
#ifdef Q_OS_WIN
        QSKIP("the autostart entry is Linux's; the scheduled task has its own test");
#endif
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString home = dir.filePath("home");
        const QString folder = dir.filePath("Mis certificados");
        QVERIFY(QDir().mkpath(home) && QDir().mkpath(folder));
        QProcessEnvironment env = WithoutDisplay(home);
        env.remove("DBUS_SESSION_BUS_ADDRESS");
        env.insert("XDG_RUNTIME_DIR", dir.filePath("no-runtime"));
        const QString program = QStringLiteral(ZEDEDE_WINDOWLESS);
        TRun run = RunProgram(program, {"--avisos", "estado", folder}, env);
        QCOMPARE(run.ExitCode, 0);
        QCOMPARE(run.Out.trimmed(), QStringLiteral("desactivados"));
        run = RunProgram(program, {"--avisos", "activar", folder}, env);
        QCOMPARE(run.ExitCode, 0);
        QVERIFY2(run.Out.startsWith(QStringLiteral("Avisos activados")), qPrintable(run.Out + run.Err));
        run = RunProgram(program, {"--avisos=estado", folder}, env);
        QVERIFY2(run.Out.startsWith(QStringLiteral("activados")), qPrintable(run.Out));
        run = RunProgram(program, {"--avisos", "desactivar", folder}, env);
        QCOMPARE(run.ExitCode, 0);
        run = RunProgram(program, {"--avisos", "estado", folder}, env);
        QCOMPARE(run.Out.trimmed(), QStringLiteral("desactivados"));
        QCOMPARE(QDir(home + "/.config/autostart").entryList(QDir::Files), QStringList());
        run = RunProgram(program, {"--avisos", "encender", folder}, env);
        QCOMPARE(run.ExitCode, 2);
        QVERIFY(run.Err.contains(QStringLiteral("«activar», «desactivar» o «estado»")));
    }

    // "--verificar ARCHIVO --sin-ventana" in the real program, with no
    // display at all: a certificate signed by a local authority named as the
    // production one, for a key beside it (0); the same with another key
    // beside it, and the request (1); a missing file, and no file (2).
    void theProgramChecksACertificateWithoutAWindow()
    {
        QTemporaryDir dir(AccentedTemporaryPattern());
        QVERIFY(dir.isValid());
        const QString home = dir.filePath("home");
        const QString good = dir.filePath("bien"), other = dir.filePath("otra");
        QVERIFY(QDir().mkpath(home) && QDir().mkpath(good) && QDir().mkpath(other));
        TTestAuthority production;
        QVERIFY(production.Create(dir.filePath("ac"), "/C=AR/O=AFIP/CN=Computadores"));
        const QString key = good + "/Privada_Empresa.key";
        const QString request = good + "/Pedido_Empresa.req";
        QVERIFY(MakeRsaKey(key));
        QVERIFY(MakeRequest(key, "/C=AR/O=Empresa SA/CN=facturacion/serialNumber=CUIT 20123456786",
                            request));
        QVERIFY(production.SignFor(request, good + "/certificado.crt", 700));
        QVERIFY(QFile::copy(good + "/certificado.crt", other + "/certificado.crt"));
        QVERIFY(MakeRsaKey(other + "/Privada_Otra.key"));
        QProcessEnvironment env = WithoutDisplay(home);
        // The local authority stands for the real one.
        QVERIFY(production.PublicKeyTo(dir.filePath("autoridades"), "autoridad-produccion.pem"));
        env.insert("ZEDEDE_AUTORIDADES", dir.filePath("autoridades"));
        // The program, and the windowless modes linked without any window
        // code, answer alike.
        for (const QString &program :
             {QStringLiteral(ZEDEDE_PROGRAM), QStringLiteral(ZEDEDE_WINDOWLESS)}) {

            // A relative file, from its folder.
            TRun run = RunProgram(program, {"--verificar", "certificado.crt", "--sin-ventana"}, env,
                                  good);
            QVERIFY(run.Finished);
            QCOMPARE(run.ExitCode, 0);
            QVERIFY2(run.Out.contains(QStringLiteral("Titular: facturacion\n")), qPrintable(run.Out));
            QVERIFY(run.Out.contains(QStringLiteral("CUIT: 20-12345678-6\n")));
            QVERIFY(run.Out.contains(QStringLiteral("Autoridad de la A.F.I.P.: Producción\n")));
            QVERIFY(run.Out.contains(QStringLiteral("Privada_Empresa.key: corresponde\n")));
            QVERIFY(run.Out.contains(QStringLiteral("Resultado: Certificado de producción válido")));

            run = RunProgram(program, {"--sin-ventana", "--verificar", other + "/certificado.crt"},
                             env);
            QVERIFY(run.Finished);
            QCOMPARE(run.ExitCode, 1);
            QVERIFY2(run.Out.contains(QStringLiteral("Privada_Otra.key: no corresponde\n")),
                     qPrintable(run.Out));
            QVERIFY(run.Out.contains(QStringLiteral(
                "Resultado: Ninguna clave privada encontrada corresponde a este certificado.")));

            run = RunProgram(program, {"--verificar=" + request, "--sin-ventana"}, env);
            QCOMPARE(run.ExitCode, 1);
            QVERIFY2(run.Out.contains(QStringLiteral("Este es el pedido, no el certificado emitido")),
                     qPrintable(run.Out));

            run = RunProgram(program, {"--verificar", dir.filePath("no-esta.crt"), "--sin-ventana"},
                             env);
            QVERIFY(run.Finished);
            QCOMPARE(run.ExitCode, 2);
            QVERIFY2(run.Err.contains(QStringLiteral("No se pudo verificar el archivo")),
                     qPrintable(run.Err));
            QCOMPARE(run.Out, QString());

            // A key of any name, named on the command line.
            QVERIFY(QFile::exists(dir.filePath("mi-clave.pem"))
                    || QFile::copy(key, dir.filePath("mi-clave.pem")));
            run = RunProgram(program, {"--verificar", other + "/certificado.crt", "--sin-ventana",
                                       "--clave", dir.filePath("mi-clave.pem")},
                             env);
            QCOMPARE(run.ExitCode, 0);
            QVERIFY2(run.Out.contains(QStringLiteral("mi-clave.pem: corresponde\n")), qPrintable(run.Out));

            // Without the authority's keys nothing can be judged.
            QProcessEnvironment noKeys = env;
            noKeys.insert("ZEDEDE_AUTORIDADES", dir.filePath("ninguna"));
            run = RunProgram(program, {"--verificar", good + "/certificado.crt", "--sin-ventana"}, noKeys);
            QCOMPARE(run.ExitCode, 2);
            QVERIFY(run.Err.contains(QStringLiteral("No se encontraron las claves públicas de la A.F.I.P.")));

            // The program's own copy of the real keys, beside it: the local
            // authority is not the tax authority.
            if (program == QLatin1String(ZEDEDE_PROGRAM)) {
                QProcessEnvironment real = env;
                real.remove("ZEDEDE_AUTORIDADES");
                run = RunProgram(program, {"--verificar", good + "/certificado.crt", "--sin-ventana"},
                                 real);
                QCOMPARE(run.ExitCode, 1);
                QVERIFY2(run.Out.contains(QStringLiteral("clave que este programa no conoce")),
                         qPrintable(run.Out));
            }

            for (const QStringList &args :
                 {QStringList{"--sin-ventana"}, QStringList{"--verificar", "--sin-ventana"}}) {
                run = RunProgram(program, args, env);
                QVERIFY(run.Finished);
                QCOMPARE(run.ExitCode, 2);
                QCOMPARE(run.Out, QString());
                QCOMPARE(run.Err, VerifyWithoutFileText());
            }
        }
    }

    // An argument the program cannot follow is named on standard error with
    // the usage line, and the program ends with 2 before anything of Qt is
    // made: here no display could be opened, so a window would fail.
    void refusedArgumentsEndWithTheUsageAndTwo_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("reason");
        QTest::newRow("unknown") << QStringList{"--foo"} << QStringLiteral("la opción «--foo» no existe.");
        QTest::newRow("misspelt verify")
            << QStringList{"--verifcar", "cert.crt", "--sin-ventana"}
            << QStringLiteral("la opción «--verifcar» no existe.");
        QTest::newRow("value where none goes")
            << QStringList{"--help=si"} << QStringLiteral("la opción «--help» no lleva valor.");
    }
    void refusedArgumentsEndWithTheUsageAndTwo()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const TRun run = RunProgram(QStringLiteral(ZEDEDE_PROGRAM), args, WithoutDisplay(dir.path()));
        QVERIFY(run.Finished);
        QCOMPARE(run.ExitCode, 2);
        QCOMPARE(run.Out, QString());
        QCOMPARE(run.Err, UsageErrorText(reason));
        QVERIFY(run.Err.startsWith(QStringLiteral("zedede: ") + reason + QStringLiteral("\nUso: zedede [OPCIÓN]\n")));
    }

    // "--verificar ARCHIVO" starts with the check's window, the file in it,
    // and not the wizard's (the start-up is the program's, reporting the
    // window it shows).
    void verifyOpensTheCheckWindow()
    {
#ifdef Q_OS_WIN
        QSKIP("the console companion has no windows of its own");
#else
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString file = dir.filePath("no es un certificado.txt");
        QVERIFY(WriteTestFile(file, "nada que ver\n"));
        QProcessEnvironment env = WithoutDisplay(dir.filePath("home"));
        env.insert("QT_QPA_PLATFORM", "offscreen");
        TRun run = RunProgram(QStringLiteral(ZEDEDE_SHOWN), {"--verificar", file}, env);
        QVERIFY(run.Finished);
        QCOMPARE(run.ExitCode, 0);
        QVERIFY2(run.Err.contains(QStringLiteral("title=Verificar certificado file=") + file
                                  + '\n'),
                 qPrintable(run.Err));
        run = RunProgram(QStringLiteral(ZEDEDE_SHOWN), {"--verificar"}, env);
        QVERIFY2(run.Err.contains(QStringLiteral("title=Verificar certificado file=\n")),
                 qPrintable(run.Err));
#endif
    }
};

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_CommandLine.moc"

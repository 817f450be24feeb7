// zedede.com, the console companion of ZeDede.exe on Windows: the windowless
// modes (--help, --version, --verificar ... --sin-ventana and the others of
// the command-line library) printed to the console, with their exit code
// returned to cmd.exe, PowerShell or the Task Scheduler. cmd.exe and
// PowerShell take it before ZeDede.exe when the user types "zedede". Asked
// for a window, it starts ZeDede.exe with the same arguments.

#include "ConsoleText.h"
#include "ProgramArguments.h"
#include "RegularExpressions.h"
#include "WindowlessRun.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>

int main(int argc, char **argv)
{
    PrepareRegularExpressions();
    const TCommandLine commandLine = ParseCommandLine(argc, argv);
    if (RunsWithoutWindow(commandLine.Action))
        return RunWithoutWindow(commandLine, argc, argv);
    const QString program =
        QFileInfo(QString::fromLocal8Bit(argv[0])).absolutePath() + QStringLiteral("/ZeDede.exe");
    if (!QProcess::startDetached(program, ProgramArguments(argc, argv))) {
        WriteConsoleText(TConsoleStream::Error,
                         QStringLiteral("No se pudo iniciar %1.\n")
                             .arg(QDir::toNativeSeparators(program)));
        return 2;
    }
    return 0;
}

#include "SwitchCommand.h"

#include "ConsoleRun.h"

#include "CertificateSwitch.h"
#include "CertificateErrors.h"
#include "Paths.h"
#include "TerminalText.h"


int RunSwitch(const QString &Certificate, QTextStream &Out, QTextStream &Err,
              const QDateTime &Now)
{
    if (Certificate.isEmpty()) {
        Err << QStringLiteral("Indique el certificado nuevo: zedede --usar-certificado "
                              "CERTIFICADO --sin-ventana\n");
        return 2;
    }
    try {
        const TSwitchResult r = SwitchCertificate(Certificate, Now);
        Out << QStringLiteral("Certificado en uso: %1\n")
                   .arg(TerminalSafe(NativePath(r.Certificate)));
        for (const QString &f : r.Placed)
            if (f != r.Certificate)
                Out << QStringLiteral("En uso: %1\n").arg(TerminalSafe(NativePath(f)));
        for (const QString &f : r.Kept)
            Out << QStringLiteral("Anterior guardado: %1\n").arg(TerminalSafe(NativePath(f)));
        return 0;
    } catch (const EUnreadable &e) {
        Err << QStringLiteral("No se pudo leer el certificado %1: %2\n")
                   .arg(TerminalSafe(NativePath(Certificate)), TerminalSafe(e.Message()));
        return 2;
    } catch (const Exception &e) {
        Err << TerminalSafe(e.Message()) << '\n';
        return 1;
    }
}

int RunSwitchCommandWithoutWindow(int argc, char **argv, const QString &Certificate)
{
    return RunWithConsoleStreams(argc, argv, [&Certificate](QTextStream &Out, QTextStream &Err) {
        return RunSwitch(Certificate, Out, Err);
    });
}

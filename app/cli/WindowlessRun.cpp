#include "WindowlessRun.h"

#include "BookCommand.h"
#include "VerifyCommand.h"

#include <cstdio>

namespace {

int Print(const QString &AText)
{
    const QByteArray bytes = AText.toLocal8Bit();
    const bool ok = std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout)
                        == size_t(bytes.size())
                    && std::fflush(stdout) == 0;
    return ok ? 0 : 1;
}

} // namespace

bool RunsWithoutWindow(TStartAction Action)
{
    return Action == TStartAction::Help || Action == TStartAction::Version
           || Action == TStartAction::VerifyWithoutWindow;
}

int RunWithoutWindow(const TCommandLine &ACommandLine, int argc, char **argv)
{
    switch (ACommandLine.Action) {
    case TStartAction::Help:
        return Print(HelpText());
    case TStartAction::Version:
        return Print(VersionText());
    case TStartAction::VerifyWithoutWindow: {
        const QString book = QStringLiteral("certificados");
        if (ACommandLine.Given.contains(book))
            return RunBookCommandWithoutWindow(ACommandLine.Values.value(book),
                                               ACommandLine.Values.value(QStringLiteral("formato")));
        // Without --verificar ARCHIVO there is nothing to check: it says so
        // and ends with the code of a file that could not be read.
        const QString verify = QStringLiteral("verificar");
        return RunVerifyCommandWithoutWindow(
            argc, argv,
            ACommandLine.Given.contains(verify) ? ACommandLine.Values.value(verify) : QString());
    }
    case TStartAction::Verify:
    case TStartAction::Book:
    case TStartAction::Window:
        break;
    }
    return 0;
}

#include "UserSystemd.h"

#include "Process.h"

#include <QDir>

TSystemctlResult TUserSystemd::Run(const QStringList &Arguments)
{
    QStringList quoted{QStringLiteral("--user")};
    for (const QString &a : Arguments)
        quoted << QuoteArgument(a);
    TExecuteOptions options;
    options.StopIfAbandoned = true;
    options.TimeLimit = kTimeLimitMs;
    options.OutputLimit = 16 * 1024;
    TExecuteOutcome outcome;
    ExecuteAndWait(QStringLiteral("systemctl"), QDir::homePath(), quoted.join(QLatin1Char(' ')),
                   options, outcome);
    TSystemctlResult result;
    result.Started = outcome.Started;
    result.Succeeded = outcome.Succeeded();
    result.Output = outcome.Started ? LastLines(outcome.Output, 20) : outcome.StartError;
    return result;
}

QString TUserSystemd::ConfigHome()
{
    const QString configured = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (QDir::isAbsolutePath(configured))
        return QDir::cleanPath(configured);
    return QDir::homePath() + QStringLiteral("/.config");
}

QString TUserSystemd::UnitFolder()
{
    return ConfigHome() + QStringLiteral("/systemd/user");
}

#include "SystemdUnits.h"

#include "ReminderNames.h"

QString SystemdQuote(const QString &Word)
{
    QString out = QStringLiteral("\"");
    for (const QChar c : Word) {
        switch (c.unicode()) {
        case '\\': out += QStringLiteral("\\\\"); break;
        case '"': out += QStringLiteral("\\\""); break;
        case '%': out += QStringLiteral("%%"); break;
        case '$': out += QStringLiteral("$$"); break;
        case '\n': out += QStringLiteral("\\n"); break;
        case '\t': out += QStringLiteral("\\t"); break;
        case '\r': out += QStringLiteral("\\r"); break;
        default:
            if (c.unicode() < 0x20 || c.unicode() == 0x7f)
                out += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
            else
                out += c;
        }
    }
    out += QLatin1Char('"');
    return out;
}

QString SystemdCommandLine(const QString &Program, const QStringList &Arguments)
{
    QStringList words;
    bool safe = true;
    for (const QChar c : Program)
        safe = safe && c != QLatin1Char('"') && c != QLatin1Char('\'') && c != QLatin1Char('\\')
               && c.unicode() >= 0x20 && c.unicode() != 0x7f;
    if (safe) {
        QString path = Program;
        words << QLatin1Char('"') + path.replace(QLatin1Char('%'), QStringLiteral("%%")) + QLatin1Char('"');
    } else {
        // The shell runs it as its $0, whatever the name holds.
        words << QStringLiteral("/bin/sh") << SystemdQuote(QStringLiteral("-c"))
              << SystemdQuote(QStringLiteral("exec \"$0\" \"$@\"")) << SystemdQuote(Program);
    }
    for (const QString &a : Arguments)
        words << SystemdQuote(a);
    return words.join(QLatin1Char(' '));
}

QString SystemdPlainValue(const QString &Text)
{
    QString out;
    for (const QChar c : Text) {
        if (c == QLatin1Char('%'))
            out += QStringLiteral("%%");
        else if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            out += QLatin1Char(' ');
        else
            out += c;
    }
    // A final backslash would join the next line to this one.
    if (out.endsWith(QLatin1Char('\\')))
        out += QLatin1Char(' ');
    return out;
}

QString ReminderServiceText(const QString &Program, const QString &Folder)
{
    return QStringLiteral(
               "[Unit]\n"
               "Description=ZeDede: aviso de certificados por vencer en %1\n"
               "Documentation=man:zedede(1)\n"
               "\n"
               "[Service]\n"
               "Type=oneshot\n"
               "ExecStart=%2\n"
               "# 1: something needs attention, which the check has shown.\n"
               "SuccessExitStatus=1\n"
               "TimeoutStartSec=15min\n"
               "Nice=10\n")
        .arg(SystemdPlainValue(Folder), SystemdCommandLine(Program, ReminderCheckArguments(Folder)));
}

QString ReminderTimerText(const QString &Service, const QString &Folder)
{
    return QStringLiteral(
               "[Unit]\n"
               "Description=ZeDede: revisión diaria de los certificados de %1\n"
               "Documentation=man:zedede(1)\n"
               "\n"
               "[Timer]\n"
               "OnCalendar=daily\n"
               "Persistent=true\n"
               "OnStartupSec=2min\n"
               "Unit=%2\n"
               "\n"
               "[Install]\n"
               "WantedBy=timers.target\n")
        .arg(SystemdPlainValue(Folder), Service);
}

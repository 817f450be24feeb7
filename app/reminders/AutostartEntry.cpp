#include "AutostartEntry.h"

#include "Exception.h"
#include "ReminderNames.h"

#include <QStringList>

namespace {

// A string value of a desktop entry (the escapes of the key file format).
QString DesktopStringValue(const QString &Text)
{
    QString out;
    for (const QChar c : Text) {
        switch (c.unicode()) {
        case '\\': out += QStringLiteral("\\\\"); break;
        case '\n': out += QStringLiteral("\\n"); break;
        case '\t': out += QStringLiteral("\\t"); break;
        case '\r': out += QStringLiteral("\\r"); break;
        default:
            if (c.unicode() < 0x20 || c.unicode() == 0x7f)
                throw Exception(QStringLiteral(
                    "El nombre de la carpeta tiene un carácter de control que el inicio "
                    "de sesión no admite."));
            out += c;
        }
    }
    return out;
}

} // namespace

QString DesktopExecQuote(const QString &Word)
{
    // The quoting of the Exec key and the escapes of a string value at once:
    // a backslash is "\\\\" (doubled by each), " ` $ take one backslash,
    // which the string value leaves alone.
    QString quoted = QStringLiteral("\"");
    for (const QChar c : Word) {
        switch (c.unicode()) {
        case '\\': quoted += QStringLiteral("\\\\\\\\"); break;
        case '"': case '`': case '$': quoted += QLatin1Char('\\'); quoted += c; break;
        case '%': quoted += QStringLiteral("%%"); break;
        default: quoted += DesktopStringValue(QString(c));
        }
    }
    quoted += QLatin1Char('"');
    return quoted;
}

QString ReminderAutostartText(const QString &Program, const QString &Folder)
{
    QStringList command;
    // Desktops look for the program named by Exec= before they expand "%%":
    // a path with "%" is given to a shell as its $0 instead.
    if (Program.contains(QLatin1Char('%')))
        command << QStringLiteral("/bin/sh") << DesktopExecQuote(QStringLiteral("-c"))
                << DesktopExecQuote(QStringLiteral("exec \"$0\" \"$@\""));
    command << DesktopExecQuote(Program);
    for (const QString &a : ReminderCheckArguments(Folder))
        command << DesktopExecQuote(a);
    QString comment = QStringLiteral("Revisa los certificados de %1 y avisa de los que están por vencer")
                          .arg(Folder);
    comment.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return QStringLiteral(
               "[Desktop Entry]\n"
               "Type=Application\n"
               "Name=ZeDede: aviso de certificados por vencer\n"
               "Comment=%1\n"
               "Exec=%2\n"
               "Icon=ar.com.vemra.ZeDede\n"
               "Terminal=false\n"
               "NoDisplay=true\n"
               "X-GNOME-Autostart-enabled=true\n")
        .arg(DesktopStringValue(comment), command.join(QLatin1Char(' ')));
}

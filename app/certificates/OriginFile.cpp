#include "OriginFile.h"

#include "AnsiCodePage.h"

#include <QFile>

namespace {

constexpr qint64 kMaxOriginBytes = 4096;

} // namespace

TOriginEntries ParseOriginLine(const QString &Line)
{
    TOriginEntries e;
    const QString text = Line.endsWith(QLatin1String("\r\n")) ? Line.chopped(2)
                         : Line.endsWith(QLatin1Char('\n'))   ? Line.chopped(1)
                                                              : Line;
    const QString start = QStringLiteral("C=AR,O=");
    const QString serial = QStringLiteral(",serialNumber=CUIT ");
    const QString cn = QStringLiteral(",CN=");
    const QString mail = QStringLiteral(",emailAddress=");
    if (!text.startsWith(start))
        return e;
    // The CUIT holds digits only, so the first ",serialNumber=CUIT " ends the
    // company's name (which may hold commas); the operator's name may hold
    // commas too, so the last ",emailAddress=" ends it.
    const int s = text.indexOf(serial, start.size());
    if (s < 0)
        return e;
    const int c = text.indexOf(cn, s + serial.size());
    const int m = text.lastIndexOf(mail);
    if (c < 0 || m < c)
        return e;
    e.Organization = text.mid(start.size(), s - start.size());
    e.CUIT = text.mid(s + serial.size(), c - s - serial.size());
    e.Holder = text.mid(c + cn.size(), m - c - cn.size());
    e.Mail = text.mid(m + mail.size());
    for (const QChar ch : e.CUIT)
        if (!ch.isDigit() || ch.unicode() > 127)
            return TOriginEntries();
    e.Read = true;
    return e;
}

TOriginEntries ReadOriginFile(const QString &File)
{
    QFile f(File);
    if (!f.open(QIODevice::ReadOnly) || f.size() > kMaxOriginBytes)
        return TOriginEntries();
    return ParseOriginLine(FromAnsi(f.read(kMaxOriginBytes)));
}

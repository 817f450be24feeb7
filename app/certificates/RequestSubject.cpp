#include "RequestSubject.h"

#include "CertificateCheck.h"
#include "Cuit.h"
#include "Exception.h"
#include "OpenSSLRun.h"

#include <QFileInfo>

namespace {

// Requests are far smaller; anything bigger is not one of the wizard's.
constexpr qint64 kMaxRequestBytes = 1024 * 1024;

} // namespace

TRequestSubject ReadRequestSubject(const QString &File)
{
    TRequestSubject s;
    const QFileInfo info(File);
    if (!info.isFile() || info.size() > kMaxRequestBytes)
        return s;
    TToolRun run;
    try {
        run = RunOpenSSL({QStringLiteral("req"), QStringLiteral("-in"), File,
                          QStringLiteral("-noout"), QStringLiteral("-nameopt"),
                          QStringLiteral("utf8,sep_multiline,lname,space_eq,esc_ctrl"),
                          QStringLiteral("-subject")});
    } catch (const Exception &) {
        return s;
    }
    if (!run.Succeeded())
        return s;
    const TNameEntries subject = ParseNameLines(QString::fromUtf8(run.Output));
    s.Read = true;
    s.Organization = NameValue(subject, QStringLiteral("organizationName"));
    s.Holder = NameValue(subject, QStringLiteral("commonName"));
    s.Mail = NameValue(subject, QStringLiteral("emailAddress"));
    s.CUIT = CUITFromSerialNumber(NameValue(subject, QStringLiteral("serialNumber")));
    return s;
}

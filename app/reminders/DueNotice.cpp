#include "DueNotice.h"

#include <algorithm>

namespace {

QString DateText(const QDate &Date)
{
    return Date.toString(QStringLiteral("dd/MM/yyyy"));
}

// "hoy", "mañana", "dentro de 5 días"; once expired "hoy", "ayer", "hace 3 días".
QString WhenText(const TDueCertificate &C)
{
    if (C.Expired) {
        if (C.DaysLeft >= 0)
            return QStringLiteral("hoy");
        if (C.DaysLeft == -1)
            return QStringLiteral("ayer");
        return QStringLiteral("hace %1 días").arg(-C.DaysLeft);
    }
    if (C.DaysLeft <= 0)
        return QStringLiteral("hoy");
    if (C.DaysLeft == 1)
        return QStringLiteral("mañana");
    return QStringLiteral("dentro de %1 días").arg(C.DaysLeft);
}

// Earlier expiry first; ties by name, so the choice does not depend on order.
bool Sooner(const TDueCertificate &A, const TDueCertificate &B)
{
    if (A.DaysLeft != B.DaysLeft)
        return A.DaysLeft < B.DaysLeft;
    if (A.Expiry != B.Expiry)
        return A.Expiry < B.Expiry;
    return DueCertificateName(A).localeAwareCompare(DueCertificateName(B)) < 0;
}

QString CountOf(int N, const QString &One, const QString &Many)
{
    return N == 1 ? One : QStringLiteral("%1 %2").arg(N).arg(Many);
}

} // namespace

QString DueCertificateName(const TDueCertificate &Certificate)
{
    for (const QString &name : {Certificate.Company, Certificate.Holder, Certificate.Cuit}) {
        const QString trimmed = name.simplified();
        if (!trimmed.isEmpty())
            return trimmed;
    }
    return QStringLiteral("(sin nombre)");
}

TDueNotice DueNoticeFor(const QList<TDueCertificate> &Due)
{
    QList<TDueCertificate> expired, soon;
    for (const TDueCertificate &c : Due)
        (c.Expired ? expired : soon).append(c);
    std::sort(expired.begin(), expired.end(), Sooner);
    std::sort(soon.begin(), soon.end(), Sooner);
    const int total = int(Due.size());

    TDueNotice notice;
    if (expired.isEmpty())
        notice.Summary = CountOf(total, QStringLiteral("Un certificado por vencer"),
                                 QStringLiteral("certificados por vencer"));
    else if (soon.isEmpty())
        notice.Summary = CountOf(total, QStringLiteral("Un certificado vencido"),
                                 QStringLiteral("certificados vencidos"));
    else
        notice.Summary = QStringLiteral("%1 certificados vencidos o por vencer").arg(total);

    QStringList lines;
    if (!expired.isEmpty() && !soon.isEmpty())
        lines << QStringLiteral("%1 y %2 en los próximos %3 días.")
                     .arg(expired.size() == 1 ? QStringLiteral("1 ya venció")
                                              : QStringLiteral("%1 ya vencieron").arg(expired.size()),
                          soon.size() == 1 ? QStringLiteral("1 vence")
                                           : QStringLiteral("%1 vencen").arg(soon.size()))
                     .arg(kDueWarningDays);

    // The nearest one: the next to expire; when all have expired, the latest.
    const TDueCertificate &nearest = soon.isEmpty() ? expired.last() : soon.first();
    const QString name = DueCertificateName(nearest);
    const QString date = DateText(nearest.Expiry);
    const QString when = WhenText(nearest);
    if (total == 1)
        lines << QStringLiteral("%1 %2 el %3 (%4).")
                     .arg(name, nearest.Expired ? QStringLiteral("venció") : QStringLiteral("vence"),
                          date, when);
    else if (soon.isEmpty())
        lines << QStringLiteral("El último en vencer: %1, el %2 (%3).").arg(name, date, when);
    else
        lines << QStringLiteral("El próximo en vencer: %1, el %2 (%3).").arg(name, date, when);

    lines << (total == 1 ? QStringLiteral("Renuévelo desde «Mis certificados».")
                         : QStringLiteral("Renuévelos desde «Mis certificados»."));
    notice.Body = lines.join(QLatin1Char('\n'));
    return notice;
}

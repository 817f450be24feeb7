// The words of the notification: counts, singular and plural, the nearest
// certificate and its date.
#include "DueNotice.h"

#include <QtTest>

namespace {

TDueCertificate Due(const QString &Company, int DaysLeft, bool Expired = false)
{
    TDueCertificate c;
    c.Company = Company;
    c.Cuit = QStringLiteral("30-71234567-1");
    c.Holder = QStringLiteral("facturacion");
    c.Expiry = QDate(2025, 5, 10).addDays(DaysLeft);
    c.DaysLeft = DaysLeft;
    c.Expired = Expired;
    return c;
}

} // namespace

class TestDueNotice : public QObject
{
    Q_OBJECT
private slots:
    void notices_data();
    void notices();
    void nearestDoesNotDependOnOrder();
    void names();
};

void TestDueNotice::notices_data()
{
    QTest::addColumn<QList<TDueCertificate>>("due");
    QTest::addColumn<QString>("summary");
    QTest::addColumn<QString>("body");
    const QString one = QStringLiteral("\nRenuévelo desde «Mis certificados».");
    const QString many = QStringLiteral("\nRenuévelos desde «Mis certificados».");
    QTest::newRow("one in days") << QList<TDueCertificate>{Due(QStringLiteral("Acme S.A."), 5)}
        << QStringLiteral("Un certificado por vencer")
        << QStringLiteral("Acme S.A. vence el 15/05/2025 (dentro de 5 días).") + one;
    QTest::newRow("one tomorrow") << QList<TDueCertificate>{Due(QStringLiteral("Acme S.A."), 1)}
        << QStringLiteral("Un certificado por vencer")
        << QStringLiteral("Acme S.A. vence el 11/05/2025 (mañana).") + one;
    QTest::newRow("one today") << QList<TDueCertificate>{Due(QStringLiteral("Acme S.A."), 0)}
        << QStringLiteral("Un certificado por vencer")
        << QStringLiteral("Acme S.A. vence el 10/05/2025 (hoy).") + one;
    QTest::newRow("one expired today") << QList<TDueCertificate>{Due(QStringLiteral("Acme S.A."), 0, true)}
        << QStringLiteral("Un certificado vencido")
        << QStringLiteral("Acme S.A. venció el 10/05/2025 (hoy).") + one;
    QTest::newRow("one expired yesterday") << QList<TDueCertificate>{Due(QStringLiteral("Acme S.A."), -1, true)}
        << QStringLiteral("Un certificado vencido")
        << QStringLiteral("Acme S.A. venció el 09/05/2025 (ayer).") + one;
    QTest::newRow("two soon")
        << QList<TDueCertificate>{Due(QStringLiteral("Beta SRL"), 20), Due(QStringLiteral("Acme S.A."), 3)}
        << QStringLiteral("2 certificados por vencer")
        << QStringLiteral("El próximo en vencer: Acme S.A., el 13/05/2025 (dentro de 3 días).") + many;
    QTest::newRow("all expired")
        << QList<TDueCertificate>{Due(QStringLiteral("Beta SRL"), -40, true), Due(QStringLiteral("Acme S.A."), -3, true)}
        << QStringLiteral("2 certificados vencidos")
        << QStringLiteral("El último en vencer: Acme S.A., el 07/05/2025 (hace 3 días).") + many;
    QTest::newRow("one expired, two soon")
        << QList<TDueCertificate>{Due(QStringLiteral("Gamma"), 30), Due(QStringLiteral("Beta SRL"), -2, true),
                                  Due(QStringLiteral("Acme S.A."), 12)}
        << QStringLiteral("3 certificados vencidos o por vencer")
        << QStringLiteral("1 ya venció y 2 vencen en los próximos 30 días.\n"
                          "El próximo en vencer: Acme S.A., el 22/05/2025 (dentro de 12 días).") + many;
    QTest::newRow("two expired, one soon")
        << QList<TDueCertificate>{Due(QStringLiteral("Gamma"), -30, true), Due(QStringLiteral("Beta SRL"), -2, true),
                                  Due(QStringLiteral("Acme S.A."), 1)}
        << QStringLiteral("3 certificados vencidos o por vencer")
        << QStringLiteral("2 ya vencieron y 1 vence en los próximos 30 días.\n"
                          "El próximo en vencer: Acme S.A., el 11/05/2025 (mañana).") + many;
    QTest::newRow("company with placeholders")
        << QList<TDueCertificate>{Due(QStringLiteral("%1 %2 & <b>"), 9)}
        << QStringLiteral("Un certificado por vencer")
        << QStringLiteral("%1 %2 & <b> vence el 19/05/2025 (dentro de 9 días).") + one;
}

void TestDueNotice::notices()
{
    QFETCH(QList<TDueCertificate>, due);
    QFETCH(QString, summary);
    QFETCH(QString, body);
    const TDueNotice notice = DueNoticeFor(due);
    QCOMPARE(notice.Summary, summary);
    QCOMPARE(notice.Body, body);
}

void TestDueNotice::nearestDoesNotDependOnOrder()
{
    QList<TDueCertificate> due{Due(QStringLiteral("Zeta"), 4), Due(QStringLiteral("Alfa"), 4),
                               Due(QStringLiteral("Beta"), 9)};
    const QString body = DueNoticeFor(due).Body;
    std::reverse(due.begin(), due.end());
    QCOMPARE(DueNoticeFor(due).Body, body);
    QVERIFY2(body.contains(QStringLiteral("El próximo en vencer: Alfa,")), qPrintable(body));
}

void TestDueNotice::names()
{
    TDueCertificate c = Due(QStringLiteral("  Acme \n S.A. "), 3);
    QCOMPARE(DueCertificateName(c), QStringLiteral("Acme S.A."));
    c.Company.clear();
    QCOMPARE(DueCertificateName(c), QStringLiteral("facturacion"));
    c.Holder.clear();
    QCOMPARE(DueCertificateName(c), QStringLiteral("30-71234567-1"));
    c.Cuit.clear();
    QCOMPARE(DueCertificateName(c), QStringLiteral("(sin nombre)"));
}

QTEST_GUILESS_MAIN(TestDueNotice)
#include "tst_DueNotice.moc"

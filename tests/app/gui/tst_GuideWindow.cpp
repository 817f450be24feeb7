// The guide "Cómo seguir": what it tells (the steps at the authority's site
// for production and testing, where the certificate goes, the check, the
// key's backup, the sales system), how a screen reader finds its way in it
// (headings, names), and that it fits the screen and reads whole at the
// scale in use. With ZEDEDE_SHOTS_DIR set it is saved there, named after
// ZEDEDE_LOOK_VARIANT.

#include "AccessibleWidgets.h"
#include "GuideWindow.h"
#include "HeadingLabel.h"
#include "ProgramLook.h"

#include <QAccessible>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>

class TestGuideWindow : public QObject
{
    Q_OBJECT

    static QString AllText(const TfrmComoSeguir &AGuide)
    {
        QStringList parts;
        for (QLabel *l : AGuide.findChildren<QLabel *>())
            parts << l->text();
        return parts.join('\n');
    }

private slots:
    void initTestCase() { ApplyProgramLook(*qApp); }

    void tellsTheStepsAfterTheRequest()
    {
        TfrmComoSeguir g;
        QVERIFY(g.windowTitle().contains(QStringLiteral("ARCA (ex AFIP)")));
        const QString text = AllText(g);
        for (const char *needed :
             {"ARCA (ex AFIP)", "«Administración de Certificados Digitales»", "«Agregar alias»",
              ".req", ".crt", "misma carpeta donde está la clave privada",
              "«Administrador de Relaciones de Clave Fiscal»", "«Nueva Relación»",
              "computador fiscal", "«Facturación electrónica» (wsfe)",
              "«WSASS - Autogestión Certificados Homologación»", "homologación",
              "«Verificar certificado»", "no tiene contraseña", "medio seguro",
              "«Parámetros»", "Source_", "No es su Clave Fiscal"}) {
            QVERIFY2(text.contains(QString::fromUtf8(needed)), needed);
        }
        // Production and testing each have their own section.
        QStringList headings;
        for (THeadingLabel *h : g.Headings)
            headings << h->text();
        QVERIFY(headings.filter(QStringLiteral("Producción")).size() == 2);
        QVERIFY(headings.filter(QStringLiteral("Homologación")).size() == 1);
        // Everything is plain text: nothing read from a file is taken as markup.
        for (QLabel *l : g.findChildren<QLabel *>())
            QCOMPARE(l->textFormat(), Qt::PlainText);

        g.ShowFiles(QStringLiteral("/home/ana/Mis certificados/"), QStringLiteral("Privada_A_B.key"),
                    QStringLiteral("Pedido_A_B.req"), QStringLiteral("Source_A_B.txt"));
        for (const char *name : {"/home/ana/Mis certificados/", "Privada_A_B.key", "Pedido_A_B.req",
                                 "Source_A_B.txt"})
            QVERIFY2(g.laArchivos->text().contains(QLatin1String(name)), name);
    }

    void aScreenReaderFindsHeadingsAndButtons()
    {
        InstallAccessibleWidgets();
        TfrmComoSeguir g;
        int called = 0;
        g.SetOnVerify([&called] { ++called; });
        g.show();
        g.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&g));
        QVERIFY(g.Headings.size() >= 8);
        for (THeadingLabel *h : g.Headings) {
            QAccessibleInterface *a = QAccessible::queryAccessibleInterface(h);
            QVERIFY(a);
            QCOMPARE(a->role(), QAccessible::Heading);
            QCOMPARE(a->text(QAccessible::Name), h->text());
        }
        QAccessibleInterface *area = QAccessible::queryAccessibleInterface(g.saGuia);
        QVERIFY(area && !area->text(QAccessible::Name).isEmpty());
        QVERIFY(g.saGuia->hasFocus());
        // The buttons: mnemonics that act.
        QCOMPARE(g.btVerificar->text(), QStringLiteral("&Verificar certificado..."));
        QCOMPARE(g.btCerrar->text(), QStringLiteral("&Cerrar"));
        QVERIFY(g.btVerificar->isVisible());
        QCOMPARE(g.btVerificar->shortcut(), QKeySequence(QStringLiteral("Alt+V")));
        QCOMPARE(g.btCerrar->shortcut(), QKeySequence(QStringLiteral("Alt+C")));
        g.btVerificar->click();
        QCOMPARE(called, 1);
        g.SetOnVerify(nullptr);
        QVERIFY(!g.btVerificar->isVisible());
        g.btCerrar->click();
        QTRY_VERIFY(!g.isVisible());
    }

    // On the screen whatever the scale, no text cut at the sides or at its
    // foot: the text scrolls instead, down to its last line.
    void fitsTheScreenAndReadsWhole()
    {
        TfrmComoSeguir g;
        g.show();
        QVERIFY(QTest::qWaitForWindowExposed(&g));
        const QRect avail = g.screen()->availableGeometry();
        QVERIFY2(avail.contains(g.frameGeometry()) || avail.contains(g.geometry()),
                 qPrintable(QStringLiteral("%1x%2 on %3x%4").arg(g.width()).arg(g.height())
                                .arg(avail.width()).arg(avail.height())));
        QWidget *contents = g.saGuia->widget();
        QVERIFY(contents->width() <= g.saGuia->viewport()->width());
        for (QLabel *l : contents->findChildren<QLabel *>()) {
            QVERIFY2(l->heightForWidth(l->width()) <= l->height(),
                     qPrintable(l->text().left(40)));
            QVERIFY(l->geometry().right() <= contents->width());
        }
        QVERIFY(g.btCerrar->geometry().bottom() < g.height());
        QScrollBar *bar = g.saGuia->verticalScrollBar();
        bar->setValue(bar->maximum());
        QLabel *last = g.Paragraphs.constLast();
        const QPoint bottom = last->mapTo(g.saGuia->viewport(), QPoint(0, last->height()));
        QVERIFY(bottom.y() <= g.saGuia->viewport()->height());

        const QString dir = qEnvironmentVariable("ZEDEDE_SHOTS_DIR");
        if (!dir.isEmpty()) {
            QString variant = qEnvironmentVariable("ZEDEDE_LOOK_VARIANT");
            if (variant.isEmpty())
                variant = QStringLiteral("normal");
            QDir().mkpath(dir);
            bar->setValue(0);
            g.grab().save(dir + QStringLiteral("/guia-%1.png").arg(variant));
        }
    }
};

QTEST_MAIN(TestGuideWindow)
#include "tst_GuideWindow.moc"

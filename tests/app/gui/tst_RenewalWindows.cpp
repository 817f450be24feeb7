#include "RenewalGuide.h"
#include "RenewalStart.h"
#include "VerifyWindow.h"
#include "ZeDedeApp.h"

#include "AppTestSupport.h"
#include "WindowTestSupport.h"
#include "CuitMaskEdit.h"
#include "ProgramLook.h"
#include "RenewalFolders.h"
#include "RenewalTestSupport.h"
#include "ScriptedDialogs.h"
#include "UCWWizard.h"
#include "uZeDede.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

class TestRenewalWindows : public QObject
{
    Q_OBJECT
    QTemporaryDir FDir{AccentedTemporaryPattern()};
    TTestAuthority FAuthority;
    const QDate FDay{2026, 3, 14};

private slots:
    void cleanupTestCase() { ForgetOpenSSLFolder(); }

    void initTestCase()
    {
        QVERIFY(FDir.isValid());
        UseTemporaryHome(FDir.filePath("home"));
        LoadSpanishTranslation(*qApp);
        ApplyUserInterfaceFont(*qApp);
        StandInOpenSSLFolder(FDir.filePath("openssl/"));
        QVERIFY(MakeLocalAuthority(FAuthority, FDir.filePath("ca")));
        Scripted().OnBox = [](const TMessageBoxRequest &R) {
            return R.Buttons & QMessageBox::Yes ? QMessageBox::Yes : R.Default;
        };
    }

    // Renovar: the data page filled, the renewal folder as destination; the
    // files written there, the note and the guidance shown; the check then
    // offers the new certificate and puts it in use.
    void renewalThroughTheWindows()
    {
        const TCompanyFolder c = MakeCompanyFolder(FAuthority, FDir.filePath("acme"));
        QVERIFY(!c.Key.isEmpty());
        const auto before = FolderHashes(c.Folder);
        const QString suffix = QString::fromUtf8(kSuffix);

        QPointer<TfrmZeDede> frm = OpenRenewalWizard(c.Certificate, FDay);
        QVERIFY(frm);
        QCOMPARE(frm->wizt->ActivePage(), frm->wpDatos);
        QCOMPARE(frm->eNombreEmpresa->text(), QString::fromUtf8(kCompany));
        QCOMPARE(frm->eCUIT->Text(), QStringLiteral("20-12345678-6"));
        QCOMPARE(frm->eOperador->text(), QString::fromUtf8(kOperator));
        QCOMPARE(frm->eMail->text(), QString::fromUtf8(kMail));
        const QString folder = c.Folder + "/" + RenewalFolderName(FDay);
        QCOMPARE(frm->eCarpeta->text(), folder);
        QVERIFY(frm->ePassword->text().isEmpty());
        SaveShot(frm, "renewal-datos");

        frm->ePassword->setText("secreto");
        frm->ePassword2->setText("secreto");
        frm->wizt->NextButton->click();
        QCOMPARE(frm->wizt->ActivePage(), frm->wpFinal);
        auto *note = frm->findChild<QLabel *>("laNotaRenovacion");
        QVERIFY(note && note->isVisible());
        QCOMPARE(note->text(), kRenewalFolderNote);
        QVERIFY(!note->geometry().intersects(frm->eCarpetaPedido->geometry()));
        auto *guide = frm->findChild<TfrmGuiaRenovacion *>();
        QVERIFY(guide && guide->isVisible());
        QCOMPARE(guide->laPasos.size(), 4);
        QVERIFY(guide->laPasos.at(0)->text().contains("Administración de Certificados Digitales"));
        QVERIFY(guide->laPasos.at(0)->text().contains("Agregar certificado"));
        QVERIFY(guide->laPasos.at(1)->text().contains(QDir::toNativeSeparators(folder)));
        for (QLabel *l : guide->laPasos)
            QCOMPARE(l->textFormat(), Qt::PlainText);
        SaveShot(frm, "renewal-resultado");
        SaveShot(guide, "renewal-guia");

        // The key and certificate in use are as they were.
        auto after = FolderHashes(c.Folder);
        for (auto it = before.cbegin(); it != before.cend(); ++it)
            QCOMPARE(after.take(it.key()), it.value());
        QCOMPARE(after.size(), 3);
        frm->close();
        QTRY_VERIFY(!frm);

        // The check of the certificate in use offers its renewal only.
        TfrmVerificar check;
        check.OpenFile(c.Certificate);
        QVERIFY(check.btRenovar->isEnabled());
        QVERIFY(!check.btUsarCertificado->isEnabled());
        // "Renovar" there opens the wizard for it, through the program's openers.
        InstallWindowOpeners();
        check.btRenovar->click();
        QPointer<TfrmZeDede> fromCheck;
        for (QWidget *w : QApplication::topLevelWidgets())
            if (auto *z = qobject_cast<TfrmZeDede *>(w); z && z->isVisible())
                fromCheck = z;
        QVERIFY(fromCheck);
        QCOMPARE(fromCheck->wizt->ActivePage(), fromCheck->wpDatos);
        QCOMPARE(fromCheck->eOperador->text(), QString::fromUtf8(kOperator));
        QVERIFY(fromCheck->eCarpeta->text().startsWith(c.Folder + "/Renovación "));
        fromCheck->close();
        QTRY_VERIFY(!fromCheck);

        // The authority's answer in the renewal folder: put in use.
        const QString fresh = folder + "/nuevo.crt";
        QVERIFY(FAuthority.SignFor(folder + "/Pedido_" + suffix + ".req", fresh, 730));
        const QByteArray newKey = ReadTestFile(folder + "/Privada_" + suffix + ".key");
        check.OpenFile(fresh);
        QVERIFY(check.btUsarCertificado->isEnabled());
        SaveShot(&check, "renewal-verificar");
        check.btUsarCertificado->click();
        QCOMPARE(ReadTestFile(c.Key), newKey);
        QCOMPARE(check.Verification().File, c.Certificate);
        QVERIFY(!check.btUsarCertificado->isEnabled());
    }

    void guideForTesting()
    {
        const QStringList steps = RenewalGuideSteps(TIssuerKind::Testing, "alias", "/x/Pedido_a.req",
                                                    "/x/Renovación 2026-03-14");
        QVERIFY(steps.at(0).contains("homologación"));
        QVERIFY(!steps.at(0).contains("Agregar certificado"));
        QVERIFY(steps.at(0).contains("Pedido_a.req"));
    }
};

QTEST_MAIN(TestRenewalWindows)
#include "tst_RenewalWindows.moc"

// One real run of the program's window: a fresh home without OpenSSL set
// up on a machine that has openssl, the installer next to the program
// preparing the folder without a question, a 4096-bit key and a request
// made by the real openssl, checked with openssl afterwards.
//
// With ZEDEDE_SHOTS_DIR set, the three pages are saved there as PNG files.

#include "CuitMaskEdit.h"
#include "OpenSSLSetup.h"
#include "UCWWizard.h"
#include "MessageBoxes.h"
#include "ScriptedDialogs.h"
#include "ZeDedeApp.h"
#include "UserInterfaceFont.h"
#include "uZeDede.h"
#include "WindowTestSupport.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QRegularExpression>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {
QString openssl(const QStringList &AArgs)
{
    QProcess p;
    p.start(QStringLiteral("openssl"), AArgs);
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return QStringLiteral("<openssl failed: ") + QString::fromUtf8(p.readAllStandardError())
               + QLatin1Char('>');
    return QString::fromUtf8(p.readAllStandardOutput());
}

void shot(QWidget *AWidget, const QString &AName)
{
    const QString dir = qEnvironmentVariable("ZEDEDE_SHOTS_DIR");
    if (dir.isEmpty())
        return;
    QDir().mkpath(dir);
    AWidget->grab().save(dir + QLatin1Char('/') + AName);
}
} // namespace

class TestfrmZeDedeEndToEnd : public QObject
{
    Q_OBJECT
    QTemporaryDir FHome;
    QStringList FQuestions;
    QStringList FErrors;

private slots:
    void initTestCase()
    {
        QVERIFY(FHome.isValid());
        UseTemporaryHome(FHome.path());
        QDir().mkpath(FHome.path() + "/Documents");
        if (!GetOpenSSLDir().isEmpty())
            QSKIP("OPENSSL_CONF is set machine-wide; the installation path cannot be walked");
        Scripted().RealBoxes = false;
        Scripted().OnBox = [this](const TMessageBoxRequest &R) {
            const auto AIcon = R.Icon; const auto AText = R.Text; const auto ADefault = R.Default;
            if (AIcon == QMessageBox::Question) {
                FQuestions << AText;
                return ADefault;   // the user presses Enter: Yes
            }
            FErrors << AText;
            return QMessageBox::Ok;
        };
    }

    void aUserWalksFromWelcomeToTheGeneratedFiles()
    {
        QApplication::setFont([] {
            QFont f(UserInterfaceFontFamily());
            f.setPixelSize(11);
            return f;
        }());
        TfrmZeDede frm;
        frm.ProgramFolder = qEnvironmentVariable("ZEDEDE_BINARY_DIR") + QStringLiteral("/bin");
        QVERIFY2(QFile::exists(InstallerPath(frm.ProgramFolder)),
                 qPrintable(InstallerPath(frm.ProgramFolder)));
        frm.show();
        frm.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&frm));
        shot(&frm, QStringLiteral("1-bienvenida.png"));

        // Welcome -> Next: this user has no OpenSSL folder yet; the machine
        // has openssl, so the installer next to the program prepares it
        // without asking.
        QTest::mouseClick(frm.wizt->NextButton, Qt::LeftButton);
        QVERIFY2(FQuestions.isEmpty(), qPrintable(FQuestions.join('\n')));
        QVERIFY2(FErrors.isEmpty(), qPrintable(FErrors.join('\n')));
        QCOMPARE(frm.wizt->ActivePage(), frm.wpDatos);
        QCOMPARE(GetOpenSSLDir(), FHome.path() + QStringLiteral("/.local/share/Vemra/OpenSSL/"));
        QVERIFY(!QApplication::overrideCursor());

        const QString folder = FHome.path() + QStringLiteral("/Documents/Mis certificados");
        QCOMPARE(frm.eCarpeta->text(), folder);
        QVERIFY(frm.eNombreEmpresa->hasFocus());
        QVERIFY(!frm.wizt->NextButton->isEnabled());

        // The user types the data, moving with Tab.
        TypeText(frm.eNombreEmpresa, QStringLiteral("Compañía S.A."));
        QTest::keyClick(frm.eNombreEmpresa, Qt::Key_Tab);
        QVERIFY(frm.eCUIT->hasFocus());
        frm.eCUIT->home(false);
        QTest::keyClicks(frm.eCUIT, QStringLiteral("20123456786"));
        QCOMPARE(frm.eCUIT->Text(), QStringLiteral("20-12345678-6"));
        QTest::keyClick(frm.eCUIT, Qt::Key_Tab);
        QVERIFY(frm.eOperador->hasFocus());
        QCOMPARE(frm.cxLabelHint->text(), TfrmZeDede::HintOperador);
        TypeText(frm.eOperador, QStringLiteral("José Pérez"));
        QTest::keyClick(frm.eOperador, Qt::Key_Tab);
        QTest::keyClicks(frm.eMail, QStringLiteral("jose@example.com"));
        QTest::keyClick(frm.eMail, Qt::Key_Tab);
        QTest::keyClicks(frm.ePassword, QStringLiteral("secreto1"));
        QTest::keyClick(frm.ePassword, Qt::Key_Tab);
        QTest::keyClicks(frm.ePassword2, QStringLiteral("secreto1"));
        QTest::keyClick(frm.ePassword2, Qt::Key_Tab);
        QVERIFY(frm.eCarpeta->hasFocus());
        QCOMPARE(frm.cxLabelHint->text(), TfrmZeDede::HintGeneracion);
        QVERIFY(frm.wizt->NextButton->isEnabled());
        shot(&frm, QStringLiteral("2-datos.png"));

        // Next: validation creates the folder, openssl makes key and request.
        QTest::mouseClick(frm.wizt->NextButton, Qt::LeftButton);
        QVERIFY2(FErrors.isEmpty(), qPrintable(FErrors.join('\n')));
        QCOMPARE(frm.wizt->ActivePage(), frm.wpFinal);
        QVERIFY(!QApplication::overrideCursor());
        QCOMPARE(frm.laFilePrivada->text(), QStringLiteral("Privada_CompaaSA_JosPrez.key"));
        QCOMPARE(frm.laFilePedido->text(), QStringLiteral("Pedido_CompaaSA_JosPrez.req"));
        QCOMPARE(frm.laFileSource->text(), QStringLiteral("Source_CompaaSA_JosPrez.txt"));
        QCOMPARE(frm.eCarpetaPedido->text(), folder + QLatin1Char('/'));
        QVERIFY(!frm.wizt->NextButton->isEnabled());
        QVERIFY(frm.wizt->FinishButton->isEnabled());
        QVERIFY(frm.wizt->BackButton->isEnabled());
        QCOMPARE(frm.wizt->TopTitle->text(), QStringLiteral("Información procesada"));
        QCOMPARE(frm.wizt->PictureAlign(), alPTop);
        shot(&frm, QStringLiteral("3-final.png"));

        const QString key = folder + QStringLiteral("/Privada_CompaaSA_JosPrez.key");
        const QString req = folder + QStringLiteral("/Pedido_CompaaSA_JosPrez.req");
        const QString src = folder + QStringLiteral("/Source_CompaaSA_JosPrez.txt");
        QVERIFY(openssl({"rsa", "-in", key, "-noout", "-text"})
                    .startsWith(QStringLiteral("Private-Key: (4096 bit")));
        const QString subject =
            openssl({"req", "-in", req, "-noout", "-subject", "-nameopt", "RFC2253,-esc_msb"});
        QCOMPARE(subject.trimmed(),
                 QStringLiteral("subject=emailAddress=jose@example.com,CN=José Pérez,"
                                "O=Compañía S.A.,serialNumber=CUIT 20123456786,C=AR"));
        const QString text = openssl({"req", "-in", req, "-noout", "-text"});
        QVERIFY2(text.contains(QRegularExpression(QStringLiteral("challengePassword\\s*:secreto1"))),
                 qPrintable(text));
        QVERIFY(!openssl({"req", "-in", req, "-noout", "-verify"}).startsWith("<openssl failed"));
        QFile origin(src);
        QVERIFY(origin.open(QIODevice::ReadOnly));
        QCOMPARE(origin.readAll(),
                 QByteArray("C=AR,O=Compa\xf1\xed" "a S.A.,serialNumber=CUIT 20123456786,"
                            "CN=Jos\xe9 P\xe9rez,emailAddress=jose@example.com"));

        // Enter presses Terminar, which closes the window.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QTRY_VERIFY(!frm.isVisible());
        QVERIFY(FQuestions.isEmpty());
    }
};

QTEST_MAIN(TestfrmZeDedeEndToEnd)
#include "tst_uZeDedeEndToEnd.moc"

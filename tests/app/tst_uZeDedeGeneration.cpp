// The main window while it generates: values it refuses, OpenSSL's failures
// shown with their details. openssl is the stand-in of tests/app/data.
//
// With ZEDEDE_SHOTS_DIR set, what the user sees is saved there as PNG files.

#include "CuitMaskEdit.h"
#include "Process.h"
#include "UCWWizard.h"
#include "ZeDedeApp.h"
#include "uZeDede.h"
#include "AppTestSupport.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QTimer>

#include <memory>

namespace {

QString ShotsDir()
{
    return qEnvironmentVariable("ZEDEDE_SHOTS_DIR");
}

// The window as the user sees it, with Box (when given) drawn over it where
// a message box centred on the window stands.
void Shot(QWidget *Window, QWidget *Box, const QString &Name)
{
    if (ShotsDir().isEmpty())
        return;
    QDir().mkpath(ShotsDir());
    QPixmap pm = Window->grab();
    if (Box) {
        const QPixmap box = Box->grab();
        QPainter p(&pm);
        const QPoint at((pm.width() - box.width()) / 2, (pm.height() - box.height()) / 2);
        p.fillRect(QRect(at + QPoint(3, 3), box.size()), QColor(0, 0, 0, 60));
        p.drawPixmap(at, box);
        p.setPen(Qt::darkGray);
        p.drawRect(QRect(at, box.size()).adjusted(-1, -1, 0, 0));
    }
    pm.save(ShotsDir() + QLatin1Char('/') + Name);
}

} // namespace

class TestfrmZeDedeGeneration : public QObject
{
    Q_OBJECT
    QTemporaryDir FHome;
    QString FSsl;
    QList<TRecordedBox> FBoxes;
    QStringList FDetails;
    std::unique_ptr<TfrmZeDede> F;

    void hookBoxes()
    {
        MessageBoxHook = [this](QWidget *, QMessageBox::Icon AIcon, const QString &ATitle,
                                const QString &AText, QMessageBox::StandardButtons AButtons,
                                QMessageBox::StandardButton ADefault) {
            FBoxes.append({AIcon, ATitle, AText, AButtons, ADefault});
            FDetails.append(ErrorBoxDetails());
            return AButtons.testFlag(QMessageBox::Yes) ? QMessageBox::Yes : QMessageBox::Ok;
        };
    }

    void clickNext() { QTest::mouseClick(F->wizt->NextButton, Qt::LeftButton); }

    // On the data page with valid data, the destination Folder.
    void fillDataPage(const QString &Folder)
    {
        clickNext();
        QCOMPARE(F->wizt->ActivePage(), F->wpDatos);
        TypeText(F->eNombreEmpresa, QStringLiteral("Compañía S.A."));
        F->eCUIT->setFocus();
        F->eCUIT->home(false);
        QTest::keyClicks(F->eCUIT, QStringLiteral("20123456786"));
        TypeText(F->eOperador, QStringLiteral("José Pérez"));
        QTest::keyClicks(F->eMail, QStringLiteral("jose@example.com"));
        QTest::keyClicks(F->ePassword, QStringLiteral("secreto"));
        QTest::keyClicks(F->ePassword2, QStringLiteral("secreto"));
        F->eCarpeta->setText(Folder);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(FHome.isValid());
        UseTemporaryHome(FHome.path());
        QDir().mkpath(FHome.path() + QStringLiteral("/Documents"));
        FSsl = StandInOpenSSLFolder(FHome.filePath(QStringLiteral("ssl/")));
        qunsetenv("LOG");
        TCuitMaskEdit::Beep = [] {};
        QVERIFY(LoadSpanishTranslation(*qApp));
    }

    void init()
    {
        FBoxes.clear();
        FDetails.clear();
        hookBoxes();
        qputenv("GENRSA", "key");
        qputenv("REQ", "real");
        F = std::make_unique<TfrmZeDede>();
        F->show();
        F->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(F.get()));
    }

    void cleanup()
    {
        F.reset();
        SetExecuteWaits(TExecuteWaits());
    }

    void aPastedLineBreakIsRefusedOnItsField()
    {
        const QString folder = FHome.filePath(QStringLiteral("pegado"));
        fillDataPage(folder);
        // Pasted from a word processor, with a line break and a configuration line.
        F->eNombreEmpresa->clear();
        F->eNombreEmpresa->setFocus();
        QApplication::clipboard()->setText(
            QStringLiteral("Café “La Esquina” – S.R.L.\ncommonName_default=Mallory"));
        QTest::keyClick(F->eNombreEmpresa, Qt::Key_V, Qt::ControlModifier);
        QVERIFY(F->eNombreEmpresa->text().startsWith(QStringLiteral("Café “La Esquina”")));
        QVERIFY(F->eNombreEmpresa->text().contains(QLatin1Char('\n'))); // a line edit keeps it
        F->eCarpeta->setFocus();
        clickNext();
        QCOMPARE(FBoxes.size(), 1);
        QCOMPARE(FBoxes[0].Icon, QMessageBox::Critical);
        QCOMPARE(FBoxes[0].Text, QStringLiteral("El nombre de la empresa contiene un salto de "
                                                "línea, que no se puede usar."));
        QVERIFY(F->eNombreEmpresa->hasFocus());
        QCOMPARE(F->cxLabelHint->text(), TfrmZeDede::HintOrganizacion);
        QCOMPARE(F->wizt->ActivePage(), F->wpDatos);
        QVERIFY(!QFileInfo::exists(FSsl + QStringLiteral("vemra.cnf")));
        QCOMPARE(FolderEntries(folder), QStringList());
    }

    void aRefusedCharacterIsNamedAndNothingIsWritten()
    {
        const QString folder = FHome.filePath(QStringLiteral("rechazo"));
        fillDataPage(folder);
        F->eOperador->setText(QStringLiteral("Łukasz Żółć"));
        F->eCarpeta->setFocus();
        MessageBoxHook = nullptr;
        QString text;
        QTimer::singleShot(0, this, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            QVERIFY(box);
            text = box->text();
            Shot(F.get(), box, QStringLiteral("10-datos-valor-rechazado.png"));
            box->button(QMessageBox::Ok)->click();
        });
        clickNext();
        QCOMPARE(text, QStringLiteral("El nombre del operador contiene «Ł» (U+0141), que no se "
                                      "puede usar: solo se admiten letras, números y signos de "
                                      "Europa occidental."));
        // The window's focus is in the field when the box has gone.
        QCOMPARE(F->focusWidget(), F->eOperador);
        QCOMPARE(F->cxLabelHint->text(), TfrmZeDede::HintOperador);
        Shot(F.get(), nullptr, QStringLiteral("10-datos-foco-en-el-campo.png"));
        QVERIFY(!QFileInfo::exists(FSsl + QStringLiteral("vemra.cnf")));
    }

    void anOpenSSLFailureShowsItsReasonInTheDetails()
    {
        // A destination OpenSSL cannot write to, with the real openssl.
        qputenv("GENRSA", "real");
        const QString folder = FHome.filePath(QStringLiteral("solo lectura"));
        QDir().mkpath(folder);
        fillDataPage(folder);
        if (!MakeReadOnlyFolder(folder))
            QSKIP("this system cannot make a folder read-only for this user");
        MessageBoxHook = nullptr;
        QString text;
        QString details;
        QTimer::singleShot(0, this, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            QVERIFY(box);
            text = box->text();
            details = box->detailedText();
            // Show the details as the user would.
            for (QAbstractButton *b : box->buttons()) {
                if (box->buttonRole(b) == QMessageBox::ActionRole)
                    b->click();
            }
            QApplication::processEvents();
            if (auto *edit = box->findChild<QTextEdit *>())
                QVERIFY(edit->isVisible());
            Shot(F.get(), box, QStringLiteral("10-error-con-detalles.png"));
            box->button(QMessageBox::Ok)->click();
        });
        clickNext();
        MakeWritableFolder(folder);
        QCOMPARE(text, QStringLiteral("fallo genrsa."));
        QVERIFY2(details.startsWith(QStringLiteral("OpenSSL terminó con el código 1.\n\n"
                                                   "Salida de OpenSSL:\ngenrsa: Can't open")),
                 qPrintable(details));
        QVERIFY(!details.contains(QStringLiteral("secreto")));
        QCOMPARE(F->wizt->ActivePage(), F->wpDatos);
        QVERIFY(LogText().contains(QStringLiteral("fallo genrsa")));
        QVERIFY(!LogText().contains(QStringLiteral("secreto")));
    }
};

QTEST_MAIN(TestfrmZeDedeGeneration)
#include "tst_uZeDedeGeneration.moc"

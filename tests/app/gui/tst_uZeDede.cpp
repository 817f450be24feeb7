// The main window driven as a user drives it: navigation, the completeness
// rule, validation with focus and hint, the default folder, the folder
// dialog, the links and the picture swap. OpenSSL itself is not run here.

#include "CuitMaskEdit.h"
#include "FileCtrlKv.h"
#include "OpenSSLSetup.h"
#include "UCWWizard.h"
#include "MessageBoxes.h"
#include "ScriptedDialogs.h"
#include "ZeDedeApp.h"
#include "uZeDede.h"
#include "WindowTestSupport.h"
#include "Registry.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QTest>
#include <QToolButton>
#include <QTreeView>

#include <memory>

class TestfrmZeDede : public QObject
{
    Q_OBJECT
    QTemporaryDir FHome;
    QList<TRecordedBox> FBoxes;
    QMessageBox::StandardButton FAnswer = QMessageBox::Yes;
    QList<QUrl> FOpened;
    std::unique_ptr<TfrmZeDede> F;

    QString documents() const { return FHome.path() + QStringLiteral("/Documents"); }

    void setOpenSSLConfigured(bool AConfigured)
    {
        const QString file = UserEnvironmentFile();
        QDir().mkpath(QFileInfo(file).path());
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        if (AConfigured)
            f.write("OPENSSL_CONF=" + FHome.path().toLocal8Bit() + "/ssl/openssl.cnf\n");
    }

    void clickNext() { QTest::mouseClick(F->wizt->NextButton, Qt::LeftButton); }

    // Runs Body on a machine without an openssl program (PATH finds the
    // tools a stand-in installer uses, but no openssl).
    template <typename F>
    void withoutOpenSSLProgram(F Body)
    {
        WithPath(ToolsWithoutOpenSSL(FHome.path()), Body);
    }
    void showActive()
    {
        F->show();
        F->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(F.get()));
    }
    void clickBack() { QTest::mouseClick(F->wizt->BackButton, Qt::LeftButton); }

    void goToDataPage()
    {
        setOpenSSLConfigured(true);
        clickNext();
        QCOMPARE(F->wizt->ActivePage(), F->wpDatos);
    }

    void typeValidData()
    {
        TypeText(F->eNombreEmpresa, QStringLiteral("Compañía S.A."));
        F->eCUIT->setFocus();
        F->eCUIT->home(false);
        QTest::keyClicks(F->eCUIT, QStringLiteral("20123456786"));
        TypeText(F->eOperador, QStringLiteral("José Pérez"));
        QTest::keyClicks(F->eMail, QStringLiteral("jose@example.com"));
        QTest::keyClicks(F->ePassword, QStringLiteral("secreto"));
        QTest::keyClicks(F->ePassword2, QStringLiteral("secreto"));
    }

private slots:
    void initTestCase()
    {
        QVERIFY(FHome.isValid());
        UseTemporaryHome(FHome.path());
        QDir().mkpath(documents());
        Scripted().RealBoxes = false;
        Scripted().OnBox = [this](const TMessageBoxRequest &R) {
            const auto AIcon = R.Icon; const auto ATitle = R.Title; const auto AText = R.Text; const auto AButtons = R.Buttons; const auto ADefault = R.Default;
            FBoxes.append({AIcon, ATitle, AText, AButtons, ADefault});
            return AButtons.testFlag(QMessageBox::Yes) ? FAnswer : QMessageBox::Ok;
        };
        Scripted().OnOpenUrl = [this](const QUrl &AUrl) { FOpened.append(AUrl); };
    }

    void init()
    {
        FBoxes.clear();
        FOpened.clear();
        FAnswer = QMessageBox::Yes;
        setOpenSSLConfigured(false);
        F = std::make_unique<TfrmZeDede>();
        F->ProgramFolder = FHome.path() + QStringLiteral("/no-installer-here");
        F->show();
        F->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(F.get()));
    }

    void cleanup() { F.reset(); }

    void startsOnTheWelcomePageWithTheTallPicture()
    {
        QCOMPARE(F->windowTitle(),
                 QStringLiteral("Asistente para la generación del pedido de certificado "
                                "digital - Vemra Revororad S.A."));
        QCOMPARE(ApplicationTitle(), F->windowTitle());
        QCOMPARE(F->size(), QSize(709, 533));
        QCOMPARE(F->minimumSize(), F->maximumSize());
        QVERIFY(F->wizt->IsLoaded());
        QCOMPARE(F->wizt->PageCount(), 3);
        QCOMPARE(F->wizt->ActivePage(), F->wpInicial);
        QCOMPARE(F->wizt->FirstPage(), F->wpInicial);
        QVERIFY(!F->wizt->BackButton->isEnabled());
        QVERIFY(F->wizt->NextButton->isEnabled());
        QVERIFY(F->wizt->NextButtonByDefault());
        QVERIFY(!F->wizt->FinishButton->isEnabled());
        QCOMPARE(F->wizt->FinishButton->text(), QStringLiteral("&Terminar"));
        QCOMPARE(F->wizt->PictureAlign(), alPLeft);
        QCOMPARE(F->wizt->Picture()->Width(), 167);
        QCOMPARE(F->wizt->Picture()->Height(), 485);
        QCOMPARE(F->wpInicial->size(), QSize(542, 485));
        QVERIFY(!F->Page2Inicializada());
        QVERIFY(F->wpInicial->isVisible());
        QVERIFY(!F->wpDatos->isVisible());
    }

    void componentsStandWhereTheFormPutsThem()
    {
        QCOMPARE(F->Label16->geometry().topLeft(), QPoint(48, 32));
        QVERIFY(F->Label16->font().bold());
        QCOMPARE(F->Label16->font().pixelSize(), 13);
        QCOMPARE(F->GroupBox1->geometry(), QRect(92, 16, 525, 84));
        QCOMPARE(F->cxGroupBox4->geometry(), QRect(92, 112, 525, 157));
        QCOMPARE(F->cxGroupBox2->geometry(), QRect(92, 283, 525, 60));
        QCOMPARE(F->GroupBox1->title(), QStringLiteral("  Datos de la organización  "));
        QCOMPARE(F->eNombreEmpresa->geometry().topLeft(), QPoint(168, 20));
        // No limit in the edits: the validation names it instead.
        QCOMPARE(F->eNombreEmpresa->maxLength(), QLineEdit().maxLength());
        QCOMPARE(F->eOperador->maxLength(), QLineEdit().maxLength());
        QCOMPARE(F->eCUIT->geometry().topLeft(), QPoint(168, 52));
        QCOMPARE(F->eCUIT->width(), 191);
        QCOMPARE(F->eCUIT->Text(), QStringLiteral("  -        - "));
        QCOMPARE(F->ePassword->echoMode(), QLineEdit::Password);
        QCOMPARE(F->ePassword->style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter,
                                                   nullptr, F->ePassword),
                 int('*'));
        QCOMPARE(F->sbFolder->geometry(), QRect(492, 28, 23, 22));
        QCOMPARE(F->sbFolder->text(), QStringLiteral("..."));
        QCOMPARE(F->Shape4->geometry(), QRect(92, 361, 525, 64));
        QCOMPARE(F->cxLabelHint->geometry(), QRect(131, 365, 470, 57));
        QCOMPARE(F->cxLabelHint->text(), TfrmZeDede::HintOrganizacion);
        QVERIFY(F->eCarpetaPedido->isReadOnly());
        QCOMPARE(F->SpeedButton1->text(), QStringLiteral("Ir"));
        QCOMPARE(F->Label12->geometry().topLeft(), QPoint(64, 392));
        QVERIFY(F->Label12->font().underline());
        QCOMPARE(F->Label12->palette().color(QPalette::WindowText), QColor(Qt::blue));

        // The wizard's button bar holds the extra link at its left end.
        TLinkLabelKv *vemra = F->LabelVemra();
        QVERIFY(vemra);
        QCOMPARE(vemra->parentWidget(), F->wizt->CancelButton->parentWidget());
        QCOMPARE(TWizardKv::Tag(vemra), 4);
        QCOMPARE(vemra->text(), QStringLiteral("Visite la página de Vemra Revororad S.A."));
        QVERIFY(vemra->isVisible());
        QCOMPARE(vemra->x(), 8);
        QVERIFY(vemra->width() >= vemra->sizeHint().width());
        QVERIFY(vemra->geometry().right() < F->wizt->CancelButton->x());

        QCOMPARE(F->BrowseFolderDlgKV1->Title(), QStringLiteral("Buscar Carpeta"));
        QCOMPARE(F->BrowseFolderDlgKV1->BtnType(), btnone);
        QCOMPARE(F->BrowseFolderDlgKV1->BrowseKind(), bfFolders);
        QVERIFY(!F->BrowseFolderDlgKV1->ShowStatus());
    }

    void tabOrderFollowsTheDataPage()
    {
        goToDataPage();
        QVERIFY(F->eNombreEmpresa->hasFocus());
        const QList<QWidget *> expected = {F->eCUIT, F->eOperador, F->eMail,
                                           F->ePassword, F->ePassword2, F->eCarpeta};
        for (QWidget *w : expected) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), w);
        }
    }

    void withoutOpenSSLTheQuestionIsAskedAndNoStaysOnTheWelcomePage()
    {
        FAnswer = QMessageBox::No;
        withoutOpenSSLProgram([this] {
            clickNext();
            QCOMPARE(FBoxes.size(), 1);
            QCOMPARE(FBoxes[0].Icon, QMessageBox::Question);
            QCOMPARE(FBoxes[0].Text, InstallQuestionText());
            QCOMPARE(FBoxes[0].Buttons, QMessageBox::Yes | QMessageBox::No);
            QCOMPARE(FBoxes[0].Default, QMessageBox::Yes);
            QCOMPARE(FBoxes[0].Title, F->windowTitle());
            QCOMPARE(F->wizt->ActivePage(), F->wpInicial);
            // Asked again on every Next.
            clickNext();
            QCOMPARE(FBoxes.size(), 2);
        });
    }

    void aFailedInstallationIsShownAndKeepsTheWelcomePage()
    {
        withoutOpenSSLProgram([this] { FAnswer = QMessageBox::Yes; clickNext(); });
        QCOMPARE(FBoxes.size(), 2);
        QCOMPARE(FBoxes[1].Icon, QMessageBox::Critical);
        QCOMPARE(FBoxes[1].Buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        QCOMPARE(FBoxes[1].Text, QStringLiteral("No se pudo encontrar el archivo %1.")
                                     .arg(InstallerPath(F->ProgramFolder)));
        QCOMPARE(F->wizt->ActivePage(), F->wpInicial);
        QVERIFY(!QApplication::overrideCursor());
    }

    // The machine has openssl: no question, the folder is prepared and the
    // data page follows; a folder that cannot be prepared is an error box.
    void withTheSystemsOpenSSLNextPreparesTheFolderWithoutAsking()
    {
        F->ProgramFolder = qEnvironmentVariable("ZEDEDE_BINARY_DIR") + QStringLiteral("/bin");
        clickNext();
        QVERIFY(FBoxes.isEmpty());
        QCOMPARE(F->wizt->ActivePage(), F->wpDatos);
        QCOMPARE(GetOpenSSLDir(),
                 FHome.path() + QStringLiteral("/.local/share/Vemra/OpenSSL/"));

        clickBack();
        setOpenSSLConfigured(false);
        F->ProgramFolder = FHome.path() + QStringLiteral("/no-installer-here");
        clickNext();
        QCOMPARE(FBoxes.size(), 1);
        QCOMPARE(FBoxes[0].Icon, QMessageBox::Critical);
        QCOMPARE(FBoxes[0].Text, QStringLiteral("No se pudo encontrar el archivo %1.")
                                     .arg(InstallerPath(F->ProgramFolder)));
        QCOMPARE(F->wizt->ActivePage(), F->wpInicial);
    }

    void enteringTheDataPageSetsDefaultsFocusHintAndHeader()
    {
        goToDataPage();
        QVERIFY(FBoxes.isEmpty());
        QCOMPARE(F->eCarpeta->text(), documents() + QStringLiteral("/Mis certificados"));
        QVERIFY(F->Page2Inicializada());
        QVERIFY(F->eNombreEmpresa->hasFocus());
        QCOMPARE(F->cxLabelHint->text(), TfrmZeDede::HintOrganizacion);
        QCOMPARE(F->wizt->PictureAlign(), alPTop);
        QCOMPARE(F->wizt->Picture()->Width(), 39);
        QCOMPARE(F->wizt->Picture()->Height(), 42);
        QCOMPARE(F->wizt->TopTitle->text(), QStringLiteral("Ingreso de datos"));
        QVERIFY(F->wizt->TopTitle->isVisible());
        QVERIFY(F->wizt->ImageLogo->isVisible());
        QCOMPARE(F->wizt->ImageLogo->size(), QSize(39, 42));
        QCOMPARE(F->wizt->ImageLogo->x(), F->wizt->ImageLogo->parentWidget()->width() - 44);
        QCOMPARE(F->wizt->ImageLogo->y(), 5);
        QVERIFY(F->wizt->BackButton->isEnabled());
    }

    void theDefaultFolderDoesNotWaitForTheWindowToBeActivated()
    {
        // The question box for real, answered Yes; the installer (a stand-in)
        // records an OpenSSL folder. Once the box has closed, nothing makes
        // the window active again unless a window manager does.
        const QString program = FHome.path() + QStringLiteral("/programa");
        QDir().mkpath(program);
        QFile installer(InstallerPath(program));
        QVERIFY(installer.open(QIODevice::WriteOnly));
        const QString environment = UserEnvironmentFile();
        installer.write(QStringLiteral("#!/bin/sh\nmkdir -p '%1'\necho 'OPENSSL_CONF=%2' > '%3'\n")
                            .arg(QFileInfo(environment).path(),
                                 FHome.path() + QStringLiteral("/ssl/openssl.cnf"), environment)
                            .toLocal8Bit());
        installer.close();
        QVERIFY(installer.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                         | QFileDevice::ExeOwner));
        F->ProgramFolder = program;
        Scripted().RealBoxes = true;
        QString asked;
        QTimer answer;
        connect(&answer, &QTimer::timeout, this, [&] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                asked = box->text();
                box->button(QMessageBox::Yes)->click();
            }
        });
        answer.start(20);
        withoutOpenSSLProgram([this] { clickNext(); }); // the question is asked
        answer.stop();
        Scripted().RealBoxes = false;
        QCOMPARE(asked, InstallQuestionText());
        QCOMPARE(F->wizt->ActivePage(), F->wpDatos);
        QCOMPARE(F->eCarpeta->text(), documents() + QStringLiteral("/Mis certificados"));
        QVERIFY(F->Page2Inicializada());

        // The same with the window plainly inactive: another window has the
        // focus while the user goes back and, the window shown anew, forward.
        F->hide();
        QWidget other;
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        F->show();
        QVERIFY(!F->isActiveWindow());
        QVERIFY(!F->Page2Inicializada());
        F->eCarpeta->setText(QStringLiteral("/otra"));
        clickBack();
        clickNext();
        QCOMPARE(F->wizt->ActivePage(), F->wpDatos);
        QCOMPARE(F->eCarpeta->text(), documents() + QStringLiteral("/Mis certificados"));
        // Activated later, the focus arriving in the page changes nothing.
        F->eCarpeta->setText(QStringLiteral("/elegida"));
        F->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(F.get()));
        QCOMPARE(F->eCarpeta->text(), QStringLiteral("/elegida"));
    }

    void nextFollowsTheCompletenessRuleOnEveryChange()
    {
        goToDataPage();
        QVERIFY(!F->wizt->NextButton->isEnabled());
        QTest::keyClicks(F->eNombreEmpresa, QStringLiteral("A"));
        QTest::keyClicks(F->eOperador, QStringLiteral("B"));
        QTest::keyClicks(F->eMail, QStringLiteral("c"));
        QTest::keyClicks(F->ePassword, QStringLiteral("d"));
        QVERIFY(!F->wizt->NextButton->isEnabled());
        QTest::keyClicks(F->ePassword2, QStringLiteral("e"));
        // The CUIT's blanks count as filled, the folder plays no part.
        QVERIFY(F->wizt->NextButton->isEnabled());
        F->eCarpeta->clear();
        QVERIFY(F->wizt->NextButton->isEnabled());
        QTest::keyClick(F->ePassword2, Qt::Key_Backspace);
        QVERIFY(!F->wizt->NextButton->isEnabled());
    }

    void anEmptyCuitIsReportedWithTheFocusInIt()
    {
        goToDataPage();
        QTest::keyClicks(F->eNombreEmpresa, QStringLiteral("Empresa"));
        QTest::keyClicks(F->eOperador, QStringLiteral("Operador"));
        QTest::keyClicks(F->eMail, QStringLiteral("o@e.com"));
        QTest::keyClicks(F->ePassword, QStringLiteral("clave"));
        QTest::keyClicks(F->ePassword2, QStringLiteral("clave"));
        F->eCarpeta->setFocus();
        QCOMPARE(F->cxLabelHint->text(), TfrmZeDede::HintGeneracion);
        clickNext();
        QCOMPARE(FBoxes.size(), 1);
        QCOMPARE(FBoxes[0].Text, QStringLiteral("Debe ingresar el número de CUIT."));
        QCOMPARE(FBoxes[0].Icon, QMessageBox::Critical);
        QCOMPARE(F->wizt->ActivePage(), F->wpDatos);
        QVERIFY(F->eCUIT->hasFocus());
        QCOMPARE(F->cxLabelHint->text(), TfrmZeDede::HintOrganizacion);
    }

    void aPasswordErrorMovesFocusAndHintToTheOperatorGroup()
    {
        goToDataPage();
        typeValidData();
        F->ePassword->setText(QStringLiteral("abc"));
        F->ePassword2->setText(QStringLiteral("abc"));
        F->eCarpeta->setFocus();
        QCOMPARE(F->cxLabelHint->text(), TfrmZeDede::HintGeneracion);
        clickNext();
        QCOMPARE(FBoxes.size(), 1);
        QCOMPARE(FBoxes[0].Text, QStringLiteral("La contraseña debe tener un mínimo de 4 y un "
                                                "máximo de 20 caracteres."));
        QVERIFY(F->ePassword->hasFocus());
        QCOMPARE(F->cxLabelHint->text(), TfrmZeDede::HintOperador);
        QCOMPARE(F->wizt->ActivePage(), F->wpDatos);

        // A generation failure (no openssl.cnf in the configured folder) keeps
        // the page too, with the message shown as raised.
        F->ePassword->setText(QStringLiteral("secreto"));
        F->ePassword2->setText(QStringLiteral("secreto"));
        clickNext();
        QCOMPARE(FBoxes.size(), 2);
        QCOMPARE(FBoxes[1].Text,
                 QStringLiteral("No existe el archivo de configuración %1/ssl/openssl.cnf.")
                     .arg(FHome.path()));
        QCOMPARE(F->wizt->ActivePage(), F->wpDatos);
        QVERIFY(F->laFilePrivada->text().isEmpty());
        QVERIFY(!QApplication::overrideCursor());
    }

    void backAndNextKeepAChangedFolderAndSwapThePicture()
    {
        goToDataPage();
        F->eCarpeta->setText(QStringLiteral("/tmp/otra carpeta"));
        clickBack();
        QCOMPARE(F->wizt->ActivePage(), F->wpInicial);
        QCOMPARE(F->wizt->PictureAlign(), alPLeft);
        QCOMPARE(F->wizt->Picture()->Height(), 485);
        QVERIFY(!F->wizt->TopTitle->isVisible() || F->wizt->TopTitle->visibleRegion().isEmpty());
        clickNext();
        QCOMPARE(F->wizt->ActivePage(), F->wpDatos);
        QCOMPARE(F->eCarpeta->text(), QStringLiteral("/tmp/otra carpeta"));
        QCOMPARE(F->wizt->PictureAlign(), alPTop);

        // Showing the window again applies the default once more.
        F->hide();
        {
            QWidget other;
            other.show();
            other.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&other));
        }
        showActive();
        clickBack();
        clickNext();
        QCOMPARE(F->eCarpeta->text(), documents() + QStringLiteral("/Mis certificados"));
    }

    void theFolderButtonOpensTheDialogOnTheTypedFolderAndTakesTheChoice()
    {
        goToDataPage();
        const QString start = FHome.path() + QStringLiteral("/inicio");
        const QString chosen = FHome.path() + QStringLiteral("/elegida");
        QDir().mkpath(start);
        QDir().mkpath(chosen);
        F->eCarpeta->setText(start);

        QString openedOn;
        QString title;
        F->BrowseFolderDlgKV1->OnInitialized = [&](QObject *) {
            TBrowseFolderDlgKV *dlg = F->BrowseFolderDlgKV1;
            title = dlg->Handle()->windowTitle();
            openedOn = dlg->TreeView()->currentIndex().data().toString();
            const QString shots = qEnvironmentVariable("ZEDEDE_SHOTS_DIR");
            if (!shots.isEmpty()) {
                QDir().mkpath(shots);
                dlg->Handle()->grab().save(shots + QStringLiteral("/folder-dialog.png"));
            }
            dlg->SetSelection(chosen);
            dlg->OkButton()->click();
        };
        QTest::mouseClick(F->sbFolder, Qt::LeftButton);
        QCOMPARE(title, QStringLiteral("Buscar Carpeta"));
        QCOMPARE(openedOn, QStringLiteral("inicio"));
        QCOMPARE(F->eCarpeta->text(), chosen);
        QVERIFY(FBoxes.isEmpty());

        // Cancelling leaves the field as it was.
        F->BrowseFolderDlgKV1->OnInitialized = [&](QObject *) {
            F->BrowseFolderDlgKV1->SetSelection(start);
            F->BrowseFolderDlgKV1->CancelButton()->click();
        };
        QTest::mouseClick(F->sbFolder, Qt::LeftButton);
        QCOMPARE(F->eCarpeta->text(), chosen);
        F->BrowseFolderDlgKV1->OnInitialized = nullptr;
    }

    void linksAndTheFolderButtonAskTheDesktopToOpen()
    {
        F->eCarpetaPedido->setText(FHome.path() + QStringLiteral("/res/"));
        QTest::mouseClick(F->LabelVemra(), Qt::LeftButton);
        QCOMPARE(FOpened.size(), 1);
        QCOMPARE(FOpened[0], QUrl(TfrmZeDede::VemraUrl));
        QCOMPARE(FOpened[0].scheme(), QStringLiteral("https"));

        F->Label12Click(F->Label12);
        QCOMPARE(FOpened.size(), 2);
        QCOMPARE(FOpened[1].scheme(), QStringLiteral("https"));
        QCOMPARE(FOpened[1].path(), QStringLiteral("/contribuyente/"));
        QVERIFY(FOpened[1].toString().endsWith(QStringLiteral("/contribuyente/?")));

        F->SpeedButton1Click(F->SpeedButton1);
        QCOMPARE(FOpened.size(), 3);
        QCOMPARE(FOpened[2], QUrl::fromLocalFile(FHome.path() + QStringLiteral("/res/")));
    }
};

QTEST_MAIN(TestfrmZeDede)
#include "tst_uZeDede.moc"

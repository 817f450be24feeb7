// The window as a screen reader and a keyboard user meet it: the
// accessibility tree (names, roles, values, actions) and the keys that reach
// and use every control.

#include "CuitMaskEdit.h"
#include "FileCtrlKv.h"
#include "UCWWizard.h"
#include "WizardButtonBar.h"
#include "MessageBoxes.h"
#include "ScriptedDialogs.h"
#include "ZeDedeApp.h"
#include "uZeDede.h"
#include "WindowTestSupport.h"
#include "Registry.h"

#include <QAccessible>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <memory>

namespace {

struct TNode
{
    QAccessible::Role Role;
    QString Name;
    QString Description;
    QString Value;
    QAccessible::State State;
    QObject *Object;
};

// Every interface below ARoot, depth first, as an assistive technology
// reaches them through the children of each interface.
void Walk(QAccessibleInterface *ARoot, QList<TNode> &ANodes)
{
    for (int i = 0; i < ARoot->childCount(); ++i) {
        QAccessibleInterface *child = ARoot->child(i);
        if (!child || !child->isValid())
            continue;
        ANodes.append({child->role(), child->text(QAccessible::Name),
                       child->text(QAccessible::Description), child->text(QAccessible::Value),
                       child->state(), child->object()});
        Walk(child, ANodes);
    }
}

QString Stripped(QString AText)
{
    return AText.remove(QLatin1Char('&')).trimmed();
}

} // namespace

class TestfrmZeDedeAccessibility : public QObject
{
    Q_OBJECT
    QTemporaryDir FHome;
    QList<QUrl> FOpened;
    QList<TRecordedBox> FBoxes;
    std::unique_ptr<TfrmZeDede> F;

    QList<TNode> tree() const
    {
        QList<TNode> nodes;
        Walk(QAccessible::queryAccessibleInterface(F.get()), nodes);
        return nodes;
    }
    // The node of AObject in the tree; fails the test when it is not there.
    TNode nodeOf(QObject *AObject) const
    {
        for (const TNode &n : tree())
            if (n.Object == AObject)
                return n;
        qFatal("%s is not in the accessibility tree", qPrintable(AObject->objectName()));
    }
    void goToDataPage()
    {
        QTest::mouseClick(F->wizt->NextButton, Qt::LeftButton);
        QCOMPARE(F->wizt->ActivePage(), F->wpDatos);
    }
    void goToResultsPage()
    {
        F->laFilePrivada->setText(QStringLiteral("Privada_EmpresaSA_Operador.key"));
        F->eCarpetaPedido->setText(FHome.path() + QStringLiteral("/res/"));
        F->wizt->SetActivePage(F->wpFinal);
        QCOMPARE(F->wizt->ActivePage(), F->wpFinal);
        QVERIFY(F->wizt->FinishButton->isEnabled());
    }
    void tab() { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab); }
    static bool defaultLook(QPushButton *AButton)
    {
        auto *b = qobject_cast<TBarButtonKv *>(AButton);
        return b && b->DefaultLook();
    }

private slots:
    void initTestCase()
    {
        QVERIFY(FHome.isValid());
        UseTemporaryHome(FHome.path());
        QDir().mkpath(FHome.path() + QStringLiteral("/Documents"));
        // OpenSSL is set up: Next on the welcome page runs nothing.
        const QString env = UserEnvironmentFile();
        QDir().mkpath(QFileInfo(env).path());
        QFile f(env);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("OPENSSL_CONF=" + FHome.path().toLocal8Bit() + "/ssl/openssl.cnf\n");
        f.close();
        Scripted().OnOpenUrl = [this](const QUrl &AUrl) { FOpened.append(AUrl); };
        Scripted().RealBoxes = false;
        Scripted().OnBox = [this](const TMessageBoxRequest &R) {
            const auto AIcon = R.Icon; const auto ATitle = R.Title; const auto AText = R.Text; const auto AButtons = R.Buttons; const auto ADefault = R.Default;
            FBoxes.append({AIcon, ATitle, AText, AButtons, ADefault});
            return QMessageBox::Ok;
        };
    }

    void init()
    {
        FOpened.clear();
        FBoxes.clear();
        F = std::make_unique<TfrmZeDede>();
        F->show();
        F->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(F.get()));
    }
    void cleanup() { F.reset(); }

    void editsAreNamedByTheirLabelsAndDescribedByTheirHints()
    {
        goToDataPage();
        const struct
        {
            QWidget *Edit;
            QString Name;
            QString Hint;
        } expected[] = {
            {F->eNombreEmpresa, "Razón social:", TfrmZeDede::HintOrganizacion},
            {F->eCUIT, "C.U.I.T.:", TfrmZeDede::HintOrganizacion},
            {F->eOperador, "Nombre del operador:", TfrmZeDede::HintOperador},
            {F->eMail, "Dirección de e-mail:", TfrmZeDede::HintOperador},
            // The passwords say what they are for instead: not the Clave Fiscal.
            {F->ePassword, "Contraseña (mínimo 4 caracteres):", TfrmZeDede::PasswordHint},
            {F->ePassword2, "Reingrese la contraseña", TfrmZeDede::PasswordHint},
            {F->eCarpeta, "Carpeta destino:", TfrmZeDede::HintGeneracion.trimmed()},
        };
        for (const auto &e : expected) {
            const TNode n = nodeOf(e.Edit);
            QCOMPARE(n.Role, QAccessible::EditableText);
            QCOMPARE(n.Name, e.Name);
            QCOMPARE(n.Description, e.Hint);
            QVERIFY(!n.State.invisible);
            QVERIFY(n.State.focusable);
        }
        QVERIFY(nodeOf(F->ePassword).State.passwordEdit);
        for (QWidget *w : {F->ePassword, F->ePassword2}) {
            QCOMPARE(w->toolTip(), TfrmZeDede::PasswordHint);
            QVERIFY(w->toolTip().contains(QStringLiteral("No es su Clave Fiscal")));
            QVERIFY(w->toolTip().contains(QStringLiteral("dentro del pedido")));
        }

        // The group boxes are groupings named by their titles; no field of
        // the page is announced by one of those titles any more.
        QStringList titles;
        for (QGroupBox *g : {F->GroupBox1, F->cxGroupBox4, F->cxGroupBox2}) {
            const TNode n = nodeOf(g);
            QCOMPARE(n.Role, QAccessible::Grouping);
            QCOMPARE(n.Name.trimmed(), g->title().trimmed());
            titles << n.Name;
        }
        for (const TNode &n : tree())
            if (n.Role == QAccessible::EditableText)
                QVERIFY2(!titles.contains(n.Name), qPrintable(n.Name));
    }

    void theCuitIsReadAsTyped()
    {
        goToDataPage();
        auto *iface = QAccessible::queryAccessibleInterface(F->eCUIT);
        QVERIFY(iface);
        QAccessibleTextInterface *text = iface->textInterface();
        QVERIFY(text);
        QCOMPARE(F->eCUIT->text(), QStringLiteral("--")); // what Qt alone would read
        QCOMPARE(iface->text(QAccessible::Value), QString());
        QCOMPARE(text->characterCount(), 0);
        QCOMPARE(text->text(0, 13), QString());
        QCOMPARE(text->cursorPosition(), 0);

        F->eCUIT->setFocus();
        F->eCUIT->home(false);
        QTest::keyClicks(F->eCUIT, QStringLiteral("20123"));
        QCOMPARE(iface->text(QAccessible::Value), QStringLiteral("20-123"));
        QCOMPARE(text->characterCount(), 6);
        QCOMPARE(text->cursorPosition(), 6);
        QCOMPARE(text->text(3, 6), QStringLiteral("123"));
        QVERIFY(text->characterRect(4).isValid());
        QTest::keyClicks(F->eCUIT, QStringLiteral("456786"));
        QCOMPARE(iface->text(QAccessible::Value), QStringLiteral("20-12345678-6"));
        QCOMPARE(text->characterCount(), 13);

        text->setSelection(0, 0, 2);
        int start = -1, end = -1;
        text->selection(0, &start, &end);
        QCOMPARE(start, 0);
        QCOMPARE(end, 2);
        QCOMPARE(F->eCUIT->selectedText(), QStringLiteral("20"));

        QCOMPARE(TCuitMaskEdit::SpokenText(TCuitMaskEdit::EmptyText), QString());
        QCOMPARE(TCuitMaskEdit::SpokenText(QStringLiteral("2 -        - ")), QStringLiteral("2"));
        QCOMPARE(TCuitMaskEdit::SpokenText(QStringLiteral("  -      7 - ")),
                 QStringLiteral("  -      7"));
    }

    void linksAndButtonsHaveRolesNamesAndActions()
    {
        goToResultsPage();
        const struct
        {
            QWidget *Widget;
            QAccessible::Role Role;
            QString Name;
        } expected[] = {
            {F->Label12, QAccessible::Link, "Adhiérase al servicio de factura electrónica"},
            {F->LabelVemra(), QAccessible::Link, "Visite la página de Vemra Revororad S.A."},
            {F->SpeedButton1, QAccessible::Button, "Abrir la carpeta del pedido"},
            {F->eCarpetaPedido, QAccessible::EditableText, "Carpeta del pedido de certificado"},
            {F->wizt->BackButton, QAccessible::Button, "< Atrás"},
            {F->wizt->FinishButton, QAccessible::Button, "Terminar"},
            {F->wizt->CancelButton, QAccessible::Button, "Cancelar"},
        };
        for (const auto &e : expected) {
            const TNode n = nodeOf(e.Widget);
            QCOMPARE(n.Role, e.Role);
            QCOMPARE(Stripped(n.Name), e.Name);
            QVERIFY(n.State.focusable);
        }
        QVERIFY(nodeOf(F->Label12).State.linked);
        QCOMPARE(nodeOf(F->eCarpetaPedido).Description, F->Label11->text());
        QVERIFY(nodeOf(F->eCarpetaPedido).State.readOnly);

        // The press action of each link does what a click does.
        for (QWidget *link : {static_cast<QWidget *>(F->Label12),
                              static_cast<QWidget *>(F->LabelVemra())}) {
            QAccessibleActionInterface *actions =
                QAccessible::queryAccessibleInterface(link)->actionInterface();
            QVERIFY(actions);
            QVERIFY(actions->actionNames().contains(QAccessibleActionInterface::pressAction()));
            actions->doAction(QAccessibleActionInterface::pressAction());
        }
        QCOMPARE(FOpened, (QList<QUrl>{QUrl(TfrmZeDede::AfipLoginUrl), QUrl(TfrmZeDede::VemraUrl)}));
    }

    void theKeyboardReachesAndUsesTheFolderButton()
    {
        goToDataPage();
        F->eCarpeta->setFocus();
        tab();
        QCOMPARE(QApplication::focusWidget(), F->sbFolder);
        int opened = 0;
        F->BrowseFolderDlgKV1->OnInitialized = [&](QObject *) {
            ++opened;
            F->BrowseFolderDlgKV1->CancelButton()->click();
        };
        QTest::keyClick(F->sbFolder, Qt::Key_Return);
        QCOMPARE(opened, 1);
        QTest::keyClick(F->sbFolder, Qt::Key_Space);
        QCOMPARE(opened, 2);
        F->BrowseFolderDlgKV1->OnInitialized = nullptr;
        // Return on the button opened the dialog instead of pressing Next.
        QCOMPARE(F->wizt->ActivePage(), F->wpDatos);
        QVERIFY(FBoxes.isEmpty());
    }

    // Every Tab stop of the results page and the bar looks different with
    // the focus: the user always sees where the keyboard is.
    void everyTabStopOfTheResultsPageShowsTheFocus()
    {
        goToResultsPage();
        const auto look = [this](QWidget *AWidget) {
            const QRect area(AWidget->mapTo(F.get(), QPoint(-3, -3)), AWidget->size() + QSize(6, 6));
            return F->grab(area).toImage().convertToFormat(QImage::Format_RGB32);
        };
        F->eCarpetaPedido->setFocus(Qt::TabFocusReason);
        QList<QWidget *> stops;
        for (int i = 0; i < 12; ++i) {
            QWidget *w = QApplication::focusWidget();
            if (stops.contains(w))
                break;
            stops << w;
            tab();
        }
        QVERIFY(stops.contains(F->laComoSeguir));
        QVERIFY(stops.contains(F->SpeedButton1));
        for (QWidget *w : stops) {
            w->setFocus(Qt::TabFocusReason);
            QApplication::processEvents();
            const QImage focused = look(w);
            F->wpFinal->setFocus(Qt::OtherFocusReason);
            F->setFocus(Qt::OtherFocusReason);
            QApplication::processEvents();
            QVERIFY(!w->hasFocus());
            QVERIFY2(look(w) != focused, qPrintable(w->objectName() + QStringLiteral(" shows no focus")));
        }
    }

    void theKeyboardReachesAndUsesTheResultsPageAndTheBar()
    {
        goToResultsPage();
        F->eCarpetaPedido->setFocus();
        tab();
        QCOMPARE(QApplication::focusWidget(), F->SpeedButton1);
        QTest::keyClick(F->SpeedButton1, Qt::Key_Return);
        QCOMPARE(FOpened.size(), 1);
        QCOMPARE(FOpened.last(), QUrl::fromLocalFile(FHome.path() + QStringLiteral("/res/")));
        tab();
        QCOMPARE(QApplication::focusWidget(), F->Label12);
        QTest::keyClick(F->Label12, Qt::Key_Return);
        QTest::keyClick(F->Label12, Qt::Key_Space);
        QCOMPARE(FOpened.size(), 3);
        QCOMPARE(FOpened.last(), QUrl(TfrmZeDede::AfipLoginUrl));
        // Then the guide's link.
        tab();
        QCOMPARE(QApplication::focusWidget(), F->laComoSeguir);
        // On through the bar's buttons to its link.
        for (int i = 0; i < 6 && QApplication::focusWidget() != F->LabelVemra(); ++i)
            tab();
        QCOMPARE(QApplication::focusWidget(), F->LabelVemra());
        QTest::keyClick(F->LabelVemra(), Qt::Key_Enter, Qt::KeypadModifier);
        QCOMPARE(FOpened.last(), QUrl(TfrmZeDede::VemraUrl));
        QVERIFY(F->isVisible());
    }

    void enterOnTheResultsPagePressesTerminarAndElsewhereSiguiente()
    {
        // Welcome page: Enter is Next.
        QVERIFY(QApplication::focusWidget());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(F->wizt->ActivePage(), F->wpDatos);
        QVERIFY(defaultLook(F->wizt->NextButton));

        goToResultsPage();
        QVERIFY(defaultLook(F->wizt->FinishButton));
        QVERIFY(!defaultLook(F->wizt->NextButton));
        // Back returns Enter to Next, and the results page gives it to
        // Terminar again.
        QTest::mouseClick(F->wizt->BackButton, Qt::LeftButton);
        QCOMPARE(F->wizt->ActivePage(), F->wpDatos);
        QVERIFY(defaultLook(F->wizt->NextButton));
        QVERIFY(!defaultLook(F->wizt->FinishButton));
        goToResultsPage();

        // A focused push button takes Enter itself.
        F->wizt->BackButton->setFocus();
        QTest::keyClick(F->wizt->BackButton, Qt::Key_Return);
        QCOMPARE(F->wizt->ActivePage(), F->wpDatos);
        goToResultsPage();

        F->eCarpetaPedido->setFocus();
        QTest::keyClick(F->eCarpetaPedido, Qt::Key_Return);
        QTRY_VERIFY(!F->isVisible());
        QCOMPARE(FOpened.size(), 0);
    }
};

QTEST_MAIN(TestfrmZeDedeAccessibility)
#include "tst_uZeDedeAccessibility.moc"

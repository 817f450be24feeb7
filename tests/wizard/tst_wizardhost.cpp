// The wizard in hosts other than a form of its own: beside another wizard,
// in a dialog, in a layout; what reaches a host without an exception
// handler; the stored properties through the meta-object.

#include "WizardFixture.h"

#include <QApplication>
#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QTest>
#include <QVBoxLayout>

namespace {

// A run-time wizard of two pages, each with a line edit, Next by default.
TWizardKv *MakeWizard(QWidget *AParent, const QString &AName)
{
    auto *w = new TWizardKv(AParent);
    w->setObjectName(AName);
    w->SetNextButtonByDefault(true);
    for (int i = 1; i <= 2; ++i) {
        auto *page = new TWizardPageKv(w);
        page->setObjectName(QStringLiteral("%1%2").arg(AName).arg(i));
        (new QLineEdit(page))->setGeometry(10, 10, 150, 21);
    }
    w->SetActivePage(w->Pages(0));
    w->SetFirstPage(w->Pages(0));
    w->Loaded();
    return w;
}

QLineEdit *EditOf(TWizardKv *AWizard)
{
    return AWizard->ActivePage()->findChild<QLineEdit *>();
}

} // namespace

class TestWizardHost : public QObject
{
    Q_OBJECT

private slots:
    void enterGoesToTheWizardThatHasTheFocus();
    void dialogKeepsItsDefaultButton();
    void wizardInALayout();
    void noBoxWithoutExceptionHandler();
    void storedPropertiesThroughTheMetaObject();
};

void TestWizardHost::enterGoesToTheWizardThatHasTheFocus()
{
    QWidget form;
    auto *row = new QHBoxLayout(&form);
    TWizardKv *a = MakeWizard(&form, "a");
    TWizardKv *b = MakeWizard(&form, "b");
    row->addWidget(a);
    row->addWidget(b);
    form.resize(900, 400);
    form.show();

    EditOf(b)->setFocus();
    QTest::keyClick(EditOf(b), Qt::Key_Return);
    QCOMPARE(b->ActivePage()->objectName(), QStringLiteral("b2"));
    QCOMPARE(a->ActivePage()->objectName(), QStringLiteral("a1"));
    QTest::keyClick(EditOf(a), Qt::Key_Enter, Qt::KeypadModifier);
    QCOMPARE(a->ActivePage()->objectName(), QStringLiteral("a2"));
    QCOMPARE(b->ActivePage()->objectName(), QStringLiteral("b2"));

    // Not the default: Enter passes the wizard by.
    a->SetNextButtonByDefault(false);
    a->SetActivePage(a->Pages(0));
    QTest::keyClick(EditOf(a), Qt::Key_Return);
    QCOMPARE(a->ActivePage()->objectName(), QStringLiteral("a1"));
}

void TestWizardHost::dialogKeepsItsDefaultButton()
{
    QDialog dialog;
    auto *column = new QVBoxLayout(&dialog);
    auto *outside = new QLineEdit(&dialog);
    column->addWidget(outside);
    TWizardKv *w = MakeWizard(&dialog, "w");
    column->addWidget(w);
    auto *ok = new QPushButton(QStringLiteral("Aceptar"), &dialog);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
    column->addWidget(ok);
    dialog.show();
    QVERIFY(ok->isDefault());

    QTest::keyClick(EditOf(w), Qt::Key_Return);
    QCOMPARE(w->ActivePage()->objectName(), QStringLiteral("w2"));
    QVERIFY(dialog.isVisible());

    QTest::keyClick(outside, Qt::Key_Return);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QVERIFY(!dialog.isVisible());
    QCOMPARE(w->ActivePage()->objectName(), QStringLiteral("w2"));
}

void TestWizardHost::wizardInALayout()
{
    QWidget host;
    host.setFont(TWizardKv::DefaultFont());
    auto *column = new QVBoxLayout(&host);
    auto *label = new QLabel(QStringLiteral("Solicitud de certificado"), &host);
    column->addWidget(label);
    TWizardKv *w = MakeWizard(&host, "w");
    column->addWidget(w);
    host.show();

    // The pages need 10 + 150 + 10 by 10 + 21 + 10; the bar its four buttons.
    QCOMPARE(w->sizeHint().height(), 41 + 48);
    QVERIFY(w->minimumSizeHint().width() >= 4 * 75 + 8 + 8 + 8);
    QVERIFY(host.sizeHint().height() >= label->sizeHint().height() + w->sizeHint().height());
    host.resize(600, 400);
    QVERIFY(w->geometry().top() >= label->geometry().bottom());
    QCOMPARE(w->Pages(0)->size(), QSize(w->width(), w->height() - 48));

    // Out of the layout the wizard fills its parent again, unless Align is
    // alNone.
    column->removeWidget(w);
    host.resize(620, 400);
    QCOMPARE(w->geometry(), host.rect());
    w->SetAlign(TAlignKv::alNone);
    w->setGeometry(10, 50, 500, 300);
    host.resize(640, 420);
    QCOMPARE(w->geometry(), QRect(10, 50, 500, 300));
}

void TestWizardHost::noBoxWithoutExceptionHandler()
{
    QWidget form;
    TWizardKv *w = MakeWizard(&form, "w");
    form.resize(709, 533);
    form.show();
    w->Pages(0)->OnNextClick = [](QObject *, bool &) { throw Exception("Falta la razón social."); };
    QTest::ignoreMessage(QtWarningMsg, "Falta la razón social.");
    w->NextButton->click();
    QCOMPARE(w->ActivePage(), w->Pages(0));
    for (QWidget *top : QApplication::topLevelWidgets())
        QVERIFY(!qobject_cast<QMessageBox *>(top));
}

void TestWizardHost::storedPropertiesThroughTheMetaObject()
{
    TWizardFixture f(2);
    TWizardKv *w = f.Wizard;
    const QList<QPair<const char *, QVariant>> values{
        {"Align", QVariant::fromValue(TAlignKv::alNone)},
        {"AllowProcessDefault", false},
        {"ActivePage", QVariant::fromValue(f.Pages[1])},
        {"CapFinishBtn", QStringLiteral("&Fin")},
        {"FirstPage", QVariant::fromValue(f.Pages[1])},
        {"Buttons", QVariant::fromValue(TWizardButtons(wbHelp))},
        {"NextButtonByDefault", true},
        {"PanelListDim", 100},
        {"PictureAlign", QVariant::fromValue(alPTop)},
        {"ViewSteps", true},
        {"ViewStepsChecked", true},
    };
    for (const auto &[name, value] : values) {
        QVERIFY2(w->setProperty(name, value), name);
        QVERIFY2(w->property(name) == value, name);
    }
    QVERIFY(w->FinishButton->isHidden());
    QVERIFY(!w->HelpButton->isHidden());

    QPixmap picture(20, 30);
    picture.fill(Qt::red);
    QVERIFY(w->setProperty("Picture", picture));
    QCOMPARE(w->Picture()->Width(), 20);

    TWizardPageKv *page = f.Pages[0];
    QVERIFY(page->setProperty("Include", false));
    QVERIFY(page->setProperty("TopTitle", QStringLiteral("Datos")));
    QVERIFY(page->setProperty("PageIndex", 1));
    QVERIFY(!page->Include());
    QCOMPARE(page->TopTitle(), QStringLiteral("Datos"));
    QCOMPARE(w->Pages(1), page);
}

QTEST_MAIN(TestWizardHost)
#include "tst_wizardhost.moc"

#include "WizardFixture.h"

#include <QCheckBox>
#include <QLabel>
#include <QPainter>
#include <QTest>
#include <QToolButton>

namespace {

// The constructor's bar children in layout order: help, Finish, Next, Back,
// Cancel, Pasos.
QVector<TBarItem> DefaultBar(bool AHelp, bool AFinish, bool ACancel, bool ASteps)
{
    return {{23, 4, AHelp, {}}, {75, 8, AFinish, {}}, {75, 0, true, {}},
            {75, 8, true, {}},  {75, 8, ACancel, {}}, {50, 1, ASteps, {}}};
}

QPair<int, int> XSpan(const TBarItem &AItem)
{
    return {AItem.Bounds.left(), AItem.Bounds.left() + AItem.Bounds.width()};
}

} // namespace

class TestWizardPanelKv : public QObject
{
    Q_OBJECT

private slots:
    void barLayoutWithFinishButton();
    void barLayoutWithoutFinishButton();
    void hiddenCancelInBothModes();
    void barOfARealWizard();
    void hostChildWithTag4StandsAtLeftEnd();
    void barDrawsEtchedTopEdge();
    void stepsListPaintsRows();
    void stepsListWithOnePageOrNoActivePage();
};

void TestWizardPanelKv::barLayoutWithFinishButton()
{
    QVector<TBarItem> items = DefaultBar(false, true, true, true);
    TWizardButtonBarKv::LayoutBar(QRect(0, 0, 709, 48), true, items);
    QCOMPARE(XSpan(items[1]), qMakePair(626, 701));   // Finish
    QCOMPARE(XSpan(items[2]), qMakePair(543, 618));   // Next
    QCOMPARE(XSpan(items[3]), qMakePair(468, 543));   // Back touches Next
    QCOMPARE(XSpan(items[4]), qMakePair(385, 460));   // Cancel
    QCOMPARE(XSpan(items[5]), qMakePair(327, 377));   // Pasos
    for (int i = 1; i < items.size(); ++i) {
        QCOMPARE(items[i].Bounds.top(), 13);
        QCOMPARE(items[i].Bounds.bottom() + 1, 36);
    }
    QCOMPARE(items[0].Bounds, QRect());   // hidden: not placed

    // A visible help button stands at the left end and takes no room.
    items = DefaultBar(true, true, true, false);
    TWizardButtonBarKv::LayoutBar(QRect(0, 0, 709, 48), true, items);
    QCOMPARE(items[0].Bounds, QRect(8, 13, 23, 23));
    QCOMPARE(XSpan(items[1]), qMakePair(626, 701));
}

void TestWizardPanelKv::barLayoutWithoutFinishButton()
{
    QVector<TBarItem> items = DefaultBar(false, false, true, true);
    TWizardButtonBarKv::LayoutBar(QRect(0, 0, 709, 48), false, items);
    QCOMPARE(items[0].Bounds, QRect(8, 13, 23, 23));    // placed though hidden
    QCOMPARE(XSpan(items[4]), qMakePair(626, 701));   // Cancel at the right end
    QCOMPARE(XSpan(items[2]), qMakePair(543, 618));   // Next
    QCOMPARE(XSpan(items[3]), qMakePair(468, 543));   // Back
    QCOMPARE(XSpan(items[5]), qMakePair(410, 460));   // Pasos, 8 left of Back
    QCOMPARE(items[1].Bounds, QRect());               // Finish hidden

    // Fewer than five children: what exists is laid out, nothing more.
    QVector<TBarItem> few = {{23, 4, true, {}}, {75, 0, true, {}}};
    TWizardButtonBarKv::LayoutBar(QRect(0, 0, 300, 48), false, few);
    QCOMPARE(XSpan(few[1]), qMakePair(217, 292));
}

void TestWizardPanelKv::hiddenCancelInBothModes()
{
    // Without the finish button Cancel keeps its place: Next does not move.
    QVector<TBarItem> items = DefaultBar(false, false, false, true);
    TWizardButtonBarKv::LayoutBar(QRect(0, 0, 709, 48), false, items);
    QCOMPARE(XSpan(items[2]), qMakePair(543, 618));
    QCOMPARE(XSpan(items[3]), qMakePair(468, 543));

    // With it only what stands after Cancel moves right.
    items = DefaultBar(false, true, false, true);
    TWizardButtonBarKv::LayoutBar(QRect(0, 0, 709, 48), true, items);
    QCOMPARE(XSpan(items[3]), qMakePair(468, 543));
    QCOMPARE(XSpan(items[5]), qMakePair(410, 460));
}

void TestWizardPanelKv::barOfARealWizard()
{
    TWizardFixture f(2);
    TWizardKv *w = f.Wizard;
    auto *bar = f.Child<TWizardButtonBarKv>("PanelHorz");
    QVERIFY(bar->horizontal);
    QCOMPARE(bar->geometry(), QRect(0, 485, 709, 48));
    QCOMPARE(bar->BarChildren(),
             (QList<QWidget *>{w->HelpButton, w->FinishButton, w->NextButton, w->BackButton,
                               w->CancelButton, f.Child<QWidget>("ChkListaPasos")}));
    QCOMPARE(w->FinishButton->geometry(), QRect(626, 13, 75, 23));
    QCOMPARE(w->NextButton->geometry(), QRect(543, 13, 75, 23));
    QCOMPARE(w->BackButton->geometry(), QRect(468, 13, 75, 23));
    QCOMPARE(w->CancelButton->geometry(), QRect(385, 13, 75, 23));
    QCOMPARE(w->CancelButton->text(), QStringLiteral("&Cancelar"));
    QCOMPARE(w->BackButton->text(), QStringLiteral("< &Atrás"));

    w->SetViewSteps(true);
    QWidget *check = f.Child<QWidget>("ChkListaPasos");
    const int cw = check->width();
    QCOMPARE(cw, 50);
    QCOMPARE(check->geometry(), QRect(377 - cw, 13, cw, 23));

    w->SetAllowProcessDefault(false);
    QVERIFY(w->FinishButton->isHidden());
    QCOMPARE(w->CancelButton->geometry(), QRect(626, 13, 75, 23));
    QCOMPARE(w->NextButton->geometry(), QRect(543, 13, 75, 23));
    w->SetButtons(0);
    QVERIFY(w->CancelButton->isHidden());
    QCOMPARE(w->NextButton->geometry(), QRect(543, 13, 75, 23));

    w->SetAllowProcessDefault(true);
    QCOMPARE(w->FinishButton->geometry(), QRect(626, 13, 75, 23));
    QCOMPARE(w->BackButton->geometry(), QRect(468, 13, 75, 23));
    QCOMPARE(check->geometry(), QRect(460 - cw, 13, cw, 23));

    // A wider host: the bar follows and keeps its buttons at the right.
    f.Form->resize(800, 533);
    QCOMPARE(bar->width(), 800);
    QCOMPARE(w->FinishButton->geometry(), QRect(717, 13, 75, 23));
}

void TestWizardPanelKv::hostChildWithTag4StandsAtLeftEnd()
{
    TWizardFixture f(2, true, false);
    TWizardKv *w = f.Wizard;
    auto *link = new QLabel(QStringLiteral("Visite la página"), w->CancelButton->parentWidget());
    link->setGeometry(20, 392, 164, 13);
    TWizardKv::SetTag(link, 4);
    f.Form->show();
    QCOMPARE(link->geometry(), QRect(8, 13, 164, 23));
    QCOMPARE(w->FinishButton->geometry(), QRect(626, 13, 75, 23));
    QCOMPARE(w->CancelButton->geometry(), QRect(385, 13, 75, 23));
    auto *bar = f.Child<TWizardButtonBarKv>("PanelHorz");
    QCOMPARE(bar->BarChildren().mid(0, 3),
             (QList<QWidget *>{w->HelpButton, link, w->FinishButton}));

    // Moving it by hand is superseded by the bar; a wider one keeps x = 8.
    link->setGeometry(100, 0, 200, 13);
    QCOMPARE(link->geometry(), QRect(8, 13, 200, 23));

    // A later child with a gap of its own joins the right-to-left row.
    auto *extra = new QPushButton(QStringLiteral("Más"), bar);
    extra->resize(60, 25);
    TWizardKv::SetTag(extra, 5);
    extra->show();
    QCOMPARE(extra->geometry(), QRect(385 - 8 - 60, 13, 60, 23));
    delete extra;
    QCOMPARE(bar->BarChildren().size(), 7);
}

void TestWizardPanelKv::barDrawsEtchedTopEdge()
{
    TWizardFixture f(1);
    auto *bar = f.Child<TWizardButtonBarKv>("PanelHorz");
    const QImage img = bar->grab().toImage();
    const QColor dark = bar->palette().color(QPalette::Dark);
    const QColor light = bar->palette().color(QPalette::Light);
    const QColor face = bar->palette().color(QPalette::Window);
    for (int x : {0, 200, 708}) {
        QCOMPARE(img.pixel(x, 0), dark.rgb());
        QCOMPARE(img.pixel(x, 1), light.rgb());
        QCOMPARE(img.pixel(x, 5), face.rgb());
    }
    QCOMPARE(img.pixel(0, 47), face.rgb());   // only the top border
}

void TestWizardPanelKv::stepsListPaintsRows()
{
    TWizardFixture f(3);
    TWizardKv *w = f.Wizard;
    w->SetViewSteps(true);
    w->SetViewStepsChecked(true);
    w->NextButton->click();
    auto *list = f.Child<TWizardStepsListKv>("PanelList");
    QVERIFY(!list->horizontal);
    QVERIFY(list->isVisible());
    QCOMPARE(QFontInfo(list->font()).pixelSize(), 11);
    const QImage img = list->grab().toImage();

    // Reference rows drawn independently: white text on black at (30, y).
    QImage expected(img.size(), img.format());
    expected.fill(Qt::black);
    {
        QPainter p(&expected);
        p.setFont(list->font());
        p.setPen(Qt::white);
        const QStringList texts{"Comienzo", "Paso 2", "Finalizar"};
        for (int i = 0; i < 3; ++i)
            p.drawText(QRect(30, 20 + 26 * i, 100, 20), Qt::AlignLeft | Qt::AlignTop, texts[i]);
    }
    const QColor red(255, 0, 0), lime(0, 255, 0);
    for (int i = 0; i < 3; ++i) {
        const int y = 20 + 26 * i;
        QCOMPARE(QColor(img.pixel(15, y + 7)), i == 1 ? lime : red);
        QCOMPARE(QColor(img.pixel(24, y + 6)), i == 1 ? lime : red);   // near the tip
        QCOMPARE(QColor(img.pixel(15, y - 3)), QColor(Qt::black));
        QCOMPARE(QColor(img.pixel(28, y + 6)), QColor(Qt::black));
        for (int yy = y; yy < y + 16; ++yy)
            for (int x = 30; x < 130; ++x)
                QVERIFY2(img.pixel(x, yy) == expected.pixel(x, yy),
                         qPrintable(QStringLiteral("row %1 at %2,%3").arg(i + 1).arg(x).arg(yy)));
    }
    QCOMPARE(QColor(img.pixel(15, 20 + 26 * 3 + 7)), QColor(Qt::black));   // no fourth row

    QCOMPARE(TWizardStepsListKv::StepCaption(1, 3), QStringLiteral("Comienzo"));
    QCOMPARE(TWizardStepsListKv::StepCaption(2, 3), QStringLiteral("Paso 2"));
    QCOMPARE(TWizardStepsListKv::StepCaption(3, 3), QStringLiteral("Finalizar"));
    QCOMPARE(TWizardStepsListKv::StepCaption(1, 1), QStringLiteral("Comienzo"));
    QCOMPARE(TWizardStepsListKv::StepTop(2, -11), 46);
}

void TestWizardPanelKv::stepsListWithOnePageOrNoActivePage()
{
    TWizardFixture f(1);
    f.Wizard->SetViewSteps(true);
    f.Wizard->SetViewStepsChecked(true);
    auto *list = f.Child<TWizardStepsListKv>("PanelList");
    QImage img = list->grab().toImage();
    QCOMPARE(QColor(img.pixel(15, 27)), QColor(0, 255, 0));
    QCOMPARE(QColor(img.pixel(15, 53)), QColor(Qt::black));   // a single row

    f.Wizard->SetActivePage(nullptr);
    img = list->grab().toImage();
    QCOMPARE(QColor(img.pixel(15, 27)), QColor(255, 0, 0));   // no current step
}

QTEST_MAIN(TestWizardPanelKv)
#include "tst_wizardpanelkv.moc"

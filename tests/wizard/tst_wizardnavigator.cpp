// The wizard's navigation rules without any widget or application object;
// the rules also reached through the wizard's buttons are tested there.

#include "WizardNavigator.h"

#include <QTest>

#include <memory>
#include <vector>

namespace {

struct TStep : TNavigatorPage
{
    void SetInclude(bool AValue) { FInclude = AValue; }
};

// The navigator with its pages and what the buttons show, as the wizard's
// widgets keep it between evaluations.
struct TNav
{
    TWizardNavigator Nav;
    std::vector<std::unique_ptr<TStep>> Steps;
    bool Back = false, Next = true, Finish = false;
    QString Caption = QStringLiteral(" &Siguiente >");

    explicit TNav(int ACount, bool AAllowProcessDefault = true)
    {
        Nav.AllowProcessDefault = AAllowProcessDefault;
        Nav.CapFinishBtn = QStringLiteral("&Terminar");
        for (int i = 0; i < ACount; ++i) {
            Steps.push_back(std::make_unique<TStep>());
            Nav.Append(Steps.back().get());
        }
    }
    TStep *operator[](int AIndex) const { return Steps[AIndex].get(); }
    void Show(const TNavigatorButtons &AButtons)
    {
        Back = AButtons.BackEnabled.value_or(Back);
        Next = AButtons.NextEnabled.value_or(Next);
        Finish = AButtons.FinishEnabled.value_or(Finish);
        Caption = AButtons.NextCaption.value_or(Caption);
    }
    // A switch as the wizard makes it; the done query answers true.
    void SwitchTo(TNavigatorPage *APage)
    {
        if (APage == Nav.Active())
            return;
        Nav.SetActive(APage);
        Show(Nav.Arrive(true, true));
    }
    void ClickNext()
    {
        if (Nav.NextStep() == TNextStep::Move)
            SwitchTo(Nav.FindNext(Nav.Active(), true, true));
    }
    void Exclude(TStep *AStep)
    {
        AStep->SetInclude(false);
        const TIncludeEffect effect = Nav.IncludeChanged(AStep);
        if (effect.Switch)
            SwitchTo(effect.Target);
        else if (effect.Refresh)
            Show(Nav.Refresh(true, true));
    }
    void Remove(TStep *AStep)
    {
        SwitchTo(Nav.RemovalSuccessor(AStep));
        Nav.Remove(AStep);
        Show(Nav.Refresh(true, true));
    }
};

} // namespace

class TestWizardNavigator : public QObject
{
    Q_OBJECT

private slots:
    void buttonsOnArrival_data();
    void buttonsOnArrival();
    void endPageAfterExcludingOrRemoving_data();
    void endPageAfterExcludingOrRemoving();
};

void TestWizardNavigator::buttonsOnArrival_data()
{
    QTest::addColumn<int>("active");
    QTest::addColumn<bool>("allowProcessDefault");
    QTest::addColumn<bool>("done");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<QString>("expected");   // Back, Next, Finish enabled; Next's caption

    const QString next = QStringLiteral(" &Siguiente >");
    QTest::newRow("first") << 0 << true << true << true << "-N- " + next;
    QTest::newRow("middle") << 1 << true << true << true << "BN- " + next;
    QTest::newRow("end, Finish offered") << 2 << true << true << true << "B-F (kept)";
    QTest::newRow("end, Next finishes") << 2 << false << true << true << "BN- &Terminar";
    QTest::newRow("middle, not done") << 1 << true << false << true << "B-- " + next;
    QTest::newRow("end, not done") << 2 << false << false << true << "B-- &Terminar";
    QTest::newRow("middle, disabled") << 1 << true << true << false << "--- " + next;
    QTest::newRow("end, disabled") << 2 << true << true << false << "--F (kept)";
}

void TestWizardNavigator::buttonsOnArrival()
{
    QFETCH(int, active);
    QFETCH(bool, allowProcessDefault);
    QFETCH(bool, done);
    QFETCH(bool, enabled);
    QFETCH(QString, expected);
    TNav n(3, allowProcessDefault);
    const TNavigatorButtons b = n.Nav.ButtonsFor(n[active], done, enabled);
    const QString shown = QString(b.BackEnabled.value() ? "B" : "-")
                          + (b.NextEnabled.value() ? "N" : "-")
                          + (b.FinishEnabled.value() ? "F" : "-") + " "
                          + b.NextCaption.value_or(QStringLiteral("(kept)"));
    QCOMPARE(shown, expected);
}

// Excluding or removing the last page, while it is active or while the page
// before it is: that page becomes the end, with Back as on arrival.
void TestWizardNavigator::endPageAfterExcludingOrRemoving_data()
{
    QTest::addColumn<bool>("remove");
    QTest::addColumn<bool>("lastActive");
    QTest::addColumn<bool>("allowProcessDefault");
    QTest::addColumn<int>("count");
    for (bool remove : {false, true})
        for (bool lastActive : {true, false})
            for (bool apd : {true, false})
                for (int count : {2, 3})
                    QTest::addRow("%s %s, %s, %d pages", remove ? "remove" : "exclude",
                                  lastActive ? "the active last page" : "the last page",
                                  apd ? "Finish button" : "Next finishes", count)
                        << remove << lastActive << apd << count;
}

void TestWizardNavigator::endPageAfterExcludingOrRemoving()
{
    QFETCH(bool, remove);
    QFETCH(bool, lastActive);
    QFETCH(bool, allowProcessDefault);
    QFETCH(int, count);
    TNav n(count, allowProcessDefault);
    n.SwitchTo(n[0]);
    for (int i = 1; i < (lastActive ? count : count - 1); ++i)
        n.ClickNext();
    TStep *last = n[count - 1];
    TStep *end = n[count - 2];
    QCOMPARE(n.Nav.Finished(), lastActive && allowProcessDefault);

    if (remove)
        n.Remove(last);
    else
        n.Exclude(last);

    QCOMPARE(n.Nav.Active(), end);
    QCOMPARE(n.Back, count > 2);
    QCOMPARE(n.Nav.NextStep(), TNextStep::Finish);
    if (allowProcessDefault) {
        QVERIFY(n.Nav.Finished());
        QVERIFY(!n.Next);
        QVERIFY(n.Finish);
    } else {
        QVERIFY(!n.Nav.Finished());
        QVERIFY(n.Next);
        QCOMPARE(n.Caption, QStringLiteral("&Terminar"));
    }
}

QTEST_APPLESS_MAIN(TestWizardNavigator)
#include "tst_wizardnavigator.moc"

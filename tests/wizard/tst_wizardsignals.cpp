// Each signal is emitted right after the event it stands beside, under the
// same conditions.

#include "WizardFixture.h"

#include <QTest>

class TestWizardSignals : public QObject
{
    Q_OBJECT

private slots:
    void pageChangingAndChanged();
    void finishClicked();
    void cancelClicked();
    void helpRequested();
};

void TestWizardSignals::pageChangingAndChanged()
{
    TWizardFixture f(3);
    TWizardKv *w = f.Wizard;
    connect(w, &TWizardKv::pageChanging, this,
            [&] { f.Log << "pageChanging:" + f.ActiveName(); });
    connect(w, &TWizardKv::pageChanged, this, [&](TWizardPageKv *APage) {
        f.Log << QStringLiteral("pageChanged:%1:%2").arg(APage->objectName()).arg(w->BackButton->isEnabled());
    });
    f.Log.clear();
    w->NextButton->click();
    QCOMPARE(f.Log, (QStringList{"changing", "pageChanging:p1", "change:p2", "pageChanged:p2:1"}));

    // A switch to none ends after its start; a refused move has neither.
    f.Log.clear();
    w->SetActivePage(nullptr);
    QCOMPARE(f.Log, (QStringList{"changing", "pageChanging:p2"}));
    w->SetActivePage(f.Pages[0]);
    f.Pages[0]->OnNextClick = [](QObject *, bool &ADone) { ADone = false; };
    f.Log.clear();
    w->NextButton->click();
    QVERIFY(f.Log.isEmpty());

    // Before Loaded neither the events nor the signals fire.
    TWizardKv loading(nullptr, true);
    int emitted = 0;
    connect(&loading, &TWizardKv::pageChanging, this, [&] { ++emitted; });
    connect(&loading, &TWizardKv::pageChanged, this, [&] { ++emitted; });
    auto *page = new TWizardPageKv(&loading);
    loading.SetActivePage(page);
    QCOMPARE(emitted, 0);
}

void TestWizardSignals::finishClicked()
{
    TWizardFixture f(2, false);
    TWizardKv *w = f.Wizard;
    connect(w, &TWizardKv::finishClicked, this,
            [&] { f.Log << QStringLiteral("finishClicked:%1").arg(f.Form->isVisible()); });
    f.Pages[1]->OnNextClick = [&](QObject *, bool &) { f.Log << "next"; };
    w->OnFinishClick = [&](QObject *) { f.Log << "finish"; };
    w->NextButton->click();
    f.Log.clear();
    w->NextButton->click();   // Next on the end page finishes
    QCOMPARE(f.Log, (QStringList{"next", "finish", "finishClicked:1"}));

    // Without a handler the signal comes before the host form closes.
    w->OnFinishClick = nullptr;
    f.Log.clear();
    w->NextButton->click();
    QCOMPARE(f.Log, (QStringList{"next", "finishClicked:1"}));
    QVERIFY(!f.Form->isVisible());

    // A handler that throws stops the click before the signal.
    f.Form->show();
    w->OnFinishClick = [](QObject *) { throw Exception("no"); };
    f.Log.clear();
    w->NextButton->click();
    QCOMPARE(f.Log, (QStringList{"next", "error:no"}));
}

void TestWizardSignals::cancelClicked()
{
    TWizardFixture f(2);
    TWizardKv *w = f.Wizard;
    connect(w, &TWizardKv::cancelClicked, this,
            [&] { f.Log << QStringLiteral("cancelClicked:%1").arg(f.Form->isVisible()); });
    w->OnCancelClick = [&](QObject *) { f.Log << "cancel"; };
    f.Log.clear();
    w->CancelButton->click();
    QCOMPARE(f.Log, (QStringList{"cancel", "cancelClicked:1"}));
    QVERIFY(f.Form->isVisible());

    w->OnCancelClick = nullptr;
    f.Log.clear();
    w->CancelButton->click();
    QCOMPARE(f.Log, QStringList{"cancelClicked:1"});
    QVERIFY(!f.Form->isVisible());
}

void TestWizardSignals::helpRequested()
{
    TWizardFixture f(2);
    TWizardKv *w = f.Wizard;
    w->SetButtons(wbHelp | wbCancel);
    connect(w, &TWizardKv::helpRequested, this,
            [&](int AContext) { f.Log << QStringLiteral("helpRequested:%1").arg(AContext); });
    w->OnHelp = [&](quint16, qintptr AData, bool &) {
        f.Log << QStringLiteral("help:%1").arg(AData);
        return true;
    };
    f.Log.clear();
    w->HelpButton->click();   // no help context: neither
    QVERIFY(f.Log.isEmpty());
    TWizardKv::SetHelpContext(f.Pages[0], 7);
    w->HelpButton->click();
    QCOMPARE(f.Log, (QStringList{"help:7", "helpRequested:7"}));
}

QTEST_MAIN(TestWizardSignals)
#include "tst_wizardsignals.moc"

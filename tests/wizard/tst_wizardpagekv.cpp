#include "WizardFixture.h"

#include <QTest>

class TestWizardPageKv : public QObject
{
    Q_OBJECT

private slots:
    void loosePageDefaults();
    void wizardControlMovesThePageBetweenWizards();
    void enterAndExitFollowTheFocus();
};

void TestWizardPageKv::loosePageDefaults()
{
    TWizardPageKv page;
    QVERIFY(page.Include());
    QCOMPARE(page.PageIndex(), -1);
    QCOMPARE(page.WizardControl(), nullptr);
    QVERIFY(page.TopTitle().isEmpty() && page.TopText().isEmpty());
    page.SetInclude(false);   // no wizard: just stored
    QVERIFY(!page.Include());
    bool asked = false;
    page.OnDoneQuery = [&](QObject *, bool &ADone) { asked = true; ADone = false; };
    QVERIFY(page.QueryDone());   // never shown: done without asking
    QVERIFY(!asked);
}

void TestWizardPageKv::wizardControlMovesThePageBetweenWizards()
{
    TWizardFixture a(2);
    TWizardFixture b(1);
    TWizardPageKv *page = a.Pages[1];
    page->SetWizardControl(b.Wizard);
    QCOMPARE(a.Wizard->PageCount(), 1);
    QCOMPARE(b.Wizard->PageCount(), 2);
    QCOMPARE(page->PageIndex(), 1);
    QCOMPARE(b.Active(), page);   // inserted after loading: switched to
    QVERIFY(page->isVisible());
    QCOMPARE(page->geometry(), b.Pages[0]->geometry());
    QVERIFY(b.Wizard->isAncestorOf(page));
}

void TestWizardPageKv::enterAndExitFollowTheFocus()
{
    QStringList log;   // outlives the form, whose destruction moves the focus
    TWizardFixture f(2);
    for (TWizardPageKv *page : f.Pages) {
        page->OnEnter = [&log](QObject *ASender) { log << "enter:" + ASender->objectName(); };
        page->OnExit = [&log](QObject *ASender) { log << "exit:" + ASender->objectName(); };
    }
    f.Pages[1]->OnEnter = [](QObject *) { throw Exception("fallo al entrar"); };
    f.Form->activateWindow();
    if (!QTest::qWaitForWindowActive(f.Form.get()))
        QSKIP("the platform does not activate windows");
    f.Pages[0]->findChild<QLineEdit *>()->setFocus();
    log.clear();
    f.Log.clear();

    // The switch focuses the new page's first control.
    f.Wizard->NextButton->click();
    QCOMPARE(QApplication::focusWidget(), f.Pages[1]->findChild<QLineEdit *>());
    QCOMPARE(log, QStringList{"exit:p1"});
    QVERIFY(f.Log.contains("error:fallo al entrar"));
    f.Wizard->BackButton->click();
    QCOMPARE(log, (QStringList{"exit:p1", "exit:p2", "enter:p1"}));
}

QTEST_MAIN(TestWizardPageKv)
#include "tst_wizardpagekv.moc"

#include "WizardFixture.h"

#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QPainter>
#include <QSignalSpy>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>
#include <QToolButton>

namespace {

QPixmap MakePicture(int AWidth, int AHeight, const QColor &AFill, const QColor &ABackground)
{
    QPixmap pix(AWidth, AHeight);
    pix.fill(ABackground);
    QPainter p(&pix);
    p.setBrush(AFill);
    p.setPen(Qt::NoPen);
    p.drawEllipse(QRect(2, 2, AWidth - 4, AHeight - 4));
    return pix;
}

} // namespace

class TestWizardKv : public QObject
{
    Q_OBJECT

private slots:
    void threePagesFinishWithFinishButton();
    void threePagesFinishWithNextButton();
    void excludedMiddlePageIsSkippedButCounted();
    void nextAndBackVetoesAndExceptions();
    void headerKeepsEmptyTextsAndBlanksASpace();
    void unrealisedPageAnswersDone();
    void checkDoneOnLastPageDependsOnButtons();
    void removePageSwitchesToSuccessor();
    void movePageChangesOrderWithoutSwitch();
    void refusedBackOnFinishedLastPage();
    void includeChangesRunResetFinished();
    void excludingTheActivePage();
    void loadingPhaseAndEventOrder();
    void runTimeWizardSwitchesOnInsertWithoutEvents();
    void destructionDetachesPages();
    void enabledChangeSetsButtons();
    void helpClickFindsHelpContext();
    void showControlBringsItsPageForward();
    void nextIsDefaultButton();
    void pictureGeometry();
    void pictureAlignChangesAndReadAdjustment();
    void pictureIsDrawnTransparent();
    void fewSeeThroughPixelsAreLeftOutWithoutCopy();
    void stepsCheckWidensHostFormAndUndoes();
    void stepsCheckedAtLoadKeepsFormPosition();
    void demoScreenshots();
};

void TestWizardKv::threePagesFinishWithFinishButton()
{
    TWizardFixture f(3);
    TWizardKv *w = f.Wizard;
    int finishes = 0;
    w->OnFinishClick = [&](QObject *ASender) { QCOMPARE(ASender, w); ++finishes; };

    QVERIFY(!w->BackButton->isEnabled());
    QVERIFY(w->NextButton->isEnabled());
    QCOMPARE(w->NextButton->text(), QStringLiteral(" &Siguiente >"));
    QVERIFY(!w->FinishButton->isEnabled());
    QCOMPARE(w->FinishButton->text(), QStringLiteral("&Terminar"));

    w->NextButton->click();
    QCOMPARE(f.ActiveName(), QStringLiteral("p2"));
    QVERIFY(w->BackButton->isEnabled());
    QVERIFY(w->NextButton->isEnabled());
    QVERIFY(!w->FinishButton->isEnabled());

    w->NextButton->click();
    QCOMPARE(f.ActiveName(), QStringLiteral("p3"));
    QVERIFY(w->Finished());
    QVERIFY(!w->NextButton->isEnabled());
    QVERIFY(w->FinishButton->isEnabled());
    QVERIFY(w->BackButton->isEnabled());
    QCOMPARE(w->NextButton->text(), QStringLiteral(" &Siguiente >"));

    w->FinishButton->click();
    QCOMPARE(finishes, 1);
    QVERIFY(f.Form->isVisible());

    // Without a handler Finish closes the host form.
    w->OnFinishClick = nullptr;
    w->FinishButton->click();
    QVERIFY(!f.Form->isVisible());
}

void TestWizardKv::threePagesFinishWithNextButton()
{
    TWizardFixture f(3, false);
    TWizardKv *w = f.Wizard;
    QVERIFY(w->FinishButton->isHidden());
    QStringList calls;
    f.Pages[2]->OnNextClick = [&](QObject *ASender, bool &ADone) {
        QCOMPARE(ASender, w);
        QVERIFY(ADone);
        calls << "next3";
    };
    w->OnFinishClick = [&](QObject *) { calls << "finish"; };

    w->NextButton->click();
    w->NextButton->click();
    QCOMPARE(f.ActiveName(), QStringLiteral("p3"));
    QVERIFY(!w->Finished());
    QCOMPARE(w->NextButton->text(), QStringLiteral("&Terminar"));
    QVERIFY(w->NextButton->isEnabled());
    QVERIFY(w->BackButton->isEnabled());

    w->NextButton->click();
    QCOMPARE(calls, (QStringList{"next3", "finish"}));

    // A refusal by OnNextClick keeps the wizard open; without OnFinishClick
    // the host form closes.
    w->OnFinishClick = nullptr;
    f.Pages[2]->OnNextClick = [](QObject *, bool &ADone) { ADone = false; };
    w->NextButton->click();
    QVERIFY(f.Form->isVisible());
    f.Pages[2]->OnNextClick = nullptr;
    w->NextButton->click();
    QVERIFY(!f.Form->isVisible());
}

void TestWizardKv::excludedMiddlePageIsSkippedButCounted()
{
    TWizardFixture f(3);
    f.Pages[1]->SetInclude(false);
    QCOMPARE(f.Wizard->PageCount(), 3);
    QCOMPARE(f.Pages[2]->PageIndex(), 2);
    QCOMPARE(f.Wizard->FindNextPage(f.Pages[0], true, true), f.Pages[2]);
    QCOMPARE(f.Wizard->FindNextPage(f.Pages[0], true, false), f.Pages[1]);
    QCOMPARE(f.Wizard->FindNextPage(f.Pages[2], true, false), nullptr);   // no wrap-around
    QCOMPARE(f.Wizard->FindNextPage(nullptr, true, false), nullptr);

    f.Wizard->NextButton->click();
    QCOMPARE(f.ActiveName(), QStringLiteral("p3"));
    QVERIFY(f.Wizard->Finished());
    f.Wizard->BackButton->click();
    QCOMPARE(f.ActiveName(), QStringLiteral("p1"));
}

void TestWizardKv::nextAndBackVetoesAndExceptions()
{
    TWizardFixture f(3);
    TWizardKv *w = f.Wizard;

    f.Pages[0]->OnNextClick = [](QObject *, bool &ADone) { ADone = false; };
    w->NextButton->click();
    QCOMPARE(f.ActiveName(), QStringLiteral("p1"));

    // An exception from the handler stops the click and reaches the host's
    // exception hook; called directly it reaches the caller.
    f.Log.clear();
    f.Pages[0]->OnNextClick = [](QObject *, bool &) { throw Exception("Debe ingresar el número de CUIT."); };
    w->NextButton->click();
    QCOMPARE(f.ActiveName(), QStringLiteral("p1"));
    QCOMPARE(f.Log, QStringList{QStringLiteral("error:Debe ingresar el número de CUIT.")});
    QVERIFY_THROWS_EXCEPTION(Exception, w->NextButtonClick());
    QCOMPARE(f.ActiveName(), QStringLiteral("p1"));

    f.Pages[0]->OnNextClick = nullptr;
    w->NextButton->click();
    w->NextButton->click();
    QVERIFY(w->Finished());

    // Back: the handler's exception leaves the page, but the finished state
    // has already been cleared.
    f.Pages[2]->OnBackClick = [](QObject *, bool &) { throw Exception("no"); };
    w->BackButton->click();
    QCOMPARE(f.ActiveName(), QStringLiteral("p3"));
    QVERIFY(!w->Finished());

    // A handler exception from Finish or Cancel does not close the form.
    w->OnFinishClick = [](QObject *) { throw Exception("fin"); };
    w->OnCancelClick = [](QObject *) { throw Exception("cancelar"); };
    f.Log.clear();
    w->FinishButton->click();
    w->CancelButton->click();
    QCOMPARE(f.Log, (QStringList{"error:fin", "error:cancelar"}));
    QVERIFY(f.Form->isVisible());
}

void TestWizardKv::headerKeepsEmptyTextsAndBlanksASpace()
{
    TWizardFixture f(3);
    f.Pages[1]->SetTopTitle(QStringLiteral("Ingreso de datos"));
    f.Pages[1]->SetTopText(QStringLiteral("En esta pantalla deberá ingresar los datos."));
    f.Pages[2]->SetTopText(QStringLiteral(" "));
    f.Wizard->NextButton->click();
    QCOMPARE(f.Wizard->TopTitle->text(), QStringLiteral("Ingreso de datos"));
    QCOMPARE(f.Wizard->TopText->text(), QStringLiteral("En esta pantalla deberá ingresar los datos."));
    QVERIFY(f.Wizard->TopText->width() > 100);   // sized to its text
    f.Wizard->NextButton->click();
    QCOMPARE(f.Wizard->TopTitle->text(), QStringLiteral("Ingreso de datos"));
    QCOMPARE(f.Wizard->TopText->text(), QStringLiteral(" "));

    // The label draws "&" as it is and is sized to what it draws.
    f.Pages[0]->SetTopTitle(QStringLiteral("&Datos && mas"));
    f.Wizard->BackButton->click();
    f.Wizard->BackButton->click();
    QLabel *title = f.Wizard->TopTitle;
    QVERIFY(title->width() >= title->fontMetrics().horizontalAdvance(title->text()));
}

void TestWizardKv::unrealisedPageAnswersDone()
{
    // The form is not shown: no page is ever realised.
    TWizardFixture f(3, true, false);
    int asked = 0;
    f.Pages[1]->OnDoneQuery = [&](QObject *ASender, bool &ADone) {
        QCOMPARE(ASender, f.Pages[1]);
        ++asked;
        ADone = false;
    };
    f.Wizard->NextButtonClick();
    QCOMPARE(f.ActiveName(), QStringLiteral("p2"));
    QVERIFY(!f.Pages[1]->IsLoaded());
    QVERIFY(f.Wizard->NextButton->isEnabled());
    QCOMPARE(asked, 0);

    // Once shown the page asks its handler, on the switch and on CheckDone.
    f.Form->show();
    QVERIFY(f.Pages[1]->IsLoaded());
    f.Wizard->CheckDone();
    QCOMPARE(asked, 1);
    QVERIFY(!f.Wizard->NextButton->isEnabled());
    f.Pages[1]->OnDoneQuery = [](QObject *, bool &) {};
    f.Wizard->CheckDone();
    QVERIFY(f.Wizard->NextButton->isEnabled());

    f.Pages[2]->OnDoneQuery = [](QObject *, bool &ADone) { ADone = false; };
    f.Wizard->BackButtonClick();
    f.Wizard->SetAllowProcessDefault(false);
    f.Wizard->NextButtonClick();
    f.Wizard->NextButtonClick();
    QCOMPARE(f.ActiveName(), QStringLiteral("p3"));
    QVERIFY(!f.Wizard->NextButton->isEnabled());   // realised on the switch
}

void TestWizardKv::checkDoneOnLastPageDependsOnButtons()
{
    TWizardFixture f(2);
    TWizardKv *w = f.Wizard;
    int finishes = 0;
    w->OnFinishClick = [&](QObject *) { ++finishes; };
    w->NextButton->click();
    QVERIFY(w->Finished());
    w->CheckDone();
    QVERIFY(!w->NextButton->isEnabled());

    w->SetButtons(wbHelp);
    w->CheckDone();
    QVERIFY(w->NextButton->isEnabled());
    w->SetButtons(0);
    w->CheckDone();
    QVERIFY(w->NextButton->isEnabled());
    QVERIFY(w->CancelButton->isHidden());
    w->NextButton->click();
    QCOMPARE(finishes, 1);
    QCOMPARE(f.ActiveName(), QStringLiteral("p2"));

    // CheckDone touches neither captions nor other buttons.
    w->NextButton->setText(QStringLiteral("x"));
    w->CheckDone();
    QCOMPARE(w->NextButton->text(), QStringLiteral("x"));
    QVERIFY(w->FinishButton->isEnabled());
}

void TestWizardKv::removePageSwitchesToSuccessor()
{
    TWizardFixture f(4);
    TWizardKv *w = f.Wizard;
    f.Pages[2]->SetInclude(false);

    // Removing a page that is not active makes the page after it active,
    // excluded or not.
    w->RemovePage(f.Pages[1]);
    QCOMPARE(f.ActiveName(), QStringLiteral("p3"));
    QCOMPARE(f.Pages[1]->WizardControl(), nullptr);
    QCOMPARE(f.Pages[1]->PageIndex(), -1);
    QCOMPARE(f.Pages[1]->parentWidget(), f.Pages[0]->parentWidget());
    QCOMPARE(w->PageCount(), 3);

    // At the end of the list the page before takes its place.
    w->SetActivePage(f.Pages[3]);
    f.Pages[3]->SetWizardControl(nullptr);
    QCOMPARE(f.ActiveName(), QStringLiteral("p3"));
    QVERIFY(f.Pages[3]->isHidden());

    // Removing an unlisted page does nothing.
    w->RemovePage(f.Pages[3]);
    QCOMPARE(w->PageCount(), 2);

    // Removing the only page leaves no active page.
    w->RemovePage(f.Pages[0]);
    w->RemovePage(f.Pages[2]);
    QCOMPARE(w->ActivePage(), nullptr);
    QCOMPARE(w->PageCount(), 0);
    QVERIFY(f.Pages[2]->isHidden());

    // A page attached again is listed at the end; after loading it becomes active.
    f.Pages[1]->SetWizardControl(w);
    QCOMPARE(w->PageCount(), 1);
    QCOMPARE(f.ActiveName(), QStringLiteral("p2"));
}

void TestWizardKv::movePageChangesOrderWithoutSwitch()
{
    TWizardFixture f(3);
    TWizardKv *w = f.Wizard;
    f.Log.clear();
    w->MovePage(2, 0);
    QCOMPARE(w->Pages(0), f.Pages[2]);
    QCOMPARE(f.Pages[0]->PageIndex(), 1);
    QCOMPARE(f.ActiveName(), QStringLiteral("p1"));
    QVERIFY(!w->BackButton->isEnabled());   // refreshed only on the next switch
    QVERIFY(f.Log.isEmpty());

    f.Pages[1]->SetPageIndex(0);   // order p2, p3, p1
    QCOMPARE(w->Pages(0), f.Pages[1]);
    QCOMPARE(w->Pages(2), f.Pages[0]);
    w->BackButton->setEnabled(true);
    w->BackButton->click();
    QCOMPARE(f.ActiveName(), QStringLiteral("p3"));

    try {
        w->MovePage(0, 3);
        QFAIL("index error expected");
    } catch (const Exception &e) {
        QCOMPARE(e.Message(), QStringLiteral("Índice de lista fuera de límites (3)"));
    }
    QVERIFY_THROWS_EXCEPTION(Exception, w->MovePage(-1, 0));
    QVERIFY_THROWS_EXCEPTION(Exception, w->Pages(3));
    QVERIFY_THROWS_EXCEPTION(Exception, w->Pages(-1));
    TWizardPageKv loose;
    loose.SetPageIndex(2);   // no wizard: nothing
    QCOMPARE(loose.PageIndex(), -1);
}

void TestWizardKv::refusedBackOnFinishedLastPage()
{
    TWizardFixture f(3);
    TWizardKv *w = f.Wizard;
    w->NextButton->click();
    w->NextButton->click();
    f.Pages[2]->OnBackClick = [](QObject *ASender, bool &ADone) {
        QVERIFY(qobject_cast<TWizardKv *>(ASender));
        ADone = false;
    };
    w->BackButton->click();
    QCOMPARE(f.ActiveName(), QStringLiteral("p3"));
    QVERIFY(!w->Finished());
    QVERIFY(w->FinishButton->isEnabled());
    QVERIFY(!w->NextButton->isEnabled());
    QVERIFY(w->BackButton->isEnabled());
    f.Pages[2]->OnBackClick = nullptr;
    w->BackButton->click();
    QCOMPARE(f.ActiveName(), QStringLiteral("p2"));
    QVERIFY(!w->FinishButton->isEnabled());
}

void TestWizardKv::includeChangesRunResetFinished()
{
    TWizardFixture f(4);
    TWizardKv *w = f.Wizard;
    f.Pages[3]->SetInclude(false);
    w->NextButton->click();
    w->NextButton->click();
    QCOMPARE(f.ActiveName(), QStringLiteral("p3"));
    QVERIFY(w->Finished());
    QVERIFY(!w->NextButton->isEnabled());

    // Including a page behind the active one re-evaluates the end.
    f.Pages[3]->SetInclude(true);
    QVERIFY(!w->Finished());
    QVERIFY(w->NextButton->isEnabled());
    QCOMPARE(w->NextButton->text(), QStringLiteral(" &Siguiente >"));
    QCOMPARE(TWizardKv::ModalResult(w->CancelButton), TWizardKv::mrCancel);
    QVERIFY(w->FinishButton->isEnabled());   // not touched
    w->NextButton->click();
    QCOMPARE(f.ActiveName(), QStringLiteral("p4"));

    // A page before the active one changes nothing until the next switch.
    w->BackButton->click();
    QCOMPARE(f.ActiveName(), QStringLiteral("p3"));
    f.Pages[0]->SetInclude(false);
    f.Pages[1]->SetInclude(false);
    QVERIFY(w->BackButton->isEnabled());
    w->NextButton->click();
    QCOMPARE(f.ActiveName(), QStringLiteral("p4"));
    QVERIFY(w->BackButton->isEnabled());   // p3 is still included before p4
    w->BackButton->click();
    QVERIFY(!w->BackButton->isEnabled());

    // Without the finish button the caption follows CapFinishBtn.
    TWizardFixture g(2, false);
    g.Wizard->SetCapFinishBtn(QStringLiteral("&Fin"));
    g.Pages[1]->SetInclude(false);
    QCOMPARE(g.Wizard->NextButton->text(), QStringLiteral("&Fin"));
    g.Pages[1]->SetInclude(true);
    QCOMPARE(g.Wizard->NextButton->text(), QStringLiteral(" &Siguiente >"));
}

void TestWizardKv::excludingTheActivePage()
{
    TWizardFixture single(1);
    single.Pages[0]->SetInclude(false);
    QCOMPARE(single.Wizard->ActivePage(), nullptr);
    QVERIFY(single.Pages[0]->isHidden());

    TWizardFixture f(3);
    f.Wizard->NextButton->click();
    f.Pages[1]->SetInclude(false);
    QCOMPARE(f.ActiveName(), QStringLiteral("p3"));
    f.Pages[2]->SetInclude(false);
    QCOMPARE(f.ActiveName(), QStringLiteral("p1"));
    QVERIFY(f.Wizard->Finished());   // p1 has no included page after it
    f.Pages[0]->SetInclude(false);   // nothing else to show: it stays
    QCOMPARE(f.ActiveName(), QStringLiteral("p1"));

    // Excluding or removing the finished last page: the page before it is
    // the end now, arrived on with Back enabled.
    for (bool remove : {false, true}) {
        TWizardFixture g(3);
        g.Wizard->NextButton->click();
        g.Wizard->NextButton->click();
        if (remove)
            g.Wizard->RemovePage(g.Pages[2]);
        else
            g.Pages[2]->SetInclude(false);
        QCOMPARE(g.ActiveName(), QStringLiteral("p2"));
        QVERIFY(g.Wizard->Finished());
        QVERIFY(g.Wizard->BackButton->isEnabled());
        QVERIFY(!g.Wizard->NextButton->isEnabled());
        QVERIFY(g.Wizard->FinishButton->isEnabled());
    }
}

void TestWizardKv::loadingPhaseAndEventOrder()
{
    QStringList log;
    auto form = std::make_unique<QWidget>();
    form->resize(709, 533);
    auto *w = new TWizardKv(form.get());
    QVERIFY(w->IsLoading());
    w->OnChanging = [&](QObject *ASender) {
        QCOMPARE(ASender, w);
        log << QStringLiteral("changing:%1").arg(w->ActivePage() ? w->ActivePage()->objectName() : "none");
    };
    w->OnChange = [&](QObject *) {
        log << QStringLiteral("change:%1:%2:%3")
                   .arg(w->ActivePage()->objectName(), w->TopTitle->text())
                   .arg(w->BackButton->isEnabled());
    };
    auto *p1 = new TWizardPageKv(w);
    p1->setObjectName("p1");
    p1->SetTopTitle("Uno");
    auto *p2 = new TWizardPageKv(w);
    p2->setObjectName("p2");
    p2->SetTopTitle("Dos");
    QCOMPARE(w->ActivePage(), nullptr);   // no switch while loading
    QCOMPARE(w->PageCount(), 2);
    QCOMPARE(p1->parentWidget(), p2->parentWidget());
    QVERIFY(p1->isHidden() && p2->isHidden());

    w->SetActivePage(p1);
    w->SetFirstPage(p1);
    QCOMPARE(w->ActivePage(), p1);
    QVERIFY(log.isEmpty());
    QVERIFY(w->ItsOnFirstPage());
    w->SetCapFinishBtn("&Listo");
    QCOMPARE(w->FinishButton->text(), QStringLiteral("&Terminar"));   // taken at Loaded

    w->Loaded();
    QVERIFY(!w->IsLoading());
    QVERIFY(log.isEmpty());
    QCOMPARE(w->FinishButton->text(), QStringLiteral("&Listo"));

    w->NextButtonClick();
    QCOMPARE(log, (QStringList{"changing:p1", "change:p2:Dos:1"}));
    QVERIFY(!w->ItsOnFirstPage());
    log.clear();

    // After loading FirstPage only records the page; a new page switches.
    w->SetFirstPage(p2);
    QCOMPARE(w->ActivePage(), p2);
    QVERIFY(w->ItsOnFirstPage());
    w->SetFirstPage(p1);
    QCOMPARE(w->ActivePage(), p2);
    auto *p3 = new TWizardPageKv;
    p3->setObjectName("p3");
    p3->SetWizardControl(w);
    QCOMPARE(w->ActivePage(), p3);
    // Arriving on the new end page enables Back, though p2 had been the end.
    QCOMPARE(log, (QStringList{"changing:p2", "change:p3:Dos:1"}));
    log.clear();

    // Switching to none: OnChanging only.
    w->SetActivePage(nullptr);
    QCOMPARE(log, QStringList{"changing:p3"});
    log.clear();

    // Pages of another wizard or of none are ignored.
    TWizardKv other(nullptr, false);
    auto *foreign = new TWizardPageKv(&other);
    TWizardPageKv loose;
    w->SetActivePage(foreign);
    w->SetActivePage(&loose);
    QCOMPARE(w->ActivePage(), nullptr);
    QVERIFY(log.isEmpty());

    // Moving a page from one wizard to another lists it only there.
    w->InsertPage(foreign);
    QCOMPARE(other.PageCount(), 0);
    QCOMPARE(foreign->WizardControl(), w);
    QCOMPARE(w->PageCount(), 4);
}

void TestWizardKv::runTimeWizardSwitchesOnInsertWithoutEvents()
{
    TWizardKv w(nullptr, false);
    int events = 0;
    w.OnChanging = [&](QObject *) { ++events; };
    w.OnChange = [&](QObject *) { ++events; };
    QVERIFY(w.ItsOnFirstPage());   // no pages: both none
    auto *p1 = new TWizardPageKv(&w);
    QCOMPARE(w.ActivePage(), p1);
    auto *p2 = new TWizardPageKv(&w);
    QCOMPARE(w.ActivePage(), p2);
    QCOMPARE(events, 0);
    QVERIFY(!w.ItsOnFirstPage());
}

void TestWizardKv::destructionDetachesPages()
{
    {
        TWizardFixture f(3);
        f.Wizard->NextButton->click();
        f.Log.clear();
        delete f.Pages[1];   // the active page: its successor takes over
        QCOMPARE(f.ActiveName(), QStringLiteral("p3"));
        QCOMPARE(f.Log, (QStringList{"changing", "change:p3"}));
        QCOMPARE(f.Wizard->PageCount(), 2);
        delete f.Pages[0];   // the first page: FirstPage must not dangle
        QCOMPARE(f.Wizard->FirstPage(), nullptr);
        QCOMPARE(f.ActiveName(), QStringLiteral("p3"));
    }
    {
        // A page whose removal makes a handler throw is still unlisted.
        TWizardFixture f(2);
        f.Wizard->OnChanging = [](QObject *) { throw Exception("no"); };
        delete f.Pages[0];
        QCOMPARE(f.Wizard->PageCount(), 1);
        QCOMPARE(f.Log, QStringList{"error:no"});
        QVERIFY(f.Wizard->ActivePage() == nullptr || f.Wizard->ActivePage() == f.Pages[1]);
    }
    {
        // Destroying the wizard destroys its pages without switches.
        TWizardFixture f(3);
        QPointer<TWizardPageKv> page = f.Pages[2];
        int changes = 0;
        f.Wizard->OnChanging = [&](QObject *) { ++changes; };
        delete f.Wizard;
        QVERIFY(page.isNull());
        QCOMPARE(changes, 0);
    }
}

void TestWizardKv::enabledChangeSetsButtons()
{
    TWizardFixture f(3);
    TWizardKv *w = f.Wizard;
    w->SetButtons(wbHelp | wbCancel);
    w->NextButton->click();
    w->NextButton->click();   // finished on p3
    w->setEnabled(false);
    for (QWidget *b : {static_cast<QWidget *>(w->NextButton), static_cast<QWidget *>(w->BackButton),
                       static_cast<QWidget *>(w->HelpButton), static_cast<QWidget *>(w->CancelButton)})
        QVERIFY(!b->isEnabled());
    w->setEnabled(true);
    QVERIFY(w->HelpButton->isEnabled());
    QVERIFY(w->CancelButton->isEnabled());
    QVERIFY(!w->NextButton->isEnabled());   // finished with Cancel shown
    QVERIFY(!w->BackButton->isEnabled());   // finished
    QVERIFY(w->FinishButton->isEnabled());

    // Switching while disabled leaves the navigation buttons off; a page
    // in the middle is no longer the finished end.
    w->setEnabled(false);
    w->SetActivePage(f.Pages[1]);
    QVERIFY(!w->NextButton->isEnabled());
    QVERIFY(!w->Finished());
    QVERIFY(!w->FinishButton->isEnabled());
    w->setEnabled(true);
    QVERIFY(w->NextButton->isEnabled());
    QVERIFY(w->BackButton->isEnabled());
}

void TestWizardKv::helpClickFindsHelpContext()
{
    TWizardFixture f(2);
    TWizardKv *w = f.Wizard;
    w->SetButtons(wbHelp | wbCancel);
    QVERIFY(!w->HelpButton->isHidden());
    QCOMPARE(w->HelpButton->toolTip(), QStringLiteral("Ayuda (F1)"));
    QList<qintptr> asked;
    w->OnHelp = [&](quint16 ACommand, qintptr AData, bool &ACallHelp) -> bool {
        asked << (ACommand == 1 && ACallHelp ? AData : -1);
        return true;
    };
    w->HelpButton->click();
    QVERIFY(asked.isEmpty());   // no context anywhere
    TWizardKv::SetHelpContext(f.Form.get(), 40);
    w->HelpButton->click();
    TWizardKv::SetHelpContext(f.Pages[0], 7);
    w->HelpButton->click();
    QCOMPARE(asked, (QList<qintptr>{40, 7}));

    w->OnHelp = [](quint16, qintptr, bool &) -> bool { throw Exception("sin ayuda"); };
    f.Log.clear();
    w->HelpButton->click();
    QCOMPARE(f.Log, QStringList{"error:sin ayuda"});

    QPixmap glyph(16, 16);
    glyph.fill(Qt::blue);
    w->SetHelpGlyph(glyph);
    QVERIFY(!w->HelpButton->icon().isNull());
    QCOMPARE(w->HelpButton->iconSize(), QSize(16, 16));
}

void TestWizardKv::showControlBringsItsPageForward()
{
    TWizardFixture f(3);
    QLineEdit *edit = f.Pages[2]->findChild<QLineEdit *>();
    f.Wizard->ShowControl(edit);
    QCOMPARE(f.ActiveName(), QStringLiteral("p3"));
    QVERIFY(f.Pages[0]->isHidden());
    f.Wizard->ShowControl(f.Pages[1]);
    QCOMPARE(f.ActiveName(), QStringLiteral("p2"));

    // Giving the focus to a control on a hidden page does the same, and the
    // control keeps the focus.
    f.Form->activateWindow();
    if (!QTest::qWaitForWindowActive(f.Form.get()))
        QSKIP("the platform does not activate windows");
    f.Log.clear();
    edit->setFocus();
    QCOMPARE(f.ActiveName(), QStringLiteral("p3"));
    QVERIFY(f.Pages[1]->isHidden());
    QCOMPARE(QApplication::focusWidget(), edit);
    QCOMPARE(f.Log, (QStringList{"changing", "change:p3"}));
}

void TestWizardKv::nextIsDefaultButton()
{
    TWizardFixture f(3);
    TWizardKv *w = f.Wizard;
    auto *next = static_cast<TBarButtonKv *>(w->NextButton);
    QVERIFY(!next->DefaultLook());
    w->SetNextButtonByDefault(true);
    QVERIFY(next->DefaultLook());
    QVERIFY(!next->isDefault());   // looks it without taking a dialog's default
    f.Form->activateWindow();
    if (!QTest::qWaitForWindowActive(f.Form.get()))
        QSKIP("the platform does not activate windows");
    // Switching moved the focus to the page's first control.
    QLineEdit *edit = f.Pages[0]->findChild<QLineEdit *>();
    w->SetActivePage(f.Pages[1]);
    w->SetActivePage(f.Pages[0]);
    QCOMPARE(QApplication::focusWidget(), edit);
    QTest::keyClick(edit, Qt::Key_Return);
    QCOMPARE(f.ActiveName(), QStringLiteral("p2"));
    w->SetNextButtonByDefault(false);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(f.ActiveName(), QStringLiteral("p2"));
}

void TestWizardKv::pictureGeometry()
{
    {
        // No picture: neither side strip nor header.
        TWizardFixture f(1);
        QCOMPARE(f.Child<QWidget>("PanelRight")->width(), 0);
        QCOMPARE(f.Child<QWidget>("PanelTop")->height(), 0);
        QVERIFY(f.Wizard->ImageLogo->isHidden());
        QCOMPARE(f.Pages[0]->size(), QSize(709, 485));
        QVERIFY(f.Wizard->Picture()->Empty());
        QVERIFY(f.Wizard->ImageLogo->isHidden());
    }
    {
        TWizardFixture f(1, true, true, [](TWizardKv *AWizard) {
            AWizard->SetPicture(MakePicture(167, 485, Qt::darkBlue, Qt::white));
        });
        QCOMPARE(f.Child<QWidget>("PanelRight")->geometry(), QRect(0, 0, 167, 485));
        QCOMPARE(f.Wizard->ImageLogo->geometry(), QRect(0, 0, 167, 485));
        QVERIFY(f.Wizard->ImageLogo->isVisible());
        QCOMPARE(f.Child<QWidget>("PanelTop")->height(), 0);
        QCOMPARE(f.Pages[0]->size(), QSize(542, 485));
        QCOMPARE(f.Pages[0]->mapTo(f.Wizard, QPoint(0, 0)), QPoint(167, 0));
    }
    {
        TWizardFixture f(1, true, true, [](TWizardKv *AWizard) {
            AWizard->SetPicture(MakePicture(39, 42, Qt::darkGreen, Qt::white));
            AWizard->SetPictureAlign(alPTop);
        });
        QWidget *top = f.Child<QWidget>("PanelTop");
        QVERIFY(f.Wizard->TopText->y() + f.Wizard->TopText->height() + 5 <= 52);
        QCOMPARE(top->geometry(), QRect(0, 0, 709, 52));
        QCOMPARE(f.Wizard->ImageLogo->parentWidget(), top);
        QCOMPARE(f.Wizard->ImageLogo->geometry(), QRect(709 - 44, 5, 39, 42));
        QCOMPARE(f.Pages[0]->geometry(), QRect(0, 52, 709, 485 - 52));
        QCOMPARE(f.Child<QWidget>("Bevel")->geometry(), QRect(0, 51, 709, 1));
    }
}

void TestWizardKv::pictureAlignChangesAndReadAdjustment()
{
    TWizardFixture f(2, true, true, [](TWizardKv *AWizard) {
        AWizard->SetPicture(MakePicture(167, 485, Qt::darkBlue, Qt::white));
    });
    TWizardKv *w = f.Wizard;
    QList<QWidget *> calls;
    w->AfterSetPictureAlign = [&](QWidget *AImage) { calls << AImage; };
    w->SetPictureAlign(alPLeft);
    QVERIFY(calls.isEmpty());

    // What the program's window does on each page change.
    w->Picture()->Assign(MakePicture(39, 42, Qt::darkGreen, Qt::white));
    w->SetPictureAlign(alPTop);
    QCOMPARE(calls, QList<QWidget *>{w->ImageLogo});
    QCOMPARE(f.Child<QWidget>("PanelRight")->width(), 0);
    QCOMPARE(f.Child<QWidget>("PanelTop")->height(), 52);
    QCOMPARE(w->ImageLogo->pos(), QPoint(709 - 44, 5));
    QCOMPARE(w->ImageLogo->height(), 42);
    QCOMPARE(w->ImageLogo->width(), 39);
    QCOMPARE(f.Pages[0]->geometry(), QRect(0, 52, 709, 433));

    w->Picture()->Assign(MakePicture(167, 485, Qt::darkBlue, Qt::white));
    w->SetPictureAlign(alPLeft);
    QCOMPARE(calls.size(), 2);
    QCOMPARE(f.Child<QWidget>("PanelRight")->width(), 167);
    QCOMPARE(f.Child<QWidget>("PanelTop")->height(), 0);
    QCOMPARE(w->ImageLogo->geometry(), QRect(0, 0, 167, 485));
    QCOMPARE(f.Pages[0]->size(), QSize(542, 485));

    // Reading an empty picture hides the image.
    w->Picture()->Assign(QPixmap());
    QVERIFY(!w->ImageLogo->isHidden());
    w->Picture();
    QVERIFY(w->ImageLogo->isHidden());
    QCOMPARE(w->ImageLogo->width(), 0);
}

void TestWizardKv::pictureIsDrawnTransparent()
{
    TWizardFixture f(1, true, true, [](TWizardKv *AWizard) {
        AWizard->SetPicture(MakePicture(167, 485, Qt::darkBlue, Qt::magenta));
    });
    QVERIFY(f.Wizard->ImageLogo->Transparent());
    const QImage shot = f.Wizard->grab().toImage();
    QCOMPARE(QColor(shot.pixel(83, 240)), QColor(Qt::darkBlue));
    QCOMPARE(QColor(shot.pixel(1, 1)), QColor(Qt::white));   // the strip shows through

    // A new picture, or transparency switched off, is what the next paint shows.
    f.Wizard->Picture()->Assign(MakePicture(167, 485, Qt::darkGreen, Qt::yellow));
    const QImage second = f.Wizard->grab().toImage();
    QCOMPARE(QColor(second.pixel(83, 240)), QColor(Qt::darkGreen));
    QCOMPARE(QColor(second.pixel(1, 1)), QColor(Qt::white));
    f.Wizard->ImageLogo->SetTransparent(false);
    QCOMPARE(QColor(f.Wizard->grab().toImage().pixel(1, 1)), QColor(Qt::yellow));
}

// A picture whose see-through colour covers only a few runs of pixels is
// drawn clipped around them; the result must be the same as a cleared copy.
void TestWizardKv::fewSeeThroughPixelsAreLeftOutWithoutCopy()
{
    QImage art(167, 485, QImage::Format_RGB32);
    art.fill(QColor(Qt::darkCyan));
    const QRgb key = qRgb(250, 0, 250);
    art.setPixel(0, 484, key);                 // the corner that names the colour
    for (int x = 40; x < 60; ++x)
        art.setPixel(x, 100, key);             // one run in the middle
    art.setPixel(166, 0, key);
    TWizardFixture f(1, true, true, [&art](TWizardKv *AWizard) {
        AWizard->SetPicture(QPixmap::fromImage(art));
    });
    const QImage shot = f.Wizard->grab().toImage();
    QCOMPARE(QColor(shot.pixel(83, 240)), QColor(Qt::darkCyan));
    for (const QPoint &p : {QPoint(0, 484), QPoint(40, 100), QPoint(59, 100), QPoint(166, 0)})
        QCOMPARE(QColor(shot.pixel(p)), QColor(Qt::white));   // the strip shows through
    QCOMPARE(QColor(shot.pixel(39, 100)), QColor(Qt::darkCyan));
    QCOMPARE(QColor(shot.pixel(60, 100)), QColor(Qt::darkCyan));

    // A picture all of the see-through colour shows nothing of itself.
    QImage blank(30, 12, QImage::Format_RGB32);
    blank.fill(key);
    f.Wizard->Picture()->Assign(QPixmap::fromImage(blank));
    QCOMPARE(QColor(f.Wizard->grab().toImage().pixel(5, 5)), QColor(Qt::white));

    // Many runs (every other pixel of a row) take the copy; the same look.
    for (int x = 0; x < 167; x += 2)
        art.setPixel(x, 200, key);
    f.Wizard->Picture()->Assign(QPixmap::fromImage(art));
    const QImage many = f.Wizard->grab().toImage();
    QCOMPARE(QColor(many.pixel(40, 100)), QColor(Qt::white));
    QCOMPARE(QColor(many.pixel(10, 200)), QColor(Qt::white));
    QCOMPARE(QColor(many.pixel(11, 200)), QColor(Qt::darkCyan));
    QCOMPARE(QColor(many.pixel(83, 240)), QColor(Qt::darkCyan));

    // Transparency off draws the picture whole, see-through colour included.
    f.Wizard->ImageLogo->SetTransparent(false);
    QCOMPARE(QColor(f.Wizard->grab().toImage().pixel(40, 100)), QColor(key));
}

void TestWizardKv::stepsCheckWidensHostFormAndUndoes()
{
    TWizardFixture f(3);
    TWizardKv *w = f.Wizard;
    QWidget *form = f.Form.get();
    QCheckBox *check = f.Child<QCheckBox>("ChkListaPasos");
    QWidget *list = f.Child<QWidget>("PanelList");
    form->move(300, 100);
    const QRect before = form->geometry();
    QVERIFY(check->isHidden());

    w->SetViewSteps(true);
    QVERIFY(!check->isHidden());
    QCOMPARE(check->text(), QStringLiteral("Pasos"));
    check->click();   // the user's click
    QCOMPARE(form->geometry(), before.adjusted(-130, 0, 0, 0));
    QCOMPARE(list->geometry(), QRect(0, 0, 130, 485));
    QCOMPARE(f.Pages[0]->size(), QSize(709, 485));
    QCOMPARE(f.Pages[0]->mapTo(w, QPoint(0, 0)), QPoint(130, 0));
    QVERIFY(!w->ViewStepsChecked());   // a click does not change the stored value

    w->SetPanelListDim(150);
    QCOMPARE(form->geometry(), before.adjusted(-150, 0, 0, 0));
    QCOMPARE(list->width(), 150);

    check->click();
    QCOMPARE(form->geometry(), before);
    QVERIFY(list->isHidden());
    QCOMPARE(f.Pages[0]->size(), QSize(709, 485));

    // By property; turning the steps off closes the list.
    w->SetViewStepsChecked(true);
    QVERIFY(check->isChecked());
    QCOMPARE(form->geometry(), before.adjusted(-150, 0, 0, 0));
    w->SetViewSteps(false);
    QVERIFY(!w->ViewStepsChecked());
    QCOMPARE(form->geometry(), before);
    w->SetViewStepsChecked(true);   // steps off: stays false
    QVERIFY(!w->ViewStepsChecked());

    // A list opened by the user also closes with the steps.
    w->SetViewSteps(true);
    check->click();
    w->SetViewSteps(false);
    QVERIFY(!check->isChecked());
    QVERIFY(list->isHidden());
    QCOMPARE(form->geometry(), before);

    // Changing the width of a hidden list does not move the form.
    w->SetViewSteps(true);
    w->SetViewStepsChecked(true);
    check->click();   // closed by the user, stored value still true
    w->SetPanelListDim(100);
    QCOMPARE(form->geometry(), before);
}

void TestWizardKv::stepsCheckedAtLoadKeepsFormPosition()
{
    auto form = std::make_unique<QWidget>();
    form->setGeometry(300, 100, 709, 533);
    auto *w = new TWizardKv(form.get());
    w->SetViewSteps(true);
    w->SetViewStepsChecked(true);
    auto *p = new TWizardPageKv(w);
    w->SetActivePage(p);
    w->Loaded();
    QCOMPARE(form->geometry(), QRect(300, 100, 709 + 130, 533));
    QCOMPARE(p->size(), QSize(709, 485));
}

void TestWizardKv::demoScreenshots()
{
    // A three-page wizard as the program uses it: picture left on the first
    // page, in the header on the others, steps list shown.
    const QPixmap tall = MakePicture(167, 485, QColor(40, 90, 160), Qt::white);
    const QPixmap icon = MakePicture(39, 42, QColor(40, 140, 60), Qt::white);
    TWizardFixture f(3, true, false, [&](TWizardKv *AWizard) {
        AWizard->SetPicture(tall);
        AWizard->SetViewSteps(true);
        AWizard->SetNextButtonByDefault(true);
    });
    TWizardKv *w = f.Wizard;
    f.Form->setWindowTitle(QStringLiteral("Asistente"));
    f.Pages[0]->SetTopTitle(QStringLiteral("Bienvenido al asistente para la generación de certificado digital de AFIP"));
    f.Pages[1]->SetTopTitle(QStringLiteral("Ingreso de datos"));
    f.Pages[1]->SetTopText(QStringLiteral("En esta pantalla deberá ingresar los datos necesarios para solicitar el certificado digital."));
    f.Pages[2]->SetTopTitle(QStringLiteral("Información procesada"));
    f.Pages[2]->SetTopText(QStringLiteral(" "));
    for (TWizardPageKv *page : f.Pages) {
        auto *label = new QLabel(QStringLiteral("Contenido de la página %1").arg(page->PageIndex() + 1), page);
        label->move(48, 80);
    }
    auto *link = new QLabel(QStringLiteral("Visite la página de Vemra Revororad S.A."), w->CancelButton->parentWidget());
    QFont linkFont = TWizardKv::DefaultFont();
    linkFont.setUnderline(true);
    link->setFont(linkFont);
    link->setStyleSheet(QStringLiteral("color: blue"));
    link->setGeometry(20, 392, 210, 13);
    TWizardKv::SetTag(link, 4);
    w->OnChange = [&](QObject *) {
        const bool first = w->ActivePage() == w->Pages(0);
        w->Picture()->Assign(first ? tall : icon);
        w->SetPictureAlign(first ? alPLeft : alPTop);
    };
    f.Form->show();
    QCOMPARE(link->geometry(), QRect(8, 13, 210, 23));

    // Button captions fit their buttons.
    for (QPushButton *b : {w->FinishButton, w->NextButton, w->BackButton, w->CancelButton}) {
        QString text = b->text();
        text.remove('&');
        QVERIFY2(b->fontMetrics().horizontalAdvance(text) + 8 <= b->width(), qPrintable(text));
    }
    QCheckBox *check = f.Child<QCheckBox>("ChkListaPasos");
    QStyleOptionButton option;
    option.initFrom(check);
    const QRect text = check->style()->subElementRect(QStyle::SE_CheckBoxContents, &option, check);
    QVERIFY(text.left() + check->fontMetrics().horizontalAdvance(check->text()) <= check->width());

    const QString dir = qEnvironmentVariable("ZEDEDE_SHOTS");
    auto shot = [&](const QString &AName) {
        const QPixmap pix = f.Form->grab();
        QCOMPARE(pix.size(), f.Form->size());
        if (!dir.isEmpty()) {
            QDir().mkpath(dir);
            QVERIFY(pix.save(QDir(dir).filePath(AName)));
        }
    };
    shot(QStringLiteral("wizard-1-picture-left.png"));
    w->NextButton->click();
    QCOMPARE(f.Child<QWidget>("PanelTop")->height(), 52);
    shot(QStringLiteral("wizard-2-picture-header.png"));
    check->click();
    w->NextButton->click();
    QCOMPARE(f.Form->width(), 709 + 130);
    shot(QStringLiteral("wizard-3-steps-list.png"));
    w->BackButton->click();
    w->BackButton->click();
    shot(QStringLiteral("wizard-4-steps-picture-left.png"));
}

QTEST_MAIN(TestWizardKv)
#include "tst_wizardkv.moc"

// TWizardKv: the page list and the navigation, as the navigator decides them
// and applied to the bar's buttons; the events and signals; the Enter key;
// page focus notifications; errors from handlers; properties of controls.
// The frame (construction, layout, picture, steps list) is in WizardFrame.cpp.

#include "UCWWizard.h"

#include "WizardBarProperties.h"

#include "WizardTexts.h"

#include "Exception.h"

#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>

namespace {

THelpGlyphProvider GHelpGlyphProvider = nullptr;

// Error of the page list for an index outside 0 .. count - 1.
[[noreturn]] void ListIndexError(int AIndex)
{
    throw Exception(WizardTexts::ListIndexError(AIndex));
}

// First control of a page in tab order that is a tab stop; failing that,
// its first control that can take the focus at all.
QWidget *FirstFocusControl(QWidget *APage)
{
    QWidget *anyFocusable = nullptr;
    QWidget *w = APage->nextInFocusChain();
    for (int guard = 0; w && w != APage && guard < 100000; ++guard, w = w->nextInFocusChain()) {
        if (!APage->isAncestorOf(w) || !w->isVisible() || !w->isEnabled())
            continue;
        if ((w->focusPolicy() & Qt::TabFocus) == Qt::TabFocus)
            return w;
        if (!anyFocusable && w->focusPolicy() != Qt::NoFocus)
            anyFocusable = w;
    }
    return anyFocusable;
}

} // namespace

// ---------------------------------------------------------------------------
// Help glyph and properties of controls

void TWizardKv::SetHelpGlyphProvider(THelpGlyphProvider AProvider)
{
    GHelpGlyphProvider = AProvider;
}

THelpGlyphProvider TWizardKv::HelpGlyphProvider()
{
    return GHelpGlyphProvider;
}

void TWizardKv::SetHelpGlyph(const QPixmap &AGlyph)
{
    HelpButton->setIcon(QIcon(AGlyph));
}

void TWizardKv::SetTag(QWidget *AControl, int ATag)
{
    WizardBar::SetTag(AControl, ATag);
}

int TWizardKv::Tag(const QWidget *AControl)
{
    return WizardBar::Tag(AControl);
}

void TWizardKv::SetWindowless(QWidget *AControl, bool AValue)
{
    WizardBar::SetWindowless(AControl, AValue);
}

bool TWizardKv::Windowless(const QWidget *AControl)
{
    return WizardBar::Windowless(AControl);
}

void TWizardKv::SetHelpContext(QWidget *AControl, int AContext)
{
    AControl->setProperty(HelpContextProperty, AContext);
}

int TWizardKv::HelpContext(const QWidget *AControl)
{
    return AControl->property(HelpContextProperty).toInt();
}

void TWizardKv::SetModalResult(QWidget *AControl, int AResult)
{
    AControl->setProperty(ModalResultProperty, AResult);
}

int TWizardKv::ModalResult(const QWidget *AControl)
{
    return AControl->property(ModalResultProperty).toInt();
}

// ---------------------------------------------------------------------------
// Exceptions from handlers

void TWizardKv::HandleClick(QObject *ASender, const std::function<void()> &AAction)
{
    try {
        AAction();
    } catch (...) {
        HandleException(ASender, std::current_exception());
    }
}

void TWizardKv::HandleException(QObject *ASender, std::exception_ptr AError)
{
    if (OnException) {
        try {
            const TExceptionEvent handler = OnException;
            handler(ASender, AError);
        } catch (...) {
            qWarning("El manejador de errores del asistente lanzó una excepción");
        }
        return;
    }
    QString message = QStringLiteral("Error desconocido");
    try {
        std::rethrow_exception(AError);
    } catch (const Exception &e) {
        message = e.Message();
    } catch (const std::exception &e) {
        message = QString::fromLocal8Bit(e.what());
    } catch (...) {
    }
    qWarning("%s", qUtf8Printable(message));
}

// ---------------------------------------------------------------------------
// Page list and navigation

TWizardPageKv *TWizardKv::Pages(int AIndex) const
{
    if (AIndex < 0 || AIndex >= FNav.Count())
        ListIndexError(AIndex);
    return Page(FNav.At(AIndex));
}

void TWizardKv::InsertPage(TWizardPageKv *APage)
{
    if (!APage)
        return;
    // A page is listed by one wizard at most.
    if (APage->FWizardControl && APage->FWizardControl != this)
        APage->FWizardControl->RemovePage(APage);
    FNav.Append(APage);
    if (APage->parentWidget() != Panelaux) {
        APage->setParent(Panelaux);
        if (APage != ActivePage())
            APage->hide();
    }
    APage->FWizardControl = this;
    Realign();
    updateGeometry();
    if (!FLoading)
        SetActivePage(APage);
}

void TWizardKv::RemovePage(TWizardPageKv *APage)
{
    if (FDestroying || !FNav.Contains(APage))
        return;
    SetActivePage(Page(FNav.RemovalSuccessor(APage)));
    APage->FWizardControl = nullptr;
    FNav.Remove(APage);
    updateGeometry();
    // The buttons show the list as it is without the page.
    RefreshButtons();
}

void TWizardKv::MovePage(int ACurIndex, int ANewIndex)
{
    if (ACurIndex < 0 || ACurIndex >= FNav.Count())
        ListIndexError(ACurIndex);
    if (ANewIndex < 0 || ANewIndex >= FNav.Count())
        ListIndexError(ANewIndex);
    FNav.Move(ACurIndex, ANewIndex);
}

TWizardPageKv *TWizardKv::FindNextPage(TWizardPageKv *APage, bool AGoForward,
                                       bool ACheckInclude) const
{
    return Page(FNav.FindNext(APage, AGoForward, ACheckInclude));
}

void TWizardKv::SelectNextPage(bool AGoForward)
{
    if (TWizardPageKv *page = FindNextPage(ActivePage(), AGoForward, true))
        SetActivePage(page);
}

bool TWizardKv::ActiveDone() const
{
    TWizardPageKv *active = ActivePage();
    return active && active->QueryDone();
}

void TWizardKv::CheckDone()
{
    NextButton->setEnabled(FNav.NextEnabled(ActiveDone(), WizardEnabled()));
}

void TWizardKv::GetChildren(const std::function<void(QWidget *)> &AProc) const
{
    for (TNavigatorPage *page : FNav.Pages())
        AProc(Page(page));
}

TWizardPageKv *TWizardKv::PageHolding(QWidget *AControl) const
{
    for (QWidget *w = AControl; w; w = w->parentWidget())
        if (auto *page = qobject_cast<TWizardPageKv *>(w); page && page->FWizardControl == this)
            return page;
    return nullptr;
}

void TWizardKv::ShowControl(QWidget *AControl)
{
    if (TWizardPageKv *page = PageHolding(AControl))
        SetActivePage(page);
    if (AControl && AControl->isHidden() && !qobject_cast<TWizardPageKv *>(AControl))
        AControl->show();
}

void TWizardKv::DoChanging()
{
    if (!FLoaded)
        return;
    if (OnChanging) {
        const TNotifyEvent handler = OnChanging;
        handler(this);
    }
    emit pageChanging();
}

void TWizardKv::DoChange()
{
    if (!FLoaded)
        return;
    if (OnChange) {
        const TNotifyEvent handler = OnChange;
        handler(this);
    }
    emit pageChanged(ActivePage());
}

void TWizardKv::ApplyButtons(const TNavigatorButtons &AButtons)
{
    if (AButtons.BackEnabled)
        BackButton->setEnabled(*AButtons.BackEnabled);
    if (AButtons.NextEnabled)
        NextButton->setEnabled(*AButtons.NextEnabled);
    if (AButtons.NextCaption)
        NextButton->setText(*AButtons.NextCaption);
    if (AButtons.FinishEnabled)
        FinishButton->setEnabled(*AButtons.FinishEnabled);
}

void TWizardKv::SetActivePage(TWizardPageKv *AValue)
{
    TWizardPageKv *old = ActivePage();
    if (AValue == old || (AValue && AValue->FWizardControl != this))
        return;
    DoChanging();

    struct AlignResume {
        TWizardKv *Wizard;
        bool WasSwitching;
        ~AlignResume()
        {
            Wizard->FSwitching = WasSwitching;
            if (--Wizard->FAlignSuspended == 0)
                Wizard->Realign();
        }
    };
    ++FAlignSuspended;
    {
        AlignResume resume{this, FSwitching};
        FSwitching = true;
        if (AValue) {
            AValue->raise();
            AValue->show();
            QWidget *form = AValue->window();
            if (form != AValue && AValue->isVisible() && AValue->isEnabled())
                if (QWidget *first = FirstFocusControl(AValue))
                    first->setFocus(Qt::OtherFocusReason);
        }
        if (old)
            old->hide();
        FNav.SetActive(AValue);
        if (!AValue)
            return;
        ShowTopLabel(TopTitle, AValue->TopTitle());
        ShowTopLabel(TopText, AValue->TopText());
        ApplyButtons(FNav.Arrive(AValue->QueryDone(), WizardEnabled()));
    }
    DoChange();
    if (FViewSteps && ChkListaPasos->isChecked())
        PanelList->update();
}

void TWizardKv::SetFirstPage(TWizardPageKv *AValue)
{
    FFirstPage = AValue;
    if (FLoading)
        SetActivePage(AValue);
}

void TWizardKv::RefreshButtons()
{
    if (ActivePage())
        ApplyButtons(FNav.Refresh(ActiveDone(), WizardEnabled()));
}

void TWizardKv::ResetFinished()
{
    RefreshButtons();
    CancelButton->setText(WizardTexts::Cancel());
    SetModalResult(CancelButton, mrCancel);
}

void TWizardKv::CloseHostForm()
{
    window()->close();
}

void TWizardKv::NextButtonClick()
{
    const TNextStep step = FNav.NextStep();
    if (step == TNextStep::None)
        return;
    const TWizardQueryEvent handler = ActivePage()->OnNextClick;
    bool done = true;
    if (handler)
        handler(this, done);
    if (!done)
        return;
    if (step == TNextStep::Move)
        SelectNextPage(true);
    else
        FinishButtonClick();
}

void TWizardKv::BackButtonClick()
{
    FNav.ClearFinished();
    bool done = true;
    if (TWizardPageKv *active = ActivePage(); active && active->OnBackClick) {
        const TWizardQueryEvent handler = active->OnBackClick;
        handler(this, done);
    }
    if (done)
        SelectNextPage(false);
}

void TWizardKv::FinishButtonClick()
{
    EndClick(OnFinishClick, &TWizardKv::finishClicked);
}

void TWizardKv::CancelButtonClick()
{
    EndClick(OnCancelClick, &TWizardKv::cancelClicked);
}

void TWizardKv::EndClick(const TNotifyEvent &AEvent, void (TWizardKv::*ASignal)())
{
    // The handler replaces closing the host form; it may also destroy the
    // wizard.
    QPointer<TWizardKv> self(this);
    const TNotifyEvent handler = AEvent;
    if (handler) {
        handler(this);
        if (!self)
            return;
    }
    emit(this->*ASignal)();
    if (self && !handler)
        CloseHostForm();
}

void TWizardKv::HelpButtonClick()
{
    int context = 0;
    for (QWidget *w = ActivePage(); w && context == 0; w = w->parentWidget())
        context = HelpContext(w);
    if (context == 0)
        return;
    if (OnHelp) {
        bool callHelp = true;
        const THelpEvent handler = OnHelp;
        handler(1, context, callHelp);
    }
    // Without a handler there is no system help viewer to ask on this
    // platform: nothing more happens.
    emit helpRequested(context);
}

// ---------------------------------------------------------------------------
// Keyboard, focus and enabled state

void TWizardKv::keyPressEvent(QKeyEvent *AEvent)
{
    // Enter that a control of the wizard left unused arrives here on its
    // way to the window.
    const bool enter = AEvent->key() == Qt::Key_Return || AEvent->key() == Qt::Key_Enter;
    const bool plain = AEvent->modifiers() == Qt::NoModifier
                       || (AEvent->key() == Qt::Key_Enter && AEvent->modifiers() == Qt::KeypadModifier);
    if (!enter || !plain) {
        QWidget::keyPressEvent(AEvent);
        return;
    }
    // A focused push button of the wizard takes Enter itself, as a default
    // button does.
    if (auto *focused = qobject_cast<QPushButton *>(QApplication::focusWidget());
        focused && isAncestorOf(focused) && focused->isEnabled()) {
        AEvent->accept();
        focused->click();
        return;
    }
    if (FNextButtonByDefault && NextButton->isVisible() && NextButton->isEnabled()) {
        AEvent->accept();
        NextButton->click();
        return;
    }
    AEvent->ignore();
}

void TWizardKv::FocusChanged(QWidget *AOld, QWidget *ANow)
{
    if (FDestroying)
        return;
    // Focus given to a control on a hidden page brings that page forward;
    // the switch moves the focus to the page's first control, so it goes
    // back to the control asked for.
    if (TWizardPageKv *page = PageHolding(ANow); page && page != ActivePage() && !FSwitching) {
        QPointer<QWidget> asked(ANow);
        HandleClick(this, [&] { SetActivePage(page); });
        if (!asked)
            return;
        if (ActivePage() == page && QApplication::focusWidget() != asked)
            asked->setFocus(Qt::OtherFocusReason);
    }
    auto inside = [](TWizardPageKv *APage, QWidget *AControl) {
        return AControl && (AControl == APage || APage->isAncestorOf(AControl));
    };
    QList<QPointer<TWizardPageKv>> exits, enters;
    for (TNavigatorPage *listed : FNav.Pages()) {
        TWizardPageKv *page = Page(listed);
        const bool was = inside(page, AOld);
        const bool is = inside(page, ANow);
        if (was && !is)
            exits << page;
        else if (is && !was)
            enters << page;
    }
    auto notify = [this](const QList<QPointer<TWizardPageKv>> &APages,
                         TNotifyEvent TWizardPageKv::*AEvent) {
        for (const QPointer<TWizardPageKv> &page : APages)
            if (page && (page->*AEvent)) {
                const TNotifyEvent handler = page->*AEvent;
                HandleClick(page, [&] { handler(page); });
            }
    };
    notify(exits, &TWizardPageKv::OnExit);
    notify(enters, &TWizardPageKv::OnEnter);
}

bool TWizardKv::WizardEnabled() const
{
    // The wizard's own Enabled, whatever its parents' state.
    return !testAttribute(Qt::WA_ForceDisabled);
}

void TWizardKv::EnabledChanged()
{
    const bool enabled = WizardEnabled();
    HelpButton->setEnabled(enabled);
    CancelButton->setEnabled(enabled);
    NextButton->setEnabled(FNav.NextEnabled(enabled && ActiveDone(), enabled));
    BackButton->setEnabled(FNav.BackEnabled(enabled));
}

// ---------------------------------------------------------------------------
// Navigation properties acting on the bar

void TWizardKv::SetAllowProcessDefault(bool AValue)
{
    if (AValue == FNav.AllowProcessDefault)
        return;
    FNav.AllowProcessDefault = AValue;
    FinishButton->setVisible(AValue);
    FinishButton->resize(FinishButton->width(), AValue ? NextButton->height() : 0);
    PanelHorz->AlignControls();
}

void TWizardKv::SetButtons(TWizardButtons AValue)
{
    if (AValue == FButtons)
        return;
    HelpButton->setVisible(AValue & wbHelp);
    CancelButton->setVisible(AValue & wbCancel);
    FButtons = AValue;
    FNav.CancelShown = AValue & wbCancel;
    PanelHorz->AlignControls();
}

void TWizardKv::SetNextButtonByDefault(bool AValue)
{
    if (AValue == FNextButtonByDefault)
        return;
    FNextButtonByDefault = AValue;
    static_cast<TBarButtonKv *>(NextButton)->SetDefaultLook(AValue);
}

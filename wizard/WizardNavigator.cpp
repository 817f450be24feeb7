#include "WizardNavigator.h"

#include "WizardTexts.h"

int TWizardNavigator::IndexOf(const TNavigatorPage *APage) const
{
    return APage ? FPages.indexOf(const_cast<TNavigatorPage *>(APage)) : -1;
}

void TWizardNavigator::Append(TNavigatorPage *APage)
{
    if (APage && !Contains(APage))
        FPages.append(APage);
}

void TWizardNavigator::Remove(TNavigatorPage *APage)
{
    FPages.removeAll(APage);
    if (FActive == APage)
        FActive = nullptr;
}

TNavigatorPage *TWizardNavigator::FindNext(const TNavigatorPage *APage, bool AGoForward,
                                           bool ACheckInclude) const
{
    const int index = IndexOf(APage);
    if (index < 0)
        return nullptr;
    const int step = AGoForward ? 1 : -1;
    for (int i = index + step; i >= 0 && i < FPages.size(); i += step)
        if (!ACheckInclude || FPages.at(i)->Include())
            return FPages.at(i);
    return nullptr;
}

TNavigatorPage *TWizardNavigator::RemovalSuccessor(const TNavigatorPage *APage) const
{
    if (TNavigatorPage *after = FindNext(APage, true, false))
        return after;
    return FindNext(APage, false, false);
}

TNavigatorButtons TWizardNavigator::ButtonsFor(const TNavigatorPage *APage, bool ADone,
                                               bool AEnabled) const
{
    TNavigatorButtons b;
    b.BackEnabled = AEnabled && FindNext(APage, false, true);
    b.NextEnabled = AEnabled && ADone;
    bool finished = false;
    if (FindNext(APage, true, true)) {
        b.NextCaption = WizardTexts::Next();
    } else if (AllowProcessDefault) {
        b.NextEnabled = false;
        finished = true;
    } else {
        b.NextCaption = CapFinishBtn;
    }
    b.FinishEnabled = finished;
    return b;
}

TNavigatorButtons TWizardNavigator::Arrive(bool ADone, bool AEnabled)
{
    if (!FActive)
        return {};
    TNavigatorButtons b = ButtonsFor(FActive, ADone, AEnabled);
    FFinished = *b.FinishEnabled;
    return b;
}

TNavigatorButtons TWizardNavigator::Refresh(bool ADone, bool AEnabled)
{
    if (!FActive)
        return {};
    TNavigatorButtons b = ButtonsFor(FActive, ADone, AEnabled);
    FFinished = *b.FinishEnabled;
    if (!FFinished)
        b.FinishEnabled.reset();
    return b;
}

bool TWizardNavigator::NextEnabled(bool ADone, bool AEnabled) const
{
    return AEnabled && !(FFinished && CancelShown) && FActive && ADone;
}

bool TWizardNavigator::BackEnabled(bool AEnabled) const
{
    return AEnabled && !FFinished && FindNext(FActive, false, true);
}

TNextStep TWizardNavigator::NextStep() const
{
    if (!FActive)
        return TNextStep::None;
    if (!FFinished && FindNext(FActive, true, true))
        return TNextStep::Move;
    return TNextStep::Finish;
}

TIncludeEffect TWizardNavigator::IncludeChanged(const TNavigatorPage *APage) const
{
    TIncludeEffect effect;
    if (!Contains(APage))
        return effect;
    if (APage == FActive && !APage->Include()) {
        // The excluded page gives way to the nearest included page after it,
        // else before it; with none left it stays, and a lone page leaves
        // the wizard without an active page.
        TNavigatorPage *next = Count() == 1 ? nullptr : FindNext(APage, true, true);
        if (!next && Count() > 1)
            next = FindNext(APage, false, true);
        if (next || Count() == 1) {
            effect.Switch = true;
            effect.Target = next;
            return effect;
        }
    }
    effect.Refresh = FActive && IndexOf(APage) > IndexOf(FActive);
    return effect;
}

// TWizardPageKv: a container for the host's controls that attaches itself to
// a wizard; its inclusion is read by the wizard's navigator.

#include "UCWWizard.h"

#include <QLayout>

TWizardPageKv::TWizardPageKv(TWizardKv *AWizardControl) : QWidget(nullptr)
{
    setAutoFillBackground(true);
    SetWizardControl(AWizardControl);
}

TWizardPageKv::~TWizardPageKv()
{
    TWizardKv *wizard = FWizardControl;
    if (!wizard)
        return;
    try {
        SetWizardControl(nullptr);
    } catch (...) {
        wizard->HandleException(wizard, std::current_exception());
    }
    // A handler that threw during the switch must not leave a dangling entry.
    if (FWizardControl == wizard) {
        wizard->FNav.Remove(this);
        FWizardControl = nullptr;
    }
}

void TWizardPageKv::showEvent(QShowEvent *AEvent)
{
    FLoaded = true;
    QWidget::showEvent(AEvent);
}

void TWizardPageKv::SetWizardControl(TWizardKv *AValue)
{
    if (AValue == FWizardControl)
        return;
    if (FWizardControl)
        FWizardControl->RemovePage(this);
    if (AValue)
        AValue->InsertPage(this);
}

int TWizardPageKv::PageIndex() const
{
    return FWizardControl ? FWizardControl->FNav.IndexOf(this) : -1;
}

void TWizardPageKv::SetPageIndex(int AValue)
{
    if (FWizardControl)
        FWizardControl->MovePage(PageIndex(), AValue);
}

void TWizardPageKv::SetInclude(bool AValue)
{
    if (AValue == FInclude)
        return;
    FInclude = AValue;
    TWizardKv *wizard = FWizardControl;
    if (!wizard)
        return;
    const TIncludeEffect effect = wizard->FNav.IncludeChanged(this);
    if (effect.Switch)
        wizard->SetActivePage(TWizardKv::Page(effect.Target));
    else if (effect.Refresh)
        wizard->ResetFinished();
}

bool TWizardPageKv::QueryDone()
{
    bool done = true;
    if (FLoaded && OnDoneQuery) {
        const TWizardQueryEvent handler = OnDoneQuery;
        handler(this, done);
    }
    return done;
}

QSize TWizardPageKv::sizeHint() const
{
    if (layout())
        return QWidget::sizeHint();
    // Controls placed by hand, with the margin they leave at the top left
    // also at the bottom right.
    const QRect r = childrenRect();
    if (r.isNull())
        return QSize(0, 0);
    return QSize(r.right() + 1 + std::max(0, r.left()), r.bottom() + 1 + std::max(0, r.top()));
}

QSize TWizardPageKv::minimumSizeHint() const
{
    return layout() ? QWidget::minimumSizeHint() : sizeHint();
}

#include "WizardBarProperties.h"

#include <QLabel>
#include <QToolButton>
#include <QVariant>

namespace WizardBar {

void SetTag(QWidget *AControl, int ATag)
{
    AControl->setProperty(TagProperty, ATag);
}

int Tag(const QWidget *AControl)
{
    return AControl->property(TagProperty).toInt();
}

void SetWindowless(QWidget *AControl, bool AValue)
{
    AControl->setProperty(WindowlessProperty, AValue);
}

bool Windowless(const QWidget *AControl)
{
    const QVariant explicitValue = AControl->property(WindowlessProperty);
    if (explicitValue.isValid())
        return explicitValue.toBool();
    return qobject_cast<const QLabel *>(AControl) || qobject_cast<const QToolButton *>(AControl);
}

} // namespace WizardBar

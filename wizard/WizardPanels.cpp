#include "WizardPanels.h"

#include <QPainter>

TPanelKv::TPanelKv(QWidget *AParent, const QColor &AColor, const QString &ACaption)
    : QWidget(AParent), Caption(ACaption)
{
    setAutoFillBackground(true);
    if (AColor.isValid()) {
        QPalette pal = palette();
        pal.setColor(QPalette::Window, AColor);
        setPalette(pal);
    }
}

void TPanelKv::paintEvent(QPaintEvent *)
{
    if (Caption.isEmpty())
        return;
    QPainter p(this);
    p.setPen(palette().color(QPalette::WindowText));
    p.drawText(rect(), Qt::AlignCenter, Caption);
}

TWizardPanelKv::TWizardPanelKv(bool AHorizontal, QWidget *AParent)
    : QWidget(AParent), horizontal(AHorizontal)
{
    setAutoFillBackground(true);
}

#include "WizardStepsList.h"

#include "WizardNavigator.h"
#include "WizardTexts.h"

#include <QPainter>

#include <algorithm>
#include <cstdlib>

TWizardStepsListKv::TWizardStepsListKv(const TWizardNavigator *ANavigator, QWidget *AParent)
    : TWizardPanelKv(false, AParent), FNavigator(ANavigator)
{
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::black);
    setPalette(pal);
}

QString TWizardStepsListKv::StepCaption(int AIndex, int ACount)
{
    if (AIndex == 1)
        return WizardTexts::FirstStep();
    if (AIndex == ACount)
        return WizardTexts::LastStep();
    return WizardTexts::Step(AIndex);
}

int TWizardStepsListKv::StepTop(int AIndex, int AFontHeight)
{
    return (std::abs(AFontHeight) + 15) * (AIndex - 1) + 20;
}

void TWizardStepsListKv::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), Qt::black);
    const int count = FNavigator->Count();
    if (count == 0)
        return;
    // No active page: no row is the current one.
    const int current = FNavigator->IndexOf(FNavigator->Active()) + 1;
    const int fontHeight = QFontInfo(font()).pixelSize();
    const QFontMetrics fm(font());
    p.setFont(font());
    p.setBackgroundMode(Qt::OpaqueMode);
    p.setBackground(Qt::black);
    for (int i = 1; i <= count; ++i) {
        const int y = StepTop(i, fontHeight);
        const QPoint triangle[3] = {QPoint(10, y - 1), QPoint(26, y + 6), QPoint(10, y + 15)};
        p.setPen(Qt::black);
        p.setBrush(i == current ? QColor(0x00, 0xFF, 0x00) : QColor(0xFF, 0x00, 0x00));
        p.drawPolygon(triangle, 3);
        p.setBrush(Qt::black);
        p.setPen(Qt::white);
        p.drawText(QRect(30, y, std::max(0, width() - 30), fm.height() + 2),
                   Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, StepCaption(i, count));
    }
}

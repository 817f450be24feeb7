#include "Shape.h"

#include <QPainter>

TShapeKv::TShapeKv(QWidget *AParent, const QColor &AFill)
    : QWidget(AParent), FFill(AFill)
{
}

void TShapeKv::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), FFill);
    p.setPen(FFill.darker(135));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

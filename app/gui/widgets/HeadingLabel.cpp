#include "HeadingLabel.h"

#include <algorithm>

THeadingLabel::THeadingLabel(const QString &AText, QWidget *AParent)
    : QLabel(AParent)
{
    setTextFormat(Qt::PlainText);
    setText(AText);
    setWordWrap(true);
    QFont f = font();
    f.setBold(true);
    f.setPixelSize(std::max(13, f.pixelSize() + 2));
    setFont(f);
}

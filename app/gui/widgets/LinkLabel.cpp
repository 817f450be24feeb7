#include "LinkLabel.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>

TLinkLabelKv::TLinkLabelKv(QWidget *AParent) : QLabel(AParent)
{
    setFocusPolicy(Qt::TabFocus);
}

void TLinkLabelKv::Click()
{
    if (OnClick)
        OnClick(this);
}

namespace {
bool IsActivationKey(const QKeyEvent *AKey)
{
    const int k = AKey->key();
    return (k == Qt::Key_Return || k == Qt::Key_Enter || k == Qt::Key_Space)
           && (AKey->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
}
} // namespace

bool TLinkLabelKv::event(QEvent *AEvent)
{
    // The keys that act on the link are its own, not the window's shortcuts.
    if (AEvent->type() == QEvent::ShortcutOverride
        && IsActivationKey(static_cast<QKeyEvent *>(AEvent))) {
        AEvent->accept();
        return true;
    }
    return QLabel::event(AEvent);
}

void TLinkLabelKv::keyPressEvent(QKeyEvent *AEvent)
{
    if (IsActivationKey(AEvent)) {
        AEvent->accept();
        Click();
        return;
    }
    QLabel::keyPressEvent(AEvent);
}

void TLinkLabelKv::paintEvent(QPaintEvent *AEvent)
{
    QLabel::paintEvent(AEvent);
    if (!hasFocus())
        return;
    QPainter p(this);
    QStyleOptionFocusRect option;
    option.initFrom(this);
    option.backgroundColor = palette().color(backgroundRole());
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &p, this);
}

void TLinkLabelKv::mousePressEvent(QMouseEvent *AEvent)
{
    FPressed = AEvent->button() == Qt::LeftButton;
    QLabel::mousePressEvent(AEvent);
}

void TLinkLabelKv::mouseReleaseEvent(QMouseEvent *AEvent)
{
    const bool click = FPressed && AEvent->button() == Qt::LeftButton
                       && rect().contains(AEvent->position().toPoint());
    FPressed = false;
    QLabel::mouseReleaseEvent(AEvent);
    if (click)
        Click();
}

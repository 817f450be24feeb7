#include "WizardButtonBar.h"

#include "WizardBarProperties.h"
#include "WizardNavigator.h"

#include <QChildEvent>
#include <QPainter>
#include <QStyleOptionButton>

#include <algorithm>

TBarButtonKv::TBarButtonKv(const QString &ACaption, QWidget *AParent)
    : QPushButton(ACaption, AParent)
{
    setAutoDefault(false);
}

void TBarButtonKv::SetDefaultLook(bool AValue)
{
    if (FDefaultLook != AValue) {
        FDefaultLook = AValue;
        update();
    }
}

void TBarButtonKv::initStyleOption(QStyleOptionButton *AOption) const
{
    QPushButton::initStyleOption(AOption);
    if (FDefaultLook)
        AOption->features |= QStyleOptionButton::DefaultButton;
}

void TBarButtonKv::paintEvent(QPaintEvent *AEvent)
{
    QPushButton::paintEvent(AEvent);
    if (!FDefaultLook || !hasFocus())
        return;
    QStyleOptionButton button;
    initStyleOption(&button);
    QStyleOptionFocusRect focus;
    focus.initFrom(this);
    focus.rect = style()->subElementRect(QStyle::SE_PushButtonFocusRect, &button, this)
                     .adjusted(1, 1, -1, -1);
    focus.backgroundColor = palette().color(QPalette::Button);
    QPainter p(this);
    QPen pen(palette().color(QPalette::WindowText), 1, Qt::DotLine);
    p.setPen(pen);
    p.drawRect(focus.rect.adjusted(0, 0, -1, -1));
}

TWizardButtonBarKv::TWizardButtonBarKv(const TWizardNavigator *ANavigator, QWidget *AParent)
    : TWizardPanelKv(true, AParent), FNavigator(ANavigator)
{
}

void TWizardButtonBarKv::LayoutBar(const QRect &AClient, bool AAllowProcessDefault,
                                   QVector<TBarItem> &AItems)
{
    const int areaLeft = AClient.x();
    const int areaTop = AClient.y() + 13;
    const int areaBottom = std::max(areaTop, AClient.y() + AClient.height() - 12);
    int r = AClient.x() + AClient.width() - 8;

    auto place = [&](TBarItem &AItem) {
        AItem.Bounds = QRect(r - AItem.Width, areaTop, AItem.Width, areaBottom - areaTop);
    };
    auto toLeftEnd = [&](TBarItem &AItem) { AItem.Bounds.moveLeft(areaLeft + 8); };

    const int n = AItems.size();
    if (AAllowProcessDefault) {
        for (TBarItem &item : AItems) {
            if (!item.Visible)
                continue;
            place(item);
            if (item.Tag == 4)
                toLeftEnd(item);
            else
                r = item.Bounds.left() - item.Tag;
        }
        return;
    }
    // Child 0 (the help button) and child 4 (Cancel) keep their places
    // whether shown or not.
    if (n > 0) {
        place(AItems[0]);
        if (AItems[0].Tag == 4)
            toLeftEnd(AItems[0]);
    }
    if (n > 4) {
        place(AItems[4]);
        r = AItems[4].Bounds.left() - AItems[4].Tag;
    }
    for (int i = 1; i < n; ++i) {
        if (i == 4 || !AItems[i].Visible)
            continue;
        place(AItems[i]);
        r = AItems[i].Bounds.left() - AItems[i].Tag;
        if (AItems[i].Tag == 4)
            toLeftEnd(AItems[i]);
    }
}

QList<QWidget *> TWizardButtonBarKv::BarChildren() const
{
    QList<QWidget *> windowless, windowed;
    for (QObject *o : FAdded) {
        if (!o->isWidgetType())
            continue;
        auto *w = static_cast<QWidget *>(o);
        if (w->isWindow() || w->parentWidget() != this)
            continue;
        (WizardBar::Windowless(w) ? windowless : windowed).append(w);
    }
    return windowless + windowed;
}

QVector<TBarItem> TWizardButtonBarKv::Items(const QList<QWidget *> &AChildren) const
{
    QVector<TBarItem> items;
    items.reserve(AChildren.size());
    for (QWidget *w : AChildren)
        items.append(TBarItem{w->width(), WizardBar::Tag(w), !w->isHidden(), w->geometry()});
    return items;
}

void TWizardButtonBarKv::AlignControls()
{
    if (FAligning)
        return;
    FAligning = true;
    const QList<QWidget *> kids = BarChildren();
    QVector<TBarItem> items = Items(kids);
    LayoutBar(rect(), FNavigator->AllowProcessDefault, items);
    for (int i = 0; i < kids.size(); ++i)
        if (kids[i]->geometry() != items[i].Bounds)
            kids[i]->setGeometry(items[i].Bounds);
    FAligning = false;
}

int TWizardButtonBarKv::WidthHint() const
{
    // The row from the right end plus the widest control at the left end.
    int row = 8;
    int left = 0;
    for (const TBarItem &item : Items(BarChildren())) {
        if (!item.Visible)
            continue;
        if (item.Tag == 4)
            left = std::max(left, 8 + item.Width + 8);
        else
            row += item.Width + item.Tag;
    }
    return row + left;
}

void TWizardButtonBarKv::childEvent(QChildEvent *AEvent)
{
    QObject *child = AEvent->child();
    if (AEvent->added()) {
        if (!FAdded.contains(child)) {
            FAdded.append(child);
            child->installEventFilter(this);
        }
    } else if (AEvent->removed()) {
        FAdded.removeAll(child);
        AlignControls();
    } else if (AEvent->polished()) {
        AlignControls();
    }
    QWidget::childEvent(AEvent);
}

bool TWizardButtonBarKv::eventFilter(QObject *AWatched, QEvent *AEvent)
{
    switch (AEvent->type()) {
    case QEvent::ShowToParent:
    case QEvent::HideToParent:
    case QEvent::Resize:
    case QEvent::Move:
        if (AWatched->parent() == this)
            AlignControls();
        break;
    case QEvent::DynamicPropertyChange: {
        const QByteArray name = static_cast<QDynamicPropertyChangeEvent *>(AEvent)->propertyName();
        if (name == WizardBar::TagProperty || name == WizardBar::WindowlessProperty)
            AlignControls();
        break;
    }
    default:
        break;
    }
    return QWidget::eventFilter(AWatched, AEvent);
}

void TWizardButtonBarKv::resizeEvent(QResizeEvent *AEvent)
{
    QWidget::resizeEvent(AEvent);
    AlignControls();
}

void TWizardButtonBarKv::showEvent(QShowEvent *AEvent)
{
    QWidget::showEvent(AEvent);
    AlignControls();
}

void TWizardButtonBarKv::paintEvent(QPaintEvent *)
{
    // Etched edge along the top border: a shadow line over a light one.
    QPainter p(this);
    p.setPen(palette().color(QPalette::Dark));
    p.drawLine(0, 0, width() - 1, 0);
    p.setPen(palette().color(QPalette::Light));
    p.drawLine(0, 1, width() - 1, 1);
}

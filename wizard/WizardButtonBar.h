#pragma once
// The wizard's button bar: lays out its children from right to left, each
// keeping its width, and draws an etched edge along its top border.

#include "WizardPanels.h"

#include <QList>
#include <QPushButton>
#include <QRect>
#include <QVector>

class TWizardNavigator;

// One child of the button bar as the bar's layout sees it.
struct TBarItem
{
    int Width = 0;
    int Tag = 0;
    bool Visible = true;
    QRect Bounds;   // in: current bounds; out: bounds after the layout
};

// A push button of the bar.  It can look like the window's default button
// without being one, so that a host dialog keeps its own default button.
class TBarButtonKv : public QPushButton
{
    Q_OBJECT
public:
    TBarButtonKv(const QString &ACaption, QWidget *AParent);
    bool DefaultLook() const { return FDefaultLook; }
    void SetDefaultLook(bool AValue);

protected:
    void initStyleOption(QStyleOptionButton *AOption) const override;
    // A button that looks the default one shows the focus with a focus
    // frame of its own: the style draws both the same way.
    void paintEvent(QPaintEvent *AEvent) override;

private:
    bool FDefaultLook = false;
};

class TWizardButtonBarKv : public TWizardPanelKv
{
    Q_OBJECT
public:
    // ANavigator tells the layout mode (AllowProcessDefault).
    TWizardButtonBarKv(const TWizardNavigator *ANavigator, QWidget *AParent);

    // Right-to-left layout of the bar's children inside AClient.  Items are
    // in the bar's child order (windowless children first).  Only items
    // that are placed get new Bounds.
    static void LayoutBar(const QRect &AClient, bool AAllowProcessDefault,
                          QVector<TBarItem> &AItems);
    // The bar's children in layout order: windowless ones (labels, speed
    // buttons) first, then the windowed ones, each group in the order the
    // children were added.
    QList<QWidget *> BarChildren() const;
    void AlignControls();
    // The width the bar needs to show its visible children side by side.
    int WidthHint() const;

protected:
    void paintEvent(QPaintEvent *) override;
    void resizeEvent(QResizeEvent *) override;
    void showEvent(QShowEvent *) override;
    void childEvent(QChildEvent *) override;
    bool eventFilter(QObject *AWatched, QEvent *AEvent) override;

private:
    QVector<TBarItem> Items(const QList<QWidget *> &AChildren) const;

    const TWizardNavigator *FNavigator;
    QList<QObject *> FAdded;   // children in the order they were added
    bool FAligning = false;
};

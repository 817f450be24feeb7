#pragma once
// The plain panels of the wizard's frame.

#include <QColor>
#include <QString>
#include <QWidget>

// How a frame child follows its parent's size.
enum class TAlignKv { alNone, alLeft, alClient };

// Plain panel: a filled rectangle with an optional centred caption.
class TPanelKv : public QWidget
{
    Q_OBJECT
public:
    TPanelKv(QWidget *AParent, const QColor &AColor, const QString &ACaption = QString());
    QString Caption;

protected:
    void paintEvent(QPaintEvent *) override;
};

// The wizard's own panels: the button bar (horizontal) and the steps list.
class TWizardPanelKv : public QWidget
{
    Q_OBJECT
public:
    TWizardPanelKv(bool AHorizontal, QWidget *AParent);
    const bool horizontal;
};

#pragma once

#include <QLabel>

#include <functional>

// A label that acts on a click (the link labels of the window). It is a tab
// stop: with the focus, Return, Enter or Space act as a click, and a focus
// frame is drawn around it.
class TLinkLabelKv : public QLabel
{
    Q_OBJECT
public:
    explicit TLinkLabelKv(QWidget *AParent = nullptr);
    std::function<void(QObject *Sender)> OnClick;

    // What a click does (also the press action of assistive technologies).
    void Click();

protected:
    bool event(QEvent *AEvent) override;
    void keyPressEvent(QKeyEvent *AEvent) override;
    void mousePressEvent(QMouseEvent *AEvent) override;
    void mouseReleaseEvent(QMouseEvent *AEvent) override;
    void paintEvent(QPaintEvent *AEvent) override;

private:
    bool FPressed = false;
};

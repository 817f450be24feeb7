#pragma once

#include <QColor>
#include <QWidget>

// A filled rectangle.
class TShapeKv : public QWidget
{
    Q_OBJECT
public:
    explicit TShapeKv(QWidget *AParent, const QColor &AFill);

protected:
    void paintEvent(QPaintEvent *) override;

private:
    QColor FFill;
};

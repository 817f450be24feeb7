#pragma once

#include <QLabel>

// A label that heads a section of text: bold and larger than the text it
// heads, and told to assistive technologies as a heading (so that a screen
// reader can list the sections and jump between them, once
// InstallAccessibleWidgets has been called).
class THeadingLabel : public QLabel
{
    Q_OBJECT
public:
    explicit THeadingLabel(const QString &AText, QWidget *AParent = nullptr);
};

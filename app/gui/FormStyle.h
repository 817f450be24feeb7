#pragma once
// Pieces of look the program's windows share.

#include <QColor>
#include <QProxyStyle>

// The fill of the hint and result panels.
inline const QColor kLightYellow(255, 255, 200);

// Line edits that show "*" for every typed character.
class TStarPasswordStyle : public QProxyStyle
{
public:
    int styleHint(StyleHint AHint, const QStyleOption *AOption, const QWidget *AWidget,
                  QStyleHintReturn *AReturn) const override
    {
        if (AHint == SH_LineEdit_PasswordCharacter)
            return '*';
        return QProxyStyle::styleHint(AHint, AOption, AWidget, AReturn);
    }
};

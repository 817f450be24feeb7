#pragma once
// The two properties by which the button bar lays out its children, kept as
// dynamic properties of the widget so that any control can carry them:
//   Tag         the gap left of the control before the next one; 4 puts it
//               at the bar's left end.
//   Windowless  laid out first, in the order added, before the other
//               children. By default labels and tool buttons are, other
//               controls are not.

class QWidget;

namespace WizardBar {

constexpr const char *TagProperty = "Tag";
constexpr const char *WindowlessProperty = "Windowless";

void SetTag(QWidget *AControl, int ATag);
int Tag(const QWidget *AControl);
void SetWindowless(QWidget *AControl, bool AValue);
bool Windowless(const QWidget *AControl);

} // namespace WizardBar

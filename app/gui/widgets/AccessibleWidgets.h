#pragma once
// What assistive technologies (screen readers) are told about the window's
// own widgets, where Qt's defaults would mislead:
//   TLinkLabelKv   a link (not static text) named by its caption, whose press
//                  action does what a click does;
//   TCuitMaskEdit  an editable text whose content is what was typed (the
//                  digits and the dashes between them), so that an empty
//                  field is read as empty rather than as "--";
//   THeadingLabel  a heading named by its text.

// Makes them known to Qt's accessibility; later calls do nothing.
void InstallAccessibleWidgets();

#pragma once
// The program's look: the user-interface font, the classic palette, the
// program's icon and Qt's Spanish texts, the same for every window.

#include <QIcon>
#include <QPalette>

class QApplication;

// The font every control uses unless it sets its own: "MS Sans Serif" when the
// system has it, else Liberation Sans, else DejaVu Sans; 11 pixels high.
void ApplyUserInterfaceFont(QApplication &AApp);

// The classic light look of the window, whatever the desktop's palette: face
// of buttons grey, text black on white fields, every role of every group set
// so that a dark desktop theme (now or later) fills in nothing.
QPalette ClassicPalette();
void ApplyClassicPalette(QApplication &AApp);

// The program's icon, as its windows carry it: the menu's icon from 16 to
// 128 pixels.
QIcon ProgramIcon();

// The program's look, set by the start-up before the window is made: the
// user-interface font, the classic palette, the program's icon and the name
// of its desktop file (by which the desktop links the window to its menu
// entry).
void ApplyProgramLook(QApplication &AApp);

// Loads Qt's own Spanish texts (qtbase_es) into the application; false when
// the translation file is missing.
bool LoadSpanishTranslation(QApplication &AApp);

#pragma once
// The program's application services: the user-interface font, Qt's Spanish texts and the
// start-up routine that creates the main window and runs the message loop.

#include <QIcon>
#include <QPalette>
#include <QString>

#include <functional>

class QApplication;
class QWidget;

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

// Called once when the main window has been painted for the first time
// (used to measure the program's start-up).
extern std::function<void(QWidget *AMainWindow)> OnMainWindowShown;

// The whole program: the command line (--help and --version print and end
// without a window; --verificar ARCHIVO --sin-ventana checks the file without
// one; --verificar alone opens the check's window instead of the wizard's),
// the application object at a scale factor at which the
// window fits the screen, font, Spanish texts, the main window and the
// message loop until that window closes. Returns the exit code.
int RunZeDede(int argc, char **argv);

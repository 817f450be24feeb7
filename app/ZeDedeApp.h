#pragma once
// The program's application services: its title, the standard error and
// confirmation boxes, the user-interface font, Qt's Spanish texts and the
// start-up routine that creates the main window and runs the message loop.

#include <QIcon>
#include <QMessageBox>
#include <QPalette>
#include <QString>

#include <functional>

class QApplication;
class QWidget;

// The application title: the box title of the error and question boxes.
QString ApplicationTitle();
void SetApplicationTitle(const QString &ATitle);

// Every standard box of the program goes through this function. Tests replace
// it (see MessageBoxHook) so that nothing waits for a person; it returns the
// button chosen.
using TMessageBoxFunc = std::function<QMessageBox::StandardButton(
    QWidget *AParent, QMessageBox::Icon AIcon, const QString &ATitle, const QString &AText,
    QMessageBox::StandardButtons AButtons, QMessageBox::StandardButton ADefault)>;

// When set, it is called instead of showing a real box.
extern TMessageBoxFunc MessageBoxHook;

// Shows a real modal box (what runs when no hook is set).
QMessageBox::StandardButton DefaultMessageBox(QWidget *AParent, QMessageBox::Icon AIcon,
                                              const QString &ATitle, const QString &AText,
                                              QMessageBox::StandardButtons AButtons,
                                              QMessageBox::StandardButton ADefault);

// The text the error box shows for a message: a full stop is added when the
// last character's code is above that of ".".
QString ErrorBoxText(const QString &AMessage);

// The error box: the message (with the full-stop rule), the application
// title, the error icon and one OK button; ADetails (an external program's
// own reason), when given, behind the box's details button.
void ShowErrorBox(QWidget *AParent, const QString &AMessage, const QString &ADetails = QString());

// The details of the error box being shown (empty otherwise): a box hook
// reads them here.
QString ErrorBoxDetails();

// The confirmation box: question icon, Yes and No, Yes the default. True when
// the answer is Yes.
bool AskYesNo(QWidget *AParent, const QString &AText);

// Runs an event handler so that no exception leaves it: an Exception (or any
// other std::exception) is shown in the error box, with its details; EAbort
// is shown to nobody.
void RunGuarded(QWidget *AParent, const std::function<void()> &AHandler);

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

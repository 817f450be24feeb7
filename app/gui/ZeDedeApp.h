#pragma once
// The program's start-up: the routine that creates the main window (or the
// check's) and runs the message loop.

#include <QString>

#include <functional>

class QApplication;
class QWidget;

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

// Sets how the windows open one another (WindowOpeners.h); RunZeDede does it
// before its first window.
void InstallWindowOpeners();

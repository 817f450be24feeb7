#pragma once
// The program's arguments as the user typed them, after the program's name.

#include <QStringList>

// Linux: argv decoded from the locale's encoding (UTF-8). Windows: the
// process's command line as UTF-16, split as the system splits it, so that
// a file name with characters beyond the ANSI code page arrives whole; argv
// is used only when that fails.
QStringList ProgramArguments(int argc, char **argv);

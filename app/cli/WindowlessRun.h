#pragma once
// What the program does without a window: the help, the version and the
// certificate check printed to the terminal. Needs no display and no Qt
// Widgets.

#include "CommandLine.h"

// True when Action is done without a window.
bool RunsWithoutWindow(TStartAction Action);

// Does ACommandLine's windowless action and returns the exit code; argc and
// argv are main's (the check makes its application object from them).
int RunWithoutWindow(const TCommandLine &ACommandLine, int argc, char **argv);

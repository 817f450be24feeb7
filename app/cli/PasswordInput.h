#pragma once
// Reading a password from standard input for the windowless modes: from a
// terminal without echo (the prompt on standard error), from a pipe or a
// file one line as it comes.

#include <QString>

// True when standard input is a terminal (a console on Windows).
bool StandardInputIsTerminal();

// Reads one line (without its line end). With NoEcho and a terminal the
// typed characters are not shown; Prompt, when not empty, is written to
// standard error first. False at the end of the input with nothing read.
bool ReadStandardInputLine(QString &Line, bool NoEcho = false, const QString &Prompt = QString());

// The password and its repetition: asked twice without echo from a
// terminal; from a pipe read once (the repetition is the same line). False
// when standard input ends first.
bool ReadPasswordTwice(QString &Password, QString &Repetition);

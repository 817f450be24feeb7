#pragma once
// How a windowless mode runs: with an application object and two streams,
// one for its findings and one for its failures, written to standard output
// and standard error when it ends.

#include <QTextStream>

#include <functional>

using TConsoleBody = std::function<int(QTextStream &Out, QTextStream &Err)>;

// Makes the application object from argc and argv (unless one exists), runs
// ABody and prints what it wrote; returns ABody's exit code.
int RunWithConsoleStreams(int argc, char **argv, const TConsoleBody &ABody);

// The program's windowless modes alone, linked with the command-line library
// only (no Qt Widgets, no window code): what runs for --help, --version and
// --verificar ARCHIVO --sin-ventana.

#include "WindowlessRun.h"

#include <cstdio>

int main(int argc, char **argv)
{
    const TCommandLine commandLine = ParseCommandLine(argc, argv);
    if (!RunsWithoutWindow(commandLine.Action)) {
        std::fputs("this program has no window\n", stderr);
        return 3;
    }
    return RunWithoutWindow(commandLine, argc, argv);
}

// The program as bench_startup times it: the program's own start-up routine,
// linked exactly as the program is, with a probe that prints "shown" once
// the main window has been painted for the first time, then quits.

#include "ZeDedeApp.h"

#include <QCoreApplication>
#include <QTimer>
#include <QWidget>

#include <cstdio>

int main(int argc, char **argv)
{
    OnMainWindowShown = [](QWidget *) {
        std::fputs("shown\n", stdout);
        std::fflush(stdout);
        QTimer::singleShot(0, qApp, &QCoreApplication::quit);
    };
    return RunZeDede(argc, argv);
}

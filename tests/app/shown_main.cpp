// The program's start-up routine, linked as the program is, that reports its
// main window once it has been painted and then quits:
//   app_zedede_shown [program arguments]
// prints one line "ratio=<r> frame=<w>x<h> available=<w>x<h>
// scale=<QT_SCALE_FACTOR as set now>", the sizes in device pixels.

#include "ZeDedeApp.h"

#include <QCoreApplication>
#include <QScreen>
#include <QTimer>
#include <QWidget>

#include <cstdio>

int main(int argc, char **argv)
{
    OnMainWindowShown = [](QWidget *AWindow) {
        const qreal ratio = AWindow->devicePixelRatioF();
        const QSize frame = (QSizeF(AWindow->frameGeometry().size()) * ratio).toSize();
        const QSize available =
            (QSizeF(AWindow->screen()->availableGeometry().size()) * ratio).toSize();
        std::printf("ratio=%g frame=%dx%d available=%dx%d scale=%s\n", ratio, frame.width(),
                    frame.height(), available.width(), available.height(),
                    qgetenv("QT_SCALE_FACTOR").constData());
        std::fflush(stdout);
        QTimer::singleShot(0, qApp, &QCoreApplication::quit);
    };
    return RunZeDede(argc, argv);
}

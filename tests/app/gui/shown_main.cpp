// The program's start-up routine, linked as the program is, that reports its
// main window once it has been painted and then quits:
//   gui_zedede_shown [program arguments]
// prints one line "ratio=<r> frame=<w>x<h> available=<w>x<h>
// scale=<QT_SCALE_FACTOR as set now>", the sizes in device pixels; and on
// standard error "title=<window title>", with " file=<file field>" when the
// window is the certificate check's.

#include "VerifyWindow.h"
#include "ZeDedeApp.h"

#include <QCoreApplication>
#include <QLineEdit>
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
        QString title = QStringLiteral("title=") + AWindow->windowTitle();
        if (auto *verify = qobject_cast<TfrmVerificar *>(AWindow))
            title += QStringLiteral(" file=") + verify->eArchivo->text();
        std::fprintf(stderr, "%s\n", title.toUtf8().constData());
        std::fflush(stderr);
        QTimer::singleShot(0, qApp, &QCoreApplication::quit);
    };
    return RunZeDede(argc, argv);
}

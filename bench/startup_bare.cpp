// The baseline of bench_startup: a bare Qt program that shows an empty
// window of the main window's size. It prints "shown" once the window has
// been painted for the first time, then quits.
//
// Built with STARTUP_ONE_LINE (startup_one_line), the same window shows one
// label of the wizard's welcome title in the toolkit's default font: what
// any window with text pays before its first paint and the empty window
// does not (the font configuration, the font database, one font loaded,
// one line shaped and drawn).

#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QTimer>
#include <QWidget>

#include <cstdio>

namespace {
// Same probe as the program's: the paint pass that first reaches the window
// has finished.
class TFirstPaint : public QObject
{
public:
    bool eventFilter(QObject *, QEvent *AEvent) override
    {
        if (AEvent->type() == QEvent::Paint && !FDone) {
            FDone = true;
            QTimer::singleShot(0, qApp, [] {
                std::fputs("shown\n", stdout);
                std::fflush(stdout);
                QCoreApplication::quit();
            });
        }
        return false;
    }

private:
    bool FDone = false;
};
} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QWidget window;
    window.resize(709, 533);
#ifdef STARTUP_ONE_LINE
    QLabel line(QStringLiteral("Bienvenido al asistente para la generación de certificado digital"),
                &window);
    line.move(48, 32);
#endif
    TFirstPaint probe;
    app.installEventFilter(&probe);
    window.show();
    return app.exec();
}

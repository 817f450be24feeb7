#include "ScreenColorDepth.h"

#include "Exception.h"

#include <QGuiApplication>
#include <QScreen>

int ScreenColorDepth()
{
    const QScreen *screen = qobject_cast<QGuiApplication *>(QCoreApplication::instance())
                                ? QGuiApplication::primaryScreen()
                                : nullptr;
    if (!screen)
        throw Exception(QStringLiteral("No hay pantalla para leer la profundidad de color."));
    return screen->depth();
}

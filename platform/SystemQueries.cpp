#include "SystemQueries.h"

#include "Exception.h"

#include <QFile>
#include <QGuiApplication>
#include <QScreen>

#include <sys/stat.h>

bool QuerySystemVersion(TSystemVersion &Version)
{
    // The running system is not Windows: there is no version record.
    Version = TSystemVersion();
    return false;
}

bool QueryFileSizeOf(const QString &Path, quint64 &Size)
{
    // Critical-error message boxes do not exist here: nothing to switch off.
    Size = 0;
    if (Path.isEmpty())
        return false;
    struct stat st;
    if (::stat(QFile::encodeName(Path).constData(), &st) != 0)
        return false;
    Size = S_ISDIR(st.st_mode) ? 0 : static_cast<quint64>(st.st_size);
    return true;
}

int ScreenColorDepth()
{
    const QScreen *screen = qobject_cast<QGuiApplication *>(QCoreApplication::instance())
                                ? QGuiApplication::primaryScreen()
                                : nullptr;
    if (!screen)
        throw Exception(QStringLiteral("No hay pantalla para leer la profundidad de color."));
    return screen->depth();
}

#include "ReminderNames.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>

QString ReminderPrefix()
{
    return QStringLiteral("zedede-avisos-");
}

QString ReminderFolder(const QString &Folder)
{
    const QFileInfo info(Folder);
    QString path = info.canonicalFilePath();
    if (path.isEmpty())
        path = QDir::cleanPath(info.absoluteFilePath());
    return QDir::toNativeSeparators(path);
}

QString ReminderName(const QString &Key)
{
    const QByteArray hash = QCryptographicHash::hash(Key.toUtf8(), QCryptographicHash::Sha256);
    return ReminderPrefix() + QString::fromLatin1(hash.toHex().left(12));
}

QStringList ReminderCheckArguments(const QString &Folder)
{
    return {QStringLiteral("--certificados"), Folder, QStringLiteral("--avisar")};
}

#include "Registry.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <optional>

namespace {

const char kEnvironmentKey[] =
    "SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment";
const char kUserShellFolders[] =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
const char kShellFolders[] =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

QString NormalisedKey(QString key)
{
    while (key.startsWith(QLatin1Char('\\')))
        key.remove(0, 1);
    while (key.endsWith(QLatin1Char('\\')))
        key.chop(1);
    return key;
}

// Key paths and value names compare without regard to case.
bool SameText(const QString &a, const char *b)
{
    return QString::compare(a, QLatin1String(b), Qt::CaseInsensitive) == 0;
}

QString XdgDir(const char *variable, const char *fallback)
{
    const QString value = QString::fromLocal8Bit(qgetenv(variable));
    // Relative values are invalid for XDG variables and are ignored.
    QString dir = (!value.isEmpty() && QDir::isAbsolutePath(value))
                      ? value
                      : QDir::homePath() + QLatin1Char('/') + QLatin1String(fallback);
    while (dir.size() > 1 && dir.endsWith(QLatin1Char('/')))
        dir.chop(1);
    return dir;
}

// Looks Name up among the KEY=VALUE lines of a file; names compare without
// regard to case, as registry value names do. The last assignment counts.
std::optional<QString> ReadEnvironmentFile(const QString &path, const QString &name)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    std::optional<QString> found;
    while (!file.atEnd()) {
        QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        if (line.startsWith(QLatin1String("export ")))
            line = line.mid(7).trimmed();
        const int eq = line.indexOf(QLatin1Char('='));
        if (eq <= 0)
            continue;
        if (QString::compare(line.left(eq).trimmed(), name, Qt::CaseInsensitive) != 0)
            continue;
        QString value = line.mid(eq + 1).trimmed();
        if (value.size() >= 2
            && ((value.startsWith(QLatin1Char('"')) && value.endsWith(QLatin1Char('"')))
                || (value.startsWith(QLatin1Char('\'')) && value.endsWith(QLatin1Char('\''))))) {
            value = value.mid(1, value.size() - 2);
        }
        found = value;
    }
    return found;
}

} // namespace

QString XdgDataHome() { return XdgDir("XDG_DATA_HOME", ".local/share"); }
QString XdgConfigHome() { return XdgDir("XDG_CONFIG_HOME", ".config"); }

QString SystemEnvironmentFile() { return QStringLiteral("/etc/environment"); }
QString UserEnvironmentFile()
{
    return XdgConfigHome() + QStringLiteral("/Vemra/environment");
}

QString ReadRegistryString(THKey Root, const QString &Key, const QString &Name,
                           const QString &Default)
{
    const QString key = NormalisedKey(Key);

    if (Root == THKey::LocalMachine && SameText(key, kEnvironmentKey)) {
        std::optional<QString> value;
        for (const QString &file : {SystemEnvironmentFile(), UserEnvironmentFile()}) {
            if (auto v = ReadEnvironmentFile(file, Name))
                value = v;
        }
        return value ? *value : Default;
    }

    const bool userShellFolders = SameText(key, kUserShellFolders);
    const bool shellFolders = SameText(key, kShellFolders);
    if (!userShellFolders && !shellFolders)
        return Default;

    if (Root == THKey::LocalMachine && SameText(Name, "Common AppData"))
        return XdgDataHome();
    if (Root == THKey::CurrentUser && SameText(Name, "AppData"))
        return XdgConfigHome();
    if (Root == THKey::CurrentUser && SameText(Name, "Personal")) {
        const QString docs =
            QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        return docs.isEmpty() ? Default : docs;
    }
    return Default;
}

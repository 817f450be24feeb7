#include "RequestFiles.h"

#include "Exception.h"
#include "ExitCleanup.h"
#include "Process.h"
#include "FileWrite.h"

#include <QFile>
#include <QFileInfo>
#include <QCoreApplication>
#include <QDir>
#include <QRandomGenerator>
#include <QRegularExpression>

namespace {

void RemoveFile(const QString &Path)
{
    if (!Path.isEmpty())
        QFile::remove(Path);
}

} // namespace

bool PathExists(const QString &Path)
{
    const QFileInfo fi(Path);
    return fi.exists() || fi.isSymLink();
}

QString TemporaryName(const QString &Path)
{
    return Path + QStringLiteral(".%1-%2.tmp")
                      .arg(QCoreApplication::applicationPid())
                      .arg(QRandomGenerator::system()->generate(), 8, 16, QLatin1Char('0'));
}

QStringList RemoveLeftoverTemporaryFiles(const QString &Folder,
                                         const std::function<bool(const QString &Name)> &Owned)
{
    static const QRegularExpression pattern(QStringLiteral("^(.+)\\.(\\d+)-[0-9a-f]{8}\\.tmp$"));
    QStringList removed;
    const QDir dir(Folder);
    const QStringList names = dir.entryList({QStringLiteral("*.tmp")},
                                            QDir::Files | QDir::Hidden | QDir::System);
    for (const QString &name : names) {
        const auto m = pattern.match(name);
        if (!m.hasMatch() || !Owned(m.captured(1)))
            continue;
        const qint64 pid = m.captured(2).toLongLong();
        if (pid == QCoreApplication::applicationPid() || ProcessAlive(pid))
            continue;
        const QString path = dir.filePath(name);
        const QFileInfo fi(path);
        if (fi.isSymLink() || !fi.isFile())
            continue;
        if (QFile::remove(path))
            removed << name;
    }
    return removed;
}

bool WriteNewPrivateFile(const QString &Path, const QByteArray &Bytes, TFileError &Error)
{
    return CreateNewFile(Path, Bytes, true, Error);
}

bool WriteNewPrivateFile(const QString &Path, const QByteArray &Bytes)
{
    TFileError ignored;
    return WriteNewPrivateFile(Path, Bytes, ignored);
}

void MakePrivate(const QString &Path)
{
    RestrictToOwner(Path);
}

TTemporaryFiles::~TTemporaryFiles()
{
    for (int i = 0; i < FFiles.size(); ++i) {
        RemoveFile(FFiles[i]);
        ForgetExitFile(FTickets[i]);
    }
}

QString TTemporaryFiles::Add(const QString &Path)
{
    FFiles << Path;
    FTickets << RemoveFileAtExit(Path);
    return Path;
}

void TTemporaryFiles::Keep(const QString &Path)
{
    for (int i = FFiles.size() - 1; i >= 0; --i) {
        if (FFiles[i] == Path) {
            ForgetExitFile(FTickets[i]);
            FFiles.removeAt(i);
            FTickets.removeAt(i);
        }
    }
}

void SaveBytesToFile(const QString &FileName, const QByteArray &Bytes, bool Append)
{
    TFileError error;
    if (Append && PathExists(FileName)) {
        if (!AppendToExistingFile(FileName, Bytes, error))
            throw Exception(QStringLiteral("Cannot open file \"%1\". %2")
                                .arg(FileName, error.Reason()));
    } else if (!WriteWholeFile(FileName, Bytes, false, error)) {
        throw Exception(QStringLiteral("Cannot create file \"%1\". %2")
                            .arg(FileName, error.Reason()));
    }
}

QString KeepExistingFile(const QString &FileName, const QDateTime &Stamp)
{
    if (!PathExists(FileName))
        return QString();
    const QString base = FileName + QLatin1Char('.') + Stamp.toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString target = base + QStringLiteral(".bak");
    for (int i = 2; PathExists(target); ++i)
        target = base + QStringLiteral("-%1.bak").arg(i);
    TFileError error;
    if (!RenameFile(FileName, target, error))
        throw Exception(QStringLiteral("No se pudo conservar el archivo existente %1: %2")
                            .arg(FileName, error.Reason()));
    RestrictToOwner(target);
    return target;
}

QStringList PlaceNewFiles(const QList<QPair<QString, QString>> &NewToFinal)
{
    const QDateTime stamp = QDateTime::currentDateTime();
    QStringList kept;        // .bak names, parallel to keptFinal
    QStringList keptFinal;
    QStringList placed;
    try {
        for (const auto &f : NewToFinal) {
            const QString bak = KeepExistingFile(f.second, stamp);
            if (!bak.isEmpty()) {
                kept << bak;
                keptFinal << f.second;
            }
            TFileError error;
            if (!RenameFile(f.first, f.second, error))
                throw Exception(QStringLiteral("Cannot create file \"%1\". %2")
                                    .arg(f.second, error.Reason()));
            placed << f.second;
        }
    } catch (...) {
        for (const QString &p : placed)
            RemoveFile(p);
        for (int i = 0; i < kept.size(); ++i) {
            TFileError ignored;
            RenameFile(kept[i], keptFinal[i], ignored);
        }
        throw;
    }
    return kept;
}

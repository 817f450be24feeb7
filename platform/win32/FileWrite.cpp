#include "FileWrite.h"

#include "OwnerOnly.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <windows.h>

namespace {

std::wstring NativeName(const QString &FileName)
{
    return QDir::toNativeSeparators(FileName).toStdWString();
}

bool Fail(TFileError &Error)
{
    Error.Code = static_cast<int>(GetLastError());
    return false;
}

bool WriteAndClose(HANDLE h, const QByteArray &Bytes, TFileError &Error)
{
    const char *p = Bytes.constData();
    qint64 left = Bytes.size();
    bool ok = true;
    while (ok && left > 0) {
        DWORD written = 0;
        ok = WriteFile(h, p, static_cast<DWORD>(std::min<qint64>(left, 1 << 30)), &written, nullptr);
        p += written;
        left -= written;
    }
    if (!ok)
        Fail(Error);
    CloseHandle(h);
    return ok;
}

} // namespace

QString TFileError::Reason() const
{
    switch (static_cast<DWORD>(Code)) {
    case ERROR_ACCESS_DENIED: return QStringLiteral("Acceso denegado.");
    case ERROR_FILE_NOT_FOUND:
        return QStringLiteral("El sistema no puede encontrar el archivo especificado.");
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_DIRECTORY:
        return QStringLiteral("El sistema no puede encontrar la ruta especificada.");
    case ERROR_WRITE_PROTECT: return QStringLiteral("El medio está protegido contra escritura.");
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: return QStringLiteral("No hay espacio suficiente en el disco.");
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return QStringLiteral("El proceso no tiene acceso al archivo porque está siendo "
                              "utilizado por otro proceso.");
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS: return QStringLiteral("No se puede crear un archivo que ya existe.");
    case ERROR_FILENAME_EXCED_RANGE: return QStringLiteral("El nombre del archivo es demasiado largo.");
    default: return QStringLiteral("Error del sistema %1.").arg(Code);
    }
}

bool CreateNewFile(const QString &FileName, const QByteArray &Bytes, bool OwnerOnly,
                   TFileError &Error)
{
    // Without OwnerOnly the file's permissions come from its folder, as for
    // every file that a Windows program creates; with it the file has its
    // own list from the moment it exists.
    TOwnerOnlySecurity security(TOwnerOnlySecurity::TKind::File);
    if (OwnerOnly && !security.IsValid())
        return Fail(Error);
    // FILE_FLAG_OPEN_REPARSE_POINT with CREATE_NEW: a link at the name is a
    // name that exists, never followed.
    HANDLE h = CreateFileW(NativeName(FileName).c_str(), GENERIC_WRITE, 0,
                           OwnerOnly ? security.Attributes() : nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return Fail(Error);
    if (WriteAndClose(h, Bytes, Error))
        return true;
    DeleteFileW(NativeName(FileName).c_str());
    return false;
}

bool WriteWholeFile(const QString &FileName, const QByteArray &Bytes, bool OwnerOnly,
                    TFileError &Error)
{
    if (OwnerOnly) {
        // An existing file keeps its list when opened, and a handle someone
        // already holds on it would see the new bytes: a new file with the
        // owner-only list takes its place instead.
        const QString work = FileName
                             + QStringLiteral(".%1.tmp").arg(QRandomGenerator::system()->generate(),
                                                             8, 16, QLatin1Char('0'));
        if (!CreateNewFile(work, Bytes, true, Error))
            return false;
        if (MoveOver(work, FileName, Error))
            return true;
        DeleteFileW(NativeName(work).c_str());
        return false;
    }
    HANDLE h = CreateFileW(NativeName(FileName).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return Fail(Error);
    return WriteAndClose(h, Bytes, Error);
}

QString AccessDeniedReason() { return TFileError{int(ERROR_ACCESS_DENIED)}.Reason(); }

bool AppendToExistingFile(const QString &FileName, const QByteArray &Bytes, TFileError &Error)
{
    // Share mode 0: nobody else may have the file open meanwhile.
    HANDLE h = CreateFileW(NativeName(FileName).c_str(), FILE_APPEND_DATA, 0, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return Fail(Error);
    return WriteAndClose(h, Bytes, Error);
}

bool CopyWholeFile(const QString &Source, const QString &Target, bool OwnerOnly, TFileError &Error)
{
    if (OwnerOnly) {
        // CopyFileW would give the copy the folder's permissions.
        QFile in(Source);
        if (!in.open(QIODevice::ReadOnly)) {
            Error.Code = int(ERROR_FILE_NOT_FOUND);
            return false;
        }
        return WriteWholeFile(Target, in.readAll(), true, Error);
    }
    if (!CopyFileW(NativeName(Source).c_str(), NativeName(Target).c_str(), FALSE))
        return Fail(Error);
    // A copy of a read-only file is read-only too; the copy is to be written.
    const DWORD attributes = GetFileAttributesW(NativeName(Target).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        SetFileAttributesW(NativeName(Target).c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
    return true;
}

void RestrictToOwner(const QString &FileName)
{
    // Opened without following a link; a folder does not open this way.
    HANDLE h = CreateFileW(NativeName(FileName).c_str(), READ_CONTROL | WRITE_DAC,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return;
    BY_HANDLE_FILE_INFORMATION info{};
    if (GetFileInformationByHandle(h, &info)
        && !(info.dwFileAttributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY)))
        TOwnerOnlySecurity(TOwnerOnlySecurity::TKind::File).ApplyTo(h);
    CloseHandle(h);
}

bool CreateOwnerOnlyFolder(const QString &Path, TFileError &Error)
{
    const QString clean = QDir::cleanPath(Path);
    const int cut = clean.lastIndexOf(QLatin1Char('/'));
    if (cut > 0 && !QDir().mkpath(clean.left(cut))) {
        Error.Code = int(ERROR_PATH_NOT_FOUND);
        return false;
    }
    TOwnerOnlySecurity security(TOwnerOnlySecurity::TKind::Folder);
    if (!security.IsValid())
        return Fail(Error);
    if (CreateDirectoryW(NativeName(clean).c_str(), security.Attributes()))
        return true;
    if (GetLastError() != ERROR_ALREADY_EXISTS)
        return Fail(Error);
    // FILE_FLAG_BACKUP_SEMANTICS opens a folder; a link is opened as such.
    HANDLE h = CreateFileW(NativeName(clean).c_str(), READ_CONTROL | WRITE_DAC,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT,
                           nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return Fail(Error);
    BY_HANDLE_FILE_INFORMATION info{};
    bool ok = GetFileInformationByHandle(h, &info);
    if (ok && (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT
               || !(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))) {
        SetLastError(ERROR_DIRECTORY);
        ok = false;
    }
    ok = ok && security.ApplyTo(h);
    if (!ok)
        Fail(Error);
    CloseHandle(h);
    return ok;
}

bool RenameFile(const QString &From, const QString &To, TFileError &Error)
{
    if (!MoveFileExW(NativeName(From).c_str(), NativeName(To).c_str(), 0))
        return Fail(Error);
    return true;
}

bool MoveOver(const QString &From, const QString &To, TFileError &Error)
{
    if (!MoveFileExW(NativeName(From).c_str(), NativeName(To).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return Fail(Error);
    return true;
}

QString SharedFileWorkName(const QString &Target)
{
    // The user's own temporary folder: the shared file's folder takes no
    // new files from users.
    return QDir::tempPath() + QLatin1Char('/') + QFileInfo(Target).fileName();
}

bool PutSharedFile(const QString &Work, const QString &Target, TFileError &Error)
{
    const DWORD attributes = GetFileAttributesW(NativeName(Target).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        // The temporary folder may lie on another drive.
        if (!MoveFileExW(NativeName(Work).c_str(), NativeName(Target).c_str(),
                         MOVEFILE_COPY_ALLOWED | MOVEFILE_WRITE_THROUGH))
            return Fail(Error);
        return true;
    }
    if (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) {
        Error.Code = ERROR_ACCESS_DENIED;
        return false;
    }
    QFile work(Work);
    if (!work.open(QIODevice::ReadOnly)) {
        Error.Code = ERROR_ACCESS_DENIED;
        return false;
    }
    const QByteArray bytes = work.readAll();
    work.close();
    // The existing file keeps its access list: only its content changes.
    const HANDLE h = CreateFileW(NativeName(Target).c_str(), GENERIC_WRITE, 0, nullptr,
                                 TRUNCATE_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_WRITE_THROUGH,
                                 nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return Fail(Error);
    DWORD written = 0;
    const bool ok = WriteFile(h, bytes.constData(), DWORD(bytes.size()), &written, nullptr)
                    && written == DWORD(bytes.size());
    const DWORD code = GetLastError();
    CloseHandle(h);
    if (!ok) {
        Error.Code = int(code);
        return false;
    }
    QFile::remove(Work);
    return true;
}

bool PrepareOutputFile(const QString &Path, TFileError &Error)
{
    return CreateNewFile(Path, QByteArray(), true, Error);
}

#include "FileWrite.h"

#include <QDir>

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

bool WriteWholeFile(const QString &FileName, const QByteArray &Bytes, bool OwnerOnly,
                    TFileError &Error)
{
    // The file's permissions come from its folder, as for every file that a
    // Windows program creates.
    Q_UNUSED(OwnerOnly);
    HANDLE h = CreateFileW(NativeName(FileName).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return Fail(Error);
    return WriteAndClose(h, Bytes, Error);
}

bool CreateNewFile(const QString &FileName, const QByteArray &Bytes, bool OwnerOnly,
                   TFileError &Error)
{
    Q_UNUSED(OwnerOnly);
    HANDLE h = CreateFileW(NativeName(FileName).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return Fail(Error);
    if (WriteAndClose(h, Bytes, Error))
        return true;
    DeleteFileW(NativeName(FileName).c_str());
    return false;
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
    Q_UNUSED(OwnerOnly);
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
    Q_UNUSED(FileName);
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

#include "Folders.h"

#include <QDir>
#include <QFileInfo>

#include <windows.h>

namespace {

std::wstring NativeName(const QString &AName)
{
    return QDir::toNativeSeparators(AName).toStdWString();
}

} // namespace

bool CreateFolderPath(const QString &Folder, TFileError &Error)
{
    const QString clean = QDir::cleanPath(QFileInfo(Folder).absoluteFilePath());
    const DWORD attributes = GetFileAttributesW(NativeName(clean).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        if (attributes & FILE_ATTRIBUTE_DIRECTORY)
            return true;
        Error.Code = int(ERROR_DIRECTORY);
        return false;
    }
    const QString parent = QFileInfo(clean).path();
    if (parent != clean && !CreateFolderPath(parent, Error))
        return false;
    if (CreateDirectoryW(NativeName(clean).c_str(), nullptr))
        return true;
    const DWORD error = GetLastError();
    const DWORD now = GetFileAttributesW(NativeName(clean).c_str());
    if (error == ERROR_ALREADY_EXISTS && now != INVALID_FILE_ATTRIBUTES
        && (now & FILE_ATTRIBUTE_DIRECTORY))
        return true;
    Error.Code = int(error);
    return false;
}

bool CanCreateFilesIn(const QString &Folder, TFileError &Error)
{
    // GetTempFileNameW creates the file with a name of its own.
    wchar_t probe[MAX_PATH + 1] = {};
    if (GetTempFileNameW(NativeName(Folder).c_str(), L"zed", 0, probe) == 0) {
        Error.Code = int(GetLastError());
        return false;
    }
    DeleteFileW(probe);
    return true;
}

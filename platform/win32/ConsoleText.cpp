#include "ConsoleText.h"

#include <QByteArray>

#include <windows.h>

#include <cstdio>

namespace {

// True when AHandle is a console (GetConsoleMode succeeds only there).
bool IsConsole(HANDLE AHandle)
{
    DWORD mode = 0;
    return AHandle != nullptr && AHandle != INVALID_HANDLE_VALUE
           && GetConsoleMode(AHandle, &mode) != 0;
}

} // namespace

bool WriteConsoleText(TConsoleStream AStream, const QString &AText)
{
    FILE *stream = AStream == TConsoleStream::Output ? stdout : stderr;
    std::fflush(stream);
    const HANDLE handle =
        GetStdHandle(AStream == TConsoleStream::Output ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
    if (IsConsole(handle)) {
        // The console takes UTF-16 whatever its code page (850 in a Spanish
        // Windows), in pieces it can take at once.
        const auto *text = reinterpret_cast<const wchar_t *>(AText.utf16());
        qsizetype left = AText.size();
        while (left > 0) {
            const DWORD piece = DWORD(std::min<qsizetype>(left, 8192));
            DWORD written = 0;
            if (!WriteConsoleW(handle, text, piece, &written, nullptr) || written == 0)
                return false;
            text += written;
            left -= written;
        }
        return true;
    }
    const QByteArray bytes = AText.toUtf8();
    return std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream) == size_t(bytes.size())
           && std::fflush(stream) == 0;
}

bool HasStandardOutput()
{
    const HANDLE handle = GetStdHandle(STD_OUTPUT_HANDLE);
    return handle != nullptr && handle != INVALID_HANDLE_VALUE
           && GetFileType(handle) != FILE_TYPE_UNKNOWN;
}

void ShowSystemMessage(const QString &ATitle, const QString &AText)
{
    MessageBoxW(nullptr, reinterpret_cast<const wchar_t *>(AText.utf16()),
                reinterpret_cast<const wchar_t *>(ATitle.utf16()), MB_OK | MB_ICONINFORMATION);
}

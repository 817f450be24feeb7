#include "AnsiCodePage.h"

#include <QList>

#include <windows.h>

// The system's ANSI code page (CP_ACP) does the conversion; a character it
// lacks takes the system's best fit, else its default character "?".

QByteArray ToAnsi(const QString &Text)
{
    if (Text.isEmpty())
        return QByteArray();
    const auto *wide = reinterpret_cast<const wchar_t *>(Text.utf16());
    const int n = WideCharToMultiByte(CP_ACP, 0, wide, static_cast<int>(Text.size()), nullptr, 0,
                                      nullptr, nullptr);
    if (n <= 0)
        return QByteArray();
    QByteArray result(n, Qt::Uninitialized);
    WideCharToMultiByte(CP_ACP, 0, wide, static_cast<int>(Text.size()), result.data(), n,
                        nullptr, nullptr);
    return result;
}

QString FromAnsi(const QByteArray &Bytes)
{
    if (Bytes.isEmpty())
        return QString();
    const int n = MultiByteToWideChar(CP_ACP, 0, Bytes.constData(), static_cast<int>(Bytes.size()),
                                      nullptr, 0);
    if (n <= 0)
        return QString();
    QString result(n, Qt::Uninitialized);
    MultiByteToWideChar(CP_ACP, 0, Bytes.constData(), static_cast<int>(Bytes.size()),
                        reinterpret_cast<wchar_t *>(result.data()), n);
    return result;
}

namespace {

// How many bytes the ANSI code page gives Character as it is; 0 when it
// lacks it (a best fit counts as lacking: it is another character).
int AnsiBytes(char32_t Character)
{
    const QString text = QString::fromUcs4(&Character, 1);
    BOOL usedDefault = FALSE;
    char out[8];
    const int n = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS,
                                      reinterpret_cast<const wchar_t *>(text.utf16()),
                                      static_cast<int>(text.size()), out, sizeof out, nullptr,
                                      &usedDefault);
    return n > 0 && !usedDefault ? n : 0;
}

} // namespace

bool AnsiHolds(char32_t Character)
{
    // Held when the code page has the character itself, in one byte.
    return AnsiBytes(Character) == 1;
}

char32_t CharacterProgramsLose(const QString &Text)
{
    // A code page of two-byte characters counts the ones it holds.
    for (const char32_t c : Text.toUcs4())
        if (AnsiBytes(c) == 0)
            return c;
    return 0;
}

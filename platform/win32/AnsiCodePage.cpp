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

bool AnsiHolds(char32_t Character)
{
    // Held when the code page has the character itself, not a best fit.
    const QString text = QString::fromUcs4(&Character, 1);
    BOOL usedDefault = FALSE;
    char out[8];
    const int n = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS,
                                      reinterpret_cast<const wchar_t *>(text.utf16()),
                                      static_cast<int>(text.size()), out, sizeof out, nullptr,
                                      &usedDefault);
    return n == 1 && !usedDefault;
}

char32_t CharacterProgramsLose(const QString &Text)
{
    // One character at a time, so that a code page of two-byte characters
    // counts the ones it holds; a best fit is a loss (it names another file).
    for (const char32_t c : Text.toUcs4()) {
        const QString one = QString::fromUcs4(&c, 1);
        BOOL usedDefault = FALSE;
        char out[8];
        const int n = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS,
                                          reinterpret_cast<const wchar_t *>(one.utf16()),
                                          static_cast<int>(one.size()), out, sizeof out, nullptr,
                                          &usedDefault);
        if (n <= 0 || usedDefault)
            return c;
    }
    return 0;
}

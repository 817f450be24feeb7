#include "AnsiCodePage.h"

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

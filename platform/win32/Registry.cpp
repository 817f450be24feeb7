#include "Registry.h"

#include <windows.h>

#include <vector>

namespace {

HKEY RootKey(THKey Root)
{
    return Root == THKey::LocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
}

// Reads a string value of an open key: its type and size first, then the
// data, asking again while the value grows between the two calls.
bool QueryString(HKEY Key, const std::wstring &Name, QString &Value)
{
    DWORD type = 0, size = 0;
    if (RegQueryValueExW(Key, Name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
        return false;
    for (int attempt = 0; attempt < 4; ++attempt) {
        if (type != REG_SZ && type != REG_EXPAND_SZ)
            return false;
        std::vector<wchar_t> data(size / sizeof(wchar_t) + 1, L'\0');
        DWORD got = size;
        const LONG rc = RegQueryValueExW(Key, Name.c_str(), nullptr, &type,
                                         reinterpret_cast<BYTE *>(data.data()), &got);
        if (rc == ERROR_MORE_DATA) {
            size = got;
            continue;
        }
        if (rc != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ))
            return false;
        // As stored, up to its terminating null (which may be missing).
        size_t n = got / sizeof(wchar_t);
        size_t length = 0;
        while (length < n && data[length] != L'\0')
            ++length;
        Value = QString::fromWCharArray(data.data(), static_cast<int>(length));
        return true;
    }
    return false;
}

} // namespace

QString ReadRegistryString(THKey Root, const QString &Key, const QString &Name,
                           const QString &Default)
{
    // The key is relative to the root: a leading "\" is dropped.
    const QString key = Key.startsWith(QLatin1Char('\\')) ? Key.mid(1) : Key;
    HKEY handle = nullptr;
    if (RegOpenKeyExW(RootKey(Root), key.toStdWString().c_str(), 0, KEY_READ, &handle)
        != ERROR_SUCCESS)
        return Default;
    QString value;
    const bool ok = QueryString(handle, Name.toStdWString(), value);
    RegCloseKey(handle);
    return ok ? value : Default;
}

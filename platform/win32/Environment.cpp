#include "Environment.h"

#include <windows.h>

#include <cstdlib>
#include <string>

void AdoptMachineEnvironmentValue(const QString &Name, const QString &Value)
{
    if (Name.isEmpty() || Value.isEmpty())
        return;
    const std::wstring name = Name.toStdWString();
    const std::wstring raw = Value.toStdWString();
    std::wstring value(raw.size() + 1, L'\0');
    for (;;) {
        const DWORD n = ExpandEnvironmentStringsW(raw.c_str(), value.data(), DWORD(value.size()));
        if (n == 0) {
            value = raw;
            break;
        }
        if (n <= value.size()) {
            value.resize(n - 1);
            break;
        }
        value.resize(n);
    }
    // The system's block, which started programs inherit, and the C
    // library's copy, which getenv reads.
    SetEnvironmentVariableW(name.c_str(), value.c_str());
    _wputenv_s(name.c_str(), value.c_str());
}

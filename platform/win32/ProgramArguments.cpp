#include "ProgramArguments.h"

#include <windows.h>

#include <shellapi.h>

QStringList ProgramArguments(int argc, char **argv)
{
    int count = 0;
    LPWSTR *wide = CommandLineToArgvW(GetCommandLineW(), &count);
    QStringList args;
    if (wide) {
        for (int i = 1; i < count; ++i)
            args << QString::fromWCharArray(wide[i]);
        LocalFree(wide);
        return args;
    }
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    return args;
}

// A program for the process tests: writes its working folder and its
// command line to the file named by ZEDEDE_CHILD_REPORT (UTF-8), sleeps the
// milliseconds of its first argument and exits with its second.
#include <windows.h>

#include <cstdlib>
#include <string>

int wmain(int argc, wchar_t **argv)
{
    wchar_t report[MAX_PATH] = L"";
    if (GetEnvironmentVariableW(L"ZEDEDE_CHILD_REPORT", report, MAX_PATH) > 0) {
        wchar_t cwd[MAX_PATH] = L"";
        GetCurrentDirectoryW(MAX_PATH, cwd);
        std::wstring text = std::wstring(cwd) + L"\n" + GetCommandLineW() + L"\n";
        for (int i = 1; i < argc; ++i)
            text += std::wstring(L"[") + argv[i] + L"]\n";
        const int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
        std::string utf8(n > 0 ? n - 1 : 0, '\0');
        WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, utf8.data(), n, nullptr, nullptr);
        HANDLE h = CreateFileW(report, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written;
        WriteFile(h, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
        CloseHandle(h);
    }
    if (argc > 1)
        Sleep(static_cast<DWORD>(_wtoi(argv[1])));
    return argc > 2 ? _wtoi(argv[2]) : 0;
}

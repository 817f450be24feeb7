// A program for the process tests: writes its working folder and its
// command line to the file named by ZEDEDE_CHILD_REPORT (UTF-8), sleeps the
// milliseconds of its first argument and exits with its second. A third
// argument asks for more:
//   talk   writes to its standard output and error, and how many bytes its
//          standard input held;
//   flood  writes 300000 bytes to its standard output;
//   spawn  starts a copy of itself that sleeps as long and then ("late")
//          writes the report's name with ".late" appended.
#include <windows.h>

#include <cstdlib>
#include <string>

namespace {

void WriteTo(HANDLE Handle, const std::string &Text)
{
    DWORD written = 0;
    WriteFile(Handle, Text.data(), static_cast<DWORD>(Text.size()), &written, nullptr);
}

} // namespace

int wmain(int argc, wchar_t **argv)
{
    const std::wstring mode = argc > 3 ? argv[3] : L"";
    wchar_t report[MAX_PATH] = L"";
    const bool reporting = GetEnvironmentVariableW(L"ZEDEDE_CHILD_REPORT", report, MAX_PATH) > 0;
    if (reporting && mode != L"late") {
        wchar_t cwd[MAX_PATH] = L"";
        GetCurrentDirectoryW(MAX_PATH, cwd);
        std::wstring text = std::wstring(cwd) + L"\n" + GetCommandLineW() + L"\n";
        for (int i = 1; i < argc; ++i)
            text += std::wstring(L"[") + argv[i] + L"]\n";
        const int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
        std::string utf8(n > 0 ? n - 1 : 0, '\0');
        WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, utf8.data(), n, nullptr, nullptr);
        HANDLE h = CreateFileW(report, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        WriteTo(h, utf8);
        CloseHandle(h);
    }
    if (mode == L"talk") {
        WriteTo(GetStdHandle(STD_OUTPUT_HANDLE), "a la salida\n");
        WriteTo(GetStdHandle(STD_ERROR_HANDLE), "al error\n");
        char buffer[256];
        DWORD n = 0;
        unsigned long total = 0;
        while (ReadFile(GetStdHandle(STD_INPUT_HANDLE), buffer, sizeof buffer, &n, nullptr) && n > 0)
            total += n;
        WriteTo(GetStdHandle(STD_OUTPUT_HANDLE), "entrada: " + std::to_string(total) + "\n");
    } else if (mode == L"flood") {
        const std::string line(99, 'x');
        for (int i = 0; i < 3000; ++i)
            WriteTo(GetStdHandle(STD_OUTPUT_HANDLE), line + "\n");
        WriteTo(GetStdHandle(STD_OUTPUT_HANDLE), "fin\n");
    } else if (mode == L"spawn") {
        wchar_t self[MAX_PATH] = L"";
        GetModuleFileNameW(nullptr, self, MAX_PATH);
        std::wstring line = std::wstring(L"\"") + self + L"\" " + argv[1] + L" 0 late";
        STARTUPINFOW si{};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi{};
        if (!CreateProcessW(self, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
            return 99;
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
    }
    if (argc > 1)
        Sleep(static_cast<DWORD>(_wtoi(argv[1])));
    if (reporting && mode == L"late") {
        HANDLE h = CreateFileW((std::wstring(report) + L".late").c_str(), GENERIC_WRITE, 0, nullptr,
                               CREATE_ALWAYS, 0, nullptr);
        CloseHandle(h);
    }
    return argc > 2 ? _wtoi(argv[2]) : 0;
}

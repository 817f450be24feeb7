#include "PasswordInput.h"

#include "ConsoleText.h"

#include <cstdio>
#include <string>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <termios.h>
#include <unistd.h>
#endif

namespace {

// Echo off while it lives (a terminal only).
class TNoEcho
{
public:
    explicit TNoEcho(bool AActive)
    {
        if (!AActive)
            return;
#ifdef Q_OS_WIN
        FInput = GetStdHandle(STD_INPUT_HANDLE);
        FActive = GetConsoleMode(FInput, &FMode)
                  && SetConsoleMode(FInput, FMode & ~DWORD(ENABLE_ECHO_INPUT));
#else
        FActive = tcgetattr(STDIN_FILENO, &FMode) == 0;
        if (FActive) {
            termios quiet = FMode;
            quiet.c_lflag &= ~tcflag_t(ECHO);
            quiet.c_lflag |= ECHONL;
            FActive = tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet) == 0;
        }
#endif
    }
    ~TNoEcho()
    {
        if (!FActive)
            return;
#ifdef Q_OS_WIN
        SetConsoleMode(FInput, FMode);
        WriteConsoleText(TConsoleStream::Error, QStringLiteral("\n"));
#else
        tcsetattr(STDIN_FILENO, TCSAFLUSH, &FMode);
#endif
    }
    TNoEcho(const TNoEcho &) = delete;
    TNoEcho &operator=(const TNoEcho &) = delete;

private:
    bool FActive = false;
#ifdef Q_OS_WIN
    HANDLE FInput = nullptr;
    DWORD FMode = 0;
#else
    termios FMode {};
#endif
};

QString WithoutLineEnd(QString Line)
{
    while (Line.endsWith(QLatin1Char('\n')) || Line.endsWith(QLatin1Char('\r')))
        Line.chop(1);
    return Line;
}

} // namespace

bool StandardInputIsTerminal()
{
#ifdef Q_OS_WIN
    DWORD mode = 0;
    return GetConsoleMode(GetStdHandle(STD_INPUT_HANDLE), &mode) != 0;
#else
    return isatty(STDIN_FILENO) != 0;
#endif
}

bool ReadStandardInputLine(QString &Line, bool NoEcho, const QString &Prompt)
{
    const bool terminal = StandardInputIsTerminal();
    if (!Prompt.isEmpty())
        WriteConsoleText(TConsoleStream::Error, Prompt);
    TNoEcho noEcho(NoEcho && terminal);
#ifdef Q_OS_WIN
    if (terminal) {
        // The console gives the characters as typed, whatever its code page.
        std::wstring text;
        wchar_t buffer[256];
        DWORD read = 0;
        while (ReadConsoleW(GetStdHandle(STD_INPUT_HANDLE), buffer, 256, &read, nullptr)
               && read > 0) {
            text.append(buffer, read);
            if (text.find(L'\n') != std::wstring::npos)
                break;
        }
        if (text.empty())
            return false;
        Line = WithoutLineEnd(QString::fromStdWString(text.substr(0, text.find(L'\n'))));
        return true;
    }
#endif
    std::string bytes;
    int c = 0;
    bool any = false;
    while ((c = std::fgetc(stdin)) != EOF) {
        any = true;
        if (c == '\n')
            break;
        bytes.push_back(static_cast<char>(c));
    }
    if (!any)
        return false;
    Line = WithoutLineEnd(QString::fromUtf8(bytes.data(), int(bytes.size())));
    return true;
}

bool ReadPasswordTwice(QString &Password, QString &Repetition)
{
    if (!StandardInputIsTerminal()) {
        if (!ReadStandardInputLine(Password))
            return false;
        Repetition = Password;
        return true;
    }
    return ReadStandardInputLine(Password, true,
                                 QStringLiteral("Contraseña (mínimo 4 caracteres): "))
           && ReadStandardInputLine(Repetition, true,
                                    QStringLiteral("Reingrese la contraseña: "));
}

// The notification as a balloon of the notification area (Windows).
#include "DesktopNotification.h"

#ifdef Q_OS_WIN

#include "Exception.h"
#include "uVmWriteToLog.h"

#include <windows.h>
#include <shellapi.h>

#include <algorithm>

namespace {

constexpr UINT kCallbackMessage = WM_APP + 1;
constexpr UINT kIconId = 1;
constexpr UINT_PTR kLimitTimer = 1;

struct TTrayState
{
    bool Done = false;
    TNotificationEnd End = neTimeLimit;
};

void Finish(HWND Window, TNotificationEnd End)
{
    auto *state = reinterpret_cast<TTrayState *>(GetWindowLongPtrW(Window, GWLP_USERDATA));
    if (state && !state->Done) {
        state->Done = true;
        state->End = End;
    }
}

LRESULT CALLBACK TrayWindowProc(HWND Window, UINT Message, WPARAM WParam, LPARAM LParam)
{
    if (Message == kCallbackMessage) {
        // NOTIFYICON_VERSION_4: the event is the low word of LParam.
        switch (LOWORD(LParam)) {
        case NIN_BALLOONUSERCLICK:
            Finish(Window, neAction);
            break;
        case NIN_BALLOONTIMEOUT:
        case NIN_BALLOONHIDE:
            Finish(Window, neClosed);
            break;
        default:
            break;
        }
        return 0;
    }
    if (Message == WM_TIMER && WParam == kLimitTimer) {
        Finish(Window, neTimeLimit);
        return 0;
    }
    return DefWindowProcW(Window, Message, WParam, LParam);
}

// Copies Text into a fixed buffer of Size characters, cut to fit.
template <size_t Size>
void CopyText(wchar_t (&Target)[Size], const QString &Text)
{
    const std::wstring text = Text.toStdWString();
    const size_t n = std::min(text.size(), Size - 1);
    std::copy(text.begin(), text.begin() + n, Target);
    Target[n] = L'\0';
}

} // namespace

TNotificationEnd ShowDueNotification(const TDueNotice &Notice, const QString &Folder,
                                     const TNotifyOptions &Options)
{
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = TrayWindowProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = L"ZeDedeAvisos";
    RegisterClassExW(&windowClass);   // a second registration fails harmlessly
    const HWND window = CreateWindowExW(0, windowClass.lpszClassName, L"ZeDede", 0, 0, 0, 0, 0,
                                        HWND_MESSAGE, nullptr, instance, nullptr);
    if (!window)
        throw Exception(QStringLiteral("No se pudo mostrar el aviso en el escritorio: Windows no "
                                       "creó la ventana del aviso."));
    TTrayState state;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&state));

    HICON icon = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON,
                                               GetSystemMetrics(SM_CXSMICON),
                                               GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR));
    NOTIFYICONDATAW data = {};
    data.cbSize = sizeof data;
    data.hWnd = window;
    data.uID = kIconId;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP | NIF_SHOWTIP;
    data.uCallbackMessage = kCallbackMessage;
    data.hIcon = icon ? icon : LoadIconW(nullptr, IDI_INFORMATION);
    CopyText(data.szTip, QStringLiteral("ZeDede"));
    if (!Shell_NotifyIconW(NIM_ADD, &data)) {
        DestroyWindow(window);
        if (icon)
            DestroyIcon(icon);
        throw Exception(QStringLiteral("No se pudo mostrar el aviso en el escritorio: el área de "
                                       "notificación no está disponible."));
    }
    data.uVersion = NOTIFYICON_VERSION_4;
    Shell_NotifyIconW(NIM_SETVERSION, &data);

    data.uFlags = NIF_INFO;
    data.dwInfoFlags = NIIF_INFO | NIIF_NOSOUND | NIIF_RESPECT_QUIET_TIME;
    CopyText(data.szInfoTitle, Notice.Summary);
    CopyText(data.szInfo, Notice.Body);
    const bool shown = Shell_NotifyIconW(NIM_MODIFY, &data);
    TNotificationEnd end = neShown;
    if (shown) {
        TManagedLogFile::Write(ltMsg, QStringLiteral("Aviso mostrado: ") + Notice.Summary);
        SetTimer(window, kLimitTimer, UINT(std::max(Options.WaitLimitMs, 1)), nullptr);
        MSG message;
        while (!state.Done && GetMessageW(&message, nullptr, 0, 0) > 0) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        KillTimer(window, kLimitTimer);
        end = state.End;
    }
    data.uFlags = 0;
    Shell_NotifyIconW(NIM_DELETE, &data);
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    DestroyWindow(window);
    if (icon)
        DestroyIcon(icon);
    if (!shown)
        throw Exception(QStringLiteral("No se pudo mostrar el aviso en el escritorio: el área de "
                                       "notificación no lo aceptó."));
    if (end == neAction)
        OpenCertificatesBook(Options.Program, Folder);
    return end;
}

#endif

#include "OwnerOnly.h"

#include <aclapi.h>
#include <sddl.h>

#include <memory>
#include <vector>

QString CurrentUserSidText()
{
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token))
        return QString();
    DWORD size = 0;
    GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    std::vector<BYTE> buffer(size ? size : 1);
    QString text;
    if (size && GetTokenInformation(token, TokenUser, buffer.data(), size, &size)) {
        LPWSTR sid = nullptr;
        if (ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER *>(buffer.data())->User.Sid, &sid)) {
            text = QString::fromWCharArray(sid);
            LocalFree(sid);
        }
    }
    const DWORD error = GetLastError();
    CloseHandle(token);
    SetLastError(error);
    return text;
}

TOwnerOnlySecurity::TOwnerOnlySecurity(TKind Kind)
{
    const QString user = CurrentUserSidText();
    if (user.isEmpty())
        return;
    // P: protected (nothing inherited); FA: full access; SY: the system
    // account; OICI: passed down to files and folders inside a folder.
    const QString inherit = Kind == TKind::Folder ? QStringLiteral("OICI") : QString();
    const QString sddl = QStringLiteral("D:P(A;%1;FA;;;%2)(A;%1;FA;;;SY)").arg(inherit, user);
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(
            reinterpret_cast<LPCWSTR>(sddl.utf16()), SDDL_REVISION_1, &FDescriptor, nullptr)) {
        FDescriptor = nullptr;
        return;
    }
    FAttributes.nLength = sizeof(FAttributes);
    FAttributes.lpSecurityDescriptor = FDescriptor;
    FAttributes.bInheritHandle = FALSE;
}

TOwnerOnlySecurity::~TOwnerOnlySecurity()
{
    if (FDescriptor)
        LocalFree(FDescriptor);
}

bool TOwnerOnlySecurity::ApplyTo(HANDLE Handle) const
{
    if (!FDescriptor)
        return false;
    BOOL present = FALSE;
    BOOL defaulted = FALSE;
    PACL dacl = nullptr;
    if (!GetSecurityDescriptorDacl(FDescriptor, &present, &dacl, &defaulted) || !present)
        return false;
    const DWORD result = SetSecurityInfo(Handle, SE_FILE_OBJECT,
                                         DACL_SECURITY_INFORMATION
                                             | PROTECTED_DACL_SECURITY_INFORMATION,
                                         nullptr, nullptr, dacl, nullptr);
    if (result != ERROR_SUCCESS) {
        SetLastError(result);
        return false;
    }
    return true;
}

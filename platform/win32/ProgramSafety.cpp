#include "ProgramSafety.h"

#include <QDir>
#include <QFileInfo>

#include <windows.h>
#include <aclapi.h>
#include <sddl.h>

#include <vector>

// A file or folder is safe when its access list grants the rights to change
// it (write, append, delete, change permissions or owner) only to trusted
// accounts: its owner, this user, the system, the administrators and the
// installer service. A missing access list grants everything to everyone.

namespace {

constexpr ACCESS_MASK kChanging = FILE_WRITE_DATA | FILE_APPEND_DATA | FILE_WRITE_EA
                                  | FILE_WRITE_ATTRIBUTES | DELETE | WRITE_DAC | WRITE_OWNER
                                  | GENERIC_WRITE | GENERIC_ALL;

struct TSid
{
    PSID Sid = nullptr;
    explicit TSid(const wchar_t *Text) { ConvertStringSidToSidW(Text, &Sid); }
    ~TSid() { if (Sid) LocalFree(Sid); }
};

std::vector<BYTE> CurrentUserSid()
{
    std::vector<BYTE> result;
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token))
        return result;
    DWORD size = 0;
    GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    std::vector<BYTE> buffer(size);
    if (size && GetTokenInformation(token, TokenUser, buffer.data(), size, &size)) {
        const PSID sid = reinterpret_cast<TOKEN_USER *>(buffer.data())->User.Sid;
        result.assign(static_cast<BYTE *>(sid), static_cast<BYTE *>(sid) + GetLengthSid(sid));
    }
    CloseHandle(token);
    return result;
}

QString NodeReason(const QString &Path, bool Folder)
{
    const QString what = Folder ? QStringLiteral("la carpeta %1").arg(Path)
                                : QStringLiteral("el archivo %1").arg(Path);
    PSID owner = nullptr;
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR sd = nullptr;
    const std::wstring name = QDir::toNativeSeparators(Path).toStdWString();
    const DWORD r = GetNamedSecurityInfoW(name.c_str(), SE_FILE_OBJECT,
                                          OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION,
                                          &owner, nullptr, &dacl, nullptr, &sd);
    if (r != ERROR_SUCCESS)
        return QStringLiteral("no se pudieron leer los permisos de %1 (error %2)").arg(Path).arg(r);
    QString reason;
    if (!dacl) {
        reason = QStringLiteral("%1 no tiene permisos: la puede modificar cualquiera").arg(what);
    } else {
        const TSid system(L"S-1-5-18");
        const TSid administrators(L"S-1-5-32-544");
        const TSid installer(L"S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464");
        const TSid creatorOwner(L"S-1-3-0");
        std::vector<BYTE> me = CurrentUserSid();
        for (DWORD i = 0; i < dacl->AceCount && reason.isEmpty(); ++i) {
            void *entry = nullptr;
            if (!GetAce(dacl, i, &entry))
                continue;
            const auto *header = static_cast<ACE_HEADER *>(entry);
            if (header->AceType != ACCESS_ALLOWED_ACE_TYPE || (header->AceFlags & INHERIT_ONLY_ACE))
                continue;
            const auto *allowed = static_cast<ACCESS_ALLOWED_ACE *>(entry);
            if (!(allowed->Mask & kChanging))
                continue;
            const PSID sid = const_cast<DWORD *>(&allowed->SidStart);
            const bool trusted = (owner && EqualSid(sid, owner))
                                 || (!me.empty() && EqualSid(sid, me.data()))
                                 || (system.Sid && EqualSid(sid, system.Sid))
                                 || (administrators.Sid && EqualSid(sid, administrators.Sid))
                                 || (installer.Sid && EqualSid(sid, installer.Sid))
                                 || (creatorOwner.Sid && EqualSid(sid, creatorOwner.Sid));
            if (!trusted) {
                wchar_t *text = nullptr;
                ConvertSidToStringSidW(sid, &text);
                reason = QStringLiteral("%1 la pueden modificar otros usuarios (%2)")
                             .arg(what, text ? QString::fromWCharArray(text) : QStringLiteral("?"));
                if (text)
                    LocalFree(text);
            }
        }
    }
    LocalFree(sd);
    return reason;
}

} // namespace

QString UnsafeProgramReason(const QString &Program)
{
    const QFileInfo info(Program);
    const QString file = info.canonicalFilePath();
    if (file.isEmpty())
        return QStringLiteral("no se pudo examinar %1").arg(Program);
    QString reason = NodeReason(QDir::toNativeSeparators(info.absolutePath()), true);
    if (reason.isEmpty())
        reason = NodeReason(QDir::toNativeSeparators(QFileInfo(file).absolutePath()), true);
    if (reason.isEmpty())
        reason = NodeReason(QDir::toNativeSeparators(file), false);
    return reason;
}

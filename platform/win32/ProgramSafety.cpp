#include "ProgramSafety.h"

#include "OwnerOnly.h"

#include <QDir>
#include <QFileInfo>

#include <aclapi.h>
#include <sddl.h>

namespace {

QString SidText(PSID Sid)
{
    LPWSTR text = nullptr;
    if (!ConvertSidToStringSidW(Sid, &text))
        return QString();
    const QString result = QString::fromWCharArray(text);
    LocalFree(text);
    return result;
}

// Who may change what the machine's administrators installed: the user
// running the program, the system, the administrators and the installer
// service. "Creator owner" stands for the owner in entries passed down.
bool IsTrusted(const QString &Sid, const QString &User)
{
    static const QStringList trusted{
        QStringLiteral("S-1-5-18"),     // SYSTEM
        QStringLiteral("S-1-5-32-544"), // Administrators
        QStringLiteral("S-1-3-0"),      // CREATOR OWNER
        QStringLiteral("S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464"),
    };
    return Sid == User || trusted.contains(Sid);
}

// The name of an account as Windows shows it ("Usuarios", "Todos"), or the
// identifier itself.
QString AccountName(PSID Sid)
{
    WCHAR name[256];
    WCHAR domain[256];
    DWORD nameSize = 256;
    DWORD domainSize = 256;
    SID_NAME_USE use;
    if (LookupAccountSidW(nullptr, Sid, name, &nameSize, domain, &domainSize, &use))
        return QString::fromWCharArray(name, int(nameSize));
    return SidText(Sid);
}

// Rights that let someone put other content or another program in place.
ACCESS_MASK ChangeRights(bool Folder)
{
    ACCESS_MASK rights = FILE_WRITE_DATA | FILE_APPEND_DATA | DELETE | WRITE_DAC | WRITE_OWNER
                         | GENERIC_WRITE | GENERIC_ALL;
    if (Folder)
        rights |= FILE_DELETE_CHILD; // FILE_ADD_FILE, FILE_ADD_SUBDIRECTORY: the first two
    return rights;
}

QString UnsafePathReason(const QString &Path, bool Folder, const QString &User)
{
    const QString native = QDir::toNativeSeparators(Path);
    const QString what = Folder ? QStringLiteral("la carpeta %1").arg(native)
                                : QStringLiteral("el programa %1").arg(native);
    PSID owner = nullptr;
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR sd = nullptr;
    const DWORD result = GetNamedSecurityInfoW(reinterpret_cast<LPCWSTR>(native.utf16()),
                                               SE_FILE_OBJECT,
                                               OWNER_SECURITY_INFORMATION
                                                   | DACL_SECURITY_INFORMATION,
                                               &owner, nullptr, &dacl, nullptr, &sd);
    if (result != ERROR_SUCCESS)
        return QStringLiteral("No se pudieron leer los permisos de %1 (error del sistema %2).")
            .arg(what)
            .arg(result);
    QString reason;
    if (owner && !IsTrusted(SidText(owner), User))
        reason = QStringLiteral("El propietario de %1 es %2, que podría cambiarlo.")
                     .arg(what, AccountName(owner));
    else if (!dacl)
        reason = QStringLiteral("Cualquier usuario puede modificar %1 (no tiene permisos propios).")
                     .arg(what);
    const ACCESS_MASK rights = ChangeRights(Folder);
    for (DWORD i = 0; reason.isEmpty() && dacl && i < dacl->AceCount; ++i) {
        ACE_HEADER *header = nullptr;
        if (!GetAce(dacl, i, reinterpret_cast<void **>(&header)))
            continue;
        // Entries only passed down to what the folder holds do not apply
        // to the folder itself.
        if (header->AceType != ACCESS_ALLOWED_ACE_TYPE || (header->AceFlags & INHERIT_ONLY_ACE))
            continue;
        auto *ace = reinterpret_cast<ACCESS_ALLOWED_ACE *>(header);
        PSID sid = &ace->SidStart;
        if ((ace->Mask & rights) && !IsTrusted(SidText(sid), User))
            reason = QStringLiteral("%1 puede modificar %2.").arg(AccountName(sid), what);
    }
    LocalFree(sd);
    return reason;
}

} // namespace

QString UnsafeProgramReason(const QString &Program)
{
    if (Program.isEmpty())
        return QStringLiteral("No se indicó el programa.");
    const QFileInfo info(Program);
    if (!info.isFile())
        return QStringLiteral("No se encuentra el programa %1.")
            .arg(QDir::toNativeSeparators(Program));
    const QString user = CurrentUserSidText();
    const QString file = info.absoluteFilePath();
    QString reason = UnsafePathReason(file, false, user);
    if (reason.isEmpty())
        reason = UnsafePathReason(info.absolutePath(), true, user);
    return reason;
}

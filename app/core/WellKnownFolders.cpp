#include "WellKnownFolders.h"

#include "Paths.h"
#include "Registry.h"

QString GetPersonalFolder()
{
    return ReadRegistryString(
        THKey::CurrentUser,
        QStringLiteral("Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders"),
        QStringLiteral("Personal"), QString());
}

QString DefaultCertificatesFolder()
{
    return IncludeTrailingDelimiter(GetPersonalFolder()) + QStringLiteral("Mis certificados");
}

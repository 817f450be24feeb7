#include "CertificateErrors.h"

#include "ErrorLog.h"

void LogCheckError(const QString &AMessage, const QString &ADetails)
{
    LogError(QStringLiteral("Verificación de certificado"), AMessage, ADetails);
}

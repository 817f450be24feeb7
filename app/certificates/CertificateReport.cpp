#include "CertificateReport.h"

#include "OpenSSLRun.h"
#include "Paths.h"

#include <QFileInfo>
#include <QTextStream>

namespace {

QString FileName(const QString &Path)
{
    return QFileInfo(Path).fileName();
}

QString Days(int N)
{
    return N == 1 ? QStringLiteral("1 día") : QStringLiteral("%1 días").arg(N);
}

} // namespace

TVerification VerifyFile(const QString &File, const QString &DefaultFolder,
                         const QDateTime &Now)
{
    TVerification v;
    v.File = File;
    v.Now = Now;
    v.Identity = IdentifyFile(File);
    if (!v.IsCertificate())
        return v;
    v.Certificate = ReadCertificate(File);
    v.Keys = CheckKeys(v.Certificate, KeyCandidateFiles(File, DefaultFolder));
    v.MatchingKey = MatchingKey(v.Keys);
    return v;
}

void AddPickedKey(TVerification &Verification, const QString &KeyFile)
{
    const QString canonical = QFileInfo(KeyFile).canonicalFilePath();
    for (int i = 0; i < Verification.Keys.size(); ++i)
        if (QFileInfo(Verification.Keys.at(i).File).canonicalFilePath() == canonical)
            Verification.Keys.removeAt(i--);
    const TKeyCandidate c = CheckKey(Verification.Certificate, KeyFile);
    Verification.Keys.append(c);
    if (Verification.MatchingKey.isEmpty() && c.State == TKeyCandidate::Matches)
        Verification.MatchingKey = c.File;
}

QString FileKindText(const TFileIdentity &Identity)
{
    switch (Identity.Kind) {
    case TFileKind::Certificate:
        return Identity.Der ? QStringLiteral("Certificado (formato DER)")
                            : QStringLiteral("Certificado (formato PEM)");
    case TFileKind::Request: return QStringLiteral("Pedido de certificado (.req)");
    case TFileKind::PrivateKey:
        return Identity.Encrypted ? QStringLiteral("Clave privada protegida con contraseña")
                                  : QStringLiteral("Clave privada");
    case TFileKind::Pkcs12: return QStringLiteral("Archivo PKCS#12 (.pfx / .p12)");
    case TFileKind::Other: break;
    }
    return QStringLiteral("Archivo desconocido");
}

QString NotACertificateText(TFileKind Kind)
{
    switch (Kind) {
    case TFileKind::Request:
        return QStringLiteral("Este es el pedido, no el certificado emitido: el certificado es "
                              "el archivo que entrega la A.F.I.P. luego de subir este pedido.");
    case TFileKind::PrivateKey:
        return QStringLiteral("Este archivo es una clave privada, no un certificado: elija el "
                              "certificado emitido por la A.F.I.P.");
    case TFileKind::Pkcs12:
        return QStringLiteral("Este archivo es un PKCS#12 (.pfx / .p12), que ya reúne clave y "
                              "certificado: elija el certificado emitido por la A.F.I.P.");
    case TFileKind::Other:
        return QStringLiteral("Este archivo no es un certificado, ni un pedido, ni una clave "
                              "privada, ni un archivo PKCS#12.");
    case TFileKind::Certificate: break;
    }
    return QString();
}

QString IssuerKindText(TIssuerKind Kind)
{
    switch (Kind) {
    case TIssuerKind::Production: return QStringLiteral("Producción");
    case TIssuerKind::Testing: return QStringLiteral("Homologación (pruebas)");
    case TIssuerKind::Other: break;
    }
    return QStringLiteral("Ninguno: el emisor no es la A.F.I.P.");
}

QString CUITText(const TCertificateInfo &Info)
{
    if (Info.CUIT.isEmpty())
        return Info.SerialNumber.isEmpty()
                   ? QStringLiteral("No figura en el certificado")
                   : QStringLiteral("\"%1\" no es un CUIT").arg(Info.SerialNumber);
    if (!Info.CUITValid)
        return QStringLiteral("%1 (dígito verificador incorrecto)").arg(FormatCUIT(Info.CUIT));
    return FormatCUIT(Info.CUIT);
}

QString DateText(const QDateTime &Utc)
{
    return Utc.toLocalTime().toString(QStringLiteral("dd/MM/yyyy HH:mm"));
}

QString DaysLeftText(const TVerification &V)
{
    switch (V.Validity()) {
    case TValidity::NotYetValid: return QStringLiteral("Todavía no es válido");
    case TValidity::Expired: return QStringLiteral("Vencido");
    case TValidity::ExpiresSoon:
    case TValidity::Valid: break;
    }
    return V.DaysLeft() == 0 ? QStringLiteral("Vence hoy") : Days(V.DaysLeft());
}

QString KeyText(const TVerification &V)
{
    if (!V.MatchingKey.isEmpty())
        return QStringLiteral("Corresponde a %1").arg(NativePath(V.MatchingKey));
    if (V.Keys.isEmpty())
        return QStringLiteral("No se encontraron claves privadas (Privada_*.key); "
                              "elija la clave del certificado.");
    return V.Keys.size() == 1
               ? QStringLiteral("La clave encontrada no corresponde a este certificado.")
               : QStringLiteral("Ninguna de las %1 claves encontradas corresponde a este "
                                "certificado.")
                     .arg(V.Keys.size());
}

QString ExpiryWarning(const TVerification &V)
{
    if (!V.IsCertificate())
        return QString();
    switch (V.Validity()) {
    case TValidity::NotYetValid:
        return QStringLiteral("ATENCIÓN: el certificado todavía no es válido (lo será desde el "
                              "%1).")
            .arg(DateText(V.Certificate.NotBefore));
    case TValidity::Expired:
        return QStringLiteral("ATENCIÓN: el certificado venció el %1.")
            .arg(DateText(V.Certificate.NotAfter));
    case TValidity::ExpiresSoon:
        return V.DaysLeft() == 0
                   ? QStringLiteral("ATENCIÓN: el certificado vence hoy, %1.")
                         .arg(DateText(V.Certificate.NotAfter))
                   : QStringLiteral("ATENCIÓN: el certificado vence en %1, el %2.")
                         .arg(Days(V.DaysLeft()), DateText(V.Certificate.NotAfter));
    case TValidity::Valid: break;
    }
    return QString();
}

QStringList Problems(const TVerification &V)
{
    if (!V.IsCertificate())
        return {NotACertificateText(V.Identity.Kind)};
    QStringList problems;
    const QString expiry = ExpiryWarning(V);
    if (!expiry.isEmpty())
        problems << expiry;
    if (V.Certificate.IssuerKind == TIssuerKind::Other)
        problems << QStringLiteral("El certificado no fue emitido por la A.F.I.P.");
    if (!V.Certificate.CUITValid)
        problems << QStringLiteral("El certificado no lleva un CUIT válido.");
    if (V.MatchingKey.isEmpty())
        problems << (V.Keys.isEmpty()
                         ? QStringLiteral("No se encontró la clave privada del certificado.")
                         : QStringLiteral("Ninguna clave privada encontrada corresponde a este "
                                          "certificado."));
    return problems;
}

QString ResultLine(const TVerification &V)
{
    const QStringList problems = Problems(V);
    if (!problems.isEmpty())
        return problems.join(QLatin1Char(' '));
    const QString kind = V.Certificate.IssuerKind == TIssuerKind::Testing
                             ? QStringLiteral("de homologación (solo para pruebas)")
                             : QStringLiteral("de producción");
    return QStringLiteral("Certificado %1 válido por %2 más; corresponde a la clave %3.")
        .arg(kind, Days(V.DaysLeft()), FileName(V.MatchingKey));
}

TVerifyExit ExitCodeOf(const TVerification &V)
{
    return Problems(V).isEmpty() ? veOk : veProblem;
}

QStringList FindingLines(const TVerification &V)
{
    QStringList lines;
    lines << QStringLiteral("Archivo: %1").arg(NativePath(V.File));
    lines << QStringLiteral("Tipo de archivo: %1").arg(FileKindText(V.Identity));
    if (V.IsCertificate()) {
        const TCertificateInfo &c = V.Certificate;
        lines << QStringLiteral("Titular: %1").arg(c.Holder);
        lines << QStringLiteral("CUIT: %1").arg(CUITText(c));
        lines << QStringLiteral("Emisor: %1").arg(DisplayName(c.Issuer));
        lines << QStringLiteral("Autoridad de la A.F.I.P.: %1").arg(IssuerKindText(c.IssuerKind));
        lines << QStringLiteral("Válido desde: %1").arg(DateText(c.NotBefore));
        lines << QStringLiteral("Válido hasta: %1").arg(DateText(c.NotAfter));
        lines << QStringLiteral("Días restantes: %1").arg(DaysLeftText(V));
        lines << QStringLiteral("Huella SHA-256: %1").arg(c.Fingerprint);
        lines << QStringLiteral("Clave privada: %1").arg(KeyText(V));
        for (const TKeyCandidate &k : V.Keys) {
            switch (k.State) {
            case TKeyCandidate::Matches:
                lines << QStringLiteral("  %1: corresponde").arg(NativePath(k.File));
                break;
            case TKeyCandidate::Differs:
                lines << QStringLiteral("  %1: no corresponde").arg(NativePath(k.File));
                break;
            case TKeyCandidate::Unreadable:
                lines << QStringLiteral("  %1: no se pudo leer (%2)")
                             .arg(NativePath(k.File), QString(k.Reason).replace(QLatin1Char('\n'),
                                                                    QLatin1Char(' ')));
                break;
            }
        }
    }
    lines << QStringLiteral("Resultado: %1").arg(ResultLine(V));
    return lines;
}

int RunVerifyWithoutWindow(const QString &File, QTextStream &Out, const QString &DefaultFolder,
                           const QDateTime &Now)
{
    try {
        const TVerification v = VerifyFile(File, DefaultFolder, Now);
        for (const QString &line : FindingLines(v))
            Out << line << '\n';
        Out.flush();
        return ExitCodeOf(v);
    } catch (const Exception &e) {
        LogToolError(e.Message(), e.Details());
        Out << QStringLiteral("No se pudo verificar el archivo %1: %2").arg(File, e.Message())
            << '\n';
        if (!e.Details().isEmpty())
            Out << QStringLiteral("Detalle: %1").arg(e.Details()) << '\n';
    }
    Out.flush();
    return veUnreadable;
}

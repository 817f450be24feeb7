#include "CertificateReport.h"

#include "Paths.h"
#include "TerminalText.h"

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
                         const QDateTime &Now, const QString &KeyFile)
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
    if (!KeyFile.isEmpty())
        AddPickedKey(v, KeyFile);
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
    // The key the user names wins over one found by the search.
    if (c.State == TKeyCandidate::Matches)
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
    return Identity.Damaged ? QStringLiteral("Archivo dañado o incompleto")
                            : QStringLiteral("Archivo desconocido");
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

namespace {

QString NotACertificateText(const TFileIdentity &Identity)
{
    if (Identity.Kind == TFileKind::Other && Identity.Damaged)
        return QStringLiteral("El archivo está dañado o incompleto: no se pudo leer lo que "
                              "contiene.");
    return NotACertificateText(Identity.Kind);
}

QString KeyName(const TKeyCandidate &K)
{
    return K.KeptCopy ? QStringLiteral("la copia conservada %1").arg(FileName(K.File))
                      : QStringLiteral("la clave %1").arg(FileName(K.File));
}

const TKeyCandidate *Candidate(const TVerification &V, const QString &File)
{
    for (const TKeyCandidate &k : V.Keys)
        if (k.File == File)
            return &k;
    return nullptr;
}

// A key whose public key is the certificate's but which is damaged.
const TKeyCandidate *DamagedMatch(const TVerification &V)
{
    for (const TKeyCandidate &k : V.Keys)
        if (k.State == TKeyCandidate::Damaged && k.SamePublicKey)
            return &k;
    return nullptr;
}

} // namespace

QString IssuerKindText(TIssuerKind Kind)
{
    switch (Kind) {
    case TIssuerKind::Production: return QStringLiteral("Producción");
    case TIssuerKind::Testing: return QStringLiteral("Homologación (pruebas)");
    case TIssuerKind::Other: break;
    }
    return QStringLiteral("Ninguno: el emisor no es la A.F.I.P.");
}

QString IssuerText(const TCertificateInfo &Info)
{
    switch (Info.IssuerVerdict) {
    case TIssuerVerdict::Authority: return IssuerKindText(Info.IssuerKind);
    case TIssuerVerdict::NotIssuedByAuthority:
        return QStringLiteral("Ninguna: el emisor lleva el nombre de la A.F.I.P., pero la firma "
                              "no es de ninguna de sus claves");
    case TIssuerVerdict::UnknownAuthorityKey:
        return QStringLiteral("Sin comprobar: el emisor lleva el nombre de la A.F.I.P., con una "
                              "clave que este programa no conoce");
    case TIssuerVerdict::OtherIssuer: break;
    }
    return IssuerKindText(TIssuerKind::Other);
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
    if (!V.MatchingKey.isEmpty()) {
        const TKeyCandidate *k = Candidate(V, V.MatchingKey);
        if (k && k->KeptCopy)
            return QStringLiteral("Corresponde a la copia conservada %1").arg(NativePath(V.MatchingKey));
        return QStringLiteral("Corresponde a %1").arg(NativePath(V.MatchingKey));
    }
    if (const TKeyCandidate *d = DamagedMatch(V))
        return QStringLiteral("%1 es la clave de este certificado, pero está dañada: no se la "
                              "puede usar.")
            .arg(NativePath(d->File));
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
        return {NotACertificateText(V.Identity)};
    QStringList problems;
    const QString expiry = ExpiryWarning(V);
    if (!expiry.isEmpty())
        problems << expiry;
    switch (V.Certificate.IssuerVerdict) {
    case TIssuerVerdict::Authority: break;
    case TIssuerVerdict::NotIssuedByAuthority:
        problems << QStringLiteral("El certificado no fue emitido por la A.F.I.P.: su emisor "
                                   "lleva el nombre de la A.F.I.P., pero la firma no es de "
                                   "ninguna de sus claves.");
        break;
    case TIssuerVerdict::UnknownAuthorityKey:
        problems << QStringLiteral("El emisor lleva el nombre de la A.F.I.P., pero firmó con una "
                                   "clave que este programa no conoce (la A.F.I.P. puede haber "
                                   "empezado a usar una clave nueva): no se pudo comprobar que "
                                   "el certificado sea suyo.");
        break;
    case TIssuerVerdict::OtherIssuer:
        problems << QStringLiteral("El certificado no fue emitido por la A.F.I.P.");
        break;
    }
    if (!V.Certificate.CUITValid)
        problems << QStringLiteral("El certificado no lleva un CUIT válido.");
    const TKeyCandidate *damaged = DamagedMatch(V);
    if (V.MatchingKey.isEmpty() && damaged)
        problems << QStringLiteral("La clave privada %1 corresponde al certificado, pero está "
                                   "dañada.")
                        .arg(FileName(damaged->File));
    else if (V.MatchingKey.isEmpty())
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
    const TKeyCandidate *k = Candidate(V, V.MatchingKey);
    const QString key = k ? KeyName(*k) : QStringLiteral("la clave %1").arg(FileName(V.MatchingKey));
    return QStringLiteral("Certificado %1 válido por %2 más; corresponde a %3.")
        .arg(kind, Days(V.DaysLeft()), key);
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
        lines << QStringLiteral("Autoridad de la A.F.I.P.: %1").arg(IssuerText(c));
        lines << QStringLiteral("Válido desde: %1").arg(DateText(c.NotBefore));
        lines << QStringLiteral("Válido hasta: %1").arg(DateText(c.NotAfter));
        lines << QStringLiteral("Días restantes: %1").arg(DaysLeftText(V));
        lines << QStringLiteral("Huella SHA-256: %1").arg(c.Fingerprint);
        if (c.CertificateCount > 1)
            lines << QStringLiteral("Certificados en el archivo: %1 (se verificó el primero)")
                         .arg(c.CertificateCount);
        lines << QStringLiteral("Clave privada: %1").arg(KeyText(V));
        for (const TKeyCandidate &k : V.Keys) {
            const QString name = NativePath(k.File)
                                 + (k.KeptCopy ? QStringLiteral(" (copia conservada)") : QString());
            const QString reason = QString(k.Reason).replace(QLatin1Char('\n'), QLatin1Char(' '));
            switch (k.State) {
            case TKeyCandidate::Matches:
                lines << QStringLiteral("  %1: corresponde").arg(name);
                break;
            case TKeyCandidate::Differs:
                lines << QStringLiteral("  %1: no corresponde").arg(name);
                break;
            case TKeyCandidate::Damaged:
                lines << QStringLiteral("  %1: dañada (%2)").arg(name, reason);
                break;
            case TKeyCandidate::Encrypted:
                lines << QStringLiteral("  %1: protegida con contraseña, no se la comparó").arg(name);
                break;
            case TKeyCandidate::Unreadable:
                lines << QStringLiteral("  %1: %2").arg(name, reason);
                break;
            }
        }
    }
    lines << QStringLiteral("Resultado: %1").arg(ResultLine(V));
    return lines;
}

int RunVerifyWithoutWindow(const QString &File, QTextStream &Out, QTextStream &Err,
                           const QString &KeyFile, const QString &DefaultFolder,
                           const QDateTime &Now)
{
    try {
        const TVerification v = VerifyFile(File, DefaultFolder, Now, KeyFile);
        for (const QString &line : FindingLines(v))
            Out << TerminalSafe(line) << '\n';
        Out.flush();
        return ExitCodeOf(v);
    } catch (const Exception &e) {
        LogCheckError(e.Message(), e.Details());
        Err << TerminalSafe(QStringLiteral("No se pudo verificar el archivo %1: %2")
                                .arg(NativePath(File), e.Message()))
            << '\n';
        if (!e.Details().isEmpty())
            Err << TerminalSafe(QStringLiteral("Detalle: %1")
                                    .arg(QString(e.Details()).replace(QLatin1Char('\n'),
                                                                      QStringLiteral(" / "))))
                << '\n';
    }
    Err.flush();
    return veUnreadable;
}

#include "VerifyRenewalActions.h"

#include "CertificateSwitch.h"
#include "MessageBoxes.h"
#include "Paths.h"
#include "RenewalFolders.h"
#include "WindowOpeners.h"

#include <QFileInfo>

bool OffersSwitch(const TVerification &V)
{
    return V.IsCertificate() && InRenewalFolder(V.File) && ExitCodeOf(V) == veOk
           && QFileInfo(V.MatchingKey).absolutePath() == QFileInfo(V.File).absolutePath();
}

void RenewCertificateFile(QWidget *AParent, const QString &CertificateFile)
{
    RunGuarded(AParent, [&CertificateFile] {
        if (WindowOpeners().Renewal)
            WindowOpeners().Renewal(CertificateFile);
    });
}

void RenewFromCheck(QWidget *AParent, const TVerification &V)
{
    RenewCertificateFile(AParent, V.File);
}

QString SwitchFromCheck(QWidget *AParent, const TVerification &V)
{
    return SwitchCertificateFile(AParent, V.File);
}

QString SwitchCertificateFile(QWidget *AParent, const QString &CertificateFile)
{
    QString placed;
    RunGuarded(AParent, [&] {
        const TSwitchPlan plan = PlanSwitch(CertificateFile);
        const QString question =
            plan.OldCertificate.isEmpty()
                ? QStringLiteral("El certificado nuevo y su clave pasarán a la carpeta %1. "
                                 "¿Desea continuar?")
                      .arg(NativePath(plan.CertificateFolder))
                : QStringLiteral("El certificado nuevo y su clave tomarán el lugar de %1 en la "
                                 "carpeta %2; los archivos anteriores se guardarán en %3. ¿Desea "
                                 "continuar?")
                      .arg(QFileInfo(plan.OldCertificate).fileName(),
                           NativePath(plan.CertificateFolder), NativePath(plan.PreviousFolder));
        if (!AskYesNo(AParent, question))
            return;
        const TSwitchResult r = PerformSwitch(plan);
        placed = r.Certificate;
        ShowNotice(AParent,
                   QStringLiteral("El certificado nuevo está en uso: %1. Los archivos "
                                  "anteriores están en %2. Ahora cárguelo en el sistema de "
                                  "ventas.")
                       .arg(NativePath(r.Certificate), NativePath(r.PreviousFolder)));
    });
    return placed;
}

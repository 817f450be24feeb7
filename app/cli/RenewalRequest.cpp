#include "RenewalRequest.h"

TRequestData RenewalRequestData(const TRenewal &Renewal)
{
    TRequestData d;
    d.NombreEmpresa = Renewal.Company;
    d.CUIT = Renewal.CUIT.isEmpty() ? QStringLiteral("  -        - ") : Renewal.CUIT;
    d.Operador = Renewal.Holder;
    d.Mail = Renewal.Mail;
    d.Carpeta = Renewal.Folder;
    return d;
}

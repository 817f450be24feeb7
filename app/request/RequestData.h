#pragma once
// The texts of the data page, exactly as typed.

#include <QString>

struct TRequestData
{
    QString NombreEmpresa; // organisation name (eNombreEmpresa)
    QString CUIT;          // masked CUIT text, 13 characters (eCUIT)
    QString Operador;      // operator name (eOperador)
    QString Mail;          // e-mail address (eMail)
    QString Password;      // password (ePassword)
    QString Password2;     // its repetition (ePassword2); validation only
    QString Carpeta;       // destination folder (eCarpeta)
};

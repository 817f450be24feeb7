#pragma once
// The subject of a certificate request (Pedido_*.req), read with the openssl
// program: the entries a renewal takes over from it.

#include <QString>

struct TRequestSubject
{
    bool Read = false;    // the file is a request openssl could read
    QString Organization; // O
    QString Holder;       // CN
    QString Mail;         // emailAddress
    QString CUIT;         // the digits of serialNumber
};

// Never throws: Read is false when File is no readable request.
TRequestSubject ReadRequestSubject(const QString &File);

#pragma once
// Reading the one-line origin-identification file (Source_*.txt) the wizard
// writes beside its key: "C=AR,O=<company>,serialNumber=CUIT <digits>,
// CN=<operator>,emailAddress=<mail>", Windows-1252, nothing escaped (the
// company's name may hold commas).

#include <QString>

struct TOriginEntries
{
    bool Read = false;    // the line had the wizard's form
    QString Organization; // O
    QString CUIT;         // the digits after "serialNumber=CUIT "
    QString Holder;       // CN
    QString Mail;         // emailAddress
};

// Splits Line by its known keys, so that commas inside a value stay in it.
TOriginEntries ParseOriginLine(const QString &Line);

// Reads File (at most a few kilobytes) and parses its line; Read is false
// when it cannot be read or is not such a line.
TOriginEntries ReadOriginFile(const QString &File);

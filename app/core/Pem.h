#pragma once
// PEM text: the blocks "-----BEGIN <label>-----" ... "-----END <label>-----"
// that openssl prints and writes.

#include <QByteArray>
#include <QString>

// The first PEM block labelled Label in Text, every line ending in "\n"
// (carriage returns dropped); empty when there is none.
QByteArray PemBlock(const QByteArray &Text, const QByteArray &Label);

// A PEM text as compared: carriage returns dropped, blanks trimmed.
QByteArray NormalisedPem(QByteArray Pem);

// Text (decoded in the local 8-bit encoding) with every PEM block left out:
// what a program printed of keys or certificates never reaches an error's
// details or the log.
QString WithoutPemBlocks(const QByteArray &Text);

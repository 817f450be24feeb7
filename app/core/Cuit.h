#pragma once
// The CUIT, Argentina's tax identification number: its check digit, its
// digits and the forms in which it is written.

#include <QString>

// 11 digits, or 13 characters with "-" at positions 3 and 12, whose last
// digit is the check digit for the weights 5432765432.
bool ValidateCUIT(const QString &Text);

// The CUIT digits: the masked text with every "-" removed.
QString CUITDigits(const QString &MaskedCUIT);

// 20123456786 -> "20-12345678-6"; any other text unchanged.
QString FormatCUIT(const QString &Digits);

// The eleven digits of a serialNumber "CUIT 20123456786" (also without the
// word or with dashes); empty when it is not one.
QString CUITFromSerialNumber(const QString &SerialNumber);

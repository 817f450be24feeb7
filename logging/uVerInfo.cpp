#include "uVerInfo.h"

#include "VersionFile.h"

#include <QFileInfo>

namespace {

struct TLanguageEntry
{
    quint16 Id;
    const char *Name; // UTF-8
};

// Searched in this order; the first match wins.
const TLanguageEntry kLanguages[] = {
    {0x0401, "Árabe"},
    {0x0402, "Bulgaro"},
    {0x0403, "Catalán"},
    {0x0404, "Chino tradicional"},
    {0x0405, "Czech"},
    {0x0406, "Danés"},
    {0x0407, "Alemán"},
    {0x0408, "Griego"},
    {0x0409, "Inglés"},
    {0x040A, "Español(España-Alfabetización tradicional)"},
    {0x040B, "Finlandés"},
    {0x040C, "Francés(Estandár)"},
    {0x040D, "Hebreo"},
    {0x040E, "Hungaro"},
    {0x040F, "Islandés"},
    {0x0410, "Italiano(Estandár)"},
    {0x0411, "Japanes"},
    {0x0412, "Korean"},
    {0x0413, "Holandés"},
    {0x0414, "Noruego(Bokmal)"},
    {0x0415, "Polaco"},
    {0x0416, "Portugués(Brasileño)"},
    {0x0417, "RhaetoRomano"},
    {0x0418, "Romano"},
    {0x0419, "Ruso"},
    {0x041A, "Serbo Croata"},
    {0x041B, "Eslovaco"},
    {0x041C, "Albano"},
    {0x041D, "Sueco"},
    {0x041E, "Thai"},
    {0x041F, "Turco"},
    {0x0420, "Urdu"},
    {0x0421, "Indonesio"},
    {0x042D, "Vasco"},
    {0x0436, "Africaans"},
    {0x0804, "Chino Simplificado"},
    {0x0807, "Alemán(Suizo)"},
    {0x0809, "Inglés(Británico)"},
    {0x080A, "Español(Mexico)"},
    {0x080C, "Francés (Belga)"},
    {0x0810, "Italiano(Suiza)"},
    {0x0813, "Holandés(Belga)"},
    {0x0814, "Noruego(Nynorsk)"},
    {0x0816, "Portugués(Estandár)"},
    {0x081A, "Serbo Croata"},
    {0x0C07, "Alemán (Austríaco"},
    {0x0C09, "Inglés(Australiano"},
    {0x0C0A, "Español(España-Alfabetización tradicional)"},
    {0x0C0C, "Francés(Canadiense)"},
    {0x100C, "Francés(Suiza)"},
    {0x2C0A, "Español(Revororad)"},
    {0x0000, "Desconocido"},
};

// Codes of TVersionCharSet in ordinal order (vcsUnknown has none).
const int kCharSetCodes[] = {0, 932, 949, 950, 1200, 1250, 1251, 1252, 1253, 1254, 1255, 1256};

QString VersionText(quint32 MS, quint32 LS)
{
    return QString::asprintf("%d.%d.%d.%d", static_cast<int>(MS >> 16),
                             static_cast<int>(MS & 0xFFFF), static_cast<int>(LS >> 16),
                             static_cast<int>(LS & 0xFFFF));
}

} // namespace

int VersionCharSetCode(TVersionCharSet ACharSet)
{
    const int i = static_cast<int>(ACharSet);
    if (i < 0 || i >= static_cast<int>(sizeof(kCharSetCodes) / sizeof(kCharSetCodes[0])))
        return -1;
    return kCharSetCodes[i];
}

QString VersionLanguageName(quint16 ALanguage)
{
    for (const TLanguageEntry &e : kLanguages)
        if (e.Id == ALanguage)
            return QString::fromUtf8(e.Name);
    return QString();
}

TVersionInfo::TVersionInfo(const QString &AFileName) : FFileName(AFileName)
{
    ReadVersionInfo();
}

void TVersionInfo::SetFileName(const QString &AFileName)
{
    FBuffer.clear();
    FData = TVersionBlockData();
    FFileName = AFileName;
    ReadVersionInfo();
}

void TVersionInfo::ReadVersionInfo()
{
    FValid = false;
    FHandle = 0;
    FBuffer = ReadVersionBlock(FFileName);
    FSize = static_cast<quint32>(FBuffer.size());
    if (FSize == 0)
        return;
    FValid = ParseVersionBlock(FBuffer, FData);
    if (FValid && !FData.Translations.isEmpty()) {
        // The block lists translations language first; the entry itself
        // holds the language in its low word and the character set above.
        const quint32 t = FData.Translations.first();
        FTranslationEntry = ((t & 0xFFFF) << 16) | (t >> 16);
    }
}

const TFixedFileInfo *TVersionInfo::FixedFileInfo() const
{
    return FValid && FData.HasFixedInfo ? &FData.FixedInfo : nullptr;
}

const quint32 *TVersionInfo::Translation() const
{
    return FValid && !FData.Translations.isEmpty() ? &FTranslationEntry : nullptr;
}

QString TVersionInfo::TranslationText() const
{
    const quint32 *t = Translation();
    if (!t)
        return QString();
    const quint32 language = *t & 0xFFFF;
    const quint32 charSet = *t >> 16;
    return QStringLiteral("%1").arg((language << 16) | charSet, 8, 16, QLatin1Char('0')).toUpper();
}

TVersionCharSet TVersionInfo::VersionCharSet() const
{
    const quint32 *t = Translation();
    if (!t)
        return vcsUnknown;
    const int code = static_cast<int>(*t >> 16);
    for (int i = 0; i < static_cast<int>(sizeof(kCharSetCodes) / sizeof(kCharSetCodes[0])); ++i)
        if (kCharSetCodes[i] == code)
            return static_cast<TVersionCharSet>(i);
    return vcsUnknown;
}

QString TVersionInfo::Language() const
{
    const quint32 *t = Translation();
    if (!t)
        return QString();
    return VersionLanguageName(static_cast<quint16>(*t & 0xFFFF));
}

quint32 TVersionInfo::VersionNum() const
{
    const TFixedFileInfo *f = FixedFileInfo();
    return f ? f->dwFileVersionMS : 0;
}

TLongVersion TVersionInfo::FileLongVersion() const
{
    TLongVersion v;
    if (const TFixedFileInfo *f = FixedFileInfo()) {
        v.MS = f->dwFileVersionMS;
        v.LS = f->dwFileVersionLS;
    }
    return v;
}

TLongVersion TVersionInfo::ProductLongVersion() const
{
    TLongVersion v;
    if (const TFixedFileInfo *f = FixedFileInfo()) {
        v.MS = f->dwProductVersionMS;
        v.LS = f->dwProductVersionLS;
    }
    return v;
}

QDateTime TVersionInfo::VerFileDate() const
{
    const QFileInfo info(FFileName);
    if (FFileName.isEmpty() || !info.exists())
        return QDateTime();
    return info.lastModified();
}

QString TVersionInfo::GetVerValue(const QString &VerName) const
{
    if (!FValid)
        return QString();
    const QString path = QStringLiteral("\\StringFileInfo\\") + TranslationText()
                         + QLatin1Char('\\') + VerName;
    QString value;
    return QueryVersionString(FData, path, value) ? value : QString();
}

QString TVersionInfo::FileVersion() const
{
    QString s = GetVerValue(QStringLiteral("FileVersion"));
    if (s.isEmpty() && FValid) {
        const TLongVersion v = FileLongVersion();
        s = VersionText(v.MS, v.LS);
    }
    return s;
}

QString TVersionInfo::ProductVersion() const
{
    QString s = GetVerValue(QStringLiteral("ProductVersion"));
    if (s.isEmpty() && FValid) {
        const TLongVersion v = ProductLongVersion();
        s = VersionText(v.MS, v.LS);
    }
    return s;
}

#pragma once
// Version information of an executable file: fixed numeric versions, the
// language and character set of its first translation, its string values
// and the file's date.

#include "VersionBlock.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <array>

// Major and minor in the high and low word of MS, release and build in
// those of LS.
struct TLongVersion
{
    quint32 MS = 0;
    quint32 LS = 0;
    // The same eight bytes as four 16-bit words, in memory order.
    std::array<quint16, 4> All() const
    {
        return {static_cast<quint16>(MS & 0xFFFF), static_cast<quint16>(MS >> 16),
                static_cast<quint16>(LS & 0xFFFF), static_cast<quint16>(LS >> 16)};
    }
};

enum TVersionCharSet {
    vcsASCII,
    vcsJapan,
    vcsKorea,
    vcsTaiwan,
    vcsUnicode,
    vcsEasternEuropean,
    vcsCyrillic,
    vcsMultilingual,
    vcsGreek,
    vcsTurkish,
    vcsHebrew,
    vcsArabic,
    vcsUnknown
};

// Character-set code of a value; -1 for vcsUnknown.
int VersionCharSetCode(TVersionCharSet ACharSet);
// Name of a language identifier, empty when it is not in the table.
QString VersionLanguageName(quint16 ALanguage);

class TVersionInfo
{
public:
    explicit TVersionInfo(const QString &AFileName);
    virtual ~TVersionInfo() = default;

    QString FileName() const { return FFileName; }
    void SetFileName(const QString &AFileName);

    bool Valid() const { return FValid; }
    quint32 Size() const { return FSize; }
    const TFixedFileInfo *FixedFileInfo() const;
    // The first translation entry: language identifier in the low word,
    // character-set code in the high word.
    const quint32 *Translation() const;
    // Language and code page of the first translation as eight upper-case
    // hexadecimal digits ("2C0A04E4"); empty without a translation.
    QString TranslationText() const;
    TVersionCharSet VersionCharSet() const;
    QString Language() const;
    quint32 VersionNum() const;
    TLongVersion FileLongVersion() const;
    TLongVersion ProductLongVersion() const;
    // The file's last modification; a null date when it does not exist.
    QDateTime VerFileDate() const;

    QString Comments() const { return GetVerValue(QStringLiteral("Comments")); }
    QString CompanyName() const { return GetVerValue(QStringLiteral("CompanyName")); }
    QString FileDescription() const { return GetVerValue(QStringLiteral("FileDescription")); }
    QString FileVersion() const;
    QString InternalName() const { return GetVerValue(QStringLiteral("InternalName")); }
    QString LegalCopyright() const { return GetVerValue(QStringLiteral("LegalCopyright")); }
    QString LegalTrademarks() const { return GetVerValue(QStringLiteral("LegalTrademarks")); }
    QString OriginalFilename() const { return GetVerValue(QStringLiteral("OriginalFilename")); }
    QString ProductVersion() const;
    QString ProductName() const { return GetVerValue(QStringLiteral("ProductName")); }
    QString SpecialBuild() const { return GetVerValue(QStringLiteral("SpecialBuild")); }
    QString PrivateBuild() const { return GetVerValue(QStringLiteral("PrivateBuild")); }

    QString GetVerValue(const QString &VerName) const;

private:
    void ReadVersionInfo();

    QString FFileName;
    bool FValid = false;
    quint32 FSize = 0;
    QByteArray FBuffer;
    quint32 FHandle = 0;
    TVersionBlockData FData;
    quint32 FTranslationEntry = 0;
};

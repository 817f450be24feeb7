#pragma once
// The version block a program carries in its own file: fixed numeric
// versions, translations and string tables, the counterpart of a Windows
// version resource.
//
// Stored form (UTF-8 text, one item per line, no escapes; values hold no line
// breaks):
//
//   ZeDedeVersionBlock 1
//   FileVersion=1.0.0.0           fixed numeric versions, four parts
//   ProductVersion=1.0.0.0
//   FileFlagsMask=63              further fixed fields, decimal (optional)
//   FileFlags=0
//   FileOS=4
//   FileType=1
//   FileSubtype=0
//   FileDate=0                    64-bit
//   Translation=2C0A04E4 0C0A04E4 language in the high word, code page low
//   [2C0A04E4]                    a string table
//   CompanyName=Vemra
//
// In an executable the block is the content of the ELF section named by
// VersionBlockSectionName(); a file that starts with the block's first line
// is a block on its own.

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <QtGlobal>

// Fields in the order of the Windows fixed-file-info record.
struct TFixedFileInfo
{
    quint32 dwSignature = 0xFEEF04BD;
    quint32 dwStrucVersion = 0x00010000;
    quint32 dwFileVersionMS = 0;
    quint32 dwFileVersionLS = 0;
    quint32 dwProductVersionMS = 0;
    quint32 dwProductVersionLS = 0;
    quint32 dwFileFlagsMask = 0x3F;
    quint32 dwFileFlags = 0;
    quint32 dwFileOS = 0x4;   // 32-bit Windows
    quint32 dwFileType = 0x1; // application
    quint32 dwFileSubtype = 0;
    quint32 dwFileDateMS = 0;
    quint32 dwFileDateLS = 0;
};

using TVersionStrings = QList<QPair<QString, QString>>;

struct TVersionStringTable
{
    QString Key; // eight hexadecimal digits, upper case: language, code page
    TVersionStrings Values;
};

struct TVersionBlockData
{
    bool HasFixedInfo = false;
    TFixedFileInfo FixedInfo;
    QList<quint32> Translations; // language in the high word
    QList<TVersionStringTable> StringTables;
};

QString VersionBlockSectionName();

// The line every stored block begins with.
QByteArray VersionBlockFirstLine();

// Parses a raw block; false when it is not a version block.
bool ParseVersionBlock(const QByteArray &Raw, TVersionBlockData &Data);

// The stored form of a block.
QByteArray BuildVersionBlock(const TVersionBlockData &Data);

// Looks a string value up by its query path "\StringFileInfo\<key>\<name>"
// (names compared without regard to case). False when it is not there.
bool QueryVersionString(const TVersionBlockData &Data, const QString &SubBlock,
                        QString &Value);

// "1.2.3.4" -> most and least significant 32-bit halves; false when the text
// is not one to four dot-separated numbers of 0 to 65535.
bool ParseFourPartVersion(const QString &Text, quint32 &MS, quint32 &LS);

#include "VersionBlock.h"

#include <QFile>
#include <QStringList>

namespace {

const char kFirstLine[] = "ZeDedeVersionBlock 1";
// Blocks are small; anything larger is not one of ours.
constexpr qint64 kMaxBlockSize = 1 << 20;

quint64 ReadUnsigned(const QByteArray &Bytes, qint64 Offset, int Size, bool BigEndian)
{
    quint64 value = 0;
    for (int i = 0; i < Size; ++i) {
        const quint8 b = static_cast<quint8>(Bytes.at(Offset + i));
        if (BigEndian)
            value = (value << 8) | b;
        else
            value |= static_cast<quint64>(b) << (8 * i);
    }
    return value;
}

// Reads Size bytes at Offset; empty when the file is shorter.
QByteArray ReadAt(QFile &File, quint64 Offset, quint64 Size)
{
    if (Offset > static_cast<quint64>(File.size())
        || Size > static_cast<quint64>(File.size()) - Offset)
        return QByteArray();
    if (!File.seek(static_cast<qint64>(Offset)))
        return QByteArray();
    const QByteArray data = File.read(static_cast<qint64>(Size));
    return data.size() == static_cast<qint64>(Size) ? data : QByteArray();
}

QByteArray ElfSection(QFile &File, const QByteArray &Name)
{
    const QByteArray ident = ReadAt(File, 0, 64);
    if (ident.size() < 52 || !ident.startsWith("\x7f" "ELF"))
        return QByteArray();
    const bool is64 = ident.at(4) == 2;
    if (!is64 && ident.at(4) != 1)
        return QByteArray();
    const bool be = ident.at(5) == 2;
    if (!be && ident.at(5) != 1)
        return QByteArray();

    const quint64 shoff = is64 ? ReadUnsigned(ident, 0x28, 8, be) : ReadUnsigned(ident, 0x20, 4, be);
    const quint64 shentsize = ReadUnsigned(ident, is64 ? 0x3A : 0x2E, 2, be);
    const quint64 shnum = ReadUnsigned(ident, is64 ? 0x3C : 0x30, 2, be);
    const quint64 shstrndx = ReadUnsigned(ident, is64 ? 0x3E : 0x32, 2, be);
    const quint64 minEntry = is64 ? 0x40 : 0x28;
    if (shoff == 0 || shnum == 0 || shentsize < minEntry || shstrndx >= shnum)
        return QByteArray();

    const QByteArray headers = ReadAt(File, shoff, shnum * shentsize);
    if (headers.isEmpty())
        return QByteArray();

    struct Section { quint32 name; quint32 type; quint64 offset; quint64 size; };
    auto section = [&](quint64 i) {
        const qint64 base = static_cast<qint64>(i * shentsize);
        Section s;
        s.name = static_cast<quint32>(ReadUnsigned(headers, base, 4, be));
        s.type = static_cast<quint32>(ReadUnsigned(headers, base + 4, 4, be));
        s.offset = is64 ? ReadUnsigned(headers, base + 0x18, 8, be) : ReadUnsigned(headers, base + 0x10, 4, be);
        s.size = is64 ? ReadUnsigned(headers, base + 0x20, 8, be) : ReadUnsigned(headers, base + 0x14, 4, be);
        return s;
    };

    const Section strtab = section(shstrndx);
    if (strtab.size > kMaxBlockSize * 16)
        return QByteArray();
    const QByteArray names = ReadAt(File, strtab.offset, strtab.size);
    if (names.isEmpty())
        return QByteArray();

    constexpr quint32 SHT_NOBITS = 8;
    for (quint64 i = 0; i < shnum; ++i) {
        const Section s = section(i);
        if (s.name >= static_cast<quint32>(names.size()))
            continue;
        const char *sname = names.constData() + s.name;
        const qsizetype len = qstrnlen(sname, names.size() - s.name);
        if (QByteArray(sname, len) != Name)
            continue;
        if (s.type == SHT_NOBITS || s.size == 0 || s.size > kMaxBlockSize)
            return QByteArray();
        return ReadAt(File, s.offset, s.size);
    }
    return QByteArray();
}

bool ParseUInt(const QString &Text, quint64 Max, quint64 &Value)
{
    bool ok = false;
    const qulonglong v = Text.trimmed().toULongLong(&ok, 10);
    if (!ok || v > Max)
        return false;
    Value = v;
    return true;
}

QString Single(QString Text)
{
    Text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    Text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return Text;
}

QString VersionText(quint32 MS, quint32 LS)
{
    return QStringLiteral("%1.%2.%3.%4")
        .arg(MS >> 16).arg(MS & 0xFFFF).arg(LS >> 16).arg(LS & 0xFFFF);
}

} // namespace

QString VersionBlockSectionName() { return QStringLiteral(".zedede_version"); }

QByteArray ReadVersionBlock(const QString &FileName)
{
    QFile file(FileName);
    if (FileName.isEmpty() || !file.open(QIODevice::ReadOnly))
        return QByteArray();
    QByteArray raw;
    const QByteArray head = file.read(sizeof(kFirstLine) - 1);
    if (head == kFirstLine) {
        if (file.size() > kMaxBlockSize)
            return QByteArray();
        raw = ReadAt(file, 0, static_cast<quint64>(file.size()));
    } else {
        raw = ElfSection(file, VersionBlockSectionName().toLatin1());
    }
    // The section holds a zero-terminated text.
    while (raw.endsWith('\0'))
        raw.chop(1);
    return raw.startsWith(kFirstLine) ? raw : QByteArray();
}

bool ParseFourPartVersion(const QString &Text, quint32 &MS, quint32 &LS)
{
    const QStringList parts = Text.trimmed().split(QLatin1Char('.'));
    if (parts.isEmpty() || parts.size() > 4)
        return false;
    quint64 n[4] = {0, 0, 0, 0};
    for (int i = 0; i < parts.size(); ++i)
        if (!ParseUInt(parts.at(i), 0xFFFF, n[i]))
            return false;
    MS = static_cast<quint32>((n[0] << 16) | n[1]);
    LS = static_cast<quint32>((n[2] << 16) | n[3]);
    return true;
}

bool ParseVersionBlock(const QByteArray &Raw, TVersionBlockData &Data)
{
    Data = TVersionBlockData();
    const QStringList lines = QString::fromUtf8(Raw).split(QLatin1Char('\n'));
    if (lines.isEmpty() || lines.first().trimmed() != QLatin1String(kFirstLine))
        return false;

    TVersionStringTable *table = nullptr;
    for (int i = 1; i < lines.size(); ++i) {
        QString line = lines.at(i);
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (line.trimmed().isEmpty())
            continue;
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            Data.StringTables.append(TVersionStringTable{line.mid(1, line.size() - 2).toUpper(), {}});
            table = &Data.StringTables.last();
            continue;
        }
        const int eq = line.indexOf(QLatin1Char('='));
        if (eq <= 0)
            continue;
        const QString name = line.left(eq);
        const QString value = line.mid(eq + 1);
        if (table) {
            table->Values.append({name, value});
            continue;
        }
        TFixedFileInfo &f = Data.FixedInfo;
        quint64 n = 0;
        if (name == QLatin1String("FileVersion")) {
            if (ParseFourPartVersion(value, f.dwFileVersionMS, f.dwFileVersionLS))
                Data.HasFixedInfo = true;
        } else if (name == QLatin1String("ProductVersion")) {
            if (ParseFourPartVersion(value, f.dwProductVersionMS, f.dwProductVersionLS))
                Data.HasFixedInfo = true;
        } else if (name == QLatin1String("Translation")) {
            for (const QString &t : value.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
                bool ok = false;
                const uint v = t.toUInt(&ok, 16);
                if (ok && t.size() <= 8)
                    Data.Translations.append(v);
            }
        } else if (name == QLatin1String("FileDate") && ParseUInt(value, ~0ULL, n)) {
            f.dwFileDateMS = static_cast<quint32>(n >> 32);
            f.dwFileDateLS = static_cast<quint32>(n);
        } else if (ParseUInt(value, 0xFFFFFFFFu, n)) {
            if (name == QLatin1String("FileFlagsMask"))
                f.dwFileFlagsMask = static_cast<quint32>(n);
            else if (name == QLatin1String("FileFlags"))
                f.dwFileFlags = static_cast<quint32>(n);
            else if (name == QLatin1String("FileOS"))
                f.dwFileOS = static_cast<quint32>(n);
            else if (name == QLatin1String("FileType"))
                f.dwFileType = static_cast<quint32>(n);
            else if (name == QLatin1String("FileSubtype"))
                f.dwFileSubtype = static_cast<quint32>(n);
        }
    }
    return true;
}

QByteArray BuildVersionBlock(const TVersionBlockData &Data)
{
    QStringList lines;
    lines << QLatin1String(kFirstLine);
    if (Data.HasFixedInfo) {
        const TFixedFileInfo &f = Data.FixedInfo;
        lines << QStringLiteral("FileVersion=") + VersionText(f.dwFileVersionMS, f.dwFileVersionLS)
              << QStringLiteral("ProductVersion=") + VersionText(f.dwProductVersionMS, f.dwProductVersionLS)
              << QStringLiteral("FileFlagsMask=%1").arg(f.dwFileFlagsMask)
              << QStringLiteral("FileFlags=%1").arg(f.dwFileFlags)
              << QStringLiteral("FileOS=%1").arg(f.dwFileOS)
              << QStringLiteral("FileType=%1").arg(f.dwFileType)
              << QStringLiteral("FileSubtype=%1").arg(f.dwFileSubtype)
              << QStringLiteral("FileDate=%1")
                     .arg((static_cast<quint64>(f.dwFileDateMS) << 32) | f.dwFileDateLS);
    }
    if (!Data.Translations.isEmpty()) {
        QStringList t;
        for (quint32 v : Data.Translations)
            t << QStringLiteral("%1").arg(v, 8, 16, QLatin1Char('0')).toUpper();
        lines << QStringLiteral("Translation=") + t.join(QLatin1Char(' '));
    }
    for (const TVersionStringTable &table : Data.StringTables) {
        lines << QLatin1Char('[') + Single(table.Key) + QLatin1Char(']');
        for (const auto &v : table.Values) {
            QString name = Single(v.first);
            name.remove(QLatin1Char('='));
            lines << name + QLatin1Char('=') + Single(v.second);
        }
    }
    return (lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8();
}

bool QueryVersionString(const TVersionBlockData &Data, const QString &SubBlock,
                        QString &Value)
{
    const QStringList parts = SubBlock.split(QLatin1Char('\\'), Qt::SkipEmptyParts);
    if (parts.size() != 3
        || QString::compare(parts.at(0), QLatin1String("StringFileInfo"), Qt::CaseInsensitive) != 0)
        return false;
    for (const TVersionStringTable &table : Data.StringTables) {
        if (QString::compare(table.Key, parts.at(1), Qt::CaseInsensitive) != 0)
            continue;
        for (const auto &v : table.Values) {
            if (QString::compare(v.first, parts.at(2), Qt::CaseInsensitive) == 0) {
                Value = v.second;
                return true;
            }
        }
        return false;
    }
    return false;
}

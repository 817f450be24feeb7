#include "VersionResource.h"

#include "VersionBlock.h"

#include <QFile>

namespace {

// Sections larger than this are not version blocks.
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

} // namespace

QByteArray ExecutableVersionBlock(const QString &FileName)
{
    QFile file(FileName);
    if (FileName.isEmpty() || !file.open(QIODevice::ReadOnly))
        return QByteArray();
    return ElfSection(file, VersionBlockSectionName().toLatin1());
}

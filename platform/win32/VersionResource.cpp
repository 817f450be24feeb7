#include "VersionResource.h"

#include "VersionBlock.h"

#include <QDir>

#include <windows.h>

#include <cstring>
#include <vector>

// The version resource is read with GetFileVersionInfoSizeW and
// GetFileVersionInfoW; the fixed information, the translations and every
// string value are asked of VerQueryValueW. Only the names of the string
// tables and of their values are taken from the block's own layout, which the
// system offers no way to list.

namespace {

std::wstring Wide(const QString &Text) { return Text.toStdWString(); }

// One node of the block: length, value length, type, key, value, children;
// each part aligned on four bytes from the start of the block.
struct TNode
{
    QString Key;
    size_t ChildBegin = 0;
    size_t End = 0;
};

size_t Align4(size_t Offset) { return (Offset + 3) & ~size_t(3); }

bool ReadNode(const std::vector<char> &Block, size_t Offset, size_t Limit, TNode &Node)
{
    if (Offset + 6 > Limit)
        return false;
    WORD length, valueLength, type;
    std::memcpy(&length, Block.data() + Offset, 2);
    std::memcpy(&valueLength, Block.data() + Offset + 2, 2);
    std::memcpy(&type, Block.data() + Offset + 4, 2);
    if (length < 6 || Offset + length > Limit)
        return false;
    Node.End = Offset + length;
    size_t p = Offset + 6;
    Node.Key.clear();
    for (;;) {
        if (p + 2 > Node.End)
            return false;
        char16_t c;
        std::memcpy(&c, Block.data() + p, 2);
        p += 2;
        if (c == 0)
            break;
        Node.Key += QChar(c);
    }
    p = Align4(p);
    p += type == 1 ? size_t(valueLength) * 2 : size_t(valueLength);
    Node.ChildBegin = std::min(Align4(p), Node.End);
    return true;
}

template <typename F> void ForEachChild(const std::vector<char> &Block, const TNode &Parent, F Each)
{
    size_t p = Parent.ChildBegin;
    TNode child;
    while (p < Parent.End && ReadNode(Block, p, Parent.End, child)) {
        Each(child);
        p = Align4(child.End);
    }
}

bool Query(std::vector<char> &Block, const QString &SubBlock, void *&Value, UINT &Size)
{
    Value = nullptr;
    Size = 0;
    return VerQueryValueW(Block.data(), Wide(SubBlock).c_str(), &Value, &Size) && Value;
}

} // namespace

QByteArray ExecutableVersionBlock(const QString &FileName)
{
    if (FileName.isEmpty())
        return QByteArray();
    const std::wstring name = Wide(QDir::toNativeSeparators(FileName));
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeW(name.c_str(), &handle);
    if (size == 0)
        return QByteArray();
    std::vector<char> block(size);
    if (!GetFileVersionInfoW(name.c_str(), handle, size, block.data()))
        return QByteArray();

    TVersionBlockData data;
    void *value;
    UINT length;
    if (Query(block, QStringLiteral("\\"), value, length) && length >= sizeof(VS_FIXEDFILEINFO)) {
        VS_FIXEDFILEINFO f;
        std::memcpy(&f, value, sizeof f);
        TFixedFileInfo &d = data.FixedInfo;
        d.dwSignature = f.dwSignature;
        d.dwStrucVersion = f.dwStrucVersion;
        d.dwFileVersionMS = f.dwFileVersionMS;
        d.dwFileVersionLS = f.dwFileVersionLS;
        d.dwProductVersionMS = f.dwProductVersionMS;
        d.dwProductVersionLS = f.dwProductVersionLS;
        d.dwFileFlagsMask = f.dwFileFlagsMask;
        d.dwFileFlags = f.dwFileFlags;
        d.dwFileOS = f.dwFileOS;
        d.dwFileType = f.dwFileType;
        d.dwFileSubtype = f.dwFileSubtype;
        d.dwFileDateMS = f.dwFileDateMS;
        d.dwFileDateLS = f.dwFileDateLS;
        data.HasFixedInfo = true;
    }
    if (Query(block, QStringLiteral("\\VarFileInfo\\Translation"), value, length)) {
        // Pairs of words, language first; the stored form keeps the
        // language in the high word.
        for (UINT i = 0; i + 4 <= length; i += 4) {
            WORD pair[2];
            std::memcpy(pair, static_cast<const char *>(value) + i, 4);
            data.Translations << ((quint32(pair[0]) << 16) | pair[1]);
        }
    }

    TNode root;
    if (ReadNode(block, 0, block.size(), root)) {
        ForEachChild(block, root, [&](const TNode &info) {
            if (info.Key != QLatin1String("StringFileInfo"))
                return;
            ForEachChild(block, info, [&](const TNode &table) {
                TVersionStringTable t;
                t.Key = table.Key.toUpper();
                ForEachChild(block, table, [&](const TNode &string) {
                    void *text;
                    UINT chars;
                    const QString path = QStringLiteral("\\StringFileInfo\\") + table.Key
                                         + QLatin1Char('\\') + string.Key;
                    if (!Query(block, path, text, chars))
                        return;
                    QString v = QString::fromWCharArray(static_cast<const wchar_t *>(text),
                                                        static_cast<int>(chars));
                    const int nul = v.indexOf(QChar(0));
                    if (nul >= 0)
                        v.truncate(nul);
                    t.Values << qMakePair(string.Key, v);
                });
                data.StringTables << t;
            });
        });
    }
    if (!data.HasFixedInfo && data.Translations.isEmpty() && data.StringTables.isEmpty())
        return QByteArray();
    return BuildVersionBlock(data);
}

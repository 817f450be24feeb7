#include "VersionFile.h"

#include "VersionBlock.h"
#include "VersionResource.h"

#include <QFile>

namespace {

// Blocks are small; anything larger is not one of ours.
constexpr qint64 kMaxBlockSize = 1 << 20;

} // namespace

QByteArray ReadVersionBlock(const QString &FileName)
{
    QFile file(FileName);
    if (FileName.isEmpty() || !file.open(QIODevice::ReadOnly))
        return QByteArray();
    QByteArray raw;
    const QByteArray head = file.read(VersionBlockFirstLine().size());
    if (head == VersionBlockFirstLine()) {
        if (file.size() > kMaxBlockSize)
            return QByteArray();
        file.seek(0);
        raw = file.read(kMaxBlockSize);
    } else {
        file.close();
        raw = ExecutableVersionBlock(FileName);
    }
    // The section holds a zero-terminated text.
    while (raw.endsWith('\0'))
        raw.chop(1);
    return raw.startsWith(VersionBlockFirstLine()) ? raw : QByteArray();
}

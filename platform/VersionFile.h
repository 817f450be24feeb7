#pragma once
// The version block of a file on disk: an executable's (ELF section or
// version resource, VersionResource.h) or a file that is a block on its own.

#include <QByteArray>
#include <QString>

// The raw block; empty when the file holds none or cannot be read. Never
// throws.
QByteArray ReadVersionBlock(const QString &FileName);

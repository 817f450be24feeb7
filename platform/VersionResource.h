#pragma once
// The version block carried inside an executable file, in the stored form of
// VersionBlock.h. Linux: the content of the ELF section named by
// VersionBlockSectionName(). Windows: the file's version resource, read
// through the system's version functions and given in the same form.

#include <QByteArray>
#include <QString>

// Empty when the file holds no block or cannot be read. Never throws.
QByteArray ExecutableVersionBlock(const QString &FileName);

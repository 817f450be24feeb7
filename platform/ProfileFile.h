#pragma once
// A profile (INI) file writer with the behaviour of the Windows one.
//
// The file is 8-bit text in Windows-1252. A section is found by its name
// compared without regard to case and to blanks inside the brackets
// ("[ req ]" is section "req"); it runs from its header line to the next
// header line. A key is the text before the first "=" of a line of its
// section, compared without regard to case and surrounding blanks.
// Lines the writer adds are "key=value" or "[section]", ended by CR LF, in
// Windows-1252 unless UTF-8 is asked for (for readers that take UTF-8).
// Everything else of the file is kept byte for byte; the file's permissions
// are kept too (it is rewritten in place).

#include <QString>

// Removes every section named Section, header line and all its lines.
// Returns false when the file cannot be read or written. A missing file or
// section is no failure.
bool ProfileDeleteSection(const QString &FileName, const QString &Section);

enum class TProfileText { Ansi, Utf8 };

// Sets Key=Value in Section: the first line of the key is replaced, or the
// line is appended at the end of the section, or the section (header and
// line) is appended at the end of the file. The file is created when
// absent. Returns false when the file cannot be read or written.
bool ProfileWriteString(const QString &FileName, const QString &Section,
                        const QString &Key, const QString &Value,
                        TProfileText Text = TProfileText::Ansi);

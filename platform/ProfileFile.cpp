#include "ProfileFile.h"

#include "AnsiCodePage.h"

#include <QFile>
#include <QList>

namespace {

const QByteArray kLineEnd = QByteArrayLiteral("\r\n");

bool IsBlankByte(char c) { return c == ' ' || c == '\t'; }

QByteArray TrimBlanks(const QByteArray &Text)
{
    int b = 0;
    int e = Text.size();
    while (b < e && (IsBlankByte(Text.at(b)) || Text.at(b) == '\r' || Text.at(b) == '\n'))
        ++b;
    while (e > b && (IsBlankByte(Text.at(e - 1)) || Text.at(e - 1) == '\r' || Text.at(e - 1) == '\n'))
        --e;
    return Text.mid(b, e - b);
}

// The file's lines, each with its own terminator (the last may lack one).
QList<QByteArray> SplitLines(const QByteArray &Data)
{
    QList<QByteArray> lines;
    int start = 0;
    while (start < Data.size()) {
        const int nl = Data.indexOf('\n', start);
        const int end = nl < 0 ? Data.size() : nl + 1;
        lines << Data.mid(start, end - start);
        start = end;
    }
    return lines;
}

// True when Line is a section header; Name receives its name.
bool HeaderName(const QByteArray &Line, QByteArray &Name)
{
    const QByteArray t = TrimBlanks(Line);
    if (!t.startsWith('['))
        return false;
    const int close = t.indexOf(']');
    if (close < 0)
        return false;
    Name = TrimBlanks(t.mid(1, close - 1));
    return true;
}

bool SameName(const QByteArray &A, const QString &B)
{
    return QString::compare(FromAnsi(A), B.trimmed(), Qt::CaseInsensitive) == 0;
}

bool IsSectionHeader(const QByteArray &Line, const QString &Section)
{
    QByteArray name;
    return HeaderName(Line, name) && SameName(name, Section);
}

bool IsEntry(const QByteArray &Line);

bool IsKeyLine(const QByteArray &Line, const QString &Key)
{
    if (!IsEntry(Line))
        return false;
    const int eq = Line.indexOf('=');
    if (eq < 0)
        return false;
    return SameName(TrimBlanks(Line.left(eq)), Key);
}

// A key=value line, not a comment.
bool IsEntry(const QByteArray &Line)
{
    const QByteArray t = TrimBlanks(Line);
    return t.contains('=') && !t.startsWith('#') && !t.startsWith(';');
}

bool IsHeader(const QByteArray &Line)
{
    QByteArray name;
    return HeaderName(Line, name);
}

enum class TOpenResult { Opened, Missing, Failed };

TOpenResult ReadFile(QFile &File, QByteArray &Data, bool Create)
{
    if (!File.exists() && !Create)
        return TOpenResult::Missing;
    if (!File.open(QIODevice::ReadWrite))
        return TOpenResult::Failed;
    Data = File.readAll();
    return File.error() == QFileDevice::NoError ? TOpenResult::Opened : TOpenResult::Failed;
}

bool WriteBack(QFile &File, const QByteArray &Data)
{
    if (!File.seek(0))
        return false;
    if (File.write(Data) != Data.size())
        return false;
    if (!File.resize(Data.size()))
        return false;
    return File.flush();
}

QByteArray Join(const QList<QByteArray> &Lines)
{
    QByteArray out;
    for (const QByteArray &l : Lines)
        out += l;
    return out;
}

void EnsureTerminated(QList<QByteArray> &Lines, int Index)
{
    if (Index >= 0 && Index < Lines.size() && !Lines[Index].endsWith('\n'))
        Lines[Index] += kLineEnd;
}

} // namespace

bool ProfileDeleteSection(const QString &FileName, const QString &Section)
{
    QFile file(FileName);
    QByteArray data;
    switch (ReadFile(file, data, false)) {
    case TOpenResult::Missing: return true;
    case TOpenResult::Failed: return false;
    case TOpenResult::Opened: break;
    }
    const QList<QByteArray> lines = SplitLines(data);
    QList<QByteArray> kept;
    bool inSection = false;
    for (const QByteArray &line : lines) {
        if (IsHeader(line))
            inSection = IsSectionHeader(line, Section);
        if (!inSection)
            kept << line;
    }
    if (kept.size() == lines.size())
        return true;
    return WriteBack(file, Join(kept));
}

bool ProfileWriteString(const QString &FileName, const QString &Section,
                        const QString &Key, const QString &Value, TProfileText Text)
{
    const auto encode = [Text](const QString &AText) {
        return Text == TProfileText::Utf8 ? AText.toUtf8() : ToAnsi(AText);
    };
    QFile file(FileName);
    QByteArray data;
    if (ReadFile(file, data, true) != TOpenResult::Opened)
        return false;
    QList<QByteArray> lines = SplitLines(data);
    const QByteArray entry = encode(Key.trimmed()) + '=' + encode(Value) + kLineEnd;

    int header = -1;
    for (int i = 0; i < lines.size(); ++i) {
        if (IsSectionHeader(lines[i], Section)) {
            header = i;
            break;
        }
    }
    if (header < 0) {
        EnsureTerminated(lines, lines.size() - 1);
        lines << ('[' + encode(Section.trimmed()) + ']' + kLineEnd) << entry;
        return WriteBack(file, Join(lines));
    }

    int end = header + 1;
    while (end < lines.size() && !IsHeader(lines[end]))
        ++end;
    int last = header; // the section's last entry line
    for (int i = header + 1; i < end; ++i) {
        if (IsKeyLine(lines[i], Key)) {
            lines[i] = entry;
            return WriteBack(file, Join(lines));
        }
        if (IsEntry(lines[i]))
            last = i;
    }
    EnsureTerminated(lines, last);
    lines.insert(last + 1, entry);
    return WriteBack(file, Join(lines));
}

#include "uVmWriteToLog.h"

#include "AnsiCodePage.h"
#include "Exception.h"
#include "FileLock.h"
#include "Paths.h"
#include "uJCLCopied.h"
#include "uLogIni.h"
#include "uVerInfo.h"
#include "uVmPaths.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QThread>
#include <QThreadStorage>

#include <cxxabi.h>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <typeinfo>

namespace {

const QString kCrLf = QStringLiteral("\r\n");
const QChar kDelimiter = PathDelimiter();

const QString kKeyLevel = QStringLiteral("Archivo_Texto_Nivel");
const QString kKeyUser = QStringLiteral("Archivo_Texto_Mostrar_Usuario");
const QString kKeyThreadID = QStringLiteral("ThreadID");
const QString kKeyMaxSize = QStringLiteral("Archivo_Texto_Tamaño_Maximo");
const QString kKeyHistory = QStringLiteral("Guarda_Historial");
const QString kKeyFolder = QStringLiteral("Archivo_Texto_Directorio");
const QString kKeyName = QStringLiteral("Archivo_Texto_Nombre");
const QString kKeyTabs = QStringLiteral("Archivo_Texto_Identacion");

constexpr int kAppendAttempts = 4;
constexpr int kAppendPauseMs = 100;

// Blank: empty or made of blanks and control characters only.
bool IsBlank(const QString &S)
{
    for (const QChar c : S)
        if (c.unicode() > ' ')
            return false;
    return true;
}

// --- Settings text: name=value lines, the first occurrence of a name counts.

// Lines end at CR LF, CR or LF.
QStringList SplitSettings(const QString &Text)
{
    QStringList lines;
    const QChar *p = Text.constData();
    const qsizetype n = Text.size();
    qsizetype start = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = p[i].unicode();
        if (c != u'\r' && c != u'\n')
            continue;
        lines.append(Text.mid(start, i - start));
        if (c == u'\r' && i + 1 < n && p[i + 1].unicode() == u'\n')
            ++i;
        start = i + 1;
    }
    lines.append(Text.mid(start));
    return lines;
}

int IndexOfName(const QStringList &Lines, const QString &Name)
{
    for (int i = 0; i < Lines.size(); ++i) {
        const QString &l = Lines.at(i);
        const int eq = l.indexOf(QLatin1Char('='));
        if (eq == Name.size() && l.startsWith(Name, Qt::CaseInsensitive))
            return i;
    }
    return -1;
}

bool FindValue(const QStringList &Lines, const QString &Name, QString &Value)
{
    const int i = IndexOfName(Lines, Name);
    if (i < 0)
        return false;
    Value = Lines.at(i).mid(Name.size() + 1);
    return true;
}

QString ValueOf(const QStringList &Lines, const QString &Name)
{
    QString v;
    FindValue(Lines, Name, v);
    return v;
}

void SetValue(QStringList &Lines, const QString &Name, const QString &Value)
{
    const int i = IndexOfName(Lines, Name);
    const QString line = Name + QLatin1Char('=') + Value;
    if (i < 0)
        Lines.append(line);
    else
        Lines[i] = line;
}

QString JoinSettings(QStringList Lines)
{
    Lines.removeAll(QString());
    return Lines.join(kCrLf);
}

// Decimal, or hexadecimal after "$" or "0x"; anything else gives Default.
int ReadInteger(const QString &Text, int Default)
{
    QString s = Text;
    while (!s.isEmpty() && s.at(0).unicode() <= ' ')
        s.remove(0, 1);
    bool negative = false;
    if (s.startsWith(QLatin1Char('-')) || s.startsWith(QLatin1Char('+'))) {
        negative = s.at(0) == QLatin1Char('-');
        s.remove(0, 1);
    }
    int base = 10;
    if (s.startsWith(QLatin1Char('$'))) {
        s.remove(0, 1);
        base = 16;
    } else if (s.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) {
        s.remove(0, 2);
        base = 16;
    }
    if (s.isEmpty())
        return Default;
    for (const QChar c : s) {
        const bool digit = c.isDigit() && c.unicode() < 128;
        const bool hex = base == 16 && QStringLiteral("abcdefABCDEF").contains(c);
        if (!digit && !hex)
            return Default;
    }
    bool ok = false;
    const qulonglong v = s.toULongLong(&ok, base);
    if (!ok)
        return Default;
    if (base == 16) {
        if (v > 0xFFFFFFFFull)
            return Default;
        const qint32 w = static_cast<qint32>(static_cast<quint32>(v));
        return negative ? -w : w;
    }
    if (negative ? v > 2147483648ull : v > 2147483647ull)
        return Default;
    return negative ? static_cast<int>(-static_cast<qlonglong>(v)) : static_cast<int>(v);
}

// A number is true unless zero; True and False in any case; else Default.
bool ReadBoolean(const QString &Text, bool Default)
{
    bool ok = false;
    const double v = Text.trimmed().toDouble(&ok);
    if (ok)
        return v != 0;
    if (Text.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
        return true;
    if (Text.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
        return false;
    return Default;
}

QString BooleanText(bool Value) { return Value ? QStringLiteral("-1") : QStringLiteral("0"); }

// True when Windows-1252, the code page of the configuration file, holds
// every character of Text as it is.
bool HoldsInAnsi(const QString &Text) { return FromAnsi(ToAnsi(Text)) == Text; }

// --- The running program's file.

QString ProgramFilePath()
{
    static const QString path = OwnProgramFile();
    return path;
}

QString ExtractFileName(const QString &Path)
{
    return Path.mid(Path.lastIndexOf(kDelimiter) + 1);
}

QString ExtractFilePath(const QString &Path)
{
    return Path.left(Path.lastIndexOf(kDelimiter) + 1);
}

// Replaces the extension of the last path element (or adds one).
QString ChangeFileExt(const QString &Path, const QString &Ext)
{
    const int slash = Path.lastIndexOf(kDelimiter);
    const int dot = Path.lastIndexOf(QLatin1Char('.'));
    const QString stem = dot > slash ? Path.left(dot) : Path;
    return stem + Ext;
}

QString ProgramFileName() { return ExtractFileName(ProgramFilePath()); }

QString ExceptionClassName(const std::exception &E)
{
    const char *mangled = typeid(E).name();
    int status = 0;
    char *demangled = abi::__cxa_demangle(mangled, nullptr, nullptr, &status);
    const QString name = QString::fromUtf8(status == 0 && demangled ? demangled : mangled);
    std::free(demangled);
    return name;
}

QString ExceptionMessage(const std::exception &E)
{
    if (const auto *ours = dynamic_cast<const Exception *>(&E))
        return ours->Message();
    return QString::fromUtf8(E.what());
}

// --- Formatting of "%s", "%d" style directives over a list of values.

[[noreturn]] void FormatError(const QString &Format)
{
    throw Exception(QStringLiteral("El formato \"%1\" no es válido o no corresponde a sus argumentos.")
                        .arg(Format));
}

bool IsIntegerVariant(const QVariant &V)
{
    switch (V.typeId()) {
    case QMetaType::Int: case QMetaType::UInt: case QMetaType::LongLong:
    case QMetaType::ULongLong: case QMetaType::Short: case QMetaType::UShort:
    case QMetaType::Long: case QMetaType::ULong: case QMetaType::Char:
    case QMetaType::SChar: case QMetaType::UChar:
        return true;
    default:
        return false;
    }
}

bool IsFloatVariant(const QVariant &V)
{
    return V.typeId() == QMetaType::Double || V.typeId() == QMetaType::Float;
}

bool IsTextVariant(const QVariant &V)
{
    return V.typeId() == QMetaType::QString || V.typeId() == QMetaType::QByteArray
           || V.typeId() == QMetaType::QChar;
}

QString FormatText(const QString &Format, const QVariantList &Args)
{
    QString out;
    int next = 0;
    const int n = Format.size();
    for (int i = 0; i < n; ++i) {
        const QChar c = Format.at(i);
        if (c != QLatin1Char('%')) {
            out += c;
            continue;
        }
        if (++i >= n)
            FormatError(Format);
        if (Format.at(i) == QLatin1Char('%')) {
            out += QLatin1Char('%');
            continue;
        }
        auto readNumber = [&](int &value) {
            if (i < n && Format.at(i) == QLatin1Char('*')) {
                if (next >= Args.size() || !IsIntegerVariant(Args.at(next)))
                    FormatError(Format);
                value = Args.at(next++).toInt();
                ++i;
                return true;
            }
            int start = i;
            while (i < n && Format.at(i).isDigit())
                ++i;
            if (i == start)
                return false;
            value = Format.mid(start, i - start).toInt();
            return true;
        };
        // [index ":"] ["-"] [width] ["." precision] type
        int number = -1;
        const int save = i;
        if (readNumber(number) && i < n && Format.at(i) == QLatin1Char(':')) {
            next = number;
            ++i;
        } else {
            i = save;
        }
        bool left = false;
        if (i < n && Format.at(i) == QLatin1Char('-')) {
            left = true;
            ++i;
        }
        int width = 0;
        readNumber(width);
        int precision = -1;
        if (i < n && Format.at(i) == QLatin1Char('.')) {
            ++i;
            precision = 0;
            readNumber(precision);
        }
        if (i >= n || next >= Args.size())
            FormatError(Format);
        const QChar type = Format.at(i).toLower();
        const QVariant arg = Args.at(next++);
        QString text;
        if (type == QLatin1Char('d') || type == QLatin1Char('u') || type == QLatin1Char('x')) {
            if (!IsIntegerVariant(arg))
                FormatError(Format);
            const qlonglong v = arg.toLongLong();
            const bool neg = type == QLatin1Char('d') && v < 0;
            QString digits;
            if (type == QLatin1Char('x'))
                digits = QString::number(static_cast<qulonglong>(v), 16).toUpper();
            else if (type == QLatin1Char('u'))
                digits = QString::number(static_cast<qulonglong>(v));
            else
                digits = QString::number(neg ? -static_cast<qulonglong>(v) : static_cast<qulonglong>(v));
            if (precision > digits.size())
                digits = digits.rightJustified(precision, QLatin1Char('0'));
            text = neg ? QLatin1Char('-') + digits : digits;
        } else if (type == QLatin1Char('f') || type == QLatin1Char('e') || type == QLatin1Char('g')) {
            if (!IsFloatVariant(arg) && !IsIntegerVariant(arg))
                FormatError(Format);
            const double v = arg.toDouble();
            if (type == QLatin1Char('f'))
                text = QString::number(v, 'f', precision < 0 ? 2 : precision);
            else if (type == QLatin1Char('e'))
                text = QString::number(v, 'E', precision < 0 ? 14 : qMax(precision - 1, 0));
            else
                text = QString::number(v, 'g', precision < 0 ? 15 : qMax(precision, 1));
        } else if (type == QLatin1Char('s')) {
            if (!IsTextVariant(arg))
                FormatError(Format);
            text = arg.toString();
            if (precision >= 0 && text.size() > precision)
                text.truncate(precision);
        } else {
            FormatError(Format);
        }
        if (text.size() < width)
            text = left ? text.leftJustified(width) : text.rightJustified(width);
        out += text;
    }
    return out;
}

// The current local time as "yyyy/mm/dd hh:mm:ss:zzz" (Stamp) or as
// "yyyymmddhhmmsszzz" (for file names).
QString NowText(bool Stamp)
{
    timespec now;
    clock_gettime(CLOCK_REALTIME, &now);
    tm local;
    localtime_r(&now.tv_sec, &local);
    char buffer[32];
    std::snprintf(buffer, sizeof buffer,
                  Stamp ? "%04d/%02d/%02d %02d:%02d:%02d:%03d" : "%04d%02d%02d%02d%02d%02d%03d",
                  local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                  local.tm_min, local.tm_sec, static_cast<int>(now.tv_nsec / 1000000));
    return QString::fromLatin1(buffer);
}

} // namespace

// ---------------------------------------------------------------------------

QString LogTypeTag(TLogType aLogType)
{
    static const char *const tags[] = {
        "FORZADO", "#FALLA", "#EXCEP", "INICIO", "SALIDA", "T_AUDI", "T_MNSJ",
        "TCP/IP", "T_TECH", "T_TIME", "E_TERM", "E_APLC", "E_USUA", "E_EMPR",
        "S_EMPR", "S_USUA", "S_APLC", "S_TERM", ""};
    const int i = static_cast<int>(aLogType);
    if (i < 0 || i > static_cast<int>(ltEventViewer))
        return QString();
    return QLatin1String(tags[i]);
}

int LogTypeBit(TLogType aLogType)
{
    static const int bits[] = {0,   1,   1,   2,   2,    4,    8,   16,  32, 64,
                               128, 256, 512, 1024, 1024, 512, 256, 128, 2048};
    const int i = static_cast<int>(aLogType);
    if (i < 0 || i > static_cast<int>(ltEventViewer))
        return 0;
    return bits[i];
}

bool LogTypeEnabled(TLogType aLogType, int aLevel)
{
    const int bit = LogTypeBit(aLogType);
    return bit == 0 || (aLevel & bit) == bit;
}

QString NewThreadStamp()
{
    const qint64 ms = QTime::currentTime().msecsSinceStartOfDay();
    return QString::number(ms * 1000000 / 86400000);
}

// --- TWriterLog ------------------------------------------------------------

bool TWriterLog::Write(const QString &aMessage) { return Write(ltAudit, aMessage); }

// --- TPropertyWriter -------------------------------------------------------

QString TPropertyWriter::GetProps() const
{
    QStringList lines;
    SetValue(lines, kKeyLevel, QString::number(FLevel));
    SetValue(lines, kKeyUser, BooleanText(FOSCurrentUser));
    return JoinSettings(lines);
}

void TPropertyWriter::SetProps(const QString &aValue) { ReadProps(SplitSettings(aValue)); }

void TPropertyWriter::ReadProps(const QStringList &lines)
{
    QString v;
    FLevel = FindValue(lines, kKeyLevel, v) ? ReadInteger(v, 7) : 7;
    FOSCurrentUser = FindValue(lines, kKeyUser, v) ? ReadBoolean(v, false) : false;
    FThreadID = ValueOf(lines, kKeyThreadID);
}

// --- TPropertyTextWriter ---------------------------------------------------

TPropertyTextWriter::TPropertyTextWriter()
{
    SetPath(QString());
    SetFileName(QString());
}

void TPropertyTextWriter::SetPath(const QString &aValue)
{
    if (IsBlank(aValue)) {
        FDefaultPath = TVmPaths::ApplicationData_Vemra(QStringLiteral("Logs"));
        FPath = FDefaultPath;
    } else {
        FPath = aValue;
    }
}

void TPropertyTextWriter::SetConfiguredPath(const QString &aValue)
{
    const QString folder = IncludeTrailingPathDelimiter(aValue);
    // The default folder as the configuration file's code page holds it:
    // earlier versions stored a default folder with characters the code page
    // lacks that way (ő as o, 中 as ?). That altered name stands for the
    // default folder, not for a new folder beside it.
    const QString stored = FromAnsi(ToAnsi(FDefaultPath));
    if (!FDefaultPath.isEmpty() && stored != FDefaultPath && folder == stored)
        SetPath(QString());
    else
        SetPath(folder);
}

void TPropertyTextWriter::SetFileName(const QString &aValue)
{
    FFileName = IsBlank(aValue) ? ChangeFileExt(ProgramFileName(), QStringLiteral(".log")) : aValue;
}

QString TPropertyTextWriter::GetProps() const
{
    QStringList lines = SplitSettings(TPropertyWriter::GetProps());
    SetValue(lines, kKeyMaxSize, QString::number(FMaxSize));
    SetValue(lines, kKeyHistory, BooleanText(FSaveHistory));
    SetValue(lines, kKeyFolder, FPath);
    SetValue(lines, kKeyName, FFileName);
    SetValue(lines, kKeyTabs, QLatin1Char('"') + FTabs + QLatin1Char('"'));
    return JoinSettings(lines);
}

void TPropertyTextWriter::SetProps(const QString &aValue)
{
    const QStringList lines = SplitSettings(aValue);
    QString v;
    FMaxSize = FindValue(lines, kKeyMaxSize, v) ? ReadInteger(v, 1024) : 1024;
    FSaveHistory = FindValue(lines, kKeyHistory, v) ? ReadBoolean(v, false) : false;
    v = ValueOf(lines, kKeyFolder);
    if (!v.isEmpty())
        SetConfiguredPath(v);
    v = ValueOf(lines, kKeyName);
    if (!v.isEmpty())
        SetFileName(v);
    FTabs = ValueOf(lines, kKeyTabs).remove(QLatin1Char('"'));
    TPropertyWriter::ReadProps(lines);
}

// --- TTextWriter -----------------------------------------------------------

TTextWriter::TTextWriter() : FPropText(new TPropertyTextWriter) {}

TTextWriter::~TTextWriter() { delete FPropText; }

bool TTextWriter::Write(TLogType aLogType, const QString &aMessage)
{
    try {
        const QString file = FPropText->Path() + FPropText->FileName();
        // One query serves the size check and the existence check.
        const qint64 size = QueryFileSize(file);
        const bool setAside = RotateIfTooLarge(file, size);
        if (size < 0 || (setAside && QueryFileSize(file) < 0))
            WriteHeader();
        if (IsBlank(aMessage))
            return false;
        return FormatLine(aLogType, aMessage);
    } catch (...) {
        return false;
    }
}

bool TTextWriter::RotateIfTooLarge(const QString &aFile, qint64 aSize)
{
    if (FPropText->MaxSize() <= 0 || aSize < 0)
        return false;
    if (aSize / 1024.0 <= FPropText->MaxSize())
        return false;
    // The file is set aside under its own lock, after checking that it is
    // still oversized and still the file of that name: a writer that saw the
    // size before another one set the file aside must neither delete the
    // fresh ".bak" nor set aside the new, small file. A failed rename or
    // delete is ignored: the next line goes on into the old file. An
    // existing target is never replaced.
    const int maxSize = FPropText->MaxSize();
    const bool history = FPropText->SaveHistory();
    bool setAside = false;
    WithExclusiveLock(aFile, kAppendPauseMs, [&](qint64 Size) {
        if (Size / 1024.0 <= maxSize)
            return;
        setAside = true;
        if (history) {
            QFile::rename(aFile, aFile + QLatin1Char('_') + NowText(false));
        } else {
            const QString bak = ChangeFileExt(aFile, QStringLiteral(".bak"));
            QFile::remove(bak);
            QFile::rename(aFile, bak);
        }
    });
    return setAside;
}

void TTextWriter::WriteHeader()
{
    const QString stars(50, QLatin1Char('*'));
    auto labelled = [](const char *Label, const QString &Value) {
        return QString::fromLatin1(Label).leftJustified(15) + QLatin1Char(' ') + Value;
    };
    const QString program = ProgramFilePath();
    FormatLine(ltAudit, stars);
    FormatLine(ltAudit, labelled("File:", program));
    FormatLine(ltAudit, labelled("File Version:", TVersionInfo(program).FileVersion()));
    FormatLine(ltAudit, labelled("OS Version:", WindowsVersionName(QueryWindowsVersion()).mid(2)));
    FormatLine(ltAudit, stars);
}

QString TTextWriter::IndentFor(TLogType aLogType)
{
    if (aLogType == ltStart)
        ++FPropText->FTabCount;
    QString indent;
    if (!FPropText->FTabs.isEmpty() && FPropText->FTabCount > 0)
        indent = FPropText->FTabs.repeated(FPropText->FTabCount);
    if (aLogType == ltDown)
        --FPropText->FTabCount;
    return indent;
}

bool TTextWriter::FormatLine(TLogType aLogType, const QString &aMessage)
{
    const QString separator = QStringLiteral(" | ");
    QString prefix;
    if (FPropText->ShowProcessName())
        prefix += ProgramFileName() + separator;
    if (FPropText->OSCurrentUser() && !FCurrentUserName.isEmpty())
        prefix += FCurrentUserName + separator;
    const QString indent = IndentFor(aLogType);
    const QString line = NowText(true) + separator + prefix
                         + FPropText->ThreadID() + separator + LogTypeTag(aLogType)
                         + separator + indent + aMessage;
    return AppendLine(line);
}

bool TTextWriter::AppendLine(const QString &aText)
{
    try {
        if (IsBlank(aText))
            return false;
        const QString folder = FPropText->Path();
        if (folder.isEmpty())
            return false;
        const QString file = folder + FPropText->FileName();
        const QByteArray bytes = ToAnsi(aText + kCrLf);
        // A new log file is its owner's only: lines may name the operator,
        // the folders and the e-mail address. Set-aside copies are renamed,
        // so they keep that; an existing file keeps its permissions.
        // Four attempts with a pause of 100 ms after each failed one. When
        // the file is busy, the pause is spent waiting for it to come free,
        // so that a line is not lost to writers that merely keep the file
        // busy at the instants of the attempts.
        for (int attempt = 0; attempt < kAppendAttempts; ++attempt) {
            QElapsedTimer pause;
            pause.start();
            TAppendResult result = AppendExclusive(file, bytes, kAppendPauseMs, true);
            if (result == TAppendResult::MissingFolder) {
                // The folder is created with its parents when it is missing.
                if (!QDir().mkpath(folder))
                    return false;
                result = AppendExclusive(file, bytes, kAppendPauseMs, true);
            }
            if (result == TAppendResult::Appended)
                return true;
            const qint64 left = qint64(kAppendPauseMs) - pause.elapsed();
            if (left > 0)
                QThread::msleep(static_cast<unsigned long>(left));
        }
        return false;
    } catch (...) {
        return false;
    }
}

void TTextWriter::Initialize(const QString &aText, bool Global)
{
    if (aText.isEmpty())
        return;
    const QStringList lines = SplitSettings(aText);
    QString v;
    if (FindValue(lines, kKeyLevel, v) || Global)
        FPropText->SetLevel(ReadInteger(ValueOf(lines, kKeyLevel), 7));
    if (FindValue(lines, kKeyUser, v) || Global)
        FPropText->SetOSCurrentUser(ValueOf(lines, kKeyUser) == QLatin1String("1"));
    if (FindValue(lines, kKeyMaxSize, v) || Global)
        FPropText->SetMaxSize(ReadInteger(ValueOf(lines, kKeyMaxSize), 1024));
    if (FindValue(lines, kKeyHistory, v) || Global)
        FPropText->SetSaveHistory(ReadBoolean(ValueOf(lines, kKeyHistory), false));
    v = ValueOf(lines, kKeyFolder);
    if (!IsBlank(v))
        FPropText->SetConfiguredPath(v);
    const QString name = ValueOf(lines, kKeyName);
    if (!IsBlank(name))
        FPropText->SetFileName(name);
    FPropText->SetShowProcessName(Global && !IsBlank(name));
    if (FindValue(lines, kKeyTabs, v) || Global)
        FPropText->SetTabs(ValueOf(lines, kKeyTabs).remove(QLatin1Char('"')));
}

// --- TLogFile --------------------------------------------------------------

TLogFile::TLogFile() : FTextWriter(new TTextWriter) {}

TLogFile::~TLogFile() { delete FTextWriter; }

void TLogFile::EnsureConfigured()
{
    if (!FFirstWrite)
        return;
    FFirstWrite = false;
    const QString processName = ChangeFileExt(FTextWriter->PropText()->FileName(), QString());
    FThreadID = NewThreadStamp();
    QString text;
    try {
        TLogIni ini(processName, FIDProceso);
        ini.SetOnGetDefaultConfiguration([this] { return DefaultConfiguration(); });
        text = ini.ReadIni();
    } catch (...) {
        // An unreadable configuration leaves the built-in settings; the
        // entry is still written rather than the failure raised.
        FTextWriter->PropText()->SetThreadID(FThreadID);
        return;
    }
    FTextWriter->PropText()->SetProps(text + QStringLiteral("\n\r") + kKeyThreadID
                                      + QLatin1Char('=') + FThreadID);
}

QString TLogFile::DefaultConfiguration() const
{
    QStringList lines = SplitSettings(FTextWriter->PropText()->GetProps());
    SetValue(lines, kKeyName, QStringLiteral(" "));
    // A folder that the file's code page cannot hold would be stored altered
    // and name another folder; one blank reads back as no folder, which is
    // the default folder.
    if (!HoldsInAnsi(FTextWriter->PropText()->Path()))
        SetValue(lines, kKeyFolder, QStringLiteral(" "));
    return JoinSettings(lines);
}

bool TLogFile::Write(const QString &aMessage) { return Write(ltAudit, aMessage); }

bool TLogFile::Write(TLogType aLogType, const QString &aMessage)
{
    EnsureConfigured();
    if (FActive && LogTypeEnabled(aLogType, FTextWriter->PropText()->Level()))
        return FTextWriter->Write(aLogType, aMessage);
    return false;
}

bool TLogFile::Write(TLogType aLogType, const QString &aMessage, const std::exception *aExcep)
{
    if (!aExcep)
        return Write(aLogType, aMessage);
    return Write(aLogType, aMessage + QStringLiteral("(Excepción: ") + ExceptionClassName(*aExcep)
                               + QStringLiteral(" - ") + ExceptionMessage(*aExcep)
                               + QLatin1Char(')'));
}

bool TLogFile::Write(TLogType aLogType, const QString &aMessage, const std::exception &aExcep)
{
    return Write(aLogType, aMessage, &aExcep);
}

bool TLogFile::WriteFmt(TLogType aLogType, const QString &aMessage, const QVariantList &Args)
{
    return Write(aLogType, FormatText(aMessage, Args));
}

bool TLogFile::WriteForced(const QString &aMessage) { return Write(ltForced, aMessage); }

bool TLogFile::WriteResult(TLogType aLogType, const QString &aMessage, bool aResult)
{
    return Write(aLogType, aMessage + QStringLiteral("     --> Result = ")
                               + (aResult ? QStringLiteral("True") : QStringLiteral("False")));
}

bool TLogFile::WriteInOtherFile(const QString &aFileName, const QString &aMessage)
{
    EnsureConfigured();
    TPropertyTextWriter *props = FTextWriter->PropText();
    const QString oldName = props->FileName();
    const QString oldPath = props->Path();
    props->SetPath(ExtractFilePath(aFileName));
    props->SetFileName(ExtractFileName(aFileName));
    const bool result = Write(ltAudit, aMessage);
    props->SetFileName(oldName);
    props->SetPath(oldPath);
    return result;
}

QString TLogFile::Path() const { return FTextWriter->PropText()->Path(); }

void TLogFile::SetPath(const QString &aValue)
{
    if (IsBlank(aValue)) {
        FTextWriter->PropText()->SetPath(QString());
        return;
    }
    EnsureConfigured();
    FTextWriter->PropText()->SetPath(IncludeTrailingPathDelimiter(aValue));
}

QString TLogFile::FileName() const { return FTextWriter->PropText()->FileName(); }

void TLogFile::SetFileName(const QString &aValue)
{
    EnsureConfigured();
    FTextWriter->PropText()->SetFileName(ExtractFileName(aValue));
}

QString TLogFile::CurrentUserName() const { return FTextWriter->CurrentUserName(); }

void TLogFile::SetCurrentUserName(const QString &aValue) { FTextWriter->SetCurrentUserName(aValue); }

// --- TParametrizedLogFile --------------------------------------------------

TParametrizedLogFile::TParametrizedLogFile(const RParamLogFile &aParam)
{
    FFirstWrite = false;
    // Blank values select the defaults, which the new writer already holds.
    if (!IsBlank(aParam.Path))
        SetPath(aParam.Path);
    if (!IsBlank(aParam.FileName))
        SetFileName(aParam.FileName);
    FIDProceso = aParam.IDProceso;
    SetCurrentUserName(aParam.CurrentUserName);
    FThreadID = aParam.ThreadID;
    FTextWriter->PropText()->SetProps(aParam.TextWriter + QStringLiteral("\n\r") + kKeyThreadID
                                      + QLatin1Char('=') + FThreadID);
}

// --- TManagedLogFile -------------------------------------------------------

namespace {

// The thread's data as text, and the same split into lines.
struct TThreadLogData
{
    QString Text;
    QStringList Lines;
};

QThreadStorage<TThreadLogData> gThreadLogData;

// The data of the thread that shuts the program down is emptied at the end.
struct TThreadDataFinalizer
{
    ~TThreadDataFinalizer() { TManagedLogFile::ClearThreadData(); }
} gThreadDataFinalizer;

// The configuration text travels in one value with its line breaks written
// as ";". Semicolons (and the escape character) inside values are escaped
// first so that a value such as a folder "/a;b/" arrives whole.
QString EncodeSettings(QString Text)
{
    Text.replace(QLatin1Char('%'), QLatin1String("%25"));
    Text.replace(QLatin1Char(';'), QLatin1String("%3B"));
    Text.replace(kCrLf, QLatin1String(";"));
    return Text;
}

QString DecodeSettings(QString Text)
{
    Text.replace(QLatin1Char(';'), kCrLf);
    Text.replace(QLatin1String("%3B"), QLatin1String(";"));
    Text.replace(QLatin1String("%25"), QLatin1String("%"));
    return Text;
}

QStringList ThreadLines()
{
    return gThreadLogData.hasLocalData() ? gThreadLogData.localData().Lines : QStringList();
}

template <typename F>
bool Guarded(F Body)
{
    try {
        return Body();
    } catch (...) {
        return false;
    }
}

} // namespace

QString TManagedLogFile::ThreadLogData()
{
    return gThreadLogData.hasLocalData() ? gThreadLogData.localData().Text : QString();
}

void TManagedLogFile::ClearThreadData()
{
    if (gThreadLogData.hasLocalData())
        gThreadLogData.setLocalData(TThreadLogData());
}

void TManagedLogFile::EnsureThreadConfigured()
{
    QStringList lines = ThreadLines();
    if (ValueOf(lines, QStringLiteral("Initialized")) == QLatin1String("S"))
        return;
    QString text;
    {
        TLogFile defaults;
        try {
            TLogIni ini(ValueOf(lines, QStringLiteral("FileName")),
                        ValueOf(lines, QStringLiteral("IDProceso")));
            ini.SetOnGetDefaultConfiguration([&defaults] { return defaults.DefaultConfiguration(); });
            text = ini.ReadIni();
        } catch (...) {
            // Unreadable configuration: the thread keeps the built-in settings.
            text.clear();
        }
    }
    SetValue(lines, QStringLiteral("TextWriter"), EncodeSettings(text));
    SetValue(lines, QStringLiteral("ThreadID"), NewThreadStamp());
    SetValue(lines, QStringLiteral("Initialized"), QStringLiteral("S"));
    const QString data = JoinSettings(lines);
    gThreadLogData.setLocalData(TThreadLogData{data, SplitSettings(data)});
}

TParametrizedLogFile *TManagedLogFile::NewThreadLogFile()
{
    EnsureThreadConfigured();
    const QStringList lines = ThreadLines();
    RParamLogFile param;
    param.Path = ValueOf(lines, QStringLiteral("Path"));
    param.FileName = ValueOf(lines, QStringLiteral("FileName"));
    param.IDProceso = ValueOf(lines, QStringLiteral("IDProceso"));
    param.CurrentUserName = ValueOf(lines, QStringLiteral("CurrentUserName"));
    param.TextWriter = DecodeSettings(ValueOf(lines, QStringLiteral("TextWriter")));
    param.ThreadID = ValueOf(lines, QStringLiteral("ThreadID"));
    param.Inicializado = true;
    return new TParametrizedLogFile(param);
}

bool TManagedLogFile::Write(const QString &aMessage) { return Write(ltAudit, aMessage); }

bool TManagedLogFile::Write(TLogType aLogType, const QString &aMessage)
{
    return Guarded([&] {
        std::unique_ptr<TParametrizedLogFile> log(NewThreadLogFile());
        return log->Write(aLogType, aMessage);
    });
}

bool TManagedLogFile::Write(TLogType aLogType, const QString &aMessage, const std::exception *aExcep)
{
    return Guarded([&] {
        std::unique_ptr<TParametrizedLogFile> log(NewThreadLogFile());
        return log->Write(aLogType, aMessage, aExcep);
    });
}

bool TManagedLogFile::Write(TLogType aLogType, const QString &aMessage, const std::exception &aExcep)
{
    return Write(aLogType, aMessage, &aExcep);
}

bool TManagedLogFile::WriteForced(const QString &aMessage)
{
    return Guarded([&] {
        std::unique_ptr<TParametrizedLogFile> log(NewThreadLogFile());
        return log->WriteForced(aMessage);
    });
}

bool TManagedLogFile::WriteResult(TLogType aLogType, const QString &aMessage, bool aResult)
{
    return Guarded([&] {
        std::unique_ptr<TParametrizedLogFile> log(NewThreadLogFile());
        return log->WriteResult(aLogType, aMessage, aResult);
    });
}

bool TManagedLogFile::WriteInOtherFile(const QString &aFileName, const QString &aMessage)
{
    return Guarded([&] {
        std::unique_ptr<TParametrizedLogFile> log(NewThreadLogFile());
        return log->WriteInOtherFile(aFileName, aMessage);
    });
}

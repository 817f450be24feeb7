#pragma once
// Log entries: kinds, text writers with rotation and exclusive appends, log
// file objects that filter by level, and the per-thread managed log.

#include <QString>
#include <QStringList>
#include <QVariantList>
#include <exception>

// Kinds of log entries; the ordinal values are stable.
enum TLogType {
    ltForced,
    ltError,
    ltFail,
    ltStart,
    ltDown,
    ltAudit,
    ltMsg,
    ltTCPIP,
    ltTech,
    ltTime,
    ltTermLogIn,
    ltAppIn,
    ltUserLogin,
    ltCoLogin,
    ltCoLogOff,
    ltUserLogOff,
    ltAppOff,
    ltTermLogOff,
    ltEventViewer
};

// Tag printed in every line for the kind ("#FALLA" for ltError).
QString LogTypeTag(TLogType aLogType);
// Level bit that enables the kind; 0 for ltForced (always recorded).
int LogTypeBit(TLogType aLogType);
// True when a writer with the level bit set aLevel records the kind.
bool LogTypeEnabled(TLogType aLogType, int aLevel);
// Elapsed fraction of the local day times 1 000 000, as decimal text.
QString NewThreadStamp();

class TWriterLog
{
public:
    virtual ~TWriterLog() = default;
    virtual bool Write(TLogType aLogType, const QString &aMessage) = 0;
    bool Write(const QString &aMessage);

    QString CurrentUserName() const { return FCurrentUserName; }
    void SetCurrentUserName(const QString &aValue) { FCurrentUserName = aValue; }

protected:
    QString FCurrentUserName;
};

class TPropertyWriter
{
public:
    virtual ~TPropertyWriter() = default;
    virtual QString GetProps() const;
    virtual void SetProps(const QString &aValue);

    bool OSCurrentUser() const { return FOSCurrentUser; }
    void SetOSCurrentUser(bool aValue) { FOSCurrentUser = aValue; }
    bool ShowProcessName() const { return FShowProcessName; }
    void SetShowProcessName(bool aValue) { FShowProcessName = aValue; }
    int Level() const { return FLevel; }
    void SetLevel(int aValue) { FLevel = aValue; }
    QString ThreadID() const { return FThreadID; }
    void SetThreadID(const QString &aValue) { FThreadID = aValue; }

protected:
    // Reads this class's keys from settings already split into lines.
    void ReadProps(const QStringList &aLines);

    bool FOSCurrentUser = false;
    bool FShowProcessName = false;
    int FLevel = 7;
    QString FThreadID;
};

class TPropertyTextWriter : public TPropertyWriter
{
public:
    TPropertyTextWriter();
    QString GetProps() const override;
    void SetProps(const QString &aValue) override;

    QString Path() const { return FPath; }
    void SetPath(const QString &aValue);
    int MaxSize() const { return FMaxSize; }
    void SetMaxSize(int aValue) { FMaxSize = aValue; }
    bool SaveHistory() const { return FSaveHistory; }
    void SetSaveHistory(bool aValue) { FSaveHistory = aValue; }
    QString FileName() const { return FFileName; }
    void SetFileName(const QString &aValue);
    QString Tabs() const { return FTabs; }
    void SetTabs(const QString &aValue) { FTabs = aValue; }

private:
    friend class TTextWriter;
    // The path setter for a folder read from settings text.
    void SetConfiguredPath(const QString &aValue);

    QString FPath;
    QString FDefaultPath;   // the default log folder, as the setter found it
    int FMaxSize = 1024;
    bool FSaveHistory = false;
    QString FFileName;
    QString FTabs = QStringLiteral(" ");
    int FTabCount = -1;
};

class TTextWriter : public TWriterLog
{
public:
    TTextWriter();
    ~TTextWriter() override;
    TTextWriter(const TTextWriter &) = delete;
    TTextWriter &operator=(const TTextWriter &) = delete;

    using TWriterLog::Write;
    bool Write(TLogType aLogType, const QString &aMessage) override;
    void Initialize(const QString &aText, bool Global);
    TPropertyTextWriter *PropText() const { return FPropText; }

private:
    bool RotateIfTooLarge(const QString &aFile, qint64 aSize);
    void WriteHeader();
    bool FormatLine(TLogType aLogType, const QString &aMessage);
    QString IndentFor(TLogType aLogType);
    bool AppendLine(const QString &aText);

    TPropertyTextWriter *FPropText;
};

class TLogFile
{
public:
    TLogFile();
    virtual ~TLogFile();
    TLogFile(const TLogFile &) = delete;
    TLogFile &operator=(const TLogFile &) = delete;

    bool Write(const QString &aMessage);
    bool Write(TLogType aLogType, const QString &aMessage);
    // aExcep may be null: the message is then written alone.
    bool Write(TLogType aLogType, const QString &aMessage, const std::exception *aExcep);
    bool Write(TLogType aLogType, const QString &aMessage, const std::exception &aExcep);
    // Formats aMessage with "%s", "%d", "%x", "%f", "%%" and their flags,
    // width and precision; raises Exception when the directives do not
    // match Args.
    bool WriteFmt(TLogType aLogType, const QString &aMessage, const QVariantList &Args);
    bool WriteForced(const QString &aMessage);
    bool WriteResult(TLogType aLogType, const QString &aMessage, bool aResult);
    bool WriteInOtherFile(const QString &aFileName, const QString &aMessage);

    QString Path() const;
    void SetPath(const QString &aValue);
    QString FileName() const;
    void SetFileName(const QString &aValue);
    QString CurrentUserName() const;
    void SetCurrentUserName(const QString &aValue);
    QString IDProceso() const { return FIDProceso; }
    void SetIDProceso(const QString &aValue) { FIDProceso = aValue; }
    QString ThreadID() const { return FThreadID; }
    TTextWriter *TextWriter() const { return FTextWriter; }

    // Settings text for the default section of a new configuration file.
    QString DefaultConfiguration() const;

protected:
    void EnsureConfigured();

    bool FActive = true;
    QString FIDProceso;
    bool FFirstWrite = true;
    QString FThreadID;
    TTextWriter *FTextWriter;
};

struct RParamLogFile
{
    QString Path;
    QString FileName;
    QString IDProceso;
    QString CurrentUserName;
    QString TextWriter;
    QString ThreadID;
    bool Inicializado = false;
};

class TParametrizedLogFile : public TLogFile
{
public:
    explicit TParametrizedLogFile(const RParamLogFile &aParam);
};

// Class operations without an object; each thread keeps its own
// configuration, read once, and its own ThreadID number.
class TManagedLogFile
{
public:
    TManagedLogFile() = delete;

    static bool Write(const QString &aMessage);
    static bool Write(TLogType aLogType, const QString &aMessage);
    static bool Write(TLogType aLogType, const QString &aMessage, const std::exception *aExcep);
    static bool Write(TLogType aLogType, const QString &aMessage, const std::exception &aExcep);
    static bool WriteForced(const QString &aMessage);
    static bool WriteResult(TLogType aLogType, const QString &aMessage, bool aResult);
    static bool WriteInOtherFile(const QString &aFileName, const QString &aMessage);
    // Forgets the calling thread's configuration and ThreadID number.
    static void ClearThreadData();
    // The calling thread's data as name=value lines (CR LF separated).
    static QString ThreadLogData();

private:
    static void EnsureThreadConfigured();
    static TParametrizedLogFile *NewThreadLogFile();
};

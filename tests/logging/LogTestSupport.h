#pragma once
// Shared by the logging tests: a temporary machine-wide data folder (so that
// no test touches the real home) and readers for the files written.

#include "AnsiCodePage.h"
#include "uVmPaths.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// Points XDG_DATA_HOME, XDG_CONFIG_HOME and HOME at a fresh temporary folder
// for the life of the object and forgets the cached data folder.
class TTempHome
{
public:
    TTempHome()
        : FOldData(qgetenv("XDG_DATA_HOME")), FOldConfig(qgetenv("XDG_CONFIG_HOME")),
          FOldHome(qgetenv("HOME"))
    {
        QDir().mkpath(Data());
        QDir().mkpath(Config());
        qputenv("XDG_DATA_HOME", QFile::encodeName(Data()));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(Config()));
        qputenv("HOME", QFile::encodeName(FDir.path()));
        TVmPaths::ClearCommonAppDataCache();
    }
    ~TTempHome()
    {
        Restore("XDG_DATA_HOME", FOldData);
        Restore("XDG_CONFIG_HOME", FOldConfig);
        Restore("HOME", FOldHome);
        TVmPaths::ClearCommonAppDataCache();
    }

    bool IsValid() const { return FDir.isValid(); }
    QString Root() const { return FDir.path(); }
    QString Data() const { return FDir.path() + QStringLiteral("/share"); }
    QString Config() const { return FDir.path() + QStringLiteral("/config"); }
    QString Vemra() const { return Data() + QStringLiteral("/Vemra/"); }
    QString Logs() const { return Vemra() + QStringLiteral("Logs/"); }
    QString LogIni() const { return Vemra() + QStringLiteral("Log.Ini"); }

private:
    static void Restore(const char *Name, const QByteArray &Value)
    {
        if (Value.isNull())
            qunsetenv(Name);
        else
            qputenv(Name, Value);
    }

    QTemporaryDir FDir;
    QByteArray FOldData, FOldConfig, FOldHome;
};

inline QByteArray ReadBytes(const QString &FileName)
{
    QFile f(FileName);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline bool WriteBytes(const QString &FileName, const QByteArray &Bytes)
{
    QFile f(FileName);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(Bytes) == Bytes.size();
}

// Lines of a CR LF Windows-1252 text file; the final line break opens no
// line.
inline QStringList ReadLines(const QString &FileName)
{
    QString text = FromAnsi(ReadBytes(FileName));
    if (text.endsWith(QLatin1String("\r\n")))
        text.chop(2);
    return text.isEmpty() ? QStringList() : text.split(QStringLiteral("\r\n"));
}

// "date time | rest": the rest of a log line after its time stamp, or a null
// text when the line does not start with one.
inline QString AfterStamp(const QString &Line)
{
    static const QRegularExpression stamp(
        QStringLiteral("^\\d{4}/\\d{2}/\\d{2} \\d{2}:\\d{2}:\\d{2}:\\d{3} \\| (.*)$"),
        QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpressionMatch m = stamp.match(Line);
    return m.hasMatch() ? m.captured(1) : QString();
}

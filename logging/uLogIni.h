#pragma once
// The log configuration file Log.Ini, shared by every program of the maker:
// found in the maker's folder, created with a help block and a default
// section when missing, repaired when either is lost, and read as the merged
// settings of one logging process.

#include <QString>
#include <QStringList>

#include <functional>

// Supplies the name=value lines added to the default section.
using TOnGetDefaultConfigurationEvent = std::function<QString()>;

class TLogIni
{
public:
    TLogIni(const QString &aProcessName, const QString &aProcessID);

    // The settings of "[GLOBAL]", then of the process section, then of the
    // process-and-identifier section, as name=value lines separated by
    // CR LF; empty when no file could be read. Raises Exception when an
    // existing file cannot be opened for reading.
    QString ReadIni();

    TOnGetDefaultConfigurationEvent OnGetDefaultConfiguration() const { return FOnGetDefConf; }
    void SetOnGetDefaultConfiguration(const TOnGetDefaultConfigurationEvent &aValue)
    {
        FOnGetDefConf = aValue;
    }

    QString ConfigFile() const { return FConfigFile; }
    QString ProcessName() const { return FProcessName; }
    QString ProcessID() const { return FProcessID; }

    // The help block, as lines.
    static QStringList GetHelpText();
    // The default section, as lines.
    QStringList GetDefaultSection() const;

private:
    void CreateDefaultFile();
    bool AddToFile(const QStringList &aText, bool aInFront);

    QString FProcessName;
    QString FProcessID;
    QString FConfigFile;
    TOnGetDefaultConfigurationEvent FOnGetDefConf;
};

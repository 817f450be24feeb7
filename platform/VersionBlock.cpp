#include "VersionBlock.h"

#include <QFile>
#include <QStringList>

namespace {

const char kFirstLine[] = "ZeDedeVersionBlock 1";

bool ParseUInt(const QString &Text, quint64 Max, quint64 &Value)
{
    bool ok = false;
    const qulonglong v = Text.trimmed().toULongLong(&ok, 10);
    if (!ok || v > Max)
        return false;
    Value = v;
    return true;
}

QString Single(QString Text)
{
    Text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    Text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return Text;
}

QString VersionText(quint32 MS, quint32 LS)
{
    return QStringLiteral("%1.%2.%3.%4")
        .arg(MS >> 16).arg(MS & 0xFFFF).arg(LS >> 16).arg(LS & 0xFFFF);
}

} // namespace

QString VersionBlockSectionName() { return QStringLiteral(".zedede_version"); }

QByteArray VersionBlockFirstLine() { return QByteArray(kFirstLine); }


bool ParseFourPartVersion(const QString &Text, quint32 &MS, quint32 &LS)
{
    const QStringList parts = Text.trimmed().split(QLatin1Char('.'));
    if (parts.isEmpty() || parts.size() > 4)
        return false;
    quint64 n[4] = {0, 0, 0, 0};
    for (int i = 0; i < parts.size(); ++i)
        if (!ParseUInt(parts.at(i), 0xFFFF, n[i]))
            return false;
    MS = static_cast<quint32>((n[0] << 16) | n[1]);
    LS = static_cast<quint32>((n[2] << 16) | n[3]);
    return true;
}

bool ParseVersionBlock(const QByteArray &Raw, TVersionBlockData &Data)
{
    Data = TVersionBlockData();
    const QStringList lines = QString::fromUtf8(Raw).split(QLatin1Char('\n'));
    if (lines.isEmpty() || lines.first().trimmed() != QLatin1String(kFirstLine))
        return false;

    TVersionStringTable *table = nullptr;
    for (int i = 1; i < lines.size(); ++i) {
        QString line = lines.at(i);
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (line.trimmed().isEmpty())
            continue;
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            Data.StringTables.append(TVersionStringTable{line.mid(1, line.size() - 2).toUpper(), {}});
            table = &Data.StringTables.last();
            continue;
        }
        const int eq = line.indexOf(QLatin1Char('='));
        if (eq <= 0)
            continue;
        const QString name = line.left(eq);
        const QString value = line.mid(eq + 1);
        if (table) {
            table->Values.append({name, value});
            continue;
        }
        TFixedFileInfo &f = Data.FixedInfo;
        quint64 n = 0;
        if (name == QLatin1String("FileVersion")) {
            if (ParseFourPartVersion(value, f.dwFileVersionMS, f.dwFileVersionLS))
                Data.HasFixedInfo = true;
        } else if (name == QLatin1String("ProductVersion")) {
            if (ParseFourPartVersion(value, f.dwProductVersionMS, f.dwProductVersionLS))
                Data.HasFixedInfo = true;
        } else if (name == QLatin1String("Translation")) {
            for (const QString &t : value.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
                bool ok = false;
                const uint v = t.toUInt(&ok, 16);
                if (ok && t.size() <= 8)
                    Data.Translations.append(v);
            }
        } else if (name == QLatin1String("FileDate") && ParseUInt(value, ~0ULL, n)) {
            f.dwFileDateMS = static_cast<quint32>(n >> 32);
            f.dwFileDateLS = static_cast<quint32>(n);
        } else if (ParseUInt(value, 0xFFFFFFFFu, n)) {
            if (name == QLatin1String("FileFlagsMask"))
                f.dwFileFlagsMask = static_cast<quint32>(n);
            else if (name == QLatin1String("FileFlags"))
                f.dwFileFlags = static_cast<quint32>(n);
            else if (name == QLatin1String("FileOS"))
                f.dwFileOS = static_cast<quint32>(n);
            else if (name == QLatin1String("FileType"))
                f.dwFileType = static_cast<quint32>(n);
            else if (name == QLatin1String("FileSubtype"))
                f.dwFileSubtype = static_cast<quint32>(n);
        }
    }
    return true;
}

QByteArray BuildVersionBlock(const TVersionBlockData &Data)
{
    QStringList lines;
    lines << QLatin1String(kFirstLine);
    if (Data.HasFixedInfo) {
        const TFixedFileInfo &f = Data.FixedInfo;
        lines << QStringLiteral("FileVersion=") + VersionText(f.dwFileVersionMS, f.dwFileVersionLS)
              << QStringLiteral("ProductVersion=") + VersionText(f.dwProductVersionMS, f.dwProductVersionLS)
              << QStringLiteral("FileFlagsMask=%1").arg(f.dwFileFlagsMask)
              << QStringLiteral("FileFlags=%1").arg(f.dwFileFlags)
              << QStringLiteral("FileOS=%1").arg(f.dwFileOS)
              << QStringLiteral("FileType=%1").arg(f.dwFileType)
              << QStringLiteral("FileSubtype=%1").arg(f.dwFileSubtype)
              << QStringLiteral("FileDate=%1")
                     .arg((static_cast<quint64>(f.dwFileDateMS) << 32) | f.dwFileDateLS);
    }
    if (!Data.Translations.isEmpty()) {
        QStringList t;
        for (quint32 v : Data.Translations)
            t << QStringLiteral("%1").arg(v, 8, 16, QLatin1Char('0')).toUpper();
        lines << QStringLiteral("Translation=") + t.join(QLatin1Char(' '));
    }
    for (const TVersionStringTable &table : Data.StringTables) {
        lines << QLatin1Char('[') + Single(table.Key) + QLatin1Char(']');
        for (const auto &v : table.Values) {
            QString name = Single(v.first);
            name.remove(QLatin1Char('='));
            lines << name + QLatin1Char('=') + Single(v.second);
        }
    }
    return (lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8();
}

bool QueryVersionString(const TVersionBlockData &Data, const QString &SubBlock,
                        QString &Value)
{
    const QStringList parts = SubBlock.split(QLatin1Char('\\'), Qt::SkipEmptyParts);
    if (parts.size() != 3
        || QString::compare(parts.at(0), QLatin1String("StringFileInfo"), Qt::CaseInsensitive) != 0)
        return false;
    for (const TVersionStringTable &table : Data.StringTables) {
        if (QString::compare(table.Key, parts.at(1), Qt::CaseInsensitive) != 0)
            continue;
        for (const auto &v : table.Values) {
            if (QString::compare(v.first, parts.at(2), Qt::CaseInsensitive) == 0) {
                Value = v.second;
                return true;
            }
        }
        return false;
    }
    return false;
}

#include "Pem.h"

#include <QStringList>

QByteArray PemBlock(const QByteArray &Text, const QByteArray &Label)
{
    const QByteArray begin = "-----BEGIN " + Label + "-----";
    const QByteArray end = "-----END " + Label + "-----";
    const qsizetype b = Text.indexOf(begin);
    if (b < 0)
        return QByteArray();
    const qsizetype e = Text.indexOf(end, b);
    if (e < 0)
        return QByteArray();
    QByteArray block = Text.mid(b, e + end.size() - b);
    block.replace("\r", "");
    return block + '\n';
}

QByteArray NormalisedPem(QByteArray Pem)
{
    Pem.replace("\r", "");
    return Pem.trimmed();
}

QString WithoutPemBlocks(const QByteArray &Text)
{
    QStringList kept;
    bool inBlock = false;
    for (const QString &line : QString::fromLocal8Bit(Text).split(QLatin1Char('\n'))) {
        if (line.startsWith(QLatin1String("-----BEGIN ")))
            inBlock = true;
        else if (!inBlock)
            kept << line;
        if (inBlock && line.startsWith(QLatin1String("-----END ")))
            inBlock = false;
    }
    return kept.join(QLatin1Char('\n')).trimmed();
}

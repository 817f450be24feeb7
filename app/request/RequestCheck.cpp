#include "RequestCheck.h"

#include "Cuit.h"

#include <QRegularExpression>

namespace {

// One line of the dump: "  63:d=5  hl=2 l=  11 prim: UTF8STRING        :value".
struct TDumpLine
{
    qint64 Offset = 0;
    int Depth = 0;
    qint64 HeaderLength = 0;
    qint64 Length = 0;
    bool Primitive = false;
    QByteArray Kind;
    QByteArray Value;
    qint64 End() const { return Offset + HeaderLength + Length; }
};

bool IsStringKind(const QByteArray &Kind)
{
    return Kind == "UTF8STRING" || Kind == "PRINTABLESTRING" || Kind == "IA5STRING"
           || Kind == "T61STRING" || Kind == "VISIBLESTRING" || Kind == "NUMERICSTRING";
}

// Reads the lines of the dump. A string's value is taken by its length, so
// that whatever bytes it holds it cannot be mistaken for the next line.
QList<TDumpLine> DumpLines(const QByteArray &Dump)
{
    static const QRegularExpression head(QStringLiteral(
        "^ *(\\d+):d=(\\d+) +hl=(\\d+) +l= *(\\d+) +(prim|cons): "));
    QList<TDumpLine> lines;
    qsizetype pos = 0;
    while (pos < Dump.size()) {
        qsizetype eol = Dump.indexOf('\n', pos);
        if (eol < 0)
            eol = Dump.size();
        const QString start = QString::fromLatin1(Dump.mid(pos, std::min<qsizetype>(eol - pos, 80)));
        const auto m = head.match(start);
        if (!m.hasMatch()) {
            pos = eol + 1;
            continue;
        }
        TDumpLine line;
        line.Offset = m.captured(1).toLongLong();
        line.Depth = m.captured(2).toInt();
        line.HeaderLength = m.captured(3).toLongLong();
        line.Length = m.captured(4).toLongLong();
        line.Primitive = m.captured(5) == QLatin1String("prim");
        qsizetype p = pos + m.capturedLength(0);
        // The kind is padded to 18 characters, then ":" when a value follows.
        qsizetype colon = p;
        while (colon < eol && Dump.at(colon) != ':')
            ++colon;
        line.Kind = Dump.mid(p, colon - p).trimmed();
        if (colon < eol) {
            if (line.Primitive && IsStringKind(line.Kind)) {
                line.Value = Dump.mid(colon + 1, line.Length);
                eol = Dump.indexOf('\n', colon + 1 + line.Value.size());
                if (eol < 0)
                    eol = Dump.size();
            } else {
                line.Value = Dump.mid(colon + 1, eol - colon - 1);
            }
        }
        lines << line;
        pos = eol + 1;
    }
    return lines;
}

// The text of a string value; false when its kind is not read as text or
// its bytes do not fit its kind.
bool DecodeString(const TDumpLine &Line, QString &Text)
{
    if (Line.Kind == "UTF8STRING") {
        if (!Line.Value.isValidUtf8())
            return false;
        Text = QString::fromUtf8(Line.Value);
        return true;
    }
    if (Line.Kind == "T61STRING") {
        Text = QString::fromLatin1(Line.Value);
        return true;
    }
    if (IsStringKind(Line.Kind)) {
        for (const char c : Line.Value) {
            if (static_cast<unsigned char>(c) >= 0x80)
                return false;
        }
        Text = QString::fromLatin1(Line.Value);
        return true;
    }
    return false;
}

QString FieldName(const QString &Attribute)
{
    if (Attribute == QLatin1String("organizationName"))
        return QStringLiteral("el nombre de la empresa");
    if (Attribute == QLatin1String("commonName"))
        return QStringLiteral("el nombre del operador");
    if (Attribute == QLatin1String("emailAddress"))
        return QStringLiteral("el mail del operador");
    if (Attribute == QLatin1String("serialNumber"))
        return QStringLiteral("el CUIT");
    if (Attribute == QLatin1String("countryName"))
        return QStringLiteral("el país");
    return Attribute;
}

} // namespace

TRequestContents ParseRequestDump(const QByteArray &Dump)
{
    TRequestContents contents;
    const QList<TDumpLine> lines = DumpLines(Dump);
    // The request info (depth 1) holds the version, the subject (the first
    // sequence at depth 2), the public key and the attributes ("cont [ 0 ]").
    qint64 subjectEnd = -1;
    qint64 attributesEnd = -1;
    for (int i = 0; i < lines.size(); ++i) {
        const TDumpLine &l = lines[i];
        if (l.Depth == 2 && !l.Primitive && subjectEnd < 0 && l.Kind == "SEQUENCE") {
            subjectEnd = l.End();
            contents.Parsed = true;
            continue;
        }
        if (l.Depth == 2 && !l.Primitive && l.Kind == "cont [ 0 ]")
            attributesEnd = l.End();
        const bool inSubject = subjectEnd >= 0 && l.Offset < subjectEnd && attributesEnd < 0;
        const bool inAttributes = attributesEnd >= 0 && l.Offset < attributesEnd;
        if (l.Kind != "OBJECT" || i + 1 >= lines.size())
            continue;
        const QString name = QString::fromLatin1(l.Value.trimmed());
        if (inSubject && lines[i + 1].Primitive && lines[i + 1].Depth == l.Depth) {
            QString text;
            if (!DecodeString(lines[i + 1], text)) {
                contents.Unreadable = name;
                text.clear();
            }
            contents.Subject.append({name, text});
        } else if (inAttributes && name == QLatin1String("challengePassword")) {
            // OBJECT, then SET, then its values one level down.
            for (int k = i + 2; k < lines.size() && lines[k].Depth > l.Depth; ++k) {
                QString text;
                if (!DecodeString(lines[k], text)) {
                    contents.Unreadable = name;
                    continue;
                }
                contents.ChallengePasswords << text;
            }
        }
    }
    return contents;
}

QList<QPair<QString, QString>> ExpectedSubject(const TRequestData &Data)
{
    return {{QStringLiteral("countryName"), QStringLiteral("AR")},
            {QStringLiteral("serialNumber"), QStringLiteral("CUIT ") + CUITDigits(Data.CUIT)},
            {QStringLiteral("organizationName"), Data.NombreEmpresa},
            {QStringLiteral("commonName"), Data.Operador},
            {QStringLiteral("emailAddress"), Data.Mail}};
}

QString CompareRequest(const TRequestContents &Contents, const TRequestData &Data)
{
    if (!Contents.Parsed)
        return QStringLiteral("OpenSSL no pudo mostrar el contenido del pedido.");
    if (!Contents.Unreadable.isEmpty() && Contents.Unreadable != QLatin1String("challengePassword"))
        return QStringLiteral("En el pedido, %1 está guardado de una forma que no es texto.")
            .arg(FieldName(Contents.Unreadable));
    const auto expected = ExpectedSubject(Data);
    for (int i = 0; i < expected.size(); ++i) {
        const QString field = FieldName(expected[i].first);
        if (i >= Contents.Subject.size() || Contents.Subject[i].first != expected[i].first)
            return QStringLiteral("En el pedido falta %1 o no está en su lugar.").arg(field);
        if (Contents.Subject[i].second != expected[i].second)
            return QStringLiteral("En el pedido, %1 es «%2» en lugar de «%3».")
                .arg(field, Contents.Subject[i].second, expected[i].second);
    }
    if (Contents.Subject.size() > expected.size())
        return QStringLiteral("El pedido tiene datos de más en su sujeto (%1).")
            .arg(Contents.Subject[expected.size()].first);
    if (Contents.ChallengePasswords != QStringList{Data.Password})
        return QStringLiteral("La contraseña guardada en el pedido no es la ingresada.");
    return QString();
}

int PublicKeyBits(const QByteArray &Output)
{
    static const QRegularExpression re(QStringLiteral("Public-Key: \\((\\d+) bit\\)"));
    const auto m = re.match(QString::fromLatin1(Output));
    return m.hasMatch() ? m.captured(1).toInt() : 0;
}

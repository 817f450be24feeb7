#include "BookCommand.h"

#include "ConsoleRun.h"
#include "ConsoleText.h"

#include "Cuit.h"
#include "TerminalText.h"
#include "WellKnownFolders.h"

#include <QDir>
#include <QFileInfo>
#include <QTextStream>

#include <algorithm>

namespace {

// A character a terminal could act on or that hides or reorders text: C0,
// DEL, C1, bidirectional embeddings, overrides and isolates, zero-width ones.
QString Escaped(const QString &AText)
{
    return TerminalSafe(AText);
}

QString CsvField(const QString &AValue)
{
    const QString v = Escaped(AValue);
    if (!v.contains(QLatin1Char(';')) && !v.contains(QLatin1Char('"'))
        && !v.contains(QLatin1Char('\n')) && !v.contains(QLatin1Char('\r')))
        return v;
    QString quoted = v;
    quoted.replace(QLatin1String("\""), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

QString Absolute(const QString &AFile)
{
    return AFile.isEmpty() ? QString() : QFileInfo(AFile).absoluteFilePath();
}

QString ShownPath(const TBookGroup &G)
{
    if (!G.CertificateFile.isEmpty())
        return G.CertificateFile;
    if (!G.RequestFile.isEmpty())
        return G.RequestFile;
    if (!G.KeyFile.isEmpty())
        return G.KeyFile;
    return G.Files.value(0);
}

// " (reason; renewal)" after the file, escaped; empty when neither.
QString Notes(const TBookGroup &G)
{
    QStringList notes;
    if (!G.Reason.isEmpty() && G.State != TBookState::Valid)
        notes << Escaped(G.Reason);
    if (const QString renewal = RenewalNote(G); !renewal.isEmpty())
        notes << Escaped(renewal);
    return notes.isEmpty() ? QString()
                           : QStringLiteral(" (") + notes.join(QStringLiteral("; ")) + QLatin1Char(')');
}

} // namespace

QString EnvironmentWord(const TBookGroup &Group)
{
    if (!Group.HasCertificate)
        return QString();
    switch (Group.Environment) {
    case TIssuerKind::Production: return QStringLiteral("produccion");
    case TIssuerKind::Testing: return QStringLiteral("homologacion");
    case TIssuerKind::Other: break;
    }
    return QStringLiteral("otro");
}

QString BookCsv(const QList<TBookGroup> &Groups, const QDateTime &)
{
    QString out = QString(QChar(0xFEFF))
                  + QStringLiteral("estado;cuit;titular;organizacion;ambiente;vence;dias;clave;"
                                   "pedido;certificado\r\n");
    for (const TBookGroup &g : Groups) {
        const QStringList fields = {
            StateWord(g.State),
            g.CUIT,
            g.Holder,
            g.Company,
            EnvironmentWord(g),
            g.HasCertificate ? g.ValidUntil.toUTC().toString(QStringLiteral("yyyy-MM-dd")) : QString(),
            g.HasCertificate ? QString::number(g.DaysLeft) : QString(),
            Absolute(g.KeyFile),
            Absolute(g.RequestFile),
            Absolute(g.CertificateFile),
        };
        QStringList quoted;
        for (const QString &f : fields)
            quoted << CsvField(f);
        out += quoted.join(QLatin1Char(';')) + QStringLiteral("\r\n");
    }
    return out;
}

QString BookTable(const QList<TBookGroup> &Groups)
{
    QList<QStringList> rows;
    rows << QStringList{QStringLiteral("ESTADO"), QStringLiteral("CUIT"), QStringLiteral("TITULAR"),
                        QStringLiteral("ORGANIZACIÓN"), QStringLiteral("AMBIENTE"),
                        QStringLiteral("VENCE"), QStringLiteral("DÍAS"), QStringLiteral("ARCHIVO")};
    for (const TBookGroup &g : Groups) {
        QString state = StateWord(g.State);
        rows << QStringList{state,
                            g.CUIT.isEmpty() ? QStringLiteral("-") : FormatCUIT(g.CUIT),
                            Escaped(g.Holder.isEmpty() ? QStringLiteral("-") : g.Holder),
                            Escaped(g.Company.isEmpty() ? QStringLiteral("-") : g.Company),
                            g.HasCertificate ? EnvironmentWord(g) : QStringLiteral("-"),
                            g.HasCertificate
                                ? g.ValidUntil.toUTC().toString(QStringLiteral("yyyy-MM-dd"))
                                : QStringLiteral("-"),
                            g.HasCertificate ? QString::number(g.DaysLeft) : QStringLiteral("-"),
                            Escaped(QDir::toNativeSeparators(ShownPath(g))) + Notes(g)};
    }
    QList<int> widths(rows.first().size(), 0);
    for (const QStringList &r : rows)
        for (int i = 0; i < r.size(); ++i)
            widths[i] = std::max(widths[i], int(r.at(i).size()));
    QString out;
    for (const QStringList &r : rows) {
        QString line;
        for (int i = 0; i < r.size(); ++i) {
            const bool last = i + 1 == r.size();
            // Days right-aligned, the rest left-aligned.
            line += i == 6 ? r.at(i).rightJustified(widths[i])
                           : (last ? r.at(i) : r.at(i).leftJustified(widths[i]));
            if (!last)
                line += QStringLiteral("  ");
        }
        out += line + QLatin1Char('\n');
    }
    return out;
}

int RunBookCommand(const TBookCommand &ACommand, QTextStream &Out, QTextStream &Err)
{
    const QString folder = ACommand.Folder.isEmpty() ? DefaultCertificatesFolder()
                                                     : ACommand.Folder;
    const TBook book = ReadBook(folder, ACommand.Now);
    if (!book.Listing.RootReadable) {
        Err << QStringLiteral("No se pudo leer la carpeta: %1.\n").arg(Escaped(book.Listing.RootReason));
        return beUnreadable;
    }
    for (const QString &note : book.Listing.Notes)
        Err << QStringLiteral("Aviso: ") << Escaped(note) << QLatin1Char('\n');
    if (ACommand.Format == TBookFormat::Csv)
        Out << BookCsv(book.Groups, ACommand.Now);
    else if (book.Groups.isEmpty())
        Out << QStringLiteral("No se encontraron claves, pedidos ni certificados en %1.\n")
                   .arg(Escaped(QDir::toNativeSeparators(folder)));
    else
        Out << BookTable(book.Groups);
    return BookNeedsAttention(book.Groups) ? beAttention : beOk;
}

int RunBookCommandWithoutWindow(int argc, char **argv, const QString &AFolder,
                                const QString &AFormat)
{
    TBookCommand command;
    command.Folder = AFolder;
    if (AFormat.compare(QLatin1String("csv"), Qt::CaseInsensitive) == 0) {
        command.Format = TBookFormat::Csv;
    } else if (!AFormat.isEmpty() && AFormat.compare(QLatin1String("tabla"), Qt::CaseInsensitive) != 0) {
        WriteConsoleText(TConsoleStream::Error,
                         QStringLiteral("Formato desconocido: %1 (use «tabla» o «csv»).\n")
                             .arg(Escaped(AFormat)));
        return beUnreadable;
    }
    return RunWithConsoleStreams(argc, argv, [&command](QTextStream &Out, QTextStream &Err) {
        return RunBookCommand(command, Out, Err);
    });
}

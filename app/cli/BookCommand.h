#pragma once
// "--certificados CARPETA --sin-ventana [--formato csv]": the certificate
// book of a folder printed as an aligned table or as CSV for a spreadsheet.

#include "CertificateBook.h"

#include <QString>

class QTextStream;

// Exit codes of the book without a window.
enum TBookExit { beOk = 0, beAttention = 1, beUnreadable = 2 };

enum class TBookFormat { Table, Csv };

struct TBookCommand
{
    QString Folder;                       // the default folder when empty
    TBookFormat Format = TBookFormat::Table;
    QDateTime Now = QDateTime::currentDateTimeUtc();
};

// The environment's word for scripts: "produccion", "homologacion", "otro";
// empty for a group without a certificate.
QString EnvironmentWord(const TBookGroup &Group);

// The CSV: byte-order mark, the header line, one line a group, ";" between
// fields, RFC 4180 quoting, CRLF line ends.
QString BookCsv(const QList<TBookGroup> &Groups, const QDateTime &Now);
// The aligned table, one line a group, values escaped for a terminal.
QString BookTable(const QList<TBookGroup> &Groups);

// Reads the folder and writes the book to Out and notes and failures to Err;
// returns the exit code.
int RunBookCommand(const TBookCommand &ACommand, QTextStream &Out, QTextStream &Err);

// The same from main: parses --formato, prints to standard output and error.
int RunBookCommandWithoutWindow(int argc, char **argv, const QString &AFolder,
                                const QString &AFormat);

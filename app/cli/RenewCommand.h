#pragma once
// "--renovar CERTIFICADO --sin-ventana [--empresa NOMBRE] [--mail
// DIRECCION]": a renewal without a window, for scripts. The new key,
// request and origin file go to the certificate's renewal folder; the key
// and certificate in use are only read.

#include <QDate>
#include <QString>
#include <QTextStream>

#include <functional>

struct TRenewOptions
{
    QString Certificate;
    QString Company;       // used when CompanyGiven
    bool CompanyGiven = false;
    QString Mail;          // used when MailGiven
    bool MailGiven = false;
};

// Exit codes: 0 the files were written; 1 a problem with the data or the
// generation; 2 the certificate or OpenSSL could not be had.
enum TRenewExit { reOk = 0, reProblem = 1, reUnavailable = 2 };

// Gives the password and its repetition; false when there is none.
using TPasswordSource = std::function<bool(QString &Password, QString &Repetition)>;

// Does the renewal, printing the paths to Out and any failure to Err, in
// Spanish. ProgramFolder is where the OpenSSL installer is looked for (the
// program's own folder when empty).
int RunRenew(const TRenewOptions &Options, const TPasswordSource &Password, QTextStream &Out,
             QTextStream &Err, const QDate &Day = QDate::currentDate(),
             const QString &ProgramFolder = QString());

// The same as the command line runs it: password from standard input,
// output to the terminal.
int RunRenewCommandWithoutWindow(int argc, char **argv, const TRenewOptions &Options);

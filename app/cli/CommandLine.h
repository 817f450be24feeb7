#pragma once
// The program's command line. The options it knows are one table
// (ProgramOptions); parsing gives what the start-up does: open the wizard's
// window or the certificate check's, check a certificate without a window, or
// print the help or the version and end without one. Arguments it does not
// does not know is refused (UsageError, with the reason in Error), as is a
// value given to an option that takes none or a value missing where one is
// needed; arguments that are not options are ignored, and Qt's own options,
// such as -platform, are Qt's business.
//
// Adding an option: add its row to the table in CommandLine.cpp and, when it
// asks for something other than the window, its action to TStartAction; its
// presence and value are then in TCommandLine::Given and Values.

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>

#include <vector>

// Verify: the "Verificar certificado" window (--verificar [ARCHIVO]);
// VerifyWithoutWindow: the check printed to standard output (--sin-ventana,
// which needs --verificar ARCHIVO); Book: the "Mis certificados" window
// (--certificados [CARPETA]), BookWithoutWindow: the book printed instead
// (with --sin-ventana).
// Reminders: turning the daily check of a folder on or off (--avisos ACCIÓN
// CARPETA), without a window. UsageError: the arguments cannot be followed;
// Error says why. Renew: the wizard opened on its data page for a renewal
// (--renovar CERTIFICADO); RenewWithoutWindow and SwitchWithoutWindow: the
// renewal and "Usar este certificado" without a window (with --sin-ventana).
// BookReminder: the daily check of a folder (--certificados CARPETA --avisar).
enum class TStartAction { Window, Verify, Book, VerifyWithoutWindow, BookWithoutWindow,
                          BookReminder, Reminders,
                          Help, Version, Renew, RenewWithoutWindow, SwitchWithoutWindow,
                          UsageError };

enum class TOptionValue { None, Optional, Required };

struct TOptionSpec
{
    QString Name;        // long form, without the leading "--"
    QChar Short;         // one-letter form ("-h"), or a null QChar
    TOptionValue Value = TOptionValue::None;
    QString ValueName;   // what the help text calls the value ("ARCHIVO")
    QString Help;        // one line of the help text, in Spanish
    TStartAction Action = TStartAction::Window; // what giving it asks for
};

struct TCommandLine
{
    TStartAction Action = TStartAction::Window;
    QSet<QString> Given;            // long names of the options given
    QHash<QString, QString> Values; // long name -> value, for options given one
    QStringList Ignored;            // arguments that are not options of the program
    QStringList Positional;         // of those, the ones that are no option at all
    QString Error;                  // why the arguments were refused (UsageError)
};

// The options the program knows, in the order the help text lists them.
const std::vector<TOptionSpec> &ProgramOptions();

// Parses the arguments after the program's name. "--name=value" and
// "--name value" give a value; an optional value is taken only when the next
// argument does not start with "-". "--" ends the options. When several
// options ask for an action, the first of Help, Version, VerifyWithoutWindow,
// Verify wins; a refused argument wins over all of them (the first one
// refused is named).
TCommandLine ParseCommandLine(const QStringList &AArguments,
                              const std::vector<TOptionSpec> &AOptions = ProgramOptions());

// The same, on main's arguments (argv[0] is the program's name).
TCommandLine ParseCommandLine(int argc, char **argv);

// "zedede 1.0.0" and the program's description, one per line.
QString VersionText();

// "Uso: zedede [OPCIÓN]", the first line of the help.
QString UsageLine();

// What is printed on standard error for arguments that cannot be followed:
// AReason, the usage line and where the help is.
QString UsageErrorText(const QString &AReason);

// The usage, the options of the table and what the program does without
// them, in Spanish.
QString HelpText(const std::vector<TOptionSpec> &AOptions = ProgramOptions());

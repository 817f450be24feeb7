#pragma once
// "zedede --avisos VERBO CARPETA": turns the daily check of a folder on or
// off, or tells whether it is on, without a window.
//
//   activar      turns it on (the folder must be readable)
//   desactivar   removes it completely (the folder need not exist any more)
//   estado       prints "activados" or "desactivados"
//
// Returns the exit code: 0 done, 2 with the reason on Err (unknown verb,
// folder missing or unreadable, the system refused).

#include <QString>
#include <QTextStream>

int RunRemindersCommand(const QString &Verb, const QString &Folder, QTextStream &Out,
                        QTextStream &Err);

// The same with the program the check runs (empty: this program).
int RunRemindersCommand(const QString &Verb, const QString &Folder, const QString &Program,
                        QTextStream &Out, QTextStream &Err);

#pragma once
// "--usar-certificado CERTIFICADO --sin-ventana": the certificate of a
// renewal folder takes the place of the one in use.

#include <QDateTime>
#include <QString>
#include <QTextStream>

// 0 switched; 1 refused or a move failed (everything undone); 2 the
// certificate could not be read.
int RunSwitch(const QString &Certificate, QTextStream &Out, QTextStream &Err,
              const QDateTime &Now = QDateTime::currentDateTimeUtc());

int RunSwitchCommandWithoutWindow(int argc, char **argv, const QString &Certificate);

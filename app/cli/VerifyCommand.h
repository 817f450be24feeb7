#pragma once
// "--verificar [ARCHIVO]", "--sin-ventana" and "--clave CLAVE" of the command line.

#include <QString>

// The check without a window: a console application, the findings printed
// to standard output in Spanish. Returns 0 (the certificate is valid and its
// key was found), 1 (a problem was found) or 2 (the file could not be read).
// AKeyFile: a key to look at besides those found (--clave), or empty.
int RunVerifyCommandWithoutWindow(int argc, char **argv, const QString &AFile,
                                  const QString &AKeyFile = QString());

// Printed when --sin-ventana is given without a file.
QString VerifyWithoutFileText();

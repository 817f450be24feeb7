// Runs one generation in a process of its own, for the tests of two
// generations at once and of a generation ended by a signal.
//   request_generate <destination> <company> <operator> <password>
// The OpenSSL folder is the one the environment records. Prints "OK" or
// "ERROR", then the message and the details; exit status 0 or 1.

#include "Exception.h"
#include "RequestGenerator.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 5) {
        std::fprintf(stderr, "usage: request_generate DEST COMPANY OPERATOR PASSWORD\n");
        return 2;
    }
    TRequestData d;
    d.Carpeta = args[1];
    d.NombreEmpresa = args[2];
    d.Operador = args[3];
    d.Password = d.Password2 = args[4];
    d.CUIT = QStringLiteral("20-12345678-6");
    d.Mail = QStringLiteral("operador@example.com");
    try {
        GenerateRequestFiles(d);
        std::printf("OK\n");
        return 0;
    } catch (const Exception &e) {
        std::printf("ERROR\n%s\n%s\n", e.Message().toUtf8().constData(),
                    e.Details().toUtf8().constData());
        return 1;
    }
}

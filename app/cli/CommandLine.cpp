#include "CommandLine.h"

#include <algorithm>

#ifndef ZEDEDE_VERSION
#error "ZEDEDE_VERSION must be defined by the build"
#endif

namespace {

const TOptionSpec *FindLong(const std::vector<TOptionSpec> &AOptions, const QString &AName)
{
    for (const TOptionSpec &o : AOptions)
        if (o.Name == AName)
            return &o;
    return nullptr;
}

const TOptionSpec *FindShort(const std::vector<TOptionSpec> &AOptions, QChar ALetter)
{
    for (const TOptionSpec &o : AOptions)
        if (!o.Short.isNull() && o.Short == ALetter)
            return &o;
    return nullptr;
}

int Priority(TStartAction AAction)
{
    switch (AAction) {
    case TStartAction::Help: return 4;
    case TStartAction::Version: return 3;
    case TStartAction::VerifyWithoutWindow: return 2;
    case TStartAction::Book: return 1;
    case TStartAction::Verify: return 1;
    case TStartAction::Window: break;
    }
    return 0;
}

QString OptionColumn(const TOptionSpec &AOption)
{
    QString s = AOption.Short.isNull() ? QStringLiteral("    ")
                                       : QStringLiteral("-%1, ").arg(AOption.Short);
    s += QStringLiteral("--") + AOption.Name;
    if (AOption.Value == TOptionValue::Required)
        s += QLatin1Char(' ') + AOption.ValueName;
    else if (AOption.Value == TOptionValue::Optional)
        s += QStringLiteral(" [%1]").arg(AOption.ValueName);
    return s;
}

} // namespace

const std::vector<TOptionSpec> &ProgramOptions()
{
    static const std::vector<TOptionSpec> options = {
        {QStringLiteral("help"), QLatin1Char('h'), TOptionValue::None, QString(),
         QStringLiteral("muestra esta ayuda y termina"), TStartAction::Help},
        {QStringLiteral("version"), QChar(), TOptionValue::None, QString(),
         QStringLiteral("muestra la versión del programa y termina"), TStartAction::Version},
        {QStringLiteral("verificar"), QChar(), TOptionValue::Optional, QStringLiteral("ARCHIVO"),
         QStringLiteral("abre la ventana «Verificar certificado»"),
         TStartAction::Verify},
        {QStringLiteral("sin-ventana"), QChar(), TOptionValue::None, QString(),
         QStringLiteral("verifica ARCHIVO sin ventana (con --verificar)"),
         TStartAction::VerifyWithoutWindow},
        {QStringLiteral("certificados"), QChar(), TOptionValue::Optional, QStringLiteral("CARPETA"),
         QStringLiteral("abre la ventana «Mis certificados» en CARPETA"), TStartAction::Book},
        {QStringLiteral("formato"), QChar(), TOptionValue::Required, QStringLiteral("FORMATO"),
         QStringLiteral("la salida sin ventana: «tabla» o «csv»"),
         TStartAction::Window},
    };
    return options;
}

TCommandLine ParseCommandLine(const QStringList &AArguments,
                              const std::vector<TOptionSpec> &AOptions)
{
    TCommandLine result;
    auto give = [&result](const TOptionSpec &AOption) {
        result.Given.insert(AOption.Name);
        if (Priority(AOption.Action) > Priority(result.Action))
            result.Action = AOption.Action;
    };

    bool optionsEnded = false;
    for (int i = 0; i < AArguments.size(); ++i) {
        const QString &arg = AArguments.at(i);
        if (optionsEnded || arg.size() < 2 || arg.at(0) != QLatin1Char('-')) {
            result.Ignored << arg;
            continue;
        }
        if (arg == QLatin1String("--")) {
            optionsEnded = true;
            continue;
        }

        const TOptionSpec *option = nullptr;
        QString inlineValue;
        bool hasInlineValue = false;
        if (arg.startsWith(QLatin1String("--"))) {
            const int eq = arg.indexOf(QLatin1Char('='));
            option = FindLong(AOptions, arg.mid(2, eq < 0 ? -1 : eq - 2));
            if (eq >= 0) {
                hasInlineValue = true;
                inlineValue = arg.mid(eq + 1);
            }
        } else if (arg.size() == 2) {
            option = FindShort(AOptions, arg.at(1));
        }
        // An unknown option, or a value given to an option that takes none,
        // is not the program's: it changes nothing.
        if (!option || (hasInlineValue && option->Value == TOptionValue::None)) {
            result.Ignored << arg;
            continue;
        }

        if (option->Value == TOptionValue::None) {
            give(*option);
            continue;
        }
        if (hasInlineValue) {
            give(*option);
            result.Values.insert(option->Name, inlineValue);
            continue;
        }
        const bool nextIsValue = i + 1 < AArguments.size()
                                 && (!AArguments.at(i + 1).startsWith(QLatin1Char('-'))
                                     || option->Value == TOptionValue::Required);
        if (nextIsValue) {
            give(*option);
            result.Values.insert(option->Name, AArguments.at(++i));
        } else if (option->Value == TOptionValue::Optional) {
            give(*option);
        } else {
            // A required value is missing: the option is not given.
            result.Ignored << arg;
        }
    }
    return result;
}

TCommandLine ParseCommandLine(int argc, char **argv)
{
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    return ParseCommandLine(args);
}

QString VersionText()
{
    return QStringLiteral("zedede " ZEDEDE_VERSION "\n"
                          "Asistente para la generación del pedido de certificado digital "
                          "de AFIP.\n");
}

QString HelpText(const std::vector<TOptionSpec> &AOptions)
{
    int width = 0;
    for (const TOptionSpec &o : AOptions)
        width = std::max(width, int(OptionColumn(o).size()));

    QString text = QStringLiteral(
        "Uso: zedede [OPCIÓN]\n"
        "Asistente para la generación del pedido de certificado digital de AFIP: con\n"
        "los datos de la organización y del operador genera, mediante OpenSSL, la\n"
        "clave privada, el pedido de certificado (.req) y la identificación de origen.\n"
        "\n"
        "Sin opciones abre la ventana del asistente.\n"
        "\n"
        "Opciones:\n");
    for (const TOptionSpec &o : AOptions)
        text += QStringLiteral("  ") + OptionColumn(o).leftJustified(width + 2) + o.Help
                + QLatin1Char('\n');
    if (FindLong(AOptions, QStringLiteral("verificar"))
        && FindLong(AOptions, QStringLiteral("sin-ventana")))
        text += QStringLiteral(
            "\n"
            "Con --verificar ARCHIVO la ventana muestra qué es ARCHIVO y, si es un\n"
            "certificado, sus datos, su vigencia y qué clave privada le corresponde. Con\n"
            "--verificar ARCHIVO --sin-ventana escribe lo mismo en la salida estándar y\n"
            "termina con 0 (certificado válido por más de 30 días y su clave encontrada),\n"
            "1 (se encontró un problema) o 2 (no se pudo leer ARCHIVO).\n");
    if (FindLong(AOptions, QStringLiteral("certificados")))
        text += QStringLiteral(
            "\n"
            "Con --certificados CARPETA --sin-ventana escribe, para cada clave de\n"
            "CARPETA y sus subcarpetas, con su pedido y su certificado: estado, CUIT,\n"
            "titular, organización, ambiente, vencimiento y días que faltan. Con\n"
            "--formato csv lo escribe en CSV (UTF-8 con marca de orden de bytes, campos\n"
            "separados por «;»), con la línea de títulos\n"
            "estado;cuit;titular;organizacion;ambiente;vence;dias;clave;pedido;certificado\n"
            "Los estados: vigente, por-vencer, vencido, reemplazado, pedido-pendiente,\n"
            "sin-clave, clave-dañada, no-emitido-por-afip, ilegible. Termina con 0 (nada\n"
            "que atender), 1 (algo por vencer, vencido, sin clave, con la clave dañada o\n"
            "no emitido por la A.F.I.P.) o 2 (no se pudo leer CARPETA).\n");
    return text;
}

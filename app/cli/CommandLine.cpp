#include "CommandLine.h"

#include "ProgramArguments.h"

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

// Options that Qt's application object takes for itself ("-platform
// offscreen", "-style=fusion", also written with "--"); true for those that
// take the following argument as their value.
bool IsQtOption(const QString &AArgument, bool &ATakesValue)
{
    static const QSet<QString> withValue = {
        QStringLiteral("platform"),    QStringLiteral("platformpluginpath"),
        QStringLiteral("platformtheme"), QStringLiteral("plugin"),
        QStringLiteral("qwindowgeometry"), QStringLiteral("geometry"),
        QStringLiteral("qwindowicon"), QStringLiteral("icon"),
        QStringLiteral("qwindowtitle"), QStringLiteral("title"),
        QStringLiteral("session"),     QStringLiteral("display"),
        QStringLiteral("name"),        QStringLiteral("style"),
        QStringLiteral("stylesheet"),  QStringLiteral("visual"),
        QStringLiteral("ncols"),       QStringLiteral("qmljsdebugger")};
    static const QSet<QString> alone = {
        QStringLiteral("reverse"), QStringLiteral("nograb"), QStringLiteral("dograb"),
        QStringLiteral("sync"),    QStringLiteral("widgetcount"), QStringLiteral("testability"),
        QStringLiteral("cmap")};
    QString name = AArgument.mid(AArgument.startsWith(QLatin1String("--")) ? 2 : 1);
    const int eq = name.indexOf(QLatin1Char('='));
    const bool inlineValue = eq >= 0;
    if (inlineValue)
        name.truncate(eq);
    if (withValue.contains(name)) {
        ATakesValue = !inlineValue && name != QLatin1String("qmljsdebugger");
        return true;
    }
    ATakesValue = false;
    return !inlineValue && alone.contains(name);
}

int Priority(TStartAction AAction)
{
    switch (AAction) {
    case TStartAction::UsageError: return 6;
    case TStartAction::Help: return 5;
    case TStartAction::Version: return 4;
    case TStartAction::Reminders: return 3;
    case TStartAction::RenewWithoutWindow:
    case TStartAction::SwitchWithoutWindow:
    case TStartAction::BookWithoutWindow:
    case TStartAction::BookReminder: return 3;
    case TStartAction::Renew: return 2;
    case TStartAction::VerifyWithoutWindow: return 2;
    case TStartAction::Book: return 1;
    case TStartAction::Verify: return 1;
    case TStartAction::Window: break;
    }
    return 0;
}

QString Quoted(const QString &AArgument)
{
    return QStringLiteral("«%1»").arg(AArgument);
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
        {QStringLiteral("clave"), QChar(), TOptionValue::Required, QStringLiteral("CLAVE"),
         QStringLiteral("la clave del certificado (con --verificar)"),
         TStartAction::Window},
        {QStringLiteral("avisos"), QChar(), TOptionValue::Required,
         QStringLiteral("ACCIÓN CARPETA"),
         QStringLiteral("aviso diario de vencimiento: activar, desactivar"),
         TStartAction::Reminders},
        {QStringLiteral("renovar"), QChar(), TOptionValue::Required, QStringLiteral("CERTIFICADO"),
         QStringLiteral("renueva CERTIFICADO con el asistente"),
         TStartAction::Renew},
        {QStringLiteral("empresa"), QChar(), TOptionValue::Required, QStringLiteral("NOMBRE"),
         QStringLiteral("razón social (--renovar --sin-ventana)"), TStartAction::Window},
        {QStringLiteral("mail"), QChar(), TOptionValue::Required, QStringLiteral("DIRECCION"),
         QStringLiteral("e-mail (--renovar --sin-ventana)"), TStartAction::Window},
        {QStringLiteral("usar-certificado"), QChar(), TOptionValue::Required,
         QStringLiteral("CERT"),
         QStringLiteral("pone en uso el certificado renovado"),
         TStartAction::Verify},
        {QStringLiteral("certificados"), QChar(), TOptionValue::Optional, QStringLiteral("CARPETA"),
         QStringLiteral("abre la ventana «Mis certificados» en CARPETA"), TStartAction::Book},
        {QStringLiteral("avisar"), QChar(), TOptionValue::None, QString(),
         QStringLiteral("avisa en el escritorio (con --certificados)"),
         TStartAction::Window},
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
    auto refuse = [&result](const QString &AReason) {
        if (result.Error.isEmpty())
            result.Error = AReason;
        result.Action = TStartAction::UsageError;
    };
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
            result.Positional << arg;
            continue;
        }
        if (arg == QLatin1String("--")) {
            optionsEnded = true;
            continue;
        }

        const TOptionSpec *option = nullptr;
        QString inlineValue;
        bool hasInlineValue = false;
        QString written = arg; // the option as written, without its value
        if (arg.startsWith(QLatin1String("--"))) {
            const int eq = arg.indexOf(QLatin1Char('='));
            option = FindLong(AOptions, arg.mid(2, eq < 0 ? -1 : eq - 2));
            if (eq >= 0) {
                hasInlineValue = true;
                inlineValue = arg.mid(eq + 1);
                written = arg.left(eq);
            }
        } else if (arg.size() == 2) {
            option = FindShort(AOptions, arg.at(1));
        }
        if (!option) {
            bool qtValue = false;
            if (IsQtOption(arg, qtValue)) {
                result.Ignored << arg;
                if (qtValue && i + 1 < AArguments.size())
                    result.Ignored << AArguments.at(++i);
                continue;
            }
            refuse(QStringLiteral("la opción %1 no existe.").arg(Quoted(written)));
            continue;
        }
        if (hasInlineValue && option->Value == TOptionValue::None) {
            refuse(QStringLiteral("la opción %1 no lleva valor.").arg(Quoted(written)));
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
            refuse(QStringLiteral("la opción %1 necesita un valor (%2).")
                       .arg(Quoted(written), option->ValueName));
        }
    }
    // The book's daily check is done without a window.
    if (result.Given.contains(QStringLiteral("certificados"))
        && result.Given.contains(QStringLiteral("avisar"))
        && Priority(TStartAction::BookReminder) > Priority(result.Action))
        result.Action = TStartAction::BookReminder;
    // With --sin-ventana a renewal, a switch and the book are done without a
    // window.
    if (result.Given.contains(QStringLiteral("sin-ventana"))) {
        const TStartAction windowless =
            result.Given.contains(QStringLiteral("renovar")) ? TStartAction::RenewWithoutWindow
            : result.Given.contains(QStringLiteral("usar-certificado"))
                ? TStartAction::SwitchWithoutWindow
            : result.Given.contains(QStringLiteral("certificados"))
                ? TStartAction::BookWithoutWindow
                : TStartAction::Window;
        if (Priority(windowless) > Priority(result.Action))
            result.Action = windowless;
    }
    return result;
}

TCommandLine ParseCommandLine(int argc, char **argv)
{
    return ParseCommandLine(ProgramArguments(argc, argv));
}

QString VersionText()
{
    return QStringLiteral("zedede " ZEDEDE_VERSION "\n"
                          "Asistente para la generación del pedido de certificado digital "
                          "de AFIP.\n");
}

QString UsageLine()
{
    return QStringLiteral("Uso: zedede [OPCIÓN]");
}

QString UsageErrorText(const QString &AReason)
{
    return QStringLiteral("zedede: %1\n%2\nPruebe «zedede --help» para ver las opciones.\n")
        .arg(AReason, UsageLine());
}

QString HelpText(const std::vector<TOptionSpec> &AOptions)
{
    int width = 0;
    for (const TOptionSpec &o : AOptions)
        width = std::max(width, int(OptionColumn(o).size()));

    QString text = UsageLine() + QStringLiteral(
        "\n"
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
            "certificado, sus datos, quién lo emitió (la firma se comprueba con las claves\n"
            "públicas de la A.F.I.P.), su vigencia y qué clave privada le corresponde: se\n"
            "buscan los archivos Privada_*.key de su carpeta y de «Mis certificados», y\n"
            "luego sus copias conservadas (.bak); --clave CLAVE agrega una clave de\n"
            "cualquier nombre. No hace falta el programa openssl.\n"
            "Con --verificar ARCHIVO --sin-ventana escribe lo encontrado en la salida\n"
            "estándar (los errores, en la de errores) y termina con:\n"
            "  0  certificado emitido por la A.F.I.P., válido por más de 30 días, con su\n"
            "     clave privada sana\n"
            "  1  se encontró un problema (otro emisor, firma que no verifica, vencido o\n"
            "     por vencer, clave que no corresponde o dañada, no es un certificado)\n"
            "  2  no se pudo leer ARCHIVO o algo que la verificación necesita (por ejemplo,\n"
            "     las claves públicas de la A.F.I.P.)\n");
    if (FindLong(AOptions, QStringLiteral("renovar")))
        text += QStringLiteral(
            "\n"
            "Con --renovar CERTIFICADO los archivos nuevos van a la carpeta\n"
            "«Renovación AAAA-MM-DD» junto al certificado; la clave y el certificado en\n"
            "uso no se tocan. Con --sin-ventana la contraseña se lee de la entrada\n"
            "estándar. --usar-certificado CERT --sin-ventana pone en uso el\n"
            "certificado CERT de esa carpeta y guarda los anteriores en\n"
            "Anteriores/AAAA-MM-DD.\n"
            "Ambas terminan con 0, 1 (un problema) o 2 (no se pudo leer el certificado\n"
            "o no hay OpenSSL).\n");
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

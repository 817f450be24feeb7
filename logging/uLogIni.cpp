#include "uLogIni.h"

#include "AnsiCodePage.h"
#include "Exception.h"
#include "uVmPaths.h"

#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QPair>
#include <QRegularExpression>
#include <QSaveFile>

namespace {

const QString kCrLf = QStringLiteral("\r\n");
constexpr int kBoxWidth = 77;

// An INI file held in memory. Lines are trimmed; comments (";") and lines
// before the first section are skipped; section names compare without
// regard to case and the first section of a name is the one that counts.
class TIniText
{
public:
    explicit TIniText(const QStringList &Lines)
    {
        TSection *current = nullptr;
        for (const QString &raw : Lines) {
            const QString line = raw.trimmed();
            if (line.isEmpty() || line.startsWith(QLatin1Char(';')))
                continue;
            if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
                FSections.append(TSection{line.mid(1, line.size() - 2), {}});
                current = &FSections.last();
                continue;
            }
            if (!current)
                continue;
            const int eq = line.indexOf(QLatin1Char('='));
            if (eq < 0)
                continue;
            const QString key = line.left(eq).trimmed();
            if (!key.isEmpty())
                current->Keys.append({key, line.mid(eq + 1).trimmed()});
        }
    }

    bool HasSection(const QString &Name) const { return Find(Name) != nullptr; }

    // name=value lines of the section, keys in file order, the first value
    // of a key written twice.
    QString SectionLines(const QString &Name) const
    {
        const TSection *s = Find(Name);
        if (!s)
            return QString();
        QString result;
        QList<QString> seen;
        for (const auto &k : s->Keys) {
            bool duplicate = false;
            for (const QString &n : seen)
                if (QString::compare(n, k.first, Qt::CaseInsensitive) == 0) {
                    duplicate = true;
                    break;
                }
            if (duplicate)
                continue;
            seen.append(k.first);
            result += k.first + QLatin1Char('=') + k.second + kCrLf;
        }
        return result;
    }

private:
    struct TSection
    {
        QString Name;
        QList<QPair<QString, QString>> Keys;
    };

    const TSection *Find(const QString &Name) const
    {
        for (const TSection &s : FSections)
            if (QString::compare(s.Name, Name, Qt::CaseInsensitive) == 0)
                return &s;
        return nullptr;
    }

    QList<TSection> FSections;
};

QStringList SplitLines(const QString &Text)
{
    static const QRegularExpression breaks(QStringLiteral("\r\n|\r|\n"));
    QStringList lines = Text.split(breaks);
    // A final line break ends the last line rather than opening a new one.
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

// Reads the file as lines; raises when it exists but cannot be read.
QStringList LoadLines(const QString &FileName)
{
    QFile file(FileName);
    if (QFileInfo(FileName).isDir() || !file.open(QIODevice::ReadOnly))
        throw Exception(QStringLiteral("No se puede leer el archivo de configuración \"%1\".")
                            .arg(FileName));
    return SplitLines(FromAnsi(file.readAll()));
}

bool SaveLines(const QString &FileName, const QStringList &Lines)
{
    QSaveFile file(FileName);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QString text;
    for (const QString &l : Lines)
        text += l + kCrLf;
    const QByteArray bytes = ToAnsi(text);
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

QString BoxLine(const QString &Text)
{
    return Text.leftJustified(kBoxWidth - 2, QLatin1Char(' ')) + QStringLiteral("**");
}

} // namespace

TLogIni::TLogIni(const QString &aProcessName, const QString &aProcessID)
    : FProcessName(aProcessName), FProcessID(aProcessID)
{
    // Without the maker's folder the name stands alone, relative to the
    // current directory.
    FConfigFile = TVmPaths::ApplicationData_Vemra(QString()) + QStringLiteral("Log.Ini");
}

QStringList TLogIni::GetHelpText()
{
    static const char *const box[] = {
        "",
        "**  Este INI se crea automáticamente en caso de no existir.",
        "**  Es usado para configurarr los mensajes de Log generados",
        "**  usando LogFile.",
        "",
        "**  Se creará una sección con la etiqueta [GLOBAL] por defecto para la",
        "**  configuración de todos los mensajes.",
        "",
        "**  Esta creación es automática y se realizará en el momento en que",
        "**  la aplicación grabe por primera vez. Se crearán cada una de las",
        "**  variables con los valores por defecto.",
        "",
        "**  Existe la posibilidad de especializar la configuración de los",
        "**  mensajes de Log.",
        "**  La primera es creando una nueva seccion cuya etiqueta sea el nombre",
        "**  del proceso que está logueando.",
        "**  La segunda, mas especializada, es creando una seccion cuya etiqueta",
        "**  sea el nombre proceso que está logueando seguido de \"_\" y el",
        "**  identificador del proceso (ID en el menu ó ID del proceso)",
        "**  Por ejemplo",
        "**  [GLOBAL]",
        "**    <configuración global>",
        "**  [KO_CN0001]",
        "**    <configuración del proceso>",
        "**  [KO_CN0001_1626]",
        "**    <configuración para ABM de Cuentas Contables>",
        "**  [dllhost_DOvaZizedoravuzi01R]",
        "**    <configuración para el componente DOvaZizedoravuzi01R",
        "**     de Dramel_CNABM01>",
        "",
        "",
        "** Las opciones de configuración pueden ser:",
        "",
        "** Debug_Activo=1 (valor por defecto)",
        "**   - Habilita(1) ó  Deshabilita(0) la generación del log.",
        "",
        "** Archivo_Texto_Nivel=1 (valor por defecto)",
        "**   - Indica el nivel a generar en el archivo de texto.",
        "**     (Ver tabla de valores de debug)",
        "",
        "** Archivo_Texto_Mostrar_Usuario=0  (valor por defecto)",
        "**   - Agrega el \"dominio\\nombre de usuario\" de SO que corre",
        "**   - Muestra(1) ó no(0)",
        "",
        "** Archivo_Texto_Tamaño_Maximo=1024 (valor por defecto)",
        "**   - Indica el tamaño máximo del archivo de log en KB.",
        "**   - Cualquier valor entero positivo.",
        "",
        "** Archivo_Texto_Directorio=C:\\ProgramData\\Vemra\\Logs\\ (valor por defecto)",
        "**   C:\\ProgramData\\Vemra\\Logs\\ o equivalente según S.O.",
        "**   - Indica el directorio donde se guardara el archivo de texto",
        "**   - Cualquier directorio existente con permisos de escritura",
        "",
        "** Archivo_Texto_Nombre=\" \"  (valor por defecto)",
        "**   - Si no se especifica un nombre cada aplicación grabará un log con",
        "**     su nombre (por ej: App.Exe generará App.Log)",
        "**   - Si se especifica un nombre todas las aplicaciones grabarán en ese",
        "**     archivo (de acuerdo al alcance de la sección)",
        "",
        "** Archivo_Texto_Identacion=\" \"",
        "**   - Indica el texto (encerrado entre \") usado para identar cuando se",
        "**     usan logs de ltStart y ltDown",
        "",
        "**  Tabla de valores de debug",
    };
    static const char *const rows[] = {
        "**  | ltForced                  | 000000000000 | 0    |",
        "**  | ltError, ltFail           | 000000000001 | 1    |",
        "**  | ltStart, ltDown           | 000000000010 | 2    |",
        "**  | ltAudit                   | 000000000100 | 4    |",
        "**  | ltMsg                     | 000000001000 | 8    |",
        "**  | ltTCPIP                   | 000000010000 | 16   |",
        "**  | ltTech                    | 000000100000 | 32   |",
        "**  | ltTime                    | 000001000000 | 64   |",
        "**  | ltTermLogIn, tTermLogOff  | 000010000000 | 128  |",
        "**  | ltAppIn, ltAppOff         | 000100000000 | 256  |",
        "**  | ltUserLogin, ltUserLogOff | 001000000000 | 512  |",
        "**  | ltCoLogin, ltCoLogOff     | 010000000000 | 1024 |",
        "**  | ltEventViewer             | 100000000000 | 2048 |",
    };
    static const char *const tail[] = {
        "",
        "**  Ejemplo de uso:",
        "**    Archivo_Texto_Nivel=12, es decir",
        "**      ltAudit(4) + ltMsg(8)",
        "",
    };
    const QString frame = QStringLiteral("**  + ------------------------------------------------+");
    const QString separator = QStringLiteral("**  | --------------------------|--------------|------|");

    auto box_line = [](const char *text) {
        const QString t = QString::fromUtf8(text);
        return BoxLine(t.isEmpty() ? QStringLiteral("**") : t);
    };

    QStringList lines;
    lines << QStringLiteral("[LogFileHelp]") << QString(kBoxWidth, QLatin1Char('*'));
    for (const char *t : box)
        lines << box_line(t);
    lines << BoxLine(frame);
    bool first = true;
    for (const char *r : rows) {
        if (!first)
            lines << BoxLine(separator);
        first = false;
        lines << box_line(r);
    }
    lines << BoxLine(frame);
    for (const char *t : tail)
        lines << box_line(t);
    lines << QString(kBoxWidth, QLatin1Char('*'));
    return lines;
}

QStringList TLogIni::GetDefaultSection() const
{
    QStringList lines{QStringLiteral("[GLOBAL]"), QStringLiteral("Debug_Activo=1")};
    if (FOnGetDefConf)
        lines << SplitLines(FOnGetDefConf());
    return lines;
}

void TLogIni::CreateDefaultFile()
{
    try {
        SaveLines(FConfigFile, GetHelpText() + GetDefaultSection());
    } catch (...) {
        // The file then simply does not exist.
    }
}

bool TLogIni::AddToFile(const QStringList &aText, bool aInFront)
{
    try {
        if (!QFileInfo::exists(FConfigFile))
            return false;
        const QStringList content = LoadLines(FConfigFile);
        return SaveLines(FConfigFile, aInFront ? aText + content : content + aText);
    } catch (...) {
        return false;
    }
}

QString TLogIni::ReadIni()
{
    QString result;
    if (!QFileInfo::exists(FConfigFile))
        CreateDefaultFile();
    if (!QFileInfo::exists(FConfigFile))
        return result;

    TIniText ini(LoadLines(FConfigFile));
    bool changed = false;
    if (!ini.HasSection(QStringLiteral("LogFileHelp")))
        changed = AddToFile(GetHelpText(), true) || changed;
    if (!ini.HasSection(QStringLiteral("GLOBAL")))
        changed = AddToFile(GetDefaultSection(), false) || changed;
    // Read again so that the sections just added count at once.
    if (changed)
        ini = TIniText(LoadLines(FConfigFile));

    result += ini.SectionLines(QStringLiteral("GLOBAL"));
    if (!FProcessName.isEmpty()) {
        result += ini.SectionLines(FProcessName);
        if (!FProcessID.isEmpty())
            result += ini.SectionLines(FProcessName + QLatin1Char('_') + FProcessID);
    }
    return result;
}

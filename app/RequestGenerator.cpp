#include "RequestGenerator.h"

#include "AnsiCodePage.h"
#include "Exception.h"
#include "OpenSSLSetup.h"
#include "Process.h"
#include "ProfileFile.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <cerrno>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString kReqDn = QStringLiteral("req_distinguished_name");
const QString kReqAttributes = QStringLiteral("req_attributes");

// Reason texts for the errors a file creation meets.
QString SystemReason(int Error)
{
    switch (Error) {
    case EACCES:
    case EPERM: return QStringLiteral("Acceso denegado.");
    case ENOENT:
    case ENOTDIR: return QStringLiteral("El sistema no puede encontrar la ruta especificada.");
    case EISDIR: return QStringLiteral("Acceso denegado.");
    case EROFS: return QStringLiteral("El medio está protegido contra escritura.");
    case ENOSPC:
    case EDQUOT: return QStringLiteral("No hay espacio suficiente en el disco.");
    case EWOULDBLOCK:
        return QStringLiteral("El proceso no tiene acceso al archivo porque está siendo "
                              "utilizado por otro proceso.");
    case ENAMETOOLONG: return QStringLiteral("El nombre del archivo es demasiado largo.");
    default: return QStringLiteral("Error del sistema %1.").arg(Error);
    }
}

bool WriteAll(int Fd, const QByteArray &Bytes)
{
    qint64 done = 0;
    while (done < Bytes.size()) {
        const ssize_t n = ::write(Fd, Bytes.constData() + done, size_t(Bytes.size() - done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        done += n;
    }
    return true;
}

QString WithDelimiter(const QString &Folder)
{
    return Folder.endsWith(QLatin1Char('/')) ? Folder : Folder + QLatin1Char('/');
}

QString FileNamePart(const QString &Path)
{
    return Path.mid(Path.lastIndexOf(QLatin1Char('/')) + 1);
}

QString FolderPart(const QString &Path)
{
    return Path.left(Path.lastIndexOf(QLatin1Char('/')) + 1);
}

bool Exists(const QString &Path)
{
    const QFileInfo fi(Path);
    return fi.exists() || fi.isSymLink();
}

// Copies Source over Target byte for byte; Target is owner-only. Failures
// are left to the profile writes that follow.
void CopyOwnerOnly(const QString &Source, const QString &Target)
{
    QFile in(Source);
    if (!in.open(QIODevice::ReadOnly))
        return;
    const QByteArray bytes = in.readAll();
    const int fd = ::open(QFile::encodeName(Target).constData(),
                          O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0)
        return;
    ::fchmod(fd, 0600);
    WriteAll(fd, bytes);
    ::close(fd);
}

// True when the openssl at Program is 3.x or later, which writes PKCS#8
// keys unless told "-traditional".
bool WritesPkcs8ByDefault(const QString &Program, const QString &Directory)
{
    QByteArray out;
    if (!ReadProgramOutput(Program, Directory, QStringLiteral("version"), 10000, out))
        return false;
    static const QRegularExpression re(QStringLiteral("^OpenSSL (\\d+)\\."));
    const auto m = re.match(QString::fromLatin1(out));
    return m.hasMatch() && m.captured(1).toInt() >= 3;
}

bool NonEmptyFile(const QString &Path)
{
    const QFileInfo fi(Path);
    return fi.isFile() && fi.size() > 0;
}

} // namespace

TCharSet FileNameChars()
{
    TCharSet set;
    for (int c = '0'; c <= '9'; ++c)
        set.set(c);
    for (int c = 'A'; c <= 'Z'; ++c)
        set.set(c);
    for (int c = 'a'; c <= 'z'; ++c)
        set.set(c);
    set.set('_');
    return set;
}

QByteArray KeepChars(const QByteArray &Text, const TCharSet &Chars)
{
    QByteArray result(Text.size(), '\0');
    int n = 0;
    for (const char c : Text) {
        if (Chars.test(static_cast<unsigned char>(c)))
            result[n++] = c;
    }
    result.truncate(n);
    return result;
}

void SaveBytesToFile(const QString &FileName, const QByteArray &Bytes, bool Append)
{
    const QByteArray path = QFile::encodeName(FileName);
    int fd = -1;
    if (Append && Exists(FileName)) {
        fd = ::open(path.constData(), O_RDWR | O_APPEND | O_CLOEXEC);
        if (fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            const int err = errno;
            ::close(fd);
            errno = err;
            fd = -1;
        }
        if (fd < 0)
            throw Exception(QStringLiteral("Cannot open file \"%1\". %2")
                                .arg(FileName, SystemReason(errno)));
    } else {
        fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
        if (fd < 0)
            throw Exception(QStringLiteral("Cannot create file \"%1\". %2")
                                .arg(FileName, SystemReason(errno)));
    }
    const bool ok = WriteAll(fd, Bytes);
    const int err = errno;
    ::close(fd);
    if (!ok)
        throw Exception(QStringLiteral("Cannot create file \"%1\". %2")
                            .arg(FileName, SystemReason(err)));
}

QString CUITDigits(const QString &MaskedCUIT)
{
    QString digits = MaskedCUIT;
    digits.remove(QLatin1Char('-'));
    return digits;
}

QString RequestSuffix(const QString &NombreEmpresa, const QString &Operador)
{
    const TCharSet chars = FileNameChars();
    return QString::fromLatin1(KeepChars(ToAnsi(NombreEmpresa), chars)) + QLatin1Char('_')
           + QString::fromLatin1(KeepChars(ToAnsi(Operador), chars));
}

TRequestNames RequestNames(const TRequestData &Data, const QString &OpenSSLDir)
{
    TRequestNames n;
    n.SourceConfig = OpenSSLDir + QStringLiteral("openssl.cnf");
    n.ConfigCopy = OpenSSLDir + QStringLiteral("vemra.cnf");
    n.OpenSSLProgram = WithDelimiter(OpenSSLDir) + QStringLiteral("openssl");
    n.Suffix = RequestSuffix(Data.NombreEmpresa, Data.Operador);
    n.Prefix = WithDelimiter(Data.Carpeta);
    n.KeyFile = n.Prefix + QStringLiteral("Privada_") + n.Suffix + QStringLiteral(".key");
    n.RequestFile = n.Prefix + QStringLiteral("Pedido_") + n.Suffix + QStringLiteral(".req");
    n.SourceFile = n.Prefix + QStringLiteral("Source_") + n.Suffix + QStringLiteral(".txt");
    return n;
}

QString OriginLine(const TRequestData &Data)
{
    return QStringLiteral("C=AR,O=%1,serialNumber=CUIT %2,CN=%3,emailAddress=%4")
        .arg(Data.NombreEmpresa, CUITDigits(Data.CUIT), Data.Operador, Data.Mail);
}

QString ConfigValue(const QString &Value)
{
    static const QString kSpecial = QStringLiteral("\\#$\"'`");
    bool special = !Value.isEmpty()
                   && (Value.front().unicode() <= 32 || Value.back().unicode() <= 32);
    for (const QChar c : Value) {
        if (special)
            break;
        special = kSpecial.contains(c);
    }
    if (!special)
        return Value;
    QString quoted = Value;
    quoted.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    quoted.replace(QLatin1Char('"'), QStringLiteral("\\\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

void WriteConfigFile(const QString &SourceFile, const QString &TargetFile,
                     const TRequestData &Data)
{
    if (!QFileInfo::exists(SourceFile))
        throw Exception(
            QStringLiteral("No existe el archivo de configuración %1").arg(SourceFile));
    CopyOwnerOnly(SourceFile, TargetFile);

    const Exception unableToWrite(QStringLiteral("Unable to write to %1").arg(TargetFile));
    const auto write = [&](const QString &Section, const char *Key, const QString &Value) {
        if (!ProfileWriteString(TargetFile, Section, QLatin1String(Key), ConfigValue(Value)))
            throw unableToWrite;
    };

    if (!ProfileDeleteSection(TargetFile, kReqDn))
        throw unableToWrite;
    write(kReqDn, "countryName", QStringLiteral("Nombre del país (AR)"));
    write(kReqDn, "countryName_default", QStringLiteral("AR"));
    write(kReqDn, "countryName_min", QStringLiteral("2"));
    write(kReqDn, "countryName_max", QStringLiteral("2"));
    write(kReqDn, "serialNumber", QStringLiteral("Ingrese su CUIT"));
    write(kReqDn, "serialNumber_default", QStringLiteral("CUIT ") + CUITDigits(Data.CUIT));
    write(kReqDn, "organizationName", QStringLiteral("Ingrese el nombre de su empresa"));
    write(kReqDn, "organizationName_default", Data.NombreEmpresa);
    write(kReqDn, "commonName", QStringLiteral("Ingrese su nombre"));
    write(kReqDn, "commonName_default", Data.Operador);
    write(kReqDn, "commonName_max", QStringLiteral("64"));
    write(kReqDn, "emailAddress", QStringLiteral("Ingrese su direccion de mail"));
    write(kReqDn, "emailAddress_default", Data.Mail);
    write(kReqDn, "emailAddress_max", QStringLiteral("64"));

    if (!ProfileDeleteSection(TargetFile, kReqAttributes))
        throw unableToWrite;
    write(kReqAttributes, "challengePassword",
          QStringLiteral("Ingrese una password (minimo 4 caracteres)"));
    write(kReqAttributes, "challengePassword_default", Data.Password);
    write(kReqAttributes, "challengePassword_min", QStringLiteral("4"));
    write(kReqAttributes, "challengePassword_max", QStringLiteral("20"));
}

QString KeepExistingFile(const QString &FileName, const QDateTime &Stamp)
{
    if (!Exists(FileName))
        return QString();
    const QString base = FileName + QLatin1Char('.') + Stamp.toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString target = base + QStringLiteral(".bak");
    for (int i = 2; Exists(target); ++i)
        target = base + QStringLiteral("-%1.bak").arg(i);
    if (::rename(QFile::encodeName(FileName).constData(),
                 QFile::encodeName(target).constData()) != 0)
        throw Exception(QStringLiteral("No se pudo conservar el archivo existente %1: %2")
                            .arg(FileName, SystemReason(errno)));
    return target;
}

TRequestResult GenerateRequest(const TRequestData &Data)
{
    const QString dir = GetOpenSSLDir();
    const TRequestNames names = RequestNames(Data, dir);

    WriteConfigFile(names.SourceConfig, names.ConfigCopy, Data);

    if (!QFileInfo::exists(names.OpenSSLProgram))
        throw Exception(QStringLiteral("No se encontró el archivo %1").arg(names.OpenSSLProgram));

    // Files of an earlier generation (a key may already be certified) are
    // renamed out of the way before openssl can overwrite them.
    TRequestResult result;
    const QDateTime stamp = QDateTime::currentDateTime();
    for (const QString &file : {names.KeyFile, names.RequestFile, names.SourceFile}) {
        const QString kept = KeepExistingFile(file, stamp);
        if (!kept.isEmpty())
            result.KeptFiles << kept;
    }

    // The key is read by peers in the traditional PEM form.
    const QString traditional = WritesPkcs8ByDefault(names.OpenSSLProgram, dir)
                                    ? QStringLiteral("-traditional ")
                                    : QString();
    TExecuteOutcome outcome;
    const QString genrsa = QStringLiteral("genrsa ") + traditional + QStringLiteral("-out ")
                           + QuoteArgument(names.KeyFile) + QStringLiteral(" 4096");
    if (!ExecuteAndWait(names.OpenSSLProgram, dir, genrsa, outcome) || !outcome.Succeeded()
        || !NonEmptyFile(names.KeyFile))
        throw Exception(QStringLiteral("fallo genrsa"));
    ::chmod(QFile::encodeName(names.KeyFile).constData(), 0600);

    const QString req = QStringLiteral("req -new -key ") + QuoteArgument(names.KeyFile)
                        + QStringLiteral(" -config vemra.cnf -out ")
                        + QuoteArgument(names.RequestFile) + QStringLiteral(" -batch");
    if (!ExecuteAndWait(names.OpenSSLProgram, dir, req, outcome) || !outcome.Succeeded()
        || !NonEmptyFile(names.RequestFile))
        throw Exception(QStringLiteral("fallo req"));

    SaveBytesToFile(names.SourceFile, ToAnsi(OriginLine(Data)), false);

    result.KeyFile = names.KeyFile;
    result.RequestFile = names.RequestFile;
    result.SourceFile = names.SourceFile;
    result.FilePrivada = FileNamePart(names.KeyFile);
    result.FilePedido = FileNamePart(names.RequestFile);
    result.FileSource = FileNamePart(names.SourceFile);
    result.CarpetaPedido = FolderPart(names.RequestFile);
    return result;
}

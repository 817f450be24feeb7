#include "RequestGenerator.h"

#include "AnsiCodePage.h"
#include "Exception.h"
#include "OpenSSLSetup.h"
#include "Process.h"
#include "ProfileFile.h"
#include "RequestCheck.h"
#include "uVmWriteToLog.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
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

// A fresh name beside Path for a file written before it takes Path's place.
QString TemporaryName(const QString &Path)
{
    return Path + QStringLiteral(".%1.tmp").arg(QRandomGenerator::system()->generate(), 8, 16,
                                                 QLatin1Char('0'));
}

// Creates Path, which must not exist yet (a symbolic link there is not
// followed), owner-only, holding Bytes. False with errno set on failure; a
// partly written file is removed.
bool WriteNewPrivateFile(const QString &Path, const QByteArray &Bytes)
{
    const QByteArray name = QFile::encodeName(Path);
    const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                          0600);
    if (fd < 0)
        return false;
    bool ok = ::fchmod(fd, 0600) == 0 && WriteAll(fd, Bytes);
    int err = errno;
    if (::close(fd) != 0 && ok) {
        ok = false;
        err = errno;
    }
    if (!ok) {
        ::unlink(name.constData());
        errno = err;
    }
    return ok;
}

// Makes an existing regular file owner-only; a symbolic link is left alone.
void MakePrivate(const QString &Path)
{
    const int fd = ::open(QFile::encodeName(Path).constData(),
                          O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return;
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode))
        ::fchmod(fd, 0600);
    ::close(fd);
}

void RemoveFile(const QString &Path)
{
    if (!Path.isEmpty())
        ::unlink(QFile::encodeName(Path).constData());
}

// Files removed when the generation does not get to keep them.
class TTemporaryFiles
{
public:
    ~TTemporaryFiles()
    {
        for (const QString &f : FFiles)
            RemoveFile(f);
    }
    QString Add(const QString &Path)
    {
        FFiles << Path;
        return Path;
    }
    void Keep(const QString &Path) { FFiles.removeAll(Path); }

private:
    QStringList FFiles;
};

QString Redacted(QString Text, const QString &Secret)
{
    if (!Secret.isEmpty())
        Text.replace(Secret, QStringLiteral("********"));
    return Text;
}

// "51 segundos", "1 segundo", "0,3 segundos".
QString Seconds(qint64 Ms)
{
    if (Ms == 1000)
        return QStringLiteral("1 segundo");
    const QString n = Ms % 1000 == 0 ? QString::number(Ms / 1000)
                                     : QString::number(Ms / 1000.0, 'f', 1).replace('.', ',');
    return n + QStringLiteral(" segundos");
}

// One OpenSSL step ("fallo genrsa", "fallo req") with its time limit: every
// run of the step shares the limit of one run of ExecuteAndWait.
class TOpenSSLStep
{
public:
    TOpenSSLStep(const QString &Message, const QString &Program, const QString &Directory,
                 const QString &Password)
        : FMessage(Message), FProgram(Program), FDirectory(Directory), FPassword(Password)
    {
        const TExecuteWaits waits = ExecuteWaits();
        FLimit = qint64(waits.First) + qint64(waits.Second);
        FClock.start();
    }

    // Runs openssl with Parameters; a run that cannot be started, does not
    // end within the step's limit or does not exit with 0 fails the step
    // (with Meaning, when given, as what a non-zero exit means).
    QByteArray Run(const QString &Parameters, bool KeepErrors = true,
                   const QString &Meaning = QString())
    {
        TExecuteOptions options;
        options.StopIfAbandoned = true;
        options.PrivateFiles = true;
        options.KeepErrors = KeepErrors;
        options.TimeLimit = std::max<qint64>(0, FLimit - FClock.elapsed());
        FParameters = Parameters;
        ExecuteAndWait(FProgram, FDirectory, Parameters, options, FOutcome);
        if (FOutcome.Cancelled)
            throw EAbort();
        if (!FOutcome.Started)
            Fail(QStringLiteral("No se pudo ejecutar OpenSSL: %1.").arg(FOutcome.StartError));
        if (!FOutcome.Ended)
            Fail(QStringLiteral("OpenSSL no terminó dentro del límite de %1; se lo detuvo.")
                     .arg(Seconds(FLimit)));
        if (!FOutcome.Exited)
            Fail(QStringLiteral("OpenSSL terminó de forma anormal."));
        if (FOutcome.ExitCode != 0 && !Meaning.isEmpty())
            Fail(QStringLiteral("%1 (OpenSSL terminó con el código %2).")
                     .arg(Meaning)
                     .arg(FOutcome.ExitCode));
        if (FOutcome.ExitCode != 0)
            Fail(QStringLiteral("OpenSSL terminó con el código %1.").arg(FOutcome.ExitCode));
        return FOutcome.Output;
    }

    // Fails the step for Problem, with the last run's command line and
    // output as the details.
    [[noreturn]] void Fail(const QString &Problem)
    {
        QString details = Problem;
        if (!FParameters.isEmpty()) {
            const QString output = LastLines(FOutcome.Output, 20);
            details += output.isEmpty() ? QStringLiteral("\n\nOpenSSL no mostró ningún mensaje.")
                                        : QStringLiteral("\n\nSalida de OpenSSL:\n") + output;
            details += QStringLiteral("\n\nOrden: %1 %2\nCarpeta de trabajo: %3")
                           .arg(QuoteArgument(FProgram), FParameters, FDirectory);
        }
        throw Exception(FMessage, Redacted(details, FPassword));
    }

private:
    QString FMessage;
    QString FProgram;
    QString FDirectory;
    QString FPassword;
    qint64 FLimit = 0;
    QElapsedTimer FClock;
    QString FParameters;
    TExecuteOutcome FOutcome;
};

// True when the openssl at Program is 3.x or later, which writes PKCS#8
// keys unless told "-traditional". Asked within the key step's limit.
bool WritesPkcs8ByDefault(TOpenSSLStep &Step)
{
    static const QRegularExpression re(QStringLiteral("^OpenSSL (\\d+)\\."));
    const auto m = re.match(QString::fromLatin1(Step.Run(QStringLiteral("version"), false)));
    return m.hasMatch() && m.captured(1).toInt() >= 3;
}

void LogFailure(const Exception &Error)
{
    TManagedLogFile::Write(ltError, QStringLiteral("Generación del pedido de certificado: ")
                                        + Error.Message());
    for (const QString &line : Error.Details().split(QLatin1Char('\n'))) {
        if (!line.trimmed().isEmpty())
            TManagedLogFile::Write(ltError, QStringLiteral("  ") + line);
    }
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
    QFile source(SourceFile);
    if (!source.open(QIODevice::ReadOnly))
        throw Exception(QStringLiteral("No se pudo leer el archivo de configuración %1. %2")
                            .arg(SourceFile, SystemReason(EACCES)));
    const QByteArray bytes = source.readAll();

    // The copy is made under a fresh name and then takes the place of
    // TargetFile, so nothing is ever written through a link at TargetFile.
    const Exception unableToWrite(QStringLiteral("Unable to write to %1").arg(TargetFile));
    TTemporaryFiles temporary;
    const QString work = temporary.Add(TemporaryName(TargetFile));
    if (!WriteNewPrivateFile(work, bytes))
        throw unableToWrite;
    const auto write = [&](const QString &Section, const char *Key, const QString &Value) {
        if (!ProfileWriteString(work, Section, QLatin1String(Key), ConfigValue(Value),
                                TProfileText::Utf8))
            throw unableToWrite;
    };

    if (!ProfileDeleteSection(work, kReqDn))
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
    write(kReqDn, "commonName_max", QString::number(kCommonNameMaxBytes));
    write(kReqDn, "emailAddress", QStringLiteral("Ingrese su direccion de mail"));
    write(kReqDn, "emailAddress_default", Data.Mail);
    write(kReqDn, "emailAddress_max", QStringLiteral("64"));

    if (!ProfileDeleteSection(work, kReqAttributes))
        throw unableToWrite;
    write(kReqAttributes, "challengePassword",
          QStringLiteral("Ingrese una password (minimo 4 caracteres)"));
    write(kReqAttributes, "challengePassword_default", Data.Password);
    write(kReqAttributes, "challengePassword_min", QStringLiteral("4"));
    write(kReqAttributes, "challengePassword_max", QString::number(kChallengePasswordMaxBytes));

    if (::rename(QFile::encodeName(work).constData(), QFile::encodeName(TargetFile).constData())
        != 0)
        throw unableToWrite;
    temporary.Keep(work);
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
    MakePrivate(target);
    return target;
}

QStringList PlaceNewFiles(const QList<QPair<QString, QString>> &NewToFinal)
{
    const QDateTime stamp = QDateTime::currentDateTime();
    QStringList kept;        // .bak names, parallel to keptFinal
    QStringList keptFinal;
    QStringList placed;
    try {
        for (const auto &f : NewToFinal) {
            const QString bak = KeepExistingFile(f.second, stamp);
            if (!bak.isEmpty()) {
                kept << bak;
                keptFinal << f.second;
            }
            if (::rename(QFile::encodeName(f.first).constData(),
                         QFile::encodeName(f.second).constData())
                != 0)
                throw Exception(QStringLiteral("Cannot create file \"%1\". %2")
                                    .arg(f.second, SystemReason(errno)));
            placed << f.second;
        }
    } catch (...) {
        for (const QString &p : placed)
            RemoveFile(p);
        for (int i = 0; i < kept.size(); ++i)
            ::rename(QFile::encodeName(kept[i]).constData(),
                     QFile::encodeName(keptFinal[i]).constData());
        throw;
    }
    return kept;
}

namespace {

TRequestResult Generate(const TRequestData &Data, const TGenerationProgress &Progress)
{
    const QString dir = GetOpenSSLDir();
    const TRequestNames names = RequestNames(Data, dir);

    WriteConfigFile(names.SourceConfig, names.ConfigCopy, Data);

    if (!QFileInfo::exists(names.OpenSSLProgram))
        throw Exception(QStringLiteral("No se encontró el archivo %1").arg(names.OpenSSLProgram));

    // OpenSSL writes under fresh names; they take the usual names only when
    // everything has been read back. Nothing OpenSSL left running could
    // write under a name a later generation uses: it is stopped at its limit.
    TTemporaryFiles temporary;
    const QString newKey = temporary.Add(TemporaryName(names.KeyFile));
    const QString newRequest = temporary.Add(TemporaryName(names.RequestFile));
    const QString newSource = temporary.Add(TemporaryName(names.SourceFile));

    if (Progress)
        Progress(TGenerationStep::Key);
    TOpenSSLStep key(QStringLiteral("fallo genrsa"), names.OpenSSLProgram, dir, Data.Password);
    // The key is read by peers in the traditional PEM form.
    const QString traditional =
        WritesPkcs8ByDefault(key) ? QStringLiteral("-traditional ") : QString();
    key.Run(QStringLiteral("genrsa ") + traditional + QStringLiteral("-out ")
            + QuoteArgument(newKey) + QStringLiteral(" 4096"));
    const QString notAKey =
        QStringLiteral("El archivo que escribió OpenSSL no es una clave privada RSA de 4096 bits");
    const QByteArray keyText =
        key.Run(QStringLiteral("pkey -in ") + QuoteArgument(newKey)
                    + QStringLiteral(" -pubout -text_pub"),
                true, notAKey);
    const QByteArray publicKey = PemBlock(keyText, "PUBLIC KEY");
    if (publicKey.isEmpty() || PublicKeyBits(keyText) != 4096)
        key.Fail(notAKey + QLatin1Char('.'));

    if (Progress)
        Progress(TGenerationStep::Request);
    TOpenSSLStep req(QStringLiteral("fallo req"), names.OpenSSLProgram, dir, Data.Password);
    // "-utf8": the values in the configuration copy are UTF-8.
    req.Run(QStringLiteral("req -new -key ") + QuoteArgument(newKey)
            + QStringLiteral(" -config vemra.cnf -out ") + QuoteArgument(newRequest)
            + QStringLiteral(" -batch -utf8"));
    const QString notARequest =
        QStringLiteral("OpenSSL no pudo leer el pedido que había escrito");
    const QByteArray verified = req.Run(QStringLiteral("req -in ") + QuoteArgument(newRequest)
                                            + QStringLiteral(" -noout -verify -pubkey"),
                                        true, notARequest);
    if (!verified.contains("verify OK"))
        req.Fail(QStringLiteral("La firma del pedido que escribió OpenSSL no es válida."));
    if (PemBlock(verified, "PUBLIC KEY") != publicKey)
        req.Fail(QStringLiteral("La clave pública del pedido no es la de la clave privada "
                                "generada."));
    const QByteArray dump =
        req.Run(QStringLiteral("asn1parse -in ") + QuoteArgument(newRequest), true, notARequest);
    const QString difference = CompareRequest(ParseRequestDump(dump), Data);
    if (!difference.isEmpty())
        req.Fail(difference);

    if (!WriteNewPrivateFile(newSource, ToAnsi(OriginLine(Data))))
        throw Exception(QStringLiteral("Cannot create file \"%1\". %2")
                            .arg(names.SourceFile, SystemReason(errno)));

    TRequestResult result;
    result.KeptFiles = PlaceNewFiles({{newKey, names.KeyFile},
                                   {newRequest, names.RequestFile},
                                   {newSource, names.SourceFile}});
    for (const QString &f : {newKey, newRequest, newSource})
        temporary.Keep(f);

    result.KeyFile = names.KeyFile;
    result.RequestFile = names.RequestFile;
    result.SourceFile = names.SourceFile;
    result.FilePrivada = FileNamePart(names.KeyFile);
    result.FilePedido = FileNamePart(names.RequestFile);
    result.FileSource = FileNamePart(names.SourceFile);
    result.CarpetaPedido = FolderPart(names.RequestFile);
    return result;
}

} // namespace

TRequestResult GenerateRequest(const TRequestData &Data, const TGenerationProgress &Progress)
{
    try {
        return Generate(Data, Progress);
    } catch (const EAbort &) {
        throw;
    } catch (const Exception &e) {
        LogFailure(e);
        throw;
    }
}

#include "RequestGenerator.h"

#include "AnsiCodePage.h"
#include "Cuit.h"
#include "ErrorLog.h"
#include "ExitCleanup.h"
#include "GenerationLock.h"
#include "Pem.h"
#include "Exception.h"
#include "FileWrite.h"
#include "Paths.h"
#include "OpenSSLSetup.h"
#include "OpenSSLStep.h"
#include "Process.h"
#include "ProfileFile.h"
#include "ProgramSafety.h"
#include "RequestCheck.h"
#include "RequestFiles.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace {

const QString kReqDn = QStringLiteral("req_distinguished_name");
const QString kReqAttributes = QStringLiteral("req_attributes");

QString WithDelimiter(const QString &Folder) { return IncludeTrailingDelimiter(Folder); }

QString FileNamePart(const QString &Path)
{
    return Path.mid(Path.lastIndexOf(PathDelimiter()) + 1);
}

QString FolderPart(const QString &Path)
{
    return Path.left(Path.lastIndexOf(PathDelimiter()) + 1);
}

// True when the openssl at Program is 3.x or later, which writes PKCS#8
// keys unless told "-traditional". Asked within the key step's limit.
bool WritesPkcs8ByDefault(TOpenSSLStep &Step)
{
    static const QRegularExpression re(QStringLiteral("^OpenSSL (\\d+)\\."));
    const auto m = re.match(QString::fromLatin1(Step.Run(QStringLiteral("version"), false)));
    return m.hasMatch() && m.captured(1).toInt() >= 3;
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
    n.OpenSSLProgram = WithDelimiter(OpenSSLDir) + ProgramFileName(QStringLiteral("openssl"));
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
                            .arg(SourceFile, AccessDeniedReason()));
    const QByteArray bytes = source.readAll();

    // The copy is made under a fresh name and then takes the place of
    // TargetFile, so nothing is ever written through a link at TargetFile.
    const Exception unableToWrite(QStringLiteral("Unable to write to %1").arg(TargetFile));
    TTemporaryFiles temporary;
    const QString work = temporary.Add(TemporaryName(SharedFileWorkName(TargetFile)));
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

    TFileError moveError;
    if (!PutSharedFile(work, TargetFile, moveError))
        throw unableToWrite;
    temporary.Keep(work);
}

void BlankChallengePassword(const QString &ConfigFile)
{
    const QFileInfo fi(ConfigFile);
    if (fi.isSymLink() || !fi.isFile())
        return;
    TTemporaryFiles temporary;
    const QString work = temporary.Add(TemporaryName(SharedFileWorkName(ConfigFile)));
    QFile file(ConfigFile);
    TFileError error;
    const bool blanked = file.open(QIODevice::ReadOnly) && WriteNewPrivateFile(work, file.readAll())
                         && ProfileWriteString(work, kReqAttributes,
                                               QStringLiteral("challengePassword_default"),
                                               QString(), TProfileText::Utf8)
                         && PutSharedFile(work, ConfigFile, error);
    file.close();
    if (blanked)
        temporary.Keep(work);
    else
        QFile::remove(ConfigFile);
}

namespace {

// The names generation gives its files in a destination folder.
bool IsOutputName(const QString &Name)
{
    static const QRegularExpression re(
        QStringLiteral("^(Privada_[0-9A-Za-z_]*\\.key|Pedido_[0-9A-Za-z_]*\\.req|"
                       "Source_[0-9A-Za-z_]*\\.txt)$"));
    return re.match(Name).hasMatch();
}

// While it lives the configuration copy may hold the challenge password:
// a signal that ends the program removes it; at the end the password is
// blanked out of it, whatever happened meanwhile.
class TSecretConfig
{
public:
    explicit TSecretConfig(const QString &File) : FFile(File), FTicket(RemoveFileAtExit(File)) {}
    ~TSecretConfig()
    {
        BlankChallengePassword(FFile);
        ForgetExitFile(FTicket);
    }
    TSecretConfig(const TSecretConfig &) = delete;
    TSecretConfig &operator=(const TSecretConfig &) = delete;

private:
    QString FFile;
    int FTicket;
};

TRequestResult Generate(const TRequestData &Data, const TGenerationProgress &Progress)
{
    const QString dir = GetOpenSSLDir();
    const TRequestNames names = RequestNames(Data, dir);

    if (!QFileInfo::exists(names.SourceConfig))
        throw Exception(
            QStringLiteral("No existe el archivo de configuración %1").arg(names.SourceConfig));
    // One generation at a time writes this folder's vemra.cnf.
    const TGenerationLock lock(dir, QStringLiteral("Unable to write to %1").arg(names.ConfigCopy),
                               [&] {
                                   if (Progress)
                                       Progress(TGenerationStep::Waiting);
                               });
    RemoveLeftoverTemporaryFiles(dir, [](const QString &Name) {
        return Name == QLatin1String("vemra.cnf");
    });
    RemoveLeftoverTemporaryFiles(names.Prefix, IsOutputName);

    const TSecretConfig secret(names.ConfigCopy);
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
    // Where the system needs it, the files OpenSSL writes are made
    // owner-only before it writes them.
    for (const QString &output : {newKey, newRequest}) {
        TFileError created;
        if (!PrepareOutputFile(output, created))
            throw Exception(QStringLiteral("fallo genrsa"),
                            QStringLiteral("No se pudo crear el archivo %1: %2")
                                .arg(NativePath(output), created.Reason()));
    }

    if (Progress)
        Progress(TGenerationStep::Key);
    TOpenSSLStep key(QStringLiteral("fallo genrsa"), names.OpenSSLProgram, dir);
    // A program others could have replaced is never run.
    const QString unsafe = UnsafeProgramReason(QFileInfo(names.OpenSSLProgram).absoluteFilePath());
    if (!unsafe.isEmpty())
        key.Fail(QStringLiteral("Por seguridad no se ejecuta OpenSSL: %1. Solo su dueño o el "
                                "administrador deben poder modificar el programa y su carpeta.")
                     .arg(unsafe));
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
    TOpenSSLStep req(QStringLiteral("fallo req"), names.OpenSSLProgram, dir);
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
        req.Run(QStringLiteral("asn1parse -in ") + QuoteArgument(newRequest), true, notARequest,
                TOpenSSLStep::TOutput::Secret);
    const QString difference = CompareRequest(ParseRequestDump(dump), Data);
    if (!difference.isEmpty())
        req.Fail(difference);

    TFileError sourceError;
    if (!WriteNewPrivateFile(newSource, ToAnsi(OriginLine(Data)), sourceError))
        throw Exception(QStringLiteral("Cannot create file \"%1\". %2")
                            .arg(names.SourceFile, sourceError.Reason()));

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

TRequestResult GenerateRequestFiles(const TRequestData &Data, const TGenerationProgress &Progress)
{
    try {
        return Generate(Data, Progress);
    } catch (const EAbort &) {
        throw;
    } catch (const Exception &e) {
        LogError(QStringLiteral("Generación del pedido de certificado"), e.Message(), e.Details());
        throw;
    }
}

#pragma once
// Small certificate authorities for the certificate-check tests, driven by
// the real openssl program: each signs requests with the validity dates it
// is given.

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryFile>

#include <utility>

// Runs openssl; empty output and a non-zero Status when it fails.
inline QByteArray RunOpenSSLForTest(const QStringList &Args, int *Status = nullptr,
                                    const QByteArray &Input = QByteArray())
{
    // The openssl the tests make their files with: the machine's, or the one
    // ZEDEDE_TEST_OPENSSL names (the Windows tests run the kit's openssl.exe).
    const QString program = qEnvironmentVariable("ZEDEDE_TEST_OPENSSL", QStringLiteral("openssl"));
    QProcess p;
    p.start(program, Args);
    p.waitForStarted(10000);
    if (!Input.isEmpty())
        p.write(Input);
    p.closeWriteChannel();
    const bool done = p.waitForFinished(60000);
    const int status = done && p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    if (Status)
        *Status = status;
    if (status != 0)
        qWarning("openssl %s: %s", qPrintable(Args.join(' ')), p.readAllStandardError().constData());
    return status == 0 ? p.readAllStandardOutput() : QByteArray();
}

// The folder pattern for a test's QTemporaryDir: a path with accents and a
// space, as a Windows user's C:\Users\José Núñez\Documents has.
inline QString AccentedTemporaryPattern()
{
    return QDir::tempPath() + QString::fromUtf8("/José Núñez-XXXXXX");
}

inline bool WriteTestFile(const QString &Path, const QByteArray &Bytes)
{
    QDir().mkpath(QFileInfo(Path).path());
    QFile f(Path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    return f.write(Bytes) == Bytes.size();
}

inline QByteArray ReadTestFile(const QString &Path)
{
    QFile f(Path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

// A key of the kind the authorities use: EC, made at once.
inline bool MakeAuthorityKey(const QString &Path)
{
    int status = 0;
    RunOpenSSLForTest({"genpkey", "-algorithm", "EC", "-pkeyopt", "ec_paramgen_curve:P-256",
                       "-out", Path},
                      &status);
    return status == 0;
}

// An RSA key as the wizard writes it (traditional PEM), 2048 bits to keep the
// tests quick.
inline bool MakeRsaKey(const QString &Path)
{
    int status = 0;
    RunOpenSSLForTest({"genrsa", "-traditional", "-out", Path, "2048"}, &status);
    return status == 0;
}

// A path as openssl.exe opens it when named in a configuration file: in the
// ANSI code page on Windows (it opens files through the ANSI functions), as
// UTF-8 elsewhere.
inline QByteArray ConfigPath(const QString &Path)
{
#ifdef Q_OS_WIN
    return Path.toLocal8Bit();
#else
    return Path.toUtf8();
#endif
}

// A configuration for "openssl req" that gives it Subject ("/C=AR/O=.../CN=...",
// "\/" a slash inside a value) without asking, in UTF-8. The subject goes in a
// file rather than on the command line: openssl.exe reads its command line in
// the ANSI code page, which lacks most of Unicode. Authority adds the usual
// extensions of an authority's own certificate.
inline bool WriteSubjectConfig(QTemporaryFile &File, const QString &Subject, bool Authority = false)
{
    QByteArray text = "[req]\nprompt = no\nutf8 = yes\nstring_mask = utf8only\n"
                      "distinguished_name = dn\n";
    if (Authority)
        text += "x509_extensions = v3_ca\n[v3_ca]\nsubjectKeyIdentifier = hash\n"
                "authorityKeyIdentifier = keyid:always,issuer\n"
                "basicConstraints = critical,CA:true\n";
    text += "[dn]\n";
    QStringList fields;
    QString field;
    for (int i = Subject.startsWith(QLatin1Char('/')) ? 1 : 0; i < Subject.size(); ++i) {
        if (Subject.at(i) == QLatin1Char('\\') && i + 1 < Subject.size())
            field += Subject.at(++i);
        else if (Subject.at(i) == QLatin1Char('/'))
            fields << std::exchange(field, QString());
        else
            field += Subject.at(i);
    }
    fields << field;
    int n = 0;
    for (const QString &f : fields) {
        const int eq = f.indexOf(QLatin1Char('='));
        if (eq <= 0 || eq + 1 == f.size())
            continue; // an empty value is left out, as "-subj" does
        QByteArray value;
        for (const char c : f.mid(eq + 1).toUtf8()) {
            if (c == '\\' || c == '$' || c == '#' || c == '"' || c == '\'')
                value += '\\';
            value += c;
        }
        text += QByteArray::number(n++) + '.' + f.left(eq).toUtf8() + " = " + value + '\n';
    }
    return File.open() && File.write(text) == text.size() && File.flush();
}

// A request for Key with Subject ("/C=AR/O=.../CN=...").
inline bool MakeRequest(const QString &Key, const QString &Subject, const QString &Out)
{
    QTemporaryFile config;
    if (!WriteSubjectConfig(config, Subject))
        return false;
    int status = 0;
    RunOpenSSLForTest({"req", "-new", "-key", Key, "-utf8", "-config", config.fileName(), "-out",
                       Out},
                      &status);
    return status == 0;
}

class TTestAuthority
{
public:
    // Subject like "/C=AR/O=AFIP/CN=Computadores". With KeyIdentifier the
    // certificates it signs carry its authority key identifier, as the real
    // authority's do.
    bool Create(const QString &Folder, const QString &Subject, bool KeyIdentifier = true)
    {
        FFolder = Folder;
        QDir().mkpath(Folder);
        const QString db = Folder + "/db";
        QDir().mkpath(db);
        WriteTestFile(db + "/index.txt", QByteArray());
        WriteTestFile(db + "/serial", "1000\n");
        WriteTestFile(Folder + "/ca.cnf",
                      "[ca]\ndefault_ca = local\n"
                      "[local]\ndir = " + ConfigPath(Folder) + "\n"
                      "database = $dir/db/index.txt\nnew_certs_dir = $dir/db\n"
                      "serial = $dir/db/serial\ncertificate = $dir/ca.crt\n"
                      "private_key = $dir/ca.key\ndefault_md = sha256\n"
                      "policy = any\nunique_subject = no\nemail_in_dn = yes\n"
                      "preserve = yes\n"
                      + QByteArray(KeyIdentifier ? "x509_extensions = ext\n" : "")
                      + "[ext]\nauthorityKeyIdentifier = keyid:always\n"
                      "[any]\ncountryName = optional\norganizationName = optional\n"
                      "serialNumber = optional\ncommonName = optional\n"
                      "emailAddress = optional\n");
        if (!MakeAuthorityKey(Folder + "/ca.key"))
            return false;
        QTemporaryFile config;
        if (!WriteSubjectConfig(config, Subject, true))
            return false;
        int status = 0;
        RunOpenSSLForTest({"req", "-x509", "-new", "-key", Folder + "/ca.key", "-config",
                           config.fileName(), "-days", "3650", "-out", Folder + "/ca.crt"},
                          &status);
        return status == 0;
    }

    // Signs Request into Out, valid from NotBefore to NotAfter (UTC).
    bool Sign(const QString &Request, const QString &Out, const QDateTime &NotBefore,
              const QDateTime &NotAfter, bool Der = false)
    {
        const QString format = QStringLiteral("yyyyMMddHHmmss'Z'");
        int status = 0;
        RunOpenSSLForTest({"ca", "-batch", "-notext", "-config", FFolder + "/ca.cnf", "-utf8",
                           "-in", Request, "-out", Out, "-startdate",
                           NotBefore.toUTC().toString(format), "-enddate",
                           NotAfter.toUTC().toString(format)},
                          &status);
        if (status != 0 || !Der)
            return status == 0;
        RunOpenSSLForTest({"x509", "-in", Out, "-outform", "DER", "-out", Out}, &status);
        return status == 0;
    }

    // Its public key as PEM into Folder/Name: what the program's folder of
    // authority keys holds.
    bool PublicKeyTo(const QString &Folder, const QString &Name) const
    {
        QDir().mkpath(Folder);
        int status = 0;
        RunOpenSSLForTest({"pkey", "-in", FFolder + "/ca.key", "-pubout", "-out",
                           Folder + "/" + Name},
                          &status);
        return status == 0;
    }

    // Valid from a day ago for Days days more.
    bool SignFor(const QString &Request, const QString &Out, int Days, bool Der = false)
    {
        const QDateTime now = QDateTime::currentDateTimeUtc();
        return Sign(Request, Out, now.addDays(-1), now.addDays(Days), Der);
    }

private:
    QString FFolder;
};

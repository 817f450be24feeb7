// Hostile values in every text field of a request: each one either comes out
// exactly as typed in the request openssl wrote (subject and challenge
// password, read back with openssl) and in the origin file, or is refused by
// the validation with a message on its own field before anything is written.
//
// openssl is the stand-in that hands out a prepared key for genrsa and passes
// everything else to the real openssl, so the corpus runs in seconds.

#include "AnsiCodePage.h"
#include "DataValidation.h"
#include "Exception.h"
#include "RequestGenerator.h"
#include "AppTestSupport.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {

enum TField { fOrganizacion, fOperador, fMail, fPassword, fFieldCount };

const char *const kFieldNames[fFieldCount] = {"razón social", "operador", "e-mail", "contraseña"};
const TDataField kDataFields[fFieldCount] = {TDataField::NombreEmpresa, TDataField::Operador,
                                             TDataField::Mail, TDataField::Password};

// The hostile values: what a word processor pastes, what other scripts
// hold, what OpenSSL's configuration syntax treats specially, blanks, and
// values at and past the length limits.
QStringList Corpus()
{
    QStringList v;
    // Windows-1252's bytes 0x80-0x9F, one by one, inside a name.
    const QString specials = QStringLiteral("€‚ƒ„…†‡ˆ‰Š‹ŒŽ‘’“”•–—˜™š›œžŸ");
    for (const QChar c : specials)
        v << QStringLiteral("Ab") + c + QStringLiteral("cd");
    v << QStringLiteral("Café “La Esquina” – S.R.L.") << QStringLiteral("clave€12")
      << QStringLiteral("‘comillas’ y «latinas»") << QStringLiteral("Tres puntos…")
      << QStringLiteral("Marca™ & Cía®") << QStringLiteral("• viñeta");
    // Western European letters and signs.
    v << QStringLiteral("Compañía S.A.") << QStringLiteral("ÀÉÎÕÜ ñÑ ç") << QStringLiteral("Straße")
      << QStringLiteral("Ærø Åsa") << QStringLiteral("¿Qué? ¡Sí!") << QStringLiteral("©®°±µ¶·¸¹º")
      << QStringLiteral("¼½¾×÷") << QStringLiteral("\u00a0nbsp\u00a0") << QStringLiteral("soft\u00adhyphen");
    // Characters Windows-1252 lacks.
    v << QStringLiteral("Łódź") << QStringLiteral("Őrség") << QStringLiteral("Иван Петров")
      << QStringLiteral("中文公司") << QString::fromUcs4(U"emoji \U0001F600")
      << QString::fromUcs4(U"\U0001F600\U0001F600") << QStringLiteral("Jose\u0301")
      << QStringLiteral("zero\u200bwidth") << QStringLiteral("rtl\u202eevil")
      << QStringLiteral("line\u2028sep") << QStringLiteral("\ufeffbom") << QStringLiteral("Ǆemal");
    // Control characters, including attempts to add configuration lines.
    v << QStringLiteral("A\nB") << QStringLiteral("A\rB") << QStringLiteral("A\tB")
      << QString::fromUtf16(u"A\u0000B", 3) << QStringLiteral("esc\x1b[0m") << QStringLiteral("del\x7f")
      << QStringLiteral("nel\u0085") << QStringLiteral("c1\u009f")
      << QStringLiteral("Ana\ncommonName_default=Mallory") << QStringLiteral("x\r\n[req_attributes]")
      << QStringLiteral("trailing\n") << QStringLiteral("\tindent");
    // What OpenSSL's configuration syntax treats specially.
    for (const char *s : {"#", "$", "\\", "\"", "'", "`", ",", ";", "=", "+", "<", ">"})
        v << QStringLiteral("ab") + QLatin1String(s) + QStringLiteral("cd");
    v << QStringLiteral("#comienzo") << QStringLiteral("${HOME}") << QStringLiteral("$ENV::HOME")
      << QStringLiteral("$(ls)") << QStringLiteral("\\") << QStringLiteral("\"\"")
      << QStringLiteral("''") << QStringLiteral("fin\\") << QStringLiteral("a\\nb")
      << QStringLiteral("\\\"\\") << QStringLiteral("[seccion]") << QStringLiteral("=igual")
      << QStringLiteral("clave=valor") << QStringLiteral(".include /etc/passwd")
      << QStringLiteral("%s%n%1") << QStringLiteral("\\x41") << QStringLiteral("a\"b'c`d")
      << QStringLiteral("<script>") << QStringLiteral("C=AR,O=Otra") << QStringLiteral("/CN=Mallory")
      << QStringLiteral("+CN=x") << QStringLiteral("a;b;c") << QStringLiteral("a, b, c");
    // Blanks and very short values.
    v << QStringLiteral(" inicio") << QStringLiteral("final ") << QStringLiteral("  ambos  ")
      << QStringLiteral(" ") << QStringLiteral("   ") << QStringLiteral(".") << QStringLiteral("..")
      << QStringLiteral("-") << QStringLiteral("0") << QStringLiteral("a") << QStringLiteral("abc")
      << QStringLiteral("abcd") << QString();
    // Lengths: 64 and 65 characters, with and without accents; 20 and 21.
    v << QString(64, 'a') << QString(65, 'a') << QString(64, QChar(0xe9)) << QString(65, QChar(0xe9))
      << QString(64, QChar(0x20ac)) << QString(63, 'x') + QStringLiteral("…")
      << QString(58, 'a') + QStringLiteral("@b.com") << QString(59, 'a') + QStringLiteral("@b.com")
      << QString(20, 'p') << QString(21, 'p') << QString(20, QChar(0x20ac)) << QString(21, QChar(0xf1))
      << QString(19, 'x') + QStringLiteral("€") << QStringLiteral("ñ") + QString(63, 'z');
    // E-mail addresses.
    v << QStringLiteral("jose@example.com") << QStringLiteral("josé@example.com")
      << QStringLiteral("a+b@x.com") << QStringLiteral("\"quoted name\"@x.com")
      << QStringLiteral("a#b$c@x.com") << QStringLiteral("nadie");
    return v;
}

// The test's own statement of what can be exact: no control character, only
// what Windows-1252 holds (ASCII for the e-mail), within the field's length.
bool ShouldBeAccepted(TField Field, const QString &Value)
{
    static const QString high = QStringLiteral("€‚ƒ„…†‡ˆ‰Š‹ŒŽ‘’“”•–—˜™š›œžŸ");
    const QList<uint> chars = Value.toUcs4();
    for (const uint c : chars) {
        const bool ascii = c >= 0x20 && c < 0x7f;
        const bool latin = c >= 0xa0 && c <= 0xff;
        const bool special = c <= 0xffff && high.contains(QChar(char16_t(c)));
        if (Field == fMail ? !ascii : !(ascii || latin || special))
            return false;
    }
    if (Field == fPassword)
        return chars.size() >= 4 && chars.size() <= 20;
    return !Value.trimmed().isEmpty() && chars.size() <= 64;
}

TRequestData BaseData(const QString &Folder)
{
    TRequestData d = SampleRequestData(Folder);
    d.Mail = QStringLiteral("base@example.com");
    return d;
}

void SetField(TRequestData &Data, TField Field, const QString &Value)
{
    switch (Field) {
    case fOrganizacion: Data.NombreEmpresa = Value; break;
    case fOperador: Data.Operador = Value; break;
    case fMail: Data.Mail = Value; break;
    case fPassword: Data.Password = Data.Password2 = Value; break;
    default: break;
    }
}

QString Printable(const QString &Value)
{
    QString out;
    for (const uint c : Value.toUcs4()) {
        if (c < 0x20 || (c >= 0x7f && c <= 0x9f) || c > 0xffff)
            out += QStringLiteral("\\u{%1}").arg(c, 0, 16);
        else
            out += QChar(c);
    }
    return out.size() > 40 ? out.left(37) + QStringLiteral("...") : out;
}

// The request's subject lines and challenge password, as openssl shows them.
bool ReadBack(const QString &Request, QStringList &Subject, QString &Challenge)
{
    QProcess p;
    p.start(QStringLiteral("openssl"),
            {QStringLiteral("req"), QStringLiteral("-in"), Request, QStringLiteral("-noout"),
             QStringLiteral("-nameopt"),
             QStringLiteral("sep_multiline,utf8,-esc_msb"), QStringLiteral("-text")});
    if (!p.waitForFinished(30000) || p.exitCode() != 0)
        return false;
    // With -text the subject is printed there, one attribute a line.
    const QString out = QString::fromUtf8(p.readAllStandardOutput());
    Subject.clear();
    bool inSubject = false;
    for (const QString &l : out.split(QLatin1Char('\n'))) {
        if (l == QLatin1String("        Subject:"))
            inSubject = true;
        else if (inSubject && l.startsWith(QLatin1String("            ")))
            Subject << l.mid(12);
        else
            inSubject = false;
    }
    static const QRegularExpression re(QStringLiteral("\\n +challengePassword +:([^\\n]*)\\n"));
    const auto m = re.match(out);
    Challenge = m.hasMatch() ? m.captured(1) : QStringLiteral("<none>");
    return true;
}

QByteArray ReadAll(const QString &Path)
{
    QFile f(Path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

} // namespace

class TestRequestCorpus : public QObject
{
    Q_OBJECT
    QTemporaryDir FHome;

private slots:
    void initTestCase()
    {
        QVERIFY(FHome.isValid());
        UseTemporaryHome(FHome.path());
        StandInOpenSSLFolder(FHome.filePath(QStringLiteral("ssl/")));
        qputenv("GENRSA", "key");
        qputenv("REQ", "real");
        qputenv("VERSION_TEXT", "OpenSSL 3.0.2 15 Mar 2022");
        qunsetenv("LOG");
    }

    void everyValueIsExactOrRefusedOnItsField()
    {
        const QStringList corpus = Corpus();
        QVERIFY2(corpus.size() >= 100, qPrintable(QString::number(corpus.size())));
        int tried = 0, exact = 0, refused = 0, wrong = 0, unexplained = 0, generations = 0;
        QStringList problems;
        QElapsedTimer clock;
        clock.start();
        const QString dest = FHome.filePath(QStringLiteral("out"));
        QDir().mkpath(dest);

        for (int i = 0; i < corpus.size(); ++i) {
            const QString &value = corpus[i];
            // The validation, field by field; the fields that take the value
            // then carry it together in one generation.
            bool takes[fFieldCount] = {};
            TRequestData d = BaseData(dest);
            for (int f = 0; f < fFieldCount; ++f) {
                ++tried;
                TRequestData one = BaseData(dest);
                SetField(one, TField(f), value);
                TDataField focused = TDataField::None;
                const QString label = QStringLiteral("%1 «%2»").arg(QLatin1String(kFieldNames[f]),
                                                                  Printable(value));
                try {
                    ValidateRequestData(one, [&](TDataField AField) { focused = AField; });
                } catch (const EDataError &e) {
                    if (e.Field() != kDataFields[f] || focused != kDataFields[f]
                        || e.Message().isEmpty()) {
                        ++unexplained;
                        problems << label + QStringLiteral(": refused on another field: ")
                                        + e.Message();
                    } else if (ShouldBeAccepted(TField(f), value)) {
                        ++wrong;
                        problems << label + QStringLiteral(": refused although it can be exact: ")
                                        + e.Message();
                    } else {
                        ++refused;
                    }
                    continue;
                }
                if (!ShouldBeAccepted(TField(f), value)) {
                    ++wrong;
                    problems << label + QStringLiteral(": accepted although it cannot be exact");
                    continue;
                }
                takes[f] = true;
                SetField(d, TField(f), value);
            }
            if (!(takes[fOrganizacion] || takes[fOperador] || takes[fMail] || takes[fPassword]))
                continue;

            ++generations;
            QDir(dest).removeRecursively();
            QDir().mkpath(dest);
            QStringList subject;
            QString challenge;
            QString failure;
            TRequestResult r;
            try {
                r = GenerateRequestFiles(d);
                if (!ReadBack(r.RequestFile, subject, challenge))
                    failure = QStringLiteral("openssl cannot read the request back");
            } catch (const Exception &e) {
                failure = e.Message() + QStringLiteral(" / ") + e.Details();
            }
            const QByteArray origin = ReadAll(r.SourceFile);
            const QString expectedOrigin = OriginLine(d);
            for (int f = 0; f < fFieldCount; ++f) {
                if (!takes[f])
                    continue;
                const QString label = QStringLiteral("%1 «%2»").arg(QLatin1String(kFieldNames[f]),
                                                                  Printable(value));
                if (!failure.isEmpty()) {
                    ++unexplained;
                    problems << label + QStringLiteral(": generation failed: ") + failure;
                    continue;
                }
                bool same = false;
                switch (f) {
                case fOrganizacion:
                    same = subject.value(2) == QStringLiteral("O=") + value;
                    break;
                case fOperador:
                    same = subject.value(3) == QStringLiteral("CN=") + value;
                    break;
                case fMail:
                    same = subject.value(4) == QStringLiteral("emailAddress=") + value;
                    break;
                default:
                    same = challenge == value;
                    break;
                }
                // The origin file holds the line exactly, in Windows-1252.
                same = same && origin == ToAnsi(expectedOrigin)
                       && FromAnsi(origin) == expectedOrigin && subject.size() == 5;
                if (same) {
                    ++exact;
                } else {
                    ++wrong;
                    problems << label + QStringLiteral(": request or origin differ: ")
                                    + subject.join(QStringLiteral(" | ")) + QStringLiteral(" / ")
                                    + Printable(challenge);
                }
            }
        }

        qInfo("corpus: %d values, %d tried (value x field), %d exact, %d refused clearly, "
              "%d wrong, %d unexplained; %d generations in %lld ms",
              int(corpus.size()), tried, exact, refused, wrong, unexplained, generations,
              static_cast<long long>(clock.elapsed()));
        for (const QString &p : problems)
            qWarning("%s", qPrintable(p));
        QCOMPARE(exact + refused + wrong + unexplained, tried);
        QCOMPARE(wrong, 0);
        QCOMPARE(unexplained, 0);
        QVERIFY(exact > 100);
        QVERIFY(refused > 100);
    }
};

QTEST_GUILESS_MAIN(TestRequestCorpus)
#include "tst_RequestCorpus.moc"

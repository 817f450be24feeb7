#include "Cuit.h"
#include "DataValidation.h"
#include "AppTestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

Q_DECLARE_METATYPE(TDataField)

class TestDataValidation : public QObject
{
    Q_OBJECT
    QTemporaryDir FDir;

    // Runs ValidateData; returns the message ("" when accepted) and checks
    // that the focus callback named the same field as the error, first.
    QString validate(const TRequestData &Data, TDataField &Field)
    {
        TDataField focused = TDataField::None;
        Field = TDataField::None;
        try {
            ValidateRequestData(Data, [&](TDataField f) { focused = f; });
        } catch (const EDataError &e) {
            Field = e.Field();
            if (focused != e.Field())
                return QStringLiteral("<focus not set before the error>");
            return e.Message();
        }
        return QString();
    }

private slots:
    void initTestCase() { QVERIFY(FDir.isValid()); }

    void checksTheCUITCheckDigit_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::newRow("masked valid") << "20-12345678-6" << true;
        QTest::newRow("wrong check digit") << "20-12345678-5" << false;
        QTest::newRow("eleven digits") << "20123456786" << true;
        QTest::newRow("remainder 0") << "20-40000000-0" << true;
        QTest::newRow("remainder 1, 0") << "20-99999999-0" << false;
        QTest::newRow("remainder 1, 9") << "20-99999999-9" << false;
        QTest::newRow("twelve with dashes") << "20-12345678-" << false;
        QTest::newRow("longer than 13") << "20-12345678-60" << false;
        QTest::newRow("no dash at 3") << "2012345678-6" << false;
        QTest::newRow("no dash at 12") << "20-123456786" << false;
        QTest::newRow("blank between digits") << "20-1234 678-6" << false;
        QTest::newRow("empty mask") << "  -        - " << false;
        QTest::newRow("last digit missing") << "20-12345678- " << false;
        QTest::newRow("letter") << "20-1234567a-6" << false;
        QTest::newRow("letter as check") << "20-12345678-x" << false;
        QTest::newRow("ten digits") << "2012345678" << false;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("other valid") << "30-71234567-1" << true;
    }
    void checksTheCUITCheckDigit()
    {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        QCOMPARE(ValidateCUIT(text), valid);
    }

    void completenessIgnoresTheFolderAndDoesNotTrim()
    {
        TRequestData d = SampleRequestData(QString());
        bool done = false;
        done = DataComplete(d);
        QVERIFY(done);
        d.CUIT = QStringLiteral("  -        - ");
        d.NombreEmpresa = QStringLiteral("   ");
        done = DataComplete(d);
        QVERIFY(done); // the mask's blanks and blank names count as text
        const QList<QString TRequestData::*> required{
            &TRequestData::NombreEmpresa, &TRequestData::Operador, &TRequestData::Mail,
            &TRequestData::Password, &TRequestData::Password2};
        for (auto field : required) {
            TRequestData e = SampleRequestData(QString());
            e.*field = QString();
            done = DataComplete(e);
            QVERIFY(!done);
        }
        d = SampleRequestData(QString());
        d.CUIT = QStringLiteral("--");
        done = DataComplete(d);
        QVERIFY(!done);
    }

    void reportsTheFirstFailureInOrderWithItsField_data()
    {
        QTest::addColumn<int>("breakFrom"); // steps 1.. broken from this one on
        QTest::addColumn<QString>("message");
        QTest::addColumn<TDataField>("field");
        QTest::newRow("1") << 1 << "Debe ingresar el nombre de la empresa." << TDataField::NombreEmpresa;
        QTest::newRow("2") << 2 << "Debe ingresar el número de CUIT." << TDataField::CUIT;
        QTest::newRow("3") << 3 << "El CUIT ingresado es inválido." << TDataField::CUIT;
        QTest::newRow("4") << 4 << "Debe ingresar el nombre del operador." << TDataField::Operador;
        QTest::newRow("5") << 5 << "Debe ingresar el mail del operador." << TDataField::Mail;
        QTest::newRow("6") << 6
                           << "La contraseña debe tener un mínimo de 4 y un máximo de 20 caracteres."
                           << TDataField::Password;
        QTest::newRow("7") << 7 << "La contraseña no se ingresó correctamente." << TDataField::Password2;
        QTest::newRow("8") << 8 << "Debe ingresar la carpeta donde se grabarán los archivos."
                           << TDataField::Carpeta;
    }
    void reportsTheFirstFailureInOrderWithItsField()
    {
        QFETCH(int, breakFrom);
        QFETCH(QString, message);
        QFETCH(TDataField, field);
        // Every step from breakFrom on is wrong: the earliest one is reported.
        TRequestData d = SampleRequestData(FDir.path());
        const auto broken = [&](int step) { return step >= breakFrom; };
        if (broken(1)) d.NombreEmpresa = QStringLiteral(" \t ");
        if (broken(2)) d.CUIT = QStringLiteral("  -        - ");
        else if (broken(3)) d.CUIT = QStringLiteral("20-12345678- ");
        if (broken(4)) d.Operador = QString();
        if (broken(5)) d.Mail = QStringLiteral("  ");
        if (broken(6)) d.Password = QStringLiteral("abc");
        if (broken(7)) d.Password2 = QStringLiteral("other");
        if (broken(8)) d.Carpeta = QStringLiteral("   ");
        TDataField got;
        QCOMPARE(validate(d, got), message);
        QCOMPARE(got, field);
    }

    void passwordLengthCountsUntrimmedAndCaseMatters()
    {
        TDataField f;
        TRequestData d = SampleRequestData(FDir.path());
        for (const QString &pw : {QString(4, 'a'), QString(20, 'a'), QStringLiteral("    ")}) {
            d.Password = d.Password2 = pw;
            QCOMPARE(validate(d, f), QString());
        }
        for (const QString &pw : {QString(3, 'a'), QString(21, 'a')}) {
            d.Password = d.Password2 = pw;
            QVERIFY(validate(d, f).startsWith(QStringLiteral("La contraseña debe tener")));
            QCOMPARE(f, TDataField::Password);
        }
        d.Password = QStringLiteral("Secreto");
        d.Password2 = QStringLiteral("secreto");
        QCOMPARE(validate(d, f), QStringLiteral("La contraseña no se ingresó correctamente."));
    }

    void refusesWhatTheRequestCannotHoldExactly_data()
    {
        QTest::addColumn<int>("which"); // 0 company, 1 operator, 2 mail, 3 password, 4 folder
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("message"); // empty: accepted
        const QString company = QStringLiteral("El nombre de la empresa");
        QTest::newRow("line break") << 0 << "Compa\nS.A." << company + " contiene un salto de línea, que no se puede usar.";
        QTest::newRow("carriage return") << 1 << "Jos\u00e9\r" << "El nombre del operador contiene un salto de línea, que no se puede usar.";
        QTest::newRow("tab") << 0 << "A\tB" << company + " contiene una tabulación, que no se puede usar.";
        QTest::newRow("NUL") << 1 << QString::fromUtf16(u"Ana\u0000x", 5) << "El nombre del operador contiene un carácter de control (U+0000), que no se puede usar.";
        QTest::newRow("DEL") << 2 << "a\u007f@b.c" << "El mail del operador contiene un carácter de control (U+007F), que no se puede usar.";
        QTest::newRow("C1 control") << 0 << "A\u0081" << company + " contiene un carácter de control (U+0081), que no se puede usar.";
        QTest::newRow("next line") << 1 << "A\u0085B" << "El nombre del operador contiene un salto de línea, que no se puede usar.";
        QTest::newRow("control in password") << 3 << "abc\ndef" << "La contraseña contiene un salto de línea, que no se puede usar.";
        QTest::newRow("control in folder") << 4 << "a\nb" << "La carpeta destino contiene un salto de línea, que no se puede usar.";
        QTest::newRow("Polish L") << 0 << "\u0141\u00f3d\u017a S.A." << company + " contiene «\u0141» (U+0141), que no se puede usar: solo se admiten letras, números y signos de Europa occidental.";
        QTest::newRow("Cyrillic") << 1 << "\u0418\u0432\u0430\u043d" << "El nombre del operador contiene «\u0418» (U+0418), que no se puede usar: solo se admiten letras, números y signos de Europa occidental.";
        QTest::newRow("emoji") << 0 << QString::fromUcs4(U"Caf\u00e9 \U0001F600") << company + " contiene «" + QString::fromUcs4(U"\U0001F600") + "» (U+1F600), que no se puede usar: solo se admiten letras, números y signos de Europa occidental.";
        QTest::newRow("combining accent") << 1 << "Jose\u0301" << "El nombre del operador contiene «\u0301» (U+0301), que no se puede usar: solo se admiten letras, números y signos de Europa occidental.";
        QTest::newRow("emoji password not shown") << 3 << QString::fromUcs4(U"\U0001F600\U0001F600") << "La contraseña contiene un carácter (como un emoji o una letra de otro alfabeto), que no se puede usar: solo se admiten letras, números y signos de Europa occidental.";
        QTest::newRow("accented mail") << 2 << "jos\u00e9@example.com" << "El mail del operador contiene «\u00e9» (U+00E9), que no se puede usar: solo se admiten letras sin acentos, números y signos (caracteres ASCII).";
        QTest::newRow("euro in mail") << 2 << "a\u20ac@b.c" << "El mail del operador contiene «\u20ac» (U+20AC), que no se puede usar: solo se admiten letras sin acentos, números y signos (caracteres ASCII).";
        QTest::newRow("65 characters") << 0 << QString(65, 'x') << company + " puede tener como máximo 64 caracteres.";
        QTest::newRow("65 accented") << 1 << QString(65, QChar(0xe9)) << "El nombre del operador puede tener como máximo 64 caracteres.";
        QTest::newRow("mail of 65") << 2 << QString(59, 'a') + "@b.com" << "El mail del operador puede tener como máximo 64 caracteres.";
        // Accepted: everything Windows-1252 holds, at the limits.
        QTest::newRow("Windows-1252 specials") << 0 << "Caf\u00e9 \u201cLa Esquina\u201d \u2013 S.R.L. \u20ac\u2026\u2022\u2122\u0160\u0161\u0152\u0153\u017d\u017e\u0178\u0192" << QString();
        QTest::newRow("64 accented") << 1 << QString(64, QChar(0xe9)) << QString();
        QTest::newRow("64 plain") << 0 << QString(64, 'x') << QString();
        QTest::newRow("mail of 64") << 2 << QString(58, 'a') + "@b.com" << QString();
        QTest::newRow("mail with signs") << 2 << " a#b$c\"'`,;=+<>\\@x.com " << QString();
        QTest::newRow("euro password") << 3 << "clave\u20ac12" << QString();
        QTest::newRow("any folder") << 4 << "Mis certificados \u4e2d" << QString();
    }
    void refusesWhatTheRequestCannotHoldExactly()
    {
        QFETCH(int, which);
        QFETCH(QString, value);
        QFETCH(QString, message);
        TRequestData d = SampleRequestData(FDir.filePath("chars"));
        const TDataField fields[] = {TDataField::NombreEmpresa, TDataField::Operador,
                                     TDataField::Mail, TDataField::Password, TDataField::Carpeta};
        switch (which) {
        case 0: d.NombreEmpresa = value; break;
        case 1: d.Operador = value; break;
        case 2: d.Mail = value; break;
        case 3: d.Password = d.Password2 = value; break;
        default: d.Carpeta = FDir.path() + '/' + value; break;
        }
        TDataField f;
        QCOMPARE(validate(d, f), message);
        QCOMPARE(f, message.isEmpty() ? TDataField::None : fields[which]);
    }

    void createsAMissingFolderWithItsParents()
    {
        TDataField f;
        const QString folder = FDir.filePath("a/b c/ñ");
        QCOMPARE(validate(SampleRequestData(folder), f), QString());
        QVERIFY(QFileInfo(folder).isDir());
        // Here openssl gets its arguments as they are: any letter will do.
        const QString polish = FDir.filePath("Łukasz/Őrség");
        QCOMPARE(validate(SampleRequestData(polish), f), QString());
        QVERIFY(QFileInfo(polish).isDir());

        // Relative to the current directory.
        const QString old = QDir::currentPath();
        QVERIFY(QDir::setCurrent(FDir.path()));
        const QString relative = validate(SampleRequestData(QStringLiteral("rel/sub")), f);
        QDir::setCurrent(old);
        QCOMPARE(relative, QString());
        QVERIFY(QFileInfo(FDir.filePath("rel/sub")).isDir());
    }

    void theFolderIsResolvedOnceToAnAbsoluteOne()
    {
        const QString home = QDir::homePath();
        QCOMPARE(ResolveFolder(QStringLiteral("~")), home);
        QCOMPARE(ResolveFolder(QStringLiteral("~/algo")), home + QStringLiteral("/algo"));
        QCOMPARE(ResolveFolder(QStringLiteral("/abs/x ")), QStringLiteral("/abs/x "));
        QCOMPARE(ResolveFolder(QStringLiteral("~otro")), QDir::currentPath() + QStringLiteral("/~otro"));
        const QString old = QDir::currentPath();
        QVERIFY(QDir::setCurrent(FDir.path()));
        QCOMPARE(ResolveFolder(QStringLiteral("rel/x")), FDir.path() + QStringLiteral("/rel/x"));
        // What the validation returns is the folder it created and checked.
        const QString got = ValidateRequestData(SampleRequestData(QStringLiteral("uno/dos")));
        QDir::setCurrent(old);
        QCOMPARE(got, FDir.path() + QStringLiteral("/uno/dos"));
        QVERIFY(QFileInfo(got).isDir());

        const QByteArray oldHome = qgetenv("HOME");
        qputenv("HOME", FDir.path().toLocal8Bit());
        const QString tilde = ValidateRequestData(SampleRequestData(QStringLiteral("~/certificados")));
        qputenv("HOME", oldHome);
        QCOMPARE(tilde, FDir.path() + QStringLiteral("/certificados"));
        QVERIFY(QFileInfo(tilde).isDir());
        QVERIFY(!QFileInfo::exists(QDir::currentPath() + QStringLiteral("/~")));
    }

    void aFolderThatCannotExistIsNamedAsResolved()
    {
        // A regular file stands in the way of the folder: the message says
        // why the folder could not be made.
        QFile blocker(FDir.filePath("file"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        const QString why =
            QStringLiteral(". No se pudo crear: el sistema no puede encontrar la ruta especificada.");
        TDataField f;
        const QString typed = FDir.filePath("file/sub ");
        QCOMPARE(validate(SampleRequestData(typed), f),
                 QStringLiteral("No se encontró la carpeta ") + typed + why);
        // A relative folder is named as the absolute one it stands for.
        const QString old = QDir::currentPath();
        QVERIFY(QDir::setCurrent(FDir.path()));
        const QString relative = validate(SampleRequestData(QStringLiteral("file/sub")), f);
        QDir::setCurrent(old);
        QCOMPARE(relative,
                 QStringLiteral("No se encontró la carpeta ") + FDir.path() + QStringLiteral("/file/sub") + why);
        QCOMPARE(f, TDataField::Carpeta);
        // The folder itself is the file.
        QCOMPARE(validate(SampleRequestData(FDir.filePath("file")), f),
                 QStringLiteral("No se encontró la carpeta ") + FDir.filePath("file") + why);
    }

    // A folder that exists but takes no new files is refused before anything
    // is generated, with the focus on the folder; so is one that cannot be
    // made inside such a folder, with the system's reason.
    void aFolderWithoutWritePermissionIsRefused()
    {
        const QString locked = FDir.filePath("cerrada");
        QVERIFY(QDir().mkpath(locked));
        if (!MakeReadOnlyFolder(locked))
            QSKIP("this system cannot make a folder refuse new files");
        TDataField f;
        const QString existing = validate(SampleRequestData(locked), f);
        const QString inside = validate(SampleRequestData(locked + QStringLiteral("/nueva/sub")), f);
        const QStringList left = FolderEntries(locked);
        MakeWritableFolder(locked);
        QCOMPARE(existing, QStringLiteral("No se pueden grabar archivos en la carpeta %1: acceso "
                                          "denegado. Elija otra carpeta o pida permiso para "
                                          "escribir en esta.")
                               .arg(locked));
        QCOMPARE(f, TDataField::Carpeta);
        QCOMPARE(inside, QStringLiteral("No se encontró la carpeta %1/nueva/sub. No se pudo "
                                        "crear: acceso denegado.")
                             .arg(locked));
        QVERIFY2(left.isEmpty(), qPrintable(left.join(',')));
        // Writable again, it is accepted and the probe leaves nothing behind.
        QCOMPARE(validate(SampleRequestData(locked), f), QString());
        QCOMPARE(FolderEntries(locked), QStringList());
    }

    void checkRequiredTrimsControlCharacters()
    {
        QCOMPARE(TrimText(QStringLiteral("\t\r\n a b \x01")), QStringLiteral("a b"));
        bool threw = false;
        try {
            CheckRequired(QStringLiteral("\x1f \t"), TDataField::Mail, QStringLiteral("m"));
        } catch (const EDataError &e) {
            threw = e.Message() == QStringLiteral("m") && e.Field() == TDataField::Mail;
        }
        QVERIFY(threw);
        CheckRequired(QStringLiteral(" x "), TDataField::Mail, QStringLiteral("m"));
    }
};

QTEST_GUILESS_MAIN(TestDataValidation)
#include "tst_DataValidation.moc"

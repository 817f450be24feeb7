#include "ProfileFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

class TestProfileFile : public QObject
{
    Q_OBJECT
    QTemporaryDir FDir;
    int FCount = 0;

    QString fileWith(const QByteArray &Content)
    {
        const QString path = FDir.filePath(QStringLiteral("p%1.ini").arg(++FCount));
        QFile f(path);
        if (f.open(QIODevice::WriteOnly))
            f.write(Content);
        return path;
    }

    QByteArray contents(const QString &Path)
    {
        QFile f(Path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }

private slots:
    void initTestCase() { QVERIFY(FDir.isValid()); }

    void deletesSectionsWholeWhateverTheirHeaderSpelling()
    {
        const QByteArray before = "# top = comment\n"
                                  "x = 1\n"
                                  "[ req ]\n"
                                  "distinguished_name\t= req_distinguished_name\n"
                                  "\n";
        const QByteArray middle = "[ usr_cert ]\n"
                                  "basicConstraints=CA:FALSE\n";
        const QByteArray after = "[insta] # trailing comment\n"
                                 "server = host\n";
        const QString path = fileWith(before
                                      + "[  Req_Distinguished_Name\t]\n"
                                        "countryName = Country\n"
                                        "# a comment of the section\n"
                                        "\n"
                                      + middle
                                      + "[req_distinguished_name]\n"
                                        "stale = entry\n"
                                      + after);
        QVERIFY(ProfileDeleteSection(path, "req_distinguished_name"));
        QCOMPARE(contents(path), before + middle + after);
        // Nothing to delete: the file stays as it is.
        QVERIFY(ProfileDeleteSection(path, "absent"));
        QCOMPARE(contents(path), before + middle + after);
    }

    void appendsNewSectionsAndKeysInCallOrder()
    {
        const QString path = fileWith("[ req ]\nprompt = no"); // no final line end
        QVERIFY(ProfileWriteString(path, "dn", "countryName", "Nombre del país (AR)"));
        QVERIFY(ProfileWriteString(path, "dn", "countryName_default", "AR"));
        QVERIFY(ProfileWriteString(path, "attrs", "challengePassword_default", " a = b "));
        QCOMPARE(contents(path), QByteArray("[ req ]\nprompt = no\r\n"
                                            "[dn]\r\n"
                                            "countryName=Nombre del pa\xEDs (AR)\r\n"
                                            "countryName_default=AR\r\n"
                                            "[attrs]\r\n"
                                            "challengePassword_default= a = b \r\n"));
    }

    void replacesAKeyOrAppendsItAtTheEndOfItsSection()
    {
        const QString path = fileWith("[a]\n"
                                      "  Key1 = old ; kept?\n"
                                      "key2=x\n"
                                      "\n"
                                      "# about b\n"
                                      "[b]\n"
                                      "k=v\n");
        QVERIFY(ProfileWriteString(path, "A", "key1", "new"));
        QVERIFY(ProfileWriteString(path, " a ", "key3", "€"));
        QCOMPARE(contents(path), QByteArray("[a]\n"
                                            "key1=new\r\n"
                                            "key2=x\n"
                                            "key3=\x80\r\n"
                                            "\n"
                                            "# about b\n"
                                            "[b]\n"
                                            "k=v\n"));
    }

    void writesUtf8WhenAskedAndKeepsTheRestOfTheFile()
    {
        // An earlier line in Windows-1252 stays as it was.
        const QString path = fileWith("[a]\nold=\xF1\n");
        QVERIFY(ProfileWriteString(path, "dn", "o", "Café “La Esquina” €",
                                   TProfileText::Utf8));
        QVERIFY(ProfileWriteString(path, "a", "k", "ñ", TProfileText::Utf8));
        QCOMPARE(contents(path), QByteArray("[a]\nold=\xF1\n"
                                            "k=\xC3\xB1\r\n"
                                            "[dn]\r\n"
                                            "o=Caf\xC3\xA9 \xE2\x80\x9CLa Esquina\xE2\x80\x9D \xE2\x82\xAC\r\n"));
    }

    void createsAMissingFileButDeletingFromOneCreatesNothing()
    {
        const QString path = FDir.filePath("new.ini");
        QVERIFY(ProfileDeleteSection(path, "s"));
        QVERIFY(!QFile::exists(path));
        QVERIFY(ProfileWriteString(path, "s", "k", "ñ"));
        QCOMPARE(contents(path), QByteArray("[s]\r\nk=\xF1\r\n"));
    }

    void keepsTheFilePermissions()
    {
        const QString path = fileWith("[s]\nk=v\n");
        QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner));
        QVERIFY(ProfileWriteString(path, "s", "secret", "x"));
        QVERIFY(ProfileDeleteSection(path, "s"));
        struct stat st {};
        QCOMPARE(::stat(QFile::encodeName(path).constData(), &st), 0);
        QCOMPARE(st.st_mode & 0777, mode_t(0600));
    }

    void reportsFilesItCannotWrite()
    {
        QVERIFY(!ProfileWriteString(FDir.filePath("no/such/dir/x.ini"), "s", "k", "v"));
        QVERIFY(!ProfileWriteString(FDir.path(), "s", "k", "v")); // a directory
        QVERIFY(!ProfileDeleteSection(FDir.path(), "s"));
    }
};

QTEST_GUILESS_MAIN(TestProfileFile)
#include "tst_ProfileFile.moc"

#include "LogTestSupport.h"
#include "VersionBlock.h"
#include "VersionFile.h"
#include "uVerInfo.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <QtTest>

class TestTVersionInfo : public QObject
{
    Q_OBJECT

private slots:
    void ownFile_reportsTheProjectVersion();
    void numericVersion_standsInForAMissingFileVersionText();
    void translation_selectsLanguageCharSetAndStringTable();
    void charSet_unlistedCodesAreUnknown();
    void languageTable_firstMatchWinsAndUnknownIdsGiveEmpty();
    void fileWithoutBlock_isInvalidWithEmptyValues();
    void malformedBlocks_areReadWithoutCrashing();
    void fileName_changeReadsAgain();

private:
    QString WriteBlockFile(const QString &Name, const TVersionBlockData &Data);
    QTemporaryDir FDir;
};

QString TestTVersionInfo::WriteBlockFile(const QString &Name, const TVersionBlockData &Data)
{
    const QString path = FDir.filePath(Name);
    WriteBytes(path, BuildVersionBlock(Data));
    return path;
}

void TestTVersionInfo::ownFile_reportsTheProjectVersion()
{
    TVersionInfo info(QCoreApplication::applicationFilePath());
    QVERIFY(info.Valid());
    QVERIFY(info.Size() > 0);
    const QString expected = QStringLiteral(ZEDEDE_PROJECT_VERSION) + QStringLiteral(".0");
    QCOMPARE(info.FileVersion(), expected);
    QCOMPARE(info.ProductVersion(), expected);
    QCOMPARE(info.CompanyName(), QStringLiteral("Vemra"));
    QCOMPARE(info.ProductName(), QStringLiteral("ZeDede"));
    QCOMPARE(info.OriginalFilename(), QStringLiteral("logging_tst_TVersionInfo"));
    QCOMPARE(info.GetVerValue(QStringLiteral("internalname")), QStringLiteral("logging_tst_TVersionInfo"));
    QCOMPARE(info.TranslationText(), QStringLiteral("2C0A04E4"));
    QCOMPARE(info.Language(), QStringLiteral("Español(Revororad)"));
    QCOMPARE(info.VersionCharSet(), vcsMultilingual);
    QCOMPARE(info.SpecialBuild(), QString());
    quint32 ms = 0, ls = 0;
    QVERIFY(ParseFourPartVersion(QStringLiteral(ZEDEDE_PROJECT_VERSION), ms, ls));
    QCOMPARE(info.VersionNum(), ms);
    QCOMPARE(info.FileLongVersion().MS, ms);
    QCOMPARE(info.FileLongVersion().LS, ls);
    QVERIFY(info.VerFileDate().isValid());
    QCOMPARE(info.VerFileDate(), QFileInfo(QCoreApplication::applicationFilePath()).lastModified());
}

void TestTVersionInfo::numericVersion_standsInForAMissingFileVersionText()
{
    // Built with FILE_VERSION 2.5.0.17 and without a "FileVersion" string.
    TVersionInfo info(QStringLiteral(VERBLOCK_FIXED));
    QVERIFY(info.Valid());
    QCOMPARE(info.GetVerValue(QStringLiteral("FileVersion")), QString());
    QCOMPARE(info.FileVersion(), QStringLiteral("2.5.0.17"));
    QCOMPARE(info.ProductVersion(), QStringLiteral("2.5.0.17"));
    QCOMPARE(info.VersionNum(), quint32((2u << 16) | 5u));
    const TLongVersion v = info.FileLongVersion();
    QCOMPARE(v.MS, quint32((2u << 16) | 5u));
    QCOMPARE(v.LS, quint32(17u));
    QCOMPARE(v.All()[0], quint16(5));
    QCOMPARE(v.All()[1], quint16(2));
    QCOMPARE(v.All()[2], quint16(17));
    QCOMPARE(v.All()[3], quint16(0));
    // Values with quotes, backslashes and accents survive the build.
    QCOMPARE(info.Comments(), QStringLiteral("Ñandú \"citado\" C:\\dir"));
    QCOMPARE(info.PrivateBuild(), QStringLiteral("prueba"));
    // Only the first translation counts.
    QCOMPARE(info.TranslationText(), QStringLiteral("2C0A04E4"));
}

void TestTVersionInfo::translation_selectsLanguageCharSetAndStringTable()
{
    TVersionBlockData d;
    d.HasFixedInfo = true;
    d.Translations = {0x0C0A04E4u, 0x040904B0u};
    d.StringTables.append({QStringLiteral("040904B0"), {{"FileVersion", "9.9"}}});
    d.StringTables.append({QStringLiteral("0C0A04E4"), {{"FileVersion", "3.1 beta"}, {"ProductName", "Otro"}}});
    TVersionInfo info(WriteBlockFile("es.blk", d));
    QVERIFY(info.Valid());
    QVERIFY(info.Translation());
    // The entry keeps the language in its low word.
    QCOMPARE(*info.Translation() & 0xFFFF, 0x0C0Au);
    QCOMPARE(*info.Translation() >> 16, 1252u);
    QCOMPARE(info.Language(), QStringLiteral("Español(España-Alfabetización tradicional)"));
    QCOMPARE(info.VersionCharSet(), vcsMultilingual);
    QCOMPARE(info.FileVersion(), QStringLiteral("3.1 beta"));
    QCOMPARE(info.ProductName(), QStringLiteral("Otro"));
    // Not the first translation's table: not seen.
    d.Translations = {0x040904B0u};
    TVersionInfo en(WriteBlockFile("en.blk", d));
    QCOMPARE(en.FileVersion(), QStringLiteral("9.9"));
    QCOMPARE(en.Language(), QStringLiteral("Inglés"));
    QCOMPARE(en.VersionCharSet(), vcsUnicode);
}

void TestTVersionInfo::charSet_unlistedCodesAreUnknown()
{
    TVersionBlockData d;
    d.Translations = {0x2C0A04B1u}; // code 1201
    TVersionInfo info(WriteBlockFile("1201.blk", d));
    QVERIFY(info.Valid());
    QCOMPARE(info.VersionCharSet(), vcsUnknown);
    QCOMPARE(info.Language(), QStringLiteral("Español(Revororad)"));
    QCOMPARE(info.FixedFileInfo(), nullptr);
    QCOMPARE(info.VersionNum(), 0u);
    // Valid but without fixed info: the numeric fallback is all zeros.
    QCOMPARE(info.FileVersion(), QStringLiteral("0.0.0.0"));

    const int codes[] = {0, 932, 949, 950, 1200, 1250, 1251, 1252, 1253, 1254, 1255, 1256};
    for (int i = 0; i < 12; ++i) {
        d.Translations = {0x04090000u | quint32(codes[i])};
        TVersionInfo each(WriteBlockFile("cs.blk", d));
        QCOMPARE(int(each.VersionCharSet()), i);
        QCOMPARE(VersionCharSetCode(each.VersionCharSet()), codes[i]);
    }
}

void TestTVersionInfo::languageTable_firstMatchWinsAndUnknownIdsGiveEmpty()
{
    QCOMPARE(VersionLanguageName(0x0401), QStringLiteral("Árabe"));
    QCOMPARE(VersionLanguageName(0x0C07), QStringLiteral("Alemán (Austríaco"));
    QCOMPARE(VersionLanguageName(0x0C09), QStringLiteral("Inglés(Australiano"));
    QCOMPARE(VersionLanguageName(0x081A), QStringLiteral("Serbo Croata"));
    QCOMPARE(VersionLanguageName(0x0000), QStringLiteral("Desconocido"));
    QCOMPARE(VersionLanguageName(0x0422), QString());
    TVersionBlockData d;
    d.Translations = {0x04220000u};
    QCOMPARE(TVersionInfo(WriteBlockFile("uk.blk", d)).Language(), QString());
}

void TestTVersionInfo::fileWithoutBlock_isInvalidWithEmptyValues()
{
    for (const QString &name : {QStringLiteral("/bin/sh"), FDir.filePath("missing"), QString()}) {
        TVersionInfo info(name);
        QVERIFY2(!info.Valid(), qPrintable(name));
        QCOMPARE(info.Size(), 0u);
        QCOMPARE(info.FileVersion(), QString());
        QCOMPARE(info.CompanyName(), QString());
        QCOMPARE(info.Language(), QString());
        QCOMPARE(info.VersionNum(), 0u);
        QCOMPARE(info.FixedFileInfo(), nullptr);
        QCOMPARE(info.Translation(), nullptr);
        QCOMPARE(info.VersionCharSet(), vcsUnknown);
    }
    QVERIFY(TVersionInfo(QStringLiteral("/bin/sh")).VerFileDate().isValid());
    QVERIFY(!TVersionInfo(FDir.filePath("missing")).VerFileDate().isValid());
}

void TestTVersionInfo::malformedBlocks_areReadWithoutCrashing()
{
    const QByteArray good = ReadVersionBlock(QCoreApplication::applicationFilePath());
    QVERIFY(!good.isEmpty());
    const QList<QByteArray> samples = {
        QByteArray("ZeDedeVersionBlock 1"),
        QByteArray("ZeDedeVersionBlock 1\nFileVersion=99999.1\nTranslation=zz 123456789\n[\n=x\n"),
        good.left(good.size() / 2),
        QByteArray("ZeDedeVersionBlock 1\n") + QByteArray(5000, '\0') + QByteArray(300, '\xff'),
        QByteArray("\x7f" "ELF\x02\x01\x01") + QByteArray(200, '\xff'),
        QByteArray("\x7f" "ELF\x01\x02\x01") + QByteArray(40, '\0'),
    };
    for (const QByteArray &s : samples) {
        const QString path = FDir.filePath("bad.blk");
        QVERIFY(WriteBytes(path, s));
        TVersionInfo info(path);
        // Whatever is read, nothing but plain values come out.
        info.FileVersion();
        info.Language();
        info.VersionCharSet();
    }
    // A truncated copy of this program: its section table is gone.
    const QByteArray self = ReadBytes(QCoreApplication::applicationFilePath());
    const QString cut = FDir.filePath("cut");
    QVERIFY(WriteBytes(cut, self.left(self.size() / 3)));
    QVERIFY(!TVersionInfo(cut).Valid());
}

void TestTVersionInfo::fileName_changeReadsAgain()
{
    TVersionInfo info(QStringLiteral("/bin/sh"));
    QVERIFY(!info.Valid());
    info.SetFileName(QStringLiteral(VERBLOCK_FIXED));
    QVERIFY(info.Valid());
    QCOMPARE(info.FileName(), QStringLiteral(VERBLOCK_FIXED));
    QCOMPARE(info.FileVersion(), QStringLiteral("2.5.0.17"));
    info.SetFileName(FDir.filePath("missing"));
    QVERIFY(!info.Valid());
    QCOMPARE(info.FileVersion(), QString());
}

QTEST_GUILESS_MAIN(TestTVersionInfo)
#include "tst_TVersionInfo.moc"

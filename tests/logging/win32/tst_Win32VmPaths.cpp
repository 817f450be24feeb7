// The well-known folders on Windows, where "/" and "\" both separate folders.
#include "uVmPaths.h"

#include <QtTest>

class TestWin32VmPaths : public QObject
{
    Q_OBJECT

private slots:
    void formatPathFolder_keepsForwardSlashesAsDelimiters_data()
    {
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("expected");
        QTest::newRow("forward") << "C:/ProgramData/Vemra" << "C:\\ProgramData\\Vemra\\";
        QTest::newRow("mixed") << "C:/users/José Núñez\\AppData/Roaming\\Vemra"
                               << "C:\\users\\José Núñez\\AppData\\Roaming\\Vemra\\";
        QTest::newRow("share") << "//servidor/datos/Logs" << "\\\\servidor\\datos\\Logs\\";
        QTest::newRow("illegal") << "C:\\Logs|2018*a" << "C:\\Logs-2018-a\\";
    }

    void formatPathFolder_keepsForwardSlashesAsDelimiters()
    {
        QFETCH(QString, input);
        QFETCH(QString, expected);
        TVmPaths::FormatPathFolder(input);
        QCOMPARE(input, expected);
    }

    void ensureFolder_makesTheFolderWhereThePathSays()
    {
        QTemporaryDir dir; // a path with "/", as Qt gives it
        QVERIFY(dir.isValid());
        QVERIFY(dir.path().contains(QLatin1Char('/')));
        QTemporaryDir elsewhere;
        QVERIFY(QDir::setCurrent(elsewhere.path()));
        QString p = dir.path() + QStringLiteral("/José Núñez/Vemra/Logs");
        QVERIFY(TVmPaths::EnsureFolder(p));
        QCOMPARE(p, QDir::toNativeSeparators(dir.path()) + QStringLiteral("\\José Núñez\\Vemra\\Logs\\"));
        QVERIFY(QFileInfo(dir.path() + QStringLiteral("/José Núñez/Vemra/Logs")).isDir());
        // Nothing named after the joined path in the current folder or at
        // the drive's root.
        QCOMPARE(QDir(elsewhere.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList());
        QVERIFY(QDir(dir.path().left(3)).entryList({QStringLiteral("-*")}, QDir::Dirs).isEmpty());
        QVERIFY(QDir::setCurrent(QDir::tempPath()));
    }

    void currentUser_namesCannotSplitThePathWithEitherSlash()
    {
        // Below the machine's real data folder: a name of this run only,
        // removed afterwards.
        const QString number = QStringLiteral("zedede-prueba-%1").arg(QCoreApplication::applicationPid());
        const QString base = TVmPaths::ApplicationData_Vemra(QString());
        QVERIFY(!base.isEmpty());
        const QString p = TVmPaths::ApplicationData_CurrentUser(number, QStringLiteral("Ana/Pérez\\x"));
        QDir(base + number).removeRecursively();
        QCOMPARE(p, base + number + QStringLiteral("\\Usuarios\\Ana-Pérez-x\\"));
    }
};

QTEST_GUILESS_MAIN(TestWin32VmPaths)
#include "tst_Win32VmPaths.moc"

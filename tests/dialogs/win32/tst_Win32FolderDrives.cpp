// The folder chooser on Windows: "Equipo" holds the system's drives, and a
// folder is reached through its drive letter.

#include "Drives.h"
#include "FileCtrlKv.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeView>
#include <QtTest>

class TestWin32FolderDrives : public QObject
{
    Q_OBJECT

private slots:
    void drivesAreTheSystemsLetters()
    {
        const QList<TComputerDrive> drives = ComputerDrives();
        QVERIFY(!drives.isEmpty());
        bool haveC = false;
        for (const TComputerDrive &d : drives) {
            QVERIFY2(d.RootPath.size() == 3 && d.RootPath.endsWith(":/"), qPrintable(d.RootPath));
            QVERIFY2(d.Text.endsWith(" (" + d.RootPath.left(2) + ")"), qPrintable(d.Text));
            QVERIFY(d.Type != TDriveType::NoRootDir);
            if (d.RootPath == "C:/") {
                haveC = true;
                QCOMPARE(d.Type, TDriveType::Fixed);
            }
        }
        QVERIFY(haveC);
    }

    void equipoListsTheDrivesAndReachesAFolderThroughItsLetter_data()
    {
        QTest::addColumn<bool>("desktopRoot");
        // Windows has no one root: the desktop's tree also starts at "Equipo".
        QTest::newRow("equipo") << false;
        QTest::newRow("escritorio") << true;
    }

    void equipoListsTheDrivesAndReachesAFolderThroughItsLetter()
    {
        QFETCH(bool, desktopRoot);
        QTemporaryDir tmp; // under the profile's Temp folder, on C:
        QVERIFY(tmp.path().startsWith("C:/", Qt::CaseInsensitive));
        TBrowseFolderDlgKV d;
        d.SetDesktopRoot(desktopRoot);
        d.SetFolderName(QDir::toNativeSeparators(tmp.path()));
        QString rootText, driveText, current;
        QStringList paths;
        QTimer watchdog;
        watchdog.setSingleShot(true);
        QObject::connect(&watchdog, &QTimer::timeout, [] {
            for (QWidget *w : QApplication::topLevelWidgets())
                if (auto *dlg = qobject_cast<QDialog *>(w); dlg && dlg->isVisible())
                    dlg->reject();
        });
        watchdog.start(10000);
        d.OnInitialized = [&](QObject *) {
            const auto *m = qobject_cast<QStandardItemModel *>(d.TreeView()->model());
            const QStandardItem *root = m->item(0);
            rootText = root->text();
            for (int i = 0; i < root->rowCount(); ++i) {
                paths << root->child(i)->data(Qt::UserRole + 1).toString();
                if (paths.last() == "C:/")
                    driveText = root->child(i)->text();
            }
            const QStandardItem *item = m->itemFromIndex(d.TreeView()->currentIndex());
            current = item ? item->data(Qt::UserRole + 1).toString() : QString();
            d.OkButton()->click();
        };
        QVERIFY(d.Execute());
        QVERIFY(watchdog.isActive());
        QCOMPARE(rootText, QString("Equipo"));
        QVERIFY2(paths.contains("C:/"), qPrintable(paths.join(", ")));
        QVERIFY(!paths.contains("/"));
        QVERIFY2(driveText.endsWith(" (C:)"), qPrintable(driveText));
        QCOMPARE(current.toLower(), tmp.path().toLower());
        QCOMPARE(QDir::fromNativeSeparators(d.FolderName()).toLower(), tmp.path().toLower());
    }
};

QTEST_MAIN(TestWin32FolderDrives)
#include "tst_Win32FolderDrives.moc"

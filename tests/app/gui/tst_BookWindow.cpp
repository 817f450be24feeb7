#include "BookWindow.h"

#include "BookModel.h"
#include "BookTestTree.h"
#include "ScriptedDialogs.h"
#include "VerifyWindow.h"
#include "WindowOpeners.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

class TestBookWindow : public QObject
{
    Q_OBJECT

    QTemporaryDir FDir;
    TBookTestTree FTree;

    static void WaitRead(TfrmCertificados &AWindow)
    {
        QSignalSpy finished(&AWindow, &TfrmCertificados::ReadingFinished);
        QVERIFY(finished.wait(60000));
    }

    static int RowOf(TfrmCertificados &AWindow, const QString &AFile)
    {
        for (int r = 0; r < AWindow.Proxy()->rowCount(); ++r) {
            const QModelIndex source = AWindow.Proxy()->mapToSource(AWindow.Proxy()->index(r, 0));
            if (AWindow.Model()->Group(source.row()).Files.contains(AFile))
                return r;
        }
        return -1;
    }

    static QString Cell(TfrmCertificados &AWindow, int ARow, int AColumn)
    {
        return AWindow.Proxy()->index(ARow, AColumn).data().toString();
    }

private slots:
    void initTestCase()
    {
        QVERIFY(FDir.isValid());
        QVERIFY(FTree.Build(FDir.path()));
        qputenv("ZEDEDE_AUTORIDADES", FTree.Authorities.toUtf8());
        Scripted();
    }

    void fillsSortedByUrgency()
    {
        TfrmCertificados w;
        w.show();
        w.OpenFolder(FTree.Tree);
        QVERIFY(w.Reading());
        WaitRead(w);
        auto *table = w.findChild<QTableView *>("tvCertificados");
        QVERIFY(table);
        QCOMPARE(table->model()->rowCount(), 13);
        QCOMPARE(Cell(w, 0, TBookModel::colEstado), QString("Vencido"));
        // Every state by its text and an icon, not by colour alone.
        for (int r = 0; r < table->model()->rowCount(); ++r) {
            QVERIFY(!Cell(w, r, TBookModel::colEstado).isEmpty());
            QVERIFY(!table->model()->index(r, 0).data(Qt::DecorationRole).value<QIcon>().isNull());
        }
        const int replaced = RowOf(w, FTree.Files["reemplazado"]["crt"]);
        QCOMPARE(replaced, table->model()->rowCount() - 1); // nothing to do: last
        QCOMPARE(Cell(w, replaced, TBookModel::colEstado), QString("Reemplazado"));

        // Sorted by company, then back by urgency.
        table->sortByColumn(TBookModel::colOrganizacion, Qt::AscendingOrder);
        QStringList companies;
        for (int r = 0; r < table->model()->rowCount(); ++r)
            if (!Cell(w, r, TBookModel::colOrganizacion).isEmpty())
                companies << Cell(w, r, TBookModel::colOrganizacion);
        QStringList sorted = companies;
        std::sort(sorted.begin(), sorted.end(), [](const QString &a, const QString &b) {
            return a.compare(b, Qt::CaseInsensitive) < 0;
        });
        QCOMPARE(companies, sorted);
        table->sortByColumn(TBookModel::colDias, Qt::DescendingOrder);
        int first = 0; // rows without a certificate have no days: they sort as the most
        while (Cell(w, first, TBookModel::colDias).isEmpty())
            ++first;
        QVERIFY(Cell(w, first, TBookModel::colDias).toInt() >= 599);
        table->sortByColumn(TBookModel::colEstado, Qt::AscendingOrder);
        QCOMPARE(Cell(w, 0, TBookModel::colEstado), QString("Vencido"));
    }

    void filterAndActions()
    {
        TfrmCertificados w;
        w.show();
        w.OpenFolder(FTree.Tree);
        WaitRead(w);
        auto *filter = w.findChild<QLineEdit *>("eFiltro");
        auto *table = w.findChild<QTableView *>("tvCertificados");
        QTest::keyClicks(filter, "pronto");
        QCOMPARE(table->model()->rowCount(), 1);
        QCOMPARE(Cell(w, 0, TBookModel::colEstado), QString("Por vencer"));
        filter->clear();
        QTest::keyClicks(filter, "30-50001091-2");
        QCOMPARE(table->model()->rowCount(), 1);
        filter->clear();
        QCOMPARE(table->model()->rowCount(), 13);

        auto *verify = w.findChild<QPushButton *>("btVerificar");
        auto *copy = w.findChild<QPushButton *>("btCopiarCUIT");
        auto *open = w.findChild<QPushButton *>("btAbrirCarpeta");
        auto *renew = w.findChild<QPushButton *>("btRenovar");
        auto *exportPfx = w.findChild<QPushButton *>("btExportar");
        QVERIFY(!verify->isEnabled() && !copy->isEnabled());
        table->setCurrentIndex(table->model()->index(RowOf(w, FTree.Files["vigente"]["crt"]), 0));
        QVERIFY(verify->isEnabled() && copy->isEnabled() && open->isEnabled() && exportPfx->isEnabled());
        QVERIFY(!renew->isEnabled());

        QTest::mouseClick(copy, Qt::LeftButton);
        QCOMPARE(QGuiApplication::clipboard()->text(), QString("20123456786"));
        QUrl opened;
        Scripted().OnOpenUrl = [&](const QUrl &AUrl) { opened = AUrl; };
        QTest::mouseClick(open, Qt::LeftButton);
        QCOMPARE(opened.toLocalFile(), QFileInfo(FTree.Files["vigente"]["crt"]).path());
        Scripted().OnOpenUrl = nullptr;

        // Verificar, and Enter on a row, open the check of its certificate.
        QTest::mouseClick(verify, Qt::LeftButton);
        table->setCurrentIndex(table->model()->index(RowOf(w, FTree.Files["vencido"]["crt"]), 1));
        table->setFocus();
        QTest::keyClick(table, Qt::Key_Return);
        QStringList checked;
        for (QWidget *top : QApplication::topLevelWidgets())
            if (auto *check = qobject_cast<TfrmVerificar *>(top)) {
                checked << check->Verification().File;
                check->close();
            }
        checked.sort();
        QStringList expected{FTree.Files["vigente"]["crt"], FTree.Files["vencido"]["crt"]};
        expected.sort();
        QCOMPARE(checked, expected);
    }

    void chooseFolderAndRefresh()
    {
        TfrmCertificados w;
        w.show();
        QTemporaryDir other;
        Scripted().OnChooseFile = [&](const QString &, const QString &) { return other.path(); };
        QTest::mouseClick(w.findChild<QPushButton *>("btElegirCarpeta"), Qt::LeftButton);
        Scripted().OnChooseFile = nullptr;
        WaitRead(w);
        QCOMPARE(w.Folder(), QDir::cleanPath(other.path()));
        QCOMPARE(w.Model()->rowCount(), 0);
        // A certificate saved into the folder appears without asking.
        QVERIFY(QFile::copy(FTree.Files["homologacion"]["crt"], other.path() + "/nuevo.crt"));
        QTRY_COMPARE_WITH_TIMEOUT(w.Model()->rowCount(), 1, 20000);
        QTRY_VERIFY_WITH_TIMEOUT(!w.Reading(), 20000);
        QCOMPARE(StateWord(w.Model()->Group(0).State), QString("sin-clave"));
    }

    void cancelAndClose()
    {
        auto *w = new TfrmCertificados;
        w->show();
        w->OpenFolder(FTree.Tree);
        w->findChild<QPushButton *>("btCancelar")->click();
        WaitRead(*w);
        QVERIFY(!w->Reading());
        // Closing while it reads leaves nothing behind.
        w->OpenFolder(FTree.Tree);
        delete w;
    }

    // "Avisarme cuando un certificado esté por vencer" turns the folder's
    // daily check on and off, and shows what the system holds (here a
    // session without a user manager: the autostart entry).
    void remindersOnAndOff()
    {
        QTemporaryDir bin;
        WriteTestFile(bin.path() + "/systemctl", "#!/bin/sh\nexit 1\n");
        QFile::setPermissions(bin.path() + "/systemctl",
                              QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", bin.path().toUtf8() + ":" + path);
        const QString autostart = QString::fromLocal8Bit(qgetenv("XDG_CONFIG_HOME")) + "/autostart";
        QTemporaryDir folder;
        TfrmCertificados w;
        w.show();
        w.OpenFolder(folder.path());
        WaitRead(w);
        QVERIFY(!w.cbAvisos->isChecked());
        w.cbAvisos->click();
        QVERIFY(w.cbAvisos->isChecked());
        const QStringList entries = QDir(autostart).entryList({"zedede-*.desktop"}, QDir::Files);
        QCOMPARE(entries.size(), 1);
        QVERIFY(ReadTestFile(autostart + "/" + entries.first()).contains("--avisar"));
        // Another window on the same folder reads the same state.
        TfrmCertificados again;
        again.OpenFolder(folder.path());
        WaitRead(again);
        QVERIFY(again.cbAvisos->isChecked());
        w.cbAvisos->click();
        QVERIFY(!w.cbAvisos->isChecked());
        QCOMPARE(QDir(autostart).entryList({"zedede-*.desktop"}, QDir::Files), QStringList());
        qputenv("PATH", path);
    }

    void checkWindowOpensTheBook()
    {
        QString asked = "sin llamar";
        WindowOpeners().Book = [&](const QString &AFolder) { asked = AFolder; };
        TfrmVerificar check;
        check.DefaultFolder = FTree.Tree;
        auto *button = check.findChild<QPushButton *>("btMisCertificados");
        QVERIFY(button);
        QVERIFY(button->isEnabled());
        button->click();
        QCOMPARE(asked, FTree.Tree);
        WindowOpeners().Book = nullptr;
    }
};

QTEST_MAIN(TestBookWindow)
#include "tst_BookWindow.moc"

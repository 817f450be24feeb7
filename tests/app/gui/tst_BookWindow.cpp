#include "BookWindow.h"

#include "BookModel.h"
#include "AppTestSupport.h"
#include "WindowTestSupport.h"
#include "BookTestTree.h"
#include "CuitMaskEdit.h"
#include "ProgramLook.h"
#include "RenewalFolders.h"
#include "RenewalTestSupport.h"
#include "ScriptedDialogs.h"
#include "UCWWizard.h"
#include "VerifyWindow.h"
#include "WindowOpeners.h"
#include "ZeDedeApp.h"
#include "uZeDede.h"

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

    QTemporaryDir FDir{AccentedTemporaryPattern()};
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
    void cleanupTestCase() { ForgetOpenSSLFolder(); }

    void initTestCase()
    {
        QVERIFY(FDir.isValid());
        QVERIFY(FTree.Build(FDir.path()));
        qputenv("ZEDEDE_AUTORIDADES", FTree.Authorities.toLocal8Bit());
        // For the wizard a renewal opens.
        UseTemporaryHome(FDir.filePath("home"));
        LoadSpanishTranslation(*qApp);
        StandInOpenSSLFolder(FDir.filePath("openssl/"));
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
        QCOMPARE(table->model()->rowCount(), 14);
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
        QCOMPARE(table->model()->rowCount(), 2); // its certificate and its renewal
        QVERIFY(Cell(w, 0, TBookModel::colEstado).startsWith("Por vencer ("));
        QVERIFY(Cell(w, 1, TBookModel::colEstado).startsWith("Pedido pendiente ("));
        filter->clear();
        QTest::keyClicks(filter, "30-50001091-2");
        QCOMPARE(table->model()->rowCount(), 2);
        filter->clear();
        QTest::keyClicks(filter, "de alias2.crt");
        QCOMPARE(table->model()->rowCount(), 1);
        filter->clear();
        QCOMPARE(table->model()->rowCount(), 14);

        auto *verify = w.findChild<QPushButton *>("btVerificar");
        auto *copy = w.findChild<QPushButton *>("btCopiarCUIT");
        auto *open = w.findChild<QPushButton *>("btAbrirCarpeta");
        auto *renew = w.findChild<QPushButton *>("btRenovar");
        auto *exportPfx = w.findChild<QPushButton *>("btExportar");
        QVERIFY(!verify->isEnabled() && !copy->isEnabled());
        table->setCurrentIndex(table->model()->index(RowOf(w, FTree.Files["vigente"]["crt"]), 0));
        QVERIFY(verify->isEnabled() && copy->isEnabled() && open->isEnabled() && exportPfx->isEnabled());
        QVERIFY(renew->isEnabled());
        // Not for a certificate of another issuer, nor for a request.
        table->setCurrentIndex(table->model()->index(RowOf(w, FTree.Files["otro"]["crt"]), 0));
        QVERIFY(!renew->isEnabled());
        table->setCurrentIndex(table->model()->index(RowOf(w, FTree.Files["renovacion"]["req"]), 0));
        QVERIFY(!renew->isEnabled() && !exportPfx->isEnabled());
        QVERIFY(!w.findChild<QPushButton *>("btUsarCertificado")->isEnabled());
        table->setCurrentIndex(table->model()->index(RowOf(w, FTree.Files["vigente"]["crt"]), 0));

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

    // The renewal waiting for its certificate is the row after the one it
    // is to replace, whatever the column and order; both say so.
    void pendingRenewalBesideItsCertificate()
    {
        TfrmCertificados w;
        w.show();
        w.OpenFolder(FTree.Tree);
        WaitRead(w);
        auto *table = w.findChild<QTableView *>("tvCertificados");
        for (int column = 0; column < TBookModel::ColumnCount; ++column)
            for (Qt::SortOrder order : {Qt::AscendingOrder, Qt::DescendingOrder}) {
                table->sortByColumn(column, order);
                const int renewed = RowOf(w, FTree.Files["por-vencer"]["crt"]);
                QVERIFY(renewed >= 0);
                QVERIFY2(RowOf(w, FTree.Files["renovacion"]["req"]) == renewed + 1,
                         qPrintable(QString("columna %1, orden %2").arg(column).arg(int(order))));
            }
        table->sortByColumn(TBookModel::colEstado, Qt::AscendingOrder);
        const int renewed = RowOf(w, FTree.Files["por-vencer"]["crt"]);
        QCOMPARE(renewed, 1); // the most urgent after the expired one
        QCOMPARE(Cell(w, renewed, TBookModel::colEstado),
                 QString("Por vencer (renovación pendiente en «Renovación 2026-03-14»)"));
        QCOMPARE(Cell(w, renewed + 1, TBookModel::colEstado),
                 QString("Pedido pendiente (renovación de alias2.crt)"));
        QCOMPARE(StateWord(w.Model()->Group(w.Proxy()->mapToSource(w.Proxy()->index(renewed + 1, 0)).row()).State),
                 QString("pedido-pendiente"));
        QCOMPARE(Cell(w, renewed + 1, TBookModel::colOrganizacion), QString("Pronto SRL"));
        QVERIFY(w.Proxy()->index(renewed + 1, TBookModel::colArchivos).data(Qt::ToolTipRole).toString()
                    .contains(QDir::toNativeSeparators(FTree.Files["renovacion"]["key"])));
        table->setCurrentIndex(w.Proxy()->index(renewed + 1, 0));
        SaveShot(&w, "bookrenew-tabla");
    }

    // Renovar opens the wizard on its data page, filled from the row's
    // certificate and request, the renewal folder beside it as destination;
    // nothing in the folder changes.
    void renewOpensTheWizard()
    {
        const QString folder = QFileInfo(FTree.Files["vigente"]["crt"]).path();
        const auto before = FolderHashes(folder);
        InstallWindowOpeners();
        TfrmCertificados w;
        w.show();
        w.OpenFolder(FTree.Tree);
        WaitRead(w);
        auto *table = w.findChild<QTableView *>("tvCertificados");
        table->setCurrentIndex(table->model()->index(RowOf(w, FTree.Files["vigente"]["crt"]), 0));
        QTest::mouseClick(w.findChild<QPushButton *>("btRenovar"), Qt::LeftButton);
        QPointer<TfrmZeDede> wizard;
        for (QWidget *top : QApplication::topLevelWidgets())
            if (auto *z = qobject_cast<TfrmZeDede *>(top); z && z->isVisible())
                wizard = z;
        QVERIFY(wizard);
        QCOMPARE(wizard->wizt->ActivePage(), wizard->wpDatos);
        QCOMPARE(wizard->eNombreEmpresa->text(), QString("Vigente SA"));
        QCOMPARE(wizard->eCUIT->Text(), QString("20-12345678-6"));
        QCOMPARE(wizard->eOperador->text(), QString("alias1"));
        QCOMPARE(wizard->eMail->text(), QString("a@b.ar"));
        QCOMPARE(wizard->eCarpeta->text(), folder + "/" + RenewalFolderName(QDate::currentDate()));
        QVERIFY(wizard->ePassword->text().isEmpty());
        wizard->close();
        QTRY_VERIFY(!wizard);
        QCOMPARE(FolderHashes(folder), before);

        // A certificate that cannot be read any more: the reason in a box.
        QTemporaryDir dir;
        const QString crt = dir.path() + "/c.crt";
        QVERIFY(QFile::copy(FTree.Files["vigente"]["crt"], crt));
        w.OpenFolder(dir.path());
        WaitRead(w);
        table->setCurrentIndex(table->model()->index(0, 0));
        QVERIFY(QFile::remove(crt) && WriteTestFile(crt, "roto"));
        QStringList boxes;
        Scripted().OnBox = [&](const TMessageBoxRequest &R) { boxes << R.Text; return R.Default; };
        QTest::mouseClick(w.findChild<QPushButton *>("btRenovar"), Qt::LeftButton);
        Scripted().OnBox = nullptr;
        QCOMPARE(boxes.size(), 1);
        for (QWidget *top : QApplication::topLevelWidgets())
            QVERIFY(!(qobject_cast<TfrmZeDede *>(top) && top->isVisible()));
        WindowOpeners() = TWindowOpeners();
    }

    // The renewal's certificate has arrived: "Usar este certificado" puts it
    // and its key in the places of the pair in use, which goes into
    // Anteriores/, and the table is read again.
    void useThisCertificate()
    {
        QTemporaryDir dir;
        TBookTestTree company;
        company.Tree = dir.path();
        QVERIFY(company.Company(&FTree.Production, "en-uso", "empresa", "Cambio SA", "20123456786", "alias20", 20));
        QVERIFY(company.Company(&FTree.Production, "nuevo", QString::fromUtf8("empresa/Renovación 2026-03-14"),
                                "Cambio SA", "20123456786", "alias20", 730));
        const QString folder = dir.path() + "/empresa";
        const auto before = FolderHashes(folder);
        TfrmCertificados w;
        w.show();
        w.OpenFolder(dir.path());
        WaitRead(w);
        auto *table = w.findChild<QTableView *>("tvCertificados");
        auto *use = w.findChild<QPushButton *>("btUsarCertificado");
        QVERIFY(use);
        QCOMPARE(table->model()->rowCount(), 2);
        const int old = RowOf(w, company.Files["en-uso"]["crt"]);
        QCOMPARE(RowOf(w, company.Files["nuevo"]["crt"]), old + 1);
        table->setCurrentIndex(table->model()->index(old, 0));
        QVERIFY(!use->isEnabled());
        table->setCurrentIndex(table->model()->index(old + 1, 0));
        QVERIFY(use->isEnabled());

        // Answered No: nothing moves.
        QStringList asked;
        Scripted().OnBox = [&](const TMessageBoxRequest &R) { asked << R.Text; return QMessageBox::No; };
        QTest::mouseClick(use, Qt::LeftButton);
        QCOMPARE(asked.size(), 1);
        QCOMPARE(FolderHashes(folder), before);
        QVERIFY(!w.Reading());

        Scripted().OnBox = [&](const TMessageBoxRequest &R) {
            asked << R.Text;
            return R.Buttons & QMessageBox::Yes ? QMessageBox::Yes : R.Default;
        };
        QTest::mouseClick(use, Qt::LeftButton);
        Scripted().OnBox = nullptr;
        QCOMPARE(asked.size(), 3); // the question, then where the files are now
        QVERIFY(w.Reading());
        WaitRead(w);

        // The new pair under the names of the old one; the old one kept whole.
        const QString renewal = "Renovación 2026-03-14/";
        const QString kept = "Anteriores/" + QDate::currentDate().toString("yyyy-MM-dd") + "/";
        const auto after = FolderHashes(folder);
        QCOMPARE(after.size(), before.size());
        for (const char *f : {"Privada_CambioSA_alias20.key", "Pedido_CambioSA_alias20.req",
                              "Source_CambioSA_alias20.txt", "alias20.crt"}) {
            QCOMPARE(after.value(f), before.value(renewal + f));
            QCOMPARE(after.value(kept + f), before.value(f));
        }
        QVERIFY(!QFileInfo::exists(folder + "/" + renewal));
        QCOMPARE(table->model()->rowCount(), 2);
        const int inUse = RowOf(w, folder + "/alias20.crt");
        QCOMPARE(Cell(w, inUse, TBookModel::colEstado), QString("Vigente"));
        QCOMPARE(Cell(w, RowOf(w, folder + "/" + kept + "alias20.crt"), TBookModel::colEstado),
                 QString("Reemplazado"));
    }

    // At its smallest the window still shows every action whole, none over another.
    void actionsFitAtTheSmallestSize()
    {
        TfrmCertificados w;
        w.show();
        w.resize(w.minimumSize());
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QCoreApplication::processEvents();
        const QList<QPushButton *> buttons = w.findChildren<QPushButton *>();
        for (QPushButton *a : buttons) {
            if (!a->isVisibleTo(&w))
                continue;
            QVERIFY2(a->width() >= a->sizeHint().width(), qPrintable(a->objectName()));
            QVERIFY2(w.rect().contains(a->geometry()), qPrintable(a->objectName()));
            for (QPushButton *b : buttons)
                if (b != a && b->isVisibleTo(&w))
                    QVERIFY2(!a->geometry().intersects(b->geometry()),
                             qPrintable(a->objectName() + " / " + b->objectName()));
        }
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
#ifdef Q_OS_WIN
        QSKIP("the autostart entry is Linux's; the scheduled task has its own test");
#endif
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

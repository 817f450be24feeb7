// Drives the folder chooser headless: every open dialog is scripted from
// OnInitialized, and a watchdog closes whatever is still open so that a
// broken script fails the test instead of hanging it.

#include "FileCtrlKv.h"
#include "Exception.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QInputDialog>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStandardItemModel>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeView>
#include <QtTest>

namespace {

using TScript = std::function<void(TBrowseFolderDlgKV &)>;

struct TRun {
    bool Result = false;
    bool TimedOut = false;
};

void CloseOpenDialogs()
{
    for (QWidget *w : QApplication::topLevelWidgets())
        if (auto *dlg = qobject_cast<QDialog *>(w); dlg && dlg->isVisible())
            dlg->reject();
}

// Executes the chooser with AScript run once it is set up.
TRun RunScripted(TBrowseFolderDlgKV &d, const TScript &AScript)
{
    TRun run;
    QTimer watchdog;
    watchdog.setInterval(10000);
    QObject::connect(&watchdog, &QTimer::timeout, [&] {
        run.TimedOut = true;
        watchdog.setInterval(500);
        CloseOpenDialogs();
    });
    watchdog.start();
    d.OnInitialized = [&](QObject *) { AScript(d); };
    run.Result = d.Execute();
    d.OnInitialized = nullptr;
    return run;
}

QString CurrentPath(TBrowseFolderDlgKV &d)
{
    const auto *model = qobject_cast<QStandardItemModel *>(d.TreeView()->model());
    const QStandardItem *item = model->itemFromIndex(d.TreeView()->currentIndex());
    return item ? item->data(Qt::UserRole + 1).toString() : QStringLiteral("<none>");
}

QString CurrentText(TBrowseFolderDlgKV &d)
{
    return d.TreeView()->currentIndex().data().toString();
}

void Shot(QWidget *w, const QString &AName)
{
    const QString dir = qEnvironmentVariable("ZEDEDE_SHOTS_DIR");
    if (!dir.isEmpty() && w)
        w->grab().save(QDir(dir).filePath(AName + QStringLiteral(".png")));
}

} // namespace

class TestBrowseFolderDlgKV : public QObject
{
    Q_OBJECT

private slots:
    void pathHelpersUseTheSlashDelimiter();
    void constructorDefaults();
    void setterRulesForKindTypeCaptionAndStatus();
    void opensOnExistingFolderAndConfirmsItWithoutDelimiter();
    void confirmingTheRootKeepsItsDelimiter();
    void cancelKeepsResultsButRemembersLastSelection();
    void missingFolderIsNotPreselected();
    void okAndExtraButtonFollowTheSelection();
    void statusLineFollowsSelectionWithoutClipping();
    void extraButtonKindsCaptionsAndPlace();
    void newFolderIsCreatedUnderSelectionAndSelected_data();
    void newFolderIsCreatedUnderSelectionAndSelected();
    void newFolderCancelledChangesNothing();
    void newFolderRefusesNamesThatLeaveTheSelection_data();
    void newFolderRefusesNamesThatLeaveTheSelection();
    void newFolderFailureIsReported();
    void btnAuxEventReplacesBuiltInActions();
    void helpButtonOpensItsContext();
    void selectionEventPrecedesInitializedEvent();
    void centresOnThePrimaryScreen();
    void defaultPositionIsLeftToTheToolkitAndOwnerIsActivatedAgain();
    void knownComputerNamesFromHostsFile();
    void computersModeChoosesAMachine();
    void drivesModeStartsFromTheComputer();
    void handlerErrorClosesDialogAndIsRaised();
    void defaultPromptsAreSpanish();
};

void TestBrowseFolderDlgKV::pathHelpersUseTheSlashDelimiter()
{
    QCOMPARE(TBrowseFolderDlgKV::AddBackslash("/tmp"), QString("/tmp/"));
    QCOMPARE(TBrowseFolderDlgKV::AddBackslash("/tmp/"), QString("/tmp/"));
    QCOMPARE(TBrowseFolderDlgKV::AddBackslash(""), QString("/"));
    QCOMPARE(TBrowseFolderDlgKV::RemoveBackslash("/tmp/"), QString("/tmp"));
    QCOMPARE(TBrowseFolderDlgKV::RemoveBackslash("/tmp"), QString("/tmp"));
    QCOMPARE(TBrowseFolderDlgKV::RemoveBackslash("/"), QString("/"));
    QCOMPARE(TBrowseFolderDlgKV::RemoveBackslash("C:\\"), QString("C:\\"));

    QTemporaryDir tmp;
    QFile file(tmp.filePath("f"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    QVERIFY(TBrowseFolderDlgKV::IsDirectory(tmp.path()));
    QVERIFY(TBrowseFolderDlgKV::IsDirectory(tmp.path() + "/"));
    QVERIFY(!TBrowseFolderDlgKV::IsDirectory(tmp.filePath("f")));
    QVERIFY(!TBrowseFolderDlgKV::IsDirectory(tmp.filePath("missing")));
    QVERIFY(!TBrowseFolderDlgKV::IsDirectory(""));
}

void TestBrowseFolderDlgKV::constructorDefaults()
{
    QObject owner;
    auto *d = new TBrowseFolderDlgKV(&owner);
    QCOMPARE(d->parent(), &owner);
    QCOMPARE(d->Title(), QString("Buscar Carpeta"));
    QVERIFY(d->DesktopRoot());
    QCOMPARE(d->BrowseKind(), bfFolders);
    QCOMPARE(d->Position(), dpScreenCenter);
    QCOMPARE(d->BtnType(), btnone);
    QVERIFY(d->BtnCaption().isEmpty());
    QVERIFY(!d->ShowStatus());
    QVERIFY(d->DisplayName().isEmpty());
    QVERIFY(d->Handle() == nullptr);
}

void TestBrowseFolderDlgKV::setterRulesForKindTypeCaptionAndStatus()
{
    TBrowseFolderDlgKV d;
    d.SetBtnType(btNew);
    QCOMPARE(d.BtnCaption(), QString("&Nuevo"));
    d.SetBtnType(btHelp);
    QCOMPARE(d.BtnCaption(), QString("&Ayuda"));
    d.SetBtnCaption("&Otro");
    d.SetBtnType(btHelp); // unchanged: keeps the caption
    QCOMPARE(d.BtnCaption(), QString("&Otro"));
    d.SetBtnType(btnone);
    QCOMPARE(d.BtnCaption(), QString("&Otro"));

    d.SetBtnType(btNew);
    d.SetShowStatus(true);
    d.SetBrowseKind(bfComputers);
    QCOMPARE(d.BtnType(), btnone);
    QVERIFY(!d.ShowStatus());

    d.SetBtnType(btNew);
    QCOMPARE(d.BtnType(), btnone);
    d.SetBtnType(btHelp);
    QCOMPARE(d.BtnType(), btHelp);
    d.SetShowStatus(true);
    QVERIFY(!d.ShowStatus());

    d.SetBrowseKind(bfFolders);
    d.SetShowStatus(true);
    QVERIFY(d.ShowStatus());
    d.SetBtnType(btNew);
    QCOMPARE(d.BtnType(), btNew);
}

void TestBrowseFolderDlgKV::opensOnExistingFolderAndConfirmsItWithoutDelimiter()
{
    QTemporaryDir tmp;
    const QString folder = tmp.filePath("Temp");
    QVERIFY(QDir().mkpath(folder));

    TBrowseFolderDlgKV d;
    d.SetTitle("Elegir destino");
    d.SetDialogText("Seleccione la carpeta donde se guardarán los archivos.");
    d.SetFolderName(folder + "/");
    QString title, okText, cancelText, text, selected, current;
    bool handleWhileOpen = false, okEnabled = false;
    const TRun run = RunScripted(d, [&](TBrowseFolderDlgKV &dlg) {
        handleWhileOpen = dlg.Handle() != nullptr && dlg.Handle()->isVisible();
        title = dlg.Handle()->windowTitle();
        okText = dlg.OkButton()->text();
        cancelText = dlg.CancelButton()->text();
        text = dlg.TextLabel()->isVisible() ? dlg.TextLabel()->text() : QString();
        selected = dlg.SelectedName();
        current = CurrentPath(dlg);
        okEnabled = dlg.OkButton()->isEnabled();
        QTimer::singleShot(50, dlg.Handle(), [&dlg] {
            Shot(dlg.Handle(), "browse_folder");
            dlg.OkButton()->click();
        });
    });
    QVERIFY(!run.TimedOut);
    QVERIFY(run.Result);
    QVERIFY(handleWhileOpen);
    QVERIFY(d.Handle() == nullptr);
    QCOMPARE(title, QString("Elegir destino"));
    QCOMPARE(okText, QString("Aceptar"));
    QCOMPARE(cancelText, QString("Cancelar"));
    QCOMPARE(text, d.DialogText());
    QCOMPARE(selected, folder);
    QCOMPARE(current, folder);
    QVERIFY(okEnabled);
    QCOMPARE(d.FolderName(), folder);
    QCOMPARE(d.SelectedName(), folder);
    QCOMPARE(d.DisplayName(), QString("Temp"));
    QCOMPARE(d.ImageIndex(), int(TBrowseFolderDlgKV::iiFolder));
}

void TestBrowseFolderDlgKV::confirmingTheRootKeepsItsDelimiter()
{
    TBrowseFolderDlgKV d;
    d.SetFolderName("/");
    const TRun run = RunScripted(d, [](TBrowseFolderDlgKV &dlg) { dlg.OkButton()->click(); });
    QVERIFY(!run.TimedOut);
    QVERIFY(run.Result);
    QCOMPARE(d.FolderName(), QString("/"));
    QCOMPARE(d.SelectedName(), QString("/"));
    QCOMPARE(d.DisplayName(), QString("/"));
    QCOMPARE(d.ImageIndex(), int(TBrowseFolderDlgKV::iiDrive));
}

void TestBrowseFolderDlgKV::cancelKeepsResultsButRemembersLastSelection()
{
    QTemporaryDir tmp;
    const QString a = tmp.filePath("A"), b = tmp.filePath("B");
    QVERIFY(QDir().mkpath(a) && QDir().mkpath(b));

    TBrowseFolderDlgKV d;
    d.SetFolderName(a);
    TRun run = RunScripted(d, [](TBrowseFolderDlgKV &dlg) { dlg.OkButton()->click(); });
    QVERIFY(run.Result);
    QCOMPARE(d.DisplayName(), QString("A"));

    run = RunScripted(d, [&](TBrowseFolderDlgKV &dlg) {
        dlg.SetSelection(b);
        dlg.CancelButton()->click();
    });
    QVERIFY(!run.TimedOut);
    QVERIFY(!run.Result);
    QCOMPARE(d.FolderName(), a);
    QCOMPARE(d.DisplayName(), QString("A"));
    QCOMPARE(d.SelectedName(), b);

    // Escape closes it as a cancel too.
    run = RunScripted(d, [](TBrowseFolderDlgKV &dlg) { QTest::keyClick(dlg.Handle(), Qt::Key_Escape); });
    QVERIFY(!run.TimedOut);
    QVERIFY(!run.Result);
    QCOMPARE(d.FolderName(), a);
}

void TestBrowseFolderDlgKV::missingFolderIsNotPreselected()
{
    QTemporaryDir tmp;
    TBrowseFolderDlgKV d;
    d.SetFolderName(tmp.filePath("no/such/folder"));
    QString current;
    const TRun run = RunScripted(d, [&](TBrowseFolderDlgKV &dlg) {
        current = CurrentPath(dlg);
        dlg.CancelButton()->click();
    });
    QVERIFY(!run.TimedOut);
    QCOMPARE(current, QString("/"));
    QCOMPARE(d.FolderName(), tmp.filePath("no/such/folder"));
}

void TestBrowseFolderDlgKV::okAndExtraButtonFollowTheSelection()
{
    QTemporaryDir tmp;
    const QString gone = tmp.filePath("gone"), kept = tmp.filePath("kept");
    QVERIFY(QDir().mkpath(gone) && QDir().mkpath(kept));

    // Drives mode: the computer at the top is no folder.
    TBrowseFolderDlgKV d;
    d.SetDesktopRoot(false);
    d.SetBtnType(btNew);
    d.SetFolderName(kept);
    bool okOnFolder = false, btnOnFolder = false, okOnVirtual = true, btnOnVirtual = true;
    QString nameOnVirtual = "x";
    bool okOnDeleted = true;
    QString nameOnDeleted;
    const TRun run = RunScripted(d, [&](TBrowseFolderDlgKV &dlg) {
        okOnFolder = dlg.OkButton()->isEnabled();
        btnOnFolder = dlg.Btn()->isEnabled();
        dlg.TreeView()->setCurrentIndex(dlg.TreeView()->model()->index(0, 0));
        okOnVirtual = dlg.OkButton()->isEnabled();
        btnOnVirtual = dlg.Btn()->isEnabled();
        nameOnVirtual = dlg.SelectedName();
        // A folder that vanished after it was listed can no longer be chosen.
        dlg.SetSelection(gone);
        const QModelIndex goneIndex = dlg.TreeView()->currentIndex();
        dlg.SetSelection(kept);
        QDir(gone).removeRecursively();
        dlg.TreeView()->setCurrentIndex(goneIndex);
        okOnDeleted = dlg.OkButton()->isEnabled();
        nameOnDeleted = dlg.SelectedName();
        dlg.CancelButton()->click();
    });
    QVERIFY(!run.TimedOut);
    QVERIFY(okOnFolder);
    QVERIFY(btnOnFolder);
    QVERIFY(!okOnVirtual);
    QVERIFY(!btnOnVirtual);
    QVERIFY(nameOnVirtual.isEmpty());
    QVERIFY(!okOnDeleted);
    QCOMPARE(nameOnDeleted, gone);
}

void TestBrowseFolderDlgKV::statusLineFollowsSelectionWithoutClipping()
{
    QTemporaryDir tmp;
    const QString deep = tmp.filePath(QString("una carpeta con un nombre bastante largo/").repeated(4) + "fin");
    QVERIFY(QDir().mkpath(deep));

    TBrowseFolderDlgKV d;
    d.SetShowStatus(true);
    d.SetFolderName(tmp.path());
    bool visible = false, fits = false;
    QString statusAtOpen, statusDeep, tip;
    const TRun run = RunScripted(d, [&](TBrowseFolderDlgKV &dlg) {
        visible = dlg.StatusLabel()->isVisible();
        statusAtOpen = dlg.StatusText();
        dlg.SetSelection(deep);
        statusDeep = dlg.StatusText();
        tip = dlg.StatusLabel()->toolTip();
        const QLabel *label = dlg.StatusLabel();
        fits = label->fontMetrics().horizontalAdvance(label->text()) <= label->contentsRect().width();
        QTimer::singleShot(50, dlg.Handle(), [&dlg] {
            Shot(dlg.Handle(), "browse_folder_status");
            dlg.CancelButton()->click();
        });
    });
    QVERIFY(!run.TimedOut);
    QVERIFY(visible);
    QCOMPARE(statusAtOpen, tmp.path());
    QCOMPARE(statusDeep, deep);
    QCOMPARE(tip, deep);
    QVERIFY(fits);

    // Without a status line the text is left alone.
    d.SetShowStatus(false);
    bool hidden = false;
    RunScripted(d, [&](TBrowseFolderDlgKV &dlg) {
        hidden = !dlg.StatusLabel()->isVisible();
        dlg.SetSelection("/");
        dlg.CancelButton()->click();
    });
    QVERIFY(hidden);
    QCOMPARE(d.StatusText(), deep);
}

void TestBrowseFolderDlgKV::extraButtonKindsCaptionsAndPlace()
{
    struct TCase {
        TBtnType Type;
        QString Caption;
        bool Visible;
        QString Expected;
    };
    const QList<TCase> cases{{btnone, QString(), false, QString("&Ayuda")},
                             {btNew, QString(), true, QString("&Nuevo")},
                             {btHelp, QString(), true, QString("&Ayuda")},
                             {btNew, QString("&Crear"), true, QString("&Crear")}};
    for (const TCase &c : cases) {
        TBrowseFolderDlgKV d;
        d.SetBtnType(c.Type);
        d.SetBtnCaption(c.Caption);
        bool exists = false, visible = !c.Visible, sameRow = false;
        int left = -1, okLeft = -1;
        QString caption;
        RunScripted(d, [&](TBrowseFolderDlgKV &dlg) {
            exists = dlg.Btn() != nullptr;
            visible = dlg.Btn()->isVisible();
            caption = dlg.Btn()->text();
            left = dlg.Btn()->x();
            okLeft = dlg.OkButton()->x();
            sameRow = dlg.Btn()->geometry().top() == dlg.OkButton()->geometry().top()
                && dlg.Btn()->size() == dlg.OkButton()->size();
            if (c.Type == btNew && c.Caption.isEmpty())
                Shot(dlg.Handle(), "browse_folder_new");
            dlg.CancelButton()->click();
        });
        QVERIFY(exists);
        QCOMPARE(visible, c.Visible);
        QCOMPARE(caption, c.Expected);
        QCOMPARE(d.BtnCaption(), c.Expected);
        QCOMPARE(left, 12);
        QVERIFY(left < okLeft);
        QVERIFY(sameRow);
    }
}

void TestBrowseFolderDlgKV::newFolderIsCreatedUnderSelectionAndSelected_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("plain") << "Nueva";
    QTest::newRow("blanks and accents") << "Carpeta de años";
    QTest::newRow("hidden") << ".oculta";
}

void TestBrowseFolderDlgKV::newFolderIsCreatedUnderSelectionAndSelected()
{
    QFETCH(QString, name);
    QTemporaryDir tmp;
    const QString datos = tmp.filePath("Datos");
    QVERIFY(QDir().mkpath(datos));
    const QString expected = datos + "/" + name;

    TBrowseFolderDlgKV d;
    d.SetBtnType(btNew);
    d.SetFolderName(datos);
    QString caption, prompt, initial, selected, currentText, currentParent;
    QStringList messages;
    d.InputQuery = [&](QWidget *, const QString &ACaption, const QString &APrompt, QString &AValue) {
        caption = ACaption;
        prompt = APrompt;
        initial = AValue;
        AValue = name;
        return true;
    };
    d.ShowMessage = [&](QWidget *, const QString &AText) { messages << AText; };
    const TRun run = RunScripted(d, [&](TBrowseFolderDlgKV &dlg) {
        dlg.Btn()->click();
        selected = dlg.SelectedName();
        currentText = CurrentText(dlg);
        currentParent = dlg.TreeView()->currentIndex().parent().data(Qt::UserRole + 1).toString();
        dlg.OkButton()->click();
    });
    QVERIFY(!run.TimedOut);
    QVERIFY(messages.isEmpty());
    QCOMPARE(caption, QString("Nueva Carpeta"));
    QCOMPARE(prompt, QString("Ingrese nombre de carpeta a crear"));
    QVERIFY(initial.isEmpty());
    QVERIFY(QFileInfo(expected).isDir());
    QCOMPARE(selected, expected);
    QCOMPARE(currentText, name);
    QCOMPARE(currentParent, datos);
    QVERIFY(run.Result);
    QCOMPARE(d.FolderName(), expected);
}

void TestBrowseFolderDlgKV::newFolderCancelledChangesNothing()
{
    QTemporaryDir tmp;
    TBrowseFolderDlgKV d;
    d.SetBtnType(btNew);
    d.SetFolderName(tmp.path());
    int asked = 0, shown = 0;
    d.InputQuery = [&](QWidget *, const QString &, const QString &, QString &AValue) {
        ++asked;
        AValue = "NoCreada";
        return false;
    };
    d.ShowMessage = [&](QWidget *, const QString &) { ++shown; };
    QString selected;
    RunScripted(d, [&](TBrowseFolderDlgKV &dlg) {
        dlg.Btn()->click();
        selected = dlg.SelectedName();
        dlg.CancelButton()->click();
    });
    QCOMPARE(asked, 1);
    QCOMPARE(shown, 0);
    QCOMPARE(selected, tmp.path());
    QVERIFY(QDir(tmp.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden).isEmpty());
}

void TestBrowseFolderDlgKV::newFolderRefusesNamesThatLeaveTheSelection_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("climbs") << "../fuera";
    QTest::newRow("parent") << "..";
    QTest::newRow("current") << ".";
    QTest::newRow("splits") << "a/b";
    QTest::newRow("absolute") << "/fuera";
    QTest::newRow("backslash") << "a\\b";
    QTest::newRow("empty") << "";
    QTest::newRow("blanks") << "   ";
}

void TestBrowseFolderDlgKV::newFolderRefusesNamesThatLeaveTheSelection()
{
    QFETCH(QString, name);
    QTemporaryDir outer;
    const QString base = outer.filePath("base");
    QVERIFY(QDir().mkpath(base));

    TBrowseFolderDlgKV d;
    d.SetBtnType(btNew);
    d.SetFolderName(base);
    QStringList messages;
    d.InputQuery = [&](QWidget *, const QString &, const QString &, QString &AValue) {
        AValue = name;
        return true;
    };
    d.ShowMessage = [&](QWidget *, const QString &AText) { messages << AText; };
    QString selected;
    const TRun run = RunScripted(d, [&](TBrowseFolderDlgKV &dlg) {
        dlg.Btn()->click();
        selected = dlg.SelectedName();
        dlg.CancelButton()->click();
    });
    QVERIFY(!run.TimedOut);
    QCOMPARE(messages, QStringList{"No se pudo crear la ruta " + base + "/" + name});
    QCOMPARE(selected, base);
    QVERIFY(QDir(base).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden).isEmpty());
    QCOMPARE(QDir(outer.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{"base"});
}

void TestBrowseFolderDlgKV::newFolderFailureIsReported()
{
    QTemporaryDir tmp;
    QFile blocker(tmp.filePath("ocupado"));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();

    TBrowseFolderDlgKV d;
    d.SetBtnType(btNew);
    d.SetFolderName(tmp.path());
    QStringList messages;
    d.InputQuery = [](QWidget *, const QString &, const QString &, QString &AValue) {
        AValue = "ocupado";
        return true;
    };
    d.ShowMessage = [&](QWidget *, const QString &AText) { messages << AText; };
    bool stillOpen = false;
    QString selected;
    RunScripted(d, [&](TBrowseFolderDlgKV &dlg) {
        dlg.Btn()->click();
        stillOpen = dlg.Handle() && dlg.Handle()->isVisible();
        selected = dlg.SelectedName();
        dlg.CancelButton()->click();
    });
    QCOMPARE(messages, QStringList{"No se pudo crear la ruta " + tmp.filePath("ocupado")});
    QVERIFY(stillOpen);
    QCOMPARE(selected, tmp.path());
}

void TestBrowseFolderDlgKV::btnAuxEventReplacesBuiltInActions()
{
    QTemporaryDir tmp;
    TBrowseFolderDlgKV d;
    d.SetBtnType(btNew);
    d.SetFolderName(tmp.path());
    int asked = 0, clicks = 0;
    QObject *sender = nullptr;
    d.InputQuery = [&](QWidget *, const QString &, const QString &, QString &) { return ++asked, false; };
    d.OnBtnAuxClick = [&](QObject *ASender) {
        ++clicks;
        sender = ASender;
    };
    RunScripted(d, [](TBrowseFolderDlgKV &dlg) {
        dlg.Btn()->click();
        dlg.CancelButton()->click();
    });
    QCOMPARE(clicks, 1);
    QCOMPARE(sender, &d);
    QCOMPARE(asked, 0);
}

void TestBrowseFolderDlgKV::helpButtonOpensItsContext()
{
    QList<int> opened;
    TBrowseFolderDlgKV::ApplicationHelp = [&](int AContext) { opened << AContext; };
    TBrowseFolderDlgKV d;
    d.SetBtnType(btHelp);
    d.SetHelpContext(42);
    auto clickAndClose = [](TBrowseFolderDlgKV &dlg) {
        dlg.Btn()->click();
        dlg.CancelButton()->click();
    };
    RunScripted(d, clickAndClose);
    d.SetHelpContext(0);
    RunScripted(d, clickAndClose);
    TBrowseFolderDlgKV::ApplicationHelp = nullptr;
    QCOMPARE(opened, QList<int>{42});
}

void TestBrowseFolderDlgKV::selectionEventPrecedesInitializedEvent()
{
    QTemporaryDir tmp;
    TBrowseFolderDlgKV d;
    d.SetFolderName(tmp.path());
    QStringList events;
    d.OnSelChanged = [&](QObject *ASender) {
        events << (ASender == &d ? "sel " : "sel? ") + d.SelectedName();
    };
    RunScripted(d, [&](TBrowseFolderDlgKV &dlg) {
        events << "init";
        dlg.CancelButton()->click();
    });
    QVERIFY(events.size() >= 3);
    QCOMPARE(events.first(), QString("sel /"));
    QCOMPARE(events.at(events.size() - 2), "sel " + tmp.path());
    QCOMPARE(events.last(), QString("init"));
}

void TestBrowseFolderDlgKV::centresOnThePrimaryScreen()
{
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    TBrowseFolderDlgKV d;
    QRect frame;
    RunScripted(d, [&](TBrowseFolderDlgKV &dlg) {
        frame = dlg.Handle()->frameGeometry();
        dlg.CancelButton()->click();
    });
    QCOMPARE(frame.left(), screen.left() + (screen.width() - frame.width()) / 2);
    QCOMPARE(frame.top(), screen.top() + (screen.height() - frame.height()) / 2);

    // A window wider than the screen by an odd amount: the division truncates
    // toward zero (-100 for 201 pixels too wide, not -101).
    QWidget wide;
    wide.setFixedSize(screen.width() + 201, 100);
    wide.show();
    const int margins = wide.frameGeometry().width() - wide.width();
    wide.setFixedSize(screen.width() + 201 - margins, 100);
    TBrowseFolderDlgKV::CenterWindow(&wide);
    QCOMPARE(wide.frameGeometry().width(), screen.width() + 201);
    QCOMPARE(wide.frameGeometry().left(), screen.left() - 100);
}

void TestBrowseFolderDlgKV::defaultPositionIsLeftToTheToolkitAndOwnerIsActivatedAgain()
{
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    QWidget owner;
    owner.setGeometry(10, 10, 200, 150);
    owner.show();
    owner.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&owner));

    TBrowseFolderDlgKV d;
    d.SetPosition(dpDefault);
    QRect frame;
    QWidget *parent = nullptr;
    QFont font;
    RunScripted(d, [&](TBrowseFolderDlgKV &dlg) {
        frame = dlg.Handle()->frameGeometry();
        parent = dlg.Handle()->parentWidget();
        font = dlg.Handle()->font();
        dlg.CancelButton()->click();
    });
    QCOMPARE(parent, &owner);
    // Qt puts a dialog over its owner, away from the screen's centre here.
    QVERIFY(frame.left() != screen.left() + (screen.width() - frame.width()) / 2);
    QCOMPARE(font.pixelSize(), 11);
    QVERIFY(QStringList({"MS Sans Serif", "Liberation Sans", "DejaVu Sans"}).contains(font.family()));
    QVERIFY(QTest::qWaitForWindowActive(&owner));
}

void TestBrowseFolderDlgKV::knownComputerNamesFromHostsFile()
{
    QTemporaryDir tmp;
    QFile hosts(tmp.filePath("hosts"));
    QVERIFY(hosts.open(QIODevice::WriteOnly));
    hosts.write("# a comment naming nobody\n"
                "127.0.0.1\tlocalhost localhost.localdomain\n"
                "::1 ip6-localhost ip6-loopback\n"
                "192.168.0.10  servidor  Servidor.empresa.local  # main server\n"
                "192.168.0.11 caja-1\n"
                "192.168.0.12 SERVIDOR\n"
                "\n");
    hosts.close();
    const QStringList names = TBrowseFolderDlgKV::KnownComputerNames(hosts.fileName());
    const QString local = QSysInfo::machineHostName();
    QStringList expected{"caja-1", "servidor", "Servidor.empresa.local"};
    if (!local.isEmpty() && !expected.contains(local, Qt::CaseInsensitive))
        expected << local;
    std::sort(expected.begin(), expected.end(),
              [](const QString &a, const QString &b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
    QCOMPARE(names, expected);
    QVERIFY(TBrowseFolderDlgKV::KnownComputerNames(tmp.filePath("missing")).contains(local));
}

void TestBrowseFolderDlgKV::computersModeChoosesAMachine()
{
    const QString local = QSysInfo::machineHostName();
    if (local.isEmpty())
        QSKIP("this machine has no host name");
    TBrowseFolderDlgKV d;
    d.SetBrowseKind(bfComputers);
    d.SetFolderName(local.toUpper());
    QString selected, rootName;
    bool okOnMachine = false, okOnNetwork = true;
    const TRun run = RunScripted(d, [&](TBrowseFolderDlgKV &dlg) {
        selected = dlg.SelectedName();
        okOnMachine = dlg.OkButton()->isEnabled();
        const QModelIndex machine = dlg.TreeView()->currentIndex();
        dlg.TreeView()->setCurrentIndex(dlg.TreeView()->model()->index(0, 0));
        rootName = dlg.SelectedName();
        okOnNetwork = dlg.OkButton()->isEnabled();
        Shot(dlg.Handle(), "browse_computers");
        dlg.TreeView()->setCurrentIndex(machine);
        dlg.OkButton()->click();
    });
    QVERIFY(!run.TimedOut);
    QCOMPARE(selected, local);
    QVERIFY(okOnMachine);
    QVERIFY(rootName.isEmpty());
    QVERIFY(!okOnNetwork);
    QVERIFY(run.Result);
    QCOMPARE(d.DisplayName(), local);
    QCOMPARE(d.FolderName(), local);
    QCOMPARE(d.SelectedName(), local);
    QCOMPARE(d.ImageIndex(), int(TBrowseFolderDlgKV::iiComputer));
}

void TestBrowseFolderDlgKV::drivesModeStartsFromTheComputer()
{
    QTemporaryDir tmp;
    TBrowseFolderDlgKV d;
    d.SetDesktopRoot(false);
    d.SetFolderName(tmp.path());
    QString rootText, current;
    bool hasSlash = false;
    const TRun run = RunScripted(d, [&](TBrowseFolderDlgKV &dlg) {
        const QAbstractItemModel *m = dlg.TreeView()->model();
        rootText = m->index(0, 0).data().toString();
        for (int i = 0; i < m->rowCount(m->index(0, 0)); ++i)
            hasSlash |= m->index(i, 0, m->index(0, 0)).data(Qt::UserRole + 1).toString() == "/";
        current = CurrentPath(dlg);
        dlg.OkButton()->click();
    });
    QVERIFY(!run.TimedOut);
    QCOMPARE(rootText, QString("Equipo"));
    QVERIFY(hasSlash);
    QCOMPARE(current, tmp.path());
    QCOMPARE(d.FolderName(), tmp.path());
}

void TestBrowseFolderDlgKV::handlerErrorClosesDialogAndIsRaised()
{
    TBrowseFolderDlgKV d;
    d.SetFolderName("/");
    d.OnInitialized = [](QObject *) { throw Exception("Falla del manejador"); };
    QString message;
    try {
        d.Execute();
    } catch (const Exception &e) {
        message = e.Message();
    }
    QCOMPARE(message, QString("Falla del manejador"));
    QVERIFY(d.Handle() == nullptr);
    QVERIFY(d.DisplayName().isEmpty());

    // The component is usable again afterwards.
    const TRun run = RunScripted(d, [](TBrowseFolderDlgKV &dlg) { dlg.OkButton()->click(); });
    QVERIFY(run.Result);
    QCOMPARE(d.FolderName(), QString("/"));
}

void TestBrowseFolderDlgKV::defaultPromptsAreSpanish()
{
    QWidget owner;
    owner.resize(400, 300);
    owner.show();
    QString title, label, ok, cancel;
    bool seen = false;
    QTimer::singleShot(0, [&] {
        auto *box = qobject_cast<QInputDialog *>(QApplication::activeModalWidget());
        if (!box)
            return;
        seen = true;
        title = box->windowTitle();
        label = box->labelText();
        ok = box->okButtonText();
        cancel = box->cancelButtonText();
        box->setTextValue("Nueva");
        Shot(box, "input_new_folder");
        box->accept();
    });
    QTimer watchdog;
    QObject::connect(&watchdog, &QTimer::timeout, &CloseOpenDialogs);
    watchdog.start(10000);
    QString value;
    const bool answered = TBrowseFolderDlgKV::DefaultInputQuery(
        &owner, "Nueva Carpeta", "Ingrese nombre de carpeta a crear", value);
    QVERIFY(seen);
    QVERIFY(answered);
    QCOMPARE(value, QString("Nueva"));
    QCOMPARE(title, QString("Nueva Carpeta"));
    QCOMPARE(label, QString("Ingrese nombre de carpeta a crear"));
    QCOMPARE(ok, QString("Aceptar"));
    QCOMPARE(cancel, QString("Cancelar"));
}

QTEST_MAIN(TestBrowseFolderDlgKV)
#include "tst_FileCtrlKv.moc"

// The main window while it generates: values it refuses, OpenSSL's failures
// shown with their details. openssl is the stand-in of tests/app/data.
//
// With ZEDEDE_SHOTS_DIR set, what the user sees is saved there as PNG files.

#include "CuitMaskEdit.h"
#include "FileLock.h"
#include "GenerationLock.h"
#include "Process.h"
#include "UCWWizard.h"
#include "MessageBoxes.h"
#include "ScriptedDialogs.h"
#include "ProgramLook.h"
#include "ZeDedeApp.h"
#include "GuideWindow.h"
#include "uZeDede.h"
#include "WindowTestSupport.h"

#include <QAbstractButton>
#include <QElapsedTimer>
#include <QProgressBar>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>

#include <memory>

namespace {

QString ShotsDir()
{
    return qEnvironmentVariable("ZEDEDE_SHOTS_DIR");
}

// The window as the user sees it, with Box (when given) drawn over it where
// a message box centred on the window stands.
void Shot(QWidget *Window, QWidget *Box, const QString &Name)
{
    if (ShotsDir().isEmpty())
        return;
    QDir().mkpath(ShotsDir());
    QPixmap pm = Window->grab();
    if (Box) {
        const QPixmap box = Box->grab();
        QPainter p(&pm);
        const QPoint at((pm.width() - box.width()) / 2, (pm.height() - box.height()) / 2);
        p.fillRect(QRect(at + QPoint(3, 3), box.size()), QColor(0, 0, 0, 60));
        p.drawPixmap(at, box);
        p.setPen(Qt::darkGray);
        p.drawRect(QRect(at, box.size()).adjusted(-1, -1, 0, 0));
    }
    pm.save(ShotsDir() + QLatin1Char('/') + Name);
}

// Calls Act with the first message box that shows (the window keeps working
// its events while it generates, so the box comes some time later).
void WhenBoxShows(QObject *Context, const std::function<void(QMessageBox *)> &Act)
{
    auto *timer = new QTimer(Context);
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, Context, [timer, Act] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            Act(box);
        }
    });
    timer->start();
}

} // namespace

class TestfrmZeDedeGeneration : public QObject
{
    Q_OBJECT
    QTemporaryDir FHome;
    QString FSsl;
    QList<TRecordedBox> FBoxes;
    QStringList FDetails;
    std::unique_ptr<TfrmZeDede> F;

    void hookBoxes()
    {
        Scripted().RealBoxes = false;
        Scripted().OnBox = [this](const TMessageBoxRequest &R) {
            const auto AIcon = R.Icon; const auto ATitle = R.Title; const auto AText = R.Text; const auto AButtons = R.Buttons; const auto ADefault = R.Default;
            FBoxes.append({AIcon, ATitle, AText, AButtons, ADefault});
            FDetails.append(R.Details);
            return AButtons.testFlag(QMessageBox::Yes) ? QMessageBox::Yes : QMessageBox::Ok;
        };
    }

    void clickNext() { QTest::mouseClick(F->wizt->NextButton, Qt::LeftButton); }

    // On the data page with valid data, the destination Folder.
    void fillDataPage(const QString &Folder)
    {
        clickNext();
        QCOMPARE(F->wizt->ActivePage(), F->wpDatos);
        TypeText(F->eNombreEmpresa, QStringLiteral("Compañía S.A."));
        F->eCUIT->setFocus();
        F->eCUIT->home(false);
        QTest::keyClicks(F->eCUIT, QStringLiteral("20123456786"));
        TypeText(F->eOperador, QStringLiteral("José Pérez"));
        QTest::keyClicks(F->eMail, QStringLiteral("jose@example.com"));
        QTest::keyClicks(F->ePassword, QStringLiteral("secreto"));
        QTest::keyClicks(F->ePassword2, QStringLiteral("secreto"));
        F->eCarpeta->setText(Folder);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(FHome.isValid());
        UseTemporaryHome(FHome.path());
        QDir().mkpath(FHome.path() + QStringLiteral("/Documents"));
        FSsl = StandInOpenSSLFolder(FHome.filePath(QStringLiteral("ssl/")));
        qunsetenv("LOG");
        QVERIFY(LoadSpanishTranslation(*qApp));
    }

    void init()
    {
        FBoxes.clear();
        FDetails.clear();
        hookBoxes();
        qputenv("GENRSA", "key");
        qputenv("REQ", "real");
        UseOpenSSLFolder(FSsl);
        F = std::make_unique<TfrmZeDede>();
        F->show();
        F->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(F.get()));
    }

    void cleanup()
    {
        F.reset();
        SetExecuteWaits(TExecuteWaits());
        qunsetenv("HANG");
        qunsetenv("HANG_PIDS");
    }

    void aPastedLineBreakIsRefusedOnItsField()
    {
        const QString folder = FHome.filePath(QStringLiteral("pegado"));
        fillDataPage(folder);
        // Pasted from a word processor, with a line break and a configuration line.
        F->eNombreEmpresa->clear();
        F->eNombreEmpresa->setFocus();
        QApplication::clipboard()->setText(
            QStringLiteral("Café “La Esquina” – S.R.L.\ncommonName_default=Mallory"));
        QTest::keyClick(F->eNombreEmpresa, Qt::Key_V, Qt::ControlModifier);
        QVERIFY(F->eNombreEmpresa->text().startsWith(QStringLiteral("Café “La Esquina”")));
        QVERIFY(F->eNombreEmpresa->text().contains(QLatin1Char('\n'))); // a line edit keeps it
        F->eCarpeta->setFocus();
        clickNext();
        QCOMPARE(FBoxes.size(), 1);
        QCOMPARE(FBoxes[0].Icon, QMessageBox::Critical);
        QCOMPARE(FBoxes[0].Text, QStringLiteral("El nombre de la empresa contiene un salto de "
                                                "línea, que no se puede usar."));
        QVERIFY(F->eNombreEmpresa->hasFocus());
        QCOMPARE(F->cxLabelHint->text(), TfrmZeDede::HintOrganizacion);
        QCOMPARE(F->wizt->ActivePage(), F->wpDatos);
        QVERIFY(!QFileInfo::exists(FSsl + QStringLiteral("vemra.cnf")));
        QCOMPARE(FolderEntries(folder), QStringList());
    }

    void aRefusedCharacterIsNamedAndNothingIsWritten()
    {
        const QString folder = FHome.filePath(QStringLiteral("rechazo"));
        fillDataPage(folder);
        F->eOperador->setText(QStringLiteral("Łukasz Żółć"));
        F->eCarpeta->setFocus();
        Scripted().RealBoxes = true;
        QString text;
        WhenBoxShows(this, [&](QMessageBox *box) {
            text = box->text();
            Shot(F.get(), box, QStringLiteral("10-datos-valor-rechazado.png"));
            box->button(QMessageBox::Ok)->click();
        });
        clickNext();
        QCOMPARE(text, QStringLiteral("El nombre del operador contiene «Ł» (U+0141), que no se "
                                      "puede usar: solo se admiten letras, números y signos de "
                                      "Europa occidental."));
        // The window's focus is in the field when the box has gone.
        QCOMPARE(F->focusWidget(), F->eOperador);
        QCOMPARE(F->cxLabelHint->text(), TfrmZeDede::HintOperador);
        Shot(F.get(), nullptr, QStringLiteral("10-datos-foco-en-el-campo.png"));
        QVERIFY(!QFileInfo::exists(FSsl + QStringLiteral("vemra.cnf")));
    }

    // A destination that takes no new files is refused by the validation,
    // in Spanish, with the focus on the folder, before OpenSSL runs.
    void aFolderWithoutWritePermissionIsRefusedBeforeOpenSSL()
    {
        qputenv("GENRSA", "real");
        const QString folder = FHome.filePath(QStringLiteral("solo lectura"));
        QDir().mkpath(folder);
        fillDataPage(folder);
        if (!MakeReadOnlyFolder(folder))
            QSKIP("this system cannot make a folder read-only for this user");
        F->eNombreEmpresa->setFocus();
        clickNext();
        const QStringList left = FolderEntries(folder);
        const bool focused = F->eCarpeta->hasFocus();
        if (!ShotsDir().isEmpty()) {
            Scripted().RealBoxes = true;
            WhenBoxShows(this, [this](QMessageBox *box) {
                Shot(F.get(), box, QStringLiteral("10-carpeta-sin-permiso.png"));
                box->button(QMessageBox::Ok)->click();
            });
            clickNext();
            Scripted().RealBoxes = false;
        }
        MakeWritableFolder(folder);
        QCOMPARE(FBoxes.size(), 1);
        QCOMPARE(FBoxes[0].Text, QStringLiteral("No se pueden grabar archivos en la carpeta %1: "
                                                "acceso denegado. Elija otra carpeta o pida "
                                                "permiso para escribir en esta.")
                                     .arg(folder));
        QVERIFY(FDetails.isEmpty() || FDetails[0].isEmpty());
        QVERIFY(left.isEmpty());
        QCOMPARE(F->wizt->ActivePage(), F->wpDatos);
        QVERIFY(focused);
        QCOMPARE(F->cxLabelHint->text(), TfrmZeDede::HintGeneracion);
        QVERIFY(!LogText().contains(QStringLiteral("fallo genrsa")));
    }

    void anOpenSSLFailureShowsItsReasonInTheDetails()
    {
        qputenv("GENRSA", "fail");
        const QString folder = FHome.filePath(QStringLiteral("falla"));
        fillDataPage(folder);
        Scripted().RealBoxes = true;
        QString text;
        QString details;
        bool detailsShown = false;
        WhenBoxShows(this, [&](QMessageBox *box) {
            text = box->text();
            details = box->detailedText();
            // Show the details as the user would.
            for (QAbstractButton *b : box->buttons()) {
                if (box->buttonRole(b) == QMessageBox::ActionRole)
                    b->click();
            }
            QApplication::processEvents();
            auto *edit = box->findChild<QTextEdit *>();
            detailsShown = edit && edit->isVisible();
            Shot(F.get(), box, QStringLiteral("10-error-con-detalles.png"));
            box->button(QMessageBox::Ok)->click();
        });
        clickNext();
        QCOMPARE(text, QStringLiteral("fallo genrsa."));
        QVERIFY(detailsShown);
        QVERIFY2(details.startsWith(QStringLiteral("OpenSSL terminó con el código 1.\n\n"
                                                   "Salida de OpenSSL:\nstand-in: genrsa refused")),
                 qPrintable(details));
        QVERIFY(!details.contains(QStringLiteral("secreto")));
        QCOMPARE(F->wizt->ActivePage(), F->wpDatos);
        QVERIFY(LogText().contains(QStringLiteral("fallo genrsa")));
        QVERIFY(!LogText().contains(QStringLiteral("secreto")));
    }

    void theWindowStaysAliveAndShowsTheStepUnderWay()
    {
        // A key step of 0.8 seconds.
        qputenv("GENRSA", "hang");
        qputenv("HANG", "0.8");
        const QString folder = FHome.filePath(QStringLiteral("vivo"));
        fillDataPage(folder);
        F->eCarpeta->setFocus();

        struct TSeen
        {
            int Ticks = 0;
            QStringList States;
            bool Busy = true;          // busy cursor at every look
            bool ButtonsOff = true;    // Back, Next, Cancel and "..." disabled
            bool Panel = true;
            QString Typed;             // what a key press left in a field
            bool PageKept = true;
        } seen;
        QTimer look;
        look.setInterval(10);
        connect(&look, &QTimer::timeout, this, [&] {
            if (!F->pnlEstado->isVisible())
                return;
            ++seen.Ticks;
            if (!seen.States.contains(F->laEstado->text()))
                seen.States << F->laEstado->text();
            seen.Busy = seen.Busy && QApplication::overrideCursor()
                        && QApplication::overrideCursor()->shape() == Qt::WaitCursor;
            seen.ButtonsOff = seen.ButtonsOff && !F->wizt->NextButton->isEnabled()
                              && !F->wizt->BackButton->isEnabled()
                              && !F->wizt->CancelButton->isEnabled() && !F->sbFolder->isEnabled();
            seen.Panel = seen.Panel && F->pbEstado->isVisible() && F->pnlEstado->parentWidget() == F->wpDatos;
            if (seen.Ticks == 5) {
                Shot(F.get(), nullptr, QStringLiteral("11-generando.png"));
                // Input that could act goes nowhere.
                QTest::keyClicks(F->eCarpeta, QStringLiteral("x"));
                seen.Typed = F->eCarpeta->text();
                QTest::mouseClick(F->wizt->BackButton, Qt::LeftButton);
                QTest::mouseClick(F->wizt->NextButton, Qt::LeftButton);
                QTest::keyClick(F.get(), Qt::Key_Return);
                seen.PageKept = F->wizt->ActivePage() == F->wpDatos;
            }
        });
        look.start();
        QElapsedTimer t;
        t.start();
        clickNext();
        look.stop();
        QVERIFY2(FBoxes.isEmpty(), FBoxes.isEmpty() ? "" : qPrintable(FBoxes[0].Text));
        QVERIFY(t.elapsed() >= 800);
        // Some 80 looks in 0.8 seconds: the events kept flowing.
        QVERIFY2(seen.Ticks >= 20, qPrintable(QString::number(seen.Ticks)));
        QCOMPARE(seen.States.value(0), TfrmZeDede::EstadoClave);
        QVERIFY(seen.Busy);
        QVERIFY(seen.ButtonsOff);
        QVERIFY(seen.Panel);
        QCOMPARE(seen.Typed, folder);
        QVERIFY(seen.PageKept);
        // Done: the results page, the state gone, the cursor back.
        QCOMPARE(F->wizt->ActivePage(), F->wpFinal);
        QVERIFY(!F->pnlEstado->isVisible());
        QVERIFY(!QApplication::overrideCursor());
        QVERIFY(F->wizt->BackButton->isEnabled());
        QVERIFY(F->wizt->FinishButton->isEnabled());
        QCOMPARE(F->eCarpetaPedido->text(), folder + QLatin1Char('/'));
    }

    void aRelativeOrHomeFolderIsResolvedOnceAndShown_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("resolved"); // under the home
        QTest::newRow("relative") << "relativa/sub" << "trabajo/relativa/sub";
        QTest::newRow("home") << "~/Mis pedidos" << "Mis pedidos";
    }
    void aRelativeOrHomeFolderIsResolvedOnceAndShown()
    {
        QFETCH(QString, typed);
        QFETCH(QString, resolved);
        const QString work = FHome.filePath(QStringLiteral("trabajo"));
        QDir().mkpath(work);
        const QString old = QDir::currentPath();
        QVERIFY(QDir::setCurrent(work));
        fillDataPage(typed);
        clickNext();
        QDir::setCurrent(old);
        QVERIFY2(FBoxes.isEmpty(), FBoxes.isEmpty() ? "" : qPrintable(FBoxes[0].Text));
        const QString folder = FHome.path() + QLatin1Char('/') + resolved;
        QCOMPARE(F->wizt->ActivePage(), F->wpFinal);
        QCOMPARE(F->eCarpetaPedido->text(), folder + QLatin1Char('/'));
        QCOMPARE(FolderEntries(folder),
                 (QStringList{F->laFilePedido->text(), F->laFilePrivada->text(), F->laFileSource->text()}));
        // Nothing beside the OpenSSL folder, where openssl runs.
        QCOMPARE(FolderEntries(FSsl),
                 (QStringList{"openssl", "openssl.cnf", "vemra.cnf", "vemra.cnf.lock"}));
    }

    // A legal name longer than the limit, pasted, stays whole in the field
    // and is refused with the limit named: never cut and generated.
    void aLongPastedNameStaysWholeAndIsRefused()
    {
        const QString folder = FHome.filePath(QStringLiteral("largo"));
        fillDataPage(folder);
        const QString name = QStringLiteral("Cooperativa de Provisión de Servicios Eléctricos de "
                                            "la Provincia de Buenos Aires Ltda");
        QVERIFY(name.size() > 64);
        for (QLineEdit *e : {F->eNombreEmpresa, F->eOperador}) {
            e->clear();
            e->setFocus();
            QApplication::clipboard()->setText(name);
            QTest::keyClick(e, Qt::Key_V, Qt::ControlModifier);
            QCOMPARE(e->text(), name);
        }
        F->eCarpeta->setFocus();
        clickNext();
        QCOMPARE(FBoxes.size(), 1);
        QCOMPARE(FBoxes[0].Text,
                 QStringLiteral("El nombre de la empresa puede tener como máximo 64 caracteres."));
        QVERIFY(F->eNombreEmpresa->hasFocus());
        QCOMPARE(F->eNombreEmpresa->text(), name);
        QCOMPARE(F->wizt->ActivePage(), F->wpDatos);
        QCOMPARE(FolderEntries(folder), QStringList());
        if (!ShotsDir().isEmpty()) {
            // The box over the window, as the user sees it.
            F->eCarpeta->setFocus();
            Scripted().RealBoxes = true;
            WhenBoxShows(this, [this](QMessageBox *box) {
                Shot(F.get(), box, QStringLiteral("11-nombre-largo-rechazado.png"));
                box->button(QMessageBox::Ok)->click();
            });
            clickNext();
            Scripted().RealBoxes = false;
        }

        F->eNombreEmpresa->setText(QStringLiteral("Cooperativa Eléctrica Ltda"));
        clickNext();
        QCOMPARE(FBoxes.size(), 2); // a real box shown for the picture is not recorded
        QCOMPARE(FBoxes.constLast().Text,
                 QStringLiteral("El nombre del operador puede tener como máximo 64 caracteres."));
        QVERIFY(F->eOperador->hasFocus());
        QCOMPARE(F->eOperador->text(), name);
    }

    // A second generation into the same folder keeps the earlier files as
    // .bak and the results page names them under the new ones; the guide
    // opens from the page, naming the new files.
    void aSecondGenerationNamesTheKeptFilesAndTheGuideOpens()
    {
        const QString folder = FHome.filePath(QStringLiteral("dos veces"));
        fillDataPage(folder);
        clickNext();
        QVERIFY2(FBoxes.isEmpty(), FBoxes.isEmpty() ? "" : qPrintable(FBoxes[0].Text));
        QCOMPARE(F->wizt->ActivePage(), F->wpFinal);
        for (QLabel *l : {F->laKeptPrivada, F->laKeptPedido, F->laKeptSource})
            QVERIFY(!l->isVisible());

        QTest::mouseClick(F->wizt->BackButton, Qt::LeftButton);
        QCOMPARE(F->wizt->ActivePage(), F->wpDatos);
        clickNext();
        QVERIFY2(FBoxes.isEmpty(), FBoxes.isEmpty() ? "" : qPrintable(FBoxes[0].Text));
        QCOMPARE(F->wizt->ActivePage(), F->wpFinal);
        const struct
        {
            QLabel *File;
            QLabel *Kept;
        } rows[] = {{F->laFilePrivada, F->laKeptPrivada},
                    {F->laFilePedido, F->laKeptPedido},
                    {F->laFileSource, F->laKeptSource}};
        const QStringList entries = FolderEntries(folder);
        for (const auto &r : rows) {
            QVERIFY(r.Kept->isVisible());
            QVERIFY(r.Kept->geometry().top() > r.File->geometry().top());
            const QString text = r.Kept->accessibleName();
            QVERIFY2(text.startsWith(QStringLiteral("El anterior se conservó como ") + r.File->text() + '.'),
                     qPrintable(text));
            QVERIFY(text.endsWith(QStringLiteral(".bak")));
            const QString bak = text.mid(text.lastIndexOf(' ') + 1);
            QVERIFY2(entries.contains(bak), qPrintable(entries.join(',')));
            QCOMPARE(r.Kept->toolTip(), text);
        }
        // The Part's texts stay as they were.
        QCOMPARE(F->Label10->text(), QStringLiteral("Se generaron los siguientes archivos:"));
        if (!ShotsDir().isEmpty())
            Shot(F.get(), nullptr, QStringLiteral("12-segunda-generacion-con-bak.png"));

        // The guide, from the link below the page's texts.
        QVERIFY(F->laComoSeguir->isVisible());
        QVERIFY(F->laComoSeguir->geometry().top() > F->Label12->geometry().bottom());
        QVERIFY(F->wpFinal->rect().contains(F->laComoSeguir->geometry()));
        QVERIFY(!F->Guide());
        F->laComoSeguir->setFocus();
        QTest::keyClick(F->laComoSeguir, Qt::Key_Return);
        QVERIFY(F->Guide());
        QVERIFY(QTest::qWaitForWindowExposed(F->Guide()));
        QVERIFY2(F->Guide()->laArchivos->text().contains(F->laFilePedido->text()),
                 qPrintable(F->Guide()->laArchivos->text()));
        QVERIFY(F->Guide()->laArchivos->text().contains(folder));
        QVERIFY(F->Guide()->btVerificar->isVisible());
        F->Guide()->close();
        QTRY_VERIFY(!F->Guide());
    }

    void theInstallerRunsWithTheWindowAlive()
    {
        // No OpenSSL set up; an installer of 0.5 seconds that sets it up.
        QFile::remove(UserEnvironmentFile());
        const QString bin = FHome.filePath(QStringLiteral("instalador"));
        QDir().mkpath(bin);
        QFile script(bin + QStringLiteral("/install-openssl.sh"));
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\nsleep 0.5\nmkdir -p \"$XDG_CONFIG_HOME/Vemra\"\n"
                     "echo \"OPENSSL_CONF=" + FSsl.toUtf8() + "openssl.cnf\" > \"$XDG_CONFIG_HOME/Vemra/environment\"\n");
        script.close();
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        F->ProgramFolder = bin;
        QStringList states;
        int ticks = 0;
        QTimer look;
        look.setInterval(10);
        connect(&look, &QTimer::timeout, this, [&] {
            if (!F->pnlEstado->isVisible())
                return;
            ++ticks;
            if (!states.contains(F->laEstado->text()))
                states << F->laEstado->text();
            if (ticks == 3)
                Shot(F.get(), nullptr, QStringLiteral("11-instalando.png"));
        });
        look.start();
        WithPath(ToolsWithoutOpenSSL(FHome.path()), [this] { clickNext(); });
        QCOMPARE(FBoxes.size(), 1); // the question, answered Yes
        QCOMPARE(states, QStringList{TfrmZeDede::EstadoInstalacion});
        QVERIFY2(ticks >= 10, qPrintable(QString::number(ticks)));
        QCOMPARE(F->wizt->ActivePage(), F->wpDatos);
        QVERIFY(!F->pnlEstado->isVisible());
        QVERIFY(!QApplication::overrideCursor());
    }

    void closingDuringTheInstallerLeavesItRunning()
    {
        QFile::remove(UserEnvironmentFile());
        const QString bin = FHome.filePath(QStringLiteral("instalador-lento"));
        const QString marker = FHome.filePath(QStringLiteral("instalador-terminado"));
        QDir().mkpath(bin);
        QFile script(bin + QStringLiteral("/install-openssl.sh"));
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\nsleep 0.8\n: > \"" + marker.toUtf8() + "\"\n");
        script.close();
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        F->ProgramFolder = bin;
        QTimer::singleShot(200, this, [this] { F->close(); }); // asked; the hook says Yes
        WithPath(ToolsWithoutOpenSSL(FHome.path()), [this] { clickNext(); });
        QCOMPARE(FBoxes.size(), 2);
        QCOMPARE(FBoxes[1].Text, QStringLiteral("Se está instalando OpenSSL. ¿Desea cerrar el "
                                                "asistente? La instalación seguirá por su cuenta."));
        QTRY_VERIFY(!F->isVisible());
        QVERIFY(!QFileInfo::exists(marker));
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(marker), 5000); // it went on by itself
    }

    void theRequestStepIsShownToo()
    {
        qputenv("REQ", "hang");
        qputenv("HANG", "0.5");
        fillDataPage(FHome.filePath(QStringLiteral("pedido")));
        QStringList states;
        QTimer look;
        look.setInterval(10);
        connect(&look, &QTimer::timeout, this, [&] {
            if (F->pnlEstado->isVisible() && !states.contains(F->laEstado->text()))
                states << F->laEstado->text();
        });
        look.start();
        clickNext();
        QCOMPARE(states.last(), TfrmZeDede::EstadoPedido);
        QCOMPARE(F->wizt->ActivePage(), F->wpFinal);
    }

    void closingWhileGeneratingStopsEverythingWhenTheUserAgrees()
    {
        // An earlier set in the folder; the key step hangs.
        const QString folder = FHome.filePath(QStringLiteral("cerrar"));
        QDir().mkpath(folder);
        const QString pids = FHome.filePath(QStringLiteral("cerrar-pids"));
        qputenv("GENRSA", "hang");
        qputenv("HANG_PIDS", pids.toLocal8Bit());
        fillDataPage(folder);
        const QString key = folder + QStringLiteral("/Privada_CompaaSA_JosPrez.key");
        QFile earlier(key);
        QVERIFY(earlier.open(QIODevice::WriteOnly));
        earlier.write("earlier key");
        earlier.close();

        QStringList answers{QStringLiteral("No"), QStringLiteral("Yes")};
        Scripted().RealBoxes = false;
        Scripted().OnBox = [&](const TMessageBoxRequest &R) {
            const auto AIcon = R.Icon; const auto AText = R.Text;
            FBoxes.append({AIcon, QString(), AText, {}, QMessageBox::NoButton});
            return answers.takeFirst() == QLatin1String("Yes") ? QMessageBox::Yes : QMessageBox::No;
        };
        QTimer::singleShot(150, this, [this] { F->close(); });   // No: goes on
        QTimer::singleShot(400, this, [this] {
            QVERIFY(F->isVisible());
            Shot(F.get(), nullptr, QStringLiteral("11-generando-tras-no-cerrar.png"));
            F->close();                                          // Yes: stops
        });
        QElapsedTimer t;
        t.start();
        clickNext();
        QVERIFY(t.elapsed() < 30000); // not the 60 seconds of the hanging step
        QCOMPARE(FBoxes.size(), 2);
        QCOMPARE(FBoxes[0].Icon, QMessageBox::Question);
        QCOMPARE(FBoxes[1].Icon, QMessageBox::Question); // no error box after the stop
        QTRY_VERIFY(!F->isVisible());
        // Nothing left: no process, no new file, the earlier key as it was.
        const QByteArray pid = [&] {
            QFile f(pids);
            return f.open(QIODevice::ReadOnly) ? f.readAll().trimmed() : QByteArray();
        }();
        QVERIFY(!pid.isEmpty());
        QTRY_VERIFY(!QFileInfo::exists(QStringLiteral("/proc/") + QString::fromLatin1(pid)));
        QCOMPARE(FolderEntries(folder), QStringList{QStringLiteral("Privada_CompaaSA_JosPrez.key")});
        QVERIFY(earlier.open(QIODevice::ReadOnly));
        QCOMPARE(earlier.readAll(), QByteArray("earlier key"));
    }

    void aFailureLeavesTheWindowAsItWas()
    {
        qputenv("REQ", "fail");
        const QString folder = FHome.filePath(QStringLiteral("falla"));
        fillDataPage(folder);
        F->eCarpeta->setFocus();
        Scripted().RealBoxes = true;
        WhenBoxShows(this, [&](QMessageBox *box) {
            Shot(F.get(), box, QStringLiteral("11-fallo.png"));
            box->button(QMessageBox::Ok)->click();
        });
        clickNext();
        QCOMPARE(F->wizt->ActivePage(), F->wpDatos);
        QVERIFY(!F->pnlEstado->isVisible());
        QVERIFY(!QApplication::overrideCursor());
        QVERIFY(F->wizt->NextButton->isEnabled());
        QVERIFY(F->wizt->BackButton->isEnabled());
        QVERIFY(F->wizt->CancelButton->isEnabled());
        QVERIFY(F->sbFolder->isEnabled());
        // The focus is back where the click left it, the hint unchanged.
        QCOMPARE(F->focusWidget(), F->wizt->NextButton);
        QCOMPARE(F->cxLabelHint->text(), TfrmZeDede::HintGeneracion);
        Shot(F.get(), nullptr, QStringLiteral("11-despues-del-fallo.png"));
        QCOMPARE(FolderEntries(folder), QStringList());
    }

    void waitingForAnotherGenerationShowsItAndCanBeCancelled()
    {
        // Another generation holds the OpenSSL folder.
        TLockFile other;
        QString error;
        QCOMPARE(other.TryLock(GenerationLockFile(FSsl), error), TLockResult::Locked);
        const QString folder = FHome.filePath(QStringLiteral("espera"));
        fillDataPage(folder);
        bool seenWaiting = false;
        bool cancelShown = false;
        QTimer look;
        look.setInterval(10);
        connect(&look, &QTimer::timeout, this, [&] {
            if (!F->pnlEstado->isVisible() || F->laEstado->text() != TfrmZeDede::EstadoEspera)
                return;
            seenWaiting = true;
            cancelShown = F->btCancelarEspera->isVisible() && F->btCancelarEspera->isEnabled();
            Shot(F.get(), nullptr, QStringLiteral("11-esperando.png"));
            look.stop();
            QTest::mouseClick(F->btCancelarEspera, Qt::LeftButton);
        });
        look.start();
        clickNext();
        look.stop();
        QVERIFY(seenWaiting);
        QVERIFY(cancelShown);
        // Given up: no box, still on the data page, nothing written.
        QVERIFY2(FBoxes.isEmpty(), FBoxes.isEmpty() ? "" : qPrintable(FBoxes[0].Text));
        QCOMPARE(F->wizt->ActivePage(), F->wpDatos);
        QVERIFY(F->isVisible());
        QVERIFY(!F->pnlEstado->isVisible());
        QVERIFY(F->wizt->NextButton->isEnabled());
        QCOMPARE(FolderEntries(folder), QStringList());

        // Once the other one is done, Next generates at once.
        other.Unlock();
        clickNext();
        QCOMPARE(F->wizt->ActivePage(), F->wpFinal);
        QVERIFY(!F->btCancelarEspera->isVisible());
    }
};

QTEST_MAIN(TestfrmZeDedeGeneration)
#include "tst_uZeDedeGeneration.moc"

#include "ZeDedeApp.h"

#include "FontWarmUp.h"

#include "BookWindow.h"
#include "CommandLine.h"
#include "Exception.h"
#include "MessageBoxes.h"
#include "ProgramLook.h"
#include "ScreenFit.h"
#include "uZeDede.h"
#include "HelpGlyph.h"
#include "UserInterfaceFont.h"
#include "WindowOpeners.h"
#include "WindowlessRun.h"
#include "VerifyWindow.h"
#include "RenewalStart.h"
#include "ZeDedeArt.h"

#include <QApplication>
#include <QEvent>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QScreen>
#include <QTimer>
#include <QTranslator>

#include <cstdio>
#include <exception>
#include <optional>
#include <vector>


namespace {
// Reports once that the main window has been painted: after the first paint
// pass that reaches a widget of the window has finished.
class TShownProbe : public QObject
{
public:
    explicit TShownProbe(QWidget *AWindow) : FWindow(AWindow) {}
    bool eventFilter(QObject *AWatched, QEvent *AEvent) override
    {
        if (AEvent->type() == QEvent::Paint && !FDone && AWatched->isWidgetType()
            && static_cast<QWidget *>(AWatched)->window() == FWindow) {
            FDone = true;
            QTimer::singleShot(0, this, [this] {
                if (OnMainWindowShown)
                    OnMainWindowShown(FWindow);
            });
        }
        return false;
    }

private:
    QWidget *FWindow;
    bool FDone = false;
};
} // namespace

std::function<void(QWidget *)> OnMainWindowShown;

namespace {

// The scale factor to start with when a window of AClient would not fit the
// primary screen at the present one; nothing when it fits.
std::optional<QByteArray> LowerScaleFactorSetting(const QSize &AClient)
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return std::nullopt;
    const double current = screen->devicePixelRatio();
    const QSize available =
        (QSizeF(screen->availableGeometry().size()) * current).toSize();
    const double wanted = FittingScaleFactor(
        current, available, AClient);
    if (wanted >= current)
        return std::nullopt;
    return ScaleFactorSetting(current, wanted, qgetenv("QT_SCALE_FACTOR"));
}

} // namespace

void InstallWindowOpeners()
{
    TWindowOpeners &openers = WindowOpeners();
    openers.Check = [](const QString &AFile, const QString &ADefaultFolder) {
        TfrmVerificar *w = OpenVerifyWindow(AFile);
        if (!ADefaultFolder.isEmpty())
            w->DefaultFolder = ADefaultFolder;
    };
    openers.Renewal = [](const QString &ACertificateFile) { OpenRenewalWizard(ACertificateFile); };
    openers.Book = [](const QString &AFolder) { OpenBookWindow(AFolder); };
}

int RunZeDede(int argc, char **argv)
{
    const TCommandLine commandLine = ParseCommandLine(argc, argv);
    // --usar-certificado without --sin-ventana opens the check of that
    // certificate, where the switch is offered.
    const QString verifyFile = commandLine.Values.value(
        QStringLiteral("verificar"), commandLine.Values.value(QStringLiteral("usar-certificado")));
    if (RunsWithoutWindow(commandLine.Action))
        return RunWithoutWindow(commandLine, argc, argv);

    TFontWarmUp fonts;
    // The application object takes Qt's own arguments out of argv; a second
    // one made from the same arguments gets them from this copy.
    std::vector<char *> arguments(argv, argv + argc + 1);
    int appArgc = argc;
    std::optional<QApplication> application;
    application.emplace(appArgc, argv);
    // The window shown first decides: the wizard's, or the check's alone.
    const QSize client = commandLine.Action == TStartAction::Verify
                             ? QSize(TfrmVerificar::ClientWidth, TfrmVerificar::ClientHeight)
                             : QSize(TfrmZeDede::ClientWidth, TfrmZeDede::ClientHeight);
    if (const std::optional<QByteArray> lower = LowerScaleFactorSetting(client)) {
        // Qt reads the factor when the application object is made: make it
        // again with the lower one, and give the programs this one starts
        // (a browser, OpenSSL) the setting that was in force.
        const bool wasSet = qEnvironmentVariableIsSet("QT_SCALE_FACTOR");
        const QByteArray before = qgetenv("QT_SCALE_FACTOR");
        application.reset();
        qputenv("QT_SCALE_FACTOR", *lower);
        appArgc = argc;
        application.emplace(appArgc, arguments.data());
        if (wasSet)
            qputenv("QT_SCALE_FACTOR", before);
        else
            qunsetenv("QT_SCALE_FACTOR");
    }
    QApplication &app = *application;
    app.setApplicationName(QStringLiteral("ZeDede"));
    LoadSpanishTranslation(app);
    fonts.Wait();
    ApplyProgramLook(app);
    RegisterWizardHelpGlyph();
    InstallWindowOpeners();

    int result = 0;
    if (commandLine.Action == TStartAction::Book) {
        // The book's window alone; the message loop ends when it closes.
        const QString folder = commandLine.Values.value(QStringLiteral("certificados"));
        TfrmCertificados *frm = OpenBookWindow(
            folder.isEmpty() ? QString() : QFileInfo(folder).absoluteFilePath());
        TShownProbe probe(frm);
        if (OnMainWindowShown)
            app.installEventFilter(&probe);
        return app.exec();
    }
    if (commandLine.Action == TStartAction::Verify) {
        // The check's window alone; the message loop ends when it closes.
        TfrmVerificar *frm = OpenVerifyWindow(
            verifyFile.isEmpty() ? QString() : QFileInfo(verifyFile).absoluteFilePath(),
            commandLine.Values.value(QStringLiteral("clave")));
        TShownProbe probe(frm);
        if (OnMainWindowShown)
            app.installEventFilter(&probe);
        return app.exec();
    }
    if (commandLine.Action == TStartAction::Renew) {
        // The wizard prepared for a renewal; the loop ends when it closes.
        try {
            TfrmZeDede *frm =
                OpenRenewalWizard(commandLine.Values.value(QStringLiteral("renovar")));
            TShownProbe probe(frm);
            if (OnMainWindowShown)
                app.installEventFilter(&probe);
            return app.exec();
        } catch (const Exception &e) {
            ShowErrorBox(nullptr, e.Message(), e.Details());
            return 1;
        }
    }
    try {
        TfrmZeDede frm;
        AcceptCertificateDrops(&frm);
        TShownProbe probe(&frm);
        if (OnMainWindowShown)
            app.installEventFilter(&probe);
        frm.show();
        result = app.exec();
    } catch (const Exception &e) {
        // Only the window's construction can get here; handlers are guarded.
        ShowErrorBox(nullptr, e.Message());
        result = 1;
    } catch (const std::exception &e) {
        ShowErrorBox(nullptr, QString::fromLocal8Bit(e.what()));
        result = 1;
    }
    return result;
}

#include "ZeDedeApp.h"

#include "FontWarmUp.h"

#include "CommandLine.h"
#include "Exception.h"
#include "MessageBoxes.h"
#include "ScreenFit.h"
#include "uZeDede.h"
#include "HelpGlyph.h"
#include "UserInterfaceFont.h"
#include "WindowlessRun.h"
#include "VerifyWindow.h"
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

#ifndef ZEDEDE_APP_ID
#error "ZEDEDE_APP_ID must be defined by the build"
#endif

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

QPalette ClassicPalette()
{
    QPalette p;
    const struct
    {
        QPalette::ColorRole Role;
        QColor Active;
        QColor Disabled;
    } roles[] = {
        {QPalette::Window, QColor(240, 240, 240), QColor(240, 240, 240)},
        {QPalette::WindowText, Qt::black, QColor(120, 120, 120)},
        {QPalette::Base, Qt::white, QColor(240, 240, 240)},
        {QPalette::AlternateBase, QColor(245, 245, 245), QColor(245, 245, 245)},
        {QPalette::ToolTipBase, QColor(255, 255, 225), QColor(255, 255, 225)},
        {QPalette::ToolTipText, Qt::black, Qt::black},
        {QPalette::PlaceholderText, QColor(110, 110, 110), QColor(120, 120, 120)},
        {QPalette::Text, Qt::black, QColor(120, 120, 120)},
        {QPalette::Button, QColor(240, 240, 240), QColor(240, 240, 240)},
        {QPalette::ButtonText, Qt::black, QColor(120, 120, 120)},
        {QPalette::BrightText, Qt::white, Qt::white},
        {QPalette::Light, Qt::white, Qt::white},
        {QPalette::Midlight, QColor(227, 227, 227), QColor(227, 227, 227)},
        {QPalette::Mid, QColor(160, 160, 160), QColor(160, 160, 160)},
        {QPalette::Dark, QColor(160, 160, 160), QColor(160, 160, 160)},
        {QPalette::Shadow, QColor(105, 105, 105), QColor(105, 105, 105)},
        {QPalette::Highlight, QColor(0, 120, 215), QColor(204, 204, 204)},
        {QPalette::HighlightedText, Qt::white, QColor(120, 120, 120)},
        {QPalette::Link, Qt::blue, QColor(120, 120, 120)},
        {QPalette::LinkVisited, QColor(128, 0, 128), QColor(120, 120, 120)},
    };
    for (const auto &r : roles) {
        p.setColor(QPalette::Active, r.Role, r.Active);
        p.setColor(QPalette::Inactive, r.Role, r.Active);
        p.setColor(QPalette::Disabled, r.Role, r.Disabled);
    }
    return p;
}

void ApplyClassicPalette(QApplication &AApp)
{
    AApp.setPalette(ClassicPalette());
}

QIcon ProgramIcon()
{
    // Carried as ready-to-draw pixels: nothing is decoded, and no image
    // reader (with its search for format plugins) is needed at start-up.
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128}) {
        const QImage image = ZeDedeArtImage(QByteArray("icon" + QByteArray::number(size)).constData());
        if (!image.isNull())
            icon.addPixmap(QPixmap::fromImage(image));
    }
    return icon;
}

void ApplyProgramLook(QApplication &AApp)
{
    ApplyUserInterfaceFont(AApp);
    ApplyClassicPalette(AApp);
    AApp.setWindowIcon(ProgramIcon());
    QGuiApplication::setDesktopFileName(QStringLiteral(ZEDEDE_APP_ID));
}

void ApplyUserInterfaceFont(QApplication &AApp)
{
    AApp.setFont(UserInterfaceFont());
}

bool LoadSpanishTranslation(QApplication &AApp)
{
    QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Argentina));
    auto *translator = new QTranslator(&AApp);
    const QString dir = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    // The program's own copy first (the Windows program carries one).
    if (!translator->load(QStringLiteral("qtbase_es"), QStringLiteral(":/translations"))
        && !translator->load(QStringLiteral("qtbase_es"), dir)
        && !translator->load(QStringLiteral("qtbase_es"),
                             QStringLiteral("/usr/share/qt6/translations"))) {
        delete translator;
        return false;
    }
    AApp.installTranslator(translator);
    return true;
}

namespace {

// The scale factor to start with when the window would not fit the primary
// screen at the present one; nothing when it fits.
std::optional<QByteArray> LowerScaleFactorSetting()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return std::nullopt;
    const double current = screen->devicePixelRatio();
    const QSize available =
        (QSizeF(screen->availableGeometry().size()) * current).toSize();
    const double wanted = FittingScaleFactor(
        current, available, QSize(TfrmZeDede::ClientWidth, TfrmZeDede::ClientHeight));
    if (wanted >= current)
        return std::nullopt;
    return ScaleFactorSetting(current, wanted, qgetenv("QT_SCALE_FACTOR"));
}

} // namespace

int RunZeDede(int argc, char **argv)
{
    const TCommandLine commandLine = ParseCommandLine(argc, argv);
    const QString verifyFile = commandLine.Values.value(QStringLiteral("verificar"));
    if (RunsWithoutWindow(commandLine.Action))
        return RunWithoutWindow(commandLine, argc, argv);

    TFontWarmUp fonts;
    // The application object takes Qt's own arguments out of argv; a second
    // one made from the same arguments gets them from this copy.
    std::vector<char *> arguments(argv, argv + argc + 1);
    int appArgc = argc;
    std::optional<QApplication> application;
    application.emplace(appArgc, argv);
    if (const std::optional<QByteArray> lower = LowerScaleFactorSetting()) {
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

    int result = 0;
    if (commandLine.Action == TStartAction::Verify) {
        // The check's window alone; the message loop ends when it closes.
        TfrmVerificar *frm = OpenVerifyWindow(
            verifyFile.isEmpty() ? QString() : QFileInfo(verifyFile).absoluteFilePath());
        TShownProbe probe(frm);
        if (OnMainWindowShown)
            app.installEventFilter(&probe);
        return app.exec();
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

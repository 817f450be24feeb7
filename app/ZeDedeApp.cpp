#include "ZeDedeApp.h"

#include "FontWarmUp.h"

#include "Exception.h"
#include "uZeDede.h"
#include "UVmRepositoryImages.h"
#include "UserInterfaceFont.h"
#include "VerifyWindow.h"

#include <QApplication>
#include <QEvent>
#include <QGridLayout>
#include <QLibraryInfo>
#include <QLocale>
#include <QTimer>
#include <QTranslator>

#include <exception>

namespace {
QString &TitleStore()
{
    static QString title;
    return title;
}

QString &DetailsStore()
{
    static QString details;
    return details;
}

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

TMessageBoxFunc MessageBoxHook;
std::function<void(QWidget *)> OnMainWindowShown;

QString ApplicationTitle()
{
    return TitleStore();
}

void SetApplicationTitle(const QString &ATitle)
{
    TitleStore() = ATitle;
}

QMessageBox::StandardButton DefaultMessageBox(QWidget *AParent, QMessageBox::Icon AIcon,
                                              const QString &ATitle, const QString &AText,
                                              QMessageBox::StandardButtons AButtons,
                                              QMessageBox::StandardButton ADefault)
{
    QMessageBox box(AIcon, ATitle, AText, AButtons, AParent);
    if (AIcon == QMessageBox::Critical && !DetailsStore().isEmpty()) {
        box.setDetailedText(DetailsStore());
        box.setInformativeText(QStringLiteral("El motivo está en los detalles."));
        // Wide enough for a program's messages to be read.
        if (auto *grid = qobject_cast<QGridLayout *>(box.layout()))
            grid->addItem(new QSpacerItem(560, 0, QSizePolicy::Minimum, QSizePolicy::Expanding),
                          grid->rowCount(), 0, 1, grid->columnCount());
    }
    box.setDefaultButton(ADefault);
    box.setEscapeButton(AButtons.testFlag(QMessageBox::No) ? QMessageBox::No : QMessageBox::Ok);
    const int result = box.exec();
    return static_cast<QMessageBox::StandardButton>(result);
}

static QMessageBox::StandardButton MessageBox(QWidget *AParent, QMessageBox::Icon AIcon,
                                              const QString &AText,
                                              QMessageBox::StandardButtons AButtons,
                                              QMessageBox::StandardButton ADefault)
{
    const QString title = ApplicationTitle();
    if (MessageBoxHook)
        return MessageBoxHook(AParent, AIcon, title, AText, AButtons, ADefault);
    return DefaultMessageBox(AParent, AIcon, title, AText, AButtons, ADefault);
}

QString ErrorBoxText(const QString &AMessage)
{
    if (!AMessage.isEmpty() && AMessage.back() > QLatin1Char('.'))
        return AMessage + QLatin1Char('.');
    return AMessage;
}

void ShowErrorBox(QWidget *AParent, const QString &AMessage, const QString &ADetails)
{
    DetailsStore() = ADetails;
    struct TClear
    {
        ~TClear() { DetailsStore().clear(); }
    } clear;
    MessageBox(AParent, QMessageBox::Critical, ErrorBoxText(AMessage), QMessageBox::Ok,
               QMessageBox::Ok);
}

QString ErrorBoxDetails()
{
    return DetailsStore();
}

bool AskYesNo(QWidget *AParent, const QString &AText)
{
    return MessageBox(AParent, QMessageBox::Question, AText, QMessageBox::Yes | QMessageBox::No,
                      QMessageBox::Yes)
           == QMessageBox::Yes;
}

void RunGuarded(QWidget *AParent, const std::function<void()> &AHandler)
{
    try {
        AHandler();
    } catch (const EAbort &) {
        // Stopped at the user's request: nothing to show.
    } catch (const Exception &e) {
        ShowErrorBox(AParent, e.Message(), e.Details());
    } catch (const std::exception &e) {
        ShowErrorBox(AParent, QString::fromLocal8Bit(e.what()));
    } catch (...) {
        ShowErrorBox(AParent, QStringLiteral("Error inesperado"));
    }
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
    if (!translator->load(QStringLiteral("qtbase_es"), dir)
        && !translator->load(QStringLiteral("qtbase_es"),
                             QStringLiteral("/usr/share/qt6/translations"))) {
        delete translator;
        return false;
    }
    AApp.installTranslator(translator);
    return true;
}

int RunZeDede(int argc, char **argv)
{
    TFontWarmUp fonts;
    QApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("ZeDede"));
    LoadSpanishTranslation(app);
    fonts.Wait();
    ApplyUserInterfaceFont(app);
    TVmRepositoryImages::RegisterWizardHelpGlyph();

    int result = 0;
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

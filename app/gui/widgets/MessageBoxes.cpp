#include "MessageBoxes.h"

#include "ErrorLog.h"
#include "Exception.h"
#include "UserDialogs.h"

namespace {

QString &TitleStore()
{
    static QString title;
    return title;
}

QMessageBox::StandardButton Box(QWidget *AParent, QMessageBox::Icon AIcon, const QString &ATitle,
                                const QString &AText, const QString &ADetails,
                                QMessageBox::StandardButtons AButtons,
                                QMessageBox::StandardButton ADefault)
{
    TMessageBoxRequest r;
    r.Parent = AParent;
    r.Icon = AIcon;
    r.Title = ATitle;
    r.Text = AText;
    r.Details = ADetails;
    r.Buttons = AButtons;
    r.Default = ADefault;
    return TUserDialogs::Current().MessageBox(r);
}

void ShowFailure(QWidget *AParent, const QString &AMessage, const QString &ADetails,
                 const QString &ALogContext)
{
    if (!ALogContext.isEmpty())
        LogError(ALogContext, AMessage, ADetails);
    ShowErrorBox(AParent, AMessage, ADetails);
}

} // namespace

QString ApplicationTitle()
{
    return TitleStore();
}

void SetApplicationTitle(const QString &ATitle)
{
    TitleStore() = ATitle;
}

QString ErrorBoxText(const QString &AMessage)
{
    if (!AMessage.isEmpty() && AMessage.back() > QLatin1Char('.'))
        return AMessage + QLatin1Char('.');
    return AMessage;
}

void ShowErrorBox(QWidget *AParent, const QString &AMessage, const QString &ADetails)
{
    Box(AParent, QMessageBox::Critical, ApplicationTitle(), ErrorBoxText(AMessage), ADetails,
        QMessageBox::Ok, QMessageBox::Ok);
}

bool AskYesNo(QWidget *AParent, const QString &AText)
{
    return Box(AParent, QMessageBox::Question, ApplicationTitle(), AText, QString(),
               QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes)
           == QMessageBox::Yes;
}

void ShowNotice(QWidget *AParent, const QString &AText, const QString &ATitle)
{
    Box(AParent, QMessageBox::Information, ATitle.isEmpty() ? ApplicationTitle() : ATitle, AText,
        QString(), QMessageBox::Ok, QMessageBox::Ok);
}

void RunGuarded(QWidget *AParent, const std::function<void()> &AHandler,
                const QString &ALogContext)
{
    try {
        AHandler();
    } catch (const EAbort &) {
        // Stopped at the user's request: nothing to show.
    } catch (const Exception &e) {
        ShowFailure(AParent, e.Message(), e.Details(), ALogContext);
    } catch (const std::exception &e) {
        ShowFailure(AParent, QString::fromLocal8Bit(e.what()), QString(), ALogContext);
    } catch (...) {
        ShowFailure(AParent, QStringLiteral("Error inesperado"), QString(), ALogContext);
    }
}

#include "UserDialogs.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QGridLayout>
#include <QSpacerItem>

namespace {

TUserDialogs *&Installed()
{
    static TUserDialogs *installed = nullptr;
    return installed;
}

} // namespace

TUserDialogs::~TUserDialogs() = default;

QMessageBox::StandardButton TUserDialogs::MessageBox(const TMessageBoxRequest &ARequest)
{
    QMessageBox box(ARequest.Icon, ARequest.Title, ARequest.Text, ARequest.Buttons,
                    ARequest.Parent);
    // A message may carry a value read from a file: never rich text.
    box.setTextFormat(Qt::PlainText);
    if (!ARequest.Details.isEmpty()) {
        box.setDetailedText(ARequest.Details);
        box.setInformativeText(QStringLiteral("El motivo está en los detalles."));
        // Wide enough for a program's messages to be read.
        if (auto *grid = qobject_cast<QGridLayout *>(box.layout()))
            grid->addItem(new QSpacerItem(560, 0, QSizePolicy::Minimum, QSizePolicy::Expanding),
                          grid->rowCount(), 0, 1, grid->columnCount());
    }
    box.setDefaultButton(ARequest.Default);
    box.setEscapeButton(ARequest.Buttons.testFlag(QMessageBox::No) ? QMessageBox::No
                                                                   : QMessageBox::Ok);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

QString TUserDialogs::ChooseOpenFile(QWidget *AParent, const QString &ATitle,
                                     const QString &AFolder, const QString &AFilter)
{
    return QFileDialog::getOpenFileName(AParent, ATitle, AFolder, AFilter);
}

QString TUserDialogs::ChooseSaveFile(QWidget *AParent, const QString &ATitle,
                                     const QString &ASuggested, const QString &AFilter)
{
    return QFileDialog::getSaveFileName(AParent, ATitle, ASuggested, AFilter, nullptr,
                                        QFileDialog::DontConfirmOverwrite);
}

QString TUserDialogs::ChooseFolder(QWidget *AParent, const QString &ATitle, const QString &AFolder)
{
    return QFileDialog::getExistingDirectory(AParent, ATitle, AFolder);
}

void TUserDialogs::OpenUrl(const QUrl &AUrl)
{
    QDesktopServices::openUrl(AUrl);
}

void TUserDialogs::Beep()
{
    QApplication::beep();
}

TUserDialogs &TUserDialogs::Current()
{
    static TUserDialogs real;
    return Installed() ? *Installed() : real;
}

void TUserDialogs::Install(TUserDialogs *ADialogs)
{
    Installed() = ADialogs;
}

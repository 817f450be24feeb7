#pragma once
// TUserDialogs: everything the windows ask of a person or of the desktop —
// message boxes, the file choosers, opening a folder or a web address, the
// warning beep — goes through the one object Current() returns. The real
// one shows real boxes; tests install a scripted one (Install) so that
// nothing waits for a person and what would have been shown can be read.

#include <QMessageBox>
#include <QString>
#include <QUrl>

class QWidget;

// One message box as the program asks for it.
struct TMessageBoxRequest
{
    QWidget *Parent = nullptr;
    QMessageBox::Icon Icon = QMessageBox::NoIcon;
    QString Title;
    QString Text;     // plain text, never read as rich text
    QString Details;  // behind the box's details button; empty for none
    QMessageBox::StandardButtons Buttons = QMessageBox::Ok;
    QMessageBox::StandardButton Default = QMessageBox::Ok;
};

class TUserDialogs
{
public:
    virtual ~TUserDialogs();

    // Shows the box and returns the button chosen.
    virtual QMessageBox::StandardButton MessageBox(const TMessageBoxRequest &ARequest);
    // A file to open (empty when cancelled); Filter as QFileDialog takes it.
    virtual QString ChooseOpenFile(QWidget *AParent, const QString &ATitle,
                                   const QString &AFolder, const QString &AFilter);
    // A file to write, without asking about overwriting (the caller keeps
    // the earlier file aside).
    virtual QString ChooseSaveFile(QWidget *AParent, const QString &ATitle,
                                   const QString &ASuggested, const QString &AFilter);
    // A folder to read (empty when cancelled).
    virtual QString ChooseFolder(QWidget *AParent, const QString &ATitle, const QString &AFolder);
    // Opens a folder or a web address with the desktop's default handler.
    virtual void OpenUrl(const QUrl &AUrl);
    virtual void Beep();

    // The dialogs in use: the installed ones, else the real ones.
    static TUserDialogs &Current();
    // Replaces the dialogs in use (not owned); nullptr brings back the real ones.
    static void Install(TUserDialogs *ADialogs);
};

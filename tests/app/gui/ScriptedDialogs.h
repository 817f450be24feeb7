#pragma once
// The dialogs of the windows as the tests script them: every box, file
// chooser, opened address and beep goes to the callbacks set here instead
// of to a person. Scripted() installs it for the whole test program; with
// RealBoxes set the real boxes are shown (for a test that clicks them).

#include "UserDialogs.h"

#include <QString>
#include <QUrl>

#include <functional>

class TScriptedDialogs : public TUserDialogs
{
public:
    TScriptedDialogs() { Install(this); }
    ~TScriptedDialogs() override { Install(nullptr); }

    // Answers a box; without it every box is answered with its default button.
    std::function<QMessageBox::StandardButton(const TMessageBoxRequest &)> OnBox;
    // Answers a file chooser (title, folder or suggested file); without it
    // the chooser is cancelled.
    std::function<QString(const QString &ATitle, const QString &AStart)> OnChooseFile;
    std::function<void(const QUrl &)> OnOpenUrl;
    std::function<void()> OnBeep;
    bool RealBoxes = false;

    QMessageBox::StandardButton MessageBox(const TMessageBoxRequest &ARequest) override
    {
        if (RealBoxes)
            return TUserDialogs::MessageBox(ARequest);
        return OnBox ? OnBox(ARequest) : ARequest.Default;
    }
    QString ChooseOpenFile(QWidget *, const QString &ATitle, const QString &AFolder,
                           const QString &) override
    {
        return OnChooseFile ? OnChooseFile(ATitle, AFolder) : QString();
    }
    QString ChooseSaveFile(QWidget *, const QString &ATitle, const QString &ASuggested,
                           const QString &) override
    {
        return OnChooseFile ? OnChooseFile(ATitle, ASuggested) : QString();
    }
    QString ChooseFolder(QWidget *, const QString &ATitle, const QString &AFolder) override
    {
        return OnChooseFile ? OnChooseFile(ATitle, AFolder) : QString();
    }
    void OpenUrl(const QUrl &AUrl) override
    {
        if (OnOpenUrl)
            OnOpenUrl(AUrl);
    }
    void Beep() override
    {
        if (OnBeep)
            OnBeep();
    }
};

// The scripted dialogs of this test program, installed on first use.
inline TScriptedDialogs &Scripted()
{
    static TScriptedDialogs dialogs;
    return dialogs;
}

#pragma once
// The program's standard boxes, shown through TUserDialogs, and the guard
// that keeps an error of an event handler from leaving it.

#include <QString>

#include <functional>

class QWidget;

// The application title: the box title of the error and question boxes.
QString ApplicationTitle();
void SetApplicationTitle(const QString &ATitle);

// The text the error box shows for a message: a full stop is added when the
// last character's code is above that of ".".
QString ErrorBoxText(const QString &AMessage);

// The error box: the message (with the full-stop rule), the application
// title, the error icon and one OK button; ADetails (an external program's
// own reason), when given, behind the box's details button.
void ShowErrorBox(QWidget *AParent, const QString &AMessage, const QString &ADetails = QString());

// The confirmation box: question icon, Yes and No, Yes the default. True when
// the answer is Yes.
bool AskYesNo(QWidget *AParent, const QString &AText);

// An information box with one OK button, titled ATitle (the application
// title when empty).
void ShowNotice(QWidget *AParent, const QString &AText, const QString &ATitle = QString());

// Runs an event handler so that no exception leaves it: an Exception (or any
// other std::exception) is shown in the error box, with its details, and
// written to the log under ALogContext when one is given; EAbort is shown to
// nobody.
void RunGuarded(QWidget *AParent, const std::function<void()> &AHandler,
                const QString &ALogContext = QString());

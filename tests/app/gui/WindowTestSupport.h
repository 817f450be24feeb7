#pragma once
// Helpers shared by the tests of the program's windows.

#include "AppTestSupport.h"
#include "ScriptedDialogs.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QString>
#include <QTest>
#include <QWidget>

// Types Text as key presses, accented letters included.
inline void TypeText(QWidget *AWidget, const QString &AText)
{
    for (const QChar c : AText) {
        if (c.unicode() < 128) {
            QTest::keyClick(AWidget, char(c.unicode()));
        } else {
            QTest::sendKeyEvent(QTest::Press, AWidget, Qt::Key_unknown, QString(c), Qt::NoModifier);
            QTest::sendKeyEvent(QTest::Release, AWidget, Qt::Key_unknown, QString(c), Qt::NoModifier);
        }
    }
}

// Saves the window as AName.png for looking at, when ZEDEDE_SHOTS names a
// folder.
inline void SaveShot(QWidget *AWindow, const QString &AName)
{
    const QString folder = qEnvironmentVariable("ZEDEDE_SHOTS");
    if (folder.isEmpty())
        return;
    QCoreApplication::processEvents();
    QTest::qWait(300);
    AWindow->grab().save(folder + "/" + AName + ".png");
}

// A message box as the box hook saw it.
struct TRecordedBox
{
    QMessageBox::Icon Icon;
    QString Title;
    QString Text;
    QMessageBox::StandardButtons Buttons;
    QMessageBox::StandardButton Default;
};

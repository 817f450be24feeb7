#pragma once
// Helpers shared by the tests of the program's window and request logic.

#include "RequestData.h"

#include <QByteArray>
#include <QMessageBox>
#include <QString>
#include <QTest>
#include <QWidget>

// A request that passes validation, with accented names; Folder is the
// destination.
inline TRequestData SampleRequestData(const QString &Folder)
{
    TRequestData d;
    d.NombreEmpresa = QStringLiteral("Compañía S.A.");
    d.CUIT = QStringLiteral("20-12345678-6");
    d.Operador = QStringLiteral("José Pérez");
    d.Mail = QStringLiteral("jose@example.com");
    d.Password = d.Password2 = QStringLiteral("secreto");
    d.Carpeta = Folder;
    return d;
}

// Points HOME and the XDG folders into Home, so that nothing a test does
// reaches the real user's files.
inline void UseTemporaryHome(const QString &Home)
{
    qputenv("HOME", Home.toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", (Home + QStringLiteral("/.config")).toLocal8Bit());
    qputenv("XDG_DATA_HOME", (Home + QStringLiteral("/.local/share")).toLocal8Bit());
    qunsetenv("XDG_DOCUMENTS_DIR");
}

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

// A message box as the box hook saw it.
struct TRecordedBox
{
    QMessageBox::Icon Icon;
    QString Title;
    QString Text;
    QMessageBox::StandardButtons Buttons;
    QMessageBox::StandardButton Default;
};

// The application services of the program: error and confirmation boxes,
// guarded handlers, Qt's Spanish texts and the user-interface font.

#include "Exception.h"
#include "MessageBoxes.h"
#include "ScriptedDialogs.h"
#include "ProgramLook.h"
#include "ZeDedeApp.h"
#include "UserInterfaceFont.h"
#include "WindowTestSupport.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <memory>
#include <stdexcept>

class TestZeDedeApp : public QObject
{
    Q_OBJECT
    QList<TRecordedBox> FBoxes;
    QMessageBox::StandardButton FAnswer = QMessageBox::Ok;

    QStringList FDetails;

    void hook()
    {
        Scripted().RealBoxes = false;
        Scripted().OnBox = [this](const TMessageBoxRequest &R) {
            const auto AIcon = R.Icon; const auto ATitle = R.Title; const auto AText = R.Text; const auto AButtons = R.Buttons; const auto ADefault = R.Default;
            FBoxes.append({AIcon, ATitle, AText, AButtons, ADefault});
            FDetails.append(R.Details);
            return FAnswer;
        };
    }

private slots:
    void initTestCase()
    {
        QVERIFY(LoadSpanishTranslation(*qApp));
        SetApplicationTitle(QStringLiteral("Asistente de prueba"));
    }

    void init()
    {
        FBoxes.clear();
        FDetails.clear();
        hook();
    }

    void errorTextGainsAFullStopAfterCharactersAboveIt()
    {
        QCOMPARE(ErrorBoxText(QStringLiteral("fallo genrsa")), QStringLiteral("fallo genrsa."));
        QCOMPARE(ErrorBoxText(QStringLiteral("Debe ingresar el número de CUIT.")),
                 QStringLiteral("Debe ingresar el número de CUIT."));
        QCOMPARE(ErrorBoxText(QStringLiteral("fue cancelada (por el usuario)")),
                 QStringLiteral("fue cancelada (por el usuario)"));
        QCOMPARE(ErrorBoxText(QStringLiteral("ruta /tmp/")), QStringLiteral("ruta /tmp/."));
        QCOMPARE(ErrorBoxText(QStringLiteral("guion -")), QStringLiteral("guion -"));
        QCOMPARE(ErrorBoxText(QStringLiteral("año ñ")), QStringLiteral("año ñ."));
        QCOMPARE(ErrorBoxText(QString()), QString());
    }

    void errorBoxHasTitleErrorIconAndOneOk()
    {
        ShowErrorBox(nullptr, QStringLiteral("fallo genrsa"));
        QCOMPARE(FBoxes.size(), 1);
        QCOMPARE(FBoxes[0].Icon, QMessageBox::Critical);
        QCOMPARE(FBoxes[0].Title, QStringLiteral("Asistente de prueba"));
        QCOMPARE(FBoxes[0].Text, QStringLiteral("fallo genrsa."));
        QCOMPARE(FBoxes[0].Buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    }

    void questionIsYesByDefaultAndTrueOnlyForYes()
    {
        FAnswer = QMessageBox::Yes;
        QVERIFY(AskYesNo(nullptr, QStringLiteral("¿Desea instalarlo ahora?")));
        FAnswer = QMessageBox::No;
        QVERIFY(!AskYesNo(nullptr, QStringLiteral("¿Desea instalarlo ahora?")));
        QCOMPARE(FBoxes[0].Icon, QMessageBox::Question);
        QCOMPARE(FBoxes[0].Buttons, QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(FBoxes[0].Default, QMessageBox::Yes);
        QCOMPARE(FBoxes[0].Title, QStringLiteral("Asistente de prueba"));
    }

    void guardedHandlersShowWhatTheyThrowAndNeverRethrow()
    {
        RunGuarded(nullptr, [] { throw Exception(QStringLiteral("No se encontró la carpeta x")); });
        RunGuarded(nullptr, [] { throw std::runtime_error("falla interna"); });
        bool ran = false;
        RunGuarded(nullptr, [&] { ran = true; });
        QVERIFY(ran);
        QCOMPARE(FBoxes.size(), 2);
        QCOMPARE(FBoxes[0].Text, QStringLiteral("No se encontró la carpeta x."));
        QCOMPARE(FBoxes[1].Text, QStringLiteral("falla interna."));
        QCOMPARE(FBoxes[1].Icon, QMessageBox::Critical);
        QCOMPARE(FDetails, (QStringList{QString(), QString()}));
    }

    void detailsGoWithTheirBoxAndAStopShowsNothing()
    {
        RunGuarded(nullptr, [] {
            throw Exception(QStringLiteral("fallo req"), QStringLiteral("OpenSSL dijo por qué"));
        });
        RunGuarded(nullptr, [] { throw EAbort(); });
        ShowErrorBox(nullptr, QStringLiteral("sin detalles"));
        QCOMPARE(FBoxes.size(), 2);
        QCOMPARE(FBoxes[0].Text, QStringLiteral("fallo req."));
        QCOMPARE(FDetails, (QStringList{QStringLiteral("OpenSSL dijo por qué"), QString()}));
    }

    void theRealErrorBoxOffersItsDetailsInSpanish()
    {
        Scripted().RealBoxes = true;
        QString detailed;
        QStringList captions;
        QTimer::singleShot(0, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            QVERIFY(box);
            detailed = box->detailedText();
            for (QAbstractButton *b : box->buttons())
                captions << b->text();
            box->button(QMessageBox::Ok)->click();
        });
        ShowErrorBox(nullptr, QStringLiteral("fallo genrsa"),
                     QStringLiteral("OpenSSL terminó con el código 1."));
        QCOMPARE(detailed, QStringLiteral("OpenSSL terminó con el código 1."));
        QVERIFY2(captions.join('|').contains(QStringLiteral("Mostrar los detalles")),
                 qPrintable(captions.join('|')));
    }

    void theRealQuestionBoxSpeaksSpanishWithYesAsDefault()
    {
        Scripted().RealBoxes = true;
        QStringList captions;
        QString defaultCaption;
        QString title;
        QTimer::singleShot(0, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            QVERIFY(box);
            title = box->windowTitle();
            for (QAbstractButton *b : box->buttons())
                captions << b->text();
            if (box->defaultButton())
                defaultCaption = box->defaultButton()->text();
            const QString shots = qEnvironmentVariable("ZEDEDE_SHOTS_DIR");
            if (!shots.isEmpty())
                box->grab().save(shots + QStringLiteral("/question-box.png"));
            box->button(QMessageBox::No)->click();
        });
        const bool yes = AskYesNo(nullptr, QStringLiteral("Se detectó que en su sistema no se "
                                                         "encuentra instalado OpenSSL. \r\n"
                                                         "¿Desea instalarlo ahora?"));
        QVERIFY(!yes);
        QCOMPARE(title, QStringLiteral("Asistente de prueba"));
        captions.sort();
        QCOMPARE(captions, (QStringList{QStringLiteral("&No"), QStringLiteral("&Sí")}));
        QCOMPARE(defaultCaption, QStringLiteral("&Sí"));
    }

    void editContextMenuIsSpanish()
    {
        QLineEdit edit;
        std::unique_ptr<QMenu> menu(edit.createStandardContextMenu());
        QStringList texts;
        for (QAction *a : menu->actions())
            if (!a->isSeparator())
                texts << a->text();
        QVERIFY2(texts.join('|').contains(QStringLiteral("&Deshacer")), qPrintable(texts.join('|')));
        QVERIFY(!texts.join('|').contains(QStringLiteral("Undo")));
    }

    void interfaceFontIsElevenPixelsOfAnInstalledFamily()
    {
        const QString family = UserInterfaceFontFamily();
        QVERIFY(QStringList({"MS Sans Serif", "Liberation Sans", "DejaVu Sans"}).contains(family));
        ApplyUserInterfaceFont(*qApp);
        QCOMPARE(QApplication::font().pixelSize(), 11);
        QCOMPARE(QApplication::font().family(), family);
    }
};

QTEST_MAIN(TestZeDedeApp)
#include "tst_uZeDedeApp.moc"

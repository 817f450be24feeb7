#include "CuitMaskEdit.h"
#include "MessageBoxes.h"
#include "ScriptedDialogs.h"
#include "ZeDedeApp.h"

#include <QApplication>
#include <QClipboard>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>

namespace {
struct TBox
{
    QMessageBox::Icon Icon;
    QString Title;
    QString Text;
    QMessageBox::StandardButtons Buttons;
};
} // namespace

class TestCuitMaskEdit : public QObject
{
    Q_OBJECT
    QList<TBox> FBoxes;
    int FBeeps = 0;
    QWidget *FWindow = nullptr;
    TCuitMaskEdit *FCuit = nullptr;
    QLineEdit *FOther = nullptr;
    QPushButton *FButton = nullptr;

    void focusCuit()
    {
        FCuit->setFocus(Qt::TabFocusReason);
        QTRY_VERIFY(FCuit->hasFocus());
    }

private slots:
    void initTestCase()
    {
        SetApplicationTitle(QStringLiteral("Título de prueba"));
        Scripted().RealBoxes = false;
        Scripted().OnBox = [this](const TMessageBoxRequest &R) {
            const auto AIcon = R.Icon; const auto ATitle = R.Title; const auto AText = R.Text; const auto AButtons = R.Buttons;
            FBoxes.append({AIcon, ATitle, AText, AButtons});
            return QMessageBox::Ok;
        };
        Scripted().OnBeep = [this] { ++FBeeps; };
    }

    void init()
    {
        FBoxes.clear();
        FBeeps = 0;
        FWindow = new QWidget;
        auto *layout = new QVBoxLayout(FWindow);
        FCuit = new TCuitMaskEdit(FWindow);
        FOther = new QLineEdit(FWindow);
        FButton = new QPushButton(QStringLiteral("Siguiente"), FWindow);
        layout->addWidget(FCuit);
        layout->addWidget(FOther);
        layout->addWidget(FButton);
        FWindow->show();
        FWindow->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(FWindow));
    }

    void cleanup()
    {
        delete FWindow;
        FWindow = nullptr;
    }

    void takesOnlyTheDigitsZeroToNine()
    {
        focusCuit();
        FCuit->home(false);
        QTest::keyClicks(FCuit, QStringLiteral("20"));
        const QString before = FCuit->Text();
        QCOMPARE(before, QStringLiteral("20-        - "));
        const int cursor = FCuit->cursorPosition();
        // Full-width, Arabic-Indic and superscript digits, typed.
        for (const QChar c : {QChar(0xFF12), QChar(0x0662), QChar(0x00B2), QChar(0x0967)}) {
            QTest::sendKeyEvent(QTest::Press, FCuit, Qt::Key_unknown, QString(c), Qt::NoModifier);
            QCOMPARE(FCuit->Text(), before);
            QCOMPARE(FCuit->cursorPosition(), cursor);
        }
        QCOMPARE(FBeeps, 4);
        QVERIFY(FCuit->isModified());
        // Pasted: the whole paste is refused.
        QApplication::clipboard()->setText(QString::fromUtf16(u"\uFF11\uFF12345678-6"));
        QTest::keyClick(FCuit, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(FCuit->Text(), before);
        QCOMPARE(FBeeps, 5);
        // ASCII digits go on as usual.
        QTest::keyClicks(FCuit, QStringLiteral("123456786"));
        QCOMPARE(FCuit->Text(), QStringLiteral("20-12345678-6"));
        QCOMPARE(FBeeps, 5);
        QVERIFY(TCuitMaskEdit::HoldsOnlyAsciiDigits(QStringLiteral("20-1       - ")));
        QVERIFY(!TCuitMaskEdit::HoldsOnlyAsciiDigits(QString::fromUtf16(u"2\uFF10-        - ")));
    }

    // Where a click leaves the cursor: inside the typed digits where it was
    // clicked, in the empty part at the first missing digit, so that what is
    // typed next is never lost past the mask.
    void aClickPutsTheCursorWhereDigitsGo()
    {
        const auto pointAt = [this](int APos) {
            for (int x = 0; x < FCuit->width(); ++x)
                if (FCuit->cursorPositionAt(QPoint(x, FCuit->height() / 2)) == APos)
                    return QPoint(x, FCuit->height() / 2);
            return QPoint(-1, -1);
        };
        const QPoint farRight(FCuit->width() - 3, FCuit->height() / 2);

        // An empty field clicked at its right end: every digit typed lands.
        QTest::mouseClick(FCuit, Qt::LeftButton, Qt::NoModifier, farRight);
        QVERIFY(FCuit->hasFocus());
        QCOMPARE(FCuit->cursorPosition(), 0);
        QTest::keyClicks(FCuit, QStringLiteral("2012"));
        QCOMPARE(FCuit->Text(), QStringLiteral("20-12      - "));
        QCOMPARE(FBeeps, 0);

        QTest::mouseClick(FCuit, Qt::LeftButton, Qt::NoModifier, farRight);
        QCOMPARE(FCuit->cursorPosition(), 5);
        const QPoint inside = pointAt(4);
        QVERIFY(inside.x() >= 0);
        QTest::mouseClick(FCuit, Qt::LeftButton, Qt::NoModifier, inside);
        QCOMPARE(FCuit->cursorPosition(), 4);
        QTest::mouseClick(FCuit, Qt::LeftButton, Qt::NoModifier, pointAt(1));
        QCOMPARE(FCuit->cursorPosition(), 1);
        QTest::mouseClick(FCuit, Qt::LeftButton, Qt::NoModifier, pointAt(9));
        QCOMPARE(FCuit->cursorPosition(), 5);
        QTest::keyClicks(FCuit, QStringLiteral("3456786"));
        QCOMPARE(FCuit->Text(), QStringLiteral("20-12345678-6"));
        QCOMPARE(FBeeps, 0);

        // Pure rule, with a gap in the typed digits.
        const QString gap = QStringLiteral("20-12 45    - ");
        QCOMPARE(TCuitMaskEdit::ClickPosition(gap, 3), 3);
        QCOMPARE(TCuitMaskEdit::ClickPosition(gap, 5), 5);
        QCOMPARE(TCuitMaskEdit::ClickPosition(gap, 7), 7);  // on the 5
        QCOMPARE(TCuitMaskEdit::ClickPosition(gap, 8), 8);  // just after it
        QCOMPARE(TCuitMaskEdit::ClickPosition(gap, 10), 5); // in the blanks
        QCOMPARE(TCuitMaskEdit::ClickPosition(gap, 13), 5);
        QCOMPARE(TCuitMaskEdit::ClickPosition(QStringLiteral("20-12345678-6"), 13), 13);
        QCOMPARE(TCuitMaskEdit::ClickPosition(QStringLiteral("20-12345678- "), 13), 12);
        QCOMPARE(TCuitMaskEdit::ClickPosition(QStringLiteral("20-12345678- "), 12), 12);
    }

    // A key the mask takes nothing of beeps; one it takes does not.
    void aRefusedKeyBeeps()
    {
        focusCuit();
        FCuit->home(false);
        QTest::keyClicks(FCuit, QStringLiteral("2"));
        QTest::keyClick(FCuit, Qt::Key_A);
        QCOMPARE(FBeeps, 1);
        QCOMPARE(FCuit->Text(), QStringLiteral("2 -        - "));
        QTest::keyClicks(FCuit, QStringLiteral("0123456786"));
        QCOMPARE(FCuit->Text(), QStringLiteral("20-12345678-6"));
        QCOMPARE(FBeeps, 1);
        // Full: a twelfth digit has no place.
        QTest::keyClick(FCuit, Qt::Key_7);
        QCOMPARE(FBeeps, 2);
        QCOMPARE(FCuit->Text(), QStringLiteral("20-12345678-6"));
        // Typing over a digit with the same one moves on: not a refusal;
        // moving the cursor is not either.
        FCuit->home(false);
        QTest::keyClick(FCuit, Qt::Key_2);
        QTest::keyClick(FCuit, Qt::Key_Right);
        QTest::keyClick(FCuit, Qt::Key_End);
        QCOMPARE(FBeeps, 2);
        QCOMPARE(FCuit->Text(), QStringLiteral("20-12345678-6"));
    }

    // A paste with more digits than the field has room for is refused whole
    // (never cut to what fits); one that fits goes in.
    void aPasteOverTheLimitIsRefusedWhole()
    {
        focusCuit();
        FCuit->home(false);
        QApplication::clipboard()->setText(QStringLiteral("20-12345678-69"));
        QTest::keyClick(FCuit, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(FCuit->Text(), TCuitMaskEdit::EmptyText);
        QCOMPARE(FBeeps, 1);
        QVERIFY(!FCuit->PasteText(QStringLiteral("201234567861")));
        QCOMPARE(FBeeps, 2);
        QCOMPARE(FCuit->Text(), TCuitMaskEdit::EmptyText);

        QApplication::clipboard()->setText(QStringLiteral("20-12345678-6"));
        QTest::keyClick(FCuit, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(FCuit->Text(), QStringLiteral("20-12345678-6"));
        QCOMPARE(FBeeps, 2);
        // Over a selection the room is counted from its start.
        FCuit->setSelection(3, 8);
        QVERIFY(FCuit->PasteText(QStringLiteral("87654321")));
        QCOMPARE(FCuit->Text(), QStringLiteral("20-87654321-6"));
        FCuit->setCursorPosition(12);
        QVERIFY(!FCuit->PasteText(QStringLiteral("12")));
        QCOMPARE(FCuit->Text(), QStringLiteral("20-87654321-6"));
    }

    void textIsAlwaysThirteenCharactersWithBlanksForUntypedDigits()
    {
        QCOMPARE(FCuit->Text(), QStringLiteral("  -        - "));
        QCOMPARE(FCuit->Text(), TCuitMaskEdit::EmptyText);
        focusCuit();
        FCuit->home(false);
        QTest::keyClicks(FCuit, QStringLiteral("201"));
        QCOMPARE(FCuit->Text(), QStringLiteral("20-1       - "));
        QTest::keyClicks(FCuit, QStringLiteral("23456786"));
        QCOMPARE(FCuit->Text(), QStringLiteral("20-12345678-6"));
        // Past the last position nothing more goes in; letters never do.
        QTest::keyClicks(FCuit, QStringLiteral("9"));
        QCOMPARE(FCuit->Text(), QStringLiteral("20-12345678-6"));
        FCuit->home(false);
        QTest::keyClicks(FCuit, QStringLiteral("ab"));
        QCOMPARE(FCuit->Text(), QStringLiteral("20-12345678-6"));
    }

    void literalsStayWhereTheyAre()
    {
        focusCuit();
        FCuit->home(false);
        // A typed dash over the literal just steps past it.
        QTest::keyClicks(FCuit, QStringLiteral("20-3"));
        QCOMPARE(FCuit->Text(), QStringLiteral("20-3       - "));
        FCuit->SetText(QStringLiteral("20123456786"));
        QCOMPARE(FCuit->Text(), QStringLiteral("20-12345678-6"));
        FCuit->SetText(QString());
        QCOMPARE(FCuit->Text(), TCuitMaskEdit::EmptyText);
    }

    void firstMissingPositionSkipsTheLiterals()
    {
        QCOMPARE(TCuitMaskEdit::FirstMissingPosition(QStringLiteral("20-12345678-6")), -1);
        QCOMPARE(TCuitMaskEdit::FirstMissingPosition(TCuitMaskEdit::EmptyText), 0);
        QCOMPARE(TCuitMaskEdit::FirstMissingPosition(QStringLiteral("20-12345678- ")), 12);
        QCOMPARE(TCuitMaskEdit::FirstMissingPosition(QStringLiteral("20-1234 678-6")), 7);
        QCOMPARE(TCuitMaskEdit::FirstMissingPosition(QStringLiteral("2 -12345678-6")), 1);
    }

    void leavingAnIncompleteEditBeepsKeepsFocusAndShowsTheMaskError()
    {
        focusCuit();
        FCuit->home(false);
        QTest::keyClicks(FCuit, QStringLiteral("2012"));
        QTest::keyClick(FWindow->focusWidget(), Qt::Key_Tab);
        QTRY_COMPARE(FBoxes.size(), 1);
        QCOMPARE(FBoxes[0].Text,
                 QStringLiteral("Invalid input value.  Use escape key to abandon changes."));
        QCOMPARE(FBoxes[0].Icon, QMessageBox::Critical);
        QCOMPARE(FBoxes[0].Title, QStringLiteral("Título de prueba"));
        QCOMPARE(FBoxes[0].Buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        QCOMPARE(FBeeps, 1);
        QVERIFY(FCuit->hasFocus());
        QCOMPARE(FCuit->cursorPosition(), 5);
        QCOMPARE(FCuit->Text(), QStringLiteral("20-12      - "));
    }

    void clickOnAButtonWhileIncompleteDoesNotPressIt()
    {
        QSignalSpy clicked(FButton, &QPushButton::clicked);
        focusCuit();
        FCuit->home(false);
        QTest::keyClicks(FCuit, QStringLiteral("2012345678"));
        QTest::mouseClick(FButton, Qt::LeftButton);
        QTRY_COMPARE(FBoxes.size(), 1);
        QCOMPARE(clicked.count(), 0);
        QVERIFY(FCuit->hasFocus());
        QCOMPARE(FCuit->cursorPosition(), 12);
        // Once the field is complete the button works again.
        QTest::keyClicks(FCuit, QStringLiteral("6"));
        QTest::mouseClick(FButton, Qt::LeftButton);
        QCOMPARE(clicked.count(), 1);
        QCOMPARE(FBoxes.size(), 1);
    }

    void leavingUneditedOrCompleteFieldsSaysNothing()
    {
        focusCuit();
        QTest::keyClick(FCuit, Qt::Key_Tab);
        QTRY_VERIFY(FOther->hasFocus());
        QTest::qWait(20);
        QVERIFY(FBoxes.isEmpty());

        focusCuit();
        FCuit->home(false);
        QTest::keyClicks(FCuit, QStringLiteral("20123456786"));
        QTest::keyClick(FCuit, Qt::Key_Tab);
        QTRY_VERIFY(FOther->hasFocus());
        QTest::qWait(20);
        QVERIFY(FBoxes.isEmpty());
        QCOMPARE(FBeeps, 0);
    }

    void escapeBringsBackTheTextFromBeforeTheEdit()
    {
        FCuit->SetText(QStringLiteral("20-12345678-6"));
        focusCuit();
        FCuit->setCursorPosition(3);
        QTest::keyClick(FCuit, Qt::Key_Delete);
        QTest::keyClick(FCuit, Qt::Key_Delete);
        QVERIFY(FCuit->Text() != QStringLiteral("20-12345678-6"));
        QTest::keyClick(FCuit, Qt::Key_Escape);
        QCOMPARE(FCuit->Text(), QStringLiteral("20-12345678-6"));
        QTest::keyClick(FCuit, Qt::Key_Tab);
        QTRY_VERIFY(FOther->hasFocus());
        QTest::qWait(20);
        QVERIFY(FBoxes.isEmpty());
    }

    void escapeAfterARejectedExitRestoresThePreviousValue()
    {
        // The text to restore is the one from before the edit, not the
        // incomplete one the field was forced to keep.
        focusCuit();
        FCuit->home(false);
        QTest::keyClicks(FCuit, QStringLiteral("27"));
        QTest::keyClick(FCuit, Qt::Key_Tab);
        QTRY_COMPARE(FBoxes.size(), 1);
        QVERIFY(FCuit->hasFocus());
        QTest::keyClick(FCuit, Qt::Key_Escape);
        QCOMPARE(FCuit->Text(), TCuitMaskEdit::EmptyText);
        QTest::keyClick(FCuit, Qt::Key_Tab);
        QTRY_VERIFY(FOther->hasFocus());
        QTest::qWait(20);
        QCOMPARE(FBoxes.size(), 1);
    }
};

QTEST_MAIN(TestCuitMaskEdit)
#include "tst_CuitMaskEdit.moc"

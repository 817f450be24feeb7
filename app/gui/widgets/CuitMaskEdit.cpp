#include "CuitMaskEdit.h"

#include "MessageBoxes.h"
#include "UserDialogs.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPointer>
#include <QTimer>

const QString TCuitMaskEdit::EmptyText = QStringLiteral("  -        - ");
const QString TCuitMaskEdit::InvalidInputMessage =
    QStringLiteral("Invalid input value.  Use escape key to abandon changes");


TCuitMaskEdit::TCuitMaskEdit(QWidget *AParent)
    : QLineEdit(AParent)
{
    // "9" is Qt's required digit; the blank after ";" stands for an untyped one.
    setInputMask(QStringLiteral("99-99999999-9; "));
    setMaxLength(13);
    FOldValue = Text();
    FLastGood = FOldValue;
    connect(this, &QLineEdit::textChanged, this, &TCuitMaskEdit::TextChanged);
    connect(this, &QLineEdit::cursorPositionChanged, this, [this](int, int ANew) {
        if (Text() == FLastGood)
            FLastGoodCursor = ANew;
    });
}

bool TCuitMaskEdit::HoldsOnlyAsciiDigits(const QString &AMaskedText)
{
    for (int i = 0; i < AMaskedText.size(); ++i) {
        if (!IsDigitPosition(i))
            continue;
        const QChar c = AMaskedText.at(i);
        if (c != QLatin1Char(' ') && (c < QLatin1Char('0') || c > QLatin1Char('9')))
            return false;
    }
    return true;
}

void TCuitMaskEdit::TextChanged()
{
    const QString now = Text();
    if (HoldsOnlyAsciiDigits(now)) {
        FLastGood = now;
        FLastGoodCursor = cursorPosition();
        return;
    }
    // The mask takes any digit; take back the edit that brought in another.
    const bool modified = isModified();
    const int cursor = FLastGoodCursor;
    setText(FLastGood);
    setModified(modified);
    setCursorPosition(cursor);
    FBeeped = true;
    TUserDialogs::Current().Beep();
}

TCuitMaskEdit::~TCuitMaskEdit()
{
    if (FErrorPending)
        qApp->removeEventFilter(this);
}

QString TCuitMaskEdit::Text() const
{
    // With a mask, the displayed text holds the literals and the blank
    // place holders; text() would drop the blanks.
    QString s = displayText();
    if (s.size() != EmptyText.size())
        s = s.leftJustified(EmptyText.size(), QLatin1Char(' '), true);
    return s;
}

void TCuitMaskEdit::SetText(const QString &AText)
{
    setText(AText);
    setModified(false);
    FOldValue = Text();
}

bool TCuitMaskEdit::IsDigitPosition(int APos)
{
    return APos >= 0 && APos < 13 && APos != 2 && APos != 11;
}

int TCuitMaskEdit::FirstMissingPosition(const QString &AMaskedText)
{
    for (int i = 0; i < 13; ++i) {
        if (!IsDigitPosition(i))
            continue;
        if (i >= AMaskedText.size())
            return i;
        const QChar c = AMaskedText.at(i);
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return i;
    }
    return -1;
}

QString TCuitMaskEdit::SpokenText(const QString &AMaskedText)
{
    for (int i = int(AMaskedText.size()) - 1; i >= 0; --i) {
        if (IsDigitPosition(i) && AMaskedText.at(i) >= QLatin1Char('0')
            && AMaskedText.at(i) <= QLatin1Char('9'))
            return AMaskedText.left(i + 1);
    }
    return QString();
}

bool TCuitMaskEdit::ValidateEdit()
{
    if (!isModified())
        return true;
    const int missing = FirstMissingPosition(Text());
    if (missing < 0)
        return true;
    TUserDialogs::Current().Beep();
    if (!hasFocus())
        setFocus(Qt::OtherFocusReason);
    setCursorPosition(missing);
    ShowErrorBox(window(), InvalidInputMessage);
    return false;
}

void TCuitMaskEdit::focusInEvent(QFocusEvent *AEvent)
{
    // Returning from a box or a popup, or being given the focus back after a
    // rejected exit, is not a new edit: the text to restore stays.
    const Qt::FocusReason reason = AEvent->reason();
    if (!FErrorPending && reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason
        && !isModified())
        FOldValue = Text();
    QLineEdit::focusInEvent(AEvent);
}

void TCuitMaskEdit::focusOutEvent(QFocusEvent *AEvent)
{
    QLineEdit::focusOutEvent(AEvent);
    const Qt::FocusReason reason = AEvent->reason();
    if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason)
        return;
    if (FErrorPending || !isModified() || FirstMissingPosition(Text()) < 0)
        return;
    // The focus is moving to another control of the window. Report after the
    // move has finished; until then swallow the mouse button that caused it,
    // so that a click on a button does not also act.
    FErrorPending = true;
    qApp->installEventFilter(this);
    QTimer::singleShot(0, this, &TCuitMaskEdit::ReportPendingError);
}

void TCuitMaskEdit::ReportPendingError()
{
    qApp->removeEventFilter(this);
    if (isVisible() && isEnabled())
        ValidateEdit();
    FErrorPending = false;
}

bool TCuitMaskEdit::eventFilter(QObject *AWatched, QEvent *AEvent)
{
    if (FErrorPending) {
        switch (AEvent->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
            return true;
        default:
            break;
        }
    }
    return QLineEdit::eventFilter(AWatched, AEvent);
}

namespace {

bool IsTypedDigit(const QString &AMaskedText, int APos)
{
    return TCuitMaskEdit::IsDigitPosition(APos) && APos < AMaskedText.size()
           && AMaskedText.at(APos) >= QLatin1Char('0') && AMaskedText.at(APos) <= QLatin1Char('9');
}

// A character a key types: printable, not a shortcut.
bool TypesACharacter(const QKeyEvent *AEvent)
{
    const QString text = AEvent->text();
    if (text.isEmpty() || (AEvent->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)))
        return false;
    for (const QChar c : text)
        if (!c.isPrint())
            return false;
    return true;
}

} // namespace

int TCuitMaskEdit::ClickPosition(const QString &AMaskedText, int APos)
{
    const int first = FirstMissingPosition(AMaskedText);
    if (first < 0 || APos <= first)
        return APos;
    // Next to a typed digit, the literal dashes skipped.
    int before = APos - 1;
    while (before >= 0 && !IsDigitPosition(before))
        --before;
    if (IsTypedDigit(AMaskedText, APos) || (before >= 0 && IsTypedDigit(AMaskedText, before)))
        return APos;
    return first;
}

void TCuitMaskEdit::mousePressEvent(QMouseEvent *AEvent)
{
    QLineEdit::mousePressEvent(AEvent);
    if (AEvent->button() != Qt::LeftButton || hasSelectedText())
        return;
    const int pos = ClickPosition(Text(), cursorPosition());
    if (pos != cursorPosition())
        setCursorPosition(pos);
}

bool TCuitMaskEdit::PasteText(const QString &AText)
{
    int digits = 0;
    for (const QChar c : AText)
        digits += c >= QLatin1Char('0') && c <= QLatin1Char('9');
    const int from = hasSelectedText() ? selectionStart() : cursorPosition();
    int room = 0;
    for (int i = from; i < EmptyText.size(); ++i)
        room += IsDigitPosition(i);
    if (digits > room) {
        TUserDialogs::Current().Beep();
        return false;
    }
    insert(AText);
    return true;
}

void TCuitMaskEdit::PasteChecked()
{
    if (!isReadOnly())
        PasteText(QGuiApplication::clipboard()->text());
}

void TCuitMaskEdit::contextMenuEvent(QContextMenuEvent *AEvent)
{
    QPointer<QMenu> menu = createStandardContextMenu();
    if (!menu)
        return;
    if (auto *paste = menu->findChild<QAction *>(QStringLiteral("edit-paste"))) {
        disconnect(paste, &QAction::triggered, nullptr, nullptr);
        connect(paste, &QAction::triggered, this, &TCuitMaskEdit::PasteChecked);
    }
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(AEvent->globalPos());
}

void TCuitMaskEdit::keyPressEvent(QKeyEvent *AEvent)
{
    if (AEvent->key() == Qt::Key_Escape && AEvent->modifiers() == Qt::NoModifier && isModified()) {
        setText(FOldValue);
        setModified(false);
        selectAll();
        AEvent->accept();
        return;
    }
    if (AEvent->matches(QKeySequence::Paste)) {
        PasteChecked();
        AEvent->accept();
        return;
    }
    const bool types = TypesACharacter(AEvent) && !isReadOnly();
    const QString before = Text();
    const int cursor = cursorPosition();
    FBeeped = false;
    QLineEdit::keyPressEvent(AEvent);
    // The mask took nothing of it: say so, as for the other refusals.
    if (types && !FBeeped && Text() == before && cursorPosition() == cursor)
        TUserDialogs::Current().Beep();
}

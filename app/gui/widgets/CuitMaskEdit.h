#pragma once
// TCuitMaskEdit: the masked edit of a CUIT, "00-00000000-0" with the blank as
// the place holder of an untyped digit. Its text is always 13 characters, the
// literal dashes included ("  -        - " when nothing is typed).
//
// When the field loses the focus to another control of its window after the
// user edited it and a digit is missing, it beeps, takes the focus back with
// the cursor at the first missing position and shows the edit-mask error in
// the application's error box. Escape brings back the text from before the
// edit.
//
// No typed digit is lost: a click puts the cursor where it was clicked inside
// the typed digits, otherwise at the first missing digit; a key the mask
// refuses (a letter, a digit with no place left) beeps; a paste with more
// digits than the field has room for is refused whole, with a beep.

#include <QLineEdit>
#include <QString>

#include <functional>

class TCuitMaskEdit : public QLineEdit
{
    Q_OBJECT
public:
    explicit TCuitMaskEdit(QWidget *AParent = nullptr);
    ~TCuitMaskEdit() override;

    static const QString EmptyText;    // "  -        - "
    static const QString InvalidInputMessage;

    // The masked text: 13 characters, blanks for untyped digits.
    QString Text() const;
    // Puts a text through the mask (digits fill the digit positions in order;
    // the literals stay). Not an edit: the text before the edit becomes it.
    void SetText(const QString &AText);

    // Pure rules of the mask, on a 13-character masked text.
    static bool IsDigitPosition(int APos);
    // What a screen reader is told the field holds: the text up to its last
    // typed digit; empty when no digit is typed (never the bare dashes).
    static QString SpokenText(const QString &AMaskedText);
    // -1 when every digit position holds a digit.
    static int FirstMissingPosition(const QString &AMaskedText);

    // The check run when the focus leaves an edited field: true when the
    // text is complete (or was not edited). Otherwise beeps, keeps the focus,
    // puts the cursor at the first missing position and shows the error.
    bool ValidateEdit();

    // True when every digit position holds 0-9 or a blank.
    static bool HoldsOnlyAsciiDigits(const QString &AMaskedText);

    // The text restored by Escape.
    QString OldValue() const { return FOldValue; }

    // Where a click that Qt put at APos leaves the cursor in AMaskedText:
    // APos when it is at or before the first missing digit or next to a
    // typed digit, else the first missing digit.
    static int ClickPosition(const QString &AMaskedText, int APos);

    // Pastes AText at the cursor (over the selection) when its digits fit the
    // digit positions from there on; otherwise beeps and changes nothing.
    // True when pasted.
    bool PasteText(const QString &AText);
    // PasteText with the clipboard's text.
    void PasteChecked();

protected:
    void focusInEvent(QFocusEvent *AEvent) override;
    void focusOutEvent(QFocusEvent *AEvent) override;
    void keyPressEvent(QKeyEvent *AEvent) override;
    void mousePressEvent(QMouseEvent *AEvent) override;
    void contextMenuEvent(QContextMenuEvent *AEvent) override;
    bool eventFilter(QObject *AWatched, QEvent *AEvent) override;

private:
    void ReportPendingError();
    void TextChanged();

    QString FOldValue;
    bool FErrorPending = false;
    QString FLastGood;       // the last text with ASCII digits only
    int FLastGoodCursor = 0; // the cursor position that went with it
    bool FBeeped = false;    // the last change was taken back with a beep
};

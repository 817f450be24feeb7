#include "AccessibleWidgets.h"

#include "CuitMaskEdit.h"
#include "HeadingLabel.h"
#include "LinkLabel.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QFontMetrics>
#include <QStyle>
#include <QStyleOptionFrame>

#include <algorithm>

namespace {

class TAccessibleLink : public QAccessibleWidget
{
public:
    explicit TAccessibleLink(TLinkLabelKv *ALink) : QAccessibleWidget(ALink, QAccessible::Link) {}

    TLinkLabelKv *Link() const { return static_cast<TLinkLabelKv *>(widget()); }

    QString text(QAccessible::Text AText) const override
    {
        if (AText == QAccessible::Name && widget()->accessibleName().isEmpty())
            return Link()->text();
        return QAccessibleWidget::text(AText);
    }

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.linked = true;
        return s;
    }

    QStringList actionNames() const override
    {
        return QStringList(pressAction()) + QAccessibleWidget::actionNames();
    }

    void doAction(const QString &AAction) override
    {
        if (AAction == pressAction())
            Link()->Click();
        else
            QAccessibleWidget::doAction(AAction);
    }
};

class TAccessibleCuit : public QAccessibleWidget, public QAccessibleTextInterface
{
public:
    explicit TAccessibleCuit(TCuitMaskEdit *AEdit)
        : QAccessibleWidget(AEdit, QAccessible::EditableText)
    {
    }

    TCuitMaskEdit *Edit() const { return static_cast<TCuitMaskEdit *>(widget()); }
    QString Spoken() const { return TCuitMaskEdit::SpokenText(Edit()->Text()); }

    void *interface_cast(QAccessible::InterfaceType AType) override
    {
        if (AType == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface *>(this);
        return QAccessibleWidget::interface_cast(AType);
    }

    QString text(QAccessible::Text AText) const override
    {
        if (AText == QAccessible::Value)
            return Spoken();
        return QAccessibleWidget::text(AText);
    }

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.editable = !Edit()->isReadOnly();
        s.readOnly = Edit()->isReadOnly();
        s.selectableText = true;
        return s;
    }

    // QAccessibleTextInterface: offsets are positions in the field, whose
    // spoken text is a beginning of what it displays.
    void selection(int ASelectionIndex, int *AStart, int *AEnd) const override
    {
        *AStart = *AEnd = 0;
        if (ASelectionIndex != 0 || !Edit()->hasSelectedText())
            return;
        const int size = int(Spoken().size());
        *AStart = std::min(Edit()->selectionStart(), size);
        *AEnd = std::min(Edit()->selectionEnd(), size);
    }
    int selectionCount() const override { return Edit()->hasSelectedText() ? 1 : 0; }
    void addSelection(int AStart, int AEnd) override { setSelection(0, AStart, AEnd); }
    void removeSelection(int ASelectionIndex) override
    {
        if (ASelectionIndex == 0)
            Edit()->deselect();
    }
    void setSelection(int ASelectionIndex, int AStart, int AEnd) override
    {
        if (ASelectionIndex == 0)
            Edit()->setSelection(AStart, AEnd - AStart);
    }
    int cursorPosition() const override
    {
        return std::min(Edit()->cursorPosition(), int(Spoken().size()));
    }
    void setCursorPosition(int APosition) override { Edit()->setCursorPosition(APosition); }
    QString text(int AStart, int AEnd) const override
    {
        if (AStart > AEnd)
            return QString();
        return Spoken().mid(AStart, AEnd - AStart);
    }
    int characterCount() const override { return int(Spoken().size()); }
    QRect characterRect(int AOffset) const override
    {
        const TCuitMaskEdit *e = Edit();
        const QString shown = e->displayText();
        if (AOffset < 0 || AOffset >= shown.size())
            return QRect();
        QStyleOptionFrame option;
        option.initFrom(e);
        const QRect contents =
            e->style()->subElementRect(QStyle::SE_LineEditContents, &option, e);
        const QFontMetrics fm(e->font());
        const int x = contents.x() + 2 + fm.horizontalAdvance(shown.left(AOffset));
        const int w = fm.horizontalAdvance(shown.at(AOffset));
        const QRect local(x, contents.y() + (contents.height() - fm.height()) / 2, w, fm.height());
        return QRect(e->mapToGlobal(local.topLeft()), local.size());
    }
    int offsetAtPoint(const QPoint &APoint) const override
    {
        const int position = Edit()->cursorPositionAt(Edit()->mapFromGlobal(APoint));
        return std::min(position, int(Spoken().size()));
    }
    void scrollToSubstring(int AStart, int) override { Edit()->setCursorPosition(AStart); }
    QString attributes(int, int *AStart, int *AEnd) const override
    {
        *AStart = 0;
        *AEnd = characterCount();
        return QString();
    }
};

// A heading, named by its text.
class TAccessibleHeading : public QAccessibleWidget
{
public:
    explicit TAccessibleHeading(THeadingLabel *ALabel)
        : QAccessibleWidget(ALabel, QAccessible::Heading)
    {
    }
    QString text(QAccessible::Text AText) const override
    {
        if (AText == QAccessible::Name && widget()->accessibleName().isEmpty())
            return static_cast<THeadingLabel *>(widget())->text();
        return QAccessibleWidget::text(AText);
    }
};

QAccessibleInterface *Factory(const QString &AClassName, QObject *AObject)
{
    if (AClassName == QLatin1String("THeadingLabel"))
        if (auto *heading = qobject_cast<THeadingLabel *>(AObject))
            return new TAccessibleHeading(heading);
    if (AClassName == QLatin1String("TLinkLabelKv"))
        if (auto *link = qobject_cast<TLinkLabelKv *>(AObject))
            return new TAccessibleLink(link);
    if (AClassName == QLatin1String("TCuitMaskEdit"))
        if (auto *edit = qobject_cast<TCuitMaskEdit *>(AObject))
            return new TAccessibleCuit(edit);
    return nullptr;
}

} // namespace

void InstallAccessibleWidgets()
{
    static const bool installed = [] {
        QAccessible::installFactory(Factory);
        return true;
    }();
    Q_UNUSED(installed);
}

#pragma once
// Navigation of the wizard without widgets: the ordered page list with each
// page's inclusion, the active page, the finished state, which page comes
// next or before, and what the navigation buttons show for a page.  The
// wizard (UCWWizard.h) asks it and applies the answers to its widgets.

#include <QList>
#include <QString>

#include <optional>

// A page as the navigator sees it.  An excluded page stays listed and is
// skipped by Next and Back.
class TNavigatorPage
{
public:
    virtual ~TNavigatorPage() = default;
    bool Include() const { return FInclude; }

protected:
    bool FInclude = true;
};

// What the navigation buttons show.  An empty optional leaves that part of
// the button as it is.
struct TNavigatorButtons
{
    std::optional<bool> BackEnabled;
    std::optional<bool> NextEnabled;
    std::optional<bool> FinishEnabled;
    std::optional<QString> NextCaption;
};

// Where a click on Next leads.
enum class TNextStep { None, Move, Finish };

// What the wizard does after a page's Include changed.
struct TIncludeEffect
{
    bool Switch = false;              // switch to Target (none included)
    TNavigatorPage *Target = nullptr;
    bool Refresh = false;             // show the active page's buttons afresh
};

class TWizardNavigator
{
public:
    // What the buttons depend on besides the pages.
    bool AllowProcessDefault = true;   // the Finish button ends the wizard
    bool CancelShown = true;           // the Cancel button is offered
    QString CapFinishBtn;              // Next's caption on the end page otherwise

    // Page list, in navigation order.
    const QList<TNavigatorPage *> &Pages() const { return FPages; }
    int Count() const { return FPages.size(); }
    TNavigatorPage *At(int AIndex) const { return FPages.at(AIndex); }
    int IndexOf(const TNavigatorPage *APage) const;
    bool Contains(const TNavigatorPage *APage) const { return IndexOf(APage) >= 0; }
    // Appends APage unless it is listed already.
    void Append(TNavigatorPage *APage);
    // Unlists APage; when it was the active page there is none.
    void Remove(TNavigatorPage *APage);
    // Both indexes must lie in the list.
    void Move(int ACurIndex, int ANewIndex) { FPages.move(ACurIndex, ANewIndex); }

    // The nearest page after (AGoForward) or before APage that is included,
    // or any page when not ACheckInclude.  None when APage is not listed or
    // the end of the list is reached; the scan does not wrap around.
    TNavigatorPage *FindNext(const TNavigatorPage *APage, bool AGoForward, bool ACheckInclude) const;
    // The page that takes APage's place when it is removed: the one after
    // it, else the one before it, included or not.
    TNavigatorPage *RemovalSuccessor(const TNavigatorPage *APage) const;

    TNavigatorPage *Active() const { return FActive; }
    bool Finished() const { return FFinished; }
    // A click on Back clears the finished state, whatever its handler says.
    void ClearFinished() { FFinished = false; }

    // The buttons of APage when the wizard arrives on it: ADone is the
    // page's done query, AEnabled the wizard's own enabled state.  The end
    // page (no included page after it) finishes the wizard when the Finish
    // button is offered; otherwise Next takes CapFinishBtn as its caption.
    TNavigatorButtons ButtonsFor(const TNavigatorPage *APage, bool ADone, bool AEnabled) const;

    void SetActive(TNavigatorPage *APage) { FActive = APage; }
    // Arriving on the active page: the finished state and the buttons are
    // those of ButtonsFor, whatever the page before had reached.
    TNavigatorButtons Arrive(bool ADone, bool AEnabled);
    // The active page's buttons after the list changed behind it: as on
    // arrival, except that the Finish button is left alone unless the
    // active page has become the end.
    TNavigatorButtons Refresh(bool ADone, bool AEnabled);
    // Next and Back as the done query or the enabled state change: Next is
    // off at the finished end while Cancel is offered, Back whenever the
    // wizard is finished.
    bool NextEnabled(bool ADone, bool AEnabled) const;
    bool BackEnabled(bool AEnabled) const;

    TNextStep NextStep() const;
    TIncludeEffect IncludeChanged(const TNavigatorPage *APage) const;

private:
    QList<TNavigatorPage *> FPages;
    TNavigatorPage *FActive = nullptr;
    bool FFinished = false;
};

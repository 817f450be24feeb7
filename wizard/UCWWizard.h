#pragma once
// Multi-page wizard control: an ordered list of pages, one of them visible,
// a header with the page's title and text, a picture at the left or in the
// header, an optional steps list and a Back/Next/Finish/Cancel/Help bar that
// lays out its own children from right to left.  This is the one header a
// host includes.
//
// How a host builds a wizard (the same order a stored form is read in):
//
//   auto *wiz = new TWizardKv(form);          // loading starts here
//   wiz->SetAllowProcessDefault(true);        // 1. wizard properties
//   wiz->SetPicture(QPixmap(...));
//   wiz->OnChange = [this](QObject *) { ... };
//   auto *p1 = new TWizardPageKv(wiz);        // 2. pages attach themselves,
//   auto *p2 = new TWizardPageKv(wiz);        //    no switch while loading
//   wiz->SetActivePage(p1);                   // 3. page references: first
//   wiz->SetFirstPage(p1);                    //    switch, no events yet
//   wiz->Loaded();                            // 4. frame finished, events on
//
// Placement: with Align alClient (the default) the wizard fills its parent;
// in a layout of its parent the layout places it (sizeHint and
// minimumSizeHint tell what the frame and the pages need); with alNone the
// host places it.  Pages take the area right of the picture strip and the
// steps list, below the header.
//
// Pictures: SetPicture(pixmap) before Loaded (drawn transparent: the colour
// of the bottom-left pixel is left out); on a page change
//   wiz->Picture()->Assign(pixmap); wiz->SetPictureAlign(alPTop or alPLeft);
//
// A host control in the button bar: create it with CancelButton's parent and
// give it a Tag (see "Properties of controls" below); Tag 4 puts it at the
// bar's left end:
//   auto *link = new QLabel(text, wiz->CancelButton->parentWidget());
//   TWizardKv::SetTag(link, 4);
// (created after the form is shown it also needs link->show()).
//
// Events: the handlers are std::function members; beside each of the
// wizard's events a Qt signal is emitted right after the handler, under the
// same conditions: pageChanging/pageChanged (OnChanging/OnChange, only once
// loaded), finishClicked, cancelClicked, helpRequested.
//
// Enter: with NextButtonByDefault, Enter pressed on a control of the wizard
// that does not use it itself clicks Next (a focused push button of the
// wizard is clicked instead).  Enter elsewhere in the window is left to the
// window, so a host dialog keeps its own default button.
//
// Errors: a handler may throw (an Exception carrying the user-facing text):
// the exception leaves the click handling where it was thrown.  Clicks of
// the bar's buttons, the Enter key, focus notifications of pages and enabled
// changes arrive from Qt's event loop, which no exception may cross, so they
// run through HandleClick(): the escaping exception goes to OnException,
// where the host shows it; without a handler it is reported with qWarning
// and the wizard stays as it was.  A host calling NextButtonClick() and the
// like directly gets the exception itself.

#include "WizardBarProperties.h"
#include "WizardButtonBar.h"
#include "WizardNavigator.h"
#include "WizardPanels.h"
#include "WizardPicture.h"
#include "WizardStepsList.h"

#include <QFont>
#include <QLabel>
#include <QPixmap>
#include <QPointer>
#include <QPushButton>
#include <QToolButton>
#include <QWidget>

#include <exception>
#include <functional>

class QCheckBox;
class TWizardKv;

using TNotifyEvent = std::function<void(QObject *Sender)>;
using TWizardQueryEvent = std::function<void(QObject *Sender, bool &Done)>;
using THelpEvent = std::function<bool(quint16 Command, qintptr Data, bool &CallHelp)>;
using TOnAfterSetPictureAlign = std::function<void(QWidget *Image)>;
// Receives an exception that escaped a handler called from a click (or from
// another notification that comes from Qt's event loop).
using TExceptionEvent = std::function<void(QObject *Sender, std::exception_ptr AError)>;
// Supplies the help button's glyph, 16 x 16.
using THelpGlyphProvider = QPixmap (*)();

// Set of optional buttons, one byte: bit 0 wbHelp, bit 1 wbCancel.
enum TWizardButtonKv : quint8 { wbHelp = 0x01, wbCancel = 0x02 };
using TWizardButtons = quint8;

enum TPictureAlign : quint8 { alPTop, alPLeft };

class TWizardPageKv : public QWidget, public TNavigatorPage
{
    Q_OBJECT
    Q_PROPERTY(bool Include READ Include WRITE SetInclude)
    Q_PROPERTY(int PageIndex READ PageIndex WRITE SetPageIndex STORED false)
    Q_PROPERTY(QString TopTitle READ TopTitle WRITE SetTopTitle)
    Q_PROPERTY(QString TopText READ TopText WRITE SetTopText)
    friend class TWizardKv;

public:
    // With a wizard the page attaches itself to it (WizardControl := it).
    explicit TWizardPageKv(TWizardKv *AWizardControl = nullptr);
    ~TWizardPageKv() override;

    void SetInclude(bool AValue);
    int PageIndex() const;
    void SetPageIndex(int AValue);
    QString TopTitle() const { return FTopTitle; }
    void SetTopTitle(const QString &AValue) { FTopTitle = AValue; }
    QString TopText() const { return FTopText; }
    void SetTopText(const QString &AValue) { FTopText = AValue; }
    TWizardKv *WizardControl() const { return FWizardControl; }
    void SetWizardControl(TWizardKv *AValue);
    // True once the page has been shown for the first time.
    bool IsLoaded() const { return FLoaded; }

    virtual bool QueryDone();

    // Without a layout: the extent of the controls placed on the page.
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    TWizardQueryEvent OnDoneQuery;
    TWizardQueryEvent OnNextClick;
    TWizardQueryEvent OnBackClick;
    // Focus moves into / out of the page (pages of a wizard only).
    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;

protected:
    void showEvent(QShowEvent *) override;

private:
    bool FLoaded = false;
    TWizardKv *FWizardControl = nullptr;
    QString FTopTitle;
    QString FTopText;
};

class TWizardKv : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(TAlignKv Align READ Align WRITE SetAlign)
    Q_PROPERTY(bool AllowProcessDefault READ AllowProcessDefault WRITE SetAllowProcessDefault)
    Q_PROPERTY(TWizardPageKv *ActivePage READ ActivePage WRITE SetActivePage)
    Q_PROPERTY(QString CapFinishBtn READ CapFinishBtn WRITE SetCapFinishBtn)
    Q_PROPERTY(TWizardPageKv *FirstPage READ FirstPage WRITE SetFirstPage)
    Q_PROPERTY(TWizardButtons Buttons READ Buttons WRITE SetButtons)
    Q_PROPERTY(bool NextButtonByDefault READ NextButtonByDefault WRITE SetNextButtonByDefault)
    Q_PROPERTY(int PanelListDim READ PanelListDim WRITE SetPanelListDim)
    Q_PROPERTY(QPixmap Picture READ PictureBitmap WRITE SetPicture)
    Q_PROPERTY(TPictureAlign PictureAlign READ PictureAlign WRITE SetPictureAlign)
    Q_PROPERTY(bool ViewSteps READ ViewSteps WRITE SetViewSteps)
    Q_PROPERTY(bool ViewStepsChecked READ ViewStepsChecked WRITE SetViewStepsChecked)
    friend class TWizardPageKv;

public:
    // AReadFromForm true (the usual case): the wizard is loading until
    // Loaded() is called.  False: a wizard made at run time, never loading;
    // InsertPage switches at once and OnChanging/OnChange never fire unless
    // Loaded() is called.
    explicit TWizardKv(QWidget *AnOwner = nullptr, bool AReadFromForm = true);
    ~TWizardKv() override;

    // End of loading: finishes the frame (steps list, picture), sets the
    // Finish caption and switches to FirstPage.  Later calls do nothing.
    void Loaded();
    bool IsLoading() const { return FLoading; }
    bool IsLoaded() const { return FLoaded; }

    // Page list
    TWizardPageKv *Pages(int AIndex) const;
    int PageCount() const { return FNav.Count(); }
    virtual void InsertPage(TWizardPageKv *APage);
    virtual void RemovePage(TWizardPageKv *APage);
    virtual void MovePage(int ACurIndex, int ANewIndex);
    TWizardPageKv *FindNextPage(TWizardPageKv *APage, bool AGoForward, bool ACheckInclude) const;
    void SelectNextPage(bool AGoForward);
    void CheckDone();
    bool ItsOnFirstPage() const { return FFirstPage == ActivePage(); }
    void GetChildren(const std::function<void(QWidget *)> &AProc) const;
    // Brings the page that holds AControl (or AControl itself, when it is a
    // page of this wizard) to the front.  Giving the focus to a control on
    // a hidden page does the same.
    void ShowControl(QWidget *AControl);

    // Navigation properties
    TWizardPageKv *ActivePage() const { return Page(FNav.Active()); }
    void SetActivePage(TWizardPageKv *AValue);
    TWizardPageKv *FirstPage() const { return FFirstPage; }
    void SetFirstPage(TWizardPageKv *AValue);
    bool AllowProcessDefault() const { return FNav.AllowProcessDefault; }
    void SetAllowProcessDefault(bool AValue);
    QString CapFinishBtn() const { return FNav.CapFinishBtn; }
    void SetCapFinishBtn(const QString &AValue) { FNav.CapFinishBtn = AValue; }
    TWizardButtons Buttons() const { return FButtons; }
    void SetButtons(TWizardButtons AValue);
    bool NextButtonByDefault() const { return FNextButtonByDefault; }
    void SetNextButtonByDefault(bool AValue);
    bool Finished() const { return FNav.Finished(); }

    // Frame properties
    TAlignKv Align() const { return FAlign; }
    void SetAlign(TAlignKv AValue);
    int PanelListDim() const { return FPanelListDim; }
    void SetPanelListDim(int AValue);
    // Adjusts the image to its bitmap first (see the frame's description).
    TPictureKv *Picture();
    QPixmap PictureBitmap() const { return ImageLogo->Picture()->Bitmap(); }
    void SetPicture(const QPixmap &AValue);
    TPictureAlign PictureAlign() const { return FPictureAlign; }
    void SetPictureAlign(TPictureAlign AValue);
    bool ViewSteps() const { return FViewSteps; }
    void SetViewSteps(bool AValue);
    bool ViewStepsChecked() const { return FViewStepsChecked; }
    void SetViewStepsChecked(bool AValue);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    // Glyph of the help button (16 x 16).  Each wizard asks the provider for
    // it once, while it is constructed; the image catalogue registers its
    // provider when the program starts.  Without a provider the button has
    // no glyph.
    void SetHelpGlyph(const QPixmap &AGlyph);
    static void SetHelpGlyphProvider(THelpGlyphProvider AProvider);
    static THelpGlyphProvider HelpGlyphProvider();

    // Properties of controls.  The wizard reads these from its own controls
    // and from the host's; they are kept as dynamic properties of the
    // widget, so any control can carry them.
    //   Tag          children of the button bar: the gap left of the control
    //                before the next one; 4 puts it at the bar's left end.
    //   Windowless   children of the button bar: laid out first, in the
    //                order added, before the other children.  By default
    //                labels and tool buttons are, other controls are not.
    //   HelpContext  help context number; the help button takes the first
    //                non-zero one from the active page up its parents.
    //   ModalResult  of CancelButton: mrCancel makes Cancel also reject a
    //                QDialog host.
    static constexpr const char *TagProperty = WizardBar::TagProperty;
    static constexpr const char *WindowlessProperty = WizardBar::WindowlessProperty;
    static constexpr const char *HelpContextProperty = "HelpContext";
    static constexpr const char *ModalResultProperty = "ModalResult";
    static constexpr int mrNone = 0;
    static constexpr int mrCancel = 2;
    static void SetTag(QWidget *AControl, int ATag);
    static int Tag(const QWidget *AControl);
    static void SetWindowless(QWidget *AControl, bool AValue);
    static bool Windowless(const QWidget *AControl);
    static void SetHelpContext(QWidget *AControl, int AContext);
    static int HelpContext(const QWidget *AControl);
    static void SetModalResult(QWidget *AControl, int AResult);
    static int ModalResult(const QWidget *AControl);

    // The user-interface font: "MS Sans Serif" when installed, else
    // Liberation Sans, else DejaVu Sans, 11 pixels high.
    static QFont DefaultFont();

    // Button clicks.  Called directly they throw what a handler throws.
    void NextButtonClick();
    void BackButtonClick();
    void FinishButtonClick();
    void CancelButtonClick();
    void HelpButtonClick();
    void StepsCheckClick();

    // Runs AAction; an exception escaping it goes to OnException (or, when
    // no handler is bound, to a warning).  Never throws.
    void HandleClick(QObject *ASender, const std::function<void()> &AAction);
    void HandleException(QObject *ASender, std::exception_ptr AError);

    // Events
    TNotifyEvent OnChanging;
    TNotifyEvent OnChange;
    TNotifyEvent OnFinishClick;
    TNotifyEvent OnCancelClick;
    THelpEvent OnHelp;
    TOnAfterSetPictureAlign AfterSetPictureAlign;
    TExceptionEvent OnException;

    // Public widgets
    QPushButton *FinishButton = nullptr;
    QToolButton *HelpButton = nullptr;
    QPushButton *BackButton = nullptr;
    QPushButton *NextButton = nullptr;
    QPushButton *CancelButton = nullptr;
    QLabel *TopTitle = nullptr;
    QLabel *TopText = nullptr;
    TImageKv *ImageLogo = nullptr;

signals:
    // Beside OnChanging / OnChange: the start and the end of a switch, only
    // once loaded; pageChanged is not emitted for a switch to none.
    void pageChanging();
    void pageChanged(TWizardPageKv *APage);
    // Beside OnFinishClick / OnCancelClick: emitted where these are called,
    // whether assigned or not, before the host form is closed.
    void finishClicked();
    void cancelClicked();
    // Beside OnHelp: the help button found the help context AContext.
    void helpRequested(int AContext);

protected:
    // Start and end of a switch; fire OnChanging / OnChange when loaded.
    virtual void DoChanging();
    virtual void DoChange();
    void ResetFinished();

    void paintEvent(QPaintEvent *) override;
    void resizeEvent(QResizeEvent *) override;
    void changeEvent(QEvent *) override;
    void keyPressEvent(QKeyEvent *) override;
    bool eventFilter(QObject *AWatched, QEvent *AEvent) override;

private:
    static TWizardPageKv *Page(TNavigatorPage *APage) { return static_cast<TWizardPageKv *>(APage); }
    bool WizardEnabled() const;
    bool ActiveDone() const;
    void ApplyButtons(const TNavigatorButtons &AButtons);
    void RefreshButtons();
    void EndClick(const TNotifyEvent &AEvent, void (TWizardKv::*ASignal)());
    void EnabledChanged();
    void CloseHostForm();
    void Realign();
    bool FillsParent() const;
    void SetPanelTopHeightForPicture(int AHeight);
    void SetLogoLeftInHeader(int AWidth);
    void PlacePicture(TPictureAlign AAlign);
    void ShowTopLabel(QLabel *ALabel, const QString &AText);
    void WatchParent();
    void FocusChanged(QWidget *AOld, QWidget *ANow);
    TWizardPageKv *PageHolding(QWidget *AControl) const;
    QSize FrameSizeFor(bool AMinimum) const;

    TPanelKv *PanelRight = nullptr;
    TWizardStepsListKv *PanelList = nullptr;
    TPanelKv *Panelaux = nullptr;
    TPanelKv *PanelTop = nullptr;
    QWidget *Bevel = nullptr;
    TWizardButtonBarKv *PanelHorz = nullptr;
    QCheckBox *ChkListaPasos = nullptr;
    QPointer<QWidget> FWatchedParent;

    TWizardNavigator FNav;
    QPointer<TWizardPageKv> FFirstPage;
    TWizardButtons FButtons = 0;
    bool FNextButtonByDefault = false;
    bool FLoaded = false;
    bool FLoading = true;
    bool FDestroying = false;
    bool FSwitching = false;

    TAlignKv FAlign = TAlignKv::alClient;
    TPictureAlign FPictureAlign = alPLeft;
    int FPanelListDim = 130;
    bool FViewSteps = false;
    bool FViewStepsChecked = false;

    int FAlignSuspended = 0;
    bool FRealigning = false;
    int FLogoRightOffset = -1;   // header width - logo left, kept on resizes
};

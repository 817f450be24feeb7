#pragma once
// Multi-page wizard control: an ordered list of pages, one of them visible,
// a header with the page's title and text, a picture at the left or in the
// header, an optional steps list and a Back/Next/Finish/Cancel/Help bar that
// lays out its own children from right to left.
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
// The wizard fills its parent (keep it out of layouts).  Pages take the
// area right of the picture strip and the steps list, below the header.
//
// Pictures: SetPicture(pixmap) before Loaded (drawn transparent: the colour
// of the bottom-left pixel is left out); on a page change
//   wiz->Picture()->Assign(pixmap); wiz->SetPictureAlign(alPTop or alPLeft);
//
// A host control in the button bar: create it with CancelButton's parent and
// give it a Tag; Tag 4 puts it at the bar's left end:
//   auto *link = new QLabel(text, wiz->CancelButton->parentWidget());
//   TWizardPanelKv::SetTag(link, 4);     // or link->setProperty("Tag", 4)
// (created after the form is shown it also needs link->show()).
//
// Handlers are std::function members.  A handler may throw (an Exception
// carrying the user-facing text): the exception leaves the click handling
// where it was thrown.  Clicks of the bar's buttons, the Enter key, focus
// notifications of pages and enabled changes arrive from Qt's event loop,
// which no exception may cross, so they run through HandleClick(): the
// escaping exception goes to OnException, where the host shows it (without
// a handler the wizard shows a plain error box).  A host calling
// NextButtonClick() and the like directly gets the exception itself.

#include <QFont>
#include <QList>
#include <QPixmap>
#include <QPointer>
#include <QRect>
#include <QVector>
#include <QWidget>

#include <exception>
#include <functional>

class QCheckBox;
class QLabel;
class QPainter;
class QPushButton;
class QShortcut;
class QToolButton;
class TWizardKv;
class TWizardPageKv;

using TNotifyEvent = std::function<void(QObject *Sender)>;
using TWizardQueryEvent = std::function<void(QObject *Sender, bool &Done)>;
using THelpEvent = std::function<bool(quint16 Command, qintptr Data, bool &CallHelp)>;
using TOnAfterSetPictureAlign = std::function<void(QWidget *Image)>;
// Receives an exception that escaped a handler called from a click (or from
// another notification that comes from Qt's event loop).
using TExceptionEvent = std::function<void(QObject *Sender, std::exception_ptr AError)>;

// Set of optional buttons, one byte: bit 0 wbHelp, bit 1 wbCancel.
enum TWizardButtonKv : quint8 { wbHelp = 0x01, wbCancel = 0x02 };
using TWizardButtons = quint8;

enum TPictureAlign : quint8 { alPTop, alPLeft };

// How a frame child follows its parent's size.
enum class TAlignKv { alNone, alLeft, alClient };

// The picture held by the image widget.  Changing it repaints the image.
class TPictureKv
{
public:
    explicit TPictureKv(QWidget *AImage) : FImage(AImage) {}
    const QPixmap &Bitmap() const { return FBitmap; }
    bool Empty() const { return FBitmap.isNull(); }
    // Sizes in device-independent pixels: a bitmap drawn for a high-density
    // screen takes the room of its size at a scale factor of 1.
    int Width() const { return qRound(FBitmap.deviceIndependentSize().width()); }
    int Height() const { return qRound(FBitmap.deviceIndependentSize().height()); }
    void Assign(const QPixmap &ABitmap);
    bool LoadFromFile(const QString &AFileName);

private:
    QWidget *FImage;
    QPixmap FBitmap;
};

// Image widget: draws its picture at its top-left corner; when Transparent
// the colour of the bitmap's bottom-left pixel is not drawn.
class TImageKv : public QWidget
{
    Q_OBJECT
public:
    explicit TImageKv(QWidget *AParent);
    TPictureKv *Picture() { return &FPicture; }
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool AValue);
    TAlignKv Align = TAlignKv::alLeft;

protected:
    void paintEvent(QPaintEvent *) override;

private:
    // Prepares the picture as drawn, kept until the picture or the
    // transparency changes: with its see-through colour cleared, or, when
    // that colour covers only a few runs of pixels, the picture itself drawn
    // inside FDrawnClip (which saves a copy of a large picture).
    void PrepareDrawn();

    TPictureKv FPicture;
    bool FTransparent = false;
    QPixmap FDrawn;
    QRegion FDrawnClip;
    bool FDrawnClipped = false;
    qint64 FDrawnKey = 0;
    bool FDrawnTransparent = false;
};

// Plain panel: a filled rectangle with an optional centred caption.
class TPanelKv : public QWidget
{
    Q_OBJECT
public:
    TPanelKv(QWidget *AParent, const QColor &AColor, const QString &ACaption = QString());
    QString Caption;

protected:
    void paintEvent(QPaintEvent *) override;
};

// One child of the button bar as the bar's layout sees it.
struct TBarItem
{
    int Width = 0;
    int Tag = 0;
    bool Visible = true;
    QRect Bounds;   // in: current bounds; out: bounds after the layout
};

// Button bar (horizontal) or steps list (not horizontal).
class TWizardPanelKv : public QWidget
{
    Q_OBJECT
public:
    TWizardPanelKv(TWizardKv *AWizard, bool AHorizontal, QWidget *AParent);

    bool horizontal;

    // Right-to-left layout of the bar's children inside AClient.  Items are
    // in the bar's child order (windowless children first).  Only items
    // that are placed get new Bounds.
    static void LayoutBar(const QRect &AClient, bool AAllowProcessDefault,
                          QVector<TBarItem> &AItems);
    // The bar's children in layout order: windowless ones (labels, speed
    // buttons) first, then the windowed ones, each group in the order the
    // children were added.
    QList<QWidget *> BarChildren() const;
    void AlignControls();

    // Tag of a control: for bar children the gap left of it; 4 puts it at
    // the bar's left end.
    static void SetTag(QWidget *AControl, int ATag);
    static int Tag(const QWidget *AControl);
    // Controls that would have no window of their own on the original
    // toolkit: labels and speed (tool) buttons, or any widget whose
    // "Windowless" property is true.
    static bool IsWindowless(const QWidget *AControl);

    // Steps list texts and rows.
    static QString StepCaption(int AIndex, int ACount);
    static int StepTop(int AIndex, int AFontHeight);

protected:
    void paintEvent(QPaintEvent *) override;
    void resizeEvent(QResizeEvent *) override;
    void showEvent(QShowEvent *) override;
    void childEvent(QChildEvent *) override;
    bool eventFilter(QObject *AWatched, QEvent *AEvent) override;

private:
    void PaintSteps(QPainter &APainter);
    TWizardKv *FWizard;
    QList<QObject *> FAdded;   // children in the order they were added
    bool FAligning = false;
};

class TWizardPageKv : public QWidget
{
    Q_OBJECT
    friend class TWizardKv;
public:
    // With a wizard the page attaches itself to it (WizardControl := it).
    explicit TWizardPageKv(TWizardKv *AWizardControl = nullptr);
    ~TWizardPageKv() override;

    bool Include() const { return FInclude; }
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

    TWizardQueryEvent OnDoneQuery;
    TWizardQueryEvent OnNextClick;
    TWizardQueryEvent OnBackClick;
    // Focus moves into / out of the page (pages of a wizard only).
    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;

protected:
    void showEvent(QShowEvent *) override;

private:
    bool FInclude = true;
    bool FLoaded = false;
    TWizardKv *FWizardControl = nullptr;
    QString FTopTitle;
    QString FTopText;
};

class TWizardKv : public QWidget
{
    Q_OBJECT
    friend class TWizardPageKv;
    friend class TWizardPanelKv;
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
    int PageCount() const { return FPages.size(); }
    virtual void InsertPage(TWizardPageKv *APage);
    virtual void RemovePage(TWizardPageKv *APage);
    virtual void MovePage(int ACurIndex, int ANewIndex);
    TWizardPageKv *FindNextPage(TWizardPageKv *APage, bool AGoForward, bool ACheckInclude) const;
    void SelectNextPage(bool AGoForward);
    void CheckDone();
    bool ItsOnFirstPage() const { return FFirstPage == FActivePage; }
    void GetChildren(const std::function<void(QWidget *)> &AProc) const;
    // Brings the page that holds AControl (or AControl itself, when it is a
    // page of this wizard) to the front.
    void ShowControl(QWidget *AControl);

    // Navigation properties
    TWizardPageKv *ActivePage() const { return FActivePage; }
    void SetActivePage(TWizardPageKv *AValue);
    TWizardPageKv *FirstPage() const { return FFirstPage; }
    void SetFirstPage(TWizardPageKv *AValue);
    bool AllowProcessDefault() const { return FAllowProcessDefault; }
    void SetAllowProcessDefault(bool AValue);
    QString CapFinishBtn() const { return FCapFinishBtn; }
    void SetCapFinishBtn(const QString &AValue) { FCapFinishBtn = AValue; }
    TWizardButtons Buttons() const { return FButtons; }
    void SetButtons(TWizardButtons AValue);
    bool NextButtonByDefault() const { return FNextButtonByDefault; }
    void SetNextButtonByDefault(bool AValue);
    bool Finished() const { return FFinished; }

    // Frame properties
    int PanelListDim() const { return FPanelListDim; }
    void SetPanelListDim(int AValue);
    TPictureKv *Picture();
    void SetPicture(const QPixmap &AValue);
    TPictureAlign PictureAlign() const { return FPictureAlign; }
    void SetPictureAlign(TPictureAlign AValue);
    bool ViewSteps() const { return FViewSteps; }
    void SetViewSteps(bool AValue);
    bool ViewStepsChecked() const { return FViewStepsChecked; }
    void SetViewStepsChecked(bool AValue);

    // Glyph of the help button (16 x 16); empty until the host sets it.
    void SetHelpGlyph(const QPixmap &AGlyph);

    // Help context number of a control, looked up by the help button.
    static void SetHelpContext(QWidget *AControl, int AContext);
    static int HelpContext(const QWidget *AControl);

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
    // no handler is bound, to an error box).  Never throws.
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

protected:
    // Start and end of a switch; fire OnChanging / OnChange when loaded.
    virtual void DoChanging();
    virtual void DoChange();
    void ResetFinished();

    void paintEvent(QPaintEvent *) override;
    void resizeEvent(QResizeEvent *) override;
    void changeEvent(QEvent *) override;
    bool eventFilter(QObject *AWatched, QEvent *AEvent) override;

private:
    bool WizardEnabled() const;
    void CloseHostForm();
    void Realign();
    void SetPanelTopHeightForPicture(int AHeight);
    void SetLogoLeftInHeader(int AWidth);
    void ShowTopLabel(QLabel *ALabel, const QString &AText);
    void WatchParent();
    void FocusChanged(QWidget *AOld, QWidget *ANow);
    void FitStepsCheck();
    void ReturnPressed();

    TPanelKv *PanelRight = nullptr;
    TWizardPanelKv *PanelList = nullptr;
    TPanelKv *Panelaux = nullptr;
    TPanelKv *PanelTop = nullptr;
    QWidget *Bevel = nullptr;
    TWizardPanelKv *PanelHorz = nullptr;
    QCheckBox *ChkListaPasos = nullptr;
    QShortcut *FReturnKey = nullptr;
    QShortcut *FEnterKey = nullptr;
    QPointer<QWidget> FWatchedParent;

    QList<TWizardPageKv *> FPages;
    TWizardPageKv *FActivePage = nullptr;
    QPointer<TWizardPageKv> FFirstPage;
    bool FFinished = false;
    TWizardButtons FButtons = 0;
    QString FCapFinishBtn;
    bool FAllowProcessDefault = true;
    bool FNextButtonByDefault = false;
    bool FLoaded = false;
    bool FLoading = true;
    bool FDestroying = false;

    TPictureAlign FPictureAlign = alPLeft;
    int FPanelListDim = 130;
    bool FViewSteps = false;
    bool FViewStepsChecked = false;

    int FAlignSuspended = 0;
    bool FRealigning = false;
    int FLogoRightOffset = -1;   // header width - logo left, kept on resizes
};

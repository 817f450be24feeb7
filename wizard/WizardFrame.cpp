// TWizardKv: the frame around the pages.  Construction, the end of loading,
// the alignment of the strips, the header and the pages, the picture, the
// steps list and the size hints.

#include "UCWWizard.h"

#include "UserInterfaceFont.h"
#include "WizardTexts.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QLayout>
#include <QPainter>
#include <QToolButton>

#include <algorithm>

namespace {

// A label sizes itself to its text as drawn (plain text, "&" included),
// one line high even when empty.
void AutoSizeLabel(QLabel *ALabel)
{
    const QFontMetrics fm(ALabel->font());
    const QString text = ALabel->text();
    const int w = text.isEmpty() ? 0 : fm.horizontalAdvance(text) + 2;
    ALabel->resize(w, fm.height());
}

// Reparenting hides a widget in Qt; a control keeps its visibility here.
void Reparent(QWidget *AControl, QWidget *ANewParent)
{
    if (AControl->parentWidget() == ANewParent)
        return;
    const bool visible = !AControl->isHidden();
    AControl->setParent(ANewParent);
    AControl->setVisible(visible);
}

// True when ALayout or one of its nested layouts holds AWidget.
bool LayoutHolds(const QLayout *ALayout, const QWidget *AWidget)
{
    for (int i = 0; i < ALayout->count(); ++i) {
        QLayoutItem *item = ALayout->itemAt(i);
        if (item->widget() == AWidget || (item->layout() && LayoutHolds(item->layout(), AWidget)))
            return true;
    }
    return false;
}

} // namespace

TWizardKv::TWizardKv(QWidget *AnOwner, bool AReadFromForm)
    : QWidget(AnOwner), FLoading(AReadFromForm)
{
    ++FAlignSuspended;   // the frame is aligned once it is complete
    FNav.CapFinishBtn = WizardTexts::Finish();

    PanelRight = new TPanelKv(this, Qt::white);
    PanelRight->setObjectName(QStringLiteral("PanelRight"));
    PanelRight->resize(0, 0);

    ImageLogo = new TImageKv(PanelRight);
    ImageLogo->setObjectName(QStringLiteral("ImageLogo"));
    ImageLogo->Align = TAlignKv::alLeft;
    ImageLogo->resize(0, 0);
    ImageLogo->hide();

    PanelList = new TWizardStepsListKv(&FNav, this);
    PanelList->setObjectName(QStringLiteral("PanelList"));
    PanelList->resize(0, 0);
    PanelList->hide();

    Panelaux = new TPanelKv(this, QColor(), WizardTexts::PageArea());
    Panelaux->setObjectName(QStringLiteral("Panelaux"));

    PanelTop = new TPanelKv(Panelaux, Qt::white);
    PanelTop->setObjectName(QStringLiteral("PanelTop"));
    PanelTop->resize(0, 0);

    Bevel = new QWidget(PanelTop);
    Bevel->setObjectName(QStringLiteral("Bevel"));
    Bevel->setAutoFillBackground(true);
    {
        // A raised bevel one pixel high shows as its shadow line.
        QPalette pal = Bevel->palette();
        pal.setColor(QPalette::Window, pal.color(QPalette::Dark));
        Bevel->setPalette(pal);
    }

    TopTitle = new QLabel(PanelTop);
    TopTitle->setObjectName(QStringLiteral("TopTitle"));
    TopTitle->setTextFormat(Qt::PlainText);
    {
        QFont bold;
        bold.setBold(true);
        TopTitle->setFont(bold);
    }
    TopTitle->move(20, 13);
    AutoSizeLabel(TopTitle);

    TopText = new QLabel(PanelTop);
    TopText->setObjectName(QStringLiteral("TopText"));
    TopText->setTextFormat(Qt::PlainText);
    TopText->move(45, 30);
    AutoSizeLabel(TopText);

    PanelHorz = new TWizardButtonBarKv(&FNav, this);
    PanelHorz->setObjectName(QStringLiteral("PanelHorz"));

    auto makeButton = [this](const char *AName, const QString &ACaption, int ATag,
                             void (TWizardKv::*AClick)()) {
        auto *b = new TBarButtonKv(ACaption, PanelHorz);
        b->setObjectName(QString::fromLatin1(AName));
        b->resize(75, 25);
        SetTag(b, ATag);
        connect(b, &QPushButton::clicked, this,
                [this, b, AClick] { HandleClick(b, [this, AClick] { (this->*AClick)(); }); });
        return b;
    };
    FinishButton = makeButton("FinishButton", FNav.CapFinishBtn, 8, &TWizardKv::FinishButtonClick);
    FinishButton->setEnabled(false);
    NextButton = makeButton("NextButton", WizardTexts::Next(), 0, &TWizardKv::NextButtonClick);
    BackButton = makeButton("BackButton", WizardTexts::Back(), 8, &TWizardKv::BackButtonClick);
    CancelButton = makeButton("CancelButton", WizardTexts::Cancel(), 8, &TWizardKv::CancelButtonClick);
    connect(CancelButton, &QPushButton::clicked, this, [this] {
        // A Cancel button with a modal result of cancel also ends a modal
        // dialog, as on the original toolkit.
        if (ModalResult(CancelButton) == mrCancel)
            if (auto *dialog = qobject_cast<QDialog *>(window()))
                dialog->reject();
    });

    HelpButton = new QToolButton(PanelHorz);
    HelpButton->setObjectName(QStringLiteral("HelpButton"));
    HelpButton->setAutoRaise(true);
    HelpButton->setIconSize(QSize(16, 16));
    HelpButton->resize(23, 25);
    SetTag(HelpButton, 4);
    HelpButton->setToolTip(WizardTexts::HelpHint());
    HelpButton->hide();
    connect(HelpButton, &QToolButton::clicked, this,
            [this] { HandleClick(HelpButton, [this] { HelpButtonClick(); }); });
    // Asked once per wizard; what the provider throws leaves the constructor.
    if (const THelpGlyphProvider provider = HelpGlyphProvider())
        SetHelpGlyph(provider());

    FViewSteps = false;
    ChkListaPasos = new QCheckBox(WizardTexts::Steps(), PanelHorz);
    ChkListaPasos->setObjectName(QStringLiteral("ChkListaPasos"));
    ChkListaPasos->resize(50, 17);
    SetTag(ChkListaPasos, 1);
    ChkListaPasos->hide();
    ChkListaPasos->setChecked(false);
    connect(ChkListaPasos, &QCheckBox::toggled, this,
            [this] { HandleClick(ChkListaPasos, [this] { StepsCheckClick(); }); });

    PanelHorz->resize(PanelHorz->width(), 48);
    QWidget::setTabOrder(BackButton, NextButton);
    QWidget::setTabOrder(NextButton, FinishButton);
    QWidget::setTabOrder(FinishButton, CancelButton);
    QWidget::setTabOrder(CancelButton, ChkListaPasos);

    SetButtons(wbCancel);

    FPictureAlign = alPLeft;
    FPanelListDim = 130;
    FLoaded = false;
    FNav.AllowProcessDefault = true;
    FNextButtonByDefault = false;

    // Pages learn of focus moving in or out from here: all exits first,
    // then the enters.
    if (qApp)
        connect(qApp, &QApplication::focusChanged, this, &TWizardKv::FocusChanged);

    WatchParent();
    --FAlignSuspended;
    Realign();
}

TWizardKv::~TWizardKv()
{
    // Pages are destroyed with the page area; they must not call back.
    FDestroying = true;
    if (qApp)
        disconnect(qApp, &QApplication::focusChanged, this, &TWizardKv::FocusChanged);
    for (TNavigatorPage *page : FNav.Pages())
        Page(page)->FWizardControl = nullptr;
    while (FNav.Count() > 0)
        FNav.Remove(FNav.At(0));
}

void TWizardKv::Loaded()
{
    if (!FLoading && FLoaded)
        return;
    FLoading = false;
    FLoaded = true;
    AutoSizeLabel(TopTitle);
    AutoSizeLabel(TopText);
    Realign();

    // Steps list: undo the left shift made while the stored value was set.
    if (FViewStepsChecked) {
        QWidget *form = window();
        form->move(form->x() + PanelList->width(), form->y());
    }

    // Picture.
    if (!ImageLogo->Picture()->Empty()) {
        const int w = ImageLogo->Picture()->Width();
        const int h = ImageLogo->Picture()->Height();
        if (FPictureAlign == alPLeft) {
            PlacePicture(alPLeft);
        } else {
            ImageLogo->Align = TAlignKv::alNone;
            SetPanelTopHeightForPicture(h);
            Reparent(ImageLogo, PanelTop);
            ImageLogo->resize(w, h);
            SetLogoLeftInHeader(w);
            ImageLogo->move(ImageLogo->x(), (PanelTop->height() - ImageLogo->height()) / 2);
        }
        ImageLogo->show();
    }

    FinishButton->setText(FNav.CapFinishBtn);
    updateGeometry();
    if (FFirstPage)
        SetActivePage(FFirstPage);
}

QFont TWizardKv::DefaultFont()
{
    return UserInterfaceFont();
}

// ---------------------------------------------------------------------------
// Alignment

void TWizardKv::WatchParent()
{
    if (FWatchedParent == parentWidget())
        return;
    if (FWatchedParent)
        FWatchedParent->removeEventFilter(this);
    FWatchedParent = parentWidget();
    if (FWatchedParent)
        FWatchedParent->installEventFilter(this);
}

bool TWizardKv::eventFilter(QObject *AWatched, QEvent *AEvent)
{
    if (AWatched == FWatchedParent && AEvent->type() == QEvent::Resize)
        Realign();
    return QWidget::eventFilter(AWatched, AEvent);
}

void TWizardKv::SetAlign(TAlignKv AValue)
{
    if (AValue == FAlign)
        return;
    FAlign = AValue;
    Realign();
}

bool TWizardKv::FillsParent() const
{
    const QWidget *parent = parentWidget();
    if (FAlign != TAlignKv::alClient || !parent || isWindow())
        return false;
    // In a layout of its parent the layout places the wizard.
    return !(parent->layout() && LayoutHolds(parent->layout(), this));
}

// The wizard fills its parent; from the left stand the picture strip, the
// steps list and the page area, above the button bar.
void TWizardKv::Realign()
{
    if (FDestroying || FRealigning || FAlignSuspended > 0)
        return;
    FRealigning = true;
    if (FillsParent() && geometry() != parentWidget()->rect())
        setGeometry(parentWidget()->rect());

    const int w = width();
    const int h = height();
    int bottom = h;
    if (!PanelHorz->isHidden()) {
        const int bh = PanelHorz->height();
        PanelHorz->setGeometry(0, h - bh, w, bh);
        bottom = std::max(0, h - bh);
    }
    int x = 0;
    for (QWidget *strip : {static_cast<QWidget *>(PanelRight), static_cast<QWidget *>(PanelList)}) {
        if (strip->isHidden())
            continue;
        strip->setGeometry(x, 0, strip->width(), bottom);
        x += strip->width();
    }
    Panelaux->setGeometry(x, 0, std::max(0, w - x), bottom);

    int top = 0;
    if (!PanelTop->isHidden()) {
        PanelTop->setGeometry(0, 0, Panelaux->width(), PanelTop->height());
        top = PanelTop->height();
    }
    Bevel->setGeometry(0, PanelTop->height() - 1, PanelTop->width(), 1);
    for (QObject *o : Panelaux->children())
        if (auto *page = qobject_cast<TWizardPageKv *>(o))
            page->setGeometry(0, top, Panelaux->width(), std::max(0, Panelaux->height() - top));

    // Hidden controls take no part in the alignment.
    if (ImageLogo->isHidden()) {
    } else if (ImageLogo->parentWidget() == PanelRight) {
        if (ImageLogo->Align == TAlignKv::alLeft)
            ImageLogo->setGeometry(0, 0, ImageLogo->width(), PanelRight->height());
        else if (ImageLogo->Align == TAlignKv::alClient)
            ImageLogo->setGeometry(PanelRight->rect());
    } else if (ImageLogo->parentWidget() == PanelTop && ImageLogo->Align == TAlignKv::alNone
               && FLogoRightOffset >= 0) {
        // The header icon keeps its distance from the header's right end.
        ImageLogo->move(PanelTop->width() - FLogoRightOffset, ImageLogo->y());
    }
    FRealigning = false;
    PanelHorz->AlignControls();
}

void TWizardKv::resizeEvent(QResizeEvent *AEvent)
{
    QWidget::resizeEvent(AEvent);
    Realign();
}

void TWizardKv::paintEvent(QPaintEvent *)
{
    if (FPictureAlign == alPTop) {
        QPainter p(this);
        p.fillRect(QRect(0, 0, PanelTop->width(), PanelTop->height()), Qt::white);
    }
}

void TWizardKv::changeEvent(QEvent *AEvent)
{
    QWidget::changeEvent(AEvent);
    switch (AEvent->type()) {
    case QEvent::ParentChange:
        WatchParent();
        Realign();
        break;
    case QEvent::FontChange:
    case QEvent::StyleChange:
        AutoSizeLabel(TopTitle);
        AutoSizeLabel(TopText);
        break;
    case QEvent::EnabledChange:
        HandleClick(this, [this] { EnabledChanged(); });
        break;
    default:
        break;
    }
}

QSize TWizardKv::FrameSizeFor(bool AMinimum) const
{
    QSize pages(0, 0);
    for (TNavigatorPage *listed : FNav.Pages()) {
        const TWizardPageKv *page = Page(listed);
        pages = pages.expandedTo(AMinimum ? page->minimumSizeHint() : page->sizeHint());
    }
    int strips = PanelRight->width();
    if (!PanelList->isHidden())
        strips += PanelList->width();
    return QSize(std::max(strips + pages.width(), PanelHorz->WidthHint()),
                 PanelTop->height() + pages.height() + PanelHorz->height());
}

QSize TWizardKv::sizeHint() const
{
    return FrameSizeFor(false);
}

QSize TWizardKv::minimumSizeHint() const
{
    return FrameSizeFor(true);
}

// ---------------------------------------------------------------------------
// Header and picture

void TWizardKv::ShowTopLabel(QLabel *ALabel, const QString &AText)
{
    // An empty text keeps what the previous page put there.
    if (AText.isEmpty())
        return;
    ALabel->setText(AText);
    AutoSizeLabel(ALabel);
}

TPictureKv *TWizardKv::Picture()
{
    if (ImageLogo->Picture()->Empty()) {
        if (FPictureAlign == alPLeft)
            ImageLogo->resize(0, ImageLogo->height());
        else
            ImageLogo->resize(ImageLogo->width(), 0);
        ImageLogo->hide();
    } else {
        ImageLogo->Align = FPictureAlign == alPLeft ? TAlignKv::alClient : TAlignKv::alNone;
    }
    Realign();
    return ImageLogo->Picture();
}

void TWizardKv::SetPicture(const QPixmap &AValue)
{
    ImageLogo->Picture()->Assign(AValue);
    ImageLogo->SetTransparent(true);
    updateGeometry();
}

void TWizardKv::SetPanelTopHeightForPicture(int AHeight)
{
    AutoSizeLabel(TopText);
    const int height = std::max(AHeight + 10, TopText->y() + TopText->height() + 5);
    PanelTop->resize(PanelTop->width(), height);
    Realign();
}

void TWizardKv::SetLogoLeftInHeader(int AWidth)
{
    const int left = PanelTop->width() - AWidth - 5;
    ImageLogo->move(left, ImageLogo->y());
    FLogoRightOffset = PanelTop->width() - left;
}

// The picture as a full-height strip at the left (no header), or as an
// icon at the header's right end.
void TWizardKv::PlacePicture(TPictureAlign AAlign)
{
    const int w = ImageLogo->Picture()->Width();
    const int h = ImageLogo->Picture()->Height();
    if (AAlign == alPLeft) {
        ImageLogo->resize(w, ImageLogo->height());
        PanelRight->resize(w, PanelRight->height());
        PanelTop->resize(PanelTop->width(), 0);
        Reparent(ImageLogo, PanelRight);
        ImageLogo->Align = TAlignKv::alLeft;
        FLogoRightOffset = -1;
        Realign();
    } else {
        SetPanelTopHeightForPicture(h);
        PanelRight->resize(0, PanelRight->height());
        Realign();
        Reparent(ImageLogo, PanelTop);
        ImageLogo->Align = TAlignKv::alNone;
        // The image was filling the side strip, which is now 0 wide: it
        // takes the picture's width so that the icon is seen.
        ImageLogo->resize(w, h);
        ImageLogo->move(ImageLogo->x(), (PanelTop->height() - ImageLogo->height()) / 2);
        SetLogoLeftInHeader(w);
    }
}

void TWizardKv::SetPictureAlign(TPictureAlign AValue)
{
    if (AValue == FPictureAlign)
        return;
    FPictureAlign = AValue;
    PlacePicture(AValue);
    update();
    updateGeometry();
    PanelList->update();
    if (AfterSetPictureAlign) {
        const TOnAfterSetPictureAlign handler = AfterSetPictureAlign;
        handler(ImageLogo);
    }
}

// ---------------------------------------------------------------------------
// Steps list

void TWizardKv::SetViewSteps(bool AValue)
{
    if (AValue == FViewSteps)
        return;
    if (!AValue) {
        SetViewStepsChecked(false);
        // A list the user opened with the check box closes as well.
        if (ChkListaPasos->isChecked())
            ChkListaPasos->setChecked(false);
    }
    FViewSteps = AValue;
    ChkListaPasos->setVisible(AValue);
    PanelHorz->AlignControls();
}

void TWizardKv::SetViewStepsChecked(bool AValue)
{
    if (!FViewSteps) {
        FViewStepsChecked = false;
        return;
    }
    if (AValue == FViewStepsChecked)
        return;
    FViewStepsChecked = AValue;
    ChkListaPasos->setChecked(AValue);
}

void TWizardKv::StepsCheckClick()
{
    QWidget *form = window();
    if (ChkListaPasos->isChecked()) {
        PanelList->resize(FPanelListDim, PanelList->height());
        form->resize(form->width() + FPanelListDim, form->height());
        form->move(form->x() - FPanelListDim, form->y());
        PanelList->show();
        PanelList->update();
    } else {
        PanelList->hide();
        form->move(form->x() + FPanelListDim, form->y());
        form->resize(form->width() - FPanelListDim, form->height());
        PanelList->resize(0, PanelList->height());
    }
    updateGeometry();
    Realign();
}

void TWizardKv::SetPanelListDim(int AValue)
{
    if (AValue == FPanelListDim)
        return;
    FPanelListDim = AValue;
    // Follows the list as shown, which a click on "Pasos" may have changed.
    if (FViewSteps && ChkListaPasos->isChecked()) {
        QWidget *form = window();
        const int d = AValue - PanelList->width();
        form->move(form->x() - d, form->y());
        form->resize(form->width() + d, form->height());
        PanelList->resize(AValue, PanelList->height());
        updateGeometry();
        Realign();
    }
}

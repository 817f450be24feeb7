#include "UCWWizard.h"

#include "UVmRepositoryImages.h"
#include "UserInterfaceFont.h"

#include "Exception.h"

#include <QApplication>
#include <QCheckBox>
#include <QChildEvent>
#include <QDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QShortcut>
#include <QToolButton>

#include <algorithm>

namespace {

const char *const KTagProperty = "Tag";
const char *const KHelpContextProperty = "HelpContext";
const char *const KWindowlessProperty = "Windowless";
const char *const KModalResultProperty = "ModalResult";
const int KModalResultCancel = 2;

const QString KCaptionNext = QStringLiteral(" &Siguiente >");
const QString KCaptionBack = QStringLiteral("< &Atrás");
const QString KCaptionCancel = QStringLiteral("&Cancelar");
const QString KCaptionFinish = QStringLiteral("&Terminar");

// Error of the page list for an index outside 0 .. count - 1.
[[noreturn]] void ListIndexError(int AIndex)
{
    throw Exception(QStringLiteral("Índice de lista fuera de límites (%1)").arg(AIndex));
}

// A label sizes itself to its text, one line high even when empty.
void AutoSizeLabel(QLabel *ALabel)
{
    const QFontMetrics fm(ALabel->font());
    QString text = ALabel->text();
    text.remove(QLatin1Char('&'));
    const int w = text.isEmpty() ? 0 : fm.horizontalAdvance(text) + 2;
    ALabel->resize(w, fm.height());
}

// First control of a page in tab order that is a tab stop; failing that,
// its first control that can take the focus at all.
QWidget *FirstFocusControl(QWidget *APage)
{
    QWidget *anyFocusable = nullptr;
    QWidget *w = APage->nextInFocusChain();
    for (int guard = 0; w && w != APage && guard < 100000; ++guard, w = w->nextInFocusChain()) {
        if (!APage->isAncestorOf(w) || !w->isVisible() || !w->isEnabled())
            continue;
        if ((w->focusPolicy() & Qt::TabFocus) == Qt::TabFocus)
            return w;
        if (!anyFocusable && w->focusPolicy() != Qt::NoFocus)
            anyFocusable = w;
    }
    return anyFocusable;
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

} // namespace

// ---------------------------------------------------------------------------
// TPictureKv, TImageKv, TPanelKv

void TPictureKv::Assign(const QPixmap &ABitmap)
{
    FBitmap = ABitmap;
    if (FImage)
        FImage->update();
}

bool TPictureKv::LoadFromFile(const QString &AFileName)
{
    QPixmap pix;
    const bool ok = pix.load(AFileName);
    Assign(ok ? pix : QPixmap());
    return ok;
}

TImageKv::TImageKv(QWidget *AParent) : QWidget(AParent), FPicture(this)
{
    setAttribute(Qt::WA_TranslucentBackground, false);
}

void TImageKv::SetTransparent(bool AValue)
{
    if (FTransparent != AValue) {
        FTransparent = AValue;
        update();
    }
}

void TImageKv::PrepareDrawn()
{
    const QPixmap pix = FPicture.Bitmap();
    if (pix.cacheKey() == FDrawnKey && FTransparent == FDrawnTransparent)
        return;
    FDrawn = pix;
    FDrawnClip = QRegion();
    FDrawnClipped = false;
    FDrawnKey = pix.cacheKey();
    FDrawnTransparent = FTransparent;
    if (!FTransparent || pix.isNull())
        return;

    // The pixels are read where the pixmap keeps them when it holds 32-bit
    // words; the colour of the bottom-left pixel is the transparent colour.
    QImage img = pix.toImage();
    if (img.format() != QImage::Format_RGB32 && img.format() != QImage::Format_ARGB32
        && img.format() != QImage::Format_ARGB32_Premultiplied)
        img.convertTo(QImage::Format_ARGB32_Premultiplied);
    const QRgb key = reinterpret_cast<const QRgb *>(img.constScanLine(img.height() - 1))[0];

    // A few runs of that colour are left out by clipping, and the picture is
    // drawn as it is: no copy of it is made.
    constexpr int MaxClippedRuns = 32;
    QList<QRect> runs;
    const int width = img.width();
    for (int y = 0; y < img.height() && runs.size() <= MaxClippedRuns; ++y) {
        const QRgb *line = reinterpret_cast<const QRgb *>(img.constScanLine(y));
        const QRgb *end = line + width;
        for (const QRgb *p = std::find(line, end, key); p != end; p = std::find(p, end, key)) {
            const QRgb *start = p;
            while (p != end && *p == key)
                ++p;
            runs.append(QRect(int(start - line), y, int(p - start), 1));
            if (runs.size() > MaxClippedRuns)
                break;
        }
    }
    if (runs.size() <= MaxClippedRuns) {
        QRegion seeThrough;
        seeThrough.setRects(runs.constData(), int(runs.size()));
        FDrawnClip = QRegion(img.rect()).subtracted(seeThrough);
        FDrawnClipped = true;
        return;
    }

    // Otherwise every pixel of that colour is cleared in a copy.
    img.convertTo(QImage::Format_ARGB32_Premultiplied);
    const QRgb drawnKey = reinterpret_cast<const QRgb *>(img.constScanLine(img.height() - 1))[0];
    for (int y = 0; y < img.height(); ++y) {
        QRgb *line = reinterpret_cast<QRgb *>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x)
            if (line[x] == drawnKey)
                line[x] = 0;
    }
    FDrawn = QPixmap::fromImage(std::move(img));
}

void TImageKv::paintEvent(QPaintEvent *)
{
    if (FPicture.Empty())
        return;
    PrepareDrawn();
    QPainter p(this);
    if (FDrawnClipped)
        p.setClipRegion(FDrawnClip);
    p.drawPixmap(0, 0, FDrawn);
}

TPanelKv::TPanelKv(QWidget *AParent, const QColor &AColor, const QString &ACaption)
    : QWidget(AParent), Caption(ACaption)
{
    setAutoFillBackground(true);
    if (AColor.isValid()) {
        QPalette pal = palette();
        pal.setColor(QPalette::Window, AColor);
        setPalette(pal);
    }
}

void TPanelKv::paintEvent(QPaintEvent *)
{
    if (Caption.isEmpty())
        return;
    QPainter p(this);
    p.setPen(palette().color(QPalette::WindowText));
    p.drawText(rect(), Qt::AlignCenter, Caption);
}

// ---------------------------------------------------------------------------
// TWizardPanelKv

TWizardPanelKv::TWizardPanelKv(TWizardKv *AWizard, bool AHorizontal, QWidget *AParent)
    : QWidget(AParent), horizontal(AHorizontal), FWizard(AWizard)
{
    setAutoFillBackground(true);
}

void TWizardPanelKv::SetTag(QWidget *AControl, int ATag)
{
    AControl->setProperty(KTagProperty, ATag);
    if (auto *bar = qobject_cast<TWizardPanelKv *>(AControl->parentWidget()))
        bar->AlignControls();
}

int TWizardPanelKv::Tag(const QWidget *AControl)
{
    return AControl->property(KTagProperty).toInt();
}

bool TWizardPanelKv::IsWindowless(const QWidget *AControl)
{
    const QVariant explicitValue = AControl->property(KWindowlessProperty);
    if (explicitValue.isValid())
        return explicitValue.toBool();
    return qobject_cast<const QLabel *>(AControl) || qobject_cast<const QToolButton *>(AControl);
}

QString TWizardPanelKv::StepCaption(int AIndex, int ACount)
{
    if (AIndex == 1)
        return QStringLiteral("Comienzo");
    if (AIndex == ACount)
        return QStringLiteral("Finalizar");
    return QStringLiteral("Paso ") + QString::number(AIndex);
}

int TWizardPanelKv::StepTop(int AIndex, int AFontHeight)
{
    return (std::abs(AFontHeight) + 15) * (AIndex - 1) + 20;
}

void TWizardPanelKv::LayoutBar(const QRect &AClient, bool AAllowProcessDefault,
                               QVector<TBarItem> &AItems)
{
    const int areaLeft = AClient.x();
    const int areaTop = AClient.y() + 13;
    const int areaBottom = std::max(areaTop, AClient.y() + AClient.height() - 12);
    int r = AClient.x() + AClient.width() - 8;

    auto place = [&](TBarItem &AItem) {
        AItem.Bounds = QRect(r - AItem.Width, areaTop, AItem.Width, areaBottom - areaTop);
    };
    auto toLeftEnd = [&](TBarItem &AItem) { AItem.Bounds.moveLeft(areaLeft + 8); };

    const int n = AItems.size();
    if (AAllowProcessDefault) {
        for (TBarItem &item : AItems) {
            if (!item.Visible)
                continue;
            place(item);
            if (item.Tag == 4)
                toLeftEnd(item);
            else
                r = item.Bounds.left() - item.Tag;
        }
        return;
    }
    // Child 0 (the help button) and child 4 (Cancel) keep their places
    // whether shown or not.
    if (n > 0) {
        place(AItems[0]);
        if (AItems[0].Tag == 4)
            toLeftEnd(AItems[0]);
    }
    if (n > 4) {
        place(AItems[4]);
        r = AItems[4].Bounds.left() - AItems[4].Tag;
    }
    for (int i = 1; i < n; ++i) {
        if (i == 4 || !AItems[i].Visible)
            continue;
        place(AItems[i]);
        r = AItems[i].Bounds.left() - AItems[i].Tag;
        if (AItems[i].Tag == 4)
            toLeftEnd(AItems[i]);
    }
}

QList<QWidget *> TWizardPanelKv::BarChildren() const
{
    QList<QWidget *> windowless, windowed;
    for (QObject *o : FAdded) {
        if (!o->isWidgetType())
            continue;
        auto *w = static_cast<QWidget *>(o);
        if (w->isWindow() || w->parentWidget() != this)
            continue;
        (IsWindowless(w) ? windowless : windowed).append(w);
    }
    return windowless + windowed;
}

void TWizardPanelKv::AlignControls()
{
    if (!horizontal || FAligning)
        return;
    FAligning = true;
    const QList<QWidget *> kids = BarChildren();
    QVector<TBarItem> items;
    items.reserve(kids.size());
    for (QWidget *w : kids) {
        TBarItem item;
        item.Width = w->width();
        item.Tag = Tag(w);
        item.Visible = !w->isHidden();
        item.Bounds = w->geometry();
        items.append(item);
    }
    LayoutBar(rect(), FWizard ? FWizard->AllowProcessDefault() : true, items);
    for (int i = 0; i < kids.size(); ++i)
        if (kids[i]->geometry() != items[i].Bounds)
            kids[i]->setGeometry(items[i].Bounds);
    FAligning = false;
}

void TWizardPanelKv::childEvent(QChildEvent *AEvent)
{
    QObject *child = AEvent->child();
    if (AEvent->added()) {
        if (!FAdded.contains(child)) {
            FAdded.append(child);
            child->installEventFilter(this);
        }
    } else if (AEvent->removed()) {
        FAdded.removeAll(child);
        AlignControls();
    } else if (AEvent->polished()) {
        AlignControls();
    }
    QWidget::childEvent(AEvent);
}

bool TWizardPanelKv::eventFilter(QObject *AWatched, QEvent *AEvent)
{
    switch (AEvent->type()) {
    case QEvent::ShowToParent:
    case QEvent::HideToParent:
    case QEvent::Resize:
    case QEvent::Move:
        if (AWatched->parent() == this)
            AlignControls();
        break;
    case QEvent::DynamicPropertyChange:
        if (static_cast<QDynamicPropertyChangeEvent *>(AEvent)->propertyName() == KTagProperty)
            AlignControls();
        break;
    default:
        break;
    }
    return QWidget::eventFilter(AWatched, AEvent);
}

void TWizardPanelKv::resizeEvent(QResizeEvent *AEvent)
{
    QWidget::resizeEvent(AEvent);
    AlignControls();
}

void TWizardPanelKv::showEvent(QShowEvent *AEvent)
{
    QWidget::showEvent(AEvent);
    AlignControls();
}

void TWizardPanelKv::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    if (horizontal) {
        // Etched edge along the top border: a shadow line over a light one.
        p.setPen(palette().color(QPalette::Dark));
        p.drawLine(0, 0, width() - 1, 0);
        p.setPen(palette().color(QPalette::Light));
        p.drawLine(0, 1, width() - 1, 1);
    } else {
        PaintSteps(p);
    }
}

void TWizardPanelKv::PaintSteps(QPainter &APainter)
{
    APainter.fillRect(rect(), Qt::black);
    if (!FWizard || FWizard->PageCount() == 0)
        return;
    const int count = FWizard->PageCount();
    // No active page: no row is the current one.
    const int current = FWizard->FPages.indexOf(FWizard->ActivePage()) + 1;
    const int fontHeight = QFontInfo(font()).pixelSize();
    const QFontMetrics fm(font());
    APainter.setFont(font());
    APainter.setBackgroundMode(Qt::OpaqueMode);
    APainter.setBackground(Qt::black);
    for (int i = 1; i <= count; ++i) {
        const int y = StepTop(i, fontHeight);
        const QPoint triangle[3] = {QPoint(10, y - 1), QPoint(26, y + 6), QPoint(10, y + 15)};
        APainter.setPen(Qt::black);
        APainter.setBrush(i == current ? QColor(0x00, 0xFF, 0x00) : QColor(0xFF, 0x00, 0x00));
        APainter.drawPolygon(triangle, 3);
        APainter.setBrush(Qt::black);
        APainter.setPen(Qt::white);
        APainter.drawText(QRect(30, y, std::max(0, width() - 30), fm.height() + 2),
                          Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                          StepCaption(i, count));
    }
}

// ---------------------------------------------------------------------------
// TWizardPageKv

TWizardPageKv::TWizardPageKv(TWizardKv *AWizardControl) : QWidget(nullptr)
{
    setAutoFillBackground(true);
    SetWizardControl(AWizardControl);
}

TWizardPageKv::~TWizardPageKv()
{
    TWizardKv *wizard = FWizardControl;
    if (!wizard)
        return;
    try {
        SetWizardControl(nullptr);
    } catch (...) {
        wizard->HandleException(wizard, std::current_exception());
    }
    // A handler that threw during the switch must not leave a dangling entry.
    if (FWizardControl == wizard) {
        wizard->FPages.removeAll(this);
        if (wizard->FActivePage == this)
            wizard->FActivePage = nullptr;
        FWizardControl = nullptr;
    }
}

void TWizardPageKv::showEvent(QShowEvent *AEvent)
{
    FLoaded = true;
    QWidget::showEvent(AEvent);
}

void TWizardPageKv::SetWizardControl(TWizardKv *AValue)
{
    if (AValue == FWizardControl)
        return;
    if (FWizardControl)
        FWizardControl->RemovePage(this);
    if (AValue)
        AValue->InsertPage(this);
}

int TWizardPageKv::PageIndex() const
{
    return FWizardControl ? FWizardControl->FPages.indexOf(const_cast<TWizardPageKv *>(this)) : -1;
}

void TWizardPageKv::SetPageIndex(int AValue)
{
    if (FWizardControl)
        FWizardControl->MovePage(PageIndex(), AValue);
}

void TWizardPageKv::SetInclude(bool AValue)
{
    if (AValue == FInclude)
        return;
    FInclude = AValue;
    TWizardKv *wizard = FWizardControl;
    if (!wizard)
        return;
    if (wizard->FActivePage == this && !AValue) {
        if (wizard->PageCount() == 1) {
            wizard->SetActivePage(nullptr);
        } else {
            // The excluded page gives way to the nearest included page after
            // it, else before it; with none left it stays the active page.
            TWizardPageKv *next = wizard->FindNextPage(this, true, true);
            if (!next)
                next = wizard->FindNextPage(this, false, true);
            if (next) {
                wizard->SetActivePage(next);
                return;   // the switch has evaluated the buttons afresh
            }
        }
    }
    if (wizard->FActivePage && PageIndex() > wizard->FPages.indexOf(wizard->FActivePage))
        wizard->ResetFinished();
}

bool TWizardPageKv::QueryDone()
{
    bool done = true;
    if (FLoaded && OnDoneQuery) {
        const TWizardQueryEvent handler = OnDoneQuery;
        handler(this, done);
    }
    return done;
}

// ---------------------------------------------------------------------------
// TWizardKv: construction

TWizardKv::TWizardKv(QWidget *AnOwner, bool AReadFromForm)
    : QWidget(AnOwner), FCapFinishBtn(KCaptionFinish), FLoading(AReadFromForm)
{
    ++FAlignSuspended;   // the frame is aligned once it is complete

    PanelRight = new TPanelKv(this, Qt::white);
    PanelRight->setObjectName(QStringLiteral("PanelRight"));
    PanelRight->resize(0, 0);

    ImageLogo = new TImageKv(PanelRight);
    ImageLogo->setObjectName(QStringLiteral("ImageLogo"));
    ImageLogo->Align = TAlignKv::alLeft;
    ImageLogo->resize(0, 0);
    ImageLogo->hide();

    PanelList = new TWizardPanelKv(this, false, this);
    PanelList->setObjectName(QStringLiteral("PanelList"));
    PanelList->resize(0, 0);
    PanelList->hide();
    {
        QPalette pal = PanelList->palette();
        pal.setColor(QPalette::Window, Qt::black);
        PanelList->setPalette(pal);
    }

    Panelaux = new TPanelKv(this, QColor(), QStringLiteral("Con botón derecho se agregan páginas."));
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
    {
        QFont bold;
        bold.setBold(true);
        TopTitle->setFont(bold);
    }
    TopTitle->move(20, 13);
    AutoSizeLabel(TopTitle);

    TopText = new QLabel(PanelTop);
    TopText->setObjectName(QStringLiteral("TopText"));
    TopText->move(45, 30);
    AutoSizeLabel(TopText);

    PanelHorz = new TWizardPanelKv(this, true, this);
    PanelHorz->setObjectName(QStringLiteral("PanelHorz"));

    auto makeButton = [this](const char *AName, const QString &ACaption, int ATag) {
        auto *b = new QPushButton(ACaption, PanelHorz);
        b->setObjectName(QString::fromLatin1(AName));
        b->setAutoDefault(false);
        b->resize(75, 25);
        b->setProperty(KTagProperty, ATag);
        return b;
    };
    FinishButton = makeButton("FinishButton", FCapFinishBtn, 8);
    FinishButton->setEnabled(false);
    connect(FinishButton, &QPushButton::clicked, this,
            [this] { HandleClick(FinishButton, [this] { FinishButtonClick(); }); });
    NextButton = makeButton("NextButton", KCaptionNext, 0);
    connect(NextButton, &QPushButton::clicked, this,
            [this] { HandleClick(NextButton, [this] { NextButtonClick(); }); });
    BackButton = makeButton("BackButton", KCaptionBack, 8);
    connect(BackButton, &QPushButton::clicked, this,
            [this] { HandleClick(BackButton, [this] { BackButtonClick(); }); });
    CancelButton = makeButton("CancelButton", KCaptionCancel, 8);
    connect(CancelButton, &QPushButton::clicked, this, [this] {
        HandleClick(CancelButton, [this] { CancelButtonClick(); });
        // A Cancel button with a modal result of cancel also ends a modal
        // dialog, as on the original toolkit.
        if (CancelButton->property(KModalResultProperty).toInt() == KModalResultCancel)
            if (auto *dialog = qobject_cast<QDialog *>(window()))
                dialog->reject();
    });

    HelpButton = new QToolButton(PanelHorz);
    HelpButton->setObjectName(QStringLiteral("HelpButton"));
    HelpButton->setAutoRaise(true);
    HelpButton->setIconSize(QSize(16, 16));
    HelpButton->resize(23, 25);
    HelpButton->setProperty(KTagProperty, 4);
    HelpButton->setToolTip(QStringLiteral("Ayuda (F1)"));
    HelpButton->hide();
    connect(HelpButton, &QToolButton::clicked, this,
            [this] { HandleClick(HelpButton, [this] { HelpButtonClick(); }); });
    {
        // The glyph comes from the image catalogue, which loads its module on
        // the first request and serves it from memory afterwards.
        QPixmap glyph;
        if (RepositoryImages)
            RepositoryImages->GetBitmap(ieActHelp, glyph, is16p);
        SetHelpGlyph(glyph);
    }

    FViewSteps = false;
    ChkListaPasos = new QCheckBox(QStringLiteral("Pasos"), PanelHorz);
    ChkListaPasos->setObjectName(QStringLiteral("ChkListaPasos"));
    ChkListaPasos->resize(50, 17);
    ChkListaPasos->setProperty(KTagProperty, 1);
    ChkListaPasos->hide();
    ChkListaPasos->setChecked(false);
    connect(ChkListaPasos, &QCheckBox::toggled, this,
            [this] { HandleClick(ChkListaPasos, [this] { StepsCheckClick(); }); });

    PanelHorz->resize(PanelHorz->width(), 48);
    QWidget::setTabOrder(BackButton, NextButton);
    QWidget::setTabOrder(NextButton, FinishButton);
    QWidget::setTabOrder(FinishButton, CancelButton);
    QWidget::setTabOrder(CancelButton, ChkListaPasos);

    // Enter activates Next while it is the default button.
    FReturnKey = new QShortcut(QKeySequence(Qt::Key_Return), this);
    FEnterKey = new QShortcut(QKeySequence(Qt::Key_Enter), this);
    for (QShortcut *key : {FReturnKey, FEnterKey}) {
        key->setContext(Qt::WindowShortcut);
        key->setEnabled(false);
        connect(key, &QShortcut::activated, this, &TWizardKv::ReturnPressed);
    }

    SetButtons(wbCancel);

    FFinished = false;
    FPictureAlign = alPLeft;
    FPanelListDim = 130;
    FLoaded = false;
    FAllowProcessDefault = true;
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
    for (TWizardPageKv *page : std::as_const(FPages))
        page->FWizardControl = nullptr;
    FPages.clear();
    FActivePage = nullptr;
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
            ImageLogo->resize(w, ImageLogo->height());
            PanelRight->resize(w, PanelRight->height());
            PanelTop->resize(PanelTop->width(), 0);
            Reparent(ImageLogo, PanelRight);
            ImageLogo->Align = TAlignKv::alLeft;
            FLogoRightOffset = -1;
            Realign();
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

    FitStepsCheck();
    FinishButton->setText(FCapFinishBtn);
    if (FFirstPage)
        SetActivePage(FFirstPage);
}

void TWizardKv::FocusChanged(QWidget *AOld, QWidget *ANow)
{
    if (FDestroying)
        return;
    auto inside = [](TWizardPageKv *APage, QWidget *AControl) {
        return AControl && (AControl == APage || APage->isAncestorOf(AControl));
    };
    QList<QPointer<TWizardPageKv>> exits, enters;
    for (TWizardPageKv *page : std::as_const(FPages)) {
        const bool was = inside(page, AOld);
        const bool is = inside(page, ANow);
        if (was && !is)
            exits << page;
        else if (is && !was)
            enters << page;
    }
    auto notify = [this](const QList<QPointer<TWizardPageKv>> &APages, TNotifyEvent TWizardPageKv::*AEvent) {
        for (const QPointer<TWizardPageKv> &page : APages)
            if (page && (page->*AEvent)) {
                const TNotifyEvent handler = page->*AEvent;
                HandleClick(page, [&] { handler(page); });
            }
    };
    notify(exits, &TWizardPageKv::OnExit);
    notify(enters, &TWizardPageKv::OnEnter);
}

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

// The wizard fills its parent; from the left stand the picture strip, the
// steps list and the page area, above the button bar.
void TWizardKv::Realign()
{
    if (FDestroying || FRealigning || FAlignSuspended > 0)
        return;
    FRealigning = true;
    if (QWidget *parent = parentWidget(); parent && !isWindow() && geometry() != parent->rect())
        setGeometry(parent->rect());

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
        FitStepsCheck();
        break;
    case QEvent::EnabledChange:
        HandleClick(this, [this] {
            const bool enabled = WizardEnabled();
            HelpButton->setEnabled(enabled);
            CancelButton->setEnabled(enabled);
            if (enabled) {
                NextButton->setEnabled(!(FFinished && (FButtons & wbCancel)) && FActivePage
                                       && FActivePage->QueryDone());
                BackButton->setEnabled(!FFinished && FindNextPage(FActivePage, false, true));
            } else {
                NextButton->setEnabled(false);
                BackButton->setEnabled(false);
            }
        });
        break;
    default:
        break;
    }
}

void TWizardKv::FitStepsCheck()
{
    // 50 pixels wide, or wider when the style needs more for "Pasos".
    ChkListaPasos->resize(std::max(50, ChkListaPasos->sizeHint().width()), ChkListaPasos->height());
}

bool TWizardKv::WizardEnabled() const
{
    // The wizard's own Enabled, whatever its parents' state.
    return !testAttribute(Qt::WA_ForceDisabled);
}

QFont TWizardKv::DefaultFont()
{
    return UserInterfaceFont();
}

void TWizardKv::SetHelpGlyph(const QPixmap &AGlyph)
{
    HelpButton->setIcon(QIcon(AGlyph));
}

void TWizardKv::SetHelpContext(QWidget *AControl, int AContext)
{
    AControl->setProperty(KHelpContextProperty, AContext);
}

int TWizardKv::HelpContext(const QWidget *AControl)
{
    return AControl->property(KHelpContextProperty).toInt();
}

// ---------------------------------------------------------------------------
// Exceptions from handlers

void TWizardKv::HandleClick(QObject *ASender, const std::function<void()> &AAction)
{
    try {
        AAction();
    } catch (...) {
        HandleException(ASender, std::current_exception());
    }
}

void TWizardKv::HandleException(QObject *ASender, std::exception_ptr AError)
{
    if (OnException) {
        try {
            const TExceptionEvent handler = OnException;
            handler(ASender, AError);
        } catch (...) {
            qWarning("El manejador de errores del asistente lanzó una excepción");
        }
        return;
    }
    QString message = QStringLiteral("Error desconocido");
    try {
        std::rethrow_exception(AError);
    } catch (const Exception &e) {
        message = e.Message();
    } catch (const std::exception &e) {
        message = QString::fromLocal8Bit(e.what());
    } catch (...) {
    }
    QMessageBox::critical(window(), window()->windowTitle(), message);
}

// ---------------------------------------------------------------------------
// Page list and navigation

TWizardPageKv *TWizardKv::Pages(int AIndex) const
{
    if (AIndex < 0 || AIndex >= FPages.size())
        ListIndexError(AIndex);
    return FPages.at(AIndex);
}

void TWizardKv::InsertPage(TWizardPageKv *APage)
{
    if (!APage)
        return;
    // A page is listed by one wizard at most.
    if (APage->FWizardControl && APage->FWizardControl != this)
        APage->FWizardControl->RemovePage(APage);
    if (!FPages.contains(APage))
        FPages.append(APage);
    if (APage->parentWidget() != Panelaux) {
        APage->setParent(Panelaux);
        if (APage != FActivePage)
            APage->hide();
    }
    APage->FWizardControl = this;
    Realign();
    if (!FLoading)
        SetActivePage(APage);
}

void TWizardKv::RemovePage(TWizardPageKv *APage)
{
    if (FDestroying || !APage || !FPages.contains(APage))
        return;
    TWizardPageKv *successor = FindNextPage(APage, true, false);
    if (!successor)
        successor = FindNextPage(APage, false, false);
    SetActivePage(successor);
    APage->FWizardControl = nullptr;
    FPages.removeAll(APage);
}

void TWizardKv::MovePage(int ACurIndex, int ANewIndex)
{
    if (ACurIndex < 0 || ACurIndex >= FPages.size())
        ListIndexError(ACurIndex);
    if (ANewIndex < 0 || ANewIndex >= FPages.size())
        ListIndexError(ANewIndex);
    FPages.move(ACurIndex, ANewIndex);
}

TWizardPageKv *TWizardKv::FindNextPage(TWizardPageKv *APage, bool AGoForward, bool ACheckInclude) const
{
    const int index = APage ? FPages.indexOf(APage) : -1;
    if (index < 0)
        return nullptr;
    const int step = AGoForward ? 1 : -1;
    for (int i = index + step; i >= 0 && i < FPages.size(); i += step) {
        TWizardPageKv *candidate = FPages.at(i);
        if (!ACheckInclude || candidate->Include())
            return candidate;
    }
    return nullptr;
}

void TWizardKv::SelectNextPage(bool AGoForward)
{
    if (TWizardPageKv *page = FindNextPage(FActivePage, AGoForward, true))
        SetActivePage(page);
}

void TWizardKv::CheckDone()
{
    NextButton->setEnabled(WizardEnabled() && !(FFinished && (FButtons & wbCancel)) && FActivePage
                           && FActivePage->QueryDone());
}

void TWizardKv::GetChildren(const std::function<void(QWidget *)> &AProc) const
{
    for (TWizardPageKv *page : FPages)
        AProc(page);
}

void TWizardKv::ShowControl(QWidget *AControl)
{
    for (QWidget *w = AControl; w; w = w->parentWidget())
        if (auto *page = qobject_cast<TWizardPageKv *>(w); page && page->FWizardControl == this) {
            SetActivePage(page);
            break;
        }
    if (AControl && AControl->isHidden() && !qobject_cast<TWizardPageKv *>(AControl))
        AControl->show();
}

void TWizardKv::DoChanging()
{
    if (FLoaded && OnChanging) {
        const TNotifyEvent handler = OnChanging;
        handler(this);
    }
}

void TWizardKv::DoChange()
{
    if (FLoaded && OnChange) {
        const TNotifyEvent handler = OnChange;
        handler(this);
    }
}

void TWizardKv::ShowTopLabel(QLabel *ALabel, const QString &AText)
{
    // An empty text keeps what the previous page put there.
    if (AText.isEmpty())
        return;
    ALabel->setText(AText);
    AutoSizeLabel(ALabel);
}

void TWizardKv::SetActivePage(TWizardPageKv *AValue)
{
    if (AValue == FActivePage || (AValue && AValue->FWizardControl != this))
        return;
    DoChanging();

    struct AlignResume {
        TWizardKv *Wizard;
        ~AlignResume()
        {
            if (--Wizard->FAlignSuspended == 0)
                Wizard->Realign();
        }
    };
    ++FAlignSuspended;
    {
        AlignResume resume{this};
        if (AValue) {
            AValue->raise();
            AValue->show();
            QWidget *form = AValue->window();
            if (form != AValue && AValue->isVisible() && AValue->isEnabled())
                if (QWidget *first = FirstFocusControl(AValue))
                    first->setFocus(Qt::OtherFocusReason);
        }
        if (FActivePage)
            FActivePage->hide();
        FActivePage = AValue;
        if (!AValue)
            return;

        ShowTopLabel(TopTitle, AValue->TopTitle());
        ShowTopLabel(TopText, AValue->TopText());

        // A page with an included page after it is not the end, whatever
        // page the wizard was switched away from.
        if (FFinished && FindNextPage(AValue, true, true))
            FFinished = false;

        const bool done = AValue->QueryDone();
        const bool enabled = WizardEnabled();
        BackButton->setEnabled(enabled && !FFinished && FindNextPage(AValue, false, true));
        NextButton->setEnabled(enabled && !(FFinished && (FButtons & wbCancel)) && done);
        if (FindNextPage(AValue, true, true)) {
            NextButton->setText(KCaptionNext);
        } else if (FAllowProcessDefault) {
            NextButton->setEnabled(false);
            FFinished = true;
        } else {
            NextButton->setText(FCapFinishBtn);
        }
        FinishButton->setEnabled(FFinished);
    }
    DoChange();
    if (FViewSteps && ChkListaPasos->isChecked())
        PanelList->update();
}

void TWizardKv::SetFirstPage(TWizardPageKv *AValue)
{
    FFirstPage = AValue;
    if (FLoading)
        SetActivePage(AValue);
}

void TWizardKv::ResetFinished()
{
    FFinished = false;
    const bool enabled = WizardEnabled();
    BackButton->setEnabled(enabled && FindNextPage(FActivePage, false, true));
    NextButton->setEnabled(enabled && FActivePage && FActivePage->QueryDone());
    NextButton->setText(FindNextPage(FActivePage, true, true) || FAllowProcessDefault
                            ? KCaptionNext : FCapFinishBtn);
    CancelButton->setText(KCaptionCancel);
    CancelButton->setProperty(KModalResultProperty, KModalResultCancel);
}

void TWizardKv::CloseHostForm()
{
    window()->close();
}

void TWizardKv::NextButtonClick()
{
    if (!FActivePage)
        return;
    const TWizardQueryEvent handler = FActivePage->OnNextClick;
    bool done = true;
    if (!FFinished && FindNextPage(FActivePage, true, true)) {
        if (handler)
            handler(this, done);
        if (done)
            SelectNextPage(true);
        return;
    }
    if (handler)
        handler(this, done);
    if (!done)
        return;
    if (OnFinishClick) {
        const TNotifyEvent finish = OnFinishClick;
        finish(this);
    } else {
        CloseHostForm();
    }
}

void TWizardKv::BackButtonClick()
{
    FFinished = false;
    bool done = true;
    if (FActivePage && FActivePage->OnBackClick) {
        const TWizardQueryEvent handler = FActivePage->OnBackClick;
        handler(this, done);
    }
    if (done)
        SelectNextPage(false);
}

void TWizardKv::FinishButtonClick()
{
    if (OnFinishClick) {
        const TNotifyEvent handler = OnFinishClick;
        handler(this);
    } else {
        CloseHostForm();
    }
}

void TWizardKv::CancelButtonClick()
{
    if (OnCancelClick) {
        const TNotifyEvent handler = OnCancelClick;
        handler(this);
    } else {
        CloseHostForm();
    }
}

void TWizardKv::HelpButtonClick()
{
    int context = 0;
    for (QWidget *w = FActivePage; w && context == 0; w = w->parentWidget())
        context = HelpContext(w);
    if (context == 0)
        return;
    if (OnHelp) {
        bool callHelp = true;
        const THelpEvent handler = OnHelp;
        handler(1, context, callHelp);
    }
    // Without a handler there is no system help viewer to ask on this
    // platform: nothing more happens.
}

void TWizardKv::ReturnPressed()
{
    // A focused push button takes Enter itself, as a default button does.
    if (auto *focused = qobject_cast<QPushButton *>(QApplication::focusWidget());
        focused && focused->window() == window() && focused->isEnabled()) {
        focused->click();
        return;
    }
    if (FNextButtonByDefault && NextButton->isVisible() && NextButton->isEnabled())
        NextButton->click();
}

// ---------------------------------------------------------------------------
// Properties acting on the frame

void TWizardKv::SetAllowProcessDefault(bool AValue)
{
    if (AValue == FAllowProcessDefault)
        return;
    FAllowProcessDefault = AValue;
    FinishButton->setVisible(AValue);
    FinishButton->resize(FinishButton->width(), AValue ? NextButton->height() : 0);
    PanelHorz->AlignControls();
}

void TWizardKv::SetButtons(TWizardButtons AValue)
{
    if (AValue == FButtons)
        return;
    HelpButton->setVisible(AValue & wbHelp);
    CancelButton->setVisible(AValue & wbCancel);
    FButtons = AValue;
    PanelHorz->AlignControls();
}

void TWizardKv::SetNextButtonByDefault(bool AValue)
{
    if (AValue == FNextButtonByDefault)
        return;
    FNextButtonByDefault = AValue;
    NextButton->setDefault(AValue);
    FReturnKey->setEnabled(AValue);
    FEnterKey->setEnabled(AValue);
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

void TWizardKv::SetPictureAlign(TPictureAlign AValue)
{
    if (AValue == FPictureAlign)
        return;
    FPictureAlign = AValue;
    const int w = ImageLogo->Picture()->Width();
    const int h = ImageLogo->Picture()->Height();
    if (AValue == alPLeft) {
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
    update();
    PanelList->update();
    if (AfterSetPictureAlign) {
        const TOnAfterSetPictureAlign handler = AfterSetPictureAlign;
        handler(ImageLogo);
    }
}

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
        Realign();
    }
}

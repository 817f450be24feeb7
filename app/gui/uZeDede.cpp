#include "uZeDede.h"

#include "AccessibleWidgets.h"
#include "LinkLabel.h"
#include "Shape.h"
#include "CuitMaskEdit.h"
#include "DataValidation.h"
#include "Exception.h"
#include "FileCtrlKv.h"
#include "FormStyle.h"
#include "GuideWindow.h"
#include "OpenSSLSetup.h"
#include "Paths.h"
#include "Registry.h"
#include "RequestGenerator.h"
#include "UCWWizard.h"
#include "UserInterfaceFont.h"
#include "WellKnownFolders.h"
#include "WindowOpeners.h"
#include "WindowWork.h"
#include "WizardButtonBar.h"
#include "MessageBoxes.h"
#include "UserDialogs.h"
#include "ProgramLook.h"
#include "ZeDedeArt.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmapCache>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QStyleOptionFocusRect>
#include <QToolButton>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// A picture drawn transparently loses every pixel of its bottom-left
// pixel's colour. The drawings give that corner a colour of its own; a
// picture scaled smoothly needs it again: the nearest colour to the corner's
// that no other pixel has.
void GiveCornerItsOwnColour(QImage &AImage)
{
    if (AImage.isNull() || AImage.hasAlphaChannel())
        return;
    AImage.convertTo(QImage::Format_RGB32);
    const int bottom = AImage.height() - 1;
    const QRgb corner = AImage.pixel(0, bottom);
    // The candidates differ from the corner in blue only: note which blues
    // the other pixels of the corner's red and green take.
    bool blueUsed[256] = {};
    for (int y = 0; y < AImage.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(AImage.constScanLine(y));
        for (int x = 0; x < AImage.width(); ++x)
            if ((line[x] & 0xffff00u) == (corner & 0xffff00u) && (x != 0 || y != bottom))
                blueUsed[qBlue(line[x])] = true;
    }
    for (int step = 0; step < 256; ++step) {
        const int blue = (qBlue(corner) + step) % 256;
        if (!blueUsed[blue]) {
            AImage.setPixel(0, bottom, qRgb(qRed(corner), qGreen(corner), blue));
            return;
        }
    }
}

// The picture for a device pixel ratio: the drawing itself at 1; above 1
// its version drawn at twice the size ("<name>@2x"), scaled smoothly to the
// ratio when that is not 2, so that it is never enlarged pixel by pixel.
QPixmap ArtPixmapFor(const char *AName, qreal ARatio)
{
    if (ARatio > 1.0) {
        QImage large = ZeDedeArtImage((QByteArray(AName) + "@2x").constData());
        if (!large.isNull()) {
            if (qFuzzyCompare(ARatio, 2.0)) {
                large.setDevicePixelRatio(2.0);
                return QPixmap::fromImage(std::move(large));
            }
            const QSize size = ZeDedeArtImage(AName).size();
            QImage scaled = large.scaled((QSizeF(size) * ARatio).toSize(), Qt::IgnoreAspectRatio,
                                         Qt::SmoothTransformation);
            GiveCornerItsOwnColour(scaled);
            scaled.setDevicePixelRatio(ARatio);
            return QPixmap::fromImage(std::move(scaled));
        }
    }
    return QPixmap::fromImage(ZeDedeArtImage(AName));
}

// The same pixmap every time for a name and ratio, so that a picture widget
// given it again keeps what it prepared for drawing it. At a ratio of 1 it
// shares the embedded pixels: nothing is decoded or copied.
QPixmap ArtPixmap(const char *AName, qreal ARatio)
{
    QPixmap pm;
    QString key = QStringLiteral("zedede-art-") + QLatin1String(AName);
    if (ARatio > 1.0)
        key += QLatin1Char('@') + QString::number(ARatio);
    if (!QPixmapCache::find(key, &pm)) {
        pm = ArtPixmapFor(AName, ARatio);
        QPixmapCache::insert(key, pm);
    }
    return pm;
}

// Return and Enter press a focused tool button, as Space does, instead of
// reaching the window's default button.
class TEnterPressesButton : public QObject
{
public:
    using QObject::QObject;
    bool eventFilter(QObject *AWatched, QEvent *AEvent) override
    {
        if (AEvent->type() != QEvent::ShortcutOverride && AEvent->type() != QEvent::KeyPress)
            return false;
        const auto *key = static_cast<QKeyEvent *>(AEvent);
        if ((key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter)
            || (key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
            return false;
        AEvent->accept();
        if (AEvent->type() == QEvent::KeyPress)
            static_cast<QAbstractButton *>(AWatched)->click();
        return true;
    }
};

QFont FormFont()
{
    return UserInterfaceFont();
}

QFont BoldFont(int APixelSize = 11)
{
    QFont f = FormFont();
    f.setPixelSize(APixelSize);
    f.setBold(true);
    return f;
}

// A label sized to its text, at its stored position; with a font of its own
// when AFont is given (set before the label is sized, so it is sized once).
QLabel *AutoLabel(QWidget *AParent, int ALeft, int ATop, const QString &ACaption,
                  const QFont *AFont = nullptr)
{
    auto *l = new QLabel(ACaption, AParent);
    l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    if (AFont)
        l->setFont(*AFont);
    l->move(ALeft, ATop);
    l->adjustSize();
    return l;
}

// A word-wrapped label with its stored bounds; grows in height when the text
// needs more lines than the stored height holds.
QLabel *WrapLabel(QWidget *AParent, const QRect &ABounds, const QString &ACaption)
{
    auto *l = new QLabel(ACaption, AParent);
    l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    l->setWordWrap(true);
    l->setGeometry(ABounds);
    return l;
}

// Grows a word-wrapped label downwards when its text needs more lines than
// its height holds; returns by how much.
int FitWrapLabel(QLabel *ALabel)
{
    const int needed = ALabel->heightForWidth(ALabel->width());
    if (needed <= ALabel->height())
        return 0;
    const int grown = needed - ALabel->height();
    ALabel->resize(ALabel->width(), needed);
    return grown;
}

// The height a word-wrapped label needs for the longest of ATexts.
int WrapHeight(const QLabel *ALabel, const QStringList &ATexts)
{
    QLabel probe;
    probe.setFont(ALabel->font());
    probe.setWordWrap(true);
    int height = 0;
    for (const QString &text : ATexts) {
        probe.setText(text);
        height = std::max(height, probe.heightForWidth(ALabel->width()));
    }
    return height;
}

QLineEdit *Edit(QWidget *AParent, const char *AName, int ALeft, int ATop, int AWidth,
                int AMaxLength = 0)
{
    auto *e = new QLineEdit(AParent);
    e->setObjectName(QLatin1String(AName));
    e->setGeometry(ALeft, ATop, AWidth, 21);
    if (AMaxLength > 0)
        e->setMaxLength(AMaxLength);
    return e;
}

QGroupBox *GroupBox(QWidget *AParent, const char *AName, const QRect &ABounds,
                    const QString &ACaption)
{
    auto *g = new QGroupBox(ACaption, AParent);
    g->setObjectName(QLatin1String(AName));
    g->setGeometry(ABounds);
    return g;
}

// A speed button; a tab stop, so that it can be used from the keyboard.
QToolButton *SpeedButton(QWidget *AParent, const QRect &ABounds, const QString &ACaption)
{
    auto *b = new QToolButton(AParent);
    b->setText(ACaption);
    b->setGeometry(ABounds);
    b->setFocusPolicy(Qt::TabFocus);
    b->setAutoRaise(false);
    b->installEventFilter(new TEnterPressesButton(b));
    return b;
}

void LinkFont(QLabel *ALabel)
{
    QFont f = FormFont();
    f.setUnderline(true);
    ALabel->setFont(f);
    QPalette p = ALabel->palette();
    p.setColor(QPalette::WindowText, Qt::blue);
    ALabel->setPalette(p);
    ALabel->setCursor(Qt::PointingHandCursor);
}

} // namespace

// ---------------------------------------------------------------------------

const QString TfrmZeDede::Caption = QStringLiteral(
    "Asistente para la generación del pedido de certificado digital - Vemra Revororad S.A.");
const QString TfrmZeDede::AfipLoginUrl = QStringLiteral("https://auth.afip.gob.ar/contribuyente/?");
const QString TfrmZeDede::VemraUrl = QStringLiteral("https://www.vemra.com.ar/");
const QString TfrmZeDede::HintOrganizacion = QStringLiteral(
    "Ingrese el nombre y el número de C.U.I.T. de la organización que solicita el certificado "
    "digital.");
const QString TfrmZeDede::HintOperador = QStringLiteral(
    "Los datos ingresados en este sector (nombre, dirección de correo electrónico y contraseña) "
    "pueden no coincidir con los datos reales del usuario que opera el equipo. Estos datos no son "
    "utilizados por KORVO sino que son requeridos por el programa OpenSSL para generar el pedido "
    "de certificado digital.");
const QString TfrmZeDede::HintGeneracion =
    QStringLiteral("Indique la carpeta donde desea grabar los archivos generados. ");

const QString TfrmZeDede::EstadoEspera =
    QStringLiteral("Esperando que termine otra generación de pedido…");
const QString TfrmZeDede::PasswordHint = QStringLiteral(
    "Es solo la contraseña del pedido de certificado: queda escrita dentro del pedido (.req) que "
    "se sube al sitio de ARCA (ex AFIP). No es su Clave Fiscal: no escriba aquí la Clave Fiscal.");
const QString TfrmZeDede::EstadoClave = QStringLiteral("Generando la clave privada…");
const QString TfrmZeDede::EstadoPedido = QStringLiteral("Generando el pedido…");
const QString TfrmZeDede::EstadoInstalacion = QStringLiteral("Instalando OpenSSL…");

TfrmZeDede::TfrmZeDede(QWidget *AParent)
    : QWidget(AParent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                           | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint)
{
    BuildForm();
    FormCreate(this);
}

TfrmZeDede::~TfrmZeDede()
{
    // Taking the window apart (closing it, deleting its controls) moves the
    // focus, and nothing of this window may answer once its own part is
    // gone: the focus connection ends here, and the wizard, whose pages call
    // this window's handlers, goes while the window is still whole.
    if (qApp)
        disconnect(qApp, &QApplication::focusChanged, this, &TfrmZeDede::FocusChanged);
    delete wizt;
    wizt = nullptr;
}

void TfrmZeDede::BuildForm()
{
    // The window
    setObjectName(QStringLiteral("frmZeDede"));
    setWindowTitle(Caption);
    setFont(FormFont());
    setWindowIcon(ProgramIcon());
    setFixedSize(ClientWidth, ClientHeight);
    if (QScreen *s = QGuiApplication::primaryScreen()) {
        const QRect avail = s->availableGeometry();
        move(avail.left() + (avail.width() - width()) / 2,
             avail.top() + (avail.height() - height()) / 2);
    }

    // The wizard and its stored properties
    wizt = new TWizardKv(this);
    wizt->setObjectName(QStringLiteral("wizt"));
    wizt->SetAllowProcessDefault(true);
    wizt->SetCapFinishBtn(QStringLiteral("&Terminar"));
    wizt->SetPanelListDim(130);
    wizt->SetPicture(ArtPixmap("IMG_COMPARATIVA_V", devicePixelRatioF()));
    wizt->SetPictureAlign(alPLeft);
    wizt->SetViewSteps(false);
    wizt->SetViewStepsChecked(false);
    wizt->SetNextButtonByDefault(true);
    wizt->OnChange = [this](QObject *Sender) { wiztChange(Sender); };
    wizt->OnException = [this](QObject *, std::exception_ptr AError) { ShowError(AError); };

    // Welcome page
    wpInicial = new TWizardPageKv(wizt);
    wpInicial->setObjectName(QStringLiteral("wpInicial"));
    wpInicial->resize(542, 485);
    wpInicial->SetTopTitle(
        QStringLiteral("Bienvenido al asistente para la generación de certificado digital de AFIP"));
    wpInicial->OnNextClick = [this](QObject *Sender, bool &Done) {
        wpInicialNextClick(Sender, Done);
    };

    Label16 = WrapLabel(wpInicial, QRect(48, 32, 401, 32),
                        QStringLiteral("Bienvenido al asistente para la generación de "
                                       "certificado digital de AFIP"));
    Label16->setFont(BoldFont(13));
    Label1 = WrapLabel(wpInicial, QRect(48, 80, 458, 26),
                       QStringLiteral("Este asistente le permitirá generar la información "
                                      "necesaria para solicitar a la A.F.I.P. el certificado "
                                      "digital que su empresa necesita para emitir comprobantes "
                                      "electrónicos."));
    Label2 = WrapLabel(wpInicial, QRect(48, 120, 451, 26),
                       QStringLiteral("Esta aplicación requiere que esté instalado el programa "
                                      "OpenSSL. En caso de no detectarlo se procederá a su "
                                      "instalación."));

    // Data page
    wpDatos = new TWizardPageKv(wizt);
    wpDatos->setObjectName(QStringLiteral("wpDatos"));
    wpDatos->resize(542, 485);
    wpDatos->SetTopTitle(QStringLiteral("Ingreso de datos"));
    wpDatos->SetTopText(QStringLiteral("En esta pantalla deberá ingresar los datos necesarios "
                                       "para solicitar el certificado digital."));
    wpDatos->OnDoneQuery = [this](QObject *Sender, bool &Done) { wpDatosDoneQuery(Sender, Done); };
    wpDatos->OnEnter = [this](QObject *Sender) { wpDatosEnter(Sender); };
    wpDatos->OnNextClick = [this](QObject *Sender, bool &Done) { wpDatosNextClick(Sender, Done); };

    GroupBox1 = GroupBox(wpDatos, "GroupBox1", QRect(92, 16, 525, 84),
                        QStringLiteral("  Datos de la organización  "));
    Label3 = AutoLabel(GroupBox1, 24, 24, QStringLiteral("Razón social:"));
    // No length limit in the edits: a longer text stays whole and the
    // validation names the limit.
    eNombreEmpresa = Edit(GroupBox1, "eNombreEmpresa", 168, 20, 321);
    Label4 = AutoLabel(GroupBox1, 24, 56, QStringLiteral("C.U.I.T.:"));
    eCUIT = new TCuitMaskEdit(GroupBox1);
    eCUIT->setObjectName(QStringLiteral("eCUIT"));
    eCUIT->setGeometry(168, 52, 191, 21);

    cxGroupBox4 = GroupBox(wpDatos, "cxGroupBox4", QRect(92, 112, 525, 157),
                        QStringLiteral("  Datos del operador de este equipo  "));
    Label5 = AutoLabel(cxGroupBox4, 24, 32, QStringLiteral("Nombre del operador:"));
    eOperador = Edit(cxGroupBox4, "eOperador", 168, 28, 321);
    Label6 = AutoLabel(cxGroupBox4, 24, 64, QStringLiteral("Dirección de e-mail:"));
    eMail = Edit(cxGroupBox4, "eMail", 168, 60, 321);
    Label7 = WrapLabel(cxGroupBox4, QRect(24, 88, 106, 26),
                       QStringLiteral("Contraseña (mínimo 4 caracteres):"));
    auto *starStyle = new TStarPasswordStyle;
    starStyle->setParent(this);
    ePassword = Edit(cxGroupBox4, "ePassword", 168, 92, 153);
    ePassword->setEchoMode(QLineEdit::Password);
    ePassword->setStyle(starStyle);
    Label9 = AutoLabel(cxGroupBox4, 24, 128, QStringLiteral("Reingrese la contraseña"));
    ePassword2 = Edit(cxGroupBox4, "ePassword2", 168, 124, 153);
    ePassword2->setEchoMode(QLineEdit::Password);
    ePassword2->setStyle(starStyle);

    cxGroupBox2 = GroupBox(wpDatos, "cxGroupBox2", QRect(92, 283, 525, 60),
                        QStringLiteral("  Datos de generación  "));
    Label8 = AutoLabel(cxGroupBox2, 24, 32, QStringLiteral("Carpeta destino:"));
    eCarpeta = Edit(cxGroupBox2, "eCarpeta", 168, 28, 320);
    sbFolder = SpeedButton(cxGroupBox2, QRect(492, 28, 23, 22), QStringLiteral("..."));
    sbFolder->setObjectName(QStringLiteral("sbFolder"));
    connect(sbFolder, &QToolButton::clicked, this,
            [this] { RunGuarded(this, [this] { sbFolderClick(sbFolder); }); });

    Shape4 = new TShapeKv(wpDatos, kLightYellow);
    Shape4->setGeometry(92, 361, 525, 64);
    Image2 = new TImageKv(wpDatos);
    Image2->Align = TAlignKv::alNone;
    Image2->setGeometry(99, 374, 20, 20);
    Image2->Picture()->Assign(ArtPixmap("info13", devicePixelRatioF()));
    Image2->SetTransparent(true);
    cxLabelHint = WrapLabel(wpDatos, QRect(131, 365, 470, 57), HintOrganizacion);
    cxLabelHint->setObjectName(QStringLiteral("cxLabelHint"));

    for (QLineEdit *e : {eNombreEmpresa, static_cast<QLineEdit *>(eCUIT), eOperador, eMail,
                         ePassword, ePassword2, eCarpeta})
        connect(e, &QLineEdit::textChanged, this, [this, e] {
            RunGuarded(this, [this, e] { eNombreEmpresaChange(e); });
        });

    // Results page
    wpFinal = new TWizardPageKv(wizt);
    wpFinal->setObjectName(QStringLiteral("wpFinal"));
    wpFinal->resize(542, 485);
    wpFinal->SetTopTitle(QStringLiteral("Información procesada"));
    wpFinal->SetTopText(QStringLiteral(" "));

    const QFont bold = BoldFont();
    Label10 = AutoLabel(wpFinal, 68, 32, QStringLiteral("Se generaron los siguientes archivos:"),
                        &bold);
    Label13 = AutoLabel(wpFinal, 80, 72, QStringLiteral("Clave privada:"), &bold);
    laFilePrivada = AutoLabel(wpFinal, 248, 72, QString());
    laFilePrivada->setObjectName(QStringLiteral("laFilePrivada"));
    Label14 = AutoLabel(wpFinal, 80, 104, QStringLiteral("Pedido de certificado digital:"), &bold);
    laFilePedido = AutoLabel(wpFinal, 248, 104, QString());
    laFilePedido->setObjectName(QStringLiteral("laFilePedido"));
    Label15 = AutoLabel(wpFinal, 80, 136, QStringLiteral("Identificación de origen:"), &bold);
    laFileSource = AutoLabel(wpFinal, 248, 136, QString());
    laFileSource->setObjectName(QStringLiteral("laFileSource"));
    // Under each file name, the name an earlier file of that name was kept
    // under; shown only when there was one.
    const struct
    {
        QLabel **Kept;
        const char *Name;
        int Top;
    } kept[] = {{&laKeptPrivada, "laKeptPrivada", 72},
                {&laKeptPedido, "laKeptPedido", 104},
                {&laKeptSource, "laKeptSource", 136}};
    for (const auto &k : kept) {
        auto *l = new QLabel(wpFinal);
        l->setObjectName(QLatin1String(k.Name));
        l->setTextFormat(Qt::PlainText);
        l->setGeometry(248, k.Top + 15, 384, 15);
        QPalette p = l->palette();
        p.setColor(QPalette::WindowText, QColor(70, 70, 70));
        l->setPalette(p);
        l->hide();
        *k.Kept = l;
    }

    Shape1 = new TShapeKv(wpFinal, kLightYellow);
    Shape1->setGeometry(64, 180, 538, 62);
    Image1 = new TImageKv(wpFinal);
    Image1->Align = TAlignKv::alNone;
    Image1->setGeometry(67, 189, 20, 20);
    Image1->Picture()->Assign(ArtPixmap("info13", devicePixelRatioF()));
    Image1->SetTransparent(true);
    cxLabel1 = WrapLabel(
        wpFinal, QRect(95, 190, 501, 43),
        QStringLiteral("La clave privada junto a la identificación de origen y el certificado "
                       "digital generado por la A.F.I.P. en base al pedido generado en esta "
                       "aplicación (*.req) deben ser ingresados en la opción \"Parámetros\" del "
                       "proceso \"Administración de comprobantes electrónicos\" de KORVO Ventas."));
    Label11 = WrapLabel(
        wpFinal, QRect(64, 280, 581, 39),
        QStringLiteral("Para solicitar el certificado digital debe ingresar a la página web de la "
                       "A.F.I.P. (Servicios con clave fiscal\\Administrador de relaciones). Cuando "
                       "se adhiera al servicio \"ARFE - Subir certificado digital\" indique el "
                       "archivo (*.req) que se encuentra en la carpeta que se detalla a "
                       "continuación:"));
    eCarpetaPedido = Edit(wpFinal, "eCarpetaPedido", 64, 344, 538);
    eCarpetaPedido->setReadOnly(true);
    SpeedButton1 = SpeedButton(wpFinal, QRect(609, 343, 23, 22), QStringLiteral("Ir"));
    SpeedButton1->setObjectName(QStringLiteral("SpeedButton1"));
    connect(SpeedButton1, &QToolButton::clicked, this,
            [this] { RunGuarded(this, [this] { SpeedButton1Click(SpeedButton1); }); });
    Label12 = new TLinkLabelKv(wpFinal);
    Label12->setObjectName(QStringLiteral("Label12"));
    Label12->setText(QStringLiteral("Adhiérase al servicio de factura electrónica"));
    LinkFont(Label12);
    Label12->move(64, 392);
    Label12->adjustSize();
    Label12->OnClick = [this](QObject *Sender) {
        RunGuarded(this, [this, Sender] { Label12Click(Sender); });
    };
    laComoSeguir = new TLinkLabelKv(wpFinal);
    laComoSeguir->setObjectName(QStringLiteral("laComoSeguir"));
    laComoSeguir->setText(QStringLiteral("Cómo seguir: obtener el certificado en ARCA (ex AFIP) y "
                                         "usarlo"));
    LinkFont(laComoSeguir);
    laComoSeguir->move(64, 414);
    laComoSeguir->adjustSize();
    laComoSeguir->OnClick = [this](QObject *) { RunGuarded(this, [this] { ShowGuide(); }); };

    FitTexts();

    // Tab order: the data page's edits and folder button, the results page's
    // field, button and link, then the bar and its link.
    setTabOrder(eNombreEmpresa, eCUIT);
    setTabOrder(eCUIT, eOperador);
    setTabOrder(eOperador, eMail);
    setTabOrder(eMail, ePassword);
    setTabOrder(ePassword, ePassword2);
    setTabOrder(ePassword2, eCarpeta);
    setTabOrder(eCarpeta, sbFolder);
    setTabOrder(sbFolder, eCarpetaPedido);
    setTabOrder(eCarpetaPedido, SpeedButton1);
    setTabOrder(SpeedButton1, Label12);
    setTabOrder(Label12, laComoSeguir);
    setTabOrder(laComoSeguir, wizt->BackButton);
    setTabOrder(wizt->BackButton, wizt->NextButton);
    setTabOrder(wizt->NextButton, wizt->FinishButton);
    setTabOrder(wizt->FinishButton, wizt->CancelButton);

    DescribeForAssistiveTechnologies();

    // Page references, then the end of loading
    wizt->SetActivePage(wpInicial);
    wizt->SetFirstPage(wpInicial);

    // Non-visual component
    BrowseFolderDlgKV1 = new TBrowseFolderDlgKV(this);
    BrowseFolderDlgKV1->setObjectName(QStringLiteral("BrowseFolderDlgKV1"));
    BrowseFolderDlgKV1->SetBtnType(btnone);
    BrowseFolderDlgKV1->SetBrowseKind(bfFolders);
    BrowseFolderDlgKV1->SetTitle(QStringLiteral("Buscar Carpeta"));
    BrowseFolderDlgKV1->SetShowStatus(false);

    wizt->Loaded();
    UpdateEnterKey();

    // The state shown while an external program runs.
    pnlEstado = new QWidget(this);
    pnlEstado->setObjectName(QStringLiteral("pnlEstado"));
    auto *estado = new QVBoxLayout(pnlEstado);
    estado->setContentsMargins(0, 0, 0, 0);
    estado->setSpacing(4);
    laEstado = new QLabel(pnlEstado);
    laEstado->setObjectName(QStringLiteral("laEstado"));
    laEstado->setFont(BoldFont());
    pbEstado = new QProgressBar(pnlEstado);
    pbEstado->setObjectName(QStringLiteral("pbEstado"));
    pbEstado->setRange(0, 0); // moving: how long is not known
    pbEstado->setTextVisible(false);
    pbEstado->setFixedHeight(14);
    btCancelarEspera = new QPushButton(QStringLiteral("Cancelar"), pnlEstado);
    btCancelarEspera->setObjectName(QStringLiteral("btCancelarEspera"));
    btCancelarEspera->hide();
    connect(btCancelarEspera, &QPushButton::clicked, this, [this] {
        if (TWindowWork *work = TWindowWork::Of(this))
            work->Cancel();
    });
    auto *fila = new QHBoxLayout;
    fila->setContentsMargins(0, 0, 0, 0);
    fila->addWidget(pbEstado, 1);
    fila->addWidget(btCancelarEspera);
    estado->addWidget(laEstado);
    estado->addLayout(fila);
    pnlEstado->hide();

    // Group boxes report the focus entering them; connected after the pages
    // so that a page's OnEnter comes before its group box's.
    connect(qApp, &QApplication::focusChanged, this, &TfrmZeDede::FocusChanged);
}

void TfrmZeDede::showEvent(QShowEvent *AEvent)
{
    QWidget::showEvent(AEvent);
    if (!AEvent->spontaneous())
        FormShow(this);
}

void TfrmZeDede::FocusChanged(QWidget *AOld, QWidget *ANow)
{
    if (!ANow || ANow->window() != this)
        return;
    const struct
    {
        QGroupBox *Box;
        void (TfrmZeDede::*Handler)(QObject *);
    } boxes[] = {{GroupBox1, &TfrmZeDede::GroupBox1Enter},
                 {cxGroupBox4, &TfrmZeDede::cxGroupBox4Enter},
                 {cxGroupBox2, &TfrmZeDede::cxGroupBox2Enter}};
    for (const auto &b : boxes) {
        if (b.Box->isAncestorOf(ANow) && !(AOld && b.Box->isAncestorOf(AOld)))
            RunGuarded(this, [this, &b] { (this->*b.Handler)(b.Box); });
    }
}

void TfrmZeDede::closeEvent(QCloseEvent *AEvent)
{
    if (TWindowWork *work = TWindowWork::Of(this)) {
        AEvent->ignore();
        work->CloseRequested();
        return;
    }
    QWidget::closeEvent(AEvent);
}

void TfrmZeDede::ShowState(const QString &AText, bool ACancellable)
{
    TWizardPageKv *page = wizt->ActivePage();
    if (!page)
        return;
    // In the hint's place on the data page (the hint comes back afterwards),
    // under the texts on the welcome page.
    const QRect area = page == wpDatos ? QRect(131, 370, 470, 40) : QRect(48, 170, 451, 40);
    cxLabelHint->setVisible(page != wpDatos);
    pnlEstado->setParent(page);
    pnlEstado->setGeometry(area);
    laEstado->setText(AText);
    btCancelarEspera->setVisible(ACancellable);
    if (TWindowWork *work = TWindowWork::Of(this))
        work->AllowInput(ACancellable ? btCancelarEspera : nullptr);
    pnlEstado->show();
    pnlEstado->raise();
    pnlEstado->repaint();
}

void TfrmZeDede::HideState()
{
    btCancelarEspera->hide();
    pnlEstado->hide();
    cxLabelHint->show();
}

void TfrmZeDede::FitTexts()
{
    // Welcome page: a paragraph that needs more lines pushes the following
    // ones down, keeping the space between them.
    int shift = 0;
    for (QLabel *l : {Label16, Label1, Label2}) {
        l->move(l->x(), l->y() + shift);
        shift += FitWrapLabel(l);
    }

    // The password label may widen up to its field before it grows.
    if (Label7->heightForWidth(Label7->width()) > Label7->height())
        Label7->resize(ePassword->x() - Label7->x() - 6, Label7->height());
    FitWrapLabel(Label7);

    // The hint panels grow with the longest text their label shows.
    const struct
    {
        QLabel *Label;
        TShapeKv *Panel;
        QStringList Texts;
    } hints[] = {{cxLabelHint, Shape4, {HintOrganizacion, HintOperador, HintGeneracion}},
                 {cxLabel1, Shape1, {cxLabel1->text()}}};
    for (const auto &h : hints) {
        const int grown = WrapHeight(h.Label, h.Texts) - h.Label->height();
        if (grown > 0) {
            h.Label->resize(h.Label->width(), h.Label->height() + grown);
            h.Panel->resize(h.Panel->width(), h.Panel->height() + grown);
        }
    }

    // Results page: the file names start after the longest of their
    // captions.
    int captions = 0;
    for (QLabel *l : {Label13, Label14, Label15})
        captions = std::max(captions, l->geometry().right() + 1 + 8);
    for (QLabel *l : {laFilePrivada, laFilePedido, laFileSource})
        l->move(std::max(l->x(), captions), l->y());

    // The instructions above the request's folder grow too; the folder, its
    // button and the link move down when they would come too close.
    const int grown = FitWrapLabel(Label11);
    const int below = Label11->geometry().bottom() + 1 + 8 - eCarpetaPedido->y();
    if (grown > 0 && below > 0)
        for (QWidget *w : {static_cast<QWidget *>(eCarpetaPedido),
                           static_cast<QWidget *>(SpeedButton1), static_cast<QWidget *>(Label12),
                           static_cast<QWidget *>(laComoSeguir)})
            w->move(w->x(), w->y() + below);
}

void TfrmZeDede::DescribeForAssistiveTechnologies()
{
    InstallAccessibleWidgets();

    // Each edit is announced by its label's text.
    const struct
    {
        QLabel *Label;
        QWidget *Field;
    } buddies[] = {{Label3, eNombreEmpresa}, {Label4, eCUIT},      {Label5, eOperador},
                   {Label6, eMail},          {Label7, ePassword},  {Label9, ePassword2},
                   {Label8, eCarpeta}};
    for (const auto &b : buddies)
        b.Label->setBuddy(b.Field);

    // The hint shown for a group box is the description of its fields.
    for (QWidget *w : {static_cast<QWidget *>(eNombreEmpresa), static_cast<QWidget *>(eCUIT)})
        w->setAccessibleDescription(HintOrganizacion);
    for (QWidget *w : {eOperador, eMail})
        w->setAccessibleDescription(HintOperador);
    // What the password is, so that nobody types the Clave Fiscal there.
    for (QLineEdit *w : {ePassword, ePassword2}) {
        w->setToolTip(PasswordHint);
        w->setAccessibleDescription(PasswordHint);
    }
    eCarpeta->setAccessibleDescription(HintGeneracion.trimmed());

    sbFolder->setAccessibleName(QStringLiteral("Buscar carpeta destino"));
    sbFolder->setToolTip(sbFolder->accessibleName());
    eCarpetaPedido->setAccessibleName(QStringLiteral("Carpeta del pedido de certificado"));
    eCarpetaPedido->setAccessibleDescription(Label11->text());
    SpeedButton1->setAccessibleName(QStringLiteral("Abrir la carpeta del pedido"));
    SpeedButton1->setToolTip(SpeedButton1->accessibleName());
}

void TfrmZeDede::ShowError(std::exception_ptr AError)
{
    RunGuarded(this, [AError] {
        if (AError)
            std::rethrow_exception(AError);
    });
}

// ---------------------------------------------------------------------------
// Handlers

void TfrmZeDede::FormCreate(QObject *)
{
    SetApplicationTitle(windowTitle());
    CreateLabelVemra();
    UpdatePicture();
}

void TfrmZeDede::FormShow(QObject *)
{
    FPage2Inicializada = false;
    UpdatePicture();
}

void TfrmZeDede::wiztChange(QObject *)
{
    UpdatePicture();
    // The page's enter event comes with the keyboard focus, and the focus
    // reaches a window only while it is active; without a window manager
    // nothing activates the window again after a message box. The default
    // folder must not depend on that.
    if (wizt->ActivePage() == wpDatos)
        wpDatosEnter(wpDatos);
    UpdateEnterKey();
}

void TfrmZeDede::UpdateEnterKey()
{
    // Enter presses the button that looks it: Next, and on the results
    // page, where Next is disabled, Terminar (see keyPressEvent).
    const bool onResults = wizt->ActivePage() == wpFinal;
    wizt->SetNextButtonByDefault(!onResults);
    if (auto *finish = qobject_cast<TBarButtonKv *>(wizt->FinishButton))
        finish->SetDefaultLook(onResults);
}

void TfrmZeDede::keyPressEvent(QKeyEvent *AEvent)
{
    // Enter that the wizard left unused (no focused button took it, and Next
    // is not the default) arrives here.
    const bool enter = AEvent->key() == Qt::Key_Return || AEvent->key() == Qt::Key_Enter;
    const bool plain = (AEvent->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    if (enter && plain && wizt->ActivePage() == wpFinal && wizt->FinishButton->isVisible()
        && wizt->FinishButton->isEnabled()) {
        AEvent->accept();
        wizt->FinishButton->click();
        return;
    }
    QWidget::keyPressEvent(AEvent);
}

void TfrmZeDede::UpdatePicture()
{
    if (wizt->PageCount() > 0 && wizt->Pages(0) == wizt->ActivePage()) {
        wizt->Picture()->Assign(ArtPixmap("IMG_COMPARATIVA_V", devicePixelRatioF()));
        wizt->SetPictureAlign(alPLeft);
    } else {
        const QPixmap small = ArtPixmap("IMG_COMPARATIVA_H", devicePixelRatioF());
        wizt->Picture()->Assign(small);
        wizt->SetPictureAlign(alPTop);
        // Moving from the side strip to the header the image keeps the
        // strip's width, which the strip has just lost: give the header
        // image the picture's width so that it is seen.
        TImageKv *logo = wizt->ImageLogo;
        const int width = wizt->Picture()->Width();
        if (logo->width() < width)
            logo->resize(width, logo->height());
    }
}

void TfrmZeDede::CreateLabelVemra()
{
    QWidget *bar = wizt->CancelButton->parentWidget();
    FLabelVemra = new TLinkLabelKv(bar);
    FLabelVemra->setObjectName(QStringLiteral("FLabelVemra"));
    TWizardKv::SetTag(FLabelVemra, 4);
    FLabelVemra->setGeometry(20, 392, 164, 13);
    FLabelVemra->setText(QStringLiteral("Visite la página de Vemra Revororad S.A."));
    LinkFont(FLabelVemra);
    FLabelVemra->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // The label sizes itself to its caption; the bar then places it.
    FLabelVemra->resize(FLabelVemra->sizeHint().width(), FLabelVemra->height());
    FLabelVemra->OnClick = [this](QObject *Sender) {
        RunGuarded(this, [this, Sender] { LabelVemraClick(Sender); });
    };
    FLabelVemra->show();
    setTabOrder(wizt->CancelButton, FLabelVemra);
}

void TfrmZeDede::wpInicialNextClick(QObject *, bool &Done)
{
    // Once the user agrees the installer runs: the window stays alive.
    std::unique_ptr<TWindowWork> work;
    try {
        Done = PrepareOpenSSL(
            [this, &work](const QString &AMessage) {
                const bool yes = AskYesNo(this, AMessage);
                if (yes) {
                    work = std::make_unique<TWindowWork>(
                        this,
                        QStringLiteral("Se está instalando OpenSSL. ¿Desea cerrar el asistente? "
                                       "La instalación seguirá por su cuenta."),
                        std::vector<QAbstractButton *>{wizt->BackButton, wizt->NextButton,
                                                       wizt->FinishButton, wizt->CancelButton});
                    ShowState(EstadoInstalacion);
                }
                return yes;
            },
            ProgramFolder);
    } catch (...) {
        HideState();
        if (work && work->Stopping())
            throw EAbort(); // the user closes the window: nothing to show
        throw;
    }
    HideState();
    if (work && work->Stopping())
        Done = false;
}

void TfrmZeDede::wpDatosEnter(QObject *)
{
    if (FPage2Inicializada)
        return;
    eCarpeta->setText(StartFolder.isEmpty() ? DefaultCertificatesFolder() : StartFolder);
    FPage2Inicializada = true;
}

TRequestData TfrmZeDede::RequestData() const
{
    TRequestData d;
    d.NombreEmpresa = eNombreEmpresa->text();
    d.CUIT = eCUIT->Text();
    d.Operador = eOperador->text();
    d.Mail = eMail->text();
    d.Password = ePassword->text();
    d.Password2 = ePassword2->text();
    d.Carpeta = eCarpeta->text();
    return d;
}

void TfrmZeDede::wpDatosDoneQuery(QObject *, bool &Done)
{
    Done = DataComplete(RequestData());
}

void TfrmZeDede::wpDatosNextClick(QObject *, bool &)
{
    ValidateData();
    GenerateRequest();
}

void TfrmZeDede::FocusField(TDataField AField)
{
    QLineEdit *e = nullptr;
    switch (AField) {
    case TDataField::NombreEmpresa: e = eNombreEmpresa; break;
    case TDataField::CUIT: e = eCUIT; break;
    case TDataField::Operador: e = eOperador; break;
    case TDataField::Mail: e = eMail; break;
    case TDataField::Password: e = ePassword; break;
    case TDataField::Password2: e = ePassword2; break;
    case TDataField::Carpeta: e = eCarpeta; break;
    case TDataField::None: break;
    }
    if (e)
        e->setFocus(Qt::OtherFocusReason);
}

void TfrmZeDede::ValidateData()
{
    TRequestData data = RequestData();
    data.Carpeta = ValidateRequestData(data, [this](TDataField AField) { FocusField(AField); });
    FDatos = data;
}

void TfrmZeDede::GenerateRequest()
{
    TWindowWork work(this,
                     QStringLiteral("Se está generando el pedido de certificado. ¿Desea "
                                    "interrumpir la generación y cerrar el asistente?"),
                     {wizt->BackButton, wizt->NextButton, wizt->FinishButton, wizt->CancelButton,
                      sbFolder});
    TRequestResult r;
    try {
        r = GenerateRequestFiles(FDatos, [this](TGenerationStep AStep) {
            switch (AStep) {
            case TGenerationStep::Waiting: ShowState(EstadoEspera, true); break;
            case TGenerationStep::Key: ShowState(EstadoClave); break;
            case TGenerationStep::Request: ShowState(EstadoPedido); break;
            }
        });
    } catch (...) {
        HideState();
        if (work.Stopping() || work.CancelledByUser())
            throw EAbort(); // the user closes the window or gave up: nothing to show
        throw;
    }
    HideState();
    if (work.Stopping())
        throw EAbort(); // done, but the user closes the window
    laFilePrivada->setText(r.FilePrivada);
    laFilePrivada->adjustSize();
    laFilePedido->setText(r.FilePedido);
    laFilePedido->adjustSize();
    laFileSource->setText(r.FileSource);
    laFileSource->adjustSize();
    eCarpetaPedido->setText(r.CarpetaPedido);
    ShowKeptFiles(r);
    FResult = r;
    if (FGuia)
        FGuia->ShowFiles(NativePath(r.CarpetaPedido), r.FilePrivada, r.FilePedido, r.FileSource);
    if (OnGenerated)
        OnGenerated(r);
}

void TfrmZeDede::ShowKeptFiles(const TRequestResult &AResult)
{
    const struct
    {
        QLabel *Label;
        QString File;
    } rows[] = {{laKeptPrivada, AResult.KeyFile},
                {laKeptPedido, AResult.RequestFile},
                {laKeptSource, AResult.SourceFile}};
    for (const auto &row : rows) {
        QString kept;
        for (const QString &k : AResult.KeptFiles)
            if (!row.File.isEmpty() && k.startsWith(row.File + QLatin1Char('.')))
                kept = QFileInfo(k).fileName();
        if (kept.isEmpty()) {
            row.Label->clear();
            row.Label->hide();
            continue;
        }
        const QString text = QStringLiteral("El anterior se conservó como %1").arg(kept);
        row.Label->setToolTip(text);
        row.Label->setAccessibleName(text);
        // Shown short, so that the kept name fits whole when it can.
        row.Label->setText(row.Label->fontMetrics().elidedText(
            QStringLiteral("Anterior: %1").arg(kept), Qt::ElideMiddle, row.Label->width()));
        row.Label->show();
    }
}

void TfrmZeDede::ShowGuide()
{
    if (!FGuia) {
        FGuia = new TfrmComoSeguir(this);
        FGuia->setAttribute(Qt::WA_DeleteOnClose);
        FGuia->SetOnVerify([this] {
            if (WindowOpeners().Check)
                WindowOpeners().Check(QString(), FResult.CarpetaPedido);
        });
        if (!FResult.FilePedido.isEmpty())
            FGuia->ShowFiles(NativePath(FResult.CarpetaPedido), FResult.FilePrivada,
                             FResult.FilePedido, FResult.FileSource);
    }
    FGuia->show();
    FGuia->raise();
    FGuia->activateWindow();
}

void TfrmZeDede::eNombreEmpresaChange(QObject *)
{
    wizt->CheckDone();
}

void TfrmZeDede::GroupBox1Enter(QObject *)
{
    cxLabelHint->setText(HintOrganizacion);
}

void TfrmZeDede::cxGroupBox4Enter(QObject *)
{
    cxLabelHint->setText(HintOperador);
}

void TfrmZeDede::cxGroupBox2Enter(QObject *)
{
    cxLabelHint->setText(HintGeneracion);
}

void TfrmZeDede::sbFolderClick(QObject *)
{
    BrowseFolderDlgKV1->SetFolderName(eCarpeta->text());
    if (BrowseFolderDlgKV1->Execute())
        eCarpeta->setText(BrowseFolderDlgKV1->FolderName());
}

void TfrmZeDede::SpeedButton1Click(QObject *)
{
    TUserDialogs::Current().OpenUrl(QUrl::fromLocalFile(eCarpetaPedido->text()));
}

void TfrmZeDede::Label12Click(QObject *)
{
    TUserDialogs::Current().OpenUrl(QUrl(AfipLoginUrl));
}

void TfrmZeDede::LabelVemraClick(QObject *)
{
    TUserDialogs::Current().OpenUrl(QUrl(VemraUrl));
}

TfrmComoSeguir *TfrmZeDede::Guide() const
{
    return FGuia.data();
}

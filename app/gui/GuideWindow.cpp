#include "GuideWindow.h"

#include "AccessibleWidgets.h"
#include "HeadingLabel.h"
#include "ProgramLook.h"
#include "UserInterfaceFont.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QVBoxLayout>

#include <algorithm>

namespace {

struct TSection
{
    const char *Heading;
    std::initializer_list<const char *> Paragraphs;
};

// The guide's text. Names of services and buttons are written as the
// authority's site shows them.
const TSection kSections[] = {
    {"Antes de empezar",
     {"Necesita la Clave Fiscal de la empresa, o la de una persona autorizada a operar en su "
      "nombre, con nivel de seguridad 3 o superior, para entrar al sitio de ARCA (ex AFIP).",
      "Decida si el certificado es para producción (las facturas reales) o para homologación "
      "(las pruebas del sistema de ventas). Son certificados distintos y se piden en lugares "
      "distintos; el mismo pedido (.req) sirve para los dos.",
      "La contraseña que escribió en este asistente es solo la contraseña del pedido y queda "
      "escrita dentro de él. No es su Clave Fiscal y ARCA no se la pedirá."}},
    {"Producción: obtener el certificado",
     {"1. Ingrese con su Clave Fiscal al sitio de ARCA (ex AFIP) y abra el servicio "
      "«Administración de Certificados Digitales». Si no está en su lista de servicios, "
      "agréguelo primero desde el «Administrador de Relaciones de Clave Fiscal», con «Adherir "
      "servicio».",
      "2. Si representa a más de una persona, elija la CUIT para la que pide el certificado.",
      "3. Pulse «Agregar alias». Escriba un alias: un nombre corto que identifique a este "
      "sistema de facturación (por ejemplo, facturacion). Con «Examinar» elija el pedido "
      "Pedido_….req que generó este asistente y pulse «Agregar alias».",
      "4. En la lista de alias pulse «Ver» junto al alias nuevo y descargue el certificado. Es "
      "un archivo con extensión .crt.",
      "5. Guarde el certificado en la misma carpeta donde está la clave privada (la carpeta "
      "que muestra la página de resultados). Así la verificación encuentra la clave que le "
      "corresponde."}},
    {"Producción: autorizar el certificado para factura electrónica",
     {"El certificado solo no alcanza: hay que autorizar al alias a usar el servicio web de "
      "factura electrónica.",
      "1. Vuelva a la lista de servicios y abra el «Administrador de Relaciones de Clave "
      "Fiscal».",
      "2. Pulse «Nueva Relación». En «Servicio» pulse «Buscar» y elija ARCA, luego «WebServices» "
      "y luego «Facturación electrónica» (wsfe).",
      "3. En «Representante» pulse «Buscar» y elija el computador fiscal: el alias que creó al "
      "obtener el certificado.",
      "4. Pulse «Confirmar». Sin esta relación el sistema de ventas no obtiene la autorización "
      "(CAE) de sus facturas, aunque el certificado sea válido."}},
    {"Homologación (pruebas)",
     {"Los certificados de prueba se obtienen en el servicio «WSASS - Autogestión Certificados "
      "Homologación»; agréguelo con el «Administrador de Relaciones de Clave Fiscal» si no lo "
      "tiene. Un certificado de homologación solo sirve para los servidores de prueba: no "
      "autoriza facturas reales.",
      "1. En WSASS elija «Nuevo Certificado». Escriba un nombre para el certificado (el alias) y "
      "pegue el contenido del pedido: abra Pedido_….req con un editor de textos y copie todo su "
      "texto, incluidas las líneas BEGIN y END.",
      "2. Pulse «Crear DN y obtener certificado». Copie el certificado que aparece y guárdelo "
      "como archivo .crt en la carpeta de la clave privada.",
      "3. En «Crear autorización a servicio» elija ese certificado y el servicio «wsfe - "
      "Facturación Electrónica», y cree la autorización."}},
    {"Compruebe el certificado",
     {"Abra «Verificar certificado» (el botón de esta guía, la acción «Verificar certificado» "
      "de ZeDede en el menú de aplicaciones, o arrastre el archivo .crt sobre la ventana del "
      "asistente) y elija el certificado descargado. Muestra el titular, la CUIT, si es de "
      "producción o de homologación, hasta cuándo vale y si la clave privada de la carpeta le "
      "corresponde."}},
    {"Guarde una copia de la clave privada",
     {"La clave privada (Privada_….key) no tiene contraseña: quien tenga una copia puede "
      "identificarse como su empresa ante ARCA. No la envíe por correo ni la suba a ningún "
      "sitio; ARCA nunca la pide.",
      "Copie la clave, el certificado y la identificación de origen a un medio seguro (por "
      "ejemplo, un pendrive que se guarde bajo llave) y no deje otras copias. Si pierde la "
      "clave, el certificado ya no sirve: deberá generar un pedido nuevo y pedir otro "
      "certificado."}},
    {"Cargue los archivos en el sistema de ventas",
     {"En KORVO Ventas, en la opción «Parámetros» del proceso «Administración de comprobantes "
      "electrónicos», indique la clave privada (.key), el certificado (.crt) y la "
      "identificación de origen (Source_….txt).",
      "Cuando el certificado esté por vencer, genere un pedido nuevo con este asistente y repita "
      "estos pasos. Si lo genera en la misma carpeta, los archivos anteriores se conservan con "
      "la extensión .bak."}},
};

QLabel *Paragraph(const QString &AText, QWidget *AParent)
{
    auto *l = new QLabel(AParent);
    l->setTextFormat(Qt::PlainText);
    l->setText(AText);
    l->setWordWrap(true);
    l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    l->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return l;
}

} // namespace

const QString TfrmComoSeguir::Caption =
    QStringLiteral("Cómo seguir - certificado digital de ARCA (ex AFIP)");

TfrmComoSeguir::TfrmComoSeguir(QWidget *AParent)
    : QDialog(AParent, Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    InstallAccessibleWidgets();
    BuildForm();
}

void TfrmComoSeguir::BuildForm()
{
    setObjectName(QStringLiteral("frmComoSeguir"));
    setWindowTitle(Caption);
    setWindowIcon(ProgramIcon());
    setFont(UserInterfaceFont());
    setAccessibleName(QStringLiteral("Cómo seguir"));

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->setSpacing(10);

    saGuia = new QScrollArea(this);
    saGuia->setObjectName(QStringLiteral("saGuia"));
    saGuia->setWidgetResizable(true);
    saGuia->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    saGuia->setFocusPolicy(Qt::StrongFocus);
    saGuia->setAccessibleName(QStringLiteral("Pasos para obtener y usar el certificado"));
    auto *contents = new QWidget(saGuia);
    contents->setObjectName(QStringLiteral("contents"));
    contents->setAutoFillBackground(true);
    QPalette p = contents->palette();
    p.setColor(QPalette::Window, Qt::white);
    p.setColor(QPalette::WindowText, Qt::black);
    contents->setPalette(p);
    auto *text = new QVBoxLayout(contents);
    text->setContentsMargins(14, 12, 14, 14);
    text->setSpacing(6);

    auto *title = new THeadingLabel(QStringLiteral("Cómo seguir después de generar el pedido"),
                                    contents);
    title->setObjectName(QStringLiteral("laTitulo"));
    QFont big = title->font();
    big.setPixelSize(big.pixelSize() + 3);
    title->setFont(big);
    text->addWidget(title);
    Headings << title;
    laArchivos = Paragraph(
        QStringLiteral("Este asistente generó tres archivos: la clave privada (Privada_….key), el "
                       "pedido de certificado (Pedido_….req) y la identificación de origen "
                       "(Source_….txt). El certificado lo emite ARCA (ex AFIP) a partir del "
                       "pedido; estos son los pasos que siguen."),
        contents);
    laArchivos->setObjectName(QStringLiteral("laArchivos"));
    text->addWidget(laArchivos);
    Paragraphs << laArchivos;

    for (const TSection &section : kSections) {
        text->addSpacing(8);
        auto *heading = new THeadingLabel(QString::fromUtf8(section.Heading), contents);
        text->addWidget(heading);
        Headings << heading;
        for (const char *paragraph : section.Paragraphs) {
            QLabel *l = Paragraph(QString::fromUtf8(paragraph), contents);
            text->addWidget(l);
            Paragraphs << l;
        }
    }
    text->addStretch(1);
    saGuia->setWidget(contents);
    layout->addWidget(saGuia, 1);

    auto *buttons = new QHBoxLayout;
    btVerificar = new QPushButton(QStringLiteral("&Verificar certificado..."), this);
    btVerificar->setObjectName(QStringLiteral("btVerificar"));
    btVerificar->setAutoDefault(false);
    btVerificar->hide();
    connect(btVerificar, &QPushButton::clicked, this, [this] {
        if (FOnVerify)
            FOnVerify();
    });
    btCerrar = new QPushButton(QStringLiteral("&Cerrar"), this);
    btCerrar->setObjectName(QStringLiteral("btCerrar"));
    btCerrar->setDefault(true);
    connect(btCerrar, &QPushButton::clicked, this, &QDialog::close);
    buttons->addWidget(btVerificar);
    buttons->addStretch(1);
    buttons->addWidget(btCerrar);
    layout->addLayout(buttons);

    // As large as it reads well, never larger than the screen.
    QSize size(640, 560);
    const QScreen *screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
    if (screen) {
        const QRect avail = screen->availableGeometry();
        size = size.boundedTo(avail.size() - QSize(40, 60));
        resize(size);
        move(avail.left() + (avail.width() - width()) / 2,
             avail.top() + (avail.height() - height()) / 2);
    } else {
        resize(size);
    }
    setMinimumSize(std::min(320, size.width()), std::min(240, size.height()));
    saGuia->setFocus();
}

void TfrmComoSeguir::ShowFiles(const QString &AFolder, const QString &AKey,
                               const QString &ARequest, const QString &ASource)
{
    laArchivos->setText(
        QStringLiteral("Este asistente generó tres archivos en la carpeta %1: la clave privada "
                       "%2, el pedido de certificado %3 y la identificación de origen %4. El "
                       "certificado lo emite ARCA (ex AFIP) a partir del pedido; estos son los "
                       "pasos que siguen.")
            .arg(AFolder, AKey, ARequest, ASource));
}

void TfrmComoSeguir::SetOnVerify(std::function<void()> AOnVerify)
{
    FOnVerify = std::move(AOnVerify);
    btVerificar->setVisible(bool(FOnVerify));
}

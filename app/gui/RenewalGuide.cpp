#include "RenewalGuide.h"

#include "Paths.h"
#include "UserDialogs.h"
#include "UserInterfaceFont.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

const QString TfrmGuiaRenovacion::Caption = QStringLiteral("Cómo seguir con la renovación");

QStringList RenewalGuideSteps(TIssuerKind Environment, const QString &Alias,
                              const QString &RequestFile, const QString &RenewalFolder)
{
    const QString request = QFileInfo(RequestFile).fileName();
    const QString upload =
        Environment == TIssuerKind::Testing
            ? QStringLiteral("Suba el pedido nuevo (%1) en el sitio de autogestión de "
                             "certificados de homologación (pruebas) de la A.F.I.P., para el "
                             "alias «%2».")
                  .arg(request, Alias)
            : QStringLiteral("Ingrese con su clave fiscal al servicio «Administración de "
                             "Certificados Digitales» de la A.F.I.P., elija el alias existente "
                             "«%2», pulse «Agregar certificado» y suba el pedido nuevo (%1).")
                  .arg(request, Alias);
    return {upload,
            QStringLiteral("Guarde el certificado que le devuelva la A.F.I.P. en la carpeta de "
                           "la renovación: %1")
                .arg(NativePath(RenewalFolder)),
            QStringLiteral("Verifíquelo con ZeDede («Verificar certificado»). Cuando diga que es "
                           "válido, pulse «Usar este certificado»: la clave y el certificado "
                           "anteriores pasan a la carpeta «Anteriores» y los nuevos toman sus "
                           "nombres."),
            QStringLiteral("Solo entonces cargue el certificado nuevo y su clave en el sistema de "
                           "ventas. Hasta ese momento la clave y el certificado en uso siguen en "
                           "su lugar, sin cambios.")};
}

TfrmGuiaRenovacion::TfrmGuiaRenovacion(TIssuerKind Environment, const QString &Alias,
                                       const QString &RequestFile, const QString &RenewalFolder,
                                       QWidget *AParent)
    : QWidget(AParent, Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      FFolder(RenewalFolder)
{
    setObjectName(QStringLiteral("frmGuiaRenovacion"));
    setWindowTitle(Caption);
    setFont(UserInterfaceFont());
    setAttribute(Qt::WA_DeleteOnClose);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 16, 20, 16);
    layout->setSpacing(10);
    laTitulo = new QLabel(QStringLiteral("Se generaron los archivos de la renovación. Pasos "
                                         "que siguen:"),
                          this);
    laTitulo->setObjectName(QStringLiteral("laTitulo"));
    QFont bold = laTitulo->font();
    bold.setBold(true);
    laTitulo->setFont(bold);
    layout->addWidget(laTitulo);
    const QStringList steps = RenewalGuideSteps(Environment, Alias, RequestFile, RenewalFolder);
    for (int i = 0; i < steps.size(); ++i) {
        auto *l = new QLabel(QStringLiteral("%1. %2").arg(i + 1).arg(steps.at(i)), this);
        l->setObjectName(QStringLiteral("laPaso%1").arg(i + 1));
        l->setTextFormat(Qt::PlainText);
        l->setWordWrap(true);
        l->setTextInteractionFlags(Qt::TextSelectableByMouse);
        layout->addWidget(l);
        laPasos << l;
    }
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    btAbrirCarpeta = new QPushButton(QStringLiteral("Abrir la carpeta de la renovación"), this);
    btAbrirCarpeta->setObjectName(QStringLiteral("btAbrirCarpeta"));
    btAbrirCarpeta->setAutoDefault(false);
    connect(btAbrirCarpeta, &QPushButton::clicked, this,
            [this] { TUserDialogs::Current().OpenUrl(QUrl::fromLocalFile(FFolder)); });
    btCerrar = new QPushButton(QStringLiteral("Cerrar"), this);
    btCerrar->setObjectName(QStringLiteral("btCerrar"));
    btCerrar->setDefault(true);
    connect(btCerrar, &QPushButton::clicked, this, &QWidget::close);
    buttons->addWidget(btAbrirCarpeta);
    buttons->addWidget(btCerrar);
    layout->addLayout(buttons);
    setFixedWidth(560);
    setFixedHeight(heightForWidth(560) > 0 ? heightForWidth(560) : sizeHint().height());
}

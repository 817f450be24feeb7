#include "VerifyWindow.h"

#include "DataValidation.h"
#include "ErrorLog.h"
#include "FormStyle.h"
#include "GuideWindow.h"
#include "Paths.h"
#include "PfxExport.h"
#include "UCWWizard.h"
#include "UserInterfaceFont.h"
#include "Shape.h"
#include "WellKnownFolders.h"
#include "MessageBoxes.h"
#include "UserDialogs.h"
#include "ProgramLook.h"
#include "WindowWork.h"
#include "VerifyRenewalActions.h"
#include "WindowOpeners.h"
#include "ZeDedeArt.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLineEdit>
#include <QMimeData>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QToolButton>
#include <QUrl>

#include <exception>

namespace {

const QColor kProblemText(150, 0, 0);
constexpr int kWidth = TfrmVerificar::ClientWidth;
constexpr int kHeight = TfrmVerificar::ClientHeight;
constexpr int kValueLeft = 150;

QFont BoldFont()
{
    QFont f = UserInterfaceFont();
    f.setBold(true);
    return f;
}

QLabel *TextLabel(QWidget *AParent, int ALeft, int ATop, const QString &AText, bool ABold = true)
{
    auto *l = new QLabel(AText, AParent);
    if (ABold)
        l->setFont(BoldFont());
    l->move(ALeft, ATop);
    l->adjustSize();
    return l;
}

// A value label: selectable, as wide as its row.
QLabel *Value(QWidget *AParent, const char *AName, int ATop, int AWidth, int AHeight = 16)
{
    auto *l = new QLabel(AParent);
    l->setObjectName(QLatin1String(AName));
    l->setGeometry(kValueLeft, ATop, AWidth, AHeight);
    l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    l->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // Values come from files: never read as rich text.
    l->setTextFormat(Qt::PlainText);
    return l;
}

QToolButton *SpeedButton(QWidget *AParent, const char *AName, const QRect &ABounds)
{
    auto *b = new QToolButton(AParent);
    b->setObjectName(QLatin1String(AName));
    b->setText(QStringLiteral("..."));
    b->setGeometry(ABounds);
    b->setFocusPolicy(Qt::NoFocus);
    return b;
}

QPushButton *Button(QWidget *AParent, const char *AName, const QString &AText,
                    const QRect &ABounds)
{
    auto *b = new QPushButton(AText, AParent);
    b->setObjectName(QLatin1String(AName));
    b->setAutoDefault(false);
    b->setGeometry(ABounds);
    return b;
}

QString FingerprintLines(const QString &AFingerprint)
{
    // 32 bytes as two lines of 16.
    const int half = AFingerprint.size() / 2 + 1;
    if (AFingerprint.size() < 40 || AFingerprint.at(half - 1) != QLatin1Char(':'))
        return AFingerprint;
    return AFingerprint.left(half) + QLatin1Char('\n') + AFingerprint.mid(half);
}

// The file a typed or pasted text names: as it is when such a file exists;
// otherwise without surrounding blanks and quotes, and a file:// address as
// its local file.
QString TypedPath(const QString &AText)
{
    if (AText.isEmpty() || QFileInfo::exists(AText))
        return AText;
    QString t = AText.trimmed();
    if (t.size() >= 2 && t.startsWith(QLatin1Char('"')) && t.endsWith(QLatin1Char('"')))
        t = t.mid(1, t.size() - 2);
    if (t.startsWith(QLatin1String("file://")))
        t = QUrl(t).toLocalFile();
    return t;
}

QString LocalFile(const QMimeData *AData)
{
    if (!AData || !AData->hasUrls())
        return QString();
    for (const QUrl &url : AData->urls())
        if (url.isLocalFile())
            return url.toLocalFile();
    return QString();
}

class TCertificateDropFilter : public QObject
{
public:
    TCertificateDropFilter(QWidget *AWindow, std::function<void(const QString &)> AOpen)
        : QObject(AWindow), FWindow(AWindow), FOpen(std::move(AOpen))
    {
    }

    bool eventFilter(QObject *AWatched, QEvent *AEvent) override
    {
        const QEvent::Type t = AEvent->type();
        if (t != QEvent::DragEnter && t != QEvent::DragMove && t != QEvent::Drop)
            return false;
        if (!FWindow || !AWatched->isWidgetType()
            || static_cast<QWidget *>(AWatched)->window() != FWindow)
            return false;
        auto *drop = static_cast<QDropEvent *>(AEvent);
        const QString file = LocalFile(drop->mimeData());
        if (file.isEmpty())
            return false;
        drop->setDropAction(Qt::CopyAction);
        drop->accept();
        if (t == QEvent::Drop) {
            // Opened once the drop has ended, outside the drag's own loop.
            auto open = FOpen;
            QMetaObject::invokeMethod(
                this, [open, file] { open(file); }, Qt::QueuedConnection);
        }
        return true;
    }

private:
    QPointer<QWidget> FWindow;
    std::function<void(const QString &)> FOpen;
};

} // namespace

const QString TfrmVerificar::Caption = QStringLiteral("Verificar certificado");

namespace {

const QString kCertificateFilter =
    QStringLiteral("Certificados y claves (*.crt *.cer *.pem *.der *.key);;"
                   "Todos los archivos (*)");
// Keys of any name: every file first, then the usual names.
const QString kKeyFilter =
    QStringLiteral("Todos los archivos (*);;Claves privadas (*.key *.pem *.bak *.der)");
const QString kPfxFilter =
    QStringLiteral("Archivos PKCS#12 (*.pfx *.p12);;Todos los archivos (*)");
const QString kLogContext = QStringLiteral("Verificación de certificado");

} // namespace

TfrmVerificar::TfrmVerificar(QWidget *AParent)
    : QWidget(AParent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                           | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint)
{
    BuildForm();
    Clear();
    AcceptCertificateDrops(this, [this](const QString &AFile) { OpenFile(AFile); });
}

TfrmVerificar::~TfrmVerificar() = default;

TfrmComoSeguir *TfrmVerificar::Guide() const
{
    return FGuia.data();
}

void TfrmVerificar::BuildForm()
{
    setObjectName(QStringLiteral("frmVerificar"));
    setWindowTitle(Caption);
    setFont(UserInterfaceFont());
    setFixedSize(kWidth, kHeight);
    if (QScreen *s = QGuiApplication::primaryScreen()) {
        const QRect avail = s->availableGeometry();
        move(avail.left() + (avail.width() - width()) / 2,
             avail.top() + (avail.height() - height()) / 2);
    }

    // Header band, as the wizard's pages have it.
    auto *header = new TShapeKv(this, Qt::white);
    header->setGeometry(-1, -1, kWidth + 2, 54);
    auto *title = TextLabel(this, 20, 13, QStringLiteral("Verificar certificado"));
    title->setObjectName(QStringLiteral("TopTitle"));
    auto *text = TextLabel(this, 45, 30,
                         QStringLiteral("Compruebe el certificado emitido por la A.F.I.P., su "
                                        "clave privada y su vencimiento."),
                         false);
    text->setObjectName(QStringLiteral("TopText"));
    auto *logo = new TImageKv(this);
    logo->Align = TAlignKv::alNone;
    const QPixmap small = QPixmap::fromImage(ZeDedeArtImage("IMG_COMPARATIVA_H"));
    logo->Picture()->Assign(small);
    logo->SetTransparent(true);
    logo->setGeometry(kWidth - small.width() - 5, (52 - small.height()) / 2, small.width(),
                      small.height());

    // The file
    // A path typed or pasted in the field is checked with Enter.
    laArchivo = TextLabel(this, 24, 72, QStringLiteral("&Archivo:"), false);
    eArchivo = new QLineEdit(this);
    eArchivo->setObjectName(QStringLiteral("eArchivo"));
    eArchivo->setGeometry(96, 68, kWidth - 96 - 24 - 27, 21);
    eArchivo->setToolTip(QStringLiteral("Escriba o pegue la ruta del archivo y pulse Intro."));
    laArchivo->setBuddy(eArchivo);
    connect(eArchivo, &QLineEdit::returnPressed, this, [this] {
        const QString typed = TypedPath(eArchivo->text());
        if (!typed.isEmpty())
            OpenFile(QFileInfo(typed).absoluteFilePath());
    });
    sbArchivo = SpeedButton(this, "sbArchivo", QRect(kWidth - 24 - 23, 67, 23, 22));
    sbArchivo->setShortcut(QKeySequence(QStringLiteral("Alt+E")));
    sbArchivo->setToolTip(QStringLiteral("Elegir el archivo (Alt+E)"));
    sbArchivo->setAccessibleName(QStringLiteral("Elegir el archivo"));
    connect(sbArchivo, &QToolButton::clicked, this, [this] {
        const QString folder = eArchivo->text().isEmpty()
                                   ? DefaultCertificatesFolder()
                                   : QFileInfo(eArchivo->text()).absolutePath();
        const QString file = TUserDialogs::Current().ChooseOpenFile(
            this, QStringLiteral("Elegir el certificado"), folder, kCertificateFilter);
        if (!file.isEmpty())
            OpenFile(file);
    });

    // The certificate
    const int groupWidth = kWidth - 32;
    const int valueWidth = groupWidth - kValueLeft - 12;
    gbCertificado = new QGroupBox(QStringLiteral("  Certificado  "), this);
    gbCertificado->setObjectName(QStringLiteral("gbCertificado"));
    gbCertificado->setGeometry(16, 100, groupWidth, 222);
    const struct
    {
        const char *Caption;
        const char *Name;
        QLabel **Field;
    } rows[] = {{"Tipo de archivo:", "laTipo", &laTipo},
                {"Titular:", "laTitular", &laTitular},
                {"C.U.I.T.:", "laCUIT", &laCUIT},
                {"Emisor:", "laEmisor", &laEmisor},
                {"Autoridad:", "laAutoridad", &laAutoridad},
                {"Válido desde:", "laDesde", &laDesde},
                {"Válido hasta:", "laHasta", &laHasta},
                {"Días restantes:", "laDias", &laDias},
                {"Huella SHA-256:", "laHuella", &laHuella}};
    int top = 24;
    for (const auto &row : rows) {
        TextLabel(gbCertificado, 16, top, QString::fromUtf8(row.Caption));
        const bool twoLines = row.Field == &laHuella;
        *row.Field = Value(gbCertificado, row.Name, top, valueWidth, twoLines ? 30 : 16);
        top += 20;
    }

    // The key
    gbClave = new QGroupBox(QStringLiteral("  Clave privada  "), this);
    gbClave->setObjectName(QStringLiteral("gbClave"));
    gbClave->setGeometry(16, 330, groupWidth, 64);
    laClave = new QLabel(gbClave);
    laClave->setObjectName(QStringLiteral("laClave"));
    laClave->setWordWrap(true);
    laClave->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    laClave->setTextInteractionFlags(Qt::TextSelectableByMouse);
    laClave->setTextFormat(Qt::PlainText);
    laClave->setGeometry(16, 20, groupWidth - 16 - 120 - 28, 36);
    btElegirClave = Button(gbClave, "btElegirClave", QStringLiteral("Ele&gir clave..."),
                           QRect(groupWidth - 16 - 120, 24, 120, 25));
    connect(btElegirClave, &QPushButton::clicked, this, [this] {
        const QString file = TUserDialogs::Current().ChooseOpenFile(
            this, QStringLiteral("Elegir la clave privada"),
            QFileInfo(FVerification.File).absolutePath(), kKeyFilter);
        if (!file.isEmpty())
            PickKey(file);
    });

    // The .pfx
    gbPfx = new QGroupBox(QStringLiteral("  Exportar como PKCS#12 (.pfx)  "), this);
    gbPfx->setObjectName(QStringLiteral("gbPfx"));
    gbPfx->setGeometry(16, 402, groupWidth, 112);
    QLabel *laPfx = TextLabel(gbPfx, 16, 28, QStringLiteral("Archivo .&pfx:"), false);
    ePfx = new QLineEdit(gbPfx);
    laPfx->setBuddy(ePfx);
    ePfx->setObjectName(QStringLiteral("ePfx"));
    ePfx->setGeometry(kValueLeft, 24, valueWidth - 27, 21);
    sbPfx = SpeedButton(gbPfx, "sbPfx", QRect(kValueLeft + valueWidth - 23, 23, 23, 22));
    sbPfx->setShortcut(QKeySequence(QStringLiteral("Alt+L")));
    sbPfx->setToolTip(QStringLiteral("Elegir dónde guardar el archivo .pfx (Alt+L)"));
    sbPfx->setAccessibleName(QStringLiteral("Elegir dónde guardar el archivo .pfx"));
    connect(sbPfx, &QToolButton::clicked, this, [this] {
        const QString file = TUserDialogs::Current().ChooseSaveFile(
            this, QStringLiteral("Guardar el archivo .pfx"), ePfx->text(), kPfxFilter);
        if (!file.isEmpty())
            ePfx->setText(file);
    });
    auto *star = new TStarPasswordStyle;
    star->setParent(this);
    QLabel *laPassword = TextLabel(gbPfx, 16, 56, QStringLiteral("C&ontraseña:"), false);
    ePassword = new QLineEdit(gbPfx);
    laPassword->setBuddy(ePassword);
    ePassword->setObjectName(QStringLiteral("ePassword"));
    ePassword->setGeometry(kValueLeft, 52, 153, 21);
    ePassword->setEchoMode(QLineEdit::Password);
    ePassword->setStyle(star);
    TextLabel(gbPfx, kValueLeft + 161, 56, QStringLiteral("(de 4 a 20 caracteres)"), false);
    QLabel *laPassword2 =
        TextLabel(gbPfx, 16, 84, QStringLiteral("&Reingrese la contraseña:"), false);
    ePassword2 = new QLineEdit(gbPfx);
    laPassword2->setBuddy(ePassword2);
    ePassword2->setObjectName(QStringLiteral("ePassword2"));
    ePassword2->setGeometry(kValueLeft, 80, 153, 21);
    ePassword2->setEchoMode(QLineEdit::Password);
    ePassword2->setStyle(star);
    btExportar = Button(gbPfx, "btExportar", QStringLiteral("E&xportar .pfx"),
                        QRect(groupWidth - 16 - 120, 78, 120, 25));
    connect(btExportar, &QPushButton::clicked, this, [this] { ExportPfx(); });

    // The result line
    shResultado = new TShapeKv(this, kLightYellow);
    shResultado->setGeometry(16, 524, groupWidth, 50);
    imResultado = new TImageKv(this);
    imResultado->Align = TAlignKv::alNone;
    imResultado->setGeometry(23, 533, 20, 20);
    imResultado->Picture()->Assign(QPixmap::fromImage(ZeDedeArtImage("info13")));
    imResultado->SetTransparent(true);
    laResultado = new QLabel(this);
    laResultado->setObjectName(QStringLiteral("laResultado"));
    laResultado->setWordWrap(true);
    laResultado->setTextFormat(Qt::PlainText);
    laResultado->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    laResultado->setGeometry(47, 532, groupWidth - 40, 40);

    // The bottom row: the renewal's two actions at the left, the guide and
    // Cerrar at the right.
    btComoSeguir = Button(this, "btComoSeguir", QStringLiteral("Cómo &seguir..."),
                          QRect(kWidth - 16 - 75 - 8 - 130, kHeight - 37, 130, 25));
    btComoSeguir->setToolTip(QStringLiteral("Los pasos en ARCA (ex AFIP) para obtener el "
                                            "certificado y usarlo"));
    connect(btComoSeguir, &QPushButton::clicked, this, [this] {
        if (!FGuia) {
            FGuia = new TfrmComoSeguir(this);
            FGuia->setAttribute(Qt::WA_DeleteOnClose);
        }
        FGuia->show();
        FGuia->raise();
        FGuia->activateWindow();
    });
    btCerrar = Button(this, "btCerrar", QStringLiteral("&Cerrar"),
                      QRect(kWidth - 16 - 75, kHeight - 37, 75, 25));
    connect(btCerrar, &QPushButton::clicked, this, &QWidget::close);
    btRenovar = Button(this, "btRenovar", QStringLiteral("Re&novar"),
                       QRect(16, kHeight - 37, 90, 25));
    connect(btRenovar, &QPushButton::clicked, this,
            [this] { RenewFromCheck(this, FVerification); });
    btUsarCertificado = Button(this, "btUsarCertificado", QStringLiteral("&Usar este certificado"),
                               QRect(114, kHeight - 37, 160, 25));
    connect(btUsarCertificado, &QPushButton::clicked, this, [this] {
        const QString placed = SwitchFromCheck(this, FVerification);
        if (!placed.isEmpty())
            OpenFile(placed);
    });
    btMisCertificados = Button(this, "btMisCertificados", QStringLiteral("&Mis certificados..."),
                               QRect(282, kHeight - 37, 125, 25));
    btMisCertificados->setEnabled(bool(WindowOpeners().Book));
    connect(btMisCertificados, &QPushButton::clicked, this, [this] {
        if (WindowOpeners().Book)
            WindowOpeners().Book(DefaultFolder);
    });
    setTabOrder(btRenovar, btUsarCertificado);
    setTabOrder(btUsarCertificado, btMisCertificados);
    setTabOrder(btMisCertificados, btComoSeguir);
    setTabOrder(btComoSeguir, btCerrar);

    setTabOrder(eArchivo, ePfx);
    setTabOrder(ePfx, ePassword);
    setTabOrder(ePassword, ePassword2);
    setTabOrder(ePassword2, btExportar);
    setTabOrder(btExportar, btElegirClave);
    setTabOrder(btElegirClave, btComoSeguir);
    setTabOrder(btComoSeguir, btCerrar);
}

QDateTime TfrmVerificar::Moment() const
{
    return Now.isValid() ? Now : QDateTime::currentDateTimeUtc();
}

void TfrmVerificar::Clear()
{
    FVerification = TVerification();
    FHasVerification = false;
    btRenovar->setEnabled(false);
    btUsarCertificado->setEnabled(false);
    for (QLabel *l : {laTipo, laTitular, laCUIT, laEmisor, laAutoridad, laDesde, laHasta,
                      laDias, laHuella, laClave})
        l->clear();
    gbClave->setEnabled(false);
    gbPfx->setEnabled(false);
    ePassword->clear();
    ePassword2->clear();
    SetResult(QStringLiteral("Elija el certificado que entregó la A.F.I.P.: escriba o pegue su "
                             "ruta y pulse Intro, use \"...\" o arrástrelo a esta ventana."),
              false);
}

void TfrmVerificar::SetResult(const QString &AText, bool AProblem)
{
    laResultado->setText(AText);
    QFont f = UserInterfaceFont();
    f.setBold(AProblem);
    laResultado->setFont(f);
    QPalette p = laResultado->palette();
    p.setColor(QPalette::WindowText, AProblem ? kProblemText : QColor(Qt::black));
    laResultado->setPalette(p);
}

void TfrmVerificar::Guarded(const std::function<void()> &AAction)
{
    RunGuarded(this, AAction, kLogContext);
}

void TfrmVerificar::closeEvent(QCloseEvent *AEvent)
{
    if (TWindowWork *work = TWindowWork::Of(this)) {
        AEvent->ignore();
        work->CloseRequested();
        return;
    }
    QWidget::closeEvent(AEvent);
}

void TfrmVerificar::Work(const QString &AState, const std::function<void()> &AWork)
{
    TWindowWork work(this,
                     QStringLiteral("Se está verificando el certificado. ¿Desea interrumpir la "
                                    "verificación y cerrar la ventana?"),
                     {sbArchivo, btElegirClave, btExportar, btCerrar});
    SetResult(AState, false);
    std::exception_ptr failure;
    work.Run([&] {
        try {
            AWork();
        } catch (...) {
            failure = std::current_exception();
        }
    });
    if (work.Stopping())
        throw EAbort();
    if (failure)
        std::rethrow_exception(failure);
}

void TfrmVerificar::OpenFile(const QString &AFile)
{
    if (TWindowWork::Of(this))
        return; // a check is under way
    Clear();
    eArchivo->setText(NativePath(AFile));
    const QString folder = DefaultFolder.isEmpty() ? DefaultCertificatesFolder() : DefaultFolder;
    const QDateTime moment = Moment();
    TVerification result;
    try {
        Work(QStringLiteral("Verificando el certificado..."),
             [&] { result = VerifyFile(AFile, folder, moment); });
    } catch (const EAbort &) {
        return;
    } catch (const Exception &e) {
        ShowFailure(e.Message(), e.Details());
        return;
    }
    FVerification = result;
    FHasVerification = true;
    ShowVerification();
}

void TfrmVerificar::ShowFailure(const QString &AMessage, const QString &ADetails)
{
    LogError(kLogContext, AMessage, ADetails);
    SetResult(ErrorBoxText(AMessage), true);
    ShowErrorBox(this, AMessage, ADetails);
}

void TfrmVerificar::ShowVerification()
{
    const TVerification &v = FVerification;
    btRenovar->setEnabled(v.IsCertificate());
    btUsarCertificado->setEnabled(OffersSwitch(v));
    laTipo->setText(FileKindText(v.Identity));
    if (v.IsCertificate()) {
        const TCertificateInfo &c = v.Certificate;
        laTitular->setText(c.Holder);
        laCUIT->setText(CUITText(c));
        laEmisor->setText(DisplayName(c.Issuer));
        laAutoridad->setText(IssuerText(c));
        laDesde->setText(DateText(c.NotBefore));
        laHasta->setText(DateText(c.NotAfter));
        laDias->setText(DaysLeftText(v));
        laHuella->setText(FingerprintLines(c.Fingerprint));
        const bool expiry = !ExpiryWarning(v).isEmpty();
        QPalette p = laDias->palette();
        p.setColor(QPalette::WindowText, expiry ? kProblemText : QColor(Qt::black));
        laDias->setPalette(p);
        laHasta->setPalette(p);
        QPalette issuer = laAutoridad->palette();
        issuer.setColor(QPalette::WindowText, c.IssuerVerdict == TIssuerVerdict::Authority
                                                  ? QColor(Qt::black)
                                                  : kProblemText);
        laAutoridad->setPalette(issuer);

        // File names in full, the folder shortened in its middle when long.
        const QFontMetrics metrics(laClave->font());
        QStringList keyLines;
        if (!v.MatchingKey.isEmpty()) {
            const QFileInfo key(v.MatchingKey);
            keyLines << QStringLiteral("Corresponde a la clave %1").arg(key.fileName())
                     << metrics.elidedText(QStringLiteral("en %1").arg(NativePath(key.absolutePath())),
                                           Qt::ElideMiddle, laClave->width());
        } else {
            keyLines << KeyText(v);
        }
        laClave->setToolTip(NativePath(v.MatchingKey));
        if (v.MatchingKey.isEmpty() && !v.Keys.isEmpty()) {
            QStringList names;
            for (const TKeyCandidate &k : v.Keys)
                names << QFileInfo(k.File).fileName();
            keyLines << metrics.elidedText(
                QStringLiteral("Revisadas: %1").arg(names.join(QStringLiteral(", "))),
                Qt::ElideRight, laClave->width());
        }
        laClave->setText(keyLines.join(QLatin1Char('\n')));
        gbClave->setEnabled(true);
        gbPfx->setEnabled(!v.MatchingKey.isEmpty());
        if (ePfx->text().isEmpty() || !gbPfx->isEnabled())
            ePfx->setText(NativePath(DefaultPfxFile(v.File)));
    }
    SetResult(ResultLine(v), ExitCodeOf(v) != veOk);
}

void TfrmVerificar::PickKey(const QString &AKeyFile)
{
    if (!FHasVerification || !FVerification.IsCertificate() || TWindowWork::Of(this))
        return;
    Guarded([&] {
        TVerification v = FVerification;
        Work(QStringLiteral("Comparando la clave con el certificado..."),
             [&] { AddPickedKey(v, AKeyFile); });
        FVerification = v;
        ShowVerification();
        const TKeyCandidate &picked = FVerification.Keys.constLast();
        switch (picked.State) {
        case TKeyCandidate::Unreadable:
            throw EToolError(QStringLiteral("No se pudo leer la clave privada %1").arg(QDir::toNativeSeparators(AKeyFile)),
                             picked.Reason);
        case TKeyCandidate::Damaged:
            throw EToolError(QStringLiteral("La clave privada %1 está dañada").arg(QDir::toNativeSeparators(AKeyFile)),
                             picked.Reason);
        case TKeyCandidate::Encrypted:
            throw EToolError(QStringLiteral("La clave privada %1 está protegida con contraseña; "
                                            "se usan claves sin contraseña, como las que genera "
                                            "el asistente.")
                                 .arg(QDir::toNativeSeparators(AKeyFile)));
        case TKeyCandidate::Matches:
        case TKeyCandidate::Differs:
            break;
        }
    });
}

void TfrmVerificar::ExportPfx()
{
    if (!FHasVerification || FVerification.MatchingKey.isEmpty() || TWindowWork::Of(this))
        return;
    const QString pfx = ePfx->text(), password = ePassword->text(), password2 = ePassword2->text();
    try {
        TPfxResult r;
        const QString before = laResultado->text();
        const bool problem = laResultado->font().bold();
        try {
            Work(QStringLiteral("Exportando el archivo .pfx..."), [&] {
                r = WritePfxFile(FVerification.Certificate, FVerification.MatchingKey, pfx,
                                 password, password2);
            });
        } catch (...) {
            SetResult(before, problem);
            throw;
        }
        SetResult(before, problem);
        ePassword->clear();
        ePassword2->clear();
        QString notice = QStringLiteral("Se generó el archivo %1.").arg(r.File);
        if (!r.KeptFile.isEmpty())
            notice += QStringLiteral(" El archivo anterior se conservó como %1.").arg(r.KeptFile);
        ShowNotice(this, notice, Caption);
    } catch (const EDataError &e) {
        (e.Field() == TDataField::Password2 ? ePassword2 : ePassword)->setFocus();
        ShowErrorBox(this, e.Message());
    } catch (...) {
        Guarded([] { throw; });
    }
}

TfrmVerificar *OpenVerifyWindow(const QString &AFile, const QString &AKeyFile)
{
    auto *w = new TfrmVerificar;
    w->setAttribute(Qt::WA_DeleteOnClose);
    w->show();
    if (!AFile.isEmpty())
        w->OpenFile(AFile);
    if (!AKeyFile.isEmpty() && w->HasVerification())
        w->PickKey(AKeyFile);
    return w;
}
void AcceptCertificateDrops(QWidget *AWindow, std::function<void(const QString &)> AOpen)
{
    if (!AOpen)
        AOpen = [](const QString &AFile) { OpenVerifyWindow(AFile); };
    AWindow->setAcceptDrops(true);
    qApp->installEventFilter(new TCertificateDropFilter(AWindow, std::move(AOpen)));
}

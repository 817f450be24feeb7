#include "BookWindow.h"

#include "BookModel.h"
#include "BookSortProxy.h"
#include "Exception.h"
#include "MessageBoxes.h"
#include "ReminderSchedule.h"
#include "FormStyle.h"
#include "RenewalFolders.h"
#include "Shape.h"
#include "UserDialogs.h"
#include "UserInterfaceFont.h"
#include "VerifyRenewalActions.h"
#include "VerifyWindow.h"
#include "WellKnownFolders.h"
#include "WizardPicture.h"
#include "ZeDedeArt.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QThread>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>

namespace {

constexpr int kHeaderHeight = 54;
constexpr int kMaxWatchedFolders = 2000;

QPushButton *Button(QWidget *AParent, const char *AName, const QString &AText)
{
    auto *b = new QPushButton(AText, AParent);
    b->setObjectName(QLatin1String(AName));
    b->setAutoDefault(false);
    // At least as wide as its text: the layout never cuts it.
    b->setMinimumWidth(qMax(75, b->sizeHint().width()));
    return b;
}

QString CountText(int AGroups, int AAttention)
{
    QString text = AGroups == 1 ? QStringLiteral("1 clave o certificado")
                                : QStringLiteral("%1 claves o certificados").arg(AGroups);
    if (AAttention > 0)
        text += AAttention == 1 ? QStringLiteral("; 1 necesita atención")
                                : QStringLiteral("; %1 necesitan atención").arg(AAttention);
    return text + QLatin1Char('.');
}

} // namespace

const QString TfrmCertificados::Caption = QStringLiteral("Mis certificados");

TfrmCertificados::TfrmCertificados(QWidget *AParent) : QWidget(AParent, Qt::Window)
{
    BuildForm();
    UpdateActions();
}

TfrmCertificados::~TfrmCertificados()
{
    CancelReading();
    if (FThread) {
        FThread->wait();
        delete FThread;
    }
}

void TfrmCertificados::BuildForm()
{
    setObjectName(QStringLiteral("frmCertificados"));
    setWindowTitle(Caption);
    setFont(UserInterfaceFont());
    resize(900, 560);
    setMinimumSize(560, 320);
    if (QScreen *s = QGuiApplication::primaryScreen()) {
        // Room for the window manager's frame and title bar.
        const QRect avail = s->availableGeometry();
        resize(qMin(width(), avail.width() - 16), qMin(height(), avail.height() - 40));
        move(avail.left() + (avail.width() - width()) / 2,
             avail.top() + (avail.height() - height()) / 2);
    }

    // Header band, as the other windows have it.
    FHeader = new QWidget(this);
    FHeader->setFixedHeight(kHeaderHeight - 2);
    auto *band = new TShapeKv(FHeader, Qt::white);
    band->setObjectName(QStringLiteral("HeaderBand"));
    QFont bold = UserInterfaceFont();
    bold.setBold(true);
    auto *title = new QLabel(QStringLiteral("Mis certificados"), FHeader);
    title->setObjectName(QStringLiteral("TopTitle"));
    title->setFont(bold);
    title->move(20, 13);
    title->adjustSize();
    auto *text = new QLabel(QStringLiteral("Las claves, pedidos y certificados de cada empresa: "
                                           "cuáles vencen y cuáles necesitan atención."),
                            FHeader);
    text->setObjectName(QStringLiteral("TopText"));
    text->move(45, 30);
    text->adjustSize();
    auto *logo = new TImageKv(FHeader);
    logo->setObjectName(QStringLiteral("HeaderLogo"));
    logo->Align = TAlignKv::alNone;
    logo->Picture()->Assign(QPixmap::fromImage(ZeDedeArtImage("IMG_COMPARATIVA_H")));
    logo->SetTransparent(true);

    auto *body = new QVBoxLayout;
    body->setContentsMargins(16, 10, 16, 12);
    body->setSpacing(8);

    auto *folderRow = new QHBoxLayout;
    auto *laCarpeta = new QLabel(QStringLiteral("Carpe&ta:"), this);
    eCarpeta = new QLineEdit(this);
    eCarpeta->setObjectName(QStringLiteral("eCarpeta"));
    eCarpeta->setReadOnly(true);
    laCarpeta->setBuddy(eCarpeta);
    btElegirCarpeta = Button(this, "btElegirCarpeta", QStringLiteral("Elegir car&peta..."));
    folderRow->addWidget(laCarpeta);
    folderRow->addWidget(eCarpeta, 1);
    folderRow->addWidget(btElegirCarpeta);
    body->addLayout(folderRow);

    auto *filterRow = new QHBoxLayout;
    auto *laFiltro = new QLabel(QStringLiteral("&Buscar:"), this);
    eFiltro = new QLineEdit(this);
    eFiltro->setObjectName(QStringLiteral("eFiltro"));
    eFiltro->setPlaceholderText(QStringLiteral("empresa, titular, CUIT o estado"));
    eFiltro->setClearButtonEnabled(true);
    laFiltro->setBuddy(eFiltro);
    filterRow->addWidget(laFiltro);
    filterRow->addWidget(eFiltro, 1);
    cbAvisos = new QCheckBox(QStringLiteral("Avi&sarme cuando un certificado esté por vencer"), this);
    cbAvisos->setObjectName(QStringLiteral("cbAvisos"));
    cbAvisos->setToolTip(QStringLiteral(
        "Revisa esta carpeta una vez por día y avisa en el escritorio cuando un certificado "
        "vence dentro de 30 días o ya venció."));
    filterRow->addSpacing(12);
    filterRow->addWidget(cbAvisos);
    body->addLayout(filterRow);

    FModel = new TBookModel(this);
    FProxy = new TBookSortProxy(FModel, this);
    FProxy->setSortRole(Qt::UserRole);
    FProxy->setFilterCaseSensitivity(Qt::CaseInsensitive);
    FProxy->setFilterKeyColumn(-1);
    FProxy->setSortCaseSensitivity(Qt::CaseInsensitive);

    tvCertificados = new QTableView(this);
    tvCertificados->setObjectName(QStringLiteral("tvCertificados"));
    tvCertificados->setModel(FProxy);
    tvCertificados->setSelectionBehavior(QAbstractItemView::SelectRows);
    tvCertificados->setSelectionMode(QAbstractItemView::SingleSelection);
    tvCertificados->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tvCertificados->setSortingEnabled(true);
    tvCertificados->sortByColumn(TBookModel::colEstado, Qt::AscendingOrder);
    tvCertificados->verticalHeader()->hide();
    tvCertificados->setWordWrap(false);
    tvCertificados->setTextElideMode(Qt::ElideRight);
    tvCertificados->horizontalHeader()->setStretchLastSection(true);
    tvCertificados->horizontalHeader()->setHighlightSections(false);
    const QFontMetrics fm(UserInterfaceFont());
    const int widths[] = {180, 150, 110, 95, 95, 72, 42};
    for (int i = 0; i < int(std::size(widths)); ++i)
        tvCertificados->setColumnWidth(i, qMax(widths[i], fm.horizontalAdvance(
                                                              FModel->headerData(i, Qt::Horizontal).toString()) + 24));
    tvCertificados->verticalHeader()->setDefaultSectionSize(fm.height() + 8);
    body->addWidget(tvCertificados, 1);

    auto *progressRow = new QHBoxLayout;
    laEstado = new QLabel(this);
    laEstado->setObjectName(QStringLiteral("laEstado"));
    laEstado->setTextFormat(Qt::PlainText);
    pbLectura = new QProgressBar(this);
    pbLectura->setObjectName(QStringLiteral("pbLectura"));
    pbLectura->setFormat(QStringLiteral("%v de %m archivos"));
    pbLectura->setMaximumWidth(260);
    btCancelar = Button(this, "btCancelar", QStringLiteral("Ca&ncelar"));
    progressRow->addWidget(laEstado, 1);
    progressRow->addWidget(pbLectura);
    progressRow->addWidget(btCancelar);
    body->addLayout(progressRow);

    auto *actions = new QHBoxLayout;
    btVerificar = Button(this, "btVerificar", QStringLiteral("&Verificar"));
    btExportar = Button(this, "btExportar", QStringLiteral("&Exportar .pfx..."));
    btAbrirCarpeta = Button(this, "btAbrirCarpeta", QStringLiteral("&Abrir carpeta"));
    btCopiarCUIT = Button(this, "btCopiarCUIT", QStringLiteral("Copiar &CUIT"));
    btRenovar = Button(this, "btRenovar", QStringLiteral("&Renovar..."));
    btRenovar->setToolTip(QStringLiteral("Prepara un pedido nuevo con los datos de este certificado, "
                                         "en una carpeta «Renovación» a su lado: la clave y el "
                                         "certificado en uso no se tocan."));
    btUsarCertificado = Button(this, "btUsarCertificado", QStringLiteral("&Usar este certificado"));
    btUsarCertificado->setToolTip(QStringLiteral("El certificado recibido en la carpeta de la "
                                                 "renovación y su clave toman el lugar de los que "
                                                 "están en uso; estos se guardan en «Anteriores»."));
    btCerrar = Button(this, "btCerrar", QStringLiteral("Cerrar"));
    // Escape closes the window, as Cerrar does (its letters are all taken).
    btCerrar->setShortcut(QKeySequence(Qt::Key_Escape));
    for (QPushButton *b :
         {btVerificar, btExportar, btAbrirCarpeta, btCopiarCUIT, btRenovar, btUsarCertificado})
        actions->addWidget(b);
    actions->addStretch(1);
    actions->addWidget(btCerrar);
    body->addLayout(actions);

    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    outer->addWidget(FHeader);
    outer->addLayout(body, 1);
    // Never narrower than the row of actions.
    setMinimumWidth(qMax(minimumWidth(), minimumSizeHint().width()));

    connect(btElegirCarpeta, &QPushButton::clicked, this, &TfrmCertificados::ChooseFolder);
    connect(cbAvisos, &QCheckBox::clicked, this, &TfrmCertificados::SetReminders);
    connect(eFiltro, &QLineEdit::textChanged, this, [this](const QString &AText) {
        FProxy->setFilterFixedString(AText);
        UpdateActions();
    });
    connect(tvCertificados, &QAbstractItemView::activated, this, [this] { VerifyCurrent(); });
    connect(tvCertificados->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this] { UpdateActions(); });
    connect(btCancelar, &QPushButton::clicked, this, &TfrmCertificados::CancelReading);
    connect(btVerificar, &QPushButton::clicked, this, &TfrmCertificados::VerifyCurrent);
    connect(btExportar, &QPushButton::clicked, this, &TfrmCertificados::ExportCurrent);
    connect(btAbrirCarpeta, &QPushButton::clicked, this, &TfrmCertificados::OpenCurrentFolder);
    connect(btCopiarCUIT, &QPushButton::clicked, this, &TfrmCertificados::CopyCurrentCUIT);
    connect(btRenovar, &QPushButton::clicked, this, &TfrmCertificados::RenewCurrent);
    connect(btUsarCertificado, &QPushButton::clicked, this, &TfrmCertificados::SwitchCurrent);
    connect(btCerrar, &QPushButton::clicked, this, &QWidget::close);

    FWatcher = new QFileSystemWatcher(this);
    FRefresh = new QTimer(this);
    FRefresh->setSingleShot(true);
    FRefresh->setInterval(700);
    connect(FRefresh, &QTimer::timeout, this, [this] { OpenFolder(QString()); });
    connect(FWatcher, &QFileSystemWatcher::directoryChanged, FRefresh,
            qOverload<>(&QTimer::start));
    connect(FWatcher, &QFileSystemWatcher::fileChanged, FRefresh, qOverload<>(&QTimer::start));
    pbLectura->hide();
    btCancelar->hide();
}

void TfrmCertificados::resizeEvent(QResizeEvent *AEvent)
{
    QWidget::resizeEvent(AEvent);
    if (auto *band = FHeader->findChild<TShapeKv *>(QStringLiteral("HeaderBand")))
        band->setGeometry(-1, -1, width() + 2, kHeaderHeight);
    if (auto *logo = FHeader->findChild<TImageKv *>(QStringLiteral("HeaderLogo"))) {
        const int w = logo->Picture()->Width(), h = logo->Picture()->Height();
        logo->setGeometry(width() - w - 5, (kHeaderHeight - 2 - h) / 2, w, h);
    }
}

void TfrmCertificados::ShowReminders()
{
    // Read from the system each time: the timer, the autostart entry or the
    // scheduled task of this folder.
    bool on = false;
    try {
        on = TReminderSchedule().IsEnabled(FFolder);
    } catch (const Exception &) {
        on = false;
    }
    const QSignalBlocker block(cbAvisos);
    cbAvisos->setChecked(on);
}

void TfrmCertificados::SetReminders(bool AOn)
{
    RunGuarded(this, [this, AOn] {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        struct TRestore
        {
            ~TRestore() { QApplication::restoreOverrideCursor(); }
        } restore;
        if (AOn)
            TReminderSchedule().Enable(FFolder);
        else
            TReminderSchedule().Disable(FFolder);
    });
    ShowReminders();
}

void TfrmCertificados::OpenFolder(const QString &AFolder)
{
    if (!AFolder.isEmpty())
        FFolder = QDir::cleanPath(QFileInfo(AFolder).absoluteFilePath());
    if (FFolder.isEmpty())
        FFolder = QDir::cleanPath(DefaultCertificatesFolder());
    eCarpeta->setText(QDir::toNativeSeparators(FFolder));
    ShowReminders();
    if (FThread) {
        // Read again once the present reading has unwound.
        FReloadWanted = true;
        FCancel->store(true);
        return;
    }
    FReloadWanted = false;
    FCancel = std::make_shared<std::atomic<bool>>(false);
    pbLectura->setRange(0, 0);
    pbLectura->show();
    btCancelar->show();
    btCancelar->setEnabled(true);
    laEstado->setText(QStringLiteral("Leyendo la carpeta..."));
    const QString folder = FFolder;
    const QDateTime now = Now.isValid() ? Now : QDateTime::currentDateTimeUtc();
    const auto cancel = FCancel;
    QPointer<TfrmCertificados> self(this);
    FThread = QThread::create([self, folder, now, cancel, this] {
        const TBook book = ReadBook(
            folder, now,
            [self, cancel, this](int ADone, int ATotal, const QList<TBookGroup> &AGroups) {
                if (cancel->load())
                    return;
                QMetaObject::invokeMethod(
                    this, [this, AGroups, ADone, ATotal] { ShowGroups(AGroups, ADone, ATotal); },
                    Qt::QueuedConnection);
            },
            cancel.get());
        QMetaObject::invokeMethod(this, [this, book] { Finished(book); }, Qt::QueuedConnection);
    });
    FThread->start();
}

void TfrmCertificados::CancelReading()
{
    if (FCancel)
        FCancel->store(true);
}

void TfrmCertificados::ShowGroups(const QList<TBookGroup> &AGroups, int ADone, int ATotal)
{
    // The chosen row stays chosen across a refresh (by its files).
    const TBookGroup *current = CurrentGroup();
    const QStringList chosen = current ? current->Files : QStringList();
    FModel->SetGroups(AGroups);
    if (!chosen.isEmpty())
        for (int i = 0; i < AGroups.size(); ++i)
            if (AGroups.at(i).Files == chosen) {
                const QModelIndex at = FProxy->mapFromSource(FModel->index(i, 0));
                tvCertificados->setCurrentIndex(at);
                break;
            }
    pbLectura->setRange(0, qMax(ATotal, 1));
    pbLectura->setValue(ADone);
    int attention = 0;
    for (const TBookGroup &g : AGroups)
        attention += NeedsAttention(g.State) ? 1 : 0;
    laEstado->setText(CountText(int(AGroups.size()), attention));
    UpdateActions();
}

void TfrmCertificados::Finished(const TBook &ABook)
{
    if (FThread) {
        FThread->wait();
        delete FThread;
        FThread = nullptr;
    }
    if (FReloadWanted) {
        OpenFolder(QString());
        return;
    }
    pbLectura->hide();
    btCancelar->hide();
    if (!ABook.Listing.RootReadable) {
        FModel->SetGroups({});
        laEstado->setText(QStringLiteral("No se pudo leer la carpeta: %1.").arg(ABook.Listing.RootReason));
    } else {
        ShowGroups(ABook.Groups, int(ABook.Listing.Files.size()), int(ABook.Listing.Files.size()));
        QString status = laEstado->text();
        if (ABook.Cancelled)
            status += QStringLiteral(" Lectura cancelada: la lista está incompleta.");
        if (!ABook.Listing.Notes.isEmpty())
            status += QStringLiteral(" ") + ABook.Listing.Notes.first()
                      + (ABook.Listing.Notes.size() > 1
                             ? QStringLiteral(" (y %1 avisos más)").arg(ABook.Listing.Notes.size() - 1)
                             : QString());
        laEstado->setText(status);
        laEstado->setToolTip(ABook.Listing.Notes.join(QLatin1Char('\n')));
        // The state (with its reason) and the CUIT whole, within reason.
        for (int column : {int(TBookModel::colEstado), int(TBookModel::colCUIT)}) {
            const int before = tvCertificados->columnWidth(column);
            tvCertificados->resizeColumnToContents(column);
            tvCertificados->setColumnWidth(
                column, qBound(before, tvCertificados->columnWidth(column), 360));
        }
        Watch(ABook.Listing.Folders);
    }
    emit ReadingFinished();
}

void TfrmCertificados::Watch(const QStringList &AFolders)
{
    const QStringList old = FWatcher->directories();
    if (!old.isEmpty())
        FWatcher->removePaths(old);
    if (!AFolders.isEmpty())
        FWatcher->addPaths(AFolders.mid(0, kMaxWatchedFolders));
}

const TBookGroup *TfrmCertificados::CurrentGroup() const
{
    const QModelIndex at = FProxy->mapToSource(tvCertificados->currentIndex());
    if (!at.isValid() || at.row() >= FModel->rowCount())
        return nullptr;
    return &FModel->Group(at.row());
}

QString TfrmCertificados::CurrentFile() const
{
    const TBookGroup *g = CurrentGroup();
    if (!g)
        return QString();
    if (!g->CertificateFile.isEmpty())
        return g->CertificateFile;
    if (!g->RequestFile.isEmpty())
        return g->RequestFile;
    if (!g->KeyFile.isEmpty())
        return g->KeyFile;
    return g->Files.value(0);
}

void TfrmCertificados::UpdateActions()
{
    const TBookGroup *g = CurrentGroup();
    btVerificar->setEnabled(g && !CurrentFile().isEmpty() && QFileInfo(CurrentFile()).isFile());
    btExportar->setEnabled(g && g->HasCertificate && !g->KeyFile.isEmpty());
    btAbrirCarpeta->setEnabled(g != nullptr);
    btCopiarCUIT->setEnabled(g && !g->CUIT.isEmpty());
    // A certificate of the authority's is renewed; a renewal's own set is not
    // (its renewal would go into the renewal folder).
    btRenovar->setEnabled(g && g->HasCertificate && g->Verdict == TIssuerVerdict::Authority
                          && !InRenewalFolder(g->CertificateFile));
    // A certificate valid with its key, both in a renewal folder.
    btUsarCertificado->setEnabled(
        g && g->HasCertificate && g->State == TBookState::Valid && !g->KeyIsKeptCopy
        && InRenewalFolder(g->CertificateFile)
        && QFileInfo(g->KeyFile).absolutePath() == QFileInfo(g->CertificateFile).absolutePath());
}

QSortFilterProxyModel *TfrmCertificados::Proxy() const
{
    return FProxy;
}

void TfrmCertificados::VerifyCurrent()
{
    const QString file = CurrentFile();
    if (!file.isEmpty() && QFileInfo(file).isFile())
        OpenVerifyWindow(file);
}

void TfrmCertificados::ExportCurrent()
{
    const TBookGroup *g = CurrentGroup();
    if (!g || !g->HasCertificate)
        return;
    // The check window exports: it checks the key again before it writes.
    TfrmVerificar *w = OpenVerifyWindow(g->CertificateFile);
    if (!g->KeyFile.isEmpty() && w->HasVerification() && w->Verification().MatchingKey.isEmpty())
        w->PickKey(g->KeyFile);
    if (w->ePfx)
        w->ePfx->setFocus();
}

void TfrmCertificados::OpenCurrentFolder()
{
    const QString file = CurrentFile();
    if (file.isEmpty())
        return;
    const QFileInfo fi(file);
    TUserDialogs::Current().OpenUrl(QUrl::fromLocalFile(fi.isDir() ? fi.absoluteFilePath()
                                                                   : fi.absolutePath()));
}

void TfrmCertificados::CopyCurrentCUIT()
{
    const TBookGroup *g = CurrentGroup();
    if (g && !g->CUIT.isEmpty())
        QGuiApplication::clipboard()->setText(g->CUIT);
}

void TfrmCertificados::RenewCurrent()
{
    const TBookGroup *g = CurrentGroup();
    if (g && g->HasCertificate)
        RenewCertificateFile(this, g->CertificateFile);
}

void TfrmCertificados::SwitchCurrent()
{
    const TBookGroup *g = CurrentGroup();
    if (!g || !g->HasCertificate)
        return;
    // The switch checks the certificate with its key again and refuses,
    // saying why, when they no longer go together.
    if (!SwitchCertificateFile(this, g->CertificateFile).isEmpty())
        OpenFolder(QString());
}

void TfrmCertificados::ChooseFolder()
{
    const QString folder = TUserDialogs::Current().ChooseFolder(
        this, QStringLiteral("Elegir la carpeta de los certificados"), FFolder);
    if (!folder.isEmpty())
        OpenFolder(folder);
}

void TfrmCertificados::closeEvent(QCloseEvent *AEvent)
{
    CancelReading();
    QWidget::closeEvent(AEvent);
}

TfrmCertificados *OpenBookWindow(const QString &AFolder)
{
    auto *w = new TfrmCertificados;
    w->setAttribute(Qt::WA_DeleteOnClose);
    w->show();
    w->OpenFolder(AFolder);
    return w;
}

#include "FileCtrlKv.h"

#include "UserInterfaceFont.h"
#include "Drives.h"

#include "Exception.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QDirIterator>
#include <QEventLoop>
#include <QFile>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QStandardItemModel>
#include <QSysInfo>
#include <QTextStream>
#include <QTimer>
#include <QTreeView>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

namespace {

const QChar PathDelim = QLatin1Char('/');

// Item data of the chooser's tree.
enum TItemRole {
    RolePath = Qt::UserRole + 1, // file-system path, empty for virtual items
    RoleKind,                    // TItemKind
    RolePopulated,               // children have been listed
    RoleImage                    // TBrowseFolderDlgKV::TItemImage
};

enum TItemKind { ikFolder, ikVirtual, ikComputer, ikPlaceholder };

const int ButtonWidth = 75;
const int ButtonHeight = 23;
const int BtnAuxLeft = 12;

QFont DialogFont()
{
    return UserInterfaceFont();
}

QIcon ItemIcon(int AImage)
{
    static QFileIconProvider provider;
    switch (AImage) {
    case TBrowseFolderDlgKV::iiDrive:
        return provider.icon(QAbstractFileIconProvider::Drive);
    case TBrowseFolderDlgKV::iiComputer:
        return provider.icon(QAbstractFileIconProvider::Computer);
    case TBrowseFolderDlgKV::iiNetwork:
        return provider.icon(QAbstractFileIconProvider::Network);
    default:
        return provider.icon(QAbstractFileIconProvider::Folder);
    }
}

QStandardItem *NewItem(const QString &AText, TItemKind AKind, int AImage, const QString &APath)
{
    auto *item = new QStandardItem(ItemIcon(AImage), AText);
    item->setEditable(false);
    item->setData(APath, RolePath);
    item->setData(int(AKind), RoleKind);
    item->setData(false, RolePopulated);
    item->setData(AImage, RoleImage);
    return item;
}

TItemKind KindOf(const QStandardItem *AItem)
{
    return TItemKind(AItem->data(RoleKind).toInt());
}

bool HasSubFolders(const QString &APath)
{
    QDirIterator it(APath, QDir::Dirs | QDir::NoDotAndDotDot);
    return it.hasNext();
}

void AddPlaceholder(QStandardItem *AItem)
{
    AItem->appendRow(NewItem(QString(), ikPlaceholder, TBrowseFolderDlgKV::iiFolder, QString()));
}

bool IsLoopbackAlias(const QString &AName)
{
    return AName.compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0
        || AName.startsWith(QLatin1String("localhost."), Qt::CaseInsensitive)
        || AName.startsWith(QLatin1String("ip6-"), Qt::CaseInsensitive);
}

} // namespace

TBrowseFolderDlgKV::THelpContextFunc TBrowseFolderDlgKV::ApplicationHelp;

TBrowseFolderDlgKV::TBrowseFolderDlgKV(QObject *AOwner)
    : QObject(AOwner),
      InputQuery(&TBrowseFolderDlgKV::DefaultInputQuery),
      ShowMessage(&TBrowseFolderDlgKV::DefaultShowMessage),
      FDesktopRoot(true),
      FBrowseKind(bfFolders),
      FPosition(dpScreenCenter),
      FTitle(QStringLiteral("Buscar Carpeta"))
{
}

TBrowseFolderDlgKV::~TBrowseFolderDlgKV()
{
    ClearDialog();
}

// --- properties -------------------------------------------------------------

void TBrowseFolderDlgKV::SetBtnType(TBtnType Value)
{
    if (Value == FBtnType)
        return;
    if (Value == btNew && FBrowseKind == bfComputers)
        Value = btnone;
    FBtnType = Value;
    switch (Value) {
    case btNew:
        SetBtnCaption(QStringLiteral("&Nuevo"));
        break;
    case btHelp:
        SetBtnCaption(QStringLiteral("&Ayuda"));
        break;
    case btnone:
        break;
    }
    if (FBtn)
        FBtn->setVisible(FBtnType != btnone);
}

void TBrowseFolderDlgKV::SetBtnCaption(const QString &Value)
{
    if (Value == FBtnCaption)
        return;
    FBtnCaption = Value;
    if (FBtn)
        FBtn->setText(FBtnCaption);
}

void TBrowseFolderDlgKV::SetBrowseKind(TBrowseKind Value)
{
    if (Value == FBrowseKind)
        return;
    FBrowseKind = Value;
    if (Value == bfComputers) {
        SetShowStatus(false);
        if (FBtnType == btNew)
            SetBtnType(btnone);
    }
}

void TBrowseFolderDlgKV::SetShowStatus(bool Value)
{
    if (Value == FShowStatus)
        return;
    if (FBrowseKind == bfComputers)
        Value = false;
    if (!FShowStatus && FStatusLabel)
        FStatusLabel->clear();
    FShowStatus = Value;
    if (FStatusLabel)
        FStatusLabel->setVisible(FShowStatus);
}

// --- unit helpers -----------------------------------------------------------

QString TBrowseFolderDlgKV::AddBackslash(const QString &Path)
{
    if (Path.endsWith(PathDelim))
        return Path;
    return Path + PathDelim;
}

QString TBrowseFolderDlgKV::RemoveBackslash(const QString &Path)
{
    if (Path.size() > 1 && Path.endsWith(PathDelim))
        return Path.left(Path.size() - 1);
    return Path;
}

bool TBrowseFolderDlgKV::IsDirectory(const QString &Path)
{
    if (Path.isEmpty())
        return false;
    const QFileInfo info(Path);
    return info.exists() && info.isDir();
}

void TBrowseFolderDlgKV::CenterWindow(QWidget *Wnd)
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!Wnd || !screen)
        return;
    const QRect area = screen->geometry();
    const QRect frame = Wnd->frameGeometry();
    // Integer division truncates toward zero, also for windows larger than the screen.
    const int left = (area.width() - frame.width()) / 2;
    const int top = (area.height() - frame.height()) / 2;
    Wnd->move(area.left() + left, area.top() + top);
}

QStringList TBrowseFolderDlgKV::KnownComputerNames(const QString &AHostsFile)
{
    QStringList names;
    auto add = [&names](const QString &AName) {
        if (AName.isEmpty() || IsLoopbackAlias(AName) || names.contains(AName, Qt::CaseInsensitive))
            return;
        names.append(AName);
    };
    add(QSysInfo::machineHostName());
    QFile hosts(AHostsFile);
    if (hosts.open(QIODevice::ReadOnly | QIODevice::Text)) {
        QTextStream in(&hosts);
        static const QRegularExpression blanks(QStringLiteral("\\s+"));
        while (!in.atEnd()) {
            QString line = in.readLine();
            const int hash = line.indexOf(QLatin1Char('#'));
            if (hash >= 0)
                line.truncate(hash);
            const QStringList fields = line.split(blanks, Qt::SkipEmptyParts);
            for (int i = 1; i < fields.size(); ++i) // field 0 is the address
                add(fields.at(i));
        }
    }
    std::sort(names.begin(), names.end(), [](const QString &a, const QString &b) {
        return a.compare(b, Qt::CaseInsensitive) < 0;
    });
    return names;
}

bool TBrowseFolderDlgKV::IsValidFolderName(const QString &AName)
{
    if (AName.trimmed().isEmpty() || AName == QLatin1String(".") || AName == QLatin1String(".."))
        return false;
    return !AName.contains(PathDelim) && !AName.contains(QLatin1Char('\\'))
        && !AName.contains(QChar(0));
}

// --- prompts ----------------------------------------------------------------

bool TBrowseFolderDlgKV::DefaultInputQuery(QWidget *AParent, const QString &ACaption,
                                           const QString &APrompt, QString &AValue)
{
    QInputDialog box(AParent);
    box.setWindowTitle(ACaption);
    box.setLabelText(APrompt);
    box.setTextValue(AValue);
    box.setOkButtonText(QStringLiteral("Aceptar"));
    box.setCancelButtonText(QStringLiteral("Cancelar"));
    if (box.exec() != QDialog::Accepted)
        return false;
    AValue = box.textValue();
    return true;
}

void TBrowseFolderDlgKV::DefaultShowMessage(QWidget *AParent, const QString &AText)
{
    QMessageBox box(AParent);
    box.setWindowTitle(QGuiApplication::applicationDisplayName());
    box.setText(AText);
    box.setIcon(QMessageBox::NoIcon);
    box.addButton(QStringLiteral("Aceptar"), QMessageBox::AcceptRole);
    box.exec();
}

// --- running the chooser ----------------------------------------------------

bool TBrowseFolderDlgKV::Execute()
{
    if (FHandle)
        return false; // already open
    QWidget *active = QApplication::activeWindow();
    FPendingError = nullptr;
    BuildDialog();

    QEventLoop loop;
    connect(FHandle, &QDialog::finished, &loop, &QEventLoop::quit);
    FHandle->setWindowModality(Qt::ApplicationModal);
    FHandle->show();
    if (FPosition == dpScreenCenter)
        CenterWindow(FHandle);
    Guard([this] {
        // The root is selected first, as the tree comes up; then the caller's folder.
        FTreeWnd->setCurrentIndex(FModel->index(0, 0));
        InitDialog();
    });
    if (FHandle->isVisible() && !FPendingError)
        loop.exec(QEventLoop::DialogExec);

    bool result = FHandle->result() == QDialog::Accepted && !FPendingError;
    QString folder, display;
    int image = 0;
    if (result) {
        const QStandardItem *item = FModel->itemFromIndex(FTreeWnd->currentIndex());
        const bool usable = item
            && (FBrowseKind == bfComputers ? KindOf(item) == ikComputer
                                           : !item->data(RolePath).toString().isEmpty());
        if (!usable) {
            ClearDialog();
            if (active)
                active->activateWindow();
            throw Exception(QStringLiteral("No se pudo obtener la carpeta seleccionada."));
        }
        display = item->text();
        image = item->data(RoleImage).toInt();
        folder = FBrowseKind == bfComputers ? display
                                            : RemoveBackslash(item->data(RolePath).toString());
    }
    ClearDialog();
    if (active)
        active->activateWindow();
    if (FPendingError)
        std::rethrow_exception(std::exchange(FPendingError, nullptr));
    if (result) {
        FDisplayName = display;
        FFolderName = folder;
        FSelectedName = folder;
        FImageIndex = image;
    }
    return result;
}

void TBrowseFolderDlgKV::BuildDialog()
{
    auto *form = new QDialog(QApplication::activeWindow());
    form->setFont(DialogFont());
    form->setWindowTitle(FTitle);
    form->setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    FHandle = form;

    auto *layout = new QVBoxLayout(form);
    layout->setContentsMargins(BtnAuxLeft, 10, BtnAuxLeft, 12);
    layout->setSpacing(8);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    FTextLabel = new QLabel(FText, form);
    FTextLabel->setWordWrap(true);
    FTextLabel->setVisible(!FText.isEmpty());
    layout->addWidget(FTextLabel);

    FStatusLabel = new QLabel(form);
    FStatusLabel->setVisible(FShowStatus);
    layout->addWidget(FStatusLabel);

    FModel = new QStandardItemModel(form);
    FTreeWnd = new QTreeView(form);
    FTreeWnd->setHeaderHidden(true);
    // Full folder names, with a horizontal scroll bar when they are long.
    FTreeWnd->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    FTreeWnd->header()->setStretchLastSection(false);
    FTreeWnd->setTextElideMode(Qt::ElideNone);
    FTreeWnd->setModel(FModel);
    FTreeWnd->setMinimumSize(306, 238);
    FTreeWnd->setSelectionMode(QAbstractItemView::SingleSelection);
    FTreeWnd->setEditTriggers(QAbstractItemView::NoEditTriggers);
    FTextLabel->setFixedWidth(306);
    FStatusLabel->setFixedWidth(306);
    layout->addWidget(FTreeWnd);

    auto *buttons = new QHBoxLayout;
    buttons->setSpacing(6);
    FBtn = new QPushButton(FBtnCaption, form);
    FBtn->setFixedSize(ButtonWidth, ButtonHeight);
    FBtn->setAutoDefault(false);
    QSizePolicy keepPlace = FBtn->sizePolicy();
    keepPlace.setRetainSizeWhenHidden(true);
    FBtn->setSizePolicy(keepPlace);
    FBtn->setVisible(false);
    FOkBtn = new QPushButton(QStringLiteral("Aceptar"), form);
    FOkBtn->setFixedSize(ButtonWidth, ButtonHeight);
    FOkBtn->setDefault(true);
    FCancelBtn = new QPushButton(QStringLiteral("Cancelar"), form);
    FCancelBtn->setFixedSize(ButtonWidth, ButtonHeight);
    FCancelBtn->setAutoDefault(false);
    buttons->addWidget(FBtn);
    buttons->addStretch(1);
    buttons->addWidget(FOkBtn);
    buttons->addWidget(FCancelBtn);
    layout->addLayout(buttons);

    // The tree's root: the file system, the computer's drives, or the network.
    QStandardItem *root = nullptr;
    if (FBrowseKind == bfComputers) {
        root = NewItem(QStringLiteral("Red"), ikVirtual, iiNetwork, QString());
        for (const QString &name : KnownComputerNames())
            root->appendRow(NewItem(name, ikComputer, iiComputer, QString()));
        root->setData(true, RolePopulated);
    } else if (SingleRoot()) {
        root = NewItem(QStringLiteral("/"), ikFolder, iiDrive, QStringLiteral("/"));
        Populate(root);
    } else {
        root = NewItem(QStringLiteral("Equipo"), ikVirtual, iiComputer, QString());
        for (const TComputerDrive &d : ComputerDrives())
            root->appendRow(NewItem(d.Text, ikFolder, iiDrive, d.RootPath));
        for (int i = 0; i < root->rowCount(); ++i)
            if (HasSubFolders(root->child(i)->data(RolePath).toString()))
                AddPlaceholder(root->child(i));
        root->setData(true, RolePopulated);
    }
    FModel->appendRow(root);
    FTreeWnd->expand(root->index());

    connect(FTreeWnd, &QTreeView::expanded, form, [this](const QModelIndex &AIndex) {
        Guard([this, AIndex] { Populate(FModel->itemFromIndex(AIndex)); });
    });
    connect(FTreeWnd->selectionModel(), &QItemSelectionModel::currentChanged, form,
            [this](const QModelIndex &ACurrent) { Guard([this, ACurrent] { SelChanged(ACurrent); }); });
    connect(FOkBtn, &QPushButton::clicked, form, &QDialog::accept);
    connect(FCancelBtn, &QPushButton::clicked, form, &QDialog::reject);
    connect(FBtn, &QPushButton::clicked, form, [this] { Guard([this] { BtnAuxClick(); }); });
    connect(form, &QObject::destroyed, this, [this] { FHandle = nullptr; });
}

void TBrowseFolderDlgKV::InitDialog()
{
    if (FBrowseKind == bfComputers || IsDirectory(FFolderName))
        SetSelection(FFolderName);
    FHandle->setWindowTitle(FTitle);
    FOkBtn->setText(QStringLiteral("Aceptar"));
    FCancelBtn->setText(QStringLiteral("Cancelar"));
    if (FBtnCaption.isEmpty())
        FBtnCaption = FBtnType == btNew ? QStringLiteral("&Nuevo") : QStringLiteral("&Ayuda");
    FBtn->setText(FBtnCaption);
    FBtn->setVisible(FBtnType != btnone);
    FTreeWnd->setFocus();
    if (OnInitialized)
        OnInitialized(this);
}

void TBrowseFolderDlgKV::ClearDialog()
{
    QDialog *form = FHandle;
    FHandle = nullptr;
    FBtn = nullptr;
    FTreeWnd = nullptr;
    FModel = nullptr;
    FOkBtn = nullptr;
    FCancelBtn = nullptr;
    FTextLabel = nullptr;
    FStatusLabel = nullptr;
    FSelectedItem = nullptr;
    if (form) {
        form->disconnect(this);
        disconnect(form, nullptr, this, nullptr);
        delete form;
    }
}

void TBrowseFolderDlgKV::Guard(const std::function<void()> &AAction)
{
    try {
        AAction();
    } catch (...) {
        if (!FPendingError)
            FPendingError = std::current_exception();
        if (FHandle)
            FHandle->reject();
    }
}

// --- the tree ---------------------------------------------------------------

void TBrowseFolderDlgKV::Populate(QStandardItem *AItem)
{
    if (!AItem || AItem->data(RolePopulated).toBool())
        return;
    AItem->setData(true, RolePopulated);
    AItem->removeRows(0, AItem->rowCount());
    const QString path = AItem->data(RolePath).toString();
    if (path.isEmpty())
        return;
    const QStringList names = QDir(path).entryList(QDir::Dirs | QDir::NoDotAndDotDot,
                                                   QDir::Name | QDir::IgnoreCase | QDir::LocaleAware);
    for (const QString &name : names)
        AddFolderItem(AItem, name, AddBackslash(path) + name);
}

QStandardItem *TBrowseFolderDlgKV::AddFolderItem(QStandardItem *AParent, const QString &AName,
                                                 const QString &APath)
{
    QStandardItem *item = NewItem(AName, ikFolder, iiFolder, APath);
    if (HasSubFolders(APath))
        AddPlaceholder(item);
    int row = AParent->rowCount();
    // Folders found later (hidden or just created) go to their sorted place.
    for (int i = 0; i < AParent->rowCount(); ++i) {
        if (AParent->child(i)->text().compare(AName, Qt::CaseInsensitive) > 0) {
            row = i;
            break;
        }
    }
    AParent->insertRow(row, item);
    return item;
}

QStandardItem *TBrowseFolderDlgKV::FindChild(QStandardItem *AParent, const QString &AName,
                                             bool ACaseSensitive)
{
    const Qt::CaseSensitivity cs = ACaseSensitive ? Qt::CaseSensitive : Qt::CaseInsensitive;
    for (int i = 0; i < AParent->rowCount(); ++i) {
        QStandardItem *child = AParent->child(i);
        if (KindOf(child) == ikPlaceholder)
            continue;
        const QString key = KindOf(child) == ikComputer
            ? child->text()
            : child->data(RolePath).toString().section(PathDelim, -1);
        if (key.compare(AName, cs) == 0)
            return child;
    }
    return nullptr;
}

bool TBrowseFolderDlgKV::SingleRoot() const
{
    return FDesktopRoot && !FileSystemRoot().isEmpty();
}

QStandardItem *TBrowseFolderDlgKV::ItemForPath(const QString &APath)
{
    QStandardItem *root = FModel->item(0);
    if (!root || APath.isEmpty())
        return nullptr;
    if (FBrowseKind == bfComputers)
        return FindChild(root, APath, false);

    const QString path = QDir::cleanPath(QDir(APath).absolutePath());
    QStandardItem *start = nullptr;
    QString startPath;
    if (SingleRoot()) {
        start = root;
        startPath = QStringLiteral("/");
    } else {
        // The drive whose mount point is the longest prefix of the path.
        for (int i = 0; i < root->rowCount(); ++i) {
            const QString rp = root->child(i)->data(RolePath).toString();
            if ((path == rp || path.startsWith(AddBackslash(rp))) && rp.size() > startPath.size()) {
                start = root->child(i);
                startPath = rp;
            }
        }
        if (!start)
            return nullptr;
    }
    QStandardItem *current = start;
    QString currentPath = startPath;
    const QStringList parts = path.mid(startPath.size()).split(PathDelim, Qt::SkipEmptyParts);
    for (const QString &part : parts) {
        Populate(current);
        const QString childPath = AddBackslash(currentPath) + part;
        QStandardItem *child = FindChild(current, part, true);
        if (!child) {
            if (!IsDirectory(childPath))
                return nullptr;
            child = AddFolderItem(current, part, childPath);
        }
        current = child;
        currentPath = childPath;
    }
    return current;
}

void TBrowseFolderDlgKV::ShowItem(QStandardItem *AItem)
{
    QList<QStandardItem *> chain;
    for (QStandardItem *p = AItem->parent(); p; p = p->parent())
        chain.prepend(p);
    for (QStandardItem *p : chain) {
        Populate(p);
        FTreeWnd->expand(p->index());
    }
    const QPersistentModelIndex index(AItem->index());
    FTreeWnd->setCurrentIndex(index);
    FTreeWnd->scrollTo(index, QAbstractItemView::PositionAtCenter);
    // Once the column width and the scroll bars have settled, show it again.
    QTimer::singleShot(0, FTreeWnd, [tree = FTreeWnd, index] {
        if (index.isValid() && tree->currentIndex() == index)
            tree->scrollTo(index, QAbstractItemView::PositionAtCenter);
    });
}

void TBrowseFolderDlgKV::SetSelection(const QString &APath)
{
    if (!FHandle)
        return;
    if (QStandardItem *item = ItemForPath(APath))
        ShowItem(item);
}

void TBrowseFolderDlgKV::EnableOK(bool Value)
{
    if (FHandle)
        FOkBtn->setEnabled(Value);
}

void TBrowseFolderDlgKV::SetStatusText(const QString &Text)
{
    FStatusText = Text;
    if (FHandle && FShowStatus) {
        // Long paths are shortened in the middle so that the line never clips.
        const int width = std::max(FStatusLabel->width(), FStatusLabel->minimumWidth());
        FStatusLabel->setText(FStatusLabel->fontMetrics().elidedText(Text, Qt::ElideMiddle, width));
        FStatusLabel->setToolTip(Text);
    }
}

void TBrowseFolderDlgKV::SelChanged(const QModelIndex &AIndex)
{
    QStandardItem *item = FModel->itemFromIndex(AIndex);
    FSelectedItem = item;
    if (FBrowseKind == bfComputers) {
        // The name of the machine under the cursor (the network itself is no choice).
        FSelectedName = item && KindOf(item) == ikComputer ? item->text() : QString();
        EnableOK(!FSelectedName.isEmpty());
    } else {
        const QString path = item ? item->data(RolePath).toString() : QString();
        if (!path.isEmpty()) {
            FSelectedName = path;
            EnableOK(IsDirectory(path));
        } else {
            FSelectedName.clear();
            EnableOK(false);
        }
    }
    if (FShowStatus)
        SetStatusText(FSelectedName);
    FBtn->setEnabled(!FSelectedName.isEmpty());
    if (OnSelChanged)
        OnSelChanged(this);
}

void TBrowseFolderDlgKV::BtnAuxClick()
{
    if (OnBtnAuxClick) {
        OnBtnAuxClick(this);
        return;
    }
    if (FBtnType == btNew && !FSelectedName.isEmpty())
        NewFolder();
    else if (FBtnType == btHelp && FHelpContext != 0 && ApplicationHelp)
        ApplicationHelp(FHelpContext);
}

void TBrowseFolderDlgKV::NewFolder()
{
    QString name;
    if (!InputQuery || !InputQuery(FHandle, QStringLiteral("Nueva Carpeta"),
                                   QStringLiteral("Ingrese nombre de carpeta a crear"), name))
        return;
    const QString path = AddBackslash(FSelectedName) + name;
    // A name must stay one folder below the selection: no delimiter, no "..".
    bool created = IsValidFolderName(name);
    if (created) {
        QStandardItem *item = FModel->itemFromIndex(FTreeWnd->currentIndex());
        if (item && KindOf(item) == ikFolder) {
            // Collapse and forget the children so that they are listed afresh.
            FTreeWnd->collapse(item->index());
            item->removeRows(0, item->rowCount());
            item->setData(false, RolePopulated);
        }
        created = QDir().mkpath(path) && IsDirectory(path);
        if (item && KindOf(item) == ikFolder && item->rowCount() == 0)
            AddPlaceholder(item);
        if (created)
            SetSelection(path);
    }
    if (!created && ShowMessage)
        ShowMessage(FHandle, QStringLiteral("No se pudo crear la ruta ") + path);
}

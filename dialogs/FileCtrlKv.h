#pragma once
// TBrowseFolderDlgKV: a non-visual component that shows a modal folder (or
// computer) chooser with Spanish captions, a title, optional centring, an
// optional status line that follows the selection, an initial selection and
// an optional extra button (new folder, help, or an event of its own).

#include <QObject>
#include <QString>
#include <QStringList>

#include <exception>
#include <functional>

class QDialog;
class QLabel;
class QModelIndex;
class QPushButton;
class QStandardItem;
class QStandardItemModel;
class QTreeView;
class QWidget;

enum TBtnType { btnone, btNew, btHelp };
enum TBrowseKind { bfFolders, bfComputers };
enum TDialogPosition { dpDefault, dpScreenCenter };

class TBrowseFolderDlgKV : public QObject
{
public:
    using TNotifyEvent = std::function<void(QObject *Sender)>;
    // Asks the user for a text; false when the user cancelled.
    using TInputQueryFunc = std::function<bool(QWidget *AParent, const QString &ACaption,
                                               const QString &APrompt, QString &AValue)>;
    // Shows a plain message with one OK button.
    using TShowMessageFunc = std::function<void(QWidget *AParent, const QString &AText)>;
    // Opens a help topic of the application's help system.
    using THelpContextFunc = std::function<void(int AHelpContext)>;

    // Indices of the chooser's item pictures, as returned by ImageIndex().
    enum TItemImage { iiFolder = 0, iiDrive = 1, iiComputer = 2, iiNetwork = 3, iiMachine = 4 };

    explicit TBrowseFolderDlgKV(QObject *AOwner = nullptr);
    ~TBrowseFolderDlgKV() override;

    // Shows the chooser modally. True when the user confirmed a choice; then
    // FolderName, SelectedName, DisplayName and ImageIndex describe it.
    bool Execute();

    // Stored properties.
    TBtnType BtnType() const { return FBtnType; }
    void SetBtnType(TBtnType Value);
    QString BtnCaption() const { return FBtnCaption; }
    void SetBtnCaption(const QString &Value);
    TBrowseKind BrowseKind() const { return FBrowseKind; }
    void SetBrowseKind(TBrowseKind Value);
    QString Title() const { return FTitle; }
    void SetTitle(const QString &Value) { FTitle = Value; }
    bool DesktopRoot() const { return FDesktopRoot; }
    void SetDesktopRoot(bool Value) { FDesktopRoot = Value; }
    QString DialogText() const { return FText; }
    void SetDialogText(const QString &Value) { FText = Value; }
    QString FolderName() const { return FFolderName; }
    void SetFolderName(const QString &Value) { FFolderName = Value; }
    int HelpContext() const { return FHelpContext; }
    void SetHelpContext(int Value) { FHelpContext = Value; }
    TDialogPosition Position() const { return FPosition; }
    void SetPosition(TDialogPosition Value) { FPosition = Value; }
    bool ShowStatus() const { return FShowStatus; }
    void SetShowStatus(bool Value);

    TNotifyEvent OnBtnAuxClick;
    TNotifyEvent OnInitialized;
    TNotifyEvent OnSelChanged;

    // Public properties.
    QDialog *Handle() const { return FHandle; }
    QString DisplayName() const { return FDisplayName; }
    QString SelectedName() const { return FSelectedName; }
    void SetSelectedName(const QString &Value) { FSelectedName = Value; }
    int ImageIndex() const { return FImageIndex; }
    QString StatusText() const { return FStatusText; }

    // While the chooser is open: select a path (or, for computers, a machine
    // name), enable OK, put a text on the status line.
    void SetSelection(const QString &APath);
    void EnableOK(bool Value);
    void SetStatusText(const QString &Text);

    // The chooser's controls while it is open, else null.
    QTreeView *TreeView() const { return FTreeWnd; }
    QPushButton *Btn() const { return FBtn; }
    QPushButton *OkButton() const { return FOkBtn; }
    QPushButton *CancelButton() const { return FCancelBtn; }
    QLabel *TextLabel() const { return FTextLabel; }
    QLabel *StatusLabel() const { return FStatusLabel; }

    // Prompts used by the new-folder button; replaceable so that the chooser
    // can be driven without a person.
    TInputQueryFunc InputQuery;
    TShowMessageFunc ShowMessage;
    static bool DefaultInputQuery(QWidget *AParent, const QString &ACaption,
                                  const QString &APrompt, QString &AValue);
    static void DefaultShowMessage(QWidget *AParent, const QString &AText);
    // The application's help system; nothing is opened while it is unset.
    static THelpContextFunc ApplicationHelp;

    // Path helpers ("/" is the path delimiter).
    static QString AddBackslash(const QString &Path);
    static QString RemoveBackslash(const QString &Path);
    static bool IsDirectory(const QString &Path);
    // Moves a top-level window to the centre of the primary screen.
    static void CenterWindow(QWidget *Wnd);
    // The machine names the system knows: the local host name and the names
    // of the hosts file, without loopback aliases, sorted, no duplicates.
    static QStringList KnownComputerNames(const QString &AHostsFile = QStringLiteral("/etc/hosts"));
    // True when AName may be created as one folder below an existing one.
    static bool IsValidFolderName(const QString &AName);

private:
    // The tree starts at the system's one root: asked for (DesktopRoot) and
    // there is one. Otherwise it starts at "Equipo" and its drives.
    bool SingleRoot() const;
    void BuildDialog();
    void InitDialog();
    void SelChanged(const QModelIndex &AIndex);
    void BtnAuxClick();
    void NewFolder();
    void Populate(QStandardItem *AItem);
    QStandardItem *FindChild(QStandardItem *AParent, const QString &AName, bool ACaseSensitive);
    QStandardItem *AddFolderItem(QStandardItem *AParent, const QString &AName, const QString &APath);
    QStandardItem *ItemForPath(const QString &APath);
    void ShowItem(QStandardItem *AItem);
    // Runs an event handler; an exception closes the chooser and is raised
    // again from Execute.
    void Guard(const std::function<void()> &AAction);
    void ClearDialog();

    QPushButton *FBtn = nullptr;
    QString FBtnCaption;
    int FHelpContext = 0;
    QDialog *FHandle = nullptr;
    bool FDesktopRoot = true;
    TBrowseKind FBrowseKind = bfFolders;
    TDialogPosition FPosition = dpScreenCenter;
    QString FText;
    QString FDisplayName;
    QString FSelectedName;
    QString FFolderName;
    int FImageIndex = 0;
    TBtnType FBtnType = btnone;
    QTreeView *FTreeWnd = nullptr;
    QString FStatusText;
    bool FShowStatus = false;
    QString FTitle;
    QStandardItem *FSelectedItem = nullptr;

    QStandardItemModel *FModel = nullptr;
    QPushButton *FOkBtn = nullptr;
    QPushButton *FCancelBtn = nullptr;
    QLabel *FTextLabel = nullptr;
    QLabel *FStatusLabel = nullptr;
    std::exception_ptr FPendingError;
};

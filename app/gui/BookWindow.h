#pragma once
// TfrmCertificados: the "Mis certificados" window. It reads a folder tree on
// a thread of its own (the first rows at once, a progress bar and Cancelar
// for the rest), shows each key pair with its state by text and icon, filters
// by what is typed, and opens the check of a row. It refreshes when files of
// the folder change and never changes a file.

#include "CertificateBook.h"

#include <QDateTime>
#include <QPointer>
#include <QWidget>

#include <atomic>
#include <memory>

class QFileSystemWatcher;
class QLabel;
class QCheckBox;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QSortFilterProxyModel;
class QTableView;
class QThread;
class QTimer;
class TBookModel;
class TBookSortProxy;

class TfrmCertificados : public QWidget
{
    Q_OBJECT
public:
    explicit TfrmCertificados(QWidget *AParent = nullptr);
    ~TfrmCertificados() override;

    static const QString Caption;

    // The moment the certificates are judged at; now unless set.
    QDateTime Now;

    // Reads Folder (the one shown again when empty); the rows fill in as it reads.
    void OpenFolder(const QString &AFolder);
    void CancelReading();
    bool Reading() const { return FThread != nullptr; }
    QString Folder() const { return FFolder; }

    // The group of the current row; null when no row is chosen.
    const TBookGroup *CurrentGroup() const;

    // Actions on the current row.
    void VerifyCurrent();
    void ExportCurrent();
    void OpenCurrentFolder();
    void CopyCurrentCUIT();
    // The wizard for a renewal of the current row's certificate.
    void RenewCurrent();
    // The current row's certificate, arrived in a renewal folder, takes the
    // place of the one in use (after asking); the table is read again.
    void SwitchCurrent();
    void ChooseFolder();
    // Turns the daily reminder of the folder shown on or off; the box then
    // shows what the system says.
    void SetReminders(bool AOn);

    TBookModel *Model() const { return FModel; }
    QSortFilterProxyModel *Proxy() const;

    // Components
    QLineEdit *eCarpeta = nullptr;
    QPushButton *btElegirCarpeta = nullptr;
    QLineEdit *eFiltro = nullptr;
    QCheckBox *cbAvisos = nullptr; // the daily reminder of this folder
    QTableView *tvCertificados = nullptr;
    QProgressBar *pbLectura = nullptr;
    QPushButton *btCancelar = nullptr;
    QLabel *laEstado = nullptr;
    QPushButton *btVerificar = nullptr;
    QPushButton *btExportar = nullptr;
    QPushButton *btAbrirCarpeta = nullptr;
    QPushButton *btCopiarCUIT = nullptr;
    QPushButton *btRenovar = nullptr;
    QPushButton *btUsarCertificado = nullptr;
    QPushButton *btCerrar = nullptr;

signals:
    // The folder has been read whole (or the reading was cancelled).
    void ReadingFinished();

protected:
    void closeEvent(QCloseEvent *AEvent) override;
    void resizeEvent(QResizeEvent *AEvent) override;

private:
    void BuildForm();
    void ShowReminders();
    void ShowGroups(const QList<TBookGroup> &AGroups, int ADone, int ATotal);
    void Finished(const TBook &ABook);
    void UpdateActions();
    void Watch(const QStringList &AFolders);
    QString CurrentFile() const;

    QString FFolder;
    TBookModel *FModel = nullptr;
    TBookSortProxy *FProxy = nullptr;
    QWidget *FHeader = nullptr;
    QThread *FThread = nullptr;
    std::shared_ptr<std::atomic<bool>> FCancel;
    bool FReloadWanted = false;
    QFileSystemWatcher *FWatcher = nullptr;
    QTimer *FRefresh = nullptr;
};

// Opens a "Mis certificados" window on Folder (the default folder when
// empty) that deletes itself when closed, and returns it.
TfrmCertificados *OpenBookWindow(const QString &AFolder);

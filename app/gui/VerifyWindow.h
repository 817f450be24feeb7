#pragma once
// TfrmVerificar: the "Verificar certificado" window. It shows what
// CertificateReport finds for a file, lets the user pick a key the search did
// not find and exports the certificate with its key as a .pfx. Opened from
// the command line, from the desktop entry and by dropping a file on the
// wizard's window.

#include "CertificateReport.h"

#include <QString>
#include <QWidget>

#include <functional>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;
class TImageKv;
class TShapeKv;

class TfrmVerificar : public QWidget
{
    Q_OBJECT
public:
    explicit TfrmVerificar(QWidget *AParent = nullptr);
    ~TfrmVerificar() override;

    static const QString Caption;

    // The folder searched for Privada_*.key besides the certificate's own;
    // "Mis certificados" in the documents folder unless set.
    QString DefaultFolder;
    // The moment the certificate is judged at; now unless set.
    QDateTime Now;

    // Checks File and shows the findings; a failure is shown in the error
    // box (openssl's reason as details), logged, and leaves the window empty.
    void OpenFile(const QString &AFile);
    // Looks at one more key file for the certificate shown.
    void PickKey(const QString &AKeyFile);
    // Exports the .pfx with the typed passwords to the .pfx field's file.
    void ExportPfx();

    const TVerification &Verification() const { return FVerification; }
    bool HasVerification() const { return FHasVerification; }

    // Components
    QLabel *laArchivo = nullptr;
    QLineEdit *eArchivo = nullptr;
    QToolButton *sbArchivo = nullptr;
    QGroupBox *gbCertificado = nullptr;
    QLabel *laTipo = nullptr;
    QLabel *laTitular = nullptr;
    QLabel *laCUIT = nullptr;
    QLabel *laEmisor = nullptr;
    QLabel *laAutoridad = nullptr;
    QLabel *laDesde = nullptr;
    QLabel *laHasta = nullptr;
    QLabel *laDias = nullptr;
    QLabel *laHuella = nullptr;
    QGroupBox *gbClave = nullptr;
    QLabel *laClave = nullptr;
    QPushButton *btElegirClave = nullptr;
    QGroupBox *gbPfx = nullptr;
    QLineEdit *ePfx = nullptr;
    QToolButton *sbPfx = nullptr;
    QLineEdit *ePassword = nullptr;
    QLineEdit *ePassword2 = nullptr;
    QPushButton *btExportar = nullptr;
    TShapeKv *shResultado = nullptr;
    TImageKv *imResultado = nullptr;
    QLabel *laResultado = nullptr;
    QPushButton *btMisCertificados = nullptr;
    QPushButton *btCerrar = nullptr;

private:
    void BuildForm();
    void Clear();
    void ShowVerification();
    void ShowFailure(const QString &AMessage, const QString &ADetails);
    void SetResult(const QString &AText, bool AProblem);
    void Guarded(const std::function<void()> &AAction);
    QDateTime Moment() const;

    TVerification FVerification;
    bool FHasVerification = false;
};

// Opens the "Mis certificados" window on a folder; set by the program's
// start-up (that window is built on this one). The check window's
// "Mis certificados..." button calls it with its default folder.
extern std::function<void(const QString &AFolder)> OpenBookWindowHook;

// Opens a verification window for File (none chosen when empty) that deletes
// itself when closed, and returns it.
TfrmVerificar *OpenVerifyWindow(const QString &AFile);

// Makes a file dropped anywhere on Window open a verification window for it
// (through Open, OpenVerifyWindow unless given) without touching Window's
// fields or pages.
void AcceptCertificateDrops(QWidget *AWindow,
                            std::function<void(const QString &File)> AOpen = nullptr);

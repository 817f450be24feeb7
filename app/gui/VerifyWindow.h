#pragma once
// TfrmVerificar: the "Verificar certificado" window. It shows what
// CertificateReport finds for a file, lets the user pick a key the search did
// not find and exports the certificate with its key as a .pfx. Opened from
// the command line, from the desktop entry and by dropping a file on the
// wizard's window.

#include "CertificateReport.h"

#include <QPointer>
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
class QCloseEvent;
class TfrmComoSeguir;

class TfrmVerificar : public QWidget
{
    Q_OBJECT
public:
    explicit TfrmVerificar(QWidget *AParent = nullptr);
    ~TfrmVerificar() override;

    static const QString Caption;

    // The client area, at a scale factor of 1; the window cannot be resized.
    static constexpr int ClientWidth = 660;
    static constexpr int ClientHeight = 620;

    // The folder searched for Privada_*.key besides the certificate's own;
    // "Mis certificados" in the documents folder unless set.
    QString DefaultFolder;
    // The moment the certificate is judged at; now unless set.
    QDateTime Now;

    // Checks File and shows the findings; a failure is shown in the error
    // box (the reason as details), logged, and leaves the window empty. The
    // check runs on another thread while the window shows its busy state.
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
    QPushButton *btComoSeguir = nullptr; // opens the guide "Cómo seguir"
    QPushButton *btMisCertificados = nullptr; // opens "Mis certificados"
    QPushButton *btCerrar = nullptr;
    QPushButton *btRenovar = nullptr;
    QPushButton *btUsarCertificado = nullptr;

    // The guide, once opened and while it is open.
    TfrmComoSeguir *Guide() const;

protected:
    void closeEvent(QCloseEvent *AEvent) override;

private:
    // Runs AWork on another thread with the window busy (AState in the result
    // line, its buttons disabled), rethrowing what it throws; EAbort when the
    // user closed the window meanwhile.
    void Work(const QString &AState, const std::function<void()> &AWork);
    void BuildForm();
    void Clear();
    void ShowVerification();
    void ShowFailure(const QString &AMessage, const QString &ADetails);
    void SetResult(const QString &AText, bool AProblem);
    void Guarded(const std::function<void()> &AAction);
    QDateTime Moment() const;

    TVerification FVerification;
    bool FHasVerification = false;
    QPointer<TfrmComoSeguir> FGuia;
};

// Opens a verification window for File (none chosen when empty) that deletes
// itself when closed, and returns it.
// AKeyFile, when given, is looked at as a picked key (--clave).
TfrmVerificar *OpenVerifyWindow(const QString &AFile, const QString &AKeyFile = QString());

// Makes a file dropped anywhere on Window open a verification window for it
// (through Open, OpenVerifyWindow unless given) without touching Window's
// fields or pages.
void AcceptCertificateDrops(QWidget *AWindow,
                            std::function<void(const QString &File)> AOpen = nullptr);

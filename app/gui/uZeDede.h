#pragma once
// TfrmZeDede: the program's only window, a fixed-size dialog hosting the
// three-page wizard (welcome, data entry, results) that prepares the request
// for the electronic-invoicing certificate.

#include "DataValidation.h"
#include "LinkLabel.h"
#include "Shape.h"
#include "RequestData.h"
#include "RequestGenerator.h"
#include "WellKnownFolders.h"

#include <QLabel>
#include <QPointer>
#include <QString>
#include <QUrl>
#include <QWidget>

#include <functional>

class QGroupBox;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QToolButton;
class TBrowseFolderDlgKV;
class TCuitMaskEdit;
class TfrmComoSeguir;
class TImageKv;
class TWizardKv;
class TWizardPageKv;

class TfrmZeDede : public QWidget
{
    Q_OBJECT
public:
    explicit TfrmZeDede(QWidget *AParent = nullptr);
    ~TfrmZeDede() override;

    // The client area, at a scale factor of 1; the window cannot be resized.
    static constexpr int ClientWidth = 709;
    static constexpr int ClientHeight = 533;

    static const QString Caption;
    static const QString AfipLoginUrl;
    static const QString VemraUrl;
    static const QString HintOrganizacion;
    static const QString HintOperador;
    static const QString HintGeneracion;
    // Tooltip and description of the password fields.
    static const QString PasswordHint;

    // The folder where the OpenSSL installer is looked for; empty means the
    // program's own folder.
    QString ProgramFolder;

    // The destination folder the data page starts with; the default folder
    // when empty.
    QString StartFolder;
    // Called after a generation has written its files and filled the results
    // page.
    std::function<void(const TRequestResult &)> OnGenerated;

    // The data page's texts, exactly as typed.
    TRequestData RequestData() const;

    // Handlers, wired as the form description says.
    void FormCreate(QObject *Sender);
    void FormShow(QObject *Sender);
    void wiztChange(QObject *Sender);
    void wpInicialNextClick(QObject *Sender, bool &Done);
    void wpDatosEnter(QObject *Sender);
    void wpDatosDoneQuery(QObject *Sender, bool &Done);
    void wpDatosNextClick(QObject *Sender, bool &Done);
    void eNombreEmpresaChange(QObject *Sender);
    void GroupBox1Enter(QObject *Sender);
    void cxGroupBox4Enter(QObject *Sender);
    void cxGroupBox2Enter(QObject *Sender);
    void sbFolderClick(QObject *Sender);
    void SpeedButton1Click(QObject *Sender);
    void Label12Click(QObject *Sender);
    void LabelVemraClick(QObject *Sender);

    // Opens the guide "Cómo seguir" (or brings it forward), naming the files
    // of the last generation.
    void ShowGuide();
    TfrmComoSeguir *Guide() const;

    void UpdatePicture();
    void CreateLabelVemra();
    // On the results page Return and Enter press "Terminar" (elsewhere they
    // press "Siguiente", the default button), which then looks the default.
    void UpdateEnterKey();
    // Generates the three files from the data ValidateData accepted last
    // (with its resolved folder) and fills the results page. The window stays
    // alive meanwhile, showing the step under way.
    void GenerateRequest();
    // The full validation, with the focus moved to the offending field.
    void ValidateData();

    // Components
    TWizardKv *wizt = nullptr;
    TWizardPageKv *wpInicial = nullptr;
    TWizardPageKv *wpDatos = nullptr;
    TWizardPageKv *wpFinal = nullptr;

    QLabel *Label16 = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;

    QGroupBox *GroupBox1 = nullptr;
    QLabel *Label3 = nullptr;
    QLineEdit *eNombreEmpresa = nullptr;
    QLabel *Label4 = nullptr;
    TCuitMaskEdit *eCUIT = nullptr;
    QGroupBox *cxGroupBox4 = nullptr;
    QLabel *Label5 = nullptr;
    QLineEdit *eOperador = nullptr;
    QLabel *Label6 = nullptr;
    QLineEdit *eMail = nullptr;
    QLabel *Label7 = nullptr;
    QLineEdit *ePassword = nullptr;
    QLabel *Label9 = nullptr;
    QLineEdit *ePassword2 = nullptr;
    QGroupBox *cxGroupBox2 = nullptr;
    QLabel *Label8 = nullptr;
    QLineEdit *eCarpeta = nullptr;
    QToolButton *sbFolder = nullptr;
    TShapeKv *Shape4 = nullptr;
    TImageKv *Image2 = nullptr;
    QLabel *cxLabelHint = nullptr;

    QLabel *Label10 = nullptr;
    QLabel *Label13 = nullptr;
    QLabel *laFilePrivada = nullptr;
    QLabel *Label14 = nullptr;
    QLabel *laFilePedido = nullptr;
    QLabel *Label15 = nullptr;
    QLabel *laFileSource = nullptr;
    TShapeKv *Shape1 = nullptr;
    TImageKv *Image1 = nullptr;
    QLabel *cxLabel1 = nullptr;
    QLabel *Label11 = nullptr;
    QLineEdit *eCarpetaPedido = nullptr;
    QToolButton *SpeedButton1 = nullptr;
    TLinkLabelKv *Label12 = nullptr;
    // Below the page's texts: the names earlier files were kept under, and
    // the link to the guide.
    QLabel *laKeptPrivada = nullptr;
    QLabel *laKeptPedido = nullptr;
    QLabel *laKeptSource = nullptr;
    TLinkLabelKv *laComoSeguir = nullptr;

    TBrowseFolderDlgKV *BrowseFolderDlgKV1 = nullptr;

    // What the window is doing while an external program runs: shown on the
    // active page, below its contents.
    QWidget *pnlEstado = nullptr;
    QLabel *laEstado = nullptr;
    QProgressBar *pbEstado = nullptr;
    // Shown only while waiting for another generation: gives the wait up.
    QPushButton *btCancelarEspera = nullptr;

    static const QString EstadoEspera;
    static const QString EstadoClave;
    static const QString EstadoPedido;
    static const QString EstadoInstalacion;

    bool Page2Inicializada() const { return FPage2Inicializada; }
    TLinkLabelKv *LabelVemra() const { return FLabelVemra; }

protected:
    void keyPressEvent(QKeyEvent *AEvent) override;
    void showEvent(QShowEvent *AEvent) override;
    void closeEvent(QCloseEvent *AEvent) override;

private:
    void BuildForm();
    // Makes room for texts that a font other than the form's needs.
    void FitTexts();
    void DescribeForAssistiveTechnologies();
    void FocusChanged(QWidget *AOld, QWidget *ANow);
    void FocusField(TDataField AField);
    void ShowError(std::exception_ptr AError);
    void ShowState(const QString &AText, bool ACancellable = false);
    void ShowKeptFiles(const TRequestResult &AResult);
    void HideState();

    TRequestData FDatos; // what ValidateData accepted, its folder resolved
    bool FPage2Inicializada = false;
    TLinkLabelKv *FLabelVemra = nullptr;
    TRequestResult FResult; // the last generation
    QPointer<TfrmComoSeguir> FGuia;
};

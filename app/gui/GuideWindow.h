#pragma once
// TfrmComoSeguir: the guide "Cómo seguir", what to do once the request has
// been generated: get the certificate from ARCA (ex AFIP) for production or
// for testing, authorise it for the electronic-invoice web service, save it
// beside the key, check it, back the key up and load the files into the
// sales system. All of it is in the program (nothing is fetched). The text
// scrolls, so that it fits the window at any scale; sections are headings
// for screen readers.

#include <QDialog>
#include <QList>
#include <QString>

#include <functional>

class QLabel;
class QPushButton;
class QScrollArea;
class THeadingLabel;

class TfrmComoSeguir : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmComoSeguir(QWidget *AParent = nullptr);

    static const QString Caption;

    // Names the generated files in the guide's first paragraph: the folder
    // and the file names of the key, the request and the origin file.
    void ShowFiles(const QString &AFolder, const QString &AKey, const QString &ARequest,
                   const QString &ASource);

    // What "Verificar certificado..." does; without it the button is hidden.
    void SetOnVerify(std::function<void()> AOnVerify);

    QScrollArea *saGuia = nullptr;
    QLabel *laArchivos = nullptr;
    QList<THeadingLabel *> Headings;
    QList<QLabel *> Paragraphs; // every text below a heading, in order
    QPushButton *btVerificar = nullptr;
    QPushButton *btCerrar = nullptr;

private:
    void BuildForm();
    std::function<void()> FOnVerify;
};

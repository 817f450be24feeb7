#pragma once
// TfrmGuiaRenovacion: what to do after a renewal's files are written —
// where to upload the new request, where to save the certificate that comes
// back, checking it, and only then loading it into the sales system.

#include "CertificateCheck.h"

#include <QString>
#include <QStringList>
#include <QWidget>

class QLabel;
class QPushButton;

// The steps, in order, as plain sentences.
QStringList RenewalGuideSteps(TIssuerKind Environment, const QString &Alias,
                              const QString &RequestFile, const QString &RenewalFolder);

class TfrmGuiaRenovacion : public QWidget
{
    Q_OBJECT
public:
    TfrmGuiaRenovacion(TIssuerKind Environment, const QString &Alias, const QString &RequestFile,
                       const QString &RenewalFolder, QWidget *AParent = nullptr);

    static const QString Caption;

    QLabel *laTitulo = nullptr;
    QList<QLabel *> laPasos;
    QPushButton *btAbrirCarpeta = nullptr;
    QPushButton *btCerrar = nullptr;

private:
    QString FFolder;
};

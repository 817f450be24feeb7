#include "RenewalStart.h"

#include "CuitMaskEdit.h"
#include "RenewalGuide.h"
#include "UCWWizard.h"
#include "uZeDede.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>

const QString kRenewalFolderNote = QStringLiteral(
    "Es la carpeta de la renovación: la clave y el certificado en uso no se tocaron.");

void PrepareRenewalWizard(TfrmZeDede *Window, const TRenewal &Renewal)
{
    Window->StartFolder = Renewal.Folder;
    Window->eNombreEmpresa->setText(Renewal.Company);
    if (!Renewal.CUIT.isEmpty())
        Window->eCUIT->SetText(Renewal.CUIT);
    Window->eOperador->setText(Renewal.Holder);
    Window->eMail->setText(Renewal.Mail);
    Window->eCarpeta->setText(Renewal.Folder);

    // The note goes under the results page's folder field.
    auto *note = new QLabel(kRenewalFolderNote, Window->eCarpetaPedido->parentWidget());
    note->setObjectName(QStringLiteral("laNotaRenovacion"));
    note->setTextFormat(Qt::PlainText);
    note->hide();

    QPointer<TfrmZeDede> window(Window);
    const TRenewal renewal = Renewal;
    Window->OnGenerated = [window, note, renewal](const TRequestResult &AResult) {
        if (!window)
            return;
        const QRect field = window->eCarpetaPedido->geometry();
        note->setGeometry(field.left(), field.bottom() + 4, field.width(),
                          note->sizeHint().height());
        note->show();
        auto *guide = new TfrmGuiaRenovacion(renewal.Environment, renewal.Holder,
                                             AResult.RequestFile, AResult.CarpetaPedido, window);
        guide->show();
    };
}

TfrmZeDede *OpenRenewalWizard(const QString &CertificateFile, const QDate &Day)
{
    const TRenewal renewal = PrepareRenewal(CertificateFile, Day);
    auto *frm = new TfrmZeDede;
    frm->setAttribute(Qt::WA_DeleteOnClose);
    PrepareRenewalWizard(frm, renewal);
    frm->show();
    if (frm->wizt->ActivePage() == frm->wpInicial)
        frm->wizt->NextButton->click();
    return frm;
}

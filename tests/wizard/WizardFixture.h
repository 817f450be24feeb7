#pragma once
// A host form of 709 x 533 with a wizard built the way the program's window
// builds it: wizard properties, pages, page references, Loaded.

#include "UCWWizard.h"
#include "Exception.h"

#include <QLineEdit>
#include <QPushButton>
#include <QStringList>

#include <memory>

struct TWizardFixture
{
    std::unique_ptr<QWidget> Form;
    TWizardKv *Wizard = nullptr;
    QList<TWizardPageKv *> Pages;
    QStringList Log;   // events in the order they fired

    explicit TWizardFixture(int APageCount, bool AAllowProcessDefault = true, bool AShow = true,
                            const std::function<void(TWizardKv *)> &ABeforePages = nullptr)
    {
        Form = std::make_unique<QWidget>();
        Form->setFont(TWizardKv::DefaultFont());
        Form->resize(709, 533);
        Wizard = new TWizardKv(Form.get());
        Wizard->SetAllowProcessDefault(AAllowProcessDefault);
        Wizard->OnChanging = [this](QObject *) { Log << QStringLiteral("changing"); };
        Wizard->OnChange = [this](QObject *) {
            Log << QStringLiteral("change:%1").arg(Wizard->ActivePage()->objectName());
        };
        Wizard->OnException = [this](QObject *, std::exception_ptr AError) {
            try {
                std::rethrow_exception(AError);
            } catch (const Exception &e) {
                Log << QStringLiteral("error:") + e.Message();
            }
        };
        if (ABeforePages)
            ABeforePages(Wizard);
        for (int i = 0; i < APageCount; ++i) {
            auto *page = new TWizardPageKv(Wizard);
            page->setObjectName(QStringLiteral("p%1").arg(i + 1));
            auto *edit = new QLineEdit(page);
            edit->setObjectName(QStringLiteral("e%1").arg(i + 1));
            edit->setGeometry(48, 32, 200, 21);
            Pages << page;
        }
        if (!Pages.isEmpty()) {
            Wizard->SetActivePage(Pages.first());
            Wizard->SetFirstPage(Pages.first());
        }
        Wizard->Loaded();
        if (AShow)
            Form->show();
    }

    // The form goes first: its destruction may still call the handlers.
    ~TWizardFixture() { Form.reset(); }

    TWizardPageKv *Active() const { return Wizard->ActivePage(); }
    QString ActiveName() const { return Active() ? Active()->objectName() : QStringLiteral("none"); }
    template <class T> T *Child(const char *AName) const
    {
        return Wizard->findChild<T *>(QString::fromLatin1(AName));
    }
};

#pragma once
// The wizard's own texts.  The Spanish texts are the source texts of the
// translation context "TWizardKv": a translator installed in the application
// may replace them, without one they are shown as written here.

#include <QCoreApplication>
#include <QString>

namespace WizardTexts {

inline QString Next() { return QCoreApplication::translate("TWizardKv", " &Siguiente >"); }
inline QString Back() { return QCoreApplication::translate("TWizardKv", "< &Atrás"); }
inline QString Cancel() { return QCoreApplication::translate("TWizardKv", "&Cancelar"); }
inline QString Finish() { return QCoreApplication::translate("TWizardKv", "&Terminar"); }
inline QString HelpHint() { return QCoreApplication::translate("TWizardKv", "Ayuda (F1)"); }
inline QString Steps() { return QCoreApplication::translate("TWizardKv", "Pasos"); }
inline QString PageArea()
{
    return QCoreApplication::translate("TWizardKv", "Con botón derecho se agregan páginas.");
}
inline QString FirstStep() { return QCoreApplication::translate("TWizardKv", "Comienzo"); }
inline QString LastStep() { return QCoreApplication::translate("TWizardKv", "Finalizar"); }
inline QString Step(int AIndex)
{
    return QCoreApplication::translate("TWizardKv", "Paso %1").arg(AIndex);
}
inline QString ListIndexError(int AIndex)
{
    return QCoreApplication::translate("TWizardKv", "Índice de lista fuera de límites (%1)")
        .arg(AIndex);
}

} // namespace WizardTexts

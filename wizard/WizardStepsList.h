#pragma once
// The wizard's steps list: one row per page, a triangle (lime for the
// active page, red for the others) and the step's name, white on black.

#include "WizardPanels.h"

class QPainter;
class TWizardNavigator;

class TWizardStepsListKv : public TWizardPanelKv
{
    Q_OBJECT
public:
    // The rows follow ANavigator's pages and active page.
    TWizardStepsListKv(const TWizardNavigator *ANavigator, QWidget *AParent);

    // Name of step AIndex (1-based) of ACount: "Comienzo", "Paso n",
    // "Finalizar".
    static QString StepCaption(int AIndex, int ACount);
    // Top of row AIndex (1-based) for a font AFontHeight pixels high.
    static int StepTop(int AIndex, int AFontHeight);

protected:
    void paintEvent(QPaintEvent *) override;

private:
    const TWizardNavigator *FNavigator;
};

#include "HelpGlyph.h"

#include "UCWWizard.h"
#include "UVmRepositoryImages.h"

#include <QPixmap>

void RegisterWizardHelpGlyph()
{
    TWizardKv::SetHelpGlyphProvider([] {
        QPixmap glyph;
        if (RepositoryImages)
            RepositoryImages->GetBitmap(ieActHelp, glyph, is16p);
        return glyph;
    });
}

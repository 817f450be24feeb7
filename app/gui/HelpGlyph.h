#pragma once
// The wizard control's help glyph from the image catalogue.

// Gives the wizard control (UCWWizard) the catalogue's help glyph: each new
// wizard then draws ieActHelp at 16 pixels through RepositoryImages. Called
// once at start-up, before a wizard is made.
void RegisterWizardHelpGlyph();

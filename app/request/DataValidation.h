#pragma once
// The data page's completeness rule and its full validation.

#include "RequestData.h"
#include "TextRules.h"

#include <QString>

#include <functional>

// The completeness rule that enables Next: every field but the folder holds
// something (untrimmed; the CUIT without its dashes).
bool DataComplete(const TRequestData &Data);

// The destination folder as one absolute folder: "~" and "~/..." against the
// home folder, any other relative text against the current directory; an
// absolute text unchanged. Nothing is trimmed.
QString ResolveFolder(const QString &Text);

// The full validation, in its fixed order; resolves the destination folder
// once (ResolveFolder), creates it when it is missing (a failure names the
// system's reason) and makes sure files can be written in it. Returns that
// absolute folder, the one to generate into. Throws EDataError for the
// first failure.
QString ValidateRequestData(const TRequestData &Data, const TFocusField &Focus = TFocusField());


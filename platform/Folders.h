#pragma once
// Creating folders and asking whether files can be made in one, with the
// system's reason for a failure.

#include "FileWrite.h"

#include <QString>

// Creates Folder with every missing parent folder; true when it exists as a
// folder afterwards. On failure Error holds the reason of the first folder
// that could not be made (or ENOTDIR / ERROR_DIRECTORY when a file stands
// in the way).
bool CreateFolderPath(const QString &Folder, TFileError &Error);

// True when a new file can be created in the existing folder Folder: a
// probe file is made and removed again. On failure Error holds the reason.
bool CanCreateFilesIn(const QString &Folder, TFileError &Error);

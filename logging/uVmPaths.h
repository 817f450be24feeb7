#pragma once
// Well-known folders of the maker's programs: the machine-wide data folder,
// the maker's folder inside it, the user's application-data and documents
// folders, and cleaned sub-folders below them that are created on demand.
//
// Every path returned is an existing folder ending with the path delimiter,
// or the empty text when the folder could not be made.

#include <QString>

class TVmPaths
{
public:
    TVmPaths() = delete;

    // Replaces the characters that may not appear in folder names (here the
    // backslash and * ? " < > |; the delimiter "/" stays) by "-" and appends
    // the delimiter unless present. The empty text stays empty.
    static void FormatPathFolder(QString &Path);
    // True when the path lives on a fixed local disk.
    static bool IsLocalDrivePath(const QString &APath);

    static QString ApplicationData(const QString &SubFolder);
    static QString ApplicationData_Vemra(const QString &SubFolder);
    static QString ApplicationData_CurrentUser(const QString &HLNumber,
                                               const QString &UserName);
    static QString ApplicationDataVemra_WindowsCurrentUser(const QString &HLNumber);
    static QString MyDocuments(const QString &SubFolder);

    static QString GetAppDataPath(const QString &SubFolder) { return ApplicationData(SubFolder); }
    static QString GetAppDataPathVemra(const QString &SubFolder) { return ApplicationData_Vemra(SubFolder); }
    static QString GetCurrentUserPath(const QString &HLNumber, const QString &UserName)
    {
        return ApplicationData_CurrentUser(HLNumber, UserName);
    }
    static QString GetMyDocumnetsPath(const QString &SubFolder) { return MyDocuments(SubFolder); }

    // Expands the first %NAME% token of S from the process environment.
    static QString ExpandFirstVariable(const QString &S);
    // Cleans P (rewritten), appends the delimiter and creates the folder
    // with its parents; true when it exists afterwards.
    static bool EnsureFolder(QString &P);

    // The machine-wide data folder, cached after the first non-empty read.
    static QString CommonAppDataCache();
    // Forgets the cached machine-wide data folder (done at program end).
    static void ClearCommonAppDataCache();

private:
    enum class TRoot { CommonAppData, AppData, Personal };
    static QString ReadShellFolder(TRoot Root);
};

// True when Path names an existing folder.
bool IsExistingFolder(const QString &Path);
// Appends the path delimiter unless the text already ends with it.
QString IncludeTrailingPathDelimiter(const QString &S);

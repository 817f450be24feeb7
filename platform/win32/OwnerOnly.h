#pragma once
// Access lists that give a file or folder to the current user (and the
// system account, which backups and the system itself need) alone: a
// protected list, so nothing the folder passes down to its children applies.

#include <QString>

#include <windows.h>

class TOwnerOnlySecurity
{
public:
    enum class TKind {
        File,  // the entries apply to the file itself
        Folder // and are passed down to whatever is created inside
    };
    explicit TOwnerOnlySecurity(TKind Kind);
    ~TOwnerOnlySecurity();
    TOwnerOnlySecurity(const TOwnerOnlySecurity &) = delete;
    TOwnerOnlySecurity &operator=(const TOwnerOnlySecurity &) = delete;

    // False when the current user's identity could not be read; the
    // system's error is in GetLastError().
    bool IsValid() const { return FDescriptor != nullptr; }
    // For CreateFileW and CreateDirectoryW: the object is created with the
    // list, before any byte is in it.
    SECURITY_ATTRIBUTES *Attributes() { return IsValid() ? &FAttributes : nullptr; }
    // Sets the list on an object opened with WRITE_DAC. False (with the
    // system's error in GetLastError()) on failure.
    bool ApplyTo(HANDLE Handle) const;

private:
    PSECURITY_DESCRIPTOR FDescriptor = nullptr;
    SECURITY_ATTRIBUTES FAttributes{};
};

// The current user's security identifier in text form ("S-1-5-21-…"), read
// from the process token; empty when it cannot be read.
QString CurrentUserSidText();

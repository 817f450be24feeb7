#pragma once
// One generation at a time per OpenSSL folder, across processes: an
// exclusive lock on "vemra.cnf.lock" beside the configuration copy, held
// for the whole generation and released by the system when the process
// ends, however it ends.

#include "FileLock.h"

#include <QString>

#include <functional>

// How long a generation waits for another one to finish, in milliseconds
// (2 minutes); tests shorten it.
qint64 GenerationLockWait();
void SetGenerationLockWait(qint64 Ms);

// The lock file of an OpenSSL folder (ending with its delimiter).
QString GenerationLockFile(const QString &OpenSSLDir);

class TGenerationLock
{
public:
    // Takes the lock of OpenSSLDir. When another process (or another
    // generation here) holds it, calls Waiting once and waits, on the wait
    // runner's thread when there is one (so a window stays alive), for at
    // most GenerationLockWait(). Throws EAbort when the runner cancels the
    // wait, Exception with a Spanish message when the wait is over, and
    // Exception with UnableMessage (the system's reason in the details)
    // when the lock file cannot be made or locked.
    TGenerationLock(const QString &OpenSSLDir, const QString &UnableMessage,
                    const std::function<void()> &Waiting);

private:
    TLockFile FLock;
};

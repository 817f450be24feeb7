#pragma once
// Whether a program may be run to make secrets: no one but its owner (the
// user or the system's administrators) can change the program or put
// another one in its place.

#include <QString>

// Empty when Program (a full path) and the folder that holds it can be
// changed only by the current user or the system's administrators; else a
// Spanish sentence naming the path at fault and why. Linux: the file (a link
// is followed, and the link's own folder is judged too) and its folder are
// owned by the user or root and writable by no group or other user.
// Windows: their access lists give no one else the right to write, append,
// delete, or change the list or the owner.
QString UnsafeProgramReason(const QString &Program);

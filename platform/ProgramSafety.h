#pragma once
// Whether a program may be run without trusting other users of the machine:
// the program file (links followed) and every folder it is reached through
// may be changed only by their owner or the administrator.

#include <QString>

// Empty when Program is safe to run; otherwise a Spanish sentence naming
// the unsafe path and why ("la carpeta /x la pueden modificar otros usuarios
// (permisos 0777)"). On Linux: the file and the folder it lies in, for the
// path as given and after each symbolic link, must belong to root or to
// this user and be writable by no group or other user; the folders above
// them may be writable by others only when they are sticky (/tmp). On
// Windows: the file and its folder may grant writing only to their owner,
// this user, the system and the administrators.
QString UnsafeProgramReason(const QString &Program);

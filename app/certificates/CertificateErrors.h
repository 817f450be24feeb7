#pragma once
// The errors of the certificate check and the .pfx export.

#include "Exception.h"

#include <QString>

// An error whose message is the user's text and whose details are the
// library's own reason, shown apart and logged.
class EToolError : public Exception
{
public:
    explicit EToolError(const QString &AMessage, const QString &ADetails = QString())
        : Exception(AMessage, ADetails) {}
};

// The file to check, or something the check needs (the authority's keys),
// cannot be read at all: nothing could be judged.
class EUnreadable : public EToolError
{
public:
    using EToolError::EToolError;
};

// Writes Message and Details to the program's log as an error of the check.
void LogCheckError(const QString &AMessage, const QString &ADetails);

#pragma once
// A general error whose message is the text shown to the user, optionally
// with details (an external program's own output) shown on request.

#include <QString>
#include <exception>
#include <string>

class Exception : public std::exception
{
public:
    explicit Exception(const QString &message, const QString &details = QString())
        : FMessage(message), FDetails(details), FUtf8(message.toStdString()) {}
    const QString &Message() const noexcept { return FMessage; }
    const QString &Details() const noexcept { return FDetails; }
    const char *what() const noexcept override { return FUtf8.c_str(); }

private:
    QString FMessage;
    QString FDetails;
    std::string FUtf8;
};

// The silent error: it stops what is running and is shown to nobody (the
// user asked for the stop).
class EAbort : public Exception
{
public:
    explicit EAbort(const QString &message = QStringLiteral("Operación interrumpida"))
        : Exception(message) {}
};

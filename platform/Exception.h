#pragma once
// A general error whose message is the text shown to the user.

#include <QString>
#include <exception>
#include <string>

class Exception : public std::exception
{
public:
    explicit Exception(const QString &message)
        : FMessage(message), FUtf8(message.toStdString()) {}
    const QString &Message() const noexcept { return FMessage; }
    const char *what() const noexcept override { return FUtf8.c_str(); }

private:
    QString FMessage;
    std::string FUtf8;
};

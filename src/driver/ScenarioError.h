#pragma once

#include <QString>
#include <stdexcept>

// A scenario that cannot be carried out as written: a malformed line, an unknown command, a
// control or form that is not there. The driver stops with exit code 2.
class ScenarioError : public std::runtime_error {
public:
    explicit ScenarioError(const QString& message)
        : std::runtime_error(message.toStdString()), message_(message) {}

    const QString& message() const { return message_; }

private:
    QString message_;
};

#pragma once

#include "SuiteError.h"

#include <QString>
#include <exception>
#include <functional>

// How every form procedure meets an error: the procedure's label ("InizializzaTestata:") and a
// line break go before the error's source, the form's MostraErrore reports it, and the procedure
// ends there. Errors that are not SuiteErrors (a bad cast, a failed allocation) are reported the
// same way, as run-time errors.
class ErrorReport {
public:
    virtual ~ErrorReport() = default;
    virtual void MostraErrore(const SuiteError& error) = 0;

    // Runs `body` under the procedure's error handler; false when it was reported.
    bool guard(const char* label, const std::function<void()>& body);

    // The text MostraErrore shows: number, description, "Errore in : ", place, source, one a line.
    static QString text(const SuiteError& error, const QString& placeName);
};

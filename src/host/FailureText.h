#pragma once

#include <QString>

class SuiteError;

// What a clerk is told when an operation failed: our own words for each kind of failure, with
// what was not done, never the engine's text. The error itself (number, source, the engine's
// words) goes to the program's log.
namespace FailureText {

// `notDone` says what did not happen ("L'allegato non è stato aggiunto.").
QString of(const SuiteError& error, const QString& notDone);

}  // namespace FailureText

#include "FailureText.h"

#include "SuiteError.h"
#include "WriteConflict.h"

#include <QLoggingCategory>

namespace {
Q_LOGGING_CATEGORY(failures, "kv.failure")
}

namespace FailureText {

QString of(const SuiteError& error, const QString& notDone) {
    qCWarning(failures).noquote() << error.hexNumber() << error.source() << error.description();
    switch (error.number()) {
        case SuiteError::kWriteConflict:
            return notDone + QStringLiteral("\r\n") + WriteConflict::kMessage;
        case SuiteError::kTimeout:
        case SuiteError::kOperationNotAllowed:
            // Our own words already: a lock held elsewhere, a standby that does not answer, a rule
            // of the program (a slip's file that cannot be made, a credit before its slip).
            return notDone + QStringLiteral("\r\n") + error.description();
        case SuiteError::kConnectionFailed:
            return notDone + QStringLiteral(
                                 "\r\nIl database non è raggiungibile: riprovare quando il collegamento "
                                 "sarà tornato.");
        case SuiteError::kNotPermitted:
            return notDone + QStringLiteral("\r\nL'utente non ha il diritto di eseguire questa operazione.");
        default:
            return notDone + QStringLiteral(
                                 "\r\nIl database ha rifiutato l'operazione: nessun dato è stato modificato. "
                                 "Il dettaglio tecnico è nel registro del programma.");
    }
}

}  // namespace FailureText

#include "SignInAttempts.h"

#include "Accounts.h"
#include "Connection.h"
#include "Credentials.h"
#include "SuiteError.h"

#include <algorithm>

namespace {

[[noreturn]] void refuseAttempt(const QString& why) {
    throw SuiteError(SuiteError::kNotPermitted, QStringLiteral("Accesso"), why);
}

}  // namespace

int SignInAttempts::waitSeconds(int attempts) {
    // None after the first mistake; then 1, 2, 4... seconds, at most a minute.
    if (attempts < 2) return 0;
    return std::min(60, 1 << std::min(attempts - 2, 6));
}

void SignInAttempts::take(const QString& who) {
    const Credentials& credentials = connection_.dialect().credentials();
    const SignInTable table = Accounts::signInTable();
    // Another attempt counted between the read and the count: read again (and most likely wait).
    for (int round = 0; round < 100; ++round) {
        const std::optional<Credentials::Attempts> c = credentials.attempts(connection_, table, who);
        if (!c) return;
        const int wait = waitSeconds(c->count);
        if (wait > 0 && c->last.isValid()) {
            // The moment of the last attempt is kept to the second: the wait counts from its end.
            const qint64 left = c->now.msecsTo(c->last.addSecs(wait + 1));
            if (left > 0)
                refuseAttempt(QStringLiteral("Troppi tentativi errati: riprovare fra %1 secondi.")
                                  .arg((left + 999) / 1000));
        }
        if (credentials.countAttempt(connection_, table, who, c->count)) return;
    }
    refuseAttempt(
        QStringLiteral("Troppi tentativi di accesso contemporanei: riprovare fra qualche secondo."));
}

void SignInAttempts::succeeded(Connection& connection, const QString& who) {
    connection.dialect().credentials().signedIn(connection, Accounts::signInTable(), who);
}

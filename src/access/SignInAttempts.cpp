#include "SignInAttempts.h"

#include "Connection.h"
#include "SqlText.h"
#include "SuiteError.h"
#include "Value.h"

#include <algorithm>

namespace {

[[noreturn]] void refuse(const QString& why) {
    throw SuiteError(SuiteError::kNotPermitted, QStringLiteral("Accesso"), why);
}

QString byUser(const QString& code) {
    return QStringLiteral(" WHERE KV10_UTENTE_KV02 = ") + SqlText::quote(code.trimmed().toUpper());
}

}  // namespace

int SignInAttempts::waitSeconds(int attempts) {
    // None after the first mistake; then 1, 2, 4... seconds, at most a minute.
    if (attempts < 2) return 0;
    return std::min(60, 1 << std::min(attempts - 2, 6));
}

std::optional<SignInAttempts::Count> SignInAttempts::read(const QString& who) const {
    const SqlDialect& d = connection_.dialect();
    // On a server its own clock: the workstations' clocks may differ from one another.
    const auto rows =
        connection_
            .Query(d.hasRoles() ? d.signInAttempts(who)
                                : QStringLiteral("SELECT COALESCE(KV10_TENTATIVI, 0), KV10_DATATENT "
                                                 "FROM KV10_ACCESSI") +
                                      byUser(who))
            .front()
            .rows;
    if (rows.empty()) return std::nullopt;
    const QVector<QVariant>& r = rows.front();
    return Count{Value::toInt(r[0]), Value::toDateTime(r[1]),
                 r.size() > 2 ? Value::toDateTime(r[2]) : QDateTime::currentDateTime()};
}

bool SignInAttempts::count(const QString& who, int seen) {
    const SqlDialect& d = connection_.dialect();
    if (d.hasRoles())
        return Value::toInt(connection_.Query(d.countSignInAttempt(who, seen)).front().rows.front()[0]) == 1;
    return connection_.Execute(
               QStringLiteral("UPDATE KV10_ACCESSI SET KV10_TENTATIVI = %1, KV10_DATATENT = %2")
                   .arg(seen + 1)
                   .arg(d.literal(QDateTime::currentDateTime(), DataType::DateTime)) +
               byUser(who) + QStringLiteral(" AND COALESCE(KV10_TENTATIVI, 0) = %1").arg(seen)) == 1;
}

void SignInAttempts::take(const QString& who) {
    // Another attempt counted between the read and the count: read again (and most likely wait).
    for (int round = 0; round < 100; ++round) {
        const std::optional<Count> c = read(who);
        if (!c) return;
        const int wait = waitSeconds(c->attempts);
        if (wait > 0 && c->last.isValid()) {
            // The moment of the last attempt is kept to the second: the wait counts from its end.
            const qint64 left = c->now.msecsTo(c->last.addSecs(wait + 1));
            if (left > 0)
                refuse(QStringLiteral("Troppi tentativi errati: riprovare fra %1 secondi.")
                           .arg((left + 999) / 1000));
        }
        if (count(who, c->attempts)) return;
    }
    refuse(QStringLiteral("Troppi tentativi di accesso contemporanei: riprovare fra qualche secondo."));
}

void SignInAttempts::succeeded(Connection& connection, const QString& who) {
    const SqlDialect& d = connection.dialect();
    if (d.hasRoles()) {
        connection.Query(d.signInSucceeded());
        return;
    }
    connection.Execute(QStringLiteral("UPDATE KV10_ACCESSI SET KV10_TENTATIVI = 0") + byUser(who) +
                       QStringLiteral(" AND KV10_TENTATIVI <> 0"));
}

#include "SignIn.h"

#include "Connection.h"
#include "PasswordHash.h"
#include "SuiteError.h"
#include "TechnicalLog.h"

#include <QHash>
#include <QMutex>
#include <algorithm>

namespace {

const QString kSource = QStringLiteral("Accesso");

[[noreturn]] void refuse(const QString& why) {
    throw SuiteError(SuiteError::kNotPermitted, kSource, why);
}

const QString kWrong = QStringLiteral("Utente o password non validi.");

// The server checks a role's password itself: the attempts in a row are counted here.
struct ServerFailures {
    QMutex mutex;
    QHash<QString, std::pair<int, QDateTime>> byRole;
};
ServerFailures& serverFailures() {
    static ServerFailures failures;
    return failures;
}

void refuseWhileWaiting(int failures, const QDateTime& last) {
    const int wait = SignIn::waitSeconds(failures);
    if (wait <= 0 || !last.isValid()) return;
    // The time of the last mistake is kept to the second: the wait counts from its end.
    const qint64 left = QDateTime::currentDateTime().msecsTo(last.addSecs(wait + 1));
    if (left > 0)
        refuse(QStringLiteral("Troppi tentativi errati: riprovare fra %1 secondi.").arg((left + 999) / 1000));
}

}  // namespace

int SignIn::waitSeconds(int failures) {
    // None after the first mistake; then 1, 2, 4... seconds, at most a minute.
    if (failures < 2) return 0;
    return std::min(60, 1 << std::min(failures - 2, 6));
}

SignIn::Session SignIn::sessionFor(const QString& connectionString, Connection& connection,
                                   const Account& account) const {
    if (account.disabled)
        refuse(QStringLiteral("L'utente %1 è disattivato: rivolgersi all'amministratore.").arg(account.code));
    return {connectionString, account, Accounts(connection).rightsOf(account.group, program_)};
}

SignIn::Session SignIn::signIn(const QString& connectionString, const QString& user,
                               const QString& password) const {
    auto connection = std::make_shared<Connection>();
    if (ConnectionString::parse(connectionString).signsInAsRole()) {
        const QString role = user.trimmed();
        ServerFailures& failures = serverFailures();
        {
            QMutexLocker lock(&failures.mutex);
            const auto [count, last] = failures.byRole.value(role);
            refuseWhileWaiting(count, last);
        }
        const QString signedIn = ConnectionString::asUser(connectionString, role, password);
        try {
            connection->Open(signedIn);
        } catch (const SuiteError&) {
            QMutexLocker lock(&failures.mutex);
            auto& [count, last] = failures.byRole[role];
            ++count;
            last = QDateTime::currentDateTime();
            // The server does not say which (its words are in the log): both are told.
            refuse(kWrong +
                   QStringLiteral("\nSe sono giusti, il database %1 non è raggiungibile: il dettaglio "
                                  "tecnico è nel registro %2.")
                       .arg(ConnectionString::shown(connectionString), TechnicalLog::path()));
        }
        {
            QMutexLocker lock(&failures.mutex);
            failures.byRole.remove(role);
        }
        const QString current =
            connection->Query(connection->dialect().currentRoleQuery()).front().rows.front()[0].toString();
        std::optional<Account> account;
        try {
            account = Accounts(*connection).findByRole(current);
        } catch (const SuiteError&) {
            // A role that is no member of any group's role does not even see the tables.
            account.reset();
        }
        if (!account)
            refuse(QStringLiteral("Il ruolo %1 del database non corrisponde a nessun utente della ditta.")
                       .arg(current));
        return sessionFor(signedIn, *connection, *account);
    }

    connection->Open(connectionString);
    Accounts accounts(*connection);
    const std::optional<Account> account = accounts.find(user);
    // An unknown user takes as long and reads the same as a wrong password.
    if (!account) {
        PasswordHash::matches(PasswordHash::make(QStringLiteral("-")), password);
        refuse(kWrong);
    }
    refuseWhileWaiting(account->failures, account->lastFailure);
    if (account->passwordHash.isEmpty()) {
        if (account->privileged)
            throw SuiteError(
                kFirstPassword, kSource,
                QStringLiteral("Primo accesso di %1: scegliere la password.").arg(account->code));
        refuse(QStringLiteral("All'utente %1 non è stata data una password: rivolgersi all'amministratore.")
                   .arg(account->code));
    }
    if (!PasswordHash::matches(account->passwordHash, password)) {
        accounts.recordFailure(account->code);
        refuse(kWrong);
    }
    accounts.clearFailures(account->code);
    return sessionFor(ConnectionString::asUser(connectionString, account->code, QString()), *connection,
                      *account);
}

SignIn::Session SignIn::trusted(const QString& connectionString, const QString& user) const {
    auto connection = std::make_shared<Connection>();
    connection->Open(connectionString);
    const std::optional<Account> account = Accounts(*connection).find(user);
    if (!account) refuse(QStringLiteral("L'utente %1 non esiste.").arg(user));
    // Without roles the session's connections still apply the user's rights; with them, the
    // connection string's own role stays.
    const bool roles = connection->dialect().hasRoles();
    return sessionFor(
        roles ? connectionString : ConnectionString::asUser(connectionString, account->code, QString()),
        *connection, *account);
}

#include "SignIn.h"

#include "Connection.h"
#include "PasswordHash.h"
#include "SignInAttempts.h"
#include "SuiteError.h"
#include "TechnicalLog.h"

namespace {

const QString kSource = QStringLiteral("Accesso");

[[noreturn]] void refuse(const QString& why) {
    throw SuiteError(SuiteError::kNotPermitted, kSource, why);
}

const QString kWrong = QStringLiteral("Utente o password non validi.");

}  // namespace

SignIn::Session SignIn::sessionFor(const QString& connectionString, Connection& connection,
                                   const Account& account) const {
    if (account.disabled)
        refuse(QStringLiteral("L'utente %1 è disattivato: rivolgersi all'amministratore.").arg(account.code));
    const ProgramRights rights = Accounts(connection).rightsOf(account.group, program_);
    // On an engine with roles the server applies the rights; else each connection does.
    ConnectionFactory::RuleSource rule;
    if (!connection.dialect().hasRoles()) rule = AccessRules::ruleOf(account.code, classOf_, program_);
    return {account, rights, ConnectionFactory(connectionString, catalogue_, std::move(rule))};
}

SignIn::Session SignIn::signIn(const QString& connectionString, const QString& user,
                               const QString& password) const {
    // Where the engine has login roles the attempts are counted before the server checks the
    // password, through a role made for the purpose that may do nothing else. Through a
    // transport the engine is not known before a connection: the counter's, or the plain text's.
    const std::optional<bool> known = ConnectionString::parse(connectionString).signsInAsRole();
    auto connection = std::make_shared<Connection>();
    auto counter = std::make_unique<Connection>();
    std::optional<SuiteError> counterRefused;
    bool roles = known.value_or(false);
    if (known.value_or(true)) {
        try {
            counter->Open(ConnectionString::asRole(connectionString, Accounts::counterRole(),
                                                   QString::fromLatin1(Accounts::kCounterPassword)));
            roles = counter->dialect().hasRoles();
        } catch (const SuiteError& e) {
            counterRefused = e;
            if (!known) {
                connection->Open(connectionString);
                roles = connection->dialect().hasRoles();
            }
        }
    }
    if (!roles) {
        counter.reset();
        if (!connection->State()) connection->Open(connectionString);
        return withPassword(connectionString, *connection, user, password);
    }
    if (counterRefused)
        refuse(QStringLiteral("Il server non lascia contare i tentativi di accesso (ruolo %1): "
                              "rivolgersi all'amministratore.\n%2")
                   .arg(Accounts::counterRole(), counterRefused->description()));
    // The clerk types the user code as the office writes it (MROSSI); the login role is the
    // code as the accounts made it.
    const QString role = Accounts::loginRole(user);
    SignInAttempts(*counter).take(role);
    counter.reset();
    connection->Close();
    const QString signedIn = ConnectionString::asRole(connectionString, role, password);
    try {
        connection->Open(signedIn);
    } catch (const SuiteError&) {
        // The server does not say which (its words are in the log): both are told.
        refuse(kWrong + QStringLiteral("\nSe sono giusti, il database %1 non è raggiungibile: il dettaglio "
                                       "tecnico è nel registro %2.")
                            .arg(ConnectionString::shown(connectionString), TechnicalLog::path()));
    }
    SignInAttempts::succeeded(*connection, role);
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

SignIn::Session SignIn::withPassword(const QString& connectionString, Connection& connection,
                                     const QString& user, const QString& password) const {
    Accounts accounts(connection);
    const std::optional<Account> account = accounts.find(user);
    // An unknown user takes as long and reads the same as a wrong password.
    if (!account) {
        PasswordHash::matches(PasswordHash::make(QStringLiteral("-")), password);
        refuse(kWrong);
    }
    SignInAttempts(connection).take(account->code);
    if (account->passwordHash.isEmpty()) {
        if (account->privileged)
            throw SuiteError(
                kFirstPassword, kSource,
                QStringLiteral("Primo accesso di %1: scegliere la password.").arg(account->code));
        refuse(QStringLiteral("All'utente %1 non è stata data una password: rivolgersi all'amministratore.")
                   .arg(account->code));
    }
    if (!PasswordHash::matches(account->passwordHash, password)) refuse(kWrong);
    SignInAttempts::succeeded(connection, account->code);
    return sessionFor(ConnectionString::asUser(connectionString, account->code, QString()), connection,
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

#include "SignIn.h"

#include "Connection.h"
#include "Credentials.h"
#include "SignInAttempts.h"
#include "SuiteError.h"
#include "TechnicalLog.h"

namespace {

const QString kSignInSource = QStringLiteral("Accesso");

[[noreturn]] void refuseSignIn(const QString& why) {
    throw SuiteError(SuiteError::kNotPermitted, kSignInSource, why);
}

const QString kWrong = QStringLiteral("Utente o password non validi.");

}  // namespace

SignIn::Session SignIn::sessionFor(const QString& connectionString, Connection& connection,
                                   const Account& account) const {
    if (account.disabled)
        refuseSignIn(
            QStringLiteral("L'utente %1 è disattivato: rivolgersi all'amministratore.").arg(account.code));
    const ProgramRights rights = Accounts(connection).rightsOf(account.group, program_);
    // Each connection applies the rule where the program enforces the rights (the credentials
    // say whether one names a user whose rule it must apply).
    return {account, rights,
            ConnectionFactory(connectionString, catalogue_,
                              AccessRules::ruleOf(account.code, classOf_, program_))};
}

std::unique_ptr<Connection> SignIn::countingConnection(const QString& connectionString) const {
    const QString counterRole = Accounts::counterRole();
    const QString counterPassword = QString::fromLatin1(Accounts::kCounterPassword);
    auto connection = std::make_unique<Connection>();
    const Credentials* credentials = ConnectionString::parse(connectionString).credentials();
    if (!credentials) {
        // Through a transport the engine is learnt from a first connection: the counter's (the
        // plain text may hold no login the server takes), else the plain text's.
        try {
            connection->Open(ConnectionString::asRole(connectionString, counterRole, counterPassword));
        } catch (const SuiteError&) {
            connection->Open(connectionString);
        }
        credentials = &connection->dialect().credentials();
    }
    const QString counting = credentials->countingConnection(connectionString, counterRole, counterPassword);
    if (connection->State() && connection->ConnectionString() == counting) return connection;
    try {
        connection->Open(counting);
    } catch (const SuiteError& e) {
        if (counting == connectionString) throw;
        refuseSignIn(QStringLiteral("Il server non lascia contare i tentativi di accesso (ruolo %1): "
                                    "rivolgersi all'amministratore.\n%2")
                         .arg(counterRole, e.description()));
    }
    return connection;
}

SignIn::Session SignIn::signIn(const QString& connectionString, const QString& user,
                               const QString& password) const {
    // The attempts are counted before the password is tried: where the server checks it,
    // through a role made for the purpose that may do nothing else.
    std::unique_ptr<Connection> counting = countingConnection(connectionString);
    const Credentials& credentials = counting->dialect().credentials();
    const QString login = credentials.loginName(user);
    SignInAttempts(*counting).take(login);
    std::unique_ptr<Connection> connection;
    try {
        connection = credentials.checkingConnection(std::move(counting), connectionString, login, password);
    } catch (const SuiteError&) {
        // The server does not say which (its words are in the log): both are told.
        refuseSignIn(kWrong +
                     QStringLiteral("\nSe sono giusti, il database %1 non è raggiungibile: il dettaglio "
                                    "tecnico è nel registro %2.")
                         .arg(ConnectionString::shown(connectionString), TechnicalLog::path()));
    }
    const QString name = credentials.signedInName(*connection, login);
    std::optional<Account> account;
    try {
        account = Accounts(*connection).findSignedIn(name);
    } catch (const SuiteError&) {
        // A role that is no member of any group's role does not even see the tables.
        account.reset();
    }
    if (!account) refuseSignIn(credentials.unknownUser(name, password, kWrong));
    switch (credentials.checkPassword(account->passwordHash, password)) {
        case Credentials::Password::Right:
            break;
        case Credentials::Password::Wrong:
            refuseSignIn(kWrong);
        case Credentials::Password::NotSet:
            if (account->privileged)
                throw SuiteError(
                    kFirstPassword, kSignInSource,
                    QStringLiteral("Primo accesso di %1: scegliere la password.").arg(account->code));
            refuseSignIn(
                QStringLiteral("All'utente %1 non è stata data una password: rivolgersi all'amministratore.")
                    .arg(account->code));
    }
    SignInAttempts::succeeded(*connection, login);
    return sessionFor(credentials.sessionConnection(connectionString, login, password), *connection,
                      *account);
}

SignIn::Session SignIn::trusted(const QString& connectionString, const QString& user) const {
    auto connection = std::make_shared<Connection>();
    connection->Open(connectionString);
    const std::optional<Account> account = Accounts(*connection).find(user);
    if (!account) refuseSignIn(QStringLiteral("L'utente %1 non esiste.").arg(user));
    return sessionFor(connection->dialect().credentials().trustedConnection(connectionString, account->code),
                      *connection, *account);
}

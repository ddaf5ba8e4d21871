#include "LoginRoleCredentials.h"

#include "Connection.h"
#include "ConnectionString.h"
#include "SqlText.h"
#include "SuiteError.h"
#include "TransactionScope.h"
#include "Value.h"

#include <QRegularExpression>

namespace {

QString currentRole(Connection& connection) {
    return Value::toText(connection.Query(connection.dialect().currentRoleQuery()).front().rows.front()[0]);
}

// Roles are shared by every database of the server, and two sessions changing one role at once fail.
void serialize(Connection& connection) {
    connection.Execute(connection.dialect().serializeRoleChanges());
}

}  // namespace

QString LoginRoleCredentials::roleName(const QString& prefix, const QString& code) {
    static const QRegularExpression other(QStringLiteral("[^a-z0-9_]"));
    return prefix + code.trimmed().toLower().replace(other, QStringLiteral("_"));
}

QString LoginRoleCredentials::userOf(const ConnectionString& cs, Connection& connection) const {
    // A role the text names is the one the server signed in (libpq passes it as written). Without
    // one (~/.pgpass or the operating-system user; an ODBC driver's own UID) the server is asked:
    // once per such connection, not on every lookup's and background read's opening.
    return cs.user.isEmpty() ? currentRole(connection) : cs.user;
}

QString LoginRoleCredentials::lostConnectionCauses() const {
    // The server also ends the sessions of a user the administrator disabled; the error seldom
    // says which (a transaction that cannot begin carries no code).
    return QStringLiteral(
        "la connessione si è chiusa (server fermo o rete interrotta, oppure utente disattivato "
        "dall'amministratore)");
}

QString LoginRoleCredentials::countingConnection(const QString& text, const QString& counterRole,
                                                 const QString& counterPassword) const {
    return ConnectionString::asRole(text, counterRole, counterPassword);
}

QString LoginRoleCredentials::loginName(const QString& typed) const {
    // The clerk types the user code as the office writes it (MROSSI); the login role is the code
    // as the accounts made it.
    return loginRoleOf(typed);
}

std::unique_ptr<Connection> LoginRoleCredentials::checkingConnection(std::unique_ptr<Connection> counting,
                                                                     const QString& text,
                                                                     const QString& login,
                                                                     const QString& password) const {
    counting.reset();
    auto connection = std::make_unique<Connection>();
    connection->Open(sessionConnection(text, login, password));
    return connection;
}

QString LoginRoleCredentials::signedInName(Connection& connection, const QString& /*login*/) const {
    return currentRole(connection);
}

QString LoginRoleCredentials::accountOf(const QString& name, const QString& /*codeColumn*/,
                                        const QString& roleColumn) const {
    return roleColumn + QStringLiteral(" = ") + SqlText::quote(name);
}

QString LoginRoleCredentials::unknownUser(const QString& name, const QString& /*password*/,
                                          const QString& /*wrongPassword*/) const {
    return QStringLiteral("Il ruolo %1 del database non corrisponde a nessun utente della ditta.").arg(name);
}

QString LoginRoleCredentials::sessionConnection(const QString& text, const QString& login,
                                                const QString& password) const {
    return ConnectionString::asRole(text, login, password);
}

std::optional<Credentials::Attempts> LoginRoleCredentials::attempts(Connection& connection,
                                                                    const SignInTable& /*table*/,
                                                                    const QString& login) const {
    // The server's own clock: the workstations' clocks may differ from one another.
    const auto rows = connection.Query(connection.dialect().signInAttempts(login)).front().rows;
    if (rows.empty()) return std::nullopt;
    return Attempts{Value::toInt(rows.front()[0]), Value::toDateTime(rows.front()[1]),
                    Value::toDateTime(rows.front()[2])};
}

bool LoginRoleCredentials::countAttempt(Connection& connection, const SignInTable& /*table*/,
                                        const QString& login, int seen) const {
    return Value::toInt(connection.Query(connection.dialect().countSignInAttempt(login, seen))
                            .front()
                            .rows.front()[0]) == 1;
}

void LoginRoleCredentials::signedIn(Connection& connection, const SignInTable& /*table*/,
                                    const QString& /*login*/) const {
    connection.Query(connection.dialect().signInSucceeded());
}

QString LoginRoleCredentials::loginRoleOf(const QString& code) const {
    return roleName(QString(), code);
}

void LoginRoleCredentials::createLogin(Connection& connection, const QString& role, const QString& password,
                                       const QString& groupRole, const QString& privilegedRole) const {
    const SqlDialect& d = connection.dialect();
    serialize(connection);
    for (const QString& statement : d.createRole(role, true, password)) connection.Execute(statement);
    // A role of that name may be there already (another company's database on the server).
    connection.Execute(d.setRolePassword(role, password));
    connection.Execute(d.setRoleLogin(role, true));
    connection.Execute(d.grantRole(groupRole, role));
    if (privilegedRole.isEmpty()) return;
    connection.Execute(d.grantRole(privilegedRole, role));
    connection.Execute(d.setRoleManagesRoles(role));
}

void LoginRoleCredentials::setLoginPassword(Connection& connection, const QString& code, const QString& role,
                                            const QString& password) const {
    if (role.isEmpty())
        throw SuiteError(SuiteError::kOperationNotAllowed, QStringLiteral("Utenti"),
                         QStringLiteral("L'utente %1 non ha un ruolo nel database.").arg(code));
    connection.Execute(connection.dialect().setRolePassword(role, password));
}

void LoginRoleCredentials::setLoginEnabled(Connection& connection, const QString& role, bool enabled,
                                           const QStringList& memberOf) const {
    if (role.isEmpty()) return;
    const SqlDialect& d = connection.dialect();
    serialize(connection);
    connection.Execute(d.setRoleLogin(role, enabled));
    // A disabled user's role keeps no right, not even in a session that opened meanwhile.
    for (const QString& r : memberOf)
        connection.Execute(enabled ? d.grantRole(r, role) : d.revokeRole(r, role));
}

void LoginRoleCredentials::endSessions(Connection& connection, const QString& role) const {
    if (!role.isEmpty()) connection.Execute(connection.dialect().endSessions(role));
}

void LoginRoleCredentials::moveLogin(Connection& connection, const QString& role, const QString& from,
                                     const QString& to) const {
    if (role.isEmpty()) return;
    const SqlDialect& d = connection.dialect();
    serialize(connection);
    if (!from.isEmpty()) connection.Execute(d.revokeRole(from, role));
    if (!to.isEmpty()) connection.Execute(d.grantRole(to, role));
}

void LoginRoleCredentials::apply(Connection& connection, const DatabaseRights& rights) const {
    const SqlDialect& d = connection.dialect();
    const auto grant = [&](const RoleGrants& grants) {
        for (const QString& statement : d.createRole(grants.role, false, QString()))
            connection.Execute(statement);
        connection.Execute(d.grantSchemaUsage(grants.role));
        for (const auto& [table, privileges] : grants.tables)
            for (const QString& statement : d.grantOnly(privileges, table, grants.role))
                connection.Execute(statement);
    };
    TransactionScope transaction(connection);
    serialize(connection);
    // Tables, views and routines are the installer's: no clerk creates, drops or alters one.
    connection.Execute(d.reserveSchemaToOwner());
    for (const RoleGrants& group : rights.groups) grant(group);
    grant(rights.privileged);
    // Disabling a user ends the sessions that user still has open.
    connection.Execute(d.letEndSessions(rights.privileged.role));
    // The role the sign-in counts wrong passwords through, before anybody signed in.
    for (const QString& statement : d.createRole(rights.counterRole, true, rights.counterPassword))
        connection.Execute(statement);
    connection.Execute(d.setRolePassword(rights.counterRole, rights.counterPassword));
    connection.Execute(d.setRoleLogin(rights.counterRole, true));
    connection.Execute(d.grantSchemaUsage(rights.counterRole));
    for (const QString& statement : d.signInCounterGrants(rights.counterRole)) connection.Execute(statement);
    transaction.commit();
}

QStringList LoginRoleCredentials::routines(const SqlDialect& dialect, const SignInTable& table) const {
    return dialect.signInCounter(table);
}

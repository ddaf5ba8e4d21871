#pragma once

#include "SqlDialect.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>
#include <utility>

class Connection;
struct ConnectionString;

// What one role may do on each table: the table and the privileges (SELECT, INSERT, UPDATE, DELETE).
struct RoleGrants {
    QString role;
    QList<std::pair<QString, QStringList>> tables;
};

// The rights the database itself enforces where the clerks sign in as login roles: a role per
// group, the role of the privileged users, and the login role the sign-in counts the wrong
// passwords through before anybody signed in.
struct DatabaseRights {
    QList<RoleGrants> groups;
    RoleGrants privileged;
    QString counterRole;
    QString counterPassword;
};

// How the users of a database prove who they are, and who enforces what they may do. Either the
// server's own login roles, whose passwords it checks and whose GRANTs it applies
// (LoginRoleCredentials), or the suite's users with a password hash stored in the database and
// every statement checked by the program against the user's access rule (StoredHashCredentials).
// The dialect gives the one of its engine; callers ask it to do the thing, never which it is.
class Credentials {
public:
    virtual ~Credentials() = default;

    // -- Connections
    // Whether the connection string as typed opens with the installer's rights, so that the
    // start-up may prepare the database with it before anybody signed in.
    virtual bool opensAsInstaller() const = 0;
    // The suite user whose access rule the program applies on a connection opened from `cs`;
    // empty where the server enforces the rights, or the connection is the installer's.
    virtual QString ruledUser(const ConnectionString& cs) const = 0;
    // The user `connection`, just opened from `cs`, works as (a login role, a suite user).
    virtual QString userOf(const ConnectionString& cs, Connection& connection) const = 0;
    // What a connection that closed under the clerk may mean, in the clerk's words.
    virtual QString lostConnectionCauses() const = 0;

    // -- Signing in
    // The connection string the wrong passwords are counted on before the user is known.
    virtual QString countingConnection(const QString& text, const QString& counterRole,
                                       const QString& counterPassword) const = 0;
    // The user as the database knows them, from what the clerk typed: login role or user code.
    virtual QString loginName(const QString& typed) const = 0;
    // The connection the account is read and the password checked on: `counting` itself, or a
    // connection opened as `login` with `password` (the server checks it: SuiteError when it
    // refuses).
    virtual std::unique_ptr<Connection> checkingConnection(std::unique_ptr<Connection> counting,
                                                           const QString& text, const QString& login,
                                                           const QString& password) const = 0;
    // Who signed in on `connection` (`login`, or the role the server says the session runs as).
    virtual QString signedInName(Connection& connection, const QString& login) const = 0;
    // The condition that finds the user signed in as `name`, by their code or their login role.
    virtual QString accountOf(const QString& name, const QString& codeColumn,
                              const QString& roleColumn) const = 0;
    // The text refusing a name no user of the company has (taking the time a password check takes).
    virtual QString unknownUser(const QString& name, const QString& password,
                                const QString& wrongPassword) const = 0;
    enum class Password { Right, Wrong, NotSet };
    // `password` against what the database keeps for the user (`storedHash`).
    virtual Password checkPassword(const QString& storedHash, const QString& password) const = 0;
    // The connection string of the session of `login`, signed in with `password`.
    virtual QString sessionConnection(const QString& text, const QString& login,
                                      const QString& password) const = 0;
    // The connection string of a session of `code` trusted without a password (the driver's
    // test switch): the text's own login stays where the server enforces the rights.
    virtual QString trustedConnection(const QString& text, const QString& code) const = 0;

    // -- Wrong passwords in a row (SignInAttempts), of `login` in `table`
    struct Attempts {
        int count = 0;
        QDateTime last;
        QDateTime now;  // the server's clock where there is a server
    };
    virtual std::optional<Attempts> attempts(Connection& connection, const SignInTable& table,
                                             const QString& login) const = 0;
    // Counts one more, if the count is still `seen`; answers whether it did.
    virtual bool countAttempt(Connection& connection, const SignInTable& table, const QString& login,
                              int seen) const = 0;
    // Clears the count of the user signed in on `connection`.
    virtual void signedIn(Connection& connection, const SignInTable& table, const QString& login) const = 0;

    // -- Users, each change inside the caller's transaction
    // The login role a new user gets; empty where users have none.
    virtual QString loginRoleOf(const QString& code) const = 0;
    // What the database keeps of a new password; empty where the server keeps it.
    virtual QString storedHash(const QString& password) const = 0;
    // Gives a user's login `role` its password and its group's role (and, with `privilegedRole`,
    // the managing of the accounts).
    virtual void createLogin(Connection& connection, const QString& role, const QString& password,
                             const QString& groupRole, const QString& privilegedRole) const = 0;
    virtual void setLoginPassword(Connection& connection, const QString& code, const QString& role,
                                  const QString& password) const = 0;
    // Lets `role` sign in again with the roles `memberOf`, or takes both away.
    virtual void setLoginEnabled(Connection& connection, const QString& role, bool enabled,
                                 const QStringList& memberOf) const = 0;
    // Ends the sessions `role` still has open, after the commit that disabled it.
    virtual void endSessions(Connection& connection, const QString& role) const = 0;
    // Moves `role` from the group role `from` to `to` (empty: none).
    virtual void moveLogin(Connection& connection, const QString& role, const QString& from,
                           const QString& to) const = 0;

    // -- Rights
    // Makes the database enforce `rights`, in one transaction; nothing where the program does.
    virtual void apply(Connection& connection, const DatabaseRights& rights) const = 0;
    // The routines the sign-in needs in the database, installed with the schema.
    virtual QStringList routines(const SqlDialect& dialect, const SignInTable& table) const = 0;
};

#pragma once

#include "AccessRules.h"
#include "UserSession.h"

#include <QString>
#include <functional>

// Who is at the desk, checked the way the engine's credentials say: on PostgreSQL, reached
// directly or through ODBC, the clerk signs in as a database role (the password asked, a
// ~/.pgpass entry, or the operating-system user through the socket) and is the suite user mapped
// to that role; on SQLite the suite user's password is checked against its hash. Wrong
// passwords in a row make the next attempt wait longer and longer (SignInAttempts), counted in
// the database for every process.
class SignIn {
public:
    using Session = UserSession;

    // `program`: the program whose rights the session reads; `classOf` and `catalogue`: what the
    // session's connections are given.
    SignIn(QString program, AccessRules::ClassOf classOf, std::shared_ptr<const SchemaCatalogue> catalogue)
        : program_(std::move(program)), classOf_(std::move(classOf)), catalogue_(std::move(catalogue)) {}

    // `user`: the suite user on SQLite, the database role on PostgreSQL (empty: the server
    // decides, from ~/.pgpass or the operating system). Throws SuiteError (not permitted) with
    // the clerk's message on a wrong user or password, a disabled user, a role that is nobody.
    Session signIn(const QString& connectionString, const QString& user, const QString& password) const;

    // Trusts the connection string's own access and takes `user` as it is: the driver's test
    // switch, which the application does not have. Rights still come from the user's group.
    Session trusted(const QString& connectionString, const QString& user) const;

    // Raised for a privileged user who has no password yet (a database from before passwords):
    // they choose it (Accounts::setFirstPassword) and sign in again.
    static constexpr qint32 kFirstPassword = qint32(0x80040E4D);

private:
    // A connection on which the attempts are counted before the user is known, learning the
    // engine through a transport.
    std::unique_ptr<Connection> countingConnection(const QString& connectionString) const;
    Session sessionFor(const QString& connectionString, Connection& connection, const Account& account) const;

    QString program_;
    AccessRules::ClassOf classOf_;
    std::shared_ptr<const SchemaCatalogue> catalogue_;
};

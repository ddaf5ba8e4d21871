#pragma once

#include "ProgramRights.h"
#include "SqlDialect.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <optional>

class Connection;

// A user of the suite with what signing in needs to know of them.
struct Account {
    QString code;
    QString name;
    QString group;
    bool privileged = false;
    bool disabled = false;
    QString passwordHash;  // embedded database only; on a server the role's password is the server's
    QString role;          // the database role the user signs in as, on a server with roles
    int failures = 0;      // wrong passwords in a row
    QDateTime lastFailure;
};

// The users, groups and rights of the company database, read for signing in and changed by a
// privileged user. Every change is written with its audit row (who, when, what) in the same
// transaction; on a server with roles the user's login role follows in that transaction too.
class Accounts {
public:
    // `author`: the privileged user making changes (empty when only reading).
    Accounts(Connection& connection, QString author = QString());

    std::optional<Account> find(const QString& code) const;
    // The user signed in as `name` (a suite user's code, or the login role the session runs as).
    std::optional<Account> findSignedIn(const QString& name) const;
    QList<Account> all() const;
    QStringList groups() const;
    ProgramRights rightsOf(const QString& group, const QString& program) const;

    // Throws SuiteError with a message for the clerk: an empty or taken code, a group that does
    // not exist, a password too short, an author who is not privileged.
    void add(const Account& account, const QString& password);
    void setDisabled(const QString& code, bool disabled);
    void resetPassword(const QString& code, const QString& password);
    void changeGroup(const QString& code, const QString& group);

    // A privileged user of a database written before passwords existed chooses theirs at the first
    // sign-in (the audit names them as author). Refused once a password is set.
    void setFirstPassword(const QString& code, const QString& password);

    // The database role of a group and the login role given to a new user.
    static QString groupRole(const QString& group);
    static QString loginRole(const QString& code);
    // How the database keeps the rows of `table` to their owners (`ownerColumn`): who the
    // session's user is and the audit row of a privileged user's change to someone else's row,
    // which names `action`.
    static OwnedRows ownedRows(const QString& table, const QString& ownerColumn, const QString& action);
    // On a server with roles: the login role the sign-in counts the attempts through, before the
    // user is known (SignInAttempts), with its password: it may run the counting routines and
    // nothing else.
    static QString counterRole();
    static constexpr const char* kCounterPassword = "conta.tentativi";
    // The row each user signs in by: password hash, login role, wrong passwords in a row.
    static SignInTable signInTable();
    // The role every privileged user's login role belongs to: it may change the accounts.
    static QString privilegedRole();
    static constexpr int kMinimumPassword = 8;

private:
    QList<Account> read(const QString& where) const;
    Account existing(const QString& code) const;
    void requireAuthor() const;
    void requireGroup(const QString& group) const;
    static void requirePassword(const QString& password);
    // `hash` empty: none kept (the server keeps the password).
    void storeHash(const QString& code, const QString& hash);
    void audit(const QString& user, const QString& action, const QString& detail);

    Connection& connection_;
    QString author_;
};

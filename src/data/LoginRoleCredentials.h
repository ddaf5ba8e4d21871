#pragma once

#include "Credentials.h"

// The server's own login roles: it checks the passwords and applies the GRANTs of the group role
// each login role is a member of, whatever tool connects (PostgreSQL).
class LoginRoleCredentials : public Credentials {
public:
    bool opensAsInstaller() const override { return false; }
    QString ruledUser(const ConnectionString& /*cs*/) const override { return {}; }
    QString userOf(const ConnectionString& cs, Connection& connection) const override;
    QString lostConnectionCauses() const override;

    QString countingConnection(const QString& text, const QString& counterRole,
                               const QString& counterPassword) const override;
    QString loginName(const QString& typed) const override;
    std::unique_ptr<Connection> checkingConnection(std::unique_ptr<Connection> counting, const QString& text,
                                                   const QString& login,
                                                   const QString& password) const override;
    QString signedInName(Connection& connection, const QString& login) const override;
    QString accountOf(const QString& name, const QString& codeColumn,
                      const QString& roleColumn) const override;
    QString unknownUser(const QString& name, const QString& password,
                        const QString& wrongPassword) const override;
    Password checkPassword(const QString& /*storedHash*/, const QString& /*password*/) const override {
        return Password::Right;  // the server checked it when the session opened
    }
    QString sessionConnection(const QString& text, const QString& login,
                              const QString& password) const override;
    QString trustedConnection(const QString& text, const QString& /*code*/) const override { return text; }

    std::optional<Attempts> attempts(Connection& connection, const SignInTable& table,
                                     const QString& login) const override;
    bool countAttempt(Connection& connection, const SignInTable& table, const QString& login,
                      int seen) const override;
    void signedIn(Connection& connection, const SignInTable& table, const QString& login) const override;

    QString loginRoleOf(const QString& code) const override;
    QString storedHash(const QString& /*password*/) const override { return {}; }
    void createLogin(Connection& connection, const QString& role, const QString& password,
                     const QString& groupRole, const QString& privilegedRole) const override;
    void setLoginPassword(Connection& connection, const QString& code, const QString& role,
                          const QString& password) const override;
    void setLoginEnabled(Connection& connection, const QString& role, bool enabled,
                         const QStringList& memberOf) const override;
    void endSessions(Connection& connection, const QString& role) const override;
    void moveLogin(Connection& connection, const QString& role, const QString& from,
                   const QString& to) const override;

    void apply(Connection& connection, const DatabaseRights& rights) const override;
    QStringList routines(const SqlDialect& dialect, const SignInTable& table) const override;

    // A role's name from a user code or a group: lower-case letters, digits and underscores.
    static QString roleName(const QString& prefix, const QString& code);
};

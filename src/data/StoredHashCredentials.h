#pragma once

#include "Credentials.h"

// The suite's users with an Argon2id hash of their password in the database; every connection
// opened for a user applies that user's access rule before each statement (SQLite, and any
// engine without roles of its own).
class StoredHashCredentials : public Credentials {
public:
    bool opensAsInstaller() const override { return true; }
    QString ruledUser(const ConnectionString& cs) const override;
    QString userOf(const ConnectionString& cs, Connection& connection) const override;
    QString lostConnectionCauses() const override;

    QString countingConnection(const QString& text, const QString& /*counterRole*/,
                               const QString& /*counterPassword*/) const override {
        return text;
    }
    QString loginName(const QString& typed) const override { return typed.trimmed().toUpper(); }
    std::unique_ptr<Connection> checkingConnection(std::unique_ptr<Connection> counting, const QString& text,
                                                   const QString& login,
                                                   const QString& password) const override;
    QString signedInName(Connection& /*connection*/, const QString& login) const override { return login; }
    QString accountOf(const QString& name, const QString& codeColumn,
                      const QString& roleColumn) const override;
    QString unknownUser(const QString& name, const QString& password,
                        const QString& wrongPassword) const override;
    Password checkPassword(const QString& storedHash, const QString& password) const override;
    QString sessionConnection(const QString& text, const QString& login,
                              const QString& password) const override;
    QString trustedConnection(const QString& text, const QString& code) const override;

    std::optional<Attempts> attempts(Connection& connection, const SignInTable& table,
                                     const QString& login) const override;
    bool countAttempt(Connection& connection, const SignInTable& table, const QString& login,
                      int seen) const override;
    void signedIn(Connection& connection, const SignInTable& table, const QString& login) const override;

    QString loginRoleOf(const QString& /*code*/) const override { return {}; }
    QString storedHash(const QString& password) const override;
    void createLogin(Connection& /*connection*/, const QString& /*role*/, const QString& /*password*/,
                     const QString& /*groupRole*/, const QString& /*privilegedRole*/) const override {}
    void setLoginPassword(Connection& /*connection*/, const QString& /*code*/, const QString& /*role*/,
                          const QString& /*password*/) const override {}
    void setLoginEnabled(Connection& /*connection*/, const QString& /*role*/, bool /*enabled*/,
                         const QStringList& /*memberOf*/) const override {}
    void endSessions(Connection& /*connection*/, const QString& /*role*/) const override {}
    void moveLogin(Connection& /*connection*/, const QString& /*role*/, const QString& /*from*/,
                   const QString& /*to*/) const override {}

    void apply(Connection& /*connection*/, const DatabaseRights& /*rights*/) const override {}
    QStringList routines(const SqlDialect& /*dialect*/, const SignInTable& /*table*/) const override {
        return {};
    }
};

#pragma once

#include "SqlDialect.h"

// PostgreSQL: the same statement-level translation as SQLite; dates are DATE and TIMESTAMP
// (which compare correctly with 'yyyymmdd' literals), decimals NUMERIC read exactly as text.
class PostgresDialect : public SqlDialect {
public:
    Engine engine() const override { return Engine::PostgreSql; }
    QString driverName() const override { return QStringLiteral("QPSQL"); }
    void configure(QSqlDatabase& db) const override;
    QStringList sessionSetup(const ConnectionString& cs) const override;
    // One server process for the read: parallel workers would take both processors of a
    // clerk's small server away from the form the clerk is opening meanwhile.
    QStringList backgroundSession() const override {
        return {QStringLiteral("SET max_parallel_workers_per_gather = 0")};
    }
    EngineFailure classify(const QSqlError& error) const override;
    // With synchronous_standby_names set, a commit waits for a standby; a session that is not
    // privileged still gets one row of pg_stat_get_wal_senders() per standby connected (the
    // cases are tried in order: without synchronous replication nothing more is read). A commit
    // cancelled in its wait stays committed on this server, with a warning: bounded so, it never
    // hangs the form.
    QString standbyMissingQuery() const override {
        return QStringLiteral(
                   "SELECT CASE WHEN current_setting('synchronous_standby_names') = '' THEN 0"
                   " WHEN current_setting('synchronous_commit') NOT IN ('on', 'remote_write', 'remote_apply')"
                   " THEN 0 WHEN EXISTS (SELECT 1 FROM pg_stat_get_wal_senders()) THEN 0 ELSE 1 END,"
                   " set_config('statement_timeout', '%1', true)")
            .arg(2 * kStandbyWaitMs);
    }
    // PostgreSQL folds unquoted names to lower case.
    QString columnName(const QString& driverName) const override { return driverName.toUpper(); }
    ReadOnlyStatements readOnly(bool inTransaction) const override;
    bool runsSeveralPerMessage() const override { return true; }
    // The message's statements run as one transaction of their own, which this makes read-only.
    QString readOnlyAhead() const override { return QStringLiteral("SET TRANSACTION READ ONLY"); }
    bool seeksByRowComparison() const override { return true; }
    // The tables of the connection's schema alone: a bare ANALYZE takes every schema's tables of
    // the database in turn, and waits on (or holds up) other companies' sessions that lock them.
    QString refreshStatistics() const override;
    std::optional<QStringList> indexNames(const CatalogueRows& rows) const override;
    // Reads through libpq on the driver's connection (PostgresStatement); none with `onlyReads`,
    // which the server tells only as the statement runs (readOnly's statements do it).
    std::unique_ptr<NativeStatement> nativeStatement(const QSqlDatabase& db, const QString& sql,
                                                     bool onlyReads = false) const override;
    // A row lock, the one an UPDATE that keeps the key takes: no new version of the row, its
    // indexes and triggers untouched.
    QString holdRows(const QString& table, const QString& /*keyColumn*/, const QString& where,
                     const QStringList& columns) const override {
        return QStringLiteral("SELECT %1 FROM %2 WHERE %3 FOR NO KEY UPDATE")
            .arg(columns.join(QStringLiteral(", ")), table, where);
    }
    // The clerk signs in as a login role; GRANTs enforce the rights.
    const Credentials& credentials() const override;
    QStringList createRole(const QString& role, bool login, const QString& password) const override;
    QString setRolePassword(const QString& role, const QString& password) const override;
    QString setRoleLogin(const QString& role, bool login) const override;
    QString setRoleManagesRoles(const QString& role) const override;
    QString grantRole(const QString& role, const QString& member) const override;
    QString revokeRole(const QString& role, const QString& member) const override;
    QStringList grantOnly(const QStringList& privileges, const QString& table,
                          const QString& role) const override;
    QString grantSchemaUsage(const QString& role) const override;
    QString reserveSchemaToOwner() const override;
    QString letEndSessions(const QString& role) const override;
    QString endSessions(const QString& role) const override;
    QString serializeRoleChanges() const override {
        return QStringLiteral("SELECT pg_advisory_xact_lock(7140019)");
    }
    QString currentRoleQuery() const override { return QStringLiteral("SELECT current_user"); }
    // Row level security with a policy per table, and an audit trigger.
    QStringList ownedRows(const OwnedRows& rows) const override;
    QStringList forwardOnly(const QString& table, const QString& column) const override;
    QStringList signInCounter(const SignInTable& counter) const override;
    QStringList signInCounterGrants(const QString& role) const override;
    QString signInAttempts(const QString& role) const override;
    QString countSignInAttempt(const QString& role, int seen) const override;
    QString signInSucceeded() const override { return QStringLiteral("SELECT kv_accesso_riuscito()"); }
    QString sessionIdQuery() const override { return QStringLiteral("SELECT pg_backend_pid()"); }
    QString cancelStatement(qint64 sessionId) const override {
        return QStringLiteral("SELECT pg_cancel_backend(%1)").arg(sessionId);
    }

protected:
    QString typeName(DataType type) const override;
};

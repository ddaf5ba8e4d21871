#include "PostgresDialect.h"

#include "ConnectionString.h"
#include "LockWait.h"
#include "LoginRoleCredentials.h"
#include "PostgresStatement.h"
#include "SqlText.h"
#include "SuiteError.h"

#include <QRegularExpression>
#include <QSqlDriver>
#include <QSqlError>

const Credentials& PostgresDialect::credentials() const {
    static const LoginRoleCredentials loginRoles;
    return loginRoles;
}

QString PostgresDialect::typeName(DataType type) const {
    switch (type) {
        case DataType::SmallInt:
            return QStringLiteral("SMALLINT");
        case DataType::Integer:
            return QStringLiteral("INTEGER");
        case DataType::Decimal:
            return QStringLiteral("NUMERIC");
        case DataType::Text:
            return QStringLiteral("VARCHAR");
        case DataType::Date:
            return QStringLiteral("DATE");
        case DataType::DateTime:
            return QStringLiteral("TIMESTAMP");
    }
    return QString();
}

void PostgresDialect::configure(QSqlDatabase& db) const {
    db.setNumericalPrecisionPolicy(QSql::HighPrecision);  // NUMERIC as exact text
}

QStringList PostgresDialect::sessionSetup(const ConnectionString& cs) const {
    QStringList setup{QStringLiteral("SET client_min_messages TO WARNING"),
                      // A save blocked by another session's lock gives up instead of freezing the window.
                      QStringLiteral("SET lock_timeout = %1").arg(LockWait::ms())};
    if (!cs.schema.isEmpty()) {
        static const QRegularExpression valid(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
        if (!valid.match(cs.schema).hasMatch())
            throw SuiteError(SuiteError::kConnectionFailed, QStringLiteral("Connection"),
                             QStringLiteral("Nome di schema non valido: %1").arg(cs.schema));
        // Created only when missing: a clerk's role may not create schemas, and CREATE SCHEMA IF
        // NOT EXISTS checks that right before it looks.
        const QString create = QStringLiteral(
                                   "BEGIN IF NOT EXISTS (SELECT 1 FROM pg_namespace WHERE nspname = "
                                   "'%1') THEN CREATE SCHEMA %1; END IF; END")
                                   .arg(cs.schema.toLower());
        setup << QStringLiteral("DO ") + SqlText::quote(create)
              << QStringLiteral("SET search_path TO %1").arg(cs.schema);
    }
    return setup;
}

EngineFailure PostgresDialect::classify(const QSqlError& error) const {
    const QString state = error.nativeErrorCode();
    if (state == QLatin1String("23505")) return EngineFailure::DuplicateKey;  // unique_violation
    if (state == QLatin1String("42501")) return EngineFailure::NotPermitted;  // insufficient_privilege
    // lock_not_available (lock_timeout), and a statement cancelled while it waited.
    if (state == QLatin1String("55P03") || state == QLatin1String("57014")) return EngineFailure::LockTimeout;
    // deadlock_detected, serialization_failure
    if (state == QLatin1String("40P01") || state == QLatin1String("40001")) return EngineFailure::WriteRace;
    // Class 08 (connection exception), the server shutting down (57P01-57P03), and an error
    // libpq raised itself without a server's answer (no SQLSTATE at all).
    if (error.type() == QSqlError::ConnectionError || state.startsWith(QLatin1String("08")) ||
        state.startsWith(QLatin1String("57P")) || (state.isEmpty() && error.type() != QSqlError::NoError))
        return EngineFailure::ConnectionLost;
    return EngineFailure::Refused;
}

ReadOnlyStatements PostgresDialect::readOnly(bool inTransaction) const {
    if (inTransaction)
        return {{QStringLiteral("SAVEPOINT kv_read_only"),
                 QStringLiteral("SET LOCAL transaction_read_only = on")},
                {QStringLiteral("ROLLBACK TO SAVEPOINT kv_read_only"),
                 QStringLiteral("RELEASE SAVEPOINT kv_read_only")}};
    return {{QStringLiteral("BEGIN READ ONLY")}, {QStringLiteral("COMMIT")}};
}

namespace {
// Fixes a routine's search path to the installer's schema with the temporary schema last: a
// caller's temporary table named as one of ours is never the one read.
QString pinSearchPath(const QString& signature) {
    return QStringLiteral("DO ") +
           SqlText::quote(QStringLiteral("BEGIN EXECUTE format('ALTER FUNCTION %1 SET search_path = %I, "
                                         "pg_temp', current_schema()); END")
                              .arg(signature));
}

// Role statements write rows that every database of the server shares (pg_authid,
// pg_auth_members), which the advisory lock of serializeRoleChanges, one per database, does not
// cover: the same role changed at once from another database fails with "tuple concurrently
// updated" (or a duplicate role) and is tried again here, seeing the other's change.
QString retried(const QString& statements) {
    const QString loop = QStringLiteral("BEGIN FOR attempt IN 1..50 LOOP BEGIN ") + statements +
                         QStringLiteral(
                             "; RETURN; EXCEPTION WHEN internal_error OR unique_violation THEN "
                             "PERFORM pg_sleep(0.02); END; END LOOP; ") +
                         statements + QStringLiteral("; END");
    return QStringLiteral("DO ") + SqlText::quote(loop);
}

// A role's name as an identifier: quoted, so that any name the administrator chose is safe.
QString role(const QString& name) {
    QString quoted = name;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}
}  // namespace

QStringList PostgresDialect::createRole(const QString& name, bool login, const QString& password) const {
    QString create = QStringLiteral("CREATE ROLE ") + role(name) +
                     (login ? QStringLiteral(" LOGIN") : QStringLiteral(" NOLOGIN"));
    if (login && !password.isEmpty()) create += QStringLiteral(" PASSWORD ") + SqlText::quote(password);
    // The body is a literal of its own: the name and password inside are quoted twice.
    return {retried(QStringLiteral("IF NOT EXISTS (SELECT 1 FROM pg_roles WHERE rolname = ") +
                    SqlText::quote(name) + QStringLiteral(") THEN ") + create + QStringLiteral("; END IF"))};
}

QString PostgresDialect::setRolePassword(const QString& name, const QString& password) const {
    return retried(QStringLiteral("ALTER ROLE ") + role(name) + QStringLiteral(" PASSWORD ") +
                   SqlText::quote(password));
}

QString PostgresDialect::setRoleLogin(const QString& name, bool login) const {
    return retried(QStringLiteral("ALTER ROLE ") + role(name) +
                   (login ? QStringLiteral(" LOGIN") : QStringLiteral(" NOLOGIN")));
}

QString PostgresDialect::setRoleManagesRoles(const QString& name) const {
    return retried(QStringLiteral("ALTER ROLE ") + role(name) + QStringLiteral(" CREATEROLE"));
}

QString PostgresDialect::grantRole(const QString& name, const QString& member) const {
    return retried(QStringLiteral("GRANT ") + role(name) + QStringLiteral(" TO ") + role(member));
}

QString PostgresDialect::revokeRole(const QString& name, const QString& member) const {
    return retried(QStringLiteral("REVOKE ") + role(name) + QStringLiteral(" FROM ") + role(member));
}

QStringList PostgresDialect::grantOnly(const QStringList& privileges, const QString& table,
                                       const QString& name) const {
    QStringList statements{QStringLiteral("REVOKE ALL ON TABLE %1 FROM %2").arg(table, role(name))};
    if (!privileges.isEmpty())
        statements << QStringLiteral("GRANT %1 ON TABLE %2 TO %3")
                          .arg(privileges.join(QStringLiteral(", ")), table, role(name));
    return statements;
}

QString PostgresDialect::grantSchemaUsage(const QString& name) const {
    const QString body =
        QStringLiteral("BEGIN EXECUTE format('GRANT USAGE ON SCHEMA %I TO %I', current_schema(), %1); END")
            .arg(SqlText::quote(name));
    return QStringLiteral("DO ") + SqlText::quote(body);
}

QString PostgresDialect::letEndSessions(const QString& name) const {
    // Only an installer who may hand pg_signal_backend on can: another one is told by a warning,
    // and a disabled user's open sessions then keep no right but are not ended.
    return retried(QStringLiteral("BEGIN GRANT pg_signal_backend TO ") + role(name) +
                   QStringLiteral("; EXCEPTION WHEN insufficient_privilege THEN RAISE WARNING "
                                  "'pg_signal_backend non concesso a ") +
                   name + QStringLiteral("'; END"));
}

QString PostgresDialect::endSessions(const QString& name) const {
    return QStringLiteral(
               "SELECT pg_terminate_backend(pid) FROM pg_stat_activity WHERE usename = %1 AND pid <> "
               "pg_backend_pid()")
        .arg(SqlText::quote(name));
}

QString PostgresDialect::reserveSchemaToOwner() const {
    return QStringLiteral("DO ") +
           SqlText::quote(QStringLiteral(
               "BEGIN EXECUTE format('REVOKE CREATE ON SCHEMA %I FROM PUBLIC', current_schema()); END"));
}

QStringList PostgresDialect::ownedRows(const OwnedRows& r) const {
    // The session's user, from its login role: session_user, which SET ROLE does not change.
    QString userOfRole = r.userOfRole;
    userOfRole.replace(QStringLiteral("{role}"), QStringLiteral("CAST(session_user AS VARCHAR)"));
    const QString privileged =
        QStringLiteral(
            "SELECT EXISTS (SELECT 1 FROM pg_roles WHERE rolname = %1 AND pg_has_role(session_user, "
            "oid, 'MEMBER'))")
            .arg(SqlText::quote(r.privilegedRole));
    const QString own =
        QStringLiteral("%1 = kv_utente_sessione() OR kv_privilegiato_sessione()").arg(r.ownerColumn);
    QString audit = r.audit;
    audit.replace(QStringLiteral("{now}"), QStringLiteral("LOCALTIMESTAMP(0)"))
        .replace(QStringLiteral("{author}"), QStringLiteral("autore"))
        .replace(QStringLiteral("{owner}"), QStringLiteral("proprietario"))
        .replace(QStringLiteral("{operation}"), QStringLiteral("operazione"));
    const QString body =
        QStringLiteral(
            "DECLARE autore VARCHAR := kv_utente_sessione(); proprietario VARCHAR; operazione VARCHAR; "
            "BEGIN IF TG_OP = 'DELETE' THEN proprietario := OLD.%1; operazione := 'eliminato'; "
            "ELSE proprietario := NEW.%1; operazione := CASE TG_OP WHEN 'INSERT' THEN 'inserito' "
            "ELSE 'modificato' END; END IF; "
            "IF autore IS NOT NULL AND proprietario IS DISTINCT FROM autore THEN %2; END IF; "
            "RETURN NULL; END")
            .arg(r.ownerColumn, audit);
    const QString trigger = QStringLiteral("kv_altrui_") + r.table.toLower();
    // The routines keep the installer's search path: a clerk cannot put others in their way.
    return {
        QStringLiteral(
            "CREATE OR REPLACE FUNCTION kv_utente_sessione() RETURNS VARCHAR LANGUAGE sql STABLE AS ") +
            SqlText::quote(userOfRole),
        pinSearchPath(QStringLiteral("kv_utente_sessione()")),
        QStringLiteral("CREATE OR REPLACE FUNCTION kv_privilegiato_sessione() RETURNS BOOLEAN LANGUAGE sql "
                       "STABLE AS ") +
            SqlText::quote(privileged),
        pinSearchPath(QStringLiteral("kv_privilegiato_sessione()")),
        QStringLiteral("ALTER TABLE %1 ENABLE ROW LEVEL SECURITY").arg(r.table),
        QStringLiteral("DROP POLICY IF EXISTS kv_proprie ON %1").arg(r.table),
        QStringLiteral("CREATE POLICY kv_proprie ON %1 USING (%2) WITH CHECK (%2)").arg(r.table, own),
        QStringLiteral("CREATE OR REPLACE FUNCTION %1() RETURNS TRIGGER LANGUAGE plpgsql AS ").arg(trigger) +
            SqlText::quote(body),
        pinSearchPath(trigger + QStringLiteral("()")),
        QStringLiteral("DROP TRIGGER IF EXISTS kv_altrui ON %1").arg(r.table),
        QStringLiteral("CREATE TRIGGER kv_altrui AFTER INSERT OR UPDATE OR DELETE ON %1 FOR EACH ROW "
                       "EXECUTE FUNCTION %2()")
            .arg(r.table, trigger)};
}

QStringList PostgresDialect::forwardOnly(const QString& table, const QString& column) const {
    const QString function = QStringLiteral("kv_avanti_") + table.toLower();
    // The installer's own session maps to no user and may correct a series.
    const QString body =
        QStringLiteral(
            "BEGIN IF NEW.%1 < OLD.%1 AND kv_utente_sessione() IS NOT NULL THEN RAISE "
            "EXCEPTION '%1 non può diminuire' USING ERRCODE = 'insufficient_privilege'; END IF; "
            "RETURN NEW; END")
            .arg(column);
    return {
        QStringLiteral("CREATE OR REPLACE FUNCTION %1() RETURNS TRIGGER LANGUAGE plpgsql AS ").arg(function) +
            SqlText::quote(body),
        pinSearchPath(function + QStringLiteral("()")),
        QStringLiteral("DROP TRIGGER IF EXISTS kv_avanti ON %1").arg(table),
        QStringLiteral(
            "CREATE TRIGGER kv_avanti BEFORE UPDATE OF %2 ON %1 FOR EACH ROW EXECUTE FUNCTION %3()")
            .arg(table, column, function)};
}

QStringList PostgresDialect::signInCounter(const SignInTable& c) const {
    const QString read =
        QStringLiteral("SELECT COALESCE(%1, 0), %2, LOCALTIMESTAMP(0) FROM %3 WHERE %4 = ruolo")
            .arg(c.countColumn, c.timeColumn, c.table, c.roleColumn);
    // One statement moves the count on only if it is still what the caller read: of two attempts
    // at once one is counted, the other reads again and waits.
    const QString count =
        QStringLiteral(
            "WITH contato AS (UPDATE %3 SET %1 = visti + 1, %2 = LOCALTIMESTAMP(0) WHERE %4 = "
            "ruolo AND COALESCE(%1, 0) = visti RETURNING 1) SELECT COUNT(*) FROM contato")
            .arg(c.countColumn, c.timeColumn, c.table, c.roleColumn);
    const QString clear =
        QStringLiteral("UPDATE %2 SET %1 = 0 WHERE %3 = CAST(session_user AS VARCHAR) AND %1 <> 0")
            .arg(c.countColumn, c.table, c.roleColumn);
    return {
        QStringLiteral(
            "CREATE OR REPLACE FUNCTION kv_tentativi(ruolo VARCHAR) RETURNS TABLE (tentativi "
            "INTEGER, ultimo TIMESTAMP, adesso TIMESTAMP) LANGUAGE sql STABLE SECURITY DEFINER AS ") +
            SqlText::quote(read),
        pinSearchPath(QStringLiteral("kv_tentativi(VARCHAR)")),
        QStringLiteral("REVOKE ALL ON FUNCTION kv_tentativi(VARCHAR) FROM PUBLIC"),
        QStringLiteral("CREATE OR REPLACE FUNCTION kv_conta_tentativo(ruolo VARCHAR, visti INTEGER) RETURNS "
                       "BIGINT LANGUAGE sql SECURITY DEFINER AS ") +
            SqlText::quote(count),
        pinSearchPath(QStringLiteral("kv_conta_tentativo(VARCHAR, INTEGER)")),
        QStringLiteral("REVOKE ALL ON FUNCTION kv_conta_tentativo(VARCHAR, INTEGER) FROM PUBLIC"),
        // Every role that signed in may clear its own count, and only its own.
        QStringLiteral("CREATE OR REPLACE FUNCTION kv_accesso_riuscito() RETURNS VOID LANGUAGE sql SECURITY "
                       "DEFINER AS ") +
            SqlText::quote(clear),
        pinSearchPath(QStringLiteral("kv_accesso_riuscito()"))};
}

QStringList PostgresDialect::signInCounterGrants(const QString& name) const {
    return {QStringLiteral("GRANT EXECUTE ON FUNCTION kv_tentativi(VARCHAR), kv_conta_tentativo(VARCHAR, "
                           "INTEGER) TO ") +
            role(name)};
}

QString PostgresDialect::signInAttempts(const QString& name) const {
    return QStringLiteral("SELECT tentativi, ultimo, adesso FROM kv_tentativi(%1)").arg(SqlText::quote(name));
}

QString PostgresDialect::countSignInAttempt(const QString& name, int seen) const {
    return QStringLiteral("SELECT kv_conta_tentativo(%1, %2)").arg(SqlText::quote(name)).arg(seen);
}

std::unique_ptr<NativeStatement> PostgresDialect::nativeStatement(const QSqlDatabase& db, const QString& sql,
                                                                  bool onlyReads) const {
    if (onlyReads || !PostgresStatement::available()) return nullptr;
    // The QPSQL driver's connection; over ODBC there is none to read through.
    const QVariant handle = db.driver() ? db.driver()->handle() : QVariant();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "pg_conn*") != 0) return nullptr;
    pg_conn* connection = *static_cast<pg_conn* const*>(handle.constData());
    return connection ? std::make_unique<PostgresStatement>(connection, sql) : nullptr;
}

QString PostgresDialect::refreshStatistics() const {
    const QString body = QStringLiteral(
        "DECLARE t record; BEGIN FOR t IN SELECT tablename FROM pg_tables WHERE schemaname = "
        "current_schema() LOOP EXECUTE format('ANALYZE %I', t.tablename); END LOOP; END");
    return QStringLiteral("DO ") + SqlText::quote(body);
}

std::optional<QStringList> PostgresDialect::indexNames(const CatalogueRows& rows) const {
    return upperNames(rows,
                      QStringLiteral("SELECT indexname FROM pg_indexes WHERE schemaname = current_schema()"));
}

#pragma once

#include "DataType.h"
#include "NativeStatement.h"
#include "SchemaCatalogue.h"
#include "TableAccess.h"

#include <QList>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <memory>
#include <optional>

// One statement as an engine runs it. A guarded statement runs only when its guard, a SQL
// condition, holds at that moment (the form of SQL Server's IF (...) BEGIN ... END).
struct EngineStatement {
    QString sql;
    QString guard;
};

struct ConnectionString;
class Credentials;
class QSqlError;

// What a failed statement means for the caller, told by the engine's own error codes.
// DuplicateKey: a row with the same key is there already (another user inserted it meanwhile).
// NotPermitted: the signed-in user has no right to what the statement does.
// WriteRace: two sessions wrote the same rows at the same moment and the engine gave up one of
// them (a deadlock, or a snapshot another session's commit made stale).
enum class EngineFailure { Refused, DuplicateKey, LockTimeout, WriteRace, ConnectionLost, NotPermitted };

// Rows of `table` that belong to a user, whose code `ownerColumn` holds. The database lets the
// signed-in user write only their own rows and a privileged user anyone's; every row of someone
// else written leaves an audit row.
struct OwnedRows {
    QString table;
    QString ownerColumn;
    // On an engine with roles: the query answering the user code of the session's role, with
    // {role} in place of the role, and the role whose members are privileged.
    QString userOfRole;
    QString privilegedRole;
    // The audit row: an INSERT with {now}, {author}, {owner} and {operation} in place of the
    // moment, the writer's code, the owner's code and what was done ("inserito", "modificato",
    // "eliminato").
    QString audit;
};

// The row each suite user signs in by: the user's code, the login role (on an engine with roles),
// the password's hash (without), the wrong passwords in a row and the moment of the last.
struct SignInTable {
    QString table;
    QString userColumn;
    QString roleColumn;
    QString hashColumn;
    QString countColumn;
    QString timeColumn;
};

// The statements around a read of caller text that make the engine refuse any write meanwhile.
struct ReadOnlyStatements {
    QStringList enter;
    QStringList leave;
};

// The forms write SQL Server text. A dialect turns that text into what its engine runs, maps
// column types to the engine's DDL and values to and from the engine's driver. Only dialects
// know engines.
class SqlDialect {
public:
    enum class Engine { Sqlite, PostgreSql, SqlServer };

    virtual ~SqlDialect() = default;

    static std::unique_ptr<SqlDialect> create(Engine engine);
    // The engine a connection string's scheme names ("sqlite", "postgresql"); none for a
    // transport ("odbc").
    static std::optional<Engine> engineOfScheme(const QString& scheme);
    // The engine behind a transport, as its driver reports the database (ODBC's DBMS name);
    // none for a database the program has no dialect for.
    static std::optional<Engine> engineOfDbms(QSqlDriver::DbmsType dbms);

    virtual Engine engine() const = 0;
    virtual QString driverName() const = 0;

    // How long a statement waits for another session's lock before giving up.
    static constexpr int kLockWaitMs = 10000;
    // How long a commit waits for a synchronous standby that is not there before giving up.
    static constexpr int kStandbyWaitMs = 10000;

    // Driver options set before the connection opens.
    virtual void configure(QSqlDatabase& db) const;
    // Statements run once the connection is open (journal, messages, lock wait, schema).
    // Throws SuiteError (connection failed) for a connection string the engine cannot honour.
    virtual QStringList sessionSetup(const ConnectionString& cs) const;
    // Run as a session closes, each statement whatever the one before did: the planner's
    // statistics brought up to date where the engine leaves that to its users. Nothing by
    // default: a server gathers them by itself.
    virtual QStringList keepStatistics() const { return {}; }
    // Run on a connection opened for a long read in the background (the figures under the list):
    // such a read must leave the processors to the clerk's form. Nothing by default.
    virtual QStringList backgroundSession() const { return {}; }
    // Synchronous replication: a query, run just before a commit, whose first column is 1 while
    // this session's commits would wait for a standby that is not connected; it also bounds the
    // commit's own wait for one (the standby may go between the query and the commit). Empty
    // where the engine replicates no such way.
    virtual QString standbyMissingQuery() const { return {}; }
    // A failed statement classified by the engine's error code, never by its wording.
    virtual EngineFailure classify(const QSqlError& error) const;
    // What identifies the database file at `databaseName`, for an engine that keeps a database in
    // a file which can be deleted or replaced under an open connection (SQLite: the file's device
    // and inode). Empty where the engine has no such file, or when no file is there.
    virtual QString fileIdentity(const QString& /*databaseName*/) const { return {}; }
    // A result column's name as the system spells it (upper case).
    virtual QString columnName(const QString& driverName) const { return driverName; }
    // How to make a read run read-only, outside or inside the caller's transaction.
    virtual ReadOnlyStatements readOnly(bool inTransaction) const;
    // Whether the engine's own driver sends several statements in one message, answering each in
    // turn and ending at the first that fails: a batch, or a read with readOnlyAhead, then costs
    // one round trip.
    virtual bool runsSeveralPerMessage() const { return false; }
    // A statement that, sent in one message ahead of a read outside a transaction, makes that
    // read alone refuse any write: the read then needs none of readOnly's statements around it.
    // Empty where the engine has none.
    virtual QString readOnlyAhead() const { return {}; }
    // Whether the engine prepares statements in the program itself (parsing is the program's
    // time, and a prepared statement costs no round trip): reads a caller repeats are kept
    // prepared there.
    virtual bool preparesInProgram() const { return false; }
    // Whether the engine finds that a statement it prepared in the program writes nothing: such a
    // statement runs read-only without statements around it (which could make the engine
    // prepare it again). False where the engine cannot tell.
    virtual bool preparedOnlyReads(const QSqlQuery& /*prepared*/) const { return false; }
    // Where the engine prepares in the program: a query answering its count of changes to the
    // schema, by any connection.
    virtual QString schemaVersionQuery() const { return {}; }
    // Whether the engine orders texts by their characters' codes, numbers and dates by value:
    // the program can then tell where a row falls in an order the engine read.
    virtual bool ordersTextsByCode() const { return false; }

    // Reading back what a database holds from the engine's own catalogue, through `rows`, which
    // runs a statement with bound values and answers its rows.
    using CatalogueRows = std::function<QList<QVariantList>(const QString& sql, const QVariantList& bind)>;
    // Upper-case names of the tables and views (of the connection's schema where there are schemas).
    virtual QStringList tableNames(const CatalogueRows& rows) const;
    // The table or view as the engine describes it; nullopt when there is none of that name.
    virtual std::optional<TableDef> inspectTable(const QString& name, const CatalogueRows& rows) const;
    // Upper-case names of the indexes (of the connection's schema where there are schemas);
    // nullopt where the dialect does not read them (its createIndex then looks before it creates).
    virtual std::optional<QStringList> indexNames(const CatalogueRows& /*rows*/) const {
        return std::nullopt;
    }

    // The statements to run, in order, for one SQL Server batch. By default: the batch split at
    // its semicolons, table hints dropped, IF (...) BEGIN ... END turned into guarded statements,
    // and T-SQL's string functions without a namesake here (LEN, CONCAT) in the engine's words.
    virtual QList<EngineStatement> translate(const QString& sqlServerText) const;
    // What T-SQL's `EXEC sp_updatestats` becomes: the planner's statistics gathered again for
    // the tables of this database, or of this schema where a database holds several.
    virtual QString refreshStatistics() const { return QStringLiteral("ANALYZE"); }
    // T-SQL's CONCAT: the parts joined as texts, a Null read as an empty text.
    virtual QString concatenation(const QStringList& parts) const;

    QString columnType(const ColumnDef& column) const;
    QString createTable(const TableDef& table) const;
    QString createView(const TableDef& view) const;
    // Creates the index unless the database has it already: the same text installs a new
    // database and completes an older one.
    virtual QString createIndex(const TableDef& table, const IndexDef& index) const;

    // A value of `type` as an SQL literal of this engine (texts quoted, dates as the engine
    // compares them), for statements that cannot bind parameters.
    QString literal(const QVariant& value, DataType type) const;
    // `query` answering at most `rows` rows.
    virtual QString limited(const QString& query, int rows) const;
    // One statement that holds the rows of `table` matching `where` against other writers until
    // the transaction ends, and answers their `columns` as they stand: here `keyColumn` written
    // onto itself, which every engine with RETURNING locks as a write.
    virtual QString holdRows(const QString& table, const QString& keyColumn, const QString& where,
                             const QStringList& columns) const;
    // Whether "(a, b) > (1, 2)" narrows an index range on this engine. Where it does, a page
    // boundary inside a run of equal leading values (many Bills due the same day) is found in
    // the index instead of by reading the whole run.
    virtual bool seeksByRowComparison() const { return false; }
    // The query answering the server's id of this session, and the statement, run from another
    // session, that cancels what the session with that id is running; empty where the engine
    // has no such thing (an embedded database runs its statement in the caller's thread).
    virtual QString sessionIdQuery() const { return {}; }
    virtual QString cancelStatement(qint64 /*sessionId*/) const { return {}; }

    // `sql`, one statement that may return rows, run on `db` through the engine's own client
    // library; nullptr where the dialect reads through the driver. With `onlyReads` a statement
    // the engine finds, as it compiles it, to write is refused before it runs (as readOnly's
    // statements would have it refused), where refusesWritesAsCompiled().
    virtual std::unique_ptr<NativeStatement> nativeStatement(const QSqlDatabase& /*db*/,
                                                             const QString& /*sql*/,
                                                             bool /*onlyReads*/ = false) const {
        return nullptr;
    }
    // Whether nativeStatement can refuse a writing statement as it compiles it: a caller's read
    // then runs without readOnly's statements around it (on SQLite a change of `query_only`
    // makes every statement kept prepared on the connection compile again).
    virtual bool refusesWritesAsCompiled() const { return false; }

    // A value of `type` as the driver binds it, and a value the driver returned as `type`.
    // Null is an invalid QVariant both ways.
    QVariant toDriver(const QVariant& value, DataType type) const;
    QVariant fromDriver(const QVariant& raw, DataType type, int scale) const;

    // The most significant digits a decimal keeps exactly on this engine: a column's precision is
    // capped to it, so that a larger value is refused instead of stored rounded.
    virtual int exactDecimalDigits() const { return 38; }

    // How the users of this engine's databases prove who they are and who enforces their rights:
    // by default passwords hashed in the database and the access rule applied by the program.
    virtual const Credentials& credentials() const;
    // Who may do what on an engine with roles of its own (LoginRoleCredentials): the rights are
    // GRANTs to a role per group, and the clerk connects as a login role that is a member of it.
    // The others throw SuiteError (operation not allowed).
    // Creates the role unless it exists; a login role gets `password` (empty: none, the server's
    // other methods apply).
    virtual QStringList createRole(const QString& role, bool login, const QString& password) const;
    virtual QString setRolePassword(const QString& role, const QString& password) const;
    virtual QString setRoleLogin(const QString& role, bool login) const;
    // Lets a login role create and manage other roles (the privileged user who manages users).
    virtual QString setRoleManagesRoles(const QString& role) const;
    virtual QString grantRole(const QString& role, const QString& member) const;
    virtual QString revokeRole(const QString& role, const QString& member) const;
    // Replaces whatever `role` had on `table` with `privileges` (SELECT, INSERT, UPDATE, DELETE).
    virtual QStringList grantOnly(const QStringList& privileges, const QString& table,
                                  const QString& role) const;
    // Lets `role` reach the tables of the connection's schema.
    virtual QString grantSchemaUsage(const QString& role) const;
    // Lets the members of `role` end other roles' sessions (endSessions).
    virtual QString letEndSessions(const QString& role) const;
    // Ends every session of the login role `role` on the server but the caller's own; answers rows.
    virtual QString endSessions(const QString& role) const;
    // Leaves creating objects in the connection's schema to its owner (the installer) alone.
    virtual QString reserveSchemaToOwner() const;
    // Run first in a transaction that changes roles: roles are shared by every database of the
    // server, and two sessions changing one role at once fail.
    virtual QString serializeRoleChanges() const;
    // The role the session runs as.
    virtual QString currentRoleQuery() const;
    // A query answering a number that changes whenever another connection committed a change to
    // the database (and only then); empty where the engine has none. The access rule is read
    // again only when it changed.
    virtual QString changeCountQuery() const { return {}; }
    // An engine without roles asks `rule` before it runs any statement on `db`; answers false
    // when the engine cannot. `rule` must outlive the connection (nullptr: no rule).
    virtual bool installAccessRule(QSqlDatabase& db, const AccessRule* rule) const;

    // The triggers or policies (with the routines they call) that keep `rows` to their owners,
    // replacing what an earlier run made; each to run with Connection::ExecuteNative. Empty
    // where the engine is not built for it (SQL Server): the program alone keeps the rows.
    virtual QStringList ownedRows(const OwnedRows& rows) const;
    // The trigger that refuses a user's update lowering `column` of `table` (a numbering
    // series' last number: lowered, it would hand out numbers again). After ownedRows, whose
    // routines it asks who the user is; empty where the engine is not built for it.
    virtual QStringList forwardOnly(const QString& table, const QString& column) const;

    // Counting the sign-in attempts where the server checks the passwords: routines that run
    // with the installer's rights, so that a role made for the purpose (signInCounterGrants) can
    // read and move on the count of a login role before anybody signed in, and nothing else,
    // and that any signed-in role can clear its own count.
    virtual QStringList signInCounter(const SignInTable& counter) const;
    virtual QStringList signInCounterGrants(const QString& role) const;
    // One row: the attempts in a row, the moment of the last, the server's moment now.
    virtual QString signInAttempts(const QString& role) const;
    // One row, one column: 1 when the attempt was counted (the count was still `seen`).
    virtual QString countSignInAttempt(const QString& role, int seen) const;
    // Clears the count of the session's own role.
    virtual QString signInSucceeded() const;

    // The text to evaluate a guard: one row, one column, 1 when the condition holds.
    QString guardQuery(const QString& condition) const;

protected:
    // The first column of `sql`'s rows in upper case, sorted: the names a catalogue query answers.
    static QStringList upperNames(const CatalogueRows& rows, const QString& sql);
    // A column as the catalogue declares it: its DataType with size, precision and scale.
    static ColumnDef declaredColumn(const QString& name, QString type, int length, int precision, int scale);
    // The expression for the connection's own schema in the information_schema views.
    virtual QString currentSchema() const { return QStringLiteral("current_schema()"); }

    // The engine's name for a type; DECIMAL and VARCHAR names get (precision,scale) and (size).
    virtual QString typeName(DataType type) const = 0;
    // SQLite keeps dates as 'yyyymmdd' text and decimals as REAL; the servers have real types.
    virtual bool datesAsText() const { return false; }
    virtual bool decimalsAsReal() const { return false; }
};

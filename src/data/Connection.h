#pragma once

#include "ConnectionFactory.h"
#include "ConnectionString.h"
#include "KeptStatements.h"
#include "ResultSet.h"
#include "SchemaCatalogue.h"
#include "SqlDialect.h"

#include <QHash>
#include <QSqlDatabase>
#include <QString>
#include <QVariant>
#include <QVector>
#include <functional>
#include <memory>
#include <vector>

class QSqlError;
class QSqlQuery;

// A connection to the company database, opened from a connection string. It runs the SQL Server
// text the forms write through the engine's dialect, and owns the transaction.
// Created as a shared_ptr: recordsets keep a weak reference to the connection they came from.
// After the server went away (a crash, a failover to the standby) the next transaction, or
// statement outside one, opens the connection again in place: recordsets keep theirs.
class Connection {
public:
    Connection();
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // Throws SuiteError (connection failed) with the engine's reason. A connection string that
    // names a user (sqlite:PATH?user=CODE) is refused here: it opens only through its session's
    // factory, which brings the user's access rule.
    void Open(const QString& connectionString);
    // Opens as `factory` says, with its access rule (the catalogue is the factory's to set).
    void Open(const ConnectionFactory& factory);
    void Close();
    // Makes a connection that lay unused current again before it is handed on: opened again if
    // its server went away, its file still the one opened, and the user's rights read again if
    // anything was committed since. Throws SuiteError as the opening would.
    void resume();
    // 0 closed, 1 open.
    int State() const { return open_ ? 1 : 0; }
    const QString& ConnectionString() const { return connectionString_; }

    void BeginTrans();
    void CommitTrans();
    void RollbackTrans();
    bool InTransaction() const { return inTransaction_; }

    // Runs a batch that returns no rows; answers the rows affected by its statements.
    long Execute(const QString& sql);
    // Runs ONE statement of the engine's own SQL as it stands, untranslated: the installer's
    // triggers and routines, whose bodies hold semicolons of their own.
    void ExecuteNative(const QString& statement);
    // Runs a batch and answers the result of each statement that returns rows, in order.
    std::vector<ResultSet> Query(const QString& sql);
    // Runs ONE query that holds text a caller wrote: a second statement is refused before
    // anything runs, and the engine is told to refuse any write while it reads. A read the
    // caller will repeat word for word is kept prepared where the engine prepares in the program
    // (KeptStatements), until the connection closes, a transaction rolls back, the user's
    // rights are read again or the schema changes.
    enum class Reuse { Once, Kept };
    std::vector<ResultSet> QueryReadOnly(const QString& sql, Reuse reuse = Reuse::Once);

    const SqlDialect& dialect() const;

    // Opens another connection the way this one was opened: the same database, rule and catalogue,
    // counted with the factory this one came from.
    ConnectionFactory factory() const { return from_.withCatalogue(catalogue_); }
    // The user the connection was opened as; empty when it names none.
    const QString& user() const { return user_; }
    void setCatalogue(std::shared_ptr<const SchemaCatalogue> catalogue) {
        catalogue_ = std::move(catalogue);
        described_.clear();
    }
    const SchemaCatalogue* catalogue() const { return catalogue_.get(); }

    // For the data layer's own writers.
    QSqlDatabase database() const;
    // A statement of the data layer's own (never a caller's text) that names its columns, kept
    // prepared with the reads a caller repeats (KeptStatements) and forgotten with them; bound
    // anew at each run.
    QSqlQuery& keptWrite(const QString& statement);
    // Runs `undo` when the open transaction is rolled back (forgotten on commit), so that a
    // recordset's rows written inside it become pending again instead of being lost.
    void onRollback(std::function<void()> undo);
    // Throws SuiteError for a failed query: command failed, or connection failed when the
    // database went away.
    [[noreturn]] void raise(const QSqlQuery& query, const QString& sql) const;
    [[noreturn]] void raise(const QSqlError& error, const QString& sql) const;
    void requireOpen() const;

private:
    // The failure of the last call on `db`, with the engine's own code also through a transport.
    QSqlError lastError(const QSqlDatabase& db) const;
    void open(const ConnectionFactory& factory);
    // The opening's parts: the engine's driver named and configured, given up again when the
    // opening fails, the session's setup run, the user's access rule installed.
    QSqlDatabase addDatabase(const ::ConnectionString& cs, const SqlDialect* dialect);
    void forgetDatabase(QSqlDatabase& db);
    void runSessionSetup(QSqlDatabase& db, const QStringList& statements, const QString& shown);
    void applyAccessRule(const ::ConnectionString& cs);
    void restrictTo(const QString& user);
    void refreshAccessRule();
    void reconnectIfLost();
    // The database file is still the one opened (see SqlDialect::fileIdentity); else the
    // connection counts as lost and SuiteError (connection failed) says what happened.
    void checkFileIdentity();
    [[noreturn]] void fileGone() const;
    [[noreturn]] void lost(const QSqlError& error) const;
    // Writes the engine's words about `error` (and the statement) to the technical log; answers
    // the sentence that tells the clerk where they are.
    QString logged(const QSqlError& error, const QString& sql) const;
    bool guardHolds(const QString& condition);
    // Before a commit: a synchronous standby the commit would wait for is there, waited for up to
    // SqlDialect::kStandbyWaitMs; else SuiteError (timeout), the transaction still open.
    void awaitStandby();
    std::vector<ResultSet> runQuery(const QString& sql);
    // Runs each statement of the batch, each IF block decided once by its guard; `eachResult`
    // sees every result of every statement run through the driver. `runNatively`, when given,
    // may run a statement itself instead (answering whether it did).
    void runBatch(const QString& sql, const std::function<void(QSqlQuery&)>& eachResult,
                  const std::function<bool(const QString&)>& runNatively = {});
    // One statement through the driver; throws as raise() does when it fails.
    QSqlQuery exec(const QString& statement);
    // Whether the driver sends several statements in one message (one round trip), running them
    // in order and stopping at the first failure.
    bool oneMessage() const;
    // A batch without IF blocks inside a transaction, where oneMessage: one round trip.
    void runInOneMessage(const QList<EngineStatement>& statements,
                         const std::function<void(QSqlQuery&)>& eachResult);
    // `statement` is `sql` in the engine's words.
    std::vector<ResultSet> readOnlyOnce(const QString& sql, const QString& statement, Reuse reuse);
    // The read sent in one message behind `ahead`, the statement that makes it read-only.
    std::vector<ResultSet> readBehind(const QString& ahead, const QString& statement);
    ResultSet readKept(const QString& statement);
    // The kept statements go when the engine's count of schema changes moved since their use.
    void forgetKeptAfterSchemaChange();
    // The statement kept for `statement`, prepared and kept first when none is.
    QSqlQuery& keptPrepared(const QString& statement);
    ResultSet readResult(QSqlQuery& query) const;
    // The statement run; its result, if it has one, appended to `results`.
    void readNatively(NativeStatement& statement, const QString& sql, std::vector<ResultSet>& results) const;
    ResultColumn describe(const QString& name, QMetaType driverType) const;

    QString connectionString_;
    QString qtName_;
    QString databaseName_;
    QString fileIdentity_;  // of the file opened; empty for a server
    std::unique_ptr<SqlDialect> dialect_;
    bool odbc_ = false;  // reached through the ODBC transport
    std::shared_ptr<const SchemaCatalogue> catalogue_;
    // Catalogued columns by the name the driver gives them: a read of a Bill describes some 150.
    mutable QHash<QString, ResultColumn> described_;
    bool open_ = false;
    bool inTransaction_ = false;
    mutable bool lost_ = false;  // marked by the const raise(), which only reports otherwise
    std::vector<std::function<void()>> rollbackActions_;
    KeptStatements kept_;
    QString user_;
    ConnectionFactory::RuleSource rule_;
    ConnectionFactory from_;  // what the connection was opened from
    // Read by the engine's access check on every statement: kept until the connection closes.
    std::unique_ptr<AccessRule> accessRule_;
    bool refreshingRule_ = false;  // the source reads the rights through this connection
    qint64 ruleChangeCount_ = -1;  // the engine's change count when the rule was read
    bool committedSinceRule_ = false;
};

#include "Connection.h"

#include "Credentials.h"
#include "LockWait.h"
#include "OdbcState.h"
#include "ResultTyping.h"
#include "SqlText.h"
#include "SuiteError.h"
#include "TechnicalLog.h"

#include <QAtomicInt>
#include <QElapsedTimer>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlField>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QThread>
#include <algorithm>

namespace {

QAtomicInt connectionCounter;

const QString kConnectionSource = QStringLiteral("Connection");

// The driver's words (libpq's, the ODBC driver manager's, SQLite's "file is not a database") are
// for the log, not the clerk.
SuiteError cannotOpen(const QString& shown, const QString& reason) {
    TechnicalLog::write(kConnectionSource, shown + QStringLiteral(": ") + reason);
    return SuiteError(
        SuiteError::kConnectionFailed, kConnectionSource,
        QStringLiteral("Impossibile aprire il database %1: non è raggiungibile, non esiste, non "
                       "è un database o ha rifiutato l'accesso. Il dettaglio tecnico è nel "
                       "registro %2.")
            .arg(shown, TechnicalLog::path()));
}

// The dialect of the engine a transport reached, and its session's setup in `setupStatements`.
std::unique_ptr<SqlDialect> dialectOfDriver(QSqlDatabase& db, const ConnectionString& cs,
                                            const QString& shown, QStringList& setupStatements) {
    const std::optional<SqlDialect::Engine> engine = SqlDialect::engineOfDbms(db.driver()->dbmsType());
    if (!engine) {
        TechnicalLog::write(kConnectionSource,
                            shown + QStringLiteral(": DBMS %1").arg(int(db.driver()->dbmsType())));
        throw SuiteError(SuiteError::kConnectionFailed, kConnectionSource,
                         QStringLiteral("Il database raggiunto con %1 non è PostgreSQL né SQL Server: il "
                                        "programma non sa lavorarci.")
                             .arg(shown));
    }
    std::unique_ptr<SqlDialect> dialect = SqlDialect::create(*engine);
    dialect->configure(db);
    setupStatements = dialect->sessionSetup(cs);
    return dialect;
}

}  // namespace

Connection::Connection() : dialect_(SqlDialect::create(SqlDialect::Engine::Sqlite)) {}

Connection::~Connection() {
    Close();
}

void Connection::Open(const QString& connectionString) {
    open(ConnectionFactory(connectionString, nullptr));
}

void Connection::Open(const ConnectionFactory& factory) {
    open(factory);
}

void Connection::open(const ConnectionFactory& factory) {
    Close();
    factory.countOpening();
    const QString& connectionString = factory.connectionString();
    const ::ConnectionString cs = ConnectionString::parse(connectionString);
    // Through a transport the engine is the one its driver reports once connected.
    std::unique_ptr<SqlDialect> dialect = cs.engine ? SqlDialect::create(*cs.engine) : nullptr;
    QStringList setupStatements = dialect ? dialect->sessionSetup(cs) : QStringList();
    QSqlDatabase db = addDatabase(cs, dialect.get());
    const QString shown = ::ConnectionString::shown(connectionString);
    if (!db.open()) {
        const QString reason = db.lastError().text();
        forgetDatabase(db);
        throw cannotOpen(shown, reason);
    }
    if (!dialect) {
        try {
            dialect = dialectOfDriver(db, cs, shown, setupStatements);
        } catch (const SuiteError&) {
            forgetDatabase(db);
            throw;
        }
    }
    dialect_ = std::move(dialect);
    odbc_ = cs.odbc;
    open_ = true;
    lost_ = false;
    connectionString_ = connectionString;
    rule_ = factory.rule();
    from_ = factory;
    runSessionSetup(db, setupStatements, shown);
    applyAccessRule(cs);
    databaseName_ = cs.databaseName;
    fileIdentity_ = dialect_->fileIdentity(databaseName_);
}

QSqlDatabase Connection::addDatabase(const ::ConnectionString& cs, const SqlDialect* dialect) {
    const QString driver = cs.odbc ? QStringLiteral("QODBC") : dialect->driverName();
    qtName_ = QStringLiteral("kv-connection-%1").arg(connectionCounter.fetchAndAddRelaxed(1));
    QSqlDatabase db = QSqlDatabase::addDatabase(driver, qtName_);
    if (!db.isValid()) {
        QSqlDatabase::removeDatabase(qtName_);
        qtName_.clear();
        throw SuiteError(SuiteError::kConnectionFailed, kConnectionSource,
                         QStringLiteral("Driver %1 non disponibile.").arg(driver));
    }
    db.setDatabaseName(cs.databaseName);
    if (!cs.host.isEmpty()) db.setHostName(cs.host);
    if (cs.port > 0) db.setPort(cs.port);
    if (!cs.odbc && !cs.user.isEmpty()) db.setUserName(cs.user);
    if (!cs.password.isEmpty()) db.setPassword(cs.password);
    if (!cs.connectOptions.isEmpty()) db.setConnectOptions(cs.connectOptions);
    if (dialect) dialect->configure(db);
    return db;
}

void Connection::forgetDatabase(QSqlDatabase& db) {
    db = QSqlDatabase();
    QSqlDatabase::removeDatabase(qtName_);
    qtName_.clear();
}

void Connection::runSessionSetup(QSqlDatabase& db, const QStringList& statements, const QString& shown) {
    QString refused;
    {
        QSqlQuery setup(db);
        for (const QString& statement : statements) {
            if (setup.exec(statement)) continue;
            refused = setup.lastError().text();
            break;
        }
    }
    db = QSqlDatabase();
    if (!refused.isEmpty()) {
        Close();
        throw cannotOpen(shown, refused);
    }
}

void Connection::applyAccessRule(const ::ConnectionString& cs) {
    try {
        const Credentials& credentials = dialect_->credentials();
        const QString ruled = credentials.ruledUser(cs);
        user_ = ruled;  // named already in what reading the rule may refuse
        if (!ruled.isEmpty()) {
            restrictTo(ruled);
        } else {
            QSqlDatabase unruled = database();
            dialect_->installAccessRule(unruled, nullptr);  // the installer's, or the server's rights
        }
        user_ = credentials.userOf(cs, *this);
    } catch (const SuiteError&) {
        Close();
        throw;
    }
}

void Connection::restrictTo(const QString& user) {
    if (!rule_)
        throw SuiteError(SuiteError::kConnectionFailed, kConnectionSource,
                         QStringLiteral("Il database si apre a nome di %1 solo dopo l'accesso dell'utente: "
                                        "senza, i suoi diritti non sarebbero applicati.")
                             .arg(user));
    // Read before the rule is in place: the rights themselves are in the database.
    auto rule = std::make_unique<AccessRule>(rule_(*this));
    QSqlDatabase db = database();
    if (!dialect_->installAccessRule(db, rule.get()))
        throw SuiteError(SuiteError::kConnectionFailed, kConnectionSource,
                         QStringLiteral("Il database non applica i diritti degli utenti."));
    accessRule_ = std::move(rule);
}

void Connection::refreshAccessRule() {
    if (!accessRule_ || refreshingRule_) return;
    // What the administrator changed meanwhile (a user disabled, a group's rights, a user moved
    // to another group) acts from this transaction on. Nothing can have changed unless a
    // connection committed something since the rule was read: this one, or another (the
    // engine's change count says so, cheaply).
    const QString changes = dialect_->changeCountQuery();
    if (!changes.isEmpty()) {
        QSqlQuery q(database());
        if (q.exec(changes) && q.next()) {
            const qint64 count = q.value(0).toLongLong();
            if (count == ruleChangeCount_ && !committedSinceRule_) return;
            ruleChangeCount_ = count;
        }
    }
    // The rule is replaced in place: the engine keeps a pointer to it. Statements kept prepared
    // were checked against the old one as they were prepared.
    kept_.clear();
    refreshingRule_ = true;
    try {
        *accessRule_ = rule_(*this);
    } catch (...) {
        refreshingRule_ = false;
        ruleChangeCount_ = -1;  // read again next time, and refused again while it holds
        throw;
    }
    refreshingRule_ = false;
    committedSinceRule_ = false;
}

void Connection::resume() {
    reconnectIfLost();
    requireOpen();
    checkFileIdentity();
    refreshAccessRule();
}

void Connection::Close() {
    kept_.clear();  // before the database they were prepared on goes
    if (qtName_.isEmpty()) return;
    {
        QSqlDatabase db = QSqlDatabase::database(qtName_, false);
        if (db.isOpen()) {
            if (inTransaction_) db.rollback();
            if (accessRule_) dialect_->installAccessRule(db, nullptr);
            // Statistics are the engine's, not the clerk's data: kept with the rule lifted, and a
            // failure to keep them (a busy or read-only file, a lost server) never fails a close.
            if (!lost_)
                for (const QString& statement : dialect_->keepStatistics()) QSqlQuery(db).exec(statement);
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(qtName_);
    qtName_.clear();
    open_ = false;
    inTransaction_ = false;
    rollbackActions_.clear();
    accessRule_.reset();
    ruleChangeCount_ = -1;
    committedSinceRule_ = false;
    user_.clear();
    fileIdentity_.clear();
}

QSqlError Connection::lastError(const QSqlDatabase& db) const {
    return odbc_ ? OdbcState::ofDatabase(db) : db.lastError();
}

QSqlDatabase Connection::database() const {
    return QSqlDatabase::database(qtName_, false);
}

const SqlDialect& Connection::dialect() const {
    return *dialect_;
}

void Connection::reconnectIfLost() {
    // Inside a transaction the work done so far went with the server: the transaction's own
    // failure tells the caller, whose rollback leaves the connection free to come back.
    if (!lost_ || inTransaction_) return;
    // A database file that is no longer there is not made again, empty, by opening it.
    if (!fileIdentity_.isEmpty() && dialect_->fileIdentity(databaseName_).isEmpty()) fileGone();
    const ConnectionFactory from = from_;
    const QString user = user_;
    try {
        open(from);
    } catch (const SuiteError& e) {
        // Still lost: the next call tries again. A server that answers but refuses the user
        // tells no more than one that does not answer: both are named.
        connectionString_ = from.connectionString();
        from_ = from;
        user_ = user;
        lost_ = true;
        throw SuiteError(
            SuiteError::kConnectionFailed, kConnectionSource,
            QStringLiteral(
                "Il database non è raggiungibile, oppure non accetta più l'utente %1 (disattivato "
                "dall'amministratore).\r\nLe modifiche non salvate restano da salvare: al prossimo "
                "salvataggio si riprova.\r\n%2")
                .arg(user.isEmpty() ? QStringLiteral("collegato") : user, e.description()));
    }
}

void Connection::checkFileIdentity() {
    // Writes into a file deleted or replaced meanwhile would succeed and be lost with it.
    if (fileIdentity_.isEmpty() || dialect_->fileIdentity(databaseName_) == fileIdentity_) return;
    lost_ = true;
    fileGone();
}

void Connection::fileGone() const {
    const bool there = !dialect_->fileIdentity(databaseName_).isEmpty();
    throw SuiteError(
        SuiteError::kConnectionFailed, kConnectionSource,
        (there ? QStringLiteral(
                     "Il file del database %1 non è più quello aperto: è stato sostituito da un altro.")
               : QStringLiteral("Il file del database %1 non c'è più: è stato cancellato o spostato."))
                .arg(databaseName_) +
            QStringLiteral("\r\nNulla è stato salvato: le modifiche restano da salvare.") +
            (there ? QStringLiteral(
                         " Il prossimo salvataggio le scrive nel file che ora si trova in quella posizione.")
                   : QString()));
}

void Connection::requireOpen() const {
    if (!open_)
        throw SuiteError(SuiteError::kConnectionFailed, kConnectionSource,
                         QStringLiteral("La connessione non è aperta."));
}

void Connection::raise(const QSqlQuery& query, const QString& sql) const {
    raise(odbc_ ? OdbcState::ofQuery(query) : query.lastError(), sql);
}

void Connection::raise(const QSqlError& error, const QString& sql) const {
    const EngineFailure failure =
        database().isOpen() ? dialect_->classify(error) : EngineFailure::ConnectionLost;
    if (failure == EngineFailure::ConnectionLost) lost(error);
    // The engine's and the driver's words go to the log; the clerk reads ours.
    const QString detail = logged(error, sql);
    // The row another user added meanwhile: the same as finding it changed.
    if (failure == EngineFailure::DuplicateKey)
        throw SuiteError(SuiteError::kWriteConflict, kConnectionSource,
                         QStringLiteral("La riga esiste già: è stata inserita da un altro utente.") + detail);
    if (failure == EngineFailure::NotPermitted)
        throw SuiteError(
            SuiteError::kNotPermitted, kConnectionSource,
            QStringLiteral("L'utente %1 non ha il diritto di eseguire questa operazione sui dati.")
                    .arg(user_.isEmpty() ? QStringLiteral("collegato") : user_) +
                detail);
    if (failure == EngineFailure::LockTimeout)
        throw SuiteError(
            SuiteError::kTimeout, kConnectionSource,
            QStringLiteral("I dati sono in uso da parte di un altro utente e non si sono liberati entro %1 "
                           "secondi.\r\nRiprovare fra qualche istante: le modifiche non sono andate perse.")
                .arg(std::max(1, LockWait::ms() / 1000)));
    // Told as a lock that did not free (kTimeout), so that every caller handles both alike.
    if (failure == EngineFailure::WriteRace)
        throw SuiteError(
            SuiteError::kTimeout, kConnectionSource,
            QStringLiteral("Un altro utente stava scrivendo gli stessi dati nello stesso momento: "
                           "l'operazione è stata annullata.\r\nRiprovare: le modifiche non sono "
                           "andate perse."));
    throw SuiteError(SuiteError::kCommandFailed, kConnectionSource,
                     QStringLiteral("Il database ha rifiutato l'operazione.") + detail);
}

QString Connection::logged(const QSqlError& error, const QString& sql) const {
    QString text = ::ConnectionString::shown(connectionString_) + QStringLiteral(": ") + error.text();
    if (!error.nativeErrorCode().isEmpty()) text += QStringLiteral(" [") + error.nativeErrorCode() + u']';
    if (!sql.isEmpty()) text += QStringLiteral("\n") + sql.trimmed();
    TechnicalLog::write(kConnectionSource, text);
    return QStringLiteral("\r\nIl dettaglio tecnico è nel registro %1.").arg(TechnicalLog::path());
}

void Connection::lost(const QSqlError& error) const {
    lost_ = true;
    TechnicalLog::write(kConnectionSource,
                        ::ConnectionString::shown(connectionString_) + QStringLiteral(": ") + error.text());
    const QString why = dialect_->credentials().lostConnectionCauses();
    throw SuiteError(
        SuiteError::kConnectionFailed, kConnectionSource,
        QStringLiteral("Il database non è raggiungibile: %1 (il dettaglio tecnico è nel registro %2).\r\nLe "
                       "modifiche non salvate restano da salvare: al prossimo salvataggio la connessione "
                       "viene riaperta.")
            .arg(why, TechnicalLog::path()));
}

void Connection::BeginTrans() {
    if (inTransaction_)
        throw SuiteError(SuiteError::kOperationNotAllowed, kConnectionSource,
                         QStringLiteral("Una transazione è già aperta."));
    reconnectIfLost();
    requireOpen();
    checkFileIdentity();
    refreshAccessRule();
    QSqlDatabase db = database();
    if (!db.transaction()) {
        // Gone since its last use (a server restarted, a failover): nothing has been done in the
        // transaction yet, so it is begun again on the connection opened anew.
        if (dialect_->classify(lastError(db)) == EngineFailure::ConnectionLost) {
            lost_ = true;
            db = QSqlDatabase();  // let go of the old one before it is closed
            reconnectIfLost();
            db = database();
            if (db.transaction()) {
                inTransaction_ = true;
                return;
            }
            if (dialect_->classify(lastError(db)) == EngineFailure::ConnectionLost) lost(lastError(db));
        }
        throw SuiteError(
            SuiteError::kCommandFailed, kConnectionSource,
            QStringLiteral("Il database non ha aperto la transazione.") + logged(lastError(db), QString()));
    }
    inTransaction_ = true;
}

void Connection::awaitStandby() {
    const QString probe = dialect_->standbyMissingQuery();
    if (probe.isEmpty()) return;
    QElapsedTimer waited;
    waited.start();
    for (;;) {
        QSqlQuery q(database());
        if (!q.exec(probe)) raise(q, probe);
        if (!q.next() || q.value(0).toInt() != 1) return;
        if (waited.elapsed() >= SqlDialect::kStandbyWaitMs)
            throw SuiteError(
                SuiteError::kTimeout, kConnectionSource,
                QStringLiteral("Il server di riserva (standby) non risponde da %1 secondi: con la replica "
                               "sincrona nessun salvataggio può essere confermato.\r\nNulla è stato "
                               "salvato: le modifiche restano da salvare. Avvisare l'amministratore del "
                               "database.")
                    .arg(SqlDialect::kStandbyWaitMs / 1000));
        QThread::msleep(250);
    }
}

void Connection::CommitTrans() {
    requireOpen();
    if (!inTransaction_)
        throw SuiteError(SuiteError::kOperationNotAllowed, kConnectionSource,
                         QStringLiteral("Nessuna transazione aperta."));
    try {
        awaitStandby();
    } catch (const SuiteError&) {
        RollbackTrans();
        throw;
    }
    QSqlDatabase db = database();
    if (!db.commit()) {
        const QSqlError error = lastError(db);
        RollbackTrans();
        if (dialect_->classify(error) == EngineFailure::ConnectionLost) lost(error);
        throw SuiteError(
            SuiteError::kCommandFailed, kConnectionSource,
            QStringLiteral("Il database non ha confermato la transazione: nulla è stato salvato.") +
                logged(error, QString()));
    }
    inTransaction_ = false;
    rollbackActions_.clear();
    // Only a privileged user's own commit can have changed the accounts the rule reads.
    if (accessRule_ && accessRule_->privileged) committedSinceRule_ = true;
}

void Connection::RollbackTrans() {
    requireOpen();
    if (!inTransaction_)
        throw SuiteError(SuiteError::kOperationNotAllowed, kConnectionSource,
                         QStringLiteral("Nessuna transazione aperta."));
    database().rollback();
    inTransaction_ = false;
    kept_.clear();
    auto actions = std::move(rollbackActions_);
    rollbackActions_.clear();
    for (auto it = actions.rbegin(); it != actions.rend(); ++it) (*it)();
}

void Connection::onRollback(std::function<void()> undo) {
    if (inTransaction_) rollbackActions_.push_back(std::move(undo));
}

bool Connection::guardHolds(const QString& condition) {
    QSqlQuery q(database());
    const QString sql = dialect_->guardQuery(condition);
    if (!q.exec(sql)) raise(q, sql);
    return q.next() && q.value(0).toInt() == 1;
}

long Connection::Execute(const QString& sql) {
    reconnectIfLost();
    requireOpen();
    if (!inTransaction_) {
        checkFileIdentity();
        refreshAccessRule();
    }
    long affected = 0;
    runBatch(sql, [&](QSqlQuery& q) {
        if (q.numRowsAffected() > 0) affected += q.numRowsAffected();
    });
    return affected;
}

void Connection::ExecuteNative(const QString& statement) {
    reconnectIfLost();
    requireOpen();
    if (!inTransaction_) refreshAccessRule();
    QSqlQuery q(database());
    if (!q.exec(statement)) raise(q, statement);
}

std::vector<ResultSet> Connection::Query(const QString& sql) {
    reconnectIfLost();
    requireOpen();
    if (inTransaction_) return runQuery(sql);
    refreshAccessRule();
    // Reads outside a transaction found the connection gone since its last use: read again on
    // it opened anew, as reading twice changes nothing.
    try {
        return runQuery(sql);
    } catch (const SuiteError& e) {
        if (e.number() != SuiteError::kConnectionFailed || !lost_) throw;
        for (const EngineStatement& s : dialect_->translate(sql))
            if (!s.guard.isEmpty() || !SqlText::returnsRows(s.sql)) throw;
    }
    reconnectIfLost();
    return runQuery(sql);
}

std::vector<ResultSet> Connection::runQuery(const QString& sql) {
    std::vector<ResultSet> results;
    runBatch(
        sql,
        [&](QSqlQuery& q) {
            if (q.isSelect()) results.push_back(readResult(q));
        },
        [&](const QString& statement) {
            std::unique_ptr<NativeStatement> native = dialect_->nativeStatement(database(), statement);
            if (native) readNatively(*native, statement, results);
            return native != nullptr;
        });
    return results;
}

QSqlQuery Connection::exec(const QString& statement) {
    QSqlQuery q(database());
    q.setForwardOnly(true);
    if (!q.exec(statement)) raise(q, statement);
    return q;
}

void Connection::runBatch(const QString& sql, const std::function<void(QSqlQuery&)>& eachResult,
                          const std::function<bool(const QString&)>& runNatively) {
    const QList<EngineStatement> statements = dialect_->translate(sql);
    if (inTransaction_ && statements.size() > 1 && oneMessage() &&
        std::all_of(statements.begin(), statements.end(),
                    [](const EngineStatement& s) { return s.guard.isEmpty(); }))
        return runInOneMessage(statements, eachResult);
    QString lastGuard;
    bool guardResult = true;
    for (const EngineStatement& s : statements) {
        if (!s.guard.isEmpty()) {
            // One IF block is decided once, before any of its statements runs.
            if (s.guard != lastGuard) guardResult = guardHolds(s.guard);
            lastGuard = s.guard;
            if (!guardResult) continue;
        } else {
            lastGuard.clear();
        }
        if (runNatively && runNatively(s.sql)) continue;
        QSqlQuery q = exec(s.sql);
        do {
            eachResult(q);
        } while (q.nextResult());
    }
}

bool Connection::oneMessage() const {
    return !odbc_ && dialect_->runsSeveralPerMessage();
}

void Connection::runInOneMessage(const QList<EngineStatement>& statements,
                                 const std::function<void(QSqlQuery&)>& eachResult) {
    QStringList texts;
    for (const EngineStatement& s : statements) texts.append(s.sql);
    QSqlQuery q(database());
    q.setForwardOnly(true);
    if (!q.exec(texts.join(QStringLiteral(";\n")))) raise(q, texts.front());
    for (qsizetype i = 0;; ++i) {
        eachResult(q);
        if (q.lastError().isValid()) raise(q, texts[i]);
        if (i + 1 == texts.size()) return;
        // The first failure ends the message: it is the next statement's.
        if (!q.nextResult()) raise(q, texts[i + 1]);
    }
}

std::vector<ResultSet> Connection::QueryReadOnly(const QString& sql, Reuse reuse) {
    reconnectIfLost();
    requireOpen();
    const QList<EngineStatement> statements = dialect_->translate(sql);
    if (statements.size() != 1 || !statements.front().guard.isEmpty() ||
        !SqlText::returnsRows(statements.front().sql))
        throw SuiteError(
            SuiteError::kCommandFailed, kConnectionSource,
            QStringLiteral("La selezione deve essere una sola interrogazione: il testo ne contiene altre "
                           "istruzioni.\n%1")
                .arg(sql.trimmed()));
    const QString& statement = statements.front().sql;
    if (inTransaction_) return readOnlyOnce(sql, statement, reuse);
    // As for Query: what the administrator changed meanwhile (a right taken away, the user
    // disabled) acts on the next read too, not only on the next write.
    refreshAccessRule();
    // A read that found the connection gone is read again on it opened anew.
    try {
        return readOnlyOnce(sql, statement, reuse);
    } catch (const SuiteError& e) {
        if (e.number() != SuiteError::kConnectionFailed || !lost_) throw;
    }
    reconnectIfLost();
    return readOnlyOnce(sql, statement, reuse);
}

std::vector<ResultSet> Connection::readOnlyOnce(const QString& sql, const QString& statement, Reuse reuse) {
    // Outside a transaction, where the driver sends several statements in one message: no
    // round trips around the read.
    const QString ahead = inTransaction_ || !oneMessage() ? QString() : dialect_->readOnlyAhead();
    if (!ahead.isEmpty()) return readBehind(ahead, statement);
    std::vector<ResultSet> results;
    if (reuse == Reuse::Kept && dialect_->preparesInProgram()) {
        results.push_back(readKept(statement));
        return results;
    }
    if (dialect_->refusesWritesAsCompiled())
        if (std::unique_ptr<NativeStatement> native =
                dialect_->nativeStatement(database(), statement, true)) {
            readNatively(*native, statement, results);
            return results;
        }
    const ReadOnlyStatements guard = dialect_->readOnly(inTransaction_);
    auto run = [this](const QStringList& list) {
        QSqlQuery q(database());
        for (const QString& s : list)
            if (!q.exec(s)) raise(q, s);
    };
    run(guard.enter);
    try {
        results = runQuery(sql);
    } catch (const SuiteError&) {
        try {
            run(guard.leave);
        } catch (const SuiteError&) {
            // The read's own error is the one to report.
        }
        throw;
    }
    run(guard.leave);
    return results;
}

std::vector<ResultSet> Connection::readBehind(const QString& ahead, const QString& statement) {
    std::vector<ResultSet> results;
    // The native statement passes over the setting's answer to the read's rows.
    if (std::unique_ptr<NativeStatement> native =
            dialect_->nativeStatement(database(), ahead + QStringLiteral("; ") + statement)) {
        readNatively(*native, statement, results);
        return results;
    }
    QSqlQuery q(database());
    q.setForwardOnly(true);
    // The setting answers first; the read's rows, or its refusal, follow.
    if (!q.exec(ahead + QStringLiteral("; ") + statement) || !q.nextResult()) raise(q, statement);
    results.push_back(readResult(q));  // rows come one by one: a failure among them is raised
    return results;
}

void Connection::forgetKeptAfterSchemaChange() {
    const QString probe = dialect_->schemaVersionQuery();
    QSqlQuery version(database());
    if (!version.exec(probe) || !version.next()) raise(version, probe);
    kept_.forgetAfterSchemaChange(version.value(0).toLongLong());
    version.finish();
}

QSqlQuery& Connection::keptPrepared(const QString& statement) {
    if (QSqlQuery* q = kept_.find(statement)) return *q;
    QSqlQuery prepared(database());
    prepared.setForwardOnly(true);
    if (!prepared.prepare(statement)) raise(prepared, statement);
    return kept_.keep(statement, std::move(prepared));
}

QSqlQuery& Connection::keptWrite(const QString& statement) {
    // No look at the schema's count first: on SQLite that read would open a read transaction
    // before the write, which then cannot wait for another writer's lock and fails at once. The
    // statement names its columns, so a column added since changes nothing the driver learnt.
    return keptPrepared(statement);
}

ResultSet Connection::readKept(const QString& statement) {
    forgetKeptAfterSchemaChange();
    QSqlQuery* q = &keptPrepared(statement);
    // Read-only as compiled, and so whenever it runs: the engine's own finding, asked of a
    // statement found kept as well, since the data layer's own writes are kept beside the reads.
    if (!dialect_->preparedOnlyReads(*q))
        throw SuiteError(SuiteError::kCommandFailed, kConnectionSource,
                         QStringLiteral("La selezione deve soltanto leggere: il testo modifica i dati.\n%1")
                             .arg(statement));
    if (!q->exec()) raise(*q, statement);
    ResultSet result;
    try {
        result = readResult(*q);
    } catch (const SuiteError&) {
        q->finish();
        throw;
    }
    q->finish();  // reset: the statement holds nothing of the database between reads
    return result;
}

ResultColumn Connection::describe(const QString& rawName, QMetaType driverType) const {
    if (const auto known = described_.constFind(rawName); known != described_.cend()) return *known;
    ResultColumn c;
    // PostgreSQL folds unquoted names to lower case; the system's names are upper case.
    c.name = dialect_->columnName(rawName);
    if (catalogue_) {
        if (const ColumnDef* def = catalogue_->columnOf(c.name)) {
            c.owner = catalogue_->ownerOfColumn(c.name);
            c.type = def->type;
            c.size = def->size;
            c.scale = def->type == DataType::Decimal ? def->scale : -1;
            c.precision =
                def->type == DataType::Decimal ? std::min(def->precision, dialect_->exactDecimalDigits()) : 0;
            c.nullable = def->nullable;
            described_.insert(rawName, c);
            return c;
        }
    }
    switch (driverType.id()) {
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::Short:
        case QMetaType::UShort:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
        case QMetaType::Bool:
            c.type = DataType::Integer;
            break;
        case QMetaType::Double:
        case QMetaType::Float:
            c.type = DataType::Decimal;
            break;
        case QMetaType::QDate:
            c.type = DataType::Date;
            break;
        case QMetaType::QDateTime:
            c.type = DataType::DateTime;
            break;
        default:
            c.type = DataType::Text;
            break;
    }
    return c;
}

ResultSet Connection::readResult(QSqlQuery& query) const {
    ResultSet result;
    const QSqlRecord record = query.record();
    const int n = record.count();
    result.columns.reserve(n);
    for (int i = 0; i < n; ++i)
        result.columns.push_back(describe(record.fieldName(i), record.field(i).metaType()));
    const ResultTyping typing(result.columns, *dialect_);
    if (query.size() > 0) result.rows.reserve(size_t(query.size()));  // a server tells the count
    while (query.next()) {
        QVector<QVariant> row(n);
        QVariant* out = row.data();  // filled in place: a Null stays as made
        for (int i = 0; i < n; ++i) {
            QVariant raw = query.value(i);
            typing.take(raw, i, out[i]);
        }
        result.rows.push_back(std::move(row));
    }
    // A server that fails on a later row ends the rows as their end would: a short result.
    if (query.lastError().type() != QSqlError::NoError) raise(query, query.lastQuery());
    return result;
}

void Connection::readNatively(NativeStatement& statement, const QString& sql,
                              std::vector<ResultSet>& results) const {
    if (!statement.exec()) raise(statement.error(), sql);
    const int n = statement.columnCount();
    if (n == 0) return;  // a statement without rows
    ResultSet result;
    result.columns.reserve(size_t(n));
    for (int i = 0; i < n; ++i)
        result.columns.push_back(describe(statement.columnName(i), statement.columnType(i)));
    if (!statement.readRows(ResultTyping(result.columns, *dialect_), result.rows))
        raise(statement.error(), sql);
    results.push_back(std::move(result));
}

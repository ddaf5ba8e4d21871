#include "SchemaInstaller.h"

#include "Accounts.h"
#include "BulkInserter.h"
#include "Credentials.h"
#include "DatabaseGrants.h"
#include "DatabaseInspector.h"
#include "ReturnReasons.h"
#include "Schema.h"
#include "SqlText.h"
#include "SuiteError.h"
#include "TransactionScope.h"

#include <QDateTime>

namespace {

const QString kSource = QStringLiteral("SchemaInstaller");
const QString kVersionTable = QStringLiteral("KV00_VERSIONE");

[[noreturn]] void refuse(const QString& why) {
    throw SuiteError(SuiteError::kConnectionFailed, kSource, why);
}

}  // namespace

SchemaInstaller::SchemaInstaller(std::shared_ptr<Connection> connection)
    : connection_(std::move(connection)) {}

std::shared_ptr<const SchemaCatalogue> SchemaInstaller::catalogue() {
    return Schema::catalogue();
}

std::optional<int> SchemaInstaller::recordedVersion() const {
    if (!DatabaseInspector(*connection_).tableNames().contains(kVersionTable)) return std::nullopt;
    const auto results = connection_->Query(
        QStringLiteral("SELECT KV00_VERSIONE FROM KV00_VERSIONE WHERE KV00_COMPONENTE = ") +
        SqlText::quote(QString::fromLatin1(Schema::kComponent)));
    if (results.empty() || results.front().rows.empty()) return std::nullopt;
    return results.front().rows.front().value(0).toInt();
}

int SchemaInstaller::installedVersion() const {
    return recordedVersion().value_or(0);
}

SchemaInstaller::State SchemaInstaller::state() const {
    if (DatabaseInspector(*connection_).tableNames().isEmpty()) return State::Empty;
    const std::optional<int> version = recordedVersion();
    if (!version) return State::Foreign;
    if (*version < Schema::kVersion) return State::Older;
    if (*version > Schema::kVersion) return State::Newer;
    return State::Current;
}

void SchemaInstaller::install() {
    if (state() != State::Empty)
        refuse(QStringLiteral(
            "Il database contiene già delle tabelle: lo schema si crea solo su un database vuoto."));
    const SqlDialect& dialect = connection_->dialect();
    TransactionScope transaction(*connection_);
    {
        for (const TableDef& t : Schema::all())
            connection_->Execute(t.isView ? dialect.createView(t) : dialect.createTable(t));
        createIndexes();
        BulkInserter version(*connection_, *Schema::catalogue()->table(kVersionTable));
        BulkInserter::Row row = version.newRow();
        row.set(QStringLiteral("KV00_COMPONENTE"), QString::fromLatin1(Schema::kComponent));
        row.set(QStringLiteral("KV00_VERSIONE"), Schema::kVersion);
        row.set(QStringLiteral("KV00_DATAAGG"), QDateTime::currentDateTime());
        version.insert(row);
        version.flush();
    }
    ReturnReasons::install(*connection_);
    installRules();
    transaction.commit();
}

void SchemaInstaller::verify() const {
    switch (state()) {
        case State::Current:
            return;
        case State::Empty:
            refuse(QStringLiteral("Il database è vuoto: occorre prima creare le tabelle degli effetti."));
        case State::Foreign:
            refuse(QStringLiteral(
                       "Il database non contiene la versione dello schema degli effetti (tabella %1): "
                       "non è un database di questo programma.")
                       .arg(kVersionTable));
        case State::Older:
            refuse(QStringLiteral(
                       "Il database è alla versione %1 dello schema degli effetti, questo programma richiede "
                       "la versione %2: occorre aggiornare il database.")
                       .arg(installedVersion())
                       .arg(Schema::kVersion));
        case State::Newer:
            refuse(QStringLiteral("Il database è alla versione %1 dello schema degli effetti, più recente "
                                  "della versione %2 "
                                  "di questo programma: occorre aggiornare il programma.")
                       .arg(installedVersion())
                       .arg(Schema::kVersion));
    }
}

void SchemaInstaller::installOrVerify() {
    if (state() == State::Empty) {
        install();
    } else {
        if (state() == State::Older) upgrade();
        verify();
        addMissingIndexes();
    }
}

void SchemaInstaller::upgrade() {
    if (state() != State::Older) verify();
    const SqlDialect& dialect = connection_->dialect();
    const QStringList present = DatabaseInspector(*connection_).tableNames();
    TransactionScope transaction(*connection_);
    for (const TableDef& t : Schema::all())
        if (!present.contains(t.name.toUpper()))
            connection_->Execute(t.isView ? dialect.createView(t) : dialect.createTable(t));
    createIndexes();
    // Before rights existed every user could do everything: their groups keep it, and the users
    // get their sign-in rows (a password is then given by a privileged user).
    if (!present.contains(QStringLiteral("KV11_DIRITTI"))) {
        connection_->Execute(
            QStringLiteral(
                "INSERT INTO KV11_DIRITTI (KV11_GRUPPO_KV03, KV11_PROGRAMMA, KV11_FLGINS, KV11_FLGMOD, "
                "KV11_FLGCANC, KV11_FLGCONS) SELECT KV03_GRUPPO, %1, 1, 1, 1, 1 FROM KV03_GRUPPI")
                .arg(SqlText::quote(Schema::billProgram())));
        connection_->Execute(
            QStringLiteral("INSERT INTO KV10_ACCESSI (KV10_UTENTE_KV02, KV10_FLGDISAB, KV10_TENTATIVI) "
                           "SELECT KV02_UTENTE, 0, 0 FROM KV02_UTENTI"));
    }
    // The slips written before their bank was kept: the bank their Bills still name.
    if (!present.contains(QStringLiteral("KV25_BANCHEDIST")))
        connection_->Execute(QStringLiteral(
            "INSERT INTO KV25_BANCHEDIST (KV25_DITTA_CG18, KV25_INDTIPODIST, KV25_ANNO, KV25_NUMDIST, "
            "KV25_BANCA_CG12, KV25_AGENZIA_CG13) SELECT M.EF06_DITTA_EF09, M.EF06_INDTIPODIST_EF09, "
            "M.EF06_ANNO_EF09, M.EF06_NUMDIST_EF09, MAX(E.EF01_BANCAPRE_SCG12), MAX(E.EF01_AGENPRE_SCG13) "
            "FROM EF06_SCADSTO M INNER JOIN EF01_SCADENZE E ON E.EF01_DITTA_CG18 = M.EF06_DITTA_CG18 "
            "AND E.EF01_NUMREG_CO99 = M.EF06_NUMREG_CO99 AND E.EF01_RIGACONT_CG42 = M.EF06_RIGACONT_EF01 "
            "AND E.EF01_PROGEC_EC01 = M.EF06_PROGEC_EF01 AND E.EF01_PROGEFF = M.EF06_PROGEFF_EF01 "
            "WHERE M.EF06_INDTIPOPER = 3 AND M.EF06_NUMDIST_EF09 IS NOT NULL AND E.EF01_BANCAPRE_SCG12 IS "
            "NOT NULL "
            "AND E.EF01_AGENPRE_SCG13 IS NOT NULL GROUP BY M.EF06_DITTA_EF09, M.EF06_INDTIPODIST_EF09, "
            "M.EF06_ANNO_EF09, M.EF06_NUMDIST_EF09"));
    connection_->Execute(
        QStringLiteral("UPDATE KV00_VERSIONE SET KV00_VERSIONE = %1 WHERE KV00_COMPONENTE = ")
            .arg(Schema::kVersion) +
        SqlText::quote(QString::fromLatin1(Schema::kComponent)));
    ReturnReasons::install(*connection_);
    installRules();
    transaction.commit();
    DatabaseGrants::apply(*connection_, Schema::accessClasses(), Schema::billProgram());
    // The planner learns the tables added and whatever the older program left unanalysed.
    connection_->Execute(QStringLiteral("EXEC sp_updatestats"));
}

void SchemaInstaller::installRules() {
    const SqlDialect& dialect = connection_->dialect();
    for (const Schema::PersonalTable& p : Schema::personalTables())
        for (const QString& statement :
             dialect.ownedRows(Accounts::ownedRows(p.table, p.ownerColumn, p.auditAction)))
            connection_->ExecuteNative(statement);
    // A numbering series lowered would hand out registration and bill numbers again.
    for (const QString& statement :
         dialect.forwardOnly(QStringLiteral("KV04_NUMERATORI"), QStringLiteral("KV04_ULTIMO")))
        connection_->ExecuteNative(statement);
    for (const QString& statement : dialect.credentials().routines(dialect, Accounts::signInTable()))
        connection_->ExecuteNative(statement);
}

void SchemaInstaller::addMissingIndexes() {
    verify();
    // Only what is missing: on a server even `CREATE INDEX IF NOT EXISTS` of an index that exists
    // locks its table against writes first, so every program start would wait for the saves in
    // progress, and every save after it for the start.
    const std::optional<QStringList> present = DatabaseInspector(*connection_).indexNames();
    const SqlDialect& dialect = connection_->dialect();
    for (const TableDef& t : Schema::all())
        for (const IndexDef& index : t.indexes)
            if (!present || !present->contains(index.name.toUpper()))
                connection_->Execute(dialect.createIndex(t, index));
}

void SchemaInstaller::createIndexes() {
    const SqlDialect& dialect = connection_->dialect();
    for (const TableDef& t : Schema::all())
        for (const IndexDef& index : t.indexes) connection_->Execute(dialect.createIndex(t, index));
}

#pragma once

#include "SqlDialect.h"

// SQLite: batches split into statements, table hints dropped, IF ... BEGIN ... END run as
// guarded statements. Dates live as 'yyyymmdd' text in columns of TEXT affinity, so that the
// same literals compare correctly; decimals as REAL, rounded to the column's scale when read.
class SqliteDialect : public SqlDialect {
public:
    Engine engine() const override { return Engine::Sqlite; }
    QString driverName() const override { return QStringLiteral("QSQLITE"); }
    // A REAL holds 15 significant decimal digits exactly.
    int exactDecimalDigits() const override { return 15; }
    // This SQLite has no CONCAT: its || with each Null part read as ''.
    QString concatenation(const QStringList& parts) const override;
    void configure(QSqlDatabase& db) const override;
    QStringList sessionSetup(const ConnectionString& cs) const override;
    QStringList keepStatistics() const override;
    EngineFailure classify(const QSqlError& error) const override;
    QString fileIdentity(const QString& databaseName) const override;
    // Also gives every connection kv_utente() and kv_privilegiato(), which the triggers of
    // ownedRows() ask: the user the connection acts for (NULL for the installer's) and whether
    // that user is privileged.
    bool installAccessRule(QSqlDatabase& db, const AccessRule* rule) const override;
    // Reads through the connection's own SQLite handle (SqliteStatement).
    bool refusesWritesAsCompiled() const override { return true; }
    std::unique_ptr<NativeStatement> nativeStatement(const QSqlDatabase& db, const QString& sql,
                                                     bool onlyReads = false) const override;
    QStringList ownedRows(const OwnedRows& rows) const override;
    QStringList forwardOnly(const QString& table, const QString& column) const override;
    QString changeCountQuery() const override { return QStringLiteral("PRAGMA data_version"); }
    ReadOnlyStatements readOnly(bool inTransaction) const override;
    bool preparesInProgram() const override { return true; }
    bool preparedOnlyReads(const QSqlQuery& prepared) const override;
    QString schemaVersionQuery() const override { return QStringLiteral("PRAGMA schema_version"); }
    // The schema declares no collation: SQLite's binary one compares texts byte by byte.
    bool ordersTextsByCode() const override { return true; }
    QStringList tableNames(const CatalogueRows& rows) const override;
    std::optional<QStringList> indexNames(const CatalogueRows& rows) const override;
    std::optional<TableDef> inspectTable(const QString& name, const CatalogueRows& rows) const override;

protected:
    QString typeName(DataType type) const override;
    bool datesAsText() const override { return true; }
    bool decimalsAsReal() const override { return true; }
};

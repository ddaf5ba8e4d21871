#pragma once

#include "NativeStatement.h"

#include <QByteArray>

struct sqlite3;
struct sqlite3_stmt;

// A statement run on the handle of a QSQLITE connection (see NativeStatement). Texts are read
// as the UTF-8 SQLite keeps, where the driver asks for UTF-16 (a conversion and an allocation
// inside SQLite for every text), and a 'yyyymmdd' date is parsed where it lies. Being the
// driver's own handle, its authorizer, busy timeout, read-only setting and open transaction
// apply as to the driver's statements.
class SqliteStatement final : public NativeStatement {
public:
    // With `onlyReads`, a statement SQLite compiles into one that writes fails before it runs,
    // as it would under `PRAGMA query_only`.
    SqliteStatement(sqlite3* db, const QString& sql, bool onlyReads = false);
    ~SqliteStatement() override;
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;

    bool exec() override;
    QSqlError error() const override { return error_; }
    int columnCount() const override;
    QString columnName(int column) const override;
    QMetaType columnType(int column) const override;
    bool readRows(const ResultTyping& typing, std::vector<QVector<QVariant>>& rows) override;

private:
    bool step();
    bool fail(const char* driverText, QSqlError::ErrorType type, const QString& code);
    // A value as the driver would have returned it.
    QVariant driverValue(int column, int kind) const;

    sqlite3* db_;
    QByteArray sql_;
    bool onlyReads_;
    sqlite3_stmt* stmt_ = nullptr;
    int stepped_ = 0;  // what the last step answered
    QSqlError error_;
};

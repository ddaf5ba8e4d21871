#pragma once

#include "NativeStatement.h"

#include <QByteArray>
#include <vector>

struct pg_conn;
struct pg_result;

// A statement run through libpq on the connection of a QPSQL driver (see NativeStatement), row by
// row as the driver reads a forward-only query. Each value is made once, from the text libpq
// holds, into the field's own type: a date parsed where it lies, an exact decimal read as text
// only once. The driver's session settings (ISO dates, UTF-8, the user's role and time limits)
// and its open transaction apply, being the same connection. Several statements in one text
// answer with the first that returns rows: those before it (a setting) are passed over.
class PostgresStatement final : public NativeStatement {
public:
    // Whether libpq's functions are there to call: once a QPSQL connection is open they are.
    static bool available();
    PostgresStatement(pg_conn* connection, const QString& sql);
    // Reads what is left of the answer, so that the connection is free for the next statement.
    ~PostgresStatement() override;
    PostgresStatement(const PostgresStatement&) = delete;
    PostgresStatement& operator=(const PostgresStatement&) = delete;

    bool exec() override;
    QSqlError error() const override { return error_; }
    int columnCount() const override;
    QString columnName(int column) const override;
    QMetaType columnType(int column) const override;
    bool readRows(const ResultTyping& typing, std::vector<QVector<QVariant>>& rows) override;

private:
    bool fail(const char* driverText, pg_result* failed);
    void discardRest();
    // A value of `column` of the current row, as the driver would have returned it.
    QVariant driverValue(int row, int column) const;

    pg_conn* connection_;
    QByteArray sql_;
    pg_result* result_ = nullptr;
    struct Column {
        unsigned oid;  // the server's type
        int kind;      // the driver's type for it (a QMetaType id)
    };
    std::vector<Column> columns_;
    QSqlError error_;
};

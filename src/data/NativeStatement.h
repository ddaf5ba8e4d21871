#pragma once

#include <QMetaType>
#include <QSqlError>
#include <QString>
#include <QVariant>
#include <QVector>
#include <vector>

class ResultTyping;

// One statement run through the engine's own client library on the driver's connection, so
// that a large read's values go straight into typed field values instead of through the
// driver's QVariant per value. It describes its columns and fails as the driver would (the same
// error kinds, codes and texts): callers tell its failures apart alike.
class NativeStatement {
public:
    virtual ~NativeStatement() = default;
    // Compiles the statement and runs it up to its first row; false with error() set.
    virtual bool exec() = 0;
    virtual QSqlError error() const = 0;
    // The result's columns as the driver describes them (none for a statement without rows);
    // asked between exec() and readRows().
    virtual int columnCount() const = 0;
    virtual QString columnName(int column) const = 0;
    virtual QMetaType columnType(int column) const = 0;
    // Every row, each value typed by `typing`; false with error() set.
    virtual bool readRows(const ResultTyping& typing, std::vector<QVector<QVariant>>& rows) = 0;
};

#pragma once

#include <QSqlError>

class QSqlDatabase;
class QSqlQuery;

// What the ODBC transport's driver said of a failed call. Qt's ODBC driver keeps the words but
// drops the SQLSTATE, which is what tells a duplicate key from a lock wait or a lost server: it
// is read back from the handle the call left and becomes the error's native code, as the
// engine's own driver would give it.
namespace OdbcState {
QSqlError ofQuery(const QSqlQuery& query);
QSqlError ofDatabase(const QSqlDatabase& db);
}  // namespace OdbcState

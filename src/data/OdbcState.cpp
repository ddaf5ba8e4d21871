#include "OdbcState.h"

#include <sql.h>
#include <sqlext.h>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlQuery>
#include <QSqlResult>

namespace {

QString stateOf(const QVariant& handle, SQLSMALLINT handleType) {
    if (handle.typeId() != QMetaType::VoidStar) return {};
    SQLHANDLE h = handle.value<void*>();
    if (h == nullptr) return {};
    SQLCHAR state[SQL_SQLSTATE_SIZE + 1] = {};
    SQLINTEGER native = 0;
    SQLSMALLINT length = 0;
    const SQLRETURN r = SQLGetDiagRecA(handleType, h, 1, state, &native, nullptr, 0, &length);
    if (r != SQL_SUCCESS && r != SQL_SUCCESS_WITH_INFO) return {};
    return QString::fromLatin1(reinterpret_cast<const char*>(state));
}

QSqlError withState(const QSqlError& error, const QString& state) {
    if (state.isEmpty() || error.type() == QSqlError::NoError) return error;
    return {error.driverText(), error.databaseText(), error.type(), state};
}

}  // namespace

QSqlError OdbcState::ofQuery(const QSqlQuery& query) {
    const QSqlResult* result = query.result();
    return withState(query.lastError(), result ? stateOf(result->handle(), SQL_HANDLE_STMT) : QString());
}

QSqlError OdbcState::ofDatabase(const QSqlDatabase& db) {
    const QSqlDriver* driver = db.driver();
    return withState(db.lastError(), driver ? stateOf(driver->handle(), SQL_HANDLE_DBC) : QString());
}

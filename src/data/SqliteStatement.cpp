#include "SqliteStatement.h"

#include "ResultTyping.h"
#include "Value.h"

#include <sqlite3.h>
#include <QCoreApplication>
#include <QDate>

namespace {

// The driver's kind for a column declared as `declared` (its declared type, as written).
QMetaType declaredType(const QByteArray& declared) {
    const QByteArray type = declared.toLower();
    if (type == "integer" || type == "int") return QMetaType(QMetaType::Int);
    if (type == "double" || type == "float" || type == "real" || type.startsWith("numeric"))
        return QMetaType(QMetaType::Double);
    if (type == "blob") return QMetaType(QMetaType::QByteArray);
    if (type == "boolean" || type == "bool") return QMetaType(QMetaType::Bool);
    return QMetaType(QMetaType::QString);
}

}  // namespace

SqliteStatement::SqliteStatement(sqlite3* db, const QString& sql, bool onlyReads)
    : db_(db), sql_(sql.toUtf8()), onlyReads_(onlyReads) {}

SqliteStatement::~SqliteStatement() {
    sqlite3_finalize(stmt_);
}

bool SqliteStatement::fail(const char* driverText, QSqlError::ErrorType type, const QString& code) {
    error_ = QSqlError(QCoreApplication::translate("QSQLiteResult", driverText),
                       QString::fromUtf8(sqlite3_errmsg(db_)), type, code);
    return false;
}

bool SqliteStatement::exec() {
    const char* tail = nullptr;
    const int prepared = sqlite3_prepare_v3(db_, sql_.constData(), int(sql_.size()) + 1, 0, &stmt_, &tail);
    if (prepared != SQLITE_OK)
        return fail("Unable to execute statement", QSqlError::StatementError, QString::number(prepared));
    // The driver runs one statement at a time; the dialect has split the batch already.
    if (tail && !QByteArray(tail).trimmed().isEmpty())
        return fail("Unable to execute multiple statements at a time", QSqlError::StatementError,
                    QString::number(SQLITE_MISUSE));
    if (!stmt_) {
        error_ =
            QSqlError(QCoreApplication::translate("QSQLiteResult", "Unable to fetch row"),
                      QCoreApplication::translate("QSQLiteResult", "No query"), QSqlError::ConnectionError);
        return false;
    }
    if (onlyReads_ && sqlite3_stmt_readonly(stmt_) == 0) {
        // What the driver reports for a write under `query_only`.
        error_ = QSqlError(QCoreApplication::translate("QSQLiteResult", "Unable to fetch row"),
                           QStringLiteral("attempt to write a readonly database"), QSqlError::ConnectionError,
                           QString::number(SQLITE_READONLY));
        return false;
    }
    return step();
}

bool SqliteStatement::step() {
    stepped_ = sqlite3_step(stmt_);
    if (stepped_ == SQLITE_ROW || stepped_ == SQLITE_DONE) return true;
    // As the driver files it: every failed step as a connection error, the code telling which.
    return fail("Unable to fetch row", QSqlError::ConnectionError, QString::number(stepped_));
}

int SqliteStatement::columnCount() const {
    return stmt_ ? sqlite3_column_count(stmt_) : 0;
}

QString SqliteStatement::columnName(int column) const {
    return QString::fromUtf8(sqlite3_column_name(stmt_, column)).remove(u'"');
}

// By the declared type; an expression's, which has none, by what the first row holds.
QMetaType SqliteStatement::columnType(int column) const {
    const QByteArray declared(sqlite3_column_decltype(stmt_, column));
    if (!declared.isEmpty()) return declaredType(declared);
    if (stepped_ != SQLITE_ROW) return QMetaType();
    switch (sqlite3_column_type(stmt_, column)) {
        case SQLITE_INTEGER:
            return QMetaType(QMetaType::Int);
        case SQLITE_FLOAT:
            return QMetaType(QMetaType::Double);
        case SQLITE_BLOB:
            return QMetaType(QMetaType::QByteArray);
        case SQLITE_TEXT:
            return QMetaType(QMetaType::QString);
        default:
            return QMetaType();
    }
}

QVariant SqliteStatement::driverValue(int column, int kind) const {
    switch (kind) {
        case SQLITE_INTEGER:
            return qlonglong(sqlite3_column_int64(stmt_, column));
        case SQLITE_FLOAT:
            return sqlite3_column_double(stmt_, column);
        case SQLITE_BLOB: {
            const auto* bytes = static_cast<const char*>(sqlite3_column_blob(stmt_, column));
            return QByteArray(bytes, sqlite3_column_bytes(stmt_, column));
        }
        default: {
            const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
            return QString::fromUtf8(text, sqlite3_column_bytes(stmt_, column));
        }
    }
}

bool SqliteStatement::readRows(const ResultTyping& typing, std::vector<QVector<QVariant>>& rows) {
    const int n = columnCount();
    while (stepped_ == SQLITE_ROW) {
        QVector<QVariant> row(n);
        QVariant* out = row.data();  // filled in place: a Null stays as made
        for (int i = 0; i < n; ++i) {
            const int kind = sqlite3_column_type(stmt_, i);
            if (kind == SQLITE_NULL) continue;
            if (kind == SQLITE_TEXT && typing.typedAs(i, DataType::Date)) {
                const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, i));
                const QDate day = Value::compactDate(QLatin1String(text, sqlite3_column_bytes(stmt_, i)));
                if (day.isValid()) {
                    out[i] = day;
                    continue;
                }
            }
            QVariant value = driverValue(i, kind);
            typing.takeValue(value, i, out[i]);
        }
        rows.push_back(std::move(row));
        if (!step()) return false;
    }
    return true;
}

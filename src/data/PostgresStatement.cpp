#include "PostgresStatement.h"

#include "ResultTyping.h"

#include <libpq-fe.h>
#include <QCoreApplication>
#include <QDate>
#include <QDateTime>
#include <QTime>
#include <charconv>

namespace {

// The server's type oids the driver tells apart.
enum : unsigned {
    kBool = 16,
    kBytea = 17,
    kInt8 = 20,
    kInt2 = 21,
    kInt4 = 23,
    kRegproc = 24,
    kXid = 28,
    kCid = 29,
    kFloat4 = 700,
    kFloat8 = 701,
    kAbstime = 702,
    kReltime = 703,
    kDate = 1082,
    kTime = 1083,
    kTimestamp = 1114,
    kTimestampTz = 1184,
    kTimeTz = 1266,
    kNumeric = 1700,
    kOidAsInt = 2278,  // the driver reads this oid as a whole number
};

// The type the driver gives a column of server type `oid`.
QMetaType driverType(unsigned oid) {
    switch (oid) {
        case kBool:
            return QMetaType(QMetaType::Bool);
        case kInt8:
            return QMetaType(QMetaType::LongLong);
        case kInt2:
        case kInt4:
        case kOidAsInt:
        case kRegproc:
        case kXid:
        case kCid:
            return QMetaType(QMetaType::Int);
        case kNumeric:
        case kFloat4:
        case kFloat8:
            return QMetaType(QMetaType::Double);
        case kAbstime:
        case kReltime:
        case kDate:
            return QMetaType(QMetaType::QDate);
        case kTime:
        case kTimeTz:
            return QMetaType(QMetaType::QTime);
        case kTimestamp:
        case kTimestampTz:
            return QMetaType(QMetaType::QDateTime);
        case kBytea:
            return QMetaType(QMetaType::QByteArray);
        default:
            return QMetaType(QMetaType::QString);
    }
}

int digits(const char* text, int count) {
    int n = 0;
    for (int i = 0; i < count; ++i) {
        const unsigned d = unsigned(text[i] - '0');
        if (d > 9) return -1;
        n = n * 10 + int(d);
    }
    return n;
}

// 'yyyy-mm-dd' as the server writes a date under ISO DateStyle; anything else (a date before
// Christ, infinity) as the driver reads it.
QDate isoDate(const char* text, int length) {
    if (length == 10 && text[4] == '-' && text[7] == '-') {
        const int y = digits(text, 4), m = digits(text + 5, 2), d = digits(text + 8, 2);
        if (y >= 0 && m >= 0 && d >= 0) return QDate(y, m, d);
    }
    return QDate::fromString(QLatin1String(text, length), Qt::ISODate);
}

template <typename Number>
Number number(const char* text, int length) {
    Number n{};
    std::from_chars(text, text + length, n);
    return n;
}

}  // namespace

PostgresStatement::PostgresStatement(pg_conn* connection, const QString& sql)
    : connection_(connection), sql_(sql.toUtf8()) {}

PostgresStatement::~PostgresStatement() {
    PQclear(result_);
    discardRest();
}

void PostgresStatement::discardRest() {
    while (PGresult* rest = PQgetResult(connection_)) {
        const ExecStatusType status = PQresultStatus(rest);
        PQclear(rest);
        // A copy answers the same again until its data is read: nothing more to wait for.
        if (status == PGRES_COPY_IN || status == PGRES_COPY_OUT || status == PGRES_COPY_BOTH) return;
    }
}

bool PostgresStatement::fail(const char* driverText, pg_result* failed) {
    // As the driver words it: the server's message, its SQLSTATE beside it and as the code.
    QString message = QString::fromUtf8(PQerrorMessage(connection_));
    QString code;
    if (failed) {
        code = QString::fromLatin1(PQresultErrorField(failed, PG_DIAG_SQLSTATE));
        message += QStringLiteral("(%1)").arg(code);
    }
    error_ = QSqlError(QStringLiteral("QPSQL: ") + QCoreApplication::translate("QPSQLResult", driverText),
                       message, QSqlError::StatementError, code);
    return false;
}

bool PostgresStatement::exec() {
    discardRest();  // what an earlier query left unread, as the driver does before sending
    if (!PQsendQuery(connection_, sql_.constData())) return fail("Unable to send query", nullptr);
    PQsetSingleRowMode(connection_);
    while (PGresult* part = PQgetResult(connection_)) {
        switch (PQresultStatus(part)) {
            case PGRES_COMMAND_OK:
            case PGRES_EMPTY_QUERY:
                PQclear(part);  // a statement without rows ahead of the read
                continue;
            case PGRES_SINGLE_TUPLE:
            case PGRES_TUPLES_OK:
                result_ = part;
                types_.resize(size_t(PQnfields(part)));
                for (int i = 0; i < int(types_.size()); ++i) types_[size_t(i)] = PQftype(part, i);
                return true;
            default:
                fail("Unable to create query", part);
                PQclear(part);
                discardRest();
                return false;
        }
    }
    return true;  // no rows to read
}

int PostgresStatement::columnCount() const {
    return int(types_.size());
}

QString PostgresStatement::columnName(int column) const {
    return QString::fromUtf8(PQfname(result_, column));
}

QMetaType PostgresStatement::columnType(int column) const {
    return driverType(types_[size_t(column)]);
}

QVariant PostgresStatement::driverValue(int row, int column) const {
    const char* text = PQgetvalue(result_, row, column);
    const int length = PQgetlength(result_, row, column);
    switch (types_[size_t(column)]) {
        case kBool:
            return text[0] == 't';
        case kInt8:
            if (text[0] == '-') return number<qlonglong>(text, length);
            return number<qulonglong>(text, length);
        case kInt2:
        case kInt4:
        case kOidAsInt:
        case kRegproc:
        case kXid:
        case kCid:
            return int(number<qlonglong>(text, length));
        case kNumeric:
            return QString::fromLatin1(text, length);  // exact, as the connection asks the driver
        case kFloat4:
        case kFloat8: {
            double value = 0;
            // NaN, Infinity and -Infinity included; never the locale's decimal comma.
            if (std::from_chars(text, text + length, value).ec != std::errc()) return QVariant();
            return value;
        }
        case kAbstime:
        case kReltime:
        case kDate:
            return isoDate(text, length);
        case kTime:
        case kTimeTz:
            return QTime::fromString(QLatin1String(text, length), Qt::ISODate);
        case kTimestamp:
        case kTimestampTz: {
            // As the driver reads it: in local time, an offset of whole hours ('+02') completed
            // for the ISO reading.
            QString stamp = QString::fromLatin1(text, length);
            if (stamp.size() < 10) return QDateTime();  // infinity
            const QChar sign = stamp.at(stamp.size() - 3);
            if (sign == u'+' || sign == u'-') stamp += QStringLiteral(":00");
            return QDateTime::fromString(stamp, Qt::ISODate).toLocalTime();
        }
        case kBytea: {
            size_t size = 0;
            unsigned char* bytes = PQunescapeBytea(reinterpret_cast<const unsigned char*>(text), &size);
            QByteArray value(reinterpret_cast<const char*>(bytes), qsizetype(size));
            PQfreemem(bytes);
            return value;
        }
        default:
            return QString::fromUtf8(text, length);
    }
}

bool PostgresStatement::readRows(const ResultTyping& typing, std::vector<QVector<QVariant>>& rows) {
    const int n = columnCount();
    while (result_) {
        const int count = PQntuples(result_);
        for (int r = 0; r < count; ++r) {
            QVector<QVariant> row(n);
            QVariant* out = row.data();  // filled in place: a Null stays as made
            for (int i = 0; i < n; ++i) {
                if (PQgetisnull(result_, r, i)) continue;
                if (types_[size_t(i)] == kNumeric &&
                    typing.takeDecimalText(
                        QLatin1StringView(PQgetvalue(result_, r, i), PQgetlength(result_, r, i)), i, out[i]))
                    continue;
                QVariant value = driverValue(r, i);
                typing.takeValue(value, i, out[i]);
            }
            rows.push_back(std::move(row));
        }
        const bool last = PQresultStatus(result_) == PGRES_TUPLES_OK;
        PQclear(result_);
        result_ = nullptr;
        if (last) return true;
        // The next row, or the end of the rows (no row), or a failure met on the way.
        PGresult* part = PQgetResult(connection_);
        const ExecStatusType status = part ? PQresultStatus(part) : PGRES_FATAL_ERROR;
        if (status != PGRES_SINGLE_TUPLE && status != PGRES_TUPLES_OK) {
            fail("Unable to get result", part);
            PQclear(part);
            discardRest();
            return false;
        }
        result_ = part;
    }
    return true;
}

#include "PostgresStatement.h"

#include "ResultTyping.h"

#include <dlfcn.h>
#include <libpq-fe.h>
#include <QCoreApplication>
#include <QDate>
#include <QDateTime>
#include <QTime>
#include <charconv>
#include <type_traits>

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

// libpq's functions, found in the copy the QPSQL driver loaded. Linking libpq would load it, and
// the twenty libraries it needs (TLS, Kerberos, LDAP), into every desk's program at start, SQLite
// ones included: 4 MB more at its peak.
struct Api {
    decltype(&::PQclear) clear = nullptr;
    decltype(&::PQerrorMessage) errorMessage = nullptr;
    decltype(&::PQfname) fname = nullptr;
    decltype(&::PQfreemem) freemem = nullptr;
    decltype(&::PQftype) ftype = nullptr;
    decltype(&::PQgetResult) getResult = nullptr;
    decltype(&::PQgetisnull) getisnull = nullptr;
    decltype(&::PQgetlength) getlength = nullptr;
    decltype(&::PQgetvalue) getvalue = nullptr;
    decltype(&::PQnfields) nfields = nullptr;
    decltype(&::PQntuples) ntuples = nullptr;
    decltype(&::PQresultErrorField) resultErrorField = nullptr;
    decltype(&::PQresultStatus) resultStatus = nullptr;
    decltype(&::PQsendQuery) sendQuery = nullptr;
    decltype(&::PQsetSingleRowMode) setSingleRowMode = nullptr;
    decltype(&::PQunescapeBytea) unescapeBytea = nullptr;
};

// Null when the process has no libpq loaded: no PostgreSQL connection was opened through the driver.
const Api* resolve() {
    void* library = dlopen("libpq.so.5", RTLD_LAZY | RTLD_NOLOAD);
    if (!library) return nullptr;
    static Api a;
    auto get = [library](auto& function, const char* name) {
        function = reinterpret_cast<std::remove_reference_t<decltype(function)>>(dlsym(library, name));
        return function != nullptr;
    };
    const bool found =
        get(a.clear, "PQclear") && get(a.errorMessage, "PQerrorMessage") && get(a.fname, "PQfname") &&
        get(a.freemem, "PQfreemem") && get(a.ftype, "PQftype") && get(a.getResult, "PQgetResult") &&
        get(a.getisnull, "PQgetisnull") && get(a.getlength, "PQgetlength") && get(a.getvalue, "PQgetvalue") &&
        get(a.nfields, "PQnfields") && get(a.ntuples, "PQntuples") &&
        get(a.resultErrorField, "PQresultErrorField") && get(a.resultStatus, "PQresultStatus") &&
        get(a.sendQuery, "PQsendQuery") && get(a.setSingleRowMode, "PQsetSingleRowMode") &&
        get(a.unescapeBytea, "PQunescapeBytea");
    dlclose(library);  // the driver keeps it loaded
    return found ? &a : nullptr;
}

// Asked once a driver's connection exists, and so libpq is loaded.
const Api* api() {
    static const Api* const found = resolve();
    return found;
}

const Api& pq() {
    return *api();
}

}  // namespace

bool PostgresStatement::available() {
    return api() != nullptr;
}

PostgresStatement::PostgresStatement(pg_conn* connection, const QString& sql)
    : connection_(connection), sql_(sql.toUtf8()) {}

PostgresStatement::~PostgresStatement() {
    pq().clear(result_);
    discardRest();
}

void PostgresStatement::discardRest() {
    while (PGresult* rest = pq().getResult(connection_)) {
        const ExecStatusType status = pq().resultStatus(rest);
        pq().clear(rest);
        // A copy answers the same again until its data is read: nothing more to wait for.
        if (status == PGRES_COPY_IN || status == PGRES_COPY_OUT || status == PGRES_COPY_BOTH) return;
    }
}

bool PostgresStatement::fail(const char* driverText, pg_result* failed) {
    // As the driver words it: the server's message, its SQLSTATE beside it and as the code.
    QString message = QString::fromUtf8(pq().errorMessage(connection_));
    QString code;
    if (failed) {
        code = QString::fromLatin1(pq().resultErrorField(failed, PG_DIAG_SQLSTATE));
        message += QStringLiteral("(%1)").arg(code);
    }
    error_ = QSqlError(QStringLiteral("QPSQL: ") + QCoreApplication::translate("QPSQLResult", driverText),
                       message, QSqlError::StatementError, code);
    return false;
}

bool PostgresStatement::exec() {
    discardRest();  // what an earlier query left unread, as the driver does before sending
    if (!pq().sendQuery(connection_, sql_.constData())) return fail("Unable to send query", nullptr);
    pq().setSingleRowMode(connection_);
    while (PGresult* part = pq().getResult(connection_)) {
        switch (pq().resultStatus(part)) {
            case PGRES_COMMAND_OK:
            case PGRES_EMPTY_QUERY:
                pq().clear(part);  // a statement without rows ahead of the read
                continue;
            case PGRES_SINGLE_TUPLE:
            case PGRES_TUPLES_OK:
                result_ = part;
                columns_.resize(size_t(pq().nfields(part)));
                for (int i = 0; i < int(columns_.size()); ++i) {
                    const unsigned oid = pq().ftype(part, i);
                    columns_[size_t(i)] = {oid, driverType(oid).id()};
                }
                return true;
            default:
                fail("Unable to create query", part);
                pq().clear(part);
                discardRest();
                return false;
        }
    }
    return true;  // no rows to read
}

int PostgresStatement::columnCount() const {
    return int(columns_.size());
}

QString PostgresStatement::columnName(int column) const {
    return QString::fromUtf8(pq().fname(result_, column));
}

QMetaType PostgresStatement::columnType(int column) const {
    return QMetaType(columns_[size_t(column)].kind);
}

QVariant PostgresStatement::driverValue(int row, int column) const {
    const char* text = pq().getvalue(result_, row, column);
    const int length = pq().getlength(result_, row, column);
    const Column& c = columns_[size_t(column)];
    switch (c.kind) {
        case QMetaType::Bool:
            return text[0] == 't';
        case QMetaType::LongLong:
            if (text[0] == '-') return number<qlonglong>(text, length);
            return number<qulonglong>(text, length);
        case QMetaType::Int:
            return int(number<qlonglong>(text, length));
        case QMetaType::Double: {
            if (c.oid == kNumeric) return QString::fromLatin1(text, length);  // exact, as the connection asks
            double value = 0;
            // NaN, Infinity and -Infinity included; never the locale's decimal comma.
            if (std::from_chars(text, text + length, value).ec != std::errc()) return QVariant();
            return value;
        }
        case QMetaType::QDate:
            return isoDate(text, length);
        case QMetaType::QTime:
            return QTime::fromString(QLatin1String(text, length), Qt::ISODate);
        case QMetaType::QDateTime: {
            // As the driver reads it: in local time, an offset of whole hours ('+02') completed
            // for the ISO reading.
            QString stamp = QString::fromLatin1(text, length);
            if (stamp.size() < 10) return QDateTime();  // infinity
            const QChar sign = stamp.at(stamp.size() - 3);
            if (sign == u'+' || sign == u'-') stamp += QStringLiteral(":00");
            return QDateTime::fromString(stamp, Qt::ISODate).toLocalTime();
        }
        case QMetaType::QByteArray: {
            size_t size = 0;
            unsigned char* bytes = pq().unescapeBytea(reinterpret_cast<const unsigned char*>(text), &size);
            QByteArray value(reinterpret_cast<const char*>(bytes), qsizetype(size));
            pq().freemem(bytes);
            return value;
        }
        default:
            return QString::fromUtf8(text, length);
    }
}

bool PostgresStatement::readRows(const ResultTyping& typing, std::vector<QVector<QVariant>>& rows) {
    const int n = columnCount();
    while (result_) {
        const int count = pq().ntuples(result_);
        for (int r = 0; r < count; ++r) {
            QVector<QVariant> row(n);
            QVariant* out = row.data();  // filled in place: a Null stays as made
            for (int i = 0; i < n; ++i) {
                if (pq().getisnull(result_, r, i)) continue;
                if (columns_[size_t(i)].oid == kNumeric &&
                    typing.takeDecimalText(
                        QLatin1StringView(pq().getvalue(result_, r, i), pq().getlength(result_, r, i)), i,
                        out[i]))
                    continue;
                QVariant value = driverValue(r, i);
                typing.takeValue(value, i, out[i]);
            }
            rows.push_back(std::move(row));
        }
        const bool last = pq().resultStatus(result_) == PGRES_TUPLES_OK;
        pq().clear(result_);
        result_ = nullptr;
        if (last) return true;
        // The next row, or the end of the rows (no row), or a failure met on the way.
        PGresult* part = pq().getResult(connection_);
        const ExecStatusType status = part ? pq().resultStatus(part) : PGRES_FATAL_ERROR;
        if (status != PGRES_SINGLE_TUPLE && status != PGRES_TUPLES_OK) {
            fail("Unable to get result", part);
            pq().clear(part);
            discardRest();
            return false;
        }
        result_ = part;
    }
    return true;
}

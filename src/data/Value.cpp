#include "Value.h"

#include "ItalianFormat.h"
#include "SuiteError.h"

#include <QTextBoundaryFinder>
#include <algorithm>
#include <climits>

namespace Value {

namespace {

[[noreturn]] void mismatch(const QVariant& v, const char* what) {
    throw SuiteError(SuiteError::kTypeMismatch, QStringLiteral("Value"),
                     QStringLiteral("Il valore '%1' non è %2.").arg(shown(v), QLatin1String(what)));
}

template <typename Text>
int digits(const Text& s, int from, int count, bool& ok) {
    int n = 0;
    for (int i = from; i < from + count; ++i) {
        const QChar c = s[i];
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) {
            ok = false;
            return 0;
        }
        n = n * 10 + (c.unicode() - '0');
    }
    return n;
}

template <typename Text>
QDate yyyymmdd(const Text& s) {
    bool ok = true;
    QDate d(digits(s, 0, 4, ok), digits(s, 4, 2, ok), digits(s, 6, 2, ok));
    return ok ? d : QDate();
}

// 'yyyymmdd', 'yyyy-mm-dd', 'dd/mm/yyyy'; the fast path first, since reading a large
// recordset parses a date per row and column.
QDate parseDate(const QString& s) {
    bool ok = true;
    if (s.size() >= 8 && s[4] != QLatin1Char('-') && s[2] != QLatin1Char('/')) return yyyymmdd(s);
    if (s.size() >= 10 && s[4] == QLatin1Char('-')) {
        QDate d(digits(s, 0, 4, ok), digits(s, 5, 2, ok), digits(s, 8, 2, ok));
        return ok ? d : QDate();
    }
    if (s.size() == 10 && s[2] == QLatin1Char('/') && s[5] == QLatin1Char('/')) {
        QDate d(digits(s, 6, 4, ok), digits(s, 3, 2, ok), digits(s, 0, 2, ok));
        return ok ? d : QDate();
    }
    return QDate();
}

QTime parseTime(const QString& s, int from) {
    if (s.size() < from + 8) return QTime(0, 0);
    bool ok = true;
    QTime t(digits(s, from, 2, ok), digits(s, from + 3, 2, ok), digits(s, from + 6, 2, ok));
    return ok && t.isValid() ? t : QTime(0, 0);
}

}  // namespace

QDate compactDate(QLatin1String text) {
    return text.size() == 8 ? yyyymmdd(text) : QDate();
}

// A whole number that must fit a 32-bit column: a larger one is refused, never wrapped.
static int checkedInt(long long n, const QVariant& v) {
    if (n < INT_MIN || n > INT_MAX)
        throw SuiteError(SuiteError::kTypeMismatch, QStringLiteral("Value"),
                         QStringLiteral("Il valore %1 è fuori dall'intervallo ammesso (da %2 a %3).")
                             .arg(shown(v), shown(INT_MIN), shown(INT_MAX)));
    return int(n);
}

int toInt(const QVariant& v) {
    if (isNull(v)) return 0;
    if (v.metaType().id() == QMetaType::Int) return v.toInt();
    if (v.metaType() == QMetaType::fromType<Decimal>()) {
        const Decimal d = v.value<Decimal>();
        if (d.normalized().scale() != 0) mismatch(v, "un numero intero");
        if (d.integerDigits() > 18) return checkedInt(LLONG_MAX, v);
        return checkedInt(d.toLongLong(), v);
    }
    if (v.metaType().id() == QMetaType::QString) {
        const QString t = v.toString().trimmed();
        bool ok = false;
        const int n = t.toInt(&ok);
        if (ok) return n;
        // "3.0" from a driver, or a decimal text: accept when integral.
        if (auto d = Decimal::parse(t); d && d->normalized().scale() == 0)
            return checkedInt(d->integerDigits() > 18 ? LLONG_MAX : d->toLongLong(), v);
        mismatch(v, "un numero intero");
    }
    bool ok = false;
    const qlonglong n = v.toLongLong(&ok);
    if (!ok) mismatch(v, "un numero intero");
    return checkedInt(n, v);
}

Decimal toDecimal(const QVariant& v) {
    if (isNull(v)) return Decimal();
    const int id = v.metaType().id();
    if (v.metaType() == QMetaType::fromType<Decimal>()) return v.value<Decimal>();
    if (id == QMetaType::Double || id == QMetaType::Float)
        return Decimal::fromDouble(v.toDouble(), 10).normalized();
    if (id == QMetaType::Int || id == QMetaType::LongLong || id == QMetaType::Short ||
        id == QMetaType::UInt || id == QMetaType::Bool)
        return Decimal(v.toLongLong());
    if (auto d = Decimal::parse(v.toString())) return *d;
    mismatch(v, "un numero");
}

QDate toDate(const QVariant& v) {
    if (isNull(v)) return QDate();
    if (v.metaType().id() == QMetaType::QDate) return v.toDate();
    if (v.metaType().id() == QMetaType::QDateTime) return v.toDateTime().date();
    const QString text = v.toString();
    const QDate d = parseDate(text.size() == 8 ? text : text.trimmed());
    if (!d.isValid()) mismatch(v, "una data valida");
    return d;
}

namespace {

// A date or date-time as its day and time of day. Kept apart from QDateTime, whose making
// from local parts asks the C library for the time zone (a file read) every time.
std::pair<QDate, QTime> dayAndTime(const QVariant& v) {
    if (v.metaType().id() == QMetaType::QDateTime) {
        const QDateTime dt = v.toDateTime();
        return {dt.date(), dt.time()};
    }
    if (v.metaType().id() == QMetaType::QDate) return {v.toDate(), QTime(0, 0)};
    const QString s = v.toString().trimmed();
    const QDate d = parseDate(s);
    if (!d.isValid()) mismatch(v, "una data valida");
    // 'yyyymmdd hh:mm:ss' or 'yyyy-mm-ddThh:mm:ss'
    const int timeAt = s.size() > 8 && s[4] != QLatin1Char('-') ? 9 : 11;
    return {d, parseTime(s, timeAt)};
}

}  // namespace

QDateTime toDateTime(const QVariant& v) {
    if (isNull(v)) return QDateTime();
    if (v.metaType().id() == QMetaType::QDateTime) return v.toDateTime();
    const auto [day, time] = dayAndTime(v);
    return QDateTime(day, time);
}

QString toText(const QVariant& v) {
    if (isNull(v)) return QString();
    switch (v.metaType().id()) {
        case QMetaType::QDate:
            return v.toDate().toString(QStringLiteral("yyyyMMdd"));
        case QMetaType::QDateTime:
            return v.toDateTime().toString(QStringLiteral("yyyyMMdd HH:mm:ss"));
        case QMetaType::Double:
            return Decimal::fromDouble(v.toDouble(), 10).normalized().toString();
        default:
            break;
    }
    if (v.metaType() == QMetaType::fromType<Decimal>()) return v.value<Decimal>().toString();
    return v.toString();
}

QString shown(const QVariant& v) {
    if (isNull(v)) return QString();
    switch (v.metaType().id()) {
        case QMetaType::Int:
        case QMetaType::LongLong:
            return ItalianFormat::amount(Decimal(v.toLongLong()), 0);
        case QMetaType::Double: {
            const Decimal d = Decimal::fromDouble(v.toDouble(), 10).normalized();
            return ItalianFormat::amount(d, d.scale());
        }
        case QMetaType::QDate:
            return ItalianFormat::date(v.toDate());
        case QMetaType::QDateTime:
            return v.toDateTime().toString(QStringLiteral("dd/MM/yyyy HH:mm:ss"));
        default:
            break;
    }
    if (v.metaType() == QMetaType::fromType<Decimal>()) {
        const Decimal d = v.value<Decimal>();
        return ItalianFormat::amount(d, std::max(d.scale(), 0));
    }
    return v.toString();
}

QVariant coerce(const QVariant& v, DataType type, int scale) {
    if (isNull(v)) return QVariant();
    switch (type) {
        case DataType::SmallInt: {
            const int n = toInt(v);
            if (n < SHRT_MIN || n > SHRT_MAX)
                throw SuiteError(SuiteError::kTypeMismatch, QStringLiteral("Value"),
                                 QStringLiteral("Il valore %1 è fuori dall'intervallo ammesso (da %2 a %3).")
                                     .arg(shown(n), shown(SHRT_MIN), shown(SHRT_MAX)));
            return n;
        }
        case DataType::Integer:
            if (v.metaType().id() == QMetaType::Int) return v;
            return toInt(v);
        case DataType::Decimal:
            if (scale < 0) return QVariant::fromValue(toDecimal(v));
            // The drivers' amounts (SQLite's REAL, a server's exact text) read in place, uncopied.
            if (v.typeId() == QMetaType::Double)
                return QVariant::fromValue(
                    Decimal::fromDouble(*static_cast<const double*>(v.constData()), scale));
            if (v.typeId() == QMetaType::QString)
                if (auto d = Decimal::parse(*static_cast<const QString*>(v.constData())))
                    return QVariant::fromValue(d->rounded(scale));
            return QVariant::fromValue(toDecimal(v).rounded(scale));
        case DataType::Text:
            if (v.metaType().id() == QMetaType::QString) return v;
            return toText(v);
        case DataType::Date:
            if (v.typeId() == QMetaType::QString) {
                // SQLite's 'yyyymmdd', read in place; anything else as toDate reads it.
                const QString& text = *static_cast<const QString*>(v.constData());
                if (const QDate d = text.size() == 8 ? parseDate(text) : QDate(); d.isValid()) return d;
            }
            return toDate(v);
        case DataType::DateTime:
            return toDateTime(v);
    }
    return v;
}

QVariant natural(const QVariant& raw) {
    if (isNull(raw)) return QVariant();
    switch (raw.metaType().id()) {
        case QMetaType::Int:
            return raw;
        case QMetaType::Short:
        case QMetaType::UShort:
        case QMetaType::UInt:
        case QMetaType::LongLong:
        case QMetaType::ULongLong: {
            const qlonglong n = raw.toLongLong();
            if (n >= INT_MIN && n <= INT_MAX) return int(n);
            return QVariant::fromValue(Decimal(n));
        }
        case QMetaType::Double:
        case QMetaType::Float:
            return QVariant::fromValue(toDecimal(raw));
        default:
            return raw;
    }
}

int compare(const QVariant& a, const QVariant& b) {
    const bool na = isNull(a), nb = isNull(b);
    if (na || nb) return na == nb ? 0 : (na ? -1 : 1);
    const QMetaType ta = a.metaType(), tb = b.metaType();
    const QMetaType dec = QMetaType::fromType<Decimal>();
    if (ta == dec || tb == dec) return ::compare(toDecimal(a), toDecimal(b));
    const int ia = ta.id(), ib = tb.id();
    if (ia == QMetaType::QString && ib == QMetaType::QString)
        return QString::compare(a.toString(), b.toString(), Qt::CaseInsensitive);
    if (ia == QMetaType::QDate || ib == QMetaType::QDate || ia == QMetaType::QDateTime ||
        ib == QMetaType::QDateTime) {
        const auto da = dayAndTime(a), db = dayAndTime(b);
        return da < db ? -1 : (da > db ? 1 : 0);
    }
    if (ia == QMetaType::QString || ib == QMetaType::QString)
        return QString::compare(toText(a), toText(b), Qt::CaseInsensitive);
    const qlonglong la = a.toLongLong(), lb = b.toLongLong();
    return la < lb ? -1 : (la > lb ? 1 : 0);
}

bool same(const QVariant& a, const QVariant& b) {
    const bool na = isNull(a), nb = isNull(b);
    if (na || nb) return na == nb;
    if (a.metaType().id() == QMetaType::QString && b.metaType().id() == QMetaType::QString)
        return a.toString() == b.toString();
    return compare(a, b) == 0;
}

QString leftWhole(const QString& text, int units) {
    if (text.size() <= units) return text;
    QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, text);
    graphemes.setPosition(units);
    if (!graphemes.isAtBoundary()) graphemes.toPreviousBoundary();
    return text.left(std::max<qsizetype>(graphemes.position(), 0));
}

bool wholeCharacters(const QString& text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;
        else if (text[i].isSurrogate())
            return false;
    }
    return true;
}

}  // namespace Value

#include "PagedRows.h"

#include "SuiteError.h"
#include "Value.h"

#include <QRegularExpression>
#include <QSet>
#include <algorithm>

namespace {

const QString kPagedRowsSource = QStringLiteral("Recordset");

}  // namespace

std::optional<std::vector<OrderColumn>> parseOrder(const QString& order) {
    static const QRegularExpression name(
        QStringLiteral("^(?:[A-Za-z_][A-Za-z0-9_]*\\.)?([A-Za-z_][A-Za-z0-9_]*)$"));
    std::vector<OrderColumn> out;
    if (order.trimmed().isEmpty()) return out;
    for (const QString& part : order.split(QLatin1Char(','))) {
        const QStringList words = part.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (words.isEmpty() || words.size() > 2) return std::nullopt;
        const QRegularExpressionMatch m = name.match(words[0]);
        if (!m.hasMatch()) return std::nullopt;
        const QString direction = words.value(1).toUpper();
        if (!direction.isEmpty() && direction != QStringLiteral("ASC") && direction != QStringLiteral("DESC"))
            return std::nullopt;
        out.push_back({m.captured(1).toUpper(), direction == QStringLiteral("DESC")});
    }
    return out;
}

PagedRows::PagedRows(Definition definition, std::weak_ptr<Connection> connection)
    : def_(std::move(definition)), connection_(std::move(connection)) {}

int PagedRows::append(Row row) {
    rows_.push_back(std::move(row));
    const int index = int(rows_.size()) - 1;
    sequence_.push_back(index);
    return index;
}

void PagedRows::replaceAll(std::vector<Row> rows) {
    for (int i : sequence_) {
        Row& r = rows_[size_t(i)];
        r.gone = true;
        r.values = {};
        r.original = {};
    }
    sequence_.clear();
    for (Row& r : rows) append(std::move(r));
    moreBefore_ = false;
    moreAfter_ = false;
}

QString PagedRows::orderBy(bool reversed) const {
    QStringList parts;
    for (const OrderColumn& c : def_.order)
        parts.append(c.name + ((c.descending != reversed) ? QStringLiteral(" DESC") : QString()));
    return parts.join(QStringLiteral(", "));
}

QVector<QVariant> PagedRows::boundOf(const QVector<QVariant>& values) const {
    QVector<QVariant> bound;
    bound.reserve(int(def_.orderColumn.size()));
    for (int column : def_.orderColumn) bound.append(values.value(column));
    return bound;
}

int PagedRows::compareBounds(const QVector<QVariant>& a, const QVector<QVariant>& b) const {
    for (size_t i = 0; i < def_.order.size(); ++i) {
        const QVariant& x = a.at(int(i));
        const QVariant& y = b.at(int(i));
        // Texts by their bytes, as SQLite's binary collation; numbers and dates by value.
        const int c = def_.columns[size_t(def_.orderColumn[i])].type == DataType::Text
                          ? Value::toText(x).toUtf8().compare(Value::toText(y).toUtf8())
                          : Value::compare(x, y);
        if (c != 0) return def_.order[i].descending ? -c : c;
    }
    return 0;
}

// The rows after (or before) `bound` in the order: a row comparison where the engine narrows
// its index range with one and the directions agree; otherwise written out as OR / AND
// conditions, which every engine reads and any mix of directions allows, with the first
// column's own bound first so that the engine can start its index range there.
QString PagedRows::beyond(const QVector<QVariant>& bound, Side side, bool inclusive) const {
    const std::shared_ptr<Connection> c = connection_.lock();
    const SqlDialect& dialect = c->dialect();
    const size_t n = def_.order.size();
    QStringList literals;
    for (size_t i = 0; i < n; ++i)
        literals.append(dialect.literal(bound.value(int(i)), def_.columns[size_t(def_.orderColumn[i])].type));
    auto comparison = [&](size_t i, bool orEqual) {
        const bool greater = (side == Side::After) != def_.order[i].descending;
        return def_.order[i].name + (greater ? QStringLiteral(" >") : QStringLiteral(" <")) +
               (orEqual ? QStringLiteral("= ") : QStringLiteral(" ")) + literals[int(i)];
    };
    // One direction throughout: a row comparison, where the engine seeks with it.
    const bool oneDirection = std::all_of(def_.order.begin(), def_.order.end(), [&](const OrderColumn& o) {
        return o.descending == def_.order.front().descending;
    });
    if (oneDirection && dialect.seeksByRowComparison()) {
        QStringList names;
        for (const OrderColumn& o : def_.order) names.append(o.name);
        const bool greater = (side == Side::After) != def_.order.front().descending;
        return QLatin1Char('(') + names.join(QStringLiteral(", ")) + QStringLiteral(") ") +
               (greater ? QLatin1Char('>') : QLatin1Char('<')) +
               (inclusive ? QStringLiteral("= (") : QStringLiteral(" (")) +
               literals.join(QStringLiteral(", ")) + QLatin1Char(')');
    }
    QStringList alternatives;
    QStringList equal;
    for (size_t i = 0; i < n; ++i) {
        QStringList terms = equal;
        terms.append(comparison(i, false));
        alternatives.append(QLatin1Char('(') + terms.join(QStringLiteral(" AND ")) + QLatin1Char(')'));
        equal.append(def_.order[i].name + QStringLiteral(" = ") + literals[int(i)]);
    }
    if (inclusive)
        alternatives.append(QLatin1Char('(') + equal.join(QStringLiteral(" AND ")) + QLatin1Char(')'));
    return comparison(0, true) + QStringLiteral(" AND (") + alternatives.join(QStringLiteral(" OR ")) +
           QLatin1Char(')');
}

std::vector<QVector<QVariant>> PagedRows::query(const QString& condition, bool reversed, int limit,
                                                bool ordered, const QString& mark) {
    const std::shared_ptr<Connection> c = connection_.lock();
    if (!c)
        throw SuiteError(SuiteError::kConnectionFailed, kPagedRowsSource,
                         QStringLiteral("La connessione del recordset è chiusa."));
    QString sql = (mark.isEmpty() ? QStringLiteral("SELECT * FROM (\r\n")
                                  : QStringLiteral("SELECT KVPAGE.*, CASE WHEN ") + mark +
                                        QStringLiteral(" THEN 1 ELSE 0 END AS KVMARK FROM (\r\n")) +
                  def_.select + QStringLiteral("\r\n) KVPAGE");
    if (!condition.isEmpty()) sql += QStringLiteral(" WHERE ") + condition;
    if (ordered && !def_.order.empty()) sql += QStringLiteral(" ORDER BY ") + orderBy(reversed);
    if (limit > 0) sql = c->dialect().limited(sql, limit);
    const bool repeated = condition.isEmpty() && mark.isEmpty();
    std::vector<ResultSet> results =
        c->QueryReadOnly(sql, repeated ? Connection::Reuse::Kept : Connection::Reuse::Once);
    std::vector<QVector<QVariant>> rows;
    if (!results.empty()) rows = std::move(results.front().rows);
    if (reversed) std::reverse(rows.begin(), rows.end());
    return rows;
}

// Rows read into the window, leaving out any the window holds already (a Bill whose order
// columns changed after it was read is met again further on).
std::vector<int> PagedRows::adopt(std::vector<QVector<QVariant>> rows) {
    auto keyOf = [&](const QVector<QVariant>& values) {
        QString key;
        for (int column : def_.keyColumns) key += Value::toText(values.value(column)) + QChar(0x1f);
        return key;
    };
    QSet<QString> loaded;
    if (!sequence_.empty())
        for (int i : sequence_)
            if (!rows_[size_t(i)].gone) loaded.insert(keyOf(rows_[size_t(i)].values));
    std::vector<int> out;
    out.reserve(rows.size());
    for (auto& values : rows) {
        if (!loaded.isEmpty() && loaded.contains(keyOf(values))) continue;
        rows_.push_back(Row{std::move(values), {}, RowStatus::Unmodified, false, false});
        out.push_back(int(rows_.size()) - 1);
    }
    return out;
}

void PagedRows::dropWindow() {
    std::vector<int> kept;
    for (int i : sequence_) {
        Row& r = rows_[size_t(i)];
        if (r.gone) continue;
        if (r.pending() || r.conflict) {
            kept.push_back(i);
            continue;
        }
        r.gone = true;
        r.values = {};
        r.original = {};
    }
    sequence_ = std::move(kept);
}

namespace {
// Pending rows kept by a jump go after the rows read.
void place(std::vector<int>& sequence, const std::vector<int>& read) {
    std::vector<int> kept = std::move(sequence);
    sequence = read;
    sequence.insert(sequence.end(), kept.begin(), kept.end());
}
}  // namespace

int PagedRows::loadFirst() {
    std::vector<QVector<QVariant>> rows = query(QString(), false, def_.pageSize);
    dropWindow();
    const int n = int(rows.size());
    moreBefore_ = false;
    moreAfter_ = n == def_.pageSize;
    firstBound_ = n ? boundOf(rows.front()) : QVector<QVariant>();
    lastBound_ = n ? boundOf(rows.back()) : QVector<QVariant>();
    place(sequence_, adopt(std::move(rows)));
    return n;
}

int PagedRows::loadLast() {
    std::vector<QVector<QVariant>> rows = query(QString(), true, def_.pageSize);
    dropWindow();
    const int n = int(rows.size());
    moreBefore_ = n == def_.pageSize;
    moreAfter_ = false;
    firstBound_ = n ? boundOf(rows.front()) : QVector<QVariant>();
    lastBound_ = n ? boundOf(rows.back()) : QVector<QVariant>();
    place(sequence_, adopt(std::move(rows)));
    return n;
}

int PagedRows::fetchAfter(int reading) {
    if (!moreAfter_ || lastBound_.isEmpty()) return 0;
    std::vector<QVector<QVariant>> rows = query(beyond(lastBound_, Side::After, false), false, def_.pageSize);
    const int n = int(rows.size());
    moreAfter_ = n == def_.pageSize;
    if (n) lastBound_ = boundOf(rows.back());
    const std::vector<int> read = adopt(std::move(rows));
    sequence_.insert(sequence_.end(), read.begin(), read.end());
    trim(Side::Before, reading);
    return n;
}

int PagedRows::fetchBefore(int reading) {
    if (!moreBefore_ || firstBound_.isEmpty()) return 0;
    std::vector<QVector<QVariant>> rows =
        query(beyond(firstBound_, Side::Before, false), true, def_.pageSize);
    const int n = int(rows.size());
    moreBefore_ = n == def_.pageSize;
    if (n) firstBound_ = boundOf(rows.front());
    const std::vector<int> read = adopt(std::move(rows));
    sequence_.insert(sequence_.begin(), read.begin(), read.end());
    trim(Side::After, reading);
    return n;
}

// Frees the rows of the window furthest `behind` the reader beyond its few pages, so that a
// walk through the whole selection holds no more than those pages. The trim stops at a pending
// or conflicting row (never freed; the window must stay contiguous around it), at the reader's
// row, and where the new edge row has no values to take the next page's bound from.
void PagedRows::trim(Side behind, int reading) {
    const size_t limit = size_t(def_.pageSize) * kWindowPages;
    if (sequence_.size() <= limit) return;
    const size_t excess = sequence_.size() - limit;
    const bool front = behind == Side::Before;
    auto at = [&](size_t k) -> Row& {
        return rows_[size_t(sequence_[front ? k : sequence_.size() - 1 - k])];
    };
    size_t cut = 0;
    while (cut < excess) {
        const Row& r = at(cut);
        if (r.pending() || r.conflict || sequence_[front ? cut : sequence_.size() - 1 - cut] == reading)
            break;
        ++cut;
    }
    while (cut > 0 && at(cut).values.isEmpty()) --cut;
    if (cut == 0) return;
    const QVector<QVariant> edge = boundOf(at(cut).values);
    for (size_t k = 0; k < cut; ++k) {
        Row& r = at(k);
        r.gone = true;
        r.values = {};
        r.original = {};
    }
    if (front) {
        sequence_.erase(sequence_.begin(), sequence_.begin() + std::ptrdiff_t(cut));
        firstBound_ = edge;
        moreBefore_ = true;
    } else {
        sequence_.erase(sequence_.end() - std::ptrdiff_t(cut), sequence_.end());
        lastBound_ = edge;
        moreAfter_ = true;
    }
}

int PagedRows::loadAround(const QVector<QVariant>& values) {
    const QVector<QVariant> bound = boundOf(values);
    if (!moreBefore_ && !moreAfter_)
        if (const std::optional<int> at = reloadWhole(bound)) return *at;
    const int half = std::max(1, def_.pageSize / 2);
    std::vector<QVector<QVariant>> before = query(beyond(bound, Side::Before, false), true, half);
    std::vector<QVector<QVariant>> after = query(beyond(bound, Side::After, true), false, half + 1);
    dropWindow();
    moreBefore_ = int(before.size()) == half;
    moreAfter_ = int(after.size()) == half + 1;
    firstBound_ = !before.empty()  ? boundOf(before.front())
                  : !after.empty() ? boundOf(after.front())
                                   : QVector<QVariant>();
    lastBound_ = !after.empty()    ? boundOf(after.back())
                 : !before.empty() ? boundOf(before.back())
                                   : QVector<QVariant>();
    const bool found = !after.empty();
    std::vector<int> read = adopt(std::move(before));
    const size_t at = read.size();
    const std::vector<int> rest = adopt(std::move(after));
    read.insert(read.end(), rest.begin(), rest.end());
    place(sequence_, read);
    return found && at < read.size() ? read[at] : -1;
}

// A selection that fits a page (the usual case: one customer's Bills, one registration's
// instalments) is read again whole in one query and the rows from `bound` on found in its order:
// by the program where it orders as the engine does (the read is then the first page's own,
// kept prepared), otherwise marked by the engine in its own order and collation. Nullopt,
// having changed nothing, when the selection no longer fits.
std::optional<int> PagedRows::reloadWhole(const QVector<QVariant>& bound) {
    const std::shared_ptr<Connection> c = connection_.lock();
    const bool byProgram = c && c->dialect().ordersTextsByCode();
    std::vector<QVector<QVariant>> rows =
        byProgram ? query(QString(), false, def_.pageSize)
                  : query(QString(), false, def_.pageSize, true, beyond(bound, Side::After, true));
    if (int(rows.size()) >= def_.pageSize) return std::nullopt;
    size_t from = rows.size();
    for (size_t i = 0; i < rows.size(); ++i) {
        if (from == rows.size() && (byProgram ? compareBounds(boundOf(rows[i]), bound) >= 0
                                              : Value::toInt(rows[i].constLast()) == 1))
            from = i;
        if (!byProgram) rows[i].removeLast();
    }
    dropWindow();
    moreBefore_ = moreAfter_ = false;
    firstBound_ = rows.empty() ? QVector<QVariant>() : boundOf(rows.front());
    lastBound_ = rows.empty() ? QVector<QVariant>() : boundOf(rows.back());
    std::vector<QVector<QVariant>> after(std::make_move_iterator(rows.begin() + std::ptrdiff_t(from)),
                                         std::make_move_iterator(rows.end()));
    rows.resize(from);
    std::vector<int> read = adopt(std::move(rows));
    const size_t at = read.size();
    const std::vector<int> rest = adopt(std::move(after));
    read.insert(read.end(), rest.begin(), rest.end());
    place(sequence_, read);
    return at < read.size() ? read[at] : -1;
}

std::optional<QVector<QVariant>> PagedRows::readRow(const std::vector<int>& keyColumns,
                                                    const QVector<QVariant>& keyValues) {
    const std::shared_ptr<Connection> c = connection_.lock();
    if (!c)
        throw SuiteError(SuiteError::kConnectionFailed, kPagedRowsSource,
                         QStringLiteral("La connessione del recordset è chiusa."));
    QStringList terms;
    for (size_t i = 0; i < keyColumns.size(); ++i) {
        const ResultColumn& column = def_.columns[size_t(keyColumns[i])];
        terms.append(column.name + QStringLiteral(" = ") +
                     c->dialect().literal(keyValues.value(int(i)), column.type));
    }
    std::vector<QVector<QVariant>> rows = query(terms.join(QStringLiteral(" AND ")), false, 1, false);
    if (rows.empty()) return std::nullopt;
    return std::move(rows.front());
}

void PagedRows::loadAll() {
    std::vector<QVector<QVariant>> rows = query(QString(), false, 0);
    dropWindow();
    moreBefore_ = moreAfter_ = false;
    firstBound_ = rows.empty() ? QVector<QVariant>() : boundOf(rows.front());
    lastBound_ = rows.empty() ? QVector<QVariant>() : boundOf(rows.back());
    place(sequence_, adopt(std::move(rows)));
}

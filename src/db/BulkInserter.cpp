#include "BulkInserter.h"

#include "SuiteError.h"

namespace {
// The servers accept at most 65535 parameters in one statement; stay well below.
constexpr int kMaxParameters = 30000;
}  // namespace

BulkInserter::Row::Row(const BulkInserter* owner) : owner_(owner), values_(owner->table_.columns.size()) {}

void BulkInserter::Row::set(const QString& column, const QVariant& value) { values_[owner_->indexOf(column)] = value; }

BulkInserter::BulkInserter(Connection& connection, const TableDef& table) : connection_(connection), table_(table) {
    for (int i = 0; i < table_.columns.size(); ++i) index_.insert(table_.columns[i].name, i);
    // Round trips cost on a server; an embedded engine gains nothing from longer statements.
    if (connection_.dialect().engine() != SqlDialect::Engine::Sqlite)
        batchRows_ = qMax(1, kMaxParameters / int(table_.columns.size()));
    pending_.reserve(batchRows_ * table_.columns.size());
}

int BulkInserter::indexOf(const QString& column) const {
    const auto it = index_.constFind(column);
    if (it == index_.constEnd())
        throw SuiteError(SuiteError::kItemNotFound, QStringLiteral("BulkInserter"),
                         QStringLiteral("La tabella %1 non ha la colonna %2").arg(table_.name, column));
    return it.value();
}

void BulkInserter::insert(const Row& row) {
    for (int i = 0; i < table_.columns.size(); ++i)
        pending_.append(connection_.dialect().toDriver(row.values_[i], table_.columns[i].type));
    if (++pendingRows_ == batchRows_) send(pendingRows_);
}

void BulkInserter::flush() {
    if (pendingRows_ > 0) send(pendingRows_);
}

std::unique_ptr<QSqlQuery> BulkInserter::prepare(int rows) const {
    QStringList names;
    for (const ColumnDef& c : table_.columns) names.append(c.name);
    const QString one = QStringLiteral("(%1)").arg(QStringList(names.size(), QStringLiteral("?")).join(QLatin1Char(',')));
    const QString sql = QStringLiteral("INSERT INTO %1 (%2) VALUES %3")
                            .arg(table_.name, names.join(QLatin1Char(',')),
                                 QStringList(rows, one).join(QLatin1Char(',')));
    auto query = std::make_unique<QSqlQuery>(connection_.database());
    if (!query->prepare(sql)) connection_.raise(*query, shortText());
    return query;
}

// The statement named in error messages: the full text repeats every parameter mark.
QString BulkInserter::shortText() const { return QStringLiteral("INSERT INTO %1").arg(table_.name); }

void BulkInserter::send(int rows) {
    std::unique_ptr<QSqlQuery> partial;
    if (rows == batchRows_ && !full_) full_ = prepare(rows);
    if (rows != batchRows_) partial = prepare(rows);
    QSqlQuery& query = rows == batchRows_ ? *full_ : *partial;
    for (int i = 0; i < pending_.size(); ++i) query.bindValue(i, pending_[i]);
    if (!query.exec()) connection_.raise(query, shortText());
    pending_.clear();
    pendingRows_ = 0;
}

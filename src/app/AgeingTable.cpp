#include "AgeingTable.h"

#include "Ageing.h"
#include "Connection.h"
#include "ItalianFormat.h"
#include "Value.h"

#include <QFont>

AgeingTable::AgeingTable(QObject* parent) : QAbstractTableModel(parent) {
    titles_ << QStringLiteral("Codice") << QStringLiteral("Ragione sociale") << Ageing::bucketTitles()
            << QStringLiteral("Totale");
    totals_.name = QStringLiteral("Totale");
}

void AgeingTable::setRows(const ResultSet& result) {
    std::vector<Row> rows;
    rows.reserve(result.rows.size());
    Row totals;
    totals.name = QStringLiteral("Totale");
    for (const auto& r : result.rows) {
        Row row;
        row.code = Value::toText(Value::natural(r.value(0))).trimmed();
        row.name = Value::toText(r.value(1)).trimmed();
        for (int b = 0; b < Ageing::kBuckets; ++b) {
            const QVariant v = r.value(b + 2);
            row.amounts[size_t(b)] =
                Value::isNull(v) ? Decimal() : Value::toDecimal(Value::natural(v)).rounded(2);
            row.amounts[kAmounts - 1] = row.amounts[kAmounts - 1] + row.amounts[size_t(b)];
        }
        for (size_t a = 0; a < kAmounts; ++a) totals.amounts[a] = totals.amounts[a] + row.amounts[a];
        rows.push_back(std::move(row));
    }
    clear();
    // Rows inserted, not the model reset: a reset would give the columns their default widths
    // back, which the view takes for widths of the clerk's own.
    beginInsertRows(QModelIndex(), 0, int(rows.size()));
    rows_ = std::move(rows);
    totals_ = std::move(totals);
    answered_ = true;
    endInsertRows();
}

void AgeingTable::clear() {
    if (!answered_) return;
    beginRemoveRows(QModelIndex(), 0, rowCount() - 1);
    rows_.clear();
    totals_ = Row{};
    totals_.name = QStringLiteral("Totale");
    answered_ = false;
    endRemoveRows();
}

int AgeingTable::rowCount(const QModelIndex& parent) const {
    return parent.isValid() || !answered_ ? 0 : int(rows_.size()) + 1;
}

int AgeingTable::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(titles_.size());
}

QVariant AgeingTable::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) return {};
    const Row& row = rowAt(index.row());
    const int amount = index.column() - 2;
    const bool totals = index.row() == int(rows_.size());
    switch (role) {
        case Qt::DisplayRole:
            if (index.column() == 0) return row.code;
            if (index.column() == 1) return row.name;
            // An empty bucket of a counterpart is left blank; the totals always show.
            if (row.amounts[size_t(amount)].isZero() && !totals && amount < kAmounts - 1) return QString();
            return ItalianFormat::amount(row.amounts[size_t(amount)]);
        case Qt::UserRole:
            return amount >= 0 ? QVariant::fromValue(row.amounts[size_t(amount)]) : QVariant();
        case Qt::TextAlignmentRole:
            return QVariant::fromValue(Qt::Alignment(amount >= 0 ? Qt::AlignRight : Qt::AlignLeft) |
                                       Qt::AlignVCenter);
        case Qt::FontRole:
            if (totals) {
                QFont bold;
                bold.setBold(true);
                return bold;
            }
            return {};
        default:
            return {};
    }
}

QVariant AgeingTable::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < titles_.size())
        return titles_[section];
    return QAbstractTableModel::headerData(section, orientation, role);
}

#pragma once

#include "Decimal.h"

#include <QAbstractTableModel>
#include <QStringList>
#include <array>
#include <vector>

struct ResultSet;

// The rows of the ageing view: a row per counterpart (code, name, a sum per bucket and their
// total) and the totals' row last, in bold. The amounts are kept as numbers and written as text
// only for the rows drawn, so that tens of thousands of counterparts cost neither time nor
// memory on the window's thread; each amount is also given as a Decimal (Qt::UserRole).
class AgeingTable : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit AgeingTable(QObject* parent = nullptr);

    // The answer of Ageing::query: code, name, one sum per bucket. Throws SuiteError when a value
    // is not a number.
    void setRows(const ResultSet& result);
    void clear();
    // Counterparts shown, the totals' row left out.
    int counterparts() const { return int(rows_.size()); }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    static constexpr int kAmounts = 6;  // the buckets and the total
    struct Row {
        QString code;
        QString name;
        std::array<Decimal, kAmounts> amounts;
    };
    const Row& rowAt(int r) const { return r < int(rows_.size()) ? rows_[size_t(r)] : totals_; }

    QStringList titles_;
    std::vector<Row> rows_;
    Row totals_;
    bool answered_ = false;  // the totals' row shows once a read answered
};

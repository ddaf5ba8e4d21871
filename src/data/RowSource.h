#pragma once

#include <QVariant>
#include <QVector>
#include <vector>

enum class RowStatus { Unmodified, New, Modified, Deleted };

// One row of a recordset with what the database held when it was read.
struct Row {
    QVector<QVariant> values;
    QVector<QVariant> original;  // empty while the row is as it was read
    RowStatus status = RowStatus::Unmodified;
    bool conflict = false;  // the last batch write found it changed by someone else
    bool gone = false;      // deleted from the database, or a new row given up

    const QVariant& originalValue(int column) const {
        return original.isEmpty() ? values[column] : original[column];
    }
    bool pending() const { return status != RowStatus::Unmodified; }
};

// Where a recordset keeps its rows. Rows are only ever appended, so that a row's index is its
// bookmark for the recordset's life; a row leaves by being marked gone. Behind an interface so
// that a very large selection can be served page by page instead of loaded whole.
class RowSource {
public:
    virtual ~RowSource() = default;
    virtual int size() const = 0;
    virtual Row& at(int index) = 0;
    virtual const Row& at(int index) const = 0;
    virtual int append(Row row) = 0;
    virtual void replaceAll(std::vector<Row> rows) = 0;
    // The rows in the selection's order (gone ones included: the recordset skips them).
    virtual std::vector<int> inOrder() const = 0;
};

// Every row in memory: what a client-side recordset of a bill selection needs.
class LoadedRows final : public RowSource {
public:
    int size() const override { return int(rows_.size()); }
    Row& at(int index) override { return rows_[size_t(index)]; }
    const Row& at(int index) const override { return rows_[size_t(index)]; }
    int append(Row row) override {
        rows_.push_back(std::move(row));
        return int(rows_.size()) - 1;
    }
    void replaceAll(std::vector<Row> rows) override { rows_ = std::move(rows); }
    std::vector<int> inOrder() const override {
        std::vector<int> all(rows_.size());
        for (size_t i = 0; i < all.size(); ++i) all[i] = int(i);
        return all;
    }

private:
    std::vector<Row> rows_;
};

#pragma once

#include "Connection.h"
#include "RowSource.h"

#include <QString>
#include <memory>
#include <optional>
#include <vector>

// One column of a selection's order.
struct OrderColumn {
    QString name;  // upper case, without the table's qualifier
    bool descending = false;
};

// The caller's order text read into columns and directions ("EF01_SCADE_S, T.EF01_NUMEFF DESC");
// nullopt when a part is anything but a plain column (an expression, a function, a position,
// NULLS FIRST...): such an order cannot be paged.
std::optional<std::vector<OrderColumn>> parseOrder(const QString& order);

// The rows of a selection read page by page by key (keyset paging): the caller's order made
// unique by the key columns appended, the page after the last row loaded read as
// "(order, key) > (that row)" with a limit, the page before as the reverse. What is loaded is a
// window of the selection, contiguous in its order; it grows at either end as the reader moves
// past it, up to a few pages (then the rows furthest behind the reader are freed), and a jump
// (the first or last page, the page around a row) replaces it. Rows keep
// their index while loaded; rows left behind by a jump are marked gone and their values freed,
// except pending ones, which stay at the window's end until written or cancelled.
class PagedRows final : public RowSource {
public:
    struct Definition {
        QString select;                  // the query, without ORDER BY
        std::vector<OrderColumn> order;  // unique: the key columns are among them
        std::vector<int> orderColumn;    // the result column of each order column
        std::vector<int> keyColumns;     // the result columns of the base table's key
        std::vector<ResultColumn> columns;
        int pageSize = 200;
    };
    // Pages the window holds at most while the reader walks on in one direction.
    static constexpr int kWindowPages = 3;

    PagedRows(Definition definition, std::weak_ptr<Connection> connection);

    int size() const override { return int(rows_.size()); }
    Row& at(int index) override { return rows_[size_t(index)]; }
    const Row& at(int index) const override { return rows_[size_t(index)]; }
    int append(Row row) override;
    void replaceAll(std::vector<Row> rows) override;
    std::vector<int> inOrder() const override { return sequence_; }

    bool moreBefore() const { return moreBefore_; }
    bool moreAfter() const { return moreAfter_; }
    int pageSize() const { return def_.pageSize; }

    // Each answers the number of rows it read.
    int loadFirst();
    int loadLast();
    // `reading`: the index of the row the reader stands on, never freed by the window's trim.
    int fetchAfter(int reading = -1);
    int fetchBefore(int reading = -1);
    // Replaces the window with the page around the place `values` (a row's values, in the
    // result's columns) holds in the order: half a page before, then that row, or the first
    // after it when it is no longer in the selection. Answers the index of that row, -1 when
    // the selection ends before it (then the window ends with the selection's last rows).
    int loadAround(const QVector<QVariant>& values);
    // The row of the selection with these key values, read alone; nullopt when it is not in
    // the selection.
    std::optional<QVector<QVariant>> readRow(const std::vector<int>& keyColumns,
                                             const QVector<QVariant>& keyValues);
    // Every row of the selection at once: what a client-side filter or sort needs.
    void loadAll();

private:
    enum class Side { After, Before };
    // `ordered` false for a read by key: an order would tempt the engine to walk the order's
    // index instead of looking the key up.
    // `mark`, when given, a condition the engine answers for each row in a last column (1 or 0).
    // A read without either is the same text each time: kept prepared (Connection::Reuse).
    std::vector<QVector<QVariant>> query(const QString& condition, bool reversed, int limit,
                                         bool ordered = true, const QString& mark = QString());
    std::optional<int> reloadWhole(const QVector<QVariant>& bound);
    QString beyond(const QVector<QVariant>& bound, Side side, bool inclusive) const;
    QString orderBy(bool reversed) const;
    void dropWindow();
    void trim(Side behind, int reading);
    std::vector<int> adopt(std::vector<QVector<QVariant>> rows);
    QVector<QVariant> boundOf(const QVector<QVariant>& values) const;
    // Two rows' order values compared as the engine orders them, where the engine's order is
    // the program's (SqlDialect::ordersTextsByCode).
    int compareBounds(const QVector<QVariant>& a, const QVector<QVariant>& b) const;

    Definition def_;
    std::weak_ptr<Connection> connection_;
    std::vector<Row> rows_;
    std::vector<int> sequence_;
    // The order values of the first and last rows read: where the next pages start.
    QVector<QVariant> firstBound_, lastBound_;
    bool moreBefore_ = false;
    bool moreAfter_ = false;
};

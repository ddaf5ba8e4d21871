#pragma once

#include "LookupRequest.h"

#include <QDialog>
#include <QVariant>
#include <memory>

class Connection;
class QLineEdit;
class QTableWidget;

// The search list of an archive: the rows of the lookup query, one to choose with a double click
// or Enter. A list that pages (LookupRequest::orderColumn) reads one page at a time, the next
// when the user scrolls or moves past the last row read, and narrows to the rows whose code or
// description contains what the user types in the filter above it; the arrow and page keys in
// the filter move through the list.
class LookupDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int kPageSize = 50;

    // Runs the query; throws SuiteError when it cannot.
    LookupDialog(const LookupRequest& request, const QString& keyColumn, QWidget* parent = nullptr);
    ~LookupDialog() override;

    // The key column's value of the chosen row (Null when none was chosen).
    QVariant chosen() const;
    // Every column of the chosen row, in the query's order (empty when none was chosen).
    QVariantList chosenRow() const;
    QTableWidget* table() const { return table_; }
    QLineEdit* filter() const { return filter_; }
    // The current row's value of a result column (Null without a current row or such a column).
    QVariant currentValue(const QString& column) const;
    QString columnName(int index) const { return names_.value(index); }
    // Reads the next page, when there is one; false when every row has been read.
    bool fetchMore();

    // A typed text as a LIKE pattern (with ESCAPE '!') that matches it literally anywhere.
    static QString containsPattern(const QString& typed);
    // The page after `last` (Null: the first) of `request`'s rows containing `typed`.
    static QString pageQuery(const LookupRequest& request, const QString& typed, const QVariant& last,
                             const Connection& connection);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void refilter();
    void append(const std::vector<QVariantList>& rows);
    void setCaptions(const QStringList& names);

    LookupRequest request_;
    QString keyColumn_;
    std::shared_ptr<Connection> connection_;
    QLineEdit* filter_;
    QTableWidget* table_;
    QList<QVariantList> rows_;
    QStringList names_;
    int keyIndex_ = 0;
    int orderIndex_ = 0;
    bool complete_ = true;
};

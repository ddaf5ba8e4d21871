#pragma once

#include <QObject>

class QTableView;

// Sizes a list's columns to what they show, until the clerk gives a column a width of his own
// (or his saved layout gives his widths back): from then on the columns keep his widths.
class ColumnSizer : public QObject {
    Q_OBJECT
public:
    explicit ColumnSizer(QTableView* table);

    // Every column as wide as its heading and its widest cell, unless the widths are the clerk's.
    void fit();
    // The widths shown are the clerk's from now on, unless every column still has the view's
    // default width: such a layout was saved before the columns were ever fitted (a tab never
    // opened), and the columns are fitted as if nothing had been saved.
    void keep();
    bool kept() const { return kept_; }

private:
    QTableView* table_;
    bool fitting_ = false;
    bool kept_ = false;
};

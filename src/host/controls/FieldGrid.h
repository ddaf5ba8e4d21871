#pragma once

#include <QList>
#include <QString>
#include <initializer_list>

class QGridLayout;
class QWidget;

// Lays out a form's fields in rows of cells aligned in columns: each cell is a caption (a label
// whose access key, the letter after "&", gives the focus to the cell's first widget) and its
// widgets side by side (a field; a code and its description; an amount in euro and in the
// Bill's currency). It keeps the order in which the widgets were placed, row by row and left to
// right, which is the order Tab follows through them.
class FieldGrid {
public:
    struct Cell {
        QString caption;  // empty: no label (a check box carries its own caption)
        QList<QWidget*> widgets;
        int span = 1;  // cells taken by the widgets
    };

    // The grid becomes `box`'s layout (a group box or a plain page).
    explicit FieldGrid(QWidget* box);

    // The next row.
    void addRow(std::initializer_list<Cell> cells);
    // A row of headings, each over the fields of one cell ("DATI IN EURO", "DATI IN VALUTA").
    void addHeadings(std::initializer_list<QString> headings);
    // `alternative` in the very place of `field`, with its own caption: the form shows one of
    // the two. Tab reaches it right after `field`.
    void addAlternative(QWidget* field, const QString& caption, QWidget* alternative);

    QWidget* box() const { return box_; }
    QGridLayout* grid() const { return grid_; }
    // The widgets Tab stops at, in the order they were placed.
    const QList<QWidget*>& tabOrder() const { return order_; }

private:
    QWidget* box_;
    QGridLayout* grid_;
    int rows_ = 0;
    QList<QWidget*> order_;
};

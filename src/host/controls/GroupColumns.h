#pragma once

#include "FieldGrid.h"

#include <QList>
#include <QString>
#include <memory>
#include <vector>

class QWidget;

// A form's page of titled groups of fields, read down each column and the columns from the left:
// each group a box laid out by its FieldGrid. Tab follows the same order.
class GroupColumns {
public:
    explicit GroupColumns(QWidget* page);
    ~GroupColumns();
    GroupColumns(const GroupColumns&) = delete;
    GroupColumns& operator=(const GroupColumns&) = delete;

    // A new group at the foot of the current column.
    FieldGrid& group(const QString& title, const QString& objectName = QString());
    // The next groups start a column to the right.
    void nextColumn();
    // Lays the columns on the page with `margin` around them, column i taking stretches[i] of the
    // width left (none: each as wide as it needs); the widgets Tab stops at, in order.
    QList<QWidget*> place(int margin, const QList<int>& stretches = {});

    // A code and its description in one cell: the code kept short but readable, the room given
    // to the description.
    static FieldGrid::Cell coded(const QString& caption, QWidget* code, QWidget* description, int span = 1);

private:
    QWidget* page_;
    std::vector<std::unique_ptr<FieldGrid>> grids_;
    QList<QList<FieldGrid*>> columns_{QList<FieldGrid*>()};
};

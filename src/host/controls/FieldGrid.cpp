#include "FieldGrid.h"

#include "ControlFactory.h"
#include "FrameControl.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>

namespace {
// What Tab stops at for a widget placed in a cell: a data control's editor, else the widget.
QWidget* focusTarget(QWidget* widget) {
    auto* control = qobject_cast<FrameControl*>(widget);
    return control && control->editor() ? control->editor() : widget;
}
}  // namespace

FieldGrid::FieldGrid(QWidget* box) : box_(box), grid_(new QGridLayout(box)) {
    grid_->setHorizontalSpacing(6);
    grid_->setVerticalSpacing(2);
}

void FieldGrid::addRow(std::initializer_list<Cell> cells) {
    int column = 0;
    for (const Cell& cell : cells) {
        QWidget* first = cell.widgets.isEmpty() ? nullptr : cell.widgets.front();
        if (first && !cell.caption.isEmpty())
            grid_->addWidget(ControlFactory::label(cell.caption, first, box_), rows_, column);
        QWidget* placed = first;
        if (cell.widgets.size() > 1) {
            // Side by side in one cell: each keeps its width, the last (a description) takes the rest.
            placed = new QWidget(box_);
            auto* line = new QHBoxLayout(placed);
            line->setContentsMargins(0, 0, 0, 0);
            for (QWidget* w : cell.widgets) line->addWidget(w, w == cell.widgets.back() ? 1 : 0);
        }
        // A field kept narrow stands at the start of its cell, under the fields above it.
        const Qt::Alignment align =
            placed && placed->maximumWidth() < QWIDGETSIZE_MAX ? Qt::AlignLeft : Qt::Alignment();
        if (placed) grid_->addWidget(placed, rows_, column + 1, 1, cell.span * 2 - 1, align);
        for (QWidget* w : cell.widgets) order_.append(focusTarget(w));
        column += cell.span * 2;
    }
    for (int c = 1; c < column; c += 2) grid_->setColumnStretch(c, 1);
    ++rows_;
}

void FieldGrid::addHeadings(std::initializer_list<QString> headings) {
    int column = 1;
    for (const QString& text : headings) {
        grid_->addWidget(new QLabel(text, box_), rows_, column, Qt::AlignCenter);
        column += 2;
    }
    ++rows_;
}

void FieldGrid::addAlternative(QWidget* field, const QString& caption, QWidget* alternative) {
    const int at = grid_->indexOf(field);
    if (at < 0) return;
    int row = 0, column = 0, rowSpan = 0, columnSpan = 0;
    grid_->getItemPosition(at, &row, &column, &rowSpan, &columnSpan);
    grid_->addWidget(ControlFactory::label(caption, alternative, box_), row, column - 1);
    grid_->addWidget(alternative, row, column, rowSpan, columnSpan);
    order_.insert(order_.indexOf(focusTarget(field)) + 1, focusTarget(alternative));
}

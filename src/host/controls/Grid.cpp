#include "Grid.h"

#include "Recordset.h"
#include "RecordsetModel.h"

#include <QHeaderView>

namespace {
constexpr int kTwipsPerPixel = 15;  // 1440 twips an inch at 96 dots an inch
}

Grid::Grid(QWidget* parent) : QTableView(parent), model_(new RecordsetModel(this)) {
    setModel(model_);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    verticalHeader()->hide();
    model_->setCellText([this](const QString& field, QString* text) { emit CellText(field, text); });
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current, const QModelIndex&) {
                if (following_ || !current.isValid() || !source_) return;
                source_->setAbsolutePosition(current.row() + 1);
                emit RowColChange();
            });
    connect(this, &QTableView::doubleClicked, this, [this](const QModelIndex& index) {
        if (index.isValid()) emit CellDblClick();
    });
}

void Grid::setDataSource(std::shared_ptr<Recordset> recordset) {
    source_ = std::move(recordset);
    model_->setRecordset(source_);
    applyWidths();
    showCurrentRow();
}

void Grid::AddColumn(const QString& field, const QString& caption, int kind, int widthTwips, bool visible,
                     int, const QString& format) {
    QList<RecordsetModel::Column> columns = model_->columns();
    columns.append({field, caption, kind, format});
    widths_.append(widthTwips / kTwipsPerPixel);
    visible_.append(visible);
    model_->setColumns(columns);
    applyWidths();
}

void Grid::ClearColumns() {
    widths_.clear();
    visible_.clear();
    model_->setColumns({});
}

void Grid::setColumnFormat(const QString& field, const QString& format) {
    QList<RecordsetModel::Column> columns = model_->columns();
    bool found = false;
    for (RecordsetModel::Column& c : columns) {
        if (c.field.compare(field, Qt::CaseInsensitive) != 0) continue;
        c.format = format;
        found = true;
    }
    if (!found) return;
    model_->setColumns(columns);
    applyWidths();
}

void Grid::Refresh() {
    model_->reload();
    applyWidths();
    showCurrentRow();
}

void Grid::applyWidths() {
    for (int c = 0; c < widths_.size(); ++c) {
        setColumnWidth(c, widths_[c]);
        setColumnHidden(c, !visible_[c]);
    }
}

void Grid::showCurrentRow() {
    following_ = true;
    const int position = source_ && source_->State() == 1 ? source_->AbsolutePosition() : -1;
    if (position > 0 && model_->columnCount() > 0)
        setCurrentIndex(model_->index(position - 1, 0));
    else
        selectionModel()->clearSelection();
    following_ = false;
}

void Grid::focusInEvent(QFocusEvent* event) {
    QTableView::focusInEvent(event);
    emit EnterFocus();
}

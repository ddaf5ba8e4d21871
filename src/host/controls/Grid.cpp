#include "Grid.h"

#include "Recordset.h"
#include "RecordsetModel.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QStyle>
#include <algorithm>

namespace {
constexpr int kTwipsPerPixel = 15;  // 1440 twips an inch at 96 dots an inch
// Room a cell's text leaves on either side, as the table view draws it.
constexpr int kCellPadding = 12;
}  // namespace

Grid::Grid(QWidget* parent) : QTableView(parent), model_(new RecordsetModel(this)) {
    setModel(model_);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    verticalHeader()->hide();
    // Tab leaves the grid for the next control; the arrows move through its rows. A cell keeps
    // one line: a long text is cut with "...", never wrapped under the row.
    setTabKeyNavigation(false);
    setWordWrap(false);
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
    // Reading the rows again resets the header: the widths the clerk gave the columns (or the
    // saved layout gave back) are taken before and given back after.
    connect(model_, &QAbstractItemModel::modelAboutToBeReset, this, [this] { keepWidths(); });
    connect(model_, &QAbstractItemModel::modelReset, this, [this] { applyWidths(); });
}

void Grid::setDataSource(std::shared_ptr<Recordset> recordset) {
    source_ = std::move(recordset);
    model_->setRecordset(source_);
    showCurrentRow();
}

void Grid::AddColumn(const QString& field, const QString& caption, int kind, int widthTwips, bool visible,
                     int, const QString& format) {
    QList<RecordsetModel::Column> columns = model_->columns();
    columns.append({field, caption, kind, format});
    model_->setColumns(columns);
    widths_.append(defaultWidth(columns.last(), widthTwips));
    visible_.append(visible);
    applyWidths();
}

int Grid::defaultWidth(const RecordsetModel::Column& column, int widthTwips) const {
    // The layout's width, but never less than its caption or a whole date.
    const int margins = 2 * style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, horizontalHeader());
    int width = std::max(
        widthTwips / kTwipsPerPixel,
        horizontalHeader()->fontMetrics().horizontalAdvance(column.caption) + margins + kCellPadding);
    if (column.kind == RecordsetModel::KindDate)
        width = std::max(width, fontMetrics().horizontalAdvance(QStringLiteral("00/00/0000")) + kCellPadding);
    return width;
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
}

void Grid::Refresh() {
    model_->reload();
    showCurrentRow();
}

void Grid::keepWidths() {
    if (horizontalHeader()->count() != widths_.size()) return;  // the columns are being laid out
    for (int c = 0; c < widths_.size(); ++c)
        if (!isColumnHidden(c) && columnWidth(c) > 0) widths_[c] = columnWidth(c);
}

void Grid::applyWidths() {
    if (horizontalHeader()->count() != widths_.size()) return;
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

void Grid::keyPressEvent(QKeyEvent* event) {
    // Enter on a row opens it, as a double click does: the keyboard's way into the row.
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && currentIndex().isValid()) {
        event->accept();
        emit CellDblClick();
        return;
    }
    QTableView::keyPressEvent(event);
}

void Grid::focusInEvent(QFocusEvent* event) {
    QTableView::focusInEvent(event);
    emit EnterFocus();
}

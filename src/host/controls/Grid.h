#pragma once

#include "RecordsetModel.h"

#include <QTableView>
#include <memory>

class Recordset;

// A read-only grid over a recordset. The form lays out its columns with AddColumn; the current
// row of the grid is the recordset's current row. Events: CellText (field name and text by
// reference, before a cell is drawn), RowColChange (the user moved to another cell),
// CellDblClick (also Enter on a row), and EnterFocus when the grid receives the focus.
class Grid : public QTableView {
    Q_OBJECT
public:
    explicit Grid(QWidget* parent = nullptr);

    // Null unbinds the grid.
    void setDataSource(std::shared_ptr<Recordset> recordset);
    std::shared_ptr<Recordset> DataSource() const { return source_; }

    // kind: 1 text, 4 date, 12 numeric; width in twips; format like "dd/MM/yyyy" or "#,###.00".
    void AddColumn(const QString& field, const QString& caption, int kind, int widthTwips,
                   bool visible = true, int alignment = 0, const QString& format = QString());
    void ClearColumns();
    // The display format of the column showing `field` (no column of that field: nothing).
    void setColumnFormat(const QString& field, const QString& format);
    // Reads the rows again and selects the recordset's current row.
    void Refresh();

    RecordsetModel* recordsetModel() const { return model_; }

signals:
    void CellText(const QString& field, QString* text);
    void RowColChange();
    void CellDblClick();
    void EnterFocus();

protected:
    void focusInEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // A column's width as first shown: the layout's, widened to its caption and to a date.
    int defaultWidth(const RecordsetModel::Column& column, int widthTwips) const;
    void keepWidths();
    void applyWidths();
    void showCurrentRow();

    std::shared_ptr<Recordset> source_;
    RecordsetModel* model_;
    QList<int> widths_;
    QList<bool> visible_;
    bool following_ = false;
};

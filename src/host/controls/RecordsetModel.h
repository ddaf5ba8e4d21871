#pragma once

#include <QAbstractTableModel>
#include <QList>
#include <functional>
#include <memory>

class Recordset;

// The rows of a recordset as a table for the grid, in the recordset's own order, filter and
// sort. Cells are read through a clone, so that drawing never moves the recordset the form works
// on. Each column shows one field, formatted by its kind and display format; `cellText` lets the
// grid's owner replace a cell's text before it is drawn.
class RecordsetModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Kind { KindText = 1, KindDate = 4, KindNumeric = 12 };
    struct Column {
        QString field;
        QString caption;
        int kind = KindText;
        QString format;
    };
    using CellText = std::function<void(const QString& field, QString* text)>;

    explicit RecordsetModel(QObject* parent = nullptr);

    void setRecordset(std::shared_ptr<Recordset> recordset);
    void setColumns(QList<Column> columns);
    const QList<Column>& columns() const { return columns_; }
    void setCellText(CellText hook) { cellText_ = std::move(hook); }
    // Reads the rows again (after the form added or removed some).
    void reload();

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // A value as the column shows it: dates by their format ("dd/MM/yyyy" by default), numbers
    // by a "#,###.00"-style pattern with Italian separators (dot for thousands, comma decimal).
    static QString format(const QVariant& value, int kind, const QString& pattern);

private:
    std::shared_ptr<Recordset> source_;
    std::shared_ptr<Recordset> reader_;
    // Counted at each reload: the view must not see rows come and go between two resets.
    int rows_ = 0;
    QList<Column> columns_;
    CellText cellText_;
};

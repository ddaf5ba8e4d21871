#include "RecordsetModel.h"

#include "ItalianFormat.h"
#include "Recordset.h"
#include "SuiteError.h"
#include "Value.h"

RecordsetModel::RecordsetModel(QObject* parent) : QAbstractTableModel(parent) {}

void RecordsetModel::setRecordset(std::shared_ptr<Recordset> recordset) {
    source_ = std::move(recordset);
    reload();
}

void RecordsetModel::setColumns(QList<Column> columns) {
    beginResetModel();
    columns_ = std::move(columns);
    endResetModel();
}

void RecordsetModel::reload() {
    beginResetModel();
    reader_.reset();
    if (source_ && source_->State() == 1) {
        reader_ = source_->Clone();
        if (!source_->Filter().isEmpty()) reader_->setFilter(source_->Filter());
        if (!source_->Sort().isEmpty()) reader_->setSort(source_->Sort());
    }
    rows_ = reader_ ? reader_->RecordCount() : 0;
    endResetModel();
}

int RecordsetModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows_;
}

int RecordsetModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(columns_.size());
}

QVariant RecordsetModel::data(const QModelIndex& index, int role) const {
    if (!reader_ || !index.isValid() || index.row() >= reader_->RecordCount()) return QVariant();
    const Column& column = columns_.at(index.column());
    if (role == Qt::TextAlignmentRole)
        return column.kind == KindNumeric ? QVariant(Qt::AlignRight | Qt::AlignVCenter) : QVariant();
    if (role != Qt::DisplayRole) return QVariant();
    reader_->setAbsolutePosition(index.row() + 1);
    const int field = reader_->FieldIndex(column.field);
    QString text;
    if (field >= 0 && !reader_->AtEOF()) {
        const QVariant value = reader_->Fields(field).Value();
        try {
            text = format(value, column.kind, column.format);
        } catch (const SuiteError&) {
            // A value the column's kind cannot read (letters under a numeric column) is shown as it is.
            text = Value::toText(value);
        }
    }
    if (cellText_) cellText_(column.field, &text);
    return text;
}

QVariant RecordsetModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section >= columns_.size())
        return QVariant();
    return columns_.at(section).caption;
}

QString RecordsetModel::format(const QVariant& value, int kind, const QString& pattern) {
    if (Value::isNull(value)) return QString();
    if (kind == KindDate)
        return Value::toDate(value).toString(pattern.isEmpty() ? QStringLiteral("dd/MM/yyyy") : pattern);
    // A date laid out as text is still read as a date, never as its stored digits.
    if (value.metaType().id() == QMetaType::QDate || value.metaType().id() == QMetaType::QDateTime)
        return Value::toDate(value).toString(QStringLiteral("dd/MM/yyyy"));
    if (kind != KindNumeric || pattern.isEmpty()) return Value::toText(value);
    const int point = pattern.indexOf(QLatin1Char('.'));
    const int decimals = point < 0 ? 0 : int(pattern.size()) - point - 1;
    const Decimal rounded = Value::toDecimal(value).rounded(decimals);
    // Italian separators, the thousands grouped when the pattern asks; below one the zero stays
    // ("0,50") whatever the pattern's integer part says.
    if (pattern.contains(QLatin1Char(','))) return ItalianFormat::amount(rounded, decimals);
    return rounded.toString().replace(QLatin1Char('.'), QLatin1Char(','));
}

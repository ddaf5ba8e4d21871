#include "Field.h"

#include "Recordset.h"

QString Field::Name() const {
    return rs_->column(index_).name;
}
DataType Field::Type() const {
    return rs_->column(index_).type;
}
int Field::DefinedSize() const {
    return rs_->column(index_).size;
}
int Field::NumericScale() const {
    return std::max(rs_->column(index_).scale, 0);
}
QVariant Field::Value() const {
    return rs_->value(index_);
}
void Field::setValue(const QVariant& value) const {
    rs_->setValue(index_, value);
}
bool Field::enter(const QVariant& typed) const {
    return rs_->enterValue(index_, typed);
}
QVariant Field::OriginalValue() const {
    return rs_->originalValue(index_);
}
bool Field::Writable() const {
    return rs_->isWritable(index_);
}

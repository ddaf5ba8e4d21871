#include "ResultTyping.h"

#include "SqlDialect.h"
#include "Value.h"

ResultTyping::ResultTyping(const std::vector<ResultColumn>& columns, const SqlDialect& dialect)
    : columns_(columns), dialect_(dialect), typed_(columns.size()) {
    // A numeric expression on PostgreSQL comes as exact text: still a number.
    for (size_t i = 0; i < columns.size(); ++i)
        typed_[i] = columns[i].owner || columns[i].type == DataType::Decimal;
}

void ResultTyping::take(QVariant& raw, int column, QVariant& out) const {
    if (!typed_[size_t(column)]) {
        out = Value::natural(raw);
        return;
    }
    if (raw.isNull()) return;
    const ResultColumn& c = columns_[size_t(column)];
    const int kind = raw.typeId();
    if (Value::holds(kind, c.type)) {
        out.swap(raw);  // already what the column holds: no conversion
    } else if (kind == QMetaType::LongLong && Value::holds(QMetaType::Int, c.type)) {
        // SQLite's integers; one past 32 bits is refused by the conversion, never wrapped.
        const qlonglong whole = *static_cast<const qlonglong*>(raw.constData());
        out = whole == int(whole) ? QVariant(int(whole)) : dialect_.fromDriver(raw, c.type, c.scale);
    } else {
        out = dialect_.fromDriver(raw, c.type, c.scale);
    }
}

#include "ResultTyping.h"

#include "Decimal.h"
#include "SqlDialect.h"

ResultTyping::ResultTyping(const std::vector<ResultColumn>& columns, const SqlDialect& dialect)
    : dialect_(dialect) {
    typing_.reserve(columns.size());
    // A numeric expression on PostgreSQL comes as exact text: still a number.
    for (const ResultColumn& c : columns)
        typing_.push_back({c.type, c.scale, c.owner || c.type == DataType::Decimal});
}

void ResultTyping::convert(QVariant& raw, int column, QVariant& out) const {
    const Typing& t = typing_[size_t(column)];
    if (!t.typed) {
        out = Value::natural(raw);
        return;
    }
    if (raw.isNull()) return;
    const int kind = raw.typeId();
    if (kind == QMetaType::LongLong && Value::holds(QMetaType::Int, t.type)) {
        // SQLite's integers; one past 32 bits is refused by the conversion, never wrapped.
        const qlonglong whole = *static_cast<const qlonglong*>(raw.constData());
        out = whole == int(whole) ? QVariant(int(whole)) : dialect_.fromDriver(raw, t.type, t.scale);
    } else {
        out = dialect_.fromDriver(raw, t.type, t.scale);
    }
}

bool ResultTyping::takeDecimalText(QLatin1StringView text, int column, QVariant& out) const {
    const Typing& t = typing_[size_t(column)];
    if (!t.typed || t.type != DataType::Decimal) return false;
    const std::optional<Decimal> value = Decimal::parse(text);
    if (!value) return false;
    out = QVariant::fromValue(t.scale < 0 ? *value : value->rounded(t.scale));
    return true;
}

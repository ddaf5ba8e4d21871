#pragma once

#include "ResultSet.h"
#include "Value.h"

#include <QVariant>
#include <vector>

class SqlDialect;

// How the values a driver returns for a result's columns become the values a field holds: a
// catalogued column's (and any decimal's) typed to its column, any other kept as the engine
// returned it (Value::natural). One per result, whichever way its rows are read.
class ResultTyping {
public:
    ResultTyping(const std::vector<ResultColumn>& columns, const SqlDialect& dialect);

    // `raw`, as the driver returned it for `column`, typed into `out`, which stays invalid for a
    // Null. `raw` may be left emptied. Inline for the common case, a value the driver returned
    // as the column holds it, which is most of a large read.
    void take(QVariant& raw, int column, QVariant& out) const {
        const Typing& t = typing_[size_t(column)];
        if (t.typed && Value::holds(raw.typeId(), t.type) && !raw.isNull())
            out.swap(raw);
        else
            convert(raw, column, out);
    }
    // The same for a value read as not Null, which the engine's own read tells before the
    // value is made.
    void takeValue(QVariant& raw, int column, QVariant& out) const {
        const Typing& t = typing_[size_t(column)];
        if (t.typed && Value::holds(raw.typeId(), t.type))
            out.swap(raw);
        else
            convert(raw, column, out);
    }
    // An exact decimal's text, as a server sends it, typed into `out` when `column` holds
    // decimals: no QString made between. False, `out` untouched, otherwise or where the text
    // does not read (take then tells why).
    bool takeDecimalText(QLatin1StringView text, int column, QVariant& out) const;
    // True when the values of `column` are typed as `type`.
    bool typedAs(int column, DataType type) const {
        const Typing& t = typing_[size_t(column)];
        return t.typed && t.type == type;
    }

private:
    struct Typing {
        DataType type;
        int scale;
        bool typed;
    };
    void convert(QVariant& raw, int column, QVariant& out) const;

    const SqlDialect& dialect_;
    std::vector<Typing> typing_;
};

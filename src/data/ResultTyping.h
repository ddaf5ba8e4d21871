#pragma once

#include "ResultSet.h"

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
    // Null. `raw` may be left emptied.
    void take(QVariant& raw, int column, QVariant& out) const;
    // True when the values of `column` are typed as `type`.
    bool typedAs(int column, DataType type) const {
        return typed_[size_t(column)] && columns_[size_t(column)].type == type;
    }

private:
    const std::vector<ResultColumn>& columns_;
    const SqlDialect& dialect_;
    std::vector<bool> typed_;
};

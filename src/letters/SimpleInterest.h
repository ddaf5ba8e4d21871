#pragma once

#include "Decimal.h"

#include <QDate>
#include <optional>

// Simple daily interest on an amount: amount × rate / 100 × days / 365, the days counted from
// the first date to the second, in exact decimals, rounded half away from zero to the cent.
// Nothing when a date is missing or the period runs backwards.
class SimpleInterest {
public:
    static constexpr int kDaysInYear = 365;
    static constexpr int kScale = 2;

    static std::optional<Decimal> of(const Decimal& amount, const Decimal& ratePercent, const QDate& from,
                                     const QDate& to);
};

#include "SimpleInterest.h"

std::optional<Decimal> SimpleInterest::of(const Decimal& amount, const Decimal& ratePercent,
                                          const QDate& from, const QDate& to) {
    if (!from.isValid() || !to.isValid() || to < from) return std::nullopt;
    // One division at the end: every product before it is exact.
    const Decimal numerator = amount * ratePercent * Decimal(from.daysTo(to));
    return Decimal::divide(numerator, Decimal(100LL * kDaysInYear), kScale);
}

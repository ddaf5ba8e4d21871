#pragma once

#include "Decimal.h"

#include <QString>
#include <QVariant>

// The host's currency conversion component. A rate is the units of the currency one euro buys;
// `euroDigits` is the digits of the euro side (the forms always pass 2). Amounts are exact
// decimals throughout. A conversion that cannot be made (an amount that is not a number, a
// currency the suite does not know, a rate that is not above zero) throws SuiteError with a
// message for the clerk.
class CurrencyConverter {
public:
    virtual ~CurrencyConverter() = default;
    // A euro amount in the currency: amount × rate, rounded to the currency's digits.
    virtual Decimal ToCurrency(const QVariant& amount, int euroDigits, const QString& currency,
                               const Decimal& rate) const = 0;
    // A currency amount in euro: amount ÷ rate, rounded to `euroDigits`.
    virtual Decimal ToEuro(const QVariant& amount, int euroDigits, const QString& currency,
                           const Decimal& rate) const = 0;
};

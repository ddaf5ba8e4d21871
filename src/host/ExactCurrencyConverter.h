#pragma once

#include "CurrencyConverter.h"
#include "CurrencyTable.h"

// The conversion component of the host application: exact decimal arithmetic over the
// currencies of the company database, rounding half away from zero.
class ExactCurrencyConverter : public CurrencyConverter {
public:
    explicit ExactCurrencyConverter(CurrencyTable currencies) : currencies_(std::move(currencies)) {}

    Decimal ToCurrency(const QVariant& amount, int euroDigits, const QString& currency,
                       const Decimal& rate) const override;
    Decimal ToEuro(const QVariant& amount, int euroDigits, const QString& currency,
                   const Decimal& rate) const override;

private:
    // The currency's digits, after checking that the conversion can be made at all.
    int check(const QString& currency, const Decimal& rate) const;

    CurrencyTable currencies_;
};

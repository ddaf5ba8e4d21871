#include "ExactCurrencyConverter.h"

#include "SuiteError.h"
#include "Value.h"

namespace {

const QString kExactCurrencyConverterSource = QStringLiteral("ConversioneValuta");

Decimal amountOf(const QVariant& amount) {
    if (Value::isNull(amount)) return Decimal();
    if (amount.metaType() == QMetaType::fromType<Decimal>()) return amount.value<Decimal>();
    if (const std::optional<Decimal> d = Decimal::parse(Value::toText(amount).trimmed())) return *d;
    throw SuiteError(SuiteError::kTypeMismatch, kExactCurrencyConverterSource,
                     QStringLiteral("L'importo \"%1\" non è un numero: nessuna conversione eseguita.")
                         .arg(Value::toText(amount)));
}

}  // namespace

int ExactCurrencyConverter::check(const QString& currency, const Decimal& rate) const {
    const std::optional<CurrencyTable::Currency> c = currencies_.find(currency);
    if (!c)
        throw SuiteError(SuiteError::kItemNotFound, kExactCurrencyConverterSource,
                         QStringLiteral("La valuta \"%1\" non è presente nella tabella delle valute: nessuna "
                                        "conversione eseguita.")
                             .arg(currency.trimmed()));
    if (rate.sign() <= 0)
        throw SuiteError(
            SuiteError::kOperationNotAllowed, kExactCurrencyConverterSource,
            QStringLiteral("Il cambio %1 della valuta %2 non è maggiore di zero: nessuna conversione "
                           "eseguita.")
                .arg(Value::shown(QVariant::fromValue(rate)), currency.trimmed().toUpper()));
    return c->decimals;
}

Decimal ExactCurrencyConverter::ToCurrency(const QVariant& amount, int /*euroDigits*/,
                                           const QString& currency, const Decimal& rate) const {
    const int digits = check(currency, rate);
    return (amountOf(amount) * rate).rounded(digits);
}

Decimal ExactCurrencyConverter::ToEuro(const QVariant& amount, int euroDigits, const QString& currency,
                                       const Decimal& rate) const {
    check(currency, rate);
    return Decimal::divide(amountOf(amount), rate, euroDigits);
}

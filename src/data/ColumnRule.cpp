#include "ColumnRule.h"

#include "SuiteError.h"
#include "Value.h"

#include <algorithm>

namespace {
const QString kColumnRuleSource = QStringLiteral("Recordset");

[[noreturn]] void refuse(const QString& text) {
    throw SuiteError(SuiteError::kTypeMismatch, kColumnRuleSource, text);
}
}  // namespace

QVariant ColumnRule::accept(const QVariant& value, ExtraDecimals extra) const {
    const ResultColumn& c = column_;
    const int decimals = std::max(c.scale, 0);
    if (extra == ExtraDecimals::Refused && c.type == DataType::Decimal && c.scale >= 0 &&
        value.metaType() == QMetaType::fromType<Decimal>() &&
        value.value<Decimal>().normalized().scale() > c.scale)
        refuse(QStringLiteral("Il valore %1 ha troppi decimali: il campo %2 ne ammette al massimo %3.")
                   .arg(Value::shown(value), c.name)
                   .arg(c.scale));
    QVariant v;
    try {
        v = Value::coerce(value, c.type, c.scale);
    } catch (const SuiteError& e) {
        throw SuiteError(
            e.number(), kColumnRuleSource,
            QStringLiteral("Valore non valido per il campo %1: %2").arg(c.name, e.description()));
    }
    if (c.type == DataType::Text && !Value::wholeCharacters(v.toString()))
        refuse(QStringLiteral("Il testo per il campo %1 contiene un carattere spezzato a metà: "
                              "non si può registrare.")
                   .arg(c.name));
    if (c.type == DataType::Text && c.size > 0 && v.toString().size() > c.size)
        refuse(QStringLiteral("Il testo per il campo %1 supera la lunghezza massima di %2 caratteri.")
                   .arg(c.name)
                   .arg(c.size));
    if (c.type == DataType::Decimal && c.precision > 0 && !Value::isNull(v) &&
        v.value<Decimal>().integerDigits() > c.precision - decimals)
        refuse(
            QStringLiteral("Il valore %1 è troppo grande per il campo %2: sono ammesse al massimo %3 cifre "
                           "intere e %4 decimali.")
                .arg(Value::shown(value), c.name)
                .arg(c.precision - decimals)
                .arg(decimals));
    return v;
}

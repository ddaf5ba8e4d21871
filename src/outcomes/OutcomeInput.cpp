#include "OutcomeInput.h"

#include "SuiteError.h"

#include <QRegularExpression>

namespace {

const QString kOutcomeInputTitle = QStringLiteral("Esiti delle distinte");

[[noreturn]] void refuse(const QString& field, const QString& why) {
    throw SuiteError(SuiteError::kTypeMismatch, kOutcomeInputTitle, QStringLiteral("%1: %2").arg(field, why));
}

}  // namespace

QDate OutcomeInput::date(const QString& text, const QString& field) {
    const QDate d = QDate::fromString(text.trimmed(), QStringLiteral("dd/MM/yyyy"));
    if (!d.isValid())
        refuse(field, QStringLiteral("\"%1\" non è una data valida (gg/mm/aaaa).").arg(text.trimmed()));
    return d;
}

Decimal OutcomeInput::amount(const QString& text, const QString& field) {
    const QString t = text.trimmed();
    if (t.isEmpty()) return Decimal::fromMantissa(0, 2);
    // Thousands with dots, decimals after a comma: "1.234,56".
    static const QRegularExpression italian(QStringLiteral("^-?(\\d{1,3}(\\.\\d{3})*|\\d+)(,\\d+)?$"));
    if (!italian.match(t).hasMatch())
        refuse(field, QStringLiteral("\"%1\" non è un importo (es. 4,50).").arg(t));
    QString plain = t;
    plain.remove(QLatin1Char('.')).replace(QLatin1Char(','), QLatin1Char('.'));
    const std::optional<Decimal> value = Decimal::parse(plain);
    if (!value) refuse(field, QStringLiteral("\"%1\" non è un importo (es. 4,50).").arg(t));
    if (*value < Decimal::fromMantissa(0, 2))
        refuse(field, QStringLiteral("l'importo non può essere negativo."));
    const int decimals = t.contains(QLatin1Char(',')) ? int(t.size() - t.indexOf(QLatin1Char(',')) - 1) : 0;
    if (decimals > 2) refuse(field, QStringLiteral("al massimo due decimali."));
    if (plain.section(QLatin1Char('.'), 0, 0).size() > 16)
        refuse(field, QStringLiteral("importo troppo grande."));
    return *value;
}

#include "ListTotals.h"

#include "BillListRows.h"
#include "Connection.h"
#include "ItalianFormat.h"
#include "Value.h"

namespace {

void merge(ListTotals::Figures& into, const ListTotals::Figures& more) {
    into.open += more.open;
    into.openAmount = into.openAmount + more.openAmount;
    into.overdueAmount = into.overdueAmount + more.overdueAmount;
    into.closed += more.closed;
}

Decimal sumOf(const QVariant& v) {
    const QVariant n = Value::natural(v);
    return Value::isNull(n) ? Decimal() : Value::toDecimal(n).rounded(2);
}

bool isEuro(const QString& currency) {
    return currency.isEmpty() || currency.toUpper() == QStringLiteral("EURO");
}

}  // namespace

QString ListTotals::query(const QString& select, const QDate& today) {
    // Open and due before the day: overdue, as the list counts its days.
    const QString open = QStringLiteral("KVTOT.EF01_INDSTATO_S = 0");
    const QString overdue = open + QStringLiteral(" AND KVTOT.EF01_SCADE_S < '") +
                            today.toString(QStringLiteral("yyyyMMdd")) + QStringLiteral("'");
    auto sum = [](const QString& when, const QString& what) {
        return QStringLiteral("SUM(CASE WHEN ") + when + QStringLiteral(" THEN ") + what +
               QStringLiteral(" ELSE 0 END)");
    };
    return QStringLiteral("SELECT KVTOT.EF01_CODICE_CG08, ") + sum(open, QStringLiteral("1")) +
           QStringLiteral(", ") + sum(open, QStringLiteral("KVTOT.EF01_IMPEFF_S")) + QStringLiteral(", ") +
           sum(overdue, QStringLiteral("KVTOT.EF01_IMPEFF_S")) + QStringLiteral(", ") +
           sum(open, QStringLiteral("COALESCE(KVTOT.EF01_IMPEFFVAL_S, 0)")) + QStringLiteral(", ") +
           sum(overdue, QStringLiteral("COALESCE(KVTOT.EF01_IMPEFFVAL_S, 0)")) + QStringLiteral(", ") +
           sum(QStringLiteral("KVTOT.EF01_INDSTATO_S <> 0"), QStringLiteral("1")) +
           QStringLiteral(", SUM(KVTOT.EF01_IMPEFF_S)") + QStringLiteral("\r\nFROM (\r\n") + select +
           QStringLiteral("\r\n) KVTOT\r\nGROUP BY KVTOT.EF01_CODICE_CG08");
}

ListTotals ListTotals::fromResult(const ResultSet& result) {
    ListTotals totals;
    for (const auto& row : result.rows) {
        const QString currency = Value::toText(Value::natural(row.value(0))).trimmed();
        Figures euro{Value::toInt(Value::natural(row.value(1))), sumOf(row.value(2)), sumOf(row.value(3)),
                     Value::toInt(Value::natural(row.value(6)))};
        Figures inCurrency{euro.open, sumOf(row.value(4)), sumOf(row.value(5)), euro.closed};
        totals.add(currency, euro, inCurrency, sumOf(row.value(7)));
    }
    return totals;
}

void ListTotals::add(const ListRow& row) {
    const bool overdue = row.overdue > 0;
    Figures euro;
    Figures inCurrency;
    if (row.closed) {
        euro.closed = inCurrency.closed = 1;
    } else {
        euro.open = inCurrency.open = 1;
        euro.openAmount = row.amount;
        inCurrency.openAmount = row.amountCurrency;
        if (overdue) {
            euro.overdueAmount = row.amount;
            inCurrency.overdueAmount = row.amountCurrency;
        }
    }
    add(row.currency, euro, inCurrency, row.amount);
}

void ListTotals::add(const QString& currency, const Figures& euro, const Figures& inCurrency,
                     const Decimal& amount) {
    merge(euro_, euro);
    amount_ = amount_ + amount;
    if (!isEuro(currency)) merge(currencies_[currency.toUpper()], inCurrency);
}

QString ListTotals::text() const {
    QString out =
        QStringLiteral("%1 effetti per € %2: aperti %3 per € %4, di cui scaduti € %5; chiusi %6")
            .arg(count())
            .arg(ItalianFormat::amount(amount_))
            .arg(euro_.open)
            .arg(ItalianFormat::amount(euro_.openAmount), ItalianFormat::amount(euro_.overdueAmount))
            .arg(euro_.closed);
    for (auto it = currencies_.cbegin(); it != currencies_.cend(); ++it)
        if (it.value().open > 0)
            out += QStringLiteral(" — in %1: aperti %2 per %3, di cui scaduti %4")
                       .arg(it.key())
                       .arg(it.value().open)
                       .arg(ItalianFormat::amount(it.value().openAmount),
                            ItalianFormat::amount(it.value().overdueAmount));
    return out;
}

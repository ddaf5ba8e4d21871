#include "CurrencyTable.h"

#include "Connection.h"
#include "Recordset.h"
#include "Value.h"

CurrencyTable CurrencyTable::read(const std::shared_ptr<Connection>& connection) {
    Recordset rs;
    rs.Open(QStringLiteral("SELECT CG08_CODICE, CG08_FLGVALUEM, CG08_CAMBIOFISSO, CG08_NUMDEC FROM "
                           "CG08_TABVALUTE WITH (NOLOCK)"),
            connection);
    CurrencyTable table;
    for (; !rs.AtEOF(); rs.MoveNext()) {
        Currency c;
        c.fixed = Value::toInt(rs.Fields(1).Value()) == 1;
        c.fixedRate = Value::toDecimal(rs.Fields(2).Value());
        // A table that does not say keeps the euro's two digits.
        c.decimals = Value::isNull(rs.Fields(3).Value()) ? 2 : Value::toInt(rs.Fields(3).Value());
        table.insert(Value::toText(rs.Fields(0).Value()), c);
    }
    return table;
}

std::optional<CurrencyTable::Currency> CurrencyTable::find(const QString& code) const {
    // Codes mostly arrive as the table keeps them: normalised only when not found as they are.
    auto it = currencies_.constFind(code);
    if (it == currencies_.constEnd()) it = currencies_.constFind(key(code));
    if (it == currencies_.constEnd()) return std::nullopt;
    return it.value();
}

bool CurrencyTable::isFixed(const QString& code) const {
    const std::optional<Currency> c = find(code);
    return c && c->fixed;
}

std::optional<Decimal> CurrencyTable::fixedRate(const QString& code) const {
    const std::optional<Currency> c = find(code);
    if (!c || !c->fixed) return std::nullopt;
    return c->fixedRate;
}

int CurrencyTable::decimals(const QString& code) const {
    const std::optional<Currency> c = find(code);
    return c ? c->decimals : 2;
}

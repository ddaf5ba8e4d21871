#include "SlipTotals.h"

#include "Connection.h"
#include "Value.h"

namespace {

// The slip's row when `condition` holds of it, and with it the rows kept beside it.
bool removeRows(Connection& connection, const SlipKey& slip, const QString& condition) {
    if (connection.Execute(QStringLiteral("DELETE FROM EF09_DISTINTE") + slip.where() + condition) != 1)
        return false;
    const std::pair<const char*, const char*> kept[] = {{"KV22_STATIDIST", "KV22_"},
                                                        {"KV25_BANCHEDIST", "KV25_"}};
    for (const auto& [table, prefix] : kept)
        connection.Execute(QStringLiteral("DELETE FROM ") + QLatin1String(table) +
                           slip.where(QLatin1String(prefix)));
    return true;
}

}  // namespace

namespace SlipTotals {

void follow(Connection& connection, const SlipKey& slip) {
    const QString movements = QStringLiteral(" FROM EF06_SCADSTO WHERE ") + slip.movementLink();
    connection.Execute(QStringLiteral("UPDATE EF09_DISTINTE SET EF09_NUMTOTEFF = (SELECT COUNT(*)") +
                       movements +
                       QStringLiteral("), EF09_IMPTOTEFF = (SELECT COALESCE(SUM(EF06_IMPEFF_S), 0)") +
                       movements + QStringLiteral(")") + slip.where());
    removeRows(connection, slip, QStringLiteral(" AND EF09_NUMTOTEFF = 0"));
}

bool remove(Connection& connection, const SlipKey& slip) {
    return removeRows(connection, slip, QString());
}

std::optional<SlipKey> presentedOn(const std::function<QVariant(const QString& column)>& movement) {
    const auto value = [&](const char* column) { return movement(QString::fromLatin1(column)); };
    if (Value::toInt(value("EF06_INDTIPOPER")) != 3 || Value::isNull(value("EF06_NUMDIST_EF09")) ||
        Value::isNull(value("EF06_DITTA_EF09")))
        return std::nullopt;
    return SlipKey{Value::toInt(value("EF06_DITTA_EF09")), Value::toInt(value("EF06_INDTIPODIST_EF09")),
                   Value::toInt(value("EF06_ANNO_EF09")), Value::toInt(value("EF06_NUMDIST_EF09"))};
}

}  // namespace SlipTotals

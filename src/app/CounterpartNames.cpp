#include "CounterpartNames.h"

#include "BillListQueries.h"
#include "Connection.h"
#include "Value.h"

CounterpartNames::CounterpartNames(std::shared_ptr<Connection> connection, qint32 company, int tipoArchivio,
                                   qint32 ledgerGroup)
    : connection_(std::move(connection)),
      company_(company),
      tipoArchivio_(tipoArchivio),
      ledgerGroup_(ledgerGroup) {}

void CounterpartNames::load(const QStringList& codes) {
    QStringList missing;
    for (const QString& c : codes)
        if (!c.isEmpty() && !names_.contains(c) && !missing.contains(c)) missing << c;
    if (missing.isEmpty()) return;
    const std::vector<ResultSet> result =
        connection_->Query(BillListQueries::names(company_, tipoArchivio_, ledgerGroup_, missing));
    for (const QString& c : missing) names_.insert(c, QString());
    if (result.empty()) return;
    for (const auto& row : result.front().rows)
        names_.insert(Value::toText(Value::natural(row.value(0))).trimmed(),
                      Value::toText(row.value(1)).trimmed());
}

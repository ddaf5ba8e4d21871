#include "CompanyBank.h"

#include "Connection.h"
#include "Value.h"

QString CompanyBank::shown() const {
    QString text = description.isEmpty() ? QStringLiteral("Banca %1").arg(progressive) : description;
    if (abi != 0)
        text += QStringLiteral(" - ABI %1 CAB %2")
                    .arg(abi, 5, 10, QLatin1Char('0'))
                    .arg(cab, 5, 10, QLatin1Char('0'));
    QStringList names;
    if (!bankName.isEmpty()) names << bankName;
    if (!agencyName.isEmpty()) names << agencyName;
    if (!names.isEmpty()) text += QStringLiteral(" (%1)").arg(names.join(QStringLiteral(", ")));
    return text;
}

QList<CompanyBank> CompanyBank::of(const std::shared_ptr<Connection>& connection, qint32 company) {
    const std::vector<ResultSet> found = connection->Query(
        QStringLiteral("SELECT EF08_PROGR, EF08_DESCR, EF08_BANCA_CG12, EF08_AGENZIA_CG13, CG12_DESCR,"
                       " CG13_DESCR, EF08_IBAN FROM EF08_BANCHEAZ WITH (NOLOCK)"
                       " LEFT JOIN CG12_BANCHE WITH (NOLOCK) ON CG12_BANCA = EF08_BANCA_CG12"
                       " LEFT JOIN CG13_AGENZIE WITH (NOLOCK) ON CG13_BANCA_CG12 = EF08_BANCA_CG12"
                       " AND CG13_CODCAB = EF08_AGENZIA_CG13"
                       " WHERE EF08_DITTA_CG18 = %1 ORDER BY EF08_PROGR")
            .arg(company));
    QList<CompanyBank> banks;
    if (found.empty()) return banks;
    for (const QVector<QVariant>& row : found.front().rows) {
        CompanyBank b;
        b.progressive = Value::toInt(row[0]);
        b.description = Value::toText(row[1]).trimmed();
        b.abi = Value::toInt(row[2]);
        b.cab = Value::toInt(row[3]);
        b.bankName = Value::toText(row[4]).trimmed();
        b.agencyName = Value::toText(row[5]).trimmed();
        b.iban = Value::toText(row[6]).trimmed();
        banks.append(b);
    }
    return banks;
}

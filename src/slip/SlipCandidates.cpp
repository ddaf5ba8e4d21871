#include "SlipCandidates.h"

#include "Connection.h"
#include "ItalianFormat.h"
#include "Value.h"

SlipCandidates::SlipCandidates(std::shared_ptr<Connection> connection, qint32 company)
    : connection_(std::move(connection)), company_(company) {}

QList<SlipBill> SlipCandidates::read(const QString& source, const SlipFilter& filter) const {
    const QString from =
        source.isEmpty()
            ? QStringLiteral("SELECT * FROM EF01_SCADENZE WITH (NOLOCK) WHERE EF01_DITTA_CG18 = %1")
                  .arg(company_)
            : source;
    const std::vector<ResultSet> found = connection_->Query(
        QStringLiteral(
            "SELECT KVS.EF01_DITTA_CG18, KVS.EF01_NUMREG_CO99, KVS.EF01_RIGACONT_CG42,"
            " KVS.EF01_PROGEC_EC01, KVS.EF01_PROGEFF, KVS.EF01_NUMEFF, CG16_RAGSOANAG,"
            " KVS.EF01_SCADE_S, KVS.EF01_IMPEFF_S, KVS.EF01_INDPRES_S, KVS.EF01_NUMDOC,"
            " KVS.EF01_DATADOC, (SELECT MAX(EF06_PROGSTO) FROM EF06_SCADSTO WITH (NOLOCK) WHERE"
            " EF06_DITTA_CG18 = KVS.EF01_DITTA_CG18 AND EF06_NUMREG_CO99 = KVS.EF01_NUMREG_CO99 AND"
            " EF06_RIGACONT_EF01 = KVS.EF01_RIGACONT_CG42 AND EF06_PROGEC_EF01 = KVS.EF01_PROGEC_EC01 AND"
            " EF06_PROGEFF_EF01 = KVS.EF01_PROGEFF) FROM (\r\n") +
        from +
        QStringLiteral(
            "\r\n) KVS LEFT JOIN CG44_CLIFOR WITH (NOLOCK) ON CG44_DITTA_CG18 = KVS.EF01_DITTACF_CG18"
            " AND CG44_TIPOCF = KVS.EF01_TIPOCF_CG44 AND CG44_CLIFOR = KVS.EF01_CLIFOR_CG44"
            " LEFT JOIN CG16_ANAGGEN WITH (NOLOCK) ON CG16_CODICE = CG44_ANAGEN_CG16"
            " WHERE KVS.EF01_DITTA_CG18 = %1 AND ")
            .arg(company_) +
        filter.conditions(QStringLiteral("KVS")) +
        QStringLiteral(" ORDER BY KVS.EF01_SCADE_S, KVS.EF01_NUMREG_CO99, KVS.EF01_RIGACONT_CG42,"
                       " KVS.EF01_PROGEC_EC01, KVS.EF01_PROGEFF"));
    QList<SlipBill> bills;
    if (found.empty()) return bills;
    for (const QVector<QVariant>& row : found.front().rows) {
        SlipBill b;
        b.key.company = Value::toInt(row[0]);
        b.key.registration = Value::toText(row[1]);
        b.key.row = Value::toInt(row[2]);
        b.key.statement = Value::toInt(row[3]);
        b.key.progressive = Value::toInt(row[4]);
        b.number = Value::toInt(row[5]);
        b.customer = Value::toText(row[6]).trimmed();
        b.due = Value::toDate(row[7]);
        b.amount = Value::toDecimal(row[8]);
        b.presentation = Value::toInt(row[9]);
        const QString document = Value::toText(row[10]).trimmed();
        const QDate documentDate = Value::toDate(row[11]);
        b.lastMovement = Value::toInt(row[12]);
        b.document = documentDate.isValid()
                         ? QStringLiteral("%1 del %2").arg(document, ItalianFormat::date(documentDate))
                         : document;
        bills.append(b);
    }
    return bills;
}

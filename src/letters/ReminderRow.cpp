#include "ReminderRow.h"

#include "BillKey.h"
#include "Connection.h"
#include "Recordset.h"
#include "Value.h"

#include <QList>
#include <QVariant>
#include <utility>

int ReminderRow::add(const std::shared_ptr<Connection>& connection, const BillKey& key) const {
    Recordset last;
    last.Open(QStringLiteral("SELECT MAX(EF05_PROGAVVISI) FROM EF05_SCADSOLLEC") +
                  key.where(QStringLiteral("EF05")),
              connection);
    const int progressive = Value::toInt(last.Fields(0).Value()) + 1;
    Recordset row;
    row.Open(QStringLiteral("SELECT * FROM EF05_SCADSOLLEC WHERE 0=1"), connection);
    row.AddNew();
    const QVariant none;
    const Decimal zero = Decimal::fromMantissa(0, 2);
    const QList<std::pair<const char*, QVariant>> values = {
        {"EF05_DITTA_CG18", key.company},
        {"EF05_NUMREG_CO99", key.registration},
        {"EF05_RIGACONT_EF01", key.row},
        {"EF05_PROGEC_EF01", key.statement},
        {"EF05_PROGEFF_EF01", key.progressive},
        {"EF05_PROGAVVISI", progressive},
        {"EF05_PROGSTO", movement.value_or(progressive)},
        {"EF05_DATAAVVISO", date},
        {"EF05_DATARIFELAB", date},
        {"EF05_FLGCALCINT", rate ? 1 : 0},
        {"EF05_TASSOINT", rate ? QVariant::fromValue(*rate) : none},
        {"EF05_DADATACALC", rate ? QVariant(interestFrom) : none},
        {"EF05_ADATACALC", rate ? QVariant(interestTo) : none},
        {"EF05_IMPINTERES", QVariant::fromValue(interest)},
        {"EF05_SPESERIT", QVariant::fromValue(returnCharges)},
        {"EF05_SPBOLLO", QVariant::fromValue(zero)},
        {"EF05_SPPOST", QVariant::fromValue(postage)},
        {"EF05_SPVARIE", QVariant::fromValue(zero)},
        {"EF05_SIGLALETTERA", letterCode},
        {"EF05_INDBLOC", 0},
        {"EF05_FLGAZLEGAL", 0},
        {"EF05_FLGINVIOAGE", 0},
        {"EF05_FLGEMISDOC", 0},
        {"EF05_FLGDOCBIS", 0},
        {"EF05_FLGPERS1", 0},
        {"EF05_FLGPERS2", 0},
    };
    for (const auto& [column, value] : values) row.Fields(QString::fromLatin1(column)).setValue(value);
    row.Update();
    row.UpdateBatch();
    return progressive;
}

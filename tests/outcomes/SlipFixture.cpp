#include "SlipFixture.h"
#include "SlipKinds.h"

#include "BillKey.h"
#include "Connection.h"
#include "DatabaseHistoryWriter.h"
#include "Recordset.h"
#include "SqlText.h"
#include "SuiteError.h"
#include "TransactionScope.h"
#include "Value.h"

SlipKey presentSlip(const std::shared_ptr<Connection>& connection, int kind, const QDate& date,
                    const QStringList& bills) {
    TransactionScope transaction(*connection);
    SlipKey slip{1, kind, date.year(), 0};
    Recordset last;
    last.Open(QStringLiteral("SELECT MAX(EF09_NUMDIST) FROM EF09_DISTINTE WHERE EF09_DITTA_CG18 = 1 AND "
                             "EF09_INDTIPODIST = %1 AND EF09_ANNO = %2")
                  .arg(kind)
                  .arg(date.year()),
              connection);
    slip.number = Value::toInt(last.Fields(0).Value()) + 1;
    Decimal total = Decimal::fromMantissa(0, 2);
    for (const QString& text : bills) {
        const BillKey key = BillKey::parse(text, QStringLiteral("test"));
        auto bill = std::make_shared<Recordset>();
        bill->Open(QStringLiteral("SELECT * FROM EF01_SCADENZE") + key.where(QStringLiteral("EF01")),
                   connection);
        if (bill->AtEOF()) throw SuiteError(SuiteError::kItemNotFound, QStringLiteral("test"), text);
        total = total + Value::toDecimal(bill->Fields(QStringLiteral("EF01_IMPEFF_S")).Value());
        Recordset progressive;
        progressive.Open(
            QStringLiteral("SELECT MAX(EF06_PROGSTO) FROM EF06_SCADSTO") + key.where(QStringLiteral("EF06")),
            connection);
        auto movement = std::make_shared<HistoryMovement>();
        movement->connection = connection;
        movement->bill = bill;
        movement->progressive = Value::toInt(progressive.Fields(0).Value()) + 1;
        movement->date = QDateTime(date, QTime(0, 0));
        movement->type = 3;
        movement->columns = {{QStringLiteral("EF06_DITTA_EF09"), 1},
                             {QStringLiteral("EF06_INDTIPODIST_EF09"), kind},
                             {QStringLiteral("EF06_ANNO_EF09"), slip.year},
                             {QStringLiteral("EF06_NUMDIST_EF09"), slip.number}};
        DatabaseHistoryWriter writer;
        writer.setMovement(movement);
        if (writer.Prepare() != 0)
            throw SuiteError(writer.LastErrorNumber(), QStringLiteral("test"), writer.LastError());
        bill->Fields(QStringLiteral("EF01_BANCAPRE_SCG12")).setValue(3069);
        bill->Fields(QStringLiteral("EF01_AGENPRE_SCG13")).setValue(1600);
        bill->Fields(QStringLiteral("EF01_INDPRES_S")).setValue(kind == SlipKinds::kRiba ? 2 : 5);
        bill->Update();
        bill->UpdateBatch();
        if (writer.Write() != 0)
            throw SuiteError(writer.LastErrorNumber(), QStringLiteral("test"), writer.LastError());
    }
    Recordset row;
    row.Open(QStringLiteral("SELECT * FROM EF09_DISTINTE WHERE 0=1"), connection);
    row.AddNew();
    row.Fields(QStringLiteral("EF09_DITTA_CG18")).setValue(1);
    row.Fields(QStringLiteral("EF09_INDTIPODIST")).setValue(kind);
    row.Fields(QStringLiteral("EF09_ANNO")).setValue(slip.year);
    row.Fields(QStringLiteral("EF09_NUMDIST")).setValue(slip.number);
    row.Fields(QStringLiteral("EF09_DATACRESUPP")).setValue(date);
    row.Fields(QStringLiteral("EF09_NUMTOTEFF")).setValue(int(bills.size()));
    row.Fields(QStringLiteral("EF09_IMPTOTEFF")).setValue(QVariant::fromValue(total));
    row.Update();
    row.UpdateBatch();
    transaction.commit();
    return slip;
}

QStringList openBills(const std::shared_ptr<Connection>& connection, int count, const QDate& due, int skip) {
    Recordset rs;
    rs.Open(QStringLiteral(
                "SELECT EF01_NUMREG_CO99, EF01_RIGACONT_CG42, EF01_PROGEC_EC01, EF01_PROGEFF FROM "
                "EF01_SCADENZE WHERE EF01_DITTA_CG18 = 1 AND EF01_TIPOCF_CG44 = 0 AND EF01_INDCONTO = 0 "
                "AND EF01_INDSTATO_S = 0 AND EF01_INDEXP = 0 AND EF01_BANCAPRE_SCG12 IS NULL "
                "ORDER BY EF01_NUMREG_CO99, EF01_RIGACONT_CG42, EF01_PROGEC_EC01, EF01_PROGEFF"),
            connection);
    rs.Move(skip);
    QStringList keys;
    for (; !rs.AtEOF() && keys.size() < count; rs.MoveNext()) {
        const QString key =
            QStringLiteral("1,%1,%2,%3,%4")
                .arg(Value::toText(rs.Fields(0).Value()).trimmed(), Value::toText(rs.Fields(1).Value()),
                     Value::toText(rs.Fields(2).Value()), Value::toText(rs.Fields(3).Value()));
        connection->Execute(QStringLiteral("UPDATE EF01_SCADENZE SET EF01_SCADE_S = '%1', EF01_INDPRES_S = 0")
                                .arg(due.toString(QStringLiteral("yyyyMMdd"))) +
                            BillKey::parse(key, QStringLiteral("test")).where(QStringLiteral("EF01")));
        keys << key;
    }
    return keys;
}

#include "SlipWriter.h"

#include "Connection.h"
#include "DatabaseHistoryWriter.h"
#include "Recordset.h"
#include "SlipKinds.h"
#include "SlipTexts.h"
#include "SuiteError.h"
#include "TransactionScope.h"
#include "Value.h"
#include "WriteConflict.h"

#include <QStringList>

namespace {

constexpr int kPresentation = 3;  // EF06_INDTIPOPER " Presentazione effetti"
// Colleagues numbering a slip of the same kind at the same moment: each try takes the next number.
constexpr int kAttempts = 4;

QString yyyymmdd(const QDate& d) {
    return QLatin1Char('\'') + d.toString(QStringLiteral("yyyyMMdd")) + QLatin1Char('\'');
}

}  // namespace

QString SlipOrder::problem() const {
    if (bank.progressive == 0) return SlipTexts::kNoBank;
    if (bank.abi == 0 || bank.cab == 0) return SlipTexts::kBankWithoutAbi.arg(bank.shown());
    if (bills.isEmpty()) return SlipTexts::kNoBills;
    return {};
}

Decimal SlipOrder::total() const {
    Decimal sum = Decimal::fromMantissa(0, 2);
    for (const SlipBill& b : bills) sum = sum + b.amount;
    return sum;
}

SlipWriter::SlipWriter(std::shared_ptr<Connection> connection) : connection_(std::move(connection)) {}

SlipKey SlipWriter::write(const SlipOrder& order) const {
    if (const QString problem = order.problem(); !problem.isEmpty())
        throw SuiteError(SuiteError::kOperationNotAllowed, SlipTexts::kTitle, problem);
    for (int attempt = 1;; ++attempt) {
        TransactionScope transaction(*connection_);
        SlipKey slip;
        try {
            slip = insertSlip(order);
        } catch (const SuiteError& e) {
            const bool taken = e.number() == SuiteError::kWriteConflict || e.number() == SuiteError::kTimeout;
            if (taken && attempt < kAttempts) continue;  // rolled back by the scope: the next number
            throw;
        }
        QList<BillKey> keys;
        QList<HistoryMovement> movements;
        for (const SlipBill& bill : order.bills) {
            present(order, bill);
            keys.append(bill.key);
            movements.append(movement(order, slip, bill));
        }
        // Read with the Bills held: the snapshots are the Bills as they stood, but for the three
        // values each presentation replaced, which its movement gives back.
        int moved = -1;
        try {
            moved = DatabaseHistoryWriter::writeAll(*connection_, keys, movements);
        } catch (const SuiteError& e) {
            throw SuiteError(e.number(), SlipTexts::kTitle, e.description());
        }
        if (moved >= 0)
            throw SuiteError(
                SuiteError::kWriteConflict, SlipTexts::kTitle,
                SlipTexts::kChangedMeanwhile.arg(order.bills.at(moved).named(), WriteConflict::kMessage));
        if (order.check) order.check(*connection_, slip);
        transaction.commit();
        return slip;
    }
}

SlipKey SlipWriter::insertSlip(const SlipOrder& order) const {
    SlipKey slip{order.company, order.kind, order.date.year(), 0};
    Recordset last;
    last.Open(QStringLiteral("SELECT MAX(EF09_NUMDIST) FROM EF09_DISTINTE WHERE EF09_DITTA_CG18 = %1"
                             " AND EF09_INDTIPODIST = %2 AND EF09_ANNO = %3")
                  .arg(slip.company)
                  .arg(slip.kind)
                  .arg(slip.year),
              connection_);
    slip.number = Value::toInt(last.Fields(0).Value()) + 1;
    Recordset row;
    row.Open(QStringLiteral("SELECT * FROM EF09_DISTINTE WHERE 0=1"), connection_);
    row.AddNew();
    const QList<std::pair<const char*, QVariant>> values = {
        {"EF09_DITTA_CG18", slip.company},
        {"EF09_INDTIPODIST", slip.kind},
        {"EF09_ANNO", slip.year},
        {"EF09_NUMDIST", slip.number},
        {"EF09_DATACRESUPP", order.date},
        {"EF09_NUMTOTEFF", int(order.bills.size())},
        {"EF09_IMPTOTEFF", QVariant::fromValue(order.total())},
    };
    for (const auto& [column, value] : values) row.Fields(QString::fromLatin1(column)).setValue(value);
    row.UpdateBatch();
    connection_->Execute(QStringLiteral("INSERT INTO KV25_BANCHEDIST (KV25_DITTA_CG18, KV25_INDTIPODIST,"
                                        " KV25_ANNO, KV25_NUMDIST, KV25_BANCA_CG12, KV25_AGENZIA_CG13)"
                                        " VALUES (%1, %2, %3, %4, %5, %6)")
                             .arg(slip.company)
                             .arg(slip.kind)
                             .arg(slip.year)
                             .arg(slip.number)
                             .arg(order.bank.abi)
                             .arg(order.bank.cab));
    return slip;
}

void SlipWriter::present(const SlipOrder& order, const SlipBill& bill) const {
    // Guarded by what the clerk was shown: the Bill is held from here on.
    const long updated = connection_->Execute(
        QStringLiteral("UPDATE EF01_SCADENZE SET EF01_BANCAPRE_SCG12 = %1, EF01_AGENPRE_SCG13 = %2,"
                       " EF01_INDPRES_S = %3")
            .arg(order.bank.abi)
            .arg(order.bank.cab)
            .arg(SlipKinds::presentationOf(order.kind)) +
        bill.key.where(QStringLiteral("EF01")) +
        QStringLiteral(
            " AND EF01_TIPOEFF = %1 AND EF01_TIPOCF_CG44 = 0 AND EF01_INDSTATO_S = 0"
            " AND EF01_BANCAPRE_SCG12 IS NULL AND EF01_AGENPRE_SCG13 IS NULL AND EF01_INDPRES_S = %2"
            " AND EF01_IMPEFF_S = %3 AND EF01_SCADE_S = %4")
            .arg(SlipKinds::billTypeOf(order.kind))
            .arg(bill.presentation)
            .arg(bill.amount.toString(), yyyymmdd(bill.due)));
    if (updated != 1) refuse(order, bill);
}

HistoryMovement SlipWriter::movement(const SlipOrder& order, const SlipKey& slip, const SlipBill& bill) {
    HistoryMovement m;
    m.progressive = bill.lastMovement + 1;
    m.date = order.date.startOfDay();
    m.type = kPresentation;
    // The values the presentation replaced, as its guard knew them.
    m.columns = {
        {QStringLiteral("EF06_BANCAPRE_S"), QVariant()},
        {QStringLiteral("EF06_AGENZPRE_S"), QVariant()},
        {QStringLiteral("EF06_INDPRES_S"), bill.presentation},
        {QStringLiteral("EF06_DITTA_EF09"), slip.company},
        {QStringLiteral("EF06_INDTIPODIST_EF09"), slip.kind},
        {QStringLiteral("EF06_ANNO_EF09"), slip.year},
        {QStringLiteral("EF06_NUMDIST_EF09"), slip.number},
    };
    return m;
}

void SlipWriter::refuse(const SlipOrder& order, const SlipBill& bill) const {
    Recordset now;
    now.Open(QStringLiteral("SELECT EF01_TIPOEFF, EF01_TIPOCF_CG44, EF01_INDSTATO_S, EF01_BANCAPRE_SCG12,"
                            " EF01_AGENPRE_SCG13, EF01_INDPRES_S FROM EF01_SCADENZE") +
                 bill.key.where(QStringLiteral("EF01")),
             connection_);
    const auto field = [&](int i) { return now.Fields(i).Value(); };
    if (now.AtEOF())
        throw SuiteError(SuiteError::kWriteConflict, SlipTexts::kTitle, SlipTexts::kGone.arg(bill.named()));
    if (Value::toInt(field(0)) != SlipKinds::billTypeOf(order.kind) || Value::isNull(field(1)) ||
        Value::toInt(field(1)) != 0)
        throw SuiteError(
            SuiteError::kOperationNotAllowed, SlipTexts::kTitle,
            SlipTexts::kNotThisKind.arg(bill.named(), order.kind == SlipKinds::kSdd
                                                          ? QStringLiteral("un RID")
                                                          : QStringLiteral("una ricevuta bancaria")));
    if (Value::toInt(field(2)) != 0)
        throw SuiteError(SuiteError::kWriteConflict, SlipTexts::kTitle, SlipTexts::kClosed.arg(bill.named()));
    const int presentation = Value::toInt(field(5));
    if (!Value::isNull(field(3)) || !Value::isNull(field(4)) || (presentation != 0 && presentation != 1))
        throw SuiteError(
            SuiteError::kWriteConflict, SlipTexts::kTitle,
            SlipTexts::kAlreadyPresented.arg(bill.named(), Value::toText(field(3))).arg(presentation));
    throw SuiteError(SuiteError::kWriteConflict, SlipTexts::kTitle,
                     SlipTexts::kChangedMeanwhile.arg(bill.named(), WriteConflict::kMessage));
}

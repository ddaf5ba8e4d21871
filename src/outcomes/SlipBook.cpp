#include "SlipBook.h"

#include "Connection.h"
#include "ItalianFormat.h"
#include "Recordset.h"
#include "SuiteError.h"
#include "TransactionScope.h"
#include "Value.h"

namespace {

const QString kSlipBookTitle = QStringLiteral("Distinte presentate");

// The join of a movement (alias M) with its Bill (alias E).
const QString kBillJoin = QStringLiteral(
    "E.EF01_DITTA_CG18 = M.EF06_DITTA_CG18 AND E.EF01_NUMREG_CO99 = M.EF06_NUMREG_CO99 AND "
    "E.EF01_RIGACONT_CG42 = M.EF06_RIGACONT_EF01 AND E.EF01_PROGEC_EC01 = M.EF06_PROGEC_EF01 AND "
    "E.EF01_PROGEFF = M.EF06_PROGEFF_EF01");
const QString kSameBill = QStringLiteral(
    "N.EF06_DITTA_CG18 = M.EF06_DITTA_CG18 AND N.EF06_NUMREG_CO99 = M.EF06_NUMREG_CO99 AND "
    "N.EF06_RIGACONT_EF01 = M.EF06_RIGACONT_EF01 AND N.EF06_PROGEC_EF01 = M.EF06_PROGEC_EF01 AND "
    "N.EF06_PROGEFF_EF01 = M.EF06_PROGEFF_EF01");
const QString kSameSlip = QStringLiteral(
    "N.EF06_DITTA_EF09 = M.EF06_DITTA_EF09 AND N.EF06_INDTIPODIST_EF09 = M.EF06_INDTIPODIST_EF09 AND "
    "N.EF06_ANNO_EF09 = M.EF06_ANNO_EF09 AND N.EF06_NUMDIST_EF09 = M.EF06_NUMDIST_EF09");

QString text(Recordset& rs, const char* column) {
    return Value::toText(rs.Fields(QString::fromLatin1(column)).Value()).trimmed();
}
int number(Recordset& rs, const char* column) {
    return Value::toInt(rs.Fields(QString::fromLatin1(column)).Value());
}
QString slipText(int kind, int year, int num) {
    return QStringLiteral("%1,%2,%3").arg(kind).arg(year).arg(num);
}

}  // namespace

SlipBook::SlipBook(std::shared_ptr<Connection> connection) : connection_(std::move(connection)) {}

QList<SlipRow> SlipBook::slips(qint32 company) const {
    // The Bills whose last movement on each slip is an " Insoluto", and those still waiting (a
    // " Presentazione effetti" last: never given an outcome, or brought back by an undo).
    QHash<QString, int> unpaid;
    QHash<QString, int> waiting;
    Recordset counts;
    counts.Open(
        QStringLiteral("SELECT M.EF06_INDTIPODIST_EF09, M.EF06_ANNO_EF09, M.EF06_NUMDIST_EF09, "
                       "M.EF06_INDTIPOPER, COUNT(*) AS N FROM EF06_SCADSTO M WITH (NOLOCK) "
                       "WHERE M.EF06_DITTA_EF09 = %1 AND M.EF06_INDTIPOPER IN (3, 4) "
                       "AND NOT EXISTS (SELECT 1 FROM EF06_SCADSTO N WHERE %2 AND %3 AND N.EF06_INDTIPOPER "
                       "IN (3, 4, 11) AND N.EF06_PROGSTO > M.EF06_PROGSTO) "
                       "GROUP BY M.EF06_INDTIPODIST_EF09, M.EF06_ANNO_EF09, M.EF06_NUMDIST_EF09, "
                       "M.EF06_INDTIPOPER")
            .arg(company)
            .arg(kSameBill, kSameSlip),
        connection_);
    for (; !counts.AtEOF(); counts.MoveNext())
        (number(counts, "EF06_INDTIPOPER") == 4 ? unpaid : waiting)
            .insert(slipText(number(counts, "EF06_INDTIPODIST_EF09"), number(counts, "EF06_ANNO_EF09"),
                             number(counts, "EF06_NUMDIST_EF09")),
                    number(counts, "N"));
    Recordset rs;
    rs.Open(QStringLiteral(
                "SELECT D.EF09_INDTIPODIST, D.EF09_ANNO, D.EF09_NUMDIST, D.EF09_DATACRESUPP, "
                "D.EF09_NUMTOTEFF, D.EF09_IMPTOTEFF, S.KV22_INDSTATO, S.KV22_DATAACCR, S.KV22_MSGIDSEPA, "
                "S.KV22_IDCREDITORE, B.KV25_BANCA_CG12, B.KV25_AGENZIA_CG13, (SELECT MIN(K.EF08_DESCR) FROM "
                "EF08_BANCHEAZ K WITH (NOLOCK) WHERE K.EF08_DITTA_CG18 = D.EF09_DITTA_CG18 AND "
                "K.EF08_BANCA_CG12 = "
                "B.KV25_BANCA_CG12 AND K.EF08_AGENZIA_CG13 = B.KV25_AGENZIA_CG13) AS KV_BANCA_DESCR "
                "FROM EF09_DISTINTE D WITH (NOLOCK) "
                "LEFT JOIN KV22_STATIDIST S ON S.KV22_DITTA_CG18 = D.EF09_DITTA_CG18 "
                "AND S.KV22_INDTIPODIST = D.EF09_INDTIPODIST AND S.KV22_ANNO = D.EF09_ANNO "
                "AND S.KV22_NUMDIST = D.EF09_NUMDIST LEFT JOIN KV25_BANCHEDIST B "
                "ON B.KV25_DITTA_CG18 = D.EF09_DITTA_CG18 AND B.KV25_INDTIPODIST = D.EF09_INDTIPODIST "
                "AND B.KV25_ANNO = D.EF09_ANNO AND B.KV25_NUMDIST = D.EF09_NUMDIST "
                "WHERE D.EF09_DITTA_CG18 = %1 ORDER BY D.EF09_DATACRESUPP DESC, D.EF09_INDTIPODIST, "
                "D.EF09_ANNO DESC, D.EF09_NUMDIST DESC")
                .arg(company),
            connection_);
    QList<SlipRow> rows;
    for (; !rs.AtEOF(); rs.MoveNext()) {
        SlipRow r;
        r.key = {company, number(rs, "EF09_INDTIPODIST"), number(rs, "EF09_ANNO"),
                 number(rs, "EF09_NUMDIST")};
        r.created = Value::toDate(rs.Fields(QStringLiteral("EF09_DATACRESUPP")).Value());
        r.count = number(rs, "EF09_NUMTOTEFF");
        r.total = Value::toDecimal(rs.Fields(QStringLiteral("EF09_IMPTOTEFF")).Value());
        r.state = SlipState(number(rs, "KV22_INDSTATO"));
        r.credited = Value::toDate(rs.Fields(QStringLiteral("KV22_DATAACCR")).Value());
        r.sepaMessageId = text(rs, "KV22_MSGIDSEPA");
        r.creditorId = text(rs, "KV22_IDCREDITORE");
        const QString k = slipText(r.key.kind, r.key.year, r.key.number);
        r.unpaid = unpaid.value(k);
        // A closed slip one of whose outcomes was undone in the bill form waits again.
        if (r.state == SlipState::Closed && waiting.value(k) > 0)
            r.state = r.credited.isValid() ? SlipState::Credited : SlipState::Presented;
        // The company's own name for the bank, as the slip dialog showed it; ABI and CAB beside it
        // tell two accounts of the same name apart, and stand alone once the bank left the archive.
        if (!text(rs, "KV25_BANCA_CG12").isEmpty()) {
            r.bank = QStringLiteral("%1 %2")
                         .arg(number(rs, "KV25_BANCA_CG12"), 5, 10, QLatin1Char('0'))
                         .arg(number(rs, "KV25_AGENZIA_CG13"), 5, 10, QLatin1Char('0'));
            const QString name = text(rs, "KV_BANCA_DESCR");
            if (!name.isEmpty()) r.bank = name + QStringLiteral(" (") + r.bank + QLatin1Char(')');
        }
        rows << r;
    }
    return rows;
}

SlipRow SlipBook::slip(const SlipKey& key) const {
    for (const SlipRow& r : slips(key.company))
        if (r.key.kind == key.kind && r.key.year == key.year && r.key.number == key.number) return r;
    throw SuiteError(SuiteError::kItemNotFound, kSlipBookTitle,
                     QStringLiteral("La distinta %1 non è in archivio.").arg(key.shown()));
}

QList<PresentedBill> SlipBook::bills(const SlipKey& key) const {
    Recordset rs;
    rs.Open(QStringLiteral(
                "SELECT E.EF01_DITTA_CG18, E.EF01_NUMREG_CO99, E.EF01_RIGACONT_CG42, E.EF01_PROGEC_EC01, "
                "E.EF01_PROGEFF, E.EF01_NUMEFF, E.EF01_CLIFOR_CG44, E.EF01_SCADE_S, E.EF01_IMPEFF_S, "
                "E.EF01_INDSTATO_S, M.EF06_INDTIPOPER, "
                "(SELECT MAX(N.EF06_PROGSTO) FROM EF06_SCADSTO N WHERE %1) AS ULTIMO "
                "FROM EF06_SCADSTO M WITH (NOLOCK) INNER JOIN EF01_SCADENZE E WITH (NOLOCK) ON %2 "
                "WHERE %3 AND M.EF06_INDTIPOPER IN (3, 4, 11) "
                "ORDER BY E.EF01_SCADE_S, E.EF01_NUMREG_CO99, E.EF01_PROGEFF, M.EF06_PROGSTO")
                .arg(kSameBill, kBillJoin, key.link(QStringLiteral("M"))),
            connection_);
    QList<PresentedBill> bills;
    QHash<QString, qsizetype> at;
    for (; !rs.AtEOF(); rs.MoveNext()) {
        const QString k = QStringList{text(rs, "EF01_DITTA_CG18"), text(rs, "EF01_NUMREG_CO99"),
                                      text(rs, "EF01_RIGACONT_CG42"), text(rs, "EF01_PROGEC_EC01"),
                                      text(rs, "EF01_PROGEFF")}
                              .join(QLatin1Char(','));
        if (!at.contains(k)) {
            PresentedBill b;
            b.key = k;
            b.number = number(rs, "EF01_NUMEFF");
            b.customer = text(rs, "EF01_CLIFOR_CG44");
            b.due = Value::toDate(rs.Fields(QStringLiteral("EF01_SCADE_S")).Value());
            b.amount = Value::toDecimal(rs.Fields(QStringLiteral("EF01_IMPEFF_S")).Value());
            b.closed = number(rs, "EF01_INDSTATO_S") == 1;
            b.lastProgressive = number(rs, "ULTIMO");
            at.insert(k, bills.size());
            bills << b;
        }
        // Movements come in order: the last one on the slip tells the Bill's outcome.
        const int type = number(rs, "EF06_INDTIPOPER");
        bills[at.value(k)].outcome = type == 11  ? BillOutcome::Paid
                                     : type == 4 ? BillOutcome::Unpaid
                                                 : BillOutcome::Presented;
    }
    return bills;
}

QHash<QString, int> SlipBook::seen(const QList<PresentedBill>& bills) {
    QHash<QString, int> seen;
    for (const PresentedBill& b : bills) seen.insert(b.key, b.lastProgressive);
    return seen;
}

std::shared_ptr<Recordset> SlipBook::stateRow(const SlipKey& key) const {
    auto rs = std::make_shared<Recordset>();
    rs->Open(QStringLiteral("SELECT * FROM KV22_STATIDIST") + key.where(QStringLiteral("KV22_")),
             connection_);
    if (rs->AtEOF()) {
        rs->AddNew();
        rs->Fields(QStringLiteral("KV22_DITTA_CG18")).setValue(key.company);
        rs->Fields(QStringLiteral("KV22_INDTIPODIST")).setValue(key.kind);
        rs->Fields(QStringLiteral("KV22_ANNO")).setValue(key.year);
        rs->Fields(QStringLiteral("KV22_NUMDIST")).setValue(key.number);
        rs->Fields(QStringLiteral("KV22_INDSTATO")).setValue(int(SlipState::Presented));
    } else {
        rs->HoldCurrentRow();
    }
    return rs;
}

void SlipBook::credit(const SlipKey& key, const QDate& date) const {
    const SlipRow row = slip(key);
    if (!date.isValid())
        throw SuiteError(SuiteError::kTypeMismatch, kSlipBookTitle,
                         QStringLiteral("Indicare una data di accredito valida."));
    if (row.created.isValid() && date < row.created)
        throw SuiteError(SuiteError::kOperationNotAllowed, kSlipBookTitle,
                         QStringLiteral("La distinta %1 è del %2: l'accredito non può essere del %3.")
                             .arg(key.shown(), ItalianFormat::date(row.created), ItalianFormat::date(date)));
    TransactionScope transaction(*connection_);
    auto rs = stateRow(key);
    if (!Value::isNull(rs->Fields(QStringLiteral("KV22_DATAACCR")).Value()))
        throw SuiteError(SuiteError::kOperationNotAllowed, kSlipBookTitle,
                         QStringLiteral("La distinta %1 è già stata accreditata il %2.")
                             .arg(key.shown(), ItalianFormat::date(Value::toDate(
                                                   rs->Fields(QStringLiteral("KV22_DATAACCR")).Value()))));
    rs->Fields(QStringLiteral("KV22_DATAACCR")).setValue(date);
    if (Value::toInt(rs->Fields(QStringLiteral("KV22_INDSTATO")).Value()) == int(SlipState::Presented))
        rs->Fields(QStringLiteral("KV22_INDSTATO")).setValue(int(SlipState::Credited));
    rs->Update();
    rs->UpdateBatch();
    transaction.commit();
}

void SlipBook::recordSepaFile(const SlipKey& key, const QString& messageId, const QString& creditorId) const {
    slip(key);
    TransactionScope transaction(*connection_);
    auto rs = stateRow(key);
    rs->Fields(QStringLiteral("KV22_MSGIDSEPA")).setValue(messageId.trimmed());
    rs->Fields(QStringLiteral("KV22_IDCREDITORE")).setValue(creditorId.trimmed());
    rs->Update();
    rs->UpdateBatch();
    transaction.commit();
}

void SlipBook::refreshState(const SlipKey& key, const QDate& date) const {
    bool pending = false;
    for (const PresentedBill& b : bills(key)) pending = pending || b.outcome == BillOutcome::Presented;
    auto rs = stateRow(key);
    const bool closed =
        Value::toInt(rs->Fields(QStringLiteral("KV22_INDSTATO")).Value()) == int(SlipState::Closed);
    if (pending == !closed && rs->EditMode() == 0) return;
    if (!pending) {
        rs->Fields(QStringLiteral("KV22_INDSTATO")).setValue(int(SlipState::Closed));
        rs->Fields(QStringLiteral("KV22_DATACHIUS")).setValue(date);
    } else {
        // A Bill brought back by the undo of its outcome opens the slip again.
        const bool credited = !Value::isNull(rs->Fields(QStringLiteral("KV22_DATAACCR")).Value());
        rs->Fields(QStringLiteral("KV22_INDSTATO"))
            .setValue(int(credited ? SlipState::Credited : SlipState::Presented));
        rs->Fields(QStringLiteral("KV22_DATACHIUS")).setValue(QVariant());
    }
    rs->Update();
    rs->UpdateBatch();
}

QString SlipBook::stateName(SlipState state) {
    switch (state) {
        case SlipState::Credited:
            return QStringLiteral("Accreditata");
        case SlipState::Closed:
            return QStringLiteral("Chiusa");
        case SlipState::Presented:
            break;
    }
    return QStringLiteral("Presentata");
}

QString SlipBook::outcomeName(BillOutcome outcome) {
    switch (outcome) {
        case BillOutcome::Paid:
            return QStringLiteral("Pagato");
        case BillOutcome::Unpaid:
            return QStringLiteral("Insoluto");
        case BillOutcome::Presented:
            break;
    }
    return QStringLiteral("Presentato");
}

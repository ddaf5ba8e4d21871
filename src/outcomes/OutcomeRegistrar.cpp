#include "OutcomeRegistrar.h"

#include "BillKey.h"
#include "Connection.h"
#include "DatabaseHistoryWriter.h"
#include "ItalianFormat.h"
#include "LetterArchive.h"
#include "Recordset.h"
#include "ReminderRow.h"
#include "SlipBook.h"
#include "SqlText.h"
#include "SuiteError.h"
#include "TransactionScope.h"
#include "Value.h"
#include "WriteConflict.h"

namespace {

const QString kOutcomeRegistrarTitle = QStringLiteral("Esiti delle distinte");
constexpr int kUnpaid = 4;
constexpr int kPaidAtMaturity = 11;
// EF01_INDGENSTATO_S: what brought the Bill to its state.
constexpr int kCollected = 1;
constexpr int kUnpaidOperation = 3;

[[noreturn]] void refuseOutcome(const QString& why) {
    throw SuiteError(SuiteError::kOperationNotAllowed, kOutcomeRegistrarTitle, why);
}

// The largest amount the charge columns hold: 16 digits before the decimal point.
const Decimal kMostCharges = Decimal::fromString(QStringLiteral("9999999999999999.99"));

void checkCharges(const Decimal& value, const QString& field) {
    if (value < Decimal::fromMantissa(0, 2))
        throw SuiteError(SuiteError::kTypeMismatch, kOutcomeRegistrarTitle,
                         QStringLiteral("%1: l'importo non può essere negativo.").arg(field));
    if (value.scale() > 2 && value != Decimal::divide(value, Decimal::fromMantissa(1, 0), 2))
        throw SuiteError(SuiteError::kTypeMismatch, kOutcomeRegistrarTitle,
                         QStringLiteral("%1: al massimo due decimali.").arg(field));
    if (value > kMostCharges)
        throw SuiteError(SuiteError::kTypeMismatch, kOutcomeRegistrarTitle,
                         QStringLiteral("%1: importo troppo grande.").arg(field));
}

}  // namespace

struct OutcomeRegistrar::Held {
    BillKey key;
    QString keyText;
    QString which;  // "L'effetto n. 12 (registrazione 2026/00045)"
    std::shared_ptr<Recordset> bill;
    SlipKey slip;
    int lastProgressive = 0;
    int slipOutcome = 0;  // the last of its movements on the slip: 3, 4 or 11
};

OutcomeRegistrar::OutcomeRegistrar(std::shared_ptr<Connection> connection, QHash<QString, int> seen)
    : connection_(std::move(connection)), seen_(std::move(seen)) {}

OutcomeRegistrar::Held OutcomeRegistrar::hold(const SlipKey& slip, const QString& bill) const {
    Held held;
    held.key = BillKey::parse(bill, kOutcomeRegistrarTitle);
    held.keyText = bill.trimmed();
    held.slip = slip;
    held.bill = std::make_shared<Recordset>();
    held.bill->Open(QStringLiteral("SELECT * FROM EF01_SCADENZE") + held.key.where(QStringLiteral("EF01")),
                    connection_);
    if (held.bill->AtEOF())
        throw SuiteError(
            SuiteError::kWriteConflict, kOutcomeRegistrarTitle,
            QStringLiteral("L'effetto %1 non è in archivio: forse un altro utente l'ha eliminato.")
                .arg(held.keyText));
    held.bill->HoldCurrentRow();
    held.which = QStringLiteral("L'effetto n. %1 (registrazione %2)")
                     .arg(Value::toInt(held.bill->Fields(QStringLiteral("EF01_NUMEFF")).Value()))
                     .arg(held.key.registration);
    Recordset last;
    last.Open(QStringLiteral("SELECT MAX(EF06_PROGSTO) AS ULTIMO FROM EF06_SCADSTO") +
                  held.key.where(QStringLiteral("EF06")),
              connection_);
    held.lastProgressive = Value::toInt(last.Fields(0).Value());
    if (seen_.contains(held.keyText) && seen_.value(held.keyText) != held.lastProgressive)
        throw SuiteError(SuiteError::kWriteConflict, WriteConflict::kTitle,
                         held.which + QStringLiteral(":\r\n") + WriteConflict::kMessage);
    Recordset onSlip;
    onSlip.Open(QStringLiteral("SELECT EF06_INDTIPOPER FROM EF06_SCADSTO") +
                    held.key.where(QStringLiteral("EF06")) + QStringLiteral(" AND ") + slip.link() +
                    QStringLiteral(" AND EF06_INDTIPOPER IN (3, 4, 11) ORDER BY EF06_PROGSTO DESC"),
                connection_);
    if (onSlip.AtEOF())
        refuseOutcome(held.which +
                      QStringLiteral(" non è stato presentato nella distinta %1.").arg(slip.shown()));
    held.slipOutcome = Value::toInt(onSlip.Fields(0).Value());
    return held;
}

void OutcomeRegistrar::write(Held& held, int type, const QDate& date, const QHash<QString, QVariant>& changes,
                             QHash<QString, QVariant> movementColumns) const {
    movementColumns.insert(QStringLiteral("EF06_DITTA_EF09"), held.slip.company);
    movementColumns.insert(QStringLiteral("EF06_INDTIPODIST_EF09"), held.slip.kind);
    movementColumns.insert(QStringLiteral("EF06_ANNO_EF09"), held.slip.year);
    movementColumns.insert(QStringLiteral("EF06_NUMDIST_EF09"), held.slip.number);
    auto movement = std::make_shared<HistoryMovement>();
    movement->connection = connection_;
    movement->bill = held.bill;
    movement->progressive = held.lastProgressive + 1;
    movement->date = QDateTime(date, QTime(0, 0));
    movement->type = type;
    movement->columns = std::move(movementColumns);
    DatabaseHistoryWriter writer;
    writer.setMovement(movement);
    if (writer.Prepare() != 0)
        throw SuiteError(writer.LastErrorNumber(), kOutcomeRegistrarTitle, writer.LastError());
    for (auto it = changes.constBegin(); it != changes.constEnd(); ++it)
        held.bill->Fields(it.key()).setValue(it.value());
    held.bill->Update();
    held.bill->UpdateBatch();
    if (writer.Write() != 0)
        throw SuiteError(writer.LastErrorNumber(), kOutcomeRegistrarTitle, writer.LastError());
    ++held.lastProgressive;
}

int OutcomeRegistrar::pay(const SlipKey& slip, const QStringList& bills, const QDate& date) const {
    if (!date.isValid()) refuseOutcome(QStringLiteral("Indicare una data di incasso valida (gg/mm/aaaa)."));
    QStringList chosen = bills;
    if (chosen.isEmpty())
        for (const PresentedBill& b : SlipBook(connection_).bills(slip))
            if (b.outcome == BillOutcome::Presented && !b.closed) chosen << b.key;
    if (chosen.isEmpty())
        refuseOutcome(QStringLiteral("La distinta %1 non ha effetti da incassare.").arg(slip.shown()));
    TransactionScope transaction(*connection_);
    for (const QString& bill : chosen) {
        Held held = hold(slip, bill);
        if (held.slipOutcome == kPaidAtMaturity)
            refuseOutcome(held.which + QStringLiteral(" è già stato incassato."));
        if (held.slipOutcome == kUnpaid)
            refuseOutcome(held.which +
                          QStringLiteral(" è stato registrato come insoluto: non può essere incassato."));
        if (Value::toInt(held.bill->Fields(QStringLiteral("EF01_INDSTATO_S")).Value()) == 1)
            refuseOutcome(held.which + QStringLiteral(" è già chiuso."));
        const QDate due = Value::toDate(held.bill->Fields(QStringLiteral("EF01_SCADE_S")).Value());
        if (due > date)
            refuseOutcome(held.which + QStringLiteral(" scade il %1: non può essere incassato il %2.")
                                           .arg(ItalianFormat::date(due), ItalianFormat::date(date)));
        write(
            held, kPaidAtMaturity, date,
            {{QStringLiteral("EF01_INDSTATO_S"), 1},
             {QStringLiteral("EF01_INDGENSTATO_S"), kCollected},
             {QStringLiteral("EF01_FLGINCASSOBF_S"), 1}},
            {{QStringLiteral("EF06_IMPMOVPAG"), held.bill->Fields(QStringLiteral("EF01_IMPEFF_S")).Value()}});
    }
    SlipBook(connection_).refreshState(slip, date);
    transaction.commit();
    return int(chosen.size());
}

void OutcomeRegistrar::validate(const UnpaidRequest& request) {
    if (!request.date.isValid())
        throw SuiteError(SuiteError::kTypeMismatch, kOutcomeRegistrarTitle,
                         QStringLiteral("Indicare una data di insoluto valida (gg/mm/aaaa)."));
    if (request.chargesMode < 0 || request.chargesMode > 3)
        throw SuiteError(SuiteError::kTypeMismatch, kOutcomeRegistrarTitle,
                         QStringLiteral("Modalità di gestione delle spese di ritorno non valida: da 0 a 3."));
    checkCharges(request.bankCharges, QStringLiteral("Spese addebitate dalla banca"));
    if (request.customerCharges) {
        checkCharges(*request.customerCharges, QStringLiteral("Spese a carico del cliente"));
        if (request.chargesMode == 0 && *request.customerCharges != Decimal::fromMantissa(0, 2))
            throw SuiteError(
                SuiteError::kOperationNotAllowed, kOutcomeRegistrarTitle,
                QStringLiteral("Con \"Nessun addebito\" non si mettono spese a carico del cliente: "
                               "scegliere come gestire le spese di ritorno."));
    }
}

void OutcomeRegistrar::unpaid(const QList<UnpaidRequest>& requests) const {
    for (const UnpaidRequest& r : requests) validate(r);
    if (requests.isEmpty()) return;
    TransactionScope transaction(*connection_);
    QList<SlipKey> slips;
    for (const UnpaidRequest& r : requests) {
        unpaidOne(r);
        const bool known = std::any_of(slips.begin(), slips.end(), [&r](const SlipKey& s) {
            return s.kind == r.slip.kind && s.year == r.slip.year && s.number == r.slip.number;
        });
        if (!known) slips << r.slip;
    }
    for (const SlipKey& slip : slips) SlipBook(connection_).refreshState(slip, requests.first().date);
    transaction.commit();
}

void OutcomeRegistrar::unpaidOne(const UnpaidRequest& request) const {
    Held held = hold(request.slip, request.bill);
    // A Bill collected with this slip may still come back (a direct debit returned after it was
    // settled); one closed otherwise is no longer the bank's.
    if (Value::toInt(held.bill->Fields(QStringLiteral("EF01_INDSTATO_S")).Value()) == 1 &&
        held.slipOutcome != kPaidAtMaturity)
        refuseOutcome(
            held.which +
            QStringLiteral(" è chiuso: l'insoluto si registra solo su un effetto aperto o incassato con la "
                           "distinta."));
    if (held.slipOutcome == kUnpaid)
        refuseOutcome(held.which + QStringLiteral(" è già registrato come insoluto."));
    const QVariant none;
    const QVariant customer = request.customerCharges ? QVariant::fromValue(*request.customerCharges) : none;
    // Back to the clerk: open, not presented, ready for a new slip.
    write(held, kUnpaid, request.date,
          {{QStringLiteral("EF01_INDSTATO_S"), 0},
           {QStringLiteral("EF01_INDGENSTATO_S"), kUnpaidOperation},
           {QStringLiteral("EF01_INDSPERIT_S"), request.chargesMode},
           {QStringLiteral("EF01_SPESERITBAN_S"), QVariant::fromValue(request.bankCharges)},
           {QStringLiteral("EF01_SPESERIT_S"), customer},
           {QStringLiteral("EF01_BANCAPRE_SCG12"), none},
           {QStringLiteral("EF01_AGENPRE_SCG13"), none},
           {QStringLiteral("EF01_INDPRES_S"), 0},
           {QStringLiteral("EF01_FLGINCASSOBF_S"), 0}},
          {});
    // Why it came back, kept by the movement's progressive (an undone movement's number is reused).
    const QString where =
        QStringLiteral(
            " WHERE KV24_DITTA_CG18 = %1 AND KV24_NUMREG_CO99 = %2 AND KV24_RIGACONT_EF01 = %3"
            " AND KV24_PROGEC_EF01 = %4 AND KV24_PROGEFF_EF01 = %5 AND KV24_PROGSTO = %6")
            .arg(held.key.company)
            .arg(SqlText::quote(held.key.registration))
            .arg(held.key.row)
            .arg(held.key.statement)
            .arg(held.key.progressive)
            .arg(held.lastProgressive);
    connection_->Execute(QStringLiteral("DELETE FROM KV24_INSOLUTI") + where);
    Recordset reason;
    reason.Open(QStringLiteral("SELECT * FROM KV24_INSOLUTI WHERE 0=1"), connection_);
    reason.AddNew();
    const QList<std::pair<const char*, QVariant>> values = {
        {"KV24_DITTA_CG18", held.key.company},
        {"KV24_NUMREG_CO99", held.key.registration},
        {"KV24_RIGACONT_EF01", held.key.row},
        {"KV24_PROGEC_EF01", held.key.statement},
        {"KV24_PROGEFF_EF01", held.key.progressive},
        {"KV24_PROGSTO", held.lastProgressive},
        {"KV24_CAUSALE_KV23", request.reason.isEmpty() ? none : QVariant(request.reason)},
        {"KV24_MSGIDESITO", request.reportId.isEmpty() ? none : QVariant(request.reportId)}};
    for (const auto& [column, value] : values) reason.Fields(QString::fromLatin1(column)).setValue(value);
    reason.Update();
    reason.UpdateBatch();
    if (request.reminder) addReminder(held, request);
}

void OutcomeRegistrar::addReminder(const Held& held, const UnpaidRequest& request) const {
    const LetterArchive archive(*connection_, held.key.company);
    if (archive.isEmpty())
        refuseOutcome(QStringLiteral("L'archivio delle lettere non ha lettere di sollecito: ") + held.which +
                      QStringLiteral(" non può essere sollecitato."));
    ReminderRow row;
    row.letterCode = archive.ladder().first();
    row.date = request.date;
    row.returnCharges = request.customerCharges.value_or(row.returnCharges);
    row.movement = held.lastProgressive;
    row.add(connection_, held.key);
}

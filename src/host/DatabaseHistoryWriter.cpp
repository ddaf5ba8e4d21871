#include "DatabaseHistoryWriter.h"

#include "BulkInserter.h"
#include "Connection.h"
#include "HistorySnapshot.h"
#include "Recordset.h"
#include "SuiteError.h"
#include "Value.h"

#include <functional>
#include <vector>

namespace {
// The movement's Bill key columns and the header columns they come from.
const std::pair<const char*, const char*> kKey[] = {{"EF06_DITTA_CG18", "EF01_DITTA_CG18"},
                                                    {"EF06_NUMREG_CO99", "EF01_NUMREG_CO99"},
                                                    {"EF06_RIGACONT_EF01", "EF01_RIGACONT_CG42"},
                                                    {"EF06_PROGEC_EF01", "EF01_PROGEC_EC01"},
                                                    {"EF06_PROGEFF_EF01", "EF01_PROGEFF"}};
// Bills whose snapshots one query reads: few statements, each of a size the engines plan quickly.
constexpr int kBillsPerRead = 200;

const QString kDatabaseHistoryWriterSource = QStringLiteral("Storico");

QString keyText(const BillKey& k) {
    return QStringLiteral("%1|%2|%3|%4|%5")
        .arg(k.company)
        .arg(k.registration)
        .arg(k.row)
        .arg(k.statement)
        .arg(k.progressive);
}

// A Bill as stored: its snapshot columns (in HistorySnapshot's order) and the last progressive
// of its history (0: none).
struct Stored {
    QVector<QVariant> snapshot;
    int lastProgressive = 0;
};

// The stored Bills among `bills`, by keyText; a Bill that is gone is not there.
QHash<QString, Stored> readStored(Connection& connection, const QList<BillKey>& bills) {
    QStringList columns;
    for (const auto& [movementColumn, billColumn] : kKey) columns << QString::fromLatin1(billColumn);
    for (const HistorySnapshot::Pair& p : HistorySnapshot::columns()) columns << QString::fromLatin1(p.bill);
    QStringList sameBill;
    for (const auto& [movementColumn, billColumn] : kKey)
        sameBill << QString::fromLatin1(movementColumn) + QStringLiteral(" = ") +
                        QString::fromLatin1(billColumn);
    columns << QStringLiteral("(SELECT MAX(EF06_PROGSTO) FROM EF06_SCADSTO WHERE %1)")
                   .arg(sameBill.join(QStringLiteral(" AND ")));
    QStringList anyOf;
    // BillKey::where answers " WHERE condition": the condition alone is put among the others.
    for (const BillKey& k : bills)
        anyOf << QLatin1Char('(') + k.where(QStringLiteral("EF01")).sliced(7) + QLatin1Char(')');
    const std::vector<ResultSet> found =
        connection.Query(QStringLiteral("SELECT %1 FROM EF01_SCADENZE WHERE %2")
                             .arg(columns.join(QStringLiteral(", ")), anyOf.join(QStringLiteral(" OR "))));
    QHash<QString, Stored> stored;
    const qsizetype snapshotColumns = HistorySnapshot::columns().size();
    for (const QVector<QVariant>& row : found.front().rows) {
        const BillKey key{Value::toInt(row[0]), Value::toText(row[1]), Value::toInt(row[2]),
                          Value::toInt(row[3]), Value::toInt(row[4])};
        stored.insert(keyText(key), {row.mid(5, snapshotColumns), Value::toInt(row[5 + snapshotColumns])});
    }
    return stored;
}

// The movement's row: the Bill's key, its snapshot, the movement's own data and columns over it.
void fill(const std::function<void(const QString&, const QVariant&)>& put, const BillKey& bill,
          const Stored& stored, const HistoryMovement& movement) {
    const QVariant key[] = {bill.company, bill.registration, bill.row, bill.statement, bill.progressive};
    for (int i = 0; i < 5; ++i) put(QString::fromLatin1(kKey[i].first), key[i]);
    const QList<HistorySnapshot::Pair>& pairs = HistorySnapshot::columns();
    for (qsizetype i = 0; i < pairs.size(); ++i)
        put(QString::fromLatin1(pairs[i].movement), stored.snapshot[i]);
    put(QStringLiteral("EF06_PROGSTO"), movement.progressive);
    put(QStringLiteral("EF06_INDTIPOPER"), movement.type);
    put(QStringLiteral("EF06_DATAREG"), movement.date.date());
    for (auto it = movement.columns.constBegin(); it != movement.columns.constEnd(); ++it)
        put(it.key(), it.value());
}

}  // namespace

int DatabaseHistoryWriter::Prepare() {
    row_.clear();
    try {
        if (!movement_ || !movement_->connection || !movement_->bill)
            throw SuiteError(SuiteError::kOperationNotAllowed, kDatabaseHistoryWriterSource,
                             QStringLiteral("Movimento di storico senza effetto o connessione."));
        Recordset& bill = *movement_->bill;
        const auto field = [&](int i) { return bill.Fields(QString::fromLatin1(kKey[i].second)).Value(); };
        const BillKey key{Value::toInt(field(0)), Value::toText(field(1)), Value::toInt(field(2)),
                          Value::toInt(field(3)), Value::toInt(field(4))};
        const QHash<QString, Stored> stored = readStored(*movement_->connection, {key});
        if (stored.isEmpty())
            throw SuiteError(SuiteError::kOperationNotAllowed, kDatabaseHistoryWriterSource,
                             QStringLiteral("L'effetto non è più in archivio."));
        fill([this](const QString& column, const QVariant& value) { row_.insert(column, value); }, key,
             stored.begin().value(), *movement_);
        return 0;
    } catch (const SuiteError& e) {
        lastError_ = e.description();
        lastNumber_ = e.number();
        row_.clear();
        return 1;
    }
}

int DatabaseHistoryWriter::Write() {
    try {
        if (row_.isEmpty())
            throw SuiteError(SuiteError::kOperationNotAllowed, kDatabaseHistoryWriterSource,
                             QStringLiteral("Movimento di storico non preparato."));
        if (!target_) {
            target_ = std::make_shared<Recordset>();
            target_->Open(QStringLiteral("SELECT * FROM EF06_SCADSTO WHERE 0=1"), movement_->connection);
        }
        target_->AddNew();
        for (auto it = row_.constBegin(); it != row_.constEnd(); ++it)
            target_->Fields(it.key()).setValue(it.value());
        target_->UpdateBatch(Recordset::AffectCurrent);
        return 0;
    } catch (const SuiteError& e) {
        lastError_ = e.description();
        lastNumber_ = e.number();
        return 1;
    }
}

int DatabaseHistoryWriter::writeAll(Connection& connection, const QList<BillKey>& bills,
                                    const QList<HistoryMovement>& movements) {
    const TableDef* table =
        connection.catalogue() ? connection.catalogue()->table(QStringLiteral("EF06_SCADSTO")) : nullptr;
    if (!table)
        throw SuiteError(SuiteError::kOperationNotAllowed, kDatabaseHistoryWriterSource,
                         QStringLiteral("La connessione non conosce la tabella dello storico."));
    BulkInserter inserter(connection, *table);
    std::vector<BulkInserter::Row> rows;
    rows.reserve(size_t(bills.size()));
    for (qsizetype from = 0; from < bills.size(); from += kBillsPerRead) {
        const QHash<QString, Stored> stored = readStored(connection, bills.mid(from, kBillsPerRead));
        for (qsizetype i = from; i < std::min(from + kBillsPerRead, bills.size()); ++i) {
            const auto it = stored.constFind(keyText(bills[i]));
            if (it == stored.constEnd() || it->lastProgressive >= movements[i].progressive) return int(i);
            BulkInserter::Row& row = rows.emplace_back(inserter.newRow());
            fill([&row](const QString& column, const QVariant& value) { row.set(column, value); }, bills[i],
                 it.value(), movements[i]);
        }
    }
    for (const BulkInserter::Row& row : rows) inserter.insert(row);
    inserter.flush();
    return -1;
}

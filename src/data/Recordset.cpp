#include "Recordset.h"

#include "BatchWriter.h"
#include "ColumnRule.h"
#include "PagedRows.h"
#include "SuiteError.h"
#include "TransactionScope.h"
#include "Value.h"

#include <algorithm>

struct Recordset::Shared {
    std::vector<ResultColumn> columns;
    QHash<QString, int> index;  // upper-case name -> first column of that name
    std::unique_ptr<RowSource> rows = std::make_unique<LoadedRows>();
    PagedRows* paged = nullptr;  // rows, when they are read page by page
    quint64 version = 1;         // bumped whenever rows appear, leave or change status
    QString sql;
    Origin origin = Origin::Program;
    std::weak_ptr<Connection> connection;
    const TableDef* baseTable = nullptr;
    std::vector<int> keyColumns;
};

namespace {

const QString kRecordsetSource = QStringLiteral("Recordset");

[[noreturn]] void noCurrentRecord() {
    throw SuiteError(SuiteError::kNoCurrentRecord, kRecordsetSource,
                     QStringLiteral("BOF o EOF è True, oppure il record corrente è stato eliminato. "
                                    "L'operazione richiesta richiede un record corrente."));
}

[[noreturn]] void notAllowed(const QString& why) {
    throw SuiteError(SuiteError::kOperationNotAllowed, kRecordsetSource, why);
}

}  // namespace

Recordset::Recordset() = default;
Recordset::~Recordset() = default;

std::vector<ResultSet> Recordset::run(Connection& connection, const QString& sql, Origin origin) {
    return origin == Origin::CallerText ? connection.QueryReadOnly(sql) : connection.Query(sql);
}

void Recordset::Open(const QString& sql, const std::shared_ptr<Connection>& connection, Origin origin) {
    if (!connection) notAllowed(QStringLiteral("Nessuna connessione per aprire il recordset."));
    Close();
    std::vector<ResultSet> results = run(*connection, sql, origin);
    if (results.empty()) return;  // a batch without rows: the recordset stays closed
    adopt(std::move(results.front()), connection, sql, origin);
    if (results.size() > 1) {
        moreResults_ = std::make_shared<std::deque<ResultSet>>();
        for (size_t i = 1; i < results.size(); ++i) moreResults_->push_back(std::move(results[i]));
    }
}

void Recordset::OpenPaged(const QString& select, const QString& order,
                          const std::shared_ptr<Connection>& connection, int pageSize) {
    if (!connection) notAllowed(QStringLiteral("Nessuna connessione per aprire il recordset."));
    const QString whole =
        order.trimmed().isEmpty() ? select : select + QStringLiteral("\r\n ORDER BY ") + order;
    const std::optional<std::vector<OrderColumn>> parsed = parseOrder(order);
    if (!parsed) return Open(whole, connection, Origin::CallerText);
    Close();
    // The result's columns, without a row: which table's key makes the order unique.
    std::vector<ResultSet> probe = connection->QueryReadOnly(connection->dialect().limited(
        QStringLiteral("SELECT * FROM (\r\n") + select + QStringLiteral("\r\n) KVPAGE"), 0));
    if (probe.empty()) return Open(whole, connection, Origin::CallerText);
    probe.front().rows.clear();
    adopt(std::move(probe.front()), connection, whole, Origin::CallerText);
    Shared& s = *shared_;
    PagedRows::Definition def;
    def.select = select;
    def.columns = s.columns;
    def.pageSize = std::max(2, pageSize);
    def.keyColumns = s.keyColumns;
    bool pageable = s.baseTable != nullptr;
    for (const OrderColumn& c : *parsed) {
        const int at = s.index.value(c.name, -1);
        // A null sorts first on one engine and last on another: only columns that never hold one.
        if (at < 0 || !s.columns[size_t(at)].owner || s.columns[size_t(at)].nullable) pageable = false;
        if (!pageable) break;
        if (std::find(def.orderColumn.begin(), def.orderColumn.end(), at) != def.orderColumn.end()) continue;
        def.order.push_back(c);
        def.orderColumn.push_back(at);
    }
    if (!pageable) return Open(whole, connection, Origin::CallerText);
    for (int key : s.keyColumns) {
        if (std::find(def.orderColumn.begin(), def.orderColumn.end(), key) != def.orderColumn.end()) continue;
        def.order.push_back({s.columns[size_t(key)].name.toUpper(), false});
        def.orderColumn.push_back(key);
    }
    auto paged = std::make_unique<PagedRows>(std::move(def), connection);
    paged->loadFirst();
    s.paged = paged.get();
    s.rows = std::move(paged);
    ++s.version;
    current_ = -1;
    pos_ = -1;
    moveTo(0);
}

bool Recordset::IsPaged() const {
    return shared_ && shared_->paged;
}

bool Recordset::extendAfter() {
    if (!shared_->paged || !shared_->paged->moreAfter()) return false;
    const bool read = shared_->paged->fetchAfter(current_) > 0;
    ++shared_->version;
    syncView();
    return read;
}

bool Recordset::extendBefore() {
    if (!shared_->paged || !shared_->paged->moreBefore()) return false;
    const bool read = shared_->paged->fetchBefore(current_) > 0;
    ++shared_->version;
    syncView();
    return read;
}

// After the window was replaced: stands on that row (an index), or before the first when -1.
void Recordset::standOn(int rowIndex) {
    ++shared_->version;
    current_ = -1;
    pos_ = -1;
    onDeletedRow_ = false;
    syncView();
    const auto found = std::find(view_.begin(), view_.end(), rowIndex);
    moveTo(found == view_.end() ? 0 : int(found - view_.begin()));
}

void Recordset::adopt(ResultSet result, const std::shared_ptr<Connection>& connection, const QString& sql,
                      Origin origin) {
    shared_ = std::make_shared<Shared>();
    Shared& s = *shared_;
    s.columns = std::move(result.columns);
    s.sql = sql;
    s.origin = origin;
    s.connection = connection;
    for (int i = 0; i < int(s.columns.size()); ++i) {
        const QString key = s.columns[size_t(i)].name.toUpper();
        if (!s.index.contains(key)) s.index.insert(key, i);
    }
    // The base table: the first catalogued table whose whole key is in the result.
    for (const ResultColumn& c : s.columns) {
        if (!c.owner || c.owner->isView || c.owner->primaryKey.isEmpty()) continue;
        std::vector<int> keys;
        for (const QString& k : c.owner->primaryKey) {
            const int at = s.index.value(k.toUpper(), -1);
            if (at < 0 || s.columns[size_t(at)].owner != c.owner) break;
            keys.push_back(at);
        }
        if (keys.size() == size_t(c.owner->primaryKey.size())) {
            s.baseTable = c.owner;
            s.keyColumns = std::move(keys);
            break;
        }
    }
    std::vector<Row> rows;
    rows.reserve(result.rows.size());
    for (auto& values : result.rows)
        rows.push_back(Row{std::move(values), {}, RowStatus::Unmodified, false, false});
    s.rows->replaceAll(std::move(rows));
    viewVersion_ = 0;
    current_ = -1;
    pos_ = -1;
    moveTo(0);
}

void Recordset::Close() {
    shared_.reset();
    moreResults_.reset();
    view_.clear();
    viewVersion_ = 0;
    pos_ = -1;
    current_ = -1;
    onDeletedRow_ = false;
    filterText_.clear();
    filterGroup_ = FilterNone;
    filter_ = RecordsetFilter();
    sortText_.clear();
    sortKeys_.clear();
    editMode_ = EditNone;
    editSnapshot_.reset();
}

QString Recordset::Source() const {
    return shared_ ? shared_->sql : QString();
}

std::shared_ptr<Connection> Recordset::ActiveConnection() const {
    return shared_ ? shared_->connection.lock() : nullptr;
}

void Recordset::requireOpen() const {
    if (!shared_) notAllowed(QStringLiteral("Operazione non consentita se l'oggetto è chiuso."));
}

void Recordset::syncView() const {
    if (viewVersion_ != shared_->version) rebuildView();
}

void Recordset::rebuildView() const {
    const RowSource& rows = *shared_->rows;
    view_.clear();
    const std::vector<int> sequence = rows.inOrder();
    view_.reserve(sequence.size());
    for (int i : sequence) {
        const Row& r = rows.at(i);
        if (r.gone) continue;
        if (filterGroup_ == FilterPendingRecords) {
            if (!r.pending()) continue;
        } else if (filterGroup_ == FilterConflictingRecords) {
            if (!r.conflict) continue;
        } else {
            if (r.status == RowStatus::Deleted) continue;
            // A row being added is shown whatever the filter, as it is being typed.
            if (r.status != RowStatus::New && !filter_.matches(r.values)) continue;
        }
        view_.push_back(i);
    }
    if (!sortKeys_.empty()) {
        std::stable_sort(view_.begin(), view_.end(), [&](int a, int b) {
            for (const auto& [column, descending] : sortKeys_) {
                const int c = Value::compare(rows.at(a).values[column], rows.at(b).values[column]);
                if (c != 0) return descending ? c > 0 : c < 0;
            }
            return false;
        });
    }
    viewVersion_ = shared_->version;

    if (current_ < 0) {
        if (pos_ >= 0) pos_ = int(view_.size());  // stays after the last row
        return;
    }
    const auto found = std::find(view_.begin(), view_.end(), current_);
    if (found != view_.end()) {
        pos_ = int(found - view_.begin());
        onDeletedRow_ = false;
        return;
    }
    // The current row left the view (deleted): it stays current until the next move, which
    // goes on from where it stood.
    onDeletedRow_ = true;
    if (!sortKeys_.empty()) {
        pos_ = int(std::find_if(view_.begin(), view_.end(), [&](int i) { return i > current_; }) -
                   view_.begin());
        return;
    }
    // Where it stood in the selection's order: the rows of the view before it.
    size_t before = 0;
    for (int i : sequence) {
        if (i == current_) break;
        if (before < view_.size() && view_[before] == i) ++before;
    }
    pos_ = int(before);
}

void Recordset::moveTo(int position) {
    commitEdit();
    syncView();
    onDeletedRow_ = false;
    const int size = int(view_.size());
    if (position < 0) {
        pos_ = -1;
        current_ = -1;
    } else if (position >= size) {
        pos_ = size;
        current_ = -1;
    } else {
        pos_ = position;
        current_ = view_[size_t(position)];
    }
}

bool Recordset::AtBOF() const {
    requireOpen();
    syncView();
    if (onDeletedRow_) return false;
    return view_.empty() || pos_ < 0;
}

bool Recordset::AtEOF() const {
    requireOpen();
    syncView();
    if (onDeletedRow_) return false;
    return view_.empty() || pos_ >= int(view_.size());
}

int Recordset::RecordCount() const {
    requireOpen();
    syncView();
    return int(view_.size());
}

int Recordset::AbsolutePosition() const {
    requireOpen();
    syncView();
    if (onDeletedRow_) return PosUnknown;
    if (view_.empty() || pos_ < 0) return PosBOF;
    if (pos_ >= int(view_.size())) return PosEOF;
    // Known while the loaded rows start with the selection's first.
    if (shared_->paged && shared_->paged->moreBefore()) return PosUnknown;
    return pos_ + 1;
}

void Recordset::setAbsolutePosition(int position) {
    requireOpen();
    if (shared_->paged) {
        if (shared_->paged->moreBefore())
            notAllowed(QStringLiteral(
                "La posizione assoluta non è nota in questa parte della selezione letta a pagine."));
        syncView();
        while (position > int(view_.size()) && extendAfter()) {
        }
    }
    syncView();
    if (position < 1 || position > int(view_.size()))
        notAllowed(QStringLiteral("Posizione %1 non valida: il recordset ha %2 righe.")
                       .arg(position)
                       .arg(view_.size()));
    moveTo(position - 1);
}

int Recordset::Bookmark() const {
    requireCurrent();
    return current_;
}

void Recordset::setBookmark(int bookmark) {
    requireOpen();
    commitEdit();
    syncView();
    const auto found = std::find(view_.begin(), view_.end(), bookmark);
    if (found == view_.end()) notAllowed(QStringLiteral("Segnalibro non valido."));
    moveTo(int(found - view_.begin()));
}

void Recordset::MoveFirst() {
    requireOpen();
    if (shared_->paged && shared_->paged->moreBefore()) {
        commitEdit();
        shared_->paged->loadFirst();
        return standOn(-1);
    }
    moveTo(0);
}

void Recordset::MoveLast() {
    requireOpen();
    commitEdit();
    if (shared_->paged && shared_->paged->moreAfter()) {
        shared_->paged->loadLast();
        ++shared_->version;
        current_ = -1;
        pos_ = -1;
        onDeletedRow_ = false;
    }
    syncView();
    moveTo(int(view_.size()) - 1);
}

void Recordset::MoveNext() {
    // The walk through a recordset: one step along a view that has not changed.
    if (shared_ && editMode_ == EditNone && !onDeletedRow_ && viewVersion_ == shared_->version && pos_ >= 0 &&
        pos_ + 1 < int(view_.size())) {
        current_ = view_[size_t(++pos_)];
        return;
    }
    requireOpen();
    commitEdit();
    syncView();
    if (onDeletedRow_) {
        if (pos_ >= int(view_.size())) extendAfter();
        return moveTo(pos_);
    }
    if (AtEOF()) noCurrentRecord();
    if (pos_ + 1 >= int(view_.size())) extendAfter();
    moveTo(pos_ + 1);
}

void Recordset::MovePrevious() {
    requireOpen();
    commitEdit();
    syncView();
    if (onDeletedRow_) {
        if (pos_ <= 0) extendBefore();
        return moveTo(pos_ - 1);
    }
    if (AtBOF()) noCurrentRecord();
    if (pos_ == 0) extendBefore();
    moveTo(pos_ - 1);
}

void Recordset::Move(int rows) {
    requireOpen();
    commitEdit();
    syncView();
    if (rows == 0) return;
    if (shared_->paged) {
        // A step at a time, reading on as the loaded rows end.
        for (int i = 0; i < std::abs(rows); ++i) {
            if (rows > 0 ? AtEOF() : AtBOF()) {
                if (i == 0) noCurrentRecord();
                break;
            }
            rows > 0 ? MoveNext() : MovePrevious();
        }
        return;
    }
    if (onDeletedRow_) return moveTo(rows > 0 ? pos_ + rows - 1 : pos_ + rows);
    if ((rows > 0 && AtEOF()) || (rows < 0 && AtBOF())) noCurrentRecord();
    moveTo(pos_ + rows);
}

int Recordset::FieldCount() const {
    requireOpen();
    return int(shared_->columns.size());
}

int Recordset::FieldIndex(const QString& name) const {
    requireOpen();
    auto it = shared_->index.constFind(name);
    if (it == shared_->index.constEnd()) it = shared_->index.constFind(name.toUpper());
    return it == shared_->index.constEnd() ? -1 : it.value();
}

Field Recordset::Fields(int index) {
    // Asked for every value read: the refusals are made apart, so that this stays a comparison.
    if (!shared_ || index < 0 || index >= int(shared_->columns.size())) noField(index);
    return Field(this, index);
}

void Recordset::noField(int index) const {
    requireOpen();
    throw SuiteError(SuiteError::kItemNotFound, kRecordsetSource,
                     QStringLiteral("Impossibile trovare l'elemento nell'insieme: indice %1.").arg(index));
}

Field Recordset::Fields(const QString& name) {
    const int index = FieldIndex(name);
    if (index < 0)
        throw SuiteError(SuiteError::kItemNotFound, kRecordsetSource,
                         QStringLiteral("Impossibile trovare l'elemento nell'insieme: campo %1.").arg(name));
    return Field(this, index);
}

const ResultColumn& Recordset::column(int index) const {
    requireOpen();
    return shared_->columns.at(size_t(index));
}

bool Recordset::isWritable(int index) const {
    return shared_->baseTable && column(index).owner == shared_->baseTable;
}

void Recordset::requireCurrent() const {
    requireOpen();
    syncView();
    if (current_ < 0 || shared_->rows->at(current_).gone) noCurrentRecord();
}

Row& Recordset::currentRow() const {
    return shared_->rows->at(current_);
}

RowStatus Recordset::Status() const {
    requireCurrent();
    return currentRow().status;
}

QVariant Recordset::value(int column) const {
    if (shared_ && current_ >= 0 && viewVersion_ == shared_->version) {
        const Row& row = shared_->rows->at(current_);
        if (!row.gone) return row.values.at(column);
    }
    requireCurrent();
    return currentRow().values.at(column);
}

QVariant Recordset::originalValue(int column) const {
    requireCurrent();
    const Row& r = currentRow();
    return r.status == RowStatus::New ? QVariant() : r.originalValue(column);
}

void Recordset::setValue(int column, const QVariant& value) {
    store(column, acceptedValue(column, value, ColumnRule::ExtraDecimals::Rounded));
}

bool Recordset::enterValue(int column, const QVariant& typed) {
    const QVariant v = acceptedValue(column, typed, ColumnRule::ExtraDecimals::Refused);
    if (Value::same(v, currentRow().values.at(column))) return false;
    store(column, v);
    return true;
}

QVariant Recordset::acceptedValue(int column, const QVariant& value, ColumnRule::ExtraDecimals extra) {
    requireCurrent();
    const Row& row = currentRow();
    if (onDeletedRow_ || row.status == RowStatus::Deleted) noCurrentRecord();
    const ResultColumn& c = shared_->columns.at(size_t(column));
    if (!shared_->baseTable || c.owner != shared_->baseTable)
        notAllowed(QStringLiteral("Il campo %1 non è aggiornabile.").arg(c.name));
    return ColumnRule(c).accept(value, extra);
}

void Recordset::store(int column, const QVariant& v) {
    Row& row = currentRow();
    if (editMode_ == EditNone) {
        editSnapshot_ = row;
        editMode_ = EditInProgress;
    }
    if (row.status == RowStatus::Unmodified) {
        row.original = row.values;
        row.status = RowStatus::Modified;
    }
    row.values[column] = v;
}

void Recordset::setFetchedValue(const QString& column, const QVariant& value) {
    requireCurrent();
    const int index = FieldIndex(column);
    if (index < 0)
        throw SuiteError(
            SuiteError::kItemNotFound, kRecordsetSource,
            QStringLiteral("Impossibile trovare l'elemento nell'insieme: campo %1.").arg(column));
    const ResultColumn& c = shared_->columns.at(size_t(index));
    Row& row = currentRow();
    const QVariant v = Value::coerce(value, c.type, c.scale);
    row.values[index] = v;
    if (!row.original.isEmpty()) row.original[index] = v;
}

namespace {
void requireTransaction(const std::shared_ptr<Connection>& connection, const char* operation) {
    if (!connection || connection->State() == 0)
        throw SuiteError(SuiteError::kConnectionFailed, kRecordsetSource,
                         QStringLiteral("La connessione del recordset è chiusa."));
    if (!connection->InTransaction())
        notAllowed(QStringLiteral("%1 richiede una transazione aperta.").arg(QLatin1String(operation)));
}
}  // namespace

void Recordset::HoldCurrentRow() {
    requireCurrent();
    const std::shared_ptr<Connection> connection = shared_->connection.lock();
    requireTransaction(connection, "HoldCurrentRow");
    if (!shared_->baseTable || currentRow().status == RowStatus::New)
        notAllowed(QStringLiteral("La riga corrente non è una riga registrata di una tabella."));
    BatchWriter writer(*connection, shared_->columns, *shared_->baseTable, shared_->keyColumns,
                       BatchWriter::Use::OneRow);
    if (writer.holdAsRead(currentRow()) == BatchWriter::Outcome::Conflict)
        throw SuiteError(SuiteError::kWriteConflict, kRecordsetSource + QStringLiteral(".HoldCurrentRow"),
                         QStringLiteral("La riga è stata modificata o eliminata da un altro utente dopo "
                                        "l'ultima lettura."));
}

QVariant Recordset::ClaimValue(const QString& column, const QVariant& value) {
    requireCurrent();
    const std::shared_ptr<Connection> connection = shared_->connection.lock();
    requireTransaction(connection, "ClaimValue");
    const int index = FieldIndex(column);
    if (index < 0 || !isWritable(index) || currentRow().status == RowStatus::New)
        notAllowed(QStringLiteral("Il campo %1 non è aggiornabile.").arg(column));
    const ResultColumn& c = shared_->columns.at(size_t(index));
    BatchWriter writer(*connection, shared_->columns, *shared_->baseTable, shared_->keyColumns);
    QVariant stored = writer.claim(currentRow(), index, Value::coerce(value, c.type, c.scale));
    // Taken as read; a rollback of the caller's transaction takes it back.
    const Row before = currentRow();
    connection->onRollback([weak = std::weak_ptr<Shared>(shared_), row = current_, before]() {
        if (auto s = weak.lock()) {
            s->rows->at(row) = before;
            ++s->version;
        }
    });
    setFetchedValue(column, stored);
    return stored;
}

void Recordset::commitEdit() {
    editMode_ = EditNone;
    editSnapshot_.reset();
    rowBeforeAdd_ = -1;
}

void Recordset::AddNew() {
    requireOpen();
    commitEdit();
    if (!shared_->baseTable)
        notAllowed(QStringLiteral(
            "Il recordset non è aggiornabile: nessuna tabella ha la chiave completa fra i campi."));
    const int n = int(shared_->columns.size());
    Row row{QVector<QVariant>(n), QVector<QVariant>(n), RowStatus::New, false, false};
    const int before = current_;
    const int index = shared_->rows->append(std::move(row));
    ++shared_->version;
    current_ = index;
    syncView();
    moveTo(pos_);
    editMode_ = EditAdd;
    rowBeforeAdd_ = before;
}

void Recordset::Update() {
    requireOpen();
    commitEdit();
}

void Recordset::CancelUpdate() {
    requireOpen();
    if (editMode_ == EditAdd) {
        const int back = rowBeforeAdd_;
        currentRow().gone = true;
        ++shared_->version;
        commitEdit();
        current_ = back;
        syncView();
        moveTo(current_ < 0 ? int(view_.size()) : pos_);
    } else if (editMode_ == EditInProgress && current_ >= 0) {
        currentRow() = *editSnapshot_;
        commitEdit();
    }
}

void Recordset::Delete(Affect affect) {
    requireOpen();
    commitEdit();
    std::vector<int> targets;
    if (affect == AffectCurrent) {
        requireCurrent();
        if (onDeletedRow_) noCurrentRecord();
        targets.push_back(current_);
    } else {
        syncView();
        targets = view_;
    }
    for (int i : targets) {
        Row& row = shared_->rows->at(i);
        if (row.status == RowStatus::New) {
            row.gone = true;  // never written: nothing to delete in the database
            continue;
        }
        if (row.original.isEmpty()) row.original = row.values;
        row.status = RowStatus::Deleted;
    }
    ++shared_->version;
    syncView();
}

std::vector<int> Recordset::rowsToWrite(Affect affect) const {
    std::vector<int> out;
    const RowSource& rows = *shared_->rows;
    if (affect == AffectCurrent) {
        if (current_ >= 0 && !rows.at(current_).gone && rows.at(current_).pending()) out.push_back(current_);
        return out;
    }
    if (affect == AffectGroup) {
        syncView();
        for (int i : view_)
            if (rows.at(i).pending()) out.push_back(i);
        if (onDeletedRow_ && current_ >= 0 && rows.at(current_).pending()) out.push_back(current_);
        std::sort(out.begin(), out.end());
        return out;
    }
    for (int i = 0; i < rows.size(); ++i)
        if (!rows.at(i).gone && rows.at(i).pending()) out.push_back(i);
    return out;
}

void Recordset::UpdateBatch(Affect affect) {
    requireOpen();
    commitEdit();
    const std::shared_ptr<Connection> connection = shared_->connection.lock();
    if (!connection || connection->State() == 0)
        throw SuiteError(SuiteError::kConnectionFailed, kRecordsetSource,
                         QStringLiteral("La connessione del recordset è chiusa."));
    const std::vector<int> targets = rowsToWrite(affect);
    if (targets.empty()) return;
    if (!shared_->baseTable)
        notAllowed(QStringLiteral(
            "Il recordset non è aggiornabile: nessuna tabella ha la chiave completa fra i campi."));

    // Alone, the batch is one transaction of its own: all of it or none. Inside the caller's
    // transaction it is part of that, and a rollback there makes these rows pending again.
    const bool ownTransaction = !connection->InTransaction();
    std::optional<TransactionScope> own;
    if (ownTransaction) own.emplace(*connection);
    std::vector<int> written, conflicts;
    {
        std::optional<BatchWriter> writer;
        try {
            writer.emplace(*connection, shared_->columns, *shared_->baseTable, shared_->keyColumns);
            for (int i : targets) {
                if (writer->write(shared_->rows->at(i)) == BatchWriter::Outcome::Written)
                    written.push_back(i);
                else
                    conflicts.push_back(i);
            }
        } catch (...) {
            // Roll back before the writer's statements are freed: PostgreSQL refuses to free them
            // inside a failed transaction.
            if (own) own->rollback();
            throw;
        }
    }
    if (own) own->commit();

    std::vector<std::pair<int, Row>> before;
    for (int i : written) {
        Row& row = shared_->rows->at(i);
        before.emplace_back(i, row);
        if (row.status == RowStatus::Deleted) {
            row.gone = true;
        } else {
            row.original.clear();
            row.status = RowStatus::Unmodified;
        }
        row.conflict = false;
    }
    for (int i : conflicts) shared_->rows->at(i).conflict = true;
    ++shared_->version;
    if (!ownTransaction) {
        connection->onRollback([weak = std::weak_ptr<Shared>(shared_), before = std::move(before)]() {
            if (auto s = weak.lock()) {
                for (const auto& [i, row] : before) s->rows->at(i) = row;
                ++s->version;
            }
        });
    }
    if (!conflicts.empty())
        throw SuiteError(
            SuiteError::kWriteConflict, kRecordsetSource + QStringLiteral(".UpdateBatch"),
            QStringLiteral("Impossibile trovare la riga per l'aggiornamento. Alcuni valori potrebbero "
                           "essere stati modificati dall'ultima lettura."));
}

void Recordset::CancelBatch(Affect affect) {
    requireOpen();
    if (editMode_ == EditAdd) CancelUpdate();
    commitEdit();
    for (int i : rowsToWrite(affect)) {
        Row& row = shared_->rows->at(i);
        if (row.status == RowStatus::New) {
            row.gone = true;
        } else {
            if (!row.original.isEmpty()) row.values = row.original;
            row.original.clear();
            row.status = RowStatus::Unmodified;
        }
        row.conflict = false;
    }
    ++shared_->version;
    syncView();
    if (onDeletedRow_ || current_ < 0) moveTo(0);
}

void Recordset::Requery() {
    requireOpen();
    const std::shared_ptr<Connection> connection = shared_->connection.lock();
    if (!connection)
        throw SuiteError(SuiteError::kConnectionFailed, kRecordsetSource,
                         QStringLiteral("La connessione del recordset è chiusa."));
    if (shared_->sql.isEmpty()) notAllowed(QStringLiteral("Il recordset non può essere riletto."));
    if (shared_->paged) {
        commitEdit();
        shared_->paged->replaceAll({});  // pending changes are dropped
        shared_->paged->loadFirst();
        return standOn(-1);
    }
    std::vector<ResultSet> results = run(*connection, shared_->sql, shared_->origin);
    std::vector<Row> rows;
    if (!results.empty()) {
        rows.reserve(results.front().rows.size());
        for (auto& values : results.front().rows)
            rows.push_back(Row{std::move(values), {}, RowStatus::Unmodified, false, false});
    }
    commitEdit();
    shared_->rows->replaceAll(std::move(rows));
    ++shared_->version;
    moreResults_.reset();
    if (results.size() > 1) {
        moreResults_ = std::make_shared<std::deque<ResultSet>>();
        for (size_t i = 1; i < results.size(); ++i) moreResults_->push_back(std::move(results[i]));
    }
    current_ = -1;
    pos_ = -1;
    onDeletedRow_ = false;
    moveTo(0);
}

void Recordset::RequeryAround() {
    requireOpen();
    commitEdit();
    if (current_ < 0 || shared_->rows->at(current_).values.isEmpty()) return Requery();
    const QVector<QVariant> values = shared_->rows->at(current_).values;
    if (shared_->paged) {
        shared_->paged->replaceAll({});  // pending changes are dropped
        const int at = shared_->paged->loadAround(values);
        if (at >= 0) return standOn(at);
        standOn(-1);
        return moveTo(int(view_.size()) - 1);
    }
    const int position = std::max(pos_, 0);
    QVector<QVariant> key;
    for (int k : shared_->keyColumns) key.append(values.value(k));
    Requery();
    if (key.isEmpty() || !SeekKey(key)) {
        syncView();
        moveTo(std::min(position, int(view_.size()) - 1));
    }
}

bool Recordset::SeekKey(const QVector<QVariant>& keyValues) {
    requireOpen();
    commitEdit();
    const std::vector<int>& key = shared_->keyColumns;
    if (!shared_->baseTable || int(key.size()) != keyValues.size())
        notAllowed(QStringLiteral("La chiave cercata non corrisponde alla chiave del recordset."));
    syncView();
    const RowSource& rows = *shared_->rows;
    auto matches = [&](const QVector<QVariant>& values) {
        for (size_t i = 0; i < key.size(); ++i)
            if (Value::compare(values.value(key[i]), keyValues[int(i)]) != 0) return false;
        return true;
    };
    for (size_t p = 0; p < view_.size(); ++p) {
        if (matches(rows.at(view_[p]).values)) {
            moveTo(int(p));
            return true;
        }
    }
    if (!shared_->paged) return false;
    // Not loaded: its order values, then the page around it.
    const std::optional<QVector<QVariant>> row = shared_->paged->readRow(key, keyValues);
    if (!row) return false;
    const int at = shared_->paged->loadAround(*row);
    if (at < 0) return false;
    standOn(at);
    return current_ == at;
}

void Recordset::setFilter(const QString& filter) {
    requireOpen();
    commitEdit();
    RecordsetFilter parsed =
        RecordsetFilter::parse(filter, shared_->columns, shared_->index);  // throws, keeping the old one
    // A filter of a paged selection needs all of it: read whole from now on.
    if (shared_->paged && !filter.trimmed().isEmpty() &&
        (shared_->paged->moreBefore() || shared_->paged->moreAfter())) {
        shared_->paged->loadAll();
        ++shared_->version;
    }
    filter_ = std::move(parsed);
    filterText_ = filter;
    filterGroup_ = FilterNone;
    viewVersion_ = 0;
    moveTo(0);
}

void Recordset::setFilter(FilterGroup group) {
    requireOpen();
    commitEdit();
    filter_ = RecordsetFilter();
    filterText_.clear();
    filterGroup_ = group;
    viewVersion_ = 0;
    moveTo(0);
}

void Recordset::setSort(const QString& sort) {
    requireOpen();
    commitEdit();
    std::vector<std::pair<int, bool>> keys;
    for (const QString& part : sort.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const QStringList words = part.simplified().split(QLatin1Char(' '));
        const int column = FieldIndex(words.value(0));
        const QString direction = words.value(1).toUpper();
        if (column < 0 || words.size() > 2 ||
            (!direction.isEmpty() && direction != QStringLiteral("ASC") &&
             direction != QStringLiteral("DESC")))
            notAllowed(QStringLiteral("Ordinamento non valido: %1").arg(sort));
        keys.emplace_back(column, direction == QStringLiteral("DESC"));
    }
    if (shared_->paged && !keys.empty() && (shared_->paged->moreBefore() || shared_->paged->moreAfter())) {
        shared_->paged->loadAll();
        ++shared_->version;
    }
    sortKeys_ = std::move(keys);
    sortText_ = sort;
    viewVersion_ = 0;
    moveTo(0);
}

std::shared_ptr<Recordset> Recordset::Clone() const {
    requireOpen();
    auto clone = std::make_shared<Recordset>();
    clone->shared_ = shared_;
    clone->moveTo(0);
    return clone;
}

std::shared_ptr<Recordset> Recordset::NextRecordset() {
    if (!moreResults_ || moreResults_->empty()) return nullptr;
    ResultSet next = std::move(moreResults_->front());
    moreResults_->pop_front();
    auto rs = std::make_shared<Recordset>();
    rs->adopt(std::move(next), shared_ ? shared_->connection.lock() : nullptr, QString(), Origin::Program);
    rs->moreResults_ = std::move(moreResults_);
    return rs;
}

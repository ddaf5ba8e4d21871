#pragma once

#include "ColumnRule.h"
#include "Connection.h"
#include "Field.h"
#include "RecordsetFilter.h"
#include "RowSource.h"

#include <QHash>
#include <QString>
#include <deque>
#include <memory>
#include <optional>
#include <vector>

// A client-side, batch-optimistic recordset, the way the forms use one: the rows of a query are
// held here (every row, or the pages read so far of a paged source: see OpenPaged); edits, new
// rows and deletions stay pending in the recordset until UpdateBatch
// writes them to the base table (see BatchWriter); CancelBatch forgets them.
//
// The base table is the first catalogued table among the result's columns whose whole primary
// key is in the result: its columns are writable, every other column is read only.
//
// Clones share the rows (and so bookmarks) and have their own position, filter and sort.
class Recordset {
public:
    enum Affect { AffectCurrent = 1, AffectGroup = 2, AffectAll = 3, AffectAllChapters = 4 };
    enum FilterGroup {
        FilterNone = 0,
        FilterPendingRecords = 1,
        FilterConflictingRecords = 5,
    };
    enum EditModeValue { EditNone = 0, EditInProgress = 1, EditAdd = 2 };
    static constexpr int PosUnknown = -1;
    static constexpr int PosBOF = -2;
    static constexpr int PosEOF = -3;

    Recordset();
    ~Recordset();
    Recordset(const Recordset&) = delete;
    Recordset& operator=(const Recordset&) = delete;

    // How the query is run: as the program wrote it, or as one read-only query because it holds
    // text a caller wrote (a selection, an order); Requery runs it the same way.
    enum class Origin { Program, CallerText };

    // Runs a batch on the connection: this recordset holds the first result, NextRecordset
    // hands out the others. A batch with no result leaves the recordset closed.
    void Open(const QString& sql, const std::shared_ptr<Connection>& connection,
              Origin origin = Origin::Program);
    // Opens a caller's selection read page by page (see PagedRows and docs/data-layer.md):
    // `select` is the query without ORDER BY, `order` the caller's order text. An order that is
    // not a list of plain columns of the result, never null, or a result without a table's
    // whole key, is read whole as Open would, with the same order.
    static constexpr int kPageSize = 200;
    void OpenPaged(const QString& select, const QString& order, const std::shared_ptr<Connection>& connection,
                   int pageSize = kPageSize);
    // True when the rows are read page by page.
    bool IsPaged() const;
    void Close();
    int State() const { return shared_ ? 1 : 0; }  // 0 closed, 1 open
    QString Source() const;
    std::shared_ptr<Connection> ActiveConnection() const;

    bool AtBOF() const;
    bool AtEOF() const;
    int RecordCount() const;
    int AbsolutePosition() const;  // 1-based, or PosBOF / PosEOF / PosUnknown
    void setAbsolutePosition(int position);
    int Bookmark() const;
    void setBookmark(int bookmark);
    void MoveFirst();
    void MoveLast();
    void MoveNext();
    void MovePrevious();
    void Move(int rows);

    int FieldCount() const;
    int FieldIndex(const QString& name) const;  // case-insensitive, -1 when absent
    Field Fields(int index);
    Field Fields(const QString& name);  // throws SuiteError (item not found)
    const ResultColumn& column(int index) const;
    // A column of the base table; the others are read only.
    bool isWritable(int index) const;

    RowStatus Status() const;
    int EditMode() const { return editMode_; }
    void AddNew();
    void Update();
    void CancelUpdate();
    void Delete(Affect affect = AffectCurrent);
    void UpdateBatch(Affect affect = AffectAll);
    void CancelBatch(Affect affect = AffectAll);
    void Requery();
    // Reads again the rows around the current one (a page of a paged recordset, everything
    // otherwise) and stands on it again; when it has left the selection, on the row that
    // followed it, else on the last. Pending changes are dropped.
    void RequeryAround();
    // Stands on the row whose base-table key has these values (in the key's order): sought
    // among the loaded rows, then in the selection. False, not moving, when it is not there.
    bool SeekKey(const QVector<QVariant>& keyValues);

    const QString& Filter() const { return filterText_; }
    void setFilter(const QString& filter);
    void setFilter(FilterGroup group);
    const QString& Sort() const { return sortText_; }
    void setSort(const QString& sort);

    std::shared_ptr<Recordset> Clone() const;
    // The next result of the batch, or nullptr when there is none.
    std::shared_ptr<Recordset> NextRecordset();

    // Puts into the current row the value the database now holds for a column the recordset
    // cannot write (a joined table's), as a re-read of that column would: nothing to save.
    void setFetchedValue(const QString& column, const QVariant& value);

    // Writes from a view that may be stale. Both work on the current row's row of the base table,
    // inside the caller's open transaction.
    // Holds the row until the transaction ends and checks that the database still holds every
    // column of it as it was read; SuiteError write conflict when another user changed or
    // deleted it since.
    void HoldCurrentRow();
    // Holds the row like HoldCurrentRow, without comparing it, and writes `value` into `column`
    // where the database holds Null there (a Null `value` writes nothing); answers what it holds
    // then: `value`, or what another user wrote first. The current row takes that value as read
    // (and gives it back when the transaction is rolled back).
    QVariant ClaimValue(const QString& column, const QVariant& value);

    // For Field.
    QVariant value(int column) const;
    QVariant originalValue(int column) const;
    void setValue(int column, const QVariant& value);
    // A value the clerk typed: extra decimals are refused, not rounded; false when the column
    // already holds it (nothing changes, the row stays as it was).
    bool enterValue(int column, const QVariant& typed);

private:
    struct Shared;

    QVariant acceptedValue(int column, const QVariant& value, ColumnRule::ExtraDecimals extra);
    void store(int column, const QVariant& value);

    void adopt(ResultSet result, const std::shared_ptr<Connection>& connection, const QString& sql,
               Origin origin);
    static std::vector<ResultSet> run(Connection& connection, const QString& sql, Origin origin);
    void requireOpen() const;
    [[noreturn]] void noField(int index) const;
    void requireCurrent() const;
    Row& currentRow() const;
    void commitEdit();
    void syncView() const;
    void rebuildView() const;
    void moveTo(int position);
    bool extendAfter();
    bool extendBefore();
    void standOn(int rowIndex);
    std::vector<int> rowsToWrite(Affect affect) const;

    std::shared_ptr<Shared> shared_;
    std::shared_ptr<std::deque<ResultSet>> moreResults_;

    // Position: an index into view_ (-1 before the first row, view_.size() after the last) and
    // the row it shows. After Delete the current row is the deleted one until the next move.
    mutable std::vector<int> view_;
    mutable quint64 viewVersion_ = 0;
    mutable int pos_ = -1;
    mutable int current_ = -1;
    mutable bool onDeletedRow_ = false;

    QString filterText_;
    FilterGroup filterGroup_ = FilterNone;
    RecordsetFilter filter_;
    QString sortText_;
    std::vector<std::pair<int, bool>> sortKeys_;  // column, descending

    int editMode_ = EditNone;
    std::optional<Row> editSnapshot_;
    int rowBeforeAdd_ = -1;
};

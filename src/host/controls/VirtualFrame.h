#pragma once

#include <QFrame>
#include <QList>
#include <QPointer>
#include <functional>
#include <memory>

class Connection;
class FrameControl;
class LogService;
class NavigatorBar;
class Recordset;
class SuiteError;

// Binds a recordset to the data controls of one part of a form and raises the record events.
//
// Status is 0 while a stored row (or nothing) is shown and 2 while a new row is being entered.
// Two pending-change indicators: RecordChanged, set when a control writes a new value into the
// current row (or by the form), and ChildChanged, set by the form from a child form's answer.
// The form may widen the verdict through IsRecordChanged (only ever raising it).
//
// Every operation that writes reports data errors through the frame's log service and answers
// false; nothing the user typed is lost: the row stays pending in the recordset.
class VirtualFrame : public QFrame {
    Q_OBJECT
    // Read by the host's navigator through the module's active frame.
    Q_PROPERTY(int Status READ Status)
public:
    static constexpr int kStatusShown = 0;
    static constexpr int kStatusAdding = 2;

    explicit VirtualFrame(QWidget* parent = nullptr);
    ~VirtualFrame() override;

    void setLogService(std::shared_ptr<LogService> log) { log_ = std::move(log); }
    LogService& logService() const;

    // The recordset opened with `sql` on `connection`; `keyColumn` identifies a row for the
    // form; the navigator, when given, acts on this frame. Shows the current row (status 0) and
    // raises ChangeStatus(0).
    void Bind(std::shared_ptr<Connection> connection, std::shared_ptr<Recordset> recordset,
              const QString& sql, const QString& keyColumn, NavigatorBar* navigator = nullptr);
    void AddControl(FrameControl* control);
    const QList<QPointer<FrameControl>>& controls() const { return controls_; }

    // Detach leaves the controls as they are and the frame without a recordset, so that the form
    // can requery or replace it; Attach takes one up again and shows its current row.
    void Detach();
    void Attach(std::shared_ptr<Recordset> recordset);

    std::shared_ptr<Recordset> recordset() const { return recordset_; }
    std::shared_ptr<Connection> connection() const { return connection_; }
    const QString& Source() const { return source_; }
    const QString& KeyColumn() const { return keyColumn_; }

    int Status() const { return status_; }
    // 2 starts a new row (AddNew, AfterAddNew, ChangeStatus(2)); 0 gives up a new row still
    // being added and shows the current stored row (ChangeStatus(0)).
    void setStatus(int status);

    bool RecordChanged() const { return recordChanged_; }
    void setRecordChanged(bool on) { recordChanged_ = on; }
    bool ChildChanged() const { return childChanged_; }
    void setChildChanged(bool on) { childChanged_ = on; }
    // Either indicator, widened by the IsRecordChanged event.
    bool isRecordChanged();

    // Shows the recordset's current row in the bound controls.
    void Refresh();

    // With pending changes: asks whether to save them (Yes saves, No goes on without saving and
    // undoes them when `undoOnNo`, Cancel stops, offered when `offerCancel`). Without `ask` the
    // changes are saved without asking. Answers whether the caller may go on. `save`, when
    // given, is what Yes does instead of writing the row (a child form confirms it into the
    // recordset, to be written with the Bill); it answers whether the changes were taken.
    bool ConfirmPending(bool ask, bool undoOnNo, bool offerCancel, const std::function<bool()>& save = {});

    // Takes up the current row: ValidateRecord (when `validate`), BeforeUpdate, the write of the
    // current row to the database (unless `keepPending`: then it waits for UpdateBatch), then
    // AfterUpdate(success). A new row becomes a stored one (status 0).
    bool UpdateRecord(bool validate, bool keepPending);
    // Called by an AfterUpdate handler whose part of the save failed after the row was written
    // (the save's transaction rolled back): the update answers false, the row stays pending
    // and the frame keeps its status, so that the user can save again or is asked on leaving.
    void FailUpdate() { updateFailed_ = true; }
    // Asks the form to write the pending rows: raises UpdateBatchAll.
    void UpdateBatch();
    // Forgets the current row's changes (a new row is given up); raises AfterUndo.
    bool Undo();
    // BeforeDelete, then the current row is deleted in the database and the next one shown.
    bool Delete();

    // Moves to another row, first asking about pending changes; raise ChangeStatus(0).
    bool MoveFirst();
    bool MoveLast();
    bool MoveNext();
    bool MovePrevious();

    // Around a change the form makes to the recordset behind the frame's back: meanwhile the
    // controls' values are not written into it and no record event is raised; the end shows the
    // current row again.
    void BeginExternalChange();
    void EndExternalChange();
    // The rows are about to be read again: the controls are emptied so that nothing shown from
    // the old rows can be written into the new ones.
    void DataWillBeReread();

    // Called by a control the user leaves: writes its value into its bound column of the
    // current row. False, with a message shown, when the column refuses the value.
    bool storeValue(FrameControl& control);

signals:
    void AfterAddNew(bool success);
    void AfterUndo(bool success);
    void AfterUpdate(bool success);
    void BeforeUpdate(bool* cancel);
    void BeforeDelete(bool* cancel);
    void ChangeStatus(int newStatus);
    void IsRecordChanged(bool* changed);
    void UpdateBatchAll();
    void ValidateRecord(FrameControl** controlInError);

private:
    bool onRow() const;
    // The value still being typed into a control goes into the row first; false when refused.
    bool commitEnteredControls();
    // A required column of the row left empty: said to the user naming its field, which takes
    // the focus. True when one was found.
    bool reportMissingRequired();
    void limitLength(FrameControl& control) const;
    void enterStatus(int status);
    void startAdding();
    // Gives up a new row still being added, when the form left it untouched.
    void abandonNewRow();
    bool move(void (Recordset::*step)(), bool (Recordset::*atEnd)() const);
    void report(const SuiteError& error) const;

    std::shared_ptr<Connection> connection_;
    std::shared_ptr<Recordset> recordset_;
    QString source_;
    QString keyColumn_;
    QList<QPointer<FrameControl>> controls_;
    std::shared_ptr<LogService> log_;
    int status_ = kStatusShown;
    bool recordChanged_ = false;
    bool childChanged_ = false;
    int externalChange_ = 0;
    bool updateFailed_ = false;
};

#include "VirtualFrame.h"
#include "WriteConflict.h"

#include "EditBox.h"
#include "FrameControl.h"
#include "LogService.h"
#include "MemoBox.h"

#include <QApplication>
#include <cstdlib>
#include "NavigatorBar.h"
#include "Recordset.h"
#include "SuiteError.h"
#include "Value.h"

namespace {
const QString kTitle = QStringLiteral("Attenzione");
}

VirtualFrame::VirtualFrame(QWidget* parent) : QFrame(parent) {}

VirtualFrame::~VirtualFrame() = default;

LogService& VirtualFrame::logService() const {
    // A frame the form forgot to give its message service would show messages nobody answers
    // in a test, or bypass the form's own service: the mistake is stopped where it is made.
    if (!log_) {
        qFatal("VirtualFrame %s has no log service", qPrintable(objectName()));
        std::abort();  // fatal() does not return
    }
    return *log_;
}

void VirtualFrame::report(const SuiteError& error) const {
    if (error.number() == SuiteError::kWriteConflict) {
        logService().MsgBox(WriteConflict::kMessage, WriteConflict::kFlags, WriteConflict::kTitle);
        return;
    }
    logService().MsgBox(error.description(), LogService::kExclamation, kTitle);
}

void VirtualFrame::Bind(std::shared_ptr<Connection> connection, std::shared_ptr<Recordset> recordset,
                        const QString& sql, const QString& keyColumn, NavigatorBar* navigator) {
    if (navigator) navigator->setFrame(this);
    connection_ = std::move(connection);
    source_ = sql;
    keyColumn_ = keyColumn;
    Attach(std::move(recordset));
}

void VirtualFrame::AddControl(FrameControl* control) {
    if (!control || controls_.contains(control)) return;
    controls_.append(control);
    control->setFrame(this);
    limitLength(*control);
}

void VirtualFrame::limitLength(FrameControl& control) const {
    auto* box = qobject_cast<EditBox*>(&control);
    auto* memo = qobject_cast<MemoBox*>(&control);
    if ((!box && !memo) || !recordset_ || recordset_->State() != 1 || control.DataField().isEmpty()) return;
    const int index = recordset_->FieldIndex(control.DataField());
    if (index < 0) return;
    // A text column takes no more than its length: the box stops the typing there.
    const ResultColumn& column = recordset_->column(index);
    if (column.type != DataType::Text || column.size <= 0) return;
    if (box)
        box->setMaxLength(column.size);
    else
        memo->setMaxLength(column.size);
}

void VirtualFrame::Detach() {
    recordset_.reset();
}

void VirtualFrame::Attach(std::shared_ptr<Recordset> recordset) {
    recordset_ = std::move(recordset);
    for (const QPointer<FrameControl>& c : controls_)
        if (c) limitLength(*c);
    recordChanged_ = childChanged_ = false;
    enterStatus(kStatusShown);
}

bool VirtualFrame::onRow() const {
    return recordset_ && recordset_->State() == 1 && !recordset_->AtBOF() && !recordset_->AtEOF();
}

void VirtualFrame::enterStatus(int status) {
    status_ = status;
    Refresh();
    if (externalChange_ == 0) emit ChangeStatus(status);
}

void VirtualFrame::abandonNewRow() {
    if (recordset_ && recordset_->State() == 1 && recordset_->EditMode() == Recordset::EditAdd) {
        recordset_->CancelUpdate();
        recordChanged_ = false;
    }
}

void VirtualFrame::setStatus(int status) {
    if (status == kStatusAdding) return startAdding();
    abandonNewRow();
    enterStatus(status);
}

void VirtualFrame::startAdding() {
    if (!recordset_ || recordset_->State() != 1) {
        emit AfterAddNew(false);
        return;
    }
    try {
        abandonNewRow();  // an untouched new row must not wait in the recordset for a batch write
        recordset_->AddNew();
    } catch (const SuiteError& e) {
        report(e);
        emit AfterAddNew(false);
        return;
    }
    status_ = kStatusAdding;
    // A new row is a change of its own until the form says otherwise.
    recordChanged_ = true;
    childChanged_ = false;
    Refresh();
    emit AfterAddNew(true);
    enterStatus(kStatusAdding);
}

bool VirtualFrame::isRecordChanged() {
    const bool own = recordChanged_ || childChanged_;
    bool changed = own;
    emit IsRecordChanged(&changed);
    return changed || own;
}

void VirtualFrame::Refresh() {
    const bool row = onRow();
    for (const QPointer<FrameControl>& c : controls_) {
        if (!c || c->DataField().isEmpty()) continue;
        const int index = row ? recordset_->FieldIndex(c->DataField()) : -1;
        try {
            c->setValue(index >= 0 ? recordset_->Fields(index).Value() : QVariant());
        } catch (const SuiteError& e) {
            // A column bound to a control of another kind (text in a date box): say so, show
            // the control empty and go on with the others.
            c->setValue(QVariant());
            report(e);
        }
    }
}

bool VirtualFrame::commitEnteredControls() {
    for (const QPointer<FrameControl>& c : controls_)
        if (c && c->isEntered() && !c->commitEntry()) return false;
    // The field the clerk is still typing in may be another frame's of the same form (the notes,
    // the bills of exchange): a save asked meanwhile takes its value too, as leaving it would.
    for (QWidget* w = QApplication::focusWidget(); w; w = w->parentWidget()) {
        auto* c = qobject_cast<FrameControl*>(w);
        if (!c) continue;
        if (c->window() == window() && c->isEntered() && !c->commitEntry()) return false;
        break;
    }
    return true;
}

bool VirtualFrame::reportMissingRequired() {
    if (recordset_->Status() == RowStatus::Unmodified) return false;
    for (int i = 0; i < recordset_->FieldCount(); ++i) {
        const ResultColumn& column = recordset_->column(i);
        if (column.nullable || !recordset_->isWritable(i) || !Value::isNull(recordset_->Fields(i).Value()))
            continue;
        FrameControl* field = nullptr;
        for (const QPointer<FrameControl>& c : controls_)
            if (c && c->DataField().compare(column.name, Qt::CaseInsensitive) == 0) field = c;
        const QString name =
            field && !field->accessibleName().isEmpty() ? field->accessibleName() : column.name;
        logService().MsgBox(
            QStringLiteral("Il campo \"%1\" è obbligatorio: indicarne il valore prima di salvare.").arg(name),
            LogService::kExclamation, kTitle);
        if (field && field->isEnabled() && field->isVisible()) field->setFocus(Qt::OtherFocusReason);
        return true;
    }
    return false;
}

bool VirtualFrame::ConfirmPending(bool ask, bool undoOnNo, bool offerCancel,
                                  const std::function<bool()>& save) {
    if (!commitEnteredControls()) return false;
    if (!isRecordChanged()) return true;
    const auto write = [&] { return save ? save() : UpdateRecord(true, false); };
    if (!ask) return write();
    const int flags = LogService::kQuestion | (offerCancel ? LogService::kYesNoCancel : LogService::kYesNo);
    const int answer = logService().MsgBox(
        QStringLiteral("I dati sono stati modificati.\r\nSi desidera salvare le modifiche?"), flags,
        QStringLiteral("Richiesta conferma"));
    if (answer == LogService::kYes) return write();
    if (answer == LogService::kNo) {
        if (undoOnNo) Undo();
        return true;
    }
    return false;
}

bool VirtualFrame::UpdateRecord(bool validate, bool keepPending) {
    if (!onRow()) return false;
    if (!commitEnteredControls()) return false;
    if (status_ != kStatusAdding && !isRecordChanged()) return true;
    if (validate) {
        FrameControl* inError = nullptr;
        emit ValidateRecord(&inError);
        if (inError) {
            // The form names the field; the clerk is told which one, and put in it.
            const QString name =
                inError->accessibleName().isEmpty() ? inError->objectName() : inError->accessibleName();
            logService().MsgBox(
                QStringLiteral("Il campo \"%1\" non contiene un valore valido: correggerlo prima di salvare.")
                    .arg(name),
                LogService::kExclamation, kTitle);
            inError->setFocus(Qt::OtherFocusReason);
            return false;
        }
    }
    bool cancel = false;
    emit BeforeUpdate(&cancel);
    if (cancel) return false;
    bool ok = true;
    try {
        recordset_->Update();
        if (reportMissingRequired())
            ok = false;
        else if (!keepPending)
            recordset_->UpdateBatch(Recordset::AffectCurrent);
    } catch (const SuiteError& e) {
        ok = false;
        report(e);
    }
    const bool wasChanged = recordChanged_, childWasChanged = childChanged_;
    if (ok) recordChanged_ = childChanged_ = false;
    updateFailed_ = false;
    emit AfterUpdate(ok);
    if (ok && updateFailed_) {
        // The rest of the save failed and took the row's write back with it.
        ok = false;
        recordChanged_ =
            wasChanged || status_ == kStatusAdding || recordset_->Status() != RowStatus::Unmodified;
        childChanged_ = childWasChanged;
    }
    updateFailed_ = false;
    if (ok && status_ == kStatusAdding) enterStatus(kStatusShown);
    return ok;
}

void VirtualFrame::UpdateBatch() {
    emit UpdateBatchAll();
}

bool VirtualFrame::Undo() {
    if (!recordset_ || recordset_->State() != 1) {
        emit AfterUndo(false);
        return false;
    }
    const bool wasAdding = status_ == kStatusAdding;
    try {
        if (recordset_->EditMode() == Recordset::EditAdd) {
            recordset_->CancelUpdate();
        } else if (onRow()) {
            const bool newRow = recordset_->Status() == RowStatus::New;
            recordset_->CancelBatch(Recordset::AffectCurrent);
            if (newRow && recordset_->RecordCount() > 0) recordset_->MoveFirst();
        }
    } catch (const SuiteError& e) {
        report(e);
        emit AfterUndo(false);
        return false;
    }
    recordChanged_ = childChanged_ = false;
    if (wasAdding) status_ = kStatusShown;
    Refresh();
    emit AfterUndo(true);
    if (wasAdding) enterStatus(kStatusShown);
    return true;
}

bool VirtualFrame::Delete() {
    if (!onRow()) return false;
    bool cancel = false;
    emit BeforeDelete(&cancel);
    if (cancel) return false;
    if (status_ == kStatusAdding) return Undo();
    try {
        recordset_->Delete(Recordset::AffectCurrent);
        recordset_->UpdateBatch(Recordset::AffectCurrent);
    } catch (const SuiteError& e) {
        report(e);
        recordset_->CancelBatch(Recordset::AffectCurrent);
        Refresh();
        return false;
    }
    recordChanged_ = childChanged_ = false;
    recordset_->MoveNext();
    if (recordset_->AtEOF() && recordset_->RecordCount() > 0) recordset_->MoveLast();
    enterStatus(kStatusShown);
    return true;
}

bool VirtualFrame::move(void (Recordset::*step)(), bool (Recordset::*atEnd)() const) {
    if (!recordset_ || recordset_->State() != 1 || recordset_->RecordCount() == 0) return false;
    if (!ConfirmPending(true, true, true)) return false;
    try {
        abandonNewRow();
        (recordset_.get()->*step)();
        if ((recordset_.get()->*atEnd)()) {
            // Past the last (first) row: stay on it, like the navigator's arrows do.
            if (atEnd == &Recordset::AtEOF)
                recordset_->MoveLast();
            else
                recordset_->MoveFirst();
        }
    } catch (const SuiteError& e) {
        report(e);
        return false;
    }
    recordChanged_ = childChanged_ = false;
    enterStatus(kStatusShown);
    return true;
}

bool VirtualFrame::MoveFirst() {
    return move(&Recordset::MoveFirst, &Recordset::AtBOF);
}
bool VirtualFrame::MoveLast() {
    return move(&Recordset::MoveLast, &Recordset::AtEOF);
}
bool VirtualFrame::MoveNext() {
    return move(&Recordset::MoveNext, &Recordset::AtEOF);
}
bool VirtualFrame::MovePrevious() {
    return move(&Recordset::MovePrevious, &Recordset::AtBOF);
}

void VirtualFrame::BeginExternalChange() {
    ++externalChange_;
}

void VirtualFrame::EndExternalChange() {
    if (externalChange_ > 0 && --externalChange_ == 0) Refresh();
}

void VirtualFrame::DataWillBeReread() {
    for (const QPointer<FrameControl>& c : controls_)
        if (c && !c->DataField().isEmpty()) c->setValue(QVariant());
}

bool VirtualFrame::storeValue(FrameControl& control) {
    if (externalChange_ > 0 || control.DataField().isEmpty() || !onRow()) return true;
    const int index = recordset_->FieldIndex(control.DataField());
    if (index < 0) {
        logService().MsgBox(
            QStringLiteral("Il campo %1 non esiste nei dati del modulo.").arg(control.DataField()),
            LogService::kExclamation, kTitle);
        return true;  // a binding error of the form; trapping the user in the field helps nobody
    }
    const QVariant value = control.Value();
    try {
        if (!recordset_->Fields(index).enter(value)) return true;
    } catch (const SuiteError& e) {
        // The clerk knows the field by its caption, not by its column, and the value as he wrote
        // it ("1.234,50"), not as the database reads it ("1234.50").
        const QString caption = control.accessibleName();
        QString text = e.description();
        if (!Value::isNull(value)) text.replace(Value::shown(value), control.Text().trimmed());
        if (!caption.isEmpty())
            text.replace(control.DataField(), QLatin1Char('"') + caption + QLatin1Char('"'),
                         Qt::CaseInsensitive);
        report(SuiteError(e.number(), e.source(), text));
        return false;
    }
    recordChanged_ = true;
    return true;
}

#include "ChildRowForm.h"

#include "Cinterface.h"
#include "ComboBox.h"
#include "CompanyContext.h"
#include "GridNavigator.h"
#include "HostGlobal.h"
#include "HostNavigator.h"
#include "LogService.h"
#include "Recordset.h"
#include "SuiteError.h"
#include "UserLayoutHolder.h"
#include "Value.h"
#include "VirtualFrame.h"

#include <QCloseEvent>
#include <QKeyEvent>

namespace {
constexpr int kKeyF4 = 115;
constexpr int kShiftCtrl = 2;

QString column(const char* prefix, const char* name) {
    return QString::fromLatin1(prefix) + QString::fromLatin1(name);
}
}  // namespace

ChildRowForm::ChildRowForm(QWidget* parent, Shape shape, const ChildFormHandOver* handed)
    : QDialog(parent), shape_(std::move(shape)), handed_(handed) {
    setModal(true);
}

ChildRowForm::~ChildRowForm() = default;

void ChildRowForm::wireFrame(VirtualFrame* frame, GridNavigator* navigator) {
    frame_ = frame;
    navigator_ = navigator;
    connect(frame, &VirtualFrame::AfterUpdate, this, [this](bool ok) {
        // A row taken up into the recordset is a change the Bill's save must write.
        if (ok) changed_ = true;
    });
    for (FrameControl* c : order_)
        connect(c, &FrameControl::KeyDown, this, [this](int key, int shift) { Form_KeyDown(key, shift); });
}

ComboBox* ChildRowForm::combo(const QString& name) const {
    return qobject_cast<ComboBox*>(control(name));
}

void ChildRowForm::takeHandOver() {
    changed_ = handed_->childChanged;
    frame_->setLogService(handed_->log);
    for (FrameControl* c : order_) c->setLogService(handed_->log);
}

void ChildRowForm::MostraErrore(const SuiteError& error) {
    if (!handed_->log) return;
    handed_->log->MsgBox(ErrorReport::text(error, shape_.place), LogService::kCritical, QString());
}

qint32 ChildRowForm::company() const {
    if (!handed_->host || !handed_->host->ClsGlobal()) return 0;
    return handed_->host->ClsGlobal()->CompanyContext().company;
}

void ChildRowForm::setColumn(const char* name, const QVariant& value) {
    frame_->recordset()->Fields(QString::fromLatin1(name)).setValue(value);
}

QString ChildRowForm::columnText(const char* name) const {
    const std::shared_ptr<Recordset> rs = frame_->recordset();
    if (!rs || rs->State() != 1 || rs->AtBOF() || rs->AtEOF()) return {};
    return Value::toText(rs->Fields(QString::fromLatin1(name)).Value()).trimmed();
}

void ChildRowForm::bindHandedRows() {
    const std::shared_ptr<Recordset>& rs = handed_->recordset;
    if (!rs || rs->State() != 1) return;
    if (rs->RecordCount() > 0 && !rs->AtBOF() && !rs->AtEOF()) bookmark_ = rs->Bookmark();
    frame_->Bind(handed_->connection, rs, rs->Source(), QString::fromLatin1(shape_.identifying), navigator_);
    for (FrameControl* c : order_)
        if (!c->DataField().isEmpty()) frame_->AddControl(c);
}

void ChildRowForm::standOnHandedRow() {
    const std::shared_ptr<Recordset>& rs = handed_->recordset;
    if (!rs || rs->State() != 1) return;
    if (rs->RecordCount() == 0 || handed_->nuovo) {
        frame_->setStatus(VirtualFrame::kStatusAdding);
        return;
    }
    if (bookmark_ >= 0) rs->setBookmark(bookmark_);
    frame_->setStatus(VirtualFrame::kStatusShown);
}

void ChildRowForm::fillNewRowKey() {
    setColumn(qPrintable(column(shape_.prefix, "DITTA_CG18")), company());
    setColumn(qPrintable(column(shape_.prefix, "NUMREG_CO99")), handed_->numReg);
    setColumn(qPrintable(column(shape_.prefix, "RIGACONT_EF01")), handed_->rigaCont);
    setColumn(qPrintable(column(shape_.prefix, "PROGEC_EF01")), handed_->progEc);
    setColumn(qPrintable(column(shape_.prefix, "PROGEFF_EF01")), handed_->progEff);
    setColumn(shape_.progressive, CalcolaNuovoProgressivo());
}

qint32 ChildRowForm::CalcolaNuovoProgressivo() {
    qint32 progressive = 1;
    guard("CalcolaNuovoProgressivo:", [&] {
        const std::shared_ptr<Recordset>& rs = handed_->recordset;
        if (frame_->Status() == VirtualFrame::kStatusAdding && rs->RecordCount() == 1) return;
        // The highest progressive plus one: the new row, whose progressive is still empty, does
        // not count.
        const QString name = QString::fromLatin1(shape_.progressive);
        std::shared_ptr<Recordset> clone = rs->Clone();
        clone->setSort(name);
        qint32 highest = 0;
        for (clone->MoveFirst(); !clone->AtEOF(); clone->MoveNext())
            highest = std::max(highest, qint32(Value::toInt(clone->Fields(name).Value())));
        progressive = highest + 1;
    });
    return progressive;
}

void ChildRowForm::giveUpUnconfirmed() {
    const std::shared_ptr<Recordset> rs = frame_->recordset();
    if (!rs) return;
    if (frame_->Status() == VirtualFrame::kStatusAdding) {
        // The grid keeps its former rows.
        frame_->Detach();
        if (rs->EditMode() == Recordset::EditAdd) rs->CancelUpdate();
        if (rs->RecordCount() > 0) rs->MoveFirst();
    } else if (rs->EditMode() == Recordset::EditInProgress) {
        // Those confirmed before stay.
        rs->CancelUpdate();
    }
}

void ChildRowForm::focusProgressiveAfter(const QString& button) {
    FrameControl* progressive = control(QString::fromLatin1(shape_.progressiveField));
    const bool focus = button == QStringLiteral("Nuovo") || (button == QStringLiteral("Elimina") &&
                                                             frame_->Status() == VirtualFrame::kStatusAdding);
    if (focus && progressive->isEnabled()) progressive->setFocus();
}

UserLayoutHolder* ChildRowForm::userLayout() {
    if (layout_) return layout_.get();
    const std::shared_ptr<HostGlobal> global = handed_->host ? handed_->host->ClsGlobal() : nullptr;
    if (!global || !handed_->connection) return nullptr;
    // The program's own layouts and script, under the form's name.
    layout_ = std::make_unique<UserLayoutHolder>(handed_->connection, global->User().code,
                                                 QStringLiteral("KVUO_TARSELLO"),
                                                 [log = handed_->log] { return log; });
    layout_->AddStructure(shape_.layoutName, this);
    layout_->AddStructure(shape_.scriptStructure, frame_);
    return layout_.get();
}

void ChildRowForm::openUserLayout() {
    UserLayoutHolder* holder = userLayout();
    if (!holder) return;
    guard("ApplicaLayOut:", [&] { holder->ApplyLayout(); });
    if (guard("BuildScript:", [&] { holder->BuildScript(); })) raiseScript(true);
}

QVariant ChildRowForm::raiseScript(bool open) {
    QVariant answer;
    guard("ExecuteFormEvent:", [&] {
        if (const std::shared_ptr<ScriptObject> script = layout_ ? layout_->CurrentScript() : nullptr)
            answer = script->RaiseFormEvent(open, {});
    });
    return answer;
}

void ChildRowForm::Form_QueryUnload(bool& cancel) {
    const QVariant kept = raiseScript(false);
    guard("Form_QueryUnload:", [&] {
        // The host's say comes with the script's: a form kept open keeps the row being entered.
        HostNavigator* navigator = handed_->host ? handed_->host->ActiveNavigator() : nullptr;
        ChildCloseVeto* veto = navigator ? navigator->CloseVeto() : nullptr;
        const bool refused = veto && veto->refuseClose();
        cancel = refused || (kept.isValid() && kept.toBool());
    });
}

void ChildRowForm::showEvent(QShowEvent* event) {
    Form_load();
    QDialog::showEvent(event);
    Form_Activate();
}

bool ChildRowForm::focusNextPrevChild(bool next) {
    return tabOrder_.move(next) || QDialog::focusNextPrevChild(next);
}

void ChildRowForm::closeEvent(QCloseEvent* event) {
    if (unloaded_) {
        event->accept();
        return;
    }
    bool cancel = false;
    Form_QueryUnload(cancel);
    if (cancel) {
        event->ignore();
        return;
    }
    guard("Form_QueryUnload:", [&] { giveUpUnconfirmed(); });
    if (layout_) guard("Form_Unload:", [&] { layout_->SaveLayout(); });
    unloaded_ = true;
    QDialog::closeEvent(event);
}

void ChildRowForm::reject() {
    // Esc and the window's close button go through the closing rules.
    close();
    if (unloaded_) QDialog::reject();
}

void ChildRowForm::Form_KeyDown(int keyCode, int shift) {
    guard("Form_KeyDown:", [&] {
        if (keyCode == kKeyF4 && shift == kShiftCtrl) reject();
    });
}

void ChildRowForm::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F4 && event->modifiers() == Qt::ControlModifier) {
        Form_KeyDown(kKeyF4, kShiftCtrl);
        return;
    }
    QDialog::keyPressEvent(event);
}

// The reminder form's lifecycle and record events: opening on the grid's reminder or on a new
// one, the progressive of a new reminder, the state of the fields on each row, the deletion that
// waits for the Bill's save, and the closing that tells the bill form whether anything changed.
#include "FRMKV_SOLLECITI.h"

#include "Cinterface.h"
#include "ComboBox.h"
#include "CompanyContext.h"
#include "Grid.h"
#include "GridNavigator.h"
#include "HostGlobal.h"
#include "HostNavigator.h"
#include "LogService.h"
#include "Recordset.h"
#include "ReminderCodeTables.h"
#include "ReminderFormTexts.h"
#include "SuiteError.h"
#include "Value.h"
#include "VirtualFrame.h"

#include <QCloseEvent>
#include <QKeyEvent>

FRMKV_SOLLECITI::FRMKV_SOLLECITI(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FRMKV_SOLLECITI"));
    setWindowTitle(ReminderFormTexts::kCaption);
    setModal(true);
    createControls();
    resize(980, 520);
    connect(FME_SOLLECITI, &VirtualFrame::AfterAddNew, this,
            [this](bool ok) { FME_SOLLECITI_AfterAddNew(ok); });
    connect(FME_SOLLECITI, &VirtualFrame::ChangeStatus, this,
            [this](int status) { FME_SOLLECITI_ChangeStatus(status); });
    connect(FME_SOLLECITI, &VirtualFrame::AfterUpdate, this, [this](bool ok) {
        // A reminder taken up into the recordset is a change the Bill's save must write.
        if (ok) changed_ = true;
    });
    connect(GNV_DETTSOLLECITI, &NavigatorBar::ButtonClick, this,
            [this](const QString& key, bool* cancel) { QRT_GRIDNAV_DETTSOLLECITI_ButtonClick(key, cancel); });
    connect(GNV_DETTSOLLECITI, &NavigatorBar::AfterButtonClick, this,
            [this](const QString& key) { QRT_GRIDNAV_DETTSOLLECITI_AfterButtonClick(key); });
    for (FrameControl* c : order_) {
        connect(c, &FrameControl::KeyDown, this, [this](int key, int shift) { Form_KeyDown(key, shift); });
        // The field pattern: a rule acts only when the text differs from the one found on entry.
        connect(c, &FrameControl::BeforeItem, this,
                [this, c] { entryTexts_.insert(c->objectName(), c->Text().trimmed()); });
    }
    connectFieldRules();
}

FRMKV_SOLLECITI::~FRMKV_SOLLECITI() = default;

ComboBox* FRMKV_SOLLECITI::combo(const QString& name) const {
    return qobject_cast<ComboBox*>(control(name));
}

void FRMKV_SOLLECITI::hand(const HandOver& values) {
    in_ = values;
    changed_ = in_.childChanged;
    FME_SOLLECITI->setLogService(in_.log);
    for (FrameControl* c : order_) c->setLogService(in_.log);
}

void FRMKV_SOLLECITI::release() {
    FME_SOLLECITI->Detach();
    in_ = HandOver{};
}

void FRMKV_SOLLECITI::MostraErrore(const SuiteError& error) {
    if (!in_.log) return;
    in_.log->MsgBox(ErrorReport::text(error, ReminderFormTexts::kPlace), LogService::kCritical, QString());
}

qint32 FRMKV_SOLLECITI::company() const {
    if (!in_.host || !in_.host->ClsGlobal()) return 0;
    return in_.host->ClsGlobal()->CompanyContext().company;
}

void FRMKV_SOLLECITI::Carica_CBO_INDBLOCCO() {
    ComboBox* c = combo(QStringLiteral("CBO_INDBLOCCO"));
    c->setSorted(false);
    c->Clear();
    for (const ReminderCodeTables::Row& r : ReminderCodeTables::blocco()) c->AddItem(r.description, r.code);
}

void FRMKV_SOLLECITI::Form_load() {
    if (loaded_) return;
    loaded_ = true;
    guard("Form_load:", [&] {
        Carica_CBO_INDBLOCCO();
        const std::shared_ptr<Recordset>& rs = in_.recordset;
        if (!rs || rs->State() != 1) return;
        if (rs->RecordCount() > 0 && !rs->AtBOF() && !rs->AtEOF()) bookmark_ = rs->Bookmark();
        if (in_.host && in_.host->ClsGlobal())
            sections_ = DocumentSections::of(in_.host->ClsGlobal()->CompanyContext().parameters,
                                             QDate::currentDate());
        FME_SOLLECITI->Bind(in_.connection, rs, rs->Source(), QStringLiteral("EF05_PROGSTO"),
                            GNV_DETTSOLLECITI);
        for (FrameControl* c : order_)
            if (!c->DataField().isEmpty()) FME_SOLLECITI->AddControl(c);
    });
}

void FRMKV_SOLLECITI::showEvent(QShowEvent* event) {
    Form_load();
    QDialog::showEvent(event);
    Form_Activate();
}

void FRMKV_SOLLECITI::Form_Activate() {
    if (activated_) return;
    activated_ = true;
    guard("Form_Activate:", [&] {
        const std::shared_ptr<Recordset>& rs = in_.recordset;
        if (!rs || rs->State() != 1) return;
        if (rs->RecordCount() == 0 || in_.nuovo) {
            FME_SOLLECITI->setStatus(VirtualFrame::kStatusAdding);
        } else {
            if (bookmark_ >= 0) rs->setBookmark(bookmark_);
            FME_SOLLECITI->setStatus(VirtualFrame::kStatusShown);
        }
        FrameControl* progressive = control(QStringLiteral("TXT_PROGAVVISI"));
        (progressive->isEnabled() ? progressive : control(QStringLiteral("TXT_DATAAVVISO")))->setFocus();
    });
}

void FRMKV_SOLLECITI::FME_SOLLECITI_AfterAddNew(bool success) {
    if (!success) return;
    guard("FME_SOLLECITI_AfterAddNew:", [&] {
        setColumn("EF05_DITTA_CG18", company());
        setColumn("EF05_NUMREG_CO99", in_.numReg);
        setColumn("EF05_RIGACONT_EF01", in_.rigaCont);
        setColumn("EF05_PROGEC_EF01", in_.progEc);
        setColumn("EF05_PROGEFF_EF01", in_.progEff);
        setColumn("EF05_PROGAVVISI", CalcolaNuovoProgressivo());
        // No block until the clerk chooses one: the combo shows " Non applicato".
        setColumn("EF05_INDBLOC", 0);
        FME_SOLLECITI->Refresh();
    });
}

qint32 FRMKV_SOLLECITI::CalcolaNuovoProgressivo() {
    qint32 progressive = 1;
    guard("CalcolaNuovoProgressivo:", [&] {
        const std::shared_ptr<Recordset>& rs = in_.recordset;
        if (FME_SOLLECITI->Status() == VirtualFrame::kStatusAdding && rs->RecordCount() == 1) return;
        // The highest progressive plus one: the new row, whose progressive is still empty, does
        // not count.
        std::shared_ptr<Recordset> clone = rs->Clone();
        clone->setSort(QStringLiteral("EF05_PROGAVVISI"));
        qint32 highest = 0;
        for (clone->MoveFirst(); !clone->AtEOF(); clone->MoveNext())
            highest = std::max(
                highest, qint32(Value::toInt(clone->Fields(QStringLiteral("EF05_PROGAVVISI")).Value())));
        progressive = highest + 1;
    });
    return progressive;
}

void FRMKV_SOLLECITI::FME_SOLLECITI_ChangeStatus(int status) {
    guard("FME_SOLLECITI_ChangeStatus:", [&] {
        FrameControl* progressive = control(QStringLiteral("TXT_PROGAVVISI"));
        progressive->setEnabled(status != VirtualFrame::kStatusShown);
        progressive->setTabStop(progressive->isEnabled());
        // The groups of the row shown open as its flags say.
        enableInterest(columnText("EF05_FLGCALCINT") == QLatin1String("1"));
        enableDocument(columnText("EF05_FLGEMISDOC") == QLatin1String("1"),
                       status == VirtualFrame::kStatusAdding);
        enableBlockCode();
        FrameControl* interest = control(QStringLiteral("TXT_IMPINTERES"));
        if (!interest->isEnabled()) interest->setText(QString());
        // A code without a value has no description to show.
        for (auto [code, description] :
             {std::pair{"TXT_SIGLALETTERA", "TXT_DESCRLETTERA"}, std::pair{"TXT_CODBLOCCO", "TXT_DESBLOCCO"}})
            if (control(QString::fromLatin1(code))->Text().trimmed().isEmpty())
                control(QString::fromLatin1(description))->setText(QString());
    });
}

void FRMKV_SOLLECITI::QRT_GRIDNAV_DETTSOLLECITI_ButtonClick(const QString& button, bool* cancel) {
    if (button != QStringLiteral("Elimina")) return;
    // The deletion waits in the recordset for the Bill's save, like every other change here.
    *cancel = true;
    guard("QRT_GRIDNAV_DETTSOLLECITI_ButtonClick:", [&] { Elimina(); });
}

void FRMKV_SOLLECITI::Elimina() {
    const std::shared_ptr<Recordset> rs = in_.recordset;
    if (!rs || rs->State() != 1 || rs->AtBOF() || rs->AtEOF()) return;
    // A reminder still being entered is only given up.
    if (FME_SOLLECITI->Status() == VirtualFrame::kStatusAdding) {
        FME_SOLLECITI->Undo();
        return;
    }
    FME_SOLLECITI->Detach();
    rs->Delete(Recordset::AffectCurrent);
    if (rs->RecordCount() > 0) {
        rs->MovePrevious();
        if (rs->AtBOF()) rs->MoveFirst();
    }
    FME_SOLLECITI->Attach(rs);
    changed_ = true;
    if (in_.grid) in_.grid->Refresh();
    if (rs->RecordCount() == 0)
        FME_SOLLECITI->setStatus(VirtualFrame::kStatusAdding);
    else
        FME_SOLLECITI->setStatus(VirtualFrame::kStatusShown);
    QRT_GRIDNAV_DETTSOLLECITI_AfterButtonClick(QStringLiteral("Elimina"));
}

void FRMKV_SOLLECITI::QRT_GRIDNAV_DETTSOLLECITI_AfterButtonClick(const QString& button) {
    guard("QRT_GRIDNAV_DETTSOLLECITI_AfterButtonClick:", [&] {
        FrameControl* progressive = control(QStringLiteral("TXT_PROGAVVISI"));
        const bool focus =
            button == QStringLiteral("Nuovo") ||
            (button == QStringLiteral("Elimina") && FME_SOLLECITI->Status() == VirtualFrame::kStatusAdding);
        if (focus && progressive->isEnabled()) progressive->setFocus();
    });
}

void FRMKV_SOLLECITI::Form_QueryUnload(bool& cancel) {
    guard("Form_QueryUnload:", [&] {
        // The host's say comes first: a form kept open keeps the reminder being entered.
        HostNavigator* navigator = in_.host ? in_.host->ActiveNavigator() : nullptr;
        if (ChildCloseVeto* veto = navigator ? navigator->CloseVeto() : nullptr) cancel = veto->refuseClose();
        const std::shared_ptr<Recordset> rs = FME_SOLLECITI->recordset();
        if (cancel || !rs) return;
        if (FME_SOLLECITI->Status() == VirtualFrame::kStatusAdding) {
            // A reminder not confirmed is given up; the grid keeps its former rows.
            FME_SOLLECITI->Detach();
            if (rs->EditMode() == Recordset::EditAdd) rs->CancelUpdate();
            if (rs->RecordCount() > 0) rs->MoveFirst();
        } else if (rs->EditMode() == Recordset::EditInProgress) {
            // Changes to a stored reminder count only when confirmed; those confirmed stay.
            rs->CancelUpdate();
        }
    });
}

void FRMKV_SOLLECITI::closeEvent(QCloseEvent* event) {
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
    unloaded_ = true;
    QDialog::closeEvent(event);
}

void FRMKV_SOLLECITI::reject() {
    // Esc and the window's close button go through the closing rules.
    close();
    if (unloaded_) QDialog::reject();
}

void FRMKV_SOLLECITI::Form_KeyDown(int keyCode, int shift) {
    guard("Form_KeyDown:", [&] {
        if (keyCode == 115 && shift == 2) reject();
    });
}

void FRMKV_SOLLECITI::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F4 && event->modifiers() == Qt::ControlModifier) {
        Form_KeyDown(115, 2);
        return;
    }
    QDialog::keyPressEvent(event);
}

void FRMKV_SOLLECITI::setColumn(const char* column, const QVariant& value) {
    FME_SOLLECITI->recordset()->Fields(QString::fromLatin1(column)).setValue(value);
}

void FRMKV_SOLLECITI::setColumnsNull(std::initializer_list<const char*> columns) {
    for (const char* column : columns) setColumn(column, QVariant());
}

QString FRMKV_SOLLECITI::columnText(const char* column) const {
    const std::shared_ptr<Recordset> rs = FME_SOLLECITI->recordset();
    if (!rs || rs->State() != 1 || rs->AtBOF() || rs->AtEOF()) return {};
    return Value::toText(rs->Fields(QString::fromLatin1(column)).Value()).trimmed();
}

bool FRMKV_SOLLECITI::entryChanged(FrameControl* field) const {
    return field->Text().trimmed() != entryTexts_.value(field->objectName());
}

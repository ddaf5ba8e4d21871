// The reminder form's lifecycle and record events: opening on the grid's reminder or on a new
// one, the progressive of a new reminder, the state of the fields on each row, the deletion that
// waits for the Bill's save, and the closing that tells the bill form whether anything changed.
#include "FRMKV_SOLLECITI.h"

#include "Cinterface.h"
#include "ComboBox.h"
#include "Grid.h"
#include "GridNavigator.h"
#include "HostGlobal.h"
#include "Recordset.h"
#include "ReminderCodeTables.h"
#include "ReminderFormTexts.h"
#include "ScreenFit.h"
#include "SuiteError.h"
#include "Value.h"
#include "VirtualFrame.h"

FRMKV_SOLLECITI::FRMKV_SOLLECITI(QWidget* parent)
    : ChildRowForm(parent,
                   {ReminderFormTexts::kPlace, "EF05_", "EF05_PROGAVVISI", "TXT_PROGAVVISI", "EF05_PROGSTO",
                    ReminderFormTexts::kCaption, ReminderFormTexts::kScriptStructure},
                   &in_) {
    setObjectName(QStringLiteral("FRMKV_SOLLECITI"));
    setWindowTitle(ReminderFormTexts::kCaption);
    createControls();
    resize(ScreenFit::bounded(this, QSize(980, 560)));
    connect(FME_SOLLECITI, &VirtualFrame::AfterAddNew, this,
            [this](bool ok) { FME_SOLLECITI_AfterAddNew(ok); });
    connect(FME_SOLLECITI, &VirtualFrame::ChangeStatus, this,
            [this](int status) { FME_SOLLECITI_ChangeStatus(status); });
    connect(GNV_DETTSOLLECITI, &NavigatorBar::ButtonClick, this,
            [this](const QString& key, bool* cancel) { QRT_GRIDNAV_DETTSOLLECITI_ButtonClick(key, cancel); });
    connect(GNV_DETTSOLLECITI, &NavigatorBar::AfterButtonClick, this,
            [this](const QString& key) { QRT_GRIDNAV_DETTSOLLECITI_AfterButtonClick(key); });
    wireFrame(FME_SOLLECITI, GNV_DETTSOLLECITI);
    for (FrameControl* c : order_) {
        // The field pattern: a rule acts only when the text differs from the one found on entry.
        connect(c, &FrameControl::BeforeItem, this,
                [this, c] { entryTexts_.insert(c->objectName(), c->Text().trimmed()); });
    }
    connectFieldRules();
}

FRMKV_SOLLECITI::~FRMKV_SOLLECITI() = default;

void FRMKV_SOLLECITI::hand(const HandOver& values) {
    in_ = values;
    takeHandOver();
}

void FRMKV_SOLLECITI::release() {
    FME_SOLLECITI->Detach();
    in_ = HandOver{};
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
        if (in_.host && in_.host->ClsGlobal())
            sections_ = DocumentSections::of(in_.host->ClsGlobal()->CompanyContext().parameters,
                                             QDate::currentDate());
        bindHandedRows();
    });
}

void FRMKV_SOLLECITI::Form_Activate() {
    if (activated_) return;
    activated_ = true;
    guard("Form_Activate:", [&] {
        const std::shared_ptr<Recordset>& rs = in_.recordset;
        if (!rs || rs->State() != 1) return;
        standOnHandedRow();
        FrameControl* progressive = control(QStringLiteral("TXT_PROGAVVISI"));
        (progressive->isEnabled() ? progressive : control(QStringLiteral("TXT_DATAAVVISO")))->setFocus();
    });
    openUserLayout();
}

void FRMKV_SOLLECITI::FME_SOLLECITI_AfterAddNew(bool success) {
    if (!success) return;
    guard("FME_SOLLECITI_AfterAddNew:", [&] {
        fillNewRowKey();
        // No block until the clerk chooses one: the combo shows " Non applicato".
        setColumn("EF05_INDBLOC", 0);
        FME_SOLLECITI->Refresh();
    });
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
        for (auto [code, description] : kDecoded)
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
    guard("QRT_GRIDNAV_DETTSOLLECITI_AfterButtonClick:", [&] { focusProgressiveAfter(button); });
}

void FRMKV_SOLLECITI::setColumnsNull(std::initializer_list<const char*> columns) {
    for (const char* column : columns) setColumn(column, QVariant());
}

bool FRMKV_SOLLECITI::entryChanged(FrameControl* field) const {
    return field->Text().trimmed() != entryTexts_.value(field->objectName());
}

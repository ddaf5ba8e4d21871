// The history movement form's lifecycle and record events: opening on the grid's movement or on
// a new one, the progressive of a new movement, the rules of "Conferma" and "Elimina", and the
// closing that tells the bill form whether anything changed.
#include "FRMKV_STORICO.h"

#include "CheckBox.h"
#include "Cinterface.h"
#include "ComboBox.h"
#include "CompanyContext.h"
#include "Connection.h"
#include "CurrencyConverter.h"
#include "EditBox.h"
#include "Grid.h"
#include "GridNavigator.h"
#include "HistoryCodeTables.h"
#include "HistoryFormTexts.h"
#include "HistoryParent.h"
#include "HostGlobal.h"
#include "LogService.h"
#include "NumericBox.h"
#include "Recordset.h"
#include "SuiteError.h"
#include "Value.h"
#include "VirtualFrame.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

namespace {
const char* const kValFields[] = {"TXT_IMPEFFVAL",       "TXT_IMPEFFNETPREVVAL",  "TXT_IMPMOVPAGVAL",
                                  "TXT_IMPMOVPAGRITVAL", "TXT_IMPMOVABBVAL",      "TXT_IMPMOVACCVAL",
                                  "TXT_IMPMOVRITVAL",    "TXT_IMPMOVOMANORIVVAL", "TXT_IMPMOVSCINDVAL"};
const char* const kEuroFields[] = {"TXT_IMPEFF",          "TXT_IMPEFFNETPREV",   "TXT_IMPMOVPAG",
                                   "TXT_IMPMOVPAGRIT",    "TXT_IMPMOVABB",       "TXT_IMPMOVACC",
                                   "TXT_IMPMOVRIT",       "TXT_IMPMOVOMANORIV",  "TXT_IMPMOVSCIND",
                                   "TXT_SPESERIT",        "TXT_SPESERITBAN",     "TXT_DIFFCAMBIO",
                                   "TXT_DIFFCAMBIOCONTO", "TXT_IMPADEGCAMBIO_S", "TXT_IMPADEGCAMBIO"};
}  // namespace

FRMKV_STORICO::FRMKV_STORICO(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FRMKV_STORICO"));
    setWindowTitle(HistoryFormTexts::kCaption);
    setModal(true);
    // Form_Initialize: until the bill form says otherwise, a Bill in euro at rate 0.
    in_.currency = HistoryFormTexts::kEuro;
    createControls();
    resize(1240, 860);
    connect(FME_STORICO, &VirtualFrame::AfterAddNew, this, [this](bool ok) { FME_STORICO_AfterAddNew(ok); });
    connect(FME_STORICO, &VirtualFrame::ChangeStatus, this,
            [this](int status) { FME_STORICO_ChangeStatus(status); });
    connect(FME_STORICO, &VirtualFrame::BeforeUpdate, this,
            [this](bool* cancel) { FME_STORICO_BeforeUpdate(cancel); });
    connect(FME_STORICO, &VirtualFrame::AfterUpdate, this, [this](bool ok) {
        // A movement taken up into the history recordset is a change the Bill's save must write.
        if (ok) changed_ = true;
    });
    connect(GNV_DETTSTORICO, &NavigatorBar::ButtonClick, this,
            [this](const QString& key, bool* cancel) { QRT_GRIDNAV_DETTSTORICO_ButtonClick(key, cancel); });
    connect(GNV_DETTSTORICO, &NavigatorBar::AfterButtonClick, this,
            [this](const QString& key) { QRT_GRIDNAV_DETTSTORICO_AfterButtonClick(key); });
    for (FrameControl* c : order_)
        connect(c, &FrameControl::KeyDown, this, [this](int key, int shift) { Form_KeyDown(key, shift); });
    connectFieldRules();
}

FRMKV_STORICO::~FRMKV_STORICO() = default;

ComboBox* FRMKV_STORICO::combo(const QString& name) const {
    return qobject_cast<ComboBox*>(control(name));
}

void FRMKV_STORICO::hand(const HandOver& values) {
    in_ = values;
    if (in_.currency.trimmed().isEmpty()) in_.currency = HistoryFormTexts::kEuro;
    changed_ = in_.childChanged;
    FME_STORICO->setLogService(in_.log);
    for (FrameControl* c : order_) c->setLogService(in_.log);
}

void FRMKV_STORICO::release() {
    FME_STORICO->Detach();
    in_ = HandOver{};
}

void FRMKV_STORICO::MostraErrore(const SuiteError& error) {
    if (!in_.log) return;
    in_.log->MsgBox(ErrorReport::text(error, HistoryFormTexts::kPlace), LogService::kCritical, QString());
}

qint32 FRMKV_STORICO::company() const {
    if (!in_.host || !in_.host->ClsGlobal()) return 0;
    return in_.host->ClsGlobal()->CompanyContext().company;
}

bool FRMKV_STORICO::privileged() const {
    return in_.host && in_.host->ClsGlobal() && in_.host->ClsGlobal()->User().privileged;
}

void FRMKV_STORICO::fillCombos() {
    auto fill = [&](const char* name, const QList<HistoryCodeTables::Row>& rows) {
        ComboBox* c = combo(QString::fromLatin1(name));
        c->Clear();
        for (const HistoryCodeTables::Row& r : rows) c->AddItem(r.description, r.code);
    };
    fill("CBO_INDSTATO", HistoryCodeTables::statoEffetto());
    fill("CBO_INDGENSTATO", HistoryCodeTables::generazioneStato());
    fill("CBO_INDTIPOPER", HistoryCodeTables::tipoOperazione());
    fill("CBO_INDPRES", HistoryCodeTables::presentazione());
    fill("CBO_INDTIPODIST", HistoryCodeTables::tipoDistinta(true));
    fill("CBO_INDSPERIT", HistoryCodeTables::speseRitorno());
    fill("CBO_INDORDPBONIF", HistoryCodeTables::ordineBonifico(true));
    // Pcls_FormattaNull: an empty distinta or order shows as the blank entry -1.
    combo(QStringLiteral("CBO_INDTIPODIST"))->setNullCode(-1);
    combo(QStringLiteral("CBO_INDORDPBONIF"))->setNullCode(-1);
}

void FRMKV_STORICO::Form_load() {
    if (loaded_) return;
    loaded_ = true;
    guard("Form_load:", [&] {
        fillCombos();
        const std::shared_ptr<Recordset>& rs = in_.recordset;
        if (!rs || rs->State() != 1) return;
        if (rs->RecordCount() > 0 && !rs->AtBOF() && !rs->AtEOF()) bookmark_ = rs->Bookmark();
        FME_STORICO->Bind(in_.connection, rs, rs->Source(), QStringLiteral("EF06_PROGSTO"), GNV_DETTSTORICO);
        for (FrameControl* c : order_)
            if (!c->DataField().isEmpty()) FME_STORICO->AddControl(c);
        const bool foreign =
            !in_.currency.trimmed().isEmpty() && in_.currency.trimmed().toUpper() != HistoryFormTexts::kEuro;
        for (const char* name : kValFields) {
            auto* box = static_cast<NumericBox*>(control(QString::fromLatin1(name)));
            box->setCurrencyLabel(in_.currency.trimmed());
            box->setEnabled(foreign);
            box->setTabStop(foreign);
        }
        for (const char* name : kEuroFields)
            static_cast<NumericBox*>(control(QString::fromLatin1(name)))
                ->setCurrencyLabel(HistoryFormTexts::kEuro);
        control(QStringLiteral("CBO_INDTIPOPER"))->setEnabled(privileged());
        control(QStringLiteral("CHK_FLGSTORNORITINS"))->setEnabled(privileged());
        for (const char* name : {"TXT_NUMREG", "TXT_RIGACONT", "TXT_PROGEC"})
            control(QString::fromLatin1(name))->setEnabled(false);
    });
}

void FRMKV_STORICO::showEvent(QShowEvent* event) {
    Form_load();
    QDialog::showEvent(event);
    Form_Activate();
}

void FRMKV_STORICO::Form_Activate() {
    if (activated_) return;
    activated_ = true;
    guard("Form_Activate:", [&] {
        const std::shared_ptr<Recordset>& rs = in_.recordset;
        if (!rs || rs->State() != 1) return;
        if (rs->RecordCount() == 0 || in_.nuovo) {
            FME_STORICO->setStatus(VirtualFrame::kStatusAdding);
        } else {
            if (bookmark_ >= 0) rs->setBookmark(bookmark_);
            FME_STORICO->setStatus(VirtualFrame::kStatusShown);
        }
        FrameControl* progsto = control(QStringLiteral("TXT_PROGSTO"));
        FrameControl* datareg = control(QStringLiteral("TXT_DATAREG"));
        if (progsto->isEnabled())
            progsto->setFocus();
        else if (datareg->isEnabled() && datareg->isVisible())
            datareg->setFocus();
    });
}

void FRMKV_STORICO::FME_STORICO_AfterAddNew(bool success) {
    if (!success) return;
    guard("FME_STORICO_AfterAddNew:", [&] {
        Recordset& rs = *FME_STORICO->recordset();
        rs.Fields(QStringLiteral("EF06_DITTA_CG18")).setValue(company());
        rs.Fields(QStringLiteral("EF06_NUMREG_CO99")).setValue(in_.numReg);
        rs.Fields(QStringLiteral("EF06_RIGACONT_EF01")).setValue(in_.rigaCont);
        rs.Fields(QStringLiteral("EF06_PROGEC_EF01")).setValue(in_.progEc);
        rs.Fields(QStringLiteral("EF06_PROGEFF_EF01")).setValue(in_.progEff);
        rs.Fields(QStringLiteral("EF06_PROGSTO")).setValue(CalcolaNuovoProgressivo());
        // A movement entered here is a manual variation; only a privileged user may say otherwise.
        rs.Fields(QStringLiteral("EF06_INDTIPOPER")).setValue(0);
        FME_STORICO->Refresh();
        if (in_.currency.trimmed().toUpper() != HistoryFormTexts::kEuro) {
            for (const char* name : kValFields) {
                FrameControl* c = control(QString::fromLatin1(name));
                c->setText(QStringLiteral("0"));
                rs.Fields(c->DataField()).setValue(0);
            }
        }
    });
}

qint32 FRMKV_STORICO::CalcolaNuovoProgressivo() {
    qint32 progressive = 1;
    guard("CalcolaNuovoProgressivo:", [&] {
        const std::shared_ptr<Recordset>& rs = in_.recordset;
        if (FME_STORICO->Status() == VirtualFrame::kStatusAdding && rs->RecordCount() == 1) return;
        // The highest progressive plus one: the new row, whose progressive is still empty, does
        // not count.
        std::shared_ptr<Recordset> clone = rs->Clone();
        clone->setSort(QStringLiteral("EF06_PROGSTO"));
        qint32 highest = 0;
        for (clone->MoveFirst(); !clone->AtEOF(); clone->MoveNext())
            highest = std::max(highest,
                               qint32(Value::toInt(clone->Fields(QStringLiteral("EF06_PROGSTO")).Value())));
        progressive = highest + 1;
    });
    return progressive;
}

void FRMKV_STORICO::FME_STORICO_ChangeStatus(int status) {
    guard("FME_STORICO_ChangeStatus:", [&] {
        FrameControl* progsto = control(QStringLiteral("TXT_PROGSTO"));
        progsto->setEnabled(status != VirtualFrame::kStatusShown);
        progsto->setTabStop(progsto->isEnabled());
        const std::shared_ptr<Recordset> rs = FME_STORICO->recordset();
        const bool onRow = rs && rs->State() == 1 && !rs->AtBOF() && !rs->AtEOF();
        const bool insoluto =
            onRow && Value::toInt(rs->Fields(QStringLiteral("EF06_INDTIPOPER")).Value()) == 4;
        control(QStringLiteral("CHK_FLGSTORNORITINS"))->setVisible(insoluto);
        applyGroups();
    });
}

void FRMKV_STORICO::FME_STORICO_BeforeUpdate(bool* cancel) {
    const bool ok = guard("FME_STORICO_BeforeUpdate:", [&] {
        Recordset& rs = *FME_STORICO->recordset();
        auto blank = [&](const char* comboName, const char* numberName) {
            ComboBox* c = combo(QString::fromLatin1(comboName));
            const bool none = c->ListIndex() < 0 || Value::isNull(c->Value());
            return none || control(QString::fromLatin1(numberName))->Text().trimmed().isEmpty();
        };
        auto setNull = [&](std::initializer_list<const char*> columns) {
            for (const char* column : columns) rs.Fields(QString::fromLatin1(column)).setValue(QVariant());
        };
        if (blank("CBO_INDTIPODIST", "TXT_NUMDIST"))
            setNull({"EF06_DITTA_EF09", "EF06_INDTIPODIST_EF09", "EF06_ANNO_EF09", "EF06_NUMDIST_EF09",
                     "EF06_ETICHRAGGRAVV"});
        else
            rs.Fields(QStringLiteral("EF06_DITTA_EF09")).setValue(company());
        if (blank("CBO_INDORDPBONIF", "TXT_NUMORDPBONIF"))
            setNull(
                {"EF06_DITTA_EF10", "EF06_INDORDPBONIF_EF10", "EF06_ANNO_EF10", "EF06_NUMORDPBONIF_EF10"});
        else
            rs.Fields(QStringLiteral("EF06_DITTA_EF10")).setValue(company());
    });
    if (!ok) *cancel = true;
}

void FRMKV_STORICO::QRT_GRIDNAV_DETTSTORICO_ButtonClick(const QString& button, bool* cancel) {
    const bool ok = guard("FME_STORICO_BeforeDelete:", [&] {
        if (button == QStringLiteral("Conferma")) {
            if (in_.parent && in_.parent->treasuryExported() &&
                in_.log->MsgBox(HistoryFormTexts::kTesoreria,
                                LogService::kYesNo | LogService::kInformation | LogService::kDefaultButton2,
                                HistoryFormTexts::kTitleRichiestaConferma) != LogService::kYes) {
                *cancel = true;
                return;
            }
            const QVariant type = combo(QStringLiteral("CBO_INDTIPOPER"))->Value();
            const int t = Value::toInt(type);
            if (!Value::isNull(type) && (t == 0 || t == 12)) {
                if (in_.parent) in_.parent->markBillVaried();
                return;
            }
            if (!privileged()) {
                *cancel = true;
                in_.log->MsgBox(HistoryFormTexts::kNonModificabile, LogService::kExclamation,
                                HistoryFormTexts::kTitleAvviso);
                FME_STORICO->Undo();
            }
            return;
        }
        if (button == QStringLiteral("Elimina")) {
            // The deletion is the bill form's, with the Bill's restore in one transaction; the
            // navigator must not delete a further row after it.
            *cancel = true;
            Elimina();
        }
    });
    if (!ok) *cancel = true;
}

void FRMKV_STORICO::Elimina() {
    const std::shared_ptr<Recordset> rs = in_.recordset;
    if (!rs || !in_.parent) return;
    // A movement still being entered is only given up.
    if (FME_STORICO->Status() == VirtualFrame::kStatusAdding) {
        FME_STORICO->Undo();
        return;
    }
    if (!in_.parent->EliminaMovimentoStorico(true)) return;
    FME_STORICO->Detach();
    if (rs->RecordCount() > 0) rs->MoveLast();
    FME_STORICO->Attach(rs);
    if (in_.grid) {
        in_.grid->setDataSource(nullptr);
        in_.grid->setDataSource(rs);
    }
    if (rs->RecordCount() == 0) FME_STORICO->setStatus(VirtualFrame::kStatusAdding);
    QRT_GRIDNAV_DETTSTORICO_AfterButtonClick(QStringLiteral("Elimina"));
}

void FRMKV_STORICO::QRT_GRIDNAV_DETTSTORICO_AfterButtonClick(const QString& button) {
    guard("QRT_GRIDNAV_DETTSTORICO_AfterButtonClick:", [&] {
        FrameControl* progsto = control(QStringLiteral("TXT_PROGSTO"));
        const bool focus =
            button == QStringLiteral("Nuovo") ||
            (button == QStringLiteral("Elimina") && FME_STORICO->Status() == VirtualFrame::kStatusAdding);
        if (focus && progsto->isEnabled()) progsto->setFocus();
    });
}

void FRMKV_STORICO::Form_QueryUnload(bool& cancel) {
    guard("Form_QueryUnload:", [&] {
        const std::shared_ptr<Recordset> rs = FME_STORICO->recordset();
        if (!rs) return;
        if (FME_STORICO->Status() == VirtualFrame::kStatusAdding) {
            // A movement not confirmed is given up; the grid keeps its former rows.
            FME_STORICO->Detach();
            if (rs->EditMode() == Recordset::EditAdd) rs->CancelUpdate();
            if (rs->RecordCount() > 0) rs->MoveFirst();
        } else if (rs->EditMode() == Recordset::EditInProgress) {
            // Changes to a stored movement count only when confirmed; those confirmed before stay.
            rs->CancelUpdate();
        }
        if (in_.host && in_.host->ActiveNavigator()) cancel = false;
    });
}

void FRMKV_STORICO::closeEvent(QCloseEvent* event) {
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

void FRMKV_STORICO::reject() {
    // Esc and the window's close button go through the closing rules.
    close();
    if (unloaded_) QDialog::reject();
}

void FRMKV_STORICO::Form_KeyDown(int keyCode, int shift) {
    guard("Form_KeyDown:", [&] {
        if (keyCode == 115 && shift == 2) reject();
    });
}

void FRMKV_STORICO::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F4 && event->modifiers() == Qt::ControlModifier) {
        Form_KeyDown(115, 2);
        return;
    }
    QDialog::keyPressEvent(event);
}

// The history movement form's lifecycle and record events: opening on the grid's movement or on
// a new one, the progressive of a new movement, the rules of "Conferma" and "Elimina", and the
// closing that tells the bill form whether anything changed.
#include "FRMKV_STORICO.h"

#include "CheckBox.h"
#include "Cinterface.h"
#include "ComboBox.h"
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
#include "ScreenFit.h"
#include "SuiteError.h"
#include "Value.h"
#include "VirtualFrame.h"

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

FRMKV_STORICO::FRMKV_STORICO(QWidget* parent)
    : ChildRowForm(parent,
                   {HistoryFormTexts::kPlace, "EF06_", "EF06_PROGSTO", "TXT_PROGSTO", "EF06_PROGSTO",
                    HistoryFormTexts::kCaption, HistoryFormTexts::kScriptStructure},
                   &in_) {
    setObjectName(QStringLiteral("FRMKV_STORICO"));
    setWindowTitle(HistoryFormTexts::kCaption);
    // Form_Initialize: until the bill form says otherwise, a Bill in euro at rate 0.
    in_.currency = HistoryFormTexts::kEuro;
    createControls();
    resize(ScreenFit::bounded(this, QSize(1366, 620)));
    connect(FME_STORICO, &VirtualFrame::AfterAddNew, this, [this](bool ok) { FME_STORICO_AfterAddNew(ok); });
    connect(FME_STORICO, &VirtualFrame::ChangeStatus, this,
            [this](int status) { FME_STORICO_ChangeStatus(status); });
    connect(FME_STORICO, &VirtualFrame::BeforeUpdate, this,
            [this](bool* cancel) { FME_STORICO_BeforeUpdate(cancel); });
    connect(GNV_DETTSTORICO, &NavigatorBar::ButtonClick, this,
            [this](const QString& key, bool* cancel) { QRT_GRIDNAV_DETTSTORICO_ButtonClick(key, cancel); });
    connect(GNV_DETTSTORICO, &NavigatorBar::AfterButtonClick, this,
            [this](const QString& key) { QRT_GRIDNAV_DETTSTORICO_AfterButtonClick(key); });
    wireFrame(FME_STORICO, GNV_DETTSTORICO);
    connectFieldRules();
}

FRMKV_STORICO::~FRMKV_STORICO() = default;

void FRMKV_STORICO::hand(const HandOver& values) {
    in_ = values;
    if (in_.currency.trimmed().isEmpty()) in_.currency = HistoryFormTexts::kEuro;
    takeHandOver();
}

void FRMKV_STORICO::release() {
    FME_STORICO->Detach();
    in_ = HandOver{};
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
        bindHandedRows();
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

void FRMKV_STORICO::Form_Activate() {
    if (activated_) return;
    activated_ = true;
    guard("Form_Activate:", [&] {
        const std::shared_ptr<Recordset>& rs = in_.recordset;
        if (!rs || rs->State() != 1) return;
        standOnHandedRow();
        FrameControl* progsto = control(QStringLiteral("TXT_PROGSTO"));
        FrameControl* datareg = control(QStringLiteral("TXT_DATAREG"));
        if (progsto->isEnabled())
            progsto->setFocus();
        else if (datareg->isEnabled() && datareg->isVisible())
            datareg->setFocus();
    });
    openUserLayout();
}

void FRMKV_STORICO::FME_STORICO_AfterAddNew(bool success) {
    if (!success) return;
    guard("FME_STORICO_AfterAddNew:", [&] {
        Recordset& rs = *FME_STORICO->recordset();
        fillNewRowKey();
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
        if (QStringList missing = in_.parent ? in_.parent->missingForUndo() : QStringList();
            !missing.isEmpty()) {
            *cancel = true;
            for (FrameControl* c : FME_STORICO->controls())
                if (c && c->DataField() == missing.first()) c->setFocus(Qt::OtherFocusReason);
            for (QString& column : missing) column = captionOfColumn(column);
            in_.log->MsgBox(HistoryFormTexts::kSituazioneDaCompletare.arg(missing.join(QStringLiteral(", "))),
                            LogService::kExclamation, HistoryFormTexts::kTitleAttenzione);
        }
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
    guard("QRT_GRIDNAV_DETTSTORICO_AfterButtonClick:", [&] { focusProgressiveAfter(button); });
}

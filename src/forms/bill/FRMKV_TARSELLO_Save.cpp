// The header's record events: a new Bill's numbers and defaults, the change of status, the
// save in one transaction with its automatic history movement, and the deletion of a Bill with
// all its rows.
#include "BillFormTexts.h"
#include "BillStatements.h"
#include "CLSKV_TARSELLO.h"
#include "CheckBox.h"
#include "ComboBox.h"
#include "Connection.h"
#include "DateBox.h"
#include "EditBox.h"
#include "FRMKV_TARSELLO.h"
#include "FailureText.h"
#include "HistoryWriter.h"
#include "HostGlobal.h"
#include "IdEditBox.h"
#include "LogService.h"
#include "MDLKV_CODICIERR.h"
#include "MDLKV_TARSELLO.h"
#include "NumberingService.h"
#include "Recordset.h"
#include "SuiteError.h"
#include "TabControl.h"
#include "TransactionScope.h"
#include "Value.h"
#include "VirtualFrame.h"
#include "WriteConflict.h"

using MDLKV_TARSELLO::NullToString;

void FRMKV_TARSELLO::connectRecordEvents() {
    connect(FME_TESTATA, &VirtualFrame::AfterAddNew, this, [this](bool ok) { FME_TESTATA_AfterAddNew(ok); });
    connect(FME_TESTATA, &VirtualFrame::ChangeStatus, this,
            [this](int status) { FME_TESTATA_ChangeStatus(status); });
    connect(FME_TESTATA, &VirtualFrame::IsRecordChanged, this,
            [this](bool* changed) { FME_TESTATA_IsRecordChanged(changed); });
    connect(FME_TESTATA, &VirtualFrame::AfterUndo, this, [this](bool ok) { FME_TESTATA_AfterUndo(ok); });
    connect(FME_TESTATA, &VirtualFrame::BeforeUpdate, this,
            [this](bool* cancel) { FME_TESTATA_BeforeUpdate(cancel); });
    connect(FME_TESTATA, &VirtualFrame::AfterUpdate, this, [this](bool ok) { FME_TESTATA_AfterUpdate(ok); });
    connect(FME_TESTATA, &VirtualFrame::BeforeDelete, this,
            [this](bool* cancel) { FME_TESTATA_BeforeDelete(cancel); });
    connect(FME_CAMBIALI, &VirtualFrame::AfterAddNew, this, [this](bool ok) {
        if (ok)
            guard("FME_CAMBIALI_AfterAddNew:", [&] { fillChildKey(FME_CAMBIALI, QStringLiteral("EF03")); });
    });
    connect(FME_NOTE, &VirtualFrame::AfterAddNew, this, [this](bool ok) {
        if (ok) guard("FME_NOTE_AfterAddNew:", [&] { fillChildKey(FME_NOTE, QStringLiteral("EF04")); });
    });
    connect(FME_CAMBIALI, &VirtualFrame::UpdateBatchAll, this,
            [this] { writeChildBatch(FME_CAMBIALI, clsRstCambialiCessioni); });
    connect(FME_NOTE, &VirtualFrame::UpdateBatchAll, this, [this] { writeChildBatch(FME_NOTE, clsRstNote); });
}

// ---- small routines -------------------------------------------------------------------------

QString FRMKV_TARSELLO::DateDB(const QDate& date) {
    return date.toString(QStringLiteral("yyyyMMdd"));
}

QString FRMKV_TARSELLO::DecimalDB(const QVariant& value) {
    return BillStatements::decimalDB(value);
}

QString FRMKV_TARSELLO::composeRegistrationNumber(const QString& prefix, qint64 number) {
    return prefix + (QStringLiteral("00000000") + QString::number(number).trimmed()).right(8);
}

bool FRMKV_TARSELLO::SezionaleAbilitato() {
    auto* date = static_cast<DateBox*>(control(QStringLiteral("TXT_DATADOC")));
    if (!date->Valid() || date->Text().trimmed().isEmpty()) return false;
    return sections_.apply(Value::toDate(date->Value()));
}

bool FRMKV_TARSELLO::ControlloDati() {
    const QVariant state = clsRstTestata->Fields(QStringLiteral("EF01_INDSTATO_S")).Value();
    const QVariant operation = clsRstTestata->Fields(QStringLiteral("EF01_INDGENSTATO_S")).Value();
    // A state or an operation not chosen yet does not agree with anything.
    if (Value::isNull(state) || Value::isNull(operation)) return false;
    const int s = Value::toInt(state), o = Value::toInt(operation);
    return (s == 0 && (o == 0 || o == 3 || o == 5 || o == 6)) || (s == 1 && (o == 1 || o == 2 || o == 4));
}

bool FRMKV_TARSELLO::CheckSalvataggioStorico() {
    Recordset& rs = *FME_TESTATA->recordset();
    for (int i = 0; i < rs.FieldCount(); ++i) {
        const QString name = rs.Fields(i).Name().toUpper();
        if (!isHistoryColumn(name)) continue;
        if (NullToString(rs.Fields(i).Value()) != NullToString(rs.Fields(i).UnderlyingValue())) return true;
    }
    return false;
}

std::shared_ptr<Recordset> FRMKV_TARSELLO::GetRecordCorrente() {
    auto copy = std::make_shared<Recordset>();
    try {
        copy->Open(BillStatements::billShape(), clsConnessione);
        copy->AddNew();
        for (int i = 0; i < clsRstTestata->FieldCount(); ++i) {
            try {
                copy->Fields(clsRstTestata->Fields(i).Name()).setValue(clsRstTestata->Fields(i).Value());
            } catch (const SuiteError&) {
                // A column of another table (CO99_INDTIPOOP) has no place in the copy.
            }
        }
    } catch (const SuiteError&) {
    }
    return copy;
}

qint32 FRMKV_TARSELLO::NuovoProgressivoStorico(const BillKey& k) {
    Recordset rs;
    rs.Open(BillStatements::nextHistoryProgressive(k), clsConnessione);
    return Value::toInt(rs.Fields(QStringLiteral("NUOVOPROGRESSIVO")).Value());
}

void FRMKV_TARSELLO::AggiornaFlagVariato() {
    // Written straight into the row the save is writing, inside its transaction: going through
    // the frame's update again would raise the save's own events once more.
    clsRstTestata->Fields(QStringLiteral("EF01_FLGEFFVAR")).setValue(1);
    clsRstTestata->UpdateBatch(Recordset::AffectCurrent);
    CHK_FLGEFFVAR->setValue(QStringLiteral("1"));
}

bool FRMKV_TARSELLO::treasuryConfirmed() {
    return indExp_ != 1 ||
           clsLog->MsgBox(BillFormTexts::kTesoreria,
                          LogService::kYesNo | LogService::kInformation | LogService::kDefaultButton2,
                          BillFormTexts::kTitleRichiestaConferma) == LogService::kYes;
}

void FRMKV_TARSELLO::BeginTransazione() {
    if (!saveTransaction_) saveTransaction_.emplace(*clsConnessione);
}

void FRMKV_TARSELLO::CommitTransazione() {
    if (!saveTransaction_) return;
    // A failed commit has rolled back: the scope goes either way.
    try {
        saveTransaction_->commit();
    } catch (const SuiteError&) {
        saveTransaction_.reset();
        throw;
    }
    saveTransaction_.reset();
}

void FRMKV_TARSELLO::RollBackTransazione() {
    saveTransaction_.reset();
}

void FRMKV_TARSELLO::claimBill(bool historyPending) {
    const BillKey k = currentKey();
    const SuiteError conflict(SuiteError::kWriteConflict, QStringLiteral("claimBill"),
                              WriteConflict::kMessage);
    // Deleted by another user meanwhile: nothing of this save may be written.
    if (clsConnessione->Execute(BillStatements::claimBill(k)) != 1) throw conflict;
    if (!historyPending) return;
    // The movement keeps the Bill as this user read it: another user's change of a
    // history-relevant column since then would be lost from the history.
    Recordset stored;
    stored.Open(BillStatements::storedBill(k), clsConnessione);
    if (stored.AtEOF()) throw conflict;
    for (int i = 0; i < stored.FieldCount(); ++i) {
        const QString name = stored.Fields(i).Name().toUpper();
        if (!isHistoryColumn(name)) continue;
        if (NullToString(stored.Fields(i).Value()) !=
            NullToString(clsRstTestata->Fields(name).UnderlyingValue()))
            throw conflict;
    }
}

void FRMKV_TARSELLO::historyWriterFailed() const {
    const SuiteError cause(historyWriter_->LastErrorNumber(), QStringLiteral("HistoryWriter"),
                           historyWriter_->LastError());
    // Another user's change and a lock held too long are told as everywhere in the save.
    if (cause.number() == SuiteError::kWriteConflict || cause.number() == SuiteError::kTimeout) throw cause;
    // Anything else in our words (not the suite's "COM object"); the writer's detail goes to the log.
    const SuiteError failure =
        MDLKV_CODICIERR::moduleError(MDLKV_CODICIERR::StoricoNonScritto, QStringLiteral("."));
    throw SuiteError(failure.number(), failure.source(), FailureText::of(cause, failure.description()));
}

bool FRMKV_TARSELLO::isHistoryColumn(const QString& name) {
    // EF01_*_S*: the columns whose change is a history movement.
    return name.startsWith(QLatin1String("EF01_")) && name.indexOf(QLatin1String("_S"), 5) >= 0;
}

void FRMKV_TARSELLO::keepChildrenPending() {
    if (childrenPending_.cambiali) FME_CAMBIALI->setRecordChanged(true);
    if (childrenPending_.note) FME_NOTE->setRecordChanged(true);
    childrenPending_ = {};
}

void FRMKV_TARSELLO::writeChildBatch(VirtualFrame* frame, const std::shared_ptr<Recordset>& rs) {
    // Not guarded: an error (a write conflict too) must reach the save that asked for the
    // write, which rolls everything back and keeps the edits pending.
    if (frame->Status() == VirtualFrame::kStatusShown && rs) rs->UpdateBatch(Recordset::AffectAllChapters);
}

// A child row of the Bill shown takes the Bill's key; a row that carries only its key counts as
// untouched.
void FRMKV_TARSELLO::fillChildKey(VirtualFrame* frame, const QString& prefix) {
    const BillKey k = currentKey();
    Recordset& rs = *frame->recordset();
    rs.Fields(prefix + QStringLiteral("_DITTA_CG18")).setValue(company_);
    rs.Fields(prefix + QStringLiteral("_NUMREG_CO99")).setValue(k.numReg);
    rs.Fields(prefix + QStringLiteral("_RIGACONT_EF01")).setValue(k.row);
    rs.Fields(prefix + QStringLiteral("_PROGEC_EF01")).setValue(k.progEc);
    rs.Fields(prefix + QStringLiteral("_PROGEFF_EF01")).setValue(k.progEff);
    frame->setRecordChanged(false);
    frame->setChildChanged(false);
}

void FRMKV_TARSELLO::enableSections() {
    const bool enabled = SezionaleAbilitato();
    for (const char* name : {"TXT_SEZDOC", "TXT_SEZPART"}) {
        FrameControl* c = control(QString::fromLatin1(name));
        c->setEnabled(enabled);
        c->setAcceptsInput(enabled);
    }
}

// ---- numbers and defaults of a new Bill -----------------------------------------------------

void FRMKV_TARSELLO::NuoviNumeri() {
    guard("NuoviNumeri:", [&] {
        std::unique_ptr<NumberingService> numbering = global().CreateNumberingService();
        const QDateTime now = QDateTime::currentDateTime();
        numbering->year = now.date().year();
        numbering->kind = 2;
        numbering->company = QString::number(company_);
        numbering->subSeries = QStringLiteral("00");
        numbering->series = 999;
        numbering->date = now;
        numbering->connectionString = clsConnessione->ConnectionString();
        numbering->secondDate = now;
        const qint64 registration = numbering->NextNumber();
        newNumReg_ = composeRegistrationNumber(numbering->Prefix(), registration);
        const int tipo = ActiveClass ? Value::toInt(ActiveClass->TipoArchivio) : -1;
        if (tipo == 0 || tipo == 2) numbering->series = 921;
        if (tipo == 1 || tipo == 3) numbering->series = 922;
        clsRstTestata->Fields(QStringLiteral("EF01_NUMEFF")).setValue(numbering->NextNumber());
    });
}

void FRMKV_TARSELLO::FME_TESTATA_AfterAddNew(bool success) {
    if (!success) return;
    guard("FME_TESTATA_AfterAddNew:", [&] {
        const CompanyParameters& p = global().CompanyContext().parameters;
        const qint32 group = p.ledgerGroup;
        NuoviNumeri();
        auto set = [&](const char* column, const QVariant& v) {
            clsRstTestata->Fields(QString::fromLatin1(column)).setValue(v);
        };
        set("EF01_DITTA_CG18", company_);
        set("EF01_NUMREG_CO99", newNumReg_);
        set("EF01_RIGACONT_CG42", 1);
        set("EF01_PROGEC_EC01", 1);
        set("EF01_PROGEFF", 1);
        set("EF01_CODICE_CG08", BillFormTexts::kEuro);
        const int tipo = ActiveClass ? Value::toInt(ActiveClass->TipoArchivio) : -1;
        if (tipo == 0 || tipo == 1) {
            set("EF01_DITTACF_CG18", company_);
            set("EF01_TIPOCF_CG44", tipo);
            set("EF01_INDCONTO", tipo);
            set("EF01_GRUPPO_CG10", group);
            set("EF01_CONTO_CG24", tipo == 0 ? p.customerAccount : p.supplierAccount);
        } else if (tipo == 2 || tipo == 3) {
            set("EF01_DITTACF_CG18", QVariant());
            set("EF01_TIPOCF_CG44", QVariant());
            set("EF01_CLIFOR_CG44", QVariant());
            set("EF01_INDCONTO", tipo - 2);
            set("EF01_GRUPPO_CG10", group);
        }
        clsRstTestata->Fields(TXT_PROGR_EF08->DataField()).setValue(QVariant());
        clsRstTestata->Fields(TXT_ID_MG35->DataField()).setValue(QVariant());
        TXT_PROGR_MG35->setText(QString());
        FME_TESTATA->Refresh();
    });
}

void FRMKV_TARSELLO::FME_TESTATA_ChangeStatus(int status) {
    guard("FME_TESTATA_ChangeStatus:", [&] {
        if (status == VirtualFrame::kStatusShown || status == VirtualFrame::kStatusAdding) {
            if (status == VirtualFrame::kStatusShown && clsRstTestata && !clsRstTestata->AtBOF() &&
                !clsRstTestata->AtEOF() &&
                Value::isNull(clsRstTestata->Fields(QStringLiteral("EF01_ID_MG35")).Value()))
                TXT_PROGR_MG35->setText(QString());
            bolTabConf_DatiGen = bolTabConf_CambCess = bolTabConf_Storico = bolTabConf_Solleciti =
                bolTabConf_Note = false;
            bolStoricoModified = bolSollecitiModified = false;
            bolChildChanged = false;
            if (activated_) SetUpDatiControlloTab();
            AbilitaCampiValuta();
            FME_TESTATA->setRecordChanged(false);
            if (clsRstTestata && !clsRstTestata->AtBOF() && !clsRstTestata->AtEOF())
                indExp_ = qint16(Value::toInt(clsRstTestata->Fields(QStringLiteral("EF01_INDEXP")).Value()));
        }
        enableSections();
        enableSubtype();
        if (status == VirtualFrame::kStatusAdding && !SezionaleAbilitato()) {
            for (const char* name : {"TXT_SEZDOC", "TXT_SEZPART"})
                clsRstTestata->Fields(control(QString::fromLatin1(name))->DataField())
                    .setValue(QStringLiteral("00"));
            FME_TESTATA->Refresh();
            FME_TESTATA->setRecordChanged(false);
        }
    });
}

void FRMKV_TARSELLO::FME_TESTATA_IsRecordChanged(bool* changed) {
    if (FME_TESTATA->Status() != VirtualFrame::kStatusShown) return;
    auto pending = [](VirtualFrame* f) { return f->RecordChanged() || f->ChildChanged(); };
    *changed = *changed || bolSollecitiModified || bolStoricoModified ||
               (bolTabConf_Note && pending(FME_NOTE)) || (bolTabConf_CambCess && pending(FME_CAMBIALI));
}

void FRMKV_TARSELLO::FME_TESTATA_AfterUndo(bool success) {
    if (!success) return;
    guard("FME_TESTATA_AfterUndo:", [&] {
        if (bolTabConf_CambCess) {
            ShowCambialiCessioni();
            FME_CAMBIALI->setRecordChanged(false);
        }
        if (bolTabConf_Storico) {
            ShowStorico();
            bolStoricoModified = false;
        }
        if (bolTabConf_Solleciti) {
            ShowSolleciti();
            bolSollecitiModified = false;
        }
        if (bolTabConf_Note) {
            ShowNote();
            FME_NOTE->setRecordChanged(false);
        }
    });
}

// ---- saving ---------------------------------------------------------------------------------

// The header's checks before anything is written; false (the clerk told why) refuses the save.
bool FRMKV_TARSELLO::headerChecksPass() {
    if (!treasuryConfirmed()) return false;
    if (!TXT_PROGR_MG35->Valid()) {
        clsLog->MsgBox(BillFormTexts::kBancaNonValida, LogService::kExclamation,
                       BillFormTexts::kTitleControlloDati);
        return false;
    }
    if (!TXT_CIG->Valid() || !control(QStringLiteral("TXT_CUP"))->Valid()) {
        auto shown = [](const QString& code) {
            return code.isEmpty() ? BillFormTexts::kCodiceVuoto : QStringLiteral("\"%1\"").arg(code);
        };
        clsLog->MsgBox(BillFormTexts::kCigCupNonValido.arg(
                           shown(NullToString(TXT_CIG->Text())),
                           shown(NullToString(control(QStringLiteral("TXT_CUP"))->Text()))),
                       LogService::kExclamation, BillFormTexts::kTitleControlloDati);
        return false;
    }
    if (!ControlloValuta()) return false;
    if (!ControlloDati()) {
        clsLog->MsgBox(BillFormTexts::kStatoIncoerente, LogService::kExclamation,
                       BillFormTexts::kTitleControlloDati);
        FrameControl* operation = control(QStringLiteral("CBO_INDGENSTATO"));
        if (operation->isEnabled() && operation->isVisible()) {
            TAB_SCADENZE->setTab(TabDatiGenerali);
            operation->setFocus();
        }
        return false;
    }
    return true;
}

// A new Bill's document registered in the save's transaction; the header shows its operation
// type as registered now.
void FRMKV_TARSELLO::registerNewDocument() {
    const LoggedUser& user = global().User();
    BillStatements::Registration r;
    r.company = company_;
    r.numReg = newNumReg_;
    r.created = QDate::currentDate();
    r.userGroup = NullToString(user.group);
    r.userCode = NullToString(user.code);
    clsConnessione->Execute(BillStatements::registerDocument(r));
    Recordset registered;
    registered.Open(BillStatements::registeredOperationType(company_, newNumReg_), clsConnessione);
    if (!registered.AtEOF())
        clsRstTestata->setFetchedValue(QStringLiteral("CO99_INDTIPOOP"), registered.Fields(0).Value());
}

// The history movement of a changed Bill, prepared once the Bill is held: its snapshot and
// progressive cannot change under it.
void FRMKV_TARSELLO::prepareHistoryMovement() {
    auto movement = std::make_shared<HistoryMovement>();
    movement->connection = clsConnessione;
    movement->bill = GetRecordCorrente();
    movement->setting = 0;
    // After the movements the clerk added, which this save writes first.
    movement->progressive = std::max(NuovoProgressivoStorico(currentKey()), pendingHistoryProgressive() + 1);
    movement->date = QDateTime::currentDateTime();
    historyWriter_ = global().CreateHistoryWriter();
    historyWriter_->setMovement(movement);
    if (historyWriter_->Prepare() != 0) historyWriterFailed();
    historyPending_ = true;
}

void FRMKV_TARSELLO::FME_TESTATA_BeforeUpdate(bool* cancel) {
    if (*cancel) return;
    historyPending_ = false;
    childrenPending_ = {
        bolTabConf_CambCess && (FME_CAMBIALI->RecordChanged() || FME_CAMBIALI->ChildChanged()),
        bolTabConf_Note && (FME_NOTE->RecordChanged() || FME_NOTE->ChildChanged())};
    const bool completed = guard("FME_TESTATA_BeforeUpdate:", [&] {
        if (!headerChecksPass()) {
            *cancel = true;
            return;
        }
        if (childrenPending_.cambiali && !FME_CAMBIALI->UpdateRecord(true, true)) *cancel = true;
        if (childrenPending_.note && !FME_NOTE->UpdateRecord(true, true)) *cancel = true;
        if (*cancel) return;

        // Everything from here on is written in one transaction, or nothing is.
        BeginTransazione();
        if (FME_TESTATA->Status() == VirtualFrame::kStatusAdding) {
            registerNewDocument();
            return;
        }
        const bool history = CheckSalvataggioStorico();
        claimBill(history);
        if (history) prepareHistoryMovement();
    });
    // A save whose checks refused or failed writes nothing: the transaction goes, the edits stay.
    if (!completed || *cancel) {
        *cancel = true;
        historyPending_ = false;
        RollBackTransazione();
        keepChildrenPending();
    }
}

void FRMKV_TARSELLO::FME_TESTATA_AfterUpdate(bool success) {
    if (!success) {
        RollBackTransazione();
        keepChildrenPending();
        historyPending_ = false;
        return;
    }
    const bool saved = guard("FME_TESTATA_AfterUpdate:", [&] {
        if (bolTabConf_CambCess) FME_CAMBIALI->UpdateBatch();
        if (bolTabConf_Note) FME_NOTE->UpdateBatch();
        if (bolSollecitiModified && clsRstSolleciti)
            clsRstSolleciti->UpdateBatch(Recordset::AffectAllChapters);
        if (bolStoricoModified && clsRstStorico) clsRstStorico->UpdateBatch(Recordset::AffectAllChapters);
        if (historyPending_) {
            if (historyWriter_->Write() != 0) historyWriterFailed();
            AggiornaFlagVariato();
        }
        CommitTransazione();
    });
    if (!saved) {
        // Rolled back by the error report: every row written is pending again, and so are the edits.
        RollBackTransazione();
        FME_TESTATA->FailUpdate();
        keepChildrenPending();
        historyPending_ = false;
        return;
    }
    childrenPending_ = {};
    if (historyPending_) {
        bolTabConf_Storico = false;
        SetUpDatiControlloTab();
        historyPending_ = false;
    }
    bolStoricoModified = bolSollecitiModified = false;
    bolChildChanged = false;
    if (clsRstTestata && !clsRstTestata->AtBOF() && !clsRstTestata->AtEOF())
        indExp_ = qint16(Value::toInt(clsRstTestata->Fields(QStringLiteral("EF01_INDEXP")).Value()));
}

// ---- deleting -------------------------------------------------------------------------------

void FRMKV_TARSELLO::FME_TESTATA_BeforeDelete(bool* cancel) {
    *cancel = true;  // the frame never deletes the row itself
    guard("FME_TESTATA_BeforeDelete:", [&] {
        if (!clsRstTestata || clsRstTestata->RecordCount() <= 0 || clsRstTestata->AtBOF() ||
            clsRstTestata->AtEOF())
            return;
        const bool registeredHere =
            Value::toInt(clsRstTestata->Fields(QStringLiteral("CO99_INDTIPOOP")).Value()) == 4;
        if (!registeredHere && !global().User().privileged) {
            clsLog->MsgBox(BillFormTexts::kNonAutorizzato, LogService::kExclamation,
                           BillFormTexts::kTitleInformazione);
            return;
        }
        const QVariant movementType = clsRstTestata->Fields(QStringLiteral("EF01_INDTIPOMOV")).Value();
        const bool consolidated = !Value::isNull(movementType) && Value::toInt(movementType) == 0;
        if (clsLog->MsgBox(
                consolidated ? BillFormTexts::kEliminaConsolidato : BillFormTexts::kEliminaNonConsolidato,
                LogService::kYesNo | LogService::kCritical | LogService::kDefaultButton2,
                BillFormTexts::kTitleInformazione) != LogService::kYes)
            return;
        if (!treasuryConfirmed()) return;
        const BillKey k = currentKey();
        FME_TESTATA->Detach();
        // All of the Bill's rows go, or none; and only the Bill as the clerk read it.
        try {
            BeginTransazione();
            clsRstTestata->HoldCurrentRow();
            clsConnessione->Execute(BillStatements::deleteBill(k));
            CommitTransazione();
        } catch (const SuiteError& e) {
            RollBackTransazione();
            if (e.number() == SuiteError::kWriteConflict) throw;
            // Confirmed and not done: said in our words, the engine's in the log.
            clsLog->MsgBox(FailureText::of(e, BillFormTexts::kEffettoNonEliminato), LogService::kExclamation,
                           BillFormTexts::kTitleInformazione);
            return;
        }
        // The rows around it read again: the Bill that followed it, or the last one.
        clsRstTestata->RequeryAround();
        FME_TESTATA->Attach(clsRstTestata);
    });
    if (FME_TESTATA->recordset() == nullptr && clsRstTestata) FME_TESTATA->Attach(clsRstTestata);
}

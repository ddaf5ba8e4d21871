// The history tab of the bill form: the grid of the Bill's history movements, the opening of
// the history movement form for one of them or for a new one, and the deletion of the last
// movement, which puts the Bill back as that movement found it.
#include "BillFormTexts.h"
#include "BillStatements.h"
#include "CheckBox.h"
#include "ChildQueries.h"
#include "Connection.h"
#include "Decimal.h"
#include "FRMKV_STORICO.h"
#include "FRMKV_TARSELLO.h"
#include "Grid.h"
#include "GridAmountFormat.h"
#include "GridNavigator.h"
#include "HistoryCodeTables.h"
#include "HistoryFormTexts.h"
#include "HostGlobal.h"
#include "IdEditBox.h"
#include "LogService.h"
#include "MDLKV_TARSELLO.h"
#include "NumericBox.h"
#include "Recordset.h"
#include "SchemaCatalogue.h"
#include "SlipTotals.h"
#include "SuiteError.h"
#include "TransactionScope.h"
#include "Value.h"
#include "VirtualFrame.h"

void FRMKV_TARSELLO::connectHistoryEvents() {
    connect(GRD_STORICO, &Grid::CellDblClick, this, [this] { GRD_STORICO_CellDblClick(); });
    connectGridTab(GRD_STORICO, clsRstStorico, QStringLiteral("EF06_IDMEDIA_CG99"),
                   &HistoryCodeTables::cellText, "GRD_STORICO_RowColChange:");
    connect(GNV_STORICO, &NavigatorBar::ButtonClick, this,
            [this](const QString& key, bool* cancel) { QRT_GRIDNAV_STORICO_ButtonClick(key, cancel); });
}

void FRMKV_TARSELLO::InizializzaStorico() {
    guard("InizializzaStorico:", [&] {
        FormattaGridStorico();
        openGridTab(GRD_STORICO, clsRstStorico, ChildQueries::storico(currentKey()));
        bolTabIni_Storico = bolTabConf_Storico = true;
    });
}

void FRMKV_TARSELLO::ShowStorico() {
    guard("ShowStorico:", [&] {
        openGridTab(GRD_STORICO, clsRstStorico, ChildQueries::storico(currentKey()));
        bolTabConf_Storico = true;
    });
}

void FRMKV_TARSELLO::FormattaGridStorico() {
    guard("FormattaGridStorico:", [&] {
        const QString currency = newGridAmountFormat(clsFormatStorico, GRD_STORICO);
        const QString euro = BillFormTexts::kEuro;
        const std::pair<const char*, const QString*> columns[] = {
            {"EF06_IMPEFF_S", &euro},        {"EF06_IMPEFFVAL_S", &currency},
            {"EF06_IMPEFFNETPREV_S", &euro}, {"EF06_IMPEFFNETPREVVAL_S", &currency},
            {"EF06_IMPMOVPAG", &euro},       {"EF06_IMPMOVPAGVAL", &currency},
            {"EF06_IMPMOVABB", &euro},       {"EF06_IMPMOVABBVAL", &currency},
            {"EF06_IMPMOVACC", &euro},       {"EF06_IMPMOVACCVAL", &currency},
            {"EF06_IMPMOVRIT", &euro},       {"EF06_IMPMOVRITVAL", &currency},
            {"EF06_SPESERIT_S", &currency},  {"EF06_SPESERITBAN_S", &currency},
            {"EF06_DIFFCAMBIO", &currency}};
        for (const auto& [field, cur] : columns)
            clsFormatStorico->Add(QString::fromLatin1(field), GridAmountFormat::kAmount, *cur);
    });
}

void FRMKV_TARSELLO::GRD_STORICO_CellDblClick() {
    guard("GRD_STORICO_CellDblClick:", [&] {
        if (!GRD_STORICO->DataSource() || GRD_STORICO->DataSource()->AtBOF() ||
            GRD_STORICO->DataSource()->AtEOF())
            return;
        if (FME_TESTATA->Status() == VirtualFrame::kStatusAdding) return;
        ApriStorico(false);
    });
}

void FRMKV_TARSELLO::ApriStorico(bool nuovo) {
    FRMKV_STORICO::HandOver h;
    fillChildHandOver(h, GRD_STORICO, clsRstStorico, nuovo, bolChildChanged);
    h.currency = TXT_VALUTA->isEnabled() ? TXT_VALUTA->Text().trimmed() : QString();
    h.cambio = cambio();
    h.parent = this;
    auto form = std::make_unique<FRMKV_STORICO>(this);
    form->hand(h);
    showChildForm(*form);
    bolChildChanged = form->changed();
    // The movements wait in the history recordset: the Bill must be saved to write them.
    if (bolChildChanged) bolStoricoModified = true;
    childFormAnswered(bolChildChanged, GRD_STORICO);
    form->release();
}

void FRMKV_TARSELLO::QRT_GRIDNAV_STORICO_ButtonClick(const QString& button, bool* cancel) {
    *cancel = true;  // the navigator does nothing of its own here
    guard("QRT_GRIDNAV_STORICO_ButtonClick:", [&] {
        if (!clsRstTestata || clsRstTestata->AtBOF() || clsRstTestata->AtEOF()) return;
        if (button == QStringLiteral("Nuovo")) {
            if (!treasuryConfirmed()) return;
            ApriStorico(true);
        } else if (button == QStringLiteral("Apri")) {
            if (!clsRstStorico || clsRstStorico->AtBOF() || clsRstStorico->AtEOF()) return;
            ApriStorico(false);
        } else if (button == QStringLiteral("Elimina")) {
            EliminaMovimentoStorico(false);
        }
    });
}

void FRMKV_TARSELLO::markBillVaried() {
    guard("FME_STORICO_BeforeUpdate:", [&] {
        // Written with the Bill's save, in its transaction, like the movement that causes it.
        clsRstTestata->Fields(QStringLiteral("EF01_FLGEFFVAR")).setValue(1);
        CHK_FLGEFFVAR->setValue(QStringLiteral("1"));
    });
}

QStringList FRMKV_TARSELLO::missingForUndo() const {
    if (!clsRstStorico || clsRstStorico->AtBOF() || clsRstStorico->AtEOF() || !clsConnessione->catalogue())
        return {};
    const TableDef* bills = clsConnessione->catalogue()->table(QStringLiteral("EF01_SCADENZE"));
    if (!bills) return {};
    const BillStatements::MovementValue movement = [&](const QString& column) {
        return clsRstStorico->Fields(column).Value();
    };
    return BillStatements::missingForRestore(movement, *bills);
}

void FRMKV_TARSELLO::rereadHeader() {
    FME_TESTATA->DataWillBeReread();
    FME_TESTATA->Detach();
    // The page around the Bill: it stays the one shown wherever it lies in the selection.
    clsRstTestata->RequeryAround();
    FME_TESTATA->Attach(clsRstTestata);
    FME_TESTATA->setRecordChanged(false);
    FME_TESTATA->setChildChanged(false);
    if (!clsRstTestata->AtBOF() && !clsRstTestata->AtEOF())
        indExp_ = qint16(Value::toInt(clsRstTestata->Fields(QStringLiteral("EF01_INDEXP")).Value()));
}

qint32 FRMKV_TARSELLO::pendingHistoryProgressive() const {
    qint32 highest = 0;
    if (!bolStoricoModified || !clsRstStorico || clsRstStorico->State() != 1) return 0;
    std::shared_ptr<Recordset> clone = clsRstStorico->Clone();
    clone->setFilter(Recordset::FilterPendingRecords);
    for (clone->MoveFirst(); !clone->AtEOF(); clone->MoveNext())
        highest =
            std::max(highest, qint32(Value::toInt(clone->Fields(QStringLiteral("EF06_PROGSTO")).Value())));
    return highest;
}

bool FRMKV_TARSELLO::EliminaMovimentoStorico(bool fromMovementForm) {
    bool deleted = false;
    guard("QRT_GRIDNAV_STORICO_ButtonClick:", [&] {
        const std::shared_ptr<Recordset> rs = clsRstStorico;
        if (!rs || rs->State() != 1 || rs->AtBOF() || rs->AtEOF() || rs->RecordCount() <= 0) return;
        if (!mayDeleteMovement(*rs)) return;
        deleteLastMovement(rs, fromMovementForm);
        deleted = true;
    });
    return deleted;
}

// Only the last movement, by a privileged user when the program wrote it, with nothing unsaved
// and the situation before it complete, once the clerk confirmed.
bool FRMKV_TARSELLO::mayDeleteMovement(Recordset& rs) {
    if (rs.AbsolutePosition() != rs.RecordCount()) {
        clsLog->MsgBox(HistoryFormTexts::kSoloUltimo, LogService::kExclamation,
                       HistoryFormTexts::kTitleAttenzione);
        return false;
    }
    const int type = Value::toInt(rs.Fields(QStringLiteral("EF06_INDTIPOPER")).Value());
    if (type != 0 && !global().User().privileged) {
        clsLog->MsgBox(HistoryFormTexts::kNonAutorizzato, LogService::kExclamation,
                       HistoryFormTexts::kTitleAttenzione);
        return false;
    }
    // Unsaved: the header's edits, or movements still waiting for the Bill's save (the one
    // to delete among them) — the database does not hold what would be deleted or restored.
    if (FME_TESTATA->Status() != VirtualFrame::kStatusShown || FME_TESTATA->RecordChanged() ||
        FME_TESTATA->ChildChanged() || bolStoricoModified || rs.Status() != RowStatus::Unmodified) {
        clsLog->MsgBox(HistoryFormTexts::kDatiNonSalvati, LogService::kExclamation,
                       HistoryFormTexts::kTitleAttenzione);
        return false;
    }
    if (QStringList missing = missingForUndo(); !missing.isEmpty()) {
        for (QString& column : missing) column = FRMKV_STORICO::captionOfColumn(column);
        clsLog->MsgBox(HistoryFormTexts::kSituazioneIncompleta.arg(missing.join(QStringLiteral(", "))),
                       LogService::kExclamation, HistoryFormTexts::kTitleAttenzione);
        return false;
    }
    if (clsLog->MsgBox(type != 0 ? HistoryFormTexts::kEliminaAutomatico : HistoryFormTexts::kEliminaManuale,
                       LogService::kYesNo | LogService::kCritical | LogService::kDefaultButton2,
                       HistoryFormTexts::kTitleInformazione) != LogService::kYes)
        return false;
    return treasuryConfirmed();
}

// The Bill restored from the movement and the movement deleted, in one transaction.
void FRMKV_TARSELLO::deleteLastMovement(const std::shared_ptr<Recordset>& rs, bool fromMovementForm) {
    const BillStatements::MovementValue movement = [&](const QString& column) {
        return rs->Fields(column).Value();
    };
    bolChildChanged = false;
    GRD_STORICO->setDataSource(nullptr);
    FME_TESTATA->BeginExternalChange();
    struct EndChange {
        VirtualFrame* frame;
        ~EndChange() { frame->EndExternalChange(); }
    } endChange{FME_TESTATA};
    const BillKey k = currentKey();
    const int position = rs->AbsolutePosition();
    try {
        // The Bill's restore and the movement's deletion go together, or neither does; and
        // only while the Bill and its history are as this clerk read them: a colleague's save
        // since then (a new movement, a changed Bill) would otherwise be wiped unseen.
        TransactionScope transaction(*clsConnessione);
        clsRstTestata->HoldCurrentRow();
        if (NuovoProgressivoStorico(k) - 1 != Value::toInt(movement(QStringLiteral("EF06_PROGSTO"))))
            throw SuiteError(SuiteError::kWriteConflict, QStringLiteral("EliminaMovimentoStorico"),
                             QStringLiteral("Il movimento non è più l'ultimo dell'effetto."));
        Recordset count;
        count.Open(BillStatements::countManualMovements(k, !fromMovementForm), clsConnessione);
        const bool onlyManual = Value::toInt(count.Fields(0).Value()) == 1;
        clsConnessione->Execute(BillStatements::restoreFromHistory(company_, movement, onlyManual));
        // The slip the movement presented the Bill on loses it: its count and total follow.
        const std::optional<SlipKey> slip = SlipTotals::presentedOn(movement);
        rs->Delete(Recordset::AffectCurrent);
        rs->UpdateBatch(Recordset::AffectCurrent);
        if (slip) SlipTotals::follow(*clsConnessione, *slip);
        transaction.commit();
    } catch (const SuiteError&) {
        // Rolled back: the movement is in the database still, and so is the Bill as it was.
        rs->CancelBatch(Recordset::AffectAll);
        rs->Requery();
        if (rs->RecordCount() > 0) rs->setAbsolutePosition(std::min(position, rs->RecordCount()));
        GRD_STORICO->setDataSource(rs);
        rereadHeader();
        throw;
    }
    rereadHeader();
    if (fromMovementForm) {
        rs->Requery();
        if (rs->RecordCount() > 0) rs->MoveLast();
    } else if (rs->RecordCount() > 0) {
        rs->MovePrevious();
        if (rs->AtBOF()) rs->MoveFirst();
    }
    GRD_STORICO->setDataSource(rs);
}

// The "Dati cambiali e cessioni" tab: the bill of exchange's debtor and place of payment in the
// Bill's EF03_SCADCECAM row, and the links to the Bill it was received from and the Bill it was
// endorsed to, one LinkedBillSide each.
#include "CLSKV_TARSELLO.h"
#include "ChildQueries.h"
#include "ComboBox.h"
#include "EditBox.h"
#include "FRMKV_TARSELLO.h"
#include "IdEditBox.h"
#include "LinkedBillSide.h"
#include "Recordset.h"
#include "TabControl.h"
#include "VirtualFrame.h"

void FRMKV_TARSELLO::connectCambiali() {
    ricevuto_ = new LinkedBillSide(*this,
                                   {"CHK_FLGRICEVUTO", "CBO_TIPOCFR", "TXT_CODCLIFORR", "TXT_DESCLIFORR",
                                    "TXT_NUMEFFRIC", "RIC", "Lkp_NumEffRic", true},
                                   [this] { Carica_CBO_TIPOCFR(); });
    girato_ = new LinkedBillSide(*this,
                                 {"CHK_FLGGIRATO", "CBO_TIPOCFG", "TXT_CODCLIFORG", "TXT_DESCLIFORG",
                                  "TXT_NUMEFFGIR", "GIR", "Lkp_NumEffGir", false},
                                 [this] { Carica_CBO_TIPOCFG(); });
    connect(FME_CAMBIALI, &VirtualFrame::ValidateRecord, this, [this](FrameControl** inError) {
        guard("FME_CAMBIALI_ValidateRecord:", [&] { FME_CAMBIALI_ValidateRecord(inError); });
    });
    for (FrameControl* field :
         {static_cast<FrameControl*>(TXT_DEBITORE), control(QStringLiteral("TXT_PIAZZA"))})
        connect(field, &FrameControl::GotFocus, this, [this] { ContestoAllegatiCambiali(); });
}

void FRMKV_TARSELLO::InizializzaCambialiCessioni() {
    guard("InizializzaCambialiCessioni:", [&] {
        FME_CAMBIALI->AddControl(TXT_DEBITORE);
        FME_CAMBIALI->AddControl(control(QStringLiteral("TXT_PIAZZA")));
        readCambialiCessioni();
        bolTabIni_CambCess = bolTabConf_CambCess = true;
    });
}

void FRMKV_TARSELLO::ShowCambialiCessioni() {
    guard("ShowCambialiCessioni:", [&] {
        FME_CAMBIALI->DataWillBeReread();
        readCambialiCessioni();
        bolTabConf_CambCess = true;
    });
}

// The Bill's row bound to the frame, and its links decoded from the second result: the type, the
// counterpart and the number of each linked Bill, read from that Bill.
void FRMKV_TARSELLO::readCambialiCessioni() {
    ricevuto_->reset();
    girato_->reset();
    openFrameTab(FME_CAMBIALI, clsRstCambialiCessioni, ChildQueries::cambialiCessioni(currentKey()));
    const std::shared_ptr<Recordset> links = clsRstCambialiCessioni->NextRecordset();
    ricevuto_->show(links.get());
    girato_->show(links.get());
}

// The endorsed side first: a row is refused on the first side ticked whose number names no Bill.
void FRMKV_TARSELLO::FME_CAMBIALI_ValidateRecord(FrameControl** inError) {
    for (LinkedBillSide* side : {girato_, ricevuto_}) {
        if (FrameControl* field = side->fieldInError()) {
            TAB_SCADENZE->setTab(TabCambialiCessioni);
            *inError = field;
            return;
        }
    }
}

void FRMKV_TARSELLO::ContestoAllegatiCambiali() {
    guard("ContestoAllegatiCambiali:", [&] {
        if (!clsRstCambialiCessioni || !ActiveClass) return;
        const bool onRow = clsRstCambialiCessioni->State() == 1 && !clsRstCambialiCessioni->AtBOF() &&
                           !clsRstCambialiCessioni->AtEOF();
        ActiveClass->ImpostaIconaAllegati(
            onRow ? clsRstCambialiCessioni->Fields(QStringLiteral("EF03_IDMEDIA_CG99")).Value() : QVariant());
    });
}

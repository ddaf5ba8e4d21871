// The reminders tab of the bill form: the grid of the reminders sent for the Bill, the opening
// of the reminder form for one of them or for a new one, and the deletion of a reminder. Every
// change waits in the reminders recordset and reaches the database with the Bill's save.
#include "BillFormTexts.h"
#include "ChildQueries.h"
#include "FRMKV_SOLLECITI.h"
#include "FRMKV_TARSELLO.h"
#include "Grid.h"
#include "GridAmountFormat.h"
#include "GridNavigator.h"
#include "IdEditBox.h"
#include "LetterBuilder.h"
#include "LetterPreview.h"
#include "LogService.h"
#include "Recordset.h"
#include "ReminderCodeTables.h"
#include "Value.h"
#include "VirtualFrame.h"

#include <QPushButton>

void FRMKV_TARSELLO::connectReminderEvents() {
    // The reminders tab has nothing to confirm: its rows are confirmed in the reminder form.
    GNV_SOLLECITI->button(QStringLiteral("Conferma"))->hide();
    GNV_SOLLECITI->addButton(BillFormTexts::kKeyLettera, BillFormTexts::kCaptionLettera);
    connect(GRD_SOLLECITI, &Grid::CellDblClick, this, [this] { GRD_SOLLECITI_CellDblClick(); });
    connectGridTab(GRD_SOLLECITI, clsRstSolleciti, QStringLiteral("EF05_IDMEDIA_CG99"),
                   &ReminderCodeTables::cellText, "GRD_SOLLECITI_RowColChange:");
    connect(GNV_SOLLECITI, &NavigatorBar::ButtonClick, this,
            [this](const QString& key, bool* cancel) { QRT_GRIDNAV_SOLLECITI_ButtonClick(key, cancel); });
}

void FRMKV_TARSELLO::InizializzaSolleciti() {
    guard("InizializzaSolleciti:", [&] {
        FormattaGridSolleciti();
        openGridTab(GRD_SOLLECITI, clsRstSolleciti, ChildQueries::solleciti(currentKey()));
        bolTabIni_Solleciti = bolTabConf_Solleciti = true;
    });
}

void FRMKV_TARSELLO::ShowSolleciti() {
    guard("ShowSolleciti:", [&] {
        openGridTab(GRD_SOLLECITI, clsRstSolleciti, ChildQueries::solleciti(currentKey()));
        bolTabConf_Solleciti = true;
    });
}

void FRMKV_TARSELLO::FormattaGridSolleciti() {
    guard("FormattaGridSolleciti:", [&] {
        const QString currency = newGridAmountFormat(clsFormatSolleciti, GRD_SOLLECITI);
        clsFormatSolleciti->Add(QStringLiteral("EF05_TASSOINT"), GridAmountFormat::kRate, QString());
        for (const char* field :
             {"EF05_IMPINTERES", "EF05_SPESERIT", "EF05_SPBOLLO", "EF05_SPPOST", "EF05_SPVARIE"})
            clsFormatSolleciti->Add(QString::fromLatin1(field), GridAmountFormat::kAmount, currency);
    });
}

void FRMKV_TARSELLO::GRD_SOLLECITI_CellDblClick() {
    guard("GRD_SOLLECITI_CellDblClick:", [&] {
        const std::shared_ptr<Recordset> rs = GRD_SOLLECITI->DataSource();
        if (!rs || rs->AtBOF() || rs->AtEOF()) return;
        if (FME_TESTATA->Status() == VirtualFrame::kStatusAdding) return;
        ApriSolleciti(false);
    });
}

void FRMKV_TARSELLO::ApriSolleciti(bool nuovo) {
    FRMKV_SOLLECITI::HandOver h;
    fillChildHandOver(h, GRD_SOLLECITI, clsRstSolleciti, nuovo, bolSollecitiModified);
    // The interest of a reminder is worked out on the Bill's amount in its own currency.
    const QString currency = TXT_VALUTA->isEnabled() ? TXT_VALUTA->Text().trimmed().toUpper() : QString();
    const bool foreign = !currency.isEmpty() && currency != BillFormTexts::kEuro;
    const QVariant amount =
        clsRstTestata->Fields(foreign ? QStringLiteral("EF01_IMPEFFVAL_S") : QStringLiteral("EF01_IMPEFF_S"))
            .Value();
    if (!Value::isNull(amount)) h.billAmount = Value::toDecimal(amount);
    auto form = std::make_unique<FRMKV_SOLLECITI>(this);
    form->hand(h);
    showChildForm(*form);
    bolSollecitiModified = form->changed();
    childFormAnswered(bolSollecitiModified, GRD_SOLLECITI);
    form->release();
}

void FRMKV_TARSELLO::StampaLetteraSollecito() {
    // The letter is the reminder as the database holds it: one still pending is saved first.
    if (bolSollecitiModified || FME_TESTATA->isRecordChanged()) {
        clsLog->MsgBox(BillFormTexts::kLetteraNonSalvata, LogService::kExclamation,
                       BillFormTexts::kTitleInformazione);
        return;
    }
    const BillKey k = currentKey();
    const QString key =
        QStringLiteral("%1,%2,%3,%4,%5").arg(k.company).arg(k.numReg).arg(k.row).arg(k.progEc).arg(k.progEff);
    const LetterBuilder builder(clsConnessione, company_);
    const ReminderLetter letter = builder.forReminder(
        key, Value::toInt(clsRstSolleciti->Fields(QStringLiteral("EF05_PROGAVVISI")).Value()));
    LetterPreview::show(letter, builder.sender(), this);
}

void FRMKV_TARSELLO::QRT_GRIDNAV_SOLLECITI_ButtonClick(const QString& button, bool* cancel) {
    *cancel = true;  // the navigator does nothing of its own here
    guard("QRT_GRIDNAV_SOLLECITI_ButtonClick:", [&] {
        if (!clsRstTestata || clsRstTestata->AtBOF() || clsRstTestata->AtEOF()) return;
        const std::shared_ptr<Recordset> rs = clsRstSolleciti;
        const bool onRow = rs && rs->State() == 1 && !rs->AtBOF() && !rs->AtEOF();
        if (button == QStringLiteral("Nuovo")) {
            if (rs && rs->State() == 1) ApriSolleciti(true);
        } else if (button == QStringLiteral("Apri")) {
            if (onRow) ApriSolleciti(false);
        } else if (button == BillFormTexts::kKeyLettera) {
            if (onRow) StampaLetteraSollecito();
        } else if (button == QStringLiteral("Elimina")) {
            if (!onRow) return;
            // Gone from the grid at once; from the database with the Bill's save.
            rs->Delete(Recordset::AffectCurrent);
            if (rs->RecordCount() > 0) {
                rs->MovePrevious();
                if (rs->AtBOF()) rs->MoveFirst();
            }
            bolSollecitiModified = true;
            FME_TESTATA->setRecordChanged(true);
            FME_TESTATA->Refresh();
            GRD_SOLLECITI->Refresh();
        }
    });
}

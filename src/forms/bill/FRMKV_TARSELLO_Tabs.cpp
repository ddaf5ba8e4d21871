// The tabs of the bill form: each is read the first time it is shown and read again when shown
// after the Bill changed; the main navigator's "Avanti" and "Indietro" step through them.
#include "BillFormTexts.h"
#include "BillGridLayouts.h"
#include "CLSKV_TARSELLO.h"
#include "ChildQueries.h"
#include "EditBox.h"
#include "FRMKV_TARSELLO.h"
#include "Grid.h"
#include "IdEditBox.h"
#include "MainNavigator.h"
#include "MemoBox.h"
#include "NumericBox.h"
#include "Recordset.h"
#include "TabControl.h"
#include "Value.h"
#include "VirtualFrame.h"

namespace {
// The field each tab focuses first.
const char* const kFirstField[] = {"TXT_ANNOPART", "TXT_DEBITORE", "GRD_STORICO", "GRD_SOLLECITI",
                                   "TXT_NOTERAGGR"};
const char* const kEuroAmounts[] = {"TXT_IMPEFF",     "TXT_IMPEFFNETPREV", "TXT_IMPEFFORIG",
                                    "TXT_IMPIVAORIG", "TXT_TOTDOC",        "TXT_BOLLI",
                                    "TXT_SPINC",      "TXT_IMPRITACC",     "TXT_IMPRITACCORIG"};
}  // namespace

void FRMKV_TARSELLO::TAB_SCADENZE_Click() {
    SetUpDatiControlloTab();
    ImpostaFocusSuPrimoCampoTab();
    // The general data are the header's: its attachments, whichever field took the focus.
    if (TAB_SCADENZE->Tab() == TabDatiGenerali) ContestoAllegatiTestata();
}

void FRMKV_TARSELLO::SetUpDatiControlloTab() {
    guard("SetUpDatiControlloTab:", [&] {
        switch (TAB_SCADENZE->Tab()) {
            case TabDatiGenerali:
                if (bolTabConf_DatiGen) return;
                if (!bolTabIni_DatiGen) {
                    for (const char* name : kEuroAmounts)
                        static_cast<NumericBox*>(control(QString::fromLatin1(name)))
                            ->setCurrencyLabel(BillFormTexts::kEuro);
                    bolTabIni_DatiGen = true;
                }
                bolTabConf_DatiGen = true;
                return;
            case TabCambialiCessioni:
                if (bolTabConf_CambCess) return;
                bolTabIni_CambCess ? ShowCambialiCessioni() : InizializzaCambialiCessioni();
                return;
            case TabStorico:
                if (bolTabConf_Storico) return;
                bolTabIni_Storico ? ShowStorico() : InizializzaStorico();
                return;
            case TabSolleciti:
                if (bolTabConf_Solleciti) return;
                bolTabIni_Solleciti ? ShowSolleciti() : InizializzaSolleciti();
                return;
            case TabNote:
                if (bolTabConf_Note) return;
                bolTabIni_Note ? ShowNote() : InizializzaNote();
                return;
            default:
                return;
        }
    });
}

void FRMKV_TARSELLO::ImpostaFocusSuPrimoCampoTab() {
    const int tab = TAB_SCADENZE->Tab();
    if (tab < 0 || tab > 4) return;
    auto* field = findChild<QWidget*>(QString::fromLatin1(kFirstField[tab]));
    if (field && field->isEnabled() && field->isVisible()) field->setFocus(Qt::TabFocusReason);
}

void FRMKV_TARSELLO::QRT_INTERNAV_DETTTARS_ButtonClick(const QString& button, bool*) {
    guard("QRT_INTERNAV_DETTTARS_ButtonClick:", [&] {
        const bool forward = button == QStringLiteral("Avanti");
        if (!forward && button != QStringLiteral("Indietro")) return;
        const int current = TAB_SCADENZE->Tab();
        for (int n = 1; n <= 4; ++n) {
            const int step = forward ? n : 5 - n;
            const int candidate = (current + step) % 5;
            if (TAB_SCADENZE->TabEnabled(candidate)) {
                TAB_SCADENZE->setTab(candidate);
                return;
            }
        }
    });
}

void FRMKV_TARSELLO::QRT_INTERNAV_DETTTARS_AfterButtonClick(const QString& button) {
    guard("QRT_INTERNAV_DETTTARS_AfterButtonClick:", [&] {
        if (button != QStringLiteral("Nuovo")) return;
        TAB_SCADENZE->setTab(TabDatiGenerali);
        const int tipo = ActiveClass ? Value::toInt(ActiveClass->TipoArchivio) : -1;
        QWidget* field = nullptr;
        if (tipo == 0 || tipo == 1) {
            field = TXT_CLIFOR;
        } else if (tipo == 2 || tipo == 3) {
            field = TXT_PDC;
        }
        if (field && field->isEnabled() && field->isVisible()) field->setFocus(Qt::TabFocusReason);
    });
}

void FRMKV_TARSELLO::layGrids() {
    guard("Form_Activate:", [&] {
        for (auto [grid, columns] : {std::pair{GRD_SOLLECITI, &BillGridLayouts::solleciti()},
                                     std::pair{GRD_STORICO, &BillGridLayouts::storico()}}) {
            grid->ClearColumns();
            for (const BillGridLayouts::Column& c : *columns)
                grid->AddColumn(QString::fromLatin1(c.field), QString::fromUtf8(c.caption), c.kind, c.width,
                                true, 0, QString::fromLatin1(c.format));
        }
    });
}

// A tab whose row sits in a frame (bills of exchange, notes): its recordset read for the Bill
// shown and bound; a Bill without the row starts one, which counts as untouched until typed in.
void FRMKV_TARSELLO::openFrameTab(VirtualFrame* frame, std::shared_ptr<Recordset>& rs, const QString& sql) {
    if (rs && rs->State() == 1) rs->Close();
    rs = std::make_shared<Recordset>();
    rs->Open(sql, clsConnessione);
    frame->Bind(clsConnessione, rs, sql, QString());
    frame->setStatus(rs->RecordCount() > 0 ? VirtualFrame::kStatusShown : VirtualFrame::kStatusAdding);
}

// A tab that is a grid (history, reminders): its recordset read for the Bill shown and shown.
void FRMKV_TARSELLO::openGridTab(Grid* grid, std::shared_ptr<Recordset>& rs, const QString& sql) {
    grid->setDataSource(nullptr);
    if (rs && rs->State() == 1) rs->Close();
    rs = std::make_shared<Recordset>();
    rs->Open(sql, clsConnessione);
    grid->setDataSource(rs);
}

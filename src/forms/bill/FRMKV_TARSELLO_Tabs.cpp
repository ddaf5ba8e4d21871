// The tabs of the bill form: each is read the first time it is shown and read again when shown
// after the Bill changed; the main navigator's "Avanti" and "Indietro" step through them.
#include "BillFormTexts.h"
#include "BillGridLayouts.h"
#include "ChildQueries.h"
#include "CLSKV_TARSELLO.h"
#include "EditBox.h"
#include "FRMKV_TARSELLO.h"
#include "Grid.h"
#include "IdEditBox.h"
#include "MainNavigator.h"
#include "NumericBox.h"
#include "Recordset.h"
#include "TabControl.h"
#include "Value.h"
#include "VirtualFrame.h"

namespace {
// The field each tab focuses first.
const char* const kFirstField[] = {"TXT_ANNOPART", "TXT_DEBITORE", "GRD_STORICO", "GRD_SOLLECITI", "TXT_NOTERAGGR"};
const char* const kEuroAmounts[] = {"TXT_IMPEFF", "TXT_IMPEFFNETPREV", "TXT_IMPEFFORIG", "TXT_IMPIVAORIG", "TXT_TOTDOC",
                                    "TXT_BOLLI", "TXT_SPINC", "TXT_IMPRITACC", "TXT_IMPRITACCORIG"};
}  // namespace

void FRMKV_TARSELLO::TAB_SCADENZE_Click() {
    SetUpDatiControlloTab();
    ImpostaFocusSuPrimoCampoTab();
}

void FRMKV_TARSELLO::SetUpDatiControlloTab() {
    guard("SetUpDatiControlloTab:", [&] {
        switch (TAB_SCADENZE->Tab()) {
            case TabDatiGenerali:
                if (bolTabConf_DatiGen) return;
                if (!bolTabIni_DatiGen) {
                    for (const char* name : kEuroAmounts)
                        static_cast<NumericBox*>(control(QString::fromLatin1(name)))->setCurrencyLabel(BillFormTexts::kEuro);
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
            default: return;
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
            TXT_CLIFOR->setProperty("SelettoreCliFor", tipo + 1);
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
                grid->AddColumn(QString::fromLatin1(c.field), QString::fromUtf8(c.caption), c.kind, c.width, true, 0,
                                QString::fromLatin1(c.format));
        }
    });
}

// Bills of exchange and assignments: the tab's row, bound to FME_CAMBIALI; the linked bills of
// the batch's second result are decoded by the tab's own handlers.
void FRMKV_TARSELLO::InizializzaCambialiCessioni() {
    guard("InizializzaCambialiCessioni:", [&] {
        const QString sql = ChildQueries::cambialiCessioni(currentKey());
        clsRstCambialiCessioni = std::make_shared<Recordset>();
        clsRstCambialiCessioni->Open(sql, clsConnessione);
        FME_CAMBIALI->Bind(clsConnessione, clsRstCambialiCessioni, sql, QString());
        FME_CAMBIALI->AddControl(TXT_DEBITORE);
        FME_CAMBIALI->AddControl(control(QStringLiteral("TXT_PIAZZA")));
        FME_CAMBIALI->setStatus(clsRstCambialiCessioni->RecordCount() > 0 ? VirtualFrame::kStatusShown
                                                                          : VirtualFrame::kStatusAdding);
        bolTabIni_CambCess = bolTabConf_CambCess = true;
    });
}

void FRMKV_TARSELLO::ShowCambialiCessioni() {
    guard("ShowCambialiCessioni:", [&] {
        FME_CAMBIALI->DataWillBeReread();
        if (clsRstCambialiCessioni && clsRstCambialiCessioni->State() == 1) clsRstCambialiCessioni->Close();
        const QString sql = ChildQueries::cambialiCessioni(currentKey());
        clsRstCambialiCessioni = std::make_shared<Recordset>();
        clsRstCambialiCessioni->Open(sql, clsConnessione);
        FME_CAMBIALI->Bind(clsConnessione, clsRstCambialiCessioni, sql, QString());
        FME_CAMBIALI->setStatus(clsRstCambialiCessioni->RecordCount() > 0 ? VirtualFrame::kStatusShown
                                                                          : VirtualFrame::kStatusAdding);
        bolTabConf_CambCess = true;
    });
}

void FRMKV_TARSELLO::InizializzaNote() {
    guard("InizializzaNote:", [&] {
        const QString sql = ChildQueries::note(currentKey());
        clsRstNote = std::make_shared<Recordset>();
        clsRstNote->Open(sql, clsConnessione);
        FME_NOTE->Bind(clsConnessione, clsRstNote, sql, QString());
        FME_NOTE->AddControl(TXT_NOTERAGGR);
        FME_NOTE->AddControl(TXT_NOTEAMMIN);
        FME_NOTE->setStatus(clsRstNote->RecordCount() > 0 ? VirtualFrame::kStatusShown : VirtualFrame::kStatusAdding);
        bolTabIni_Note = bolTabConf_Note = true;
    });
}

void FRMKV_TARSELLO::ShowNote() {
    guard("ShowNote:", [&] {
        if (clsRstNote && clsRstNote->State() == 1) clsRstNote->Close();
        const QString sql = ChildQueries::note(currentKey());
        clsRstNote = std::make_shared<Recordset>();
        clsRstNote->Open(sql, clsConnessione);
        FME_NOTE->Bind(clsConnessione, clsRstNote, sql, QString());
        FME_NOTE->setStatus(clsRstNote->RecordCount() > 0 ? VirtualFrame::kStatusShown : VirtualFrame::kStatusAdding);
        bolTabConf_Note = true;
    });
}

void FRMKV_TARSELLO::InizializzaStorico() {
    guard("InizializzaStorico:", [&] {
        clsRstStorico = std::make_shared<Recordset>();
        clsRstStorico->Open(ChildQueries::storico(currentKey()), clsConnessione);
        GRD_STORICO->setDataSource(clsRstStorico);
        bolTabIni_Storico = bolTabConf_Storico = true;
    });
}

void FRMKV_TARSELLO::ShowStorico() {
    guard("ShowStorico:", [&] {
        GRD_STORICO->setDataSource(nullptr);
        if (clsRstStorico && clsRstStorico->State() == 1) clsRstStorico->Close();
        clsRstStorico = std::make_shared<Recordset>();
        clsRstStorico->Open(ChildQueries::storico(currentKey()), clsConnessione);
        GRD_STORICO->setDataSource(clsRstStorico);
        bolTabConf_Storico = true;
    });
}

void FRMKV_TARSELLO::InizializzaSolleciti() {
    guard("InizializzaSolleciti:", [&] {
        clsRstSolleciti = std::make_shared<Recordset>();
        clsRstSolleciti->Open(ChildQueries::solleciti(currentKey()), clsConnessione);
        GRD_SOLLECITI->setDataSource(clsRstSolleciti);
        bolTabIni_Solleciti = bolTabConf_Solleciti = true;
    });
}

void FRMKV_TARSELLO::ShowSolleciti() {
    guard("ShowSolleciti:", [&] {
        GRD_SOLLECITI->setDataSource(nullptr);
        if (clsRstSolleciti && clsRstSolleciti->State() == 1) clsRstSolleciti->Close();
        clsRstSolleciti = std::make_shared<Recordset>();
        clsRstSolleciti->Open(ChildQueries::solleciti(currentKey()), clsConnessione);
        GRD_SOLLECITI->setDataSource(clsRstSolleciti);
        bolTabConf_Solleciti = true;
    });
}

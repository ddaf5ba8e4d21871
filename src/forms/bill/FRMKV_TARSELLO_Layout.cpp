// The bill form's controls and their layout: the header group above, the five tabs below, the
// main navigator at the foot. Each tab's fields stand in groups read column by column, each
// group row by row, left to right; Tab follows the same order, and a tab scrolls when the
// window is smaller than its groups.
#include "BillFormTexts.h"
#include "CheckBox.h"
#include "ControlFactory.h"
#include "EditBox.h"
#include "FRMKV_TARSELLO.h"
#include "FieldGrid.h"
#include "Grid.h"
#include "GridNavigator.h"
#include "GroupColumns.h"
#include "IdEditBox.h"
#include "LayoutScriptButton.h"
#include "MainNavigator.h"
#include "MemoBox.h"
#include "NumericBox.h"
#include "ScrollPage.h"
#include "TabControl.h"
#include "VirtualFrame.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// Every data control of the form with its bound column and caption.
const ControlDef kControls[] = {
    {"TXT_NUMREG", ControlKind::Text, "EF01_NUMREG_CO99", "Numero di registrazione"},
    {"TXT_RIGACONT", ControlKind::Number, "EF01_RIGACONT_CG42", "Riga contabile"},
    {"TXT_PROGEC", ControlKind::Number, "EF01_PROGEC_EC01", "Progressivo estratto conto"},
    {"TXT_PROGEFF", ControlKind::Number, "EF01_PROGEFF", "Progressivo effetti"},
    {"TXT_NUMEFF", ControlKind::Number, "EF01_NUMEFF", "Numero di protocollo"},
    {"CBO_TIPOEFF", ControlKind::Combo, "EF01_TIPOEFF", "Tipo effetto"},
    {"TXT_STIPOEFF", ControlKind::Code, "EF01_STIPOEFF", "Sottotipo effetto"},
    {"TXT_SCADE", ControlKind::Date, "EF01_SCADE_S", "Data scadenza"},
    {"TXT_SCADEORIG", ControlKind::Date, "EF01_SCADEORIG", "Data scadenza originaria"},
    {"TXT_NUMRATA", ControlKind::Number, "EF01_NUMRATA", "Numero di rata"},
    {"TXT_TOTRATE", ControlKind::Number, "EF01_TOTRATE", "Totale rate"},
    {"TXT_DATAREG", ControlKind::Date, "EF01_DATAREG", "Data registrazione effetto"},
    {"TXT_DATADOC", ControlKind::Date, "EF01_DATADOC", "Data documento"},
    {"TXT_NUMDOC", ControlKind::Number, "EF01_NUMDOC", "Numero documento"},
    {"TXT_SEZDOC", ControlKind::Code, "EF01_SEZDOC", "Sezionale documento"},
    {"CHK_BISDOC", ControlKind::Check, "EF01_FLGDOCBIS", "Bis"},
    {"TXT_NUMDOCORIG", ControlKind::Text, "EF01_NUMDOCORIG", "Numero documento originario"},
    {"TXT_ANNOPART", ControlKind::Number, "EF01_ANNOPART", "Anno partita"},
    {"TXT_NUMPART", ControlKind::Number, "EF01_NUMPART", "Numero partita"},
    {"TXT_SEZPART", ControlKind::Code, "EF01_SEZPART", "Sezionale partita"},
    {"CHK_FLGPARTBIS", ControlKind::Check, "EF01_FLGPARTBIS", "Bis"},
    {"TXT_VALUTA", ControlKind::Code, "EF01_CODICE_CG08", "Codice valuta"},
    {"TXT_DATACAMBIO", ControlKind::Date, "EF01_DATACAMBIO", "Data cambio"},
    {"TXT_CAMBIO", ControlKind::Number, "EF01_CAMBIO", "Valore del cambio"},
    {"TXT_CONTRFINANZ", ControlKind::Text, "EF01_CONTRFINANZ", "Numero contratto di finanziamento"},
    {"TXT_IMPEFFVAL", ControlKind::Amount, "EF01_IMPEFFVAL_S", "Importo effetto in valuta"},
    {"TXT_IMPEFF", ControlKind::Amount, "EF01_IMPEFF_S", "Importo effetto in EURO"},
    {"TXT_IMPEFFNETPREVVAL", ControlKind::Amount, "EF01_IMPEFFNETPREVVAL_S",
     "Importo effetto al netto dei mov. previsionali in valuta"},
    {"TXT_IMPEFFNETPREV", ControlKind::Amount, "EF01_IMPEFFNETPREV_S",
     "Importo effetto al netto dei mov. previsionali in EURO"},
    {"TXT_IMPEFFORIGVAL", ControlKind::Amount, "EF01_IMPEFFORIGVAL", "Importo effetto originario in valuta"},
    {"TXT_IMPEFFORIG", ControlKind::Amount, "EF01_IMPEFFORIG", "Importo effetto originario in EURO"},
    {"TXT_IMPIVAORIGVAL", ControlKind::Amount, "EF01_IMPEFFIVA_VAL", "Importo IVA originario in valuta"},
    {"TXT_IMPIVAORIG", ControlKind::Amount, "EF01_IMPEFFIVA", "Importo IVA originario in EURO"},
    {"TXT_TOTDOCVAL", ControlKind::Amount, "EF01_TOTDOCVAL", "Totale documento in valuta"},
    {"TXT_TOTDOC", ControlKind::Amount, "EF01_TOTDOC", "Totale documento in EURO"},
    {"TXT_BOLLIVAL", ControlKind::Amount, "EF01_BOLLIVAL", "Importo bolli in valuta"},
    {"TXT_BOLLI", ControlKind::Amount, "EF01_BOLLI", "Importo bolli in EURO"},
    {"TXT_SPINCVAL", ControlKind::Amount, "EF01_SPINCVAL", "Spese incasso in valuta"},
    {"TXT_SPINC", ControlKind::Amount, "EF01_SPINC", "Spese incasso in EURO"},
    {"TXT_IMPRITACC", ControlKind::Amount, "EF01_IMPRITACC",
     "Importo residuo della ritenuta di acconto in Euro"},
    {"TXT_IMPRITACCVAL", ControlKind::Amount, "EF01_IMPRITACCVAL",
     "Importo residuo della ritenuta di acconto in valuta"},
    {"TXT_IMPRITACCORIG", ControlKind::Amount, "EF01_IMPRITACCORIG",
     "Importo origine della ritenuta di acconto in EURO"},
    {"TXT_IMPRITACCORIGVAL", ControlKind::Amount, "EF01_IMPRITACCORIGVAL",
     "Importo origine della ritenuta di acconto in valuta"},
    {"TXT_CODBANCAAPP", ControlKind::Code, "EF01_BANCAAPP_CG12", "Banca d'appoggio"},
    {"TXT_CODAGENAPP", ControlKind::Code, "EF01_AGENAPP_CG13", "Agenzia d'appoggio"},
    {"TXT_CODBANCAPRES", ControlKind::Code, "EF01_BANCAPRE_SCG12", "Banca di presentazione"},
    {"TXT_CODAGENPRES", ControlKind::Code, "EF01_AGENPRE_SCG13", "Agenzia di presentazione"},
    {"TXT_CODPAG", ControlKind::Code, "EF01_CODPAG_CG62", "Condizione di pagamento"},
    {"TXT_CODAGE", ControlKind::Code, "EF01_IDAGENTE_MG17", "Codice agente"},
    {"CBO_INDSPERIT", ControlKind::Combo, "EF01_INDSPERIT_S", "Modalità di gestione delle spese di ritorno"},
    {"TXT_SPESERIT", ControlKind::Amount, "EF01_SPESERIT_S", "Spese di ritorno"},
    {"TXT_SPESERIT_S", ControlKind::Amount, "EF01_SPESERIT_S", "Spese di ritorno"},
    {"TXT_SPESERITBAN", ControlKind::Amount, "EF01_SPESERITBAN_S", "Spese di ritorno addebitate dalla banca"},
    {"CBO_INDSTATO", ControlKind::Combo, "EF01_INDSTATO_S", "Stato effetto"},
    {"CBO_INDPRES", ControlKind::Combo, "EF01_INDPRES_S", "Presentazione dell'effetto"},
    {"CBO_TIPOMOV", ControlKind::Combo, "EF01_INDTIPOMOV", "Tipo movimento"},
    {"CBO_INDGENSTATO", ControlKind::Combo, "EF01_INDGENSTATO_S",
     "Operazione che ha determinato lo stato dell'effetto"},
    {"CBO_INDLIQPROV", ControlKind::Combo, "EF01_INDLIQPROV", "Liquidazione provvigioni"},
    {"CHK_FLGSTEFF", ControlKind::Check, "EF01_FLGSTEFF_S", "Stampato"},
    {"TXT_NUMSTEFF", ControlKind::Number, "EF01_NUMSTEFF_S", "Numero stampa effetto"},
    {"CHK_FLGEFFVAR", ControlKind::Check, "EF01_FLGEFFVAR", "Variato"},
    {"CHK_FLGACCONTO", ControlKind::Check, "EF01_FLGACCONTO", "Acconto"},
    {"CHK_FLGSOSPESO", ControlKind::Check, "EF01_FLGSOSPESO", "Sospeso"},
    {"CHK_FLGGENDARAG", ControlKind::Check, "EF01_FLGGENDARAG", "Da raggr."},
    {"CHK_FLGESTRAZ", ControlKind::Check, "EF01_FLGESTRAZ", "Estratto"},
    {"TXT_NUMRIEMIS", ControlKind::Number, "EF01_NUMRIEMIS_S", "Numero di riemissione"},
    {"CHK_FLGRICEVUTO", ControlKind::Check, "EF01_FLGRICEVUTO_S", "Ricevuto"},
    {"CHK_FLGGIRATO", ControlKind::Check, "EF01_FLGGIRATO_S", "Girato"},
    {"TXT_IMPADEGCAMBIO", ControlKind::Amount, "EF01_IMPADEGCAMBIO_S", "Importo adeguamento cambio su conto"},
    {"TXT_DATACAMBIOADCONTO", ControlKind::Date, "EF01_DATACAMBIOADCONTO_S",
     "Data cambio dell'adeguamento su conto"},
    {"TXT_CAMBIOADCONTO", ControlKind::Number, "EF01_CAMBIOADCONTO_S",
     "Valore cambio movimento adeguamento su conto"},
    {"CHK_INDEXP", ControlKind::Check, "EF01_INDEXP", "Esportato"},
    {"CHK_FLGINCASSOBF", ControlKind::Check, "EF01_FLGINCASSOBF_S", "Incasso buon fine"},
    {"TXT_CUP", ControlKind::Code, "EF01_CUP", "Codice Unico di Progetto"},
    {"TXT_CIG", ControlKind::Code, "EF01_CIG", "Codice Identificativo Gara"},
    {"TXT_EF01_GUID_STATO", ControlKind::RowKey, "EF01_GUID", "Stato scadenza"},
    {"TXT_ATTRIBUTI", ControlKind::RowKey, "EF01_GUID", "Attributi estesi"},
    {"TXT_DATADECORR", ControlKind::Date, "EF01_DATADECORR", "Data decorrenza per calcolo scadenza"},
    {"CBO_INDMERCEART62", ControlKind::Combo, "EF01_INDMERCEART62", "Tipo merce in riferimento all'Art. 62"},
    {"TXT_PROGR_EF08", ControlKind::Code, "EF01_PROGR_EF08", "Progressivo banca aziendale"},
    {"TXT_ID_MG35", ControlKind::Code, "EF01_ID_MG35", ""},
    {"TXT_CODCARTA", ControlKind::Text, "EF01_CODCCRED", "Codice carta di credito"},
    {"CBO_ACCETTAZIONE", ControlKind::Combo, "EF01_ACCETTAZIONE", "Accettazione"},
    {"TXT_ACCORPAMENTO", ControlKind::Number, "EF01_NUMEFFACCOR", "Numero accorpamento"},
    {"TXT_CAUSMGO", ControlKind::Code, "EF01_CAUSMGO_MGFO", "Causale MGO"},
    {"TXT_NRAVVISOMAV", ControlKind::Text, "EF01_NRAVVISOMAV", "Numero avviso MAV"},
    {"TXT_CLIFOR", ControlKind::Code, "EF01_CLIFOR_CG44", "Codice cliente/fornitore"},
    {"TXT_PDC", ControlKind::Code, "EF01_CONTO_CG24", "Codice conto"},
    {"TXT_PROGR_MG35", ControlKind::Code, "", "Banca di canalizzazione"},
    // Descriptions of the coded fields
    {"TXT_DESCLFOPDC", ControlKind::Text, "", "Ragione sociale / descrizione conto"},
    {"TXT_DESPAG", ControlKind::Text, "", "Descrizione condizione di pagamento"},
    {"TXT_DESAGE", ControlKind::Text, "", "Ragione sociale agente"},
    {"TXT_DESBANCAAPP", ControlKind::Text, "", "Descrizione banca d'appoggio"},
    {"TXT_DESAGENAPP", ControlKind::Text, "", "Descrizione agenzia d'appoggio"},
    {"TXT_DESBANCAPRES", ControlKind::Text, "", "Descrizione banca di presentazione"},
    {"TXT_DESAGENPRES", ControlKind::Text, "", "Descrizione agenzia di presentazione"},
    {"TXT_DESSTIPOEFF", ControlKind::Text, "", "Descrizione sottotipo effetto"},
    {"TXT_DESCRSCAUSMGO", ControlKind::Text, "", "Descrizione causale MGO"},
    {"TXT_DESCR_EF08", ControlKind::Text, "", "Descrizione banca aziendale"},
    {"TXT_DESCR_CG12", ControlKind::Text, "", "Descrizione banca di canalizzazione"},
    // Bills of exchange and assignments
    {"TXT_DEBITORE", ControlKind::Text, "EF03_DEBITORE", "Debitore"},
    {"TXT_PIAZZA", ControlKind::Text, "EF03_PIAZZA", "Piazza"},
    {"CBO_TIPOCFR", ControlKind::Combo, "", "Tipo cliente/fornitore effetto ricevuto"},
    {"CBO_TIPOCFG", ControlKind::Combo, "", "Tipo cliente/fornitore effetto girato"},
    {"TXT_CODCLIFORR", ControlKind::Code, "", "Codice cliente/fornitore effetto ricevuto"},
    {"TXT_CODCLIFORG", ControlKind::Code, "", "Codice cliente/fornitore effetto girato"},
    {"TXT_DESCLIFORR", ControlKind::Text, "", "Ragione sociale cliente/fornitore effetto ricevuto"},
    {"TXT_DESCLIFORG", ControlKind::Text, "", "Ragione sociale cliente/fornitore effetto girato"},
    {"TXT_NUMEFFRIC", ControlKind::Code, "", "Numero di effetto ricevuto"},
    {"TXT_NUMEFFGIR", ControlKind::Code, "", "Numero dell'effetto girato"},
    // Notes
    {"TXT_NOTEAMMIN", ControlKind::Memo, "EF04_NOTEAMMIN", "Note amministrazione"},
    {"TXT_NOTERAGGR", ControlKind::Memo, "EF04_NOTERAGGR", "Note raggruppamento effetti"},
};

}  // namespace

FrameControl* FRMKV_TARSELLO::make(const ControlDef& def) {
    FrameControl* c = ControlFactory::create(def, this);
    // Amounts in euro say so; those in the Bill's currency get its code from the currency field.
    if (def.kind == ControlKind::Amount && !c->objectName().endsWith(QLatin1String("VAL")))
        static_cast<NumericBox*>(c)->setCurrencyLabel(BillFormTexts::kEuro);
    // Combos as wide as their longest usual text, so that three groups stand side by side.
    if (def.kind == ControlKind::Combo) c->setMinimumWidth(125);
    controls_.insert(c->objectName(), c);
    return c;
}

void FRMKV_TARSELLO::createControls() {
    for (const ControlDef& d : kControls) make(d);
    bindControls();
    FME_TESTATA = new VirtualFrame(this);
    FME_TESTATA->setObjectName(QStringLiteral("FME_TESTATA"));
    FME_CAMBIALI = new VirtualFrame(this);
    FME_CAMBIALI->setObjectName(QStringLiteral("FME_CAMBIALI"));
    FME_NOTE = new VirtualFrame(this);
    FME_NOTE->setObjectName(QStringLiteral("FME_NOTE"));
    for (VirtualFrame* f : {FME_TESTATA, FME_CAMBIALI, FME_NOTE}) f->hide();
    placeControls();
}

// The controls the code names, and those shown but never typed into.
void FRMKV_TARSELLO::bindControls() {
    TXT_CLIFOR = static_cast<IdEditBox*>(control(QStringLiteral("TXT_CLIFOR")));
    TXT_PDC = static_cast<IdEditBox*>(control(QStringLiteral("TXT_PDC")));
    TXT_VALUTA = static_cast<IdEditBox*>(control(QStringLiteral("TXT_VALUTA")));
    TXT_PROGR_MG35 = static_cast<IdEditBox*>(control(QStringLiteral("TXT_PROGR_MG35")));
    TXT_PROGR_EF08 = static_cast<IdEditBox*>(control(QStringLiteral("TXT_PROGR_EF08")));
    TXT_CODAGE = static_cast<IdEditBox*>(control(QStringLiteral("TXT_CODAGE")));
    TXT_CIG = static_cast<IdEditBox*>(control(QStringLiteral("TXT_CIG")));
    TXT_ID_MG35 = static_cast<EditBox*>(control(QStringLiteral("TXT_ID_MG35")));
    TXT_ATTRIBUTI = static_cast<EditBox*>(control(QStringLiteral("TXT_ATTRIBUTI")));
    TXT_CONTRFINANZ = static_cast<EditBox*>(control(QStringLiteral("TXT_CONTRFINANZ")));
    TXT_CODCARTA = static_cast<EditBox*>(control(QStringLiteral("TXT_CODCARTA")));
    TXT_ANNOPART = static_cast<NumericBox*>(control(QStringLiteral("TXT_ANNOPART")));
    TXT_DEBITORE = static_cast<EditBox*>(control(QStringLiteral("TXT_DEBITORE")));
    TXT_NOTERAGGR = static_cast<MemoBox*>(control(QStringLiteral("TXT_NOTERAGGR")));
    TXT_NOTEAMMIN = static_cast<MemoBox*>(control(QStringLiteral("TXT_NOTEAMMIN")));
    CHK_FLGEFFVAR = static_cast<CheckBox*>(control(QStringLiteral("CHK_FLGEFFVAR")));
    for (const char* readOnly : {"TXT_NUMREG", "TXT_RIGACONT", "TXT_PROGEC", "TXT_PROGEFF", "TXT_DESCLIFORR",
                                 "TXT_DESCLIFORG", "TXT_EF01_GUID_STATO", "TXT_ATTRIBUTI"})
        static_cast<EditBox*>(control(QString::fromLatin1(readOnly)))->setAcceptsInput(false);
    // The Bill's key is read, never typed: Tab passes it by.
    for (const char* key : {"TXT_NUMREG", "TXT_RIGACONT", "TXT_PROGEC", "TXT_PROGEFF"})
        control(QString::fromLatin1(key))->setTabStop(false);
    for (const char* description :
         {"TXT_DESCLFOPDC", "TXT_DESPAG", "TXT_DESAGE", "TXT_DESBANCAAPP", "TXT_DESAGENAPP",
          "TXT_DESBANCAPRES", "TXT_DESAGENPRES", "TXT_DESSTIPOEFF", "TXT_DESCRSCAUSMGO", "TXT_DESCR_EF08",
          "TXT_DESCR_CG12"}) {
        FrameControl* c = control(QString::fromLatin1(description));
        static_cast<EditBox*>(c)->setAcceptsInput(false);
        c->setTabStop(false);
    }
    control(QStringLiteral("TXT_DESCLIFORR"))->setEnabled(false);
    control(QStringLiteral("TXT_DESCLIFORG"))->setEnabled(false);
    control(QStringLiteral("TXT_SPESERIT_S"))->hide();
}

// The header above the tabs, the navigator and the script button at the foot.
void FRMKV_TARSELLO::placeControls() {
    // Tab goes through the header, the tab strip, the fields of the tab in view (the others are
    // hidden and passed over), then the buttons at the foot.
    QList<QWidget*> order;
    QWidget* header = createHeaderGroup(order);
    INV_MAIN = new MainNavigator(this);
    INV_MAIN->setObjectName(QStringLiteral("INV_MAIN"));
    TAB_SCADENZE = new TabControl(this);
    TAB_SCADENZE->setObjectName(QStringLiteral("TAB_SCADENZE"));
    order.append(TAB_SCADENZE->tabBar());
    auto addTab = [&](QWidget* page, const QString& caption) {
        TAB_SCADENZE->addTab(new ScrollPage(page, TAB_SCADENZE), caption);
    };
    addTab(createTabDatiGenerali(order), BillFormTexts::kTabDatiGenerali);
    addTab(createTabCambialiCessioni(order), BillFormTexts::kTabCambialiCessioni);
    TAB_SCADENZE->addTab(createTabGrid(GRD_STORICO, GNV_STORICO, QStringLiteral("GRD_STORICO"),
                                       QStringLiteral("GNV_STORICO"), order),
                         BillFormTexts::kTabStorico);
    TAB_SCADENZE->addTab(createTabGrid(GRD_SOLLECITI, GNV_SOLLECITI, QStringLiteral("GRD_SOLLECITI"),
                                       QStringLiteral("GNV_SOLLECITI"), order),
                         BillFormTexts::kTabSolleciti);
    addTab(createTabNote(order), BillFormTexts::kTabNote);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setSpacing(4);
    layout->addWidget(header);
    layout->addWidget(TAB_SCADENZE, 1);
    CMD_LAYSCRIPT = new LayoutScriptButton(this);
    CMD_LAYSCRIPT->setObjectName(QStringLiteral("CMD_LAYSCRIPT"));
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(INV_MAIN, 1);
    bottom->addWidget(CMD_LAYSCRIPT);
    layout->addLayout(bottom);
    for (QPushButton* b : INV_MAIN->findChildren<QPushButton*>()) order.append(b);
    for (QPushButton* b : CMD_LAYSCRIPT->findChildren<QPushButton*>()) order.append(b);
    tabOrder_.setWidgets(order);
}

QWidget* FRMKV_TARSELLO::createHeaderGroup(QList<QWidget*>& order) {
    GRB_TESTATA = new QGroupBox(this);
    GRB_TESTATA->setObjectName(QStringLiteral("GRB_TESTATA"));
    FieldGrid grid(GRB_TESTATA);
    auto c = [this](const char* name) -> QWidget* { return control(QString::fromLatin1(name)); };
    // Customer or supplier, or ledger account: one of the two is shown, by archive, in one place.
    grid.addRow({{QStringLiteral("&Cliente/fornitore"), {TXT_CLIFOR}},
                 {QStringLiteral("Ragione sociale"), {c("TXT_DESCLFOPDC")}, 2},
                 {QStringLiteral("&Numero"), {c("TXT_NUMEFF")}}});
    grid.addAlternative(TXT_CLIFOR, QStringLiteral("&Conto"), TXT_PDC);
    grid.addRow({{QStringLiteral("&Scadenza"), {c("TXT_SCADE")}},
                 {QStringLiteral("&Tipo effetto"), {c("CBO_TIPOEFF")}},
                 {QStringLiteral("Sottot&ipo"), {c("TXT_STIPOEFF"), c("TXT_DESSTIPOEFF")}},
                 {QStringLiteral("Stat&o"), {c("CBO_INDSTATO")}}});
    grid.addRow(
        {{QStringLiteral("O&perazione"), {c("CBO_INDGENSTATO")}},
         {QStringLiteral("&Valuta"), {c("TXT_VALUTA")}},
         {QStringLiteral("N. registrazione"), {c("TXT_NUMREG")}},
         {QStringLiteral("Riga, E/C, progr."), {c("TXT_RIGACONT"), c("TXT_PROGEC"), c("TXT_PROGEFF")}}});
    control(QStringLiteral("TXT_STIPOEFF"))->setMaximumWidth(110);
    for (const char* narrow : {"TXT_RIGACONT", "TXT_PROGEC", "TXT_PROGEFF"})
        control(QString::fromLatin1(narrow))->setMaximumWidth(60);
    order.append(grid.tabOrder());
    return GRB_TESTATA;
}

QWidget* FRMKV_TARSELLO::createTabDatiGenerali(QList<QWidget*>& order) {
    auto* page = new QWidget(this);
    GroupColumns groups(page);
    addDocumentGroups(groups);
    groups.nextColumn();
    addAmountGroups(groups);
    groups.nextColumn();
    addBankGroups(groups);
    order.append(groups.place(4));
    return page;
}

// Left column of the general data: the document and its part, then the presentation.
void FRMKV_TARSELLO::addDocumentGroups(GroupColumns& groups) {
    auto c = [this](const char* name) -> QWidget* { return control(QString::fromLatin1(name)); };
    FieldGrid* doc = &groups.group(QStringLiteral("Documento e partita"));
    doc->addRow({{QStringLiteral("Anno pa&rtita"), {c("TXT_ANNOPART")}},
                 {QStringLiteral("Numero partita"), {c("TXT_NUMPART")}}});
    doc->addRow({{QStringLiteral("Sez. partita"), {c("TXT_SEZPART"), c("CHK_FLGPARTBIS")}},
                 {QStringLiteral("Data registraz."), {c("TXT_DATAREG")}}});
    doc->addRow({{QStringLiteral("&Data documento"), {c("TXT_DATADOC")}},
                 {QStringLiteral("Numero documento"), {c("TXT_NUMDOC")}}});
    doc->addRow({{QStringLiteral("Sez. documento"), {c("TXT_SEZDOC"), c("CHK_BISDOC")}},
                 {QStringLiteral("Doc. originario"), {c("TXT_NUMDOCORIG")}}});
    doc->addRow(
        {{QStringLiteral("Rata"), {c("TXT_NUMRATA")}}, {QStringLiteral("Totale rate"), {c("TXT_TOTRATE")}}});
    doc->addRow({{QStringLiteral("Scad. originaria"), {c("TXT_SCADEORIG")}},
                 {QStringLiteral("Decorrenza"), {c("TXT_DATADECORR")}}});
    for (const char* section : {"TXT_SEZPART", "TXT_SEZDOC"})
        control(QString::fromLatin1(section))->setMaximumWidth(90);
    FieldGrid* pres = &groups.group(QStringLiteral("Presentazione"));
    pres->addRow({{QStringLiteral("Pr&esentazione"), {c("CBO_INDPRES")}},
                  {QStringLiteral("Tipo movimento"), {c("CBO_TIPOMOV")}}});
    pres->addRow({{QStringLiteral("Accettazione"), {c("CBO_ACCETTAZIONE")}},
                  {QStringLiteral("Provvigioni"), {c("CBO_INDLIQPROV")}}});
    pres->addRow({{QStringLiteral("Spese ritorno"), {c("CBO_INDSPERIT")}},
                  {QStringLiteral("Addebitate"), {c("TXT_SPESERIT")}}});
    pres->addRow({{QStringLiteral("Dalla banca"), {c("TXT_SPESERITBAN")}},
                  {QStringLiteral("Accorpamento"), {c("TXT_ACCORPAMENTO")}}});
    pres->addRow({{QStringLiteral("Nr. stampa"), {c("TXT_NUMSTEFF")}},
                  {QStringLiteral("Nr. riemissione"), {c("TXT_NUMRIEMIS")}}});
}

// Middle column: the amounts, in euro and in the Bill's currency, the exchange, then the flags.
void FRMKV_TARSELLO::addAmountGroups(GroupColumns& groups) {
    auto c = [this](const char* name) -> QWidget* { return control(QString::fromLatin1(name)); };
    FieldGrid* amounts = &groups.group(QStringLiteral("Importi"));
    amounts->addHeadings({BillFormTexts::kEuroColumn, BillFormTexts::kCurrencyColumn});
    struct Pair {
        const char* text;
        const char* euro;
        const char* currency;
    };
    const Pair pairs[] = {{"Importo e&ffetto", "TXT_IMPEFF", "TXT_IMPEFFVAL"},
                          {"Netto previsionali", "TXT_IMPEFFNETPREV", "TXT_IMPEFFNETPREVVAL"},
                          {"Importo originario", "TXT_IMPEFFORIG", "TXT_IMPEFFORIGVAL"},
                          {"IVA originaria", "TXT_IMPIVAORIG", "TXT_IMPIVAORIGVAL"},
                          {"Totale documento", "TXT_TOTDOC", "TXT_TOTDOCVAL"},
                          {"Bolli", "TXT_BOLLI", "TXT_BOLLIVAL"},
                          {"Spese incasso", "TXT_SPINC", "TXT_SPINCVAL"},
                          {"Ritenuta residua", "TXT_IMPRITACC", "TXT_IMPRITACCVAL"},
                          {"Ritenuta origine", "TXT_IMPRITACCORIG", "TXT_IMPRITACCORIGVAL"}};
    for (const Pair& p : pairs)
        amounts->addRow({{QString::fromUtf8(p.text), {c(p.euro)}}, {QString(), {c(p.currency)}}});
    amounts->addRow({{QStringLiteral("Data e cambio"), {c("TXT_DATACAMBIO"), c("TXT_CAMBIO")}, 2}});
    amounts->addRow({{QStringLiteral("Adeguamento"), {c("TXT_IMPADEGCAMBIO")}}});
    amounts->addRow(
        {{QStringLiteral("Data e cambio adeg."), {c("TXT_DATACAMBIOADCONTO"), c("TXT_CAMBIOADCONTO")}, 2}});
    amounts->addRow({{QStringLiteral("Contratto fin."), {c("TXT_CONTRFINANZ")}, 2}});

    FieldGrid* flags = &groups.group(QStringLiteral("Indicatori"));
    flags->addRow({{QString(), {c("CHK_FLGSTEFF")}},
                   {QString(), {c("CHK_FLGEFFVAR")}},
                   {QString(), {c("CHK_FLGACCONTO")}},
                   {QString(), {c("CHK_FLGSOSPESO")}}});
    flags->addRow({{QString(), {c("CHK_FLGGENDARAG")}},
                   {QString(), {c("CHK_FLGESTRAZ")}},
                   {QString(), {c("CHK_INDEXP")}},
                   {QString(), {c("CHK_FLGINCASSOBF")}}});
}

// Right column: banks and payment, then the other data.
void FRMKV_TARSELLO::addBankGroups(GroupColumns& groups) {
    auto c = [this](const char* name) -> QWidget* { return control(QString::fromLatin1(name)); };
    FieldGrid* bank = &groups.group(QStringLiteral("Banche e pagamento"));
    auto coded = [&](const char* text, const char* code, const char* description) {
        bank->addRow({GroupColumns::coded(QString::fromUtf8(text), c(code), c(description))});
    };
    coded("Banca d'appoggio", "TXT_CODBANCAAPP", "TXT_DESBANCAAPP");
    coded("Agenzia", "TXT_CODAGENAPP", "TXT_DESAGENAPP");
    coded("Banca presentaz.", "TXT_CODBANCAPRES", "TXT_DESBANCAPRES");
    coded("Agenzia", "TXT_CODAGENPRES", "TXT_DESAGENPRES");
    coded("Canalizzazione", "TXT_PROGR_MG35", "TXT_DESCR_CG12");
    coded("Banca aziendale", "TXT_PROGR_EF08", "TXT_DESCR_EF08");
    coded("Cond. pagamento", "TXT_CODPAG", "TXT_DESPAG");
    coded("Agente", "TXT_CODAGE", "TXT_DESAGE");
    coded("Causale MGO", "TXT_CAUSMGO", "TXT_DESCRSCAUSMGO");
    // Kept out of sight: the account's bank is shown through its progressive.
    control(QStringLiteral("TXT_ID_MG35"))->hide();
    FieldGrid* other = &groups.group(QStringLiteral("Altri dati"));
    other->addRow({{QStringLiteral("CIG"), {c("TXT_CIG")}}});
    other->addRow({{QStringLiteral("CUP"), {c("TXT_CUP")}}});
    other->addRow({{QStringLiteral("Merce art. 62"), {c("CBO_INDMERCEART62")}}});
    other->addRow({{QStringLiteral("Avviso MAV"), {c("TXT_NRAVVISOMAV")}}});
    other->addRow({{QStringLiteral("Carta di credito"), {c("TXT_CODCARTA")}}});
}

QWidget* FRMKV_TARSELLO::createTabCambialiCessioni(QList<QWidget*>& order) {
    auto* page = new QWidget(this);
    auto c = [this](const char* name) -> QWidget* { return control(QString::fromLatin1(name)); };
    auto* layout = new QVBoxLayout(page);
    auto* cambiali = new QGroupBox(BillFormTexts::kGroupCambiali, page);
    cambiali->setObjectName(QStringLiteral("GRB_CAMBIALI"));
    FieldGrid bills(cambiali);
    bills.addRow(
        {{QStringLiteral("&Debitore"), {TXT_DEBITORE}}, {QStringLiteral("Pia&zza"), {c("TXT_PIAZZA")}}});
    layout->addWidget(cambiali);

    auto* cessioni = new QGroupBox(BillFormTexts::kGroupCessioni, page);
    cessioni->setObjectName(QStringLiteral("GRB_CESSIONI"));
    FieldGrid links(cessioni);
    // The received and the endorsed side are twins: one row each, built alike.
    for (const char* side : {"R", "G"}) {
        const bool received = *side == 'R';
        const QString s = QString::fromLatin1(side);
        links.addRow(
            {{QString(), {c(received ? "CHK_FLGRICEVUTO" : "CHK_FLGGIRATO")}},
             {QStringLiteral("Tipo cliente/fornit."), {control(QStringLiteral("CBO_TIPOCF") + s)}},
             {QStringLiteral("Codice e rag. soc."),
              {control(QStringLiteral("TXT_CODCLIFOR") + s), control(QStringLiteral("TXT_DESCLIFOR") + s)},
              2},
             {received ? QStringLiteral("Nr. effetto ricevuto") : QStringLiteral("Nr. effetto girato"),
              {c(received ? "TXT_NUMEFFRIC" : "TXT_NUMEFFGIR")}}});
    }
    layout->addWidget(cessioni);
    layout->addStretch();
    order.append(bills.tabOrder());
    order.append(links.tabOrder());
    return page;
}

QWidget* FRMKV_TARSELLO::createTabGrid(Grid*& grid, GridNavigator*& navigator, const QString& gridName,
                                       const QString& navName, QList<QWidget*>& order) {
    auto* page = new QWidget(this);
    auto* layout = new QVBoxLayout(page);
    grid = new Grid(page);
    grid->setObjectName(gridName);
    navigator = new GridNavigator(page);
    navigator->setObjectName(navName);
    // "Nuovo" has no letter to spare in this window; Tab reaches it after the grid.
    navigator->setCaption(QStringLiteral("Apri"), QStringLiteral("Ap&ri"));
    navigator->setCaption(QStringLiteral("Elimina"), QStringLiteral("&Elimina"));
    navigator->setCaption(QStringLiteral("Conferma"), QStringLiteral("Con&ferma"));
    layout->addWidget(grid, 1);
    layout->addWidget(navigator);
    order.append(grid);
    for (QPushButton* b : navigator->findChildren<QPushButton*>()) order.append(b);
    return page;
}

QWidget* FRMKV_TARSELLO::createTabNote(QList<QWidget*>& order) {
    auto* page = new QWidget(this);
    auto c = [this](const char* name) -> QWidget* { return control(QString::fromLatin1(name)); };
    FieldGrid notes(page);
    notes.addRow({{QStringLiteral("Note amministra&zione"), {TXT_NOTEAMMIN}}});
    notes.addRow({{QStringLiteral("Note &raggruppamento effetti"), {TXT_NOTERAGGR}}});
    notes.addRow({{QStringLiteral("Attributi estesi"), {TXT_ATTRIBUTI}}});
    notes.addRow({{QStringLiteral("Stato scadenza"), {c("TXT_EF01_GUID_STATO")}}});
    // The extended attributes' label is the form's own: shown exactly when the field is.
    LBL_ATTRESTESI = findChild<QLabel*>(QStringLiteral("LBL_TXT_ATTRIBUTI"));
    LBL_ATTRESTESI->setObjectName(QStringLiteral("LBL_ATTRESTESI"));
    notes.grid()->setRowStretch(4, 1);
    order.append(notes.tabOrder());
    return page;
}

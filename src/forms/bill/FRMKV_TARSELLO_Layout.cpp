// The bill form's controls and their layout: the header group above, the five tabs below, the
// main navigator at the foot.
#include "BillFormTexts.h"
#include "CheckBox.h"
#include "ControlFactory.h"
#include "EditBox.h"
#include "FRMKV_TARSELLO.h"
#include "Grid.h"
#include "GridNavigator.h"
#include "IdEditBox.h"
#include "LayoutScriptButton.h"
#include "MainNavigator.h"
#include "NumericBox.h"
#include "TabControl.h"
#include "VirtualFrame.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
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
    {"TXT_EF01_GUID_STATO", ControlKind::Text, "EF01_GUID", "Stato scadenza"},
    {"TXT_ATTRIBUTI", ControlKind::Text, "EF01_GUID", "Attributi estesi"},
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
    {"TXT_NOTEAMMIN", ControlKind::Text, "EF04_NOTEAMMIN", "Note amministrazione"},
    {"TXT_NOTERAGGR", ControlKind::Text, "EF04_NOTERAGGR", "Note raggruppamento effetti"},
};

}  // namespace

FrameControl* FRMKV_TARSELLO::make(const ControlDef& def) {
    FrameControl* c = ControlFactory::create(def, this);
    // Amounts in euro say so; those in the Bill's currency get its code from the currency field.
    if (def.kind == ControlKind::Amount && !c->objectName().endsWith(QLatin1String("VAL")))
        static_cast<NumericBox*>(c)->setCurrencyLabel(BillFormTexts::kEuro);
    controls_.insert(c->objectName(), c);
    return c;
}

void FRMKV_TARSELLO::createControls() {
    for (const ControlDef& d : kControls) make(d);
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
    TXT_NOTERAGGR = static_cast<EditBox*>(control(QStringLiteral("TXT_NOTERAGGR")));
    TXT_NOTEAMMIN = static_cast<EditBox*>(control(QStringLiteral("TXT_NOTEAMMIN")));
    CHK_FLGEFFVAR = static_cast<CheckBox*>(control(QStringLiteral("CHK_FLGEFFVAR")));
    for (const char* readOnly : {"TXT_NUMREG", "TXT_RIGACONT", "TXT_PROGEC", "TXT_PROGEFF", "TXT_DESCLIFORR",
                                 "TXT_DESCLIFORG", "TXT_EF01_GUID_STATO", "TXT_ATTRIBUTI"})
        static_cast<EditBox*>(control(QString::fromLatin1(readOnly)))->setAcceptsInput(false);
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

    FME_TESTATA = new VirtualFrame(this);
    FME_TESTATA->setObjectName(QStringLiteral("FME_TESTATA"));
    FME_CAMBIALI = new VirtualFrame(this);
    FME_CAMBIALI->setObjectName(QStringLiteral("FME_CAMBIALI"));
    FME_NOTE = new VirtualFrame(this);
    FME_NOTE->setObjectName(QStringLiteral("FME_NOTE"));
    for (VirtualFrame* f : {FME_TESTATA, FME_CAMBIALI, FME_NOTE}) f->hide();

    INV_MAIN = new MainNavigator(this);
    INV_MAIN->setObjectName(QStringLiteral("INV_MAIN"));
    TAB_SCADENZE = new TabControl(this);
    TAB_SCADENZE->setObjectName(QStringLiteral("TAB_SCADENZE"));
    TAB_SCADENZE->addTab(createTabDatiGenerali(), BillFormTexts::kTabDatiGenerali);
    TAB_SCADENZE->addTab(createTabCambialiCessioni(), BillFormTexts::kTabCambialiCessioni);
    TAB_SCADENZE->addTab(
        createTabGrid(GRD_STORICO, GNV_STORICO, QStringLiteral("GRD_STORICO"), QStringLiteral("GNV_STORICO")),
        BillFormTexts::kTabStorico);
    TAB_SCADENZE->addTab(createTabGrid(GRD_SOLLECITI, GNV_SOLLECITI, QStringLiteral("GRD_SOLLECITI"),
                                       QStringLiteral("GNV_SOLLECITI")),
                         BillFormTexts::kTabSolleciti);
    TAB_SCADENZE->addTab(createTabNote(), BillFormTexts::kTabNote);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->addWidget(createHeaderGroup());
    layout->addWidget(TAB_SCADENZE, 1);
    CMD_LAYSCRIPT = new LayoutScriptButton(this);
    CMD_LAYSCRIPT->setObjectName(QStringLiteral("CMD_LAYSCRIPT"));
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(INV_MAIN, 1);
    bottom->addWidget(CMD_LAYSCRIPT);
    layout->addLayout(bottom);
}

QWidget* FRMKV_TARSELLO::createHeaderGroup() {
    GRB_TESTATA = new QGroupBox(this);
    GRB_TESTATA->setObjectName(QStringLiteral("GRB_TESTATA"));
    auto* grid = new QGridLayout(GRB_TESTATA);
    grid->setHorizontalSpacing(10);
    auto put = [&](int row, int col, const char* text, const char* name, int span = 1) {
        FrameControl* c = control(QString::fromLatin1(name));
        grid->addWidget(ControlFactory::label(QString::fromUtf8(text), c, GRB_TESTATA), row, col);
        grid->addWidget(c, row, col + 1, 1, span);
    };
    // Customer or supplier, or ledger account: one of the two, by archive.
    put(0, 0, "&Cliente/fornitore", "TXT_CLIFOR");
    put(3, 0, "C&onto", "TXT_PDC");
    put(0, 2, "&Numero", "TXT_NUMEFF");
    put(0, 4, "&Tipo effetto", "CBO_TIPOEFF");
    put(0, 6, "Sottotipo", "TXT_STIPOEFF");
    put(1, 0, "&Scadenza", "TXT_SCADE");
    put(1, 2, "Stat&o", "CBO_INDSTATO");
    put(1, 4, "Operazione", "CBO_INDGENSTATO");
    put(1, 6, "Valuta", "TXT_VALUTA");
    put(2, 0, "N. registrazione", "TXT_NUMREG");
    put(2, 2, "Riga contabile", "TXT_RIGACONT");
    put(2, 4, "Progr. E/C", "TXT_PROGEC");
    put(2, 6, "Progr. effetto", "TXT_PROGEFF");
    put(4, 0, "Ragione sociale", "TXT_DESCLFOPDC", 5);
    put(4, 6, "Descr. sottotipo", "TXT_DESSTIPOEFF");
    for (int c = 1; c < 8; c += 2) grid->setColumnStretch(c, 1);
    return GRB_TESTATA;
}

QWidget* FRMKV_TARSELLO::createTabDatiGenerali() {
    auto* page = new QWidget(this);
    auto* columns = new QHBoxLayout(page);
    auto group = [&](const QString& title) {
        auto* box = new QGroupBox(title, page);
        auto* grid = new QGridLayout(box);
        grid->setVerticalSpacing(4);
        return std::make_pair(box, grid);
    };
    auto field = [&](QGridLayout* grid, int row, int col, const char* text, const char* name) {
        FrameControl* c = control(QString::fromLatin1(name));
        grid->addWidget(ControlFactory::label(QString::fromUtf8(text), c, c->parentWidget()), row, col);
        grid->addWidget(c, row, col + 1);
    };

    // Left: document and part, rates, banks and payment.
    auto* left = new QVBoxLayout;
    auto [doc, docGrid] = group(QStringLiteral("Documento e partita"));
    field(docGrid, 0, 0, "Anno partita", "TXT_ANNOPART");
    field(docGrid, 0, 2, "Numero partita", "TXT_NUMPART");
    field(docGrid, 1, 0, "Sez. partita", "TXT_SEZPART");
    docGrid->addWidget(control(QStringLiteral("CHK_FLGPARTBIS")), 1, 3);
    field(docGrid, 2, 0, "Data documento", "TXT_DATADOC");
    field(docGrid, 2, 2, "Numero documento", "TXT_NUMDOC");
    field(docGrid, 3, 0, "Sez. documento", "TXT_SEZDOC");
    docGrid->addWidget(control(QStringLiteral("CHK_BISDOC")), 3, 3);
    field(docGrid, 4, 0, "Doc. originario", "TXT_NUMDOCORIG");
    field(docGrid, 4, 2, "Data registraz.", "TXT_DATAREG");
    field(docGrid, 5, 0, "Rata", "TXT_NUMRATA");
    field(docGrid, 5, 2, "Totale rate", "TXT_TOTRATE");
    field(docGrid, 6, 0, "Scad. originaria", "TXT_SCADEORIG");
    field(docGrid, 6, 2, "Decorrenza", "TXT_DATADECORR");
    left->addWidget(doc);
    // Named, not bound by structure: the lambda below refers to the grid.
    const auto bankGroup = group(QStringLiteral("Banche e pagamento"));
    auto* bank = bankGroup.first;
    auto* bankGrid = bankGroup.second;
    // Each code with its description beside it: label, code, description.
    auto coded = [&](int row, const char* text, const char* name, const char* description) {
        field(bankGrid, row, 0, text, name);
        // Codes are short: the room goes to the description.
        control(QString::fromLatin1(name))->setMaximumWidth(120);
        control(QString::fromLatin1(description))->setMinimumWidth(170);
        bankGrid->addWidget(control(QString::fromLatin1(description)), row, 2);
    };
    coded(0, "Banca d'appoggio", "TXT_CODBANCAAPP", "TXT_DESBANCAAPP");
    coded(1, "Agenzia", "TXT_CODAGENAPP", "TXT_DESAGENAPP");
    coded(2, "Banca presentaz.", "TXT_CODBANCAPRES", "TXT_DESBANCAPRES");
    coded(3, "Agenzia", "TXT_CODAGENPRES", "TXT_DESAGENPRES");
    coded(4, "Canalizzazione", "TXT_PROGR_MG35", "TXT_DESCR_CG12");
    coded(5, "Banca aziendale", "TXT_PROGR_EF08", "TXT_DESCR_EF08");
    coded(6, "Cond. pagamento", "TXT_CODPAG", "TXT_DESPAG");
    coded(7, "Agente", "TXT_CODAGE", "TXT_DESAGE");
    coded(8, "Causale MGO", "TXT_CAUSMGO", "TXT_DESCRSCAUSMGO");
    field(bankGrid, 9, 0, "Provvigioni", "CBO_INDLIQPROV");
    bankGrid->setColumnStretch(2, 2);
    bankGrid->addWidget(control(QStringLiteral("TXT_ID_MG35")), 10, 0);
    control(QStringLiteral("TXT_ID_MG35"))->hide();
    left->addWidget(bank);
    left->addStretch();

    // Middle: the amounts, in euro and in the Bill's currency.
    auto* middle = new QVBoxLayout;
    auto [amounts, amountGrid] = group(QStringLiteral("Importi"));
    amountGrid->addWidget(new QLabel(BillFormTexts::kEuroColumn, amounts), 0, 1, Qt::AlignCenter);
    amountGrid->addWidget(new QLabel(BillFormTexts::kCurrencyColumn, amounts), 0, 2, Qt::AlignCenter);
    struct Pair {
        const char* text;
        const char* euro;
        const char* currency;
    };
    const Pair pairs[] = {{"Importo effetto", "TXT_IMPEFF", "TXT_IMPEFFVAL"},
                          {"Netto previsionali", "TXT_IMPEFFNETPREV", "TXT_IMPEFFNETPREVVAL"},
                          {"Importo originario", "TXT_IMPEFFORIG", "TXT_IMPEFFORIGVAL"},
                          {"IVA originaria", "TXT_IMPIVAORIG", "TXT_IMPIVAORIGVAL"},
                          {"Totale documento", "TXT_TOTDOC", "TXT_TOTDOCVAL"},
                          {"Bolli", "TXT_BOLLI", "TXT_BOLLIVAL"},
                          {"Spese incasso", "TXT_SPINC", "TXT_SPINCVAL"},
                          {"Ritenuta residua", "TXT_IMPRITACC", "TXT_IMPRITACCVAL"},
                          {"Ritenuta origine", "TXT_IMPRITACCORIG", "TXT_IMPRITACCORIGVAL"}};
    int row = 1;
    for (const Pair& p : pairs) {
        FrameControl* euro = control(QString::fromLatin1(p.euro));
        amountGrid->addWidget(ControlFactory::label(QString::fromUtf8(p.text), euro, amounts), row, 0);
        amountGrid->addWidget(euro, row, 1);
        amountGrid->addWidget(control(QString::fromLatin1(p.currency)), row, 2);
        ++row;
    }
    field(amountGrid, row++, 0, "Data cambio", "TXT_DATACAMBIO");
    field(amountGrid, row++, 0, "Cambio", "TXT_CAMBIO");
    field(amountGrid, row++, 0, "Adeguamento", "TXT_IMPADEGCAMBIO");
    field(amountGrid, row++, 0, "Data adeguam.", "TXT_DATACAMBIOADCONTO");
    field(amountGrid, row++, 0, "Cambio adeguam.", "TXT_CAMBIOADCONTO");
    middle->addWidget(amounts);
    middle->addStretch();

    // Right: presentation, state flags and other data.
    auto* right = new QVBoxLayout;
    auto [pres, presGrid] = group(QStringLiteral("Presentazione"));
    field(presGrid, 0, 0, "Presentazione", "CBO_INDPRES");
    field(presGrid, 1, 0, "Tipo movimento", "CBO_TIPOMOV");
    field(presGrid, 2, 0, "Accettazione", "CBO_ACCETTAZIONE");
    field(presGrid, 3, 0, "Spese di ritorno", "CBO_INDSPERIT");
    field(presGrid, 4, 0, "Addebitate", "TXT_SPESERIT");
    field(presGrid, 5, 0, "Dalla banca", "TXT_SPESERITBAN");
    field(presGrid, 6, 0, "Nr. stampa", "TXT_NUMSTEFF");
    field(presGrid, 7, 0, "Nr. riemissione", "TXT_NUMRIEMIS");
    field(presGrid, 8, 0, "Accorpamento", "TXT_ACCORPAMENTO");
    presGrid->addWidget(control(QStringLiteral("TXT_SPESERIT_S")), 9, 1);
    right->addWidget(pres);
    auto* flags = new QGroupBox(QStringLiteral("Indicatori"), page);
    auto* flagGrid = new QGridLayout(flags);
    const char* flagNames[] = {"CHK_FLGSTEFF",    "CHK_FLGEFFVAR", "CHK_FLGACCONTO", "CHK_FLGSOSPESO",
                               "CHK_FLGGENDARAG", "CHK_FLGESTRAZ", "CHK_INDEXP",     "CHK_FLGINCASSOBF"};
    for (int i = 0; i < 8; ++i) flagGrid->addWidget(control(QString::fromLatin1(flagNames[i])), i / 2, i % 2);
    right->addWidget(flags);
    auto [other, otherGrid] = group(QStringLiteral("Altri dati"));
    field(otherGrid, 0, 0, "CIG", "TXT_CIG");
    field(otherGrid, 1, 0, "CUP", "TXT_CUP");
    field(otherGrid, 2, 0, "Merce art. 62", "CBO_INDMERCEART62");
    field(otherGrid, 3, 0, "Carta di credito", "TXT_CODCARTA");
    field(otherGrid, 4, 0, "Avviso MAV", "TXT_NRAVVISOMAV");
    field(otherGrid, 5, 0, "Contratto fin.", "TXT_CONTRFINANZ");
    right->addWidget(other);
    right->addStretch();

    columns->addLayout(left, 4);
    columns->addLayout(middle, 4);
    columns->addLayout(right, 3);
    return page;
}

QWidget* FRMKV_TARSELLO::createTabCambialiCessioni() {
    auto* page = new QWidget(this);
    auto* layout = new QVBoxLayout(page);
    auto* cambiali = new QGroupBox(BillFormTexts::kGroupCambiali, page);
    cambiali->setObjectName(QStringLiteral("GRB_CAMBIALI"));
    auto* cGrid = new QGridLayout(cambiali);
    cGrid->addWidget(ControlFactory::label(QStringLiteral("&Debitore"), TXT_DEBITORE, cambiali), 0, 0);
    cGrid->addWidget(TXT_DEBITORE, 0, 1);
    cGrid->addWidget(
        ControlFactory::label(QStringLiteral("&Piazza"), control(QStringLiteral("TXT_PIAZZA")), cambiali), 1,
        0);
    cGrid->addWidget(control(QStringLiteral("TXT_PIAZZA")), 1, 1);
    layout->addWidget(cambiali);

    auto* cessioni = new QGroupBox(BillFormTexts::kGroupCessioni, page);
    cessioni->setObjectName(QStringLiteral("GRB_CESSIONI"));
    auto* sGrid = new QGridLayout(cessioni);
    // The received and the endorsed side are twins: one row each, built alike.
    auto side = [&](int row, const QString& suffix, const QString& number) {
        sGrid->addWidget(
            control(QStringLiteral("CHK_FLG") +
                    (suffix == QLatin1String("R") ? QStringLiteral("RICEVUTO") : QStringLiteral("GIRATO"))),
            row, 0);
        FrameControl* type = control(QStringLiteral("CBO_TIPOCF") + suffix);
        sGrid->addWidget(ControlFactory::label(QStringLiteral("Tipo cliente/fornit."), type, cessioni), row,
                         1);
        sGrid->addWidget(type, row, 2);
        FrameControl* code = control(QStringLiteral("TXT_CODCLIFOR") + suffix);
        sGrid->addWidget(ControlFactory::label(QStringLiteral("Codice e rag. soc."), code, cessioni), row, 3);
        sGrid->addWidget(code, row, 4);
        sGrid->addWidget(control(QStringLiteral("TXT_DESCLIFOR") + suffix), row, 5);
        FrameControl* num = control(number);
        sGrid->addWidget(
            ControlFactory::label(suffix == QLatin1String("R") ? QStringLiteral("Nr. effetto ricevuto")
                                                               : QStringLiteral("Nr. effetto girato"),
                                  num, cessioni),
            row, 6);
        sGrid->addWidget(num, row, 7);
    };
    side(0, QStringLiteral("R"), QStringLiteral("TXT_NUMEFFRIC"));
    side(1, QStringLiteral("G"), QStringLiteral("TXT_NUMEFFGIR"));
    sGrid->setColumnStretch(5, 1);
    layout->addWidget(cessioni);
    layout->addStretch();
    return page;
}

QWidget* FRMKV_TARSELLO::createTabGrid(Grid*& grid, GridNavigator*& navigator, const QString& gridName,
                                       const QString& navName) {
    auto* page = new QWidget(this);
    auto* layout = new QVBoxLayout(page);
    grid = new Grid(page);
    grid->setObjectName(gridName);
    navigator = new GridNavigator(page);
    navigator->setObjectName(navName);
    layout->addWidget(grid, 1);
    layout->addWidget(navigator);
    return page;
}

QWidget* FRMKV_TARSELLO::createTabNote() {
    auto* page = new QWidget(this);
    auto* grid = new QGridLayout(page);
    grid->addWidget(ControlFactory::label(QStringLiteral("Note &amministrazione"), TXT_NOTEAMMIN, page), 0,
                    0);
    grid->addWidget(TXT_NOTEAMMIN, 0, 1);
    grid->addWidget(
        ControlFactory::label(QStringLiteral("Note &raggruppamento effetti"), TXT_NOTERAGGR, page), 1, 0);
    grid->addWidget(TXT_NOTERAGGR, 1, 1);
    LBL_ATTRESTESI = new QLabel(QStringLiteral("Attributi estesi"), page);
    LBL_ATTRESTESI->setObjectName(QStringLiteral("LBL_ATTRESTESI"));
    grid->addWidget(LBL_ATTRESTESI, 2, 0);
    grid->addWidget(TXT_ATTRIBUTI, 2, 1);
    grid->addWidget(ControlFactory::label(QStringLiteral("Stato scadenza"),
                                          control(QStringLiteral("TXT_EF01_GUID_STATO")), page),
                    3, 0);
    grid->addWidget(control(QStringLiteral("TXT_EF01_GUID_STATO")), 3, 1);
    grid->setRowStretch(4, 1);
    grid->setColumnStretch(1, 1);
    return page;
}

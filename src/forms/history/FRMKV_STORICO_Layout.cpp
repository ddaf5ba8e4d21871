// The history movement form's controls, laid out in group boxes in three columns, in the order a
// clerk reads a movement: what the movement is and the Bill as it stood before it; the amounts in
// euro beside those in the Bill's currency and the exchange; the return charges, the distinta
// and the payment order or transfer. Tab goes down each column, each group row by row.
#include "CheckBox.h"
#include "ControlFactory.h"
#include "FRMKV_STORICO.h"
#include "FieldGrid.h"
#include "GridNavigator.h"
#include "GroupColumns.h"
#include "HistoryFormTexts.h"
#include "ScrollPage.h"
#include "VirtualFrame.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// Every control of the form with its bound column, in reading order.
const ControlDef kControls[] = {
    // Movimento
    {"TXT_PROGSTO", ControlKind::Number, "EF06_PROGSTO", "Progressivo storico"},
    {"TXT_DATAREG", ControlKind::Date, "EF06_DATAREG", "Data registrazione"},
    {"CBO_INDTIPOPER", ControlKind::Combo, "EF06_INDTIPOPER", "Tipo operazione"},
    {"TXT_NUMREG", ControlKind::Text, "EF06_NUMREGMOV_CO99", "Numero di registrazione"},
    {"TXT_RIGACONT", ControlKind::Number, "EF06_RIGACONTMOV_CG42", "Riga contabile"},
    {"TXT_PROGEC", ControlKind::Number, "EF06_PROGECMOV_EC01", "Progressivo estratto conto"},
    {"CHK_FLGSTORNORITINS", ControlKind::Check, "EF06_FLGSTORNORITINS", "Storno ritenuta su insoluto"},
    // Situazione dell'effetto prima del movimento
    {"TXT_DATASCAD", ControlKind::Date, "EF06_SCADE_S", "Data scadenza"},
    {"CBO_INDSTATO", ControlKind::Combo, "EF06_INDSTATO_S", "Stato effetto"},
    {"CBO_INDGENSTATO", ControlKind::Combo, "EF06_INDGENSTATO_S", "Generazione stato"},
    {"CBO_INDPRES", ControlKind::Combo, "EF06_INDPRES_S", "Tipo presentazione"},
    {"CHK_FLGSTEFF", ControlKind::Check, "EF06_FLGSTEFF_S", "Effetto stampato"},
    {"TXT_NUMSTEFF", ControlKind::Number, "EF06_NUMSTEFF_S", "Numero stampa effetti"},
    {"TXT_NUMRIEMIS", ControlKind::Number, "EF06_NUMRIEMIS_S", "Numero di riemissione"},
    {"CHK_FLGGIRATO", ControlKind::Check, "EF06_FLGGIRATO_S", "Girato"},
    {"CHK_FLGRICEVUTO", ControlKind::Check, "EF06_FLGRICEVUTO_S", "Ricevuto"},
    {"CHK_FLGINCASSOBF", ControlKind::Check, "EF06_FLGINCASSOBF_S", "Incasso buon fine"},
    {"TXT_BANCAPRE", ControlKind::Code, "EF06_BANCAPRE_S", "Banca di presentazione"},
    {"TXT_DESBANCAPRE", ControlKind::Description, "", "Descrizione banca di presentazione"},
    {"TXT_AGENZPRE", ControlKind::Code, "EF06_AGENZPRE_S", "Agenzia di presentazione"},
    {"TXT_DESAGENZPRE", ControlKind::Description, "", "Descrizione agenzia di presentazione"},
    // Importi: euro and currency side by side
    {"TXT_IMPEFF", ControlKind::Amount, "EF06_IMPEFF_S", "Importo effetto in EURO"},
    {"TXT_IMPEFFVAL", ControlKind::Amount, "EF06_IMPEFFVAL_S", "Importo effetto in valuta"},
    {"TXT_IMPEFFNETPREV", ControlKind::Amount, "EF06_IMPEFFNETPREV_S", "Importo netto previsto in EURO"},
    {"TXT_IMPEFFNETPREVVAL", ControlKind::Amount, "EF06_IMPEFFNETPREVVAL_S",
     "Importo netto previsto in valuta"},
    {"TXT_IMPMOVPAG", ControlKind::Amount, "EF06_IMPMOVPAG", "Importo pagato in EURO"},
    {"TXT_IMPMOVPAGVAL", ControlKind::Amount, "EF06_IMPMOVPAGVAL", "Importo pagato in valuta"},
    {"TXT_IMPMOVPAGRIT", ControlKind::Amount, "EF06_IMPMOVPAGRIT", "Importo delle ritenute pagate in EURO"},
    {"TXT_IMPMOVPAGRITVAL", ControlKind::Amount, "EF06_IMPMOVPAGRITVAL",
     "Importo delle ritenute pagate in valuta"},
    {"TXT_IMPMOVABB", ControlKind::Amount, "EF06_IMPMOVABB", "Importo abbuono in EURO"},
    {"TXT_IMPMOVABBVAL", ControlKind::Amount, "EF06_IMPMOVABBVAL", "Importo abbuono in valuta"},
    {"TXT_IMPMOVACC", ControlKind::Amount, "EF06_IMPMOVACC", "Importo acconto in EURO"},
    {"TXT_IMPMOVACCVAL", ControlKind::Amount, "EF06_IMPMOVACCVAL", "Importo acconto in valuta"},
    {"TXT_IMPMOVRIT", ControlKind::Amount, "EF06_IMPMOVRIT", "Importo ritenuta di acconto"},
    {"TXT_IMPMOVRITVAL", ControlKind::Amount, "EF06_IMPMOVRITVAL", "Importo ritenuta di acconto in valuta"},
    {"TXT_IMPMOVOMANORIV", ControlKind::Amount, "EF06_IMPMOVOMANORIV",
     "Importo omaggio senza rivalsa in EURO"},
    {"TXT_IMPMOVOMANORIVVAL", ControlKind::Amount, "EF06_IMPMOVOMANORIVVAL",
     "Importo omaggio senza rivalsa in valuta"},
    {"TXT_IMPMOVSCIND", ControlKind::Amount, "EF06_IMPMOVSCIND", "Importo sconto incondizionato in EURO"},
    {"TXT_IMPMOVSCINDVAL", ControlKind::Amount, "EF06_IMPMOVSCINDVAL",
     "Importo sconto incondizionato in valuta"},
    // Presentazione e distinta
    {"CBO_INDTIPODIST", ControlKind::Combo, "EF06_INDTIPODIST_EF09", "Tipo distinta"},
    {"TXT_ANNODIST", ControlKind::Number, "EF06_ANNO_EF09", "Anno presentazione distinta"},
    {"TXT_NUMDIST", ControlKind::Code, "EF06_NUMDIST_EF09", "Numero distinta"},
    {"TXT_ETICHRAGGRAVV", ControlKind::Text, "EF06_ETICHRAGGRAVV", "Etichetta raggruppamento avvisi"},
    // Ordine di pagamento / bonifico
    {"CBO_INDORDPBONIF", ControlKind::Combo, "EF06_INDORDPBONIF_EF10", "Tipo documento"},
    {"TXT_ANNOORDPBONIF", ControlKind::Number, "EF06_ANNO_EF10", "Anno ordine di pagamento/bonifico"},
    {"TXT_NUMORDPBONIF", ControlKind::Code, "EF06_NUMORDPBONIF_EF10", "Numero ordine di pagamento/bonifico"},
    {"CHK_ORDBONFLGCONF", ControlKind::Check, "EF06_ORDBONFLGCONF", "Bonifico confermato"},
    {"TXT_ORDBONABI", ControlKind::Code, "EF06_ORDBONABI_CG13", "Banca ordine di pagamento/bonifico"},
    {"TXT_DESORDBONABI", ControlKind::Description, "", "Descrizione banca"},
    {"TXT_ORDBONCAB", ControlKind::Code, "EF06_ORDBONCAB_CG13", "Agenzia ordine di pagamento/bonifico"},
    {"TXT_DESORDBONCAB", ControlKind::Description, "", "Descrizione agenzia"},
    {"TXT_ORDBONCCFORN", ControlKind::Text, "EF06_ORDBONCCFORN", "Conto corrente del fornitore"},
    {"TXT_ORDBONMOTIVO", ControlKind::Text, "EF06_ORDBONMOTIVO", "Motivo ordine di pagamento/bonifico"},
    {"TXT_ORDBONCAUPAG", ControlKind::Code, "EF06_ORDBONCAUPAG", "Causale SEPA per bonifico/Esito Rid SDD"},
    {"TXT_DESCORDBONCAUPAG", ControlKind::Description, "", "Descrizione causale SEPA"},
    // Spese di ritorno e assegno
    {"CBO_INDSPERIT", ControlKind::Combo, "EF06_INDSPERIT_S", "Modalità registrazione spese di ritorno"},
    {"TXT_SPESERIT", ControlKind::Amount, "EF06_SPESERIT_S", "Spese di ritorno addebitate al cliente"},
    {"TXT_SPESERITBAN", ControlKind::Amount, "EF06_SPESERITBAN_S", "Spese di ritorno addebitate dalla banca"},
    {"TXT_PROGEFFSPE", ControlKind::Number, "EF06_PROGEFFSPE", "Effetto creato per le spese"},
    {"TXT_NUMASSEGNO", ControlKind::Text, "EF06_NUMASSEGNO", "Numero di assegno"},
    {"TXT_NUMCCASSEGN", ControlKind::Text, "EF06_NUMCCASSEGN", "Conto corrente assegno"},
    // Cambio e adeguamento
    {"TXT_CAMBIO", ControlKind::Rate, "EF06_CAMBIO", "Cambio del movimento"},
    {"TXT_CAMBIOADCONTO", ControlKind::Rate, "EF06_CAMBIOADCONTO", "Incremento cambio dell'adeguamento"},
    {"TXT_DATACAMBIOADCONTO", ControlKind::Date, "EF06_DATACAMBIOADCONTO",
     "Incremento data cambio dell'adeguamento"},
    {"TXT_IMPADEGCAMBIO", ControlKind::Amount, "EF06_IMPADEGCAMBIO", "Incremento adeguamento cambio"},
    {"TXT_CAMBIOADCONTO_S", ControlKind::Rate, "EF06_CAMBIOADCONTO_S", "Cambio dell'adeguamento"},
    {"TXT_DATACAMBIOADCONTO_S", ControlKind::Date, "EF06_DATACAMBIOADCONTO_S",
     "Data cambio dell'adeguamento"},
    {"TXT_IMPADEGCAMBIO_S", ControlKind::Amount, "EF06_IMPADEGCAMBIO_S", "Valore adeguamento cambio"},
    {"TXT_DIFFCAMBIO", ControlKind::Amount, "EF06_DIFFCAMBIO", "Differenza cambio"},
    {"TXT_DIFFCAMBIOCONTO", ControlKind::Amount, "EF06_DIFFCAMBIOCONTO", "Differenza cambio su conto"},
};

}  // namespace

QString FRMKV_STORICO::captionOfColumn(const QString& column) {
    for (const ControlDef& d : kControls)
        if (column == QLatin1String(d.column)) return QString::fromUtf8(d.caption);
    return column;
}

FrameControl* FRMKV_STORICO::make(const ControlDef& def) {
    FrameControl* c = ControlFactory::create(def, this);
    // The combos hold long texts; a registration number (year and eight digits) is read whole.
    if (def.kind == ControlKind::Combo) c->setMinimumWidth(140);
    if (def.kind == ControlKind::Amount) c->setMinimumWidth(110);
    if (c->objectName() == QLatin1String("TXT_NUMREG")) c->setMinimumWidth(110);
    controls_.insert(c->objectName(), c);
    order_.append(c);
    return c;
}

// The movement and the Bill's situation it records.
void FRMKV_STORICO::placeMovement(GroupColumns& groups) {
    auto c = [this](const char* name) -> QWidget* { return control(QString::fromLatin1(name)); };
    FieldGrid* movimento = &groups.group(HistoryFormTexts::kGroupMovimento, QStringLiteral("GRB_MOVIMENTO"));
    movimento->addRow({{QStringLiteral("Progressivo"), {c("TXT_PROGSTO")}},
                       {QStringLiteral("Data &reg."), {c("TXT_DATAREG")}}});
    movimento->addRow({{QStringLiteral("Tipo &operazione"), {c("CBO_INDTIPOPER")}, 2}});
    movimento->addRow({{QStringLiteral("Registrazione"), {c("TXT_NUMREG")}},
                       {QStringLiteral("Riga, E/C"), {c("TXT_RIGACONT"), c("TXT_PROGEC")}}});
    movimento->addRow({{QString(), {c("CHK_FLGSTORNORITINS")}, 2}});

    FieldGrid* situazione =
        &groups.group(HistoryFormTexts::kGroupSituazione, QStringLiteral("GRB_SITUAZIONE"));
    situazione->addRow({{QStringLiteral("Data &scadenza"), {c("TXT_DATASCAD")}},
                        {QStringLiteral("Stato"), {c("CBO_INDSTATO")}}});
    situazione->addRow({{QStringLiteral("Generazione stato"), {c("CBO_INDGENSTATO")}, 2}});
    situazione->addRow({{QStringLiteral("Presentazione"), {c("CBO_INDPRES")}, 2}});
    situazione->addRow({{QStringLiteral("Nr. stampa"), {c("TXT_NUMSTEFF")}},
                        {QStringLiteral("Riemissione"), {c("TXT_NUMRIEMIS")}}});
    situazione->addRow({{QString(), {c("CHK_FLGSTEFF"), c("CHK_FLGINCASSOBF")}, 2}});
    situazione->addRow({{QString(), {c("CHK_FLGGIRATO"), c("CHK_FLGRICEVUTO")}, 2}});
    situazione->addRow(
        {GroupColumns::coded(QStringLiteral("&Banca present."), c("TXT_BANCAPRE"), c("TXT_DESBANCAPRE"), 2)});
    situazione->addRow({GroupColumns::coded(QStringLiteral("Agenzia present."), c("TXT_AGENZPRE"),
                                            c("TXT_DESAGENZPRE"), 2)});
}

// The amounts, euro on the left and the Bill's currency on the right, then the exchange.
void FRMKV_STORICO::placeAmounts(GroupColumns& groups) {
    auto c = [this](const char* name) -> QWidget* { return control(QString::fromLatin1(name)); };
    // Amounts: one row per amount, euro on the left, the Bill's currency on the right.
    FieldGrid* importi = &groups.group(HistoryFormTexts::kGroupImporti, QStringLiteral("GRB_IMPORTI"));
    importi->addHeadings({HistoryFormTexts::kColumnEuro, HistoryFormTexts::kColumnValuta});
    static const struct {
        const char* text;
        const char* euro;
        const char* val;
    } amounts[] = {
        {"&Importo effetto", "TXT_IMPEFF", "TXT_IMPEFFVAL"},
        {"Netto previsto", "TXT_IMPEFFNETPREV", "TXT_IMPEFFNETPREVVAL"},
        {"Importo &pagato", "TXT_IMPMOVPAG", "TXT_IMPMOVPAGVAL"},
        {"Ritenute pagate", "TXT_IMPMOVPAGRIT", "TXT_IMPMOVPAGRITVAL"},
        {"Abbuono", "TXT_IMPMOVABB", "TXT_IMPMOVABBVAL"},
        {"Acconto", "TXT_IMPMOVACC", "TXT_IMPMOVACCVAL"},
        {"Ritenuta d'acconto", "TXT_IMPMOVRIT", "TXT_IMPMOVRITVAL"},
        {"Omaggio senza rivalsa", "TXT_IMPMOVOMANORIV", "TXT_IMPMOVOMANORIVVAL"},
        {"Sconto incondizionato", "TXT_IMPMOVSCIND", "TXT_IMPMOVSCINDVAL"},
    };
    for (const auto& a : amounts)
        importi->addRow({{QString::fromUtf8(a.text), {c(a.euro)}}, {QString(), {c(a.val)}}});

    FieldGrid* cambio = &groups.group(HistoryFormTexts::kGroupCambio, QStringLiteral("GRB_CAMBIO"));
    cambio->addRow({{QStringLiteral("&Cambio"), {c("TXT_CAMBIO")}},
                    {QStringLiteral("Differenza"), {c("TXT_DIFFCAMBIO")}}});
    cambio->addRow({{QStringLiteral("Incr. cambio adeg."), {c("TXT_CAMBIOADCONTO")}},
                    {QStringLiteral("Incr. data"), {c("TXT_DATACAMBIOADCONTO")}}});
    cambio->addRow({{QStringLiteral("Incr. adeguam."), {c("TXT_IMPADEGCAMBIO")}},
                    {QStringLiteral("Diff. su conto"), {c("TXT_DIFFCAMBIOCONTO")}}});
    cambio->addRow({{QStringLiteral("Cambio adeguam."), {c("TXT_CAMBIOADCONTO_S")}},
                    {QStringLiteral("Data"), {c("TXT_DATACAMBIOADCONTO_S")}}});
    cambio->addRow({{QStringLiteral("Valore adeguam."), {c("TXT_IMPADEGCAMBIO_S")}}});
}

// The return charges, the distinta and the payment order or transfer.
void FRMKV_STORICO::placePayment(GroupColumns& groups) {
    auto c = [this](const char* name) -> QWidget* { return control(QString::fromLatin1(name)); };
    FieldGrid* spese = &groups.group(HistoryFormTexts::kGroupSpese, QStringLiteral("GRB_SPESE"));
    spese->addRow({{QStringLiteral("&Modalità spese"), {c("CBO_INDSPERIT")}}});
    spese->addRow({{QStringLiteral("Effetto spese"), {c("TXT_PROGEFFSPE")}}});
    spese->addRow({{QStringLiteral("Spese cliente"), {c("TXT_SPESERIT")}}});
    spese->addRow({{QStringLiteral("Spese banca"), {c("TXT_SPESERITBAN")}}});
    spese->addRow({{QStringLiteral("Nr. assegno"), {c("TXT_NUMASSEGNO")}}});
    spese->addRow({{QStringLiteral("C/c assegno"), {c("TXT_NUMCCASSEGN")}}});

    FieldGrid* distinta =
        &groups.group(HistoryFormTexts::kGroupPresentazione, QStringLiteral("GRB_DISTINTA"));
    distinta->addRow({{QStringLiteral("Tipo &distinta"), {c("CBO_INDTIPODIST")}},
                      {QStringLiteral("Anno"), {c("TXT_ANNODIST")}}});
    distinta->addRow({{QStringLiteral("Numero"), {c("TXT_NUMDIST")}},
                      {QStringLiteral("Etichetta"), {c("TXT_ETICHRAGGRAVV")}}});

    FieldGrid* ordine = &groups.group(HistoryFormTexts::kGroupOrdine, QStringLiteral("GRB_ORDINE"));
    ordine->addRow({{QStringLiteral("&Tipo doc."), {c("CBO_INDORDPBONIF")}},
                    {QStringLiteral("Anno"), {c("TXT_ANNOORDPBONIF")}}});
    ordine->addRow({{QStringLiteral("Numero"), {c("TXT_NUMORDPBONIF")}},
                    {QStringLiteral("C/c forn."), {c("TXT_ORDBONCCFORN")}}});
    ordine->addRow({{QString(), {c("CHK_ORDBONFLGCONF")}, 2}});
    ordine->addRow(
        {GroupColumns::coded(QStringLiteral("Banca"), c("TXT_ORDBONABI"), c("TXT_DESORDBONABI"), 2)});
    ordine->addRow(
        {GroupColumns::coded(QStringLiteral("Agenzia"), c("TXT_ORDBONCAB"), c("TXT_DESORDBONCAB"), 2)});
    // Its caption follows the kind of document: a reason, or a notice number.
    ordine->addRow({{QStringLiteral("Motivo"), {c("TXT_ORDBONMOTIVO")}, 2}});
    ordine->addRow({GroupColumns::coded(QStringLiteral("Causale SEPA"), c("TXT_ORDBONCAUPAG"),
                                        c("TXT_DESCORDBONCAUPAG"), 2)});
}

void FRMKV_STORICO::createControls() {
    for (const ControlDef& d : kControls) make(d);
    auto* body = new QWidget(this);
    GroupColumns groups(body);
    placeMovement(groups);
    groups.nextColumn();
    placeAmounts(groups);
    groups.nextColumn();
    placePayment(groups);
    LBL_ORDBONMOTIVO = findChild<QLabel*>(QStringLiteral("LBL_TXT_ORDBONMOTIVO"));
    LBL_ORDBONMOTIVO->setObjectName(QStringLiteral("LBL_ORDBONMOTIVO"));

    FME_STORICO = new VirtualFrame(this);
    FME_STORICO->setObjectName(QStringLiteral("FME_STORICO"));
    FME_STORICO->hide();
    GNV_DETTSTORICO = new GridNavigator(this, GridNavigator::Moves::Rows);
    GNV_DETTSTORICO->setObjectName(QStringLiteral("GNV_DETTSTORICO"));
    // A movement is opened from the bill form's grid: the form has nothing to open.
    GNV_DETTSTORICO->button(QStringLiteral("Apri"))->hide();
    GNV_DETTSTORICO->setCaption(QStringLiteral("Nuovo"), QStringLiteral("&Nuovo"));
    GNV_DETTSTORICO->setCaption(QStringLiteral("Elimina"), QStringLiteral("&Elimina"));
    GNV_DETTSTORICO->setCaption(QStringLiteral("Conferma"), QStringLiteral("Con&ferma"));

    // Groups read down each column, the columns from the left; the buttons stay in sight below.
    QList<QWidget*> order = groups.place(0);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->addWidget(new ScrollPage(body, this), 1);
    layout->addWidget(FME_STORICO);
    layout->addWidget(GNV_DETTSTORICO);
    for (QPushButton* b : GNV_DETTSTORICO->findChildren<QPushButton*>()) order.append(b);
    tabOrder_.setWidgets(order);
}

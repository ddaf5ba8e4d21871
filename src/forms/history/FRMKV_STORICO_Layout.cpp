// The history movement form's controls, laid out in group boxes in the order a clerk reads a
// movement: what the movement is, the Bill as it stood before it, the amounts in euro beside
// those in the Bill's currency, then the distinta, the payment order or transfer, the return
// charges and the exchange. Tab follows the same order.
#include "CheckBox.h"
#include "ControlFactory.h"
#include "FRMKV_STORICO.h"
#include "GridNavigator.h"
#include "HistoryFormTexts.h"
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

QString caption(const char* name) {
    return ControlFactory::caption(kControls, name);
}

}  // namespace

QString FRMKV_STORICO::captionOfColumn(const QString& column) {
    for (const ControlDef& d : kControls)
        if (column == QLatin1String(d.column)) return QString::fromUtf8(d.caption);
    return column;
}

FrameControl* FRMKV_STORICO::make(const ControlDef& def) {
    FrameControl* c = ControlFactory::create(def, this);
    // The combos hold long texts; a registration number (year and eight digits) is read whole.
    if (def.kind == ControlKind::Combo) c->setMinimumWidth(190);
    if (c->objectName() == QLatin1String("TXT_NUMREG")) c->setMinimumWidth(110);
    controls_.insert(c->objectName(), c);
    order_.append(c);
    return c;
}

void FRMKV_STORICO::createControls() {
    for (const ControlDef& d : kControls) make(d);
    // A group of caption / field rows, in columns of `pairs` pairs; a code and its description
    // share one row.
    auto group = [&](const QString& title, const char* objectName, std::initializer_list<const char*> names,
                     int pairs) {
        auto* box = new QGroupBox(title, this);
        box->setObjectName(QString::fromLatin1(objectName));
        auto* grid = new QGridLayout(box);
        grid->setHorizontalSpacing(8);
        int i = 0;
        for (const char* name : names) {
            FrameControl* c = control(QString::fromLatin1(name));
            const int row = i / pairs, col = (i % pairs) * 2;
            if (qobject_cast<CheckBox*>(c)) {
                grid->addWidget(c, row, col + 1);
            } else {
                grid->addWidget(ControlFactory::label(caption(name), c, box), row, col);
                grid->addWidget(c, row, col + 1);
            }
            ++i;
        }
        return std::pair{box, grid};
    };
    auto withDescription = [&](QGridLayout* grid, int row, const char* code, const char* description) {
        FrameControl* c = control(QString::fromLatin1(code));
        auto* line = new QWidget(c->parentWidget());
        auto* h = new QHBoxLayout(line);
        h->setContentsMargins(0, 0, 0, 0);
        c->setMaximumWidth(90);
        h->addWidget(c);
        h->addWidget(control(QString::fromLatin1(description)), 1);
        grid->addWidget(ControlFactory::label(caption(code), c, grid->parentWidget()), row, 0);
        grid->addWidget(line, row, 1, 1, 3);
    };

    auto [movimento, gMov] = group(
        HistoryFormTexts::kGroupMovimento, "GRB_MOVIMENTO",
        {"TXT_PROGSTO", "TXT_DATAREG", "CBO_INDTIPOPER", "TXT_NUMREG", "TXT_RIGACONT", "TXT_PROGEC"}, 3);
    gMov->addWidget(control(QStringLiteral("CHK_FLGSTORNORITINS")), 2, 1, 1, 3);

    auto [situazione, gSit] = group(
        HistoryFormTexts::kGroupSituazione, "GRB_SITUAZIONE",
        {"TXT_DATASCAD", "CBO_INDSTATO", "CBO_INDGENSTATO", "CBO_INDPRES", "TXT_NUMSTEFF", "TXT_NUMRIEMIS"},
        2);
    auto* flags = new QWidget(situazione);
    auto* fh = new QHBoxLayout(flags);
    fh->setContentsMargins(0, 0, 0, 0);
    for (const char* name : {"CHK_FLGSTEFF", "CHK_FLGGIRATO", "CHK_FLGRICEVUTO", "CHK_FLGINCASSOBF"})
        fh->addWidget(control(QString::fromLatin1(name)));
    fh->addStretch(1);
    gSit->addWidget(flags, 3, 1, 1, 3);
    withDescription(gSit, 4, "TXT_BANCAPRE", "TXT_DESBANCAPRE");
    withDescription(gSit, 5, "TXT_AGENZPRE", "TXT_DESAGENZPRE");

    // Amounts: one row per amount, euro on the left, the Bill's currency on the right.
    auto* importi = new QGroupBox(HistoryFormTexts::kGroupImporti, this);
    importi->setObjectName(QStringLiteral("GRB_IMPORTI"));
    auto* gImp = new QGridLayout(importi);
    gImp->addWidget(new QLabel(HistoryFormTexts::kColumnEuro, importi), 0, 1, Qt::AlignRight);
    gImp->addWidget(new QLabel(HistoryFormTexts::kColumnValuta, importi), 0, 2, Qt::AlignRight);
    static const struct {
        const char* text;
        const char* euro;
        const char* val;
    } amounts[] = {
        {"Importo effetto", "TXT_IMPEFF", "TXT_IMPEFFVAL"},
        {"Importo netto previsto", "TXT_IMPEFFNETPREV", "TXT_IMPEFFNETPREVVAL"},
        {"Importo pagato", "TXT_IMPMOVPAG", "TXT_IMPMOVPAGVAL"},
        {"Ritenute pagate", "TXT_IMPMOVPAGRIT", "TXT_IMPMOVPAGRITVAL"},
        {"Abbuono", "TXT_IMPMOVABB", "TXT_IMPMOVABBVAL"},
        {"Acconto", "TXT_IMPMOVACC", "TXT_IMPMOVACCVAL"},
        {"Ritenuta d'acconto", "TXT_IMPMOVRIT", "TXT_IMPMOVRITVAL"},
        {"Omaggio senza rivalsa", "TXT_IMPMOVOMANORIV", "TXT_IMPMOVOMANORIVVAL"},
        {"Sconto incondizionato", "TXT_IMPMOVSCIND", "TXT_IMPMOVSCINDVAL"},
    };
    int row = 1;
    for (const auto& a : amounts) {
        FrameControl* euro = control(QString::fromLatin1(a.euro));
        gImp->addWidget(ControlFactory::label(QString::fromUtf8(a.text), euro, importi), row, 0);
        gImp->addWidget(euro, row, 1);
        gImp->addWidget(control(QString::fromLatin1(a.val)), row, 2);
        ++row;
    }

    auto [distinta, gDist] =
        group(HistoryFormTexts::kGroupPresentazione, "GRB_DISTINTA",
              {"CBO_INDTIPODIST", "TXT_ANNODIST", "TXT_NUMDIST", "TXT_ETICHRAGGRAVV"}, 2);
    (void)gDist;

    auto [ordine, gOrd] =
        group(HistoryFormTexts::kGroupOrdine, "GRB_ORDINE",
              {"CBO_INDORDPBONIF", "TXT_ANNOORDPBONIF", "TXT_NUMORDPBONIF", "TXT_ORDBONCCFORN"}, 2);
    gOrd->addWidget(control(QStringLiteral("CHK_ORDBONFLGCONF")), 2, 1);
    withDescription(gOrd, 3, "TXT_ORDBONABI", "TXT_DESORDBONABI");
    withDescription(gOrd, 4, "TXT_ORDBONCAB", "TXT_DESORDBONCAB");
    FrameControl* motivo = control(QStringLiteral("TXT_ORDBONMOTIVO"));
    LBL_ORDBONMOTIVO = new QLabel(QStringLiteral("Motivo"), ordine);
    LBL_ORDBONMOTIVO->setObjectName(QStringLiteral("LBL_ORDBONMOTIVO"));
    LBL_ORDBONMOTIVO->setBuddy(motivo);
    gOrd->addWidget(LBL_ORDBONMOTIVO, 5, 0);
    gOrd->addWidget(motivo, 5, 1, 1, 3);
    withDescription(gOrd, 6, "TXT_ORDBONCAUPAG", "TXT_DESCORDBONCAUPAG");

    auto [spese, gSpe] = group(HistoryFormTexts::kGroupSpese, "GRB_SPESE",
                               {"CBO_INDSPERIT", "TXT_PROGEFFSPE", "TXT_SPESERIT", "TXT_SPESERITBAN",
                                "TXT_NUMASSEGNO", "TXT_NUMCCASSEGN"},
                               2);
    (void)gSpe;

    auto [cambio, gCam] = group(
        HistoryFormTexts::kGroupCambio, "GRB_CAMBIO",
        {"TXT_CAMBIO", "TXT_DIFFCAMBIO", "TXT_CAMBIOADCONTO", "TXT_DATACAMBIOADCONTO", "TXT_IMPADEGCAMBIO",
         "TXT_DIFFCAMBIOCONTO", "TXT_CAMBIOADCONTO_S", "TXT_DATACAMBIOADCONTO_S", "TXT_IMPADEGCAMBIO_S"},
        2);
    (void)gCam;

    FME_STORICO = new VirtualFrame(this);
    FME_STORICO->setObjectName(QStringLiteral("FME_STORICO"));
    FME_STORICO->hide();
    GNV_DETTSTORICO = new GridNavigator(this);
    GNV_DETTSTORICO->setObjectName(QStringLiteral("GNV_DETTSTORICO"));
    // A movement is opened from the bill form's grid: the form has nothing to open.
    GNV_DETTSTORICO->button(QStringLiteral("Apri"))->hide();

    // Two columns: on the left what the movement is and the Bill it found, on the right the
    // amounts; below, the charges beside the exchange, then the distinta beside the order.
    auto* left = new QVBoxLayout;
    left->addWidget(movimento);
    left->addWidget(situazione);
    left->addStretch(1);
    auto* columns = new QGridLayout;
    columns->addLayout(left, 0, 0);
    columns->addWidget(importi, 0, 1);
    columns->addWidget(spese, 1, 0);
    columns->addWidget(cambio, 1, 1);
    columns->addWidget(distinta, 2, 0);
    columns->addWidget(ordine, 2, 1);
    columns->setColumnStretch(0, 1);
    columns->setColumnStretch(1, 1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->addLayout(columns, 1);
    layout->addWidget(FME_STORICO);
    layout->addWidget(GNV_DETTSTORICO);

    // Tab in reading order: the groups top to bottom, left to right, then the navigator.
    static const char* const tabOrder[] = {"TXT_PROGSTO",
                                           "TXT_DATAREG",
                                           "CBO_INDTIPOPER",
                                           "TXT_NUMREG",
                                           "TXT_RIGACONT",
                                           "TXT_PROGEC",
                                           "CHK_FLGSTORNORITINS",
                                           "TXT_DATASCAD",
                                           "CBO_INDSTATO",
                                           "CBO_INDGENSTATO",
                                           "CBO_INDPRES",
                                           "TXT_NUMSTEFF",
                                           "TXT_NUMRIEMIS",
                                           "CHK_FLGSTEFF",
                                           "CHK_FLGGIRATO",
                                           "CHK_FLGRICEVUTO",
                                           "CHK_FLGINCASSOBF",
                                           "TXT_BANCAPRE",
                                           "TXT_AGENZPRE",
                                           "CBO_INDSPERIT",
                                           "TXT_PROGEFFSPE",
                                           "TXT_SPESERIT",
                                           "TXT_SPESERITBAN",
                                           "TXT_NUMASSEGNO",
                                           "TXT_NUMCCASSEGN",
                                           "TXT_IMPEFF",
                                           "TXT_IMPEFFVAL",
                                           "TXT_IMPEFFNETPREV",
                                           "TXT_IMPEFFNETPREVVAL",
                                           "TXT_IMPMOVPAG",
                                           "TXT_IMPMOVPAGVAL",
                                           "TXT_IMPMOVPAGRIT",
                                           "TXT_IMPMOVPAGRITVAL",
                                           "TXT_IMPMOVABB",
                                           "TXT_IMPMOVABBVAL",
                                           "TXT_IMPMOVACC",
                                           "TXT_IMPMOVACCVAL",
                                           "TXT_IMPMOVRIT",
                                           "TXT_IMPMOVRITVAL",
                                           "TXT_IMPMOVOMANORIV",
                                           "TXT_IMPMOVOMANORIVVAL",
                                           "TXT_IMPMOVSCIND",
                                           "TXT_IMPMOVSCINDVAL",
                                           "TXT_CAMBIO",
                                           "TXT_DIFFCAMBIO",
                                           "TXT_CAMBIOADCONTO",
                                           "TXT_DATACAMBIOADCONTO",
                                           "TXT_IMPADEGCAMBIO",
                                           "TXT_DIFFCAMBIOCONTO",
                                           "TXT_CAMBIOADCONTO_S",
                                           "TXT_DATACAMBIOADCONTO_S",
                                           "TXT_IMPADEGCAMBIO_S",
                                           "CBO_INDTIPODIST",
                                           "TXT_ANNODIST",
                                           "TXT_NUMDIST",
                                           "TXT_ETICHRAGGRAVV",
                                           "CBO_INDORDPBONIF",
                                           "TXT_ANNOORDPBONIF",
                                           "TXT_NUMORDPBONIF",
                                           "TXT_ORDBONCCFORN",
                                           "CHK_ORDBONFLGCONF",
                                           "TXT_ORDBONABI",
                                           "TXT_ORDBONCAB",
                                           "TXT_ORDBONMOTIVO",
                                           "TXT_ORDBONCAUPAG"};
    QWidget* previous = nullptr;
    for (const char* name : tabOrder) {
        QWidget* editor = control(QString::fromLatin1(name))->editor();
        if (previous) setTabOrder(previous, editor);
        previous = editor;
    }
    setTabOrder(previous, GNV_DETTSTORICO->button(QStringLiteral("Nuovo")));
}

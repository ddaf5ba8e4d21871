// The history movement form's controls, laid out in group boxes in the order a clerk reads a
// movement: what the movement is, the Bill as it stood before it, the amounts in euro beside
// those in the Bill's currency, then the distinta, the payment order or transfer, the return
// charges and the exchange. Tab follows the same order.
#include "CheckBox.h"
#include "ComboBox.h"
#include "DateBox.h"
#include "EditBox.h"
#include "FRMKV_STORICO.h"
#include "GridNavigator.h"
#include "HistoryFormTexts.h"
#include "NumericBox.h"
#include "VirtualFrame.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

enum class Kind { Text, Number, Amount, Rate, Date, Combo, Check, Description };

struct ControlDef {
    const char* name;
    Kind kind;
    const char* column;  // bound column; empty for a description shown beside a code
    const char* caption;
};

// Every control of the form with its bound column, in reading order.
const ControlDef kControls[] = {
    // Movimento
    {"TXT_PROGSTO", Kind::Number, "EF06_PROGSTO", "Progressivo storico"},
    {"TXT_DATAREG", Kind::Date, "EF06_DATAREG", "Data registrazione"},
    {"CBO_INDTIPOPER", Kind::Combo, "EF06_INDTIPOPER", "Tipo operazione"},
    {"TXT_NUMREG", Kind::Text, "EF06_NUMREGMOV_CO99", "Numero di registrazione"},
    {"TXT_RIGACONT", Kind::Number, "EF06_RIGACONTMOV_CG42", "Riga contabile"},
    {"TXT_PROGEC", Kind::Number, "EF06_PROGECMOV_EC01", "Progressivo estratto conto"},
    {"CHK_FLGSTORNORITINS", Kind::Check, "EF06_FLGSTORNORITINS", "Storno ritenuta su insoluto"},
    // Situazione dell'effetto prima del movimento
    {"TXT_DATASCAD", Kind::Date, "EF06_SCADE_S", "Data scadenza"},
    {"CBO_INDSTATO", Kind::Combo, "EF06_INDSTATO_S", "Stato effetto"},
    {"CBO_INDGENSTATO", Kind::Combo, "EF06_INDGENSTATO_S", "Generazione stato"},
    {"CBO_INDPRES", Kind::Combo, "EF06_INDPRES_S", "Tipo presentazione"},
    {"CHK_FLGSTEFF", Kind::Check, "EF06_FLGSTEFF_S", "Effetto stampato"},
    {"TXT_NUMSTEFF", Kind::Number, "EF06_NUMSTEFF_S", "Numero stampa effetti"},
    {"TXT_NUMRIEMIS", Kind::Number, "EF06_NUMRIEMIS_S", "Numero di riemissione"},
    {"CHK_FLGGIRATO", Kind::Check, "EF06_FLGGIRATO_S", "Girato"},
    {"CHK_FLGRICEVUTO", Kind::Check, "EF06_FLGRICEVUTO_S", "Ricevuto"},
    {"CHK_FLGINCASSOBF", Kind::Check, "EF06_FLGINCASSOBF_S", "Incasso buon fine"},
    {"TXT_BANCAPRE", Kind::Number, "EF06_BANCAPRE_S", "Banca di presentazione"},
    {"TXT_DESBANCAPRE", Kind::Description, "", "Descrizione banca di presentazione"},
    {"TXT_AGENZPRE", Kind::Number, "EF06_AGENZPRE_S", "Agenzia di presentazione"},
    {"TXT_DESAGENZPRE", Kind::Description, "", "Descrizione agenzia di presentazione"},
    // Importi: euro and currency side by side
    {"TXT_IMPEFF", Kind::Amount, "EF06_IMPEFF_S", "Importo effetto in EURO"},
    {"TXT_IMPEFFVAL", Kind::Amount, "EF06_IMPEFFVAL_S", "Importo effetto in valuta"},
    {"TXT_IMPEFFNETPREV", Kind::Amount, "EF06_IMPEFFNETPREV_S", "Importo netto previsto in EURO"},
    {"TXT_IMPEFFNETPREVVAL", Kind::Amount, "EF06_IMPEFFNETPREVVAL_S", "Importo netto previsto in valuta"},
    {"TXT_IMPMOVPAG", Kind::Amount, "EF06_IMPMOVPAG", "Importo pagato in EURO"},
    {"TXT_IMPMOVPAGVAL", Kind::Amount, "EF06_IMPMOVPAGVAL", "Importo pagato in valuta"},
    {"TXT_IMPMOVPAGRIT", Kind::Amount, "EF06_IMPMOVPAGRIT", "Importo delle ritenute pagate in EURO"},
    {"TXT_IMPMOVPAGRITVAL", Kind::Amount, "EF06_IMPMOVPAGRITVAL", "Importo delle ritenute pagate in valuta"},
    {"TXT_IMPMOVABB", Kind::Amount, "EF06_IMPMOVABB", "Importo abbuono in EURO"},
    {"TXT_IMPMOVABBVAL", Kind::Amount, "EF06_IMPMOVABBVAL", "Importo abbuono in valuta"},
    {"TXT_IMPMOVACC", Kind::Amount, "EF06_IMPMOVACC", "Importo acconto in EURO"},
    {"TXT_IMPMOVACCVAL", Kind::Amount, "EF06_IMPMOVACCVAL", "Importo acconto in valuta"},
    {"TXT_IMPMOVRIT", Kind::Amount, "EF06_IMPMOVRIT", "Importo ritenuta di acconto"},
    {"TXT_IMPMOVRITVAL", Kind::Amount, "EF06_IMPMOVRITVAL", "Importo ritenuta di acconto in valuta"},
    {"TXT_IMPMOVOMANORIV", Kind::Amount, "EF06_IMPMOVOMANORIV", "Importo omaggio senza rivalsa in EURO"},
    {"TXT_IMPMOVOMANORIVVAL", Kind::Amount, "EF06_IMPMOVOMANORIVVAL",
     "Importo omaggio senza rivalsa in valuta"},
    {"TXT_IMPMOVSCIND", Kind::Amount, "EF06_IMPMOVSCIND", "Importo sconto incondizionato in EURO"},
    {"TXT_IMPMOVSCINDVAL", Kind::Amount, "EF06_IMPMOVSCINDVAL", "Importo sconto incondizionato in valuta"},
    // Presentazione e distinta
    {"CBO_INDTIPODIST", Kind::Combo, "EF06_INDTIPODIST_EF09", "Tipo distinta"},
    {"TXT_ANNODIST", Kind::Number, "EF06_ANNO_EF09", "Anno presentazione distinta"},
    {"TXT_NUMDIST", Kind::Number, "EF06_NUMDIST_EF09", "Numero distinta"},
    {"TXT_ETICHRAGGRAVV", Kind::Text, "EF06_ETICHRAGGRAVV", "Etichetta raggruppamento avvisi"},
    // Ordine di pagamento / bonifico
    {"CBO_INDORDPBONIF", Kind::Combo, "EF06_INDORDPBONIF_EF10", "Tipo documento"},
    {"TXT_ANNOORDPBONIF", Kind::Number, "EF06_ANNO_EF10", "Anno ordine di pagamento/bonifico"},
    {"TXT_NUMORDPBONIF", Kind::Number, "EF06_NUMORDPBONIF_EF10", "Numero ordine di pagamento/bonifico"},
    {"CHK_ORDBONFLGCONF", Kind::Check, "EF06_ORDBONFLGCONF", "Bonifico confermato"},
    {"TXT_ORDBONABI", Kind::Number, "EF06_ORDBONABI_CG13", "Banca ordine di pagamento/bonifico"},
    {"TXT_DESORDBONABI", Kind::Description, "", "Descrizione banca"},
    {"TXT_ORDBONCAB", Kind::Number, "EF06_ORDBONCAB_CG13", "Agenzia ordine di pagamento/bonifico"},
    {"TXT_DESORDBONCAB", Kind::Description, "", "Descrizione agenzia"},
    {"TXT_ORDBONCCFORN", Kind::Text, "EF06_ORDBONCCFORN", "Conto corrente del fornitore"},
    {"TXT_ORDBONMOTIVO", Kind::Text, "EF06_ORDBONMOTIVO", "Motivo ordine di pagamento/bonifico"},
    {"TXT_ORDBONCAUPAG", Kind::Text, "EF06_ORDBONCAUPAG", "Causale SEPA per bonifico/Esito Rid SDD"},
    {"TXT_DESCORDBONCAUPAG", Kind::Description, "", "Descrizione causale SEPA"},
    // Spese di ritorno e assegno
    {"CBO_INDSPERIT", Kind::Combo, "EF06_INDSPERIT_S", "Modalità registrazione spese di ritorno"},
    {"TXT_SPESERIT", Kind::Amount, "EF06_SPESERIT_S", "Spese di ritorno addebitate al cliente"},
    {"TXT_SPESERITBAN", Kind::Amount, "EF06_SPESERITBAN_S", "Spese di ritorno addebitate dalla banca"},
    {"TXT_PROGEFFSPE", Kind::Number, "EF06_PROGEFFSPE", "Effetto creato per le spese"},
    {"TXT_NUMASSEGNO", Kind::Text, "EF06_NUMASSEGNO", "Numero di assegno"},
    {"TXT_NUMCCASSEGN", Kind::Text, "EF06_NUMCCASSEGN", "Conto corrente assegno"},
    // Cambio e adeguamento
    {"TXT_CAMBIO", Kind::Rate, "EF06_CAMBIO", "Cambio del movimento"},
    {"TXT_CAMBIOADCONTO", Kind::Rate, "EF06_CAMBIOADCONTO", "Incremento cambio dell'adeguamento"},
    {"TXT_DATACAMBIOADCONTO", Kind::Date, "EF06_DATACAMBIOADCONTO",
     "Incremento data cambio dell'adeguamento"},
    {"TXT_IMPADEGCAMBIO", Kind::Amount, "EF06_IMPADEGCAMBIO", "Incremento adeguamento cambio"},
    {"TXT_CAMBIOADCONTO_S", Kind::Rate, "EF06_CAMBIOADCONTO_S", "Cambio dell'adeguamento"},
    {"TXT_DATACAMBIOADCONTO_S", Kind::Date, "EF06_DATACAMBIOADCONTO_S", "Data cambio dell'adeguamento"},
    {"TXT_IMPADEGCAMBIO_S", Kind::Amount, "EF06_IMPADEGCAMBIO_S", "Valore adeguamento cambio"},
    {"TXT_DIFFCAMBIO", Kind::Amount, "EF06_DIFFCAMBIO", "Differenza cambio"},
    {"TXT_DIFFCAMBIOCONTO", Kind::Amount, "EF06_DIFFCAMBIOCONTO", "Differenza cambio su conto"},
};

QLabel* label(const QString& text, QWidget* buddy, QWidget* parent) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(QStringLiteral("LBL_") + buddy->objectName());
    l->setBuddy(buddy);
    return l;
}

}  // namespace

FrameControl* FRMKV_STORICO::make(const QString& name) {
    for (const ControlDef& d : kControls) {
        if (name != QLatin1String(d.name)) continue;
        FrameControl* c = nullptr;
        switch (d.kind) {
            case Kind::Text:
            case Kind::Description:
                c = new EditBox(this);
                break;
            case Kind::Number:
            case Kind::Rate:
                c = new NumericBox(this);
                break;
            case Kind::Amount: {
                auto* n = new NumericBox(this);
                n->lineEdit()->setAlignment(Qt::AlignRight);
                n->setMinimumWidth(130);
                c = n;
                break;
            }
            case Kind::Date:
                c = new DateBox(this);
                c->setMinimumWidth(100);
                break;
            case Kind::Combo:
                c = new ComboBox(this);
                c->setMinimumWidth(190);
                break;
            case Kind::Check:
                c = new CheckBox(QString::fromUtf8(d.caption), this);
                break;
        }
        c->setObjectName(name);
        // A registration number (year and eight digits) is read whole.
        if (name == QLatin1String("TXT_NUMREG")) c->setMinimumWidth(110);
        c->setDataField(QString::fromLatin1(d.column));
        c->setToolTip(QString::fromUtf8(d.caption));
        c->setAccessibleName(QString::fromUtf8(d.caption));
        if (d.kind == Kind::Description) {
            c->setAcceptsInput(false);
            c->setTabStop(false);
            c->setFocusPolicy(Qt::NoFocus);
        }
        controls_.insert(name, c);
        order_.append(c);
        return c;
    }
    return nullptr;
}

void FRMKV_STORICO::createControls() {
    for (const ControlDef& d : kControls) make(QString::fromLatin1(d.name));
    auto caption = [](const char* name) {
        for (const ControlDef& d : kControls)
            if (QLatin1String(d.name) == QLatin1String(name)) return QString::fromUtf8(d.caption);
        return QString();
    };
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
                grid->addWidget(label(caption(name), c, box), row, col);
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
        grid->addWidget(label(caption(code), c, grid->parentWidget()), row, 0);
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
        gImp->addWidget(label(QString::fromUtf8(a.text), euro, importi), row, 0);
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

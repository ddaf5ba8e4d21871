// The reminder form's controls, laid out in group boxes: on the left the notice, its interest
// and its charges; on the right the letter, the block of the customer and the document issued.
// Tab follows the order in which the controls are attached to the frame.
#include "CheckBox.h"
#include "ControlFactory.h"
#include "EditBox.h"
#include "FRMKV_SOLLECITI.h"
#include "GridNavigator.h"
#include "ReminderFormTexts.h"
#include "VirtualFrame.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// Every control of the form with its bound column, in the order the frame takes them.
const ControlDef kControls[] = {
    {"TXT_PROGAVVISI", ControlKind::Number, "EF05_PROGAVVISI", "Progressivo avviso"},
    {"TXT_DATAAVVISO", ControlKind::Date, "EF05_DATAAVVISO", "Data avviso"},
    {"TXT_DATARIFELAB", ControlKind::Date, "EF05_DATARIFELAB", "Data di riferimento dell'elaborazione"},
    {"CHK_FLGCALCINT", ControlKind::Check, "EF05_FLGCALCINT", "Calcolo interessi"},
    {"TXT_TASSOINT", ControlKind::Rate, "EF05_TASSOINT", "Tasso interesse"},
    {"TXT_DADATACALC", ControlKind::Date, "EF05_DADATACALC", "Limite inferiore data calcolo interessi"},
    {"TXT_ADATACALC", ControlKind::Date, "EF05_ADATACALC", "Limite superiore data calcolo interessi"},
    {"TXT_IMPINTERES", ControlKind::Amount, "EF05_IMPINTERES", "Importo interessi"},
    {"TXT_SPESERIT", ControlKind::Amount, "EF05_SPESERIT", "Spese di ritorno"},
    {"TXT_SPBOLLO", ControlKind::Amount, "EF05_SPBOLLO", "Spese bollo"},
    {"TXT_SPPOST", ControlKind::Amount, "EF05_SPPOST", "Spese postali"},
    {"TXT_SPVARIE", ControlKind::Amount, "EF05_SPVARIE", "Spese varie"},
    {"TXT_SIGLALETTERA", ControlKind::Code, "EF05_SIGLALETTERA", "Sigla lettera di sollecito"},
    {"TXT_DESCRLETTERA", ControlKind::Description, "", "Descrizione lettera di sollecito"},
    {"TXT_TESTOPERS", ControlKind::Text, "EF05_TESTOPERS", "Commento aggiuntivo"},
    {"CBO_INDBLOCCO", ControlKind::Combo, "EF05_INDBLOC", "Blocco applicato al cliente"},
    {"TXT_CODBLOCCO", ControlKind::Code, "EF05_CODBLOC_MG25", "Codice blocco"},
    {"CHK_FLGAZLEGAL", ControlKind::Check, "EF05_FLGAZLEGAL", "Azione legale"},
    {"CHK_FLGINVIOAGE", ControlKind::Check, "EF05_FLGINVIOAGE", "Inviato all'agente"},
    {"CHK_FLGEMISDOC", ControlKind::Check, "EF05_FLGEMISDOC", "Emissione documento"},
    {"TXT_DOCUMENTO", ControlKind::Code, "EF05_DOCUM_MG36", "Codice documento"},
    {"TXT_DATADOC", ControlKind::Date, "EF05_DATADOC", "Data documento"},
    {"TXT_NUMDOC", ControlKind::Number, "EF05_NUMDOC", "Numero documento"},
    {"TXT_SEZDOC", ControlKind::Code, "EF05_SEZDOC", "Sezionale documento"},
    {"CHK_FLGDOCBIS", ControlKind::Check, "EF05_FLGDOCBIS", "Documento bis"},
    {"CHK_FLGPERS1", ControlKind::Check, "EF05_FLGPERS1", "Indicatore personalizzato 1"},
    {"CHK_FLGPERS2", ControlKind::Check, "EF05_FLGPERS2", "Indicatore personalizzato 2"},
    {"TXT_DESBLOCCO", ControlKind::Description, "", "Descrizione blocco"},
};

}  // namespace

FrameControl* FRMKV_SOLLECITI::make(const ControlDef& def) {
    FrameControl* c = ControlFactory::create(def, this);
    controls_.insert(c->objectName(), c);
    order_.append(c);
    return c;
}

void FRMKV_SOLLECITI::createControls() {
    // Dates and amounts as wide as what they hold, so that the groups read as columns.
    for (const ControlDef& d : kControls) {
        FrameControl* c = make(d);
        if (d.kind == ControlKind::Date) c->setMaximumWidth(120);
        if (d.kind == ControlKind::Amount) c->setMaximumWidth(170);
    }
    for (const char* name : {"TXT_TASSOINT", "TXT_NUMDOC", "TXT_PROGAVVISI"})
        control(QString::fromLatin1(name))->setMaximumWidth(130);
    for (const char* name : {"TXT_SIGLALETTERA", "TXT_CODBLOCCO", "TXT_DOCUMENTO", "TXT_SEZDOC"})
        control(QString::fromLatin1(name))->setMaximumWidth(120);

    // A group of label / field rows; a row is one field, or a field with the fields that follow
    // it on the same line (a code and its description, a date pair).
    using Row = std::pair<const char*, std::initializer_list<const char*>>;
    auto group = [&](const QString& title, const char* objectName, std::initializer_list<Row> rows) {
        auto* box = new QGroupBox(title, this);
        box->setObjectName(QString::fromLatin1(objectName));
        auto* grid = new QGridLayout(box);
        grid->setHorizontalSpacing(8);
        int r = 0;
        for (const auto& [text, names] : rows) {
            auto* line = new QWidget(box);
            auto* h = new QHBoxLayout(line);
            h->setContentsMargins(0, 0, 0, 0);
            FrameControl* first = nullptr;
            for (const char* name : names) {
                FrameControl* c = control(QString::fromLatin1(name));
                if (!first) first = c;
                h->addWidget(c, c->maximumWidth() < QWIDGETSIZE_MAX ? 0 : 1);
            }
            if (first->maximumWidth() < QWIDGETSIZE_MAX && names.size() == 1) h->addStretch(1);
            if (text) grid->addWidget(ControlFactory::label(QString::fromUtf8(text), first, box), r, 0);
            grid->addWidget(line, r, 1);
            ++r;
        }
        grid->setColumnStretch(1, 1);
        return box;
    };

    QGroupBox* avviso = group(ReminderFormTexts::kGroupAvviso, "GRB_AVVISO",
                              {{"Progressivo avviso", {"TXT_PROGAVVISI"}},
                               {"Data avviso", {"TXT_DATAAVVISO"}},
                               {"Data elaborazione", {"TXT_DATARIFELAB"}}});
    QGroupBox* interessi = group(ReminderFormTexts::kGroupInteressi, "GRB_INTERESSI",
                                 {{nullptr, {"CHK_FLGCALCINT"}},
                                  {"Tasso interesse %", {"TXT_TASSOINT"}},
                                  {"Calcolo dal", {"TXT_DADATACALC"}},
                                  {"Calcolo al", {"TXT_ADATACALC"}},
                                  {"Importo interessi", {"TXT_IMPINTERES"}}});
    QGroupBox* spese = group(ReminderFormTexts::kGroupSpese, "GRB_SPESE",
                             {{"Spese di ritorno", {"TXT_SPESERIT"}},
                              {"Spese bollo", {"TXT_SPBOLLO"}},
                              {"Spese postali", {"TXT_SPPOST"}},
                              {"Spese varie", {"TXT_SPVARIE"}}});
    QGroupBox* lettera = group(ReminderFormTexts::kGroupLettera, "GRB_LETTERA",
                               {{"Sigla lettera", {"TXT_SIGLALETTERA", "TXT_DESCRLETTERA"}},
                                {"Commento aggiuntivo", {"TXT_TESTOPERS"}}});
    QGroupBox* blocco = group(ReminderFormTexts::kGroupBlocco, "GRB_BLOCCO",
                              {{"Tipo blocco", {"CBO_INDBLOCCO"}},
                               {"Codice blocco", {"TXT_CODBLOCCO", "TXT_DESBLOCCO"}},
                               {nullptr, {"CHK_FLGAZLEGAL", "CHK_FLGINVIOAGE"}}});
    QGroupBox* documento = group(ReminderFormTexts::kGroupDocumento, "GRB_DOCUMENTO",
                                 {{nullptr, {"CHK_FLGEMISDOC"}},
                                  {"Codice documento", {"TXT_DOCUMENTO"}},
                                  {"Data documento", {"TXT_DATADOC"}},
                                  {"Numero documento", {"TXT_NUMDOC", "CHK_FLGDOCBIS"}},
                                  {"Sezionale", {"TXT_SEZDOC"}},
                                  {nullptr, {"CHK_FLGPERS1", "CHK_FLGPERS2"}}});

    FME_SOLLECITI = new VirtualFrame(this);
    FME_SOLLECITI->setObjectName(QStringLiteral("FME_SOLLECITI"));
    FME_SOLLECITI->hide();
    GNV_DETTSOLLECITI = new GridNavigator(this);
    GNV_DETTSOLLECITI->setObjectName(QStringLiteral("GNV_DETTSOLLECITI"));
    // A reminder is opened from the bill form's grid: the form has nothing to open.
    GNV_DETTSOLLECITI->button(QStringLiteral("Apri"))->hide();

    auto* left = new QVBoxLayout;
    left->addWidget(avviso);
    left->addWidget(interessi);
    left->addWidget(spese);
    left->addStretch(1);
    auto* right = new QVBoxLayout;
    right->addWidget(lettera);
    right->addWidget(blocco);
    right->addWidget(documento);
    right->addStretch(1);
    auto* columns = new QHBoxLayout;
    columns->addLayout(left, 2);
    columns->addLayout(right, 3);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->addLayout(columns, 1);
    layout->addWidget(FME_SOLLECITI);
    layout->addWidget(GNV_DETTSOLLECITI);

    QWidget* previous = nullptr;
    for (FrameControl* c : order_) {
        if (!c->TabStop() || c->focusPolicy() == Qt::NoFocus) continue;
        if (previous) setTabOrder(previous, c->editor());
        previous = c->editor();
    }
    setTabOrder(previous, GNV_DETTSOLLECITI->button(QStringLiteral("Nuovo")));
}

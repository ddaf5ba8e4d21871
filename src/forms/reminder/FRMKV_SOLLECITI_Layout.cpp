// The reminder form's controls, laid out in group boxes: on the left the notice, its interest
// and its charges; on the right the letter, the block of the customer and the document issued.
// Tab goes down the left column, then the right one, each group row by row.
#include "CheckBox.h"
#include "ControlFactory.h"
#include "EditBox.h"
#include "FRMKV_SOLLECITI.h"
#include "FieldGrid.h"
#include "GridNavigator.h"
#include "GroupColumns.h"
#include "ReminderFormTexts.h"
#include "ScrollPage.h"
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
    {"TXT_DESDOCUMENTO", ControlKind::Description, "", "Descrizione documento"},
    {"TXT_DESSEZDOC", ControlKind::Description, "", "Descrizione sezionale"},
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
    auto c = [this](const char* name) -> QWidget* { return control(QString::fromLatin1(name)); };

    auto* body = new QWidget(this);
    GroupColumns groups(body);
    auto group = [&](const QString& title, const char* objectName) {
        return &groups.group(title, QString::fromLatin1(objectName));
    };
    auto avviso = group(ReminderFormTexts::kGroupAvviso, "GRB_AVVISO");
    avviso->addRow({{QStringLiteral("Progressivo avviso"), {c("TXT_PROGAVVISI")}}});
    avviso->addRow({{QStringLiteral("&Data avviso"), {c("TXT_DATAAVVISO")}}});
    avviso->addRow({{QStringLiteral("Data elaborazione"), {c("TXT_DATARIFELAB")}}});
    auto interessi = group(ReminderFormTexts::kGroupInteressi, "GRB_INTERESSI");
    interessi->addRow({{QString(), {c("CHK_FLGCALCINT")}}});
    interessi->addRow({{QStringLiteral("&Tasso interesse %"), {c("TXT_TASSOINT")}}});
    interessi->addRow({{QStringLiteral("Calcolo dal"), {c("TXT_DADATACALC")}}});
    interessi->addRow({{QStringLiteral("Calcolo al"), {c("TXT_ADATACALC")}}});
    interessi->addRow({{QStringLiteral("&Importo interessi"), {c("TXT_IMPINTERES")}}});
    auto spese = group(ReminderFormTexts::kGroupSpese, "GRB_SPESE");
    spese->addRow({{QStringLiteral("Spese di &ritorno"), {c("TXT_SPESERIT")}}});
    spese->addRow({{QStringLiteral("Spese bollo"), {c("TXT_SPBOLLO")}}});
    spese->addRow({{QStringLiteral("Spese postali"), {c("TXT_SPPOST")}}});
    spese->addRow({{QStringLiteral("Spese varie"), {c("TXT_SPVARIE")}}});
    groups.nextColumn();
    auto lettera = group(ReminderFormTexts::kGroupLettera, "GRB_LETTERA");
    lettera->addRow({GroupColumns::coded(QStringLiteral("&Sigla lettera"), c("TXT_SIGLALETTERA"),
                                         c("TXT_DESCRLETTERA"))});
    lettera->addRow({{QStringLiteral("Commento aggiuntivo"), {c("TXT_TESTOPERS")}}});
    auto blocco = group(ReminderFormTexts::kGroupBlocco, "GRB_BLOCCO");
    blocco->addRow({{QStringLiteral("Tipo &blocco"), {c("CBO_INDBLOCCO")}}});
    blocco->addRow(
        {GroupColumns::coded(QStringLiteral("Codice blocco"), c("TXT_CODBLOCCO"), c("TXT_DESBLOCCO"))});
    blocco->addRow({{QString(), {c("CHK_FLGAZLEGAL"), c("CHK_FLGINVIOAGE")}}});
    auto documento = group(ReminderFormTexts::kGroupDocumento, "GRB_DOCUMENTO");
    documento->addRow({{QString(), {c("CHK_FLGEMISDOC")}}});
    documento->addRow(
        {GroupColumns::coded(QStringLiteral("Codice documento"), c("TXT_DOCUMENTO"), c("TXT_DESDOCUMENTO"))});
    documento->addRow({{QStringLiteral("Data documento"), {c("TXT_DATADOC")}}});
    documento->addRow({{QStringLiteral("Numero documento"), {c("TXT_NUMDOC"), c("CHK_FLGDOCBIS")}}});
    documento->addRow(
        {GroupColumns::coded(QStringLiteral("Sezionale"), c("TXT_SEZDOC"), c("TXT_DESSEZDOC"))});
    documento->addRow({{QString(), {c("CHK_FLGPERS1"), c("CHK_FLGPERS2")}}});

    FME_SOLLECITI = new VirtualFrame(this);
    FME_SOLLECITI->setObjectName(QStringLiteral("FME_SOLLECITI"));
    FME_SOLLECITI->hide();
    GNV_DETTSOLLECITI = new GridNavigator(this, GridNavigator::Moves::Rows);
    GNV_DETTSOLLECITI->setObjectName(QStringLiteral("GNV_DETTSOLLECITI"));
    // A reminder is opened from the bill form's grid: the form has nothing to open.
    GNV_DETTSOLLECITI->button(QStringLiteral("Apri"))->hide();
    GNV_DETTSOLLECITI->setCaption(QStringLiteral("Nuovo"), QStringLiteral("&Nuovo"));
    GNV_DETTSOLLECITI->setCaption(QStringLiteral("Elimina"), QStringLiteral("&Elimina"));
    GNV_DETTSOLLECITI->setCaption(QStringLiteral("Conferma"), QStringLiteral("Con&ferma"));

    QList<QWidget*> order = groups.place(0, {2, 3});
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->addWidget(new ScrollPage(body, this), 1);
    layout->addWidget(FME_SOLLECITI);
    layout->addWidget(GNV_DETTSOLLECITI);
    for (QPushButton* b : GNV_DETTSOLLECITI->findChildren<QPushButton*>()) order.append(b);
    tabOrder_.setWidgets(order);
}

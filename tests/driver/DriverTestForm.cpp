#include "DriverTestForm.h"

#include "CheckBox.h"
#include "ComboBox.h"
#include "Connection.h"
#include "DateBox.h"
#include "DecodeRequest.h"
#include "DriverChildForm.h"
#include "EditBox.h"
#include "Grid.h"
#include "GridNavigator.h"
#include "IdEditBox.h"
#include "LookupRequest.h"
#include "MainNavigator.h"
#include "NumericBox.h"
#include "Recordset.h"
#include "RecordsetModel.h"
#include "SqlText.h"
#include "TabControl.h"
#include "VirtualFrame.h"

#include <QFormLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace {

const QString kSql = QStringLiteral(
    "SELECT TS01_ID, TS01_NAME, TS01_AMOUNT, TS01_DUE, TS01_FLAG, TS01_KIND FROM TS01_ITEMS WITH (NOLOCK) "
    "ORDER BY TS01_ID");

template <class C>
C* named(C* control, const char* name) {
    control->setObjectName(QString::fromLatin1(name));
    return control;
}

}  // namespace

void DriverTestForm::createTables(Connection& c) {
    c.Execute(QStringLiteral(
        "CREATE TABLE TS01_ITEMS (TS01_ID INTEGER NOT NULL PRIMARY KEY, TS01_NAME VARCHAR(20), "
        "TS01_AMOUNT DECIMAL(15,2), TS01_DUE TEXT, TS01_FLAG SMALLINT, TS01_KIND VARCHAR(4))"));
    c.Execute(
        QStringLiteral("INSERT INTO TS01_ITEMS VALUES (1, 'Alfa', 10.5, '20240131', 1, 'R1'); "
                       "INSERT INTO TS01_ITEMS VALUES (2, 'Beta', 20, '20240229', 0, 'R2'); "
                       "INSERT INTO TS01_ITEMS VALUES (3, 'Gamma', NULL, NULL, 0, NULL)"));
    c.Execute(QStringLiteral(
        "CREATE TABLE TS02_KINDS (TS02_CODE VARCHAR(4) NOT NULL PRIMARY KEY, TS02_DESCR VARCHAR(30))"));
    c.Execute(QStringLiteral(
        "INSERT INTO TS02_KINDS VALUES ('R1', 'Riba'); INSERT INTO TS02_KINDS VALUES ('R2', 'Rid'); "
        "INSERT INTO TS02_KINDS VALUES ('M1', 'Mandato Ωmega 東京')"));
}

DriverTestForm::DriverTestForm(std::shared_ptr<Connection> connection, const QString& connectionString,
                               std::shared_ptr<LogService> log)
    : QWidget(nullptr, Qt::Window), rs_(std::make_shared<Recordset>()) {
    setObjectName(QStringLiteral("FRMTEST"));
    frame_ = named(new VirtualFrame(this), "FME_ITEMS");
    frame_->setLogService(log);
    auto* navigator = named(new MainNavigator(this), "INV_MAIN");
    auto* tabs = named(new TabControl(this), "TAB_MAIN");
    events_ = named(new QLabel(this), "LBL_EVENTS");

    auto* page = new QWidget;
    auto* fields = new QFormLayout(page);
    name_ = named(new EditBox, "TXT_NAME");
    auto* amount = named(new NumericBox, "TXT_AMOUNT");
    amount->setDecimals(2);
    auto* due = named(new DateBox, "TXT_DUE");
    auto* flag = named(new CheckBox(QStringLiteral("Attivo")), "CHK_FLAG");
    auto* kind = named(new ComboBox, "CBO_KIND");
    auto* code = named(new IdEditBox, "TXT_CODE");
    auto* description = named(new EditBox, "TXT_DESCR");
    const QList<std::pair<const char*, FrameControl*>> bound{{"TS01_NAME", name_},
                                                             {"TS01_AMOUNT", amount},
                                                             {"TS01_DUE", due},
                                                             {"TS01_FLAG", flag},
                                                             {"TS01_KIND", kind}};
    for (const auto& [column, control] : bound) {
        control->setDataField(QString::fromLatin1(column));
        fields->addRow(QString::fromLatin1(column), control);
        frame_->AddControl(control);
    }
    fields->addRow(QStringLiteral("Codice"), code);
    fields->addRow(QStringLiteral("Descrizione"), description);
    tabs->addTab(page, QStringLiteral("Dati"));

    auto* listPage = new QWidget;
    auto* list = new QVBoxLayout(listPage);
    grid_ = named(new Grid, "GRD_ITEMS");
    auto* gridNavigator = named(new GridNavigator, "GNV_ITEMS");
    list->addWidget(grid_);
    list->addWidget(gridNavigator);
    tabs->addTab(listPage, QStringLiteral("Elenco"));
    tabs->addTab(new QWidget, QStringLiteral("Chiuso"));
    tabs->setTabEnabled(2, false);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(frame_);
    layout->addWidget(tabs);
    layout->addWidget(navigator);
    layout->addWidget(events_);

    kind->setSorted(false);
    kind->AddItem(QStringLiteral("Riba"), QStringLiteral("R1"));
    kind->AddItem(QStringLiteral("Rid"), QStringLiteral("R2"));
    kind->AddItem(QStringLiteral("Mav"), QStringLiteral("R3"));
    name_->AddKeyButtonItem(QStringLiteral("Maiuscolo"), QStringLiteral("UP"));
    name_->AddKeyButtonItem(QStringLiteral("Spento"), QStringLiteral("OFF"), false);

    rs_->Open(kSql, connection);
    frame_->Bind(connection, rs_, kSql, QStringLiteral("TS01_ID"), navigator);
    grid_->AddColumn(QStringLiteral("TS01_NAME"), QStringLiteral("Nome"), RecordsetModel::KindText, 1500);
    grid_->setDataSource(rs_);

    connect(name_, &FrameControl::Validate, this,
            [this](bool* cancel) { *cancel = name_->Text() == QStringLiteral("NO"); });
    connect(name_, &FrameControl::KeyDown, this,
            [this](int key, int shift) { record(QStringLiteral("KeyDown %1/%2").arg(key).arg(shift)); });
    connect(name_, &EditBox::KeyButtonMenuPress, this, [this](const QString& key) {
        record(QStringLiteral("Menu ") + key);
        name_->setText(name_->Text().toUpper());
    });
    connect(flag, &CheckBox::Click, this, [this] { record(QStringLiteral("Click")); });
    connect(kind, &ComboBox::ChangeRow, this, [this] { record(QStringLiteral("ChangeRow")); });
    connect(tabs, &TabControl::Click, this,
            [this](int previous) { record(QStringLiteral("Tab from %1").arg(previous)); });
    connect(code, &IdEditBox::StartLookup, this, [connectionString](LookupRequest* r) {
        // A list that filters as the person types, as the archives' lists do.
        r->query = QStringLiteral("SELECT TS02_CODE, TS02_DESCR FROM TS02_KINDS");
        r->orderColumn = QStringLiteral("TS02_CODE");
        r->searchColumns = {QStringLiteral("TS02_CODE"), QStringLiteral("TS02_DESCR")};
        r->connectionString = connectionString;
    });
    connect(code, &IdEditBox::StartDecode, this, [code, description, connectionString](DecodeRequest* r) {
        r->query = QStringLiteral("SELECT TS02_DESCR FROM TS02_KINDS WHERE TS02_CODE = ") +
                   SqlText::quote(code->Text());
        r->targets = {description};
        r->connectionString = connectionString;
    });
    connect(grid_, &Grid::CellDblClick, this, [this] { openChild(); });
}

DriverTestForm::~DriverTestForm() = default;

void DriverTestForm::record(const QString& event) {
    eventList_ << event;
    events_->setText(eventList_.join(QStringLiteral("; ")));
}

void DriverTestForm::openChild() {
    DriverChildForm child(rs_->Fields(QStringLiteral("TS01_NAME")).Value().toString(), this);
    const bool confirmed = child.exec() == QDialog::Accepted;
    record(QStringLiteral("Child %1").arg(confirmed ? 1 : 0));
    if (!confirmed) return;
    frame_->BeginExternalChange();
    rs_->Fields(QStringLiteral("TS01_NAME")).setValue(child.note());
    frame_->EndExternalChange();
    frame_->setChildChanged(true);
}

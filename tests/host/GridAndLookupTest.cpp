#include "Decimal.h"
#include "DecodeRequest.h"
#include "FrameFixture.h"
#include "Grid.h"
#include "GridNavigator.h"
#include "IdEditBox.h"
#include "LookupDialog.h"
#include "LookupRequest.h"
#include "QtPrinters.h"
#include "RecordsetModel.h"
#include "SharedConnection.h"
#include "TabControl.h"

#include <QHeaderView>
#include <QTableWidget>
#include <QTimer>

namespace {

using Grids = FrameFixture;

QString cell(Grid* grid, int row, int column) {
    return grid->model()->index(row, column).data().toString();
}

TEST_F(Grids, ShowsTheRecordsetWithCaptionsFormatsAndTheFormsCellTexts) {
    auto* grid = form.add(new Grid);
    grid->AddColumn("TS01_NAME", "Nome", RecordsetModel::KindText, 1500);
    grid->AddColumn("TS01_DUE", "Scadenza", RecordsetModel::KindDate, 1200, true, 0, "dd/MM/yyyy");
    grid->AddColumn("TS01_AMOUNT", "Importo", RecordsetModel::KindNumeric, 1800, true, 0, "#,###.00");
    grid->AddColumn("TS01_FLAG", "Stato", RecordsetModel::KindText, 900);
    QObject::connect(grid, &Grid::CellText, [](const QString& field, QString* text) {
        if (field == "TS01_FLAG") *text = *text == "1" ? " Attivo" : " Sospeso";
    });
    grid->setDataSource(rs);

    ASSERT_EQ(grid->model()->rowCount(), 3);
    EXPECT_EQ(grid->model()->headerData(2, Qt::Horizontal).toString(), "Importo");
    EXPECT_EQ(grid->columnWidth(0), 100);
    EXPECT_EQ(cell(grid, 0, 0), "Alfa");
    EXPECT_EQ(cell(grid, 1, 1), "29/02/2024");
    EXPECT_EQ(cell(grid, 0, 2), "10,50");
    EXPECT_EQ(cell(grid, 2, 2), "");
    EXPECT_EQ(cell(grid, 0, 3), " Attivo");
    EXPECT_EQ(cell(grid, 1, 3), " Sospeso");
    // Drawing reads a copy: the form's recordset stays where it is.
    EXPECT_EQ(rs->AbsolutePosition(), 1);

    EXPECT_EQ(
        RecordsetModel::format(QVariant::fromValue(Decimal::fromString("-1234567.456")), 12, "#,###.00"),
        "-1.234.567,46");
    EXPECT_EQ(RecordsetModel::format(QVariant::fromValue(Decimal::fromString("0.5")), 12, "#,##0.00"),
              "0,50");
    EXPECT_EQ(RecordsetModel::format(QVariant::fromValue(Decimal::fromString("1234.5")), 12, "0.000"),
              "1234,500");

    // A column laid out with the wrong kind shows its raw text rather than failing the drawing.
    grid->AddColumn("TS01_NAME", "Nome come data", RecordsetModel::KindDate, 1200);
    EXPECT_EQ(cell(grid, 0, 4), "Alfa");
}

TEST_F(Grids, TheUsersRowIsTheRecordsetsRowAndRefreshFollowsTheForm) {
    auto* grid = form.add(new Grid);
    grid->AddColumn("TS01_NAME", "Nome", RecordsetModel::KindText, 1500);
    grid->setDataSource(rs);
    int rowChanges = 0, doubleClicks = 0, entries = 0;
    QObject::connect(grid, &Grid::RowColChange, [&] { ++rowChanges; });
    QObject::connect(grid, &Grid::CellDblClick, [&] { ++doubleClicks; });
    QObject::connect(grid, &Grid::EnterFocus, [&] { ++entries; });

    grid->setFocus();
    EXPECT_EQ(entries, 1);
    QTest::keyClick(grid, Qt::Key_Down);
    EXPECT_EQ(rowChanges, 1);
    EXPECT_EQ(rs->Fields("TS01_NAME").Value().toString(), "Beta");
    const QRect third = grid->visualRect(grid->model()->index(2, 0));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, third.center());
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, third.center());
    EXPECT_EQ(doubleClicks, 1);
    EXPECT_EQ(rs->Fields("TS01_NAME").Value().toString(), "Gamma");

    // A row the form adds and moves to shows after a refresh, without a row-change event.
    rs->AddNew();
    rs->Fields("TS01_ID").setValue(9);
    rs->Fields("TS01_NAME").setValue(QStringLiteral("Nuova"));
    rs->Update();
    const int before = rowChanges;
    grid->Refresh();
    EXPECT_EQ(grid->model()->rowCount(), 4);
    EXPECT_EQ(grid->currentIndex().row(), rs->AbsolutePosition() - 1);
    EXPECT_EQ(rowChanges, before);

    grid->setDataSource(nullptr);
    EXPECT_EQ(grid->model()->rowCount(), 0);
}

// No caption and no date cut at the layout's widths, dates shown as dates whatever the column's
// kind, amounts below one with their zero; the widths the clerk gives are kept however often
// the rows are read again; Enter on a row opens it as a double click does.
TEST_F(Grids, ColumnsShowWholeCaptionsAndDatesAndKeepTheClerksWidths) {
    auto* grid = form.add(new Grid);
    grid->AddColumn("TS01_DUE", "Scad.", RecordsetModel::KindDate, 300, true, 0, "dd/MM/yyyy");
    grid->AddColumn("TS01_FLAG", "Un'intestazione lunga", RecordsetModel::KindText, 150);
    grid->AddColumn("TS01_AMOUNT", "Importo", RecordsetModel::KindNumeric, 1200, true, 0, "#,###.00");
    grid->AddColumn("TS01_DUE", "Data come testo", RecordsetModel::KindText, 1500);
    grid->setDataSource(rs);
    const QFontMetrics header = grid->horizontalHeader()->fontMetrics();
    EXPECT_GT(grid->columnWidth(0), grid->fontMetrics().horizontalAdvance(QStringLiteral("31/01/2024")));
    EXPECT_GT(grid->columnWidth(1), header.horizontalAdvance(QStringLiteral("Un'intestazione lunga")));
    EXPECT_EQ(cell(grid, 0, 3), "31/01/2024");
    EXPECT_EQ(RecordsetModel::format(QVariant::fromValue(Decimal::fromString("0")), 12, "#,###.00"), "0,00");
    EXPECT_EQ(RecordsetModel::format(QVariant::fromValue(Decimal::fromString("-0.5")), 12, "#,###.00"),
              "-0,50");

    grid->horizontalHeader()->resizeSection(2, 240);
    grid->Refresh();
    EXPECT_EQ(grid->columnWidth(2), 240);
    grid->setDataSource(rs);
    EXPECT_EQ(grid->columnWidth(2), 240);
    grid->setColumnFormat("TS01_AMOUNT", "#,###.000");
    EXPECT_EQ(grid->columnWidth(2), 240);

    int opened = 0;
    QObject::connect(grid, &Grid::CellDblClick, [&] { ++opened; });
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_Down);
    QTest::keyClick(grid, Qt::Key_Return);
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(rs->Fields("TS01_NAME").Value().toString(), "Beta");
}

TEST_F(Grids, GridNavigatorLetsTheFormCancelAndActsOnItsFrameOtherwise) {
    auto* bar = form.add(new GridNavigator);
    bar->setFrame(frame);
    QStringList after;
    bool cancelAll = true;
    QObject::connect(bar, &NavigatorBar::ButtonClick,
                     [&](const QString&, bool* cancel) { *cancel = cancelAll; });
    QObject::connect(bar, &NavigatorBar::AfterButtonClick, [&](const QString& key) { after << key; });
    for (const char* key : {"Nuovo", "Apri", "Elimina", "Conferma"})
        QTest::mouseClick(bar->button(QString::fromLatin1(key)), Qt::LeftButton);
    EXPECT_TRUE(after.isEmpty());
    EXPECT_EQ(frame->Status(), 0);
    EXPECT_EQ(storedRows(), 3);

    cancelAll = false;
    QObject::connect(frame, &VirtualFrame::AfterAddNew, [&](bool) { rs->Fields("TS01_ID").setValue(5); });
    QTest::mouseClick(bar->button("Nuovo"), Qt::LeftButton);
    retype(name, "Kept");
    QTest::mouseClick(bar->button("Conferma"), Qt::LeftButton);
    EXPECT_EQ(after, (QStringList{"Nuovo", "Conferma"}));
    EXPECT_EQ(frame->Status(), 0);
    EXPECT_EQ(storedRows(), 3);  // kept pending for the form's batch write
}

TEST_F(Grids, TabControlReportsEveryChangeOfTabAndHonoursAvailability) {
    auto* tabs = form.add(new TabControl);
    for (const char* caption : {"Dati generali", "Cambiali", "Storico"}) tabs->addTab(new QWidget, caption);
    QList<int> left;
    QObject::connect(tabs, &TabControl::Click, [&](int previous) { left << previous; });
    tabs->setTabEnabled(1, false);
    tabs->setTab(2);
    EXPECT_EQ(tabs->Tab(), 2);
    EXPECT_FALSE(tabs->TabEnabled(1));
    EXPECT_EQ(left, QList<int>{0});
}

class Codes : public FrameFixture {
protected:
    void SetUp() override {
        FrameFixture::SetUp();
        code = form.add(new IdEditBox);
        description = form.add(new EditBox);
        code->setLogService(log);
        // The host offers its connection, as a session's host does.
        SharedConnection::offer(conn);
        QObject::connect(code, &IdEditBox::StartDecode, [this](DecodeRequest* r) {
            ++decodes;
            r->query =
                QStringLiteral("SELECT TS02_DESCR FROM TS02_KINDS WITH (NOLOCK) WHERE TS02_CODE = '%1'")
                    .arg(code->Text().trimmed().replace("'", "''"));
            r->targets = {description};
            r->connectionString = db.connectionString();
        });
    }

    IdEditBox* code = nullptr;
    EditBox* description = nullptr;
    int decodes = 0;
};

TEST_F(Codes, DecodeFillsTheDescriptionAndTheValidMarkWhenTheCodeChanges) {
    code->setFocus();
    QTest::keyClicks(code->lineEdit(), "R1");
    EXPECT_EQ(decodes, 0);  // not while typing
    QTest::keyClick(code->lineEdit(), Qt::Key_Tab);
    EXPECT_EQ(description->Text(), "Riba");
    EXPECT_TRUE(code->Valid());

    code->setFocus();
    QTest::keyClick(code->lineEdit(), Qt::Key_Tab);
    EXPECT_EQ(decodes, 1);  // unchanged code: no new decode

    code->setFocus();
    code->lineEdit()->selectAll();
    QTest::keyClicks(code->lineEdit(), "X'9");
    QTest::keyClick(code->lineEdit(), Qt::Key_Tab);
    EXPECT_EQ(description->Text(), "");
    EXPECT_FALSE(code->Valid());

    // A code shown by the form decodes at once; an empty one is valid without a decode.
    code->setText("R2");
    EXPECT_EQ(description->Text(), "Rid");
    code->setText("");
    EXPECT_TRUE(code->Valid());
    EXPECT_EQ(decodes, 3);
    EXPECT_TRUE(log->messages().isEmpty());
}

TEST_F(Codes, LookupListsTheRowsAndTakesTheChosenKey) {
    QObject::connect(code, &IdEditBox::StartLookup, [this](LookupRequest* r) {
        r->query =
            QStringLiteral("SELECT TS02_CODE, TS02_DESCR FROM TS02_KINDS WITH (NOLOCK) ORDER BY TS02_CODE");
        r->columns = QStringList{"Codice", "Descrizione"};
        r->title = "Tipi";
        r->connectionString = db.connectionString();
    });
    code->setLookupKey("TS02_CODE");
    QString title;
    QTimer::singleShot(0, [&] {
        auto* list = qobject_cast<LookupDialog*>(QApplication::activeModalWidget());
        if (!list) return;
        title = list->windowTitle();
        list->table()->setCurrentCell(1, 0);
        list->accept();
    });
    code->setFocus();
    QTest::keyClick(code->lineEdit(), Qt::Key_F3);
    EXPECT_EQ(title, "Tipi");
    EXPECT_EQ(code->Text(), "R2");
    EXPECT_EQ(description->Text(), "Rid");
    // The form gets the focus back in the field once the list has closed.
    EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::focusWidget() == code->editor(); }, 2000));

    // A broken lookup says why and leaves the field as it was.
    QObject::disconnect(code, &IdEditBox::StartLookup, nullptr, nullptr);
    QObject::connect(code, &IdEditBox::StartLookup, [this](LookupRequest* r) {
        r->query = QStringLiteral("SELECT NOPE FROM NOWHERE");
        r->connectionString = db.connectionString();
    });
    EXPECT_FALSE(code->lookup());
    EXPECT_EQ(log->messages().size(), 1);
    EXPECT_EQ(code->Text(), "R2");
}

// A search list shows dates and amounts as the clerk reads them, on the database's shared
// connection that knows their columns.
TEST_F(Codes, ASearchListShowsDatesAndAmountsTheItalianWay) {
    LookupRequest request;
    request.query =
        QStringLiteral("SELECT TS01_NAME, TS01_DUE, TS01_AMOUNT FROM TS01_ITEMS ORDER BY TS01_ID");
    request.connectionString = db.connectionString();
    LookupDialog list(request, QStringLiteral("TS01_NAME"));
    ASSERT_EQ(list.table()->rowCount(), 3);
    EXPECT_EQ(list.table()->item(0, 1)->text(), "31/01/2024");
    EXPECT_EQ(list.table()->item(1, 2)->text(), "20,00");
}

}  // namespace

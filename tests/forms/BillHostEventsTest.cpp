// The bill form answering the host: the user's script on its open and close, the navigator's
// export and attachments.
#include "AttachmentDesk.h"
#include "BillFormFixture.h"
#include "EditBox.h"
#include "Grid.h"
#include "HistoryCodeTables.h"
#include "HostNavigator.h"
#include "LayoutScriptButton.h"
#include "SheetCells.h"
#include "SuiteError.h"
#include "TabControl.h"
#include "UserLayoutHolder.h"
#include "VirtualFrame.h"
#include "XlsxOfficeExport.h"
#include "ZipEntry.h"

#include <QElapsedTimer>
#include <QRegularExpression>
#include <QTemporaryDir>

namespace {

// The host's navigator bar without buttons: the tests raise its events.
class TestNavigator : public HostNavigator {
public:
    void AttachModule(Cinterface*) override {}
    void SetButtonsStatus(int) override {}
    void RefreshButtons() override {}
};

class BillHostEventsTest : public BillFormTest {
protected:
    QString allMessages() const { return messageTexts().join(QLatin1Char('\n')); }
    UserLayoutHolder& holder() { return dynamic_cast<UserLayoutHolder&>(host_->LayoutAndScript()); }
    // A key of a customer Bill that has history movements and reminders (and `more`).
    QString billWithHistoryAndReminders(const QString& more = {}) {
        return keyWhere(
            QStringLiteral(" AND EF01_NUMREG_CO99 IN (SELECT EF06_NUMREG_CO99 FROM EF06_SCADSTO)"
                           " AND EF01_NUMREG_CO99 IN (SELECT EF05_NUMREG_CO99 FROM EF05_SCADSOLLEC)") +
            more);
    }
    TestNavigator navigator_;
};

INSTANTIATE_ON_ENGINES(BillHostEventsTest);

}  // namespace

// A script refuses the close while the notes are empty; a script that does not compile, one that
// names a field the form has not, and one that never ends are reported and the form goes on.
TEST_P(BillHostEventsTest, ScriptsRefuseACloseAndTheirFaultsAreReported) {
    holder().SaveScript(
        QStringLiteral("function tsClose(form) {\n"
                       "  if (form.field('TXT_NOTEAMMIN').trim() === '') { form.message('Note vuote: ' + "
                       "form.name); return true; }\n"
                       "}"));
    holder().setScriptTimeLimit(300);
    module_->ChiaveEffettoInGestione = keyOfRow(1);
    FRMKV_TARSELLO* f = show();
    ASSERT_TRUE(f);
    EXPECT_FALSE(module_->CloseForm().toBool());
    EXPECT_TRUE(f->isVisible());
    EXPECT_TRUE(allMessages().contains(QStringLiteral("Note vuote: Dettaglio effetti")))
        << allMessages().toStdString();

    // Another Bill's way out: a syntax error is the build's fault, reported with its line.
    log_->clear();
    holder().SaveScript(QStringLiteral("function tsClose(form) {\n  return (;\n}"));
    f->CMD_LAYSCRIPT->press(QStringLiteral("Script"));
    EXPECT_TRUE(allMessages().contains(QStringLiteral("BuildScript:"))) << allMessages().toStdString();
    EXPECT_TRUE(allMessages().contains(QStringLiteral("alla riga 2")));
    EXPECT_FALSE(holder().CurrentScript());
    EXPECT_TRUE(f->isVisible());

    // An unknown field is named in the report; the script gives no answer, so the close goes on.
    log_->clear();
    holder().SaveScript(QStringLiteral("function tsOpen(form) { form.field('TXT_NONCE'); }"));
    f->CMD_LAYSCRIPT->press(QStringLiteral("Script"));
    EXPECT_TRUE(log_->messages().isEmpty());
    EXPECT_TRUE(f->ExecuteFormEvent(QStringLiteral("tsOpen")).isNull());
    EXPECT_TRUE(allMessages().contains(QStringLiteral("campo sconosciuto \"TXT_NONCE\"")))
        << allMessages().toStdString();
    EXPECT_TRUE(allMessages().contains(QStringLiteral("ExecuteFormEvent:")));

    // A script that loops is stopped at the time limit and the form closes.
    log_->clear();
    holder().SaveScript(QStringLiteral("function tsClose(form) { for (;;) {} }"));
    f->CMD_LAYSCRIPT->press(QStringLiteral("Script"));
    QElapsedTimer clock;
    clock.start();
    EXPECT_TRUE(module_->CloseForm().toBool());
    EXPECT_LT(clock.elapsed(), 10000);
    EXPECT_TRUE(allMessages().contains(QStringLiteral("tempo massimo"))) << allMessages().toStdString();
}

// Scripts that would hold the form: a recursion that catches its own stack overflow at every
// level, a loop that catches its interruption, memory without end. Each is stopped within the
// limit, its engine discarded, and the next script built works.
TEST_P(BillHostEventsTest, AScriptThatCatchesItsOwnStopIsStoppedAllTheSame) {
    holder().setScriptTimeLimit(500);
    module_->ChiaveEffettoInGestione = keyOfRow(1);
    FRMKV_TARSELLO* f = show();
    ASSERT_TRUE(f);
    for (const char* body :
         {"function f() { try { f(); } catch (e) { f(); } } f();",
          "for (;;) { try { for (;;) {} } catch (e) {} }",
          "var a = []; for (;;) { try { a.push(new Array(1000000).fill(1.5)); } catch (e) {} }"}) {
        log_->clear();
        holder().SaveScript(QStringLiteral("function tsOpen(form) { %1 }").arg(QLatin1String(body)));
        f->CMD_LAYSCRIPT->press(QStringLiteral("Script"));
        QElapsedTimer clock;
        clock.start();
        EXPECT_TRUE(f->ExecuteFormEvent(QStringLiteral("tsOpen")).isNull());
        EXPECT_LT(clock.elapsed(), 8000) << body;
        EXPECT_TRUE(allMessages().contains(QStringLiteral("interrotto")))
            << body << allMessages().toStdString();
        // Discarded: the same build answers nothing more.
        log_->clear();
        EXPECT_TRUE(f->ExecuteFormEvent(QStringLiteral("tsOpen")).isNull());
        EXPECT_TRUE(log_->messages().isEmpty()) << allMessages().toStdString();
    }
    holder().SaveScript(
        QStringLiteral("function tsClose(form) { form.message('ancora qui: ' + form.name); }"));
    f->CMD_LAYSCRIPT->press(QStringLiteral("Script"));
    log_->clear();
    EXPECT_TRUE(module_->CloseForm().toBool());
    EXPECT_TRUE(allMessages().contains(QStringLiteral("ancora qui: Dettaglio effetti")))
        << allMessages().toStdString();
}

// A module that is not the active one registers nothing in the script object model.
TEST_P(BillHostEventsTest, AnInactiveModuleRegistersNoScriptObjects) {
    module_->setActiveNavigator(&navigator_);
    module_->ChiaveEffettoInGestione = keyOfRow(2);
    ASSERT_TRUE(show());
    UserLayoutHolder idle(demo_->connection, QStringLiteral("MROSSI"), QStringLiteral("KVUO_TARSELLO"));
    module_->setIsActive(false);
    emit navigator_.InitializeScriptObjectModel(&idle);
    EXPECT_TRUE(idle.StructureNames().isEmpty());
}

// The export brings every tab up to date first (the history tab was never opened) and writes
// the five sections as a person reads them: codes and flags as their texts beside the codes, the
// agent by its code, no column name of the database, each heading once, no padding blanks; dates
// as dates; amounts as numbers equal to the database to the cent, even on an Italian desk where
// the C library writes "5708,89". A file that cannot be written is told and the export can be
// done again.
TEST_P(BillHostEventsTest, TheExportWritesTheBillWithAllItsTabsAsAPersonReadsThem) {
    const ItalianCLocale italian;
    ASSERT_TRUE(italian.installed()) << "no it_IT.UTF-8 locale here: scripts/test.sh generates it";
    const QString key = billWithHistoryAndReminders(
        QStringLiteral(" AND EF01_IDAGENTE_MG17 IS NOT NULL AND EXISTS (SELECT 1 FROM EF06_SCADSTO WHERE "
                       "EF06_NUMREG_CO99 = EF01_NUMREG_CO99 AND EF06_PROGEFF_EF01 = EF01_PROGEFF)"));
    ASSERT_FALSE(key.isEmpty());
    const QStringList k = key.split(QLatin1Char(','));
    const QString ofTheBill = QStringLiteral(" WHERE %1_NUMREG_CO99 = '%2' AND %1_PROGEFF%3 = %4")
                                  .arg(QStringLiteral("%1"), k[1], QStringLiteral("%2"), k[4]);
    const QString movementsOfTheBill =
        QStringLiteral(" FROM EF06_SCADSTO") + ofTheBill.arg(QStringLiteral("EF06"), QStringLiteral("_EF01"));
    demo_->connection->Execute(QStringLiteral("UPDATE EF01_SCADENZE SET EF01_IMPEFF_S = 5708.89") +
                               ofTheBill.arg(QStringLiteral("EF01"), QString()));
    demo_->connection->Execute(QStringLiteral("UPDATE EF06_SCADSTO SET EF06_IMPEFF_S = 0.07") +
                               ofTheBill.arg(QStringLiteral("EF06"), QStringLiteral("_EF01")) +
                               QStringLiteral(" AND EF06_PROGSTO = 1"));
    // The Bill in a workflow state: the export shows its description, never the GUID.
    demo_->connection->Execute(
        QStringLiteral("DELETE FROM KV08_STATIGUID WHERE KV08_GUID IN (SELECT EF01_GUID "
                       "FROM EF01_SCADENZE") +
        ofTheBill.arg(QStringLiteral("EF01"), QString()) + QLatin1Char(')'));
    demo_->connection->Execute(
        QStringLiteral(
            "INSERT INTO KV08_STATIGUID (KV08_GUID, KV08_CODSTATO, KV08_DESCRSTATO) SELECT EF01_GUID, "
            "'SOLL', 'In sollecito' FROM EF01_SCADENZE") +
        ofTheBill.arg(QStringLiteral("EF01"), QString()));
    module_->setActiveNavigator(&navigator_);
    module_->setIsActive(true);
    module_->ChiaveEffettoInGestione = key;
    FRMKV_TARSELLO* f = show();
    ASSERT_TRUE(f);
    EXPECT_FALSE(f->bolTabIni_Storico);
    log_->clear();

    EXPECT_THROW(XlsxOfficeExport::run(navigator_, QStringLiteral("/proc/effetto.xlsx")), SuiteError);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("effetto.xlsx"));
    EXPECT_EQ(XlsxOfficeExport::run(navigator_, path), 5);
    EXPECT_TRUE(log_->messages().isEmpty()) << allMessages().toStdString();
    EXPECT_TRUE(f->bolTabIni_Storico && f->bolTabIni_Solleciti);

    const QString book = zipEntry(path, QStringLiteral("xl/workbook.xml"));
    QStringList sheets;
    static const QRegularExpression sheetName(QStringLiteral("<sheet name=\"([^\"]+)\""));
    for (auto it = sheetName.globalMatch(book); it.hasNext();) sheets << it.next().captured(1);
    EXPECT_EQ(sheets,
              (QStringList{QStringLiteral("Dettaglio effetti"), QStringLiteral("Dati cambiali e cessioni"),
                           QStringLiteral("Movimenti di storico"), QStringLiteral("Solleciti"),
                           QStringLiteral("Note")}));
    const QString strings = zipEntry(path, QStringLiteral("xl/sharedStrings.xml"));
    const QString historyXml = zipEntry(path, QStringLiteral("xl/worksheets/sheet3.xml"));
    const int historyRows = demo_->count(QStringLiteral("SELECT COUNT(*)") + movementsOfTheBill);
    // The title, the headings (after a blank row), then one row per movement.
    EXPECT_EQ(historyXml.count(QStringLiteral("<row ")), 2 + historyRows);
    // The operation type as its description, the movement's date as a date cell (a serial
    // number with the date style), no 0/1 left in the flag columns.
    Recordset first;
    first.Open(QStringLiteral("SELECT EF06_INDTIPOPER, EF06_DATAREG, EF06_IMPEFF_S") + movementsOfTheBill +
                   QStringLiteral(" ORDER BY EF06_PROGSTO"),
               demo_->connection);
    const QString operation = HistoryCodeTables::cellText(QStringLiteral("EF06_INDTIPOPER"),
                                                          Value::toText(first.Fields(0).Value()));
    EXPECT_TRUE(strings.contains(QStringLiteral(">%1</t>").arg(operation.trimmed().toHtmlEscaped())))
        << operation.toStdString();
    const qint64 serial = QDate(1899, 12, 30).daysTo(Value::toDate(first.Fields(1).Value()));
    EXPECT_TRUE(historyXml.contains(
        QRegularExpression(QStringLiteral("<c r=\"B4\" s=\"\\d+\"><v>%1</v></c>").arg(serial))))
        << historyXml.left(3000).toStdString();
    // An amount column: a number cell with the two-decimals style.
    EXPECT_TRUE(
        historyXml.contains(QRegularExpression(QStringLiteral("<c r=\"H4\" s=\"\\d+\"><v>[0-9.]+</v></c>"))));
    EXPECT_TRUE(strings.contains(QStringLiteral("<t>No</t>")) ||
                strings.contains(QStringLiteral("<t>Sì</t>")));

    // Amounts: number cells equal to the database, the Bill's and each movement's.
    const SheetCells bill = SheetCells::read(path, 1);
    const QString amount = bill.columnOf(3, QStringLiteral("Importo effetto in EURO"));
    ASSERT_FALSE(amount.isEmpty());
    EXPECT_EQ(bill.numbers.value(amount + QStringLiteral("4")), 5708.89);
    const SheetCells history = SheetCells::read(path, 3);
    const QString movement = history.columnOf(3, QStringLiteral("Importo eff."));
    ASSERT_FALSE(movement.isEmpty());
    int row = 4;
    for (; !first.AtEOF(); first.MoveNext(), ++row) {
        const std::optional<double> cell = history.numbers.value(movement + QString::number(row));
        ASSERT_TRUE(cell.has_value()) << "row " << row;
        EXPECT_EQ(Decimal::fromDouble(*cell, 2), Value::toDecimal(first.Fields(2).Value()).rounded(2)) << row;
    }
    EXPECT_GT(row, 4);
    EXPECT_FALSE(history.widths.isEmpty());
    for (const auto& width : bill.widths + history.widths) EXPECT_TRUE(width.has_value());

    // The Bill's headings and texts.
    QStringList headings;
    static const QRegularExpression rawName(QStringLiteral("^[A-Z0-9]+_[A-Z0-9_]+$"));
    for (auto it = bill.texts.cbegin(); it != bill.texts.cend(); ++it) {
        EXPECT_EQ(it.value(), it.value().trimmed()) << it.key().toStdString();
        static const QRegularExpression headingRow(QStringLiteral("^[A-Z]+3$"));
        if (!headingRow.match(it.key()).hasMatch()) continue;
        EXPECT_FALSE(rawName.match(it.value()).hasMatch()) << it.value().toStdString();
        EXPECT_FALSE(headings.contains(it.value())) << it.value().toStdString();
        headings << it.value();
    }
    auto cell = [&](const QString& heading) {
        const QString column = bill.columnOf(3, heading);
        EXPECT_FALSE(column.isEmpty()) << heading.toStdString();
        return bill.texts.value(column + QStringLiteral("4"));
    };
    EXPECT_EQ(cell(QStringLiteral("Codice cliente/fornitore - descrizione")),
              f->control(QStringLiteral("TXT_DESCLFOPDC"))->Text().trimmed());
    EXPECT_FALSE(cell(QStringLiteral("Codice cliente/fornitore - descrizione")).isEmpty());
    EXPECT_TRUE(cell(QStringLiteral("Codice agente")).startsWith(QStringLiteral("AG")));
    EXPECT_FALSE(cell(QStringLiteral("Codice agente - descrizione")).isEmpty());
    EXPECT_TRUE((QStringList{QStringLiteral("Aperto"), QStringLiteral("Chiuso")})
                    .contains(cell(QStringLiteral("Stato effetto"))));
    EXPECT_TRUE(cell(QStringLiteral("Stato scadenza")).contains(QStringLiteral("In sollecito")));
    EXPECT_EQ(cell(QStringLiteral("Stato scadenza")),
              f->control(QStringLiteral("TXT_EF01_GUID_STATO"))->Text().trimmed());
}

// The attachment buttons act on the record in focus: a file added to a stored Bill is written
// with the Bill's new media id at once, is opened as it was stored, and deleted after a Yes. A
// file that vanished and a focused record without a current row store nothing, and say so.
TEST_P(BillHostEventsTest, AttachmentsFollowTheRecordInFocus) {
    auto desk = std::make_shared<ScriptedAttachmentDesk>();
    host_->setAttachmentDesk(desk);
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("lettera d'incarico.pdf"));
    {
        QFile file(pdf);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("%PDF-1.4\n%\xe2\xe3\xcf\xd3\n1 0 obj<<>>endobj\n%%EOF\n");
    }
    module_->setActiveNavigator(&navigator_);
    module_->setIsActive(true);
    const QString key = billWithHistoryAndReminders(QStringLiteral(" AND EF01_IDMEDIA_CG99 IS NULL"));
    ASSERT_FALSE(key.isEmpty());
    module_->ChiaveEffettoInGestione = key;
    FRMKV_TARSELLO* f = show();
    ASSERT_TRUE(f);
    f->control(QStringLiteral("TXT_NUMEFF"))->setFocus();
    QApplication::processEvents();
    const int before = demo_->count(QStringLiteral("SELECT COUNT(*) FROM KV05_ALLEGATI"));
    log_->clear();

    desk->files = {dir.filePath(QStringLiteral("sparito.pdf"))};
    emit navigator_.ButtonPressed(AttachmentStore::New);
    EXPECT_TRUE(allMessages().contains(QStringLiteral("non esiste più"))) << allMessages().toStdString();
    EXPECT_EQ(demo_->count(QStringLiteral("SELECT COUNT(*) FROM KV05_ALLEGATI")), before);

    desk->files = {pdf};
    emit navigator_.ButtonPressed(AttachmentStore::New);
    const QString media =
        Value::toText(f->clsRstTestata->Fields(QStringLiteral("EF01_IDMEDIA_CG99")).Value());
    ASSERT_FALSE(media.isEmpty());
    EXPECT_FALSE(f->FME_TESTATA->isRecordChanged()) << "nothing left to save";
    EXPECT_EQ(demo_->count(QStringLiteral("SELECT COUNT(*) FROM KV05_ALLEGATI")), before + 1);
    EXPECT_EQ(
        demo_->count(
            QStringLiteral("SELECT COUNT(*) FROM EF01_SCADENZE WHERE EF01_IDMEDIA_CG99 = '%1'").arg(media)),
        1);

    emit navigator_.ButtonPressed(AttachmentStore::Open);
    ASSERT_EQ(desk->opened.size(), 1);
    QFile opened(desk->opened.front());
    ASSERT_TRUE(opened.open(QIODevice::ReadOnly));
    QFile original(pdf);
    ASSERT_TRUE(original.open(QIODevice::ReadOnly));
    EXPECT_EQ(opened.readAll(), original.readAll());
    EXPECT_TRUE(desk->opened.front().endsWith(QStringLiteral("lettera d'incarico.pdf")));

    // The notes of a Bill without notes: no current row, so no row takes the new id.
    f->TAB_SCADENZE->setTab(FRMKV_TARSELLO::TabNote);
    QApplication::processEvents();
    if (f->clsRstNote && f->clsRstNote->RecordCount() == 0) {
        f->TXT_NOTEAMMIN->setFocus();
        QApplication::processEvents();
        desk->files = {pdf};
        log_->clear();
        emit navigator_.ButtonPressed(AttachmentStore::New);
        EXPECT_FALSE(f->FME_NOTE->isRecordChanged());
        EXPECT_EQ(demo_->count(QStringLiteral("SELECT COUNT(*) FROM KV05_ALLEGATI")), before + 1);
        EXPECT_TRUE(allMessages().contains(QStringLiteral("non è stato aggiunto")))
            << allMessages().toStdString();
    }
    f->TAB_SCADENZE->setTab(FRMKV_TARSELLO::TabDatiGenerali);
    f->control(QStringLiteral("TXT_NUMEFF"))->setFocus();
    QApplication::processEvents();
    log_->enqueue(6);
    emit navigator_.ButtonPressed(AttachmentStore::Delete);
    EXPECT_EQ(demo_->count(
                  QStringLiteral("SELECT COUNT(*) FROM KV05_ALLEGATI WHERE KV05_IDMEDIA = '%1'").arg(media)),
              0);
}

#include "AgeingView.h"
#include "BillListRows.h"
#include "CallingProgram.h"
#include "Cinterface.h"
#include "DatabaseHost.h"
#include "DemoDatabase.h"
#include "DemoGenerator.h"
#include "EditBox.h"
#include "HostMainWindow.h"
#include "ItalianFormat.h"
#include "ListOutput.h"
#include "ListSink.h"
#include "ListSpreadsheet.h"
#include "ListTotals.h"
#include "LookupDialog.h"
#include "ModalWindow.h"
#include "PluginRegistry.h"
#include "ReportPrinter.h"
#include "SchemaInstaller.h"
#include "ScriptedLogService.h"
#include "SheetCells.h"
#include "SuiteError.h"
#include "Value.h"
#include "ZipEntry.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest/QTest>

namespace {

// Columns of the list, as the clerk reads them.
constexpr int kOverdue = 2;
constexpr int kAmount = 3;
constexpr int kCode = 6;
constexpr int kName = 7;
constexpr int kBank = 10;
constexpr int kDocument = 11;

const QDate kToday(2026, 3, 15);

// A PDF's text as a reader that is not ours extracts it (poppler-utils, installed by
// scripts/common.sh), the columns kept in place.
QString pdfText(const QString& pdf) {
    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (pdftotext.isEmpty()) return {};
    QProcess reader;
    reader.start(pdftotext, {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    reader.waitForFinished(60000);
    return QString::fromUtf8(reader.readAllStandardOutput());
}

// An Italian amount as printed ("1.234,56") in cents.
qint64 cents(QString text) {
    text.remove(QLatin1Char('.')).replace(QLatin1Char(','), QLatin1Char('.'));
    return qRound64(text.toDouble() * 100);
}

// Six Bills of one customer, the rest of the company's Bills closed: due today, yesterday, 30,
// 31 and 91 days ago, open; one due yesterday, closed; all Ri.Ba. presented to one bank.
class CallingList : public ::testing::TestWithParam<TestEngine> {
protected:
    void SetUp() override {
        REQUIRE_ENGINE(GetParam());
        demo_ = std::make_unique<DemoDatabase>(GetParam(), 60);
        connection_ = demo_->connection;
        host_ = std::make_shared<DatabaseHost>(demo_->db.connectionString(), DemoGenerator::kCompany,
                                               QStringLiteral("MROSSI"));
        log_ = std::make_shared<ScriptedLogService>();
        host_->setLogServiceFactory([this] { return log_; });
        registry_ = std::make_shared<PluginRegistry>(scratch_.filePath(QStringLiteral("moduli.json")));
        registry_->Register(QString::fromLatin1(HostMainWindow::kProgId),
                            QStringLiteral(KVUO_TARSELLO_LIBRARY));
        window_ = std::make_unique<HostMainWindow>(host_, connection_, registry_);
        window_->show();
        calling_ = window_->callingProgram();
        calling_->setToday(kToday);
        ASSERT_GE(calling_->search(), 6);

        bank_ = calling_->bankCombo()->itemData(1).toInt();
        ASSERT_GT(bank_, 0);
        const QAbstractItemModel* model = calling_->list()->model();
        customer_ = model->index(0, kCode).data().toString();
        connection_->Execute(QStringLiteral("UPDATE EF01_SCADENZE SET EF01_INDSTATO_S = 1"));
        const struct {
            int daysAgo;
            const char* amount;
            int state;
        } bills[] = {{0, "100", 0},   {1, "10", 0}, {30, "1", 0},
                     {31, "1000", 0}, {91, "5", 0}, {1, "77777", 1}};
        for (int i = 0; i < 6; ++i) {
            const QStringList key = model->index(i, 0).data(Qt::UserRole).toString().split(u',');
            connection_->Execute(
                QStringLiteral(
                    "UPDATE EF01_SCADENZE SET EF01_SCADE_S = '%1', EF01_IMPEFF_S = %2, EF01_CODICE_CG08 = "
                    "'EURO', "
                    "EF01_INDSTATO_S = %3, EF01_CLIFOR_CG44 = %4, EF01_TIPOEFF = 2, "
                    "EF01_BANCAPRE_SCG12 = %5 WHERE EF01_DITTA_CG18 = %6 AND EF01_NUMREG_CO99 = '%7' "
                    "AND EF01_RIGACONT_CG42 = %8 AND EF01_PROGEC_EC01 = %9 AND EF01_PROGEFF = %10")
                    .arg(kToday.addDays(-bills[i].daysAgo).toString(QStringLiteral("yyyyMMdd")),
                         QString::fromLatin1(bills[i].amount))
                    .arg(bills[i].state)
                    .arg(customer_)
                    .arg(bank_)
                    .arg(key[0], key[1], key[2], key[3], key[4]));
        }
    }
    void TearDown() override {
        if (!window_) return;
        log_->enqueue(7);
        window_->close();
    }
    bool readsArrive() const {
        for (int i = 0; i < 500 && !(calling_->countDone() && calling_->ageingView()->done()); ++i)
            QTest::qWait(20);
        return calling_->countDone() && calling_->ageingView()->done();
    }
    // The open Ri.Ba. of the bank, as the clerk picks them.
    void pickOpenBillsOfTheBank() {
        calling_->stateCombo()->setCurrentIndex(calling_->stateCombo()->findData(0));
        calling_->billTypeCombo()->setCurrentIndex(calling_->billTypeCombo()->findData(2));
        calling_->bankCombo()->setCurrentIndex(calling_->bankCombo()->findData(bank_));
    }
    bool outputEnds() const {
        for (int i = 0; i < 1500 && !calling_->outputDone(); ++i) QTest::qWait(20);
        return calling_->outputDone();
    }
    // The count and the sum in euro of the list's selection, asked of the database beside.
    std::pair<int, Decimal> selectionInSql() const {
        const auto r = connection_->Query(QStringLiteral("SELECT COUNT(*), SUM(EF01_IMPEFF_S) FROM (") +
                                          calling_->selectionQuery().selectText() + QStringLiteral(") X"));
        return {Value::toInt(Value::natural(r.front().rows.front().value(0))),
                Value::toDecimal(Value::natural(r.front().rows.front().value(1))).rounded(2)};
    }
    QStringList column(int c) const {
        QStringList out;
        const QAbstractItemModel* m = calling_->list()->model();
        for (int r = 0; r < m->rowCount(); ++r) out << m->index(r, c).data().toString();
        return out;
    }

    std::unique_ptr<DemoDatabase> demo_;
    std::shared_ptr<Connection> connection_;
    std::shared_ptr<DatabaseHost> host_;
    std::shared_ptr<ScriptedLogService> log_;
    QTemporaryDir scratch_;
    std::shared_ptr<PluginRegistry> registry_;
    std::unique_ptr<HostMainWindow> window_;
    CallingProgram* calling_ = nullptr;
    QString customer_;
    int bank_ = 0;
};

}  // namespace

// The filters pick the open Ri.Ba. of one bank; the list shows names, the days overdue counted
// to the day given (none for a Bill due that day, 1 for yesterday), sorts by the amount clicked
// twice, totals the selection and sums its ageing, closed Bills left out everywhere.
TEST_P(CallingList, FiltersTotalsSortsAndAgesTheOpenBills) {
    pickOpenBillsOfTheBank();
    EXPECT_EQ(calling_->search(), 5);
    ASSERT_TRUE(readsArrive());
    EXPECT_EQ(calling_->statusLabel()->text(),
              QStringLiteral(
                  "5 effetti per € 1.116,00: aperti 5 per € 1.116,00, di cui scaduti € 1.016,00; chiusi 0"));

    QHeaderView* header = calling_->list()->horizontalHeader();
    header->sectionClicked(kAmount);
    header->sectionClicked(kAmount);  // the second click turns the order round
    EXPECT_EQ(calling_->filter().orderText(),
              QStringLiteral("EF01_IMPEFF_S DESC, EF01_SCADE_S, EF01_NUMREG_CO99, EF01_PROGEFF"));
    EXPECT_EQ(column(kAmount), (QStringList{"1.000,00", "100,00", "10,00", "5,00", "1,00"}));
    EXPECT_EQ(column(kOverdue), (QStringList{"31", "", "1", "91", "30"}));
    const QString name = column(kName).value(0);
    EXPECT_FALSE(name.isEmpty());
    EXPECT_EQ(column(kName), QStringList(5, name));
    EXPECT_EQ(column(kBank),
              QStringList(5, calling_->bankCombo()->currentText().section(QStringLiteral(" - "), 1)));

    ASSERT_TRUE(readsArrive());
    const QAbstractItemModel* ageing = calling_->ageingView()->table()->model();
    EXPECT_EQ(ageing->rowCount(), 0) << "the ageing is read only when its tab is opened";
    calling_->tabs()->setCurrentWidget(calling_->ageingView());
    ASSERT_TRUE(readsArrive());
    ASSERT_EQ(ageing->rowCount(), 2) << "one customer and the totals";
    QStringList row;
    for (int c = 0; c < ageing->columnCount(); ++c) row << ageing->index(0, c).data().toString();
    EXPECT_EQ(row, (QStringList{customer_, name, "100,00", "11,00", "1.000,00", "", "5,00", "1.116,00"}));
    EXPECT_EQ(ageing->index(1, 7).data().toString(), QStringLiteral("1.116,00"));
    // Exported as numbers the spreadsheet sums, the names as text; a folder that cannot be
    // written is told and the export can be tried again.
    QTemporaryDir out;
    const QString xlsx = out.filePath(QStringLiteral("anzianita.xlsx"));
    calling_->ageingView()->exportTo(xlsx);
    const QString sheet = zipEntry(xlsx, QStringLiteral("xl/worksheets/sheet1.xml"));
    EXPECT_TRUE(sheet.contains(QStringLiteral("<v>1116</v>"))) << sheet.toStdString();
    EXPECT_TRUE(zipEntry(xlsx, QStringLiteral("xl/sharedStrings.xml")).contains(name.toHtmlEscaped()));
    EXPECT_THROW(calling_->ageingView()->exportTo(QStringLiteral("/proc/anzianita.xlsx")), SuiteError);

    // Counted to the next day, the Bill due "today" is 1 day overdue and leaves "not yet due".
    calling_->setToday(kToday.addDays(1));
    calling_->search();
    ASSERT_TRUE(readsArrive());
    EXPECT_EQ(column(kOverdue), (QStringList{"32", "1", "2", "92", "31"}));
    EXPECT_EQ(ageing->index(0, 2).data().toString(), QString());
    EXPECT_EQ(ageing->index(0, 3).data().toString(), QStringLiteral("110,00"));
}

// Wrong input in the filters is refused with a message and the list stays as it was.
TEST_P(CallingList, WrongFiltersAreRefusedAndTheListStays) {
    const int before = calling_->list()->model()->rowCount();
    const std::pair<QLineEdit*, QString> wrong[] = {
        {calling_->asOfEdit(), QStringLiteral("31/02/2026")},
        {calling_->asOfEdit(), QString()},
        {calling_->dueFromEdit(), QStringLiteral("l'1/1")},
        {calling_->counterpartEdit(), QStringLiteral("1; DELETE FROM EF01_SCADENZE")},
    };
    for (const auto& [edit, text] : wrong) {
        const QString kept = edit->text();
        edit->setText(text);
        EXPECT_EQ(calling_->search(), -1) << text.toStdString();
        EXPECT_FALSE(calling_->statusLabel()->text().isEmpty());
        EXPECT_EQ(calling_->list()->model()->rowCount(), before);
        edit->setText(kept);
    }
    EXPECT_GT(calling_->search(), 0) << "put right, the search runs";

    // A name nobody has, with quotes, a semicolon, accents and pattern signs taken as letters.
    for (const QString& name : {QStringLiteral("l'Àncora; DROP"), QStringLiteral("%"), QStringLiteral("_")}) {
        calling_->nameEdit()->setText(name);
        EXPECT_EQ(calling_->search(), -1) << name.toStdString();
        EXPECT_TRUE(calling_->statusLabel()->text().startsWith(QStringLiteral("Nessuna controparte")))
            << calling_->statusLabel()->text().toStdString();
    }
    calling_->nameEdit()->clear();
    EXPECT_GT(calling_->search(), 0);
}

// Part of a name, in any case, finds the customer; the module gets the same selection.
TEST_P(CallingList, FindsTheCustomerByPartOfItsName) {
    pickOpenBillsOfTheBank();
    ASSERT_EQ(calling_->search(), 5);
    const QString name = calling_->list()->model()->index(0, kName).data().toString();
    ASSERT_GT(name.size(), 6);
    calling_->nameEdit()->setText(name.mid(2, 5).toLower());
    EXPECT_EQ(calling_->search(), 5);
    EXPECT_TRUE(calling_->filter().selectionText().contains(QStringLiteral("EF01_CLIFOR_CG44 IN (")));
    EXPECT_TRUE(calling_->filter().named.contains(customer_));
}

// The Bill opened from the sorted list is the one chosen, in the same selection and order; its
// page prints to a PDF with its number and amount.
TEST_P(CallingList, OpensThePickedBillAndPrintsIt) {
    pickOpenBillsOfTheBank();
    calling_->list()->horizontalHeader()->sectionClicked(kAmount);  // smallest first
    ASSERT_EQ(calling_->search(), 5);
    calling_->list()->selectRow(1);  // 5,00
    ASSERT_TRUE(window_->openModule(calling_->filter(), calling_->selectedKey()));
    QApplication::processEvents();
    auto* form = qobject_cast<QWidget*>(window_->module()->Cwindow());
    ASSERT_TRUE(form);
    auto* amount = form->findChild<EditBox*>(QStringLiteral("TXT_IMPEFF"));
    ASSERT_TRUE(amount);
    EXPECT_EQ(amount->Text(), QStringLiteral("5,00"));
    const QString number = form->findChild<EditBox*>(QStringLiteral("TXT_NUMEFF"))->Text();

    const QString pdf = scratch_.filePath(QStringLiteral("effetto.pdf"));
    ReportPrinter::toPdf(calling_->billPage().html, pdf, false);
    QFile file(pdf);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.read(5).startsWith("%PDF"));
    const QString text = pdfText(pdf);
    ASSERT_FALSE(text.isEmpty()) << "pdftotext is missing: install poppler-utils";
    EXPECT_TRUE(text.contains(QStringLiteral("n. ") + number)) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("5,00"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("Movimenti storici")));
    // A folder that does not exist: a clear refusal, nothing left behind.
    EXPECT_THROW(
        ReportPrinter::toPdf(calling_->billPage().html, scratch_.filePath(QStringLiteral("no/x.pdf")), false),
        SuiteError);
}

// The whole selection, not the rows the list has read, goes to paper and to the spreadsheet: every
// Bill once, its amount to the cent, the closing line the totals of the rows written, which are
// the database's own; a Bill in dollars is totalled apart in dollars.
TEST_P(CallingList, PrintsAndExportsTheWholeSelection) {
    const QStringList key = calling_->list()->model()->index(0, 0).data(Qt::UserRole).toString().split(u',');
    connection_->Execute(
        QStringLiteral("UPDATE EF01_SCADENZE SET EF01_CODICE_CG08 = 'USD', EF01_IMPEFFVAL_S = 120.5 "
                       "WHERE EF01_NUMREG_CO99 = '%1' AND EF01_PROGEFF = %2")
            .arg(key[1], key[4]));
    ASSERT_GT(calling_->search(), 6);
    ASSERT_TRUE(readsArrive());
    const auto [count, sum] = selectionInSql();
    const QString status = calling_->statusLabel()->text();
    EXPECT_TRUE(
        status.startsWith(QStringLiteral("%1 effetti per € %2: aperti 5 per € 1.116,00, di cui scaduti € "
                                         "1.016,00; chiusi %3 — in USD: aperti 1 per 120,50")
                              .arg(count)
                              .arg(ItalianFormat::amount(sum))
                              .arg(count - 5)))
        << status.toStdString();
    EXPECT_FALSE(status.contains(QStringLiteral("CHF"))) << "a currency without open Bills";

    const QString pdf = scratch_.filePath(QStringLiteral("elenco.pdf"));
    ASSERT_TRUE(calling_->printListToPdf(pdf));
    EXPECT_FALSE(calling_->printListToPdf(pdf)) << "one output at a time";
    ASSERT_TRUE(outputEnds());
    const QString text = pdfText(pdf);
    ASSERT_FALSE(text.isEmpty()) << "pdftotext is missing or the PDF is empty";
    // A Bill's line: number, due date, days overdue when late, amount in euro.
    const QRegularExpression line(
        QStringLiteral("^\\s*(\\d+)\\s+\\d\\d/\\d\\d/\\d{4}\\s+(\\d+\\s+)?([\\d.]+,\\d\\d)\\s"));
    int printed = 0;
    qint64 printedCents = 0;
    for (const QString& row : text.split(u'\n')) {
        const QRegularExpressionMatch m = line.match(row);
        if (!m.hasMatch()) continue;
        ++printed;
        printedCents += cents(m.captured(3));
    }
    EXPECT_EQ(printed, count);
    EXPECT_EQ(printedCents, cents(ItalianFormat::amount(sum)));
    EXPECT_TRUE(text.simplified().contains(status.simplified())) << text.toStdString();
    EXPECT_EQ(calling_->statusLabel()->text(), QStringLiteral("Stampa: ") + status);
    QProcess info;
    info.start(QStandardPaths::findExecutable(QStringLiteral("pdfinfo")), {pdf});
    info.waitForFinished(60000);
    EXPECT_TRUE(QString::fromUtf8(info.readAllStandardOutput())
                    .contains(QRegularExpression(QStringLiteral("Author:\\s+\\S"))))
        << "the company as the file's author";

    // Exported on an Italian desk (a comma in the C library's numbers): amounts and dates stay
    // numbers a spreadsheet computes with.
    const ItalianCLocale italian;
    const QString xlsx = scratch_.filePath(QStringLiteral("elenco.xlsx"));
    ASSERT_TRUE(calling_->exportList(xlsx));
    ASSERT_TRUE(outputEnds());
    const SheetCells sheet = SheetCells::read(xlsx, 1);
    EXPECT_EQ(sheet.texts.value(QStringLiteral("D2")), QStringLiteral("Importo €"));
    qint64 exportedCents = 0;
    int exported = 0;
    for (int r = 3; sheet.numbers.contains(QStringLiteral("D%1").arg(r)) &&
                    sheet.texts.value(QStringLiteral("C%1").arg(r)).isEmpty();
         ++r) {
        ++exported;
        exportedCents += qRound64(sheet.numbers.value(QStringLiteral("D%1").arg(r)).value_or(0) * 100);
        EXPECT_TRUE(sheet.numbers.value(QStringLiteral("B%1").arg(r)).has_value())
            << "the due date is a date";
    }
    EXPECT_EQ(exported, count);
    EXPECT_EQ(exportedCents, cents(ItalianFormat::amount(sum)));
    EXPECT_EQ(sheet.texts.value(QStringLiteral("C%1").arg(count + 3)), QStringLiteral("Totale"));
    EXPECT_EQ(qRound64(sheet.numbers.value(QStringLiteral("D%1").arg(count + 3)).value_or(0) * 100),
              cents(ItalianFormat::amount(sum)));
    EXPECT_EQ(sheet.texts.value(QStringLiteral("A%1").arg(count + 4)), status);

    // The selection handed over pages through every Bill, whatever the page.
    struct Counting : ListSink {
        int rows = 0;
        bool closed = false;
        void add(const std::vector<ListRow>& page) override { rows += int(page.size()); }
        void close(const ListTotals&) override { closed = true; }
    } sink;
    const std::atomic<bool> go{false};
    const std::optional<ListTotals> totals =
        ListOutput::run(connection_, {calling_->selectionQuery(), kToday, {}}, sink, go, {}, 7);
    ASSERT_TRUE(totals);
    EXPECT_EQ(sink.rows, count);
    EXPECT_TRUE(sink.closed);
    EXPECT_EQ(totals->text(), status);
    // Given up, the export leaves no file behind.
    const QString given = scratch_.filePath(QStringLiteral("annullato.xlsx"));
    {
        const std::atomic<bool> stop{true};
        ListSpreadsheet half(given, QStringLiteral("Effetti"));
        EXPECT_FALSE(ListOutput::run(connection_, {calling_->selectionQuery(), kToday, {}}, half, stop));
    }
    EXPECT_FALSE(QFile::exists(given));

    // A folder that cannot be written: told in the status line, the next export works.
    ASSERT_TRUE(calling_->exportList(QStringLiteral("/proc/elenco.xlsx")));
    ASSERT_TRUE(outputEnds());
    EXPECT_FALSE(calling_->statusLabel()->text().startsWith(QStringLiteral("Esportazione:")));
    EXPECT_FALSE(QFile::exists(QStringLiteral("/proc/elenco.xlsx")));
}

// The open and overdue amounts of the selection are the database's, counted to the day given.
TEST_P(CallingList, TotalsTheOpenAndOverdueAmountsAsTheDatabaseDoes) {
    for (const QDate& day : {kToday, kToday.addDays(-31), kToday.addDays(100)}) {
        calling_->setToday(day);
        ASSERT_GT(calling_->search(), 0);
        ASSERT_TRUE(readsArrive());
        const auto r = connection_->Query(
            QStringLiteral(
                "SELECT COUNT(*), SUM(EF01_IMPEFF_S) FROM (%1) X WHERE EF01_INDSTATO_S = 0; "
                "SELECT SUM(EF01_IMPEFF_S) FROM (%1) X WHERE EF01_INDSTATO_S = 0 AND EF01_SCADE_S < '%2'")
                .arg(calling_->selectionQuery().selectText(), day.toString(QStringLiteral("yyyyMMdd"))));
        const QVariant overdue = Value::natural(r.at(1).rows.front().value(0));
        const QString expected =
            QStringLiteral("aperti %1 per € %2, di cui scaduti € %3;")
                .arg(Value::toInt(Value::natural(r.front().rows.front().value(0))))
                .arg(ItalianFormat::amount(Value::toDecimal(Value::natural(r.front().rows.front().value(1)))),
                     ItalianFormat::amount(Value::isNull(overdue) ? Decimal() : Value::toDecimal(overdue)));
        EXPECT_TRUE(calling_->statusLabel()->text().contains(expected))
            << calling_->statusLabel()->text().toStdString() << " / " << expected.toStdString();
    }
}

// A Bill is found by its amount (exact, a range, typed the Italian way), its document's number
// or its own number; wrong input is refused in Italian and the other filters stay.
TEST_P(CallingList, FindsABillByAmountDocumentAndNumber) {
    pickOpenBillsOfTheBank();
    const std::pair<QString, QStringList> amounts[] = {
        {QStringLiteral("1.000,00"), {"1.000,00"}},
        {QStringLiteral("1000"), {"1.000,00"}},
        {QStringLiteral("5..100"), {"5,00", "10,00", "100,00"}},
        {QStringLiteral("..9,99"), {"1,00", "5,00"}},
        {QStringLiteral("100,00.."), {"100,00", "1.000,00"}},
    };
    calling_->list()->horizontalHeader()->sectionClicked(kAmount);
    for (const auto& [typed, found] : amounts) {
        calling_->amountEdit()->setText(typed);
        calling_->search();
        EXPECT_EQ(column(kAmount), found) << typed.toStdString();
    }
    for (const QString& wrong :
         {QStringLiteral("dieci"), QStringLiteral("1,2,3"), QStringLiteral("100..5"), QStringLiteral("1,001"),
          QStringLiteral(".."), QStringLiteral("1; DELETE")}) {
        calling_->amountEdit()->setText(wrong);
        EXPECT_EQ(calling_->search(), -1) << wrong.toStdString();
        EXPECT_TRUE(calling_->statusLabel()->text().contains(QStringLiteral("import")))
            << wrong.toStdString();
        EXPECT_EQ(calling_->bankCombo()->currentData().toInt(), bank_);
        EXPECT_EQ(calling_->amountEdit()->text(), wrong);
    }
    calling_->amountEdit()->clear();
    ASSERT_EQ(calling_->search(), 5);

    const QStringList key = calling_->list()->model()->index(2, 0).data(Qt::UserRole).toString().split(u',');
    const auto r = connection_->Query(
        QStringLiteral("SELECT EF01_NUMDOC, EF01_NUMEFF FROM EF01_SCADENZE WHERE EF01_NUMREG_CO99 = '%1' AND "
                       "EF01_PROGEFF = %2")
            .arg(key[1], key[4]));
    const QString document = Value::toText(Value::natural(r.front().rows.front().value(0)));
    const QString number = Value::toText(Value::natural(r.front().rows.front().value(1)));
    calling_->documentEdit()->setText(document);
    EXPECT_GE(calling_->search(), 1) << document.toStdString();
    EXPECT_FALSE(column(kDocument)
                     .filter(QRegularExpression(QStringLiteral("^") + document + QStringLiteral(" ")))
                     .isEmpty());
    calling_->billNumberEdit()->setText(number);
    EXPECT_GE(calling_->search(), 1);
    for (const QString& n : column(0)) EXPECT_EQ(n, number);
    calling_->documentEdit()->setText(QStringLiteral("12a"));
    EXPECT_EQ(calling_->search(), -1);
    EXPECT_TRUE(calling_->statusLabel()->text().contains(QStringLiteral("documento")));
}

// An ageing row takes the clerk to that customer's open Bills; F3 in the customer field opens
// the customer search list and writes the code chosen.
TEST_P(CallingList, AgeingRowShowsTheCustomersBillsAndF3FindsACustomer) {
    ASSERT_GT(calling_->search(), 5);
    QTableView* ageing = calling_->ageingView()->table();
    calling_->tabs()->setCurrentWidget(calling_->ageingView());
    ASSERT_TRUE(readsArrive());
    ageing->setCurrentIndex(ageing->model()->index(0, 1));
    QTest::keyClick(ageing, Qt::Key_Return);
    EXPECT_EQ(calling_->counterpartEdit()->text(), customer_);
    EXPECT_EQ(calling_->tabs()->currentWidget(), calling_->list());
    EXPECT_EQ(calling_->list()->model()->rowCount(), 5);
    EXPECT_EQ(column(kCode), QStringList(5, customer_));

    calling_->counterpartEdit()->clear();
    QString offered;
    onModal<LookupDialog>([&] { QTest::keyClick(calling_->counterpartEdit(), Qt::Key_F3); },
                          [&](LookupDialog& list) {
                              list.table()->selectRow(0);
                              offered = list.currentValue(list.columnName(0)).toString();
                              list.accept();
                          });
    EXPECT_FALSE(offered.isEmpty()) << "no search list";
    EXPECT_EQ(calling_->counterpartEdit()->text(), offered.trimmed());
    EXPECT_GE(calling_->search(), 0);
    EXPECT_EQ(calling_->filter().counterpart, offered.trimmed());
}

INSTANTIATE_ON_ENGINES(CallingList);

#include "AgeingView.h"
#include "CallingProgram.h"
#include "Cinterface.h"
#include "DatabaseHost.h"
#include "DemoGenerator.h"
#include "EditBox.h"
#include "HostMainWindow.h"
#include "PluginRegistry.h"
#include "ReportPrinter.h"
#include "SchemaInstaller.h"
#include "ScriptedLogService.h"
#include "SuiteError.h"
#include "TestDatabase.h"
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
#include <QStandardPaths>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest/QTest>

namespace {

// Columns of the list, as the clerk reads them.
constexpr int kOverdue = 2;
constexpr int kAmount = 3;
constexpr int kCode = 6;
constexpr int kName = 7;
constexpr int kBank = 10;

const QDate kToday(2026, 3, 15);

// Six Bills of one customer, the rest of the company's Bills closed: due today, yesterday, 30,
// 31 and 91 days ago, open; one due yesterday, closed; all Ri.Ba. presented to one bank.
class CallingList : public ::testing::TestWithParam<TestEngine> {
protected:
    void SetUp() override {
        REQUIRE_ENGINE(GetParam());
        db_ = std::make_unique<TestDatabase>(GetParam());
        connection_ = db_->connect(SchemaInstaller::catalogue());
        DemoGenerator::installOn(connection_, {.bills = 60});
        host_ = std::make_shared<DatabaseHost>(db_->connectionString(), DemoGenerator::kCompany,
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
                    "UPDATE EF01_SCADENZE SET EF01_SCADE_S = '%1', EF01_IMPEFF_S = %2, "
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
    QStringList column(int c) const {
        QStringList out;
        const QAbstractItemModel* m = calling_->list()->model();
        for (int r = 0; r < m->rowCount(); ++r) out << m->index(r, c).data().toString();
        return out;
    }

    std::unique_ptr<TestDatabase> db_;
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
    EXPECT_EQ(calling_->statusLabel()->text(), QStringLiteral("5 effetti, totale € 1.116,00"));

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
    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    // The PDF is read back by a reader that is not ours (poppler-utils, installed by scripts/common.sh).
    ASSERT_FALSE(pdftotext.isEmpty()) << "pdftotext is missing: install poppler-utils";
    QProcess reader;
    reader.start(pdftotext, {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    ASSERT_TRUE(reader.waitForFinished(20000));
    const QString text = QString::fromUtf8(reader.readAllStandardOutput());
    EXPECT_TRUE(text.contains(QStringLiteral("n. ") + number)) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("5,00"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("Movimenti storici")));
    // A folder that does not exist: a clear refusal, nothing left behind.
    EXPECT_THROW(
        ReportPrinter::toPdf(calling_->billPage().html, scratch_.filePath(QStringLiteral("no/x.pdf")), false),
        SuiteError);
    ASSERT_TRUE(readsArrive());
    EXPECT_TRUE(calling_->viewHtml().contains(QStringLiteral("5 effetti, totale € 1.116,00")));
}

INSTANTIATE_ON_ENGINES(CallingList);

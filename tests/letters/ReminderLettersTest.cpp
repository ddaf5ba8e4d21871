#include "Accounts.h"
#include "BillReport.h"
#include "CallingProgram.h"
#include "DatabaseHost.h"
#include "DemoGenerator.h"
#include "HeaderQuery.h"
#include "ItalianFormat.h"
#include "LetterRun.h"
#include "LettersDialog.h"
#include "LockWait.h"
#include "ReportPrinter.h"
#include "Schema.h"
#include "SchemaInstaller.h"
#include "SignIn.h"
#include "SqlDialect.h"
#include "SqlText.h"
#include "SuiteError.h"
#include "TestDatabase.h"
#include "TransactionScope.h"
#include "Value.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>

namespace {

const QDate kToday(2026, 3, 15);

// Runs a poppler tool (not our writer's code) on a PDF and answers what it printed.
QString poppler(const char* tool, const QString& pdf) {
    const QString program = QStandardPaths::findExecutable(QString::fromLatin1(tool));
    if (program.isEmpty())
        return QStringLiteral("%1 is missing: install poppler-utils").arg(QString::fromLatin1(tool));
    QProcess p;
    QStringList arguments{pdf};
    if (QByteArray(tool) == "pdftotext") arguments = {QStringLiteral("-layout"), pdf, QStringLiteral("-")};
    p.start(program, arguments);
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

// Simple interest in cents, worked out here apart from the program: amount × rate × days / 36500,
// half away from zero, with the rate in hundredths of a percent.
long long interestCents(long long cents, long long rateHundredths, long long days) {
    const long long numerator = cents * rateHundredths * days;
    const long long denominator = 36500LL * 100;
    return (numerator * 2 + denominator) / (denominator * 2);
}

// Two customers with overdue Bills, every other Bill of the company closed and no reminder left
// but one: customer A's first Bill was reminded once with the first letter.
class ReminderLetters : public ::testing::TestWithParam<TestEngine> {
protected:
    struct Bill {
        QString key;
        int customer;
        long long cents;
        int daysAgo;
    };

    void TearDown() override { LockWait::set(SqlDialect::kLockWaitMs); }

    void SetUp() override {
        REQUIRE_ENGINE(GetParam());
        // A held Bill is given up after 2 s, not a clerk's 10.
        LockWait::set(2000);
        db_ = std::make_unique<TestDatabase>(GetParam());
        connection_ = db_->connect(SchemaInstaller::catalogue());
        DemoGenerator::installOn(connection_, {.bills = 60});
        const DatabaseHost host(db_->connectionString(), DemoGenerator::kCompany, QStringLiteral("MROSSI"));
        query_.tipoArchivio = 0;
        query_.company = DemoGenerator::kCompany;
        query_.ledgerGroup = host.CompanyContext().parameters.ledgerGroup;
        query_.customerAccount = host.CompanyContext().parameters.customerAccount;
        query_.supplierAccount = host.CompanyContext().parameters.supplierAccount;
        const std::vector<ResultSet> found = connection_->Query(query_.text());
        ASSERT_FALSE(found.empty());
        const ResultSet& rows = found.front();
        ASSERT_GE(rows.rows.size(), 5U);
        auto column = [&rows](const char* name) {
            for (size_t c = 0; c < rows.columns.size(); ++c)
                if (rows.columns[c].name.compare(QLatin1String(name), Qt::CaseInsensitive) == 0)
                    return int(c);
            return -1;
        };
        customerA_ = Value::toInt(Value::natural(rows.rows[0].value(column("EF01_CLIFOR_CG44"))));
        for (const auto& r : rows.rows) {
            const int c = Value::toInt(Value::natural(r.value(column("EF01_CLIFOR_CG44"))));
            if (c != customerA_) customerB_ = c;
        }
        ASSERT_GT(customerB_, 0);
        connection_->Execute(QStringLiteral("UPDATE EF01_SCADENZE SET EF01_INDSTATO_S = 1"));
        connection_->Execute(QStringLiteral("DELETE FROM EF05_SCADSOLLEC"));
        // Due 60, 30 and 0 days ago (not yet overdue) for A; 90 and 1 for B.
        const QList<std::tuple<int, long long, int>> plan = {{customerA_, 100000, 60},
                                                             {customerA_, 33333, 30},
                                                             {customerA_, 7777, 0},
                                                             {customerB_, 1234567, 90},
                                                             {customerB_, 1, 1}};
        for (int i = 0; i < plan.size(); ++i) {
            const auto& [customer, cents, daysAgo] = plan.at(i);
            QStringList key;
            for (const char* k : {"EF01_DITTA_CG18", "EF01_NUMREG_CO99", "EF01_RIGACONT_CG42",
                                  "EF01_PROGEC_EC01", "EF01_PROGEFF"})
                key << Value::toText(Value::natural(rows.rows[size_t(i)].value(column(k)))).trimmed();
            bills_ << Bill{key.join(QLatin1Char(',')), customer, cents, daysAgo};
            connection_->Execute(
                QStringLiteral("UPDATE EF01_SCADENZE SET EF01_INDSTATO_S = 0, EF01_CLIFOR_CG44 = %1, "
                               "EF01_IMPEFF_S = %2, EF01_SCADE_S = '%3', EF01_SPESERIT_S = 0, "
                               "EF01_BANCAPRE_SCG12 = NULL, EF01_AGENPRE_SCG13 = NULL")
                    .arg(customer)
                    .arg(Decimal::fromMantissa(cents, 2).toString())
                    .arg(kToday.addDays(-daysAgo).toString(QStringLiteral("yyyyMMdd"))) +
                where(bills_.last().key, QStringLiteral("EF01_"), QStringLiteral("CG42"),
                      QStringLiteral("EC01"), QString()));
        }
        connection_->Execute(
            QStringLiteral(
                "INSERT INTO EF05_SCADSOLLEC (EF05_DITTA_CG18, EF05_NUMREG_CO99, EF05_RIGACONT_EF01, "
                "EF05_PROGEC_EF01, EF05_PROGEFF_EF01, EF05_PROGAVVISI, EF05_SIGLALETTERA) VALUES (%1, %2, 1, "
                "'SOL1')")
                .arg(bills_.at(0).key.section(u',', 0, 0), quotedKeyTail(bills_.at(0).key)));
        selection_ = query_.selectText();
        options_.date = kToday;
        options_.rate = Decimal::fromString(QStringLiteral("8.25"));
        options_.charges = Decimal::fromString(QStringLiteral("2.50"));
    }

    static QString quotedKeyTail(const QString& key) {
        const QStringList k = key.split(u',');
        return QStringLiteral("'%1', %2, %3, %4").arg(k.at(1), k.at(2), k.at(3), k.at(4));
    }
    static QString where(const QString& key, const QString& prefix, const QString& row, const QString& progec,
                         const QString& suffix) {
        const QStringList k = key.split(u',');
        return QStringLiteral(
                   " WHERE %1DITTA_CG18 = %2 AND %1NUMREG_CO99 = '%3' AND %1RIGACONT_%4 = %5 AND "
                   "%1PROGEC_%6 = %7 AND %1PROGEFF%8 = %9")
            .arg(prefix, k.at(0), k.at(1), row, k.at(2), progec, k.at(3), suffix, k.at(4));
    }
    int reminders(const QString& condition = QString()) {
        const std::vector<ResultSet> r =
            connection_->Query(QStringLiteral("SELECT COUNT(*) FROM EF05_SCADSOLLEC") + condition);
        return Value::toInt(Value::natural(r.front().rows.front().value(0)));
    }
    QVariant reminderValue(const Bill& bill, int progressive, const QString& column) {
        const std::vector<ResultSet> r =
            connection_->Query(QStringLiteral("SELECT %1 FROM EF05_SCADSOLLEC").arg(column) +
                               where(bill.key, QStringLiteral("EF05_"), QStringLiteral("EF01"),
                                     QStringLiteral("EF01"), QStringLiteral("_EF01")) +
                               QStringLiteral(" AND EF05_PROGAVVISI = %1").arg(progressive));
        return r.front().rows.empty() ? QVariant() : Value::natural(r.front().rows.front().value(0));
    }
    LetterRun run() const { return LetterRun(connection_, DemoGenerator::kCompany); }
    QList<ReminderLetter> letters() const { return run().builder().forSelection(selection_, options_); }

    std::unique_ptr<TestDatabase> db_;
    std::shared_ptr<Connection> connection_;
    HeaderQuery query_;
    QString selection_;
    LetterOptions options_;
    int customerA_ = 0;
    int customerB_ = 0;
    QList<Bill> bills_;
    QTemporaryDir scratch_;
};

INSTANTIATE_ON_ENGINES(ReminderLetters);

}  // namespace

// One PDF per customer: the overdue open Bills only, interest and charges to the cent as a reader
// of the file finds them; each Bill gets its reminder at the next level, and the next run climbs
// again. The letter of a recorded reminder, from the Bill's reminders tab, says the same.
TEST_P(ReminderLetters, OneLetterPerCustomerRightToTheCentRecordsTheNextLevel) {
    const QStringList files =
        run().writeFiles(letters(), LettersDialog::Output::FilePerCustomer, scratch_.path());
    ASSERT_EQ(files.size(), 2);
    long long totalA = 0;
    long long totalB = 0;
    for (const Bill& b : bills_) {
        if (b.daysAgo == 0) continue;
        const long long line = b.cents + interestCents(b.cents, 825, b.daysAgo) + 250;
        (b.customer == customerA_ ? totalA : totalB) += line;
    }
    const QString letterA = poppler("pdftotext", files.at(0));
    const QString letterB = poppler("pdftotext", files.at(1));
    const QString amountA = ItalianFormat::amount(Decimal::fromMantissa(totalA, 2));
    const QString amountB = ItalianFormat::amount(Decimal::fromMantissa(totalB, 2));
    EXPECT_TRUE(letterA.contains(
        QRegularExpression(QStringLiteral("Totale dovuto\\s+") + QRegularExpression::escape(amountA))))
        << letterA.toStdString();
    EXPECT_TRUE(letterB.contains(
        QRegularExpression(QStringLiteral("Totale dovuto\\s+") + QRegularExpression::escape(amountB))))
        << letterB.toStdString();
    // A's first Bill was reminded once: its letter is the second; B's the first.
    EXPECT_TRUE(letterA.contains(QStringLiteral("Secondo sollecito di pagamento")));
    EXPECT_TRUE(letterB.contains(QStringLiteral("Primo sollecito di pagamento")));
    EXPECT_TRUE(letterB.contains(QStringLiteral("251,14")));  // 12.345,67 × 8,25% × 90 days
    EXPECT_TRUE(letterB.contains(QRegularExpression(QStringLiteral("dal.15/12/2025"))));
    EXPECT_TRUE(letterB.contains(QRegularExpression(QStringLiteral("al.15/03/2026"))));
    EXPECT_FALSE(letterA.contains(QStringLiteral("77,77")));  // due today: not overdue
    EXPECT_TRUE(
        letterA.contains(QRegularExpression(QStringLiteral("effetto \\d+"))));  // "ff", not a ligature

    EXPECT_EQ(reminders(), 1 + 4);
    EXPECT_EQ(Value::toText(reminderValue(bills_.at(0), 2, QStringLiteral("EF05_SIGLALETTERA"))).trimmed(),
              QStringLiteral("SOL2"));
    EXPECT_EQ(Value::toText(reminderValue(bills_.at(3), 1, QStringLiteral("EF05_SIGLALETTERA"))).trimmed(),
              QStringLiteral("SOL1"));
    EXPECT_EQ(Value::toDecimal(reminderValue(bills_.at(3), 1, QStringLiteral("EF05_IMPINTERES"))),
              Decimal::fromMantissa(25114, 2));
    EXPECT_EQ(Value::toDate(reminderValue(bills_.at(3), 1, QStringLiteral("EF05_DATAAVVISO"))), kToday);
    EXPECT_TRUE(Value::isNull(reminderValue(bills_.at(2), 1, QStringLiteral("EF05_PROGAVVISI"))));

    const ReminderLetter again = run().builder().forReminder(bills_.at(3).key, 1);
    ASSERT_EQ(again.lines.size(), 1);
    EXPECT_EQ(again.lines.first().interest, Decimal::fromMantissa(25114, 2));
    EXPECT_EQ(again.total(), Decimal::fromMantissa(1234567 + 25114 + 250, 2));

    options_.date = kToday.addDays(20);
    const QList<ReminderLetter> next = letters();
    ASSERT_EQ(next.size(), 2);
    EXPECT_EQ(next.at(0).letterCode, QStringLiteral("DIF"));
    EXPECT_EQ(next.at(1).letterCode, QStringLiteral("SOL2"));
    EXPECT_EQ(next.at(1).lines.first().level, 2);
}

// A Bill presented to the bank waits for the bank's outcome, not for a letter; back unpaid (the
// outcome takes its presentation bank away) it is reminded with the rest.
TEST_P(ReminderLetters, ABillAtTheBankWaitsForItsOutcomeAndIsRemindedBackUnpaid) {
    const QString atBank = where(bills_.at(3).key, QStringLiteral("EF01_"), QStringLiteral("CG42"),
                                 QStringLiteral("EC01"), QString());
    auto linesForB = [this] {
        for (const ReminderLetter& letter : letters())
            if (letter.customerCode.toInt() == customerB_) return letter.lines.size();
        return qsizetype(0);
    };
    connection_->Execute(QStringLiteral("UPDATE EF01_SCADENZE SET EF01_BANCAPRE_SCG12 = 5387, "
                                        "EF01_AGENPRE_SCG13 = 4602, EF01_INDPRES_S = 2") +
                         atBank);
    EXPECT_EQ(linesForB(), 1) << "only B's Bill that is not at the bank";
    connection_->Execute(
        QStringLiteral("UPDATE EF01_SCADENZE SET EF01_BANCAPRE_SCG12 = NULL, EF01_AGENPRE_SCG13 = NULL") +
        atBank);
    EXPECT_EQ(linesForB(), 2);
}

// A colleague holding one of the Bills makes the run wait and give up; a Bill closed after the
// letters were built refuses it: either way no reminder is recorded and no file stays, and the
// clerk is told in Italian. Once the colleague is done, the same run goes through.
TEST_P(ReminderLetters, AHeldOrClosedBillLeavesNothingHalfWritten) {
    const QList<ReminderLetter> built = letters();
    {
        auto colleague = db_->connect(SchemaInstaller::catalogue());
        TransactionScope holding(*colleague);
        colleague->Execute(QStringLiteral("UPDATE EF01_SCADENZE SET EF01_PROGEFF = EF01_PROGEFF") +
                           where(bills_.at(4).key, QStringLiteral("EF01_"), QStringLiteral("CG42"),
                                 QStringLiteral("EC01"), QString()));
        try {
            run().writeFiles(built, LettersDialog::Output::OneFile,
                             scratch_.filePath(QStringLiteral("tutte.pdf")));
            ADD_FAILURE() << "a held Bill did not stop the run";
        } catch (const SuiteError& e) {
            EXPECT_EQ(e.number(), SuiteError::kTimeout);
            EXPECT_TRUE(
                LetterRun::failureText(e).startsWith(QStringLiteral("Nessuna lettera è stata scritta")));
        }
        holding.rollback();
    }
    EXPECT_EQ(reminders(), 1);
    EXPECT_TRUE(QDir(scratch_.path()).entryList(QDir::Files).isEmpty());

    connection_->Execute(QStringLiteral("UPDATE EF01_SCADENZE SET EF01_INDSTATO_S = 1") +
                         where(bills_.at(1).key, QStringLiteral("EF01_"), QStringLiteral("CG42"),
                               QStringLiteral("EC01"), QString()));
    try {
        run().writeFiles(built, LettersDialog::Output::OneFile,
                         scratch_.filePath(QStringLiteral("tutte.pdf")));
        ADD_FAILURE() << "a closed Bill was reminded";
    } catch (const SuiteError& e) {
        EXPECT_TRUE(LetterRun::failureText(e).contains(QStringLiteral("chiuso")))
            << e.description().toStdString();
    }
    EXPECT_EQ(reminders(), 1);
    EXPECT_TRUE(QDir(scratch_.path()).entryList(QDir::Files).isEmpty());

    const QString all = scratch_.filePath(QStringLiteral("tutte.pdf"));
    run().writeFiles(letters(), LettersDialog::Output::OneFile, all);
    EXPECT_EQ(reminders(), 1 + 3);
    const QString info = poppler("pdfinfo", all);
    EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+2")))) << info.toStdString();
}

// A clerk whose group may only look at Bills: the database refuses the reminders, and the run
// writes neither reminders nor files. (On the server the same refusal comes from the grants.)
TEST_P(ReminderLetters, AClerkWhoMayOnlyLookIsRefusedAndNothingIsWritten) {
    if (GetParam() != TestEngine::Sqlite) GTEST_SKIP() << "the group's login roles are the server's";
    connection_->Execute(QStringLiteral(
        "INSERT INTO KV03_GRUPPI (KV03_GRUPPO, KV03_DESCR) VALUES ('VISIONE', 'Sola visione')"));
    connection_->Execute(
        QStringLiteral("INSERT INTO KV11_DIRITTI (KV11_GRUPPO_KV03, KV11_PROGRAMMA, KV11_FLGINS, "
                       "KV11_FLGMOD, KV11_FLGCANC, KV11_FLGCONS) VALUES ('VISIONE', %1, 0, 0, 0, 1)")
            .arg(SqlText::quote(Schema::billProgram())));
    const QString password = QStringLiteral("Visione.2024");
    Account looker;
    looker.code = QStringLiteral("VBIANCHI");
    looker.name = QStringLiteral("Vera Bianchi");
    looker.group = QStringLiteral("VISIONE");
    Accounts(*connection_, QStringLiteral("ADMIN")).add(looker, password);
    const UserSession session = SignIn(Schema::billProgram(), Schema::accessClass, Schema::catalogue())
                                    .signIn(db_->connectionString(), QStringLiteral("VBIANCHI"), password);
    const std::shared_ptr<Connection> clerk = session.connections().open();
    try {
        LetterRun(clerk, DemoGenerator::kCompany)
            .writeFiles(letters(), LettersDialog::Output::FilePerCustomer, scratch_.path());
        ADD_FAILURE() << "a clerk who may only look recorded reminders";
    } catch (const SuiteError& e) {
        EXPECT_EQ(e.number(), SuiteError::kNotPermitted);
        EXPECT_TRUE(LetterRun::failureText(e).contains(QStringLiteral("non ha il diritto")));
    }
    EXPECT_EQ(reminders(), 1);
    EXPECT_TRUE(QDir(scratch_.path()).entryList(QDir::Files).isEmpty());
}

// The Bill's print: the company as heading and as the PDF's author, its title, the days overdue,
// the reminders' interest period and the total due, in words a reader extracts as typed.
TEST_P(ReminderLetters, TheBillsPrintCarriesItsTitleAuthorAndTotalDue) {
    run().writeFiles(letters(), LettersDialog::Output::FilePerCustomer, scratch_.path());
    const BillReport::Page page =
        BillReport(connection_, 0, query_.ledgerGroup).page(bills_.at(3).key, kToday);
    const QString pdf = scratch_.filePath(QStringLiteral("effetto.pdf"));
    ReportPrinter::toPdf(page.html, pdf, false, {page.title, page.author});
    const QString info = poppler("pdfinfo", pdf);
    EXPECT_TRUE(info.contains(
        QRegularExpression(QStringLiteral("Title:\\s+") + QRegularExpression::escape(page.title))))
        << info.toStdString();
    EXPECT_FALSE(page.author.isEmpty());
    EXPECT_TRUE(info.contains(
        QRegularExpression(QStringLiteral("Author:\\s+") + QRegularExpression::escape(page.author))))
        << info.toStdString();
    const QString text = poppler("pdftotext", pdf);
    EXPECT_TRUE(text.contains(QStringLiteral("Effetto n. "))) << text.toStdString();
    EXPECT_TRUE(text.contains(QRegularExpression(QStringLiteral("Giorni di ritardo\\s+90"))));
    EXPECT_TRUE(text.contains(QStringLiteral("Stampato il 15/03/2026")));
    EXPECT_TRUE(text.contains(QStringLiteral("15/12/2025 - 15/03/2026")));
    EXPECT_TRUE(text.contains(QStringLiteral("Totale dovuto € 12.599,31"))) << text.toStdString();
}

// From the list: the clerk presses "Lettere di sollecito", fills the dialog and confirms what is
// about to be sent (a script answers for the person); a PDF per customer is written and every
// overdue Bill of the selection carries its reminder.
TEST_P(ReminderLetters, TheListsButtonWritesALetterPerCustomer) {
    auto host = std::make_shared<DatabaseHost>(db_->connectionString(), DemoGenerator::kCompany,
                                               QStringLiteral("MROSSI"));
    CallingProgram calling(host, connection_);
    calling.show();
    calling.setToday(kToday);
    ASSERT_GT(calling.search(), 0);
    QStringList told;
    QTimer person;
    person.setInterval(50);
    QObject::connect(&person, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* dialog = qobject_cast<LettersDialog*>(modal)) {
            dialog->rateEdit()->setText(QStringLiteral("8,25"));
            dialog->chargesEdit()->setText(QStringLiteral("2,50"));
            dialog->targetEdit()->setText(scratch_.path());
            dialog->accept();
        } else if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            told << box->text();
            QAbstractButton* yes = box->button(QMessageBox::Yes);
            (yes ? yes : box->button(QMessageBox::Ok))->click();
        }
    });
    person.start();
    calling.lettersButton()->click();
    person.stop();
    ASSERT_EQ(told.size(), 2) << told.join(u'|').toStdString();
    EXPECT_TRUE(told.at(0).startsWith(QStringLiteral("2 lettere a 2 clienti per 4 effetti scaduti")))
        << told.at(0).toStdString();
    EXPECT_TRUE(told.at(1).contains(QStringLiteral("Scritti 2 file PDF"))) << told.at(1).toStdString();
    EXPECT_EQ(QDir(scratch_.path()).entryList(QDir::Files).size(), 2);
    EXPECT_EQ(reminders(), 1 + 4);
}

// What the clerk types into the letters' dialog is checked before anything is read or written.
TEST(LettersDialogInput, WrongInputIsNamedAndKept) {
    LettersDialog dialog(kToday);
    QTemporaryDir folder;
    dialog.targetEdit()->setText(folder.path());
    const struct {
        QLineEdit* edit;
        const char* typed;
        const char* told;
    } wrong[] = {{dialog.dateEdit(), "31/02/2026", "non è una data"},
                 {dialog.rateEdit(), "otto", "non è un numero"},
                 {dialog.rateEdit(), "8,1234567", "decimali"},
                 {dialog.rateEdit(), "150", "troppo grande"},
                 {dialog.chargesEdit(), "-1", "negativo"},
                 {dialog.chargesEdit(), "2'; DROP --", "non è un numero"}};
    for (const auto& w : wrong) {
        const QString before = w.edit->text();
        w.edit->setText(QString::fromUtf8(w.typed));
        EXPECT_FALSE(dialog.read()) << w.typed;
        EXPECT_TRUE(dialog.problemLabel()->text().contains(QString::fromUtf8(w.told)))
            << dialog.problemLabel()->text().toStdString();
        EXPECT_EQ(w.edit->text(), QString::fromUtf8(w.typed));
        w.edit->setText(before);
    }
    dialog.rateEdit()->setText(QStringLiteral("8,25"));
    dialog.chargesEdit()->setText(QStringLiteral("1.250,50"));
    ASSERT_TRUE(dialog.read()) << dialog.problemLabel()->text().toStdString();
    EXPECT_EQ(*dialog.options().rate, Decimal::fromString(QStringLiteral("8.25")));
    EXPECT_EQ(dialog.options().charges, Decimal::fromString(QStringLiteral("1250.50")));
    dialog.targetEdit()->setText(folder.filePath(QStringLiteral("manca")));
    EXPECT_FALSE(dialog.read());
}

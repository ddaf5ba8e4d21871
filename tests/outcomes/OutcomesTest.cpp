// The bank's outcomes on a presented slip, on both engines: paid at maturity, unpaid with its
// charges and reminder, the undo of the last movement through the bill form, the refusals that
// write nothing, a fault in the middle of a batch and two clerks on the same slip.
#include "BillFormFixture.h"
#include "BillKey.h"
#include "GridNavigator.h"
#include "ItalianFormat.h"
#include "LetterBuilder.h"
#include "OutcomeRegistrar.h"
#include "Refusal.h"
#include "SlipBook.h"
#include "SlipCommand.h"
#include "SlipFiles.h"
#include "SlipFixture.h"
#include "SlipKinds.h"
#include "SqlText.h"
#include "SuiteError.h"
#include "TabControl.h"
#include "WriteConflict.h"

namespace {

const QDate kToday = QDate::currentDate();

}  // namespace

class OutcomesTest : public BillFormTest {
protected:
    void SetUp() override {
        BillFormTest::SetUp();
        if (IsSkipped()) return;
        c_ = demo_->connection;
        bills_ = openBills(c_, 4, kToday.addDays(-10));
        ASSERT_EQ(bills_.size(), 4);
        slip_ = presentSlip(c_, SlipKinds::kSdd, kToday.addDays(-20), bills_);
    }
    QVariant billColumn(const QString& key, const char* column) {
        Recordset rs;
        rs.Open(QStringLiteral("SELECT %1 FROM EF01_SCADENZE").arg(QLatin1String(column)) +
                    BillKey::parse(key, QStringLiteral("test")).where(QStringLiteral("EF01")),
                c_);
        return rs.Fields(0).Value();
    }
    int movements() { return demo_->count(QStringLiteral("SELECT COUNT(*) FROM EF06_SCADSTO")); }
    QList<BillOutcome> outcomes() {
        QList<BillOutcome> out;
        for (const QString& key : bills_)
            for (const PresentedBill& b : SlipBook(c_).bills(slip_))
                if (b.key == key) out << b.outcome;
        return out;
    }
    UnpaidRequest unpaid(int bill) const {
        UnpaidRequest r;
        r.slip = slip_;
        r.bill = bills_.at(bill);
        r.date = kToday.addDays(-2);
        r.bankCharges = Decimal::fromString(QStringLiteral("4.50"));
        r.chargesMode = 1;
        r.customerCharges = Decimal::fromString(QStringLiteral("4.50"));
        r.reminder = true;
        return r;
    }
    // The bill form's undo of the Bill's last history movement, as a privileged clerk.
    void undoLast(const QString& key) {
        module_ = std::make_unique<CLSKV_TARSELLO>([] { return std::make_unique<FRMKV_TARSELLO>(); });
        module_->setClsGlobal(host_);
        module_->TipoArchivio = 0;
        module_->ChiaveEffettoInGestione = key;
        host_->setPrivileged(true);
        FRMKV_TARSELLO* f = show();
        ASSERT_TRUE(f);
        f->TAB_SCADENZE->setTab(FRMKV_TARSELLO::TabStorico);
        QApplication::processEvents();
        f->clsRstStorico->MoveLast();
        log_->enqueue(6);
        f->GNV_STORICO->press(QStringLiteral("Elimina"));
        module_->CloseForm();
    }

    std::shared_ptr<Connection> c_;
    QStringList bills_;
    SlipKey slip_;
};

TEST_P(OutcomesTest, ASlipHalfPaidHalfUnpaidAndTheUndoOfEachOutcome) {
    SlipBook book(c_);
    book.credit(slip_, kToday.addDays(-15));
    EXPECT_EQ(book.slip(slip_).state, SlipState::Credited);
    EXPECT_EQ(
        OutcomeRegistrar(c_, SlipBook::seen(book.bills(slip_))).pay(slip_, {bills_[0], bills_[1]}, kToday),
        2);
    const QVariant chargesBefore = billColumn(bills_[2], "EF01_SPESERITBAN_S");
    OutcomeRegistrar(c_).unpaid({unpaid(2)});
    EXPECT_EQ(outcomes(), (QList<BillOutcome>{BillOutcome::Paid, BillOutcome::Paid, BillOutcome::Unpaid,
                                              BillOutcome::Presented}));
    SlipRow row = book.slip(slip_);
    EXPECT_EQ(row.unpaid, 1);
    EXPECT_EQ(row.state, SlipState::Credited) << "one Bill is still presented";

    EXPECT_EQ(Value::toInt(billColumn(bills_[0], "EF01_INDSTATO_S")), 1);
    EXPECT_EQ(Value::toInt(billColumn(bills_[0], "EF01_INDGENSTATO_S")), 1);
    EXPECT_EQ(Value::toInt(billColumn(bills_[2], "EF01_INDSTATO_S")), 0);
    EXPECT_EQ(Value::toInt(billColumn(bills_[2], "EF01_INDGENSTATO_S")), 3);
    EXPECT_EQ(Value::toDecimal(billColumn(bills_[2], "EF01_SPESERITBAN_S")).toString(),
              QStringLiteral("4.50"));
    EXPECT_EQ(Value::toDecimal(billColumn(bills_[2], "EF01_SPESERIT_S")).toString(), QStringLiteral("4.50"));
    EXPECT_TRUE(Value::isNull(billColumn(bills_[2], "EF01_BANCAPRE_SCG12"))) << "ready for a new slip";

    // The reminder letter takes the unpaid Bill, at the level after the one recorded, asking for
    // the charges put on the customer.
    const BillKey third = BillKey::parse(bills_[2], QStringLiteral("test"));
    EXPECT_EQ(demo_->count(QStringLiteral("SELECT COUNT(*) FROM EF05_SCADSOLLEC") +
                           third.where(QStringLiteral("EF05")) + QStringLiteral(" AND EF05_SPESERIT = 4.5")),
              1);
    QString charges;
    for (const ReminderLetter& letter : LetterBuilder(c_, 1).forSelection(
             QStringLiteral("SELECT * FROM EF01_SCADENZE WHERE EF01_DITTA_CG18 = 1"),
             {.date = kToday, .rate = std::nullopt, .charges = Decimal::fromMantissa(100, 2)}))
        for (const LetterLine& line : letter.lines)
            if (line.key == bills_[2])
                charges = line.charges.toString() + QLatin1Char('/') + line.returnCharges.toString();
    EXPECT_EQ(charges, QStringLiteral("5.50/4.50"));

    // The rest paid: the slip closes.
    OutcomeRegistrar(c_).pay(slip_, {}, kToday);
    EXPECT_EQ(book.slip(slip_).state, SlipState::Closed);

    // A collected Bill comes back: open again; the undo of its " Insoluto" makes it paid again.
    OutcomeRegistrar(c_).unpaid({unpaid(3)});
    EXPECT_EQ(Value::toInt(billColumn(bills_[3], "EF01_INDSTATO_S")), 0);
    EXPECT_EQ(book.slip(slip_).unpaid, 2);
    undoLast(bills_[3]);
    EXPECT_EQ(Value::toInt(billColumn(bills_[3], "EF01_INDSTATO_S")), 1);

    // The undo of the last movement brings each Bill back as it was presented.
    undoLast(bills_[2]);
    EXPECT_EQ(Value::toInt(billColumn(bills_[2], "EF01_INDGENSTATO_S")), 0);
    EXPECT_EQ(Value::toInt(billColumn(bills_[2], "EF01_BANCAPRE_SCG12")), 3069);
    EXPECT_TRUE(Value::same(billColumn(bills_[2], "EF01_SPESERITBAN_S"), chargesBefore));
    undoLast(bills_[0]);
    EXPECT_EQ(Value::toInt(billColumn(bills_[0], "EF01_INDSTATO_S")), 0);
    EXPECT_EQ(outcomes(), (QList<BillOutcome>{BillOutcome::Presented, BillOutcome::Paid,
                                              BillOutcome::Presented, BillOutcome::Paid}));
    EXPECT_EQ(book.slip(slip_).unpaid, 0);
    EXPECT_EQ(book.slip(slip_).state, SlipState::Credited) << "two Bills wait again";
    // Both can be given their outcome again.
    OutcomeRegistrar(c_).pay(slip_, {}, kToday);
    EXPECT_EQ(book.slip(slip_).state, SlipState::Closed);
}

// The slip written by the calling list's "Presenta alla banca" is the one the outcomes read:
// the same Bills, count and total, and it can be paid whole.
TEST_P(OutcomesTest, ASlipPresentedFromTheListIsReadAndPaidWhole) {
    const SlipCommand::Written written = SlipCommand(c_, 1).present(
        QStringLiteral("riba"), QStringLiteral("-"), kToday.toString(QStringLiteral("dd/MM/yyyy")),
        QStringLiteral("1"), kToday);
    ASSERT_GT(written.count, 0);
    const SlipBook book(c_);
    const SlipRow row = book.slip(written.key);
    EXPECT_EQ(row.count, written.count);
    EXPECT_EQ(row.total.toString(), written.total.toString());
    EXPECT_EQ(book.bills(written.key).size(), written.count);
    EXPECT_EQ(OutcomeRegistrar(c_).pay(written.key, {}, kToday), written.count);
    EXPECT_EQ(book.slip(written.key).state, SlipState::Closed);
}

// Bills back unpaid lose their presentation bank, not their place in the slip: the slip keeps its
// bank and its file is made again as it went out. A withdrawn slip's number goes to the next slip,
// which starts without the withdrawn one's SEPA file.
TEST_P(OutcomesTest, ASlipKeepsItsBankAndFileWhenItsBillsComeBack) {
    const SlipCommand command(c_, 1, SlipFiles::check);
    const auto present = [&] {
        return command.present(QStringLiteral("rid"), QStringLiteral("01/01/2024"),
                               QStringLiteral("31/12/2024"), QStringLiteral("2"), kToday);
    };
    const SlipCommand::Written written = present();
    ASSERT_GT(written.count, 0);
    const SlipBook book(c_);
    const QString bank = book.slip(written.key).bank;
    const QDateTime now(kToday, QTime(9, 0));
    SlipFiles::Written before;
    const QByteArray file = SlipFiles::content(*c_, written.key, now, &before);
    for (const PresentedBill& bill : book.bills(written.key)) {
        UnpaidRequest back;
        back.slip = written.key;
        back.bill = bill.key;
        back.date = kToday;
        OutcomeRegistrar(c_).unpaid({back});
    }
    EXPECT_EQ(book.slip(written.key).bank, bank);
    SlipFiles::Written after;
    EXPECT_EQ(SlipFiles::content(*c_, written.key, now, &after), file);
    EXPECT_EQ(after.bills, written.count);

    const SlipCommand::Written again = present();
    ASSERT_EQ(again.count, written.count) << "the Bills back unpaid go on a new slip";
    book.recordSepaFile(again.key, QStringLiteral("MSG-RITIRATA"), QStringLiteral("IT16ZZZ03927460161"));
    command.withdraw(
        QStringLiteral("%1/%2/%3").arg(again.key.kind).arg(again.key.year).arg(again.key.number));
    const SlipCommand::Written third = present();
    ASSERT_EQ(third.key.number, again.key.number);
    EXPECT_TRUE(book.slip(third.key).sepaMessageId.isEmpty());
}

TEST_P(OutcomesTest, RefusalsNameTheBillAndWriteNothing) {
    const int before = movements();
    const QStringList other = openBills(c_, 1, kToday.addDays(-10), 0);
    ASSERT_EQ(other.size(), 1);
    EXPECT_TRUE(refusal([&] {
                    OutcomeRegistrar(c_).pay(slip_, {bills_[0], other[0]}, kToday);
                }).contains(QStringLiteral("non è stato presentato nella distinta Rid")));
    c_->Execute(QStringLiteral("UPDATE EF01_SCADENZE SET EF01_SCADE_S = '%1'")
                    .arg(kToday.addDays(5).toString(QStringLiteral("yyyyMMdd"))) +
                BillKey::parse(bills_[1], QStringLiteral("test")).where(QStringLiteral("EF01")));
    const QString early = refusal([&] { OutcomeRegistrar(c_).pay(slip_, {}, kToday); });
    EXPECT_TRUE(early.contains(QStringLiteral("non può essere incassato il ") + ItalianFormat::date(kToday)))
        << early.toStdString();
    EXPECT_TRUE(early.startsWith(QStringLiteral("L'effetto n. "))) << early.toStdString();

    OutcomeRegistrar(c_).pay(slip_, {bills_[0]}, kToday);
    const int paid = movements();
    // Closed by a colleague in the bill form: no longer the bank's.
    c_->Execute(QStringLiteral("UPDATE EF01_SCADENZE SET EF01_INDSTATO_S = 1, EF01_INDGENSTATO_S = 2") +
                BillKey::parse(bills_[1], QStringLiteral("test")).where(QStringLiteral("EF01")));
    EXPECT_TRUE(refusal([&] {
                    OutcomeRegistrar(c_).unpaid({unpaid(1)});
                }).contains(QStringLiteral("è chiuso: l'insoluto si registra solo su un effetto aperto")));
    EXPECT_TRUE(refusal([&] {
                    OutcomeRegistrar(c_).pay(slip_, {bills_[0]}, kToday);
                }).contains(QStringLiteral("è già stato incassato")));

    // What the clerk types is checked before anything is read.
    UnpaidRequest wrong = unpaid(2);
    wrong.bankCharges = Decimal::fromString(QStringLiteral("-1"));
    EXPECT_TRUE(refusal([&] { OutcomeRegistrar::validate(wrong); }).contains(QStringLiteral("negativo")));
    wrong = unpaid(2);
    wrong.chargesMode = 0;
    EXPECT_TRUE(
        refusal([&] { OutcomeRegistrar::validate(wrong); }).contains(QStringLiteral("Nessun addebito")));
    wrong = unpaid(2);
    wrong.date = QDate();
    EXPECT_FALSE(refusal([&] { OutcomeRegistrar(c_).unpaid({unpaid(3), wrong}); }).isEmpty());
    EXPECT_EQ(movements(), paid);
    EXPECT_EQ(paid, before + 1);
}

TEST_P(OutcomesTest, AFaultInTheMiddleOfABatchLeavesNothing) {
    const BillKey second = BillKey::parse(bills_[1], QStringLiteral("test"));
    const QString condition = QStringLiteral("NEW.EF06_NUMREG_CO99 = %1 AND NEW.EF06_PROGEFF_EF01 = %2")
                                  .arg(SqlText::quote(second.registration))
                                  .arg(second.progressive);
    if (GetParam() == TestEngine::Sqlite) {
        runSql(c_, QStringLiteral("CREATE TRIGGER KV_GUASTO BEFORE INSERT ON EF06_SCADSTO WHEN %1 BEGIN "
                                  "SELECT RAISE(ABORT, 'guasto simulato'); END")
                       .arg(condition));
    } else {
        runSql(c_, QStringLiteral(
                       "CREATE OR REPLACE FUNCTION KV_GUASTO() RETURNS trigger AS $$ BEGIN IF %1 THEN "
                       "RAISE EXCEPTION 'guasto simulato'; END IF; RETURN NEW; END $$ LANGUAGE plpgsql")
                       .arg(condition.toLower()));
        runSql(c_,
               QStringLiteral("CREATE TRIGGER KV_GUASTO BEFORE INSERT ON EF06_SCADSTO FOR EACH ROW EXECUTE "
                              "FUNCTION KV_GUASTO()"));
    }
    const int before = movements();
    EXPECT_FALSE(refusal([&] { OutcomeRegistrar(c_).pay(slip_, {}, kToday); }).isEmpty());
    EXPECT_EQ(movements(), before);
    EXPECT_EQ(Value::toInt(billColumn(bills_[0], "EF01_INDSTATO_S")), 0) << "the first Bill's closing undone";
    EXPECT_EQ(demo_->count(QStringLiteral("SELECT COUNT(*) FROM KV22_STATIDIST")), 0);
    mendWrites(c_, GetParam(), QStringLiteral("EF06_SCADSTO"));
    EXPECT_EQ(OutcomeRegistrar(c_).pay(slip_, {}, kToday), 4) << "the same batch goes through once mended";
}

TEST_P(OutcomesTest, TwoClerksOnTheSameSlipOneWinsTheOtherIsTold) {
    auto second = demo_->db.connect(SchemaInstaller::catalogue());
    const QHash<QString, int> seenByFirst = SlipBook::seen(SlipBook(c_).bills(slip_));
    const QHash<QString, int> seenBySecond = SlipBook::seen(SlipBook(second).bills(slip_));
    OutcomeRegistrar(c_, seenByFirst).pay(slip_, {bills_[0], bills_[1]}, kToday);
    const int before = movements();
    UnpaidRequest late = unpaid(1);
    const QString told = refusal([&] { OutcomeRegistrar(second, seenBySecond).unpaid({unpaid(3), late}); });
    EXPECT_TRUE(told.contains(WriteConflict::kMessage)) << told.toStdString();
    EXPECT_TRUE(told.startsWith(QStringLiteral("L'effetto n. ")));
    EXPECT_EQ(movements(), before) << "the second clerk's other Bill is not written either";
    OutcomeRegistrar(second, seenBySecond).unpaid({unpaid(3)});
    EXPECT_EQ(SlipBook(c_).slip(slip_).unpaid, 1);
}

INSTANTIATE_ON_ENGINES(OutcomesTest);

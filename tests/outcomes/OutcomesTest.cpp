// The bank's outcomes on a presented slip, on both engines: paid at maturity, unpaid with its
// charges and reminder, the undo of the last movement through the bill form, the refusals that
// write nothing, a fault in the middle of a batch and two clerks on the same slip.
#include "ItalianFormat.h"
#include "LetterBuilder.h"
#include "PresentedSlip.h"
#include "Refusal.h"
#include "SlipCommand.h"
#include "SlipFiles.h"
#include "SlipWithdrawal.h"
#include "SuiteError.h"
#include "WriteConflict.h"

TEST_P(OutcomesTest, ASlipHalfPaidHalfUnpaidAndTheUndoOfEachOutcome) {
    SlipBook book(c_);
    book.credit(slip_, kOutcomeDay.addDays(-15));
    EXPECT_EQ(book.slip(slip_).state, SlipState::Credited);
    EXPECT_EQ(OutcomeRegistrar(c_, SlipBook::seen(book.bills(slip_)))
                  .pay(slip_, {bills_[0], bills_[1]}, kOutcomeDay),
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
             {.date = kOutcomeDay, .rate = std::nullopt, .charges = Decimal::fromMantissa(100, 2)}))
        for (const LetterLine& line : letter.lines)
            if (line.key == bills_[2])
                charges = line.charges.toString() + QLatin1Char('/') + line.returnCharges.toString();
    EXPECT_EQ(charges, QStringLiteral("5.50/4.50"));

    // The rest paid: the slip closes.
    OutcomeRegistrar(c_).pay(slip_, {}, kOutcomeDay);
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
    EXPECT_EQ(Value::toInt(billColumn(bills_[2], "EF01_BANCAPRE_SCG12")), bank().abi);
    EXPECT_TRUE(Value::same(billColumn(bills_[2], "EF01_SPESERITBAN_S"), chargesBefore));
    undoLast(bills_[0]);
    EXPECT_EQ(Value::toInt(billColumn(bills_[0], "EF01_INDSTATO_S")), 0);
    EXPECT_EQ(outcomes(), (QList<BillOutcome>{BillOutcome::Presented, BillOutcome::Paid,
                                              BillOutcome::Presented, BillOutcome::Paid}));
    EXPECT_EQ(book.slip(slip_).unpaid, 0);
    EXPECT_EQ(book.slip(slip_).state, SlipState::Credited) << "two Bills wait again";
    // Both can be given their outcome again.
    OutcomeRegistrar(c_).pay(slip_, {}, kOutcomeDay);
    EXPECT_EQ(book.slip(slip_).state, SlipState::Closed);
}

// The slip written by the calling list's "Presenta alla banca" is the one the outcomes read:
// the same Bills, count and total, and it can be paid whole.
TEST_P(OutcomesTest, ASlipPresentedFromTheListIsReadAndPaidWhole) {
    const SlipCommand::Written written = SlipCommand(c_, 1).present(
        QStringLiteral("riba"), QStringLiteral("-"), kOutcomeDay.toString(QStringLiteral("dd/MM/yyyy")),
        QStringLiteral("1"), kOutcomeDay);
    ASSERT_GT(written.count, 0);
    const SlipBook book(c_);
    const SlipRow row = book.slip(written.key);
    EXPECT_EQ(row.count, written.count);
    EXPECT_EQ(row.total.toString(), written.total.toString());
    EXPECT_EQ(book.bills(written.key).size(), written.count);
    EXPECT_EQ(OutcomeRegistrar(c_).pay(written.key, {}, kOutcomeDay), written.count);
    EXPECT_EQ(book.slip(written.key).state, SlipState::Closed);
}

// Bills back unpaid lose their presentation bank, not their place in the slip: the slip keeps its
// bank (named as the company names it) and its file is made again as it went out. A withdrawn slip's number
// goes to the next slip, which starts without the withdrawn one's SEPA file.
TEST_P(OutcomesTest, ASlipKeepsItsBankAndFileWhenItsBillsComeBack) {
    customer({.code = 951, .name = QStringLiteral("Cliente Rientrato"), .abi = 3069, .cab = 33304});
    layOut({{.customer = 951}, {.customer = 951}});
    const SlipKey slip = present(2);
    const SlipBook book(c_);
    const QString bank = book.slip(slip).bank;
    EXPECT_TRUE(bank.startsWith(this->bank().description + QStringLiteral(" ("))) << bank.toStdString();
    const QDateTime now(kOutcomeDay, QTime(9, 0));
    const QByteArray file = SlipFiles::content(*c_, slip, now);
    for (const PresentedBill& bill : book.bills(slip)) {
        UnpaidRequest back;
        back.slip = slip;
        back.bill = bill.key;
        back.date = kOutcomeDay;
        OutcomeRegistrar(c_).unpaid({back});
    }
    EXPECT_EQ(book.slip(slip).bank, bank);
    EXPECT_EQ(SlipFiles::content(*c_, slip, now), file);

    const SlipKey again = present(2);
    ASSERT_EQ(again.number, slip.number + 1) << "the Bills back unpaid go on a new slip";
    book.recordSepaFile(again, QStringLiteral("MSG-RITIRATA"), QStringLiteral("IT16ZZZ03927460161"));
    SlipWithdrawal(c_).withdraw(again);
    const SlipKey third = present(2);
    ASSERT_EQ(third.number, again.number);
    EXPECT_TRUE(book.slip(third).sepaMessageId.isEmpty());
}

TEST_P(OutcomesTest, RefusalsNameTheBillAndWriteNothing) {
    const int before = movements();
    const QStringList other = keyTexts().mid(4);
    EXPECT_TRUE(refusal([&] {
                    OutcomeRegistrar(c_).pay(slip_, {bills_[0], other[0]}, kOutcomeDay);
                }).contains(QStringLiteral("non è stato presentato nella distinta Rid")));
    c_->Execute(QStringLiteral("UPDATE EF01_SCADENZE SET EF01_SCADE_S = '%1'")
                    .arg(kOutcomeDay.addDays(5).toString(QStringLiteral("yyyyMMdd"))) +
                BillKey::parse(bills_[1], QStringLiteral("test")).where(QStringLiteral("EF01")));
    const QString early = refusal([&] { OutcomeRegistrar(c_).pay(slip_, {}, kOutcomeDay); });
    EXPECT_TRUE(
        early.contains(QStringLiteral("non può essere incassato il ") + ItalianFormat::date(kOutcomeDay)))
        << early.toStdString();
    EXPECT_TRUE(early.startsWith(QStringLiteral("L'effetto n. "))) << early.toStdString();

    OutcomeRegistrar(c_).pay(slip_, {bills_[0]}, kOutcomeDay);
    const int paid = movements();
    // Closed by a colleague in the bill form: no longer the bank's.
    c_->Execute(QStringLiteral("UPDATE EF01_SCADENZE SET EF01_INDSTATO_S = 1, EF01_INDGENSTATO_S = 2") +
                BillKey::parse(bills_[1], QStringLiteral("test")).where(QStringLiteral("EF01")));
    EXPECT_TRUE(refusal([&] {
                    OutcomeRegistrar(c_).unpaid({unpaid(1)});
                }).contains(QStringLiteral("è chiuso: l'insoluto si registra solo su un effetto aperto")));
    EXPECT_TRUE(refusal([&] {
                    OutcomeRegistrar(c_).pay(slip_, {bills_[0]}, kOutcomeDay);
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
    breakMovementsOf(keys_.at(1));
    const int before = movements();
    EXPECT_FALSE(refusal([&] { OutcomeRegistrar(c_).pay(slip_, {}, kOutcomeDay); }).isEmpty());
    EXPECT_EQ(movements(), before);
    EXPECT_EQ(Value::toInt(billColumn(bills_[0], "EF01_INDSTATO_S")), 0) << "the first Bill's closing undone";
    EXPECT_EQ(demo_->count(QStringLiteral("SELECT COUNT(*) FROM KV22_STATIDIST")), 0);
    mendWrites(c_, GetParam(), QStringLiteral("EF06_SCADSTO"));
    EXPECT_EQ(OutcomeRegistrar(c_).pay(slip_, {}, kOutcomeDay), 4)
        << "the same batch goes through once mended";
}

TEST_P(OutcomesTest, TwoClerksOnTheSameSlipOneWinsTheOtherIsTold) {
    auto second = demo_->db.connect(SchemaInstaller::catalogue());
    const QHash<QString, int> seenByFirst = SlipBook::seen(SlipBook(c_).bills(slip_));
    const QHash<QString, int> seenBySecond = SlipBook::seen(SlipBook(second).bills(slip_));
    OutcomeRegistrar(c_, seenByFirst).pay(slip_, {bills_[0], bills_[1]}, kOutcomeDay);
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

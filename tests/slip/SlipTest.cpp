// The slip on both engines: what it writes, checked by SQL beside it; all or nothing when a Bill
// is refused or the database fails at the last one; the withdrawal and the undo of one Bill's
// presentation giving the Bills back; two clerks presenting the same Bills at once.
#include "DatabaseHistoryWriter.h"
#include "FRMKV_STORICO.h"
#include "HistoryFormTexts.h"
#include "Refusal.h"
#include "SlipFixture.h"
#include "SlipTexts.h"
#include "SlipWithdrawal.h"
#include "SuiteError.h"
#include "WriteConflict.h"

#include <atomic>
#include <latch>
#include <thread>

class SlipTest : public SlipFixture {
protected:
    QString movement(const BillKey& k, const char* column) const {
        return value(QStringLiteral("SELECT %1 FROM EF06_SCADSTO").arg(QLatin1String(column)) +
                     k.where(QStringLiteral("EF06")) +
                     QStringLiteral(" AND EF06_PROGSTO = (SELECT MAX(EF06_PROGSTO) FROM EF06_SCADSTO") +
                     k.where(QStringLiteral("EF06")) + QStringLiteral(")"));
    }
    QString slipColumn(const SlipKey& s, const char* column) const {
        return value(QStringLiteral("SELECT %1 FROM EF09_DISTINTE").arg(QLatin1String(column)) + s.where());
    }
};

INSTANTIATE_ON_ENGINES(SlipTest);

TEST_P(SlipTest, ASlipPresentsEachBillAndRecordsItsMovement) {
    layOut({2, 2, 11, 2, 2});
    const SlipOrder riba = order(2);
    ASSERT_EQ(riba.bills.size(), 4) << "the RID is not a Ri.Ba. slip's";
    ASSERT_NE(riba.bank.abi, 0) << "the demo company has a bank with ABI and CAB";
    const QString lastNumber = value(
        QStringLiteral("SELECT COALESCE(MAX(EF09_NUMDIST), 0) FROM EF09_DISTINTE WHERE EF09_INDTIPODIST = 0 "
                       "AND EF09_ANNO = 2026"));
    QStringList progressives;
    for (const BillKey& k : keys_)
        progressives << value(QStringLiteral("SELECT COALESCE(MAX(EF06_PROGSTO), 0) FROM EF06_SCADSTO") +
                              k.where(QStringLiteral("EF06")));

    const SlipKey slip = SlipWriter(demo_->connection).write(riba);
    EXPECT_EQ(slip.kind, SlipKinds::kRiba);
    EXPECT_EQ(slip.year, 2026);
    EXPECT_EQ(slip.number, lastNumber.toInt() + 1);
    EXPECT_EQ(slipColumn(slip, "EF09_NUMTOTEFF").toInt(), 4);
    // 1000,25 + 2000,50 + 4001,00 + 5001,25
    EXPECT_EQ(Value::toDecimal(slipColumn(slip, "EF09_IMPTOTEFF")),
              Decimal::fromString(QStringLiteral("12003.00")));
    EXPECT_EQ(Value::toDate(slipColumn(slip, "EF09_DATACRESUPP")), kToday);

    for (int i : {0, 1, 3, 4}) {
        const BillKey& k = keys_.at(i);
        SCOPED_TRACE(k.registration.toStdString());
        EXPECT_EQ(bill(k, "EF01_BANCAPRE_SCG12").toInt(), riba.bank.abi);
        EXPECT_EQ(bill(k, "EF01_AGENPRE_SCG13").toInt(), riba.bank.cab);
        EXPECT_EQ(bill(k, "EF01_INDPRES_S"), QStringLiteral("2"));
        EXPECT_EQ(movement(k, "EF06_PROGSTO").toInt(), progressives.at(i).toInt() + 1);
        EXPECT_EQ(movement(k, "EF06_INDTIPOPER"), QStringLiteral("3"));
        EXPECT_EQ(movement(k, "EF06_DITTA_EF09").toInt(), DemoGenerator::kCompany);
        EXPECT_EQ(movement(k, "EF06_INDTIPODIST_EF09"), QStringLiteral("0"));
        EXPECT_EQ(movement(k, "EF06_ANNO_EF09"), QStringLiteral("2026"));
        EXPECT_EQ(movement(k, "EF06_NUMDIST_EF09").toInt(), slip.number);
        EXPECT_EQ(Value::toDate(movement(k, "EF06_DATAREG")), kToday);
        // The snapshot: the Bill before it was presented.
        EXPECT_EQ(movement(k, "EF06_INDPRES_S"), QStringLiteral("1"));
        EXPECT_EQ(movement(k, "EF06_BANCAPRE_S"), QString());
        EXPECT_EQ(movement(k, "EF06_AGENZPRE_S"), QString());
        EXPECT_EQ(Value::toDecimal(movement(k, "EF06_IMPEFF_S")),
                  Decimal::fromMantissa(100025LL * (i + 1), 2));
        EXPECT_EQ(Value::toDate(movement(k, "EF06_SCADE_S")), QDate(2026, 12, i + 1));
        EXPECT_EQ(movement(k, "EF06_INDSTATO_S"), QStringLiteral("0"));
    }
    EXPECT_TRUE(order(2).bills.isEmpty()) << "presented Bills are no longer offered";

    // The RID goes on a slip of its own kind, numbered apart, and is presented "after collection".
    const QString lastSdd = value(
        QStringLiteral("SELECT COALESCE(MAX(EF09_NUMDIST), 0) FROM EF09_DISTINTE WHERE EF09_INDTIPODIST = %1 "
                       "AND EF09_ANNO = 2026")
            .arg(SlipKinds::kSdd));
    const SlipKey sdd = SlipWriter(demo_->connection).write(order(11));
    EXPECT_EQ(sdd.kind, SlipKinds::kSdd);
    EXPECT_EQ(sdd.number, lastSdd.toInt() + 1);
    EXPECT_EQ(bill(keys_.at(2), "EF01_INDPRES_S"), QStringLiteral("5"));
    EXPECT_EQ(slipColumn(sdd, "EF09_NUMTOTEFF").toInt(), 1);
}

TEST_P(SlipTest, RefusalsNameTheBillAndWriteNothing) {
    layOut({2, 2, 2});
    const std::shared_ptr<Connection>& c = demo_->connection;
    const BillKey last = keys_.last();
    const QString lastNumber = bill(last, "EF01_NUMEFF");
    const auto refused = [&](const SlipOrder& o) {
        const QStringList before = everything();
        const QString why = refusal([&] { SlipWriter(c).write(o); });
        EXPECT_EQ(everything(), before) << "nothing written: " << why.toStdString();
        return why;
    };

    SlipOrder noBank = order();
    noBank.bank = {};
    EXPECT_EQ(refused(noBank), SlipTexts::kNoBank);
    SlipOrder none = order();
    none.bills.clear();
    EXPECT_EQ(refused(none), SlipTexts::kNoBills);

    // What the clerk was shown changed under it, at the last Bill: the whole slip is refused.
    struct Change {
        QString set;
        QString expected;
    };
    const QList<Change> changes = {
        {QStringLiteral("EF01_INDSTATO_S = 1"), QStringLiteral("è chiuso")},
        {QStringLiteral("EF01_BANCAPRE_SCG12 = 3069, EF01_AGENPRE_SCG13 = 1600, EF01_INDPRES_S = 2"),
         QStringLiteral("è già presentato")},
        {QStringLiteral("EF01_IMPEFF_S = 1.00"), WriteConflict::kMessage},
        {QStringLiteral("EF01_TIPOEFF = 11"), QStringLiteral("non è una ricevuta bancaria di un cliente")},
    };
    for (const Change& change : changes) {
        const SlipOrder shown = order();
        ASSERT_EQ(shown.bills.size(), 3);
        const QStringList asLaidOut =
            rows(QStringLiteral("EF01_SCADENZE"), last.where(QStringLiteral("EF01")));
        runSql(c,
               QStringLiteral("UPDATE EF01_SCADENZE SET ") + change.set + last.where(QStringLiteral("EF01")));
        const QString why = refused(shown);
        EXPECT_TRUE(why.contains(QStringLiteral("n. %1 ").arg(lastNumber))) << why.toStdString();
        EXPECT_TRUE(why.contains(change.expected)) << why.toStdString();
        // Laid out again: the next change starts from the Bill as it was.
        keys_.clear();
        layOut({2, 2, 2});
        ASSERT_EQ(rows(QStringLiteral("EF01_SCADENZE"), last.where(QStringLiteral("EF01"))), asLaidOut);
    }

    // A colleague's movement on the last Bill since the clerk's read, the Bill itself unchanged.
    const SlipOrder shown = order();
    runSql(c,
           QStringLiteral("INSERT INTO EF06_SCADSTO (EF06_DITTA_CG18, EF06_NUMREG_CO99, EF06_RIGACONT_EF01,"
                          " EF06_PROGEC_EF01, EF06_PROGEFF_EF01, EF06_PROGSTO, EF06_INDTIPOPER) VALUES"
                          " (%1, %2, %3, %4, %5, 99, 0)")
               .arg(last.company)
               .arg(SqlText::quote(last.registration))
               .arg(last.row)
               .arg(last.statement)
               .arg(last.progressive));
    const QString why = refused(shown);
    EXPECT_TRUE(why.contains(QStringLiteral("n. %1 ").arg(lastNumber)) &&
                why.contains(WriteConflict::kMessage))
        << why.toStdString();
    runSql(c, QStringLiteral("DELETE FROM EF06_SCADSTO") + last.where(QStringLiteral("EF06")) +
                  QStringLiteral(" AND EF06_PROGSTO = 99"));

    // The database itself fails at the last Bill's movement: the slip and the first Bills go too.
    breakMovementsOf(last);
    EXPECT_FALSE(refused(order()).isEmpty());
    mendWrites(c, GetParam(), QStringLiteral("EF06_SCADSTO"));
    EXPECT_GT(SlipWriter(c).write(order()).number, 0) << "written once the fault is mended";
}

TEST_P(SlipTest, WithdrawalAndUndoGiveTheBillsBackAsTheyWere) {
    layOut({2, 2, 2});
    const std::shared_ptr<Connection>& c = demo_->connection;
    const QStringList before = everything();
    const SlipKey slip = SlipWriter(c).write(order());
    ASSERT_NE(everything(), before);
    EXPECT_EQ(SlipWithdrawal(c).withdraw(slip), 3);
    EXPECT_EQ(everything(), before) << "Bills, movements and slips as before";
    EXPECT_EQ(refusal([&] { SlipWithdrawal(c).withdraw(slip); }), SlipTexts::kSlipMissing.arg(slip.shown()));

    // A Bill moved on after its presentation (a later movement) holds the whole slip.
    const SlipKey again = SlipWriter(c).write(order());
    auto held = std::make_shared<Recordset>();
    held->Open(QStringLiteral("SELECT * FROM EF01_SCADENZE") + keys_.at(1).where(QStringLiteral("EF01")), c);
    auto later = std::make_shared<HistoryMovement>();
    later->connection = c;
    later->bill = held;
    later->progressive = movement(keys_.at(1), "EF06_PROGSTO").toInt() + 1;
    later->date = kToday.startOfDay();
    DatabaseHistoryWriter writer;
    writer.setMovement(later);
    ASSERT_EQ(writer.Prepare() + writer.Write(), 0) << writer.LastError().toStdString();
    const QStringList presented = everything();
    const QString why = refusal([&] { SlipWithdrawal(c).withdraw(again); });
    EXPECT_TRUE(why.contains(QStringLiteral("n. %1 ").arg(bill(keys_.at(1), "EF01_NUMEFF"))))
        << why.toStdString();
    EXPECT_EQ(everything(), presented);

    // The undo of the bill form on one presentation: the slip follows, and goes with its last Bill.
    const auto undo = [&](int i) {
        undoLast(keyTexts().at(i));
        EXPECT_EQ(messageTexts(), QStringList{HistoryFormTexts::kEliminaAutomatico});
    };
    undo(0);
    EXPECT_EQ(bill(keys_.at(0), "EF01_INDPRES_S"), QStringLiteral("1"));
    EXPECT_EQ(bill(keys_.at(0), "EF01_BANCAPRE_SCG12"), QString());
    EXPECT_EQ(slipColumn(again, "EF09_NUMTOTEFF").toInt(), 2);
    EXPECT_EQ(
        Value::toDecimal(slipColumn(again, "EF09_IMPTOTEFF")),
        Decimal::fromString(QStringLiteral("2000.50")) + Decimal::fromString(QStringLiteral("3000.75")));
    runSql(c, QStringLiteral("DELETE FROM EF06_SCADSTO") + keys_.at(1).where(QStringLiteral("EF06")) +
                  QStringLiteral(" AND EF06_INDTIPOPER = 0"));
    undo(1);
    undo(2);
    EXPECT_EQ(slipColumn(again, "EF09_NUMTOTEFF"), QStringLiteral("<none>")) << "an empty slip is removed";
}

TEST_P(SlipTest, TwoClerksPresentingTheSameBillsAtOnceOneWins) {
    layOut({2, 2, 2, 2});
    const QStringList before = everything();
    std::latch start(2);
    std::atomic<int> written{0};
    QStringList told[2];
    const auto clerk = [&](int i) {
        const std::shared_ptr<Connection> own = demo_->db.connect(SchemaInstaller::catalogue());
        const SlipOrder o = order(2, own);
        start.arrive_and_wait();
        told[i] << refusal([&] {
            SlipWriter(own).write(o);
            ++written;
        });
    };
    std::thread a(clerk, 0);
    std::thread b(clerk, 1);
    a.join();
    b.join();
    ASSERT_EQ(written.load(), 1) << told[0].join(QString()).toStdString()
                                 << told[1].join(QString()).toStdString();
    EXPECT_FALSE((told[0].first() + told[1].first()).isEmpty()) << "the other clerk is told";
    int presentations = 0;
    for (const BillKey& k : keys_)
        presentations += value(QStringLiteral("SELECT COUNT(*) FROM EF06_SCADSTO") +
                               k.where(QStringLiteral("EF06")) + QStringLiteral(" AND EF06_INDTIPOPER = 3"))
                             .toInt();
    EXPECT_EQ(presentations, 4) << "each Bill presented once";
    EXPECT_EQ(everything().size(), before.size() + 1 + 4) << "one slip and one movement a Bill, no more";
}

// The statements the bill form builds from a Bill's key and the user's data, run on each engine:
// they touch exactly that Bill, whatever its texts hold.
#include "BillFormFixture.h"
#include "BillStatements.h"
#include "SqlText.h"

class BillStatementsTest : public ::testing::TestWithParam<TestEngine> {};
INSTANTIATE_TEST_SUITE_P(Engines, BillStatementsTest,
                         ::testing::Values(TestEngine::Sqlite, TestEngine::PostgreSql),
                         [](const auto& info) { return engineName(info.param); });

TEST_P(BillStatementsTest, DeletionRegistrationAndClaimTouchOnlyTheirBill) {
    REQUIRE_ENGINE(GetParam());
    DemoDatabase demo(GetParam());
    Recordset pick;
    pick.Open(QStringLiteral("SELECT EF01_NUMREG_CO99, EF01_RIGACONT_CG42, EF01_PROGEC_EC01, EF01_PROGEFF") +
                  kCustomerBills + QStringLiteral(" ORDER BY EF01_NUMREG_CO99"),
              demo.connection);
    BillStatements::Key key;
    key.company = DemoGenerator::kCompany;
    key.numReg = Value::toText(pick.Fields(0).Value()).trimmed();
    key.row = Value::toInt(pick.Fields(1).Value());
    key.progEc = Value::toInt(pick.Fields(2).Value());
    key.progEff = Value::toInt(pick.Fields(3).Value());
    const int bills = demo.count(QStringLiteral("SELECT COUNT(*) FROM EF01_SCADENZE"));
    const int movements = demo.count(QStringLiteral("SELECT COUNT(*) FROM EF06_SCADSTO"));
    const int ofThisBill = demo.count(
        QStringLiteral("SELECT COUNT(*) FROM EF06_SCADSTO WHERE EF06_NUMREG_CO99 = ") +
        SqlText::quote(key.numReg) +
        QStringLiteral(" AND EF06_RIGACONT_EF01 = %1 AND EF06_PROGEC_EF01 = %2 AND EF06_PROGEFF_EF01 = %3")
            .arg(key.row)
            .arg(key.progEc)
            .arg(key.progEff));

    // A registration number that tries to widen the condition matches nothing.
    BillStatements::Key forged = key;
    forged.numReg = QStringLiteral("x' OR '1'='1");
    EXPECT_EQ(demo.connection->Execute(BillStatements::claimBill(forged)), 0);
    demo.connection->Execute(BillStatements::deleteBill(forged));
    EXPECT_EQ(demo.count(QStringLiteral("SELECT COUNT(*) FROM EF01_SCADENZE")), bills);

    EXPECT_EQ(demo.connection->Execute(BillStatements::claimBill(key)), 1);
    demo.connection->Execute(BillStatements::deleteBill(key));
    EXPECT_EQ(demo.count(QStringLiteral("SELECT COUNT(*) FROM EF01_SCADENZE")), bills - 1);
    EXPECT_EQ(demo.count(QStringLiteral("SELECT COUNT(*) FROM EF06_SCADSTO")), movements - ofThisBill);
    EXPECT_EQ(demo.connection->Execute(BillStatements::claimBill(key)), 0)
        << "a deleted Bill cannot be claimed";

    // The register row keeps a user's name with its apostrophe, once.
    BillStatements::Registration r;
    r.company = DemoGenerator::kCompany;
    r.numReg = QStringLiteral("2026'0001");
    r.created = QDate(2026, 12, 6);
    r.userGroup = QStringLiteral("AMM");
    r.userCode = QStringLiteral("D'ANGELO");
    demo.connection->Execute(BillStatements::registerDocument(r));
    demo.connection->Execute(BillStatements::registerDocument(r));
    Recordset registered;
    registered.Open(BillStatements::registeredOperationType(r.company, r.numReg), demo.connection);
    ASSERT_EQ(registered.RecordCount(), 1);
    EXPECT_EQ(Value::toInt(registered.Fields(0).Value()), 4);
    EXPECT_EQ(
        demo.count(QStringLiteral("SELECT COUNT(*) FROM CO99_MASTERDOC WHERE CO99_UTENTECRE = 'D''ANGELO'")),
        1);
    Recordset next;
    next.Open(BillStatements::nextHistoryProgressive(key), demo.connection);
    EXPECT_EQ(Value::toInt(next.Fields(0).Value()), 1) << "the deleted Bill's history starts again at 1";
}

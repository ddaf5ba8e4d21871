// The statements the bill form builds from a Bill's key and the user's data, run on each engine:
// they touch exactly that Bill, whatever its texts hold.
#include "ArchiveConnector.h"
#include "BillCodeTables.h"
#include "BillFormFixture.h"
#include "BillStatements.h"
#include "CompanyContext.h"
#include "HeaderQuery.h"
#include "LinkStatements.h"
#include "Schema.h"
#include "SqlText.h"

#include <QRegularExpression>

class BillStatementsTest : public ::testing::TestWithParam<TestEngine> {};
INSTANTIATE_ON_ENGINES(BillStatementsTest);

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

TEST_P(BillStatementsTest, TheLinkedBillSearchesRunOnTheEngineAndTakeNoCodeFromValues) {
    REQUIRE_ENGINE(GetParam());
    DemoDatabase demo(GetParam());
    CompanyParameters p;
    p.ledgerGroup = DemoGenerator::kLedgerGroup;
    p.customerAccount = DemoGenerator::customerAccount();
    p.supplierAccount = DemoGenerator::supplierAccount();
    // The search list: customers' bills with the short form or the catalogue's label of their type.
    Recordset list;
    list.Open(LinkStatements::lookup(DemoGenerator::kCompany, 0, LinkStatements::receivedTypeLines()),
              demo.connection);
    ASSERT_FALSE(list.AtEOF());
    EXPECT_EQ(list.Fields(1).Name().toUpper(), QStringLiteral("TIPOEFF"));
    const QString shortForm = Value::toText(list.Fields(1).Value());
    QStringList shortForms;
    for (int type = 1; type <= 99; ++type) shortForms << BillCodeTables::abbreviazioneTipoEffetto(type);
    EXPECT_TRUE(!shortForm.isEmpty() && shortForms.contains(shortForm)) << shortForm.toStdString();
    const qint64 number = Value::toInt(list.Fields(0).Value());
    Recordset labelled;
    labelled.Open(LinkStatements::lookup(
                      DemoGenerator::kCompany, 0,
                      LinkStatements::endorsedTypeLines([](int) { return QStringLiteral("L'effetto"); })),
                  demo.connection);
    ASSERT_FALSE(labelled.AtEOF());
    EXPECT_EQ(Value::toText(labelled.Fields(1).Value()), QStringLiteral("L'effetto"));

    // The number found for a customer, not for a supplier, nor on an account that is not quoted in.
    LinkStatements::Search s;
    s.company = DemoGenerator::kCompany;
    s.ledgerGroup = p.ledgerGroup;
    s.customerAccount = p.customerAccount;
    s.supplierAccount = p.supplierAccount;
    s.number = number;
    Recordset found;
    found.Open(LinkStatements::findBill(s), demo.connection);
    EXPECT_FALSE(found.AtEOF());
    s.customerAccount = QStringLiteral("x' OR '1'='1");
    Recordset forged;
    forged.Open(LinkStatements::findBill(s), demo.connection);
    EXPECT_TRUE(forged.AtEOF());

    // A link's type is the customer's or the supplier's only on that type's control account.
    EXPECT_EQ(
        LinkStatements::linkedType(QStringLiteral("0"), QString::number(p.ledgerGroup), p.customerAccount, p),
        0);
    EXPECT_EQ(
        LinkStatements::linkedType(QStringLiteral("1"), QString::number(p.ledgerGroup), p.supplierAccount, p),
        1);
    EXPECT_EQ(
        LinkStatements::linkedType(QStringLiteral("0"), QString::number(p.ledgerGroup), p.supplierAccount, p),
        -1);
    EXPECT_EQ(LinkStatements::linkedType(QString(), QString(), QString(), p), -1);
    EXPECT_TRUE(LinkStatements::isBillNumber(QStringLiteral(" 2147483647 ")));
    for (const char* bad : {"2147483648", "12a", "-1", "1;DROP", ""})
        EXPECT_FALSE(LinkStatements::isBillNumber(QString::fromLatin1(bad))) << bad;
}

// The texts the forms and the host build are the one language every dialect starts from: T-SQL.
// The SQL Server dialect sends them as they are, so a construct T-SQL lacks would reach a
// server only there, where no test runs; it is refused here, outside the literals.
TEST(TSqlText, EveryBuiltStatementIsTSql) {
    BillStatements::Key key{1, QStringLiteral("2023'1;"), 1, 1, 1};
    QStringList statements = {
        BillStatements::billCondition(key),
        BillStatements::claimBill(key),
        BillStatements::storedBill(key),
        BillStatements::billShape(),
        BillStatements::nextHistoryProgressive(key),
        BillStatements::countManualMovements(key, true),
        BillStatements::deleteBill(key),
        BillStatements::registerDocument(
            {1, QStringLiteral("2023"), QDate(2024, 1, 2), QStringLiteral("G"), QStringLiteral("U")}),
        BillStatements::registeredOperationType(1, QStringLiteral("2023")),
        BillStatements::restoreFromHistory(
            1,
            [](const QString& column) {
                return column == QLatin1String("EF06_SCADE_S") ? QVariant(QDate(2024, 1, 2)) : QVariant(1);
            },
            true),
        ChildQueries::cambialiCessioni(key),
        ChildQueries::note(key),
        ChildQueries::solleciti(key),
        ChildQueries::storico(key),
        LinkStatements::findBill({1, 0, 1, QStringLiteral("C"), QStringLiteral("F"), 7}),
        LinkStatements::lookup(1, 0, LinkStatements::receivedTypeLines()),
        LinkStatements::counterpartName(1, 0, 7, QDate(2024, 1, 2)),
        ArchiveConnector::customerBankById(1),
        ArchiveConnector::customerBankId(1, 0, 7, 1),
        ArchiveConnector::rowState(QStringLiteral("{A'B}")),
        ArchiveConnector::cigCupAssignment(1, QStringLiteral("Z'1"), QString(), 7)};
    for (bool joined : {false, true}) {
        HeaderQuery query;
        query.selection = QStringLiteral("EF01_IMPORTO > 10");
        query.order = QStringLiteral("EF01_DATASCAD");
        query.joined = joined;
        statements << query.text();
    }
    for (int a = 0; a <= int(ArchiveConnector::Archive::SepaPurposes); ++a)
        for (const QVariantList& keys : {QVariantList{}, QVariantList{1, 0, 7}}) {
            const ArchiveConnector archive(ArchiveConnector::Archive(a), keys);
            statements << archive.decodeQuery(QStringLiteral("7")) << archive.lookup().query
                       << archive.management().list.query;
        }
    for (const TableDef& view : Schema::views()) statements << view.viewSql;

    static const QRegularExpression foreign(
        QStringLiteral(
            "\\b(SUBSTR|LENGTH|TRIM|IFNULL|NOW|STRING_AGG)\\s*\\(|\\|\\||::|\\b(LIMIT|ILIKE|BOOLEAN|"
            "TRUE|FALSE|RETURNING)\\b"),
        QRegularExpression::CaseInsensitiveOption);
    for (const QString& statement : statements) {
        ASSERT_FALSE(statement.trimmed().isEmpty());
        for (const SqlText::Piece& piece : SqlText::scan(statement)) {
            if (piece.literal) continue;
            EXPECT_FALSE(foreign.match(piece.text).hasMatch())
                << foreign.match(piece.text).captured().toStdString() << " in: " << statement.toStdString();
        }
    }
}

// LEN and CONCAT have no namesake on every engine; the dialects put them in their own words, and
// what reads like a call inside a literal stays text.
TEST_P(BillStatementsTest, StringFunctionsRunOnEveryEngine) {
    REQUIRE_ENGINE(GetParam());
    DemoDatabase demo(GetParam());
    Recordset rs;
    rs.Open(QStringLiteral("SELECT LEN('ab  ') AS L, CONCAT('(', NULL, LEN ('x'), ') ', 'LEN(y)') AS C, "
                           "CONCAT(SUBSTRING('IT60X', 1, 2), CONCAT('-', LTRIM(RTRIM('  z ')))) AS N"),
            demo.connection);
    EXPECT_EQ(Value::toInt(rs.Fields("L").Value()), 2);
    EXPECT_EQ(rs.Fields("C").Value().toString(), "(1) LEN(y)");
    EXPECT_EQ(rs.Fields("N").Value().toString(), "IT-z");
}

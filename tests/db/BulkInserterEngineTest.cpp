#include "BulkInserter.h"
#include "MemoryCatalogue.h"
#include "SchemaColumns.h"
#include "SuiteError.h"
#include "TestDatabase.h"
#include "Value.h"

#include <gtest/gtest.h>

namespace {

using namespace SchemaColumns;

class BulkInsert : public ::testing::TestWithParam<TestEngine> {};

// Values go in as literals: quotes and semicolons stay data, dates compare with the
// 'yyyymmdd' literals the forms write, Nulls stay Null, and a partial last batch is written.
TEST_P(BulkInsert, ValuesSurviveAsLiteralsOnEveryEngine) {
    REQUIRE_ENGINE(GetParam());
    const TableDef t =
        table("ZZ01_PROVA",
              {required(integer("ZZ01_ID")), text("ZZ01_TESTO", 40), amount("ZZ01_IMPORTO"),
               rate("ZZ01_CAMBIO"), date("ZZ01_DATA"), timestamp("ZZ01_MOMENTO"), code("ZZ01_COD")},
              {"ZZ01_ID"});
    TestDatabase db(GetParam());
    auto c = db.connect(std::make_shared<MemoryCatalogue>(QList<TableDef>{t}));
    c->Execute(c->dialect().createTable(t));

    BulkInserter in(*c, t);
    const int rows = 450;  // two full statements and a part
    for (int i = 1; i <= rows; ++i) {
        BulkInserter::Row r = in.newRow();
        r.set("ZZ01_ID", i);
        r.set("ZZ01_TESTO",
              i == 7 ? QString("D'Angelo'); DROP TABLE ZZ01_PROVA; --") : QString("riga %1").arg(i));
        r.set("ZZ01_IMPORTO", QVariant::fromValue(Decimal::fromString("1234567.89")));
        r.set("ZZ01_CAMBIO", QVariant::fromValue(Decimal::fromString("1.085432")));
        r.set("ZZ01_DATA", QDate(2024, 1, 31).addDays(i % 3 - 1));
        r.set("ZZ01_MOMENTO", QDateTime(QDate(2024, 6, 28), QTime(17, 45, 30)));
        if (i % 2) r.set("ZZ01_COD", 3);
        in.insert(r);
    }
    in.flush();
    EXPECT_THROW(in.newRow().set("ZZ01_NESSUNA", 1), SuiteError);

    const auto read = c->Query(
        "SELECT COUNT(*), SUM(CASE WHEN ZZ01_DATA = '20240131' THEN 1 ELSE 0 END),"
        " SUM(CASE WHEN ZZ01_DATA < '20240131' THEN 1 ELSE 0 END), SUM(CASE WHEN ZZ01_COD IS NULL THEN 1 "
        "ELSE 0 END)"
        " FROM ZZ01_PROVA");
    ASSERT_EQ(read.size(), 1u);
    const auto& totals = read.front().rows.front();
    EXPECT_EQ(Value::toInt(totals[0]), rows);
    EXPECT_EQ(Value::toInt(totals[1]), rows / 3);
    EXPECT_EQ(Value::toInt(totals[2]), rows / 3);
    EXPECT_EQ(Value::toInt(totals[3]), rows / 2);

    const auto one = c->Query(
        "SELECT ZZ01_TESTO, ZZ01_IMPORTO, ZZ01_CAMBIO, ZZ01_DATA, ZZ01_MOMENTO FROM ZZ01_PROVA WHERE ZZ01_ID "
        "= 7");
    const auto& r = one.front().rows.front();
    EXPECT_EQ(r[0].toString(), "D'Angelo'); DROP TABLE ZZ01_PROVA; --");
    EXPECT_EQ(Value::toDecimal(r[1]), Decimal::fromString("1234567.89"));
    EXPECT_EQ(Value::toDecimal(r[2]), Decimal::fromString("1.085432"));
    EXPECT_EQ(Value::toDate(r[3]), QDate(2024, 1, 31));
    EXPECT_EQ(Value::toDateTime(r[4]), QDateTime(QDate(2024, 6, 28), QTime(17, 45, 30)));
}

INSTANTIATE_ON_ENGINES(BulkInsert);

}  // namespace

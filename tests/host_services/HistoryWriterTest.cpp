#include "DatabaseHistoryWriter.h"
#include "DemoDatabase.h"
#include "DemoGenerator.h"
#include "HistorySnapshot.h"
#include "Recordset.h"
#include "Schema.h"
#include "SchemaInstaller.h"
#include "Value.h"

#include <gtest/gtest.h>

class HistoryWriterTest : public ::testing::TestWithParam<TestEngine> {};
INSTANTIATE_ON_ENGINES(HistoryWriterTest);

TEST_P(HistoryWriterTest, KeepsTheBillAsItWasBeforeTheChangeAndWritesOnlyInsideTheSave) {
    REQUIRE_ENGINE(GetParam());
    DemoDatabase demo(GetParam(), 20);
    auto c = demo.connection;

    // The user changes the due date of a Bill; the copy of its header row carries the new date.
    auto header = std::make_shared<Recordset>();
    header->Open(
        QStringLiteral("SELECT * FROM EF01_SCADENZE WHERE EF01_DITTA_CG18 = 1 ORDER BY EF01_NUMREG_CO99"), c);
    const QDate before = Value::toDate(header->Fields(QStringLiteral("EF01_SCADE_S")).Value());
    header->Fields(QStringLiteral("EF01_SCADE_S")).setValue(before.addDays(30));
    auto copy = std::make_shared<Recordset>();
    copy->Open(QStringLiteral("SELECT * FROM EF01_SCADENZE WHERE 0=1"), c);
    copy->AddNew();
    for (int i = 0; i < header->FieldCount(); ++i)
        copy->Fields(header->Fields(i).Name()).setValue(header->Fields(i).Value());
    const QString numReg = Value::toText(header->Fields(QStringLiteral("EF01_NUMREG_CO99")).Value());
    auto countFor = [&](qint32 progressive) {
        Recordset rs;
        rs.Open(QStringLiteral(
                    "SELECT COUNT(*) FROM EF06_SCADSTO WHERE EF06_NUMREG_CO99 = '%1' AND EF06_PROGSTO = %2")
                    .arg(numReg)
                    .arg(progressive),
                c);
        return Value::toInt(rs.Fields(0).Value());
    };

    auto movement = std::make_shared<HistoryMovement>();
    movement->connection = c;
    movement->bill = copy;
    movement->progressive = 900;
    movement->date = QDateTime(QDate(2026, 12, 5), QTime(10, 30));
    DatabaseHistoryWriter writer;
    writer.setMovement(movement);
    ASSERT_EQ(writer.Prepare(), 0) << writer.LastError().toStdString();

    c->BeginTrans();
    ASSERT_EQ(writer.Write(), 0) << writer.LastError().toStdString();
    c->RollbackTrans();  // a save that failed later leaves no movement
    EXPECT_EQ(countFor(900), 0);

    c->BeginTrans();
    ASSERT_EQ(writer.Write(), 0);
    c->CommitTrans();
    Recordset written;
    written.Open(
        QStringLiteral("SELECT * FROM EF06_SCADSTO WHERE EF06_NUMREG_CO99 = '%1' AND EF06_PROGSTO = 900")
            .arg(numReg),
        c);
    ASSERT_EQ(written.RecordCount(), 1);
    EXPECT_EQ(Value::toDate(written.Fields(QStringLiteral("EF06_SCADE_S")).Value()), before);
    EXPECT_EQ(Value::toInt(written.Fields(QStringLiteral("EF06_INDTIPOPER")).Value()), 0);
    EXPECT_EQ(Value::toDate(written.Fields(QStringLiteral("EF06_DATAREG")).Value()), QDate(2026, 12, 5));

    // The same progressive twice is refused with a result code, not a crash.
    c->BeginTrans();
    EXPECT_NE(writer.Write(), 0);
    EXPECT_FALSE(writer.LastError().isEmpty());
    c->RollbackTrans();
    // A Bill that is gone cannot be prepared.
    copy->Fields(QStringLiteral("EF01_NUMREG_CO99")).setValue(QStringLiteral("NESSUNO"));
    EXPECT_NE(writer.Prepare(), 0);
}

TEST(HistorySnapshotColumns, EachBillColumnHasAMovementColumnOfTheSameKind) {
    const auto catalogue = Schema::catalogue();
    for (const HistorySnapshot::Pair& p : HistorySnapshot::columns()) {
        const ColumnDef* bill =
            catalogue->table(QStringLiteral("EF01_SCADENZE"))->column(QString::fromLatin1(p.bill));
        const ColumnDef* movement =
            catalogue->table(QStringLiteral("EF06_SCADSTO"))->column(QString::fromLatin1(p.movement));
        ASSERT_TRUE(bill && movement) << p.bill << " / " << p.movement;
        EXPECT_EQ(bill->type, movement->type) << p.bill;
        EXPECT_EQ(bill->scale, movement->scale) << p.bill;
        EXPECT_LE(bill->size, movement->size) << p.bill << ": the movement must hold what the Bill holds";
    }
}

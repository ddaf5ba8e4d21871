#include "Decimal.h"
#include "EngineFixture.h"
#include "SuiteError.h"
#include "TransactionScope.h"
#include "Value.h"

#include <tuple>

namespace {
const QString kBills =
    QStringLiteral("SELECT * FROM TS01_BILLS WHERE TS01_DITTA = 1 ORDER BY TS01_NUMREG, TS01_PROG");

qint32 errorOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const SuiteError& e) {
        return e.number();
    }
    return 0;
}
}  // namespace

class RecordsetTest : public EngineTest {};
INSTANTIATE_ON_ENGINES_AND_ODBC(RecordsetTest);

TEST_P(RecordsetTest, EveryValueKindRoundTripsThroughTheDatabase) {
    auto rs = open(QStringLiteral("SELECT * FROM TS01_BILLS WHERE 0=1"));
    EXPECT_TRUE(rs->AtBOF() && rs->AtEOF());
    const QString tricky = QStringLiteral("L'Aquila; DROP TABLE TS01_BILLS; -- \"x\" àèì €");
    rs->AddNew();
    rs->Fields("ts01_ditta").setValue(7);  // names are case-insensitive
    rs->Fields("TS01_NUMREG").setValue(QStringLiteral("A'1;"));
    rs->Fields("TS01_PROG").setValue(QStringLiteral("3"));
    rs->Fields("TS01_STATE").setValue(1);
    rs->Fields("TS01_AMOUNT")
        .setValue(QVariant::fromValue(Decimal::fromString(QStringLiteral("1234567890123.45"))));
    rs->Fields("TS01_RATE").setValue(QStringLiteral("1,083215"));
    rs->Fields("TS01_NOTE").setValue(tricky);
    rs->Fields("TS01_DUE").setValue(QDate(2024, 2, 29));
    rs->Fields("TS01_STAMP").setValue(QDateTime(QDate(2024, 12, 31), QTime(23, 59, 58)));
    rs->Update();
    EXPECT_EQ(rs->Status(), RowStatus::New);
    rs->UpdateBatch();
    rs->AddNew();  // a second row, all optional columns Null
    rs->Fields("TS01_DITTA").setValue(7);
    rs->Fields("TS01_NUMREG").setValue(QStringLiteral("A'1;"));
    rs->Fields("TS01_PROG").setValue(4);
    rs->UpdateBatch();

    auto back = open(QStringLiteral("SELECT * FROM TS01_BILLS WHERE TS01_DITTA = 7 ORDER BY TS01_PROG"));
    ASSERT_EQ(back->RecordCount(), 2);
    EXPECT_EQ(back->Fields("TS01_NUMREG").Value(), QVariant(QStringLiteral("A'1;")));
    EXPECT_EQ(back->Fields("TS01_PROG").Value(), QVariant(3));
    EXPECT_EQ(back->Fields("TS01_STATE").Value(), QVariant(1));
    EXPECT_EQ(back->Fields("TS01_AMOUNT").Value().value<Decimal>().toString(),
              QStringLiteral("1234567890123.45"));
    EXPECT_EQ(back->Fields("TS01_RATE").Value().value<Decimal>().toString(), QStringLiteral("1.083215"));
    EXPECT_EQ(back->Fields("TS01_NOTE").Value().toString(), tricky);
    EXPECT_EQ(back->Fields("TS01_DUE").Value(), QVariant(QDate(2024, 2, 29)));
    EXPECT_EQ(back->Fields("TS01_STAMP").Value().toDateTime(),
              QDateTime(QDate(2024, 12, 31), QTime(23, 59, 58)));
    EXPECT_EQ(back->Fields("TS01_DUE").Type(), DataType::Date);
    back->MoveNext();
    for (const char* name : {"TS01_STATE", "TS01_AMOUNT", "TS01_RATE", "TS01_NOTE", "TS01_DUE", "TS01_STAMP"})
        EXPECT_TRUE(Value::isNull(back->Fields(QString::fromLatin1(name)).Value())) << name;
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM TS01_BILLS")).toInt(), 6);
}

TEST_P(RecordsetTest, BadValuesAreRefusedWithAClearMessageAndChangeNothing) {
    auto rs = open(kBills);
    const QVariant before = rs->Fields("TS01_AMOUNT").Value();
    for (const auto& [field, value] : std::vector<std::pair<QString, QVariant>>{
             {QStringLiteral("TS01_AMOUNT"), QStringLiteral("12,5O")},
             {QStringLiteral("TS01_STATE"), QStringLiteral("uno")},
             {QStringLiteral("TS01_DUE"), QStringLiteral("31/02/2024")},
             {QStringLiteral("TS01_NOTE"), QString(81, QLatin1Char('x'))},
             {QStringLiteral("TS01_NOTE"), QString(QChar(0xD83D)) + QStringLiteral("x")}}) {  // half an emoji
        try {
            rs->Fields(field).setValue(value);
            ADD_FAILURE() << field.toStdString();
        } catch (const SuiteError& e) {
            EXPECT_TRUE(e.description().contains(field)) << e.description().toStdString();
        }
    }
    // Numbers past the column's range are told as the clerk writes them.
    for (const auto& [field, value, shown] : std::vector<std::tuple<QString, QVariant, QString>>{
             {QStringLiteral("TS01_AMOUNT"),
              QVariant::fromValue(Decimal::fromString("99999999999999999999.00")),
              QStringLiteral("99.999.999.999.999.999.999,00")},
             {QStringLiteral("TS01_STATE"), 40000,
              QStringLiteral("40.000 è fuori dall'intervallo ammesso (da "
                             "-32.768 a 32.767)")}}) {
        try {
            rs->Fields(field).setValue(value);
            ADD_FAILURE() << field.toStdString();
        } catch (const SuiteError& e) {
            EXPECT_TRUE(e.description().contains(shown)) << e.description().toStdString();
        }
    }
    EXPECT_EQ(rs->Fields("TS01_AMOUNT").Value(), before);
    EXPECT_EQ(rs->Status(), RowStatus::Unmodified);
    EXPECT_EQ(errorOf([&] { rs->Fields("NO_SUCH_FIELD"); }), SuiteError::kItemNotFound);
    if (GetParam() != TestEngine::Sqlite) return;  // the servers keep a column's type themselves
    // A number past 32 bits written beside the program is refused when read, never wrapped (to 1).
    conn_->Execute(QStringLiteral("UPDATE TS01_BILLS SET TS01_PROG = 4294967297 WHERE TS01_DITTA = 2"));
    EXPECT_EQ(errorOf([&] { open(QStringLiteral("SELECT * FROM TS01_BILLS WHERE TS01_DITTA = 2")); }),
              SuiteError::kTypeMismatch);
}

TEST_P(RecordsetTest, UpdateBatchWritesChangesDeletionsAndInsertionsTogether) {
    auto rs = open(kBills);
    ASSERT_EQ(rs->RecordCount(), 3);
    rs->Fields("TS01_AMOUNT").setValue(QStringLiteral("111.11"));
    EXPECT_EQ(rs->Fields("TS01_AMOUNT").OriginalValue().value<Decimal>().toString(),
              QStringLiteral("100.50"));
    rs->MoveNext();
    rs->Delete();
    EXPECT_EQ(rs->RecordCount(), 2);
    rs->AddNew();
    rs->Fields("TS01_DITTA").setValue(1);
    rs->Fields("TS01_NUMREG").setValue(QStringLiteral("R009"));
    rs->Fields("TS01_PROG").setValue(1);
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM TS01_BILLS WHERE TS01_DITTA = 1")).toInt(),
              3);  // still pending
    rs->UpdateBatch();

    EXPECT_EQ(scalar(QStringLiteral("SELECT TS01_AMOUNT FROM TS01_BILLS WHERE TS01_NUMREG = 'R001' AND "
                                    "TS01_PROG = 1 AND TS01_DITTA = 1"))
                  .value<Decimal>(),
              Decimal::fromString(QStringLiteral("111.11")));
    EXPECT_EQ(
        scalar(QStringLiteral("SELECT COUNT(*) FROM TS01_BILLS WHERE TS01_NUMREG = 'R001' AND TS01_PROG = 2"))
            .toInt(),
        0);
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM TS01_BILLS WHERE TS01_NUMREG = 'R009'")).toInt(),
              1);
    rs->Requery();
    EXPECT_EQ(rs->RecordCount(), 3);
    EXPECT_EQ(rs->Fields("TS01_AMOUNT").OriginalValue().value<Decimal>().toString(),
              QStringLiteral("111.11"));
}

TEST_P(RecordsetTest, ASecondWriterGetsTheConflictAndLosesNothing) {
    auto other = db_->connect(catalogue_);
    auto mine = open(kBills);
    auto theirs = open(kBills, other);

    theirs->Fields("TS01_AMOUNT").setValue(QStringLiteral("999.99"));
    theirs->UpdateBatch();

    mine->Fields("TS01_AMOUNT").setValue(QStringLiteral("123.00"));
    mine->MoveNext();
    mine->Fields("TS01_NOTE").setValue(QStringLiteral("non in conflitto"));
    EXPECT_EQ(errorOf([&] { mine->UpdateBatch(); }), SuiteError::kWriteConflict);

    // The first writer's value stands; the row that did not conflict was written.
    EXPECT_EQ(scalar(QStringLiteral("SELECT TS01_AMOUNT FROM TS01_BILLS WHERE TS01_DITTA = 1 AND TS01_NUMREG "
                                    "= 'R001' AND TS01_PROG = 1"))
                  .value<Decimal>()
                  .toString(),
              QStringLiteral("999.99"));
    EXPECT_EQ(scalar(QStringLiteral("SELECT TS01_NOTE FROM TS01_BILLS WHERE TS01_DITTA = 1 AND TS01_NUMREG = "
                                    "'R001' AND TS01_PROG = 2")),
              QVariant(QStringLiteral("non in conflitto")));
    // The conflicting row is still pending with the user's value.
    mine->setFilter(Recordset::FilterConflictingRecords);
    ASSERT_EQ(mine->RecordCount(), 1);
    EXPECT_EQ(mine->Fields("TS01_AMOUNT").Value().value<Decimal>().toString(), QStringLiteral("123.00"));
    EXPECT_EQ(mine->Status(), RowStatus::Modified);

    // Read again, change again: now it goes through.
    mine->setFilter(QString());
    mine->Requery();
    EXPECT_EQ(mine->Fields("TS01_AMOUNT").Value().value<Decimal>().toString(), QStringLiteral("999.99"));
    mine->Fields("TS01_AMOUNT").setValue(QStringLiteral("123.00"));
    mine->UpdateBatch();
    EXPECT_EQ(scalar(QStringLiteral("SELECT TS01_AMOUNT FROM TS01_BILLS WHERE TS01_DITTA = 1 AND TS01_NUMREG "
                                    "= 'R001' AND TS01_PROG = 1"))
                  .value<Decimal>()
                  .toString(),
              QStringLiteral("123.00"));

    // A row deleted by the other user is a conflict too.
    other->Execute(QStringLiteral("DELETE FROM TS01_BILLS WHERE TS01_NUMREG = 'R002'"));
    mine->MoveLast();
    mine->Fields("TS01_STATE").setValue(1);
    EXPECT_EQ(errorOf([&] { mine->UpdateBatch(); }), SuiteError::kWriteConflict);
}

// Writes from a view read before another user's change: a deletion and a hold of the row find
// it changed; a claim of an empty column gives the value the first claimer wrote.
TEST_P(RecordsetTest, AStaleViewNeitherDeletesNorHoldsAChangedRowAndAClaimKeepsTheFirstValue) {
    auto other = db_->connect(catalogue_);
    auto mine = open(kBills);
    const QString where = QStringLiteral(" WHERE TS01_DITTA = 1 AND TS01_NUMREG = 'R001' AND TS01_PROG = 1");
    // A time written with milliseconds, which SQLite keeps to the second, still counts as read.
    mine->Fields("TS01_STAMP").setValue(QDateTime(QDate(2024, 3, 1), QTime(8, 30, 5, 250)));
    mine->UpdateBatch();
    other->Execute(QStringLiteral("UPDATE TS01_BILLS SET TS01_NOTE = 'cambiata da altri'") + where);
    mine->Delete();
    EXPECT_EQ(errorOf([&] { mine->UpdateBatch(); }), SuiteError::kWriteConflict);
    EXPECT_EQ(scalar(QStringLiteral("SELECT TS01_NOTE FROM TS01_BILLS") + where),
              QVariant(QStringLiteral("cambiata da altri")));
    mine->CancelBatch();
    TransactionScope t(*conn_);
    EXPECT_EQ(errorOf([&] { mine->HoldCurrentRow(); }), SuiteError::kWriteConflict);
    mine->MoveLast();  // R002, as read: held
    mine->HoldCurrentRow();
    EXPECT_EQ(mine->ClaimValue(QStringLiteral("TS01_NOTE"), QStringLiteral("prima")),
              QVariant(QStringLiteral("prima")));
    EXPECT_EQ(mine->ClaimValue(QStringLiteral("TS01_NOTE"), QStringLiteral("seconda")),
              QVariant(QStringLiteral("prima")));
    EXPECT_EQ(mine->Status(), RowStatus::Unmodified) << "taken as read: nothing left to save";
}

TEST_P(RecordsetTest, RollbackLeavesNothingAndMakesWrittenRowsPendingAgain) {
    auto rs = open(kBills);
    conn_->BeginTrans();
    rs->Fields("TS01_NOTE").setValue(QStringLiteral("in transazione"));
    rs->UpdateBatch();
    conn_->Execute(QStringLiteral("DELETE FROM TS01_BILLS WHERE TS01_DITTA = 2"));
    EXPECT_EQ(rs->Status(), RowStatus::Unmodified);
    conn_->RollbackTrans();

    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM TS01_BILLS WHERE TS01_DITTA = 2")).toInt(), 1);
    EXPECT_EQ(scalar(QStringLiteral("SELECT TS01_NOTE FROM TS01_BILLS WHERE TS01_DITTA = 1 AND TS01_NUMREG = "
                                    "'R001' AND TS01_PROG = 1")),
              QVariant(QStringLiteral("prima")));
    // The change is not lost: it waits to be written again.
    rs->MoveFirst();
    EXPECT_EQ(rs->Status(), RowStatus::Modified);
    rs->UpdateBatch();
    EXPECT_EQ(scalar(QStringLiteral("SELECT TS01_NOTE FROM TS01_BILLS WHERE TS01_DITTA = 1 AND TS01_NUMREG = "
                                    "'R001' AND TS01_PROG = 1")),
              QVariant(QStringLiteral("in transazione")));
}

// A commit the engine refuses (a constraint checked only at the commit) rolls back: the database
// is as before and the rows written in the transaction wait to be saved again.
TEST_P(RecordsetTest, ACommitTheEngineRefusesLeavesTheRowsPending) {
    if (GetParam() == TestEngine::Sqlite) GTEST_SKIP() << "only a server defers a constraint to the commit";
    conn_->Execute(
        QStringLiteral("ALTER TABLE TS01_BILLS ADD CONSTRAINT TS01_NOTE_ONCE UNIQUE (TS01_NOTE) DEFERRABLE "
                       "INITIALLY DEFERRED"));
    auto rs = open(kBills);
    rs->Fields("TS01_NOTE").setValue(QStringLiteral("seconda"));  // the note of the next row
    {
        TransactionScope scope(*conn_);
        rs->UpdateBatch();
        EXPECT_EQ(rs->Status(), RowStatus::Unmodified);
        EXPECT_THROW(scope.commit(), SuiteError);
    }
    EXPECT_FALSE(conn_->InTransaction());
    EXPECT_EQ(scalar(QStringLiteral("SELECT TS01_NOTE FROM TS01_BILLS WHERE TS01_DITTA = 1 AND TS01_NUMREG = "
                                    "'R001' AND TS01_PROG = 1")),
              QVariant(QStringLiteral("prima")));
    rs->MoveFirst();
    EXPECT_EQ(rs->Status(), RowStatus::Modified);
    rs->Fields("TS01_NOTE").setValue(QStringLiteral("terza"));
    rs->UpdateBatch();
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM TS01_BILLS WHERE TS01_NOTE = 'terza'")).toInt(), 1);
}

TEST_P(RecordsetTest, AFailingRowWritesNoneOfTheBatch) {
    auto rs = open(kBills);
    rs->Fields("TS01_NOTE").setValue(QStringLiteral("cambiata"));
    rs->AddNew();  // the key of a bill another user entered meanwhile: a conflict, not a fault
    rs->Fields("TS01_DITTA").setValue(1);
    rs->Fields("TS01_NUMREG").setValue(QStringLiteral("R002"));
    rs->Fields("TS01_PROG").setValue(1);
    EXPECT_EQ(errorOf([&] { rs->UpdateBatch(); }), SuiteError::kWriteConflict);
    EXPECT_FALSE(conn_->InTransaction());
    EXPECT_EQ(scalar(QStringLiteral("SELECT TS01_NOTE FROM TS01_BILLS WHERE TS01_DITTA = 1 AND TS01_NUMREG = "
                                    "'R001' AND TS01_PROG = 1")),
              QVariant(QStringLiteral("prima")));
    rs->setFilter(Recordset::FilterPendingRecords);
    EXPECT_EQ(rs->RecordCount(), 2);
    rs->CancelBatch();
    rs->setFilter(QString());
    EXPECT_EQ(rs->RecordCount(), 3);
    EXPECT_EQ(rs->Fields("TS01_NOTE").Value(), QVariant(QStringLiteral("prima")));
}

TEST_P(RecordsetTest, AJoinedRowWritesOnlyItsBaseTable) {
    auto rs =
        open(QStringLiteral("SELECT TS01_BILLS.*, TS02_REGISTER.TS02_TYPE FROM TS01_BILLS WITH (NOLOCK) "
                            "INNER JOIN TS02_REGISTER WITH(NOLOCK) "
                            "ON TS01_DITTA = TS02_DITTA AND TS01_NUMREG = TS02_NUMREG WHERE TS01_DITTA = 1 "
                            "ORDER BY TS01_NUMREG, TS01_PROG"));
    ASSERT_EQ(rs->RecordCount(), 3);
    EXPECT_EQ(rs->Fields("TS02_TYPE").Value(), QVariant(4));
    EXPECT_FALSE(rs->Fields("TS02_TYPE").Writable());
    EXPECT_EQ(errorOf([&] { rs->Fields("TS02_TYPE").setValue(1); }), SuiteError::kOperationNotAllowed);
    rs->Fields("TS01_STATE").setValue(1);
    rs->UpdateBatch(Recordset::AffectCurrent);
    EXPECT_EQ(scalar(QStringLiteral("SELECT TS01_STATE FROM TS01_BILLS WHERE TS01_DITTA = 1 AND TS01_NUMREG "
                                    "= 'R001' AND TS01_PROG = 1")),
              QVariant(1));
    EXPECT_EQ(scalar(QStringLiteral(
                  "SELECT TS02_TYPE FROM TS02_REGISTER WHERE TS02_DITTA = 1 AND TS02_NUMREG = 'R001'")),
              QVariant(4));

    // An expression has no table: the recordset reads it but cannot write it.
    auto count = open(QStringLiteral("SELECT COUNT(*) AS N, MAX(TS01_AMOUNT) AS M FROM TS01_BILLS"));
    EXPECT_EQ(count->Fields("N").Value().toInt(), 4);
    EXPECT_EQ(Value::compare(count->Fields("M").Value(), QVariant(300)), 0);
    EXPECT_EQ(errorOf([&] { count->AddNew(); }), SuiteError::kOperationNotAllowed);
}

TEST_P(RecordsetTest, CloneFilterAndBookmarkPositionOnAKey) {
    auto rs = open(kBills);
    rs->MoveLast();
    auto copy = rs->Clone();
    copy->setFilter(QStringLiteral("TS01_DITTA = 1 AND TS01_NUMREG = 'R001' AND TS01_PROG = 2"));
    ASSERT_EQ(copy->RecordCount(), 1);
    rs->setBookmark(copy->Bookmark());
    EXPECT_EQ(rs->AbsolutePosition(), 2);
    EXPECT_EQ(rs->RecordCount(), 3);  // the original's view is its own
    EXPECT_EQ(rs->Fields("TS01_NOTE").Value(), QVariant(QStringLiteral("seconda")));

    copy->setFilter(QStringLiteral("TS01_NUMREG = 'r001' AND (TS01_PROG = 1 OR TS01_AMOUNT >= 200.25)"));
    EXPECT_EQ(copy->RecordCount(), 2);
    copy->setFilter(QStringLiteral("TS01_NOTE LIKE 'sec*' OR TS01_NOTE = NULL"));
    EXPECT_EQ(copy->RecordCount(), 2);
    copy->setFilter(QStringLiteral("TS01_DUE >= #2024-02-29#"));
    EXPECT_EQ(copy->RecordCount(), 2);
    copy->setFilter(QStringLiteral("TS01_NOTE = 'it''s'"));
    EXPECT_EQ(copy->RecordCount(), 0);
    EXPECT_TRUE(copy->AtBOF() && copy->AtEOF());
    // A filter that does not parse says why and keeps the one in force.
    copy->setFilter(QStringLiteral("TS01_PROG = 1"));
    for (const char* bad :
         {"TS01_PROG = ", "NOPE = 1", "TS01_NOTE = 'open", "TS01_PROG = 'x'", "(TS01_PROG = 1"})
        EXPECT_EQ(errorOf([&] { copy->setFilter(QString::fromLatin1(bad)); }),
                  SuiteError::kOperationNotAllowed)
            << bad;
    EXPECT_EQ(copy->RecordCount(), 2);

    // A change made through the clone is seen by the original: they share the rows.
    copy->MoveFirst();
    copy->Fields("TS01_NOTE").setValue(QStringLiteral("dal clone"));
    rs->MoveFirst();
    EXPECT_EQ(rs->Fields("TS01_NOTE").Value(), QVariant(QStringLiteral("dal clone")));
}

TEST_P(RecordsetTest, MovesSortAndDeletingTheLastRowLikeTheHistoryTab) {
    auto rs = open(kBills);
    rs->setSort(QStringLiteral("TS01_AMOUNT DESC"));
    EXPECT_EQ(rs->Fields("TS01_AMOUNT").Value().value<Decimal>(), Decimal(300));
    rs->setSort(QString());
    rs->MoveLast();
    EXPECT_EQ(rs->AbsolutePosition(), rs->RecordCount());
    EXPECT_THROW(rs->setSort(QStringLiteral("TS01_NOPE")), SuiteError);

    // Delete the current (last) row and write it at once; then step back to the new last row.
    rs->Delete();
    EXPECT_FALSE(rs->AtEOF());
    rs->UpdateBatch(Recordset::AffectCurrent);
    rs->MovePrevious();
    EXPECT_EQ(rs->AbsolutePosition(), 2);
    EXPECT_EQ(rs->RecordCount(), 2);
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM TS01_BILLS WHERE TS01_NUMREG = 'R002'")).toInt(),
              0);
    rs->MoveNext();
    EXPECT_TRUE(rs->AtEOF());
    EXPECT_EQ(errorOf([&] { rs->MoveNext(); }), SuiteError::kNoCurrentRecord);
    EXPECT_EQ(errorOf([&] { rs->Fields("TS01_NOTE").Value(); }), SuiteError::kNoCurrentRecord);

    // CancelUpdate gives up a row being added and returns to where we were.
    rs->MoveFirst();
    rs->AddNew();
    EXPECT_EQ(rs->RecordCount(), 3);
    rs->CancelUpdate();
    EXPECT_EQ(rs->RecordCount(), 2);
    EXPECT_EQ(rs->AbsolutePosition(), 1);
}

TEST_P(RecordsetTest, ABatchOfTwoQueriesBindsTheFirstAndReadsTheSecond) {
    auto rs = open(QStringLiteral(
        " SELECT   TS03_NOTES.* FROM   TS03_NOTES WHERE   (TS03_NOTES.TS03_DITTA = 1)   AND "
        "(TS03_NOTES.TS03_NUMREG = 'R001') ;"
        " SELECT   B.TS01_NOTE  AS RIC_NOTE   , B.TS01_DUE AS RIC_DUE FROM   TS02_REGISTER   LEFT OUTER JOIN "
        "  TS01_BILLS B"
        "   ON   TS02_REGISTER.TS02_DITTA = B.TS01_DITTA   AND TS02_REGISTER.TS02_NUMREG = B.TS01_NUMREG"
        " WHERE   (TS02_REGISTER.TS02_DITTA = 1)   AND (TS02_REGISTER.TS02_NUMREG = 'R002')"));
    EXPECT_EQ(rs->RecordCount(), 0);
    auto second = rs->NextRecordset();
    ASSERT_TRUE(second);
    EXPECT_EQ(second->RecordCount(), 1);
    EXPECT_TRUE(Value::isNull(second->Fields("RIC_NOTE").Value()));
    EXPECT_EQ(Value::toText(second->Fields("RIC_DUE").Value()).left(8), QStringLiteral("20240315"));
    EXPECT_EQ(second->NextRecordset(), nullptr);

    // The first result is the one that gets written.
    rs->AddNew();
    rs->Fields("TS03_DITTA").setValue(1);
    rs->Fields("TS03_NUMREG").setValue(QStringLiteral("R001"));
    rs->Fields("TS03_PROG").setValue(1);
    rs->Fields("TS03_TEXT").setValue(QStringLiteral("nota; con 'apici'"));
    rs->UpdateBatch(Recordset::AffectAllChapters);
    EXPECT_EQ(scalar(QStringLiteral("SELECT TS03_TEXT FROM TS03_NOTES")),
              QVariant(QStringLiteral("nota; con 'apici'")));
}

TEST_P(RecordsetTest, ADatabaseThatWentAwayIsReportedNotCrashed) {
    auto rs = open(kBills);
    rs->Fields("TS01_NOTE").setValue(QStringLiteral("da salvare"));
    conn_->Close();
    EXPECT_EQ(errorOf([&] { rs->UpdateBatch(); }), SuiteError::kConnectionFailed);
    EXPECT_EQ(rs->Status(), RowStatus::Modified);  // nothing lost
    EXPECT_EQ(errorOf([&] { conn_->Execute(QStringLiteral("SELECT 1")); }), SuiteError::kConnectionFailed);
    Connection bad;
    EXPECT_EQ(errorOf([&] { bad.Open(QStringLiteral("sqlite:/no/such/folder/x.sqlite")); }),
              SuiteError::kConnectionFailed);
    EXPECT_EQ(errorOf([&] {
                  bad.Open(QStringLiteral("postgresql:///no_such_database_kv?host=/var/run/postgresql"));
              }),
              SuiteError::kConnectionFailed);
}

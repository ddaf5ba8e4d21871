#include "Decimal.h"
#include "EngineFixture.h"
#include "LockWait.h"
#include "ResultTyping.h"
#include "SuiteError.h"
#include "TechnicalLog.h"
#include "TransactionScope.h"
#include "Value.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QSqlError>
#include <QSqlQuery>
#include <QThread>
#include <future>
#include <optional>
#include <thread>

// The SQL Server constructs the forms write, run on each engine.
class DialectTest : public EngineTest {};
INSTANTIATE_ON_ENGINES_AND_ODBC(DialectTest);

TEST_P(DialectTest, ConditionalInsertRegistersADocumentOnce) {
    const QString sql = QStringLiteral(
        "IF ( ( SELECT COUNT(*) FROM TS02_REGISTER WHERE TS02_DITTA = 1 AND TS02_NUMREG = 'R''10;' ) = 0 ) "
        "BEGIN"
        " INSERT INTO TS02_REGISTER ( TS02_DITTA , TS02_NUMREG , TS02_TYPE , TS02_CREATED ) VALUES ( 1 , "
        "'R''10;' , 4 , '20241205' ) END");
    conn_->Execute(sql);
    conn_->Execute(sql);
    EXPECT_EQ(
        scalar(QStringLiteral("SELECT COUNT(*) FROM TS02_REGISTER WHERE TS02_NUMREG = 'R''10;'")).toInt(), 1);
    EXPECT_EQ(scalar(QStringLiteral("SELECT TS02_CREATED FROM TS02_REGISTER WHERE TS02_NUMREG = 'R''10;'")),
              QVariant(QDate(2024, 12, 5)));
}

TEST_P(DialectTest, DateLiteralsCompareWithDateColumns) {
    EXPECT_EQ(
        scalar(QStringLiteral("SELECT COUNT(*) FROM TS01_BILLS WITH (NOLOCK) WHERE TS01_DUE >= '20240201'"))
            .toInt(),
        2);
    EXPECT_EQ(scalar(QStringLiteral(
                         "SELECT COUNT(*) FROM TS01_BILLS WHERE TS01_DUE BETWEEN '20240131' AND '20240229'"))
                  .toInt(),
              3);
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM TS01_BILLS WHERE TS01_DUE = '20240131'")).toInt(),
              2);
    conn_->Execute(
        QStringLiteral("UPDATE TS01_BILLS SET TS01_DUE = '20250101', TS01_STAMP = '20250101 08:30:00' WHERE "
                       "TS01_DITTA = 2"));
    auto rs = std::make_shared<Recordset>();
    rs->Open(QStringLiteral("SELECT TS01_DUE, TS01_STAMP FROM TS01_BILLS WHERE TS01_DITTA = 2"), conn_);
    EXPECT_EQ(rs->Fields("TS01_DUE").Value(), QVariant(QDate(2025, 1, 1)));
    EXPECT_EQ(rs->Fields("TS01_STAMP").Value().toDateTime(), QDateTime(QDate(2025, 1, 1), QTime(8, 30)));
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM TS01_BILLS WHERE TS01_STAMP > '20250101'")).toInt(),
              1);
}

TEST_P(DialectTest, QueriesOfTheFormsRunAsWritten) {
    // The next progressive: CASE over a derived table with MAX.
    EXPECT_EQ(scalar(QStringLiteral("SELECT CASE WHEN PROGRESSIVO.MASSIMOPROG IS NULL THEN 1 ELSE "
                                    "PROGRESSIVO.MASSIMOPROG + 1 END AS NUOVOPROGRESSIVO"
                                    " FROM ( SELECT MAX(TS01_PROG) AS MASSIMOPROG FROM TS01_BILLS WHERE "
                                    "TS01_DITTA = 1 AND TS01_NUMREG = 'R001' )"
                                    " AS PROGRESSIVO"))
                  .toInt(),
              3);
    EXPECT_EQ(scalar(QStringLiteral("SELECT CASE WHEN PROGRESSIVO.MASSIMOPROG IS NULL THEN 1 ELSE "
                                    "PROGRESSIVO.MASSIMOPROG + 1 END AS NUOVOPROGRESSIVO"
                                    " FROM ( SELECT MAX(TS01_PROG) AS MASSIMOPROG FROM TS01_BILLS WHERE "
                                    "TS01_NUMREG = 'NONE' ) AS PROGRESSIVO"))
                  .toInt(),
              1);
    // EXISTS with a correlated, aliased LEFT OUTER JOIN, and IN.
    EXPECT_EQ(
        scalar(QStringLiteral("SELECT COUNT(*) FROM TS01_BILLS WITH (NOLOCK) WHERE EXISTS ( SELECT 1 FROM "
                              "TS01_BILLS AS SCAD WITH (NOLOCK)"
                              " LEFT OUTER JOIN TS02_REGISTER REG WITH (NOLOCK) ON SCAD.TS01_DITTA = "
                              "REG.TS02_DITTA AND SCAD.TS01_NUMREG = REG.TS02_NUMREG"
                              " WHERE (SCAD.TS01_DITTA = TS01_BILLS.TS01_DITTA) AND (SCAD.TS01_NUMREG = "
                              "TS01_BILLS.TS01_NUMREG)"
                              " AND (SCAD.TS01_PROG = TS01_BILLS.TS01_PROG) AND (REG.TS02_TYPE IN (0, 4)) )"))
            .toInt(),
        3);
    // A CASE that turns codes into abbreviations, ordered.
    auto rs = std::make_shared<Recordset>();
    rs->Open(QStringLiteral(
                 " SELECT    TS01_PROG,    CASE TS01_STATE        WHEN 0 THEN 'Ap'        WHEN 1 THEN 'Ch'   "
                 " END AS STATO"
                 " FROM    TS01_BILLS WITH (NOLOCK) WHERE TS01_DITTA = 1 ORDER BY    TS01_NUMREG, TS01_PROG"),
             conn_);
    QStringList states;
    for (; !rs->AtEOF(); rs->MoveNext()) states << rs->Fields("STATO").Value().toString();
    EXPECT_EQ(states, (QStringList{QStringLiteral("Ap"), QStringLiteral("Ch"), QStringLiteral("Ap")}));
}

TEST_P(DialectTest, ABatchOfDeletionsRemovesABillAndItsChildren) {
    conn_->Execute(
        QStringLiteral("INSERT INTO TS03_NOTES (TS03_DITTA, TS03_NUMREG, TS03_PROG, TS03_TEXT) VALUES (1, "
                       "'R001', 1, 'x;y')"));
    // Inside a transaction, as a deletion runs it: a server takes the batch in one message.
    conn_->BeginTrans();
    const long affected = conn_->Execute(QStringLiteral(
        " DELETE FROM TS03_NOTES WHERE (TS03_DITTA = 1) AND  (TS03_NUMREG = 'R001') AND (TS03_PROG = 1) ;"
        " DELETE FROM TS01_BILLS WHERE (TS01_DITTA = 1) AND (TS01_NUMREG = 'R001') AND (TS01_PROG = 1) ;"));
    conn_->CommitTrans();
    EXPECT_EQ(affected, 2);
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM TS03_NOTES")).toInt(), 0);
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM TS01_BILLS")).toInt(), 3);
}

TEST_P(DialectTest, AStatementTheEngineRefusesSaysSoAndTheTransactionCanRollBack) {
    conn_->BeginTrans();
    conn_->Execute(QStringLiteral("DELETE FROM TS01_BILLS WHERE TS01_DITTA = 2"));
    try {
        // Refused after a statement that ran: the batch fails all the same.
        conn_->Execute(
            QStringLiteral("DELETE FROM TS01_BILLS WHERE TS01_DITTA = 1; SELECT * FROM NO_SUCH_TABLE"));
        FAIL();
    } catch (const SuiteError& e) {
        // Our words for the clerk; the engine's, with the statement, in the technical log.
        EXPECT_EQ(e.number(), SuiteError::kCommandFailed);
        EXPECT_FALSE(e.description().contains(QStringLiteral("NO_SUCH_TABLE")))
            << e.description().toStdString();
        EXPECT_TRUE(e.description().contains(TechnicalLog::path()));
        QFile log(TechnicalLog::path());
        ASSERT_TRUE(log.open(QIODevice::ReadOnly));
        EXPECT_TRUE(log.readAll().contains("SELECT * FROM NO_SUCH_TABLE"));
    }
    conn_->RollbackTrans();
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM TS01_BILLS")).toInt(), 4);
    EXPECT_THROW(conn_->CommitTrans(), SuiteError);  // nothing open
}

TEST_P(DialectTest, ACallersReadRunsAloneAndReadOnlyAndLeavesTheConnectionWritable) {
    // Read once, or kept prepared to be read again: the same refusals.
    for (const Connection::Reuse reuse : {Connection::Reuse::Once, Connection::Reuse::Kept}) {
        EXPECT_EQ(conn_
                      ->QueryReadOnly(
                          QStringLiteral("SELECT COUNT(*) FROM TS01_BILLS WHERE TS01_NOTE <> 'a;b'"), reuse)
                      .size(),
                  1u);
        for (const char* smuggled :
             {"SELECT 1 FROM TS01_BILLS; DELETE FROM TS01_BILLS", "DELETE FROM TS01_BILLS",
              "IF (1 = 1) BEGIN DELETE FROM TS01_BILLS END"}) {
            try {
                conn_->QueryReadOnly(QString::fromLatin1(smuggled), reuse);
                ADD_FAILURE() << smuggled;
            } catch (const SuiteError& e) {
                EXPECT_EQ(e.number(), SuiteError::kCommandFailed) << smuggled;
            }
        }
        // A single statement that writes after all: the engine itself refuses it.
        EXPECT_THROW(conn_->QueryReadOnly(
                         GetParam() == TestEngine::Sqlite
                             ? QStringLiteral("WITH GONE AS (SELECT 1) DELETE FROM TS01_BILLS")
                             : QStringLiteral("WITH GONE AS (DELETE FROM TS01_BILLS RETURNING TS01_DITTA) "
                                              "SELECT COUNT(*) FROM GONE"),
                         reuse),
                     SuiteError);
        EXPECT_THROW(conn_->QueryReadOnly(QStringLiteral("SELECT * FROM NO_SUCH_TABLE"), reuse), SuiteError);
    }
    // Failed or not, the reads leave the connection as it was: writes go on, inside a
    // transaction too.
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM TS01_BILLS")).toInt(), 4);
    conn_->BeginTrans();
    conn_->Execute(QStringLiteral("DELETE FROM TS01_BILLS WHERE TS01_DITTA = 2"));
    EXPECT_EQ(conn_->QueryReadOnly(QStringLiteral("SELECT COUNT(*) FROM TS01_BILLS"))
                  .front()
                  .rows.front()
                  .front()
                  .toInt(),
              3);
    conn_->Execute(QStringLiteral("DELETE FROM TS01_BILLS WHERE TS01_NUMREG = 'R002'"));
    conn_->CommitTrans();
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM TS01_BILLS")).toInt(), 2);
}

// A read kept prepared answers what a fresh one would: rows another connection changed
// meanwhile, a column added since (the driver keeps what it learnt of a statement's columns),
// inside a transaction and after its rollback.
TEST_P(DialectTest, AKeptReadAnswersAsTheDatabaseStandsNow) {
    auto read = [&] {
        return conn_
            ->QueryReadOnly(QStringLiteral("SELECT * FROM TS01_BILLS WHERE TS01_DITTA = 1"),
                            Connection::Reuse::Kept)
            .front();
    };
    const ResultSet first = read();
    auto other = db_->connect(catalogue_);
    other->Execute(QStringLiteral("DELETE FROM TS01_BILLS WHERE TS01_NUMREG = 'R002'"));
    EXPECT_EQ(read().rows.size(), first.rows.size() - 1);
    conn_->ExecuteNative(QStringLiteral("ALTER TABLE TS01_BILLS ADD TS01_EXTRA INTEGER DEFAULT 7"));
    const ResultSet widened = read();
    ASSERT_EQ(widened.columns.size(), first.columns.size() + 1);
    EXPECT_EQ(widened.columns.back().name, QStringLiteral("TS01_EXTRA"));
    EXPECT_EQ(widened.rows.front().back().toInt(), 7);
    conn_->BeginTrans();
    conn_->Execute(QStringLiteral("DELETE FROM TS01_BILLS WHERE TS01_DITTA = 1"));
    EXPECT_TRUE(read().rows.empty());
    conn_->RollbackTrans();
    EXPECT_EQ(read().rows.size(), first.rows.size() - 1);
}

TEST_P(DialectTest, TheDataLayersOwnReadGivesEveryValueAsTheDriversReadTypesIt) {
    // The data layer reads rows through the engine's own library where it can: every kind of
    // value, Nulls and extremes included, must come out as the driver's reading typed the same
    // way gives it, the catalogued columns typed to their column.
    if (GetParam() == TestEngine::Odbc) GTEST_SKIP() << "over ODBC the driver alone reads";
    ASSERT_NE(conn_->dialect().nativeStatement(conn_->database(), QStringLiteral("SELECT 1")), nullptr)
        << "the engine's own read is not there: the comparison would be the driver's with itself";
    const QString text = QStringLiteral("'àß€ 日本 ''\"; --' AS S");
    const QStringList sqlite{QStringLiteral("NULL AS A"), QStringLiteral("7 AS I"),
                             QStringLiteral("-9000000000 AS I8"), QStringLiteral("1.25 AS F"),
                             QStringLiteral("X'00FF27' AS BY")};
    const QStringList server{QStringLiteral("CAST(NULL AS TEXT) AS A"),
                             QStringLiteral("TRUE AS B"),
                             QStringLiteral("CAST(-7 AS SMALLINT) AS I2"),
                             QStringLiteral("2147483647 AS I4"),
                             QStringLiteral("CAST(9000000000 AS BIGINT) AS I8"),
                             QStringLiteral("CAST(-9000000000 AS BIGINT) AS I8N"),
                             QStringLiteral("CAST('123456789012345678.123456' AS NUMERIC) AS N"),
                             QStringLiteral("CAST(-0.5 AS NUMERIC(5, 2)) AS N2"),
                             QStringLiteral("CAST(NULL AS NUMERIC) AS NN"),
                             QStringLiteral("CAST(1.25 AS REAL) AS F4"),
                             QStringLiteral("CAST('NaN' AS FLOAT8) AS FNAN"),
                             QStringLiteral("CAST('-Infinity' AS FLOAT8) AS FINF"),
                             QStringLiteral("CAST(1e300 AS FLOAT8) AS FBIG"),
                             QStringLiteral("DATE '2024-02-29' AS D"),
                             QStringLiteral("CAST('infinity' AS DATE) AS DINF"),
                             QStringLiteral("CAST('0044-03-15 BC' AS DATE) AS DBC"),
                             QStringLiteral("CAST(NULL AS DATE) AS DN"),
                             QStringLiteral("TIME '13:45:07.25' AS T"),
                             QStringLiteral("TIMESTAMP '2024-02-29 23:59:58.5' AS TS"),
                             QStringLiteral("CAST('2024-07-01 12:00:00+02' AS TIMESTAMPTZ) AS TSZ"),
                             QStringLiteral("CAST('infinity' AS TIMESTAMP) AS TINF"),
                             QStringLiteral("CAST('a''b;' AS BYTEA) AS BY")};
    const QString expressions =
        (GetParam() == TestEngine::Sqlite ? sqlite : server).join(QStringLiteral(", ")) + u',' + text;
    const QString sql = QStringLiteral(
                            "SELECT %1, TS01_BILLS.* FROM TS01_BILLS ORDER BY TS01_DITTA, TS01_NUMREG, "
                            "TS01_PROG")
                            .arg(expressions);
    const ResultSet read = conn_->Query(sql).front();

    QSqlQuery q(conn_->database());
    q.setForwardOnly(true);
    ASSERT_TRUE(q.exec(sql)) << q.lastError().text().toStdString();
    const ResultTyping typing(read.columns, conn_->dialect());
    size_t row = 0;
    for (; q.next(); ++row) {
        ASSERT_LT(row, read.rows.size());
        for (int i = 0; i < int(read.columns.size()); ++i) {
            QVariant raw = q.value(i), expected;
            typing.take(raw, i, expected);
            const QVariant& got = read.rows[row][i];
            const std::string where =
                read.columns[size_t(i)].name.toStdString() + " of row " + std::to_string(row);
            EXPECT_EQ(got.metaType(), expected.metaType()) << where;
            EXPECT_EQ(got.toString(), expected.toString()) << where;
            EXPECT_TRUE(got == expected) << where;
        }
    }
    EXPECT_EQ(row, read.rows.size());
    EXPECT_EQ(row, 4u);
}

TEST_P(DialectTest, AmountsPastWhatTheEngineKeepsExactlyAreRefused) {
    auto rs = std::make_shared<Recordset>();
    rs->Open(QStringLiteral("SELECT * FROM TS01_BILLS WHERE TS01_DITTA = 2"), conn_);
    // SQLite keeps decimals as doubles: 15 significant digits; the servers the column's 18.
    const QString widest = GetParam() == TestEngine::Sqlite ? QStringLiteral("9999999999999.99")
                                                            : QStringLiteral("9999999999999999.99");
    const QString past = GetParam() == TestEngine::Sqlite ? QStringLiteral("99999999999999.99")
                                                          : QStringLiteral("99999999999999999.99");
    EXPECT_THROW(rs->Fields("TS01_AMOUNT").setValue(past), SuiteError);
    rs->Fields("TS01_AMOUNT").setValue(widest);
    rs->UpdateBatch();
    EXPECT_EQ(
        Value::toDecimal(scalar(QStringLiteral("SELECT TS01_AMOUNT FROM TS01_BILLS WHERE TS01_DITTA = 2"))),
        Decimal::fromString(widest));
}

TEST_P(DialectTest, ATransactionScopeRollsBackUnlessCommitted) {
    try {
        TransactionScope scope(*conn_);
        conn_->Execute(QStringLiteral("DELETE FROM TS01_BILLS WHERE TS01_DITTA = 2"));
        conn_->Execute(QStringLiteral("SELECT * FROM NO_SUCH_TABLE"));  // the block is left by the error
        scope.commit();
    } catch (const SuiteError&) {
    }
    EXPECT_FALSE(conn_->InTransaction());
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM TS01_BILLS")).toInt(), 4);
    {
        TransactionScope scope(*conn_);
        conn_->Execute(QStringLiteral("DELETE FROM TS01_BILLS WHERE TS01_DITTA = 2"));
        scope.commit();
        scope.rollback();  // after the commit: nothing left to undo
    }
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM TS01_BILLS")).toInt(), 3);
}

// A session that closes keeps the planner's statistics of the tables it read, where the engine
// leaves them to its users; while another session holds the file it gives up at once instead.
TEST_P(DialectTest, AClosingSessionKeepsTheStatisticsOfWhatItReadWithoutWaiting) {
    if (GetParam() != TestEngine::Sqlite) GTEST_SKIP() << "the server gathers them by itself";
    conn_->Execute(QStringLiteral("CREATE INDEX IX_TS01_STATE ON TS01_BILLS (TS01_STATE)"));
    const QString read = QStringLiteral("SELECT COUNT(*) FROM TS01_BILLS WHERE TS01_STATE = 1");
    const QString kept = QStringLiteral("SELECT COUNT(*) FROM sqlite_master WHERE name = 'sqlite_stat1'");
    auto session = db_->connect(catalogue_);
    session->Query(read);
    conn_->BeginTrans();
    conn_->Execute(QStringLiteral("UPDATE TS02_REGISTER SET TS02_TYPE = 5"));
    QElapsedTimer closing;
    closing.start();
    session->Close();
    EXPECT_LT(closing.elapsed(), LockWait::ms()) << "the close waited for the writer";
    conn_->RollbackTrans();
    EXPECT_EQ(scalar(kept).toInt(), 0);
    session = db_->connect(catalogue_);
    session->Query(read);
    session->Close();
    EXPECT_EQ(scalar(kept).toInt(), 1);
}

TEST_P(DialectTest, RefreshingTheStatisticsGathersThisCompanysTablesAndWaitsOnNoOtherCompanysLock) {
    // The demo and the installer refresh the planner's statistics. Where one database keeps
    // several companies' schemas, a table another company's session holds is none of theirs.
    if (GetParam() == TestEngine::Sqlite) GTEST_SKIP() << "a database of its own per file";
    TestDatabase neighbour(TestEngine::PostgreSql);
    auto holder = neighbour.connect(catalogue_);
    for (const TableDef* t : catalogue_->tables()) holder->Execute(holder->dialect().createTable(*t));
    holder->BeginTrans();
    holder->Execute(QStringLiteral("LOCK TABLE TS01_BILLS IN SHARE MODE"));
    QElapsedTimer refreshing;
    refreshing.start();
    conn_->Execute(QStringLiteral("EXEC sp_updatestats"));
    EXPECT_LT(refreshing.elapsed(), LockWait::ms()) << "the refresh waited for the other company";
    holder->RollbackTrans();
    EXPECT_EQ(Value::toDecimal(scalar(QStringLiteral("SELECT reltuples FROM pg_class WHERE oid = "
                                                     "CAST('ts01_bills' AS regclass)"))),
              Decimal(4));
}

// Two sessions writing the same rows at the same moment: the engine gives one of them up (on a
// server a deadlock, on SQLite a snapshot the other's commit made stale). That clerk is told to
// try again, as for a lock that did not free, and can roll back; the other's work stands.
TEST_P(DialectTest, TwoSessionsWritingTheSameRowsAtOnceGiveOneUpWhichIsToldToTryAgain) {
    const QString first = QStringLiteral(
        "UPDATE TS01_BILLS SET TS01_NOTE = '%1' WHERE TS01_DITTA = 1 AND "
        "TS01_NUMREG = 'R001' AND TS01_PROG = 1");
    const QString second = QStringLiteral(
        "UPDATE TS01_BILLS SET TS01_NOTE = '%1' WHERE TS01_DITTA = 1 AND "
        "TS01_NUMREG = 'R001' AND TS01_PROG = 2");
    auto toldToRetry = [](const std::optional<SuiteError>& e) {
        return e && e->number() == SuiteError::kTimeout &&
               e->description().contains(QStringLiteral("nello stesso momento"));
    };
    std::optional<SuiteError> mine, theirs;
    conn_->BeginTrans();
    if (GetParam() == TestEngine::Sqlite) {
        EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM TS01_BILLS")).toInt(), 4);  // the snapshot
        auto other = db_->connect(catalogue_);
        other->Execute(second.arg(QStringLiteral("loro")));
        try {
            conn_->Execute(first.arg(QStringLiteral("mia")));
        } catch (const SuiteError& e) {
            mine = e;
        }
    } else {
        // Each session holds one row and then asks for the other's: the server gives one up.
        conn_->Execute(first.arg(QStringLiteral("mia")));
        std::promise<void> holding;
        std::thread colleague([&] {  // a connection belongs to the thread that opened it
            auto other = db_->connect(catalogue_);
            other->BeginTrans();
            other->Execute(second.arg(QStringLiteral("loro")));
            holding.set_value();
            try {
                other->Execute(first.arg(QStringLiteral("loro")));
                other->CommitTrans();
            } catch (const SuiteError& e) {
                theirs = e;
                other->RollbackTrans();
            }
        });
        holding.get_future().wait();
        QThread::msleep(300);  // the colleague is waiting for this session's row
        try {
            conn_->Execute(second.arg(QStringLiteral("mia")));
        } catch (const SuiteError& e) {
            mine = e;
        }
        if (mine) conn_->RollbackTrans();  // lets the colleague on
        colleague.join();
        EXPECT_NE(mine.has_value(), theirs.has_value()) << "one session given up, the other on";
    }
    EXPECT_TRUE(toldToRetry(mine) || toldToRetry(theirs)) << (mine     ? mine->description()
                                                              : theirs ? theirs->description()
                                                                       : QString())
                                                                 .toStdString();
    if (conn_->InTransaction()) conn_->RollbackTrans();
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM TS01_BILLS WHERE TS01_NOTE = 'loro'")).toInt(),
              theirs ? 0 : (GetParam() == TestEngine::Sqlite ? 1 : 2));
}

TEST_P(DialectTest, AResultsValuesAreTypedAlikeOnEveryEngine) {
    // Columns no table declares keep the kind of value the engine computed.
    const ResultSet computed =
        conn_
            ->Query(QStringLiteral(
                "SELECT TS01_PROG + 3 AS N, TS01_AMOUNT * 2.5 AS R, 5000000000 AS BIG, 'àß€ 日本' AS T, "
                "CAST(NULL AS INTEGER) AS Z FROM TS01_BILLS WHERE TS01_DITTA = 2"))
            .front();
    ASSERT_EQ(computed.rows.size(), 1u);
    const QVector<QVariant>& row = computed.rows.front();
    EXPECT_EQ(row[0], QVariant(4));
    EXPECT_EQ(computed.columns[1].type, DataType::Decimal);
    EXPECT_EQ(Value::toDecimal(row[1]), Decimal::fromString(QStringLiteral("125")));
    EXPECT_EQ(Value::toDecimal(row[2]), Decimal(5000000000LL));
    EXPECT_EQ(row[3], QVariant(QStringLiteral("àß€ 日本")));
    EXPECT_FALSE(row[4].isValid());

    // A row the engine fails to compute after others were read fails the read, never shortens it
    // (on SQLite an integer overflow, where a division by zero gives NULL).
    const QString failing =
        GetParam() == TestEngine::Sqlite
            ? QStringLiteral("abs(CASE WHEN TS01_DITTA = 2 THEN -9223372036854775808 ELSE 1 END)")
            : QStringLiteral("1 / (TS01_DITTA - 2)");
    try {
        conn_->Query(QStringLiteral("SELECT TS01_PROG, %1 FROM TS01_BILLS ORDER BY TS01_DITTA").arg(failing));
        ADD_FAILURE() << "the read was cut short without a word";
    } catch (const SuiteError& e) {
        EXPECT_EQ(e.number(), SuiteError::kCommandFailed);
    }

    if (GetParam() != TestEngine::Sqlite) return;  // the servers keep a column's type themselves
    // A date written beside the program in another form is read as the program reads it, or refused.
    conn_->Execute(QStringLiteral("UPDATE TS01_BILLS SET TS01_DUE = ' 2024-03-01' WHERE TS01_DITTA = 2"));
    EXPECT_EQ(scalar(QStringLiteral("SELECT TS01_DUE FROM TS01_BILLS WHERE TS01_DITTA = 2")),
              QVariant(QDate(2024, 3, 1)));
    conn_->Execute(QStringLiteral("UPDATE TS01_BILLS SET TS01_DUE = '2024031x' WHERE TS01_DITTA = 2"));
    EXPECT_THROW(scalar(QStringLiteral("SELECT TS01_DUE FROM TS01_BILLS WHERE TS01_DITTA = 2")), SuiteError);
}

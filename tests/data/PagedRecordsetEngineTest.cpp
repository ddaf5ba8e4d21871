#include "MemoryCatalogue.h"
#include "PagedRows.h"
#include "Recordset.h"
#include "SuiteError.h"
#include "TestDatabase.h"
#include "Value.h"

#include <gtest/gtest.h>
#include <QDate>

namespace {

// A Bill-like table whose order columns repeat a lot (ties only the key breaks) and a column
// that may be null.
std::shared_ptr<MemoryCatalogue> pagedCatalogue() {
    auto c = std::make_shared<MemoryCatalogue>();
    c->add({QStringLiteral("TS04_PAGED"),
            {{QStringLiteral("TS04_DITTA"), DataType::Integer, 0, 0, 0, false},
             {QStringLiteral("TS04_NUMREG"), DataType::Text, 12, 0, 0, false},
             {QStringLiteral("TS04_PROG"), DataType::Integer, 0, 0, 0, false},
             {QStringLiteral("TS04_DUE"), DataType::Date, 0, 0, 0, false},
             {QStringLiteral("TS04_GRP"), DataType::SmallInt, 0, 0, 0, false},
             {QStringLiteral("TS04_NOTE"), DataType::Text, 40}},
            {QStringLiteral("TS04_DITTA"), QStringLiteral("TS04_NUMREG"), QStringLiteral("TS04_PROG")}});
    return c;
}

const QString kSelect = QStringLiteral("SELECT * FROM TS04_PAGED WITH (NOLOCK) WHERE TS04_DITTA = 1");

// A row's key as text, to compare walks.
QString keyOf(Recordset& rs) {
    return Value::toText(rs.Fields(QStringLiteral("TS04_NUMREG")).Value()) + QLatin1Char('/') +
           Value::toText(rs.Fields(QStringLiteral("TS04_PROG")).Value());
}

class PagedRecordsetTest : public ::testing::TestWithParam<TestEngine> {
protected:
    void SetUp() override {
        REQUIRE_ENGINE(GetParam());
        db_ = std::make_unique<TestDatabase>(GetParam());
        conn_ = db_->connect(pagedCatalogue());
        conn_->Execute(conn_->dialect().createTable(*pagedCatalogue()->table(QStringLiteral("TS04_PAGED"))));
    }

    // `n` rows of company 1 (and one of company 2 that no selection here reads): five due
    // dates and three groups repeat, so that most order values tie.
    void fill(int n, int from = 0) {
        QStringList values;
        for (int i = from; i < from + n; ++i)
            values.append(QStringLiteral("(1, 'R%1', %2, '%3', %4, NULL)")
                              .arg(i / 3, 4, 10, QLatin1Char('0'))
                              .arg(i % 3 + 1)
                              .arg(QDate(2024, 1, 1).addDays(i % 5).toString(QStringLiteral("yyyyMMdd")))
                              .arg(i % 3));
        if (from == 0) values.append(QStringLiteral("(2, 'R0000', 1, '20240101', 0, NULL)"));
        conn_->Execute(QStringLiteral("INSERT INTO TS04_PAGED VALUES ") + values.join(QLatin1Char(',')));
    }

    // Every key of the selection in `order`, read whole: what a paged walk must give.
    QStringList whole(const QString& order) {
        Recordset rs;
        rs.Open(kSelect + QStringLiteral(" ORDER BY ") + order + QStringLiteral(", TS04_NUMREG, TS04_PROG"),
                conn_);
        QStringList keys;
        for (; !rs.AtEOF(); rs.MoveNext()) keys.append(keyOf(rs));
        return keys;
    }

    static QStringList forward(Recordset& rs) {
        QStringList keys;
        for (rs.MoveFirst(); !rs.AtEOF(); rs.MoveNext()) keys.append(keyOf(rs));
        return keys;
    }
    static QStringList backward(Recordset& rs) {
        QStringList keys;
        for (rs.MoveLast(); !rs.AtBOF(); rs.MovePrevious()) keys.prepend(keyOf(rs));
        return keys;
    }

    std::unique_ptr<TestDatabase> db_;
    std::shared_ptr<Connection> conn_;
};

TEST_P(PagedRecordsetTest, WalksAcrossPageEdgesBothWaysAsTheWholeReadDoes) {
    fill(12);  // four pages of three: the last page is full, the next read finds nothing
    for (const QString& order :
         {QStringLiteral("TS04_DUE"), QStringLiteral("TS04_DUE DESC, TS04_GRP"),
          QStringLiteral("TS04_GRP DESC, TS04_DUE DESC"), QStringLiteral("TS04_NUMREG DESC")}) {
        SCOPED_TRACE(order.toStdString());
        const QStringList expected = whole(order);
        ASSERT_EQ(expected.size(), 12);
        Recordset rs;
        rs.OpenPaged(kSelect, order, conn_, 3);
        ASSERT_TRUE(rs.IsPaged());
        EXPECT_EQ(rs.RecordCount(), 3);  // one page read on opening
        EXPECT_EQ(keyOf(rs), expected.front());
        EXPECT_EQ(forward(rs), expected);
        EXPECT_EQ(backward(rs), expected);  // from the last page back, fetching before
    }
    // A last page shorter than the others, and Move across pages.
    fill(2, 12);
    Recordset rs;
    rs.OpenPaged(kSelect, QStringLiteral("TS04_DUE"), conn_, 4);
    const QStringList expected = whole(QStringLiteral("TS04_DUE"));
    EXPECT_EQ(forward(rs), expected);
    rs.MoveFirst();
    rs.Move(9);
    EXPECT_EQ(keyOf(rs), expected[9]);
    rs.MoveLast();
    EXPECT_EQ(keyOf(rs), expected.last());
    rs.MoveNext();
    EXPECT_TRUE(rs.AtEOF());

    // A long walk holds a few pages, however far it goes; a pending row stops the freeing and
    // the walk back still meets every row in order, the pending one with its new value.
    fill(40, 14);
    const QStringList all = whole(QStringLiteral("TS04_DUE"));
    Recordset walker;
    walker.OpenPaged(kSelect, QStringLiteral("TS04_DUE"), conn_, 4);
    walker.Move(2);
    walker.Fields(QStringLiteral("TS04_NOTE")).setValue(QStringLiteral("in sospeso"));
    walker.Update();
    int most = 0;
    QStringList walked;
    for (walker.MoveFirst(); !walker.AtEOF(); walker.MoveNext()) {
        walked.append(keyOf(walker));
        most = std::max(most, walker.RecordCount());
    }
    EXPECT_EQ(walked, all);
    EXPECT_GT(most, 4 * PagedRows::kWindowPages);  // nothing freed before the pending row
    EXPECT_EQ(backward(walker), all);
    walker.CancelBatch();
    most = 0;
    for (walker.MoveFirst(); !walker.AtEOF(); walker.MoveNext()) most = std::max(most, walker.RecordCount());
    EXPECT_LE(most, 4 * PagedRows::kWindowPages);
    EXPECT_EQ(backward(walker), all);
}

TEST_P(PagedRecordsetTest, EmptySelectionAndOrdersThatCannotBePagedReadWhole) {
    Recordset empty;
    empty.OpenPaged(kSelect, QStringLiteral("TS04_DUE"), conn_, 3);
    EXPECT_TRUE(empty.IsPaged());
    EXPECT_TRUE(empty.AtBOF() && empty.AtEOF());
    EXPECT_EQ(empty.RecordCount(), 0);
    empty.MoveLast();
    EXPECT_TRUE(empty.AtEOF());

    fill(7);
    const QStringList byDue = whole(QStringLiteral("TS04_DUE"));
    // An expression, a nullable column, an unknown word: the same rows, read whole.
    for (const QString& order :
         {QStringLiteral("TS04_DUE, UPPER(TS04_NOTE)"), QStringLiteral("TS04_DUE, TS04_NOTE"),
          QStringLiteral("TS04_DUE NULLS FIRST")}) {
        SCOPED_TRACE(order.toStdString());
        Recordset rs;
        if (order.contains(QStringLiteral("NULLS"))) {
            // Not every engine reads this order: the whole read reports the engine's refusal.
            try {
                rs.OpenPaged(kSelect, order, conn_, 3);
                EXPECT_FALSE(rs.IsPaged());
            } catch (const SuiteError& e) {
                EXPECT_EQ(e.number(), SuiteError::kCommandFailed);
            }
            continue;
        }
        rs.OpenPaged(kSelect, order, conn_, 3);
        EXPECT_FALSE(rs.IsPaged());
        EXPECT_EQ(rs.RecordCount(), 7);
        QStringList keys;
        for (; !rs.AtEOF(); rs.MoveNext()) keys.append(keyOf(rs));
        EXPECT_EQ(keys.size(), 7);
    }
    // A caller's text that would run a second statement is refused before anything runs.
    Recordset bad;
    EXPECT_THROW(bad.OpenPaged(kSelect + QStringLiteral("; DELETE FROM TS04_PAGED"),
                               QStringLiteral("TS04_DUE"), conn_, 3),
                 SuiteError);
    EXPECT_EQ(whole(QStringLiteral("TS04_DUE")), byDue);
}

TEST_P(PagedRecordsetTest, SeeksAKeyDeepInTheSelectionAndMovesOnFromThere) {
    fill(60);
    const QString order = QStringLiteral("TS04_DUE DESC, TS04_GRP");
    const QStringList expected = whole(order);
    Recordset rs;
    rs.OpenPaged(kSelect, order, conn_, 6);
    const int at = 41;
    const QString key = expected[at];
    ASSERT_TRUE(
        rs.SeekKey({1, key.section(QLatin1Char('/'), 0, 0), key.section(QLatin1Char('/'), 1).toInt()}));
    EXPECT_EQ(keyOf(rs), key);
    EXPECT_EQ(rs.AbsolutePosition(), Recordset::PosUnknown);  // the rows before it are not read
    EXPECT_LE(rs.RecordCount(), 7);                           // a page around it, not the selection
    rs.MovePrevious();
    EXPECT_EQ(keyOf(rs), expected[at - 1]);
    for (int i = at; i < at + 8; ++i) rs.MoveNext();
    EXPECT_EQ(keyOf(rs), expected[at + 7]);
    for (int i = 0; i < 12; ++i) rs.MovePrevious();
    EXPECT_EQ(keyOf(rs), expected[at - 5]);
    // Not in the selection (another company's, or none at all): no move.
    EXPECT_FALSE(rs.SeekKey({2, QStringLiteral("R0000"), 1}));
    EXPECT_FALSE(rs.SeekKey({1, QStringLiteral("X'; --"), 1}));
    EXPECT_EQ(keyOf(rs), expected[at - 5]);
    rs.MoveFirst();
    EXPECT_EQ(keyOf(rs), expected.front());
    EXPECT_EQ(rs.AbsolutePosition(), 1);
    EXPECT_EQ(backward(rs), expected);
}

// Another user inserts and deletes Bills while the clerk moves through the pages.
TEST_P(PagedRecordsetTest, ASelectionChangedUnderTheReaderIsReadAsItStandsNow) {
    fill(9);
    auto other = db_->connect(pagedCatalogue());
    Recordset rs;
    rs.OpenPaged(kSelect, QStringLiteral("TS04_NUMREG"), conn_, 3);  // R0000/1..3 loaded
    other->Execute(QStringLiteral("DELETE FROM TS04_PAGED WHERE TS04_NUMREG = 'R0001' AND TS04_PROG = 1"));
    other->Execute(QStringLiteral("INSERT INTO TS04_PAGED VALUES (1, 'R0001', 9, '20240101', 0, NULL)"));
    other->Execute(QStringLiteral("DELETE FROM TS04_PAGED WHERE TS04_NUMREG = 'R0000' AND TS04_PROG = 3"));
    QStringList keys;
    for (; !rs.AtEOF(); rs.MoveNext()) keys.append(keyOf(rs));
    // The loaded page as it was read; the pages after it as they are now.
    EXPECT_EQ(keys, (QStringList{"R0000/1", "R0000/2", "R0000/3", "R0001/2", "R0001/3", "R0001/9", "R0002/1",
                                 "R0002/2", "R0002/3"}));

    // The current Bill deleted by another user: read again, the one that followed it.
    rs.MoveFirst();
    rs.MoveNext();
    other->Execute(QStringLiteral("DELETE FROM TS04_PAGED WHERE TS04_NUMREG = 'R0000' AND TS04_PROG = 2"));
    rs.RequeryAround();
    EXPECT_EQ(keyOf(rs), QStringLiteral("R0001/2"));
    rs.MovePrevious();
    EXPECT_EQ(keyOf(rs), QStringLiteral("R0000/1"));
    // The last one deleted: the one before it.
    rs.MoveLast();
    other->Execute(QStringLiteral("DELETE FROM TS04_PAGED WHERE TS04_NUMREG = 'R0002' AND TS04_PROG = 3"));
    rs.RequeryAround();
    EXPECT_EQ(keyOf(rs), QStringLiteral("R0002/2"));

    // A selection that fits a page is read again whole: the same answers, and the usual reads
    // once it has grown past the page.
    Recordset few;
    few.OpenPaged(kSelect + QStringLiteral(" AND TS04_NUMREG > 'R0000'"), QStringLiteral("TS04_NUMREG"),
                  conn_, 8);
    few.Move(2);  // R0001/9
    other->Execute(QStringLiteral("DELETE FROM TS04_PAGED WHERE TS04_NUMREG = 'R0001' AND TS04_PROG = 9"));
    few.RequeryAround();
    EXPECT_EQ(keyOf(few), QStringLiteral("R0002/1"));
    few.MoveLast();
    other->Execute(QStringLiteral("DELETE FROM TS04_PAGED WHERE TS04_NUMREG = 'R0002' AND TS04_PROG = 2"));
    few.RequeryAround();
    EXPECT_EQ(keyOf(few), QStringLiteral("R0002/1"));
    fill(18, 9);
    few.RequeryAround();
    EXPECT_EQ(keyOf(few), QStringLiteral("R0002/1"));
    EXPECT_EQ(forward(few).size(), 21);
}

TEST_P(PagedRecordsetTest, ANewOrChangedBillStaysReachableAndIsNotMetTwice) {
    fill(9);
    Recordset rs;
    rs.OpenPaged(kSelect, QStringLiteral("TS04_DUE, TS04_NUMREG"), conn_, 4);
    // A Bill added while the first page is loaded, saved, and then met further on by the
    // page reads: shown once.
    rs.AddNew();
    rs.Fields(QStringLiteral("TS04_DITTA")).setValue(1);
    rs.Fields(QStringLiteral("TS04_NUMREG")).setValue(QStringLiteral("R0009"));
    rs.Fields(QStringLiteral("TS04_PROG")).setValue(1);
    rs.Fields(QStringLiteral("TS04_DUE")).setValue(QDate(2024, 1, 3));
    rs.Fields(QStringLiteral("TS04_GRP")).setValue(0);
    rs.Update();
    rs.UpdateBatch();
    // The first Bill's due date moved to the end of the order: still where it was read.
    rs.MoveFirst();
    const QString first = keyOf(rs);
    rs.Fields(QStringLiteral("TS04_DUE")).setValue(QDate(2024, 12, 31));
    rs.Update();
    rs.UpdateBatch();
    EXPECT_EQ(keyOf(rs), first);
    const QStringList keys = forward(rs);
    EXPECT_EQ(keys.size(), 10);
    EXPECT_EQ(keys.count(first), 1);
    EXPECT_EQ(keys.count(QStringLiteral("R0009/1")), 1);
    // A client-side filter needs the whole selection: it reads it.
    rs.setFilter(QStringLiteral("TS04_GRP = 2"));
    EXPECT_EQ(rs.RecordCount(), 3);
    rs.setFilter(QString());
    EXPECT_EQ(rs.RecordCount(), 10);
}

INSTANTIATE_ON_ENGINES_AND_ODBC(PagedRecordsetTest);

}  // namespace

#include "ChildQueries.h"
#include "DemoDatabase.h"
#include "DemoGenerator.h"
#include "HeaderQuery.h"
#include "ListTotals.h"
#include "Schema.h"
#include "SchemaInstaller.h"
#include "SqlText.h"

#include <gtest/gtest.h>

namespace {

// The plan the engine chooses for a query, as one text (SQLite's EXPLAIN QUERY PLAN details,
// PostgreSQL's EXPLAIN lines), upper-cased.
QString plan(Connection& c, const QString& sql) {
    const bool sqlite = c.dialect().engine() == SqlDialect::Engine::Sqlite;
    QString text;
    QString statement;
    for (const EngineStatement& s : c.dialect().translate(sql)) statement += s.sql;
    for (const ResultSet& r :
         c.Query((sqlite ? QStringLiteral("EXPLAIN QUERY PLAN ") : QStringLiteral("EXPLAIN ")) + statement))
        for (const auto& row : r.rows)
            for (const QVariant& v : row) text += v.toString() + QLatin1Char('\n');
    return text.toUpper();
}

// SQLite names a primary key's index SQLITE_AUTOINDEX_<table>_1, PostgreSQL <table>_PKEY.
bool usesPrimaryKey(const QString& plan) {
    return plan.contains(QStringLiteral("USING INDEX SQLITE_AUTOINDEX_")) ||
           plan.contains(QStringLiteral("_PKEY"));
}

class QueryPlanEngine : public ::testing::TestWithParam<TestEngine> {
protected:
    void SetUp() override {
        REQUIRE_ENGINE(GetParam());
        demo_.emplace(GetParam(), 300);
        c_ = demo_->connection;  // analysed by the demo, as the clerk's database is
        // A few hundred rows fit a page or two: without this PostgreSQL rightly reads them all,
        // and sorts them rather than read an index in order.
        if (GetParam() == TestEngine::PostgreSql) {
            c_->Execute(QStringLiteral("SET enable_seqscan = off"));
            c_->Execute(QStringLiteral("SET enable_sort = off"));
        }
    }

    static HeaderQuery usualSelection(const QString& selection = QString()) {
        HeaderQuery q = DemoGenerator::customerBills();
        q.selection = selection;
        return q;
    }

    // The form's first page of a selection, as it reads it.
    QString firstPage(const QString& selection = QString()) const {
        return c_->dialect().limited(usualSelection(selection).text(), 100);
    }

    std::optional<DemoDatabase> demo_;
    std::shared_ptr<Connection> c_;
};

TEST_P(QueryPlanEngine, HeaderQueryChildQueriesAndLookupsUseIndexes) {
    // The form's header on all customer Bills: the archive index, read in the order asked.
    const QString header = plan(*c_, firstPage());
    EXPECT_TRUE(header.contains(QStringLiteral("IX_EF01_ARCHIVIO"))) << header.toStdString();
    EXPECT_FALSE(header.contains(QStringLiteral("TEMP B-TREE FOR ORDER BY"))) << header.toStdString();
    // The figures under the list: from their index alone, already grouped by currency.
    const QString totals =
        plan(*c_, ListTotals::query(usualSelection().selectText(), DemoGenerator::today()));
    EXPECT_TRUE(totals.contains(QStringLiteral("IX_EF01_TOTALI"))) << totals.toStdString();
    EXPECT_FALSE(totals.contains(QStringLiteral("TEMP B-TREE"))) << totals.toStdString();
    // One customer's Bills from the calling program.
    const QString counterpart = plan(*c_, usualSelection(QStringLiteral("EF01_CLIFOR_CG44 = 12")).text());
    EXPECT_TRUE(counterpart.contains(QStringLiteral("IX_EF01_"))) << counterpart.toStdString();
    EXPECT_FALSE(counterpart.contains(QStringLiteral("SCAN EF01_SCADENZE\n"))) << counterpart.toStdString();

    // A Bill's children, by the Bill's key: the child tables' primary keys start with it.
    ChildQueries::Key key{DemoGenerator::kCompany, QStringLiteral("2024000001"), 1, 1, 1};
    for (const QString& sql : {ChildQueries::storico(key), ChildQueries::solleciti(key),
                               ChildQueries::note(key), ChildQueries::cambialiCessioni(key)}) {
        const QString p = plan(*c_, sql.section(QLatin1Char(';'), 0, 0));
        EXPECT_TRUE(usesPrimaryKey(p)) << sql.toStdString() << "\n" << p.toStdString();
    }
    // A Bill by its key and the registration number within a company: the primary key.
    const QString byNumber =
        plan(*c_, QStringLiteral("SELECT * FROM EF01_SCADENZE WHERE EF01_DITTA_CG18 = 1 AND "
                                 "EF01_NUMREG_CO99 = '2024000001'"));
    EXPECT_TRUE(usesPrimaryKey(byNumber)) << byNumber.toStdString();
    // A slip's Bills (its file, withdrawal and outcomes): the movements by their slip link.
    const QString slip = plan(*c_, QStringLiteral("SELECT * FROM EF06_SCADSTO WHERE EF06_DITTA_EF09 = 1 AND "
                                                  "EF06_INDTIPODIST_EF09 = 0 AND EF06_ANNO_EF09 = 2024 AND "
                                                  "EF06_NUMDIST_EF09 = 1"));
    EXPECT_TRUE(slip.contains(QStringLiteral("IX_EF06_DISTINTA"))) << slip.toStdString();
}

// A selection by registry name reads the Bills of the counterparts so named through their index,
// and finds what the same selection tested Bill by Bill finds.
TEST_P(QueryPlanEngine, ARegistryNameSelectionReadsOnlyItsCounterpartsBills) {
    const auto count = [&](const QString& selection) {
        HeaderQuery q = usualSelection(selection);
        q.joined = true;
        const std::vector<ResultSet> r =
            c_->Query(QStringLiteral("SELECT COUNT(*) FROM (") + q.selectText() + QStringLiteral(") N"));
        return r.front().rows.front().value(0).toLongLong();
    };
    const std::vector<ResultSet> named =
        c_->Query(QStringLiteral("SELECT MIN(CG16_RAGSOANAG) FROM VCG16_CG44_ALLADATA WHERE "
                                 "VCG16_44_CF_DITTA = %1 AND VCG16_44_CF_TIPOCF = 0")
                      .arg(DemoGenerator::kCompany));
    const QString prefix =
        named.front().rows.front().value(0).toString().left(3).replace(u'\'', QStringLiteral("''"));
    const QString byName = QStringLiteral("ANAGCLIFOR.CG16_RAGSOANAG LIKE '%1%'").arg(prefix);
    HeaderQuery q = usualSelection(byName);
    q.joined = true;
    const QString p = plan(*c_, q.text());
    EXPECT_TRUE(p.contains(QStringLiteral("IX_EF01_CLIFOR"))) << p.toStdString();
    // A name given whole is found in the names' index, not by reading every registry period.
    q.selection = QStringLiteral("ANAGCLIFOR.CG16_RAGSOANAG = ") +
                  SqlText::quote(named.front().rows.front().value(0).toString());
    const QString whole = plan(*c_, q.text());
    EXPECT_TRUE(whole.contains(QStringLiteral("IX_CG16_RAGSOANAG"))) << whole.toStdString();
    // The same tests written with a function the narrowing does not know, so tested Bill by Bill.
    const long long found = count(byName);
    EXPECT_GT(found, 0);
    EXPECT_EQ(found, count(QStringLiteral("RTRIM(ANAGCLIFOR.CG16_RAGSOANAG) LIKE '%1%'").arg(prefix)));
    EXPECT_EQ(count(QStringLiteral("NOT ANAGCLIFOR.CG16_RAGSOANAG LIKE '%1%'").arg(prefix)),
              count(QStringLiteral("NOT RTRIM(ANAGCLIFOR.CG16_RAGSOANAG) LIKE '%1%'").arg(prefix)));
}

// A database installed before the indexes were declared gets them when it is opened.
TEST_P(QueryPlanEngine, OpeningAnOlderDatabaseAddsTheMissingIndexes) {
    const TableDef* bills = Schema::catalogue()->table(QStringLiteral("EF01_SCADENZE"));
    ASSERT_FALSE(bills->indexes.isEmpty());
    for (const IndexDef& index : bills->indexes) c_->Execute(QStringLiteral("DROP INDEX ") + index.name);
    EXPECT_FALSE(plan(*c_, firstPage()).contains(QStringLiteral("IX_EF01_ARCHIVIO")));
    SchemaInstaller installer(c_);
    installer.installOrVerify();
    EXPECT_TRUE(plan(*c_, firstPage()).contains(QStringLiteral("IX_EF01_ARCHIVIO")));
    EXPECT_NO_THROW(installer.addMissingIndexes());  // a second time finds them all there
}

INSTANTIATE_ON_ENGINES(QueryPlanEngine);

}  // namespace

#include "Connection.h"
#include "DatabaseNumberingService.h"
#include "SchemaInstaller.h"
#include "SharedConnection.h"
#include "SuiteError.h"
#include "TestDatabase.h"

#include <gtest/gtest.h>

#include <QSet>
#include <mutex>
#include <thread>

class NumberingTest : public ::testing::TestWithParam<TestEngine> {};
INSTANTIATE_ON_ENGINES(NumberingTest);

namespace {
DatabaseNumberingService service(const QString& cs, int series) {
    DatabaseNumberingService s;
    s.year = 2026;
    s.kind = 2;
    s.company = QStringLiteral("1");
    s.subSeries = QStringLiteral("00");
    s.series = series;
    s.connectionString = cs;
    return s;
}
}  // namespace

TEST_P(NumberingTest, TwoUsersAskingAtOnceGetDifferentNumbers) {
    REQUIRE_ENGINE(GetParam());
    TestDatabase db(GetParam());
    SchemaInstaller(db.connect(SchemaInstaller::catalogue())).install();

    DatabaseNumberingService first = service(db.connectionString(), 999);
    EXPECT_EQ(first.NextNumber(), 1);  // a new series starts at 1, prefixed by the year
    EXPECT_EQ(first.Prefix(), QStringLiteral("2026"));
    EXPECT_EQ(service(db.connectionString(), 921).NextNumber(), 1);  // series are independent

    QSet<qint64> taken{1};
    std::mutex lock;
    bool failed = false;
    auto user = [&] {
        DatabaseNumberingService s = service(db.connectionString(), 999);
        for (int i = 0; i < 25; ++i) {
            try {
                const qint64 n = s.NextNumber();
                std::lock_guard<std::mutex> g(lock);
                failed = failed || taken.contains(n);
                taken.insert(n);
            } catch (const SuiteError&) {
                std::lock_guard<std::mutex> g(lock);
                failed = true;
            }
        }
    };
    std::thread a(user), b(user);
    a.join();
    b.join();
    EXPECT_FALSE(failed);
    EXPECT_EQ(taken.size(), 51);
    EXPECT_EQ(*std::max_element(taken.begin(), taken.end()), 51);

    DatabaseNumberingService unset = service(db.connectionString(), 999);
    unset.company = QStringLiteral("uno");
    EXPECT_THROW(unset.NextNumber(), SuiteError);
}

TEST_P(NumberingTest, TheHostsConnectionServesTheNumbersButNeverInsideATransaction) {
    REQUIRE_ENGINE(GetParam());
    TestDatabase db(GetParam());
    SchemaInstaller(db.connect(SchemaInstaller::catalogue())).install();
    auto host = std::make_shared<Connection>();
    host->Open(db.connectionString());
    host->setCatalogue(SchemaInstaller::catalogue());
    auto next = [&] {
        DatabaseNumberingService s(host);
        s.year = 2026;
        s.company = QStringLiteral("1");
        s.series = 999;
        s.connectionString = db.connectionString();
        return s.NextNumber();
    };
    EXPECT_EQ(next(), 1);
    EXPECT_FALSE(host->InTransaction()) << "its own transaction is over";
    // A number taken while the connection is in a transaction stays taken when that rolls back.
    host->BeginTrans();
    EXPECT_EQ(next(), 2);
    host->RollbackTrans();
    EXPECT_EQ(next(), 3);
}

TEST(SharedConnection, OneForEachDatabaseWhileHeldTheHostsWhenOffered) {
    TestDatabase db(TestEngine::Sqlite);
    auto host = db.connect();
    SharedConnection::offer(host);
    EXPECT_EQ(SharedConnection::to(db.connectionString()), host);
    const TestDatabase second(TestEngine::Sqlite);
    const QString other = second.connectionString();
    std::weak_ptr<Connection> first = SharedConnection::to(other);
    EXPECT_TRUE(first.expired()) << "nobody held it: closed";
    const std::shared_ptr<Connection> held = SharedConnection::to(other);
    EXPECT_EQ(SharedConnection::to(other), held);
    EXPECT_NE(held, host);
}

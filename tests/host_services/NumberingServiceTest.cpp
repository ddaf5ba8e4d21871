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
// A series of the database the host's connection `host` is to.
DatabaseNumberingService service(const std::shared_ptr<Connection>& host, int series) {
    DatabaseNumberingService s(host);
    s.year = 2026;
    s.kind = 2;
    s.company = QStringLiteral("1");
    s.subSeries = QStringLiteral("00");
    s.series = series;
    s.connectionString = host->ConnectionString();
    return s;
}
}  // namespace

TEST_P(NumberingTest, TwoUsersAskingAtOnceGetDifferentNumbers) {
    REQUIRE_ENGINE(GetParam());
    TestDatabase db(GetParam());
    SchemaInstaller(db.connect(SchemaInstaller::catalogue())).install();

    const auto host = db.connect(SchemaInstaller::catalogue());
    DatabaseNumberingService first = service(host, 999);
    EXPECT_EQ(first.NextNumber(), 1);  // a new series starts at 1, prefixed by the year
    EXPECT_EQ(first.Prefix(), QStringLiteral("2026"));
    EXPECT_EQ(service(host, 921).NextNumber(), 1);  // series are independent

    QSet<qint64> taken{1};
    std::mutex lock;
    bool failed = false;
    auto user = [&] {
        DatabaseNumberingService s = service(db.connect(SchemaInstaller::catalogue()), 999);
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

    DatabaseNumberingService unset = service(host, 999);
    unset.company = QStringLiteral("uno");
    EXPECT_THROW(unset.NextNumber(), SuiteError);
    // Numbers come only from the host's database, through the session's connections.
    const TestDatabase other(TestEngine::Sqlite);
    DatabaseNumberingService elsewhere = service(host, 999);
    elsewhere.connectionString = other.connectionString();
    EXPECT_THROW(elsewhere.NextNumber(), SuiteError);
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

TEST(SharedConnection, OneForEachDatabaseWhileHeldNewOnesFromTheOfferedFactoryNoneElsewhere) {
    TestDatabase db(TestEngine::Sqlite);
    auto host = db.connect(SchemaInstaller::catalogue());
    SharedConnection::offer(host);
    EXPECT_EQ(SharedConnection::to(db.connectionString()), host);
    // A database no session offered is not opened from its bare connection string.
    const TestDatabase second(TestEngine::Sqlite);
    EXPECT_THROW(SharedConnection::to(second.connectionString()), SuiteError);
    // Once the holder let go, the next one comes from the offered connection's factory, with its
    // catalogue, counted with it; while held, it is the one answered.
    const int opened = host->factory().opened();
    const std::weak_ptr<Connection> gone = host;
    host.reset();
    EXPECT_TRUE(gone.expired());
    const std::shared_ptr<Connection> again = SharedConnection::to(db.connectionString());
    EXPECT_EQ(again->factory().opened(), opened + 1);
    EXPECT_EQ(again->catalogue(), SchemaInstaller::catalogue().get());
    EXPECT_EQ(SharedConnection::to(db.connectionString()), again);
}

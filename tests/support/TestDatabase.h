#pragma once

#include "Connection.h"

#include <QString>
#include <memory>
#include <string>

// The engines every database test runs on; Odbc is the test PostgreSQL server reached through
// its ODBC driver (unixODBC's "PostgreSQL Unicode"), or the odbc: text KV_TEST_ODBC names.
enum class TestEngine { Sqlite, PostgreSql, Odbc };
std::string engineName(TestEngine engine);

// A fresh, empty database for one test: an SQLite file in a temporary folder, or a schema of
// its own in the test PostgreSQL database named by KV_TEST_PG. Removed when the test ends.
class TestDatabase {
public:
    explicit TestDatabase(TestEngine engine);
    ~TestDatabase();
    TestDatabase(const TestDatabase&) = delete;
    TestDatabase& operator=(const TestDatabase&) = delete;

    // False (with the reason) when the engine cannot be had here: PostgreSQL without KV_TEST_PG.
    // Under CI a missing engine is a failure, not a skip.
    static bool available(TestEngine engine, QString* reason = nullptr);

    TestEngine engine() const { return engine_; }
    const QString& connectionString() const { return connectionString_; }
    // Where a login role signs in with a password: the server over TCP on this machine (the
    // socket admits only the operating-system user).
    QString signInString() const;
    // A new open connection to the database.
    std::shared_ptr<Connection> connect(std::shared_ptr<const SchemaCatalogue> catalogue = nullptr) const;

private:
    TestEngine engine_;
    QString connectionString_;
    QString path_;    // SQLite file
    QString schema_;  // PostgreSQL schema
};

// The test server through ODBC (without a schema): KV_TEST_ODBC, or made from KV_TEST_PG.
QString odbcTestString(bool overTcp = false);

// True where what a test needs (an engine, a program such as pdftotext, unzip or the PostgreSQL
// server programs) must be there: under CI, or with KV_REQUIRE_TOOLS set (scripts/test.sh sets
// it). A missing one then fails the test instead of skipping it.
inline bool toolsRequired() {
    return qEnvironmentVariableIsSet("CI") || qEnvironmentVariableIsSet("KV_REQUIRE_TOOLS");
}

// Skips the current test for `why`, or fails it where tools are required.
#define SKIP_OR_FAIL(why)                     \
    do {                                      \
        if (toolsRequired()) FAIL() << (why); \
        GTEST_SKIP() << (why);                \
    } while (0)

// Skips (or, where tools are required, fails) the current test when the engine is not available.
#define REQUIRE_ENGINE(engine)                         \
    do {                                               \
        QString why_;                                  \
        if (!TestDatabase::available(engine, &why_)) { \
            SKIP_OR_FAIL(why_.toStdString());          \
        }                                              \
    } while (0)

// Runs a parameterised suite on both engines, named after them.
#define INSTANTIATE_ON_ENGINES(Suite)                                                                       \
    INSTANTIATE_TEST_SUITE_P(Engines, Suite, ::testing::Values(TestEngine::Sqlite, TestEngine::PostgreSql), \
                             [](const auto& info) { return engineName(info.param); })
// The same, and a third time over ODBC: for the data layer, signing in and concurrency.
#define INSTANTIATE_ON_ENGINES_AND_ODBC(Suite)                                                           \
    INSTANTIATE_TEST_SUITE_P(                                                                            \
        Engines, Suite, ::testing::Values(TestEngine::Sqlite, TestEngine::PostgreSql, TestEngine::Odbc), \
        [](const auto& info) { return engineName(info.param); })

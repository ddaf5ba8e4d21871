#include "Connection.h"
#include "DriverApplication.h"
#include "JsonLine.h"
#include "TechnicalLog.h"
#include "TestDatabase.h"
#include "Value.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <map>

namespace {

// Every scenario of tests/scenarios replayed by the driver on the demo company, as
//   kv_driver --db sqlite:DEMO --company 1 --user MROSSI --password Rossi.2024 < NAME.scn
// would, and again on the test PostgreSQL server reached through ODBC, where MROSSI signs in as
// his login role. A scenario names the Bill it opens with placeholders that the test fills from
// the demo database, so that it survives changes of the demo data: @KEY@ (company,numreg,row,
// progec,progeff), @NUMREG@ and @PROGEFF@ of the first customer Bill of company 1.
// NAME.out holds the observations followed by one line the test adds:
// {"exit":CODE,"error":"..."} (error null on success); NAME.ODBC.out where ODBC's differ.
// KV_UPDATE_SCENARIOS=1 writes the .out files from what the driver does now on SQLite, to be read and
// committed after checking.
class ScenarioFiles : public ::testing::TestWithParam<std::tuple<TestEngine, QString>> {
protected:
    // The demo company on one engine, made once for every scenario.
    struct Demo {
        std::unique_ptr<TestDatabase> db;
        QString signIn;  // the connection string the clerk signs in on
        QList<std::pair<QString, QString>> placeholders;
    };

    void SetUp() override {
        REQUIRE_ENGINE(engine());
        if (!demos_.contains(engine())) {
            ASSERT_NO_FATAL_FAILURE(makeDemo(engine()));
        }
    }
    static void TearDownTestSuite() { demos_.clear(); }

    static TestEngine engine() {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        return info && info->value_param() && QByteArray(info->name()).endsWith("_ODBC") ? TestEngine::Odbc
                                                                                         : TestEngine::Sqlite;
    }

    static void makeDemo(TestEngine engine) {
        Demo demo;
        demo.db = std::make_unique<TestDatabase>(engine);
        demo.signIn = demo.db->signInString();
        QBuffer nothing;
        nothing.open(QIODevice::ReadOnly);
        QString error;
        // The installer's own access makes the company (on the server: its tables and roles).
        ASSERT_EQ(DriverApplication::run(
                      {QStringLiteral("--db"), demo.db->connectionString(), QStringLiteral("--demo"),
                       QStringLiteral("--company"), QStringLiteral("1"), QStringLiteral("--user"),
                       QStringLiteral("ADMIN"), QStringLiteral("--trusted")},
                      nothing, {}, &error),
                  0)
            << error.toStdString();
        const auto c = demo.db->connect();
        const std::vector<ResultSet> bills = c->Query(QStringLiteral(
            "SELECT EF01_DITTA_CG18, EF01_NUMREG_CO99, EF01_RIGACONT_CG42, EF01_PROGEC_EC01, EF01_PROGEFF"
            " FROM EF01_SCADENZE WHERE EF01_DITTA_CG18 = 1 AND EF01_TIPOCF_CG44 = 0 ORDER BY "
            "EF01_NUMREG_CO99,"
            " EF01_RIGACONT_CG42, EF01_PROGEC_EC01, EF01_PROGEFF"));
        ASSERT_FALSE(bills.empty() || bills.front().rows.empty()) << "the demo company has no customer Bill";
        QStringList key;
        for (const QVariant& v : bills.front().rows.front()) key << Value::toText(v).trimmed();
        demo.placeholders = {{QStringLiteral("@KEY@"), key.join(u',')},
                             {QStringLiteral("@NUMREG@"), key[1]},
                             {QStringLiteral("@PROGEFF@"), key[4]}};
        demos_[engine] = std::move(demo);
    }

    static QStringList arguments() {
        return {QStringLiteral("--db"),       demos_[engine()].signIn,     QStringLiteral("--company"),
                QStringLiteral("1"),          QStringLiteral("--user"),    QStringLiteral("MROSSI"),
                QStringLiteral("--password"), QStringLiteral("Rossi.2024")};
    }

    static inline std::map<TestEngine, Demo> demos_;
};

std::vector<QString> scenarios() {
    std::vector<QString> names;
    for (QString n :
         QDir(QStringLiteral(KV_SCENARIO_DIR)).entryList({QStringLiteral("*.scn")}, QDir::Files, QDir::Name))
        names.push_back(n.chopped(4));
    return names;
}

TEST_P(ScenarioFiles, ObservationsMatchTheExpectedOutput) {
    const QString base = QStringLiteral(KV_SCENARIO_DIR "/") + std::get<1>(GetParam());
    QFile scenarioFile(base + QStringLiteral(".scn"));
    ASSERT_TRUE(scenarioFile.open(QIODevice::ReadOnly));
    QString scenario = QString::fromUtf8(scenarioFile.readAll());
    for (const auto& [name, value] : demos_[engine()].placeholders) scenario.replace(name, value);
    QBuffer input;
    input.setData(scenario.toUtf8());
    input.open(QIODevice::ReadOnly);
    QByteArray actual;
    QString error;
    const int code = DriverApplication::run(
        arguments(), input, [&](const QByteArray& line) { actual += line + '\n'; }, &error);
    actual += "{\"exit\":" + QByteArray::number(code) +
              ",\"error\":" + (error.isEmpty() ? QByteArray("null") : JsonLine::string(error)) + "}\n";
    // A failed statement names the technical log, which is the run's own.
    actual.replace(TechnicalLog::path().toUtf8(), "REGISTRO");

    // Where an engine's own words show (a failed statement), NAME.ENGINE.out holds its output.
    const QString ownOutput =
        base + u'.' + QString::fromStdString(engineName(engine())) + QStringLiteral(".out");
    QFile expectedFile(QFile::exists(ownOutput) ? ownOutput : base + QStringLiteral(".out"));
    if (qEnvironmentVariableIntValue("KV_UPDATE_SCENARIOS") == 1 && engine() == TestEngine::Sqlite) {
        ASSERT_TRUE(expectedFile.open(QIODevice::WriteOnly | QIODevice::Truncate));
        expectedFile.write(actual);
        return;
    }
    ASSERT_TRUE(expectedFile.open(QIODevice::ReadOnly))
        << "missing " << expectedFile.fileName().toStdString();
    EXPECT_EQ(QString::fromUtf8(actual).toStdString(),
              QString::fromUtf8(expectedFile.readAll()).toStdString());
}

TEST_F(ScenarioFiles, CommandLineMistakesAndAMissingUserAreReportedNotRun) {
    const auto exitOf = [](QStringList arguments, QString* error) {
        QBuffer script;
        script.setData("messages\n");
        script.open(QIODevice::ReadOnly);
        QByteArray out;
        const int code = DriverApplication::run(
            arguments, script, [&](const QByteArray& line) { out += line; }, error);
        EXPECT_TRUE(code == 0 || out.isEmpty()) << out.toStdString();
        return code;
    };
    QString error;
    EXPECT_EQ(exitOf(arguments().mid(0, 4), &error), 2);  // no user
    EXPECT_TRUE(error.startsWith(QStringLiteral("usage: kv_driver"))) << error.toStdString();
    QStringList badCompany = arguments();
    badCompany[3] = QStringLiteral("uno");
    EXPECT_EQ(exitOf(badCompany, &error), 2);
    QTemporaryFile file;
    ASSERT_TRUE(file.open());
    file.write("messages\n");
    file.close();
    EXPECT_EQ(exitOf(arguments() << file.fileName(), &error), 0) << error.toStdString();
    EXPECT_EQ(exitOf(arguments() << QStringLiteral("/nonexistent/x.scn"), &error), 2);
    EXPECT_TRUE(error.startsWith(QStringLiteral("cannot read /nonexistent/x.scn"))) << error.toStdString();
    QStringList nobody = arguments();
    nobody[5] = QStringLiteral("NOBODY");
    EXPECT_EQ(exitOf(nobody, &error), 1);
    EXPECT_EQ(error, QStringLiteral("Utente o password non validi. (0x80040E09)"));
    QStringList wrongPassword = arguments();
    wrongPassword[5] = QStringLiteral("GDANGELO");
    EXPECT_EQ(exitOf(wrongPassword, &error), 1);
    EXPECT_EQ(error, QStringLiteral("Utente o password non validi. (0x80040E09)"));
    // Neither a password nor the test switch, or both: the usage.
    EXPECT_EQ(exitOf(arguments().mid(0, 6), &error), 2);
    EXPECT_EQ(exitOf(arguments() << QStringLiteral("--trusted"), &error), 2);
    // The scenario from standard input, with the privileged switch.
    EXPECT_EQ(exitOf(arguments() << QStringLiteral("--privileged"), &error), 0) << error.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Scenarios, ScenarioFiles,
                         ::testing::Combine(::testing::Values(TestEngine::Sqlite, TestEngine::Odbc),
                                            ::testing::ValuesIn(scenarios())),
                         [](const auto& info) {
                             return std::get<1>(info.param).toStdString() + "_" +
                                    engineName(std::get<0>(info.param));
                         });

}  // namespace

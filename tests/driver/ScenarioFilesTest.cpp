#include "Connection.h"
#include "DriverApplication.h"
#include "JsonLine.h"
#include "Value.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTemporaryFile>

namespace {

// Every scenario of tests/scenarios replayed by the driver on the demo company, as
//   kv_driver --db sqlite:DEMO --company 1 --user MROSSI --password Rossi.2024 < NAME.scn
// would. A scenario names the Bill it opens with placeholders that the test fills from the demo
// database, so that it survives changes of the demo data: @KEY@ (company,numreg,row,progec,
// progeff), @NUMREG@ and @PROGEFF@ of the first customer Bill of company 1.
// NAME.out holds the observations followed by one line the test adds:
// {"exit":CODE,"error":"..."} (error null on success). KV_UPDATE_SCENARIOS=1 writes the .out
// files from what the driver does now, to be read and committed after checking.
class ScenarioFiles : public ::testing::TestWithParam<QString> {
protected:
    static void SetUpTestSuite() {
        dir_ = new QTemporaryDir;
        database_ = QStringLiteral("sqlite:") + dir_->filePath(QStringLiteral("demo.sqlite"));
        QBuffer nothing;
        nothing.open(QIODevice::ReadOnly);
        QString error;
        ASSERT_EQ(DriverApplication::run(arguments() << QStringLiteral("--demo"), nothing, {}, &error), 0)
            << error.toStdString();
        Connection c;
        c.Open(database_);
        const std::vector<ResultSet> bills = c.Query(QStringLiteral(
            "SELECT EF01_DITTA_CG18, EF01_NUMREG_CO99, EF01_RIGACONT_CG42, EF01_PROGEC_EC01, EF01_PROGEFF"
            " FROM EF01_SCADENZE WHERE EF01_DITTA_CG18 = 1 AND EF01_TIPOCF_CG44 = 0 ORDER BY "
            "EF01_NUMREG_CO99,"
            " EF01_RIGACONT_CG42, EF01_PROGEC_EC01, EF01_PROGEFF"));
        ASSERT_FALSE(bills.empty() || bills.front().rows.empty()) << "the demo company has no customer Bill";
        QStringList key;
        for (const QVariant& v : bills.front().rows.front()) key << Value::toText(v).trimmed();
        placeholders_ = {{QStringLiteral("@KEY@"), key.join(u',')},
                         {QStringLiteral("@NUMREG@"), key[1]},
                         {QStringLiteral("@PROGEFF@"), key[4]}};
        c.Close();
    }
    static void TearDownTestSuite() {
        delete dir_;
        dir_ = nullptr;
    }
    static QStringList arguments() {
        return {QStringLiteral("--db"),       database_,
                QStringLiteral("--company"),  QStringLiteral("1"),
                QStringLiteral("--user"),     QStringLiteral("MROSSI"),
                QStringLiteral("--password"), QStringLiteral("Rossi.2024")};
    }

    static QTemporaryDir* dir_;
    static QString database_;
    static QList<std::pair<QString, QString>> placeholders_;
};

QTemporaryDir* ScenarioFiles::dir_ = nullptr;
QString ScenarioFiles::database_;
QList<std::pair<QString, QString>> ScenarioFiles::placeholders_;

std::vector<QString> scenarios() {
    std::vector<QString> names;
    for (QString n :
         QDir(QStringLiteral(KV_SCENARIO_DIR)).entryList({QStringLiteral("*.scn")}, QDir::Files, QDir::Name))
        names.push_back(n.chopped(4));
    return names;
}

TEST_P(ScenarioFiles, ObservationsMatchTheExpectedOutput) {
    const QString base = QStringLiteral(KV_SCENARIO_DIR "/") + GetParam();
    QFile scenarioFile(base + QStringLiteral(".scn"));
    ASSERT_TRUE(scenarioFile.open(QIODevice::ReadOnly));
    QString scenario = QString::fromUtf8(scenarioFile.readAll());
    for (const auto& [name, value] : placeholders_) scenario.replace(name, value);
    QBuffer input;
    input.setData(scenario.toUtf8());
    input.open(QIODevice::ReadOnly);
    QByteArray actual;
    QString error;
    const int code = DriverApplication::run(
        arguments(), input, [&](const QByteArray& line) { actual += line + '\n'; }, &error);
    actual += "{\"exit\":" + QByteArray::number(code) +
              ",\"error\":" + (error.isEmpty() ? QByteArray("null") : JsonLine::string(error)) + "}\n";

    QFile expectedFile(base + QStringLiteral(".out"));
    if (qEnvironmentVariableIntValue("KV_UPDATE_SCENARIOS") == 1) {
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

INSTANTIATE_TEST_SUITE_P(Scenarios, ScenarioFiles, ::testing::ValuesIn(scenarios()),
                         [](const ::testing::TestParamInfo<QString>& info) {
                             return info.param.toStdString();
                         });

}  // namespace

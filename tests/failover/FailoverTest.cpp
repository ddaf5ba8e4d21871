// The primary server dies while a clerk's save waits in it, and its synchronous standby is
// promoted: the clerk is told, nothing acknowledged is lost, the save in flight left nothing
// behind, and the edit still pending is saved on the new primary by the same open form.
#include "CLSKV_TARSELLO.h"
#include "Connection.h"
#include "DatabaseHost.h"
#include "DemoGenerator.h"
#include "FRMKV_TARSELLO.h"
#include "MainNavigator.h"
#include "Recordset.h"
#include "SchemaInstaller.h"
#include "ScriptedLogService.h"
#include "SuiteError.h"
#include "TestDatabase.h"
#include "Value.h"
#include "VirtualFrame.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <thread>

namespace {

const QString kCounter = QStringLiteral("EF01_NUMSTEFF_S");

// The two clusters of scripts/failover-cluster.sh in a folder of their own, removed at the end.
class Clusters {
public:
    // Answers the script's exit code; its output goes to `log`.
    int run(const QStringList& arguments) {
        QProcess script;
        script.setProcessChannelMode(QProcess::MergedChannels);
        script.start(QStringLiteral(KV_FAILOVER_SCRIPT),
                     QStringList{arguments.first(), dir_.path()} + arguments.mid(1));
        script.waitForFinished(120000);
        log += script.readAll();
        return script.exitStatus() == QProcess::NormalExit ? script.exitCode() : -1;
    }
    ~Clusters() {
        if (up) run({QStringLiteral("down")});
    }
    QString connectionString() const {
        // Ports only name sockets in the private folder: they cannot clash with anything.
        return QStringLiteral(
                   "postgresql:///postgres?host=%1&port=6401,6402&target_session_attrs=read-write"
                   "&connect_timeout=5")
            .arg(dir_.path());
    }

    bool up = false;
    QByteArray log;

private:
    QTemporaryDir dir_;
};

qint64 scalar(const QString& connectionString, const QString& sql) {
    auto c = std::make_shared<Connection>();
    c->Open(connectionString);
    Recordset rs;
    rs.Open(sql, c);
    return Value::toDecimal(rs.Fields(0).Value()).toLongLong();
}

}  // namespace

// The two clusters with the demo company, and the first customer Bill not handed to treasury.
class Failover : public ::testing::Test {
protected:
    void SetUp() override {
        // A clerk's sessions wait for the standby at each commit: whatever options the test run
        // gives its own server's sessions (scripts/test.sh does not let them wait) stay there.
        qunsetenv("PGOPTIONS");
        const int started =
            clusters.run({QStringLiteral("up"), QStringLiteral("6401"), QStringLiteral("6402")});
        if (started == 3) SKIP_OR_FAIL("no PostgreSQL server programs here: " + clusters.log.toStdString());
        ASSERT_EQ(started, 0) << clusters.log.toStdString();
        clusters.up = true;
        cs = clusters.connectionString();
        auto c = std::make_shared<Connection>();
        c->Open(cs);
        DemoGenerator::installOn(c, {.bills = 20});
        Recordset first;
        first.Open(
            QStringLiteral("SELECT EF01_NUMREG_CO99, EF01_RIGACONT_CG42, EF01_PROGEC_EC01, EF01_PROGEFF"
                           " FROM EF01_SCADENZE WHERE EF01_DITTA_CG18 = 1 AND EF01_TIPOCF_CG44 = 0"
                           " AND EF01_INDEXP = 0 ORDER BY EF01_NUMREG_CO99"),
            c);
        ASSERT_FALSE(first.AtEOF());
        numReg = Value::toText(first.Fields(0).Value()).trimmed();
        billWhere = QStringLiteral(
                        " FROM EF01_SCADENZE WHERE EF01_DITTA_CG18 = 1 AND EF01_NUMREG_CO99 = '%1' AND "
                        "EF01_RIGACONT_CG42 = %2 AND EF01_PROGEC_EC01 = %3 AND EF01_PROGEFF = %4")
                        .arg(numReg, Value::toText(first.Fields(1).Value()),
                             Value::toText(first.Fields(2).Value()), Value::toText(first.Fields(3).Value()));
    }

    // The bill form opened by `module` on the Bills of that registration number.
    FRMKV_TARSELLO* show(CLSKV_TARSELLO& module) {
        if (!host) {
            host = std::make_shared<DatabaseHost>(cs, DemoGenerator::kCompany, QStringLiteral("MROSSI"));
            host->setLogServiceFactory([l = log] { return l; });
        }
        module.setClsGlobal(host);
        module.TipoArchivio = 0;
        module.StringaDiSelezioneEffetti = QStringLiteral("EF01_NUMREG_CO99 = '%1'").arg(numReg);
        module.ShowForm();
        return dynamic_cast<FRMKV_TARSELLO*>(module.form());
    }

    Clusters clusters;
    QString cs, numReg, billWhere;
    std::shared_ptr<DatabaseHost> host;
    std::shared_ptr<ScriptedLogService> log = std::make_shared<ScriptedLogService>();
};

TEST_F(Failover, TheClerkIsToldAndTheFormSavesTheEditStillPendingOnThePromotedStandby) {
    const QString movements =
        QStringLiteral("SELECT COUNT(*) FROM EF06_SCADSTO WHERE EF06_NUMREG_CO99 = '%1'").arg(numReg);
    const qint64 counter = scalar(cs, QStringLiteral("SELECT COALESCE(%1, 0)").arg(kCounter) + billWhere);
    const qint64 moved = scalar(cs, movements);

    CLSKV_TARSELLO module([] { return std::make_unique<FRMKV_TARSELLO>(); });
    auto* f = show(module);
    ASSERT_TRUE(f);
    auto addOne = [&] {
        Recordset& rs = *f->clsRstTestata;
        rs.Fields(kCounter).setValue(Value::toInt(rs.Fields(kCounter).Value()) + 1);
        f->FME_TESTATA->Refresh();
        f->FME_TESTATA->setRecordChanged(true);
    };
    addOne();
    ASSERT_TRUE(f->FME_TESTATA->UpdateRecord(true, false)) << log->messages().last().text.toStdString();

    // Another session holds the Bill: the next save waits in the primary when it dies.
    auto holder = std::make_shared<Connection>();
    holder->Open(cs);
    holder->BeginTrans();
    holder->Execute(QStringLiteral("UPDATE EF01_SCADENZE SET EF01_FLGEFFVAR = EF01_FLGEFFVAR") +
                    billWhere.section(QStringLiteral(" FROM EF01_SCADENZE"), 1));
    std::thread killer([&] {
        QThread::msleep(1500);
        clusters.run({QStringLiteral("kill")});
    });
    addOne();
    log->clear();
    const bool savedInFlight = f->FME_TESTATA->UpdateRecord(true, false);
    killer.join();
    EXPECT_FALSE(savedInFlight);
    ASSERT_FALSE(log->messages().isEmpty());
    EXPECT_TRUE(log->messages().last().text.contains(QStringLiteral("non è raggiungibile")))
        << log->messages().last().text.toStdString();
    EXPECT_TRUE(f->FME_TESTATA->isRecordChanged()) << "the edit stays pending";

    // Until the standby is promoted no server takes writes: the save is refused, the edit kept.
    log->clear();
    EXPECT_FALSE(f->FME_TESTATA->UpdateRecord(true, false));
    EXPECT_TRUE(f->FME_TESTATA->isRecordChanged());
    ASSERT_EQ(clusters.run({QStringLiteral("promote")}), 0) << clusters.log.toStdString();

    // The acknowledged save is on the new primary, the one in flight left nothing.
    EXPECT_EQ(scalar(cs, QStringLiteral("SELECT %1").arg(kCounter) + billWhere), counter + 1);
    EXPECT_EQ(scalar(cs, movements), moved + 1);

    log->clear();
    ASSERT_TRUE(f->FME_TESTATA->UpdateRecord(true, false)) << log->messages().last().text.toStdString();
    EXPECT_FALSE(f->FME_TESTATA->isRecordChanged());
    EXPECT_EQ(scalar(cs, QStringLiteral("SELECT %1").arg(kCounter) + billWhere), counter + 2);
    EXPECT_EQ(scalar(cs, movements), moved + 2);

    // Closing after the save went through tells nothing more: the host's connection, unused
    // since the failure, opens again as it saves the window's layout.
    log->clear();
    EXPECT_EQ(module.CloseForm(), QVariant(true));
    EXPECT_TRUE(log->messages().isEmpty()) << log->messages().value(0).text.toStdString();

    // A new Bill's numbers come through the host's connection too.
    CLSKV_TARSELLO again([] { return std::make_unique<FRMKV_TARSELLO>(); });
    f = show(again);
    ASSERT_TRUE(f);
    f->INV_MAIN->press(QStringLiteral("Nuovo"));
    ASSERT_EQ(f->FME_TESTATA->Status(), VirtualFrame::kStatusAdding);
    const QString newNumReg = f->newRegistrationNumber();
    ASSERT_FALSE(newNumReg.isEmpty()) << log->messages().last().text.toStdString();
    for (const auto& [column, value] :
         std::initializer_list<std::pair<const char*, QVariant>>{{"EF01_CLIFOR_CG44", 1},
                                                                 {"EF01_TIPOEFF", 2},
                                                                 {"EF01_SCADE_S", QDate(2026, 12, 31)},
                                                                 {"EF01_IMPEFF_S", QStringLiteral("10.00")},
                                                                 {"EF01_INDSTATO_S", 0},
                                                                 {"EF01_INDGENSTATO_S", 0}})
        f->clsRstTestata->Fields(QString::fromLatin1(column)).setValue(value);
    f->FME_TESTATA->Refresh();
    ASSERT_TRUE(f->FME_TESTATA->UpdateRecord(true, false)) << log->messages().last().text.toStdString();
    EXPECT_EQ(scalar(cs, QStringLiteral("SELECT COUNT(*) FROM EF01_SCADENZE WHERE EF01_NUMREG_CO99 = '%1'")
                             .arg(newNumReg)),
              1);
    log->enqueue(7);
    again.CloseForm();
}

// Synchronous replication with the standby down: a commit would wait for ever. The save gives
// up within its wait with a message, nothing is committed and the edit stays; with the standby
// back the same form saves it.
TEST_F(Failover, WithoutItsStandbyTheSaveGivesUpInTimeAndKeepsTheEdit) {
    CLSKV_TARSELLO module([] { return std::make_unique<FRMKV_TARSELLO>(); });
    auto* f = show(module);
    ASSERT_TRUE(f && f->clsRstTestata);
    const qint64 counter = scalar(cs, QStringLiteral("SELECT COALESCE(%1, 0)").arg(kCounter) + billWhere);

    ASSERT_EQ(clusters.run({QStringLiteral("standby-stop")}), 0) << clusters.log.toStdString();
    Recordset& rs = *f->clsRstTestata;
    rs.Fields(kCounter).setValue(counter + 1);
    f->FME_TESTATA->Refresh();
    f->FME_TESTATA->setRecordChanged(true);
    log->clear();
    QElapsedTimer waited;
    waited.start();
    EXPECT_FALSE(f->FME_TESTATA->UpdateRecord(true, false));
    EXPECT_LT(waited.elapsed(), 60000) << "the wait is bounded";
    ASSERT_FALSE(log->messages().isEmpty());
    EXPECT_TRUE(log->messages().last().text.contains(QStringLiteral("server di riserva")))
        << log->messages().last().text.toStdString();
    EXPECT_TRUE(f->FME_TESTATA->isRecordChanged()) << "the edit stays pending";
    EXPECT_EQ(scalar(cs, QStringLiteral("SELECT COALESCE(%1, 0)").arg(kCounter) + billWhere), counter)
        << "nothing committed on the primary";

    ASSERT_EQ(clusters.run({QStringLiteral("standby-start")}), 0) << clusters.log.toStdString();
    log->clear();
    ASSERT_TRUE(f->FME_TESTATA->UpdateRecord(true, false)) << log->messages().value(0).text.toStdString();
    EXPECT_EQ(scalar(cs, QStringLiteral("SELECT %1").arg(kCounter) + billWhere), counter + 1);
    log->enqueue(7);
    module.CloseForm();
}

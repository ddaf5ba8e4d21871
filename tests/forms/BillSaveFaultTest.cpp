// A save that fails at any of its writes leaves the database as it was before the save, and
// keeps what the clerk typed: each write is made to fail in turn by a trigger of the engine.
#include "CLSKV_TARSELLO.h"
#include "DatabaseHost.h"
#include "DemoDatabase.h"
#include "DemoGenerator.h"
#include "EditBox.h"
#include "FRMKV_TARSELLO.h"
#include "Recordset.h"
#include "SchemaInstaller.h"
#include "ScriptedLogService.h"
#include "TabControl.h"
#include "TechnicalLog.h"
#include "TestDatabase.h"
#include "Value.h"
#include "VirtualFrame.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QSqlError>
#include <QSqlQuery>

namespace {

enum class Fault { BillRow, HistoryMovement, ChangedMark, Notes, Reminders, Deletion };

struct Case {
    TestEngine engine;
    Fault fault;
};

std::string caseName(const ::testing::TestParamInfo<Case>& info) {
    static const char* const names[] = {"BillRow", "HistoryMovement", "ChangedMark", "Notes", "Reminders"};
    return engineName(info.param.engine) + "_" + names[int(info.param.fault)];
}

// The trigger that makes one write fail: the engine refuses the statement, as a full disk or a
// broken constraint would.
QStringList faultTrigger(TestEngine engine, Fault fault) {
    struct Target {
        const char* table;
        QStringList events;
        const char* when;  // the condition the failing rows meet
    };
    static const Target targets[] = {
        {"EF01_SCADENZE", {QStringLiteral("UPDATE")}, "NEW.EF01_SCADE_S <> OLD.EF01_SCADE_S"},
        {"EF06_SCADSTO", {QStringLiteral("INSERT")}, "1 = 1"},
        {"EF01_SCADENZE", {QStringLiteral("UPDATE")}, "NEW.EF01_FLGEFFVAR = 1 AND OLD.EF01_FLGEFFVAR <> 1"},
        {"EF04_SCADNOTE",
         {QStringLiteral("INSERT"), QStringLiteral("UPDATE")},
         "1 = 1"},  // a new note or a changed one
        {"EF05_SCADSOLLEC", {QStringLiteral("UPDATE")}, "1 = 1"},
        {"EF01_SCADENZE", {QStringLiteral("DELETE")}, "1 = 1"},
    };
    const Target& t = targets[int(fault)];
    QStringList out;
    if (engine == TestEngine::Sqlite) {
        for (const QString& event : t.events)
            out << QStringLiteral(
                       "CREATE TRIGGER KV_GUASTO_%1 BEFORE %1 ON %2 WHEN %3 BEGIN SELECT RAISE(ABORT, "
                       "'guasto simulato'); END")
                       .arg(event, QLatin1String(t.table), QLatin1String(t.when));
        return out;
    }
    return {
        QStringLiteral(
            "CREATE FUNCTION KV_GUASTO() RETURNS trigger AS 'BEGIN RAISE EXCEPTION ''guasto simulato''; END' "
            "LANGUAGE plpgsql"),
        QStringLiteral(
            "CREATE TRIGGER KV_GUASTO BEFORE %1 ON %2 FOR EACH ROW WHEN (%3) EXECUTE FUNCTION KV_GUASTO()")
            .arg(t.events.join(QStringLiteral(" OR ")), QLatin1String(t.table), QLatin1String(t.when))};
}

QStringList dropFaultTrigger(TestEngine engine, Fault fault) {
    static const char* const tables[] = {"EF01_SCADENZE", "EF06_SCADSTO", "EF01_SCADENZE", "EF04_SCADNOTE",
                                         "EF05_SCADSOLLEC"};
    if (engine == TestEngine::Sqlite)
        return {QStringLiteral("DROP TRIGGER IF EXISTS KV_GUASTO_INSERT"),
                QStringLiteral("DROP TRIGGER IF EXISTS KV_GUASTO_UPDATE")};
    return {QStringLiteral("DROP TRIGGER KV_GUASTO ON %1").arg(QLatin1String(tables[int(fault)]))};
}

}  // namespace

class BillSaveFaultTest : public ::testing::TestWithParam<Case> {};

INSTANTIATE_TEST_SUITE_P(EachWrite, BillSaveFaultTest,
                         ::testing::Values(Case{TestEngine::Sqlite, Fault::BillRow},
                                           Case{TestEngine::Sqlite, Fault::HistoryMovement},
                                           Case{TestEngine::Sqlite, Fault::ChangedMark},
                                           Case{TestEngine::Sqlite, Fault::Notes},
                                           Case{TestEngine::Sqlite, Fault::Reminders},
                                           Case{TestEngine::PostgreSql, Fault::BillRow},
                                           Case{TestEngine::PostgreSql, Fault::HistoryMovement},
                                           Case{TestEngine::PostgreSql, Fault::ChangedMark},
                                           Case{TestEngine::PostgreSql, Fault::Notes},
                                           Case{TestEngine::PostgreSql, Fault::Reminders}),
                         caseName);

TEST_P(BillSaveFaultTest, LeavesTheDatabaseAsBeforeAndKeepsWhatWasTyped) {
    REQUIRE_ENGINE(GetParam().engine);
    DemoDatabase demo(GetParam().engine, 40);
    auto c = demo.connection;

    // A customer Bill that has reminders, so that a reminder change can be part of the save.
    Recordset pick;
    pick.Open(
        QStringLiteral(
            "SELECT EF01_NUMREG_CO99, EF01_RIGACONT_CG42, EF01_PROGEC_EC01, EF01_PROGEFF FROM EF01_SCADENZE "
            "INNER JOIN EF05_SCADSOLLEC ON EF05_DITTA_CG18 = EF01_DITTA_CG18 AND EF05_NUMREG_CO99 = "
            "EF01_NUMREG_CO99 "
            "AND EF05_RIGACONT_EF01 = EF01_RIGACONT_CG42 AND EF05_PROGEC_EF01 = EF01_PROGEC_EC01 "
            "AND EF05_PROGEFF_EF01 = EF01_PROGEFF WHERE EF01_TIPOCF_CG44 = 0 AND EF01_INDEXP = 0 "
            "ORDER BY EF01_NUMREG_CO99"),
        c);
    ASSERT_FALSE(pick.AtEOF()) << "the demo company has customer bills with reminders";
    const QString numReg = Value::toText(pick.Fields(0).Value()).trimmed();
    const QString key =
        QStringLiteral("1,%1,%2,%3,%4")
            .arg(numReg, Value::toText(pick.Fields(1).Value()), Value::toText(pick.Fields(2).Value()),
                 Value::toText(pick.Fields(3).Value()));
    const QString where = QStringLiteral(" WHERE %1_NUMREG_CO99 = '%2'").arg(QStringLiteral("%1"), numReg);
    auto state = [&] {
        QStringList out;
        for (const QString& sql :
             {QStringLiteral("SELECT EF01_SCADE_S, EF01_FLGEFFVAR, EF01_NUMDOCORIG FROM EF01_SCADENZE") +
                  where.arg(QStringLiteral("EF01")),
              QStringLiteral("SELECT COUNT(*) FROM EF06_SCADSTO") + where.arg(QStringLiteral("EF06")),
              QStringLiteral("SELECT COUNT(*) FROM EF04_SCADNOTE") + where.arg(QStringLiteral("EF04")),
              QStringLiteral("SELECT MAX(EF05_SPVARIE) FROM EF05_SCADSOLLEC") +
                  where.arg(QStringLiteral("EF05"))}) {
            Recordset rs;
            rs.Open(sql, c);
            for (; !rs.AtEOF(); rs.MoveNext())
                for (int i = 0; i < rs.FieldCount(); ++i) out << Value::toText(rs.Fields(i).Value());
        }
        return out.join(QLatin1Char('|'));
    };
    const QString before = state();
    // Straight to the engine: a trigger's body holds semicolons of its own.
    for (const QString& sql : faultTrigger(GetParam().engine, GetParam().fault)) {
        QSqlQuery q(c->database());
        ASSERT_TRUE(q.exec(sql)) << q.lastError().text().toStdString();
    }

    auto host = std::make_shared<DatabaseHost>(demo.db.connectionString(), DemoGenerator::kCompany,
                                               QStringLiteral("MROSSI"));
    auto log = std::make_shared<ScriptedLogService>();
    host->setLogServiceFactory([log] { return log; });
    CLSKV_TARSELLO module([] { return std::make_unique<FRMKV_TARSELLO>(); });
    module.setClsGlobal(host);
    module.TipoArchivio = 0;
    module.ChiaveEffettoInGestione = key;
    module.ShowForm();
    auto* f = dynamic_cast<FRMKV_TARSELLO*>(module.form());
    ASSERT_TRUE(f && f->clsRstTestata);
    ASSERT_EQ(Value::toText(f->clsRstTestata->Fields(QStringLiteral("EF01_NUMREG_CO99")).Value()).trimmed(),
              numReg);

    // The clerk changes the due date, writes a note and changes a reminder's expenses.
    f->TAB_SCADENZE->setTab(FRMKV_TARSELLO::TabNote);
    f->TAB_SCADENZE->setTab(FRMKV_TARSELLO::TabSolleciti);
    f->TAB_SCADENZE->setTab(FRMKV_TARSELLO::TabDatiGenerali);
    const QDate due = Value::toDate(f->clsRstTestata->Fields(QStringLiteral("EF01_SCADE_S")).Value());
    f->clsRstTestata->Fields(QStringLiteral("EF01_SCADE_S")).setValue(due.addDays(15));
    f->clsRstTestata->Fields(QStringLiteral("EF01_NUMDOCORIG")).setValue(QStringLiteral("RIF. 77"));
    f->FME_TESTATA->setRecordChanged(true);
    f->clsRstNote->Fields(QStringLiteral("EF04_NOTEAMMIN")).setValue(QStringLiteral("nota della prova"));
    f->FME_NOTE->setRecordChanged(true);
    f->clsRstSolleciti->Fields(QStringLiteral("EF05_SPVARIE")).setValue(QStringLiteral("99.99"));
    f->bolSollecitiModified = true;

    EXPECT_FALSE(f->FME_TESTATA->UpdateRecord(true, false));
    EXPECT_EQ(state(), before) << "nothing of the failed save is in the database";
    EXPECT_FALSE(c->InTransaction());
    ASSERT_FALSE(log->messages().isEmpty());
    // Told through the module's error report (a refused statement) or the frame's message for a
    // refused write; the history writer's failure in our own words, without the engine's.
    QStringList texts;
    for (const auto& m : log->messages()) texts << m.text;
    const QString told = texts.join(QLatin1Char('\n'));
    EXPECT_FALSE(told.contains(QStringLiteral("COM"))) << told.toStdString();
    EXPECT_FALSE(told.contains(QStringLiteral("guasto simulato"))) << told.toStdString();
    if (GetParam().fault == Fault::HistoryMovement) {
        EXPECT_TRUE(told.contains(QStringLiteral("movimento di storico"))) << told.toStdString();
    } else {
        // The engine's words (the trigger's) are in the technical log the message names.
        EXPECT_TRUE(told.contains(TechnicalLog::path())) << told.toStdString();
        QFile technical(TechnicalLog::path());
        ASSERT_TRUE(technical.open(QIODevice::ReadOnly));
        EXPECT_TRUE(technical.readAll().contains("guasto simulato"));
    }
    // What the clerk typed is still there, waiting to be saved again.
    EXPECT_EQ(Value::toDate(f->clsRstTestata->Fields(QStringLiteral("EF01_SCADE_S")).Value()),
              due.addDays(15));
    EXPECT_NE(f->clsRstTestata->Status(), RowStatus::Unmodified);
    EXPECT_TRUE(f->FME_TESTATA->isRecordChanged()) << "closing would ask about the edits";

    // The fault goes away (space freed, constraint mended): saving again writes all of it.
    for (const QString& sql : dropFaultTrigger(GetParam().engine, GetParam().fault)) {
        QSqlQuery q(c->database());
        ASSERT_TRUE(q.exec(sql)) << q.lastError().text().toStdString();
    }
    ASSERT_TRUE(f->FME_TESTATA->UpdateRecord(true, false)) << log->messages().last().text.toStdString();
    const QString after = state();
    EXPECT_TRUE(after.contains(due.addDays(15).toString(QStringLiteral("yyyyMMdd"))) ||
                after.contains(due.addDays(15).toString(QStringLiteral("yyyy-MM-dd"))))
        << after.toStdString();
    EXPECT_TRUE(after.contains(QStringLiteral("RIF. 77")));
    EXPECT_TRUE(after.contains(QStringLiteral("99.99"))) << after.toStdString();
    EXPECT_FALSE(f->FME_TESTATA->isRecordChanged());

    log->enqueue(7);
    module.CloseForm();
}

// A deletion the clerk confirmed and the database refused: our words, not the engine's, and the
// Bill with all its rows still there.
class BillDeleteFaultTest : public ::testing::TestWithParam<TestEngine> {};
INSTANTIATE_ON_ENGINES(BillDeleteFaultTest);

TEST_P(BillDeleteFaultTest, ARefusedDeletionIsToldInOurWordsAndDeletesNothing) {
    REQUIRE_ENGINE(GetParam());
    DemoDatabase demo(GetParam(), 10);
    auto c = demo.connection;
    for (const QString& sql : faultTrigger(GetParam(), Fault::Deletion)) {
        QSqlQuery q(c->database());
        ASSERT_TRUE(q.exec(sql)) << q.lastError().text().toStdString();
    }
    const auto count = [&](const char* table) {
        Recordset rs;
        rs.Open(QStringLiteral("SELECT COUNT(*) FROM ") + QLatin1String(table), c);
        return Value::toInt(rs.Fields(0).Value());
    };
    const int bills = count("EF01_SCADENZE"), movements = count("EF06_SCADSTO");

    auto host = std::make_shared<DatabaseHost>(demo.db.connectionString(), DemoGenerator::kCompany,
                                               QStringLiteral("MROSSI"));
    host->setPrivileged(true);
    auto log = std::make_shared<ScriptedLogService>();
    host->setLogServiceFactory([log] { return log; });
    CLSKV_TARSELLO module([] { return std::make_unique<FRMKV_TARSELLO>(); });
    module.setClsGlobal(host);
    module.TipoArchivio = 0;
    module.ShowForm();
    auto* f = dynamic_cast<FRMKV_TARSELLO*>(module.form());
    ASSERT_TRUE(f && f->clsRstTestata);
    for (int answer : {6, 6}) log->enqueue(answer);
    f->FME_TESTATA->Delete();
    ASSERT_FALSE(log->messages().isEmpty());
    const QString told = log->messages().last().text;
    EXPECT_TRUE(told.startsWith(QStringLiteral("L'effetto non è stato eliminato."))) << told.toStdString();
    EXPECT_FALSE(told.contains(QStringLiteral("guasto simulato"))) << told.toStdString();
    EXPECT_EQ(count("EF01_SCADENZE"), bills);
    EXPECT_EQ(count("EF06_SCADSTO"), movements) << "the child rows went back with the Bill";
    EXPECT_FALSE(c->InTransaction());
    ASSERT_TRUE(f->FME_TESTATA->recordset()) << "the form shows its Bills again";
    module.CloseForm();
}

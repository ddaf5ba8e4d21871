// Two clerks on the same Bill, each with a connection of their own: a save never overwrites or
// orphans what the other did, a lock the other holds is waited for a bounded time, and a save
// that fails keeps everything the clerk typed, ready to be saved again.
#include "BillFormFixture.h"
#include "EditBox.h"
#include "LockWait.h"
#include "SqlDialect.h"
#include "TabControl.h"
#include "VirtualFrame.h"
#include "WriteConflict.h"

#include <QElapsedTimer>
#include <QFile>
#include <QSqlQuery>
#include <cstdio>

namespace {

QString billWhere(const QString& key, const QString& prefix = QStringLiteral("EF01")) {
    const QStringList k = key.split(QLatin1Char(','));
    const bool bill = prefix == QLatin1String("EF01");
    return QStringLiteral(
               " WHERE %1_DITTA_CG18 = 1 AND %1_NUMREG_CO99 = '%2' AND %1_%3 = %4 AND %1_%5 = %6 AND %1_%7 = "
               "%8")
        .arg(prefix, k[1], bill ? QStringLiteral("RIGACONT_CG42") : QStringLiteral("RIGACONT_EF01"), k[2],
             bill ? QStringLiteral("PROGEC_EC01") : QStringLiteral("PROGEC_EF01"), k[3],
             bill ? QStringLiteral("PROGEFF") : QStringLiteral("PROGEFF_EF01"), k[4]);
}

bool toldOfConflict(const ScriptedLogService& log) {
    bool conflict = false;
    for (const auto& m : log.messages()) {
        conflict = conflict || m.text == WriteConflict::kMessage;
        EXPECT_NE(m.flags & LogService::kCritical, LogService::kCritical)
            << "an error report: " << m.text.toStdString();
    }
    return conflict;
}

}  // namespace

class BillSessionsTest : public BillFormTest {
protected:
    // A customer Bill not yet exported to treasury (no question at save), by its position.
    QString plainBillKey(int n) { return keyOfRow(n, QStringLiteral(" AND EF01_INDEXP = 0")); }
};
INSTANTIATE_ON_ENGINES(BillSessionsTest);

TEST_P(BillSessionsTest, ABillDeletedMeanwhileGetsNoOrphanNoteAndTheNoteStaysToSave) {
    const QString key = plainBillKey(2);
    module_->ChiaveEffettoInGestione = key;
    FRMKV_TARSELLO* f = show();
    ASSERT_TRUE(f && f->clsRstTestata);
    f->TAB_SCADENZE->setTab(FRMKV_TARSELLO::TabNote);
    typeInto(f->control(QStringLiteral("TXT_NOTEAMMIN")), QStringLiteral("Sollecitare l'agente; più avanti"));
    ASSERT_TRUE(f->FME_TESTATA->isRecordChanged());

    // Another user deletes the Bill with its rows.
    for (const char* prefix : {"EF03", "EF04", "EF05", "EF06", "EF01"}) {
        const QString p = QString::fromLatin1(prefix);
        const QString table = p == QLatin1String("EF01")   ? QStringLiteral("EF01_SCADENZE")
                              : p == QLatin1String("EF03") ? QStringLiteral("EF03_SCADCECAM")
                              : p == QLatin1String("EF04") ? QStringLiteral("EF04_SCADNOTE")
                              : p == QLatin1String("EF05") ? QStringLiteral("EF05_SCADSOLLEC")
                                                           : QStringLiteral("EF06_SCADSTO");
        demo_->connection->Execute(QStringLiteral("DELETE FROM ") + table + billWhere(key, p));
    }

    f->TAB_SCADENZE->setTab(FRMKV_TARSELLO::TabDatiGenerali);
    EXPECT_FALSE(f->FME_TESTATA->UpdateRecord(true, false));
    EXPECT_TRUE(toldOfConflict(*log_));
    EXPECT_EQ(demo_->count(QStringLiteral("SELECT COUNT(*) FROM EF04_SCADNOTE") +
                           billWhere(key, QStringLiteral("EF04"))),
              0);
    EXPECT_FALSE(f->connectionInTransactionForTest());
    EXPECT_TRUE(f->FME_TESTATA->isRecordChanged()) << "the note is still to be saved, and closing asks";
}

TEST_P(BillSessionsTest, TheSecondOfTwoClerksChangingHistoryColumnsIsToldAndKeepsTheEdit) {
    const QString key = plainBillKey(3);
    module_->ChiaveEffettoInGestione = key;
    FRMKV_TARSELLO* first = show();
    ASSERT_TRUE(first && first->clsRstTestata);
    ClerkSession second(demo_->db.connectionString(), key);
    FRMKV_TARSELLO* other = second.form();
    ASSERT_TRUE(other && other->clsRstTestata);

    const QDate due = Value::toDate(first->clsRstTestata->Fields(QStringLiteral("EF01_SCADE_S")).Value());
    const QString movements =
        QStringLiteral("SELECT COUNT(*) FROM EF06_SCADSTO") + billWhere(key, QStringLiteral("EF06"));
    const int movementsBefore = demo_->count(movements);
    typeInto(first->control(QStringLiteral("TXT_SCADE")),
             due.addDays(30).toString(QStringLiteral("dd/MM/yyyy")));
    ASSERT_TRUE(first->FME_TESTATA->UpdateRecord(true, false)) << log_->messages().last().text.toStdString();

    typeInto(other->control(QStringLiteral("TXT_SPESERITBAN")), QStringLiteral("12,50"));
    EXPECT_FALSE(other->FME_TESTATA->UpdateRecord(true, false));
    EXPECT_TRUE(toldOfConflict(*second.log));
    EXPECT_EQ(demo_->count(QStringLiteral("SELECT COUNT(*) FROM EF01_SCADENZE") + billWhere(key) +
                           QStringLiteral(" AND EF01_SCADE_S = '%1'")
                               .arg(due.addDays(30).toString(QStringLiteral("yyyyMMdd")))),
              1)
        << "the first clerk's change stands";
    EXPECT_EQ(demo_->count(QStringLiteral("SELECT COUNT(*) FROM EF01_SCADENZE") + billWhere(key) +
                           QStringLiteral(" AND EF01_SPESERITBAN_S = 12.5")),
              0);
    EXPECT_EQ(demo_->count(movements), movementsBefore + 1) << "one movement, the first clerk's";
    // The second clerk's amount is still there, and leaving asks about it.
    EXPECT_EQ(Value::toDecimal(other->clsRstTestata->Fields(QStringLiteral("EF01_SPESERITBAN_S")).Value()),
              Decimal::fromString("12.5"));
    second.log->enqueue(2);
    EXPECT_EQ(second.module->CloseForm(), QVariant(false));
    EXPECT_EQ(second.log->messages().last().title, QStringLiteral("Richiesta conferma"));
}

// The wait for a held lock shortened to 2 s, so that the case does not wait a clerk's 10 s.
class HeldLockTest : public BillSessionsTest {
protected:
    void SetUp() override {
        LockWait::set(2000);
        BillSessionsTest::SetUp();
    }
    void TearDown() override {
        BillSessionsTest::TearDown();
        LockWait::set(SqlDialect::kLockWaitMs);
    }
};
INSTANTIATE_ON_ENGINES(HeldLockTest);

TEST_P(HeldLockTest, ALockHeldElsewhereIsWaitedForABoundedTimeAndTheSaveCanBeRepeated) {
    const QString key = plainBillKey(4);
    module_->ChiaveEffettoInGestione = key;
    FRMKV_TARSELLO* f = show();
    ASSERT_TRUE(f && f->clsRstTestata);
    typeInto(f->control(QStringLiteral("TXT_NUMDOCORIG")), QStringLiteral("FT 2026/Ω"));

    // Another session holds the Bill's row (on SQLite, the whole file) in an open transaction.
    auto holder = demo_->db.connect(SchemaInstaller::catalogue());
    QSqlQuery hold(holder->database());
    if (GetParam() == TestEngine::Sqlite) {
        ASSERT_TRUE(hold.exec(QStringLiteral("BEGIN IMMEDIATE")));
    } else {
        ASSERT_TRUE(hold.exec(QStringLiteral("BEGIN")));
        ASSERT_TRUE(hold.exec(QStringLiteral("SELECT * FROM EF01_SCADENZE") + billWhere(key) +
                              QStringLiteral(" FOR UPDATE")));
    }
    QElapsedTimer waited;
    waited.start();
    EXPECT_FALSE(f->FME_TESTATA->UpdateRecord(true, false));
    EXPECT_GE(waited.elapsed(), 1900) << "the lock is waited for";
    EXPECT_LT(waited.elapsed(), 30000) << "the wait is bounded";
    ASSERT_FALSE(log_->messages().isEmpty());
    EXPECT_TRUE(log_->messages().last().text.contains(QStringLiteral("in uso da parte di un altro utente")))
        << log_->messages().last().text.toStdString();
    EXPECT_TRUE(f->FME_TESTATA->isRecordChanged());

    ASSERT_TRUE(hold.exec(QStringLiteral("ROLLBACK")));
    EXPECT_TRUE(f->FME_TESTATA->UpdateRecord(true, false)) << log_->messages().last().text.toStdString();
    EXPECT_EQ(demo_->count(QStringLiteral("SELECT COUNT(*) FROM EF01_SCADENZE") + billWhere(key) +
                           QStringLiteral(" AND EF01_NUMDOCORIG = 'FT 2026/Ω'")),
              1);
    EXPECT_FALSE(f->FME_TESTATA->isRecordChanged());
}

// The SQLite file of an open form deleted, moved or replaced by another file: the save says so
// and keeps the edit; it never writes into the file that went, nor makes an empty one.
class VanishedFileTest : public BillSessionsTest {};
INSTANTIATE_TEST_SUITE_P(Sqlite, VanishedFileTest, ::testing::Values(TestEngine::Sqlite),
                         [](const auto& info) { return engineName(info.param); });

TEST_P(VanishedFileTest, ASaveIntoAFileThatWentOrWasReplacedIsRefusedAndTheEditStays) {
    const QString key = plainBillKey(5);
    module_->ChiaveEffettoInGestione = key;
    FRMKV_TARSELLO* f = show();
    ASSERT_TRUE(f && f->clsRstTestata);
    const QString path = demo_->db.connectionString().mid(int(qstrlen("sqlite:")));
    const auto stored = [&](const QString& text) {
        auto fresh = demo_->db.connect(SchemaInstaller::catalogue());
        Recordset rs;
        rs.Open(QStringLiteral("SELECT COUNT(*) FROM EF01_SCADENZE") + billWhere(key) +
                    QStringLiteral(" AND EF01_NUMDOCORIG = '%1'").arg(text),
                fresh);
        return Value::toInt(rs.Fields(0).Value()) == 1;
    };
    const auto refusedSaying = [&](const char* words) {
        log_->clear();
        EXPECT_FALSE(f->FME_TESTATA->UpdateRecord(true, false));
        ASSERT_FALSE(log_->messages().isEmpty());
        EXPECT_TRUE(log_->messages().last().text.contains(QString::fromUtf8(words)))
            << log_->messages().last().text.toStdString();
        EXPECT_TRUE(f->FME_TESTATA->isRecordChanged()) << "the edit stays to be saved";
    };

    typeInto(f->control(QStringLiteral("TXT_NUMDOCORIG")), QStringLiteral("FT 7/Più"));
    ASSERT_TRUE(QFile::rename(path, path + QStringLiteral(".altrove")));
    refusedSaying("non c'è più");
    refusedSaying("non c'è più");
    EXPECT_FALSE(QFile::exists(path)) << "no empty file made in its place";
    ASSERT_TRUE(QFile::rename(path + QStringLiteral(".altrove"), path));
    ASSERT_TRUE(f->FME_TESTATA->UpdateRecord(true, false)) << log_->messages().last().text.toStdString();
    EXPECT_TRUE(stored(QStringLiteral("FT 7/Più")));

    // A copy put in its place (a backup given back): told once, then the save goes into it.
    typeInto(f->control(QStringLiteral("TXT_NUMDOCORIG")), QStringLiteral("FT 8/Più"));
    demo_->connection->Execute(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
    ASSERT_TRUE(QFile::copy(path, path + QStringLiteral(".copia")));
    ASSERT_EQ(std::rename(QFile::encodeName(path + QStringLiteral(".copia")).constData(),
                          QFile::encodeName(path).constData()),
              0);
    refusedSaying("sostituito");
    ASSERT_TRUE(f->FME_TESTATA->UpdateRecord(true, false)) << log_->messages().last().text.toStdString();
    EXPECT_TRUE(stored(QStringLiteral("FT 8/Più")));
}

// The save of a changed Bill with its history movement, and the deletion of a Bill, through the
// real bill form, each as a ratio to the same statements run directly in the same run. The form's
// deletion also holds the Bill as read (another clerk's change is refused) and shows the next
// Bill with its descriptions, which the raw statements do not. Each deletion opens its own form
// (untimed) in the same session, as a clerk opening one customer's Bills after another: the
// descriptions of the Bill it opened on are read then, and the next Bill of the same document
// reads only those it does not share.
#include "CLSKV_TARSELLO.h"
#include "Connection.h"
#include "DatabaseHost.h"
#include "DemoGenerator.h"
#include "FRMKV_TARSELLO.h"
#include "Goal.h"
#include "Recordset.h"
#include "ScratchDatabase.h"
#include "ScriptedLogService.h"
#include "Value.h"
#include "VirtualFrame.h"

#include "RatioReporter.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QUuid>
#include <algorithm>
#include <cstdio>

namespace {

struct Database {
    std::unique_ptr<ScratchDatabase> scratch;
    QString connectionString;
    std::shared_ptr<Connection> conn;
    QStringList keys;                    // bills not yet deleted, "numreg,row,progec,progeff"
    std::shared_ptr<DatabaseHost> host;  // the clerk's session, opened once as the desk does
};

Database make(const QString& engine) {
    Database db;
    db.scratch = std::make_unique<ScratchDatabase>(engine);
    db.connectionString = db.scratch->connectionString();
    db.conn = db.scratch->connection();
    DemoGenerator::installOn(db.conn, {.bills = 400});
    Recordset rs;
    rs.Open(
        QStringLiteral(
            "SELECT EF01_NUMREG_CO99, EF01_RIGACONT_CG42, EF01_PROGEC_EC01, EF01_PROGEFF FROM EF01_SCADENZE "
            "WHERE EF01_DITTA_CG18 = 1 AND EF01_TIPOCF_CG44 = 0 AND EF01_INDEXP = 0 ORDER BY "
            "EF01_NUMREG_CO99"),
        db.conn);
    for (; !rs.AtEOF(); rs.MoveNext())
        db.keys << QStringLiteral("%1,%2,%3,%4")
                       .arg(Value::toText(rs.Fields(0).Value()).trimmed(),
                            Value::toText(rs.Fields(1).Value()), Value::toText(rs.Fields(2).Value()),
                            Value::toText(rs.Fields(3).Value()));
    return db;
}

QString keyWhere(const QString& prefix, const QStringList& k, bool billColumns) {
    return QStringLiteral("%1_DITTA_CG18 = 1 AND %1_NUMREG_CO99 = '%2' AND %3 = %4 AND %5 = %6 AND %7 = %8")
        .arg(prefix, k[0],
             billColumns ? QStringLiteral("EF01_RIGACONT_CG42") : prefix + QStringLiteral("_RIGACONT_EF01"),
             k[1], billColumns ? QStringLiteral("EF01_PROGEC_EC01") : prefix + QStringLiteral("_PROGEC_EF01"),
             k[2], billColumns ? QStringLiteral("EF01_PROGEFF") : prefix + QStringLiteral("_PROGEFF_EF01"),
             k[3]);
}

// The bill form opened on one Bill in the session, as the calling program does.
struct OpenForm {
    OpenForm(Database& db, const QString& key) {
        if (!db.host)
            db.host = std::make_shared<DatabaseHost>(db.connectionString, 1, QStringLiteral("ADMIN"));
        host = db.host;
        log = std::make_shared<ScriptedLogService>();
        host->setLogServiceFactory([log = log] { return log; });
        module = std::make_unique<CLSKV_TARSELLO>([] { return std::make_unique<FRMKV_TARSELLO>(); });
        module->setClsGlobal(host);
        module->TipoArchivio = 0;
        // A narrow selection, as a clerk opening one customer's bills would have.
        module->StringaDiSelezioneEffetti =
            QStringLiteral("EF01_NUMREG_CO99 = '%1'").arg(key.section(QLatin1Char(','), 0, 0));
        module->ChiaveEffettoInGestione = QStringLiteral("1,") + key;
        module->ShowForm();
        form = dynamic_cast<FRMKV_TARSELLO*>(module->form());
    }
    ~OpenForm() {
        log->enqueue(7);
        module->CloseForm();
        module.reset();
        // The form goes as the desk's event loop would let it, handing its connection back.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    std::shared_ptr<DatabaseHost> host;
    std::shared_ptr<ScriptedLogService> log;
    std::unique_ptr<CLSKV_TARSELLO> module;
    FRMKV_TARSELLO* form = nullptr;
};

void saveForm(benchmark::State& state, Database* db) {
    OpenForm open(*db, db->keys.first());
    int days = 0;
    for (auto _ : state) {
        Recordset& rs = *open.form->clsRstTestata;
        const QDate due = Value::toDate(rs.Fields(QStringLiteral("EF01_SCADE_S")).Value());
        rs.Fields(QStringLiteral("EF01_SCADE_S")).setValue(due.addDays(++days % 2 ? 1 : -1));
        open.form->FME_TESTATA->setRecordChanged(true);
        if (!open.form->FME_TESTATA->UpdateRecord(true, false)) state.SkipWithError("the save failed");
    }
}

void saveDirect(benchmark::State& state, Database* db) {
    const QStringList k = db->keys.at(1).split(QLatin1Char(','));
    int days = 0;
    for (auto _ : state) {
        db->conn->BeginTrans();
        QSqlQuery q(db->conn->database());
        q.exec(QStringLiteral("SELECT MAX(EF06_PROGSTO) FROM EF06_SCADSTO WHERE ") +
               keyWhere(QStringLiteral("EF06"), k, false));
        q.next();
        const int progressive = q.value(0).toInt() + 1;
        q.exec(QStringLiteral("SELECT * FROM EF01_SCADENZE WHERE ") +
               keyWhere(QStringLiteral("EF01"), k, true));
        q.next();
        const QVariant oldDue = q.value(QStringLiteral("EF01_SCADE_S"));
        q.exec(QStringLiteral("UPDATE EF01_SCADENZE SET EF01_SCADE_S = '%1' WHERE ")
                   .arg(QDate(2026, 1, 1).addDays(++days % 2).toString(QStringLiteral("yyyyMMdd"))) +
               keyWhere(QStringLiteral("EF01"), k, true));
        QSqlQuery insert(db->conn->database());
        insert.prepare(QStringLiteral(
            "INSERT INTO EF06_SCADSTO (EF06_DITTA_CG18, EF06_NUMREG_CO99, EF06_RIGACONT_EF01, "
            "EF06_PROGEC_EF01, EF06_PROGEFF_EF01, EF06_PROGSTO, EF06_INDTIPOPER, EF06_SCADE_S) "
            "VALUES (1, ?, ?, ?, ?, ?, 0, ?)"));
        for (int i = 0; i < 4; ++i) insert.bindValue(i, k[i]);
        insert.bindValue(4, progressive);
        insert.bindValue(5, oldDue);
        insert.exec();
        q.exec(QStringLiteral("UPDATE EF01_SCADENZE SET EF01_FLGEFFVAR = 1 WHERE ") +
               keyWhere(QStringLiteral("EF01"), k, true));
        db->conn->CommitTrans();
    }
}

void deleteForm(benchmark::State& state, Database* db) {
    for (auto _ : state) {
        state.PauseTiming();
        const QString key = db->keys.takeLast();
        auto open = std::make_unique<OpenForm>(*db, key);
        open->log->enqueue(6);  // the deletion warning
        state.ResumeTiming();
        open->form->FME_TESTATA->Delete();
        state.PauseTiming();
        open.reset();
        state.ResumeTiming();
    }
}

void deleteDirect(benchmark::State& state, Database* db) {
    for (auto _ : state) {
        const QStringList k = db->keys.takeLast().split(QLatin1Char(','));
        db->conn->BeginTrans();
        QSqlQuery q(db->conn->database());
        for (const char* prefix : {"EF03", "EF04", "EF05", "EF06"})
            q.exec(QStringLiteral("DELETE FROM %1 WHERE ")
                       .arg(QLatin1String(prefix) == QLatin1String("EF03") ? QStringLiteral("EF03_SCADCECAM")
                            : QLatin1String(prefix) == QLatin1String("EF04") ? QStringLiteral("EF04_SCADNOTE")
                            : QLatin1String(prefix) == QLatin1String("EF05")
                                ? QStringLiteral("EF05_SCADSOLLEC")
                                : QStringLiteral("EF06_SCADSTO")) +
                   keyWhere(QLatin1String(prefix), k, false));
        q.exec(QStringLiteral("DELETE FROM EF01_SCADENZE WHERE ") +
               keyWhere(QStringLiteral("EF01"), k, true));
        if (q.numRowsAffected() != 1) state.SkipWithError("the direct deletion deleted no Bill");
        db->conn->CommitTrans();
        // The form reads its Bills again after a deletion: the same query, read whole.
        QSqlQuery reread(db->conn->database());
        reread.setForwardOnly(true);
        reread.exec(
            QStringLiteral(
                "SELECT EF01_SCADENZE.*, CO99_MASTERDOC.CO99_INDTIPOOP FROM EF01_SCADENZE INNER JOIN "
                "CO99_MASTERDOC ON EF01_DITTA_CG18 = CO99_DITTA_CG18 AND EF01_NUMREG_CO99 = CO99_NUMREG "
                "WHERE EF01_DITTA_CG18 = 1 AND EF01_NUMREG_CO99 = '%1'")
                .arg(k[0]));
        const int columns = reread.record().count();
        while (reread.next())
            for (int i = 0; i < columns; ++i) benchmark::DoNotOptimize(reread.value(i));
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QStringList engines{QStringLiteral("sqlite")};
    if (!qEnvironmentVariableIsEmpty("KV_TEST_PG")) engines << QStringLiteral("postgresql");
    std::vector<Database> dbs;
    dbs.reserve(size_t(engines.size()));
    for (const QString& e : engines) {
        dbs.push_back(make(e));
        Database* db = &dbs.back();
        const std::string n = e.toStdString();
        // Repeated, and the best repetition kept: a busy machine disturbs runs this short.
        auto add = [&](const std::string& name, void (*fn)(benchmark::State&, Database*), int iterations) {
            benchmark::RegisterBenchmark((name + "/" + n).c_str(), fn, db)
                ->Iterations(iterations)
                ->Repetitions(3)
                ->ComputeStatistics(
                    "min", [](const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); })
                ->DisplayAggregatesOnly(true)
                ->Unit(benchmark::kMillisecond);
        };
        add("save_direct", saveDirect, 40);
        add("save_form", saveForm, 40);
        add("delete_direct", deleteDirect, 25);
        add("delete_form", deleteForm, 25);
    }
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    constexpr double kGoal = 3.0;
    std::printf("\nRatios of the bill form to the same statements run directly (target <= %.1f)\n", kGoal);
    for (const QString& e : engines)
        for (const char* kind : {"save", "delete"}) {
            const double direct = reporter.times.value(QLatin1String(kind) + QStringLiteral("_direct/") + e);
            const double form = reporter.times.value(QLatin1String(kind) + QStringLiteral("_form/") + e);
            if (direct > 0)
                std::printf("  %-10s %-6s %.2f  %s\n", qPrintable(e), kind, form / direct,
                            verdict(form / direct <= kGoal));
        }
    dbs.clear();
    return 0;
}

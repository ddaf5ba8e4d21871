// Reading and writing through the data layer, each as a ratio to the same work done directly
// with Qt SQL in the same run, on SQLite and (when KV_TEST_PG names a server) PostgreSQL.
// The direct read looks at each value and keeps nothing, where a recordset must keep every row
// (typed: amounts as Decimal, dates as QDate) for the clerk to move back and edit; the read that
// keeps the driver's values as they come is measured beside it, to show what holding costs.
#include "Connection.h"
#include "Goal.h"
#include "MemoryCatalogue.h"
#include "Recordset.h"
#include "ScratchDatabase.h"
#include "SuiteError.h"
#include "Value.h"

#include "RatioReporter.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QMap>
#include <QSqlQuery>
#include <QUuid>
#include <algorithm>
#include <cstdio>
#include <map>

namespace {

std::shared_ptr<MemoryCatalogue> benchCatalogue() {
    auto c = std::make_shared<MemoryCatalogue>();
    c->add({QStringLiteral("BN01_BILLS"),
            {{QStringLiteral("BN01_DITTA"), DataType::Integer, 0, 0, 0, false},
             {QStringLiteral("BN01_NUMREG"), DataType::Text, 12, 0, 0, false},
             {QStringLiteral("BN01_PROG"), DataType::Integer, 0, 0, 0, false},
             {QStringLiteral("BN01_STATE"), DataType::SmallInt},
             {QStringLiteral("BN01_AMOUNT"), DataType::Decimal, 0, 18, 2},
             {QStringLiteral("BN01_NOTE"), DataType::Text, 80},
             {QStringLiteral("BN01_DUE"), DataType::Date}},
            {QStringLiteral("BN01_DITTA"), QStringLiteral("BN01_NUMREG"), QStringLiteral("BN01_PROG")}});
    return c;
}

// One database per engine and size, filled once.
struct BenchDb {
    std::unique_ptr<ScratchDatabase> scratch;
    std::shared_ptr<Connection> conn;
    int rows = 0;
};

std::map<QString, BenchDb> databases;

QString selectAll(int rows) {
    return QStringLiteral("SELECT * FROM BN01_BILLS WITH (NOLOCK) WHERE BN01_PROG <= %1 ORDER BY BN01_PROG")
        .arg(rows);
}

BenchDb& database(const QString& engine, int rows) {
    const QString key = engine + QString::number(rows);
    auto it = databases.find(key);
    if (it != databases.end()) return it->second;
    BenchDb db;
    db.scratch = std::make_unique<ScratchDatabase>(engine);
    db.conn = db.scratch->connection();
    db.conn->setCatalogue(benchCatalogue());
    db.conn->Execute(
        db.conn->dialect().createTable(*db.conn->catalogue()->table(QStringLiteral("BN01_BILLS"))));
    db.conn->BeginTrans();
    QSqlQuery insert(db.conn->database());
    insert.prepare(QStringLiteral("INSERT INTO BN01_BILLS VALUES (?, ?, ?, ?, ?, ?, ?)"));
    const SqlDialect& d = db.conn->dialect();
    for (int i = 1; i <= rows; ++i) {
        insert.bindValue(0, 1);
        insert.bindValue(1, QStringLiteral("R%1").arg(i / 10, 8, 10, QLatin1Char('0')));
        insert.bindValue(2, i);
        insert.bindValue(3, i % 2);
        insert.bindValue(4, d.toDriver(QVariant::fromValue(Decimal::fromMantissa(i * 137 % 1000000, 2)),
                                       DataType::Decimal));
        insert.bindValue(5, QStringLiteral("Effetto numero %1").arg(i));
        insert.bindValue(6, d.toDriver(QDate(2024, 1, 1).addDays(i % 700), DataType::Date));
        insert.exec();
    }
    db.conn->CommitTrans();
    db.rows = rows;
    return databases.emplace(key, std::move(db)).first->second;
}

// The whole table read directly, each row handed to `row` as the query stands on it.
template <typename Row>
void readDirectly(BenchDb& db, Row&& row) {
    QSqlQuery q(db.conn->database());
    q.setForwardOnly(true);
    q.exec(QStringLiteral("SELECT * FROM BN01_BILLS WHERE BN01_PROG <= %1 ORDER BY BN01_PROG").arg(db.rows));
    while (q.next()) row(q);
}

void readDirect(benchmark::State& state, QString engine) {
    BenchDb& db = database(engine, int(state.range(0)));
    for (auto _ : state) {
        long n = 0;
        readDirectly(db, [&n](const QSqlQuery& q) {
            for (int c = 0; c < 7; ++c) benchmark::DoNotOptimize(q.value(c)), ++n;
        });
        benchmark::DoNotOptimize(n);
    }
}

void readDirectKept(benchmark::State& state, QString engine) {
    BenchDb& db = database(engine, int(state.range(0)));
    for (auto _ : state) {
        std::vector<QVariantList> rows;
        readDirectly(db, [&rows](const QSqlQuery& q) {
            QVariantList row(7);
            for (int c = 0; c < 7; ++c) row[c] = q.value(c);
            rows.push_back(std::move(row));
        });
        for (const QVariantList& row : rows)
            for (const QVariant& v : row) benchmark::DoNotOptimize(QVariant(v));
    }
}

void readRecordset(benchmark::State& state, QString engine) {
    BenchDb& db = database(engine, int(state.range(0)));
    for (auto _ : state) {
        Recordset rs;
        rs.Open(selectAll(db.rows), db.conn);
        long n = 0;
        for (; !rs.AtEOF(); rs.MoveNext())
            for (int c = 0; c < 7; ++c) benchmark::DoNotOptimize(rs.Fields(c).Value()), ++n;
        benchmark::DoNotOptimize(n);
    }
}

void writeDirect(benchmark::State& state, QString engine) {
    BenchDb& db = database(engine, int(state.range(0)));
    int round = 0;
    for (auto _ : state) {
        ++round;
        // The new texts and the keys are made before the clock runs, as they are for the recordset.
        state.PauseTiming();
        QStringList notes, keys;
        for (int i = 1; i <= db.rows; ++i) {
            notes << QStringLiteral("Giro %1 riga %2").arg(round).arg(i);
            keys << QStringLiteral("R%1").arg(i / 10, 8, 10, QLatin1Char('0'));
        }
        state.ResumeTiming();
        db.conn->BeginTrans();
        QSqlQuery q(db.conn->database());
        q.prepare(
            QStringLiteral("UPDATE BN01_BILLS SET BN01_STATE = ?, BN01_NOTE = ? WHERE BN01_DITTA = ? AND "
                           "BN01_NUMREG = ? AND BN01_PROG = ?"));
        for (int i = 1; i <= db.rows; ++i) {
            q.bindValue(0, round % 3);
            q.bindValue(1, notes[i - 1]);
            q.bindValue(2, 1);
            q.bindValue(3, keys[i - 1]);
            q.bindValue(4, i);
            q.exec();
        }
        db.conn->CommitTrans();
    }
}

void writeRecordset(benchmark::State& state, QString engine) {
    BenchDb& db = database(engine, int(state.range(0)));
    int round = 100;
    for (auto _ : state) {
        state.PauseTiming();  // the read is measured by the read benchmark
        Recordset rs;
        rs.Open(selectAll(db.rows), db.conn);
        ++round;
        for (int i = 1; !rs.AtEOF(); rs.MoveNext(), ++i) {
            rs.Fields(3).setValue(round % 3);
            rs.Fields(5).setValue(QStringLiteral("Giro %1 riga %2").arg(round).arg(i));
        }
        state.ResumeTiming();
        rs.UpdateBatch();
    }
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QStringList engines{QStringLiteral("sqlite")};
    if (!qEnvironmentVariableIsEmpty("KV_TEST_PG")) engines << QStringLiteral("postgresql");
    for (const QString& e : engines) {
        const std::string n = e.toStdString();
        for (auto [name, fn] : std::vector<std::pair<std::string, void (*)(benchmark::State&, QString)>>{
                 {"read_direct", readDirect},
                 {"read_kept", readDirectKept},
                 {"read_recordset", readRecordset},
                 {"write_direct", writeDirect},
                 {"write_recordset", writeRecordset}})
            benchmark::RegisterBenchmark((name + "/" + n).c_str(), fn, e)
                ->Arg(10000)
                ->Arg(100000)
                ->Unit(benchmark::kMillisecond)
                ->Iterations(2)
                ->Repetitions(3)
                ->ComputeStatistics(
                    "min", [](const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); })
                ->DisplayAggregatesOnly(true);
    }
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);

    const QMap<QString, double> goals = {{QStringLiteral("read"), 1.5}, {QStringLiteral("write"), 2.0}};
    std::printf("\nRatios to direct Qt SQL, elapsed (processor) time (target: read <= %.1f, write <= %.1f)\n",
                goals.value(QStringLiteral("read")), goals.value(QStringLiteral("write")));
    auto ratio = [&](const QMap<QString, double>& t, const QString& ours, const QString& base) {
        return t.value(base) > 0 ? t.value(ours) / t.value(base) : 0.0;
    };
    for (const QString& e : engines)
        for (int n : {10000, 100000})
            for (const char* kind : {"read", "write"}) {
                const QString suffix = QStringLiteral("/%1/%2").arg(e).arg(n);
                const QString ours = QLatin1String(kind) + QStringLiteral("_recordset") + suffix;
                const QString direct = QLatin1String(kind) + QStringLiteral("_direct") + suffix;
                if (!reporter.times.contains(direct)) continue;
                const double elapsed = ratio(reporter.times, ours, direct);
                std::printf("  %-10s %-6s N=%-7d %.2f (%.2f) %s", qPrintable(e), kind, n, elapsed,
                            ratio(reporter.cpuTimes, ours, direct),
                            verdict(elapsed <= goals.value(QLatin1String(kind))));
                const QString kept = QLatin1String(kind) + QStringLiteral("_kept") + suffix;
                if (reporter.times.contains(kept))
                    std::printf("   to the kept read %.2f (%.2f)", ratio(reporter.times, ours, kept),
                                ratio(reporter.cpuTimes, ours, kept));
                std::printf("\n");
            }
    databases.clear();
    return 0;
}

// What the users' rights cost where the program applies them (SQLite: the access rule read again
// at every transaction and every statement outside one), and what running a user's script in a
// process of its own costs, each as a ratio to the same work without them in the same run.
#include "AccessRules.h"
#include "Accounts.h"
#include "Connection.h"
#include "DemoGenerator.h"
#include "JsFormScript.h"
#include "Schema.h"
#include "ScratchDatabase.h"

#include "RatioReporter.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QJSEngine>
#include <algorithm>
#include <cstdio>

namespace {

std::unique_ptr<ScratchDatabase> scratch;
QString billKey;

std::shared_ptr<Connection> open(bool asUser) {
    if (!asUser) return ConnectionFactory(scratch->connectionString(), nullptr).open();
    const QString user = QStringLiteral("MROSSI");
    return ConnectionFactory(ConnectionString::asUser(scratch->connectionString(), user), nullptr,
                             AccessRules::ruleOf(user, Schema::accessClass, Schema::billProgram()))
        .open();
}

void transaction(benchmark::State& state, bool asUser) {
    auto c = open(asUser);
    const QString change =
        QStringLiteral("UPDATE EF01_SCADENZE SET EF01_CONTRFINANZ = 'rivisto' WHERE ") + billKey;
    for (auto _ : state) {
        c->BeginTrans();
        c->Execute(change);
        c->CommitTrans();
    }
}

void read(benchmark::State& state, bool asUser) {
    auto c = open(asUser);
    const QString bill =
        QStringLiteral("SELECT EF01_SCADE_S, EF01_IMPEFF_S FROM EF01_SCADENZE WHERE ") + billKey;
    for (auto _ : state) benchmark::DoNotOptimize(c->Query(bill));
}

const QString kScript = QStringLiteral("function tsOpen(form) { return form.name; }");

void scriptInProcess(benchmark::State& state) {
    for (auto _ : state) {
        QJSEngine engine;
        engine.evaluate(kScript);
        benchmark::DoNotOptimize(engine.globalObject().property(QStringLiteral("tsOpen")).call());
    }
}

void scriptOwnProcess(benchmark::State& state) {
    for (auto _ : state) {
        JsFormScript script(kScript, nullptr, QStringLiteral("Dettaglio effetti"), nullptr);
        benchmark::DoNotOptimize(script.RaiseFormEvent(true, {}));
    }
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    scratch = std::make_unique<ScratchDatabase>(QStringLiteral("sqlite"));
    DemoGenerator::installOn(scratch->connection(), {.bills = 500});
    const auto row =
        scratch->connection()
            ->Query(QStringLiteral("SELECT EF01_NUMREG_CO99, EF01_PROGEFF FROM EF01_SCADENZE ORDER BY "
                                   "EF01_NUMREG_CO99"))
            .front()
            .rows.front();
    billKey = QStringLiteral("EF01_DITTA_CG18 = 1 AND EF01_NUMREG_CO99 = '%1' AND EF01_PROGEFF = %2")
                  .arg(row[0].toString().trimmed())
                  .arg(row[1].toInt());

    const auto min = [](const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); };
    // A fixed count of iterations: the reporter finds each run by its name before "/iterations".
    const auto add = [&](const char* name, auto fn, int iterations) {
        benchmark::RegisterBenchmark(name, fn)
            ->Unit(benchmark::kMicrosecond)
            ->Iterations(iterations)
            ->Repetitions(3)
            ->ComputeStatistics("min", min)
            ->DisplayAggregatesOnly(true);
    };
    add(
        "transaction_installer", [](benchmark::State& s) { transaction(s, false); }, 500);
    add(
        "transaction_user", [](benchmark::State& s) { transaction(s, true); }, 500);
    add(
        "read_installer", [](benchmark::State& s) { read(s, false); }, 5000);
    add(
        "read_user", [](benchmark::State& s) { read(s, true); }, 5000);
    add("script_in_process", scriptInProcess, 20);
    add("script_own_process", scriptOwnProcess, 20);
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);

    std::printf("\nRatios (SQLite)\n");
    for (const auto& [ours, base, what] :
         {std::tuple{"transaction_user", "transaction_installer", "a transaction as a user"},
          std::tuple{"read_user", "read_installer", "a read by key outside a transaction as a user"},
          std::tuple{"script_own_process", "script_in_process",
                     "a script built and run in its own process"}}) {
        const double b = reporter.times.value(QLatin1String(base));
        if (b > 0)
            std::printf("  %-46s %.2f (%.0f us against %.0f us)\n", what,
                        reporter.times.value(QLatin1String(ours)) / b,
                        reporter.times.value(QLatin1String(ours)), b);
    }
    scratch.reset();
    return 0;
}

// The amount family of a Bill in dollars converted into the currency: the bare decimal arithmetic,
// the same through the host's conversion component, and the whole family converted and shown again
// in the real bill form (each amount written into the header row and its field, then the currency
// side re-bound with the currency's digits). Reported as ratios to the bare arithmetic of the same
// run; the component's target is 5.
#include "AmountPairs.h"
#include "CLSKV_TARSELLO.h"
#include "CurrencyConverter.h"
#include "DatabaseHost.h"
#include "DemoGenerator.h"
#include "FRMKV_TARSELLO.h"
#include "FrameControl.h"
#include "RatioReporter.h"
#include "Recordset.h"
#include "ScratchDatabase.h"
#include "ScriptedLogService.h"
#include "Value.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <algorithm>
#include <cstdio>

namespace {

struct Fixture {
    std::unique_ptr<ScratchDatabase> scratch;
    std::shared_ptr<DatabaseHost> host;
    std::shared_ptr<ScriptedLogService> log;
    std::unique_ptr<CLSKV_TARSELLO> module;
    FRMKV_TARSELLO* form = nullptr;
    std::unique_ptr<CurrencyConverter> converter;
    std::vector<Decimal> euro;  // the Bill's nine euro amounts
    Decimal rate;
    QString currency;
};

Fixture* fixture = nullptr;

void setUp() {
    fixture = new Fixture;
    Fixture& f = *fixture;
    f.scratch = std::make_unique<ScratchDatabase>(QStringLiteral("sqlite"));
    std::shared_ptr<Connection> c = f.scratch->connection();
    DemoGenerator::installOn(c, {.bills = 200});
    Recordset rs;
    rs.Open(QStringLiteral("SELECT EF01_NUMREG_CO99 FROM EF01_SCADENZE WHERE EF01_TIPOCF_CG44 = 0 AND "
                           "EF01_CODICE_CG08 = 'USD' AND EF01_PROGEFF = 1 ORDER BY EF01_NUMREG_CO99"),
            c);
    const QString numReg = Value::toText(rs.Fields(0).Value()).trimmed();
    f.host = std::make_shared<DatabaseHost>(f.scratch->connectionString(), 1, QStringLiteral("MROSSI"));
    f.log = std::make_shared<ScriptedLogService>();
    f.host->setLogServiceFactory([] { return fixture->log; });
    f.module = std::make_unique<CLSKV_TARSELLO>([] { return std::make_unique<FRMKV_TARSELLO>(); });
    f.module->setClsGlobal(f.host);
    f.module->TipoArchivio = 0;
    f.module->StringaDiSelezioneEffetti = QStringLiteral("EF01_NUMREG_CO99 = '%1'").arg(numReg);
    f.module->ShowForm();
    f.form = dynamic_cast<FRMKV_TARSELLO*>(f.module->form());
    f.converter = f.host->CreateCurrencyConverter();
    Recordset& header = *f.form->clsRstTestata;
    f.rate = Value::toDecimal(header.Fields(QStringLiteral("EF01_CAMBIO")).Value());
    f.currency = Value::toText(header.Fields(QStringLiteral("EF01_CODICE_CG08")).Value()).trimmed();
    for (const AmountPair& p : AmountPairs::billHeader().pairs())
        f.euro.push_back(Value::toDecimal(f.form->control(QString::fromLatin1(p.euro))->Value()));
}

void bareArithmetic(benchmark::State& state) {
    for (auto _ : state)
        for (const Decimal& amount : fixture->euro)
            benchmark::DoNotOptimize((amount * fixture->rate).rounded(2));
}

void conversionComponent(benchmark::State& state) {
    for (auto _ : state)
        for (const Decimal& amount : fixture->euro)
            benchmark::DoNotOptimize(fixture->converter->ToCurrency(QVariant::fromValue(amount), 2,
                                                                    fixture->currency, fixture->rate));
}

void familyInTheForm(benchmark::State& state) {
    FRMKV_TARSELLO& form = *fixture->form;
    Recordset& header = *form.clsRstTestata;
    const std::vector<AmountPair>& pairs = AmountPairs::billHeader().pairs();
    for (auto _ : state) {
        for (const AmountPair& p : pairs) {
            FrameControl* euro = form.control(QString::fromLatin1(p.euro));
            FrameControl* currency = form.control(QString::fromLatin1(p.currency));
            const QVariant converted = QVariant::fromValue(fixture->converter->ToCurrency(
                header.Fields(euro->DataField()).Value(), 2, fixture->currency, fixture->rate));
            header.Fields(currency->DataField()).setValue(converted);
            currency->setValue(converted);
        }
        form.AbilitaCampiValuta();
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    setUp();
    auto add = [](const char* name, void (*fn)(benchmark::State&)) {
        benchmark::RegisterBenchmark(name, fn)
            ->Repetitions(5)
            ->ComputeStatistics(
                "min", [](const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); })
            ->DisplayAggregatesOnly(true)
            ->Unit(benchmark::kMicrosecond);
    };
    add("bare_arithmetic", bareArithmetic);
    add("conversion_component", conversionComponent);
    add("family_in_the_form", familyInTheForm);
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    // The reporter keeps each run by its name with the repetitions' tail.
    auto time = [&](const char* name) {
        return reporter.times.value(QLatin1String(name) + QStringLiteral("/repeats:5"));
    };
    const double bare = time("bare_arithmetic");
    if (bare > 0) {
        std::printf("\nNine amounts of a Bill in %s, as ratios to the bare decimal arithmetic\n",
                    qPrintable(fixture->currency));
        std::printf("  conversion component  %.2f (target <= 5.0)\n", time("conversion_component") / bare);
        std::printf("  family in the form    %.2f (conversion, row, fields and the currency side re-bound)\n",
                    time("family_in_the_form") / bare);
    }
    fixture->log->enqueue(7);
    fixture->module->CloseForm();
    delete fixture;
    return 0;
}

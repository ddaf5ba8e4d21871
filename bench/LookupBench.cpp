// The customers' search list and decode on a company of 100,000 customers: the first page of the
// list (unfiltered and filtered by part of a name) and one decode, through the archive
// connector and the search list's page query, as ratios to the same rows read by a query written
// by hand in the same run, and as time on this machine.
//
//   bench_lookup sqlite        (or postgresql, with KV_TEST_PG set)
#include "ArchiveConnector.h"
#include "DemoGenerator.h"
#include "LookupDialog.h"
#include "RatioReporter.h"
#include "ScratchDatabase.h"

#include <QApplication>
#include <QElapsedTimer>
#include <cstdio>

namespace {

constexpr int kCustomers = 100000;
ScratchDatabase* scratch = nullptr;
LookupRequest request;
QString decodeSql;

const QString kDay = QStringLiteral("'20240630'");
const QString kDirectFirstPage = QStringLiteral(
    "SELECT VCG16_44_CF_CLIFOR, CG16_RAGSOANAG FROM VCG16_CG44_ALLADATA WHERE VCG16_44_CF_DITTA = 1 AND"
    " VCG16_44_CF_TIPOCF = 0 AND '20240630' BETWEEN DATAINIZIOVALIDITA AND DATAFINEVALIDITA"
    " ORDER BY VCG16_44_CF_CLIFOR");
const QString kDirectDecode = QStringLiteral(
    "SELECT CG16_RAGSOANAG FROM VCG16_CG44_ALLADATA WHERE VCG16_44_CF_DITTA = 1 AND VCG16_44_CF_TIPOCF = 0"
    " AND VCG16_44_CF_CLIFOR = 73517 AND '20240630' BETWEEN DATAINIZIOVALIDITA AND DATAFINEVALIDITA");

void run(benchmark::State& state, const QString& sql) {
    for (auto _ : state) {
        const std::vector<ResultSet> rows = scratch->connection()->Query(sql);
        benchmark::DoNotOptimize(rows);
    }
}

void setUp(const QString& engine) {
    scratch = new ScratchDatabase(engine);
    DemoGenerator::Options options;
    options.bills = 1500;
    options.customers = kCustomers;
    QElapsedTimer timer;
    timer.start();
    DemoGenerator::installOn(scratch->connection(), options);
    std::printf("%d customers written in %.1f s\n", kCustomers, timer.elapsed() / 1000.0);
    const ArchiveConnector customers(ArchiveConnector::Archive::Customers,
                                     {1, 0, QStringLiteral("20240630")});
    const ArchiveConnector::Lookup l = customers.lookup();
    request.query = l.query;
    request.orderColumn = l.keyColumn;
    request.searchColumns = l.searchColumns;
    decodeSql = customers.decodeQuery(QStringLiteral("73517"));
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString engine = argc > 1 && QString::fromLatin1(argv[1]) == QStringLiteral("postgresql")
                               ? QStringLiteral("postgresql")
                               : QStringLiteral("sqlite");
    setUp(engine);
    const Connection& c = *scratch->connection();
    const QString firstPage = LookupDialog::pageQuery(request, QString(), QVariant(), c);
    const QString filtered = LookupDialog::pageQuery(request, QStringLiteral("rossi"), QVariant(), c);
    const QString directFirst = c.dialect().limited(kDirectFirstPage, LookupDialog::kPageSize);
    const QString directFiltered = c.dialect().limited(
        kDirectFirstPage.chopped(QStringLiteral(" ORDER BY VCG16_44_CF_CLIFOR").size()) +
            QStringLiteral(" AND UPPER(CG16_RAGSOANAG) LIKE '%ROSSI%' ORDER BY VCG16_44_CF_CLIFOR"),
        LookupDialog::kPageSize);
    struct Case {
        const char* name;
        QString sql;
    };
    static const Case cases[] = {{"first_page_direct", directFirst},  {"first_page_list", firstPage},
                                 {"filtered_direct", directFiltered}, {"filtered_list", filtered},
                                 {"decode_direct", kDirectDecode},    {"decode_connector", decodeSql}};
    for (const Case& k : cases)
        benchmark::RegisterBenchmark(k.name, [&k](benchmark::State& s) { run(s, k.sql); })
            ->Repetitions(5)
            ->ComputeStatistics(
                "min", [](const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); })
            ->DisplayAggregatesOnly(true)
            ->Unit(benchmark::kMillisecond);
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    auto time = [&](const char* name) {
        return reporter.times.value(QLatin1String(name) + QStringLiteral("/repeats:5"));
    };
    std::printf(
        "\nCustomers' search list on %s, %d customers: ratio to the hand-written query, and time"
        " (target: a first page under 50 ms)\n",
        qPrintable(engine), kCustomers);
    for (const auto& [list, direct, label] :
         {std::tuple{"first_page_list", "first_page_direct", "first page"},
          std::tuple{"filtered_list", "filtered_direct", "first page, \"rossi\""},
          std::tuple{"decode_connector", "decode_direct", "decode"}}) {
        const double d = time(direct);
        std::printf("  %-22s %.2f  (%.3f ms)\n", label, d > 0 ? time(list) / d : 0.0, time(list));
    }
    delete scratch;
    return 0;
}

// The calling program's reads on a large selection, as ratios to the bare COUNT(*) of the same
// selection measured in the same run: the first page with its counterparts' names, the count
// and totals under the list, and the ageing grouped by counterpart. Each read is run three times
// and the best time kept.
// Then the whole selection printed to PDF and saved as .xlsx, as ratios to the bare read of the
// same rows page by page, with the peak memory each one took; given a second, smaller database
// (kv_make_large), the same on it, so that the peaks can be compared: they must not grow with
// the rows.
//
//   bench_calling_list sqlite:/tmp/large.sqlite [sqlite:/tmp/small.sqlite]
//   bench_calling_list "postgresql:///kvbench?host=/var/run/postgresql&schema=large"

#include "Ageing.h"
#include "BillListQueries.h"
#include "Connection.h"
#include "CounterpartNames.h"
#include "DemoGenerator.h"
#include "Goal.h"
#include "HeaderQuery.h"
#include "ListOutput.h"
#include "ListPdf.h"
#include "ListSpreadsheet.h"
#include "ListTotals.h"
#include "Recordset.h"
#include "SchemaInstaller.h"
#include "SuiteError.h"
#include "Value.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <algorithm>
#include <cstdio>
#include <ctime>

namespace {

// The figures under the list must be on screen within a second of the search, at any size.
constexpr double kFiguresGoalMs = 1000;

template <typename F>
double best(F&& f, int runs = 3) {
    double out = 1e300;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        t.start();
        f();
        out = std::min(out, double(t.nsecsElapsed()) / 1e6);
    }
    return out;
}

// The process's peak resident memory in kB since the last reset (Linux).
long peakKb() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:")) return line.mid(6).trimmed().split(' ').front().toLong();
    return -1;
}

// The process's processor time in ms: on a shared machine steadier than the clock, and on SQLite
// the whole work (the engine runs in the process).
double cpuMs() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

void resetPeak() {
    QFile refs(QStringLiteral("/proc/self/clear_refs"));
    if (refs.open(QIODevice::WriteOnly)) refs.write("5");
}

// The whole selection read as the print and the export read it, with nothing done with the rows
// but reading their fields; then printed and saved. Times of one run each (they are long), and
// the peak memory above what the process held before each.
void outputs(const QString& connectionString) {
    auto connection = std::make_shared<Connection>();
    connection->Open(connectionString);
    connection->setCatalogue(SchemaInstaller::catalogue());
    const HeaderQuery q = DemoGenerator::customerBills();
    const QDate today = DemoGenerator::today();
    const QString pdf = QDir::temp().filePath(QStringLiteral("kv-bench-elenco.pdf"));
    const QString xlsx = QDir::temp().filePath(QStringLiteral("kv-bench-elenco.xlsx"));
    const std::atomic<bool> go{false};
    qint64 rows = 0;
    struct Measure {
        double ms;
        double cpu;
        long kb;
    };
    auto measured = [&](auto&& f) {
        resetPeak();
        const long before = peakKb();
        const double cpu = cpuMs();
        const double ms = best(f, 1);
        return Measure{ms, cpuMs() - cpu, peakKb() - before};
    };
    const Measure bare = measured([&] {
        Recordset rs;
        rs.OpenPaged(q.selectText(), q.orderText(), connection, ListOutput::kPageSize);
        rows = 0;
        for (; !rs.AtEOF(); rs.MoveNext(), ++rows)
            for (int f = 0; f < rs.FieldCount(); ++f) rs.Fields(f).Value();
    });
    const Measure print = measured([&] {
        ListPdf sink(pdf, QStringLiteral("Effetti clienti"), QStringLiteral("Ditta"), 0);
        ListOutput::run(connection, {q, today, {}}, sink, go);
    });
    const Measure sheet = measured([&] {
        ListSpreadsheet sink(xlsx, QStringLiteral("Effetti clienti"));
        ListOutput::run(connection, {q, today, {}}, sink, go);
    });
    std::printf("%lld effetti clienti letti interi (%s)\n", static_cast<long long>(rows),
                qPrintable(connectionString));
    std::printf("                                    tempo        CPU          picco\n");
    std::printf("lettura nuda a pagine          %9.1f ms 1.00 %9.1f ms 1.00  +%ld kB\n", bare.ms, bare.cpu,
                bare.kb);
    std::printf("stampa PDF di tutto l'elenco   %9.1f ms %.2f %9.1f ms %.2f  +%ld kB  (%lld kB)\n", print.ms,
                print.ms / bare.ms, print.cpu, print.cpu / bare.cpu, print.kb,
                static_cast<long long>(QFile(pdf).size() / 1024));
    std::printf("esportazione .xlsx             %9.1f ms %.2f %9.1f ms %.2f  +%ld kB  (%lld kB)\n", sheet.ms,
                sheet.ms / bare.ms, sheet.cpu, sheet.cpu / bare.cpu, sheet.kb,
                static_cast<long long>(QFile(xlsx).size() / 1024));
    QFile::remove(pdf);
    QFile::remove(xlsx);
}

}  // namespace

int main(int argc, char** argv) {
    // The print lays out text with the fonts of a GUI application; no window is shown.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "uso: bench_calling_list STRINGA-DI-CONNESSIONE [STRINGA-DI-UNA-PIÙ-PICCOLA]\n");
        return 2;
    }
    try {
        auto connection = std::make_shared<Connection>();
        connection->Open(QString::fromLocal8Bit(argv[1]));
        connection->setCatalogue(SchemaInstaller::catalogue());
        const HeaderQuery q = DemoGenerator::customerBills();
        const QString select = q.selectText();
        const QDate today = DemoGenerator::today();

        qint64 bills = 0;
        const double count = best([&] {
            const auto r = connection->QueryReadOnly(QStringLiteral("SELECT COUNT(*) FROM (\r\n") + select +
                                                     QStringLiteral("\r\n) KVCOUNT"));
            bills = r.front().rows.front().value(0).toLongLong();
        });
        const double firstPage = best([&] {
            Recordset rs;
            rs.OpenPaged(select, q.orderText(), connection);
            QStringList codes;
            for (int i = 0; i < Recordset::kPageSize && !rs.AtEOF(); ++i, rs.MoveNext())
                codes << Value::toText(rs.Fields(QStringLiteral("EF01_CLIFOR_CG44")).Value());
            CounterpartNames names(connection, q.company, 0, q.ledgerGroup);
            names.load(codes);
        });
        const double totals = best([&] { connection->QueryReadOnly(ListTotals::query(select, today)); });
        size_t counterparts = 0;
        const double ageing = best([&] {
            counterparts =
                connection->QueryReadOnly(Ageing::query(select, 0, q.company, q.ledgerGroup, today))
                    .front()
                    .rows.size();
        });
        std::printf("%lld effetti clienti, %zu controparti con effetti aperti\n",
                    static_cast<long long>(bills), counterparts);
        std::printf("COUNT(*) della selezione       %9.1f ms  1.00\n", count);
        std::printf("prima pagina con i nomi        %9.1f ms  %.2f\n", firstPage, firstPage / count);
        std::printf("conteggio e totale             %9.1f ms  %.2f  %s (< %.0f ms)\n", totals, totals / count,
                    verdict(totals < kFiguresGoalMs), kFiguresGoalMs);
        std::printf("anzianità per controparte      %9.1f ms  %.2f\n", ageing, ageing / count);
        // The smaller first: its peaks are not hidden by the larger one's pages freed meanwhile.
        if (argc > 2) outputs(QString::fromLocal8Bit(argv[2]));
        outputs(QString::fromLocal8Bit(argv[1]));
        return 0;
    } catch (const SuiteError& e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.description()));
        return 1;
    }
}

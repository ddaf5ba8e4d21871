// The calling program's reads on a large selection, as ratios to the bare COUNT(*) of the same
// selection measured in the same run: the first page with its counterparts' names, the count
// and sum under the list, and the ageing grouped by counterpart. Each read is run three times
// and the best time kept.
//
//   bench_calling_list sqlite:/tmp/large.sqlite
//   bench_calling_list "postgresql:///kvbench?host=/var/run/postgresql&schema=large"

#include "Ageing.h"
#include "BillFilter.h"
#include "BillListQueries.h"
#include "Connection.h"
#include "CounterpartNames.h"
#include "DemoGenerator.h"
#include "HeaderQuery.h"
#include "ListTotals.h"
#include "Recordset.h"
#include "SchemaInstaller.h"
#include "SuiteError.h"
#include "Value.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>

namespace {

template <typename F>
double best(F&& f) {
    double out = 1e300;
    for (int i = 0; i < 3; ++i) {
        QElapsedTimer t;
        t.start();
        f();
        out = std::min(out, double(t.nsecsElapsed()) / 1e6);
    }
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "uso: bench_calling_list STRINGA-DI-CONNESSIONE\n");
        return 2;
    }
    try {
        auto connection = std::make_shared<Connection>();
        connection->Open(QString::fromLocal8Bit(argv[1]));
        connection->setCatalogue(SchemaInstaller::catalogue());
        BillFilter filter;
        HeaderQuery q;
        q.tipoArchivio = 0;
        q.company = DemoGenerator::kCompany;
        q.ledgerGroup = DemoGenerator::kLedgerGroup;
        q.customerAccount = DemoGenerator::customerAccount();
        q.supplierAccount = DemoGenerator::supplierAccount();
        q.order = filter.orderText();
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
            counterparts = connection->QueryReadOnly(Ageing::query(select, 0, today)).front().rows.size();
        });
        std::printf("%lld effetti clienti, %zu controparti con effetti aperti\n",
                    static_cast<long long>(bills), counterparts);
        std::printf("COUNT(*) della selezione       %9.1f ms  1.00\n", count);
        std::printf("prima pagina con i nomi        %9.1f ms  %.2f\n", firstPage, firstPage / count);
        std::printf("conteggio e totale             %9.1f ms  %.2f\n", totals, totals / count);
        std::printf("anzianità per controparte      %9.1f ms  %.2f\n", ageing, ageing / count);
        return 0;
    } catch (const SuiteError& e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.description()));
        return 1;
    }
}

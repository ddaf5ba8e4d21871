// The bank's file of a slip of 10,000 Bills, Ri.Ba. (CBI) and SDD (pain.008), as ratios to the
// bare read of the same Bills' rows of the slip measured in the same run. Each is run three
// times and the best time kept.
//
//   bench_slip_file sqlite
//   bench_slip_file postgresql     (the server KV_TEST_PG names)

#include "Connection.h"
#include "SchemaInstaller.h"
#include "ScratchDatabase.h"
#include "SlipFiles.h"
#include "SlipKinds.h"
#include "SlipRows.h"
#include "SuiteError.h"
#include "TransactionScope.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>

namespace {

constexpr int kBills = 10000;

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

void fill(Connection& c, const SlipKey& riba, const SlipKey& sdd) {
    TransactionScope transaction(c);
    SlipRows f(c);
    f.company(QStringLiteral("A1B2C"), QStringLiteral("IT66ZZZ0000003927460161"));
    for (int k = 0; k < 200; ++k)
        f.customer(
            {.code = 1000 + k,
             .name = QStringLiteral("Cliente %1 S.r.l.").arg(k),
             .iban = Iban::make(
                 QStringLiteral("IT"),
                 Iban::italianBban(5034, 11000 + k, QStringLiteral("%1").arg(k, 12, 10, QLatin1Char('0')))),
             .abi = 5034,
             .cab = 11000 + k,
             .firstDone = k % 2 == 1});
    for (const SlipKey& key : {riba, sdd}) {
        for (int b = 0; b < kBills; ++b)
            f.bill(key, 1000 + b % 200, Decimal::fromMantissa(10000 + b, 2),
                   QDate(2026, 4, 1).addDays(b % 60));
        f.slip(key, kBills, Decimal());
    }
    f.flush();
    transaction.commit();
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QString engine = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("sqlite");
    try {
        ScratchDatabase db(engine);
        Connection& c = *db.connection();
        c.setCatalogue(SchemaInstaller::catalogue());
        SchemaInstaller(db.connection()).install();
        const SlipKey riba{SlipRows::kCompany, SlipKinds::kRiba, SlipRows::kYear, 1};
        const SlipKey sdd{SlipRows::kCompany, SlipKinds::kSdd, SlipRows::kYear, 1};
        fill(c, riba, sdd);

        // The baseline: the slip's Bills read bare, their rows and nothing else.
        const double bare = best([&] {
            c.Query(QStringLiteral(
                "SELECT EF01_SCADENZE.* FROM EF06_SCADSTO INNER JOIN EF01_SCADENZE ON EF01_DITTA_CG18 = "
                "EF06_DITTA_CG18 AND EF01_NUMREG_CO99 = EF06_NUMREG_CO99 AND EF01_RIGACONT_CG42 = "
                "EF06_RIGACONT_EF01 AND EF01_PROGEC_EC01 = EF06_PROGEC_EF01 AND EF01_PROGEFF = "
                "EF06_PROGEFF_EF01 "
                "WHERE EF06_INDTIPOPER = 3 AND EF06_DITTA_EF09 = 1 AND EF06_INDTIPODIST_EF09 = 0 AND "
                "EF06_ANNO_EF09 = 2026 AND EF06_NUMDIST_EF09 = 1"));
        });
        const QDateTime now = QDateTime::currentDateTime();
        const double cbi = best([&] { SlipFiles::content(c, riba, now); });
        const double pain = best([&] { SlipFiles::content(c, sdd, now); });
        std::printf("%s, slip of %d Bills\n", qPrintable(engine), kBills);
        std::printf("  bare read of the slip's Bills   %8.1f ms\n", bare);
        std::printf("  CBI Ri.Ba. file                 %8.1f ms  %5.2fx\n", cbi, cbi / bare);
        std::printf("  SEPA pain.008 file              %8.1f ms  %5.2fx\n", pain, pain / bare);
    } catch (const SuiteError& e) {
        std::fprintf(stderr, "bench_slip_file: %s\n", qPrintable(e.description()));
        return 1;
    }
    return 0;
}

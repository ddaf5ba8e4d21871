// Narrow selections on databases of different sizes: the first page of one customer's Bills (by
// code, as the calling program selects them) and of a customer chosen by registry name (the
// header query's joined form), each the best of three runs, on every database given; then how
// much the largest one's pages grew against the first one's. Goals: a first page under 50 ms and
// a growth under 2x. The name is one that a single customer has: the larger databases give more
// customers the same name (five Bill-holders of one name at a million Bills, none at ten
// thousand), whose page of all their Bills would grow with its own size, not with the
// selection's; the middle customer's name, shared or not, is measured beside it and printed.
//
//   bench_selection sqlite:/tmp/small.sqlite sqlite:/tmp/large.sqlite
//   bench_selection "postgresql:///kvbench?host=/var/run/postgresql&schema=small"
//                   "postgresql:///kvbench?host=/var/run/postgresql&schema=large"

#include "BillFilter.h"
#include "Connection.h"
#include "DemoGenerator.h"
#include "Goal.h"
#include "HeaderQuery.h"
#include "Recordset.h"
#include "SchemaInstaller.h"
#include "SqlText.h"
#include "SuiteError.h"
#include "Value.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>

namespace {

constexpr double kGoalMs = 50;
constexpr double kGoalGrowth = 2;

HeaderQuery customerBills(const QString& selection, bool joined) {
    HeaderQuery q;
    q.tipoArchivio = 0;
    q.company = DemoGenerator::kCompany;
    q.ledgerGroup = DemoGenerator::kLedgerGroup;
    q.customerAccount = DemoGenerator::customerAccount();
    q.supplierAccount = DemoGenerator::supplierAccount();
    q.order = BillFilter{}.orderText();
    q.selection = selection;
    q.joined = joined;
    return q;
}

// The best of three openings of the selection's first page, every field of it read.
double firstPage(const std::shared_ptr<Connection>& c, const HeaderQuery& q, int* rows) {
    double best = 1e300;
    for (int run = 0; run < 3; ++run) {
        QElapsedTimer t;
        t.start();
        Recordset rs;
        rs.OpenPaged(q.selectText(), q.orderText(), c);
        *rows = 0;
        for (; *rows < Recordset::kPageSize && !rs.AtEOF(); ++*rows, rs.MoveNext())
            for (int f = 0; f < rs.FieldCount(); ++f) rs.Fields(f).Value();
        best = std::min(best, double(t.nsecsElapsed()) / 1e6);
    }
    return best;
}

struct Figures {
    double byCode = 0;
    double byName = 0;
    double bySharedName = 0;  // not in the growth: its page grows with the namesakes
};

// The customer with the middle code among `onlyNamed` (all with Bills when empty): code, name.
QVariantList middleCustomer(const std::shared_ptr<Connection>& c, const QString& onlyNamed = {}) {
    const QString customers = QStringLiteral(
                                  "FROM VCG16_CG44_ALLADATA WHERE VCG16_44_CF_DITTA = %1 AND "
                                  "VCG16_44_CF_TIPOCF = 0")
                                  .arg(DemoGenerator::kCompany);
    const std::vector<ResultSet> customer =
        c->Query(QStringLiteral("SELECT VCG16_44_CF_CLIFOR, CG16_RAGSOANAG ") + customers + onlyNamed +
                 QStringLiteral(" ORDER BY VCG16_44_CF_CLIFOR"));
    if (customer.empty() || customer.front().rows.empty())
        throw SuiteError(SuiteError::kCommandFailed, QStringLiteral("bench"),
                         QStringLiteral("nessun cliente"));
    const auto& rows = customer.front().rows;
    const QVector<QVariant>& middle = rows[rows.size() / 2];
    return {Value::toText(Value::natural(middle.value(0))).trimmed(),
            Value::toText(middle.value(1)).trimmed()};
}

Figures measure(const QString& db) {
    auto c = std::make_shared<Connection>();
    c->Open(db);
    c->setCatalogue(SchemaInstaller::catalogue());
    const QVariantList middle = middleCustomer(c);
    const QString code = middle.value(0).toString();
    const QString shared = middle.value(1).toString();
    const QString own =
        middleCustomer(
            c, QStringLiteral(" AND CG16_RAGSOANAG IN (SELECT CG16_RAGSOANAG FROM VCG16_CG44_ALLADATA "
                              "WHERE VCG16_44_CF_DITTA = %1 AND VCG16_44_CF_TIPOCF = 0 GROUP BY "
                              "CG16_RAGSOANAG HAVING COUNT(*) = 1)")
                   .arg(DemoGenerator::kCompany))
            .value(1)
            .toString();
    auto byName = [&](const QString& name, int* rows) {
        return firstPage(
            c, customerBills(QStringLiteral("ANAGCLIFOR.CG16_RAGSOANAG = ") + SqlText::quote(name), true),
            rows);
    };
    Figures f;
    int byCodeRows = 0;
    int byNameRows = 0;
    int sharedRows = 0;
    f.byCode = firstPage(c, customerBills(QStringLiteral("EF01_CLIFOR_CG44 = ") + code, false), &byCodeRows);
    f.byName = byName(own, &byNameRows);
    f.bySharedName = byName(shared, &sharedRows);
    std::printf("%s\n  cliente %s per codice: prima pagina %8.1f ms (%d effetti)\n", qPrintable(db),
                qPrintable(code), f.byCode, byCodeRows);
    std::printf("  cliente per ragione sociale \"%s\": prima pagina %8.1f ms (%d effetti)\n", qPrintable(own),
                f.byName, byNameRows);
    std::printf("  (la ragione sociale del cliente %s, \"%s\": prima pagina %8.1f ms, %d effetti)\n",
                qPrintable(code), qPrintable(shared), f.bySharedName, sharedRows);
    return f;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList databases = app.arguments().mid(1);
    if (databases.isEmpty()) {
        std::fprintf(
            stderr,
            "uso: bench_selection STRINGA-DI-CONNESSIONE-PICCOLA [STRINGA-DI-CONNESSIONE-GRANDE...]\n");
        return 2;
    }
    try {
        std::vector<Figures> all;
        for (const QString& db : databases) all.push_back(measure(db));
        const Figures& first = all.front();
        const Figures& last = all.back();
        const double worst = std::max({last.byCode, last.byName, last.bySharedName});
        std::printf("prima pagina più lenta %.1f ms: %s (< %.0f ms)\n", worst, verdict(worst < kGoalMs),
                    kGoalMs);
        if (all.size() > 1) {
            const double growthCode = last.byCode / first.byCode;
            const double growthName = last.byName / first.byName;
            std::printf("crescita dalla prima all'ultima: per codice %.2fx, per nome %.2fx: %s (< %.0fx)\n",
                        growthCode, growthName, verdict(std::max(growthCode, growthName) < kGoalGrowth),
                        kGoalGrowth);
        }
    } catch (const SuiteError& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}

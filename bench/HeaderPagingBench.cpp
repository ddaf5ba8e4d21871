// The bill form's header on a large selection: read page by page beside the same selection read
// whole, in the same run. For each database: open and show the first Bill, the next Bill, the
// last Bill, a seek to a Bill half-way through the selection, and the deletion of that Bill
// with the form's statements and re-read; the time of each and the process's resident memory
// (VmRSS) after the open. The paged read runs first, so that its memory is not the memory the
// whole read left behind.
//
//   bench_header_paging sqlite:/tmp/large.sqlite
//   "postgresql:///kvbench?host=/var/run/postgresql&schema=large"

#include "BillStatements.h"
#include "Connection.h"
#include "DemoGenerator.h"
#include "Goal.h"
#include "HeaderQuery.h"
#include "Recordset.h"
#include "SchemaInstaller.h"
#include "SuiteError.h"
#include "Value.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <cstdio>

namespace {

double residentMegabytes() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    return -1;
}

// The form's goals on a large selection: its first Bill, and every click on "Successivo" (the
// session's first, and one that reads a page, included).
constexpr double kOpenGoalMs = 150;
constexpr double kClickGoalMs = 20;

struct Figures {
    double openMs = 0, firstNextMs = 0, nextMs = 0, nextPageMs = 0, lastMs = 0, seekMs = 0, deleteMs = 0,
           rssMb = 0;
    int loaded = 0;
};

template <typename F>
double timed(F&& f) {
    QElapsedTimer t;
    t.start();
    f();
    return double(t.nsecsElapsed()) / 1e6;
}

QVector<QVariant> keyOf(Recordset& rs) {
    QVector<QVariant> key;
    for (const char* c :
         {"EF01_DITTA_CG18", "EF01_NUMREG_CO99", "EF01_RIGACONT_CG42", "EF01_PROGEC_EC01", "EF01_PROGEFF"})
        key.append(rs.Fields(QString::fromLatin1(c)).Value());
    return key;
}

BillStatements::Key billKey(const QVector<QVariant>& k) {
    return {Value::toInt(k[0]), Value::toText(k[1]), Value::toInt(k[2]), Value::toInt(k[3]),
            Value::toInt(k[4])};
}

// The key of the Bill at `offset` in the selection's order, read once, untimed.
QVector<QVariant> keyAt(const std::shared_ptr<Connection>& c, const HeaderQuery& q, long offset) {
    Recordset rs;
    rs.Open(c->dialect().limited(q.text(), 1) + QStringLiteral(" OFFSET ") + QString::number(offset), c);
    return keyOf(rs);
}

Figures run(const std::shared_ptr<Connection>& c, const HeaderQuery& q, bool paged,
            const QVector<QVariant>& target) {
    Figures f;
    auto rs = std::make_shared<Recordset>();
    f.openMs = timed([&] {
        if (paged)
            rs->OpenPaged(q.selectText(), q.orderText(), c);
        else
            rs->Open(q.text(), c, Recordset::Origin::CallerText);
        rs->Fields(QStringLiteral("EF01_NUMREG_CO99")).Value();
    });
    f.rssMb = residentMegabytes();
    f.loaded = rs->RecordCount();
    // The next Bill: the mean of a walk over two pages, and the slowest step (a page read).
    const int steps = 2 * Recordset::kPageSize;
    double total = 0;
    for (int i = 0; i < steps && !rs->AtEOF(); ++i) {
        const double ms = timed([&] { rs->MoveNext(); });
        if (i == 0) f.firstNextMs = ms;
        total += ms;
        f.nextPageMs = std::max(f.nextPageMs, ms);
    }
    f.nextMs = total / steps;
    f.lastMs = timed([&] {
        rs->MoveLast();
        rs->Fields(QStringLiteral("EF01_NUMREG_CO99")).Value();
    });
    f.seekMs = timed([&] {
        if (!rs->SeekKey(target)) std::fprintf(stderr, "Bill not found\n");
    });
    // The form's deletion: the Bill's rows in one transaction, then the rows around it again.
    f.deleteMs = timed([&] {
        c->BeginTrans();
        c->Execute(BillStatements::deleteBill(billKey(keyOf(*rs))));
        c->CommitTrans();
        if (paged) {
            rs->RequeryAround();
        } else {
            const int position = rs->AbsolutePosition();
            rs->Requery();
            if (rs->RecordCount() > 0) rs->setAbsolutePosition(std::min(position, rs->RecordCount()));
        }
    });
    return f;
}

void print(const char* what, const Figures& f) {
    std::printf(
        "  %-6s open %9.1f ms  rss %7.1f MB  (%d rows loaded)  next %7.3f ms (page read %6.1f ms)  last "
        "%8.1f ms"
        "  seek %8.1f ms  delete %8.1f ms\n",
        what, f.openMs, f.rssMb, f.loaded, f.nextMs, f.nextPageMs, f.lastMs, f.seekMs, f.deleteMs);
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList databases = app.arguments().mid(1);
    if (databases.isEmpty()) {
        std::fprintf(stderr, "uso: bench_header_paging STRINGA-DI-CONNESSIONE...\n");
        return 2;
    }
    try {
        for (const QString& db : databases) {
            auto c = std::make_shared<Connection>();
            c->Open(db);
            c->setCatalogue(SchemaInstaller::catalogue());
            SchemaInstaller installer(c);
            const double indexMs = timed([&] { installer.addMissingIndexes(); });
            const HeaderQuery q = DemoGenerator::customerBills();
            // The number the calling program shows under its list.
            Recordset count;
            const double countMs = timed([&] {
                count.Open(QStringLiteral("SELECT COUNT(*) FROM (") + q.selectText() + QStringLiteral(") N"),
                           c, Recordset::Origin::CallerText);
            });
            const long n = Value::toInt(count.Fields(0).Value());
            std::printf("%s: %ld customer Bills, counted in %.1f ms (indexes checked in %.0f ms)\n",
                        qPrintable(db), n, countMs, indexMs);
            const QVector<QVariant> pagedTarget = keyAt(c, q, n / 2);
            const QVector<QVariant> wholeTarget = keyAt(c, q, n / 2 + 7);
            const Figures paged = run(c, q, true, pagedTarget);
            print("paged", paged);
            std::printf(
                "  primo effetto %.1f ms: %s (< %.0f ms); primo clic %.1f ms, clic più lento %.1f ms: %s "
                "(< %.0f ms)\n",
                paged.openMs, verdict(paged.openMs < kOpenGoalMs), kOpenGoalMs, paged.firstNextMs,
                paged.nextPageMs, verdict(paged.nextPageMs < kClickGoalMs), kClickGoalMs);
            const Figures whole = run(c, q, false, wholeTarget);
            print("whole", whole);
            std::printf(
                "  ratio whole/paged: open %.1fx, memory %.1fx, next %.1fx, last %.1fx, seek %.1fx, delete "
                "%.1fx\n",
                whole.openMs / paged.openMs, whole.rssMb / paged.rssMb, whole.nextMs / paged.nextMs,
                whole.lastMs / paged.lastMs, whole.seekMs / paged.seekMs, whole.deleteMs / paged.deleteMs);
            std::fflush(stdout);
        }
    } catch (const SuiteError& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}

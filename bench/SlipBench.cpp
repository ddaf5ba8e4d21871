// A slip of 10,000 Bills against the bare writes of the same rows, in the same run: for each
// database, the same Bills are laid out as open Ri.Ba. Bills due in one month (untimed), then
// written alternately by
//   bare:  one transaction with the slip's row and its bank's and, for each Bill, one UPDATE of its
//   presentation
//          and one INSERT ... SELECT of its movement copied from the Bill by the database itself;
//   slip:  SlipWriter::write, as "Presenta" runs it (the guarded update, the snapshot read, the
//          history writer's movement, the refusals' checks);
// each followed by the same untimed reset. The best of three of each, and their ratio.
//
//   kv_make_large --db sqlite:/tmp/large.sqlite --bills 40000
//   bench_slip sqlite:/tmp/large.sqlite ["postgresql:///kvbench?host=/var/run/postgresql&schema=large"]

#include "CompanyBank.h"
#include "Connection.h"
#include "DemoGenerator.h"
#include "SchemaInstaller.h"
#include "SlipCandidates.h"
#include "SlipWriter.h"
#include "SuiteError.h"
#include "TransactionScope.h"
#include "Value.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>

namespace {

constexpr int kBills = 10000;
constexpr int kRounds = 3;
const QDate kDate(2031, 1, 15);

const QString kLaidOut = QStringLiteral(
    " EF01_TIPOEFF = 2, EF01_INDSTATO_S = 0, EF01_BANCAPRE_SCG12 = NULL, EF01_AGENPRE_SCG13 = NULL,"
    " EF01_INDPRES_S = 1, EF01_SCADE_S = '20310210'");

// The chosen Bills laid out as candidates, every slip and movement of the run (year 2031) removed.
void reset(Connection& c, const QList<BillKey>& chosen) {
    TransactionScope t(c);
    c.Execute(QStringLiteral("DELETE FROM EF06_SCADSTO WHERE EF06_ANNO_EF09 = 2031"));
    c.Execute(QStringLiteral("DELETE FROM EF09_DISTINTE WHERE EF09_ANNO = 2031"));
    c.Execute(QStringLiteral("DELETE FROM KV25_BANCHEDIST WHERE KV25_ANNO = 2031"));
    for (const BillKey& k : chosen)
        c.Execute(QStringLiteral("UPDATE EF01_SCADENZE SET") + kLaidOut + k.where(QStringLiteral("EF01")));
    t.commit();
}

void bare(Connection& c, const QList<SlipBill>& bills, const CompanyBank& bank) {
    TransactionScope t(c);
    c.Execute(QStringLiteral(
                  "INSERT INTO EF09_DISTINTE (EF09_DITTA_CG18, EF09_INDTIPODIST, EF09_ANNO, EF09_NUMDIST,"
                  " EF09_DATACRESUPP, EF09_NUMTOTEFF, EF09_IMPTOTEFF) VALUES (1, 0, 2031, 1, '20310115',"
                  " %1, 0)")
                  .arg(bills.size()));
    c.Execute(
        QStringLiteral("INSERT INTO KV25_BANCHEDIST (KV25_DITTA_CG18, KV25_INDTIPODIST, KV25_ANNO,"
                       " KV25_NUMDIST, KV25_BANCA_CG12, KV25_AGENZIA_CG13) VALUES (1, 0, 2031, 1, %1, %2)")
            .arg(bank.abi)
            .arg(bank.cab));
    const QString snapshot = QStringLiteral(
        "EF06_SCADE_S, EF06_IMPEFF_S, EF06_IMPEFFVAL_S, EF06_IMPEFFNETPREV_S, EF06_IMPEFFNETPREVVAL_S,"
        " EF06_INDSPERIT_S, EF06_SPESERIT_S, EF06_SPESERITBAN_S, EF06_BANCAPRE_S, EF06_AGENZPRE_S,"
        " EF06_NUMSTEFF_S, EF06_NUMRIEMIS_S, EF06_INDSTATO_S, EF06_INDGENSTATO_S, EF06_INDPRES_S,"
        " EF06_FLGSTEFF_S, EF06_FLGGIRATO_S, EF06_FLGRICEVUTO_S, EF06_FLGINCASSOBF_S");
    const QString from = QStringLiteral(
        "EF01_SCADE_S, EF01_IMPEFF_S, EF01_IMPEFFVAL_S, EF01_IMPEFFNETPREV_S, EF01_IMPEFFNETPREVVAL_S,"
        " EF01_INDSPERIT_S, EF01_SPESERIT_S, EF01_SPESERITBAN_S, EF01_BANCAPRE_SCG12, EF01_AGENPRE_SCG13,"
        " EF01_NUMSTEFF_S, EF01_NUMRIEMIS_S, EF01_INDSTATO_S, EF01_INDGENSTATO_S, EF01_INDPRES_S,"
        " EF01_FLGSTEFF_S, EF01_FLGGIRATO_S, EF01_FLGRICEVUTO_S, EF01_FLGINCASSOBF_S");
    for (const SlipBill& b : bills) {
        c.Execute(
            QStringLiteral(
                "INSERT INTO EF06_SCADSTO (EF06_DITTA_CG18, EF06_NUMREG_CO99, EF06_RIGACONT_EF01,"
                " EF06_PROGEC_EF01, EF06_PROGEFF_EF01, EF06_PROGSTO, EF06_INDTIPOPER, EF06_DATAREG,"
                " EF06_DITTA_EF09, EF06_INDTIPODIST_EF09, EF06_ANNO_EF09, EF06_NUMDIST_EF09, ") +
            snapshot +
            QStringLiteral(") SELECT EF01_DITTA_CG18, EF01_NUMREG_CO99, EF01_RIGACONT_CG42, EF01_PROGEC_EC01,"
                           " EF01_PROGEFF, 9000, 3, '20310115', 1, 0, 2031, 1, ") +
            from + QStringLiteral(" FROM EF01_SCADENZE") + b.key.where(QStringLiteral("EF01")));
        c.Execute(QStringLiteral("UPDATE EF01_SCADENZE SET EF01_BANCAPRE_SCG12 = %1, EF01_AGENPRE_SCG13 = %2,"
                                 " EF01_INDPRES_S = 2")
                      .arg(bank.abi)
                      .arg(bank.cab) +
                  b.key.where(QStringLiteral("EF01")));
    }
    t.commit();
}

double timed(const std::function<void()>& f) {
    QElapsedTimer t;
    t.start();
    f();
    return double(t.nsecsElapsed()) / 1e9;
}

void measure(const QString& database) {
    auto c = std::make_shared<Connection>();
    c->Open(database);
    c->setCatalogue(SchemaInstaller::catalogue());
    QList<BillKey> chosen;
    const std::vector<ResultSet> found = c->Query(c->dialect().limited(
        QStringLiteral(
            "SELECT EF01_DITTA_CG18, EF01_NUMREG_CO99, EF01_RIGACONT_CG42, EF01_PROGEC_EC01, EF01_PROGEFF"
            " FROM EF01_SCADENZE WHERE EF01_DITTA_CG18 = 1 AND EF01_TIPOCF_CG44 = 0 AND"
            " EF01_CLIFOR_CG44 IS NOT NULL ORDER BY 1, 2, 3, 4, 5"),
        kBills));
    for (const QVector<QVariant>& row : found.front().rows)
        chosen.append({Value::toInt(row[0]), Value::toText(row[1]), Value::toInt(row[2]),
                       Value::toInt(row[3]), Value::toInt(row[4])});
    if (chosen.size() < kBills) {
        std::fprintf(stderr, "%s: fewer than %d customer Bills (kv_make_large --bills 40000)\n",
                     qPrintable(database), kBills);
        return;
    }
    SlipFilter filter;
    filter.dueFrom = filter.dueTo = QDate(2031, 2, 10);
    const QList<CompanyBank> banks = CompanyBank::of(c, DemoGenerator::kCompany);
    SlipOrder order;
    order.company = DemoGenerator::kCompany;
    order.date = kDate;
    order.bank = *std::find_if(banks.begin(), banks.end(), [](const CompanyBank& b) { return b.abi != 0; });
    double bestBare = 1e9;
    double bestSlip = 1e9;
    double read = 0;
    for (int round = 0; round < kRounds; ++round) {
        reset(*c, chosen);
        read =
            timed([&] { order.bills = SlipCandidates(c, DemoGenerator::kCompany).read(QString(), filter); });
        if (order.bills.size() != kBills) {
            std::fprintf(stderr, "%lld candidates instead of %d\n", qlonglong(order.bills.size()), kBills);
            return;
        }
        bestBare = std::min(bestBare, timed([&] { bare(*c, order.bills, order.bank); }));
        reset(*c, chosen);
        bestSlip = std::min(bestSlip, timed([&] { SlipWriter(c).write(order); }));
    }
    reset(*c, chosen);
    std::printf(
        "%s\n  candidates read %.2f s; bare writes %.2f s; slip %.2f s; slip / bare %.2fx (target <= 3x)\n",
        qPrintable(database), read, bestBare, bestSlip, bestSlip / bestBare);
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "bench_slip CONNECTION...  (a database made by kv_make_large --bills 40000)\n");
        return 2;
    }
    try {
        for (int i = 1; i < argc; ++i) measure(QString::fromLocal8Bit(argv[i]));
    } catch (const SuiteError& e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.description()));
        return 1;
    }
    return 0;
}

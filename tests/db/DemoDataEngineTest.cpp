#include "CodeLists.h"
#include "DemoGenerator.h"
#include "SchemaInstaller.h"
#include "SqlText.h"
#include "TestDatabase.h"
#include "Value.h"

#include <gtest/gtest.h>

#include <array>

namespace {

constexpr int kBills = 900;

std::shared_ptr<Connection> demo(const TestDatabase& db, DemoGenerator::Counts* counts = nullptr) {
    auto c = db.connect(SchemaInstaller::catalogue());
    const DemoGenerator::Counts made = DemoGenerator::installOn(c, {.bills = kBills});
    if (counts) *counts = made;
    return c;
}

QVariant scalar(Connection& c, const QString& sql) {
    const auto results = c.Query(sql);
    if (results.empty() || results.front().rows.empty()) return QVariant();
    return results.front().rows.front().value(0);
}

long long count(Connection& c, const QString& sql) {
    return Value::toDecimal(scalar(c, sql)).toLongLong();
}

// "Child row of `table` (prefix p) whose Bill is missing".
QString orphans(const QString& table, const QString& p) {
    return QStringLiteral(
               "SELECT COUNT(*) FROM %1 WHERE NOT EXISTS (SELECT 1 FROM EF01_SCADENZE WHERE"
               " EF01_DITTA_CG18 = %2DITTA_CG18 AND EF01_NUMREG_CO99 = %2NUMREG_CO99"
               " AND EF01_RIGACONT_CG42 = %2RIGACONT_EF01 AND EF01_PROGEC_EC01 = %2PROGEC_EF01"
               " AND EF01_PROGEFF = %2PROGEFF_EF01)")
        .arg(table, p);
}

class DemoData : public ::testing::TestWithParam<TestEngine> {};

TEST_P(DemoData, ChildRowsAndLinksPointAtExistingBills) {
    REQUIRE_ENGINE(GetParam());
    TestDatabase db(GetParam());
    DemoGenerator::Counts made;
    auto c = demo(db, &made);
    EXPECT_EQ(made.bills, kBills);
    EXPECT_EQ(count(*c, "SELECT COUNT(*) FROM EF01_SCADENZE"), kBills);
    EXPECT_EQ(count(*c, "SELECT COUNT(*) FROM EF06_SCADSTO"), made.history);
    EXPECT_GT(made.history, 0);
    EXPECT_GT(made.reminders, 0);
    EXPECT_GT(made.notes, 0);
    EXPECT_GT(made.billsOfExchange, 0);

    EXPECT_EQ(count(*c, orphans("EF03_SCADCECAM", "EF03_")), 0);
    EXPECT_EQ(count(*c, orphans("EF04_SCADNOTE", "EF04_")), 0);
    EXPECT_EQ(count(*c, orphans("EF05_SCADSOLLEC", "EF05_")), 0);
    EXPECT_EQ(count(*c, orphans("EF06_SCADSTO", "EF06_")), 0);

    // Every Bill has its document, and documents come both from this module (4) and from others.
    EXPECT_EQ(count(*c,
                    "SELECT COUNT(*) FROM EF01_SCADENZE WHERE NOT EXISTS (SELECT 1 FROM CO99_MASTERDOC"
                    " WHERE CO99_DITTA_CG18 = EF01_DITTA_CG18 AND CO99_NUMREG = EF01_NUMREG_CO99)"),
              0);
    EXPECT_GT(count(*c, "SELECT COUNT(*) FROM CO99_MASTERDOC WHERE CO99_INDTIPOOP = 4"), 0);
    EXPECT_GT(count(*c, "SELECT COUNT(*) FROM CO99_MASTERDOC WHERE CO99_INDTIPOOP <> 4"), 0);

    // A link is five columns written together and names a Bill of the same company.
    for (const QString side : {"RIC", "GIR"}) {
        SCOPED_TRACE(side.toStdString());
        const QString cols = QStringLiteral(
                                 "EF03_DITTA%1_EF01, EF03_NUMREG%1_EF01, EF03_RIGACONT%1_EF01, "
                                 "EF03_PROGEC%1_EF01, EF03_PROGEFF%1_EF01")
                                 .arg(side);
        QStringList nulls, set;
        for (const QString& col : cols.split(", ")) {
            nulls << col + " IS NULL";
            set << col + " IS NOT NULL";
        }
        EXPECT_EQ(count(*c, QStringLiteral("SELECT COUNT(*) FROM EF03_SCADCECAM WHERE NOT ((%1) OR (%2))")
                                .arg(nulls.join(" AND "), set.join(" AND "))),
                  0);
        EXPECT_GT(count(*c, QStringLiteral(
                                "SELECT COUNT(*) FROM EF03_SCADCECAM WHERE EF03_NUMREG%1_EF01 IS NOT NULL")
                                .arg(side)),
                  0);
        EXPECT_EQ(
            count(
                *c,
                QStringLiteral(
                    "SELECT COUNT(*) FROM EF03_SCADCECAM WHERE EF03_NUMREG%1_EF01 IS NOT NULL"
                    " AND NOT EXISTS (SELECT 1 FROM EF01_SCADENZE WHERE EF01_DITTA_CG18 = EF03_DITTA%1_EF01"
                    " AND EF01_DITTA_CG18 = EF03_DITTA_CG18 AND EF01_NUMREG_CO99 = EF03_NUMREG%1_EF01"
                    " AND EF01_RIGACONT_CG42 = EF03_RIGACONT%1_EF01 AND EF01_PROGEC_EC01 = EF03_PROGEC%1_EF01"
                    " AND EF01_PROGEFF = EF03_PROGEFF%1_EF01)")
                    .arg(side)),
            0);
    }
    // The received and endorsed flags agree with the links.
    EXPECT_EQ(count(*c,
                    "SELECT COUNT(*) FROM EF03_SCADCECAM INNER JOIN EF01_SCADENZE ON EF01_DITTA_CG18 = "
                    "EF03_DITTA_CG18"
                    " AND EF01_NUMREG_CO99 = EF03_NUMREG_CO99 AND EF01_RIGACONT_CG42 = EF03_RIGACONT_EF01"
                    " AND EF01_PROGEC_EC01 = EF03_PROGEC_EF01 AND EF01_PROGEFF = EF03_PROGEFF_EF01"
                    " WHERE (EF03_NUMREGRIC_EF01 IS NOT NULL AND EF01_FLGRICEVUTO_S <> 1)"
                    " OR (EF03_NUMREGGIR_EF01 IS NOT NULL AND EF01_FLGGIRATO_S <> 1)"),
              0);
}

// The history of each Bill: progressives 1..n without gaps, and snapshots that follow from
// one another (the state before a movement is the state the previous movement left).
TEST_P(DemoData, HistoryProgressivesAndSnapshotsAreConsistent) {
    REQUIRE_ENGINE(GetParam());
    TestDatabase db(GetParam());
    auto c = demo(db);
    const QString today = SqlText::quote(DemoGenerator::today().toString("yyyyMMdd"));
    // Rows that must not be there, each counted by its query.
    const QStringList none = {
        // Progressives 1..n without gaps, of movements and of reminders.
        QStringLiteral("SELECT COUNT(*) FROM (SELECT EF06_NUMREG_CO99, EF06_RIGACONT_EF01, EF06_PROGEC_EF01, "
                       "EF06_PROGEFF_EF01"
                       " FROM EF06_SCADSTO GROUP BY EF06_DITTA_CG18, EF06_NUMREG_CO99, EF06_RIGACONT_EF01,"
                       " EF06_PROGEC_EF01, EF06_PROGEFF_EF01"
                       " HAVING MIN(EF06_PROGSTO) <> 1 OR MAX(EF06_PROGSTO) <> COUNT(*)) GAPS"),
        QStringLiteral(
            "SELECT COUNT(*) FROM EF05_SCADSOLLEC S WHERE S.EF05_PROGAVVISI > 1 AND NOT EXISTS (SELECT 1 FROM"
            " EF05_SCADSOLLEC P WHERE P.EF05_NUMREG_CO99 = S.EF05_NUMREG_CO99 AND P.EF05_RIGACONT_EF01 ="
            " S.EF05_RIGACONT_EF01 AND P.EF05_PROGEC_EF01 = S.EF05_PROGEC_EF01 AND P.EF05_PROGEFF_EF01 ="
            " S.EF05_PROGEFF_EF01 AND P.EF05_PROGAVVISI = S.EF05_PROGAVVISI - 1)"),
        // Every Bill starts open and never reissued.
        QStringLiteral("SELECT COUNT(*) FROM EF06_SCADSTO WHERE EF06_PROGSTO = 1"
                       " AND (EF06_INDSTATO_S <> 0 OR EF06_NUMRIEMIS_S <> 0 OR EF06_INDGENSTATO_S <> 0)"),
        // The books stand at the demo's day: nothing happened after it.
        QStringLiteral("SELECT COUNT(*) FROM EF06_SCADSTO WHERE EF06_DATAREG > %1").arg(today),
        QStringLiteral("SELECT COUNT(*) FROM EF05_SCADSOLLEC WHERE EF05_DATAAVVISO > %1").arg(today),
        // Distinte, transfer orders and SEPA reasons named by movements exist.
        QStringLiteral("SELECT COUNT(*) FROM EF06_SCADSTO WHERE EF06_NUMDIST_EF09 IS NOT NULL AND NOT EXISTS "
                       "(SELECT 1 FROM"
                       " EF09_DISTINTE WHERE EF09_DITTA_CG18 = EF06_DITTA_EF09 AND EF09_INDTIPODIST = "
                       "EF06_INDTIPODIST_EF09"
                       " AND EF09_ANNO = EF06_ANNO_EF09 AND EF09_NUMDIST = EF06_NUMDIST_EF09)"),
        QStringLiteral("SELECT COUNT(*) FROM EF06_SCADSTO WHERE EF06_NUMORDPBONIF_EF10 IS NOT NULL AND NOT "
                       "EXISTS (SELECT 1 FROM"
                       " EF10_ORDPBONIF WHERE EF10_DITTA_CG18 = EF06_DITTA_EF10 AND EF10_INDORDPBONIF = "
                       "EF06_INDORDPBONIF_EF10"
                       " AND EF10_ANNO = EF06_ANNO_EF10 AND EF10_NUMORDPBONIF = EF06_NUMORDPBONIF_EF10)"),
        QStringLiteral(
            "SELECT COUNT(*) FROM EF06_SCADSTO WHERE EF06_ORDBONCAUPAG IS NOT NULL AND NOT EXISTS (SELECT 1"
            " FROM CG6G_CAUSPAGSEPA WHERE CG6G_CODICE = EF06_ORDBONCAUPAG AND CG6G_INDTIPOMOV ="
            " CASE EF06_INDTIPOPER WHEN 4 THEN 1 WHEN 10 THEN 2 ELSE 0 END)")};
    for (const QString& sql : none) EXPECT_EQ(count(*c, sql), 0) << sql.toStdString();
    // The state after movement k: the snapshot of movement k + 1, or the Bill itself after the last.
    const QString after = QStringLiteral(
        "SELECT M.EF06_INDTIPOPER AS TIPO, M.EF06_INDSTATO_S AS PRIMA, M.EF06_NUMRIEMIS_S AS RIEMPRIMA,"
        " COALESCE(N.EF06_INDSTATO_S, B.EF01_INDSTATO_S) AS DOPO, COALESCE(N.EF06_NUMRIEMIS_S, "
        "B.EF01_NUMRIEMIS_S) AS RIEMDOPO,"
        " COALESCE(N.EF06_SCADE_S, B.EF01_SCADE_S) AS SCADEDOPO, M.EF06_SCADE_S AS SCADEPRIMA"
        " FROM EF06_SCADSTO M INNER JOIN EF01_SCADENZE B ON B.EF01_DITTA_CG18 = M.EF06_DITTA_CG18"
        " AND B.EF01_NUMREG_CO99 = M.EF06_NUMREG_CO99 AND B.EF01_RIGACONT_CG42 = M.EF06_RIGACONT_EF01"
        " AND B.EF01_PROGEC_EC01 = M.EF06_PROGEC_EF01 AND B.EF01_PROGEFF = M.EF06_PROGEFF_EF01"
        " LEFT OUTER JOIN EF06_SCADSTO N ON N.EF06_DITTA_CG18 = M.EF06_DITTA_CG18 AND N.EF06_NUMREG_CO99 = "
        "M.EF06_NUMREG_CO99"
        " AND N.EF06_RIGACONT_EF01 = M.EF06_RIGACONT_EF01 AND N.EF06_PROGEC_EF01 = M.EF06_PROGEC_EF01"
        " AND N.EF06_PROGEFF_EF01 = M.EF06_PROGEFF_EF01 AND N.EF06_PROGSTO = M.EF06_PROGSTO + 1");
    const auto wrong = [&](const QString& condition) {
        return count(*c, QStringLiteral("SELECT COUNT(*) FROM (%1) T WHERE %2").arg(after, condition));
    };
    EXPECT_EQ(wrong("TIPO IN (1, 2, 5, 13, 14, 16) AND DOPO <> 1"), 0)
        << "a payment or closure leaves the Bill closed";
    EXPECT_EQ(wrong("TIPO = 8 AND DOPO <> 0"), 0) << "a reversed closure reopens the Bill";
    EXPECT_EQ(wrong("TIPO = 6 AND RIEMDOPO <> RIEMPRIMA + 1"), 0) << "a reissue counts one more";
    EXPECT_EQ(wrong("TIPO IN (0, 6, 12) AND SCADEDOPO <= SCADEPRIMA"), 0)
        << "a variation moves the due date on";
    EXPECT_EQ(wrong("TIPO IN (3, 7, 11) AND DOPO <> PRIMA"), 0) << "a presentation leaves the state alone";

    // Every movement type occurs in the demo.
    for (int type : CodeLists::tipoOperazione())
        EXPECT_GT(
            count(*c,
                  QStringLiteral("SELECT COUNT(*) FROM EF06_SCADSTO WHERE EF06_INDTIPOPER = %1").arg(type)),
            0)
            << type;
    EXPECT_GT(count(*c, "SELECT COUNT(*) FROM EF06_SCADSTO WHERE EF06_ORDBONCAUPAG IS NOT NULL"), 0);
}

// Codes come from the code lists, archive codes from the archives, and the archive kind of a
// Bill from its counterpart columns.
TEST_P(DemoData, CodesArchivesAndArchiveKindsHold) {
    REQUIRE_ENGINE(GetParam());
    TestDatabase db(GetParam());
    auto c = demo(db);
    for (const CodeLists::CodedColumn& coded : CodeLists::all()) {
        QStringList codes;
        for (int code : coded.codes) codes << QString::number(code);
        EXPECT_EQ(count(*c, QStringLiteral("SELECT COUNT(*) FROM %1 WHERE %2 IS NOT NULL AND %2 NOT IN (%3)")
                                .arg(coded.table, coded.column, codes.join(","))),
                  0)
            << coded.column.toStdString();
    }
    for (int type : CodeLists::tipoEffetto())
        EXPECT_GT(
            count(*c, QStringLiteral("SELECT COUNT(*) FROM EF01_SCADENZE WHERE EF01_TIPOEFF = %1").arg(type)),
            0)
            << type;

    const QList<std::pair<const char*, const char*>> references = {
        {"EF01_CLIFOR_CG44 IS NOT NULL",
         "CG44_CLIFOR WHERE CG44_DITTA_CG18 = EF01_DITTACF_CG18 AND CG44_TIPOCF = EF01_TIPOCF_CG44"
         " AND CG44_CLIFOR = EF01_CLIFOR_CG44"},
        {"EF01_CLIFOR_CG44 IS NOT NULL",
         "MG19_CLIFORVA WHERE MG19_DITTA_CG18 = EF01_DITTACF_CG18 AND MG19_TIPOCF_CG44 ="
         " EF01_TIPOCF_CG44 AND MG19_CLIFOR_CG44 = EF01_CLIFOR_CG44"},
        {"1 = 1", "CG08_TABVALUTE WHERE CG08_CODICE = EF01_CODICE_CG08"},
        {"EF01_IDAGENTE_MG17 IS NOT NULL", "MG17_AGENTI WHERE MG17_IDAGENTE = EF01_IDAGENTE_MG17"},
        {"EF01_CODPAG_CG62 IS NOT NULL", "CG62_CONDPAG WHERE CG62_CODICE = EF01_CODPAG_CG62"},
        {"EF01_AGENAPP_CG13 IS NOT NULL",
         "CG13_AGENZIE WHERE CG13_BANCA_CG12 = EF01_BANCAAPP_CG12 AND CG13_CODCAB = EF01_AGENAPP_CG13"},
        {"EF01_AGENPRE_SCG13 IS NOT NULL",
         "CG13_AGENZIE WHERE CG13_BANCA_CG12 = EF01_BANCAPRE_SCG12 AND CG13_CODCAB = EF01_AGENPRE_SCG13"},
        {"EF01_ID_MG35 IS NOT NULL",
         "MG35_CLIFORCC WHERE MG35_ID = EF01_ID_MG35 AND MG35_TIPOCF_CG44 = EF01_TIPOCF_CG44"
         " AND MG35_CLIFOR_CG44 = EF01_CLIFOR_CG44"},
        {"EF01_PROGR_EF08 IS NOT NULL",
         "EF08_BANCHEAZ WHERE EF08_DITTA_CG18 = EF01_DITTA_CG18 AND EF08_PROGR = EF01_PROGR_EF08"},
        {"EF01_STIPOEFF IS NOT NULL",
         "EF07_STIPIEFF WHERE EF07_TIPOEFF = EF01_TIPOEFF AND EF07_STIPOEFF = EF01_STIPOEFF"},
        {"EF01_CAUSMGO_MGFO IS NOT NULL", "MGFO_CAUSMGO WHERE MGFO_CODICE = EF01_CAUSMGO_MGFO"},
        {"EF01_SEZDOC IS NOT NULL",
         "CG19_SEZIONALI WHERE CG19_DITTA_CG18 = EF01_DITTA_CG18 AND CG19_CODICE = EF01_SEZDOC"},
        {"EF01_CIG IS NOT NULL",
         "CO1H_CIGCUP INNER JOIN CO1I_CFCIGCUP ON CO1I_IDCIGCUP_CO1H = CO1H_ID WHERE CO1H_CIG = EF01_CIG"
         " AND CO1H_CUP = EF01_CUP AND CO1I_DITTA_CG18 = EF01_DITTACF_CG18 AND CO1I_TIPOCF_CG44 ="
         " EF01_TIPOCF_CG44 AND CO1I_CLIFOR_CG44 = EF01_CLIFOR_CG44"},
        {"EF01_IDMEDIA_CG99 IS NOT NULL", "KV05_ALLEGATI WHERE KV05_IDMEDIA = EF01_IDMEDIA_CG99"},
        // Exactly the registry period valid at the document date, through the view the forms join.
        {"EF01_CLIFOR_CG44 IS NOT NULL",
         "VCG16_CG44_ALLADATA WHERE VCG16_44_CF_DITTA = EF01_DITTACF_CG18 AND VCG16_44_CF_TIPOCF ="
         " EF01_TIPOCF_CG44 AND VCG16_44_CF_CLIFOR = EF01_CLIFOR_CG44"
         " AND EF01_DATADOC BETWEEN DATAINIZIOVALIDITA AND DATAFINEVALIDITA"},
    };
    for (const auto& [which, target] : references) {
        EXPECT_EQ(
            count(*c, QStringLiteral(
                          "SELECT COUNT(*) FROM EF01_SCADENZE WHERE %1 AND NOT EXISTS (SELECT 1 FROM %2)")
                          .arg(which, target)),
            0)
            << target;
        EXPECT_GT(count(*c, QStringLiteral("SELECT COUNT(*) FROM EF01_SCADENZE WHERE %1").arg(which)), 0)
            << which;
    }
    EXPECT_EQ(count(*c,
                    "SELECT COUNT(*) FROM EF05_SCADSOLLEC WHERE NOT EXISTS (SELECT 1 FROM MG0B_TESTI WHERE "
                    "MG0B_DITTA_CG18"
                    " = EF05_DITTA_CG18 AND MG0B_INDTIPO IN (5, 6) AND MG0B_CODTESTO = EF05_SIGLALETTERA)"),
              0);
    EXPECT_EQ(
        count(*c,
              "SELECT COUNT(*) FROM EF05_SCADSOLLEC WHERE (EF05_INDBLOC = 0) <> (EF05_CODBLOC_MG25 IS NULL)"),
        0);
}

INSTANTIATE_ON_ENGINES(DemoData);

// The demo is the same company on every engine and every run.
// Made as the application makes it on another day, the demo lives around that day: its books
// start six months before, nothing happened after it, and its open Bills, due from the start of
// the books to four months after it, fill every bucket of the ageing counted to it.
TEST(DemoDataOnItsDay, TheDemoLivesAroundTheDayItIsMade) {
    TestDatabase db(TestEngine::Sqlite);
    auto c = db.connect(SchemaInstaller::catalogue());
    const QDate day(2031, 3, 10);
    DemoGenerator::Options options = DemoGenerator::Options::aroundDay(day);
    options.bills = kBills;
    DemoGenerator::installOn(c, options);
    const QString after = SqlText::quote(day.toString("yyyyMMdd"));
    const QString before = SqlText::quote(day.addMonths(-6).toString("yyyyMMdd"));
    for (const QString& late :
         {QStringLiteral("SELECT COUNT(*) FROM EF06_SCADSTO WHERE EF06_DATAREG > %1"),
          QStringLiteral("SELECT COUNT(*) FROM EF05_SCADSOLLEC WHERE EF05_DATAAVVISO > %1"),
          QStringLiteral("SELECT COUNT(*) FROM EF01_SCADENZE WHERE EF01_DATAREG > %1")})
        EXPECT_EQ(count(*c, late.arg(after)), 0) << late.toStdString();
    EXPECT_EQ(
        count(*c, QStringLiteral("SELECT COUNT(*) FROM EF01_SCADENZE WHERE EF01_DATADOC < %1").arg(before)),
        0);

    std::array<int, 5> buckets{};  // not due, 1-30, 31-60, 61-90, over 90 days overdue
    QDate first = day;
    QDate last = day;
    const auto open =
        c->Query(QStringLiteral("SELECT EF01_SCADE_S FROM EF01_SCADENZE WHERE EF01_INDSTATO_S = 0"));
    for (const auto& row : open.front().rows) {
        const QDate due = Value::toDate(row[0]);
        const qint64 late = due.daysTo(day);
        ++buckets[late <= 0 ? 0 : late <= 30 ? 1 : late <= 60 ? 2 : late <= 90 ? 3 : 4];
        first = std::min(first, due);
        last = std::max(last, due);
    }
    for (int b = 0; b < 5; ++b) EXPECT_GT(buckets[b], 0) << b;
    EXPECT_GE(first, day.addMonths(-6));
    EXPECT_LE(last, day.addMonths(4).addDays(10));
}

TEST(DemoDataAcrossEngines, SameSeedSameData) {
    REQUIRE_ENGINE(TestEngine::PostgreSql);
    TestDatabase lite(TestEngine::Sqlite), pg(TestEngine::PostgreSql), again(TestEngine::Sqlite);
    const QStringList probes = {"SELECT COUNT(*) FROM EF06_SCADSTO",
                                "SELECT SUM(EF01_IMPEFF_S) FROM EF01_SCADENZE",
                                "SELECT MAX(EF01_NUMREG_CO99) FROM EF01_SCADENZE",
                                "SELECT SUM(EF06_INDTIPOPER * EF06_PROGSTO) FROM EF06_SCADSTO",
                                "SELECT MAX(EF01_SCADE_S) FROM EF01_SCADENZE",
                                "SELECT SUM(EF05_IMPINTERES) FROM EF05_SCADSOLLEC",
                                "SELECT MAX(CG16_RAGSOANAG) FROM CG16_ANAGGEN",
                                "SELECT SUM(CG09_CAMBIO) FROM CG09_TABCAMBI WHERE CG09_CODICE_CG08 = 'USD'"};
    // SQLite adds its REAL decimals in binary: compare sums at a few digits.
    const auto norm = [](const QVariant& v) {
        const auto number = Decimal::parse(Value::toText(v));
        return number ? number->rounded(4).toString() : Value::toText(v);
    };
    auto a = demo(lite), b = demo(pg), d = demo(again);
    for (const QString& probe : probes) {
        EXPECT_EQ(Value::toText(scalar(*a, probe)), Value::toText(scalar(*d, probe))) << probe.toStdString();
        EXPECT_EQ(norm(scalar(*b, probe)), norm(scalar(*a, probe))) << probe.toStdString();
    }
}

}  // namespace

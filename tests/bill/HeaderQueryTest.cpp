#include "HeaderQuery.h"

#include <gtest/gtest.h>

namespace {
const QString kBase = QStringLiteral(
    "SELECT\r\n    EF01_SCADENZE.*\r\n    ,   CO99_MASTERDOC.CO99_INDTIPOOP\r\nFROM\r\n    EF01_SCADENZE "
    "WITH (NOLOCK)\r\n"
    "    INNER JOIN\r\n    CO99_MASTERDOC WITH (NOLOCK)\r\n    ON\r\n    "
    "EF01_SCADENZE.EF01_DITTA_CG18=CO99_DITTA_CG18\r\n"
    "    AND EF01_SCADENZE.EF01_NUMREG_CO99=CO99_NUMREG\r\n");

HeaderQuery customers() {
    HeaderQuery q;
    q.tipoArchivio = 0;
    q.company = 1;
    q.ledgerGroup = 4;
    q.customerAccount = QStringLiteral("0101");
    q.supplierAccount = QStringLiteral("0201");
    return q;
}
}  // namespace

TEST(HeaderQuery, PlainFormCarriesCompanyArchiveSelectionAndOrder) {
    HeaderQuery q = customers();
    EXPECT_EQ(q.text(), kBase + QStringLiteral(" WHERE     (EF01_DITTA_CG18 = 1)\r\n"
                                               "               AND (EF01_DITTACF_CG18 = 1)\r\n"
                                               "               AND (EF01_TIPOCF_CG44 = 0)\r\n"
                                               "               AND (EF01_INDCONTO = 0)\r\n"
                                               "               AND (EF01_GRUPPO_CG10 = 4)\r\n"
                                               "               AND (EF01_CONTO_CG24 = '0101')\r\n"));
    q.tipoArchivio = 1;
    q.selection = QStringLiteral("EF01_SCADE_S >= '20260101' AND EF01_CLIFOR_CG44 IN [1, 2]");
    q.order = QStringLiteral("EF01_SCADE_S, EF01_NUMEFF");
    EXPECT_EQ(q.text(), kBase + QStringLiteral(
                                    " WHERE     (EF01_DITTA_CG18 = 1)\r\n"
                                    "               AND (EF01_DITTACF_CG18 = 1)\r\n"
                                    "               AND (EF01_TIPOCF_CG44 = 1)\r\n"
                                    "               AND (EF01_INDCONTO = 1)\r\n"
                                    "               AND (EF01_GRUPPO_CG10 = 4)\r\n"
                                    "               AND (EF01_CONTO_CG24 = '0201')\r\n"
                                    "     AND (EF01_SCADE_S >= '20260101' AND EF01_CLIFOR_CG44 IN (1, 2))\r\n"
                                    " ORDER BY\r\n   EF01_SCADE_S, EF01_NUMEFF"));
}

TEST(HeaderQuery, LedgerAccountArchivesAndUnknownOnes) {
    HeaderQuery q = customers();
    q.tipoArchivio = 3;
    EXPECT_EQ(q.text(), kBase + QStringLiteral(" WHERE     (EF01_DITTA_CG18 = 1)\r\n"
                                               "               AND (EF01_DITTACF_CG18 IS NULL)\r\n"
                                               "               AND (EF01_TIPOCF_CG44 IS NULL)\r\n"
                                               "               AND (EF01_CLIFOR_CG44 IS NULL)\r\n"
                                               "               AND (EF01_INDCONTO = 1)\r\n"
                                               "               AND (EF01_GRUPPO_CG10 = 4)\r\n"));
    q.tipoArchivio = 7;
    EXPECT_EQ(q.text(), kBase + QStringLiteral(" WHERE     (EF01_DITTA_CG18 = 1)\r\n"));
}

TEST(HeaderQuery, JoinedFormRewritesTheSelectionInsideExists) {
    HeaderQuery q = customers();
    q.selection = QStringLiteral("VFSEF01.V_STATO = 2 AND EF01_NUMEFF > 5 AND EF01_AGENTE_MG17 = 'A1'");
    ASSERT_TRUE(HeaderQuery::selectionNeedsJoin(q.selection));
    const QString text = q.text();
    EXPECT_TRUE(text.startsWith(
        kBase + QStringLiteral(
                    "WHERE\r\n    EXISTS (\r\n        SELECT\r\n            1\r\n"
                    "        FROM\r\n            EF01_SCADENZE AS SCAD WITH (NOLOCK)\r\n"
                    "            LEFT OUTER JOIN\r\n            CG24_TABPDC WITH (NOLOCK)\r\n"
                    "            ON\r\n            SCAD.EF01_INDCONTO = CG24_TABPDC.CG24_INDTIPOCONTO\r\n")));
    EXPECT_TRUE(text.contains(
        QStringLiteral("            VFILTROSTATI AS VFSEF01 WITH (NOLOCK)\r\n            ON\r\n"
                       "            EF01_SCADENZE.EF01_GUID = VFSEF01.V_GUID\r\n        WHERE\r\n"
                       "            (SCAD.EF01_DITTA_CG18 = EF01_SCADENZE.EF01_DITTA_CG18)\r\n")));
    // The company enters only through the archive conditions; the outer row has none.
    EXPECT_FALSE(text.contains(QStringLiteral("(EF01_DITTA_CG18 = 1)")));
    EXPECT_TRUE(text.endsWith(QStringLiteral(
        "            AND (SCAD.EF01_PROGEFF = EF01_SCADENZE.EF01_PROGEFF)\r\n"
        "            AND (SCAD.EF01_DITTACF_CG18 = 1)\r\n            AND (SCAD.EF01_TIPOCF_CG44 = 0)\r\n"
        "            AND (SCAD.EF01_INDCONTO = 0)\r\n            AND (SCAD.EF01_GRUPPO_CG10 = 4)\r\n"
        "            AND (SCAD.EF01_CONTO_CG24 = '0101')\r\n"
        "               AND (VFSEF01.V_STATO = 2 AND SCAD.EF01_NUMEFF > 5 AND MG17_AGENTI.MG17_AGENTE = "
        "'A1')\r\n"
        "       )\r\n")));
}

#include "BillFilter.h"
#include "SuiteError.h"

#include <gtest/gtest.h>

TEST(BillFilter, BuildsTheSelectionTheModuleReceives) {
    BillFilter f;
    EXPECT_EQ(f.selectionText(), QString());
    f.counterpart = QStringLiteral(" 42 ");
    f.dueFrom = QDate(2026, 1, 1);
    f.dueTo = QDate(2026, 12, 31);
    f.state = 0;
    EXPECT_EQ(f.selectionText(), QStringLiteral("EF01_CLIFOR_CG44 = 42 AND EF01_SCADE_S >= '20260101' AND "
                                                "EF01_SCADE_S <= '20261231' AND EF01_INDSTATO_S = 0"));
    f = BillFilter{};
    f.tipoArchivio = 2;
    f.counterpart = QStringLiteral("0101'; DELETE FROM EF01_SCADENZE --");
    EXPECT_EQ(f.selectionText(), QStringLiteral("EF01_CONTO_CG24 = '0101''; DELETE FROM EF01_SCADENZE --'"));
}

TEST(BillFilter, RefusesWhatCannotBeASelection) {
    BillFilter f;
    f.counterpart = QStringLiteral("12; DROP");
    EXPECT_THROW(f.selectionText(), SuiteError);
    f.counterpart.clear();
    f.dueFrom = QDate(2026, 2, 1);
    f.dueTo = QDate(2026, 1, 1);
    try {
        f.selectionText();
        FAIL();
    } catch (const SuiteError& e) {
        EXPECT_TRUE(e.description().contains(QStringLiteral("successiva")));
    }
}

#include "Ageing.h"
#include "BillFilter.h"
#include "BillKey.h"
#include "ItalianFormat.h"
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

TEST(BillFilter, CounterpartsFoundByNameBecomeAListOfCodes) {
    BillFilter f;
    f.byName = true;
    f.named = {QStringLiteral("3"), QStringLiteral("17")};
    EXPECT_EQ(f.selectionText(), QStringLiteral("EF01_CLIFOR_CG44 IN (3, 17)"));
    f.tipoArchivio = 3;
    f.named = {QStringLiteral("01'02")};
    EXPECT_EQ(f.selectionText(), QStringLiteral("EF01_CONTO_CG24 IN ('01''02')"));
    f.named.clear();
    EXPECT_EQ(f.selectionText(), QStringLiteral("EF01_CONTO_CG24 IN (NULL)"))
        << "nobody found, nothing listed";
    f.tipoArchivio = 0;
    f.named = {QStringLiteral("3) OR (1=1")};
    EXPECT_THROW(f.selectionText(), SuiteError);
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

TEST(BillFilter, BillTypeBankAndTheClerksOrder) {
    BillFilter f;
    f.state = 0;
    f.billType = 2;
    f.bank = 3;
    EXPECT_EQ(f.selectionText(),
              QStringLiteral("EF01_INDSTATO_S = 0 AND EF01_TIPOEFF = 2 AND EF01_BANCAPRE_SCG12 = 3"));
    f.state = 1;
    EXPECT_TRUE(f.selectionText().startsWith(QStringLiteral("EF01_INDSTATO_S = 1 AND"))) << "the closed ones";
    EXPECT_EQ(f.orderText(), QStringLiteral("EF01_SCADE_S, EF01_NUMREG_CO99, EF01_PROGEFF"));
    // Most days overdue first is the oldest due date first; fewest first, the newest.
    f.sort = BillFilter::Sort::Overdue;
    f.descending = true;
    EXPECT_EQ(f.orderText(), QStringLiteral("EF01_SCADE_S, EF01_NUMREG_CO99, EF01_PROGEFF"));
    f.descending = false;
    EXPECT_EQ(f.orderText(), QStringLiteral("EF01_SCADE_S DESC, EF01_NUMREG_CO99, EF01_PROGEFF"));
    f.sort = BillFilter::Sort::Amount;
    f.descending = true;
    EXPECT_EQ(f.orderText(),
              QStringLiteral("EF01_IMPEFF_S DESC, EF01_SCADE_S, EF01_NUMREG_CO99, EF01_PROGEFF"));
}

// The key the list hands over reaches SQL only as numbers and one quoted text.
TEST(BillKey, RefusesAKeyThatIsNotFiveNumbersAroundARegistration) {
    for (const char* wrong : {"1,2026A,1,1", "1,2026A,1,1,1,1", "x,2026A,1,1,1", "1,2026A,1,1,1 OR 1=1", ""})
        EXPECT_THROW(BillKey::parse(QString::fromLatin1(wrong), QStringLiteral("prova")), SuiteError)
            << wrong;
    const BillKey key = BillKey::parse(QStringLiteral("1,20'26;--,2,3,4"), QStringLiteral("prova"));
    EXPECT_EQ(key.registration, QStringLiteral("20'26;--"));
    EXPECT_TRUE(key.where(QStringLiteral("EF05")).contains(QStringLiteral("EF05_NUMREG_CO99 = '20''26;--'")));
    EXPECT_TRUE(key.where(QStringLiteral("EF05")).contains(QStringLiteral("EF05_PROGEFF_EF01 = 4")));
}

TEST(Ageing, DaysOverdueCountFromTheDayGivenAndFallInTheirBuckets) {
    const QDate today(2026, 3, 1);
    EXPECT_EQ(Ageing::daysOverdue(today, today, false), 0) << "due today is not overdue";
    EXPECT_EQ(Ageing::daysOverdue(today.addDays(-1), today, false), 1);
    EXPECT_EQ(Ageing::daysOverdue(QDate(2026, 2, 28), today, false), 1) << "across the month's end";
    EXPECT_EQ(Ageing::daysOverdue(today.addDays(-400), today, true), 0) << "a closed Bill never is";
    EXPECT_EQ(Ageing::daysOverdue(today.addDays(5), today, false), 0);
    EXPECT_EQ(Ageing::daysOverdue(QDate(), today, false), 0);
    const std::pair<int, int> bounds[] = {{0, 0},  {1, 1},  {30, 1}, {31, 2},
                                          {60, 2}, {61, 3}, {90, 3}, {91, 4}};
    for (const auto& [days, bucket] : bounds) EXPECT_EQ(Ageing::bucketOf(days), bucket) << days;
    EXPECT_EQ(Ageing::bucketTitles().size(), Ageing::kBuckets);
}

TEST(ItalianFormat, AmountsFromTheirExactDigits) {
    EXPECT_EQ(ItalianFormat::amount(Decimal::fromString(QStringLiteral("1234567.891"))),
              QStringLiteral("1.234.567,89"));
    EXPECT_EQ(ItalianFormat::amount(Decimal::fromString(QStringLiteral("-0.5"))), QStringLiteral("-0,50"));
    EXPECT_EQ(ItalianFormat::amount(Decimal()), QStringLiteral("0,00"));
    EXPECT_EQ(ItalianFormat::amount(Decimal::fromString(QStringLiteral("999999999999999.99"))),
              QStringLiteral("999.999.999.999.999,99"));
    EXPECT_EQ(ItalianFormat::amount(Decimal::fromString(QStringLiteral("-1000")), 0),
              QStringLiteral("-1.000"));
    EXPECT_EQ(ItalianFormat::date(QDate(2026, 1, 31)), QStringLiteral("31/01/2026"));
}

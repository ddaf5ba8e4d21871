// The currency service read from the company database of each engine, and the conversion
// component's arithmetic on figures checked by hand, including a currency without decimals.
#include "AmountPairs.h"
#include "Connection.h"
#include "CurrencyTable.h"
#include "ExactCurrencyConverter.h"
#include "SchemaInstaller.h"
#include "SuiteError.h"
#include "TestDatabase.h"

#include <gtest/gtest.h>

#include <QSqlQuery>

namespace {

Decimal d(const char* text) {
    return Decimal::fromString(QString::fromLatin1(text));
}

CurrencyTable sampleTable() {
    CurrencyTable t;
    t.insert(QStringLiteral("EURO"), {false, Decimal(1), 2});
    t.insert(QStringLiteral("USD"), {false, Decimal(), 2});
    t.insert(QStringLiteral("JPY"), {false, Decimal(), 0});
    t.insert(QStringLiteral("ITL"), {true, d("1936.27"), 0});
    t.insert(QStringLiteral("DEM"), {true, d("1.95583"), 2});
    return t;
}

}  // namespace

class CurrencyTableTest : public ::testing::TestWithParam<TestEngine> {};
INSTANTIATE_ON_ENGINES(CurrencyTableTest);

TEST_P(CurrencyTableTest, ReadsFixedRatesAndDigitsExactly) {
    REQUIRE_ENGINE(GetParam());
    TestDatabase db(GetParam());
    const std::shared_ptr<Connection> c = db.connect(SchemaInstaller::catalogue());
    SchemaInstaller(c).install();
    for (const char* row : {"('DEM', 'Marco', 1, '19990101', 1.95583, 2)", "('JPY', 'Yen', 0, NULL, NULL, 0)",
                            "('usd ', 'Dollaro', 0, NULL, NULL, NULL)"})
        c->Execute(QStringLiteral("INSERT INTO CG08_TABVALUTE (CG08_CODICE, CG08_DESCR, CG08_FLGVALUEM, "
                                  "CG08_DATAATTUEM, CG08_CAMBIOFISSO, CG08_NUMDEC) VALUES ") +
                   QString::fromLatin1(row));
    const CurrencyTable t = CurrencyTable::read(c);
    EXPECT_TRUE(t.isFixed(QStringLiteral(" dem")));
    EXPECT_EQ(t.fixedRate(QStringLiteral("DEM")), d("1.95583"));
    EXPECT_EQ(t.decimals(QStringLiteral("JPY")), 0);
    // A code kept in lower case with blanks, and digits the table does not give.
    ASSERT_TRUE(t.find(QStringLiteral("USD")).has_value());
    EXPECT_EQ(t.decimals(QStringLiteral("USD")), 2);
    EXPECT_FALSE(t.fixedRate(QStringLiteral("JPY")).has_value());
    EXPECT_FALSE(t.find(QStringLiteral("XYZ")).has_value());
}

TEST(CurrencyConverter, ConvertsBothWaysRoundingHalfAwayFromZeroToTheCurrencysDigits) {
    const ExactCurrencyConverter conv(sampleTable());
    // 100 EUR at 1.0856 USD per euro, and back.
    EXPECT_EQ(conv.ToCurrency(QVariant::fromValue(d("100")), 2, QStringLiteral("USD"), d("1.0856")),
              d("108.56"));
    EXPECT_EQ(conv.ToEuro(QVariant::fromValue(d("108.56")), 2, QStringLiteral("usd"), d("1.0856")),
              d("100.00"));
    // 1234.56 × 140.66 = 173653.2096: a yen has no decimals; back 173653 / 140.66 = 1234.5585...
    EXPECT_EQ(conv.ToCurrency(QStringLiteral("1234.56"), 2, QStringLiteral("JPY"), d("140.66")), d("173653"));
    EXPECT_EQ(conv.ToEuro(QStringLiteral("173653"), 2, QStringLiteral("JPY"), d("140.66")), d("1234.56"));
    // Halves go away from zero, on both signs: 0.125 × 1 → 0.13, -10.005 / 1 → -10.01.
    EXPECT_EQ(conv.ToCurrency(QStringLiteral("0.125"), 2, QStringLiteral("USD"), d("1")), d("0.13"));
    EXPECT_EQ(conv.ToEuro(QStringLiteral("-10.005"), 2, QStringLiteral("USD"), d("1")), d("-10.01"));
    // The lira's fixed rate: 1000 EUR are 1936270 ITL; 1 ITL is 0.00052 EUR, shown as 0.00.
    EXPECT_EQ(conv.ToCurrency(1000, 2, QStringLiteral("ITL"), d("1936.27")), d("1936270"));
    EXPECT_EQ(conv.ToEuro(1, 2, QStringLiteral("ITL"), d("1936.27")), d("0.00"));
    // 1000000 DEM / 1.95583 = 511291.88...; an empty amount converts to zero.
    EXPECT_EQ(conv.ToEuro(QStringLiteral("1000000"), 2, QStringLiteral("DEM"), d("1.95583")), d("511291.88"));
    EXPECT_EQ(conv.ToCurrency(QVariant(), 2, QStringLiteral("USD"), d("1.1")), d("0"));
}

TEST(CurrencyConverter, RefusesWhatCannotBeConvertedWithAMessage) {
    const ExactCurrencyConverter conv(sampleTable());
    auto refusal = [](const std::function<void()>& call) {
        try {
            call();
        } catch (const SuiteError& e) {
            return e.description();
        }
        return QString();
    };
    EXPECT_TRUE(refusal([&] {
                    conv.ToCurrency(100, 2, QStringLiteral("XYZ"), d("1.2"));
                }).contains(QStringLiteral("\"XYZ\" non è presente")));
    EXPECT_TRUE(refusal([&] {
                    conv.ToCurrency(100, 2, QStringLiteral("USD"), d("0"));
                }).contains(QStringLiteral("non è maggiore di zero")));
    EXPECT_TRUE(refusal([&] {
                    conv.ToEuro(100, 2, QStringLiteral("USD"), d("-1.1"));
                }).contains(QStringLiteral("non è maggiore di zero")));
    EXPECT_TRUE(refusal([&] {
                    conv.ToEuro(QStringLiteral("12a; DROP"), 2, QStringLiteral("USD"), d("1.1"));
                }).contains(QStringLiteral("non è un numero")));
}

TEST(AmountPairsTable, EachSideConvertsIntoItsPartnerAndTheLeaderCarriesItsCompanionsOnANewBill) {
    const AmountPairs& bill = AmountPairs::billHeader();
    EXPECT_EQ(bill.pairs().size(), 9u);
    const auto leader = bill.changed(u"TXT_IMPEFF", true);
    ASSERT_TRUE(leader);
    EXPECT_TRUE(leader->ask);
    EXPECT_EQ(leader->direction, AmountPairs::Direction::ToCurrency);
    EXPECT_EQ(leader->target, QStringLiteral("TXT_IMPEFFVAL"));
    EXPECT_EQ(leader->copies, (QStringList{"TXT_IMPEFFNETPREV", "TXT_IMPEFFORIG", "TXT_TOTDOC"}));
    EXPECT_EQ(leader->targetCopies,
              (QStringList{"TXT_IMPEFFNETPREVVAL", "TXT_IMPEFFORIGVAL", "TXT_TOTDOCVAL"}));
    const auto currencySide = bill.changed(u"TXT_IMPEFFVAL", true);
    ASSERT_TRUE(currencySide);
    EXPECT_FALSE(currencySide->ask);
    EXPECT_EQ(currencySide->direction, AmountPairs::Direction::ToEuro);
    EXPECT_EQ(currencySide->copies,
              (QStringList{"TXT_IMPEFFNETPREVVAL", "TXT_IMPEFFORIGVAL", "TXT_TOTDOCVAL"}));
    // A stored Bill copies nothing; a companion has no companions of its own.
    EXPECT_TRUE(bill.changed(u"TXT_IMPEFF", false)->copies.isEmpty());
    EXPECT_TRUE(bill.changed(u"TXT_TOTDOC", true)->copies.isEmpty());
    EXPECT_EQ(bill.changed(u"TXT_IMPRITACCORIGVAL", false)->target, QStringLiteral("TXT_IMPRITACCORIG"));
    EXPECT_FALSE(bill.changed(u"TXT_SPESERIT", true));
    // The history's pairs: none leads.
    EXPECT_TRUE(AmountPairs::historyMovement().changed(u"TXT_IMPEFF", true)->copies.isEmpty());
    EXPECT_EQ(AmountPairs::historyMovement().changed(u"TXT_IMPMOVSCIND", false)->target,
              QStringLiteral("TXT_IMPMOVSCINDVAL"));
}

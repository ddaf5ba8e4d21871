#include "Decimal.h"
#include "SuiteError.h"
#include "Value.h"

#include <gtest/gtest.h>

#include <climits>

namespace {
Decimal dec(const char* text) {
    return Decimal::fromString(QString::fromLatin1(text));
}
}  // namespace

TEST(Decimal, ArithmeticIsExactWhereBinaryFloatingPointIsNot) {
    EXPECT_EQ(dec("0.1") + dec("0.2"), dec("0.3"));
    EXPECT_EQ((dec("1000000000000.01") - dec("0.02")).toString(), QStringLiteral("999999999999.99"));
    EXPECT_EQ((dec("19.99") * Decimal(3)).toString(), QStringLiteral("59.97"));
    // 100 / 3 to two digits, and an exchange rate conversion to 6 digits
    EXPECT_EQ(Decimal::divide(Decimal(100), Decimal(3), 2).toString(), QStringLiteral("33.33"));
    EXPECT_EQ(Decimal::divide(dec("1000"), dec("1.0832"), 2).toString(), QStringLiteral("923.19"));
    EXPECT_THROW(Decimal::divide(Decimal(1), Decimal(), 2), SuiteError);
}

TEST(Decimal, RoundsHalfAwayFromZero) {
    EXPECT_EQ(dec("2.675").rounded(2).toString(), QStringLiteral("2.68"));
    EXPECT_EQ(dec("-2.675").rounded(2).toString(), QStringLiteral("-2.68"));
    EXPECT_EQ(dec("2.674999").rounded(2).toString(), QStringLiteral("2.67"));
    EXPECT_EQ(dec("0.5").rounded(0).toString(), QStringLiteral("1"));
    EXPECT_EQ(dec("12").rounded(2).toString(), QStringLiteral("12.00"));
    // A double read back from an engine that stores REAL comes back at the column's scale.
    EXPECT_EQ(Decimal::fromDouble(0.1 + 0.2, 2).toString(), QStringLiteral("0.30"));
    EXPECT_EQ(Decimal::fromDouble(1234567890123.45, 2).toString(), QStringLiteral("1234567890123.45"));
}

TEST(Decimal, ParsesWhatAClerkTypesAndRefusesTheRest) {
    EXPECT_EQ(dec("1234,50").toString(), QStringLiteral("1234.50"));
    EXPECT_EQ(dec(" -0.07 ").toString(), QStringLiteral("-0.07"));
    EXPECT_EQ(dec("+5").toString(), QStringLiteral("5"));
    EXPECT_EQ(dec("-123456789012345678901.5").toString(), QStringLiteral("-123456789012345678901.5"));
    for (const char* bad : {"", "abc", "1.2.3", "12a", "1e3", "1.000,00", "--1", "."})
        EXPECT_FALSE(Decimal::parse(QString::fromLatin1(bad)).has_value()) << bad;
    try {
        dec("12a");
        FAIL();
    } catch (const SuiteError& e) {
        EXPECT_TRUE(e.description().contains(QStringLiteral("12a")));
    }
}

TEST(Decimal, ComparesAcrossScalesAndTravelsInVariants) {
    EXPECT_EQ(dec("1.50"), dec("1.5"));
    EXPECT_LT(dec("-1"), dec("0.001"));
    EXPECT_EQ(compare(dec("100"), dec("99.999")), 1);
    const QVariant a = QVariant::fromValue(dec("10.10"));
    const QVariant b = QVariant::fromValue(dec("10.1"));
    EXPECT_TRUE(Value::same(a, b));
    EXPECT_EQ(Value::compare(a, QVariant(11)), -1);
    EXPECT_EQ(Value::toText(a), QStringLiteral("10.10"));
}

TEST(Value, ConversionsSayWhatIsWrong) {
    EXPECT_EQ(Value::toInt(QStringLiteral(" 42 ")), 42);
    EXPECT_THROW(Value::toInt(QStringLiteral("4x2")), SuiteError);
    EXPECT_EQ(Value::toDate(QStringLiteral("20240229")), QDate(2024, 2, 29));
    EXPECT_EQ(Value::toDate(QStringLiteral("31/12/2025")), QDate(2025, 12, 31));
    EXPECT_THROW(Value::toDate(QStringLiteral("20230229")), SuiteError);  // not a leap year
    EXPECT_THROW(Value::toDate(QStringLiteral("32/01/2024")), SuiteError);
    EXPECT_EQ(Value::toDateTime(QStringLiteral("20240131 13:45:10")),
              QDateTime(QDate(2024, 1, 31), QTime(13, 45, 10)));
    EXPECT_TRUE(Value::isNull(Value::coerce(QVariant(), DataType::Integer, 0)));
    EXPECT_EQ(Value::coerce(QStringLiteral("7"), DataType::SmallInt, 0), QVariant(7));
    // A number past its column's range is refused, never wrapped.
    EXPECT_THROW(Value::toInt(QStringLiteral("99999999999")), SuiteError);
    EXPECT_THROW(Value::toInt(QVariant(qlonglong(1) << 40)), SuiteError);
    EXPECT_THROW(Value::toInt(QVariant::fromValue(Decimal::fromString("99999999999999999999999"))),
                 SuiteError);
    EXPECT_THROW(Value::toInt(QVariant::fromValue(Decimal::fromString("2.5"))), SuiteError);
    EXPECT_EQ(Value::toInt(QVariant::fromValue(Decimal::fromString("-2147483648"))), INT_MIN);
    EXPECT_THROW(Value::coerce(QStringLiteral("32768"), DataType::SmallInt, 0), SuiteError);
    EXPECT_EQ(Value::coerce(QStringLiteral("-32768"), DataType::SmallInt, 0), QVariant(-32768));
    EXPECT_EQ(Decimal::fromString("-12345.678").integerDigits(), 5);
    EXPECT_EQ(Decimal::fromString("0.5").integerDigits(), 0);
}

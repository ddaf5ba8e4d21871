#include "DemoRandom.h"
#include "Iban.h"

#include <gtest/gtest.h>

// Published example accounts: the CIN letter and the check digits must come out as the banks
// compute them, or the demo's IBANs would be refused by any validating field.
TEST(Iban, ItalianAndSammarineseAccountsMatchTheBanksOwnNumbers) {
    EXPECT_EQ(Iban::make("IT", Iban::italianBban(5428, 11101, "123456")), "IT60X0542811101000000123456");
    EXPECT_EQ(Iban::make("SM", Iban::italianBban(3225, 9800, "270100")), "SM86U0322509800000000270100");
    EXPECT_TRUE(Iban::valid("DE89370400440532013000"));
    EXPECT_TRUE(Iban::valid("CH9300762011623852957"));
    EXPECT_FALSE(Iban::valid("IT61X0542811101000000123456"));
    EXPECT_FALSE(Iban::valid("IT6"));
}

TEST(DemoRandom, SameSeedSameNumbersAndBoundsHold) {
    DemoRandom a(42), b(42), c(43);
    bool differs = false;
    for (int i = 0; i < 1000; ++i) {
        const int x = a.between(-3, 17);
        EXPECT_EQ(x, b.between(-3, 17));
        EXPECT_GE(x, -3);
        EXPECT_LE(x, 17);
        differs = differs || x != c.between(-3, 17);
    }
    EXPECT_TRUE(differs);
    // Only weights above zero can be drawn.
    for (int i = 0; i < 200; ++i) EXPECT_NE(a.weighted({5, 0, 5}), 1);
    const Decimal amount = a.amount(10, 20);
    EXPECT_EQ(amount.scale(), 2);
    EXPECT_GE(amount, Decimal(10));
    EXPECT_LE(amount, Decimal(20));
}

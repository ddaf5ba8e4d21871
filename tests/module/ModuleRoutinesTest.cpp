#include "Decimal.h"
#include "ErrorReport.h"
#include "MDLKV_TARSELLO.h"
#include "SuiteError.h"

#include <gtest/gtest.h>

#include <QDate>

using namespace MDLKV_TARSELLO;

TEST(ValueRoutines, NullToStringTrimsOnlyTheRight) {
    EXPECT_EQ(NullToString(), QString());
    EXPECT_EQ(NullToString(QVariant()), QString());
    EXPECT_EQ(NullToString(QStringLiteral("  A00012  ")), QStringLiteral("  A00012"));
    EXPECT_EQ(NullToString(QVariant::fromValue(Decimal::fromString(QStringLiteral("12.50")))),
              QStringLiteral("12.50"));
    EXPECT_EQ(NullToString(QDate(2024, 1, 31)), QStringLiteral("31/01/2024"));
    EXPECT_EQ(NullToString(7), QStringLiteral("7"));
}

TEST(ValueRoutines, NumbersFromAnythingAClerkOrTheDatabaseGives) {
    EXPECT_EQ(NullToDecimal(QStringLiteral("x")), QVariant(0));
    EXPECT_EQ(NullToDecimal(QStringLiteral("")), QVariant(0));
    EXPECT_EQ(NullToDecimal(QVariant()), QVariant(0));
    EXPECT_EQ(NullToDecimal(QStringLiteral("12")).value<Decimal>(), Decimal(12));
    EXPECT_EQ(NullToDecimal(QStringLiteral("1234,56")).value<Decimal>().toString(),
              QStringLiteral("1234.56"));
    EXPECT_DOUBLE_EQ(NullToDouble(QStringLiteral("2.5")), 2.5);
    EXPECT_DOUBLE_EQ(NullToDouble(QStringLiteral("due")), 0.0);
    EXPECT_EQ(NullDefault(QStringLiteral(""), 7), QVariant(7));
    EXPECT_EQ(NullDefault(QVariant(), 7), QVariant(7));
    EXPECT_EQ(NullDefault(0, 7), QVariant(0));
    EXPECT_EQ(NullDefault(QStringLiteral(" "), 7), QVariant(QStringLiteral(" ")));
}

namespace {
class RecordingForm : public ErrorReport {
public:
    void MostraErrore(const SuiteError& error) override {
        shown.append(text(error, QStringLiteral("FRMKV_TARSELLO:")));
    }
    QStringList shown;
};
}  // namespace

TEST(ErrorReportGuard, ReportsOnceWithTheProcedureLabelsAndEndsTheProcedure) {
    RecordingForm form;
    bool afterCall = false, restOfInner = false;
    // An error inside a routine called from a handler is reported by the routine; the handler
    // goes on after the call.
    form.guard("FME_TESTATA_BeforeUpdate:", [&] {
        form.guard("InizializzaTestata:", [&] {
            throw SuiteError(13, QStringLiteral("Recordset"), QStringLiteral("Tipo non corrispondente"));
            restOfInner = true;
        });
        afterCall = true;
    });
    ASSERT_EQ(form.shown.size(), 1);
    EXPECT_FALSE(restOfInner);
    EXPECT_TRUE(afterCall);
    EXPECT_EQ(
        form.shown[0],
        QStringLiteral("Errore Nr.: 13\r\nTipo non corrispondente\r\nErrore in : \r\nFRMKV_TARSELLO:\r\n"
                       "InizializzaTestata:\r\nRecordset"));
    EXPECT_FALSE(form.guard("X:", [] { throw std::runtime_error("boom"); }));
    EXPECT_TRUE(form.shown.last().contains(QStringLiteral("X:\r\n")));
}

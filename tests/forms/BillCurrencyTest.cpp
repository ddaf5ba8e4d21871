// The Bill's currency on both engines, typed as a clerk types it: the currency change and the
// fields it opens, the rate of the day, of the month or of the euro area, the amounts kept in step
// on a new and on a stored Bill, and what is refused with a message.
#include "AmountPairs.h"
#include "BillFormFixture.h"
#include "BillFormTexts.h"
#include "Decimal.h"
#include "EditBox.h"
#include "IdEditBox.h"
#include "NumericBox.h"
#include "SqlText.h"
#include "VirtualFrame.h"

#include <QLabel>

namespace {

Decimal dec(const QVariant& v) {
    return Value::toDecimal(v);
}

}  // namespace

class BillCurrencyTest : public BillFormTest {
protected:
    Decimal storedRate(const QString& currency, const QDate& day, bool monthly = false) {
        Recordset rs;
        rs.Open(QStringLiteral(
                    "SELECT CG09_CAMBIO FROM CG09_TABCAMBI WHERE CG09_CODICE_CG08 = %1 AND CG09_ANNO = %2"
                    " AND CG09_MESE = %3 AND CG09_GIORNO = %4")
                    .arg(SqlText::quote(currency))
                    .arg(day.year())
                    .arg(day.month())
                    .arg(monthly ? 0 : day.day()),
                demo_->connection);
        return rs.AtEOF() ? Decimal() : dec(rs.Fields(0).Value());
    }
    int questions() const {
        int n = 0;
        for (const auto& m : log_->messages()) n += m.text == AmountPairs::kQuestion ? 1 : 0;
        return n;
    }
    // A stored customer Bill in euro that the save takes without questions.
    void openEuroBill() {
        module_->ChiaveEffettoInGestione = keyWhere(
            QStringLiteral(" AND EF01_CODICE_CG08 = 'EURO' AND EF01_INDEXP = 0 AND EF01_ID_MG35 IS NULL"));
        ASSERT_FALSE(module_->ChiaveEffettoInGestione.toString().isEmpty());
    }
};

INSTANTIATE_ON_ENGINES(BillCurrencyTest);

TEST_P(BillCurrencyTest, ABillOpenedByKeyInAnotherCurrencyShowsItsCurrencySideOpenWithItsDigits) {
    Recordset rs;
    QString bills = kCustomerBills;
    bills.replace(QStringLiteral("FROM EF01_SCADENZE"), QStringLiteral("FROM EF01_SCADENZE, CG08_TABVALUTE"));
    rs.Open(
        QStringLiteral(
            "SELECT EF01_NUMREG_CO99, EF01_PROGEFF, EF01_IMPEFFVAL_S, EF01_CODICE_CG08, CG08_NUMDEC") +
            bills +
            QStringLiteral(" AND EF01_CODICE_CG08 IN ('USD', 'GBP', 'CHF', 'JPY') AND EF01_PROGEFF = 1 AND"
                           " CG08_CODICE = EF01_CODICE_CG08 ORDER BY CG08_NUMDEC, EF01_NUMREG_CO99 DESC"),
        demo_->connection);
    ASSERT_FALSE(rs.AtEOF());
    const QString code = Value::toText(rs.Fields(3).Value()).trimmed();
    module_->ChiaveEffettoInGestione =
        QStringLiteral("1,%1,1,1,1").arg(Value::toText(rs.Fields(0).Value()).trimmed());
    FRMKV_TARSELLO* f = show();
    ASSERT_TRUE(f);
    ASSERT_EQ(f->TXT_VALUTA->Text(), code);
    EXPECT_TRUE(c("TXT_IMPEFFVAL")->isEnabled());
    EXPECT_TRUE(c("TXT_CAMBIO")->isEnabled());
    EXPECT_EQ(static_cast<NumericBox*>(c("TXT_IMPEFFVAL"))->CurrencyLabel(), code);
    // The currency's digits after the comma, the thousands grouped; read back, the same amount.
    const int digits = Value::toInt(rs.Fields(4).Value());
    const QString shown = c("TXT_IMPEFFVAL")->Text();
    EXPECT_EQ(shown.section(QLatin1Char(','), 1).size(), digits) << shown.toStdString();
    EXPECT_EQ(NumericBox::parseTyped(shown, true), Value::toDecimal(rs.Fields(2).Value()).rounded(digits));
}

TEST_P(BillCurrencyTest, TheRateComesFromTheEuroAreaTheDayOrTheMonthAndANewDateWithoutOneKeepsIt) {
    openEuroBill();
    FRMKV_TARSELLO* f = show();
    ASSERT_TRUE(f);
    ASSERT_EQ(f->TXT_VALUTA->Text(), QStringLiteral("EURO"));
    typeInto(f->TXT_VALUTA, QStringLiteral("DEM"));
    EXPECT_EQ(dec(column("EF01_CAMBIO")), Decimal::fromString(QStringLiteral("1.95583")));
    EXPECT_EQ(Value::toDate(column("EF01_DATACAMBIO")), QDate(1999, 1, 1));
    EXPECT_FALSE(c("TXT_CAMBIO")->isEnabled());
    EXPECT_TRUE(c("TXT_IMPEFFVAL")->isEnabled());
    // Leaving the date reads the fixed rate again, whatever the date says.
    f->clsRstTestata->Fields(QStringLiteral("EF01_CAMBIO")).setValue(QVariant::fromValue(Decimal(2)));
    typeInto(c("TXT_DATACAMBIO"), QStringLiteral("15/03/2024"));
    EXPECT_EQ(dec(column("EF01_CAMBIO")), Decimal::fromString(QStringLiteral("1.95583")));

    typeInto(f->TXT_VALUTA, QStringLiteral("USD"));
    EXPECT_TRUE(c("TXT_CAMBIO")->isEnabled());
    // Sunday 31 December 2023: no rate of the day, the month's rate.
    typeInto(c("TXT_DATACAMBIO"), QStringLiteral("31/12/2023"));
    const Decimal month = storedRate(QStringLiteral("USD"), QDate(2023, 12, 31), true);
    ASSERT_FALSE(month.isZero());
    EXPECT_TRUE(storedRate(QStringLiteral("USD"), QDate(2023, 12, 31)).isZero());
    EXPECT_EQ(dec(column("EF01_CAMBIO")), month);
    // A date with no rate at all: a hint beside the field, once, no message box; the rate stays.
    log_->clear();
    typeInto(c("TXT_DATACAMBIO"), QStringLiteral("02/01/1990"));
    EXPECT_EQ(dec(column("EF01_CAMBIO")), month);
    auto* hint = f->findChild<QLabel*>(QStringLiteral("LBL_CAMBIONONTROVATO"));
    ASSERT_TRUE(hint);
    EXPECT_TRUE(hint->isVisible());
    EXPECT_EQ(hint->text(),
              BillFormTexts::kCambioNonTrovato.arg(QStringLiteral("USD"), QStringLiteral("02/01/1990")));
    hint->hide();
    typeInto(c("TXT_DATACAMBIO"), QStringLiteral("02/01/1990"));
    EXPECT_FALSE(hint->isVisible());
    EXPECT_TRUE(log_->messages().isEmpty());

    // A yen has no decimals: 1234,56 euro at the month's rate.
    typeInto(f->TXT_VALUTA, QStringLiteral("JPY"));
    typeInto(c("TXT_DATACAMBIO"), QStringLiteral("31/12/2023"));
    const Decimal yenRate = storedRate(QStringLiteral("JPY"), QDate(2023, 12, 31), true);
    EXPECT_EQ(dec(column("EF01_CAMBIO")), yenRate);
    log_->enqueue(LogService::kYes);
    typeInto(c("TXT_IMPIVAORIG"), QStringLiteral("1234,56"));
    EXPECT_EQ(dec(column("EF01_IMPEFFIVA_VAL")),
              (Decimal::fromString(QStringLiteral("1234.56")) * yenRate).rounded(0));
    EXPECT_EQ(static_cast<NumericBox*>(c("TXT_IMPIVAORIGVAL"))->Decimals(), 0);
    // A stored Bill copies nothing to the companions.
    EXPECT_NE(dec(column("EF01_TOTDOC")), Decimal::fromString(QStringLiteral("1234.56")));
}

TEST_P(BillCurrencyTest, AnUnknownCurrencyOrABadRateIsRefusedWithAMessageAndNothingIsLost) {
    openEuroBill();
    FRMKV_TARSELLO* f = show();
    ASSERT_TRUE(f);
    typeInto(f->TXT_VALUTA, QStringLiteral("US'D"));
    EXPECT_EQ(lastMessage(), BillFormTexts::kValutaNonValida.arg(QStringLiteral("US'D")));
    // Counted as euro: nothing open on the currency side, nothing converted, nothing asked.
    EXPECT_FALSE(c("TXT_IMPEFFVAL")->isEnabled());
    typeInto(c("TXT_IMPEFF"), QStringLiteral("777,77"));
    EXPECT_EQ(questions(), 0);
    // The save refuses it by name and writes nothing; the edits stay and save once mended.
    EXPECT_FALSE(f->FME_TESTATA->UpdateRecord(true, false));
    EXPECT_EQ(lastMessage(), BillFormTexts::kValutaMancante);
    EXPECT_EQ(demo_->count(QStringLiteral("SELECT COUNT(*) FROM EF01_SCADENZE WHERE EF01_IMPEFF_S = 777.77")),
              0);
    EXPECT_TRUE(f->FME_TESTATA->isRecordChanged());
    typeInto(f->TXT_VALUTA, QStringLiteral("GBP"));
    typeInto(c("TXT_DATACAMBIO"), QStringLiteral("03/06/2024"));
    // A rate of zero or below is refused where it is typed.
    for (const char* bad : {"0", "-1,5"}) {
        const QVariant before = column("EF01_CAMBIO");
        typeInto(c("TXT_CAMBIO"), QString::fromLatin1(bad));
        EXPECT_EQ(lastMessage(), BillFormTexts::kCambioNonValido) << bad;
        EXPECT_EQ(dec(column("EF01_CAMBIO")), dec(before));
        typeInto(c("TXT_CAMBIO"), QStringLiteral("0,85"));
    }
    EXPECT_EQ(dec(column("EF01_CAMBIO")), Decimal::fromString(QStringLiteral("0.85")));
    typeInto(c("TXT_IMPEFFVAL"), QStringLiteral("661,10"));  // into euro: 777,76
    ASSERT_TRUE(f->FME_TESTATA->UpdateRecord(true, false)) << lastMessage().toStdString();
    EXPECT_EQ(demo_->count(QStringLiteral(
                  "SELECT COUNT(*) FROM EF01_SCADENZE WHERE EF01_IMPEFF_S = 777.76 AND "
                  "EF01_CODICE_CG08 = 'GBP' AND EF01_CAMBIO = 0.85 AND EF01_IMPEFFVAL_S = 661.10")),
              1);
}

// A Bill in another currency is saved only with its rate and its amount in that currency; a
// conversion that does not fit puts back every amount it touched, so no save stores half of it;
// and a currency without decimals refuses them instead of rounding them away.
TEST_P(BillCurrencyTest, AForeignBillNeedsItsRateAndAmountAndARefusedConversionLeavesNothingBehind) {
    openEuroBill();
    FRMKV_TARSELLO* f = show();
    ASSERT_TRUE(f);
    const QString key = module_->ChiaveEffettoInGestione.toString();
    const QString stored = QStringLiteral(
                               "SELECT COUNT(*) FROM EF01_SCADENZE WHERE EF01_NUMREG_CO99 = '%1' AND "
                               "EF01_PROGEFF = %2 AND ")
                               .arg(key.section(u',', 1, 1), key.section(u',', 4, 4));
    const Decimal euro = dec(column("EF01_IMPEFF_S"));
    ASSERT_FALSE(euro.isZero());

    typeInto(f->TXT_VALUTA, QStringLiteral("USD"));  // rate and currency amounts emptied
    for (const char* missing : {"TXT_CAMBIO", "TXT_IMPEFFVAL"}) {
        EXPECT_FALSE(f->FME_TESTATA->UpdateRecord(true, false)) << missing;
        EXPECT_EQ(lastMessage(), BillFormTexts::kValutaIncompleta.arg(QStringLiteral("USD")));
        EXPECT_EQ(f->focusWidget() ? f->focusWidget()->parentWidget()->objectName() : QString(),
                  QString::fromLatin1(missing));
        EXPECT_EQ(demo_->count(stored + QStringLiteral("EF01_CODICE_CG08 = 'EURO'")), 1) << "nothing saved";
        typeInto(c("TXT_CAMBIO"), QStringLiteral("1000000"));
    }

    // A euro amount whose dollars have more digits than the column keeps.
    log_->enqueue(6);
    typeInto(c("TXT_IMPEFF"), QStringLiteral("99.999.999.999,00"));
    EXPECT_TRUE(lastMessage().startsWith(QStringLiteral("Conversione non eseguita")))
        << lastMessage().toStdString();
    EXPECT_EQ(dec(column("EF01_IMPEFF_S")), euro) << "the euro amount put back";
    EXPECT_EQ(dec(c("TXT_IMPEFF")->Value()), euro);
    EXPECT_TRUE(dec(column("EF01_IMPEFFVAL_S")).isZero());
    EXPECT_FALSE(f->FME_TESTATA->UpdateRecord(true, false)) << "still no dollar amount";

    typeInto(c("TXT_CAMBIO"), QStringLiteral("1,085"));
    typeInto(c("TXT_IMPEFFVAL"), QStringLiteral("100,00"));  // into euro: 92,17
    ASSERT_TRUE(f->FME_TESTATA->UpdateRecord(true, false)) << lastMessage().toStdString();
    EXPECT_EQ(demo_->count(stored + QStringLiteral("EF01_CODICE_CG08 = 'USD' AND EF01_CAMBIO = 1.085 AND "
                                                   "EF01_IMPEFFVAL_S = 100 AND EF01_IMPEFF_S = 92.17")),
              1);

    // Yen have no decimals: typed ones are refused where they are typed.
    typeInto(f->TXT_VALUTA, QStringLiteral("JPY"));
    typeInto(c("TXT_CAMBIO"), QStringLiteral("140,66"));
    typeInto(c("TXT_IMPEFFVAL"), QStringLiteral("1500,5"));
    EXPECT_TRUE(lastMessage().contains(QStringLiteral("non ammette decimali")))
        << lastMessage().toStdString();
    EXPECT_TRUE(dec(column("EF01_IMPEFFVAL_S")).isZero());
    typeInto(c("TXT_IMPEFFVAL"), QStringLiteral("1500"));
    EXPECT_EQ(dec(column("EF01_IMPEFFVAL_S")), Decimal(1500));
}

TEST_P(BillCurrencyTest, AnotherClerksCurrencyChangeIsNotOverwrittenByAnAmountTypedMeanwhile) {
    openEuroBill();
    FRMKV_TARSELLO* f = show();
    ASSERT_TRUE(f);
    ClerkSession second(demo_->db.connectionString(), module_->ChiaveEffettoInGestione.toString());
    FRMKV_TARSELLO* other = second.form();
    ASSERT_TRUE(other);
    typeInto(f->TXT_VALUTA, QStringLiteral("CHF"));
    typeInto(c("TXT_DATACAMBIO"), QStringLiteral("03/06/2024"));
    typeInto(c("TXT_IMPEFFVAL"), QStringLiteral("100,00"));
    ASSERT_TRUE(f->FME_TESTATA->UpdateRecord(true, false)) << lastMessage().toStdString();

    // The second clerk still sees the Bill in euro: the amount typed there must not undo the franc.
    typeInto(other->control(QStringLiteral("TXT_IMPEFF")), QStringLiteral("321,00"));
    EXPECT_FALSE(other->FME_TESTATA->UpdateRecord(true, false));
    ASSERT_FALSE(second.log->messages().isEmpty());
    EXPECT_TRUE(second.log->messages().last().text.contains(QStringLiteral("modificati da un altro utente")));
    const QStringList key = module_->ChiaveEffettoInGestione.toString().split(QLatin1Char(','));
    EXPECT_EQ(
        demo_->count(QStringLiteral("SELECT COUNT(*) FROM EF01_SCADENZE WHERE EF01_NUMREG_CO99 = '%1' AND "
                                    "EF01_PROGEFF = %2 AND EF01_CODICE_CG08 = 'CHF' AND EF01_IMPEFF_S <> 321")
                         .arg(key[1], key[4])),
        1)
        << "the first clerk's franc stands";
    EXPECT_EQ(Value::toDecimal(other->clsRstTestata->Fields(QStringLiteral("EF01_IMPEFF_S")).Value()),
              Decimal(321))
        << "the second clerk's amount is still pending";
}

// The bills-of-exchange tab's links to the Bill a bill was received from or endorsed to, and the
// notes tab's keys, as a clerk uses them: a link is made only to a Bill of the company's own
// control account, an unresolved link refuses the save on its tab (the endorsed side first) and
// writes nothing, and a saved link comes back with its counterpart.
#include "BillFormFixture.h"
#include "CheckBox.h"
#include "ComboBox.h"
#include "IdEditBox.h"
#include "MainNavigator.h"
#include "NumericBox.h"
#include "SqlText.h"
#include "TabControl.h"
#include "VirtualFrame.h"

namespace {

struct BillRow {
    QString numReg;
    int progEff = 0;
    qint64 number = 0;
    int counterpart = 0;
    QString where() const {
        return QStringLiteral(" WHERE EF01_DITTA_CG18 = 1 AND EF01_NUMREG_CO99 = %1 AND EF01_PROGEFF = %2")
            .arg(SqlText::quote(numReg))
            .arg(progEff);
    }
    QString key() const { return QStringLiteral("1,%1,1,1,%2").arg(numReg).arg(progEff); }
};

// Customer Bills not exported to treasury, each with a bill number of its own.
QList<BillRow> customerBills(DemoDatabase& demo, int count) {
    Recordset rs;
    rs.Open(QStringLiteral("SELECT EF01_NUMREG_CO99, EF01_PROGEFF, EF01_NUMEFF, EF01_CLIFOR_CG44") +
                kCustomerBills +
                QStringLiteral(" AND EF01_INDEXP = 0 AND EF01_RIGACONT_CG42 = 1 AND EF01_PROGEC_EC01 = 1"
                               " AND EF01_FLGRICEVUTO_S = 0 AND EF01_FLGGIRATO_S = 0"
                               " ORDER BY EF01_NUMREG_CO99, EF01_PROGEFF"),
            demo.connection);
    QList<BillRow> rows;
    QSet<qint64> numbers;
    for (; !rs.AtEOF() && rows.size() < count; rs.MoveNext()) {
        const qint64 number = Value::toInt(rs.Fields(2).Value());
        if (numbers.contains(number)) continue;
        numbers.insert(number);
        rows.append({Value::toText(rs.Fields(0).Value()).trimmed(), Value::toInt(rs.Fields(1).Value()),
                     number, Value::toInt(rs.Fields(3).Value())});
    }
    return rows;
}

void tick(CheckBox* box, bool on) {
    box->setFocus();
    QApplication::processEvents();
    if ((box->Text() == QLatin1String("1")) != on) QTest::keyClick(box->editor(), Qt::Key_Space);
    QTest::keyClick(box->editor(), Qt::Key_Tab);
    QApplication::processEvents();
}

void choose(ComboBox* combo, int code) {
    combo->setFocus();
    QApplication::processEvents();
    combo->setValue(code);
    QTest::keyClick(combo->editor(), Qt::Key_Tab);
    QApplication::processEvents();
}

}  // namespace

class BillLinksTest : public BillFormTest {};
INSTANTIATE_ON_ENGINES(BillLinksTest);

TEST_P(BillLinksTest, ALinkIsMadeOnlyToABillOfTheControlAccountAndAnUnresolvedOneSavesNothing) {
    const QList<BillRow> bills = customerBills(*demo_, 3);
    ASSERT_EQ(bills.size(), 3);
    const BillRow& bill = bills[0];
    const BillRow& received = bills[1];
    const BillRow& endorsed = bills[2];
    // The received Bill is kept on another account of the customers' group.
    demo_->connection->Execute(QStringLiteral("UPDATE EF01_SCADENZE SET EF01_CONTO_CG24 = '0405001'") +
                               received.where());
    const QString links = QStringLiteral("SELECT COUNT(*) FROM EF03_SCADCECAM WHERE EF03_NUMREG_CO99 = ") +
                          SqlText::quote(bill.numReg) +
                          QStringLiteral(" AND EF03_PROGEFF_EF01 = %1").arg(bill.progEff);
    const int linksBefore = demo_->count(links);
    module_->ChiaveEffettoInGestione = bill.key();
    FRMKV_TARSELLO* f = show();
    ASSERT_TRUE(f && f->clsRstTestata);
    f->TAB_SCADENZE->setTab(FRMKV_TARSELLO::TabCambialiCessioni);
    auto* ricevuto = static_cast<CheckBox*>(f->control(QStringLiteral("CHK_FLGRICEVUTO")));
    auto* girato = static_cast<CheckBox*>(f->control(QStringLiteral("CHK_FLGGIRATO")));
    ComboBox* typeR = f->combo(QStringLiteral("CBO_TIPOCFR"));
    ComboBox* typeG = f->combo(QStringLiteral("CBO_TIPOCFG"));
    FrameControl* numberR = f->control(QStringLiteral("TXT_NUMEFFRIC"));
    FrameControl* numberG = f->control(QStringLiteral("TXT_NUMEFFGIR"));
    FrameControl* codeR = f->control(QStringLiteral("TXT_CODCLIFORR"));
    EXPECT_FALSE(numberR->isEnabled()) << "no number without the box ticked";

    tick(ricevuto, true);
    ASSERT_EQ(typeR->ListCount(), 2);
    choose(typeR, 0);
    typeInto(numberR, QString::number(received.number));
    EXPECT_FALSE(numberR->Valid()) << "a Bill of another account is no customer's Bill";
    EXPECT_TRUE(codeR->Text().isEmpty());
    // Letters never get in; a number past the column's range is refused on the spot.
    log_->clear();
    typeInto(numberR, QStringLiteral("12a"), false);
    EXPECT_EQ(numberR->Text(), QStringLiteral("12"));
    typeInto(numberR, QStringLiteral("99999999999"));
    ASSERT_EQ(log_->messages().size(), 1);
    EXPECT_TRUE(numberR->isEntered());
    // Back to the same unresolved number: searched again, now that its Bill is on the account.
    demo_->connection->Execute(QStringLiteral("UPDATE EF01_SCADENZE SET EF01_CONTO_CG24 = '0401001'") +
                               received.where());
    typeInto(numberR, QString::number(received.number));
    EXPECT_TRUE(numberR->Valid());
    EXPECT_EQ(codeR->Text(), QString::number(received.counterpart));
    EXPECT_FALSE(f->control(QStringLiteral("TXT_DESCLIFORR"))->Text().isEmpty());

    // Both sides ticked and unresolved: the endorsed one is the field in error, nothing is written.
    typeInto(numberR, QStringLiteral("999999"));
    tick(girato, true);
    choose(typeG, 0);
    typeInto(numberG, QStringLiteral("999998"));
    f->TAB_SCADENZE->setTab(FRMKV_TARSELLO::TabDatiGenerali);
    log_->clear();
    EXPECT_FALSE(f->FME_TESTATA->UpdateRecord(true, false));
    EXPECT_EQ(f->TAB_SCADENZE->Tab(), FRMKV_TARSELLO::TabCambialiCessioni);
    EXPECT_EQ(QApplication::focusWidget(), numberG->editor());
    ASSERT_EQ(log_->messages().size(), 1);
    EXPECT_TRUE(log_->messages().last().text.contains(QStringLiteral("\"Numero dell'effetto girato\"")));
    EXPECT_EQ(demo_->count(links), linksBefore);
    EXPECT_EQ(demo_->count(QStringLiteral("SELECT COUNT(*) FROM EF01_SCADENZE") + bill.where() +
                           QStringLiteral(" AND EF01_FLGRICEVUTO_S = 1")),
              0);
    EXPECT_FALSE(f->connectionInTransactionForTest());

    // The endorsed side resolved, the received one still not: now that one is in error.
    typeInto(numberG, QString::number(endorsed.number));
    EXPECT_FALSE(f->FME_TESTATA->UpdateRecord(true, false));
    EXPECT_EQ(QApplication::focusWidget(), numberR->editor());
    // Its type changed: number, counterpart and link go; unticked, the type has its blank row.
    choose(typeR, 1);
    EXPECT_TRUE(numberR->Text().isEmpty());
    tick(ricevuto, false);
    EXPECT_EQ(typeR->ListCount(), 1);
    ASSERT_TRUE(f->FME_TESTATA->UpdateRecord(true, false)) << log_->messages().last().text.toStdString();
    Recordset stored;
    stored.Open(QStringLiteral("SELECT EF03_NUMREGGIR_EF01, EF03_PROGEFFGIR_EF01, EF03_NUMREGRIC_EF01, "
                               "EF03_PROGEFFRIC_EF01 FROM EF03_SCADCECAM WHERE EF03_NUMREG_CO99 = ") +
                    SqlText::quote(bill.numReg) +
                    QStringLiteral(" AND EF03_PROGEFF_EF01 = %1").arg(bill.progEff),
                demo_->connection);
    ASSERT_FALSE(stored.AtEOF());
    EXPECT_EQ(Value::toText(stored.Fields(0).Value()).trimmed(), endorsed.numReg);
    EXPECT_EQ(Value::toInt(stored.Fields(1).Value()), endorsed.progEff);
    EXPECT_TRUE(Value::isNull(stored.Fields(2).Value()) && Value::isNull(stored.Fields(3).Value()));

    // Shown again after another Bill: the link is read back from the endorsed Bill.
    f->FME_TESTATA->MoveNext();
    f->FME_TESTATA->MovePrevious();
    EXPECT_EQ(typeG->Value(), QVariant(0));
    EXPECT_EQ(numberG->Text(), QString::number(endorsed.number));
    EXPECT_EQ(f->control(QStringLiteral("TXT_CODCLIFORG"))->Text(), QString::number(endorsed.counterpart));
    EXPECT_TRUE(numberR->Text().isEmpty());
}

// Shift+Enter makes a new line in a note and stays there; a stored Windows line end shows as one
// line break. (Enter turning the page: tests/scenarios/enter_turns_the_page.scn.)
TEST_P(BillLinksTest, ANoteKeepsItsLineBreaks) {
    FRMKV_TARSELLO* f = show();
    ASSERT_TRUE(f);
    f->TAB_SCADENZE->setTab(FRMKV_TARSELLO::TabNote);
    typeInto(f->TXT_NOTERAGGR, QStringLiteral("prima"), false);
    QTest::keyClick(f->TXT_NOTERAGGR->editor(), Qt::Key_Return, Qt::ShiftModifier);
    QTest::keyClicks(f->TXT_NOTERAGGR->editor(), QStringLiteral("seconda"));
    EXPECT_EQ(f->TXT_NOTERAGGR->Text(), QStringLiteral("prima\nseconda"));
    EXPECT_EQ(f->TAB_SCADENZE->Tab(), FRMKV_TARSELLO::TabNote);
    f->TXT_NOTERAGGR->setText(QStringLiteral("uno\r\ndue"));
    EXPECT_EQ(f->TXT_NOTERAGGR->Text(), QStringLiteral("uno\ndue"));
}

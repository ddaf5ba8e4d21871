// The slip list as a clerk drives it with the keyboard, offscreen on a laptop's screen: the
// outcomes chosen with the function keys, wrong input told and kept, the unpaid dialog.
#include "ItalianFormat.h"
#include "SlipFixture.h"
#include "SlipListWindow.h"
#include "UnpaidDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QTableWidget>

class SlipListWindowTest : public SlipFixture {};

TEST_P(SlipListWindowTest, TheClerkPaysOneBillAndRegistersAnotherUnpaidFromTheKeyboard) {
    const auto c = demo_->connection;
    today_ = QDate::currentDate().addDays(-40);
    layOut({2, 2});
    const SlipKey slip = present(2);
    QStringList told;
    QStringList dialogErrors;
    SlipListWindow::Person person;
    person.tell = [&](const QString& text, bool) { told << text; };
    person.pickFile = [] { return QString(); };
    person.askUnpaid = [&](UnpaidDialog& d) {
        d.resize(d.sizeHint());
        const QPixmap picture = d.grab();
        if (qEnvironmentVariableIsSet("KV_PICTURES"))
            picture.save(qEnvironmentVariable("KV_PICTURES") + "/unpaid.png");
        // Every field typed wrong first: the dialog tells and keeps what was typed.
        const QList<std::pair<QLineEdit*, QString>> wrong = {
            {d.dateField(), QStringLiteral("31/13/2026")},
            {d.bankChargesField(), QStringLiteral("4,5x")},
            {d.bankChargesField(), QStringLiteral("-4,50")},
            {d.customerChargesField(), QStringLiteral("4,505")}};
        for (const auto& [field, text] : wrong) {
            const QString before = field->text();
            field->setText(text);
            d.accept();
            dialogErrors << d.error();
            EXPECT_EQ(field->text(), text);
            field->setText(before);
        }
        d.modeField()->setCurrentIndex(0);
        EXPECT_FALSE(d.customerChargesField()->isEnabled()) << "no charge, nothing on the customer";
        d.modeField()->setCurrentIndex(1);
        d.bankChargesField()->setText(QStringLiteral("4,50"));
        d.customerChargesField()->setText(QStringLiteral("4,50"));
        d.reminderField()->setChecked(true);
        d.accept();
        return d.result() == QDialog::Accepted;
    };
    SlipListWindow w(c, 1, person);
    w.resize(1366, 740);
    w.show();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    int row = -1;
    for (int r = 0; r < w.slipTable()->rowCount(); ++r)
        if (w.slipTable()->item(r, 0)->text() == QStringLiteral("Riba") &&
            w.slipTable()->item(r, 2)->text() == QString::number(slip.number) &&
            w.slipTable()->item(r, 1)->text() == QString::number(slip.year))
            row = r;
    ASSERT_GE(row, 0);
    w.slipTable()->setCurrentCell(row, 0);
    w.slipTable()->setFocus();
    QTest::keyClick(w.slipTable(), Qt::Key_Return);
    EXPECT_TRUE(w.billTable()->hasFocus());
    ASSERT_EQ(w.billTable()->rowCount(), 2);

    QTest::keyClick(&w, Qt::Key_F6);
    EXPECT_TRUE(told.value(0).startsWith(QStringLiteral("Scegliere gli effetti")))
        << told.join('\n').toStdString();
    w.dateField()->setText(QStringLiteral("ieri"));
    w.billTable()->selectRow(0);
    QTest::keyClick(&w, Qt::Key_F6);
    EXPECT_TRUE(told.value(1).contains(QStringLiteral("\"ieri\" non è una data valida")))
        << told.join('\n').toStdString();
    w.dateField()->setText(ItalianFormat::date(QDate::currentDate()));
    w.billTable()->selectRow(0);
    QTest::keyClick(&w, Qt::Key_F6);
    EXPECT_EQ(told.value(2), QStringLiteral("Effetti incassati: 1."));

    w.billTable()->setCurrentCell(1, 0);
    QTest::keyClick(&w, Qt::Key_F8);
    EXPECT_EQ(dialogErrors.size(), 4);
    for (const QString& e : dialogErrors) EXPECT_FALSE(e.isEmpty());
    EXPECT_TRUE(dialogErrors.value(2).contains(QStringLiteral("negativo")));
    EXPECT_EQ(w.billTable()->item(0, 5)->text(), QStringLiteral("Pagato"));
    EXPECT_EQ(w.billTable()->item(1, 5)->text(), QStringLiteral("Insoluto"));
    EXPECT_EQ(w.slipTable()->item(w.slipTable()->currentRow(), 8)->text(), QStringLiteral("1"));
    EXPECT_EQ(w.slipTable()->item(w.slipTable()->currentRow(), 7)->text(), QStringLiteral("Chiusa"));
    if (qEnvironmentVariableIsSet("KV_PICTURES"))
        w.grab().save(qEnvironmentVariable("KV_PICTURES") + "/slips.png");
}

INSTANTIATE_ON_ENGINES(SlipListWindowTest);

// The slip's dialog as a clerk uses it: the Bills of next month ticked, the total following the
// ticks, wrong dates and a missing bank refused with the choices kept, then the slip written.
#include "SlipDialog.h"
#include "SlipFixture.h"
#include "SlipTexts.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QStandardItemModel>
#include <QTableView>

class SlipDialogTest : public SlipFixture {};

INSTANTIATE_ON_ENGINES(SlipDialogTest);

TEST_P(SlipDialogTest, TheClerkTicksChoosesABankAndPresents) {
    layOut({2, 2, 2});
    SlipDialog d(demo_->connection, DemoGenerator::kCompany, QString(), kToday);
    d.show();
    ASSERT_EQ(d.dueFromEdit()->text(), QStringLiteral("01/12/2026")) << "next month, proposed";
    ASSERT_EQ(d.model()->rowCount(), 3);
    EXPECT_EQ(d.list()->rowAt(0), 0) << "the Bills are shown in the list";
    EXPECT_TRUE(d.totalLabel()->text().contains(QStringLiteral("3 di 3 - totale 6.001,50 euro")))
        << d.totalLabel()->text().toStdString();

    const auto typedWrong = [&](const QString& from, const QString& to, const QString& expected) {
        d.dueFromEdit()->setText(from);
        d.dueToEdit()->setText(to);
        EXPECT_FALSE(d.search());
        EXPECT_EQ(d.problemLabel()->text(), expected);
        EXPECT_EQ(d.model()->rowCount(), 3) << "the list stays as it was";
    };
    typedWrong(QStringLiteral("31/02/2026"), QStringLiteral("31/12/2026"),
               SlipTexts::kWrongDate.arg(QStringLiteral("iniziale"), QStringLiteral("31/02/2026")));
    typedWrong(QStringLiteral("01/12/2026"), QStringLiteral("1x/12/'26;"),
               SlipTexts::kWrongDate.arg(QStringLiteral("finale"), QStringLiteral("1x/12/'26;")));
    typedWrong(QStringLiteral("31/12/2026"), QStringLiteral("01/12/2026"),
               SlipTexts::kInverted.arg(QStringLiteral("31/12/2026"), QStringLiteral("01/12/2026")));
    d.dueFromEdit()->setText(QStringLiteral("01/12/2026"));
    d.dueToEdit()->setText(QStringLiteral("31/12/2026"));
    ASSERT_TRUE(d.search());

    d.model()->item(1, 0)->setCheckState(Qt::Unchecked);
    EXPECT_TRUE(d.totalLabel()->text().contains(QStringLiteral("2 di 3 - totale 4.001,00 euro")))
        << d.totalLabel()->text().toStdString();

    const QStringList before = everything();
    EXPECT_FALSE(d.present());
    EXPECT_TRUE(d.problemLabel()->text().contains(SlipTexts::kNoBank));
    EXPECT_EQ(everything(), before);

    const CompanyBank chosen = bank();
    d.bankCombo()->setCurrentIndex(d.bankCombo()->findData(chosen.progressive));
    EXPECT_TRUE(d.bankLabel()->text().contains(
        QStringLiteral("Banca di presentazione: %1").arg(chosen.abi, 5, 10, QLatin1Char('0'))))
        << d.bankLabel()->text().toStdString();
    ASSERT_TRUE(d.present()) << d.problemLabel()->text().toStdString();
    ASSERT_TRUE(d.written());
    EXPECT_TRUE(d.outcomeLabel()->text().contains(d.written()->shown()))
        << d.outcomeLabel()->text().toStdString();
    EXPECT_TRUE(d.outcomeLabel()->text().contains(QStringLiteral("2 effetti per 4.001,00 euro")));
    EXPECT_EQ(value(QStringLiteral("SELECT EF01_INDPRES_S FROM EF01_SCADENZE") +
                    keys_.at(1).where(QStringLiteral("EF01"))),
              QStringLiteral("1"))
        << "the Bill left out stays in portfolio";
}

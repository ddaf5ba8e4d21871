// A new history movement is confirmed only with what its undo needs; the grids show real columns.
#include "BillFormFixture.h"
#include "BillGridLayouts.h"
#include "ComboBox.h"
#include "FRMKV_STORICO.h"
#include "GridNavigator.h"
#include "HistoryFormTexts.h"
#include "Schema.h"
#include "TabControl.h"
#include "VirtualFrame.h"

#include <QTimer>

TEST(HistoryGrids, EveryColumnOfTheHistoryAndReminderGridsIsOneOfItsTable) {
    const auto catalogue = Schema::catalogue();
    for (const auto& [table, columns] : {std::pair{"EF06_SCADSTO", &BillGridLayouts::storico()},
                                         std::pair{"EF05_SCADSOLLEC", &BillGridLayouts::solleciti()}}) {
        const TableDef* def = catalogue->table(QString::fromLatin1(table));
        ASSERT_TRUE(def);
        for (const BillGridLayouts::Column& c : *columns)
            EXPECT_TRUE(def->column(QString::fromLatin1(c.field))) << c.field << " of " << table;
    }
}

using HistoryMovementTest = BillFormTest;
INSTANTIATE_ON_ENGINES(HistoryMovementTest);

TEST_P(HistoryMovementTest, ANewMovementWithoutTheBillsSituationIsNotConfirmed) {
    module_->ChiaveEffettoInGestione = keyOfRow(1);
    FRMKV_TARSELLO* f = showTab(FRMKV_TARSELLO::TabStorico);
    ASSERT_TRUE(f);
    const int rows = f->clsRstStorico->RecordCount();
    bool reached = false;
    QTimer::singleShot(0, [&] {
        auto* h = qobject_cast<FRMKV_STORICO*>(QApplication::activeModalWidget());
        if (!h) return;
        reached = true;
        log_->clear();
        h->GNV_DETTSTORICO->press(QStringLiteral("Conferma"));
        // Refused, naming what is missing; the movement is still being entered.
        ASSERT_EQ(log_->messages().size(), 1);
        const QString text = log_->messages().first().text;
        for (const char* caption : {"Data scadenza", "Importo effetto in EURO"})
            EXPECT_TRUE(text.contains(QLatin1String(caption))) << text.toStdString();
        EXPECT_EQ(h->FME_STORICO->Status(), VirtualFrame::kStatusAdding);
        typeInto(h->control(QStringLiteral("TXT_DATASCAD")), QStringLiteral("15/03/2031"));
        typeInto(h->control(QStringLiteral("TXT_IMPEFF")), QStringLiteral("100,00"));
        h->combo(QStringLiteral("CBO_INDSTATO"))->setValue(0);
        h->FME_STORICO->storeValue(*h->combo(QStringLiteral("CBO_INDSTATO")));
        log_->clear();
        h->GNV_DETTSTORICO->press(QStringLiteral("Conferma"));
        EXPECT_EQ(h->FME_STORICO->Status(), VirtualFrame::kStatusShown) << log_->messages().size();
        h->close();
    });
    f->GNV_STORICO->press(QStringLiteral("Nuovo"));
    EXPECT_TRUE(reached);
    EXPECT_EQ(f->clsRstStorico->RecordCount(), rows + 1);
}

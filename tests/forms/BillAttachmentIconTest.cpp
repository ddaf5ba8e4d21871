// The window's paper clip follows the Bill shown on every move, and the general data tab points
// the attachments at the header.
#include "BillFormFixture.h"
#include "TabControl.h"
#include "VirtualFrame.h"

#include <QImage>

using BillAttachmentIconTest = BillFormTest;
INSTANTIATE_ON_ENGINES(BillAttachmentIconTest);

TEST_P(BillAttachmentIconTest, TheIconIsTheBillShownsAfterEveryMove) {
    // The first Bill with attachments whose next one has none.
    Recordset rs;
    rs.Open(
        QStringLiteral("SELECT (SELECT COUNT(*) FROM KV05_ALLEGATI WHERE KV05_IDMEDIA = EF01_IDMEDIA_CG99)") +
            kCustomerBills +
            QStringLiteral(" ORDER BY EF01_NUMREG_CO99, EF01_RIGACONT_CG42, EF01_PROGEC_EC01, EF01_PROGEFF"),
        demo_->connection);
    int row = 0;
    bool previous = false;
    for (int n = 1; !rs.AtEOF(); rs.MoveNext(), ++n) {
        const bool has = Value::toInt(rs.Fields(0).Value()) > 0;
        if (previous && !has) {
            row = n - 1;
            break;
        }
        previous = has;
    }
    ASSERT_GT(row, 0) << "the demo company has Bills with attachments";
    module_->ChiaveEffettoInGestione = keyOfRow(row);
    FRMKV_TARSELLO* f = show();
    ASSERT_TRUE(f);
    auto shows = [&](bool attachments) {
        const QIcon expected = host_->MainWindowIcon(attachments ? QStringLiteral("KProgrammaMM")
                                                                 : QStringLiteral("KProgramma"));
        return f->windowIcon().pixmap(16).toImage() == expected.pixmap(16).toImage();
    };
    // On the history tab, then back on the general data: the header's clip.
    f->TAB_SCADENZE->setTab(FRMKV_TARSELLO::TabStorico);
    f->TAB_SCADENZE->setTab(FRMKV_TARSELLO::TabDatiGenerali);
    QApplication::processEvents();
    EXPECT_TRUE(shows(true));
    ASSERT_TRUE(f->FME_TESTATA->MoveNext());
    EXPECT_TRUE(shows(false));
    ASSERT_TRUE(f->FME_TESTATA->MovePrevious());
    EXPECT_TRUE(shows(true));
}

#include "CallingProgram.h"
#include "Cinterface.h"
#include "DatabaseHost.h"
#include "DemoGenerator.h"
#include "EditBox.h"
#include "HostMainWindow.h"
#include "HostToolbar.h"
#include "HostWindowFixture.h"
#include "NavigatorBar.h"
#include "PluginRegistry.h"
#include "Recordset.h"
#include "Schema.h"
#include "SchemaInstaller.h"
#include "ScriptedLogService.h"
#include "StartDialog.h"
#include "StartUp.h"
#include "TabControl.h"
#include "TestDatabase.h"
#include "Value.h"
#include "VirtualFrame.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QSet>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest/QTest>

// The host's "Nuovo" asks about pending edits exactly as the form's own navigator does:
// Cancel stays on the edited Bill, No drops the edits, Yes saves and starts the new Bill only
// when the save went through.
TEST_F(HostWindowTest, HostNewAsksAboutPendingEditsFirst) {
    QWidget* form = openRow(0);
    ASSERT_TRUE(form);
    VirtualFrame* frame = header(form);
    ASSERT_TRUE(frame);
    ASSERT_TRUE(window_->navigator()->action(QStringLiteral("Nuovo"))->isEnabled());
    typeInto(form, QStringLiteral("TXT_NUMDOCORIG"), QStringLiteral("X-1"));
    ASSERT_TRUE(frame->isRecordChanged());

    log_->enqueue(2);  // Cancel
    pressNew();
    ASSERT_EQ(messageTexts(), QStringList{kPendingQuestion});
    EXPECT_EQ(frame->Status(), VirtualFrame::kStatusShown);
    EXPECT_TRUE(frame->isRecordChanged()) << "the edits stay pending";
    EXPECT_EQ(form->findChild<EditBox*>(QStringLiteral("TXT_NUMDOCORIG"))->Text(), QStringLiteral("X-1"));

    log_->enqueue(7);  // No
    pressNew();
    EXPECT_EQ(log_->messages().size(), 2);
    EXPECT_EQ(frame->Status(), VirtualFrame::kStatusAdding);
    window_->navigator()->press(QStringLiteral("Annulla"));  // back to the stored Bill
    ASSERT_EQ(frame->Status(), VirtualFrame::kStatusShown);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM EF01_SCADENZE WHERE EF01_NUMDOCORIG = 'X-1'")), 0);

    // Yes, but the save is refused (open and paid): no new Bill, the edits stay.
    log_->clear();
    auto rs = frame->recordset();
    rs->Fields(QStringLiteral("EF01_INDSTATO_S")).setValue(0);
    rs->Fields(QStringLiteral("EF01_INDGENSTATO_S")).setValue(1);
    frame->Refresh();
    frame->setRecordChanged(true);
    log_->enqueue(6);
    pressNew();
    ASSERT_GE(log_->messages().size(), 2);
    EXPECT_EQ(log_->messages().first().text, kPendingQuestion);
    EXPECT_EQ(log_->messages().last().title, QStringLiteral("Controllo dati"));
    EXPECT_EQ(frame->Status(), VirtualFrame::kStatusShown);
    EXPECT_TRUE(frame->isRecordChanged());

    // Yes with a save that goes through: stored, then the new Bill.
    rs->Fields(QStringLiteral("EF01_INDGENSTATO_S")).setValue(0);
    frame->Refresh();
    typeInto(form, QStringLiteral("TXT_NUMDOCORIG"), QStringLiteral("X-2"));
    log_->clear();
    log_->enqueue(6);
    pressNew();
    EXPECT_EQ(messageTexts(), QStringList{kPendingQuestion});
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM EF01_SCADENZE WHERE EF01_NUMDOCORIG = 'X-2'")), 1);
    EXPECT_EQ(frame->Status(), VirtualFrame::kStatusAdding);

    // The bar follows what the form does by itself: giving up the new Bill shows a stored one.
    QAction* newBill = window_->navigator()->action(QStringLiteral("Nuovo"));
    EXPECT_FALSE(newBill->isEnabled());
    frame->setStatus(VirtualFrame::kStatusShown);
    EXPECT_TRUE(newBill->isEnabled());
}

// A clerk signs in (a wrong password first), works in a window that does not offer deleting,
// and the database refuses the delete asked from the form's own bar: the Bill stays.
TEST_F(HostWindowTest, AClerkSignsInAndMayNotDeleteABill) {
    StartDialog start(demo_.db.connectionString(), DemoGenerator::kCompany);
    start.userEdit()->setText(QStringLiteral("mrossi"));
    start.passwordEdit()->setText(QStringLiteral("rossi.2024"));
    EXPECT_FALSE(start.attempt());
    EXPECT_EQ(start.message()->text(), QStringLiteral("Utente o password non validi."));
    EXPECT_TRUE(start.passwordEdit()->text().isEmpty());
    start.passwordEdit()->setText(QStringLiteral("Rossi.2024"));
    ASSERT_TRUE(start.attempt());
    const SignIn::Session& session = *start.session();
    EXPECT_EQ(session.account().code, QStringLiteral("MROSSI"));
    EXPECT_EQ(start.company(), DemoGenerator::kCompany);

    window_.reset();
    const StartUp::Desk desk = StartUp::open(session, start.company());
    host_ = desk.host;
    host_->setLogServiceFactory([this] { return log_; });
    window_ = std::make_unique<HostMainWindow>(host_, desk.connection, registry_);
    window_->setRights(session.rights());
    window_->show();
    ASSERT_GT(window_->callingProgram()->search(), 2);
    const int bills = count(QStringLiteral("SELECT COUNT(*) FROM EF01_SCADENZE"));
    QWidget* form = openRow(0);
    ASSERT_TRUE(form);
    EXPECT_FALSE(window_->navigator()->action(QStringLiteral("Elimina"))->isEnabled());
    EXPECT_TRUE(window_->navigator()->action(QStringLiteral("Salva"))->isEnabled());
    window_->navigator()->press(QStringLiteral("Elimina"));
    EXPECT_TRUE(log_->messages().isEmpty()) << "a button not offered does nothing";

    log_->enqueue(6);  // yes, delete
    form->findChild<NavigatorBar*>(QStringLiteral("INV_MAIN"))->press(QStringLiteral("Elimina"));
    ASSERT_FALSE(log_->messages().isEmpty());
    EXPECT_TRUE(messageTexts().join(u'|').contains(QStringLiteral("non ha il diritto")))
        << messageTexts().join(u'|').toStdString();
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM EF01_SCADENZE")), bills);
    // What the clerk may do still goes through after the refusal.
    typeInto(form, QStringLiteral("TXT_NUMDOCORIG"), QStringLiteral("R-1"));
    window_->navigator()->press(QStringLiteral("Salva"));
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM EF01_SCADENZE WHERE EF01_NUMDOCORIG = 'R-1'")), 1);
}

// The bill form closed by a close event of its own, not through the module's CloseForm: the
// form has let go of the host by then, its tab goes, and opening another Bill, closing that
// one's tab and quitting must not complain about it.
TEST_F(HostWindowTest, FormClosedByItsWindowLeavesTheHostQuiet) {
    QWidget* form = openRow(0);
    ASSERT_TRUE(form);
    QCloseEvent close;
    QApplication::sendEvent(form, &close);
    QApplication::processEvents();
    EXPECT_TRUE(close.isAccepted());
    EXPECT_FALSE(billForm()) << "the form went";
    QApplication::processEvents();
    EXPECT_EQ(window_->windows()->subWindowList().size(), 1) << "only the list is left";
    EXPECT_FALSE(window_->navigator()->action(QStringLiteral("Salva"))->isEnabled())
        << "nothing left to act on";
    EXPECT_TRUE(log_->messages().isEmpty()) << messageTexts().join(u'|').toStdString();

    QWidget* next = openRow(1);
    ASSERT_TRUE(next);
    EXPECT_TRUE(log_->messages().isEmpty()) << messageTexts().join(u'|').toStdString();

    window_->moduleWindow()->close();  // what the tab's close does
    QApplication::processEvents();
    EXPECT_FALSE(billForm());
    EXPECT_FALSE(window_->moduleWindow()) << "the tab went with its form";
    EXPECT_TRUE(window_->close()) << "the application quits";
    EXPECT_TRUE(log_->messages().isEmpty()) << messageTexts().join(u'|').toStdString();
    window_.reset();
}

// In the application, "Gestione" on the Bill of the charges of a movement opens another bill form
// in a window of its own over the movement, on that Bill; closing it returns to the movement.
TEST_F(HostWindowTest, TheBillOfTheChargesOpensInAWindowOfItsOwnOverTheMovement) {
    StartUp::givePrograms(host_, registry_, ProgramRights::all());
    QWidget* form = openRow(0);
    ASSERT_TRUE(form);
    const QString numEff = Value::toText(
        connection_->Query(QStringLiteral("SELECT MAX(EF01_NUMEFF) FROM EF01_SCADENZE")).front().rows[0][0]);
    form->findChild<TabControl*>(QStringLiteral("TAB_SCADENZE"))->setTab(2);
    QApplication::processEvents();
    QString sibling, shown, back;
    QTimer::singleShot(0, [&] {
        QWidget* movement = QApplication::activeModalWidget();
        if (!movement) return;
        auto* charges = movement->findChild<EditBox*>(QStringLiteral("TXT_PROGEFFSPE"));
        charges->setText(numEff);
        QTimer::singleShot(0, [&] {
            QWidget* other = QApplication::activeModalWidget();
            if (!other) return;
            sibling = other->objectName();
            shown = other->findChild<EditBox*>(QStringLiteral("TXT_NUMEFF"))->Text();
            other->close();
        });
        emit charges->KeyButtonMenuPress(QStringLiteral("Kgestione"));
        back =
            QApplication::activeModalWidget() ? QApplication::activeModalWidget()->objectName() : QString();
        movement->close();
    });
    form->findChild<NavigatorBar*>(QStringLiteral("GNV_STORICO"))->press(QStringLiteral("Nuovo"));
    EXPECT_EQ(sibling, QStringLiteral("FRMKV_TARSELLO"));
    EXPECT_EQ(shown, numEff);
    EXPECT_EQ(back, QStringLiteral("FRMKV_STORICO"));
    EXPECT_EQ(billForm(), form) << "the first bill form stays in its tab";
    EXPECT_TRUE(log_->messages().isEmpty()) << messageTexts().join(u'|').toStdString();
}

// Waits for the calling program's count of its selection, which runs in the background.
bool countArrives(const CallingProgram& calling) {
    for (int i = 0; i < 500 && !calling.countDone(); ++i) QTest::qWait(20);
    return calling.countDone();
}

// A selection larger than a page: the list shows the first page, reads on as the clerk scrolls
// to its end, and the status tells the whole selection's size, counted in the background; a
// count given up stays given up.
class CallingProgramList : public ::testing::TestWithParam<TestEngine> {};

TEST_P(CallingProgramList, ShowsAPageReadsOnAsTheClerkScrollsAndCountsTheSelection) {
    REQUIRE_ENGINE(GetParam());
    DemoDatabase demo(GetParam(), 700);
    auto connection = demo.connection;
    Recordset count;
    count.Open(QStringLiteral(
                   "SELECT COUNT(*) FROM EF01_SCADENZE WHERE EF01_DITTACF_CG18 = 1 AND EF01_TIPOCF_CG44 = 0"),
               connection);
    const int customers = Value::toInt(count.Fields(0).Value());
    ASSERT_GT(customers, Recordset::kPageSize);

    auto host = std::make_shared<DatabaseHost>(demo.db.connectionString(), DemoGenerator::kCompany,
                                               QStringLiteral("MROSSI"));
    CallingProgram calling(host, connection);
    calling.show();
    EXPECT_EQ(calling.search(), Recordset::kPageSize);
    ASSERT_TRUE(countArrives(calling));
    EXPECT_TRUE(calling.statusLabel()->text().startsWith(QStringLiteral("%1 effetti per € ").arg(customers)));

    // Given up at once: the status says so and no late answer overwrites it.
    calling.search();
    EXPECT_FALSE(calling.countDone());
    calling.countCancelButton()->click();
    EXPECT_TRUE(calling.countDone());
    QTest::qWait(500);
    EXPECT_TRUE(calling.statusLabel()->text().startsWith(QStringLiteral("Conteggio annullato")))
        << calling.statusLabel()->text().toStdString();
    calling.search();
    ASSERT_TRUE(countArrives(calling));
    EXPECT_TRUE(calling.statusLabel()->text().startsWith(QStringLiteral("%1 effetti per € ").arg(customers)));

    QAbstractItemModel* model = calling.list()->model();
    EXPECT_EQ(model->rowCount(), Recordset::kPageSize);
    // Scrolling to the end asks for more until the selection ends.
    for (int guard = 0; guard < 10 && model->canFetchMore(QModelIndex()); ++guard) {
        calling.list()->scrollToBottom();
        QApplication::processEvents();
        if (model->canFetchMore(QModelIndex())) model->fetchMore(QModelIndex());
    }
    EXPECT_EQ(model->rowCount(), customers);
    QSet<QString> keys;
    for (int r = 0; r < model->rowCount(); ++r) keys.insert(model->index(r, 0).data(Qt::UserRole).toString());
    EXPECT_EQ(keys.size(), customers);
}

INSTANTIATE_ON_ENGINES(CallingProgramList);

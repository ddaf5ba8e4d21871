#include "Accounts.h"
#include "BillFormFixture.h"
#include "GridNavigator.h"
#include "IdEditBox.h"
#include "LookupDialog.h"
#include "ModalWindow.h"
#include "Schema.h"
#include "SignIn.h"
#include "TabControl.h"
#include "VirtualFrame.h"

#include <QRandomGenerator>
#include <QTableWidget>
#include <QUrl>
#include <QUrlQuery>

namespace {

// The bill form of a signed-in clerk: every connection of the host and the form carries the
// clerk's rights, and the administrator works beside it.
class BillRightsTest : public BillFormTest {
protected:
    void SetUp() override {
        BillFormTest::SetUp();
        if (IsSkipped()) return;
        // A user of this test alone: on the server its login role is shared by nobody else.
        clerk_.code = server() ? QStringLiteral("F%1_%2")
                                     .arg(QDateTime::currentMSecsSinceEpoch() % 100000000)
                                     .arg(QRandomGenerator::global()->bounded(1000))
                               : QStringLiteral("LBIANCHI");
        clerk_.name = QStringLiteral("Lucia Bianchi");
        clerk_.group = QStringLiteral("CONTABILITA");
        administrator().add(clerk_, kPassword);
        session_ = signedIn();
        host_ = std::make_shared<DatabaseHost>(session_.connections(), DemoGenerator::kCompany, clerk_.code);
        host_->setLogServiceFactory([this] { return log_; });
        module_->setClsGlobal(host_);
    }
    void TearDown() override {
        BillFormTest::TearDown();
        if (server() && !clerk_.code.isEmpty())
            demo_->connection->Execute(
                QStringLiteral("DROP ROLE IF EXISTS %1").arg(Accounts::loginRole(clerk_.code)));
    }

    bool server() const { return GetParam() == TestEngine::PostgreSql; }
    Accounts administrator() { return Accounts(*demo_->connection, QStringLiteral("ADMIN")); }
    // The clerk signed in: on the server as its login role with its password over TCP.
    UserSession signedIn() const {
        const SignIn signIn(Schema::billProgram(), Schema::accessClass, Schema::catalogue());
        if (!server()) return signIn.signIn(demo_->db.connectionString(), clerk_.code, kPassword);
        QUrl url(demo_->db.connectionString());
        QUrlQuery query(url);
        query.removeQueryItem(QStringLiteral("host"));
        url.setQuery(query);
        url.setHost(QStringLiteral("localhost"));
        return signIn.signIn(url.toString(), Accounts::loginRole(clerk_.code), kPassword);
    }
    QString messages() const {
        QStringList out;
        for (const auto& m : log_->messages()) out << m.text;
        return out.join(QLatin1Char('\n'));
    }
    int movements() { return demo_->count(QStringLiteral("SELECT COUNT(*) FROM EF06_SCADSTO")); }

    static inline const QString kPassword = QStringLiteral("Bianchi.2024");
    Account clerk_;
    UserSession session_;
};

INSTANTIATE_ON_ENGINES(BillRightsTest);

}  // namespace

// A clerk who may change Bills but not delete: the undo of the movement their own save wrote is
// refused by the database and told; disabled while typing a note, the next save says so and
// keeps the note, which goes in once the administrator enables the clerk again.
TEST_P(BillRightsTest, TheClerksRightsAndTheAdministratorsChangesAreToldAndNothingTypedIsLost) {
    module_->ChiaveEffettoInGestione = keyOfRow(3);
    FRMKV_TARSELLO* f = show();
    ASSERT_TRUE(f);
    const QDate due = Value::toDate(f->clsRstTestata->Fields(QStringLiteral("EF01_SCADE_S")).Value());
    typeInto(f->control(QStringLiteral("TXT_SCADE")), due.addDays(15).toString(QStringLiteral("dd/MM/yyyy")));
    ASSERT_TRUE(f->FME_TESTATA->UpdateRecord(true, false)) << messages().toStdString();

    const int written = movements();
    f->TAB_SCADENZE->setTab(FRMKV_TARSELLO::TabStorico);
    QApplication::processEvents();
    deleteLastMovement(f);
    EXPECT_TRUE(messages().contains(QStringLiteral("non ha il diritto"))) << messages().toStdString();
    EXPECT_EQ(movements(), written);
    EXPECT_EQ(Value::toDate(f->clsRstTestata->Fields(QStringLiteral("EF01_SCADE_S")).Value()),
              due.addDays(15));

    f->TAB_SCADENZE->setTab(FRMKV_TARSELLO::TabNote);
    typeInto(f->control(QStringLiteral("TXT_NOTEAMMIN")), QStringLiteral("Disattivata mentre scriveva"));
    administrator().setDisabled(clerk_.code, true);
    log_->clear();
    EXPECT_FALSE(f->FME_TESTATA->UpdateRecord(true, false));
    EXPECT_TRUE(
        messages().contains(server() ? QStringLiteral("amministratore") : QStringLiteral("disattivato")))
        << messages().toStdString();
    EXPECT_TRUE(f->FME_TESTATA->isRecordChanged());
    EXPECT_EQ(f->control(QStringLiteral("TXT_NOTEAMMIN"))->Text(),
              QStringLiteral("Disattivata mentre scriveva"));

    administrator().setDisabled(clerk_.code, false);
    log_->clear();
    EXPECT_TRUE(f->FME_TESTATA->UpdateRecord(true, false)) << messages().toStdString();
    EXPECT_EQ(demo_->count(QStringLiteral("SELECT COUNT(*) FROM EF04_SCADNOTE WHERE EF04_NOTEAMMIN = "
                                          "'Disattivata mentre scriveva'")),
              1);
}

// Every connection the clerk's desk opens while working on Bills (the form's, the decodes', a
// search list's, a number's, a sibling inside the save) comes from the session's factory, which
// gives each the catalogue and the clerk's rule: none is opened from a bare connection string.
TEST_P(BillRightsTest, EveryConnectionOfAFormSessionComesFromTheSessionsFactory) {
    const ConnectionFactory& factory = session_.connections();
    ASSERT_TRUE(factory.rule() && factory.catalogue());
    const int inProcess = ConnectionFactory::openedInProcess();
    const int fromSession = factory.opened();

    module_->ChiaveEffettoInGestione = keyOfRow(3);
    FRMKV_TARSELLO* f = show();
    ASSERT_TRUE(f);
    ASSERT_TRUE(f->FME_TESTATA->MoveNext());
    ASSERT_TRUE(f->FME_TESTATA->MovePrevious());
    typeInto(f->control(QStringLiteral("TXT_CODPAG")), QStringLiteral("RB30"));
    EXPECT_FALSE(f->control(QStringLiteral("TXT_DESPAG"))->Text().isEmpty());
    bool listed = false;
    f->TXT_CODAGE->setFocus();
    onModal<LookupDialog>([&] { QTest::keyClick(f->TXT_CODAGE->editor(), Qt::Key_F3); },
                          [&](LookupDialog& list) { listed = list.table()->rowCount() > 0; });
    EXPECT_TRUE(listed);
    ASSERT_TRUE(f->FME_TESTATA->UpdateRecord(true, false)) << messages().toStdString();

    EXPECT_GT(factory.opened(), fromSession);
    EXPECT_EQ(ConnectionFactory::openedInProcess() - inProcess, factory.opened() - fromSession);
}

// The clerk closes the form and opens it again: the second form works on the connection the
// first let go of, so nothing new is opened, but what the administrator changed meanwhile acts
// on it as on a new one.
TEST_P(BillRightsTest, AFormOpenedAgainWorksOnTheConnectionTheLastLeftWithTheRightsReadAgain) {
    const ConnectionFactory& factory = session_.connections();
    const QString key = keyOfRow(3);
    auto reopen = [&] {
        module_->CloseForm();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        newModule();
        module_->ChiaveEffettoInGestione = key;
        return show();
    };
    module_->ChiaveEffettoInGestione = key;
    ASSERT_TRUE(show());
    const int opened = factory.opened();
    FRMKV_TARSELLO* f = reopen();
    ASSERT_TRUE(f);
    EXPECT_EQ(factory.opened(), opened);
    ASSERT_TRUE(f->clsRstTestata) << messages().toStdString();
    EXPECT_EQ(shownNumReg(), key.section(QLatin1Char(','), 1, 1));
    ASSERT_TRUE(f->FME_TESTATA->MovePrevious()) << messages().toStdString();

    if (server()) {
        // The server ends the clerk's sessions while the connection waits (a restart, an
        // administrator): the next form opens on it anew, without a word to the clerk.
        const QString clerkSessions = QStringLiteral("FROM pg_stat_activity WHERE usename = '%1'")
                                          .arg(Accounts::loginRole(clerk_.code).toLower());
        ASSERT_GE(demo_->count(QStringLiteral("SELECT COUNT(*) ") + clerkSessions), 2);  // host and form
        demo_->connection->Execute(QStringLiteral("SELECT pg_terminate_backend(pid) ") + clerkSessions);
        log_->clear();
        f = reopen();
        ASSERT_TRUE(f && f->clsRstTestata) << messages().toStdString();
        EXPECT_EQ(shownNumReg(), key.section(QLatin1Char(','), 1, 1));
        EXPECT_TRUE(messages().isEmpty()) << messages().toStdString();
    }

    administrator().setDisabled(clerk_.code, true);
    log_->clear();
    f = reopen();
    EXPECT_TRUE(
        messages().contains(server() ? QStringLiteral("amministratore") : QStringLiteral("disattivato")))
        << messages().toStdString();
    EXPECT_TRUE(!f || f->clsRstTestata == nullptr || f->clsRstTestata->State() == 0);
}

// A connection its holder lets go of inside a transaction (a form closed in the middle of a
// save) is closed, never handed to the next form: its writes are undone and its locks freed.
TEST_P(BillRightsTest, AConnectionLetGoInsideATransactionIsClosedNotKept) {
    const ConnectionFactory& factory = session_.connections();
    const QString numReg = keyOfRow(1).section(QLatin1Char(','), 1, 1);
    const QString where =
        QStringLiteral(" WHERE EF01_DITTA_CG18 = 1 AND EF01_NUMREG_CO99 = '%1'").arg(numReg);
    std::shared_ptr<Connection> c = host_->OpenConnection();
    c->BeginTrans();
    ASSERT_GT(c->Execute(QStringLiteral("UPDATE EF01_SCADENZE SET EF01_NUMSTEFF_S = 987654") + where), 0);
    c.reset();

    // Free at once: the administrator writes the same Bills without waiting for a lock.
    demo_->connection->BeginTrans();
    demo_->connection->Execute(QStringLiteral("UPDATE EF01_SCADENZE SET EF01_FLGSOSPESO = EF01_FLGSOSPESO") +
                               where);
    demo_->connection->CommitTrans();
    EXPECT_EQ(
        demo_->count(QStringLiteral("SELECT COUNT(*) FROM EF01_SCADENZE WHERE EF01_NUMSTEFF_S = 987654")), 0);
    const int opened = factory.opened();
    c = host_->OpenConnection();
    EXPECT_EQ(factory.opened(), opened + 1);
}

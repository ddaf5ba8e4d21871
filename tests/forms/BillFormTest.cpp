#include "BillCodeTables.h"
#include "CLSKV_TARSELLO.h"
#include "CodeLists.h"
#include "DatabaseHost.h"
#include "DemoGenerator.h"
#include "EditBox.h"
#include "FRMKV_TARSELLO.h"
#include "Grid.h"
#include "HeaderQuery.h"
#include "IdEditBox.h"
#include "MainNavigator.h"
#include "Recordset.h"
#include "SchemaInstaller.h"
#include "ScriptedLogService.h"
#include "TabControl.h"
#include "TestDatabase.h"
#include "Value.h"
#include "VirtualFrame.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QtTest/QTest>

namespace {

// A demo company on a fresh database of the engine.
struct DemoDatabase {
    explicit DemoDatabase(TestEngine engine) : db(engine) {
        connection = db.connect(SchemaInstaller::catalogue());
        SchemaInstaller(connection).install();
        DemoGenerator::Options options;
        options.bills = 120;
        DemoGenerator(connection, options).run();
    }
    int count(const QString& sql) {
        Recordset rs;
        rs.Open(sql, connection);
        return Value::toInt(rs.Fields(0).Value());
    }
    TestDatabase db;
    std::shared_ptr<Connection> connection;
};

HeaderQuery customerQuery(const QString& selection) {
    HeaderQuery q;
    q.selection = selection;
    q.order = QStringLiteral("EF01_SCADE_S, EF01_NUMEFF");
    q.tipoArchivio = 0;
    q.company = DemoGenerator::kCompany;
    q.ledgerGroup = DemoGenerator::kLedgerGroup;
    q.customerAccount = DemoGenerator::customerAccount();
    q.supplierAccount = DemoGenerator::supplierAccount();
    return q;
}

const QString kCustomerBills = QStringLiteral(
    " FROM EF01_SCADENZE WHERE EF01_DITTA_CG18 = 1 AND EF01_DITTACF_CG18 = 1 AND EF01_TIPOCF_CG44 = 0 AND EF01_INDCONTO = 0");

}  // namespace

class HeaderQueryEngineTest : public ::testing::TestWithParam<TestEngine> {};
INSTANTIATE_TEST_SUITE_P(Engines, HeaderQueryEngineTest, ::testing::Values(TestEngine::Sqlite, TestEngine::PostgreSql),
                         [](const auto& info) { return engineName(info.param); });

TEST_P(HeaderQueryEngineTest, ReadsTheCallersBillsInBothFormsOnTheDemoCompany) {
    REQUIRE_ENGINE(GetParam());
    DemoDatabase demo(GetParam());
    const int expected = demo.count(QStringLiteral("SELECT COUNT(*)") + kCustomerBills +
                                    QStringLiteral(" AND EF01_SCADE_S >= '20240101'"));
    ASSERT_GT(expected, 0);
    Recordset plain;
    plain.Open(customerQuery(QStringLiteral("EF01_SCADE_S >= '20240101'")).text(), demo.connection);
    EXPECT_EQ(plain.RecordCount(), expected);
    EXPECT_FALSE(plain.Fields(QStringLiteral("CO99_INDTIPOOP")).Writable());
    EXPECT_TRUE(plain.Fields(QStringLiteral("EF01_SCADE_S")).Writable());
    QDate previous;
    for (; !plain.AtEOF(); plain.MoveNext()) {  // ordered by due date
        const QDate due = Value::toDate(plain.Fields(QStringLiteral("EF01_SCADE_S")).Value());
        EXPECT_FALSE(due < previous);
        previous = due;
    }

    // A selection on the status view takes the joined form: the same Bills as a direct join.
    Recordset states;
    states.Open(QStringLiteral("SELECT KV08_CODSTATO, COUNT(*) AS N FROM KV08_STATIGUID INNER JOIN EF01_SCADENZE "
                               "ON EF01_GUID = KV08_GUID GROUP BY KV08_CODSTATO ORDER BY KV08_CODSTATO"),
                demo.connection);
    ASSERT_FALSE(states.AtEOF()) << "the demo gives some Bills a workflow state";
    const QString code = Value::toText(states.Fields(0).Value()).trimmed();
    const int joinedExpected =
        demo.count(QStringLiteral("SELECT COUNT(*)") + kCustomerBills +
                   QStringLiteral(" AND EF01_GUID IN (SELECT KV08_GUID FROM KV08_STATIGUID WHERE KV08_CODSTATO = '") + code +
                   QStringLiteral("')"));
    Recordset joined;
    joined.Open(customerQuery(QStringLiteral("VFSEF01.V_CODSTATO = '") + code + QStringLiteral("'")).text(), demo.connection);
    EXPECT_EQ(joined.RecordCount(), joinedExpected);
}

TEST(BillCodeTables, DescriptionsAsTheClerkReadsThemAndCodesTheDatabaseHolds) {
    const auto types = BillCodeTables::tipoEffetto();
    ASSERT_EQ(types.size(), 17);
    EXPECT_EQ(types[15].description, QStringLiteral(" MAV "));
    EXPECT_EQ(types[16].code, 99);
    EXPECT_EQ(types[16].description, QStringLiteral(" Solo descrittivo "));
    EXPECT_EQ(BillCodeTables::accettazione()[1].description, QStringLiteral("Accettato"));
    EXPECT_EQ(BillCodeTables::presentazione()[3].description, QStringLiteral(" S.b.f. a maturazione valuta"));
    EXPECT_EQ(BillCodeTables::tipoCliFor(false).size(), 1);
    EXPECT_EQ(BillCodeTables::tipoCliFor(false)[0].code, -1);
    EXPECT_EQ(BillCodeTables::tipoCliFor(false)[0].description, QStringLiteral(" "));
    EXPECT_EQ(BillCodeTables::abbreviazioneTipoEffetto(16), QStringLiteral("Mav"));
    EXPECT_EQ(BillCodeTables::abbreviazioneTipoEffetto(17), QString());
    // The form shows exactly the codes the database may hold.
    auto codes = [](const QList<BillCodeTables::Row>& rows) {
        QList<int> out;
        for (const auto& r : rows) out << r.code;
        return out;
    };
    EXPECT_EQ(codes(types), CodeLists::codesOf(QStringLiteral("EF01_TIPOEFF")));
    EXPECT_EQ(codes(BillCodeTables::statoEffetto()), CodeLists::codesOf(QStringLiteral("EF01_INDSTATO_S")));
    EXPECT_EQ(codes(BillCodeTables::presentazione()), CodeLists::codesOf(QStringLiteral("EF01_INDPRES_S")));
    EXPECT_EQ(codes(BillCodeTables::generazioneStato()), CodeLists::codesOf(QStringLiteral("EF01_INDGENSTATO_S")));
}

// The form opened by the module class on the demo company, as the host application does.
class BillFormTest : public ::testing::Test {
protected:
    void SetUp() override {
        demo_ = std::make_unique<DemoDatabase>(TestEngine::Sqlite);
        host_ = std::make_shared<DatabaseHost>(demo_->db.connectionString(), DemoGenerator::kCompany, QStringLiteral("MROSSI"));
        log_ = std::make_shared<ScriptedLogService>();
        host_->setLogServiceFactory([this] { return log_; });
        module_ = std::make_unique<CLSKV_TARSELLO>([] { return std::make_unique<FRMKV_TARSELLO>(); });
        module_->setClsGlobal(host_);
        module_->TipoArchivio = 0;
        module_->StringaDiOrdinamentoEffetti =
            QStringLiteral("EF01_NUMREG_CO99, EF01_RIGACONT_CG42, EF01_PROGEC_EC01, EF01_PROGEFF");
    }
    void TearDown() override {
        if (form()) {
            log_->enqueue(7);  // leave without saving whatever a test left pending
            module_->CloseForm();
        }
    }

    FRMKV_TARSELLO* show() {
        module_->ShowForm();
        QApplication::processEvents();
        return form();
    }
    FRMKV_TARSELLO* form() const { return dynamic_cast<FRMKV_TARSELLO*>(module_->form()); }
    QString keyOfRow(int n) {
        Recordset rs;
        rs.Open(QStringLiteral("SELECT EF01_NUMREG_CO99, EF01_RIGACONT_CG42, EF01_PROGEC_EC01, EF01_PROGEFF") + kCustomerBills +
                    QStringLiteral(" ORDER BY EF01_NUMREG_CO99, EF01_RIGACONT_CG42, EF01_PROGEC_EC01, EF01_PROGEFF"),
                demo_->connection);
        rs.Move(n - 1);
        return QStringLiteral("1,%1,%2,%3,%4")
            .arg(Value::toText(rs.Fields(0).Value()).trimmed(), Value::toText(rs.Fields(1).Value()),
                 Value::toText(rs.Fields(2).Value()), Value::toText(rs.Fields(3).Value()));
    }
    QString shownNumReg() const {
        return Value::toText(form()->clsRstTestata->Fields(QStringLiteral("EF01_NUMREG_CO99")).Value()).trimmed();
    }

    std::unique_ptr<DemoDatabase> demo_;
    std::shared_ptr<DatabaseHost> host_;
    std::shared_ptr<ScriptedLogService> log_;
    std::unique_ptr<CLSKV_TARSELLO> module_;
};

TEST_F(BillFormTest, OpensOnTheCallersBillOrTheFirstOrANewOne) {
    const QString key = keyOfRow(3);
    module_->ChiaveEffettoInGestione = key;
    FRMKV_TARSELLO* f = show();
    ASSERT_TRUE(f && f->clsRstTestata);
    EXPECT_EQ(f->clsRstTestata->AbsolutePosition(), 3);
    EXPECT_EQ(static_cast<EditBox*>(f->control(QStringLiteral("TXT_NUMREG")))->Text(), key.section(QLatin1Char(','), 1, 1));
    EXPECT_EQ(static_cast<EditBox*>(f->control(QStringLiteral("TXT_PROGEFF")))->Text(), key.section(QLatin1Char(','), 4, 4));
    EXPECT_EQ(f->FME_TESTATA->Status(), VirtualFrame::kStatusShown);
    EXPECT_FALSE(f->TXT_PDC->isVisible());  // customer bills: the counterpart, not the account
    EXPECT_TRUE(log_->messages().isEmpty());
    module_->CloseForm();

    for (const QString& other : {QStringLiteral("1,NONE,1,1,1"), QStringLiteral(",X,1,1,1"), QStringLiteral("1,'; x,1,1,1")}) {
        module_->setActiveDll(module_.get());
        module_->setClsGlobal(host_);
        module_->ChiaveEffettoInGestione = other;
        f = show();
        EXPECT_EQ(f->clsRstTestata->AbsolutePosition(), 1) << other.toStdString();
        module_->CloseForm();
    }

    module_->setActiveDll(module_.get());
    module_->setClsGlobal(host_);
    module_->ChiaveEffettoInGestione = key;
    module_->AperturaSuNuovoEffetto = true;
    f = show();
    EXPECT_EQ(f->FME_TESTATA->Status(), VirtualFrame::kStatusAdding);
}

TEST_F(BillFormTest, TabsLoadWhenFirstShownAndTheNavigatorSkipsTheUnavailable) {
    FRMKV_TARSELLO* f = show();
    ASSERT_TRUE(f);
    EXPECT_FALSE(f->bolTabIni_Storico);
    f->TAB_SCADENZE->setTab(FRMKV_TARSELLO::TabStorico);
    EXPECT_TRUE(f->bolTabIni_Storico && f->bolTabConf_Storico);
    const auto key = f->currentKey();
    EXPECT_EQ(f->clsRstStorico->RecordCount(),
              demo_->count(QStringLiteral("SELECT COUNT(*) FROM EF06_SCADSTO WHERE EF06_DITTA_CG18 = 1 AND EF06_NUMREG_CO99 = '%1'"
                                          " AND EF06_RIGACONT_EF01 = %2 AND EF06_PROGEC_EF01 = %3 AND EF06_PROGEFF_EF01 = %4")
                               .arg(key.numReg)
                               .arg(key.row)
                               .arg(key.progEc)
                               .arg(key.progEff)));
    // Another Bill makes the tabs out of date; coming back reads them again.
    f->FME_TESTATA->MoveNext();
    EXPECT_FALSE(f->bolTabConf_Solleciti);
    EXPECT_TRUE(f->bolTabConf_Storico) << "the tab in view is read again at once";
    const auto next = f->currentKey();
    EXPECT_NE(std::tie(next.numReg, next.row, next.progEc, next.progEff), std::tie(key.numReg, key.row, key.progEc, key.progEff));

    f->TAB_SCADENZE->setTabEnabled(FRMKV_TARSELLO::TabStorico, false);
    f->TAB_SCADENZE->setTab(FRMKV_TARSELLO::TabCambialiCessioni);
    f->INV_MAIN->press(QStringLiteral("Avanti"));
    EXPECT_EQ(f->TAB_SCADENZE->Tab(), FRMKV_TARSELLO::TabSolleciti);
    f->TAB_SCADENZE->setTab(FRMKV_TARSELLO::TabNote);
    f->INV_MAIN->press(QStringLiteral("Avanti"));
    EXPECT_EQ(f->TAB_SCADENZE->Tab(), FRMKV_TARSELLO::TabDatiGenerali);
    f->INV_MAIN->press(QStringLiteral("Indietro"));
    EXPECT_EQ(f->TAB_SCADENZE->Tab(), FRMKV_TARSELLO::TabNote);
    f->INV_MAIN->press(QStringLiteral("Indietro"));
    f->INV_MAIN->press(QStringLiteral("Indietro"));
    EXPECT_EQ(f->TAB_SCADENZE->Tab(), FRMKV_TARSELLO::TabCambialiCessioni);
    EXPECT_TRUE(f->bolTabIni_CambCess && f->bolTabIni_Note && f->bolTabIni_Solleciti);
}

TEST_F(BillFormTest, ClosingKeepsUnsavedChangesWhenTheClerkCancels) {
    FRMKV_TARSELLO early;
    EXPECT_FALSE(early.close());  // never shown: still being set up

    FRMKV_TARSELLO* f = show();
    ASSERT_TRUE(f);
    auto* field = static_cast<EditBox*>(f->control(QStringLiteral("TXT_NUMDOCORIG")));
    field->setFocus();
    QTest::keyClicks(field->editor(), QStringLiteral("X-1"));
    QTest::keyClick(field->editor(), Qt::Key_Tab);
    ASSERT_TRUE(f->FME_TESTATA->isRecordChanged());

    log_->enqueue(2);  // Cancel
    EXPECT_EQ(module_->CloseForm(), QVariant(false));
    EXPECT_TRUE(f->isVisible());
    EXPECT_EQ(log_->messages().size(), 1);
    log_->enqueue(7);  // No: close without saving
    EXPECT_EQ(module_->CloseForm(), QVariant(true));
    EXPECT_EQ(demo_->count(QStringLiteral("SELECT COUNT(*) FROM EF01_SCADENZE WHERE EF01_NUMDOCORIG = 'X-1'")), 0);
}

TEST_F(BillFormTest, ANewBillIsNumberedSavedChangedWithItsHistoryAndDeletedWhole) {
    module_->AperturaSuNuovoEffetto = true;
    FRMKV_TARSELLO* f = show();
    ASSERT_TRUE(f);
    ASSERT_EQ(f->FME_TESTATA->Status(), VirtualFrame::kStatusAdding);
    const QString numReg = f->newRegistrationNumber();
    ASSERT_EQ(numReg.size(), 12) << numReg.toStdString();  // the year's prefix and 8 digits
    EXPECT_EQ(Value::toInt(f->clsRstTestata->Fields(QStringLiteral("EF01_TIPOCF_CG44")).Value()), 0);
    EXPECT_EQ(Value::toText(f->clsRstTestata->Fields(QStringLiteral("EF01_CONTO_CG24")).Value()), DemoGenerator::customerAccount());

    auto set = [&](const char* column, const QVariant& v) { f->clsRstTestata->Fields(QString::fromLatin1(column)).setValue(v); };
    set("EF01_CLIFOR_CG44", 1);
    set("EF01_TIPOEFF", 2);
    set("EF01_SCADE_S", QDate(2026, 12, 31));
    set("EF01_IMPEFF_S", QStringLiteral("1250.40"));
    set("EF01_CODICE_CG08", QStringLiteral("EURO"));
    set("EF01_INDSTATO_S", 0);
    set("EF01_INDGENSTATO_S", 1);  // open and paid: refused
    f->FME_TESTATA->Refresh();
    EXPECT_FALSE(f->FME_TESTATA->UpdateRecord(true, false));
    ASSERT_FALSE(log_->messages().isEmpty());
    EXPECT_EQ(log_->messages().last().title, QStringLiteral("Controllo dati"));
    EXPECT_EQ(demo_->count(QStringLiteral("SELECT COUNT(*) FROM EF01_SCADENZE WHERE EF01_NUMREG_CO99 = '%1'").arg(numReg)), 0);

    set("EF01_INDGENSTATO_S", 0);
    ASSERT_TRUE(f->FME_TESTATA->UpdateRecord(true, false)) << log_->messages().last().text.toStdString();
    EXPECT_EQ(demo_->count(QStringLiteral("SELECT COUNT(*) FROM EF01_SCADENZE WHERE EF01_NUMREG_CO99 = '%1'").arg(numReg)), 1);
    EXPECT_EQ(demo_->count(QStringLiteral("SELECT COUNT(*) FROM CO99_MASTERDOC WHERE CO99_NUMREG = '%1' AND CO99_INDTIPOOP = 4"
                                          " AND CO99_UTENTECRE = 'MROSSI'")
                               .arg(numReg)),
              1);
    EXPECT_EQ(demo_->count(QStringLiteral("SELECT COUNT(*) FROM EF06_SCADSTO WHERE EF06_NUMREG_CO99 = '%1'").arg(numReg)), 0);

    // A change of the due date and the state writes movement 1, holding the Bill as it was.
    set("EF01_SCADE_S", QDate(2027, 1, 31));
    set("EF01_INDSTATO_S", 1);
    set("EF01_INDGENSTATO_S", 1);
    f->FME_TESTATA->setRecordChanged(true);
    ASSERT_TRUE(f->FME_TESTATA->UpdateRecord(true, false));
    Recordset movement;
    movement.Open(QStringLiteral("SELECT * FROM EF06_SCADSTO WHERE EF06_NUMREG_CO99 = '%1'").arg(numReg), demo_->connection);
    ASSERT_EQ(movement.RecordCount(), 1);
    EXPECT_EQ(Value::toInt(movement.Fields(QStringLiteral("EF06_PROGSTO")).Value()), 1);
    EXPECT_EQ(Value::toDate(movement.Fields(QStringLiteral("EF06_SCADE_S")).Value()), QDate(2026, 12, 31));
    EXPECT_EQ(Value::toInt(movement.Fields(QStringLiteral("EF06_INDSTATO_S")).Value()), 0);
    EXPECT_EQ(demo_->count(QStringLiteral("SELECT EF01_FLGEFFVAR FROM EF01_SCADENZE WHERE EF01_NUMREG_CO99 = '%1'").arg(numReg)), 1);
    EXPECT_FALSE(f->connectionInTransactionForTest());

    // A save that changes nothing relevant writes no movement.
    set("EF01_NUMDOCORIG", QStringLiteral("FT 12"));
    f->FME_TESTATA->setRecordChanged(true);
    ASSERT_TRUE(f->FME_TESTATA->UpdateRecord(true, false));
    EXPECT_EQ(demo_->count(QStringLiteral("SELECT COUNT(*) FROM EF06_SCADSTO WHERE EF06_NUMREG_CO99 = '%1'").arg(numReg)), 1);

    // Deleting asks (not consolidated), and removes the Bill with every row hanging from it.
    log_->enqueue(7);
    f->FME_TESTATA->Delete();
    EXPECT_EQ(demo_->count(QStringLiteral("SELECT COUNT(*) FROM EF01_SCADENZE WHERE EF01_NUMREG_CO99 = '%1'").arg(numReg)), 1);
    EXPECT_TRUE(log_->messages().last().text.startsWith(QStringLiteral("ATTENZIONE !!! *** QUESTO EFFETTO RISULTA NON CONSOLIDATO")));
    log_->enqueue(6);
    f->FME_TESTATA->Delete();
    EXPECT_EQ(demo_->count(QStringLiteral("SELECT COUNT(*) FROM EF01_SCADENZE WHERE EF01_NUMREG_CO99 = '%1'").arg(numReg)), 0);
    EXPECT_EQ(demo_->count(QStringLiteral("SELECT COUNT(*) FROM EF06_SCADSTO WHERE EF06_NUMREG_CO99 = '%1'").arg(numReg)), 0);
    EXPECT_EQ(demo_->count(QStringLiteral("SELECT COUNT(*) FROM CO99_MASTERDOC WHERE CO99_NUMREG = '%1'").arg(numReg)), 1);
}

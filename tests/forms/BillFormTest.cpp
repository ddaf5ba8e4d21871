#include "BillFormFixture.h"
#include "CLSKV_TARSELLO.h"
#include "CheckBox.h"
#include "ComboBox.h"
#include "DatabaseHost.h"
#include "DateBox.h"
#include "DemoGenerator.h"
#include "EditBox.h"
#include "FRMKV_TARSELLO.h"
#include "Grid.h"
#include "HeaderQuery.h"
#include "IdEditBox.h"
#include "MainNavigator.h"
#include "NumericBox.h"
#include "Recordset.h"
#include "Schema.h"
#include "SchemaInstaller.h"
#include "ScriptedLogService.h"
#include "SqlText.h"
#include "TabControl.h"
#include "TestDatabase.h"
#include "Value.h"
#include "VirtualFrame.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QHeaderView>
#include <QtTest/QTest>

namespace {

HeaderQuery customerQuery(const QString& selection) {
    HeaderQuery q = DemoGenerator::customerBills();
    q.selection = selection;
    return q;
}

}  // namespace

class HeaderQueryEngineTest : public ::testing::TestWithParam<TestEngine> {};
INSTANTIATE_ON_ENGINES(HeaderQueryEngineTest);

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
    states.Open(
        QStringLiteral("SELECT KV08_CODSTATO, COUNT(*) AS N FROM KV08_STATIGUID INNER JOIN EF01_SCADENZE "
                       "ON EF01_GUID = KV08_GUID GROUP BY KV08_CODSTATO ORDER BY KV08_CODSTATO"),
        demo.connection);
    ASSERT_FALSE(states.AtEOF()) << "the demo gives some Bills a workflow state";
    const QString code = Value::toText(states.Fields(0).Value()).trimmed();
    const int joinedExpected = demo.count(
        QStringLiteral("SELECT COUNT(*)") + kCustomerBills +
        QStringLiteral(" AND EF01_GUID IN (SELECT KV08_GUID FROM KV08_STATIGUID WHERE KV08_CODSTATO = '") +
        code + QStringLiteral("')"));
    Recordset joined;
    joined.Open(customerQuery(QStringLiteral("VFSEF01.V_CODSTATO = '") + code + QStringLiteral("'")).text(),
                demo.connection);
    EXPECT_EQ(joined.RecordCount(), joinedExpected);

    // A Bill that differs from the customers' archive in one column only is not read.
    const auto read = [&](HeaderQuery q) {
        Recordset rs;
        rs.Open(q.text(), demo.connection);
        return rs.RecordCount();
    };
    const int all = read(customerQuery(QString()));
    const QString one = QStringLiteral(" AND EF01_NUMREG_CO99 = (SELECT MIN(EF01_NUMREG_CO99)") +
                        kCustomerBills + QStringLiteral(") AND EF01_PROGEFF = 1");
    for (const char* change : {"EF01_DITTACF_CG18 = 2", "EF01_TIPOCF_CG44 = 1", "EF01_INDCONTO = 1",
                               "EF01_GRUPPO_CG10 = 99", "EF01_CONTO_CG24 = '9999'"}) {
        demo.connection->BeginTrans();
        const long changed = demo.connection->Execute(
            QStringLiteral("UPDATE EF01_SCADENZE SET %1").arg(QLatin1String(change)) +
            kCustomerBills.mid(QStringLiteral(" FROM EF01_SCADENZE").size()) + one);
        EXPECT_GT(changed, 0) << change;
        EXPECT_EQ(read(customerQuery(QString())), all - changed) << change;
        demo.connection->RollbackTrans();
    }
    // The ledger-account archives read the Bills without a counterpart, of their side; an unknown
    // archive reads the company's Bills.
    for (int archive : {2, 3, 7}) {
        HeaderQuery q = customerQuery(QString());
        q.tipoArchivio = archive;
        const QString side = archive == 7 ? QString()
                                          : QStringLiteral(
                                                " AND EF01_CLIFOR_CG44 IS NULL AND EF01_INDCONTO = %1 "
                                                "AND EF01_GRUPPO_CG10 = %2")
                                                .arg(archive - 2)
                                                .arg(DemoGenerator::kLedgerGroup);
        EXPECT_EQ(
            read(q),
            demo.count(QStringLiteral("SELECT COUNT(*) FROM EF01_SCADENZE WHERE EF01_DITTA_CG18 = 1") + side))
            << archive;
    }
}

INSTANTIATE_ON_ENGINES(BillFormTest);

TEST_P(BillFormTest, OpensOnTheCallersBillOrTheFirstOrANewOne) {
    const QString key = keyOfRow(3);
    module_->ChiaveEffettoInGestione = key;
    FRMKV_TARSELLO* f = show();
    ASSERT_TRUE(f && f->clsRstTestata);
    EXPECT_EQ(f->clsRstTestata->AbsolutePosition(), 3);
    EXPECT_EQ(static_cast<EditBox*>(f->control(QStringLiteral("TXT_NUMREG")))->Text(),
              key.section(QLatin1Char(','), 1, 1));
    EXPECT_EQ(static_cast<EditBox*>(f->control(QStringLiteral("TXT_PROGEFF")))->Text(),
              key.section(QLatin1Char(','), 4, 4));
    EXPECT_EQ(f->FME_TESTATA->Status(), VirtualFrame::kStatusShown);
    EXPECT_FALSE(f->TXT_PDC->isVisible());  // customer bills: the counterpart, not the account
    EXPECT_TRUE(log_->messages().isEmpty());
    module_->CloseForm();

    for (const QString& other :
         {QStringLiteral("1,NONE,1,1,1"), QStringLiteral(",X,1,1,1"), QStringLiteral("1,'; x,1,1,1")}) {
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

// A Bill opened by key gets the rules of the Bill it is, not those of the selection's first:
// the sub-type opens for the types that have one.
TEST_P(BillFormTest, ABillOpenedByKeyFollowsItsOwnType) {
    auto hasSubtype = [](int type) { return type == 2 || (type >= 7 && type <= 16); };
    Recordset rs;
    rs.Open(
        QStringLiteral("SELECT EF01_TIPOEFF") + kCustomerBills +
            QStringLiteral(" ORDER BY EF01_NUMREG_CO99, EF01_RIGACONT_CG42, EF01_PROGEC_EC01, EF01_PROGEFF"),
        demo_->connection);
    const bool first = hasSubtype(Value::toInt(rs.Fields(0).Value()));
    int row = 1;
    for (; !rs.AtEOF() && hasSubtype(Value::toInt(rs.Fields(0).Value())) == first; rs.MoveNext()) ++row;
    ASSERT_FALSE(rs.AtEOF()) << "the demo has Bills of both kinds";
    module_->ChiaveEffettoInGestione = keyOfRow(row);
    FRMKV_TARSELLO* f = show();
    ASSERT_TRUE(f && f->clsRstTestata);
    EXPECT_EQ(f->clsRstTestata->AbsolutePosition(), row);
    EXPECT_EQ(f->control(QStringLiteral("TXT_STIPOEFF"))->isEnabled(), !first);
}

TEST_P(BillFormTest, TabsLoadWhenFirstShownAndTheNavigatorSkipsTheUnavailable) {
    FRMKV_TARSELLO* f = show();
    ASSERT_TRUE(f);
    EXPECT_FALSE(f->bolTabIni_Storico);
    f->TAB_SCADENZE->setTab(FRMKV_TARSELLO::TabStorico);
    EXPECT_TRUE(f->bolTabIni_Storico && f->bolTabConf_Storico);
    const auto key = f->currentKey();
    EXPECT_EQ(
        f->clsRstStorico->RecordCount(),
        demo_->count(
            QStringLiteral(
                "SELECT COUNT(*) FROM EF06_SCADSTO WHERE EF06_DITTA_CG18 = 1 AND EF06_NUMREG_CO99 = '%1'"
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
    EXPECT_NE(std::tie(next.numReg, next.row, next.progEc, next.progEff),
              std::tie(key.numReg, key.row, key.progEc, key.progEff));

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

TEST_P(BillFormTest, ANewBillIsNumberedSavedChangedWithItsHistoryAndDeletedWhole) {
    module_->AperturaSuNuovoEffetto = true;
    FRMKV_TARSELLO* f = show();
    ASSERT_TRUE(f);
    ASSERT_EQ(f->FME_TESTATA->Status(), VirtualFrame::kStatusAdding);
    const QString numReg = f->newRegistrationNumber();
    ASSERT_EQ(numReg.size(), 12) << numReg.toStdString();  // the year's prefix and 8 digits
    EXPECT_EQ(Value::toInt(f->clsRstTestata->Fields(QStringLiteral("EF01_TIPOCF_CG44")).Value()), 0);
    EXPECT_EQ(Value::toText(f->clsRstTestata->Fields(QStringLiteral("EF01_CONTO_CG24")).Value()),
              DemoGenerator::customerAccount());

    // As a control would: the value goes into the row and is shown, so that the field the user
    // is in hands the same value back when the save collects it.
    auto set = [&](const char* column, const QVariant& v) {
        f->clsRstTestata->Fields(QString::fromLatin1(column)).setValue(v);
        f->FME_TESTATA->Refresh();
    };
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
    EXPECT_EQ(registered("EF01_SCADENZE", numReg), 0);

    set("EF01_INDGENSTATO_S", 0);
    // Another procedure registered the number meanwhile: the save adds no second register row.
    demo_->connection->Execute(
        QStringLiteral("INSERT INTO CO99_MASTERDOC (CO99_DITTA_CG18, CO99_NUMREG, CO99_INDTIPOOP) "
                       "VALUES (1, '%1', 4)")
            .arg(numReg));
    ASSERT_TRUE(f->FME_TESTATA->UpdateRecord(true, false)) << log_->messages().last().text.toStdString();
    EXPECT_EQ(registered("CO99_MASTERDOC", numReg), 1);
    EXPECT_EQ(registered("EF01_SCADENZE", numReg), 1);
    EXPECT_EQ(rowsOf(QStringLiteral("CO99_MASTERDOC"),
                     QStringLiteral("CO99_NUMREG = '%1' AND CO99_INDTIPOOP = 4").arg(numReg)),
              1);
    EXPECT_EQ(registered("EF06_SCADSTO", numReg), 0);

    // A change of the due date and the state writes movement 1, holding the Bill as it was.
    set("EF01_SCADE_S", QDate(2027, 1, 31));
    set("EF01_INDSTATO_S", 1);
    set("EF01_INDGENSTATO_S", 1);
    f->FME_TESTATA->setRecordChanged(true);
    ASSERT_TRUE(f->FME_TESTATA->UpdateRecord(true, false));
    Recordset movement;
    movement.Open(QStringLiteral("SELECT * FROM EF06_SCADSTO WHERE EF06_NUMREG_CO99 = '%1'").arg(numReg),
                  demo_->connection);
    ASSERT_EQ(movement.RecordCount(), 1);
    EXPECT_EQ(Value::toInt(movement.Fields(QStringLiteral("EF06_PROGSTO")).Value()), 1);
    EXPECT_EQ(Value::toDate(movement.Fields(QStringLiteral("EF06_SCADE_S")).Value()), QDate(2026, 12, 31));
    EXPECT_EQ(Value::toInt(movement.Fields(QStringLiteral("EF06_INDSTATO_S")).Value()), 0);
    EXPECT_EQ(
        demo_->count(QStringLiteral("SELECT EF01_FLGEFFVAR FROM EF01_SCADENZE WHERE EF01_NUMREG_CO99 = '%1'")
                         .arg(numReg)),
        1);
    EXPECT_FALSE(f->connectionInTransactionForTest());

    // A save that changes nothing relevant writes no movement.
    set("EF01_NUMDOCORIG", QStringLiteral("FT 12"));
    f->FME_TESTATA->setRecordChanged(true);
    ASSERT_TRUE(f->FME_TESTATA->UpdateRecord(true, false));
    EXPECT_EQ(registered("EF06_SCADSTO", numReg), 1);

    // Deleting asks (not consolidated), and removes the Bill with every row hanging from it.
    log_->enqueue(7);
    f->FME_TESTATA->Delete();
    EXPECT_EQ(registered("EF01_SCADENZE", numReg), 1);
    EXPECT_TRUE(log_->messages().last().text.startsWith(
        QStringLiteral("ATTENZIONE !!! *** QUESTO EFFETTO RISULTA NON CONSOLIDATO")));
    log_->enqueue(6);
    f->FME_TESTATA->Delete();
    EXPECT_EQ(registered("EF01_SCADENZE", numReg), 0);
    EXPECT_EQ(registered("EF06_SCADSTO", numReg), 0);
    EXPECT_EQ(registered("CO99_MASTERDOC", numReg), 1);
}

namespace {
// Reopens the module on a new Bill of an archive, or on a Bill by key.
FRMKV_TARSELLO* reopen(CLSKV_TARSELLO& module, const std::shared_ptr<DatabaseHost>& host, int tipo,
                       const QString& key) {
    if (module.form()) module.CloseForm();
    module.setActiveDll(&module);
    module.setClsGlobal(host);
    module.TipoArchivio = tipo;
    module.ChiaveEffettoInGestione = key.isEmpty() ? QVariant() : QVariant(key);
    module.AperturaSuNuovoEffetto = key.isEmpty();
    module.ShowForm();
    QApplication::processEvents();
    return dynamic_cast<FRMKV_TARSELLO*>(module.form());
}
}  // namespace

TEST_P(BillFormTest, ANewBillTakesTheKindAndSeriesOfItsArchive) {
    struct Expect {
        int tipo;
        QVariant tipoCf;
        int indConto;
        bool account;
    };
    for (const Expect& e :
         {Expect{1, 1, 1, true}, Expect{2, QVariant(), 0, false}, Expect{3, QVariant(), 1, false}}) {
        FRMKV_TARSELLO* f = reopen(*module_, host_, e.tipo, QString());
        ASSERT_TRUE(f) << e.tipo;
        Recordset& rs = *f->clsRstTestata;
        EXPECT_EQ(Value::isNull(rs.Fields(QStringLiteral("EF01_TIPOCF_CG44")).Value()),
                  Value::isNull(e.tipoCf))
            << e.tipo;
        EXPECT_EQ(Value::toInt(rs.Fields(QStringLiteral("EF01_INDCONTO")).Value()), e.indConto) << e.tipo;
        EXPECT_EQ(Value::isNull(rs.Fields(QStringLiteral("EF01_CONTO_CG24")).Value()), !e.account) << e.tipo;
        EXPECT_EQ(Value::toInt(rs.Fields(QStringLiteral("EF01_GRUPPO_CG10")).Value()),
                  DemoGenerator::kLedgerGroup);
        EXPECT_EQ(Value::toInt(rs.Fields(QStringLiteral("EF01_PROGEFF")).Value()), 1);
        const int series = e.tipo == 2 ? 921 : 922;
        EXPECT_EQ(
            Value::toInt(rs.Fields(QStringLiteral("EF01_NUMEFF")).Value()),
            demo_->count(
                QStringLiteral(
                    "SELECT KV04_ULTIMO FROM KV04_NUMERATORI WHERE KV04_SERIE = '%1' AND KV04_ANNO = %2")
                    .arg(series)
                    .arg(QDate::currentDate().year())))
            << e.tipo;
        // Sections are not in use for the demo company: both section columns read "00", locked.
        EXPECT_EQ(Value::toText(rs.Fields(QStringLiteral("EF01_SEZDOC")).Value()), QStringLiteral("00"));
        EXPECT_FALSE(f->control(QStringLiteral("TXT_SEZPART"))->isEnabled());
        EXPECT_FALSE(f->FME_TESTATA->RecordChanged()) << "defaults are not the clerk's changes";
    }
}

TEST_P(BillFormTest, TheSaveAsksAndRefusesBeforeWritingAnything) {
    // A Bill transferred to the treasury system asks first; No leaves it unchanged and in edit.
    const QString key = keyWhere(QStringLiteral(" AND EF01_INDEXP = 1"));
    ASSERT_FALSE(key.isEmpty());
    FRMKV_TARSELLO* f = reopen(*module_, host_, 0, key);
    ASSERT_TRUE(f);
    f->clsRstTestata->Fields(QStringLiteral("EF01_NUMDOCORIG")).setValue(QStringLiteral("NON SALVARE"));
    f->FME_TESTATA->setRecordChanged(true);
    log_->enqueue(7);
    EXPECT_FALSE(f->FME_TESTATA->UpdateRecord(true, false));
    EXPECT_EQ(log_->messages().last().flags, 324);
    EXPECT_TRUE(log_->messages().last().text.startsWith(QStringLiteral("*** SCADENZA GIA' TRASFERITA")));
    EXPECT_EQ(rowsOf(QStringLiteral("EF01_SCADENZE"), QStringLiteral("EF01_NUMDOCORIG = 'NON SALVARE'")), 0);
    EXPECT_TRUE(f->FME_TESTATA->isRecordChanged());

    // An invalid channelling bank is refused (answering Yes to the treasury question first).
    f->TXT_PROGR_MG35->setValid(false);
    log_->enqueue(6);
    EXPECT_FALSE(f->FME_TESTATA->UpdateRecord(true, false));
    EXPECT_EQ(log_->messages().last().text,
              QStringLiteral("Attenzione, la banca di canalizzazione non è valida."));
    f->TXT_PROGR_MG35->setValid(true);

    // State and operation must agree.
    const std::pair<int, int> agreeing[] = {{0, 0}, {0, 3}, {0, 5}, {0, 6}, {1, 1}, {1, 2}, {1, 4}};
    const std::pair<int, int> disagreeing[] = {{0, 1}, {0, 2}, {0, 4}, {1, 0}, {1, 3}, {1, 5}, {1, 6}};
    auto check = [&](int state, int operation) {
        f->clsRstTestata->Fields(QStringLiteral("EF01_INDSTATO_S")).setValue(state);
        f->clsRstTestata->Fields(QStringLiteral("EF01_INDGENSTATO_S")).setValue(operation);
        return f->ControlloDati();
    };
    for (auto [s, o] : agreeing) EXPECT_TRUE(check(s, o)) << s << "/" << o;
    for (auto [s, o] : disagreeing) EXPECT_FALSE(check(s, o)) << s << "/" << o;
}

TEST_P(BillFormTest, OnlyTheRightUserDeletesAndEveryWarningIsAsked) {
    auto registeredKey = [&](const QString& condition) {
        return keyWhere(QStringLiteral(" AND EXISTS (SELECT 1 FROM CO99_MASTERDOC WHERE CO99_DITTA_CG18 = "
                                       "EF01_DITTA_CG18 AND CO99_NUMREG = EF01_NUMREG_CO99) AND ") +
                        condition);
    };
    // Registered by another procedure: refused to an ordinary user.
    const QString foreign =
        registeredKey(QStringLiteral("EF01_NUMREG_CO99 IN (SELECT CO99_NUMREG FROM CO99_MASTERDOC WHERE "
                                     "CO99_INDTIPOOP <> 4) AND EF01_INDTIPOMOV = 0 AND EF01_INDEXP = 0"));
    ASSERT_FALSE(foreign.isEmpty());
    FRMKV_TARSELLO* f = reopen(*module_, host_, 0, foreign);
    f->FME_TESTATA->Delete();
    EXPECT_EQ(log_->messages().last().text,
              QStringLiteral("ATTENZIONE !!! Utente non autorizzato alla cancellazione degli effetti."));

    // A privileged user is offered the deletion, with the warning of a consolidated Bill.
    module_->CloseForm();
    auto admin = std::make_shared<DatabaseHost>(demo_->db.connectionString(), DemoGenerator::kCompany,
                                                QStringLiteral("ADMIN"));
    admin->setLogServiceFactory([this] { return log_; });
    f = reopen(*module_, admin, 0, foreign);
    const QString foreignNumReg = foreign.section(QLatin1Char(','), 1, 1);
    const int foreignRows = registered("EF01_SCADENZE", foreignNumReg);
    log_->enqueue(7);
    f->FME_TESTATA->Delete();
    EXPECT_EQ(log_->messages().last().flags, 276);
    EXPECT_TRUE(
        log_->messages().last().text.startsWith(QStringLiteral("ATTENZIONE !!! L'eliminazione forzata")));
    EXPECT_EQ(registered("EF01_SCADENZE", foreignNumReg), foreignRows);  // No: nothing deleted

    // A Bill transferred to the treasury needs two Yes; the second No keeps it.
    const QString treasury = registeredKey(QStringLiteral("EF01_INDEXP = 1"));
    ASSERT_FALSE(treasury.isEmpty());
    f = reopen(*module_, admin, 0, treasury);
    const QString numReg = treasury.section(QLatin1Char(','), 1, 1);
    const int rows = registered("EF01_SCADENZE", numReg);
    log_->enqueue(6);
    log_->enqueue(7);
    f->FME_TESTATA->Delete();
    EXPECT_EQ(log_->messages().last().flags, 324);
    EXPECT_EQ(registered("EF01_SCADENZE", numReg), rows);
    // Meanwhile a colleague renames this Bill's bank, adds a bank and moves every other Bill there.
    const int bank = Value::toInt(column("EF01_BANCAAPP_CG12")), added = 99001;
    const QString renamed = QStringLiteral("Banca dell'Àncora"), addedName = QStringLiteral("Banca «Ω»");
    runSql(demo_->connection, QStringLiteral("UPDATE CG12_BANCHE SET CG12_DESCR = %1 WHERE CG12_BANCA = %2")
                                  .arg(SqlText::quote(renamed))
                                  .arg(bank));
    runSql(demo_->connection,
           QStringLiteral("INSERT INTO CG12_BANCHE (CG12_BANCA, CG12_DESCR) VALUES (%1, %2)")
               .arg(added)
               .arg(SqlText::quote(addedName)));
    runSql(demo_->connection,
           QStringLiteral("UPDATE EF01_SCADENZE SET EF01_BANCAAPP_CG12 = %1, EF01_AGENAPP_CG13 = NULL WHERE "
                          "EF01_NUMREG_CO99 <> '%2' OR EF01_PROGEFF <> %3")
               .arg(added)
               .arg(numReg, treasury.section(QLatin1Char(','), 4, 4)));
    log_->enqueue(6);
    log_->enqueue(6);
    f->FME_TESTATA->Delete();
    EXPECT_EQ(registered("EF01_SCADENZE", numReg), rows - 1);
    // The Bill shown next has its own bank's description; the renamed bank, shown before the
    // renaming, is read anew when typed, and again when typed over with itself.
    EXPECT_EQ(Value::toInt(column("EF01_BANCAAPP_CG12")), added);
    EXPECT_EQ(c("TXT_DESBANCAAPP")->Text(), addedName);
    typeInto(c("TXT_CODBANCAAPP"), QString::number(bank));
    EXPECT_EQ(c("TXT_DESBANCAAPP")->Text(), renamed);
    runSql(demo_->connection,
           QStringLiteral("UPDATE CG12_BANCHE SET CG12_DESCR = 'Banca Due' WHERE CG12_BANCA = %1").arg(bank));
    typeInto(c("TXT_CODBANCAAPP"), QString::number(bank));
    EXPECT_EQ(c("TXT_DESBANCAAPP")->Text(), QStringLiteral("Banca Due")) << "the same code typed again";
    const QStringList k = treasury.split(QLatin1Char(','));
    for (const char* table : {"EF03_SCADCECAM", "EF04_SCADNOTE", "EF05_SCADSOLLEC", "EF06_SCADSTO"}) {
        const QString p = QString::fromLatin1(table).left(4);
        EXPECT_EQ(
            demo_->count(QStringLiteral(
                             "SELECT COUNT(*) FROM %1 WHERE %2_NUMREG_CO99 = '%3' AND %2_RIGACONT_EF01 = %4 "
                             "AND %2_PROGEC_EF01 = %5 AND %2_PROGEFF_EF01 = %6")
                             .arg(QString::fromLatin1(table), p, k[1], k[2], k[3], k[4])),
            0)
            << table;
    }
}

TEST_P(BillFormTest, TheUsersGridLayoutIsKeptFromOneOpeningToTheNext) {
    FRMKV_TARSELLO* f = show();
    ASSERT_TRUE(f);
    QHeaderView* header = f->GRD_STORICO->horizontalHeader();
    const int wider = header->sectionSize(2) + 77;
    header->resizeSection(2, wider);
    header->moveSection(5, 1);
    module_->CloseForm();

    f = reopen(*module_, host_, 0, QString());
    ASSERT_TRUE(f);
    EXPECT_EQ(f->GRD_STORICO->horizontalHeader()->sectionSize(2), wider);
    EXPECT_EQ(f->GRD_STORICO->horizontalHeader()->visualIndex(5), 1);
    // Another user keeps the layout the form is designed with.
    module_->CloseForm();
    auto other = std::make_shared<DatabaseHost>(demo_->db.connectionString(), DemoGenerator::kCompany,
                                                QStringLiteral("GDANGELO"));
    other->setLogServiceFactory([this] { return log_; });
    f = reopen(*module_, other, 0, QString());
    EXPECT_NE(f->GRD_STORICO->horizontalHeader()->sectionSize(2), wider);
}

TEST_P(BillFormTest, TheCounterpartTypeOfALinkedBillOffersRowsOnlyWhileItsBoxIsTicked) {
    FRMKV_TARSELLO* f = show();
    ASSERT_TRUE(f);
    f->clsRstTestata->Fields(QStringLiteral("EF01_FLGRICEVUTO_S")).setValue(1);
    f->clsRstTestata->Fields(QStringLiteral("EF01_FLGGIRATO_S")).setValue(0);
    f->FME_TESTATA->Refresh();
    f->TAB_SCADENZE->setTab(FRMKV_TARSELLO::TabCambialiCessioni);
    ComboBox* received = f->combo(QStringLiteral("CBO_TIPOCFR"));
    ComboBox* endorsed = f->combo(QStringLiteral("CBO_TIPOCFG"));
    ASSERT_EQ(received->ListCount(), 2);
    EXPECT_EQ(received->Text(), QStringLiteral(" Cliente"));
    ASSERT_EQ(endorsed->ListCount(), 1);
    EXPECT_EQ(endorsed->Value(), QVariant(-1));
    EXPECT_EQ(endorsed->Text(), QStringLiteral(" "));
}

TEST_P(BillFormTest, EveryBoundFieldIsAColumnOfAKindItCanShow) {
    FRMKV_TARSELLO* f = show();
    ASSERT_TRUE(f);
    const auto catalogue = Schema::catalogue();
    int bound = 0;
    for (FrameControl* c : f->findChildren<FrameControl*>()) {
        if (c->DataField().isEmpty()) continue;
        ++bound;
        const TableDef* owner = catalogue->ownerOfColumn(c->DataField());
        ASSERT_NE(owner, nullptr) << c->objectName().toStdString() << " is bound to "
                                  << c->DataField().toStdString();
        const DataType type = owner->column(c->DataField())->type;
        const bool number =
            type == DataType::SmallInt || type == DataType::Integer || type == DataType::Decimal;
        if (qobject_cast<DateBox*>(c)) {
            EXPECT_TRUE(type == DataType::Date || type == DataType::DateTime)
                << c->objectName().toStdString();
        } else if (qobject_cast<NumericBox*>(c) || qobject_cast<CheckBox*>(c) || qobject_cast<ComboBox*>(c)) {
            EXPECT_TRUE(number) << c->objectName().toStdString();
        }
    }
    EXPECT_GT(bound, 80);
}

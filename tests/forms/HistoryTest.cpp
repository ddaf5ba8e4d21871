// The history tab and the history movement form on both engines: the undo of the last movement
// puts the Bill back as the movement found it, all or nothing; the refusals change nothing; new
// movements get the next progressive and reach the database only with the Bill's save.
#include "AmountPairs.h"
#include "BillFormFixture.h"
#include "BillFormTexts.h"
#include "ComboBox.h"
#include "DateBox.h"
#include "FRMKV_STORICO.h"
#include "Grid.h"
#include "GridNavigator.h"
#include "HistoryFormTexts.h"
#include "IdEditBox.h"
#include "ModalWindow.h"
#include "SqlText.h"
#include "TabControl.h"
#include "TechnicalLog.h"
#include "VirtualFrame.h"
#include "WriteConflict.h"

#include <QLabel>
#include <QSqlError>
#include <QSqlQuery>
#include <functional>

// ---- the form on both engines --------------------------------------------------------------------

namespace {

// Every column of a Bill as the database holds it, one text per column.
QStringList billColumns(const std::shared_ptr<Connection>& c, const QString& numReg, int progEff) {
    Recordset rs;
    rs.Open(QStringLiteral("SELECT * FROM EF01_SCADENZE WHERE EF01_NUMREG_CO99 = %1 AND EF01_PROGEFF = %2")
                .arg(SqlText::quote(numReg))
                .arg(progEff),
            c);
    QStringList out;
    for (int i = 0; i < rs.FieldCount(); ++i)
        out << rs.Fields(i).Name().toUpper() + QLatin1Char('=') + Value::toText(rs.Fields(i).Value());
    return out;
}

}  // namespace

class HistoryTest : public BillFormTest {
protected:
    // A customer Bill with history movements, opened in the form on its history tab.
    // A new module on the same Bill, as the host opens it again.
    void reopen() {
        const QString key = module_->ChiaveEffettoInGestione.toString();
        module_ = std::make_unique<CLSKV_TARSELLO>([] { return std::make_unique<FRMKV_TARSELLO>(); });
        module_->setClsGlobal(host_);
        module_->TipoArchivio = 0;
        module_->ChiaveEffettoInGestione = key;
    }
    // `withoutManual`: a Bill without manual variations or splits, whose changed mark is clear.
    void openBill(int minMovements = 1, bool withoutManual = false, const QString& condition = QString()) {
        const QString key = keyWhere(
            QStringLiteral(
                " AND EF01_INDEXP = 0 AND (SELECT COUNT(*) FROM EF06_SCADSTO WHERE EF06_NUMREG_CO99 = "
                "EF01_NUMREG_CO99 AND EF06_PROGEFF_EF01 = EF01_PROGEFF AND EF06_RIGACONT_EF01 = "
                "EF01_RIGACONT_CG42 AND EF06_PROGEC_EF01 = EF01_PROGEC_EC01) >= %1 ")
                .arg(minMovements) +
            (withoutManual
                 ? QStringLiteral("AND EF01_FLGEFFVAR = 0 AND NOT EXISTS (SELECT 1 FROM EF06_SCADSTO WHERE "
                                  "EF06_NUMREG_CO99 = EF01_NUMREG_CO99 AND EF06_PROGEFF_EF01 = "
                                  "EF01_PROGEFF AND EF06_INDTIPOPER IN (0, 12)) ")
                 : QString()) +
            condition);
        ASSERT_FALSE(key.isEmpty()) << "the demo company has bills with history";
        numReg_ = key.section(QLatin1Char(','), 1, 1);
        progEff_ = key.section(QLatin1Char(','), 4, 4).toInt();
        module_->ChiaveEffettoInGestione = key;
    }
    FRMKV_TARSELLO* showHistory() { return showTab(FRMKV_TARSELLO::TabStorico); }
    QString where(const char* prefix) const {
        return QStringLiteral(" WHERE %1_NUMREG_CO99 = %2 AND %1_PROGEFF%3 = %4")
            .arg(QLatin1String(prefix), SqlText::quote(numReg_),
                 QLatin1String(QLatin1String(prefix) == QLatin1String("EF01") ? "" : "_EF01"))
            .arg(progEff_);
    }
    int movements() {
        return demo_->count(QStringLiteral("SELECT COUNT(*) FROM EF06_SCADSTO") + where("EF06"));
    }
    QString bill() { return billColumns(demo_->connection, numReg_, progEff_).join(QLatin1Char('|')); }
    // The clerk changes the due date and saves: the save writes a manual variation whose snapshot
    // is the Bill as it was.
    void saveDueDateChange(FRMKV_TARSELLO* f, int days) {
        f->TAB_SCADENZE->setTab(FRMKV_TARSELLO::TabDatiGenerali);
        const QDate due = Value::toDate(f->clsRstTestata->Fields(QStringLiteral("EF01_SCADE_S")).Value());
        typeInto(f->control(QStringLiteral("TXT_SCADE")),
                 due.addDays(days).toString(QStringLiteral("dd/MM/yyyy")));
        ASSERT_TRUE(f->FME_TESTATA->UpdateRecord(true, false))
            << messageTexts().join(QLatin1Char('\n')).toStdString();
        f->TAB_SCADENZE->setTab(FRMKV_TARSELLO::TabStorico);
        QApplication::processEvents();
    }
    // Runs `inside` on the history form once it is shown modally, then closes it.
    void withHistoryForm(const std::function<void()>& open,
                         const std::function<void(FRMKV_STORICO&)>& inside) {
        EXPECT_TRUE(onModal(open, inside)) << "the history form opened modally";
    }

    QString numReg_;
    int progEff_ = 0;
};

INSTANTIATE_ON_ENGINES(HistoryTest);

TEST_P(HistoryTest, DeletingTheLastMovementPutsTheBillBackColumnByColumn) {
    openBill(1, true);
    FRMKV_TARSELLO* f = showHistory();
    ASSERT_TRUE(f);
    const QString before = bill();
    const int count = movements();
    ASSERT_EQ(f->GRD_STORICO->DataSource()->RecordCount(), count);

    saveDueDateChange(f, 20);
    ASSERT_EQ(movements(), count + 1);
    ASSERT_NE(bill(), before);
    ASSERT_EQ(f->GRD_STORICO->DataSource()->RecordCount(), count + 1);

    // The last row, a manual variation: confirmed by the clerk.
    deleteLastMovement(f);
    ASSERT_EQ(log_->messages().size(), 1) << messageTexts().join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(log_->messages()[0].text, HistoryFormTexts::kEliminaManuale);
    EXPECT_EQ(log_->messages()[0].flags,
              LogService::kYesNo | LogService::kCritical | LogService::kDefaultButton2);

    EXPECT_EQ(movements(), count);
    // The demo Bill had no manual variation of its own: its changed mark goes with this one.
    EXPECT_EQ(bill(), before);
    EXPECT_EQ(f->GRD_STORICO->DataSource()->RecordCount(), count);
    EXPECT_EQ(f->clsRstStorico->AbsolutePosition(), count) << "the grid stands on the new last row";
    EXPECT_FALSE(f->FME_TESTATA->isRecordChanged());
    EXPECT_EQ(Value::toDate(f->clsRstTestata->Fields(QStringLiteral("EF01_SCADE_S")).Value()),
              Value::toDate(f->clsRstTestata->Fields(QStringLiteral("EF01_SCADE_S")).UnderlyingValue()));
}

// A clerk whose view was read before a colleague's save undoes nothing of it: neither the
// movement that is no longer the last, nor the Bill the colleague changed; the Bill's deletion
// from that view is refused the same way. Nothing changes and the clerk is told.
TEST_P(HistoryTest, AStaleViewUndoesOrDeletesNothingAColleagueSavedSince) {
    openBill(1, true);
    FRMKV_TARSELLO* f = showHistory();
    ASSERT_TRUE(f);
    saveDueDateChange(f, 20);  // this clerk's manual variation, the last movement for now
    const QString key = module_->ChiaveEffettoInGestione.toString();
    const int count = movements();

    ClerkSession colleague(demo_->db.connectionString(), key);
    FRMKV_TARSELLO* other = colleague.form();
    ASSERT_TRUE(other && other->clsRstTestata);
    const QDate due = Value::toDate(other->clsRstTestata->Fields(QStringLiteral("EF01_SCADE_S")).Value());
    typeInto(other->control(QStringLiteral("TXT_SCADE")),
             due.addDays(7).toString(QStringLiteral("dd/MM/yyyy")));
    ASSERT_TRUE(other->FME_TESTATA->UpdateRecord(true, false));
    ASSERT_EQ(movements(), count + 1);
    const QString saved = bill();

    deleteLastMovement(f);  // the last movement as this clerk read the history
    EXPECT_EQ(messageTexts(), (QStringList{HistoryFormTexts::kEliminaManuale, WriteConflict::kMessage}));
    EXPECT_EQ(movements(), count + 1);
    EXPECT_EQ(bill(), saved) << "the colleague's due date stands";
    EXPECT_FALSE(demo_->connection->InTransaction());
    EXPECT_EQ(f->GRD_STORICO->DataSource()->RecordCount(), count + 1)
        << "read again: the colleague's movement shows";

    // The colleague changes the Bill once more (no history); this clerk's deletion of the Bill,
    // from the view read before it, deletes nothing.
    typeInto(other->control(QStringLiteral("TXT_NUMDOCORIG")), QStringLiteral("FT 9/Ω"));
    ASSERT_TRUE(other->FME_TESTATA->UpdateRecord(true, false));
    host_->setPrivileged(true);
    log_->clear();
    for (int a : {6, 6}) log_->enqueue(a);
    f->FME_TESTATA->Delete();
    EXPECT_TRUE(messageTexts().contains(WriteConflict::kMessage)) << messageTexts().join(u'\n').toStdString();
    EXPECT_EQ(demo_->count(QStringLiteral("SELECT COUNT(*) FROM EF01_SCADENZE") + where("EF01")), 1);
    EXPECT_EQ(movements(), count + 1);
}

TEST_P(HistoryTest, ASplitRestoresTheOriginalAmountsAndEmptyAmountsBecomeNull) {
    openBill();
    host_->setPrivileged(true);
    FRMKV_TARSELLO* f = showHistory();
    ASSERT_TRUE(f);
    saveDueDateChange(f, 5);
    // The last movement becomes a due-date split with a currency amount and no net one; another
    // manual variation stays, so the Bill keeps its changed mark.
    const int last = movements();
    runSql(
        demo_->connection,
        QStringLiteral("UPDATE EF06_SCADSTO SET EF06_INDTIPOPER = 12, EF06_IMPEFF_S = 321.09, "
                       "EF06_IMPEFFVAL_S = 400.01, EF06_IMPEFFNETPREVVAL_S = NULL, EF06_SPESERIT_S = NULL") +
            where("EF06") + QStringLiteral(" AND EF06_PROGSTO = %1").arg(last));
    runSql(demo_->connection, QStringLiteral("UPDATE EF06_SCADSTO SET EF06_INDTIPOPER = 0") + where("EF06") +
                                  QStringLiteral(" AND EF06_PROGSTO = 1"));
    f->ShowStorico();
    deleteLastMovement(f);
    EXPECT_EQ(log_->messages().value(0).text, HistoryFormTexts::kEliminaAutomatico);
    Recordset rs;
    rs.Open(QStringLiteral("SELECT EF01_IMPEFF_S, EF01_IMPEFFORIG, EF01_IMPEFFORIGVAL, EF01_IMPEFFVAL_S, "
                           "EF01_IMPEFFNETPREVVAL_S, EF01_SPESERIT_S, EF01_FLGEFFVAR FROM EF01_SCADENZE") +
                where("EF01"),
            demo_->connection);
    EXPECT_EQ(Value::toDecimal(rs.Fields(0).Value()).toString(), QStringLiteral("321.09"));
    EXPECT_EQ(Value::toDecimal(rs.Fields(1).Value()).toString(), QStringLiteral("321.09"));
    for (int i : {2, 3})
        EXPECT_EQ(Value::toDecimal(rs.Fields(i).Value()).toString(), QStringLiteral("400.01"))
            << rs.Fields(i).Name().toStdString();
    for (int i : {4, 5})
        EXPECT_TRUE(Value::isNull(rs.Fields(i).Value())) << rs.Fields(i).Name().toStdString();
    EXPECT_EQ(Value::toInt(rs.Fields(6).Value()), 1) << "a manual variation remains";
    EXPECT_EQ(movements(), last - 1);
}

TEST_P(HistoryTest, RefusalsChangeNothing) {
    openBill(2);
    FRMKV_TARSELLO* f = showHistory();
    ASSERT_TRUE(f);
    QString before = bill();
    const int count = movements();
    auto tryDelete = [&](const QList<int>& answers) {
        log_->clear();
        for (int a : answers) log_->enqueue(a);
        f->GNV_STORICO->press(QStringLiteral("Elimina"));
        EXPECT_EQ(movements(), count);
        EXPECT_EQ(bill().toStdString(), before.toStdString())
            << messageTexts().join(QLatin1Char('\n')).toStdString();
        return messageTexts();
    };
    // Not the last movement.
    f->clsRstStorico->MoveFirst();
    EXPECT_EQ(tryDelete({}), QStringList{HistoryFormTexts::kSoloUltimo});
    // A movement of another procedure, an ordinary user.
    runSql(demo_->connection, QStringLiteral("UPDATE EF06_SCADSTO SET EF06_INDTIPOPER = 1") + where("EF06") +
                                  QStringLiteral(" AND EF06_PROGSTO = %1").arg(count));
    f->ShowStorico();
    f->clsRstStorico->MoveLast();
    EXPECT_EQ(tryDelete({}), QStringList{HistoryFormTexts::kNonAutorizzato});
    // Unsaved header.
    host_->setPrivileged(true);
    f->FME_TESTATA->setRecordChanged(true);
    EXPECT_EQ(tryDelete({}), QStringList{HistoryFormTexts::kDatiNonSalvati});
    f->FME_TESTATA->setRecordChanged(false);
    // The clerk says No.
    EXPECT_EQ(tryDelete({7}), QStringList{HistoryFormTexts::kEliminaAutomatico});
    // A movement that does not say how the Bill stood (a manual one left empty): the Bill
    // cannot be put back, and the clerk is told which fields are missing.
    runSql(demo_->connection,
           QStringLiteral("UPDATE EF06_SCADSTO SET EF06_SCADE_S = NULL, EF06_INDSTATO_S = NULL") +
               where("EF06") + QStringLiteral(" AND EF06_PROGSTO = %1").arg(count));
    f->ShowStorico();
    f->clsRstStorico->MoveLast();
    EXPECT_EQ(tryDelete({}), QStringList{HistoryFormTexts::kSituazioneIncompleta.arg(
                                 QStringLiteral("Data scadenza, Stato effetto"))});
    runSql(demo_->connection,
           QStringLiteral("UPDATE EF06_SCADSTO SET EF06_SCADE_S = '20240131', EF06_INDSTATO_S = 0") +
               where("EF06") + QStringLiteral(" AND EF06_PROGSTO = %1").arg(count));
    f->ShowStorico();
    f->clsRstStorico->MoveLast();
    // Transferred to the treasury: Yes to the deletion, No to the treasury warning; "Nuovo" asks
    // the same and stays closed on No.
    runSql(demo_->connection, QStringLiteral("UPDATE EF01_SCADENZE SET EF01_INDEXP = 1") + where("EF01"));
    before = bill();
    log_->enqueue(7);
    module_->CloseForm();
    reopen();
    f = showHistory();
    ASSERT_TRUE(f);
    f->clsRstStorico->MoveLast();
    const QStringList asked = tryDelete({6, 7});
    ASSERT_EQ(asked.size(), 2);
    EXPECT_EQ(asked[1], BillFormTexts::kTesoreria);
    log_->clear();
    log_->enqueue(7);
    f->GNV_STORICO->press(QStringLiteral("Nuovo"));
    EXPECT_EQ(messageTexts(), QStringList{BillFormTexts::kTesoreria});
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_P(HistoryTest, NewMovementTakesTheNextProgressiveAndIsSavedWithTheBill) {
    openBill(2);
    FRMKV_TARSELLO* f = showHistory();
    ASSERT_TRUE(f);
    const int count = movements();
    const int highest =
        demo_->count(QStringLiteral("SELECT MAX(EF06_PROGSTO) FROM EF06_SCADSTO") + where("EF06"));
    const QDate due(2031, 3, 15);

    // A new manual variation, confirmed, then the form closed: nothing written yet.
    withHistoryForm(
        [&] { f->GNV_STORICO->press(QStringLiteral("Nuovo")); },
        [&](FRMKV_STORICO& h) {
            EXPECT_EQ(h.FME_STORICO->Status(), VirtualFrame::kStatusAdding);
            EXPECT_EQ(Value::toInt(h.control(QStringLiteral("TXT_PROGSTO"))->Value()), highest + 1);
            EXPECT_FALSE(h.control(QStringLiteral("CBO_INDTIPOPER"))->isEnabled()) << "an ordinary user";
            // The Bill as it stands before the variation, as the clerk reads it from the header.
            typeInto(h.control(QStringLiteral("TXT_DATASCAD")), due.toString(QStringLiteral("dd/MM/yyyy")));
            typeInto(h.control(QStringLiteral("TXT_IMPEFF")), QStringLiteral("1.234,50"));
            h.combo(QStringLiteral("CBO_INDSTATO"))->setValue(0);
            h.FME_STORICO->storeValue(*h.combo(QStringLiteral("CBO_INDSTATO")));
            h.GNV_DETTSTORICO->press(QStringLiteral("Conferma"));
            EXPECT_EQ(h.FME_STORICO->Status(), VirtualFrame::kStatusShown);
        });
    EXPECT_EQ(movements(), count);
    EXPECT_TRUE(f->FME_TESTATA->isRecordChanged()) << "the Bill must be saved";
    EXPECT_EQ(f->GRD_STORICO->DataSource()->RecordCount(), count + 1);
    // Deleting now is refused: the database does not hold the movement yet.
    log_->clear();
    f->clsRstStorico->MoveLast();
    f->GNV_STORICO->press(QStringLiteral("Elimina"));
    EXPECT_EQ(messageTexts(), QStringList{HistoryFormTexts::kDatiNonSalvati});

    // The Bill's save fails at the movement's write: nothing of it is in the database, and the
    // movement still waits.
    breakWrites(demo_->connection, GetParam(), QStringLiteral("INSERT"), QStringLiteral("EF06_SCADSTO"));
    log_->clear();
    EXPECT_FALSE(f->FME_TESTATA->UpdateRecord(true, false));
    EXPECT_EQ(movements(), count);
    EXPECT_TRUE(f->FME_TESTATA->isRecordChanged());
    mendWrites(demo_->connection, GetParam(), QStringLiteral("EF06_SCADSTO"));

    // Saved again: the movement and the Bill's changed mark, together.
    log_->clear();
    ASSERT_TRUE(f->FME_TESTATA->UpdateRecord(true, false))
        << messageTexts().join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(movements(), count + 1);
    Recordset rs;
    rs.Open(QStringLiteral("SELECT EF06_PROGSTO, EF06_INDTIPOPER, EF06_SCADE_S FROM EF06_SCADSTO") +
                where("EF06") + QStringLiteral(" ORDER BY EF06_PROGSTO DESC"),
            demo_->connection);
    EXPECT_EQ(Value::toInt(rs.Fields(0).Value()), highest + 1);
    EXPECT_EQ(Value::toInt(rs.Fields(1).Value()), 0);
    EXPECT_EQ(Value::toDate(rs.Fields(2).Value()), due);
    EXPECT_EQ(demo_->count(QStringLiteral("SELECT EF01_FLGEFFVAR FROM EF01_SCADENZE") + where("EF01")), 1);

    // Deleted, the next new movement takes its progressive again.
    deleteLastMovement(f);
    EXPECT_EQ(movements(), count) << messageTexts().join(QLatin1Char('\n')).toStdString();
    withHistoryForm([&] { f->GNV_STORICO->press(QStringLiteral("Nuovo")); },
                    [&](FRMKV_STORICO& h) {
                        EXPECT_EQ(Value::toInt(h.control(QStringLiteral("TXT_PROGSTO"))->Value()),
                                  highest + 1);
                    });
    // Closed while adding: given up, the grid keeps its rows and the Bill nothing to save.
    EXPECT_EQ(f->GRD_STORICO->DataSource()->RecordCount(), count);
    EXPECT_FALSE(f->FME_TESTATA->isRecordChanged());
}

TEST_P(HistoryTest, AnOrdinaryUserCannotChangeAMovementOfAnotherProcedure) {
    openBill(2);
    FRMKV_TARSELLO* f = showHistory();
    ASSERT_TRUE(f);
    runSql(demo_->connection,
           QStringLiteral("UPDATE EF06_SCADSTO SET EF06_INDTIPOPER = 1, EF06_NUMASSEGNO = NULL") +
               where("EF06"));
    f->ShowStorico();
    f->clsRstStorico->MoveFirst();
    log_->clear();
    withHistoryForm([&] { f->GNV_STORICO->press(QStringLiteral("Apri")); },
                    [&](FRMKV_STORICO& h) {
                        EXPECT_EQ(h.FME_STORICO->Status(), VirtualFrame::kStatusShown);
                        EXPECT_FALSE(h.control(QStringLiteral("TXT_PROGSTO"))->isEnabled());
                        typeInto(h.control(QStringLiteral("TXT_NUMASSEGNO")), QStringLiteral("A-1"));
                        h.GNV_DETTSTORICO->press(QStringLiteral("Conferma"));
                        EXPECT_EQ(messageTexts(), QStringList{HistoryFormTexts::kNonModificabile});
                        EXPECT_EQ(log_->messages().value(0).title, HistoryFormTexts::kTitleAvviso);
                        EXPECT_TRUE(h.control(QStringLiteral("TXT_NUMASSEGNO"))->Text().isEmpty())
                            << "the change undone";
                    });
    EXPECT_FALSE(f->FME_TESTATA->isRecordChanged());
    EXPECT_TRUE(Value::isNull(f->clsRstStorico->Fields(QStringLiteral("EF06_NUMASSEGNO")).Value()));
}

TEST_P(HistoryTest, AmountPairsFollowTheBillsCurrencyAndRate) {
    openBill(1, false, QStringLiteral(" AND EF01_CODICE_CG08 IN ('USD', 'GBP', 'CHF') AND EF01_CAMBIO > 0"));
    FRMKV_TARSELLO* f = showHistory();
    ASSERT_TRUE(f);
    const Decimal rate = Value::toDecimal(f->clsRstTestata->Fields(QStringLiteral("EF01_CAMBIO")).Value());
    const QString currency = f->TXT_VALUTA->Text();
    f->clsRstStorico->MoveFirst();
    log_->clear();
    withHistoryForm(
        [&] { f->GNV_STORICO->press(QStringLiteral("Apri")); },
        [&](FRMKV_STORICO& h) {
            auto value = [&](const char* name) {
                return Value::toDecimal(h.control(QString::fromLatin1(name))->Value());
            };
            log_->enqueue(LogService::kYes);
            typeInto(h.control(QStringLiteral("TXT_IMPMOVPAG")), QStringLiteral("100"));
            EXPECT_EQ(messageTexts(), QStringList{AmountPairs::kQuestion});
            EXPECT_EQ(value("TXT_IMPMOVPAGVAL"), (Decimal(100) * rate).rounded(2)) << currency.toStdString();
            EXPECT_EQ(Value::toDecimal(
                          h.FME_STORICO->recordset()->Fields(QStringLiteral("EF06_IMPMOVPAGVAL")).Value()),
                      (Decimal(100) * rate).rounded(2));
            // No: the currency amount stays; the currency side converts without asking.
            const QString before = h.control(QStringLiteral("TXT_IMPMOVABBVAL"))->Text();
            log_->enqueue(LogService::kNo);
            typeInto(h.control(QStringLiteral("TXT_IMPMOVABB")), QStringLiteral("7,5"));
            EXPECT_EQ(h.control(QStringLiteral("TXT_IMPMOVABBVAL"))->Text(), before);
            typeInto(h.control(QStringLiteral("TXT_IMPMOVACCVAL")), QStringLiteral("50"));
            EXPECT_EQ(value("TXT_IMPMOVACC"), Decimal::divide(Decimal(50), rate, 2));
            EXPECT_EQ(messageTexts().size(), 2);
        });

    // At rate 0 nothing converts either way, and nothing is asked.
    log_->enqueue(7);
    module_->CloseForm();
    reopen();
    FRMKV_TARSELLO* g = showHistory();
    ASSERT_TRUE(g);
    g->clsRstTestata->Fields(QStringLiteral("EF01_CAMBIO")).setValue(QVariant::fromValue(Decimal(0)));
    g->FME_TESTATA->Refresh();
    g->clsRstStorico->MoveFirst();
    log_->clear();
    withHistoryForm([&] { g->GNV_STORICO->press(QStringLiteral("Apri")); },
                    [&](FRMKV_STORICO& h) {
                        const QString before = h.control(QStringLiteral("TXT_IMPMOVRITVAL"))->Text();
                        typeInto(h.control(QStringLiteral("TXT_IMPMOVRIT")), QStringLiteral("12"));
                        EXPECT_EQ(h.control(QStringLiteral("TXT_IMPMOVRITVAL"))->Text(), before);
                        EXPECT_TRUE(messageTexts().isEmpty());
                    });
}

// ---- the undo is all or nothing ------------------------------------------------------------------

class HistoryUndoFaultTest : public HistoryTest {};

TEST_P(HistoryUndoFaultTest, AFailingWriteLeavesTheBillAndTheMovementAsTheyWere) {
    for (const bool atDeletion : {true, false}) {
        SCOPED_TRACE(atDeletion ? "deletion fails" : "restore fails");
        openBill();
        FRMKV_TARSELLO* f = showHistory();
        ASSERT_TRUE(f);
        saveDueDateChange(f, atDeletion ? 9 : 11);
        const QString before = bill();
        const int count = movements();
        const QString table = atDeletion ? QStringLiteral("EF06_SCADSTO") : QStringLiteral("EF01_SCADENZE");
        breakWrites(demo_->connection, GetParam(),
                    atDeletion ? QStringLiteral("DELETE") : QStringLiteral("UPDATE"), table);
        deleteLastMovement(f);
        // Told in our words, naming the log that has the engine's.
        EXPECT_TRUE(messageTexts().join(QLatin1Char('\n')).contains(TechnicalLog::path()))
            << messageTexts().join(QLatin1Char('\n')).toStdString();
        EXPECT_EQ(movements(), count);
        EXPECT_EQ(bill(), before);
        EXPECT_FALSE(demo_->connection->InTransaction());
        EXPECT_EQ(f->GRD_STORICO->DataSource()->RecordCount(), count) << "the grid still shows the movement";

        // The fault mended, the same deletion goes through.
        mendWrites(demo_->connection, GetParam(), table);
        deleteLastMovement(f);
        EXPECT_EQ(movements(), count - 1) << messageTexts().join(QLatin1Char('\n')).toStdString();
        log_->enqueue(7);
        module_->CloseForm();
        reopen();
    }
}

INSTANTIATE_ON_ENGINES(HistoryUndoFaultTest);

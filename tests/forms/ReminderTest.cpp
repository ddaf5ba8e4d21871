// The reminders tab and the reminder form on both engines: reminders added, changed and deleted
// reach the database only with the Bill's save; the interest, document, section and block rules;
// bad input refused; two clerks adding reminders to the same Bill.
#include "BillFormFixture.h"
#include "CheckBox.h"
#include "ComboBox.h"
#include "FRMKV_SOLLECITI.h"
#include "FlagTexts.h"
#include "Grid.h"
#include "GridNavigator.h"
#include "HostNavigator.h"
#include "LayoutScriptHolder.h"
#include "ModalWindow.h"
#include "ReminderFormTexts.h"
#include "SimpleInterest.h"
#include "SqlText.h"
#include "TabControl.h"
#include "TechnicalLog.h"
#include "VirtualFrame.h"
#include "WriteConflict.h"

#include <QCheckBox>
#include <QComboBox>
#include <QSqlError>
#include <QSqlQuery>
#include <QTimer>
#include <functional>

// ---- the pure pieces ------------------------------------------------------------------------------

TEST(SimpleInterest, HandCheckedAmountsRoundedHalfAwayFromZero) {
    auto interest = [](const char* amount, const char* rate, QDate from, QDate to) {
        const std::optional<Decimal> r =
            SimpleInterest::of(Decimal::fromString(QString::fromLatin1(amount)),
                               Decimal::fromString(QString::fromLatin1(rate)), from, to);
        return r ? r->toString() : QStringLiteral("none");
    };
    // 14303.06 × 8.5 / 100 × 183 / 365 = 609.5454...
    EXPECT_EQ(interest("14303.06", "8.5", QDate(2023, 6, 29), QDate(2023, 12, 29)), QStringLiteral("609.55"));
    // A leap year has 366 days, still over 365: 1000 × 10% × 366 / 365 = 100.2739...
    EXPECT_EQ(interest("1000.00", "10", QDate(2024, 1, 1), QDate(2025, 1, 1)), QStringLiteral("100.27"));
    // 100 × 5% × 73 / 365 is exactly 1; 182.50 × 1% × 1 / 365 is exactly half a cent.
    EXPECT_EQ(interest("100.00", "5", QDate(2024, 1, 1), QDate(2024, 3, 14)), QStringLiteral("1.00"));
    EXPECT_EQ(interest("182.50", "1", QDate(2024, 1, 1), QDate(2024, 1, 2)), QStringLiteral("0.01"));
    EXPECT_EQ(interest("-182.50", "1", QDate(2024, 1, 1), QDate(2024, 1, 2)), QStringLiteral("-0.01"));
    // Binary floating point gets 0.1-style rates wrong by a cent; the exact sum does not.
    EXPECT_EQ(interest("1234.56", "3.333", QDate(2024, 1, 1), QDate(2024, 4, 10)), QStringLiteral("11.27"));
    EXPECT_EQ(interest("9999999999999999.99", "100", QDate(2024, 1, 1), QDate(2024, 1, 1)),
              QStringLiteral("0.00"));
    EXPECT_EQ(interest("500.00", "8", QDate(2024, 2, 1), QDate(2024, 1, 31)), QStringLiteral("none"));
    EXPECT_EQ(interest("500.00", "8", QDate(), QDate(2024, 1, 31)), QStringLiteral("none"));
}

// ---- the tab and the form on both engines ---------------------------------------------------------

namespace {

void enterField(FrameControl* field) {
    QApplication::setActiveWindow(field->window());
    field->setFocus();
    QApplication::processEvents();
    field->editor()->setFocus();
}

void leaveField(FrameControl* field) {
    QTest::keyClick(field->editor(), Qt::Key_Tab);
    QApplication::processEvents();
}

void tick(FrameControl* box, bool on) {
    enterField(box);
    if (box->Text() != (on ? QLatin1String("1") : QLatin1String("0")))
        QTest::keyClick(static_cast<CheckBox*>(box)->checkBox(), Qt::Key_Space);
    leaveField(box);
}

void choose(ComboBox* combo, int index) {
    enterField(combo);
    combo->comboBox()->setCurrentIndex(index);
    leaveField(combo);
}

// A host navigator whose close veto answers as told.
class VetoNavigator : public HostNavigator, public ChildCloseVeto {
public:
    void AttachModule(Cinterface*) override {}
    void SetButtonsStatus(int) override {}
    void RefreshButtons() override {}
    ChildCloseVeto* CloseVeto() override { return this; }
    bool refuseClose() override { return refuse; }
    bool refuse = false;
};

}  // namespace

class ReminderTest : public BillFormTest {
protected:
    // An open customer Bill in euro with `reminders` reminders or more (none at all when 0);
    // its amount set to `amount` so that the interest can be checked by hand.
    void openBill(int reminders, const char* amount = "14303.06") {
        const QString count = QStringLiteral(
            "(SELECT COUNT(*) FROM EF05_SCADSOLLEC WHERE EF05_NUMREG_CO99 = EF01_NUMREG_CO99 AND "
            "EF05_RIGACONT_EF01 = EF01_RIGACONT_CG42 AND EF05_PROGEC_EF01 = EF01_PROGEC_EC01 AND "
            "EF05_PROGEFF_EF01 = EF01_PROGEFF)");
        key_ = keyWhere(
            QStringLiteral(" AND EF01_INDSTATO_S = 0 AND EF01_INDEXP = 0 AND EF01_SCADE_S < '20240101' "
                           "AND (EF01_CODICE_CG08 IS NULL OR EF01_CODICE_CG08 = 'EURO') AND ") +
            count + QStringLiteral(" >= %1").arg(reminders));
        ASSERT_FALSE(key_.isEmpty()) << "the demo company has such a Bill";
        demo_->connection->Execute(QStringLiteral("UPDATE EF01_SCADENZE SET EF01_IMPEFF_S = ") +
                                   QString::fromLatin1(amount) + where("EF01"));
        // A Bill without reminders: its reminders gone.
        if (reminders == 0)
            runSql(demo_->connection, QStringLiteral("DELETE FROM EF05_SCADSOLLEC") + where("EF05"));
        module_->ChiaveEffettoInGestione = key_;
    }
    QString where(const char* prefix) const {
        const QStringList k = key_.split(QLatin1Char(','));
        const bool bill = QLatin1String(prefix) == QLatin1String("EF01");
        return QStringLiteral(" WHERE %1_NUMREG_CO99 = %2 AND %1_%3 = %4 AND %1_%5 = %6 AND %1_%7 = %8")
            .arg(QLatin1String(prefix), SqlText::quote(k[1]),
                 bill ? QStringLiteral("RIGACONT_CG42") : QStringLiteral("RIGACONT_EF01"), k[2],
                 bill ? QStringLiteral("PROGEC_EC01") : QStringLiteral("PROGEC_EF01"), k[3],
                 bill ? QStringLiteral("PROGEFF") : QStringLiteral("PROGEFF_EF01"), k[4]);
    }
    int stored() {
        return demo_->count(QStringLiteral("SELECT COUNT(*) FROM EF05_SCADSOLLEC") + where("EF05"));
    }
    int highest() {
        return demo_->count(QStringLiteral("SELECT COALESCE(MAX(EF05_PROGAVVISI), 0) FROM EF05_SCADSOLLEC") +
                            where("EF05"));
    }
    FRMKV_TARSELLO* showReminders() { return showTab(FRMKV_TARSELLO::TabSolleciti); }
    // Presses `button` of the reminders tab and runs `inside` on the reminder form it opens.
    void withReminderForm(FRMKV_TARSELLO* f, const char* button,
                          const std::function<void(FRMKV_SOLLECITI&)>& inside, bool closeAfter = true) {
        EXPECT_TRUE(
            onModal([&] { f->GNV_SOLLECITI->press(QString::fromLatin1(button)); }, inside, closeAfter))
            << "the reminder form opened modally";
    }
    QString column(const char* name, int progressive) {
        Recordset rs;
        rs.Open(QStringLiteral("SELECT %1 FROM EF05_SCADSOLLEC").arg(QLatin1String(name)) + where("EF05") +
                    QStringLiteral(" AND EF05_PROGAVVISI = %1").arg(progressive),
                demo_->connection);
        return rs.AtEOF() ? QStringLiteral("<none>") : Value::toText(rs.Fields(0).Value());
    }

    QString key_;
};

INSTANTIATE_ON_ENGINES(ReminderTest);

TEST_P(ReminderTest, AddedChangedAndDeletedRemindersReachTheDatabaseOnlyWithTheBillsSave) {
    ASSERT_NO_FATAL_FAILURE(openBill(1));
    FRMKV_TARSELLO* f = showReminders();
    ASSERT_TRUE(f);
    const int count = stored(), next = highest() + 1;
    ASSERT_EQ(f->GRD_SOLLECITI->DataSource()->RecordCount(), count);

    withReminderForm(f, "Nuovo", [&](FRMKV_SOLLECITI& r) {
        EXPECT_EQ(r.FME_SOLLECITI->Status(), VirtualFrame::kStatusAdding);
        EXPECT_EQ(Value::toInt(r.control(QStringLiteral("TXT_PROGAVVISI"))->Value()), next);
        typeInto(r.control(QStringLiteral("TXT_DATAAVVISO")), QStringLiteral("15/01/2024"));
        typeInto(r.control(QStringLiteral("TXT_SPBOLLO")), QStringLiteral("2,50"));
        r.GNV_DETTSOLLECITI->press(QStringLiteral("Conferma"));
        EXPECT_EQ(r.FME_SOLLECITI->Status(), VirtualFrame::kStatusShown);
    });
    EXPECT_EQ(stored(), count) << "nothing written before the Bill's save";
    EXPECT_EQ(f->GRD_SOLLECITI->DataSource()->RecordCount(), count + 1);
    EXPECT_TRUE(f->FME_TESTATA->isRecordChanged());

    // A save that fails at the reminder's write leaves the reminder waiting; the next one writes it.
    breakWrites(demo_->connection, GetParam(), QStringLiteral("INSERT"), QStringLiteral("EF05_SCADSOLLEC"));
    log_->clear();
    EXPECT_FALSE(f->FME_TESTATA->UpdateRecord(true, false));
    EXPECT_TRUE(
        messageTexts().join(QLatin1Char('\n')).contains(TechnicalLog::path()));  // the engine's words there
    EXPECT_EQ(stored(), count);
    EXPECT_TRUE(f->FME_TESTATA->isRecordChanged());
    mendWrites(demo_->connection, GetParam(), QStringLiteral("EF05_SCADSOLLEC"));
    log_->clear();
    ASSERT_TRUE(f->FME_TESTATA->UpdateRecord(true, false))
        << messageTexts().join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(stored(), count + 1);
    EXPECT_EQ(column("EF05_SPBOLLO", next), QStringLiteral("2.50"));
    EXPECT_FALSE(f->FME_TESTATA->isRecordChanged());

    // Changed: a comment with quotes, a semicolon, accents and other scripts arrives whole.
    const QString comment = QStringLiteral("L'avviso è tornato; 客户 «Ωμέγα»");
    f->clsRstSolleciti->MoveLast();
    withReminderForm(f, "Apri", [&](FRMKV_SOLLECITI& r) {
        EXPECT_EQ(Value::toInt(r.control(QStringLiteral("TXT_PROGAVVISI"))->Value()), next);
        EXPECT_FALSE(r.control(QStringLiteral("TXT_PROGAVVISI"))->isEnabled());
        typeInto(r.control(QStringLiteral("TXT_TESTOPERS")), comment);
        r.GNV_DETTSOLLECITI->press(QStringLiteral("Conferma"));
    });
    ASSERT_TRUE(f->FME_TESTATA->UpdateRecord(true, false))
        << messageTexts().join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(column("EF05_TESTOPERS", next), comment);

    // Deleted from the grid: at once, without a question, and the Bill must be saved.
    log_->clear();
    f->clsRstSolleciti->MoveFirst();
    const int first = Value::toInt(f->clsRstSolleciti->Fields(QStringLiteral("EF05_PROGAVVISI")).Value());
    f->GNV_SOLLECITI->press(QStringLiteral("Elimina"));
    EXPECT_TRUE(log_->messages().isEmpty());
    EXPECT_EQ(f->GRD_SOLLECITI->DataSource()->RecordCount(), count);
    EXPECT_TRUE(f->FME_TESTATA->isRecordChanged());
    EXPECT_EQ(stored(), count + 1);
    ASSERT_TRUE(f->FME_TESTATA->UpdateRecord(true, false))
        << messageTexts().join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(stored(), count);
    EXPECT_EQ(column("EF05_PROGAVVISI", first), QStringLiteral("<none>"));
}

// The form's own navigator moves between the reminders, asking about what is pending: No gives
// it up, Cancel stays, Yes confirms it for the Bill's save. The document code shows its
// description; the user's script may keep the form open; the window's place is kept.
TEST_P(ReminderTest, MovingBetweenRemindersAsksAboutPendingEditsAndTheScriptMayKeepTheFormOpen) {
    ASSERT_NO_FATAL_FAILURE(openBill(2));
    host_->LayoutAndScript().SaveScript(
        QStringLiteral("function tsClose(form) { return form.name === 'Dettaglio solleciti effetti' && "
                       "form.field('TXT_TESTOPERS') === 'resta'; }"));
    FRMKV_TARSELLO* f = showReminders();
    ASSERT_TRUE(f);
    f->clsRstSolleciti->MoveFirst();
    const int first = Value::toInt(f->clsRstSolleciti->Fields(QStringLiteral("EF05_PROGAVVISI")).Value());
    const QString firstComment = column("EF05_TESTOPERS", first);
    int second = 0;
    withReminderForm(f, "Apri", [&](FRMKV_SOLLECITI& r) {
        auto progressive = [&] { return Value::toInt(r.control(QStringLiteral("TXT_PROGAVVISI"))->Value()); };
        FrameControl* comment = r.control(QStringLiteral("TXT_TESTOPERS"));
        ASSERT_EQ(progressive(), first);
        typeInto(comment, QStringLiteral("da scartare"));
        log_->enqueue(7);
        r.GNV_DETTSOLLECITI->press(QStringLiteral("Successivo"));
        second = progressive();
        EXPECT_NE(second, first);
        typeInto(comment, QStringLiteral("L'avviso; confermato"));
        log_->enqueue(2);
        r.GNV_DETTSOLLECITI->press(QStringLiteral("Precedente"));
        EXPECT_EQ(progressive(), second);
        EXPECT_EQ(comment->Text(), QStringLiteral("L'avviso; confermato"));
        log_->enqueue(6);
        r.GNV_DETTSOLLECITI->press(QStringLiteral("Primo"));
        EXPECT_EQ(progressive(), first);
        EXPECT_EQ(comment->Text(), firstComment.trimmed()) << "the edit answered No is gone";
        EXPECT_EQ(log_->messages().size(), 3);

        // The document type's description, and a code no document has left without one.
        tick(r.control(QStringLiteral("CHK_FLGEMISDOC")), true);
        typeInto(r.control(QStringLiteral("TXT_DOCUMENTO")), QStringLiteral("SOL"));
        EXPECT_EQ(r.control(QStringLiteral("TXT_DESDOCUMENTO"))->Text(),
                  QStringLiteral("Lettera di sollecito"));
        typeInto(r.control(QStringLiteral("TXT_DOCUMENTO")), QStringLiteral("Z'9"));
        EXPECT_EQ(r.control(QStringLiteral("TXT_DESDOCUMENTO"))->Text(), QString());
        EXPECT_FALSE(r.control(QStringLiteral("TXT_DOCUMENTO"))->Valid());
        log_->enqueue(7);
        r.GNV_DETTSOLLECITI->press(QStringLiteral("Ultimo"));

        typeInto(comment, QStringLiteral("resta"));
        r.close();
        EXPECT_TRUE(r.isVisible()) << "the script kept the form open";
        typeInto(comment, QStringLiteral("va"));
    });
    ASSERT_TRUE(f->FME_TESTATA->UpdateRecord(true, false))
        << messageTexts().join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(column("EF05_TESTOPERS", first), firstComment);
    EXPECT_EQ(column("EF05_TESTOPERS", second), QStringLiteral("L'avviso; confermato"));
    EXPECT_EQ(demo_->count(QStringLiteral("SELECT COUNT(*) FROM KV07_LAYOUT WHERE KV07_FORM = "
                                          "'KVUO_TARSELLO/Dettaglio solleciti effetti'")),
              1);
}

TEST_P(ReminderTest, InterestIsWorkedOutOnTheBillsAmountAndBadInputIsRefused) {
    ASSERT_NO_FATAL_FAILURE(openBill(0));
    FRMKV_TARSELLO* f = showReminders();
    ASSERT_TRUE(f);
    ASSERT_EQ(f->GRD_SOLLECITI->DataSource()->RecordCount(), 0);
    withReminderForm(f, "Nuovo", [&](FRMKV_SOLLECITI& r) {
        auto c = [&](const char* name) { return r.control(QString::fromLatin1(name)); };
        auto cell = [&](const char* column) {
            return Value::toText(r.FME_SOLLECITI->recordset()->Fields(QString::fromLatin1(column)).Value());
        };
        EXPECT_EQ(Value::toInt(c("TXT_PROGAVVISI")->Value()), 1) << "the Bill's first reminder";
        EXPECT_FALSE(c("TXT_TASSOINT")->isEnabled());
        tick(c("CHK_FLGCALCINT"), true);
        for (const char* name : {"TXT_TASSOINT", "TXT_DADATACALC", "TXT_ADATACALC", "TXT_IMPINTERES"})
            EXPECT_TRUE(c(name)->isEnabled() && c(name)->TabStop()) << name;

        // A rate past 100 or below 0 is refused, and what was typed stays to be mended.
        for (const char* bad : {"150", "-1"}) {
            log_->clear();
            typeInto(c("TXT_TASSOINT"), QString::fromLatin1(bad));
            EXPECT_EQ(messageTexts(), QStringList{ReminderFormTexts::kTassoNonValido}) << bad;
            EXPECT_EQ(c("TXT_TASSOINT")->Text(), QString::fromLatin1(bad));
            EXPECT_EQ(cell("EF05_TASSOINT"), QString());
        }
        typeInto(c("TXT_TASSOINT"), QStringLiteral("8,5"));
        typeInto(c("TXT_DADATACALC"), QStringLiteral("29/06/2023"));
        EXPECT_EQ(c("TXT_IMPINTERES")->Text(), QString()) << "no period yet";
        log_->clear();
        typeInto(c("TXT_ADATACALC"), QStringLiteral("28/06/2023"));
        EXPECT_EQ(messageTexts(), QStringList{ReminderFormTexts::kDateInteressi});
        EXPECT_EQ(cell("EF05_ADATACALC"), QString());
        typeInto(c("TXT_ADATACALC"), QStringLiteral("29/12/2023"));
        EXPECT_EQ(cell("EF05_IMPINTERES"), QStringLiteral("609.55"));
        // The clerk's own figure stays until rate or dates change again.
        typeInto(c("TXT_IMPINTERES"), QStringLiteral("600,00"));
        typeInto(c("TXT_TASSOINT"), QStringLiteral("8,5"));
        EXPECT_EQ(cell("EF05_IMPINTERES"), QStringLiteral("600.00"));
        typeInto(c("TXT_TASSOINT"), QStringLiteral("10"));
        EXPECT_EQ(cell("EF05_IMPINTERES"), QStringLiteral("717.11"));
        // A from-date after the to-date is refused as well.
        log_->clear();
        typeInto(c("TXT_DADATACALC"), QStringLiteral("30/12/2023"));
        EXPECT_EQ(messageTexts(), QStringList{ReminderFormTexts::kDateInteressi});
        typeInto(c("TXT_DADATACALC"), QStringLiteral("29/06/2023"));

        // Unticked: rate, dates and amount emptied and closed; ticked again: open and empty.
        tick(c("CHK_FLGCALCINT"), false);
        for (const char* column : {"EF05_TASSOINT", "EF05_DADATACALC", "EF05_ADATACALC", "EF05_IMPINTERES"})
            EXPECT_EQ(cell(column), QString()) << column;
        EXPECT_FALSE(c("TXT_TASSOINT")->isEnabled());
        tick(c("CHK_FLGCALCINT"), true);
        EXPECT_TRUE(c("TXT_TASSOINT")->isEnabled());
        EXPECT_EQ(c("TXT_TASSOINT")->Text(), QString());

        // A letter that is not a reminder text is refused; one that is shows its description.
        log_->clear();
        typeInto(c("TXT_SIGLALETTERA"), QStringLiteral("X'1;"));
        EXPECT_EQ(messageTexts(), QStringList{ReminderFormTexts::kLetteraInesistente});
        EXPECT_EQ(c("TXT_DESCRLETTERA")->Text(), QString());
        typeInto(c("TXT_SIGLALETTERA"), QStringLiteral("sol2"));
        EXPECT_EQ(cell("EF05_SIGLALETTERA"), QStringLiteral("SOL2"));
        EXPECT_FALSE(c("TXT_DESCRLETTERA")->Text().isEmpty());

        // The block code opens with a block and is emptied without one.
        ComboBox* block = r.combo(QStringLiteral("CBO_INDBLOCCO"));
        EXPECT_FALSE(c("TXT_CODBLOCCO")->isEnabled());
        choose(block, 2);
        EXPECT_TRUE(c("TXT_CODBLOCCO")->isEnabled());
        typeInto(c("TXT_CODBLOCCO"), QStringLiteral("B1"));
        choose(block, 0);
        EXPECT_EQ(cell("EF05_CODBLOC_MG25"), QString());
        EXPECT_FALSE(c("TXT_CODBLOCCO")->isEnabled());

        // The last field's Enter confirms the new reminder through the navigator.
        log_->clear();
        log_->enqueue(6);  // the navigator's "Nuovo" asks to save the reminder being entered
        enterField(c("CHK_FLGPERS2"));
        QTest::keyClick(static_cast<CheckBox*>(c("CHK_FLGPERS2"))->checkBox(), Qt::Key_Return);
        QApplication::processEvents();
        EXPECT_EQ(r.FME_SOLLECITI->recordset()->RecordCount(), 2)
            << messageTexts().join(QLatin1Char('\n')).toStdString();
    });
    EXPECT_EQ(f->GRD_SOLLECITI->DataSource()->RecordCount(), 1) << "the second one was not confirmed";
    ASSERT_TRUE(f->FME_TESTATA->UpdateRecord(true, false))
        << messageTexts().join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(column("EF05_SIGLALETTERA", 1), QStringLiteral("SOL2"));
    EXPECT_EQ(column("EF05_FLGCALCINT", 1), QStringLiteral("1"));
    // The grid shows the rate as a rate and the flags in words.
    Grid* grid = f->GRD_SOLLECITI;
    demo_->connection->Execute(
        QStringLiteral("UPDATE EF05_SCADSOLLEC SET EF05_TASSOINT = 8.125, EF05_INDBLOC = 2") + where("EF05"));
    f->ShowSolleciti();
    EXPECT_EQ(grid->model()->data(grid->model()->index(0, 4)).toString(), QStringLiteral("8,125"));
    EXPECT_EQ(grid->model()->data(grid->model()->index(0, 3)).toString(), FlagTexts::kYes);
    EXPECT_EQ(grid->model()->data(grid->model()->index(0, 13)).toString(), QStringLiteral(" Blocco fisso"));
}

TEST_P(ReminderTest, TheDocumentSectionOpensFromTheCompanysStartDate) {
    for (const bool inUse : {true, false}) {
        SCOPED_TRACE(inUse ? "sections in use from 01/03/2024" : "no sections");
        demo_->connection->Execute(QStringLiteral("UPDATE KV01_PARAMDITTA SET KV01_FLGSEZIONALI = %1, "
                                                  "KV01_DATAINIZSEZ = '20240301'")
                                       .arg(inUse ? 1 : 0));
        host_ = std::make_shared<DatabaseHost>(demo_->db.connectionString(), DemoGenerator::kCompany,
                                               QStringLiteral("MROSSI"));
        host_->setLogServiceFactory([this] { return log_; });
        module_->setClsGlobal(host_);
        ASSERT_NO_FATAL_FAILURE(openBill(1));
        VetoNavigator navigator;
        FRMKV_TARSELLO* f = showReminders();
        ASSERT_TRUE(f);
        module_->setActiveNavigator(&navigator);
        withReminderForm(f, "Nuovo", [&](FRMKV_SOLLECITI& r) {
            auto c = [&](const char* name) { return r.control(QString::fromLatin1(name)); };
            auto section = [&] {
                return Value::toText(
                    r.FME_SOLLECITI->recordset()->Fields(QStringLiteral("EF05_SEZDOC")).Value());
            };
            EXPECT_FALSE(c("TXT_DATADOC")->isEnabled());
            tick(c("CHK_FLGEMISDOC"), true);
            EXPECT_TRUE(c("TXT_DATADOC")->isEnabled());
            EXPECT_FALSE(c("TXT_SEZDOC")->isEnabled());
            EXPECT_EQ(section(), ReminderFormTexts::kSectionNone);
            typeInto(c("TXT_DATADOC"), QStringLiteral("29/02/2024"));
            EXPECT_FALSE(c("TXT_SEZDOC")->isEnabled());
            EXPECT_EQ(section(), ReminderFormTexts::kSectionNone);
            typeInto(c("TXT_DATADOC"), QStringLiteral("01/03/2024"));
            EXPECT_EQ(c("TXT_SEZDOC")->isEnabled(), inUse);
            typeInto(c("TXT_NUMDOC"), QStringLiteral("99999999999"));
            EXPECT_EQ(
                Value::toText(r.FME_SOLLECITI->recordset()->Fields(QStringLiteral("EF05_NUMDOC")).Value()),
                QString())
                << "past a 32-bit number";
            typeInto(c("TXT_NUMDOC"), QStringLiteral("12"));

            // The host keeps the form open while its veto says so; the reminder stays.
            navigator.refuse = true;
            r.close();
            EXPECT_TRUE(r.isVisible());
            EXPECT_EQ(r.FME_SOLLECITI->Status(), VirtualFrame::kStatusAdding);
            EXPECT_EQ(
                Value::toInt(r.FME_SOLLECITI->recordset()->Fields(QStringLiteral("EF05_NUMDOC")).Value()),
                12);
            navigator.refuse = false;
            // Unticked, the document's columns are emptied.
            tick(c("CHK_FLGEMISDOC"), false);
            EXPECT_EQ(section(), QString());
            EXPECT_FALSE(c("TXT_DATADOC")->isEnabled());
        });
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
        module_->setActiveNavigator(nullptr);
        log_->enqueue(7);
        module_->CloseForm();
        module_ = std::make_unique<CLSKV_TARSELLO>([] { return std::make_unique<FRMKV_TARSELLO>(); });
        module_->setClsGlobal(host_);
        module_->TipoArchivio = 0;
    }
}

TEST_P(ReminderTest, TwoClerksAddingRemindersToTheSameBillTheSecondSaveIsTold) {
    ASSERT_NO_FATAL_FAILURE(openBill(1));
    FRMKV_TARSELLO* f = showReminders();
    ASSERT_TRUE(f);
    ClerkSession other(demo_->db.connectionString(), key_);
    ASSERT_TRUE(other.form());
    other.form()->TAB_SCADENZE->setTab(FRMKV_TARSELLO::TabSolleciti);
    QApplication::processEvents();
    const int count = stored(), next = highest() + 1;
    auto addReminder = [&](FRMKV_TARSELLO* form, const QString& comment) {
        withReminderForm(form, "Nuovo", [&](FRMKV_SOLLECITI& r) {
            typeInto(r.control(QStringLiteral("TXT_TESTOPERS")), comment);
            r.GNV_DETTSOLLECITI->press(QStringLiteral("Conferma"));
        });
    };
    addReminder(f, QStringLiteral("primo"));
    addReminder(other.form(), QStringLiteral("secondo"));
    ASSERT_TRUE(f->FME_TESTATA->UpdateRecord(true, false))
        << messageTexts().join(QLatin1Char('\n')).toStdString();
    EXPECT_FALSE(other.form()->FME_TESTATA->UpdateRecord(true, false));
    bool told = false;
    for (const auto& m : other.log->messages())
        told = told || (m.text == WriteConflict::kMessage && m.title == WriteConflict::kTitle);
    EXPECT_TRUE(told);
    EXPECT_EQ(stored(), count + 1);
    EXPECT_EQ(column("EF05_TESTOPERS", next), QStringLiteral("primo"));
    EXPECT_TRUE(other.form()->FME_TESTATA->isRecordChanged()) << "the second clerk's reminder still waits";
    EXPECT_EQ(other.form()->GRD_SOLLECITI->DataSource()->RecordCount(), count + 1);
}

// "Lettera..." on the reminders tab shows the letter of the reminder in view, as the database
// holds it; a reminder still waiting for the Bill's save is refused with the reason.
TEST_P(ReminderTest, TheLetterOfARecordedReminderIsShownAndAPendingOneRefused) {
    ASSERT_NO_FATAL_FAILURE(openBill(1));
    FRMKV_TARSELLO* f = showReminders();
    ASSERT_TRUE(f);
    QString shown;
    QTimer::singleShot(0, [&] {
        QWidget* preview = QApplication::activeModalWidget();
        if (!preview) return;
        shown = preview->windowTitle();
        preview->close();
    });
    log_->clear();
    f->GNV_SOLLECITI->press(QStringLiteral("Lettera"));
    EXPECT_TRUE(shown.startsWith(QStringLiteral("Lettera di sollecito - ")))
        << shown.toStdString() << messageTexts().join(u'\n').toStdString();

    f->GNV_SOLLECITI->press(QStringLiteral("Elimina"));
    log_->clear();
    f->GNV_SOLLECITI->press(QStringLiteral("Lettera"));
    EXPECT_TRUE(messageTexts().join(u'\n').contains(QStringLiteral("salvare l'effetto")))
        << messageTexts().join(u'\n').toStdString();
}

#include "Decimal.h"
#include "FrameFixture.h"
#include "QtPrinters.h"
#include "SuiteError.h"
#include "Value.h"

#include <QPushButton>

namespace {

using Frame = FrameFixture;

TEST_F(Frame, ShowsTheRowAndWritesOnlyChangedFieldsIntoTheRecordset) {
    EXPECT_EQ(name->Text(), "Alfa");
    EXPECT_EQ(amount->Text(), "10,50");
    EXPECT_EQ(due->Text(), "31/01/2024");
    EXPECT_EQ(flag->Text(), "1");
    EXPECT_EQ(frame->Status(), 0);

    // Passing through fields changes nothing.
    name->setFocus();
    QTest::keyClick(name->lineEdit(), Qt::Key_Tab);
    QTest::keyClick(amount->lineEdit(), Qt::Key_Tab);
    EXPECT_FALSE(frame->RecordChanged());
    EXPECT_FALSE(frame->isRecordChanged());

    retype(amount, "7,25");
    retype(due, "01032024");
    EXPECT_TRUE(frame->RecordChanged());
    EXPECT_EQ(rs->Fields("TS01_AMOUNT").Value().value<Decimal>(), Decimal::fromString("7.25"));
    EXPECT_EQ(rs->Fields("TS01_DUE").Value().toDate(), QDate(2024, 3, 1));
    EXPECT_EQ(stored(1, "TS01_AMOUNT").value<Decimal>(), Decimal::fromString("10.5"));  // not saved yet
}

TEST_F(Frame, SaveRaisesValidateRecordBeforeUpdateAndAfterUpdateAroundTheWrite) {
    retype(name, "Zeta");
    events.take();
    click("Salva");
    EXPECT_EQ(events.take(), (QStringList{"ValidateRecord", "BeforeUpdate", "AfterUpdate(1)"}));
    EXPECT_EQ(stored(1, "TS01_NAME").toString(), "Zeta");
    EXPECT_FALSE(frame->isRecordChanged());

    // Nothing changed: nothing to do, no event.
    click("Salva");
    EXPECT_TRUE(events.take().isEmpty());
}

TEST_F(Frame, AControlInErrorOrACancelStopsTheSaveAndKeepsTheChange) {
    retype(name, "Zeta");
    QMetaObject::Connection check =
        QObject::connect(frame, &VirtualFrame::ValidateRecord, [&](FrameControl** bad) { *bad = due; });
    events.take();
    EXPECT_FALSE(frame->UpdateRecord(true, false));
    EXPECT_EQ(events.take(), QStringList{"ValidateRecord"});
    EXPECT_EQ(QApplication::focusWidget(), due->editor());
    QObject::disconnect(check);

    // A field that refuses to be left also stops the click on the navigator.
    QMetaObject::Connection refuse =
        QObject::connect(name, &FrameControl::Validate, [](bool* cancel) { *cancel = true; });
    name->setFocus();
    events.take();
    click("Salva");
    EXPECT_TRUE(events.take().isEmpty());
    EXPECT_EQ(QApplication::focusWidget(), name->editor());
    QObject::disconnect(refuse);

    QObject::connect(frame, &VirtualFrame::BeforeUpdate, [](bool* cancel) { *cancel = true; });
    EXPECT_FALSE(frame->UpdateRecord(true, false));
    EXPECT_EQ(events.take(), (QStringList{"ValidateRecord", "BeforeUpdate"}));
    EXPECT_EQ(stored(1, "TS01_NAME").toString(), "Alfa");
    EXPECT_EQ(rs->Fields("TS01_NAME").Value().toString(), "Zeta");
    EXPECT_TRUE(frame->RecordChanged());
}

TEST_F(Frame, AColumnBoundToTheWrongKindOfControlIsReportedNotFatal) {
    auto* wrong = bind(new DateBox, "TS01_NAME");
    frame->Refresh();
    EXPECT_EQ(wrong->Text(), "");
    ASSERT_EQ(log->messages().size(), 1);
    EXPECT_EQ(name->Text(), "Alfa");
}

TEST_F(Frame, AValueTheColumnRefusesIsReportedAndTheUserStaysInTheField) {
    // A text box takes no more characters than its column.
    retype(name, "Much too long for ten");
    EXPECT_TRUE(log->messages().isEmpty());
    EXPECT_EQ(rs->Fields("TS01_NAME").Value().toString(), "Much too l");

    // More decimals than the amount column keeps would be rounded away unseen.
    const QVariant before = rs->Fields("TS01_AMOUNT").Value();
    retype(amount, "12,345");
    ASSERT_EQ(log->messages().size(), 1);
    EXPECT_TRUE(log->messages()[0].text.contains("troppi decimali"));
    EXPECT_EQ(QApplication::focusWidget(), amount->editor());
    EXPECT_EQ(amount->Text(), "12,345");
    EXPECT_TRUE(Value::same(rs->Fields("TS01_AMOUNT").Value(), before));
}

// An amount shows its thousands grouped once the clerk leaves it, however it was typed, and reads
// its own text back as the same amount; one the column refuses stays as it was typed.
TEST_F(Frame, AnAmountShowsItsThousandsGroupedAndReadsThemBack) {
    amount->setGrouped(true);
    amount->setDecimals(2);
    auto storedAmount = [&] { return Value::toDecimal(rs->Fields("TS01_AMOUNT").Value()); };
    for (const auto& [typed, shown, value] :
         {std::tuple{"11448,5", "11.448,50", "11448.50"}, std::tuple{"5.984", "5.984,00", "5984"},
          std::tuple{"-1.234.567,8", "-1.234.567,80", "-1234567.80"},
          std::tuple{"1234.5", "1.234,50", "1234.50"}}) {
        retype(amount, QString::fromLatin1(typed));
        EXPECT_EQ(amount->Text(), QString::fromLatin1(shown)) << typed;
        EXPECT_EQ(storedAmount(), Decimal::fromString(QString::fromLatin1(value))) << typed;
        // Entered and left untouched: the same amount, never a thousandth of it.
        amount->setFocus();
        QTest::keyClick(amount->lineEdit(), Qt::Key_Tab);
        EXPECT_EQ(amount->Text(), QString::fromLatin1(shown)) << typed;
        EXPECT_EQ(storedAmount(), Decimal::fromString(QString::fromLatin1(value))) << typed;
    }
    EXPECT_TRUE(log->messages().isEmpty());
    // More integer digits than the column keeps.
    retype(amount, "1.234.567.890.123.456,5");
    ASSERT_EQ(log->messages().size(), 1);
    EXPECT_TRUE(log->messages()[0].text.contains("1.234.567.890.123.456,5"))
        << log->messages()[0].text.toStdString();
    EXPECT_EQ(amount->Text(), "1.234.567.890.123.456,5");
}

TEST_F(Frame, ANewRowGetsItsDefaultsAndBecomesAStoredRowWhenSaved) {
    QObject::connect(frame, &VirtualFrame::AfterAddNew, [&](bool ok) {
        if (!ok) return;
        rs->Fields("TS01_ID").setValue(4);
        rs->Fields("TS01_FLAG").setValue(0);
    });
    click("Nuovo");
    EXPECT_EQ(events.take(), (QStringList{"AfterAddNew(1)", "ChangeStatus(2)"}));
    EXPECT_EQ(frame->Status(), 2);
    EXPECT_EQ(name->Text(), "");
    EXPECT_EQ(flag->Text(), "0");

    retype(name, "Delta");
    retype(amount, "99");
    click("Salva");
    EXPECT_EQ(events.take(),
              (QStringList{"ValidateRecord", "BeforeUpdate", "AfterUpdate(1)", "ChangeStatus(0)"}));
    EXPECT_EQ(frame->Status(), 0);
    EXPECT_EQ(storedRows(), 4);
    EXPECT_EQ(stored(4, "TS01_NAME").toString(), "Delta");

    // A new row the form marked untouched is given up when the user starts another or moves on,
    // so that no empty row waits for the next batch write.
    QObject::connect(frame, &VirtualFrame::AfterAddNew, [&] { frame->setRecordChanged(false); });
    click("Nuovo");
    click("Nuovo");
    click("Primo");
    EXPECT_TRUE(log->messages().isEmpty());
    EXPECT_EQ(rs->RecordCount(), 4);
}

TEST_F(Frame, UndoForgetsTheChangesAndGivesUpANewRow) {
    retype(name, "Zeta");
    events.take();
    click("Annulla");
    EXPECT_EQ(events.take(), QStringList{"AfterUndo(1)"});
    EXPECT_EQ(name->Text(), "Alfa");
    EXPECT_EQ(rs->Fields("TS01_NAME").Value().toString(), "Alfa");
    EXPECT_FALSE(frame->isRecordChanged());

    frame->MoveNext();
    frame->setStatus(2);
    retype(name, "Nuova");
    events.take();
    EXPECT_TRUE(frame->Undo());
    EXPECT_EQ(events.take(), (QStringList{"AfterUndo(1)", "ChangeStatus(0)"}));
    EXPECT_EQ(rs->RecordCount(), 3);
    EXPECT_EQ(name->Text(), "Beta");
    EXPECT_EQ(storedRows(), 3);
}

TEST_F(Frame, DeleteAsksTheFormAndShowsTheNextRow) {
    bool refuse = true;
    QObject::connect(frame, &VirtualFrame::BeforeDelete, [&](bool* cancel) { *cancel = refuse; });
    click("Elimina");
    EXPECT_EQ(events.take(), QStringList{"BeforeDelete"});
    EXPECT_EQ(storedRows(), 3);

    refuse = false;
    click("Elimina");
    EXPECT_EQ(events.take(), (QStringList{"BeforeDelete", "ChangeStatus(0)"}));
    EXPECT_EQ(storedRows(), 2);
    EXPECT_EQ(name->Text(), "Beta");
}

TEST_F(Frame, MovingWithPendingChangesAsksAndFollowsTheAnswer) {
    click("Successivo");
    EXPECT_EQ(events.take(), QStringList{"ChangeStatus(0)"});
    EXPECT_TRUE(log->messages().isEmpty());
    EXPECT_EQ(name->Text(), "Beta");

    retype(name, "B1");
    log->enqueue(LogService::kCancel);
    click("Successivo");
    ASSERT_EQ(log->messages().size(), 1);
    EXPECT_EQ(log->messages()[0].title, "Richiesta conferma");
    EXPECT_EQ(log->messages()[0].flags, LogService::kQuestion | LogService::kYesNoCancel);
    EXPECT_EQ(name->Text(), "B1");  // stayed, nothing lost

    log->enqueue(LogService::kNo);
    click("Successivo");
    EXPECT_EQ(name->Text(), "Gamma");
    EXPECT_EQ(stored(2, "TS01_NAME").toString(), "Beta");

    retype(name, "G1");
    log->enqueue(LogService::kYes);
    click("Primo");
    EXPECT_EQ(name->Text(), "Alfa");
    EXPECT_EQ(stored(3, "TS01_NAME").toString(), "G1");
    EXPECT_EQ(log->pendingAnswers(), 0);

    // Past the ends the frame stays on the first or last row.
    click("Precedente");
    EXPECT_EQ(name->Text(), "Alfa");
    click("Ultimo");
    click("Successivo");
    EXPECT_EQ(name->Text(), "G1");
}

TEST_F(Frame, ConfirmPendingCountsTheChildIndicatorAndTheFormsOwnVerdict) {
    EXPECT_TRUE(frame->ConfirmPending(true, false, true));
    EXPECT_TRUE(log->messages().isEmpty());

    frame->setChildChanged(true);
    log->enqueue(LogService::kCancel);
    EXPECT_FALSE(frame->ConfirmPending(true, false, true));
    frame->setChildChanged(false);

    bool tabsChanged = true;
    QObject::connect(frame, &VirtualFrame::IsRecordChanged,
                     [&](bool* changed) { *changed = *changed || tabsChanged; });
    log->enqueue(LogService::kNo);
    EXPECT_TRUE(frame->ConfirmPending(true, false, false));
    EXPECT_EQ(log->messages().last().flags, LogService::kQuestion | LogService::kYesNo);

    // Without asking the changes are saved.
    events.take();
    EXPECT_TRUE(frame->ConfirmPending(false, false, false));
    EXPECT_EQ(events.take(), (QStringList{"ValidateRecord", "BeforeUpdate", "AfterUpdate(1)"}));
    EXPECT_EQ(log->messages().size(), 2);
}

TEST_F(Frame, RowsKeptPendingAreWrittenByTheFormsBatchWrite) {
    QObject::connect(frame, &VirtualFrame::UpdateBatchAll,
                     [&] { rs->UpdateBatch(Recordset::AffectAllChapters); });
    retype(name, "Zeta");
    EXPECT_TRUE(frame->UpdateRecord(true, true));
    EXPECT_FALSE(frame->isRecordChanged());
    EXPECT_EQ(stored(1, "TS01_NAME").toString(), "Alfa");
    frame->UpdateBatch();
    EXPECT_EQ(stored(1, "TS01_NAME").toString(), "Zeta");
}

TEST_F(Frame, AWriteConflictIsReportedAndTheChangeStaysPending) {
    retype(name, "Mine");
    db.connect()->Execute(QStringLiteral("UPDATE TS01_ITEMS SET TS01_NAME = 'Theirs' WHERE TS01_ID = 1"));
    events.take();
    EXPECT_FALSE(frame->UpdateRecord(true, false));
    EXPECT_EQ(events.take(), (QStringList{"ValidateRecord", "BeforeUpdate", "AfterUpdate(0)"}));
    ASSERT_EQ(log->messages().size(), 1);
    EXPECT_EQ(rs->Fields("TS01_NAME").Value().toString(), "Mine");
    EXPECT_TRUE(frame->RecordChanged());
}

TEST_F(Frame, DuringAnOutsideChangeControlsDoNotWriteAndTheEndShowsTheRow) {
    frame->BeginExternalChange();
    retype(name, "Ignored");
    EXPECT_EQ(rs->Fields("TS01_NAME").Value().toString(), "Alfa");
    rs->Fields("TS01_NAME").setValue(QStringLiteral("Outside"));
    frame->EndExternalChange();
    EXPECT_EQ(name->Text(), "Outside");

    frame->DataWillBeReread();
    EXPECT_EQ(name->Text(), "");
    frame->Detach();
    rs->Requery();
    frame->Attach(rs);
    EXPECT_EQ(name->Text(), "Alfa");
}

}  // namespace

#include "CheckBox.h"
#include "ComboBox.h"
#include "DateBox.h"
#include "Decimal.h"
#include "EditBox.h"
#include "EventLog.h"
#include "GridNavigator.h"
#include "NumericBox.h"
#include "QtPrinters.h"
#include "ScriptedLogService.h"
#include "TestForm.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMenu>
#include <QToolButton>

namespace {

class ControlEvents : public ::testing::Test {
protected:
    void SetUp() override {
        log = std::make_shared<ScriptedLogService>();
        first = form.add(new EditBox);
        amount = form.add(new NumericBox);
        due = form.add(new DateBox);
        kind = form.add(new ComboBox);
        flag = form.add(new CheckBox(QStringLiteral("Flag")));
        last = form.add(new EditBox);
        for (FrameControl* c : std::initializer_list<FrameControl*>{first, amount, due, kind, flag, last})
            c->setLogService(log);
        events.watch(first, QStringLiteral("A"));
        events.watch(amount, QStringLiteral("N"));
        events.watch(due, QStringLiteral("D"));
        events.watch(kind, QStringLiteral("C"));
        events.watch(flag, QStringLiteral("K"));
        ASSERT_TRUE(form.open());
        first->setFocus();
    }

    QWidget* focused() const { return QApplication::focusWidget(); }

    TestForm form;
    std::shared_ptr<ScriptedLogService> log;
    EventLog events;
    EditBox* first;
    NumericBox* amount;
    DateBox* due;
    ComboBox* kind;
    CheckBox* flag;
    EditBox* last;
};

TEST_F(ControlEvents, TabbingThroughFieldsRaisesEntryAndExitEventsInOrder) {
    QTest::keyClicks(focused(), "abc");
    QTest::keyClick(focused(), Qt::Key_Tab);
    QTest::keyClicks(focused(), "12");
    QTest::keyClick(focused(), Qt::Key_Tab);
    EXPECT_EQ(events.take(),
              (QStringList{"A.BeforeItem", "A.Validate", "A.AfterItem", "A.LostFocus", "N.BeforeItem",
                           "N.Validate", "N.AfterItem", "N.LostFocus", "D.BeforeItem"}));
    EXPECT_EQ(first->Value().toString(), "abc");
    EXPECT_EQ(amount->Value().value<Decimal>(), Decimal(12));
    EXPECT_TRUE(log->messages().isEmpty());

    // Backwards with Shift+Tab the same sequence runs on the way.
    QTest::keyClick(focused(), Qt::Key_Backtab);
    EXPECT_EQ(events.take(), (QStringList{"D.Validate", "D.AfterItem", "D.LostFocus", "N.BeforeItem"}));
    EXPECT_EQ(focused(), amount->editor());
}

TEST_F(ControlEvents, ValidateCancelKeepsFocusAndTextAndStopsTheExitEvents) {
    bool refuse = true;
    QObject::connect(first, &FrameControl::Validate, [&](bool* cancel) { *cancel = refuse; });
    QTest::keyClicks(focused(), "xyz");
    QTest::keyClick(focused(), Qt::Key_Tab);
    EXPECT_EQ(focused(), first->editor());
    EXPECT_EQ(first->Text(), "xyz");
    EXPECT_EQ(events.take(), (QStringList{"A.BeforeItem", "A.Validate"}));

    // Coming back is not a new entry; once accepted the exit completes.
    refuse = false;
    QTest::keyClick(focused(), Qt::Key_Tab);
    EXPECT_EQ(events.take(), (QStringList{"A.Validate", "A.AfterItem", "A.LostFocus", "N.BeforeItem"}));
}

TEST_F(ControlEvents, NumericBoxRefusesLettersAndMalformedNumbersWithAMessage) {
    amount->setFocus();
    QTest::keyClicks(focused(), "1a2b,5x0");
    EXPECT_EQ(amount->Text(), "12,50");
    QTest::keyClick(focused(), Qt::Key_Tab);
    EXPECT_EQ(amount->Value().value<Decimal>(), Decimal::fromString("12.5"));
    EXPECT_TRUE(amount->Valid());

    amount->setFocus();
    amount->lineEdit()->clear();
    QTest::keyClicks(focused(), "-");
    QTest::keyClick(focused(), Qt::Key_Tab);
    ASSERT_EQ(log->messages().size(), 1);
    EXPECT_EQ(log->messages()[0].flags, LogService::kExclamation);
    EXPECT_TRUE(log->messages()[0].text.contains("non è un numero valido"));
    EXPECT_EQ(focused(), amount->editor());
    EXPECT_EQ(amount->Text(), "-");
    EXPECT_FALSE(amount->Valid());

    // Amounts the Italian way.
    EXPECT_EQ(NumericBox::parseTyped(QStringLiteral("1.234,56")), Decimal::fromString("1234.56"));
    EXPECT_EQ(NumericBox::parseTyped(QStringLiteral("-1.234.567")), Decimal::fromString("-1234567"));
    EXPECT_EQ(NumericBox::parseTyped(QStringLiteral("1234.56")), Decimal::fromString("1234.56"));
    EXPECT_EQ(NumericBox::parseTyped(QStringLiteral(",5")), Decimal::fromString("0.5"));
    for (const char* bad : {"1.23,4", "12.34.5", "1,2,3", "1.234,5.6", ".", ""})
        EXPECT_FALSE(NumericBox::parseTyped(QString::fromLatin1(bad)).has_value()) << bad;

    amount->setDecimals(2);
    amount->setCurrencyLabel(QStringLiteral("EURO"));
    amount->setValue(QVariant::fromValue(Decimal::fromString("1234.5")));
    EXPECT_EQ(amount->Text(), "1234,50");
    EXPECT_EQ(amount->CurrencyLabel(), "EURO");
}

// A text column's length is kept where a character ends: an emoji typed or given by the input
// method in the last unit, or a letter with its accent, is never cut in two; what was there stays.
TEST_F(ControlEvents, ALimitedBoxCutsOnlyBetweenCharacters) {
    const auto commit = [&](const QString& text) {
        QInputMethodEvent event;
        event.setCommitString(text);
        QApplication::sendEvent(first->editor(), &event);
    };
    first->setMaxLength(5);
    QTest::keyClicks(focused(), "abcd");
    commit(QStringLiteral("\U0001F600"));  // two units where one is left
    EXPECT_EQ(first->Text(), QStringLiteral("abcd"));
    first->setText(QStringLiteral("abc"));
    first->lineEdit()->setCursorPosition(3);
    commit(QStringLiteral("e\u0301e\u0301"));  // two letters with their accents; room for one
    EXPECT_EQ(first->Text(), QStringLiteral("abce\u0301"));
    first->setText(QStringLiteral("abcd"));
    first->lineEdit()->setCursorPosition(2);
    commit(QStringLiteral("XYZ"));  // pasted in the middle: the text around it stays
    EXPECT_EQ(first->Text(), QStringLiteral("abXcd"));
    EXPECT_EQ(first->lineEdit()->cursorPosition(), 3);
}

TEST_F(ControlEvents, DateBoxAcceptsOnlyExistingDatesAndSaysWhy) {
    due->setFocus();
    QTest::keyClicks(focused(), "31/02/2024");
    QTest::keyClick(focused(), Qt::Key_Tab);
    ASSERT_EQ(log->messages().size(), 1);
    EXPECT_TRUE(log->messages()[0].text.contains("31/02/2024"));
    EXPECT_TRUE(log->messages()[0].text.contains("gg/mm/aaaa"));
    EXPECT_EQ(focused(), due->editor());
    EXPECT_EQ(due->Text(), "31/02/2024");
    EXPECT_FALSE(due->Value().isValid());

    due->lineEdit()->clear();
    QTest::keyClicks(focused(), "1a/3/2024");  // letters cannot be typed
    EXPECT_EQ(due->Text(), "1/3/2024");
    QTest::keyClick(focused(), Qt::Key_Tab);
    EXPECT_EQ(due->Text(), "01/03/2024");
    EXPECT_EQ(due->Value().toDate(), QDate(2024, 3, 1));
    EXPECT_EQ(log->messages().size(), 1);

    EXPECT_EQ(DateBox::parse("29022024"), QDate(2024, 2, 29));
    EXPECT_FALSE(DateBox::parse("29/02/2023"));
    EXPECT_FALSE(DateBox::parse("01/01/24"));
    EXPECT_FALSE(DateBox::parse("01/01/1800"));
}

TEST_F(ControlEvents, ComboRaisesChangeRowOnlyForTheUsersChoice) {
    int changes = 0;
    QObject::connect(kind, &ComboBox::ChangeRow, [&] { ++changes; });
    kind->setSorted(false);
    kind->Clear();
    kind->AddItem(QStringLiteral(" Nessuno"), -1);
    kind->AddItem(QStringLiteral(" Riba"), 1);
    kind->AddItem(QStringLiteral(" Rid"), 2);
    EXPECT_EQ(kind->ListIndex(), -1);
    EXPECT_TRUE(kind->Value().isNull());
    kind->SelectFirst();
    kind->setValue(2);
    EXPECT_EQ(kind->Text(), " Rid");
    EXPECT_EQ(changes, 0);

    kind->setFocus();
    events.take();
    QTest::keyClick(focused(), Qt::Key_Up);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(kind->Value().toInt(), 1);
    QTest::keyClick(focused(), Qt::Key_Tab);
    EXPECT_EQ(events.take(), (QStringList{"C.Validate", "C.AfterItem", "C.LostFocus", "K.BeforeItem"}));

    kind->setSorted(true);
    kind->Clear();
    kind->AddItem(QStringLiteral("b"), 2);
    kind->AddItem(QStringLiteral("a"), 1);
    kind->SelectFirst();
    EXPECT_EQ(kind->Value().toInt(), 1);
}

TEST_F(ControlEvents, CheckBoxClicksWithTheSpaceBarAndHoldsZeroOrOne) {
    int clicks = 0;
    QObject::connect(flag, &CheckBox::Click, [&] { ++clicks; });
    flag->setValue(1);
    EXPECT_EQ(flag->Text(), "1");
    flag->setValue(QVariant());
    EXPECT_EQ(flag->Value().toString(), "0");
    EXPECT_EQ(clicks, 0);

    flag->setFocus();
    QTest::keyClick(focused(), Qt::Key_Space);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(flag->Value().toString(), "1");

    flag->setAcceptsInput(false);
    QTest::keyClick(focused(), Qt::Key_Space);
    QTest::mouseClick(flag->checkBox(), Qt::LeftButton);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(flag->Value().toString(), "1");
}

TEST_F(ControlEvents, ReadOnlyAndTabStopAndEnterKey) {
    first->setAcceptsInput(false);
    first->setText(QStringLiteral("kept"));
    QTest::keyClicks(focused(), "zz");
    EXPECT_EQ(first->Text(), "kept");

    // A box without tab stop is skipped by Tab; Enter moves on like Tab and is reported.
    amount->setTabStop(false);
    QList<int> keys;
    QObject::connect(first, &FrameControl::KeyDown, [&](int key, int shift) { keys << key << shift; });
    QTest::keyPress(focused(), Qt::Key_Shift, Qt::ShiftModifier);  // modifiers have their codes too
    QTest::keyClick(focused(), Qt::Key_Return);
    ASSERT_GE(keys.size(), 4);
    EXPECT_EQ(keys.mid(0, 2), (QList<int>{16, 1}));
    EXPECT_EQ(keys.mid(keys.size() - 2), (QList<int>{13, 0}));
    EXPECT_EQ(focused(), due->editor());
}

// A button's access key presses it only once the field being left let go, as a click would.
TEST_F(ControlEvents, AButtonsAccessKeyWaitsForTheFieldBeingLeft) {
    auto* bar = form.add(new GridNavigator);
    bar->setCaption(QStringLiteral("Conferma"), QStringLiteral("Con&ferma"));
    QStringList pressed;
    QObject::connect(bar, &NavigatorBar::ButtonClick, [&](const QString& key, bool* cancel) {
        pressed << key;
        *cancel = true;
    });
    amount->setFocus();
    QTest::keyClick(focused(), Qt::Key_Minus);
    QTest::keyClick(&form, Qt::Key_F, Qt::AltModifier);
    QTest::qWait(300);
    EXPECT_TRUE(pressed.isEmpty()) << "the amount refused to be left";
    EXPECT_EQ(focused(), amount->editor());
    QTest::keyClick(focused(), Qt::Key_5);
    QTest::keyClick(&form, Qt::Key_F, Qt::AltModifier);
    QTest::qWait(300);
    EXPECT_EQ(pressed, QStringList{"Conferma"});
}

TEST_F(ControlEvents, KeyButtonMenuReportsTheChosenKey) {
    QStringList pressed;
    QObject::connect(first, &EditBox::KeyButtonMenuPress, [&](const QString& key) { pressed << key; });
    EXPECT_TRUE(first->keyButton()->isHidden());
    first->AddKeyButtonItem(QStringLiteral("Gestione"), QStringLiteral("Kgestione"));
    first->AddKeyButtonItem(QStringLiteral("Anagrafica Cig/Cup generica"), QStringLiteral("Kpers1"));
    EXPECT_FALSE(first->keyButton()->isHidden());
    first->keyButtonMenu()->actions().at(1)->trigger();
    EXPECT_EQ(pressed, QStringList{"Kpers1"});
    first->ClearKeyButtonItems();
    EXPECT_TRUE(first->keyButton()->isHidden());
}

}  // namespace

TEST(ControlsWithoutLog, StopAtOnceInsteadOfWaitingOnAMessageNobodyAnswers) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(
        {
            EditBox orphan;
            orphan.setObjectName(QStringLiteral("TXT_ORFANO"));
            orphan.logService();
        },
        "TXT_ORFANO has no log service");
}

#include "EditBox.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QtTest/QTest>

// A text column's length is kept where a character ends: an emoji typed or given by the input
// method in the last unit, or a letter with its accent, is never cut in two; what was there stays.
TEST(EditBox, ALimitedBoxCutsOnlyBetweenCharacters) {
    EditBox box;
    box.show();
    box.setMaxLength(5);
    const auto commit = [&](const QString& text) {
        QInputMethodEvent event;
        event.setCommitString(text);
        QApplication::sendEvent(box.editor(), &event);
    };
    box.setText(QStringLiteral("abcd"));
    box.lineEdit()->setCursorPosition(4);
    commit(QStringLiteral("\U0001F600"));  // two units where one is left
    EXPECT_EQ(box.Text(), QStringLiteral("abcd"));
    box.setText(QStringLiteral("abc"));
    box.lineEdit()->setCursorPosition(3);
    commit(QStringLiteral("e\u0301e\u0301"));  // two letters with their accents; room for one
    EXPECT_EQ(box.Text(), QStringLiteral("abce\u0301"));
    box.setText(QStringLiteral("abcd"));
    box.lineEdit()->setCursorPosition(2);
    commit(QStringLiteral("XYZ"));  // pasted in the middle: the text around it stays
    EXPECT_EQ(box.Text(), QStringLiteral("abXcd"));
    EXPECT_EQ(box.lineEdit()->cursorPosition(), 3);
}

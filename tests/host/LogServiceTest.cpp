#include "GuiLogService.h"
#include "QtPrinters.h"
#include "ScriptedLogService.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

namespace {

TEST(ScriptedLog, AnswersFromTheQueueAndRecordsEveryMessage) {
    ScriptedLogService log;
    log.enqueue(LogService::kNo);
    EXPECT_EQ(log.MsgBox("Procedere?", 324, "Richiesta conferma"), LogService::kNo);
    // Queue empty: the box's default button, marked as not scripted.
    EXPECT_EQ(log.MsgBox("Procedere?", 324, "Richiesta conferma"), LogService::kNo);
    EXPECT_EQ(log.MsgBox("Salvare?", 35, "Richiesta conferma"), LogService::kYes);
    EXPECT_EQ(log.MsgBox("Fatto", 64, "Informazione"), LogService::kOk);
    ASSERT_EQ(log.messages().size(), 4);
    EXPECT_TRUE(log.messages()[0].scripted);
    EXPECT_FALSE(log.messages()[1].scripted);
    EXPECT_EQ(log.messages()[3].title, "Informazione");
    EXPECT_EQ(log.messages()[3].flags, 64);
    EXPECT_EQ(log.messages()[3].text, "Fatto");
}

// What a person sees and presses in the real message box.
TEST(GuiLog, ShowsTheSuitesButtonsAndAnswersTheOnePressed) {
    struct Seen {
        QString title, text;
        QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        int buttons = 0;
    } seen;
    auto answer = [&seen](QMessageBox::StandardButton press) {
        QTimer::singleShot(0, [&seen, press] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) return;
            seen = {box->windowTitle(), box->text(), box->standardButton(box->defaultButton()), box->icon(),
                    int(box->buttons().size())};
            box->button(press)->click();
        });
    };
    GuiLogService log;
    answer(QMessageBox::No);
    EXPECT_EQ(log.MsgBox("Procedere?", 32 + 3 + 256, "Richiesta conferma"), LogService::kNo);
    EXPECT_EQ(seen.title, "Richiesta conferma");
    EXPECT_EQ(seen.icon, QMessageBox::Question);
    EXPECT_EQ(seen.buttons, 3);
    EXPECT_EQ(seen.defaultButton, QMessageBox::No);

    answer(QMessageBox::Ok);
    EXPECT_EQ(log.MsgBox("Fatto", 48, "Attenzione"), LogService::kOk);
    EXPECT_EQ(seen.icon, QMessageBox::Warning);
    EXPECT_EQ(seen.buttons, 1);
    EXPECT_EQ(seen.defaultButton, QMessageBox::Ok);
}

}  // namespace

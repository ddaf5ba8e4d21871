#include "QtPrinters.h"
#include "ScriptedLogService.h"

#include <gtest/gtest.h>

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

}  // namespace

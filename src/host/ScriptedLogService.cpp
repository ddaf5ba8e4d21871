#include "ScriptedLogService.h"

int ScriptedLogService::MsgBox(const QString& message, int flags, const QString& title) {
    Message m{title, flags, message, defaultAnswer(flags), !answers_.isEmpty()};
    if (m.scripted) m.answer = answers_.dequeue();
    messages_.append(m);
    return m.answer;
}

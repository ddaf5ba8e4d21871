#pragma once

#include "LogService.h"

// The log service of a run nobody watches (the application started by a script): each message
// goes to standard error at once, never into a window that would wait for a person, and gets
// the default answer of its box.
class StandardErrorLogService : public LogService {
public:
    int MsgBox(const QString& message, int flags, const QString& title) override;

    // How many messages were written: a scripted run that had something to say did not go as
    // planned.
    int written() const { return written_; }

private:
    int written_ = 0;
};

#pragma once

#include "ReminderLetter.h"

#include <QList>
#include <functional>
#include <memory>

class Connection;

// Records on each Bill of the letters the reminder the letter sends: a row of EF05_SCADSOLLEC
// with the letter's code and date, its interest and charges, numbered after the Bill's last
// reminder. Everything in one transaction on the clerk's connection (the database applies the
// clerk's rights): each Bill is held first, so that a colleague's save of the same Bill waits
// or makes this wait, and a Bill closed or deleted meanwhile refuses the whole run.
class ReminderRecorder {
public:
    explicit ReminderRecorder(std::shared_ptr<Connection> connection);

    // Writes the reminders, then runs `alsoInTransaction` (the letters' files written) and
    // commits. Throws SuiteError and writes nothing when anything fails.
    void record(const QList<ReminderLetter>& letters, const std::function<void()>& alsoInTransaction) const;

private:
    void recordOne(const LetterLine& line, const QDate& date) const;

    std::shared_ptr<Connection> connection_;
};

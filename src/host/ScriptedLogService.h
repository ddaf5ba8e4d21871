#pragma once

#include "LogService.h"

#include <QList>
#include <QQueue>
#include <QString>

// A log service that answers from a queue instead of a person, and records every message it
// was asked to show. Tests and the automation driver use it; when the queue is empty it gives
// the box's default answer and marks the message unanswered, so that a missing answer shows up.
class ScriptedLogService : public LogService {
public:
    struct Message {
        QString title;
        int flags = 0;
        QString text;
        int answer = 0;
        bool scripted = true;  // false: the queue was empty and the default answer was given
    };

    void enqueue(int answer) { answers_.enqueue(answer); }
    int pendingAnswers() const { return int(answers_.size()); }

    int MsgBox(const QString& message, int flags, const QString& title) override;

    const QList<Message>& messages() const { return messages_; }
    void clear() {
        messages_.clear();
        answers_.clear();
    }

private:
    QQueue<int> answers_;
    QList<Message> messages_;
};

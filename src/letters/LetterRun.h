#pragma once

#include "LetterBuilder.h"
#include "LettersDialog.h"

#include <QStringList>
#include <memory>

class Connection;
class QWidget;
class SuiteError;

// One run of reminder letters: the letters built, the reminders recorded on their Bills and the
// letters written, all or nothing. The files are written inside the reminders' transaction and
// removed when it does not commit, so that a letter exists exactly when its reminder does.
class LetterRun {
public:
    LetterRun(std::shared_ptr<Connection> connection, qint32 company);

    // Writes the letters as `output` says into `target` (a folder, or a file) and records their
    // reminders; answers the files written. Throws SuiteError, having written nothing.
    QStringList writeFiles(const QList<ReminderLetter>& letters, LettersDialog::Output output,
                           const QString& target) const;
    // The whole run from the calling program: the dialog, the letters for `selectText` (the
    // list's selection), what the clerk is about to send asked for confirmation, the outcome
    // told. `date` is the dialog's first date.
    void runFromList(const QString& selectText, const QDate& date, QWidget* parent) const;

    // What the clerk is told when a run failed: nothing was written, and why.
    static QString failureText(const SuiteError& error);

    const LetterBuilder& builder() const { return builder_; }

private:
    std::shared_ptr<Connection> connection_;
    LetterBuilder builder_;
};

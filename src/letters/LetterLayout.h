#pragma once

#include "ReminderLetter.h"

#include <QList>
#include <QString>

// Reminder letters as printed pages (HTML for a QTextDocument): the company's heading, the
// customer's address, the letter's texts around the table of overdue Bills, the total due and
// the bank details for payment. Amounts and dates in Italian format.
namespace LetterLayout {

QString html(const ReminderLetter& letter, const LetterSender& sender);
// Several letters in one document, each starting on a page of its own.
QString html(const QList<ReminderLetter>& letters, const LetterSender& sender);
// The PDF's title for a letter, and a file name for it (the customer's code and name).
QString title(const ReminderLetter& letter);
QString fileName(const ReminderLetter& letter);

}  // namespace LetterLayout

#pragma once

#include <QString>
#include <QtGlobal>

// The SQL the reminder form runs, every text through SqlText.
namespace ReminderStatements {

// The description of a reminder letter: a fixed text of kind 5 or 6 of the company.
QString letterDescription(qint32 company, const QString& code);
// The search list of reminder letters: code and description.
QString letterLookup(qint32 company);
// The description of a block level of the company.
QString blockDescription(qint32 company, const QString& code);
// The search list of the company's block levels.
QString blockLookup(qint32 company);

}  // namespace ReminderStatements

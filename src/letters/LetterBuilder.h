#pragma once

#include "ReminderLetter.h"

#include <QVariant>
#include <memory>

class Connection;
class LetterArchive;

// What the clerk chooses for a run of reminder letters.
struct LetterOptions {
    QDate date;                   // the letters' date, to which the days overdue are counted
    std::optional<Decimal> rate;  // yearly interest rate in percent; none: no interest
    Decimal charges;              // charged on each Bill reminded
};

// Builds reminder letters from the database: for a selection of Bills, one letter per customer
// with its open Bills overdue at the letters' date, each at the next level after its last
// reminder; or the letter of a reminder already recorded on a Bill. Reads only.
class LetterBuilder {
public:
    // The most Bills one run takes: a larger selection is refused, to be narrowed.
    static constexpr int kMostBills = 5000;

    LetterBuilder(std::shared_ptr<Connection> connection, qint32 company);

    // The letters for the Bills of `selectText` (the list's selection, a query of EF01_SCADENZE).
    // Throws SuiteError when the archive holds no letter, or the selection is too large.
    QList<ReminderLetter> forSelection(const QString& selectText, const LetterOptions& options) const;
    // The letter of the reminder `progressive` of the Bill `key`, as it was recorded. Throws
    // SuiteError when the Bill or the reminder is not there.
    ReminderLetter forReminder(const QString& key, int progressive) const;
    // The company and the bank on which it is paid (its first bank with an IBAN).
    LetterSender sender() const;

    // One Bill's line: its days overdue at the letter's date and, with a rate, the simple interest
    // from its due date to that date, to the cent.
    static LetterLine line(const QDate& due, const Decimal& amount, const LetterOptions& options);

private:
    void addCustomers(QList<ReminderLetter>& letters) const;
    void fillTexts(ReminderLetter& letter, const LetterArchive& archive) const;

    std::shared_ptr<Connection> connection_;
    qint32 company_;
};

#pragma once

#include "Decimal.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// One overdue Bill in a reminder letter, with the reminder that the letter records for it.
struct LetterLine {
    QString key;  // "company,numreg,row,progec,progeff"
    QString billNumber;
    QString documentNumber;
    QDate documentDate;
    QDate due;
    Decimal amount;
    int daysOverdue = 0;
    int level = 0;  // the reminder's progressive on the Bill (EF05_PROGAVVISI)
    QString letterCode;
    // Interest, when it is charged: the rate and the period it runs over.
    std::optional<Decimal> rate;
    QDate interestFrom;
    QDate interestTo;
    Decimal interest;
    Decimal charges;
    // The part of `charges` that an unpaid outcome put on the customer (the Bill's return charges):
    // asked again in every letter until the Bill is settled, recorded apart from the letter's cost.
    Decimal returnCharges = Decimal::fromMantissa(0, 2);

    Decimal total() const { return amount + interest + charges; }
};

// The letter to one customer: its texts (from the letter archive) around its overdue Bills.
struct ReminderLetter {
    QString customerCode;
    QString customerName;
    QStringList address;
    QDate date;
    QString letterCode;
    QString subject;  // the letter code's description
    QString head;     // text above the Bills
    QString foot;     // text below them
    QList<LetterLine> lines;

    Decimal total() const {
        Decimal sum = Decimal::fromMantissa(0, 2);
        for (const LetterLine& l : lines) sum = sum + l.total();
        return sum;
    }
};

// Who sends the letters and where the customer pays.
struct LetterSender {
    QString name;
    QString vatNumber;
    QString city;
    QString bankName;
    QString iban;
};

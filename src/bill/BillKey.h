#pragma once

#include <QString>

// A Bill's key as the calling list and the module hand it over: "company,registration,row,
// statement,progressive". The registration is text; the other parts are whole numbers.
struct BillKey {
    qint32 company = 0;
    QString registration;
    int row = 0;
    int statement = 0;
    int progressive = 0;

    // The key in `text`; SuiteError (refused by `source`) when it has not five parts or a number
    // part is not a whole number.
    static BillKey parse(const QString& text, const QString& source);
    // " WHERE ..." on the Bill's own table (`prefix` "EF01") or a child table's key columns
    // ("EF05", "EF06"...), the registration quoted.
    QString where(const QString& prefix) const;
};

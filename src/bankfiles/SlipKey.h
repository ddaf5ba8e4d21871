#pragma once

#include <QString>

// A slip (distinta) of the company as the history's movements name it: its kind (0 Ri.Ba., 1
// RID/SDD, the codes of EF09_INDTIPODIST), year and number.
struct SlipKey {
    qint32 company = 0;
    int kind = 0;
    int year = 0;
    int number = 0;

    static constexpr int kRiba = 0;
    static constexpr int kDirectDebit = 1;

    // "KIND/YEAR/NUMBER" of `company`; SuiteError when the text is not three whole numbers.
    static SlipKey parse(qint32 company, const QString& text);
    // "Ri.Ba. n. 4/2026", for the clerk.
    QString shown() const;
};

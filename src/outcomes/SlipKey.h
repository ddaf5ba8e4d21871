#pragma once

#include <QString>

// A presentation slip (EF09_DISTINTE) by its key: company, kind (0 " Riba", 1 " Rid" for SEPA
// direct debits, ...), year and number.
struct SlipKey {
    qint32 company = 0;
    int kind = 0;
    int year = 0;
    int number = 0;

    static constexpr int kRiba = 0;
    static constexpr int kSepaDirectDebit = 1;

    // "kind,year,number" of `company`; SuiteError (refused by `source`) when not three whole numbers.
    static SlipKey parse(qint32 company, const QString& text, const QString& source);
    // What the clerk reads: "Rid 2026/7".
    QString text() const;
    static QString kindName(int kind);
    // The condition on a history movement's link to this slip (`alias` "M" gives "M.EF06_...").
    QString movementLink(const QString& alias = QString()) const;
    // " WHERE ..." on the slip's own rows of `table` whose columns start with `prefix` ("KV22_").
    QString where(const QString& prefix) const;
};

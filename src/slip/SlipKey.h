#pragma once

#include <QString>

// A slip's key in EF09_DISTINTE: company, kind (EF09_INDTIPODIST), year and number. Its Bills
// are those whose presentation movement (EF06_INDTIPOPER 3) names it in EF06_*_EF09.
struct SlipKey {
    qint32 company = 0;
    int kind = 0;
    int year = 0;
    int number = 0;

    // "kind/year/number" or "kind,year,number" (the company is the session's); SuiteError (refused by
    // `source`) when it has not three whole numbers.
    static SlipKey parse(qint32 company, const QString& text, const QString& source);
    // As a clerk reads it: "Riba 2026/7".
    QString shown() const;
    // " WHERE ..." on the slip's own row of EF09_DISTINTE, or of a table keyed like it whose
    // columns start with `prefix` ("KV22_").
    QString where(const QString& prefix = QStringLiteral("EF09_")) const;
    // The condition (without WHERE) that a movement of EF06_SCADSTO names this slip; `alias` "M"
    // gives "M.EF06_...".
    QString link(const QString& alias = QString()) const;
    // The same for its presentation movement (type 3).
    QString movementLink() const;
};

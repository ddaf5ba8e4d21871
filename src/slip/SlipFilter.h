#pragma once

#include <QDate>
#include <QString>

// Which Bills a slip may take: open customer Bills of one bill type, due in a range, not yet
// presented (no presentation bank, EF01_INDPRES_S 0 or 1).
struct SlipFilter {
    int billType = 2;
    QDate dueFrom;  // invalid: no lower bound
    QDate dueTo;    // invalid: no upper bound

    // Takes the due dates as the clerk typed them (dd/mm/yyyy, empty for no bound); answers the
    // problem in Italian, empty when they are right, and leaves the filter as it was otherwise.
    QString setDueDates(const QString& from, const QString& to);
    // The problem with the bill type, empty when a slip takes it.
    QString typeProblem() const;
    // The conditions on EF01_SCADENZE (columns under `alias`), joined with AND.
    QString conditions(const QString& alias) const;
};

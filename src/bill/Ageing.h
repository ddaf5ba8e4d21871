#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

// How late open Bills are, counted from a day the caller gives (today, in the application), and
// the buckets the ageing view sums them in. A Bill due on that day is not yet overdue; one due
// the day before is 1 day overdue; a closed Bill is never overdue.
namespace Ageing {

// Not yet due, 1-30, 31-60, 61-90, over 90 days overdue.
constexpr int kBuckets = 5;

int daysOverdue(const QDate& due, const QDate& today, bool closed);
// The bucket of a number of days overdue (0 for none).
int bucketOf(int daysOverdue);
QStringList bucketTitles();

// The open amounts in euro of the Bills of `select` (the list's query, without ORDER BY) by
// counterpart: the counterpart's code (customer or supplier of the company for archives 0 and 1,
// ledger account of the group otherwise), its name (NULL when the archive has none), then one
// sum per bucket, ordered by code. Summed first and named after, so that the names are read once
// per counterpart. Closed Bills never count.
QString query(const QString& select, int tipoArchivio, qint32 company, qint32 ledgerGroup,
              const QDate& today);

}  // namespace Ageing

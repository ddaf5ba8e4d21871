#pragma once

#include "SlipKey.h"

#include <QDate>
#include <QStringList>
#include <memory>

class Connection;

// Stands in for the slip's creation from the calling list: a new EF09_DISTINTE row of `kind` dated
// `date`, and on each Bill the movement " Presentazione effetti" written through the history
// writer (the Bill before it as snapshot, the slip's link) and the presentation bank and
// indicator, in one transaction.
SlipKey presentSlip(const std::shared_ptr<Connection>& connection, int kind, const QDate& date,
                    const QStringList& bills);

// The keys of `count` open customer Bills of the demo company not yet presented (the first in key
// order after `skip`), their due date moved to `due`.
QStringList openBills(const std::shared_ptr<Connection>& connection, int count, const QDate& due,
                      int skip = 0);

#pragma once

#include "SlipBill.h"
#include "SlipFilter.h"

#include <QList>
#include <memory>

class Connection;

// The Bills a slip may take, read for the clerk to tick: of `source` (the calling list's
// selection, a query over EF01_SCADENZE; empty: every Bill of the company) those the filter
// admits, by due date.
class SlipCandidates {
public:
    SlipCandidates(std::shared_ptr<Connection> connection, qint32 company);

    QList<SlipBill> read(const QString& source, const SlipFilter& filter) const;

private:
    std::shared_ptr<Connection> connection_;
    qint32 company_;
};

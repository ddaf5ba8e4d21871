#pragma once

#include "SlipKey.h"
#include "StatusReport.h"

#include <QStringList>
#include <memory>

class Connection;

// What an imported status report did: the Bills it made unpaid, those already unpaid from an
// earlier import, the transactions that named no Bill of the slip (nothing written for them).
struct StatusReportResult {
    QStringList matched;
    QStringList alreadyDone;
    QStringList unknown;
    int accepted = 0;  // transactions the bank accepted: nothing to do
    // The report as the clerk reads it, one line each.
    QString text() const;
};

// Applies a status report to the SEPA direct debit slip it answers: each rejected or returned
// transaction (matched by end-to-end id = the Bill's key) becomes an unpaid with the bank's reason,
// all in one transaction. Refused whole (nothing written) for another slip kind, another original
// message or creditor, an unknown reason or a Bill that cannot be unpaid.
class StatusReportImport {
public:
    StatusReportImport(std::shared_ptr<Connection> connection, const SlipKey& slip);

    // `reminder`: each unpaid gets a first-level reminder row.
    StatusReportResult apply(const StatusReport& report, bool reminder) const;

private:
    std::shared_ptr<Connection> connection_;
    SlipKey slip_;
};

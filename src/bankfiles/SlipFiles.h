#pragma once

#include "Decimal.h"
#include "SlipKey.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <memory>

class Connection;

// The file the bank receives for a slip, made again on demand from the slip in the database: the
// CBI Ri.Ba. file for a Ri.Ba. slip, the SEPA pain.008 file for a RID/SDD slip. What the bank
// could not collect is refused with SuiteError, in Italian, naming the Bill; nothing is written
// then, and a file already at the path stays as it was.
namespace SlipFiles {

struct Written {
    QString format;  // "CBI Ri.Ba." or "SEPA pain.008"
    int bills = 0;
    Decimal total;
    qsizetype bytes = 0;
    QString messageId;   // of a SEPA file, with the creditor it names: its status report is
    QString creditorId;  // checked against them
};

// Refuses (SuiteError naming the Bill) a slip whose file the bank could not take; run on a slip
// being written, before it is committed.
void check(Connection& connection, const SlipKey& key);
// The file's content, made at `now`.
QByteArray content(Connection& connection, const SlipKey& key, const QDateTime& now,
                   Written* summary = nullptr);
// Writes the file of slip `key` to `path` whole or not at all; a SEPA file is then recorded with
// its slip, so that the bank's status report can be matched to it.
Written write(const std::shared_ptr<Connection>& connection, const SlipKey& key, const QString& path,
              const QDateTime& now = QDateTime::currentDateTime());

}  // namespace SlipFiles

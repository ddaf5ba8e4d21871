#pragma once

#include <QString>
#include <memory>

class Connection;

// One Bill on paper: its header, its bills of exchange and assignments, its history movements
// and its reminders, as HTML for a printed page. Amounts and dates in Italian format.
class BillReport {
public:
    BillReport(std::shared_ptr<Connection> connection, int tipoArchivio, qint32 ledgerGroup);

    // The page of the Bill with `key` ("company,numreg,row,progec,progeff", as the list keeps
    // it). Throws SuiteError when the key is malformed or the Bill is not there any more.
    QString html(const QString& key) const;

private:
    std::shared_ptr<Connection> connection_;
    int tipoArchivio_;
    qint32 ledgerGroup_;
};

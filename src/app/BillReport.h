#pragma once

#include <QDate>
#include <QString>
#include <memory>

class Connection;

// One Bill on paper: the company's heading and the print date, its header with the days
// overdue, its bills of exchange and assignments, its history movements, its reminders with
// their interest period and charges, and the total due; as HTML for a printed page, with the
// title and author its PDF carries. Amounts and dates in Italian format.
class BillReport {
public:
    struct Page {
        QString html;
        QString title;
        QString author;  // the company
    };

    BillReport(std::shared_ptr<Connection> connection, int tipoArchivio, qint32 ledgerGroup);

    // The page of the Bill with `key` ("company,numreg,row,progec,progeff", as the list keeps
    // it), printed on `today` (the days overdue counted to it). Throws SuiteError when the key
    // is malformed or the Bill is not there any more.
    Page page(const QString& key, const QDate& today) const;

private:
    std::shared_ptr<Connection> connection_;
    int tipoArchivio_;
    qint32 ledgerGroup_;
};

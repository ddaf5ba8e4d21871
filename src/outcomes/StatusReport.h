#pragma once

#include <QDate>
#include <QList>
#include <QString>

// A SEPA payment status report (pain.002.001.03) as the bank sends it back for a direct debit file:
// the original file it answers and, for each transaction it reports, its status and reason.
struct StatusReport {
    struct Transaction {
        QString endToEndId;
        QString status;  // TxSts: RJCT for a rejected or returned collection
        QString reason;  // StsRsnInf/Rsn/Cd
        QString information;
        QString creditorId;  // OrgnlTxRef/CdtrSchmeId, when the bank repeats it
        qint64 line = 0;
    };
    QString messageId;
    QDate created;
    QString originalMessageId;
    QString originalMessageName;
    QString groupStatus;
    QList<Transaction> transactions;

    // Reads `data`; SuiteError naming the line and what was expected when it is not such a report.
    static StatusReport parse(const QByteArray& data);
};

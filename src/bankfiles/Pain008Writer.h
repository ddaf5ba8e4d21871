#pragma once

#include "SlipContent.h"

#include <QByteArray>
#include <QDateTime>

// The SEPA direct-debit file of a RID/SDD slip: an ISO 20022 pain.008.001.02 message
// (CustomerDirectDebitInitiationV02). One payment information per collection date and sequence
// type (FRST for a recurrent mandate's first collection, RCUR after it, OOFF for a one-off
// mandate); each Bill a transaction whose end-to-end id is the Bill's key.
// Refuses (SuiteError, naming the Bill) a company without creditor identifier, a creditor or
// debtor IBAN whose check digits fail, a Bill without the debtor's IBAN or mandate, an amount
// that is not positive or too wide for the message.
class Pain008Writer {
public:
    static QByteArray write(const SlipContent& slip, const QDateTime& now);
    // The sequence type of `bill`'s collection.
    static QString sequenceType(const SlipContent::Bill& bill);
    // The message id of the file made at `now`, which its status report names back.
    static QString messageId(const SlipKey& key, const QDateTime& now);
};

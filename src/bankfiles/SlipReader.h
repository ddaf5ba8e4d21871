#pragma once

#include "SlipContent.h"

class Connection;

// Reads a slip from the database as the banks' files need it: the slip's row, its Bills (those
// whose " Presentazione effetti" movement names the slip), their customers, bank accounts and
// mandates, the company and the bank the slip is presented to. Refuses, with SuiteError and the
// reason in Italian, a slip that is not there or holds no Bill, Bills presented to different
// banks, a presentation bank that is not one of the company's.
class SlipReader {
public:
    explicit SlipReader(Connection& connection) : connection_(connection) {}

    SlipContent read(const SlipKey& key) const;

private:
    SlipContent::Creditor creditor(qint32 company) const;
    SlipContent::Bank bank(const SlipKey& key, int abi, int cab) const;
    std::vector<SlipContent::Bill> bills(const SlipKey& key) const;
    // The debtors' accounts already collected on an earlier direct-debit slip.
    QList<int> collectedAccounts(const SlipKey& key) const;

    Connection& connection_;
};

#pragma once

#include "CompanyBank.h"
#include "HistoryWriter.h"
#include "SlipBill.h"
#include "SlipKey.h"

#include <QDate>
#include <QList>
#include <functional>
#include <memory>

class Connection;

using SlipCheck = std::function<void(Connection& connection, const SlipKey& slip)>;

// What the clerk confirmed: the Bills ticked, as they were shown, for one bank.
struct SlipOrder {
    qint32 company = 0;
    int kind = 0;
    QDate date;  // the slip's creation date, and its movements'
    CompanyBank bank;
    QList<SlipBill> bills;
    // Run on the written slip before it is committed: what the bank's file needs of the slip
    // (the debtors' banks, IBANs and mandates) refused there, with the Bill named, writes nothing.
    SlipCheck check;

    // Why it cannot be written (no bank, a bank without ABI/CAB, no Bill), empty when it can.
    QString problem() const;
    Decimal total() const;
};

// Writes a slip in ONE transaction on the clerk's connection (the database applies the clerk's
// rights): the EF09_DISTINTE row, numbered after the year's last slip of its kind; on each Bill
// the presentation bank, agency and indicator; and a " Presentazione effetti" movement (type 3)
// whose snapshot is the Bill before and whose link names the slip, through the history writer
// the bill form's save uses (all the slip's movements at once). Each Bill is written only while
// it is as the clerk was shown it, open and not presented: otherwise SuiteError names it and
// nothing is written. Its movement is numbered after the last one the clerk's read found: a
// colleague's movement added since refuses the slip, naming the Bill.
class SlipWriter {
public:
    explicit SlipWriter(std::shared_ptr<Connection> connection);

    SlipKey write(const SlipOrder& order) const;

private:
    // The slip's row, under the next number; a colleague who took that number first (the key
    // refuses, or the engine's lock) makes it try the next one.
    SlipKey insertSlip(const SlipOrder& order) const;
    // The Bill's presentation, written only while it is as the clerk was shown it.
    void present(const SlipOrder& order, const SlipBill& bill) const;
    static HistoryMovement movement(const SlipOrder& order, const SlipKey& slip, const SlipBill& bill);
    // Why the Bill no longer takes the presentation, read after its guarded update refused.
    [[noreturn]] void refuse(const SlipOrder& order, const SlipBill& bill) const;

    std::shared_ptr<Connection> connection_;
};

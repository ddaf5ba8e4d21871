#pragma once

#include "Decimal.h"
#include "SlipKey.h"

#include <QDate>
#include <QHash>
#include <QList>
#include <memory>

class Connection;

// What became of a Bill presented on a slip: the last of its movements linked to the slip.
enum class BillOutcome { Presented, Paid, Unpaid };

struct PresentedBill {
    QString key;  // the Bill's key text (BillKey's form)
    int number = 0;
    QString customer;
    QDate due;
    Decimal amount;
    bool closed = false;
    BillOutcome outcome = BillOutcome::Presented;
    int lastProgressive = 0;  // the Bill's last history movement, as read
};

// The slip's state of our own: presented (no row or 0), credited, closed.
enum class SlipState { Presented = 0, Credited = 1, Closed = 2 };

struct SlipRow {
    SlipKey key;
    QDate created;
    int count = 0;
    Decimal total;
    QString bank;  // the presentation bank: the company's name for it, with its ABI and CAB
    SlipState state = SlipState::Presented;
    QDate credited;
    int unpaid = 0;
    QString sepaMessageId;
    QString creditorId;
};

// Reads the slips of a company with their state and their Bills; records the bank's credit and
// the SEPA file a slip went out with. The outcomes of the Bills are written by OutcomeRegistrar.
class SlipBook {
public:
    explicit SlipBook(std::shared_ptr<Connection> connection);

    QList<SlipRow> slips(qint32 company) const;
    // Throws SuiteError when the slip is not in the archive.
    SlipRow slip(const SlipKey& key) const;
    QList<PresentedBill> bills(const SlipKey& key) const;
    // The last history movement of each Bill of the slip: what the clerk saw, for the outcomes.
    static QHash<QString, int> seen(const QList<PresentedBill>& bills);

    // The bank credited the slip on `date`: refused before the slip's date or when already credited.
    void credit(const SlipKey& key, const QDate& date) const;
    // The SEPA file the slip went out with, checked when its status report comes back.
    void recordSepaFile(const SlipKey& key, const QString& messageId, const QString& creditorId) const;
    // Brings the slip's state up to date after outcomes (inside the caller's transaction): closed
    // on `date` when no Bill is left presented.
    void refreshState(const SlipKey& key, const QDate& date) const;

    static QString stateName(SlipState state);
    static QString outcomeName(BillOutcome outcome);

private:
    // The slip's state row, made when missing, held until the transaction ends.
    std::shared_ptr<class Recordset> stateRow(const SlipKey& key) const;

    std::shared_ptr<Connection> connection_;
};

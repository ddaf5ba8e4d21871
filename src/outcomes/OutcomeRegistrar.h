#pragma once

#include "SlipKey.h"
#include "UnpaidRequest.h"

#include <QDate>
#include <QHash>
#include <QStringList>
#include <memory>

class Connection;
class Recordset;

// Writes the bank's outcomes on the Bills of a slip, each in one transaction on the clerk's
// connection: " Incasso buon fine" (11) closes a Bill paid at maturity, " Insoluto" (4) opens it
// again with the return charges. Each movement goes through the history writer the bill form's
// save uses, with the Bill before it as snapshot and the slip's link, so the undo of the last
// movement brings the Bill back. Every Bill is held while it is written; a refusal (named Bill)
// or a failure writes nothing at all.
class OutcomeRegistrar {
public:
    // `seen`: the last history movement of each Bill as the clerk's view read it (SlipBook::seen);
    // a Bill changed since is refused with the conflict message. Empty: read now.
    explicit OutcomeRegistrar(std::shared_ptr<Connection> connection, QHash<QString, int> seen = {});

    // Paid on `date`: the chosen Bills, or every Bill of the slip still presented when `bills` is
    // empty. Answers how many Bills were closed.
    int pay(const SlipKey& slip, const QStringList& bills, const QDate& date) const;
    // The unpaid Bills, all in one transaction: Bills still presented, or collected with the slip
    // and come back.
    void unpaid(const QList<UnpaidRequest>& requests) const;

    // Checks what the clerk typed, before anything is read: SuiteError with the field's message.
    static void validate(const UnpaidRequest& request);

private:
    struct Held;
    Held hold(const SlipKey& slip, const QString& bill) const;
    void write(Held& held, int type, const QDate& date, const QHash<QString, QVariant>& changes,
               QHash<QString, QVariant> movementColumns) const;
    void unpaidOne(const UnpaidRequest& request) const;
    void addReminder(const Held& held, const UnpaidRequest& request) const;

    std::shared_ptr<Connection> connection_;
    QHash<QString, int> seen_;
};

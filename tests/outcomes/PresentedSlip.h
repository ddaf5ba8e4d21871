#pragma once

#include "BillKey.h"
#include "OutcomeRegistrar.h"
#include "SlipBook.h"
#include "SlipFixture.h"

// The outcomes are registered today, on Bills due in the past weeks.
inline const QDate kOutcomeDay = QDate::currentDate();

// Four RID Bills presented on a slip forty days ago, and a Ri.Ba. Bill left in portfolio.
class OutcomesTest : public SlipFixture {
protected:
    void SetUp() override {
        SlipFixture::SetUp();
        if (IsSkipped()) return;
        c_ = demo_->connection;
        today_ = kOutcomeDay.addDays(-40);
        layOut({11, 11, 11, 11, 2});
        bills_ = keyTexts().mid(0, 4);
        slip_ = present(11);
    }
    QVariant billColumn(const QString& key, const char* column) {
        Recordset rs;
        rs.Open(QStringLiteral("SELECT %1 FROM EF01_SCADENZE").arg(QLatin1String(column)) +
                    BillKey::parse(key, QStringLiteral("test")).where(QStringLiteral("EF01")),
                c_);
        return rs.Fields(0).Value();
    }
    QList<BillOutcome> outcomes() {
        QList<BillOutcome> out;
        for (const QString& key : bills_)
            for (const PresentedBill& b : SlipBook(c_).bills(slip_))
                if (b.key == key) out << b.outcome;
        return out;
    }
    UnpaidRequest unpaid(int bill) const {
        UnpaidRequest r;
        r.slip = slip_;
        r.bill = bills_.at(bill);
        r.date = kOutcomeDay.addDays(-2);
        r.bankCharges = Decimal::fromString(QStringLiteral("4.50"));
        r.chargesMode = 1;
        r.customerCharges = Decimal::fromString(QStringLiteral("4.50"));
        r.reminder = true;
        return r;
    }
    std::shared_ptr<Connection> c_;
    QStringList bills_;
    SlipKey slip_;
};

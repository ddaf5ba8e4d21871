#pragma once

// A demo company whose open customer Bills are only those a test lays out, due next month, and
// what a slip of them looks like in the database, read by SQL apart from the slip's code.
#include "BillFormFixture.h"
#include "CompanyBank.h"
#include "SlipCandidates.h"
#include "SlipKinds.h"
#include "SlipWriter.h"
#include "SqlText.h"

#include <QStringList>

class SlipFixture : public BillFormTest {
protected:
    static inline const QDate kToday{2026, 11, 20};

    // `types` bill types, the n-th Bill due on the (n+1)-th of next month for n × 1000,25 + 1000,25,
    // open and in portfolio; every other Bill of the company closed.
    void layOut(const QList<int>& types) {
        runSql(demo_->connection, QStringLiteral("UPDATE EF01_SCADENZE SET EF01_INDSTATO_S = 1"));
        for (int i = 0; i < types.size(); ++i) {
            const QString key = keyOfRow(i + 1);
            ASSERT_FALSE(key.isEmpty());
            keys_ << BillKey::parse(key, QStringLiteral("test"));
            runSql(
                demo_->connection,
                QStringLiteral("UPDATE EF01_SCADENZE SET EF01_INDSTATO_S = 0, EF01_TIPOEFF = %1,"
                               " EF01_BANCAPRE_SCG12 = NULL, EF01_AGENPRE_SCG13 = NULL, EF01_INDPRES_S = 1,"
                               " EF01_INDEXP = 0, EF01_IMPEFF_S = %2, EF01_SCADE_S = '%3'")
                        .arg(types.at(i))
                        .arg(Decimal::fromMantissa(100025LL * (i + 1), 2).toString())
                        .arg(QDate(2026, 12, i + 1).toString(QStringLiteral("yyyyMMdd"))) +
                    keys_.last().where(QStringLiteral("EF01")));
        }
    }
    SlipFilter nextMonth(int billType = 2) const {
        SlipFilter f;
        f.billType = billType;
        f.dueFrom = QDate(2026, 12, 1);
        f.dueTo = QDate(2026, 12, 31);
        return f;
    }
    CompanyBank bank(const std::shared_ptr<Connection>& on = nullptr) const {
        for (const CompanyBank& b : CompanyBank::of(on ? on : demo_->connection, DemoGenerator::kCompany))
            if (b.abi != 0 && b.cab != 0) return b;
        return {};
    }
    SlipOrder order(int billType = 2, const std::shared_ptr<Connection>& on = nullptr) const {
        SlipOrder o;
        o.company = DemoGenerator::kCompany;
        o.kind = *SlipKinds::forBillType(billType);
        o.date = kToday;
        o.bank = bank(on);
        o.bills = SlipCandidates(on ? on : demo_->connection, DemoGenerator::kCompany)
                      .read(QString(), nextMonth(billType));
        return o;
    }
    // Every column of the rows of `table` under `where`, one text per row: what "as before" means.
    QStringList rows(const QString& table, const QString& where) const {
        Recordset rs;
        rs.Open(QStringLiteral("SELECT * FROM ") + table + where, demo_->connection);
        QStringList out;
        for (; !rs.AtEOF(); rs.MoveNext()) {
            QStringList row;
            for (int i = 0; i < rs.FieldCount(); ++i) row << Value::toText(rs.Fields(i).Value());
            out << row.join(QLatin1Char('|'));
        }
        return out;
    }
    // The laid-out Bills, their movements and the slips: all a slip may write.
    QStringList everything() const {
        QStringList all = rows(QStringLiteral("EF09_DISTINTE"), QString());
        for (const BillKey& k : keys_)
            all << rows(QStringLiteral("EF01_SCADENZE"), k.where(QStringLiteral("EF01")))
                << rows(QStringLiteral("EF06_SCADSTO"), k.where(QStringLiteral("EF06")));
        return all;
    }
    // A value of `sql`'s first row, as text.
    QString value(const QString& sql) const {
        Recordset rs;
        rs.Open(sql, demo_->connection);
        return rs.AtEOF() ? QStringLiteral("<none>") : Value::toText(rs.Fields(0).Value());
    }

    QList<BillKey> keys_;
};

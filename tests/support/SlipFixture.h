#pragma once

// A demo company whose open customer Bills are only those a test lays out, presented on slips
// by the program's own writer, and what a slip looks like in the database, read by SQL apart
// from the slip's code.
#include "BillFormFixture.h"
#include "BillKey.h"
#include "BulkInserter.h"
#include "CompanyBank.h"
#include "GridNavigator.h"
#include "Schema.h"
#include "SlipCandidates.h"
#include "SlipKinds.h"
#include "SlipWriter.h"
#include "SqlText.h"
#include "TabControl.h"

#include <QStringList>
#include <optional>

class SlipFixture : public BillFormTest {
protected:
    static inline const QDate kToday{2026, 11, 20};

    // A customer of the company's own, with its registry and its bank account (id: its code).
    struct Customer {
        int code = 0;
        QString name{};
        QString iban{};  // empty: no account
        int abi = 0;     // the support bank its Bills carry; 0: none
        int cab = 0;
        bool mandate = true;
        bool oneOff = false;
        bool firstDone = false;
    };
    struct Laid {
        int type = 2;
        std::optional<Decimal> amount{};  // none: n × 1000,25 for the n-th Bill laid out
        QDate due{};                      // invalid: the n-th of the month after today_
        int customer = 0;                 // 0: the Bill's own
    };

    // Each of `bills` on the next customer Bill in key order, open and in portfolio, with its
    // document numbered as laid out; every other Bill not yet presented closed.
    void layOut(const QList<Laid>& bills) {
        runSql(
            demo_->connection,
            QStringLiteral("UPDATE EF01_SCADENZE SET EF01_INDSTATO_S = 1 WHERE EF01_BANCAPRE_SCG12 IS NULL"));
        for (const Laid& laid : bills) {
            const int n = int(keys_.size()) + 1;
            const QString key = keyOfRow(n);
            ASSERT_FALSE(key.isEmpty());
            keys_ << BillKey::parse(key, QStringLiteral("test"));
            const QDate next = today_.addMonths(1);
            const QDate due = laid.due.isValid() ? laid.due : QDate(next.year(), next.month(), n);
            QString set =
                QStringLiteral(
                    "EF01_INDSTATO_S = 0, EF01_INDGENSTATO_S = 0, EF01_TIPOEFF = %1, EF01_BANCAPRE_SCG12 = "
                    "NULL, "
                    "EF01_AGENPRE_SCG13 = NULL, EF01_INDPRES_S = 1, EF01_INDEXP = 0, EF01_IMPEFF_S = "
                    "%2, EF01_SCADE_S = '%3', EF01_NUMDOC = %4, EF01_DATADOC = '%5'")
                    .arg(laid.type)
                    .arg(laid.amount.value_or(Decimal::fromMantissa(100025LL * n, 2)).toString())
                    .arg(due.toString(QStringLiteral("yyyyMMdd")))
                    .arg(n)
                    .arg(due.addDays(-60).toString(QStringLiteral("yyyyMMdd")));
            if (laid.customer != 0) {
                const Customer& cu = customers_.at(laid.customer);
                set += QStringLiteral(
                           ", EF01_CLIFOR_CG44 = %1, EF01_BANCAAPP_CG12 = %2, EF01_AGENAPP_CG13 = %3, "
                           "EF01_ID_MG35 = %4")
                           .arg(cu.code)
                           .arg(cu.abi ? QString::number(cu.abi) : QStringLiteral("NULL"))
                           .arg(cu.abi ? QString::number(cu.cab) : QStringLiteral("NULL"))
                           .arg(cu.iban.isEmpty() ? QStringLiteral("NULL") : QString::number(cu.code));
            }
            runSql(demo_->connection, QStringLiteral("UPDATE EF01_SCADENZE SET ") + set +
                                          keys_.last().where(QStringLiteral("EF01")));
        }
    }
    void layOut(const QList<int>& types) {
        QList<Laid> bills;
        for (int type : types) bills << Laid{.type = type};
        layOut(bills);
    }
    void customer(const Customer& cu) {
        put("CG16_ANAGGEN", {{"CG16_CODICE", cu.code},
                             {"CG16_RAGSOANAG", cu.name},
                             {"CG16_INDIRIZZO", QStringLiteral("Via Roma 1")},
                             {"CG16_CAP", QStringLiteral("20121")},
                             {"CG16_CITTA", QStringLiteral("Milano")},
                             {"CG16_PROV", QStringLiteral("MI")},
                             {"CG16_CODFISC", QStringLiteral("RSSMRA80A01F205X")}});
        put("CG44_CLIFOR", {{"CG44_DITTA_CG18", DemoGenerator::kCompany},
                            {"CG44_TIPOCF", 0},
                            {"CG44_CLIFOR", cu.code},
                            {"CG44_ANAGEN_CG16", cu.code}});
        if (!cu.iban.isEmpty())
            put("MG35_CLIFORCC", {{"MG35_ID", cu.code},
                                  {"MG35_DITTA_CG18", DemoGenerator::kCompany},
                                  {"MG35_TIPOCF_CG44", 0},
                                  {"MG35_CLIFOR_CG44", cu.code},
                                  {"MG35_PROGR", 1},
                                  {"MG35_IBAN", cu.iban}});
        if (!cu.iban.isEmpty() && cu.mandate)
            put("KV21_MANDATI", {{"KV21_ID_MG35", cu.code},
                                 {"KV21_IDMANDATO", QStringLiteral("MND-%1").arg(cu.code)},
                                 {"KV21_DATAFIRMA", QDate(2024, 5, 2)},
                                 {"KV21_INDSEQUENZA", cu.oneOff ? 1 : 0},
                                 {"KV21_FLGPRIMOINC", cu.firstDone ? 1 : 0}});
        customers_[cu.code] = cu;
    }

    CompanyBank bank(const std::shared_ptr<Connection>& on = nullptr) const {
        for (const CompanyBank& b : CompanyBank::of(on ? on : demo_->connection, DemoGenerator::kCompany))
            if (b.abi != 0 && b.cab != 0) return b;
        return {};
    }
    // Every open Bill of `billType` not yet presented, on the first bank with ABI and CAB.
    SlipOrder order(int billType = 2, const std::shared_ptr<Connection>& on = nullptr) const {
        SlipOrder o;
        o.company = DemoGenerator::kCompany;
        o.kind = *SlipKinds::forBillType(billType);
        o.date = today_;
        o.bank = bank(on);
        SlipFilter all;
        all.billType = billType;
        o.bills = SlipCandidates(on ? on : demo_->connection, DemoGenerator::kCompany).read(QString(), all);
        return o;
    }
    SlipKey present(int billType) const { return SlipWriter(demo_->connection).write(order(billType)); }

    // The laid-out Bills' keys as the calling list hands them over.
    QStringList keyTexts() const {
        QStringList out;
        for (const BillKey& k : keys_)
            out << QStringLiteral("%1,%2,%3,%4,%5")
                       .arg(k.company)
                       .arg(k.registration)
                       .arg(k.row)
                       .arg(k.statement)
                       .arg(k.progressive);
        return out;
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
    QString bill(const BillKey& k, const char* column) const {
        return value(QStringLiteral("SELECT %1 FROM EF01_SCADENZE").arg(QLatin1String(column)) +
                     k.where(QStringLiteral("EF01")));
    }
    // The bill form's undo of the Bill's last history movement, as a privileged clerk; the
    // messages it showed stay in log_.
    void undoLast(const QString& key) {
        module_ = std::make_unique<CLSKV_TARSELLO>([] { return std::make_unique<FRMKV_TARSELLO>(); });
        module_->setClsGlobal(host_);
        module_->TipoArchivio = 0;
        module_->ChiaveEffettoInGestione = key;
        host_->setPrivileged(true);
        FRMKV_TARSELLO* f = showTab(FRMKV_TARSELLO::TabStorico);
        ASSERT_TRUE(f);
        deleteLastMovement(f);
        module_->CloseForm();
    }
    // The history refuses Bill `k`'s movements, as a fault would, until mendWrites.
    void breakMovementsOf(const BillKey& k) {
        breakWrites(demo_->connection, GetParam(), QStringLiteral("INSERT"), QStringLiteral("EF06_SCADSTO"),
                    QStringLiteral("NEW.EF06_NUMREG_CO99 = %1 AND NEW.EF06_PROGEFF_EF01 = %2")
                        .arg(SqlText::quote(k.registration))
                        .arg(k.progressive));
    }
    int movements() const { return demo_->count(QStringLiteral("SELECT COUNT(*) FROM EF06_SCADSTO")); }

    QDate today_ = kToday;  // the slips' date; the Bills fall due the month after
    QList<BillKey> keys_;

private:
    void put(const char* table, std::initializer_list<std::pair<const char*, QVariant>> values) {
        BulkInserter inserter(*demo_->connection, *Schema::catalogue()->table(QString::fromLatin1(table)));
        BulkInserter::Row row = inserter.newRow();
        for (const auto& [column, value] : values) row.set(QString::fromLatin1(column), value);
        inserter.insert(row);
        inserter.flush();
    }

    std::map<int, Customer> customers_;
};

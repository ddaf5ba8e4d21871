#pragma once

#include "BulkInserter.h"
#include "DemoGenerator.h"
#include "DemoRandom.h"
#include "TransactionScope.h"

#include <QDate>
#include <QHash>
#include <QMap>
#include <QStringList>
#include <map>
#include <optional>
#include <tuple>

// Writes the demo company for DemoGenerator: the archives (DemoArchives.cpp), then the Bills
// with their history and child records (DemoBills.cpp), all through one inserter per table.
class DemoBuilder {
public:
    struct City {
        const char* name;
        const char* province;
        const char* cap;
        int cab;
        const char* nation;
    };
    struct Bank {
        int abi;
        const char* name;
        const char* bic;
    };
    struct Currency {
        const char* code;
        const char* name;
        double start;  // units for one euro at the start of the books
        int decimals;
    };

    DemoBuilder(Connection& connection, const DemoGenerator::Options& options);

    DemoGenerator::Counts run();

    // The first day of the demo's books and the day they stand at.
    QDate booksStart() const {
        return workday(o_.booksStart.isValid() ? o_.booksStart : QDate(today().year() - 1, 1, 2));
    }
    QDate today() const { return o_.today; }

private:
    using Row = BulkInserter::Row;

    // A counterpart of the demo company.
    struct Counterpart {
        int type = 0;  // 0 customer, 1 supplier
        int code = 0;
        QString name;
        QString city;
        int agent = 0;         // MG17_IDAGENTE, 0 none
        QString payment;       // CG62_CODICE
        int accountId = 0;     // MG35_ID of its first account, 0 none
        int abi = 0, cab = 0;  // bank of that account when Italian or Sammarinese
        bool publicBody = false;
        bool professional = false;  // a supplier that suffers withholding tax
        QList<int> cigCup;          // CO1H_ID of the pairs assigned to it
    };

    struct BillKey {
        QString numreg;
        int riga = 1;
        int progec = 1;
        int progeff = 1;
    };

    // The part of a Bill that its history movements snapshot.
    struct BillState {
        QDate scade;
        int indStato = 0, indGenStato = 0, indPres = 0, indSperit = 0;
        int flgSteff = 0, flgGirato = 0, flgRicevuto = 0, flgIncassoBf = 0;
        QVariant numSteff, bancaPre, agenPre, speseRit, speseRitBan, impAdeg, cambioAd, dataCambioAd;
        int numRiemis = 0;
        Decimal impEff, impEffNetPrev;
        QVariant impEffVal, impEffNetPrevVal;
    };

    // What the Bills of one document share.
    struct Document {
        const Counterpart* cp = nullptr;  // none for a ledger account's Bills
        int archive = 0;
        BillKey key;
        QDate dataDoc, dataReg;
        int year = 0;
        int tipoEff = 0;
        QString currency;
        QVariant cambio, dataCambio;
        bool foreign = false;
        int decimals = 2;
        Decimal total, vat, withholding;
        int instalments = 1;
        int numdoc = 0;
        QString sezdoc;
        int cigCup = 0;  // CO1H_ID, 0 none
        bool publicBody() const { return cp && cp->publicBody; }
        // A euro amount in the document's currency; null for a Bill in euro.
        QVariant inCurrency(const Decimal& euro) const;
    };

    // One instalment of a document: its original due date, amounts and history path.
    struct Instalment {
        int rata = 1;
        QDate scade;
        bool pastDue = false;
        Decimal euro;
        QVariant val;
        QList<int> path;
    };

    // One history movement of a Bill: its progressive, type and day, and the Bill's kind.
    struct Movement {
        BillKey key;
        int progsto = 0;
        int type = 0;
        QDate date;
        int archive = 0;
        int tipoEff = 0;
        QString currency;
        QVariant cambio;
    };

    struct Distinta {
        int number = 0;
        int count = 0;
        Decimal total;
        QDate date;
        std::pair<int, int> bank;  // a slip's one bank (ABI, CAB); none for a transfer order
    };

    using OpenBatches = std::map<std::tuple<int, int>, Distinta>;         // (kind, year)
    using ClosedBatches = std::map<std::tuple<int, int, int>, Distinta>;  // (kind, year, number)
    int addToBatch(OpenBatches& open, ClosedBatches& closed, int kind, QDate date, int capacity,
                   const Decimal& amount);

    BulkInserter& to(const char* table) { return *ins_.at(QString::fromLatin1(table)); }
    void write(const char* table, const QList<std::pair<const char*, QVariant>>& values) {
        BulkInserter& in = to(table);
        Row r = in.newRow();
        for (const auto& [name, value] : values) r.set(QString::fromLatin1(name), value);
        in.insert(r);
    }
    void flushAll() {
        for (auto& [name, in] : ins_) in->flush();
    }
    static QString s(const char* text) { return QString::fromUtf8(text); }

    void company();
    void banks();
    void currencies();
    void codes();
    void users();
    void messages();
    void agents();
    void cigCupPairs();
    void counterparts();
    void registryPeriods(Counterpart& cp, int reg);
    int registry(const QString& name, const City& city);
    void bankAccount(Counterpart& cp, int progr);
    void bills();
    void document(const Counterpart* cp, int archive, long long remaining);
    Document registration(const Counterpart* cp, int archive);
    int billType(const Document& d);
    void documentCurrency(Document& d);
    void documentAmounts(Document& d, long long remaining);
    void instalment(const Document& d, int rata, const Decimal& share);
    QString billRow(const Document& d, const Instalment& in, const BillState& st);
    void billOwner(Row& r, const Document& d);
    void billDocument(Row& r, const Document& d, const Instalment& in, const BillState& st);
    void billAmounts(Row& r, const Document& d, const Instalment& in, const BillState& st);
    void billState(Row& r, const Document& d, const Instalment& in, const BillState& st);
    QString billLinks(Row& r, const Document& d, const Instalment& in);
    void exchangeLink(const Document& d, const QVariantList& received, bool endorse);
    void note(const BillKey& key);
    QList<int> scenario(int archive, int tipoEff, bool foreign, bool pastDue, bool publicBody);
    QString guid();
    QDate workday(QDate d) const;
    QVariant rateOf(const QString& currency, QDate day) const;
    void movement(const Movement& m, BillState& st);
    void snapshot(Row& r, const Movement& m, const BillState& st);
    void accounting(Row& r, QDate date);
    static void paid(Row& r, const BillState& st);
    void sepaReason(Row& r, const QList<const char*>& codes);
    void payment(Row& r, const Movement& m, BillState& st);
    void transferOrder(Row& r, const Movement& m, const BillState& st);
    void presentation(Row& r, const Movement& m, BillState& st);
    void unpaid(Row& r, const Movement& m, BillState& st);
    void rateAdjustment(Row& r, const Movement& m, BillState& st);
    void reminders(const BillKey& key, const BillState& st, QDate from);
    void finish();

    Connection& c_;
    const DemoGenerator::Options& o_;
    DemoRandom rnd_;
    std::map<QString, std::unique_ptr<BulkInserter>> ins_;
    DemoGenerator::Counts counts_;

    QList<Counterpart> customers_, suppliers_;
    QList<std::pair<int, int>> agencies_;  // ABI, CAB of every Italian agency
    QList<std::pair<int, int>> companyBanks_;
    QHash<QString, QMap<QDate, double>> rates_;
    QStringList floating_;  // codes of the currencies without a fixed rate
    int nextRegistry_ = 1, nextAccount_ = 1;
    QMap<int, int> numregByYear_, numeffByYear_;
    int movementNumber_ = 0;
    OpenBatches openDist_;
    ClosedBatches distinte_;
    OpenBatches openOrders_;
    ClosedBatches orders_;
    QHash<int, QString> cigByPair_, cupByPair_;
    // Customer bills of exchange endorsed to a supplier not yet written: their EF03 row waits
    // for the key of the supplier's Bill.
    QList<std::pair<BillKey, Row>> endorsedPending_;
    long long billsInTransaction_ = 0;
    // The demo is written in transactions of o_.billsPerTransaction Bills (one when 0).
    std::optional<TransactionScope> transaction_;
};

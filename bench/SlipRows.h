#pragma once

#include "BulkInserter.h"
#include "Decimal.h"
#include "Iban.h"
#include "Schema.h"
#include "SlipKey.h"
#include "SlipKinds.h"

#include <QDate>
#include <map>
#include <memory>

// For the slip file's benchmark, where presenting 10,000 Bills one by one would measure the
// presentation instead: a company with one bank, customers with their bank accounts and mandates,
// and slips of Bills, written straight into a database with the schema as the slip's creation
// leaves them: the slip's row, each Bill's " Presentazione effetti" movement naming the slip, the
// Bill's presentation bank and presented state.
class SlipRows {
public:
    static constexpr qint32 kCompany = 1;
    static constexpr int kBankAbi = 3069;
    static constexpr int kBankCab = 11101;
    static constexpr int kYear = 2026;

    struct Customer {
        int code = 0;
        QString name{};
        QString iban{};  // the account's; empty: no account
        int abi = 0;     // the Bill's own support bank; 0: none
        int cab = 0;
        bool mandate = true;
        bool oneOff = false;
        bool firstDone = false;
    };

    explicit SlipRows(Connection& connection) : c_(connection) {}

    // The company, its data for the banks and its bank (IBAN of ABI kBankAbi, CAB kBankCab).
    void company(const QString& sia, const QString& creditorId) {
        put("CG18_DITTE", {{"CG18_DITTA", kCompany},
                           {"CG18_RAGSOC", QStringLiteral("Ferramenta Lombarda S.p.A.")},
                           {"CG18_PARTIVA", QStringLiteral("IT03927460161")},
                           {"CG18_CITTA", QStringLiteral("Bergamo")}});
        put("KV20_DATIBANCA", {{"KV20_DITTA_CG18", kCompany},
                               {"KV20_CODSIA", sia.isEmpty() ? QVariant() : QVariant(sia)},
                               {"KV20_CUC", QStringLiteral("1234567X")},
                               {"KV20_IDCREDITORE", creditorId.isEmpty() ? QVariant() : QVariant(creditorId)},
                               {"KV20_INDIRIZZO", QStringLiteral("Via dei Mille 12")},
                               {"KV20_CAP", QStringLiteral("24121")},
                               {"KV20_PROV", QStringLiteral("BG")}});
        put("CG12_BANCHE", {{"CG12_BANCA", kBankAbi},
                            {"CG12_DESCR", QStringLiteral("Intesa Sanpaolo")},
                            {"CG12_BIC", QStringLiteral("BCITITMM")}});
        put("EF08_BANCHEAZ", {{"EF08_DITTA_CG18", kCompany},
                              {"EF08_PROGR", 1},
                              {"EF08_DESCR", QStringLiteral("Intesa c/c 7919")},
                              {"EF08_BANCA_CG12", kBankAbi},
                              {"EF08_AGENZIA_CG13", kBankCab},
                              {"EF08_IBAN", Iban::make(QStringLiteral("IT"),
                                                       Iban::italianBban(kBankAbi, kBankCab,
                                                                         QStringLiteral("000000107919")))}});
    }

    // The customer, its registry and its bank account with its mandate; answers the account's id.
    int customer(const Customer& cu) {
        put("CG16_ANAGGEN", {{"CG16_CODICE", cu.code},
                             {"CG16_RAGSOANAG", cu.name},
                             {"CG16_INDIRIZZO", QStringLiteral("Via Roma 1")},
                             {"CG16_CAP", QStringLiteral("20121")},
                             {"CG16_CITTA", QStringLiteral("Milano")},
                             {"CG16_PROV", QStringLiteral("MI")},
                             {"CG16_CODFISC", QStringLiteral("RSSMRA80A01F205X")}});
        put("CG44_CLIFOR", {{"CG44_DITTA_CG18", kCompany},
                            {"CG44_TIPOCF", 0},
                            {"CG44_CLIFOR", cu.code},
                            {"CG44_ANAGEN_CG16", cu.code}});
        if (cu.iban.isEmpty()) return 0;
        const int id = cu.code;
        put("MG35_CLIFORCC", {{"MG35_ID", id},
                              {"MG35_DITTA_CG18", kCompany},
                              {"MG35_TIPOCF_CG44", 0},
                              {"MG35_CLIFOR_CG44", cu.code},
                              {"MG35_PROGR", 1},
                              {"MG35_IBAN", cu.iban}});
        if (cu.mandate)
            put("KV21_MANDATI", {{"KV21_ID_MG35", id},
                                 {"KV21_IDMANDATO", QStringLiteral("MND-%1").arg(cu.code)},
                                 {"KV21_DATAFIRMA", QDate(2024, 5, 2)},
                                 {"KV21_INDSEQUENZA", cu.oneOff ? 1 : 0},
                                 {"KV21_FLGPRIMOINC", cu.firstDone ? 1 : 0}});
        customers_[cu.code] = cu;
        return id;
    }

    // A Bill of `customer` presented on slip `slip`; answers its registration number.
    QString bill(const SlipKey& slip, int customer, const Decimal& amount, const QDate& due) {
        const Customer cu = customers_.count(customer) ? customers_.at(customer) : Customer{.code = customer};
        const QString numreg = QStringLiteral("%1%2").arg(kYear).arg(++bills_, 6, 10, QLatin1Char('0'));
        put("EF01_SCADENZE", {{"EF01_DITTA_CG18", kCompany},
                              {"EF01_NUMREG_CO99", numreg},
                              {"EF01_RIGACONT_CG42", 1},
                              {"EF01_PROGEC_EC01", 1},
                              {"EF01_PROGEFF", 1},
                              {"EF01_DITTACF_CG18", kCompany},
                              {"EF01_TIPOCF_CG44", 0},
                              {"EF01_CLIFOR_CG44", customer},
                              {"EF01_INDCONTO", 0},
                              {"EF01_TIPOEFF", slip.kind == SlipKinds::kRiba ? 2 : 11},
                              {"EF01_SCADE_S", due},
                              {"EF01_DATADOC", due.addDays(-60)},
                              {"EF01_NUMDOC", bills_},
                              {"EF01_CODICE_CG08", QStringLiteral("EURO")},
                              {"EF01_IMPEFF_S", QVariant::fromValue(amount)},
                              {"EF01_INDSTATO_S", 0},
                              {"EF01_INDPRES_S", slip.kind == SlipKinds::kRiba ? 2 : 5},
                              {"EF01_BANCAAPP_CG12", cu.abi ? QVariant(cu.abi) : QVariant()},
                              {"EF01_AGENAPP_CG13", cu.abi ? QVariant(cu.cab) : QVariant()},
                              {"EF01_BANCAPRE_SCG12", kBankAbi},
                              {"EF01_AGENPRE_SCG13", kBankCab},
                              {"EF01_ID_MG35", cu.iban.isEmpty() ? QVariant() : QVariant(cu.code)}});
        put("EF06_SCADSTO", {{"EF06_DITTA_CG18", kCompany},
                             {"EF06_NUMREG_CO99", numreg},
                             {"EF06_RIGACONT_EF01", 1},
                             {"EF06_PROGEC_EF01", 1},
                             {"EF06_PROGEFF_EF01", 1},
                             {"EF06_PROGSTO", 1},
                             {"EF06_DATAREG", QDate(kYear, 3, 1)},
                             {"EF06_INDTIPOPER", 3},
                             {"EF06_INDSTATO_S", 0},
                             {"EF06_INDPRES_S", 0},
                             {"EF06_IMPEFF_S", QVariant::fromValue(amount)},
                             {"EF06_DITTA_EF09", kCompany},
                             {"EF06_INDTIPODIST_EF09", slip.kind},
                             {"EF06_ANNO_EF09", slip.year},
                             {"EF06_NUMDIST_EF09", slip.number}});
        return numreg;
    }

    void slip(const SlipKey& slip, int count, const Decimal& total) {
        put("EF09_DISTINTE", {{"EF09_DITTA_CG18", kCompany},
                              {"EF09_INDTIPODIST", slip.kind},
                              {"EF09_ANNO", slip.year},
                              {"EF09_NUMDIST", slip.number},
                              {"EF09_DATACRESUPP", QDate(kYear, 3, 1)},
                              {"EF09_NUMTOTEFF", count},
                              {"EF09_IMPTOTEFF", QVariant::fromValue(total)}});
        put("KV25_BANCHEDIST", {{"KV25_DITTA_CG18", kCompany},
                                {"KV25_INDTIPODIST", slip.kind},
                                {"KV25_ANNO", slip.year},
                                {"KV25_NUMDIST", slip.number},
                                {"KV25_BANCA_CG12", kBankAbi},
                                {"KV25_AGENZIA_CG13", kBankCab}});
    }

    // Writes what the calls above gathered.
    void flush() {
        for (auto& [name, inserter] : inserters_) inserter->flush();
    }

private:
    void put(const char* table, std::initializer_list<std::pair<const char*, QVariant>> values) {
        const QString name = QString::fromLatin1(table);
        auto& inserter = inserters_[name];
        if (!inserter) inserter = std::make_unique<BulkInserter>(c_, *Schema::catalogue()->table(name));
        BulkInserter::Row row = inserter->newRow();
        for (const auto& [column, value] : values) row.set(QString::fromLatin1(column), value);
        inserter->insert(row);
    }

    Connection& c_;
    std::map<QString, std::unique_ptr<BulkInserter>> inserters_;
    std::map<int, Customer> customers_;
    int bills_ = 0;
};

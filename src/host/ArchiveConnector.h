#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <QVariant>

// The host's decode and lookup preparations over the suite's archives. One archive is a code
// column, a description and the keys that narrow it (the company, a bank for its agencies, a
// customer for their bank accounts); the connector turns a code into the query of its
// description and the keys into the query of its search list. Codes typed by the user enter the
// SQL only as escaped literals or checked numbers: a code with quotes or wildcards is looked for
// as it is.
class ArchiveConnector {
public:
    enum class Archive {
        Customers,          // keys: company, type (0 customer, 1 supplier), reference date
        LedgerAccounts,     // keys: ledger group
        PaymentConditions,  // no keys
        Agents,             // keys: company
        Banks,              // no keys
        Agencies,           // keys: bank code
        Sections,           // keys: company
        Documents,          // keys: company (the inventory's document types)
        SubTypes,           // keys: bill type
        MgoCausals,         // no keys
        CompanyBanks,       // keys: company [, type, counterpart code: those at its banks]
        CustomerBanks,      // keys: company, type, customer code (bank accounts of a counterpart)
        CigCup,             // keys: company, type, counterpart code; none: every registered pair
        Slips,              // keys: company, slip kind, year
        TransferOrders,     // keys: company, order kind, year
        SepaPurposes,       // keys: movement kind (0 transfer, 1 unpaid, 2 recalled); none: all
    };

    // What a search list needs: its query (no ORDER BY: the list orders and pages by
    // `keyColumn`), captions, title, identifier, the column whose value goes back to the field
    // and the columns the typed filter is matched against.
    struct Lookup {
        QString query;
        QStringList columns;
        QString title{};
        QString identifier{};
        QString keyColumn;
        QStringList searchColumns;
    };

    ArchiveConnector(Archive archive, QVariantList keys = {});

    // The query answering the description (first column) of `code`; a code that cannot be one
    // of the archive (letters for a numeric code) gives a query answering no row.
    QString decodeQuery(const QString& code) const;
    Lookup lookup() const;
    // The archive's management list: every row of the archive (banks and agencies: every
    // agency with its bank, ordered by a key column the list hides) and the columns whose values
    // the list sends back, in the order the receiver reads them.
    struct Management {
        Lookup list;
        QStringList transferColumns;
    };
    Management management() const;
    static constexpr const char* kHiddenKey = "CHIAVE";
    // The number the archive's management program reports its choice with (0: none).
    int archiveNumber() const;

    // The archive's reference date for a customer or supplier's name: the registry record in
    // force that day.
    static QString dateKey(const QDate& date);

    // The description of a customer's bank account, computed from its IBAN (or its ABI code),
    // and the joins to the bank and agency it needs, for a query over MG35_CLIFORCC.
    static QString customerBankDescription();
    static QString customerBankJoins();

    // Reads of one row the bill form makes beside its decodes. Numbers that are not whole give a
    // read answering no row.
    // The bank account `id`: MG35_PROGR, MG35_INDTIPOOP and its description as DESCRCANPASS.
    static QString customerBankById(const QVariant& id);
    // The MG35_ID of the counterpart's bank account `progressive`.
    static QString customerBankId(const QVariant& company, const QVariant& type, const QVariant& counterpart,
                                  const QVariant& progressive);
    // The workflow state given to the row `guid`: its code and description (no row: none).
    static QString rowState(const QString& guid);
    // The company's assignments of the pair `cig` + `cup`; with a customer, only those to them.
    static QString cigCupAssignment(const QVariant& company, const QString& cig, const QString& cup,
                                    const QVariant& customer = {});

private:
    struct Shape {
        QString from{};         // tables and joins
        QString where{};        // fixed conditions from the keys (may be empty)
        QString code{};         // code column
        QString description{};  // description expression
        bool numericCode = false;
        QStringList extra{};  // further columns of the search list
        QStringList captions{};
        QString title{};
        QString identifier{};
    };
    Shape shape() const;
    Shape sepaPurposes() const;
    QString key(int i) const;
    // A whole number as SQL, NULL for anything else.
    static QString number(const QVariant& value);
    // Characters 1-2 are IT or SM and 6 to 10 are digits.
    static QString ibanHasBank();
    // The SQL condition: `expression`, trimmed, is at least `minLength` digits and nothing else.
    static QString allDigits(const QString& expression, int minLength);

    Archive archive_;
    QVariantList keys_;
};

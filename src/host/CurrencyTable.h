#pragma once

#include "Decimal.h"

#include <QHash>
#include <QString>
#include <memory>
#include <optional>

class Connection;

// The host's currency service: the currencies of the suite's table CG08_TABVALUTE with what the
// forms ask of them, whether a currency of the euro area is tied to the euro by a fixed rate, that
// rate, and the digits its amounts are kept with.
class CurrencyTable {
public:
    struct Currency {
        bool fixed = false;  // CG08_FLGVALUEM: fixed to the euro since 1 January 1999
        Decimal fixedRate;   // units of the currency per euro
        int decimals = 2;    // CG08_NUMDEC
    };

    // Reads the whole table (a few dozen rows) once.
    static CurrencyTable read(const std::shared_ptr<Connection>& connection);

    void insert(const QString& code, const Currency& currency) { currencies_.insert(key(code), currency); }
    // The currency of a code, upper-cased and trimmed; nullopt for a code the table lacks.
    std::optional<Currency> find(const QString& code) const;
    bool isFixed(const QString& code) const;
    // The fixed rate of a euro-area currency; nullopt for any other.
    std::optional<Decimal> fixedRate(const QString& code) const;
    // Digits of the currency's amounts; 2 for a code the table lacks.
    int decimals(const QString& code) const;

private:
    static QString key(const QString& code) { return code.trimmed().toUpper(); }
    QHash<QString, Currency> currencies_;
};

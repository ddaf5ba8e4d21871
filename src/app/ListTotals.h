#pragma once

#include "Decimal.h"

#include <QDate>
#include <QMap>
#include <QString>

struct ListRow;
struct ResultSet;

// The figures a clerk reads under a selection: how many Bills, how much is still open and how
// much of it is overdue at the list's day, and the closed Bills apart; for Bills in another
// currency, the same in that currency. Summed by the database in one scan (query) for the
// status line, or row by row (add) by the print and the export, whose closing line is thus the
// rows they hold.
class ListTotals {
public:
    struct Figures {
        int open = 0;
        Decimal openAmount;
        Decimal overdueAmount;
        int closed = 0;
    };

    // One statement over `select` (the list's query, without ORDER BY): a row per currency with
    // the Bills, the open ones, their amount and overdue amount in euro and in the currency, and
    // the closed ones, the amount of them all.
    static QString query(const QString& select, const QDate& today);
    static ListTotals fromResult(const ResultSet& result);

    void add(const ListRow& row);
    int count() const { return euro_.open + euro_.closed; }
    // Every Bill, in euro: open and closed ones apart, and the amount of them all.
    const Figures& euro() const { return euro_; }
    const Decimal& amount() const { return amount_; }
    // The Bills in another currency, in that currency, by its code.
    const QMap<QString, Figures>& currencies() const { return currencies_; }
    // "6 effetti per € 78.893,00: aperti 5 per € 1.116,00, di cui scaduti € 1.016,00; chiusi 1",
    // then each currency.
    QString text() const;

private:
    void add(const QString& currency, const Figures& euro, const Figures& inCurrency, const Decimal& amount);
    Figures euro_;
    Decimal amount_;
    QMap<QString, Figures> currencies_;
};

#pragma once

#include "Decimal.h"
#include "HeaderQuery.h"

#include <QDate>
#include <QHash>
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

class Connection;
class CounterpartNames;
class Recordset;

// One Bill of the calling program's list, as the list, its print and its export show it.
struct ListRow {
    qint64 number = 0;  // EF01_NUMEFF
    QDate due;
    int overdue = 0;   // days, counted to the list's day; 0 when not overdue or closed
    Decimal amount;    // in euro
    QString currency;  // empty for euro
    Decimal amountCurrency;
    QString code;  // customer or supplier, or ledger account
    QString name;
    bool closed = false;
    QString billType;
    QString bank;
    QString document;  // its number
    QDate documentDate;
    QString key;  // "company,numreg,row,progec,progeff"
};

// The Bills of a selection read a page at a time, in the list's order, each page with its
// counterparts' names in one read: what the list shows as the clerk scrolls and what the print
// and the export go through to the end. Only the page being read is held.
class BillListRows {
public:
    enum Column {
        ColNumber,
        ColDue,
        ColOverdue,
        ColAmount,
        ColCurrency,
        ColAmountCurrency,
        ColCode,
        ColName,
        ColState,
        ColType,
        ColBank,
        ColDocument,
        ColCount
    };
    static QStringList headings();
    // The row's cells as the clerk reads them (Italian amounts and dates).
    static QStringList texts(const ListRow& row);
    static bool rightAligned(int column, int tipoArchivio);
    // Each column's share of a printed line: the name takes the most, the codes and numbers the
    // least.
    static constexpr int kPrintShares[ColCount] = {5, 7, 5, 9, 5, 9, 6, 26, 5, 14, 14, 12};

    // Opens the selection of `query` on `connection`, read `pageSize` Bills at a time. Throws
    // SuiteError.
    BillListRows(const std::shared_ptr<Connection>& connection, const HeaderQuery& query, const QDate& today,
                 QHash<int, QString> bankNames, std::shared_ptr<CounterpartNames> names, int pageSize);
    ~BillListRows();
    BillListRows(const BillListRows&) = delete;
    BillListRows& operator=(const BillListRows&) = delete;

    bool atEnd() const;
    // The next `count` Bills (fewer at the end). Throws SuiteError.
    std::vector<ListRow> next(int count);

private:
    std::unique_ptr<Recordset> rows_;
    int tipoArchivio_;
    QDate today_;
    QHash<int, QString> bankNames_;
    std::shared_ptr<CounterpartNames> names_;
};

#include "ListSpreadsheet.h"

#include "BillListRows.h"
#include "ListTotals.h"

namespace {
constexpr double kWidths[BillListRows::ColCount] = {9, 11, 8, 14, 7, 14, 10, 40, 8, 14, 28, 12};
}  // namespace

ListSpreadsheet::ListSpreadsheet(const QString& path, const QString& title)
    : writer_(path, QStringLiteral("Effetti")) {
    for (int c = 0; c < BillListRows::ColCount; ++c) writer_.setColumnWidth(c, kWidths[c]);
    writer_.setColumnWidth(BillListRows::ColCount, 14);
    writer_.text(0, title, true);
    writer_.nextRow();
    const QStringList headings = BillListRows::headings();
    for (int c = 0; c < headings.size(); ++c) writer_.text(c, headings[c], true);
    // The document's date has a column of its own, as a date.
    writer_.text(BillListRows::ColCount, QStringLiteral("Data documento"), true);
    writer_.nextRow();
}

void ListSpreadsheet::add(const std::vector<ListRow>& rows) {
    using C = BillListRows::Column;
    for (const ListRow& row : rows) {
        if (row.number > 0) writer_.integer(C::ColNumber, row.number);
        writer_.date(C::ColDue, row.due);
        if (row.overdue > 0) writer_.integer(C::ColOverdue, row.overdue);
        writer_.amount(C::ColAmount, row.amount);
        writer_.text(C::ColCurrency, row.currency.isEmpty() ? QStringLiteral("EURO") : row.currency);
        if (!row.currency.isEmpty()) writer_.amount(C::ColAmountCurrency, row.amountCurrency);
        writer_.text(C::ColCode, row.code);
        writer_.text(C::ColName, row.name);
        writer_.text(C::ColState, row.closed ? QStringLiteral("Chiuso") : QStringLiteral("Aperto"));
        writer_.text(C::ColType, row.billType);
        writer_.text(C::ColBank, row.bank);
        writer_.text(C::ColDocument, row.document);
        writer_.date(C::ColCount, row.documentDate);
        writer_.nextRow();
    }
}

void ListSpreadsheet::close(const ListTotals& totals) {
    // The amounts' total under their column, the whole closing line beside it.
    writer_.text(BillListRows::ColOverdue, QStringLiteral("Totale"), true);
    writer_.amount(BillListRows::ColAmount, totals.amount(), true);
    writer_.nextRow();
    writer_.text(0, totals.text(), true);
    writer_.close();
}

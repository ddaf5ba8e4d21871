#pragma once

#include "ListSink.h"
#include "XlsxRowWriter.h"

#include <QString>

// The list as an .xlsx sheet, a row per Bill written as it comes: the title, the headings in
// bold, then numbers, amounts and dates as cells a spreadsheet computes with (the amounts to the
// cent whatever the clerk's locale), texts as texts; the totals of the rows written at the end.
class ListSpreadsheet : public ListSink {
public:
    // Throws SuiteError when the file cannot be begun.
    ListSpreadsheet(const QString& path, const QString& title);

    void add(const std::vector<ListRow>& rows) override;
    void close(const ListTotals& totals) override;

private:
    XlsxRowWriter writer_;
};

#pragma once

#include <vector>

class ListTotals;
struct ListRow;

// Where the whole selection goes a page at a time (a print, a spreadsheet): it holds no more
// than the page it is given. `close` finishes the output with its totals; a sink dropped
// without it leaves nothing behind (a cancel, a failure).
class ListSink {
public:
    virtual ~ListSink() = default;
    virtual void add(const std::vector<ListRow>& rows) = 0;
    // Throws SuiteError when the output cannot be finished.
    virtual void close(const ListTotals& totals) = 0;
};

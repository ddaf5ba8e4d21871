#pragma once

#include "OfficeExport.h"
#include "XlsxWorkbook.h"

class HostNavigator;

// The export as a spreadsheet: one sheet per section, named after it, with the master title and
// the section's title on top, the headings in bold, then the rows.
class XlsxOfficeExport : public OfficeExport {
public:
    void AddMasterDetail(const QString& title, const QStringList& headings,
                         const QList<QVariantList>& rows) override;
    int sectionCount() const { return book_.sheetCount(); }
    // Writes the document; throws SuiteError with a message for the clerk when it cannot.
    void save(const QString& path) const { book_.save(path); }

    // The host's export: the navigator asks the module to fill a new document, which is written
    // to `path`. Answers the sections written; throws SuiteError when the module wrote none or
    // the file cannot be written.
    static int run(HostNavigator& navigator, const QString& path);

private:
    XlsxWorkbook book_;
};

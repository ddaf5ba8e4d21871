#pragma once

#include "ListSink.h"

#include <QFont>
#include <QPainter>
#include <QString>
#include <QStringList>
#include <memory>

class AtomicFile;
class QPagedPaintDevice;
class QPdfWriter;

// The list on paper: landscape pages, each with the title, the headings and as many rows as fit,
// one line per Bill (a name longer than its column is shortened with "..."), the page's number
// at its foot and, after the last row, the totals of the rows printed. Each page is finished
// before the next is drawn, so a long selection takes no more memory than a short one.
class ListPrint : public ListSink {
public:
    // Prints on `device` (a printer, set up landscape by the caller), which outlives the print.
    ListPrint(QPagedPaintDevice& device, const QString& title, int tipoArchivio);
    // Writes a PDF file, whole or not at all; throws SuiteError when it cannot be begun.
    ListPrint(const QString& pdf, const QString& title, int tipoArchivio);
    ~ListPrint() override;

    void add(const std::vector<ListRow>& rows) override;
    void close(const ListTotals& totals) override;

private:
    void begin();
    void startPage();
    void line(const QStringList& cells, bool heading);

    std::unique_ptr<AtomicFile> file_;
    std::unique_ptr<QPdfWriter> writer_;
    QPagedPaintDevice* device_;
    QString title_;
    int tipoArchivio_;
    QPainter painter_;
    QFont font_;
    QList<int> widths_;  // device pixels per column
    int rowHeight_ = 0;
    int y_ = 0;
    int page_ = 0;
};

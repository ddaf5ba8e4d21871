#pragma once

#include "ListSink.h"
#include "PdfStream.h"

#include <QByteArray>
#include <QList>
#include <QString>

// The list written to a PDF file: the same landscape pages as ListPrint on paper (the title,
// the headings, one line per Bill with names longer than their column cut with "...", the
// page's number at its foot and, after the last row, the totals of the rows), set straight
// into the file's text in the standard fonts, without a painter: the whole selection costs
// little more than reading it, and each page goes to the disk when it is full.
class ListPdf : public ListSink {
public:
    // Throws SuiteError when the file cannot be begun.
    ListPdf(const QString& pdf, const QString& title, const QString& author, int tipoArchivio);

    void add(const std::vector<ListRow>& rows) override;
    void close(const ListTotals& totals) override;

private:
    void startPage();
    bool fits(int lines) const;

    PdfStream pdf_;
    QByteArray title_;
    int tipoArchivio_;
    QList<double> left_;   // each column's left edge, in points
    QList<double> width_;  // and its width
    double y_ = 0;         // the top of the next line
};

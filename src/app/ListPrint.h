#pragma once

#include "ListSink.h"

#include <QFont>
#include <QFontMetrics>
#include <QGlyphRun>
#include <QHash>
#include <QPainter>
#include <QRawFont>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

class QPagedPaintDevice;

// The list on a printer: landscape pages, each with the title, the headings and as many rows as fit,
// one line per Bill (a name longer than its column is shortened with "..."), the page's number
// at its foot and, after the last row, the totals of the rows printed. Each page is finished
// before the next is drawn, so a long selection takes no more memory than a short one.
class ListPrint : public ListSink {
public:
    // Prints on `device` (a printer, set up landscape by the caller), which outlives the print. The list
    // written to a file is ListPdf's.
    ListPrint(QPagedPaintDevice& device, const QString& title, int tipoArchivio);
    ~ListPrint() override;

    void add(const std::vector<ListRow>& rows) override;
    void close(const ListTotals& totals) override;

private:
    void begin();
    void startPage();
    void headings();
    void line(const QStringList& cells);
    struct Shaped {
        QList<QGlyphRun> runs;
        int width = 0;
    };
    // A cell's text shortened to `room` and laid out, from the cache.
    const Shaped& shaped(const QString& text, int room);
    std::optional<Shaped> direct(const QString& text) const;
    static constexpr qsizetype kMostShapes = 20000;

    QPagedPaintDevice* device_;
    QString title_;
    int tipoArchivio_;
    QPainter painter_;
    QHash<QString, Shaped> shapes_;
    QRawFont raw_;  // the body's font, for glyphs without a shaper
    qreal spacing_ = 0;
    QFont font_;
    std::unique_ptr<QFontMetrics> metrics_;
    QList<int> widths_;  // device pixels per column
    int rowHeight_ = 0;
    int y_ = 0;
    int page_ = 0;
};

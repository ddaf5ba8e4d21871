#include "ListPrint.h"

#include "BillListRows.h"
#include "ItalianFormat.h"
#include "ListTotals.h"
#include "SuiteError.h"

#include <QFontMetrics>
#include <QPagedPaintDevice>
#include <QRawFont>
#include <QTextLayout>
#include <algorithm>
#include <cmath>

ListPrint::ListPrint(QPagedPaintDevice& device, const QString& title, int tipoArchivio)
    : device_(&device), title_(title), tipoArchivio_(tipoArchivio) {
    begin();
}

ListPrint::~ListPrint() {
    if (painter_.isActive()) painter_.end();
}

void ListPrint::begin() {
    if (!painter_.begin(device_)) {
        throw SuiteError(SuiteError::kOperationNotAllowed, QStringLiteral("Stampa elenco"),
                         QStringLiteral("La stampante non accetta la stampa."));
    }
    font_ = QFont(QStringLiteral("DejaVu Sans"), 7);
    // Any letter spacing keeps the shaper from joining "ff" into one glyph, so that the PDF's
    // text is plain words a reader can search and copy.
    font_.setLetterSpacing(QFont::AbsoluteSpacing, 0.1);
    painter_.setFont(font_);
    metrics_ = std::make_unique<QFontMetrics>(font_, device_);
    raw_ = QRawFont::fromFont(QFont(font_, device_));
    spacing_ = font_.letterSpacing();
    rowHeight_ = metrics_->height() * 13 / 10;
    const int width = painter_.viewport().width();
    int total = 0;
    for (int share : BillListRows::kPrintShares) total += share;
    for (int share : BillListRows::kPrintShares) widths_ << width * share / total;
    startPage();
}

void ListPrint::startPage() {
    if (page_ > 0) device_->newPage();
    ++page_;
    const int height = painter_.viewport().height();
    QFont heading = font_;
    heading.setBold(true);
    heading.setPointSize(10);
    painter_.setFont(heading);
    const int titleHeight = QFontMetrics(heading, device_).height();
    painter_.drawText(QRect(0, 0, painter_.viewport().width(), titleHeight), Qt::AlignLeft, title_);
    painter_.setFont(font_);
    painter_.drawText(QRect(0, height - rowHeight_, painter_.viewport().width(), rowHeight_), Qt::AlignRight,
                      QStringLiteral("Pagina %1").arg(page_));
    y_ = titleHeight + rowHeight_ / 2;
    headings();
    painter_.drawLine(0, y_, painter_.viewport().width(), y_);
    y_ += rowHeight_ / 4;
}

void ListPrint::headings() {
    QFont bold = font_;
    bold.setBold(true);
    painter_.setFont(bold);
    const int pad = metrics_->averageCharWidth() / 2;
    const QStringList cells = BillListRows::headings();
    int x = 0;
    for (int c = 0; c < cells.size() && c < widths_.size(); ++c) {
        const int align = (BillListRows::rightAligned(c, tipoArchivio_) ? Qt::AlignRight : Qt::AlignLeft) |
                          Qt::AlignBottom | Qt::TextWordWrap;
        painter_.drawText(QRect(x + pad, y_, widths_[c] - 2 * pad, rowHeight_ * 2), align, cells[c]);
        x += widths_[c];
    }
    y_ += rowHeight_ * 2;
    painter_.setFont(font_);
}

std::optional<ListPrint::Shaped> ListPrint::direct(const QString& text) const {
    // Glyph by glyph from the font's own table: what a table's cells need (Latin text, digits),
    // without a shaper. Nullopt when a character has no glyph in the font (it needs a fallback).
    QList<quint32> indexes = raw_.glyphIndexesForString(text);
    if (indexes.contains(0u)) return std::nullopt;
    const QList<QPointF> advances = raw_.advancesForGlyphIndexes(indexes);
    QList<QPointF> positions;
    qreal x = 0;
    for (const QPointF& a : advances) {
        positions << QPointF(x, raw_.ascent());
        x += a.x() + spacing_;
    }
    QGlyphRun run;
    run.setRawFont(raw_);
    run.setGlyphIndexes(indexes);
    run.setPositions(positions);
    return Shaped{{run}, int(std::ceil(x))};
}

const ListPrint::Shaped& ListPrint::shaped(const QString& text, int room) {
    // Keyed by the room too: the same name may be shortened in one column and whole in another.
    const QString key = QString::number(room) + QLatin1Char('|') + text;
    auto it = shapes_.find(key);
    if (it != shapes_.end()) return *it;
    if (shapes_.size() > kMostShapes) shapes_.clear();  // memory bounded, whatever the rows
    std::optional<Shaped> out = direct(text);
    if (out && out->width <= room) return *shapes_.insert(key, *out);
    const QString shown = metrics_->elidedText(text, Qt::ElideRight, room);
    out = direct(shown);
    if (!out) {
        QTextLayout layout(shown, font_, device_);
        layout.beginLayout();
        QTextLine textLine = layout.createLine();
        layout.endLayout();
        out = Shaped{layout.glyphRuns(), int(std::ceil(textLine.naturalTextWidth()))};
    }
    return *shapes_.insert(key, *out);
}

void ListPrint::line(const QStringList& cells) {
    // The last line of the page's body leaves room for the page's number.
    if (y_ + rowHeight_ > painter_.viewport().height() - rowHeight_ * 2) startPage();
    // Texts repeat down a list (names, banks, dates, states): each is shaped once, and the row's
    // glyphs go to the page as one run per font rather than one text per cell, which keeps a long
    // print within a small multiple of reading its rows.
    const int pad = metrics_->averageCharWidth() / 2;
    const int top = y_ + (rowHeight_ - metrics_->height()) / 2;
    QList<QGlyphRun> row;
    int x = 0;
    for (int c = 0; c < cells.size() && c < widths_.size(); ++c) {
        const int room = widths_[c] - 2 * pad;
        if (!cells[c].isEmpty()) {
            const Shaped& s = shaped(cells[c], room);
            const bool right = BillListRows::rightAligned(c, tipoArchivio_);
            const QPointF at(x + pad + (right ? room - s.width : 0), 0);
            for (const QGlyphRun& run : s.runs) {
                auto same = std::find_if(row.begin(), row.end(),
                                         [&](const QGlyphRun& r) { return r.rawFont() == run.rawFont(); });
                if (same == row.end()) {
                    same = row.insert(row.end(), QGlyphRun());
                    same->setRawFont(run.rawFont());
                }
                QList<quint32> indexes = same->glyphIndexes();
                QList<QPointF> positions = same->positions();
                indexes += run.glyphIndexes();
                for (const QPointF& p : run.positions()) positions << p + at;
                same->setGlyphIndexes(indexes);
                same->setPositions(positions);
            }
        }
        x += widths_[c];
    }
    for (const QGlyphRun& run : row) painter_.drawGlyphRun(QPointF(0, top), run);
    y_ += rowHeight_;
}

void ListPrint::add(const std::vector<ListRow>& rows) {
    for (const ListRow& row : rows) line(BillListRows::texts(row));
}

void ListPrint::close(const ListTotals& totals) {
    if (y_ + rowHeight_ * 2 > painter_.viewport().height() - rowHeight_ * 2) startPage();
    painter_.drawLine(0, y_, painter_.viewport().width(), y_);
    y_ += rowHeight_ / 2;
    QFont bold = font_;
    bold.setBold(true);
    painter_.setFont(bold);
    painter_.drawText(QRect(0, y_, painter_.viewport().width(), rowHeight_ * 2),
                      Qt::AlignLeft | Qt::TextWordWrap, totals.text());
    painter_.end();
}

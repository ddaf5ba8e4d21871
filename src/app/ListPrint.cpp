#include "ListPrint.h"

#include "AtomicFile.h"
#include "BillListRows.h"
#include "ItalianFormat.h"
#include "ListTotals.h"
#include "SuiteError.h"

#include <QFile>
#include <QFontMetrics>
#include <QPageLayout>
#include <QPdfWriter>
#include <cerrno>

namespace {

// Shares of the width, by column: the name takes the most, the codes and numbers the least.
constexpr int kShares[BillListRows::ColCount] = {5, 7, 5, 9, 5, 9, 6, 26, 5, 14, 14, 12};

void setUp(QPagedPaintDevice& device) {
    device.setPageSize(QPageSize(QPageSize::A4));
    device.setPageOrientation(QPageLayout::Landscape);
    device.setPageMargins(QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
}

}  // namespace

ListPrint::ListPrint(QPagedPaintDevice& device, const QString& title, int tipoArchivio)
    : device_(&device), title_(title), tipoArchivio_(tipoArchivio) {
    begin();
}

ListPrint::ListPrint(const QString& pdf, const QString& title, int tipoArchivio)
    : file_(std::make_unique<AtomicFile>(pdf)), title_(title), tipoArchivio_(tipoArchivio) {
    writer_ = std::make_unique<QPdfWriter>(file_->temporaryPath());
    writer_->setResolution(300);
    writer_->setTitle(title);
    writer_->setCreator(QStringLiteral("Dettaglio effetti"));
    setUp(*writer_);
    device_ = writer_.get();
    begin();
}

ListPrint::~ListPrint() {
    if (painter_.isActive()) painter_.end();
}

void ListPrint::begin() {
    errno = 0;
    if (!painter_.begin(device_)) {
        if (file_) file_->failedWriting(errno);
        throw SuiteError(SuiteError::kOperationNotAllowed, QStringLiteral("Stampa elenco"),
                         QStringLiteral("La stampante non accetta la stampa."));
    }
    font_ = QFont(QStringLiteral("DejaVu Sans"), 7);
    // Any letter spacing keeps the shaper from joining "ff" into one glyph, so that the PDF's
    // text is plain words a reader can search and copy.
    font_.setLetterSpacing(QFont::AbsoluteSpacing, 0.1);
    painter_.setFont(font_);
    const QFontMetrics metrics(font_, device_);
    rowHeight_ = metrics.height() * 13 / 10;
    const int width = painter_.viewport().width();
    int total = 0;
    for (int share : kShares) total += share;
    for (int share : kShares) widths_ << width * share / total;
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
    line(BillListRows::headings(), true);
    painter_.drawLine(0, y_, painter_.viewport().width(), y_);
}

void ListPrint::line(const QStringList& cells, bool heading) {
    // A heading may take two lines; a Bill takes one, its long texts shortened.
    const int height = heading ? rowHeight_ * 2 : rowHeight_;
    // The last line of the page's body leaves room for the page's number.
    if (!heading && y_ + height > painter_.viewport().height() - rowHeight_ * 2) startPage();
    QFont font = font_;
    font.setBold(heading);
    painter_.setFont(font);
    const QFontMetrics metrics(font, device_);
    const int pad = metrics.averageCharWidth() / 2;
    int x = 0;
    for (int c = 0; c < cells.size() && c < widths_.size(); ++c) {
        const QRect box(x + pad, y_, widths_[c] - 2 * pad, height);
        const int align = (BillListRows::rightAligned(c, tipoArchivio_) ? Qt::AlignRight : Qt::AlignLeft) |
                          (heading ? Qt::AlignBottom | Qt::TextWordWrap : Qt::AlignVCenter);
        painter_.drawText(box, align,
                          heading ? cells[c] : metrics.elidedText(cells[c], Qt::ElideRight, box.width()));
        x += widths_[c];
    }
    y_ += height;
    painter_.setFont(font_);
}

void ListPrint::add(const std::vector<ListRow>& rows) {
    for (const ListRow& row : rows) line(BillListRows::texts(row), false);
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
    errno = 0;
    painter_.end();
    if (!file_) return;
    writer_.reset();
    // The PDF writer tells no failure of its own: a file without its end was not written whole.
    QFile written(file_->temporaryPath());
    if (!written.open(QIODevice::ReadOnly) || written.size() < 8) file_->failed(0);
    written.seek(written.size() - 8);
    if (!written.readAll().contains("%%EOF")) file_->failed(0);
    written.close();
    file_->commit();
}

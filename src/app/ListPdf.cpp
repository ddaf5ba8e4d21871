#include "ListPdf.h"

#include "BillListRows.h"
#include "ListTotals.h"

namespace {

// Landscape A4 in points, with margins of a centimetre.
constexpr double kWidth = 842;
constexpr double kHeight = 595;
constexpr double kMargin = 28.35;
constexpr double kBody = 7;        // the rows' size, in points
constexpr double kTitleSize = 10;  // the title's
constexpr double kRow = 10.5;      // a line's height
constexpr double kPad = 2;         // blank on each side of a cell's text

using Face = PdfStandardFont::Face;

// The baseline of a line of `size` points whose top is `top`.
double baseline(double top, double size = kBody) {
    return top + (kRow - size) / 2 + size * 0.8;
}

}  // namespace

ListPdf::ListPdf(const QString& pdf, const QString& title, const QString& author, int tipoArchivio)
    : pdf_(pdf, kWidth, kHeight), title_(PdfStandardFont::encode(title)), tipoArchivio_(tipoArchivio) {
    pdf_.setInformation(title, author);
    const double room = kWidth - 2 * kMargin;
    int total = 0;
    for (const int share : BillListRows::kPrintShares) total += share;
    double x = kMargin;
    for (const int share : BillListRows::kPrintShares) {
        left_ << x;
        width_ << room * share / total;
        x += width_.back();
    }
    startPage();
}

void ListPdf::startPage() {
    pdf_.newPage();
    const QByteArray number = PdfStandardFont::encode(QStringLiteral("Pagina %1").arg(pdf_.pages()));
    pdf_.text(kWidth - kMargin - PdfStandardFont::width(Face::Regular, number, kBody),
              baseline(kHeight - kMargin - kRow), Face::Regular, kBody, number);
    pdf_.text(kMargin, kMargin + kTitleSize, Face::Bold, kTitleSize, title_);
    y_ = kMargin + kTitleSize * 1.2 + kRow / 2;
    // The headings over two lines, their last lines level.
    const QStringList headings = BillListRows::headings();
    for (int c = 0; c < headings.size() && c < left_.size(); ++c) {
        const double room = width_[c] - 2 * kPad;
        QList<QByteArray> lines =
            PdfStandardFont::wrapped(Face::Bold, PdfStandardFont::encode(headings[c]), kBody, room);
        while (lines.size() > 2) lines.removeFirst();
        double top = y_ + kRow * double(2 - lines.size());
        for (const QByteArray& line : lines) {
            const double shown = PdfStandardFont::width(Face::Bold, line, kBody);
            const double x = BillListRows::rightAligned(c, tipoArchivio_)
                                 ? left_[c] + width_[c] - kPad - shown
                                 : left_[c] + kPad;
            pdf_.text(x, baseline(top), Face::Bold, kBody, line);
            top += kRow;
        }
    }
    y_ += 2 * kRow;
    pdf_.rule(kMargin, kWidth - kMargin, y_, 0.5);
    y_ += kRow / 4;
}

bool ListPdf::fits(int lines) const {
    // The page's number keeps the foot's two lines.
    return y_ + kRow * lines <= kHeight - kMargin - 2 * kRow;
}

void ListPdf::add(const std::vector<ListRow>& rows) {
    for (const ListRow& row : rows) {
        if (!fits(1)) startPage();
        const QStringList cells = BillListRows::texts(row);
        for (int c = 0; c < cells.size() && c < left_.size(); ++c) {
            if (cells[c].isEmpty()) continue;
            const double room = width_[c] - 2 * kPad;
            const QByteArray text =
                PdfStandardFont::elided(Face::Regular, PdfStandardFont::encode(cells[c]), kBody, room);
            const double x = BillListRows::rightAligned(c, tipoArchivio_)
                                 ? left_[c] + kPad + room - PdfStandardFont::width(Face::Regular, text, kBody)
                                 : left_[c] + kPad;
            pdf_.text(x, baseline(y_), Face::Regular, kBody, text);
        }
        y_ += kRow;
    }
}

void ListPdf::close(const ListTotals& totals) {
    const QList<QByteArray> lines = PdfStandardFont::wrapped(
        Face::Bold, PdfStandardFont::encode(totals.text()), kBody, kWidth - 2 * kMargin);
    if (!fits(int(lines.size()) + 1)) startPage();
    pdf_.rule(kMargin, kWidth - kMargin, y_, 0.5);
    y_ += kRow / 2;
    for (const QByteArray& line : lines) {
        pdf_.text(kMargin, baseline(y_), Face::Bold, kBody, line);
        y_ += kRow;
    }
    pdf_.close();
}

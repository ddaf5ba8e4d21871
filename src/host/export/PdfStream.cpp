#include "PdfStream.h"

#include <cerrno>
#include <cmath>

namespace {

// A number as a PDF wants it: a point, at most two decimals, no exponent.
void appendNumber(QByteArray& out, double value) {
    qint64 hundredths = std::llround(value * 100);
    if (hundredths < 0) {
        out += '-';
        hundredths = -hundredths;
    }
    out += QByteArray::number(hundredths / 100);
    const qint64 rest = hundredths % 100;
    if (rest == 0) return;
    out += '.';
    out += char('0' + rest / 10);
    if (rest % 10 != 0) out += char('0' + rest % 10);
}

// A string of the document's information: UTF-16 with its byte-order mark, in hex, which holds
// any character a title or a company's name may have.
QByteArray informationText(const QString& text) {
    QByteArray hex("<FEFF");
    for (const QChar c : text) hex += QByteArray::number(c.unicode(), 16).rightJustified(4, '0').toUpper();
    return hex + '>';
}

}  // namespace

PdfStream::PdfStream(const QString& path, double width, double height)
    : target_(std::make_unique<AtomicFile>(path)),
      out_(target_->temporaryPath()),
      width_(width),
      height_(height) {
    errno = 0;
    if (!out_.open(QIODevice::WriteOnly | QIODevice::Truncate)) target_->failed(errno);
    offsets_.resize(kBold);
    // The header's second line has bytes above 127: it tells a transfer the file is binary.
    put("%PDF-1.4\n%\xE2\xE3\xCF\xD3\n");
    for (const int font : {kRegular, kBold})
        object(font,
               "<< /Type /Font /Subtype /Type1 /BaseFont /" +
                   PdfStandardFont::name(font == kBold ? PdfStandardFont::Bold : PdfStandardFont::Regular) +
                   " /Encoding /WinAnsiEncoding >>");
}

PdfStream::~PdfStream() = default;

void PdfStream::setInformation(const QString& title, const QString& author) {
    title_ = title;
    author_ = author;
}

int PdfStream::reserve() {
    offsets_.append(0);
    return int(offsets_.size());
}

void PdfStream::put(const QByteArray& bytes) {
    errno = 0;
    if (out_.write(bytes) != bytes.size()) target_->failedWriting(errno);
    written_ += bytes.size();
}

void PdfStream::object(int number, const QByteArray& body) {
    offsets_[number - 1] = written_;
    put(QByteArray::number(number) + " 0 obj\n" + body + "\nendobj\n");
}

void PdfStream::newPage() {
    endPage();
    drawing_ = true;
    face_ = -1;
    content_.clear();
}

void PdfStream::endPage() {
    if (!drawing_) return;
    drawing_ = false;
    // Fast compression: the text of a list shrinks about fivefold, at little cost to the print.
    const QByteArray packed = qCompress(content_, 1).mid(4);  // the zlib stream, without Qt's length
    const int contents = reserve();
    offsets_[contents - 1] = written_;
    put(QByteArray::number(contents) + " 0 obj\n<< /Length " + QByteArray::number(packed.size()) +
        " /Filter /FlateDecode >>\nstream\n");
    put(packed);
    put("\nendstream\nendobj\n");
    const int page = reserve();
    QByteArray box;
    appendNumber(box, width_);
    box += ' ';
    appendNumber(box, height_);
    object(page, "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 " + box + "] /Contents " +
                     QByteArray::number(contents) +
                     " 0 R /Resources << /Font << /F1 3 0 R /F2 4 0 R >> >> >>");
    pages_.append(page);
}

void PdfStream::text(double x, double baseline, PdfStandardFont::Face face, double size,
                     const QByteArray& encoded) {
    if (encoded.isEmpty()) return;
    content_ += "BT ";
    if (face_ != face || size_ != size) {
        content_ += face == PdfStandardFont::Bold ? "/F2 " : "/F1 ";
        appendNumber(content_, size);
        content_ += " Tf ";
        face_ = face;
        size_ = size;
    }
    appendNumber(content_, x);
    content_ += ' ';
    appendNumber(content_, height_ - baseline);
    content_ += " Td (";
    for (const char c : encoded) {
        if (c == '(' || c == ')' || c == '\\') content_ += '\\';
        content_ += c;
    }
    content_ += ") Tj ET\n";
}

void PdfStream::rule(double x1, double x2, double y, double thickness) {
    appendNumber(content_, thickness);
    content_ += " w ";
    appendNumber(content_, x1);
    content_ += ' ';
    appendNumber(content_, height_ - y);
    content_ += " m ";
    appendNumber(content_, x2);
    content_ += ' ';
    appendNumber(content_, height_ - y);
    content_ += " l S\n";
}

void PdfStream::close() {
    if (pages_.isEmpty()) newPage();  // a PDF has at least one page
    endPage();
    QByteArray kids;
    for (const int page : pages_) kids += QByteArray::number(page) + " 0 R ";
    object(kPageTree,
           "<< /Type /Pages /Count " + QByteArray::number(pages_.size()) + " /Kids [" + kids + "] >>");
    object(kCatalog, "<< /Type /Catalog /Pages 2 0 R >>");
    const int information = reserve();
    object(information, "<< /Title " + informationText(title_) + " /Author " + informationText(author_) +
                            " /Creator " + informationText(QStringLiteral("Dettaglio effetti")) + " >>");
    const qint64 index = written_;
    QByteArray table = "xref\n0 " + QByteArray::number(offsets_.size() + 1) + "\n0000000000 65535 f \n";
    for (const qint64 offset : offsets_)
        table += QByteArray::number(offset).rightJustified(10, '0') + " 00000 n \n";
    put(table);
    put("trailer\n<< /Size " + QByteArray::number(offsets_.size() + 1) + " /Root 1 0 R /Info " +
        QByteArray::number(information) + " 0 R >>\nstartxref\n" + QByteArray::number(index) + "\n%%EOF\n");
    errno = 0;
    if (!out_.flush()) target_->failedWriting(errno);
    out_.close();
    target_->commit();
}

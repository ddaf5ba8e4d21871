#include "PdfDocument.h"

#include "AtomicFile.h"

#include <QFile>
#include <QPageLayout>
#include <QPrinter>
#include <QRegularExpression>
#include <QTextDocument>
#include <QTextOption>
#include <cerrno>

namespace {

// A text string of the PDF's information: UTF-16 with its byte-order mark, in hex.
QByteArray pdfText(const QString& text) {
    QByteArray hex("<FEFF");
    for (const QChar c : text) hex += QByteArray::number(c.unicode(), 16).rightJustified(4, '0').toUpper();
    return hex + '>';
}

// Qt's writer keeps no author: the information is given again by an incremental update
// appended to the file (a new information object, an xref section for it and a trailer pointing
// back to the first), which every reader applies over the original.
QByteArray withInformation(const QByteArray& pdf, const PdfDocument::Metadata& m) {
    const qsizetype trailerAt = pdf.lastIndexOf("trailer");
    const qsizetype startAt = pdf.lastIndexOf("startxref");
    if (trailerAt < 0 || startAt < trailerAt) return {};
    const QString trailer = QString::fromLatin1(pdf.mid(trailerAt, startAt - trailerAt));
    const auto size = QRegularExpression(QStringLiteral("/Size\\s+(\\d+)")).match(trailer);
    const auto root = QRegularExpression(QStringLiteral("/Root\\s+(\\d+\\s+\\d+\\s+R)")).match(trailer);
    const auto previous = QRegularExpression(QStringLiteral("startxref\\s+(\\d+)"))
                              .match(QString::fromLatin1(pdf.mid(startAt)));
    if (!size.hasMatch() || !root.hasMatch() || !previous.hasMatch()) return {};
    const int object = size.captured(1).toInt();
    QByteArray out = pdf;
    if (!out.endsWith('\n')) out += '\n';
    const qsizetype objectAt = out.size();
    out += QByteArray::number(object) + " 0 obj\n<<\n/Title " + pdfText(m.title) + "\n/Author " +
           pdfText(m.author) + "\n/Creator " + pdfText(QStringLiteral("Dettaglio effetti")) +
           "\n>>\nendobj\n";
    const qsizetype xrefAt = out.size();
    out += "xref\n" + QByteArray::number(object) + " 1\n" +
           QByteArray::number(objectAt).rightJustified(10, '0') + " 00000 n \ntrailer\n<<\n/Size " +
           QByteArray::number(object + 1) + "\n/Root " + root.captured(1).toLatin1() + "\n/Info " +
           QByteArray::number(object) + " 0 R\n/Prev " + previous.captured(1).toLatin1() +
           "\n>>\nstartxref\n" + QByteArray::number(xrefAt) + "\n%%EOF\n";
    return out;
}

}  // namespace

namespace PdfDocument {

void prepare(QTextDocument& document) {
    // Any letter spacing turns the font's ligatures off; a 64th of a pixel changes nothing seen.
    // (Turning shaping off instead makes tables measure their words wrong and break them.)
    QFont font = document.defaultFont();
    font.setLetterSpacing(QFont::AbsoluteSpacing, 1.0 / 64);
    document.setDefaultFont(font);
    // Words are not broken inside: a table then gives each column the width of its longest word.
    QTextOption option = document.defaultTextOption();
    option.setWrapMode(QTextOption::WordWrap);
    document.setDefaultTextOption(option);
}

void write(const QString& html, const QString& file, const Metadata& metadata, bool landscape) {
    // Printed beside the target and moved over it only when whole.
    AtomicFile target(file);
    const QString path = target.temporaryPath();
    {
        QPrinter writer(QPrinter::HighResolution);
        writer.setOutputFormat(QPrinter::PdfFormat);
        writer.setOutputFileName(path);
        writer.setDocName(metadata.title);
        writer.setCreator(QStringLiteral("Dettaglio effetti"));
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageOrientation(landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
        writer.setPageMargins(QMarginsF(12, 12, 12, 12), QPageLayout::Millimeter);
        QTextDocument document;
        prepare(document);
        document.setHtml(html);
        errno = 0;
        document.print(&writer);
    }
    QFile written(path);
    // The PDF writer tells no failure of its own: a file without its end was not written whole.
    if (!written.open(QIODevice::ReadOnly)) target.failed(0);
    const QByteArray pdf = written.readAll();
    written.close();
    if (!pdf.trimmed().endsWith("%%EOF")) target.failedWriting(errno);
    const QByteArray complete = withInformation(pdf, metadata);
    if (complete.isEmpty()) target.failed(0);
    target.write(complete);
    target.commit();
}

}  // namespace PdfDocument

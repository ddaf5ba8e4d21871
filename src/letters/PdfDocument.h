#pragma once

#include <QString>

class QTextDocument;

// A printed page written to a PDF file, A4, with its title and author in the file's information
// (what a PDF reader lists and a search finds) and its words extractable as typed: the font draws
// each letter on its own, without ligatures ("ff" of "Effetto" stays two letters).
namespace PdfDocument {

struct Metadata {
    QString title;
    QString author;
};

// A document made ready for paper: no ligatures, and words kept whole when lines wrap.
void prepare(QTextDocument& document);
// Writes `html` whole or not at all. Throws SuiteError when the file cannot be written.
void write(const QString& html, const QString& file, const Metadata& metadata, bool landscape);

}  // namespace PdfDocument

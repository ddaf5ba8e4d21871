#pragma once

#include "AtomicFile.h"
#include "PdfStandardFont.h"

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QString>
#include <memory>

// A PDF written to its file as it is drawn, for prints as long as a selection: each page's
// content goes to the disk, compressed, when the next page begins, and the file's index (its
// cross-reference table) and trailer follow the last page; what is held meanwhile is one page
// and one offset per object. Text is set in the standard fonts (PdfStandardFont), which the file
// names without embedding. Coordinates are points from the page's top-left corner. Nothing
// takes the file's name before close(); a writer dropped unclosed leaves no file.
class PdfStream {
public:
    // Pages of `width` x `height` points. Throws SuiteError when the file cannot be begun.
    PdfStream(const QString& path, double width, double height);
    ~PdfStream();
    PdfStream(const PdfStream&) = delete;
    PdfStream& operator=(const PdfStream&) = delete;

    // What a reader shows as the document's title and author.
    void setInformation(const QString& title, const QString& author);
    // Ends the page being drawn, if any, and begins the next.
    void newPage();
    // WinAnsi text (PdfStandardFont::encode) with its baseline's left end at (x, baseline).
    void text(double x, double baseline, PdfStandardFont::Face face, double size, const QByteArray& encoded);
    // A horizontal rule of `thickness` points.
    void rule(double x1, double x2, double y, double thickness);
    double width() const { return width_; }
    double height() const { return height_; }
    // The pages begun, the one being drawn included.
    int pages() const { return int(pages_.size()) + (drawing_ ? 1 : 0); }
    // Writes the index and the trailer and gives the file its name; throws SuiteError.
    void close();

private:
    int reserve();
    void object(int number, const QByteArray& body);
    void put(const QByteArray& bytes);
    void endPage();

    std::unique_ptr<AtomicFile> target_;
    QFile out_;
    double width_;
    double height_;
    qint64 written_ = 0;
    QList<qint64> offsets_;  // by object number, from 1
    QList<int> pages_;       // the page objects, in order
    QByteArray content_;
    bool drawing_ = false;
    int face_ = -1;  // the font and size the page's text is set in, once set
    double size_ = 0;
    QString title_;
    QString author_;
    static constexpr int kCatalog = 1;
    static constexpr int kPageTree = 2;
    static constexpr int kRegular = 3;
    static constexpr int kBold = 4;
};

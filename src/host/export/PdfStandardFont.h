#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// The standard fonts every PDF reader carries (Helvetica and Helvetica-Bold), which a PDF names
// without embedding them: text is written in their WinAnsi encoding, which holds the Italian
// letters, "€" and the typographic dashes and quotes, and measured with the fonts' published
// widths, so that a column's text can be cut to the column without asking any font engine.
class PdfStandardFont {
public:
    enum Face { Regular, Bold };

    static QByteArray name(Face face);
    // The text in WinAnsi: a character the encoding lacks becomes "?", a control a blank.
    static QByteArray encode(const QString& text);
    // The width in points of WinAnsi text at `size` points.
    static double width(Face face, const QByteArray& encoded, double size);
    // The text cut to `room` points with "..." at its end; whole when it fits.
    static QByteArray elided(Face face, const QByteArray& encoded, double size, double room);
    // The text in lines of at most `room` points, broken at blanks; a word longer than a line is
    // cut like elided().
    static QList<QByteArray> wrapped(Face face, const QByteArray& encoded, double size, double room);
};

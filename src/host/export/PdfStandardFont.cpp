#include "PdfStandardFont.h"

#include <array>

namespace {

// Advance widths in thousandths of the size, by WinAnsi code from 32 to 255, as the fonts'
// published metrics give them; 0 where the encoding has no character.
constexpr std::array<short, 224> kRegular = {
    278,  278, 355, 556, 556, 889,  667,  191,  333, 333,  389, 584, 278,  333, 278, 278,  // 32-47
    556,  556, 556, 556, 556, 556,  556,  556,  556, 556,  278, 278, 584,  584, 584, 556,  // 48-63
    1015, 667, 667, 722, 722, 667,  611,  778,  722, 278,  500, 667, 556,  833, 722, 778,  // 64-79
    667,  778, 722, 667, 611, 722,  667,  944,  667, 667,  611, 278, 278,  278, 469, 556,  // 80-95
    333,  556, 556, 500, 556, 556,  278,  556,  556, 222,  222, 500, 222,  833, 556, 556,  // 96-111
    556,  556, 333, 500, 278, 556,  500,  722,  500, 500,  500, 334, 260,  334, 584, 0,    // 112-127
    556,  0,   222, 556, 333, 1000, 556,  556,  333, 1000, 667, 333, 1000, 0,   611, 0,    // 128-143
    0,    222, 222, 333, 333, 350,  556,  1000, 333, 1000, 500, 333, 944,  0,   500, 667,  // 144-159
    278,  333, 556, 556, 556, 556,  260,  556,  333, 737,  370, 556, 584,  333, 737, 333,  // 160-175
    400,  584, 333, 333, 333, 556,  537,  278,  333, 333,  365, 556, 834,  834, 834, 611,  // 176-191
    667,  667, 667, 667, 667, 667,  1000, 722,  667, 667,  667, 667, 278,  278, 278, 278,  // 192-207
    722,  722, 778, 778, 778, 778,  778,  584,  778, 722,  722, 722, 722,  667, 667, 611,  // 208-223
    556,  556, 556, 556, 556, 556,  889,  500,  556, 556,  556, 556, 278,  278, 278, 278,  // 224-239
    556,  556, 556, 556, 556, 556,  556,  584,  611, 556,  556, 556, 556,  500, 556, 500,  // 240-255
};
constexpr std::array<short, 224> kBold = {
    278, 333, 474, 556, 556, 889,  722,  238,  333, 333,  389, 584, 278,  333, 278, 278,  // 32-47
    556, 556, 556, 556, 556, 556,  556,  556,  556, 556,  333, 333, 584,  584, 584, 611,  // 48-63
    975, 722, 722, 722, 722, 667,  611,  778,  722, 278,  556, 722, 611,  833, 722, 778,  // 64-79
    667, 778, 722, 667, 611, 722,  667,  944,  667, 667,  611, 333, 278,  333, 584, 556,  // 80-95
    333, 556, 611, 556, 611, 556,  333,  611,  611, 278,  278, 556, 278,  889, 611, 611,  // 96-111
    611, 611, 389, 556, 333, 611,  556,  778,  556, 556,  500, 389, 280,  389, 584, 0,    // 112-127
    556, 0,   278, 556, 500, 1000, 556,  556,  333, 1000, 667, 333, 1000, 0,   611, 0,    // 128-143
    0,   278, 278, 500, 500, 350,  556,  1000, 333, 1000, 556, 333, 944,  0,   500, 667,  // 144-159
    278, 333, 556, 556, 556, 556,  280,  556,  333, 737,  370, 556, 584,  333, 737, 333,  // 160-175
    400, 584, 333, 333, 333, 611,  556,  278,  333, 333,  365, 556, 834,  834, 834, 611,  // 176-191
    722, 722, 722, 722, 722, 722,  1000, 722,  667, 667,  667, 667, 278,  278, 278, 278,  // 192-207
    722, 722, 778, 778, 778, 778,  778,  584,  778, 722,  722, 722, 722,  667, 667, 611,  // 208-223
    556, 556, 556, 556, 556, 556,  889,  556,  556, 556,  556, 556, 278,  278, 278, 278,  // 224-239
    611, 611, 611, 611, 611, 611,  611,  584,  611, 611,  611, 611, 611,  556, 611, 556,  // 240-255
};

// WinAnsi's codes 128 to 159, by the character they stand for; 0 where there is none.
constexpr std::array<char16_t, 32> kHigh = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

}  // namespace

QByteArray PdfStandardFont::name(Face face) {
    return face == Bold ? QByteArrayLiteral("Helvetica-Bold") : QByteArrayLiteral("Helvetica");
}

QByteArray PdfStandardFont::encode(const QString& text) {
    QByteArray out(text.size(), Qt::Uninitialized);
    qsizetype n = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        char code = '?';
        if (c < 0x20)
            code = ' ';
        else if (c < 0x7F || (c >= 0xA0 && c <= 0xFF))
            code = char(c);
        else if (c >= 0x100)
            for (size_t h = 0; h < kHigh.size(); ++h)
                if (kHigh[h] == c) code = char(0x80 + h);
        // A character outside the basic plane is two code units: one "?" for it.
        if (QChar::isLowSurrogate(c) && i > 0 && QChar::isHighSurrogate(text[i - 1].unicode())) continue;
        out[n++] = code;
    }
    out.truncate(n);
    return out;
}

namespace {

int units(PdfStandardFont::Face face, const QByteArray& encoded) {
    const std::array<short, 224>& widths = face == PdfStandardFont::Bold ? kBold : kRegular;
    int total = 0;
    for (const char c : encoded) {
        const auto code = static_cast<unsigned char>(c);
        if (code >= 32) total += widths[code - 32];
    }
    return total;
}

}  // namespace

double PdfStandardFont::width(Face face, const QByteArray& encoded, double size) {
    return units(face, encoded) * size / 1000.0;
}

QByteArray PdfStandardFont::elided(Face face, const QByteArray& encoded, double size, double room) {
    const int limit = int(room * 1000.0 / size);
    if (units(face, encoded) <= limit) return encoded;
    const std::array<short, 224>& widths = face == Bold ? kBold : kRegular;
    const int dots = 3 * widths['.' - 32];
    int used = 0;
    qsizetype keep = 0;
    for (; keep < encoded.size(); ++keep) {
        const auto code = static_cast<unsigned char>(encoded[keep]);
        const int w = code >= 32 ? widths[code - 32] : 0;
        if (used + w + dots > limit) break;
        used += w;
    }
    // No blank left before the dots: "Rossi ..." reads as a cut word gone.
    while (keep > 0 && encoded[keep - 1] == ' ') --keep;
    return encoded.left(keep) + "...";
}

QList<QByteArray> PdfStandardFont::wrapped(Face face, const QByteArray& encoded, double size, double room) {
    QList<QByteArray> lines;
    QByteArray current;
    for (const QByteArray& word : encoded.split(' ')) {
        if (word.isEmpty()) continue;
        const QByteArray longer = current.isEmpty() ? word : current + ' ' + word;
        if (current.isEmpty() || width(face, longer, size) <= room) {
            current = longer;
            continue;
        }
        lines << elided(face, current, size, room);
        current = word;
    }
    if (!current.isEmpty()) lines << elided(face, current, size, room);
    return lines;
}

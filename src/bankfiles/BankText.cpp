#include "BankText.h"

QString BankText::ascii(const QString& text) {
    // Decomposition splits a letter from its accents; what stays outside ASCII has no spelling
    // the bank would read.
    const QString decomposed = text.normalized(QString::NormalizationForm_KD);
    QString out;
    out.reserve(decomposed.size());
    for (const QChar c : decomposed) {
        if (c.category() == QChar::Mark_NonSpacing) continue;
        if (c == u'ß') {
            out += QStringLiteral("SS");
        } else if (c == u'æ' || c == u'Æ') {
            out += QStringLiteral("AE");
        } else if (c == u'ø' || c == u'Ø') {
            out += u'O';
        } else if (c == u'’' || c == u'‘') {
            out += u'\'';
        } else if (c.unicode() >= 0x20 && c.unicode() < 0x7f) {
            out += c.toUpper();
        } else {
            out += u' ';
        }
    }
    return out.simplified();
}

QString BankText::compact(const QString& text) {
    QString out;
    for (const QChar c : text)
        if (c.unicode() < 0x80 && c.isLetterOrNumber()) out += c.toUpper();
    return out;
}

#pragma once

#include <QString>

// Texts as the banks' files take them: upper-case ASCII letters, digits and a few signs.
namespace BankText {

// `text` in upper case with accented Latin letters reduced to their base letter ("à" to "A",
// "ß" to "SS"), every other character outside printable ASCII made a blank, blanks squeezed.
QString ascii(const QString& text);
// Only the digits and letters of `text`, upper case (IBANs, codes typed with blanks).
QString compact(const QString& text);

}  // namespace BankText

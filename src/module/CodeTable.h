#pragma once

#include "FlagTexts.h"

#include <QList>
#include <QString>

// A code table: the codes of an indicator column with their descriptions (exact, leading blank
// included), as the combos list them and the grids show them.
namespace CodeTable {

struct Row {
    int code;
    QString description;
};

// The flags: 0 and 1 in the host's words.
inline const QList<Row>& flags() {
    static const QList<Row> rows = {{0, FlagTexts::kNo}, {1, FlagTexts::kYes}};
    return rows;
}

// A grid cell of a coded column: the code's description when the text is one of the codes (an
// empty or non-numeric text counts as 0); any other text unchanged. The grid shows numbers with
// Italian separators: "21" stays "21", "1,00" would not be a code.
inline QString describe(const QList<Row>& rows, const QString& text) {
    bool ok = false;
    int code = text.trimmed().toInt(&ok);
    if (!ok) code = 0;
    for (const Row& r : rows)
        if (r.code == code) return r.description;
    return text;
}

}  // namespace CodeTable

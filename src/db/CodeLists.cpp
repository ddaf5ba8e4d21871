#include "CodeLists.h"

#include "BillTypes.h"
#include "Schema.h"

namespace {

QList<int> range(int from, int to) {
    QList<int> codes;
    for (int c = from; c <= to; ++c) codes.append(c);
    return codes;
}

QList<CodeLists::CodedColumn> build() {
    const QString ef01 = QStringLiteral("EF01_SCADENZE");
    const QString ef06 = QStringLiteral("EF06_SCADSTO");
    QList<CodeLists::CodedColumn> out = {
        {ef01, QStringLiteral("EF01_TIPOEFF"), CodeLists::tipoEffetto()},
        {ef01, QStringLiteral("EF01_INDSPERIT_S"), range(0, 3)},
        {ef01, QStringLiteral("EF01_INDSTATO_S"), range(0, 1)},
        {ef01, QStringLiteral("EF01_INDPRES_S"), range(0, 9)},
        {ef01, QStringLiteral("EF01_INDTIPOMOV"), range(0, 4)},
        {ef01, QStringLiteral("EF01_ACCETTAZIONE"), range(0, 2)},
        {ef01, QStringLiteral("EF01_INDGENSTATO_S"), range(0, 6)},
        {ef01, QStringLiteral("EF01_INDLIQPROV"), range(0, 2)},
        {ef01, QStringLiteral("EF01_INDMERCEART62"), range(0, 2)},
        {ef01, QStringLiteral("EF01_TIPOCF_CG44"), range(0, 1)},
        {ef01, QStringLiteral("EF01_INDCONTO"), range(0, 1)},
        {ef06, QStringLiteral("EF06_INDTIPOPER"), CodeLists::tipoOperazione()},
        {ef06, QStringLiteral("EF06_INDGENSTATO_S"), range(0, 6)},
        {ef06, QStringLiteral("EF06_INDSPERIT_S"), range(0, 3)},
        {ef06, QStringLiteral("EF06_INDSTATO_S"), range(0, 1)},
        {ef06, QStringLiteral("EF06_INDPRES_S"), range(0, 9)},
        {ef06, QStringLiteral("EF06_INDTIPODIST_EF09"), CodeLists::tipoDistinta()},
        {ef06, QStringLiteral("EF06_INDORDPBONIF_EF10"), range(0, 1)},
        {QStringLiteral("EF05_SCADSOLLEC"), QStringLiteral("EF05_INDBLOC"), range(0, 2)},
        {QStringLiteral("EF09_DISTINTE"), QStringLiteral("EF09_INDTIPODIST"), CodeLists::tipoDistinta()},
        {QStringLiteral("EF10_ORDPBONIF"), QStringLiteral("EF10_INDORDPBONIF"), range(0, 1)},
        {QStringLiteral("CG6G_CAUSPAGSEPA"), QStringLiteral("CG6G_INDTIPOMOV"), range(0, 2)},
        {QStringLiteral("CG44_CLIFOR"), QStringLiteral("CG44_TIPOCF"), range(0, 1)},
        {QStringLiteral("CG24_TABPDC"), QStringLiteral("CG24_INDTIPOCONTO"), range(0, 1)},
    };
    // Flags are 0 or 1 in every table.
    for (const TableDef& t : Schema::all()) {
        if (t.isView) continue;
        for (const ColumnDef& c : t.columns)
            if (c.name.contains(QStringLiteral("FLG")) || c.name == QStringLiteral("EF01_INDEXP"))
                out.append({t.name, c.name, range(0, 1)});
    }
    return out;
}

}  // namespace

QList<int> CodeLists::tipoEffetto() {
    QList<int> codes;
    for (const BillTypes::Type& t : BillTypes::all()) codes.append(t.code);
    return codes;
}

QList<int> CodeLists::tipoOperazione() {
    return range(0, 16);
}

QList<int> CodeLists::tipoDistinta() {
    QList<int> codes = range(0, 9);
    codes.append(21);
    return codes;
}

const QList<CodeLists::CodedColumn>& CodeLists::all() {
    static const QList<CodedColumn> columns = build();
    return columns;
}

QList<int> CodeLists::codesOf(const QString& column) {
    for (const CodedColumn& c : all())
        if (c.column.compare(column, Qt::CaseInsensitive) == 0) return c.codes;
    return {};
}

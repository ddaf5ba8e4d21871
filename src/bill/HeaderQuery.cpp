#include "HeaderQuery.h"

#include <QRegularExpression>
#include <QStringList>

namespace {

const QString kCrLf = QStringLiteral("\r\n");

// The archive conditions of an archive type, in their order, without the leading AND.
QStringList archiveConditions(const HeaderQuery& q) {
    const QString company = QString::number(q.company);
    const QString group = QString::number(q.ledgerGroup);
    switch (q.tipoArchivio) {
        case 0:
        case 1: {
            const QString kind = QString::number(q.tipoArchivio);
            const QString account = q.tipoArchivio == 0 ? q.customerAccount : q.supplierAccount;
            return {QStringLiteral("EF01_DITTACF_CG18 = ") + company,
                    QStringLiteral("EF01_TIPOCF_CG44 = ") + kind, QStringLiteral("EF01_INDCONTO = ") + kind,
                    QStringLiteral("EF01_GRUPPO_CG10 = ") + group,
                    QStringLiteral("EF01_CONTO_CG24 = '") + account + QStringLiteral("'")};
        }
        case 2:
        case 3:
            return {QStringLiteral("EF01_DITTACF_CG18 IS NULL"), QStringLiteral("EF01_TIPOCF_CG44 IS NULL"),
                    QStringLiteral("EF01_CLIFOR_CG44 IS NULL"),
                    QStringLiteral("EF01_INDCONTO = ") +
                        (q.tipoArchivio == 2 ? QStringLiteral("0") : QStringLiteral("1")),
                    QStringLiteral("EF01_GRUPPO_CG10 = ") + group};
        default:
            return {};
    }
}

QString lines(const QStringList& parts) {
    return parts.join(kCrLf) + kCrLf;
}

// The counterparts whose registry names a selection can hold for, when it speaks of the registry
// name alone (ANAGCLIFOR's columns, compared, joined by AND, OR and NOT): a Bill of any other
// counterpart cannot pass it, since a comparison with the Null of a counterpart without a name
// is never true. Empty for any other selection (one that tests for Null, or names another
// table), which the EXISTS alone decides.
QString registryCounterparts(const HeaderQuery& q) {
    if (q.tipoArchivio > 1 || !q.selection.contains(QStringLiteral("ANAGCLIFOR."))) return {};
    static const QRegularExpression literal(QStringLiteral("'(?:[^']|'')*'"));
    static const QRegularExpression word(QStringLiteral("[A-Za-z_][A-Za-z0-9_.]*"));
    static const QStringList allowed{
        QStringLiteral("LIKE"),  QStringLiteral("AND"),   QStringLiteral("OR"),
        QStringLiteral("NOT"),   QStringLiteral("IN"),    QStringLiteral("BETWEEN"),
        QStringLiteral("UPPER"), QStringLiteral("LOWER"), QStringLiteral("ESCAPE")};
    QString bare = q.selection;
    bare.replace(literal, QStringLiteral("''"));
    for (auto it = word.globalMatch(bare); it.hasNext();) {
        const QString w = it.next().captured();
        if (!w.startsWith(QStringLiteral("ANAGCLIFOR."), Qt::CaseInsensitive) &&
            !allowed.contains(w.toUpper()))
            return {};
    }
    return QStringLiteral(
               "    AND EF01_SCADENZE.EF01_DITTACF_CG18 = %1 AND EF01_SCADENZE.EF01_TIPOCF_CG44 = %2"
               " AND EF01_SCADENZE.EF01_CLIFOR_CG44 IN (SELECT ANAGCLIFOR.VCG16_44_CF_CLIFOR FROM"
               " VCG16_CG44_ALLADATA ANAGCLIFOR WITH (NOLOCK) WHERE ANAGCLIFOR.VCG16_44_CF_DITTA = %1"
               " AND ANAGCLIFOR.VCG16_44_CF_TIPOCF = %2 AND (%3))")
               .arg(q.company)
               .arg(q.tipoArchivio)
               .arg(q.selection) +
           kCrLf;
}

}  // namespace

bool HeaderQuery::selectionNeedsJoin(const QString& selection) {
    return selection.contains(QStringLiteral("VFSEF01"));
}

QString HeaderQuery::selectText() const {
    QString sql = lines({QStringLiteral("SELECT"), QStringLiteral("    EF01_SCADENZE.*"),
                         QStringLiteral("    ,   CO99_MASTERDOC.CO99_INDTIPOOP"), QStringLiteral("FROM"),
                         QStringLiteral("    EF01_SCADENZE WITH (NOLOCK)"), QStringLiteral("    INNER JOIN"),
                         QStringLiteral("    CO99_MASTERDOC WITH (NOLOCK)"), QStringLiteral("    ON"),
                         QStringLiteral("    EF01_SCADENZE.EF01_DITTA_CG18=CO99_DITTA_CG18"),
                         QStringLiteral("    AND EF01_SCADENZE.EF01_NUMREG_CO99=CO99_NUMREG")});
    const bool useJoin = joined || selectionNeedsJoin(selection);
    if (useJoin) {
        struct Join {
            const char* table;
            QStringList on;
        };
        const Join joins[] = {
            {"            CG24_TABPDC WITH (NOLOCK)",
             {QStringLiteral("            SCAD.EF01_INDCONTO = CG24_TABPDC.CG24_INDTIPOCONTO"),
              QStringLiteral("            AND SCAD.EF01_GRUPPO_CG10 = CG24_TABPDC.CG24_GRUPPO_CG10"),
              QStringLiteral("            AND SCAD.EF01_CONTO_CG24 = CG24_TABPDC.CG24_CONTO")}},
            {"            MG17_AGENTI WITH (NOLOCK)",
             {QStringLiteral("            MG17_AGENTI.MG17_IDAGENTE = SCAD.EF01_IDAGENTE_MG17")}},
            {"            CG16_ANAGGEN ANAGAGENTE WITH (NOLOCK)",
             {QStringLiteral("            ANAGAGENTE.CG16_CODICE = MG17_AGENTI.MG17_ANAGEN_CG16")}},
            {"            CG44_CLIFOR WITH (NOLOCK)",
             {QStringLiteral("            SCAD.EF01_DITTACF_CG18 = CG44_CLIFOR.CG44_DITTA_CG18"),
              QStringLiteral("            AND SCAD.EF01_TIPOCF_CG44 = CG44_CLIFOR.CG44_TIPOCF"),
              QStringLiteral("            AND SCAD.EF01_CLIFOR_CG44 = CG44_CLIFOR.CG44_CLIFOR")}},
            {"            VCG16_CG44_ALLADATA ANAGCLIFOR WITH (NOLOCK)",
             {QStringLiteral("            ANAGCLIFOR.VCG16_44_CF_DITTA = CG44_CLIFOR.CG44_DITTA_CG18"),
              QStringLiteral("            AND ANAGCLIFOR.VCG16_44_CF_TIPOCF = CG44_CLIFOR.CG44_TIPOCF"),
              QStringLiteral("            AND ANAGCLIFOR.VCG16_44_CF_CLIFOR = CG44_CLIFOR.CG44_CLIFOR"),
              QStringLiteral("            AND SCAD.EF01_DATADOC BETWEEN ANAGCLIFOR.DATAINIZIOVALIDITA AND "
                             "ANAGCLIFOR.DATAFINEVALIDITA")}},
            {"            MG19_CLIFORVA WITH (NOLOCK)",
             {QStringLiteral("            MG19_CLIFORVA.MG19_DITTA_CG18 = CG44_CLIFOR.CG44_DITTA_CG18"),
              QStringLiteral("            AND MG19_CLIFORVA.MG19_TIPOCF_CG44 = CG44_CLIFOR.CG44_TIPOCF"),
              QStringLiteral("            AND MG19_CLIFORVA.MG19_CLIFOR_CG44 = CG44_CLIFOR.CG44_CLIFOR")}},
            {"            VFILTROSTATI AS VFSEF01 WITH (NOLOCK)",
             {QStringLiteral("            EF01_SCADENZE.EF01_GUID = VFSEF01.V_GUID")}},
        };
        sql +=
            lines({QStringLiteral("WHERE"), QStringLiteral("    EXISTS ("), QStringLiteral("        SELECT"),
                   QStringLiteral("            1"), QStringLiteral("        FROM"),
                   QStringLiteral("            EF01_SCADENZE AS SCAD WITH (NOLOCK)")});
        for (const Join& j : joins) {
            sql += lines({QStringLiteral("            LEFT OUTER JOIN"), QString::fromLatin1(j.table),
                          QStringLiteral("            ON")});
            sql += lines(j.on);
        }
        sql += lines(
            {QStringLiteral("        WHERE"),
             QStringLiteral("            (SCAD.EF01_DITTA_CG18 = EF01_SCADENZE.EF01_DITTA_CG18)"),
             QStringLiteral("            AND (SCAD.EF01_NUMREG_CO99 = EF01_SCADENZE.EF01_NUMREG_CO99)"),
             QStringLiteral("            AND (SCAD.EF01_RIGACONT_CG42 = EF01_SCADENZE.EF01_RIGACONT_CG42)"),
             QStringLiteral("            AND (SCAD.EF01_PROGEC_EC01 = EF01_SCADENZE.EF01_PROGEC_EC01)"),
             QStringLiteral("            AND (SCAD.EF01_PROGEFF = EF01_SCADENZE.EF01_PROGEFF)")});
        for (const QString& c : archiveConditions(*this))
            sql += QStringLiteral("            AND (SCAD.") + c + QStringLiteral(")") + kCrLf;
        if (!selection.isEmpty()) {
            QString rewritten = selection;
            rewritten.replace(QStringLiteral("EF01_SCADENZE."), QStringLiteral("SCAD."));
            rewritten.replace(QStringLiteral("EF01_"), QStringLiteral("SCAD.EF01_"));
            rewritten.replace(QStringLiteral("SCAD.EF01_AGENTE_MG17"),
                              QStringLiteral("MG17_AGENTI.MG17_AGENTE"));
            sql += QStringLiteral("               AND ") + QStringLiteral("(") + rewritten +
                   QStringLiteral(")") + kCrLf;
        }
        sql += QStringLiteral("       )") + kCrLf;
        // Said again outside, where the engine can read only those counterparts' Bills (an index
        // range each) instead of testing every Bill of the order's index.
        sql += registryCounterparts(*this);
    } else {
        sql += QStringLiteral(" WHERE");
        sql += QStringLiteral("     (EF01_DITTA_CG18 = ") + QString::number(company) + QStringLiteral(")") +
               kCrLf;
        for (const QString& c : archiveConditions(*this))
            sql += QStringLiteral("               AND (") + c + QStringLiteral(")") + kCrLf;
        if (!selection.isEmpty())
            sql +=
                QStringLiteral("     AND ") + QStringLiteral("(") + selection + QStringLiteral(")") + kCrLf;
    }
    sql.replace(QLatin1Char('['), QLatin1Char('(')).replace(QLatin1Char(']'), QLatin1Char(')'));
    return sql;
}

QString HeaderQuery::orderText() const {
    QString text = order;
    return text.replace(QLatin1Char('['), QLatin1Char('(')).replace(QLatin1Char(']'), QLatin1Char(')'));
}

QString HeaderQuery::text() const {
    if (order.isEmpty()) return selectText();
    return selectText() + QStringLiteral(" ORDER BY") + kCrLf + QStringLiteral("   ") + orderText();
}

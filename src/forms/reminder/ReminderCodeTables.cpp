#include "ReminderCodeTables.h"

namespace ReminderCodeTables {

QList<Row> blocco() {
    return {{0, QStringLiteral(" Non applicato")},
            {1, QStringLiteral(" Blocco mobile")},
            {2, QStringLiteral(" Blocco fisso")}};
}

QString cellText(const QString& field, const QString& text) {
    static const char* const flags[] = {"EF05_FLGCALCINT", "EF05_FLGAZLEGAL", "EF05_FLGINVIOAGE",
                                        "EF05_FLGEMISDOC", "EF05_FLGDOCBIS",  "EF05_FLGPERS1",
                                        "EF05_FLGPERS2"};
    for (const char* flag : flags)
        if (field.compare(QLatin1String(flag), Qt::CaseInsensitive) == 0)
            return CodeTable::describe(CodeTable::flags(), text);
    if (field.compare(QLatin1String("EF05_INDBLOC"), Qt::CaseInsensitive) == 0) {
        static const QList<Row> rows = blocco();
        return CodeTable::describe(rows, text);
    }
    return text;
}

}  // namespace ReminderCodeTables

#include "XlsxOfficeExport.h"

#include "Decimal.h"
#include "HostNavigator.h"
#include "SuiteError.h"

#include <QDateTime>

void XlsxOfficeExport::AddMasterDetail(const QString& title, const QStringList& headings,
                                       const QList<QVariantList>& rows) {
    const int sheet = book_.addSheet(title);
    book_.setText(sheet, 0, 0,
                  TitoloMaster.isEmpty() || TitoloMaster == title
                      ? title
                      : TitoloMaster + QStringLiteral(" - ") + title,
                  true);
    for (int c = 0; c < headings.size(); ++c) {
        book_.setText(sheet, 2, c, headings[c], true);
        book_.setColumnWidth(sheet, c, std::max<qsizetype>(10, headings[c].size() + 2));
    }
    int r = 3;
    for (const QVariantList& row : rows) {
        for (int c = 0; c < row.size(); ++c) {
            const QVariant& v = row[c];
            if (v.isNull()) continue;
            if (v.metaType() == QMetaType::fromType<Decimal>())
                book_.setAmount(sheet, r, c, v.value<Decimal>());
            else if (v.metaType().id() == QMetaType::Double)
                book_.setNumber(sheet, r, c, v.toDouble());
            else if (v.metaType().id() == QMetaType::Int || v.metaType().id() == QMetaType::LongLong)
                book_.setInteger(sheet, r, c, v.toLongLong());
            else if (v.metaType().id() == QMetaType::QDate)
                book_.setDate(sheet, r, c, v.toDate());
            else if (v.metaType().id() == QMetaType::QDateTime)
                book_.setDate(sheet, r, c, v.toDateTime().date());
            else
                book_.setText(sheet, r, c, v.toString());
        }
        ++r;
    }
}

int XlsxOfficeExport::run(HostNavigator& navigator, const QString& path) {
    XlsxOfficeExport document;
    emit navigator.BeforeExportToOffice(&document);
    if (document.sectionCount() == 0)
        throw SuiteError(SuiteError::kOperationNotAllowed, QStringLiteral("Esportazione"),
                         QStringLiteral("Il programma in uso non ha dati da esportare."));
    document.save(path);
    return document.sectionCount();
}

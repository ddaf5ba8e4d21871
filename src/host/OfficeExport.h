#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantList>

// The host's export to an office document: a master title and, in order, sections of a title,
// column headings and rows. Values keep their type: texts, numbers (Decimal amounts, integers)
// and dates; the document shows each as what it is.
class OfficeExport {
public:
    virtual ~OfficeExport() = default;

    QString TitoloMaster;
    virtual void AddMasterDetail(const QString& title, const QStringList& headings,
                                 const QList<QVariantList>& rows) = 0;
};

#pragma once

#include "ZipEntry.h"

#include <QHash>
#include <QStringList>
#include <QXmlStreamReader>

// The cells of one sheet of an .xlsx as a spreadsheet program reads them, by reference ("B3"):
// a number's text as written, a string's text (shared or inline). Read with unzip and an XML
// parser, never with the code that wrote the file.
inline QHash<QString, QString> xlsxCells(const QString& archive, int sheet = 1) {
    QStringList shared;
    QXmlStreamReader strings(zipEntry(archive, QStringLiteral("xl/sharedStrings.xml")));
    while (!strings.atEnd())
        if (strings.readNext() == QXmlStreamReader::StartElement && strings.name() == QLatin1String("si"))
            shared << strings.readElementText(QXmlStreamReader::IncludeChildElements);
    QHash<QString, QString> cells;
    QXmlStreamReader xml(zipEntry(archive, QStringLiteral("xl/worksheets/sheet%1.xml").arg(sheet)));
    QString ref, type;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) continue;
        if (xml.name() == QLatin1String("c")) {
            ref = xml.attributes().value(QStringLiteral("r")).toString();
            type = xml.attributes().value(QStringLiteral("t")).toString();
        } else if (xml.name() == QLatin1String("v") || xml.name() == QLatin1String("is")) {
            const QString v = xml.readElementText(QXmlStreamReader::IncludeChildElements);
            cells.insert(ref, type == QLatin1String("s") ? shared.value(v.toInt()) : v);
        }
    }
    return cells;
}

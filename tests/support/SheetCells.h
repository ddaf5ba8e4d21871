#pragma once

#include "ZipEntry.h"

#include <QHash>
#include <QRegularExpression>
#include <QStringList>
#include <QXmlStreamReader>
#include <clocale>
#include <optional>
#include <string>

// One sheet of an .xlsx read as a spreadsheet program reads it, with unzip and an XML parser:
// nothing of the writer's own code. Cells by reference ("H4"): texts resolved through the shared
// strings or written inline, numbers as an XML double is read (a point, never a comma; anything else is no
// number).
struct SheetCells {
    QHash<QString, QString> texts;
    QHash<QString, std::optional<double>> numbers;
    QList<std::optional<double>> widths;  // each <col width="...">

    // `sheet` counts from 1, as the archive names the sheets.
    static SheetCells read(const QString& xlsx, int sheet) {
        QStringList shared;
        QXmlStreamReader strings(zipEntry(xlsx, QStringLiteral("xl/sharedStrings.xml")));
        while (!strings.atEnd())
            if (strings.readNext() == QXmlStreamReader::StartElement && strings.name() == u"si")
                shared << strings.readElementText(QXmlStreamReader::IncludeChildElements);
        SheetCells cells;
        QXmlStreamReader xml(zipEntry(xlsx, QStringLiteral("xl/worksheets/sheet%1.xml").arg(sheet)));
        QString ref;
        QString type;
        while (!xml.atEnd()) {
            if (xml.readNext() != QXmlStreamReader::StartElement) continue;
            if (xml.name() == u"col") {
                cells.widths << number(xml.attributes().value(QStringLiteral("width")).toString());
            } else if (xml.name() == u"c") {
                ref = xml.attributes().value(QStringLiteral("r")).toString();
                type = xml.attributes().value(QStringLiteral("t")).toString();
            } else if (xml.name() == u"t" && type == u"inlineStr") {
                cells.texts.insert(ref, xml.readElementText());  // a sheet written row by row
            } else if (xml.name() == u"v") {
                const QString v = xml.readElementText();
                if (type == u"s")
                    cells.texts.insert(ref, shared.value(v.toInt()));
                else
                    cells.numbers.insert(ref, number(v));
            }
        }
        return cells;
    }

    // The column letters of the cell in `row` whose text is `text`; empty when there is none.
    QString columnOf(int row, const QString& text) const {
        for (auto it = texts.cbegin(); it != texts.cend(); ++it) {
            const qsizetype digits = it.key().indexOf(QRegularExpression(QStringLiteral("\\d")));
            if (it.value() == text && it.key().mid(digits).toInt() == row) return it.key().left(digits);
        }
        return {};
    }

private:
    static std::optional<double> number(const QString& text) {
        bool ok = false;
        const double value = text.toDouble(&ok);  // Qt reads the C format whatever the locale
        return ok ? std::optional<double>(value) : std::nullopt;
    }
};

// The C library's numbers in the clerk's format (LC_NUMERIC it_IT: "5708,89") while it lives:
// what a writer formatting numbers with printf meets on an Italian desk.
class ItalianCLocale {
public:
    ItalianCLocale() : previous_(std::setlocale(LC_ALL, nullptr)) {
        installed_ = std::setlocale(LC_ALL, "it_IT.UTF-8") != nullptr;
    }
    ~ItalianCLocale() { std::setlocale(LC_ALL, previous_.c_str()); }
    ItalianCLocale(const ItalianCLocale&) = delete;
    ItalianCLocale& operator=(const ItalianCLocale&) = delete;
    // False when the machine has no it_IT.UTF-8 locale (scripts/test.sh generates it).
    bool installed() const { return installed_; }

private:
    std::string previous_;
    bool installed_ = false;
};

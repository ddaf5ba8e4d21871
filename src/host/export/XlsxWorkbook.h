#pragma once

#include "Decimal.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QVariant>

// A spreadsheet built in memory and written as an .xlsx file: sheets of cells holding text
// (optionally bold, for headings), numbers shown with two decimals, exact amounts, whole numbers,
// or dates shown as dates.
// Nothing reaches the disk before save(), which writes the file whole or not at all
// (AtomicFile): a save that fails (a full disk, a folder that cannot be written) leaves the file
// that was there and loses nothing of the workbook, which can be saved again elsewhere.
class XlsxWorkbook {
public:
    // Adds a sheet and answers its index. The name is made one a spreadsheet accepts (at most 31
    // characters, none of []:*?/\) and unique within the workbook.
    int addSheet(const QString& name);
    int sheetCount() const { return int(sheets_.size()); }
    QString sheetName(int sheet) const { return sheets_.at(sheet).name; }

    void setText(int sheet, int row, int column, const QString& text, bool bold = false);
    void setNumber(int sheet, int row, int column, double value);
    // An amount exactly as it is: a number cell while a spreadsheet's double holds it (15
    // significant digits), else its digits as text, shown like the numbers and aligned right.
    void setAmount(int sheet, int row, int column, const Decimal& amount);
    // A whole number (a progressive, a year), shown without decimals.
    void setInteger(int sheet, int row, int column, qint64 value);
    // A date before 1900, which spreadsheets cannot hold as a date, is written as its text.
    void setDate(int sheet, int row, int column, const QDate& date);
    // The width of a column in characters.
    void setColumnWidth(int sheet, int column, double width);
    // Rows used by a sheet so far (the next free row).
    int rowCount(int sheet) const;

    // Writes the workbook to `path`; throws SuiteError with a message for the clerk when the file
    // cannot be written.
    void save(const QString& path) const;

private:
    enum class Kind { Text, BoldText, AmountText, Number, Integer, Date };
    struct Cell {
        int row;
        int column;
        Kind kind;
        QVariant value;
    };
    struct Sheet {
        QString name;
        QList<Cell> cells;
        QList<std::pair<int, double>> widths;
        int rows = 0;
    };
    void put(int sheet, Cell cell);
    QList<Sheet> sheets_;
};

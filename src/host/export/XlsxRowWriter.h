#pragma once

#include "AtomicFile.h"
#include "ClassicNumbers.h"
#include "Decimal.h"

#include <QDate>
#include <QString>
#include <memory>

struct lxw_workbook;
struct lxw_worksheet;
struct lxw_format;

// One sheet written row after row as the rows come, for exports as long as a selection: each
// row goes to the disk when the next begins, so the memory taken does not grow with the rows
// (the workbook XlsxWorkbook builds whole in memory is for small tables). Amounts are number
// cells with two decimals, dates date cells, texts inline. Lives in one thread: the writer's
// numbers are written with a point in that thread whatever the clerk's locale (ClassicNumbers).
// Nothing takes the file's name before close(); a writer dropped unclosed leaves no file.
class XlsxRowWriter {
public:
    // Throws SuiteError when the file cannot be begun.
    XlsxRowWriter(const QString& path, const QString& sheetName);
    ~XlsxRowWriter();
    XlsxRowWriter(const XlsxRowWriter&) = delete;
    XlsxRowWriter& operator=(const XlsxRowWriter&) = delete;

    // Widths in characters, before the first row.
    void setColumnWidth(int column, double width);
    // The cells of the current row; row 0 is the first. Rows only go forward.
    void text(int column, const QString& value, bool bold = false);
    void amount(int column, const Decimal& value, bool bold = false);
    void integer(int column, qint64 value);
    void date(int column, const QDate& value);
    void nextRow() { ++row_; }
    int row() const { return row_; }
    // Writes the file whole under its name; throws SuiteError with a message for the clerk.
    void close();

private:
    const ClassicNumbers points_;
    std::unique_ptr<AtomicFile> target_;
    QByteArray scratch_;
    lxw_workbook* book_ = nullptr;
    lxw_worksheet* sheet_ = nullptr;
    lxw_format* bold_ = nullptr;
    lxw_format* amount_ = nullptr;
    lxw_format* boldAmount_ = nullptr;
    lxw_format* date_ = nullptr;
    int row_ = 0;
};

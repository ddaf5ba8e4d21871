#include "XlsxWorkbook.h"

#include "AtomicFile.h"
#include "ClassicNumbers.h"
#include "SuiteError.h"
#include "Value.h"

#include <xlsxwriter.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cerrno>

namespace {
const QString kXlsxWorkbookSource = QStringLiteral("XlsxWorkbook");

QString validSheetName(QString name) {
    for (const QChar c : QStringLiteral("[]:*?/\\")) name.replace(c, QLatin1Char('_'));
    name = Value::leftWhole(name.trimmed(), 31);
    return name.isEmpty() ? QStringLiteral("Foglio") : name;
}
}  // namespace

int XlsxWorkbook::addSheet(const QString& name) {
    const QString base = validSheetName(name);
    QString unique = base;
    for (int n = 2;; ++n) {
        const bool taken = std::any_of(sheets_.cbegin(), sheets_.cend(), [&](const Sheet& s) {
            return s.name.compare(unique, Qt::CaseInsensitive) == 0;
        });
        if (!taken) break;
        const QString suffix = QStringLiteral(" (%1)").arg(n);
        unique = Value::leftWhole(base, 31 - int(suffix.size())) + suffix;
    }
    sheets_.append({unique, {}, {}, 0});
    return int(sheets_.size()) - 1;
}

void XlsxWorkbook::put(int sheet, Cell cell) {
    if (sheet < 0 || sheet >= sheets_.size() || cell.row < 0 || cell.column < 0 || cell.row >= 1048576 ||
        cell.column >= 16384)
        throw SuiteError(SuiteError::kOperationNotAllowed, kXlsxWorkbookSource,
                         QStringLiteral("Cella fuori dal foglio (%1, %2).").arg(cell.row).arg(cell.column));
    Sheet& s = sheets_[sheet];
    s.rows = std::max(s.rows, cell.row + 1);
    s.cells.append(std::move(cell));
}

void XlsxWorkbook::setText(int sheet, int row, int column, const QString& text, bool bold) {
    put(sheet, {row, column, bold ? Kind::BoldText : Kind::Text, text});
}

void XlsxWorkbook::setNumber(int sheet, int row, int column, double value) {
    put(sheet, {row, column, Kind::Number, value});
}

void XlsxWorkbook::setAmount(int sheet, int row, int column, const Decimal& amount) {
    const Decimal exact = amount.normalized();
    QString digits = exact.toString();
    digits.remove(QLatin1Char('-')).remove(QLatin1Char('.'));
    while (digits.startsWith(QLatin1Char('0')) && digits.size() > 1) digits.remove(0, 1);
    if (digits.size() <= 15) return setNumber(sheet, row, column, exact.toDouble());
    // Shown as the number cells show theirs: Italian grouping, two decimals at least.
    const Decimal shown = exact.scale() < 2 ? exact.rounded(2) : exact;
    const QString text = shown.toString();
    const qsizetype point = text.indexOf(QLatin1Char('.'));
    QString whole = text.left(point);
    const bool negative = whole.startsWith(QLatin1Char('-'));
    if (negative) whole.remove(0, 1);
    for (qsizetype at = whole.size() - 3; at > 0; at -= 3) whole.insert(at, QLatin1Char('.'));
    put(sheet,
        {row, column, Kind::AmountText,
         (negative ? QStringLiteral("-") : QString()) + whole + QLatin1Char(',') + text.mid(point + 1)});
}

void XlsxWorkbook::setInteger(int sheet, int row, int column, qint64 value) {
    put(sheet, {row, column, Kind::Integer, value});
}

void XlsxWorkbook::setDate(int sheet, int row, int column, const QDate& date) {
    if (!date.isValid()) return;
    if (date.year() < 1900 || date.year() > 9999)
        return put(sheet, {row, column, Kind::Text, date.toString(QStringLiteral("dd/MM/yyyy"))});
    put(sheet, {row, column, Kind::Date, date});
}

void XlsxWorkbook::setColumnWidth(int sheet, int column, double width) {
    sheets_[sheet].widths.append({column, width});
}

int XlsxWorkbook::rowCount(int sheet) const {
    return sheets_.at(sheet).rows;
}

void XlsxWorkbook::save(const QString& path) const {
    AtomicFile target(path);
    const QByteArray file = QFile::encodeName(target.temporaryPath());
    // libxlsxwriter writes numbers and column widths with printf: a point, never the clerk's comma.
    const ClassicNumbers points;
    // The library's scratch files on the same disk as the file: a full disk is that disk's.
    QByteArray scratch = QFile::encodeName(QFileInfo(path).absolutePath());
    lxw_workbook_options options{};
    options.tmpdir = scratch.data();
    lxw_workbook* book = workbook_new_opt(file.constData(), &options);
    if (!book) target.failedWriting(errno);
    lxw_format* bold = workbook_add_format(book);
    format_set_bold(bold);
    lxw_format* number = workbook_add_format(book);
    format_set_num_format(number, "#,##0.00");
    lxw_format* date = workbook_add_format(book);
    format_set_num_format(date, "dd/mm/yyyy");
    lxw_format* amountText = workbook_add_format(book);
    format_set_align(amountText, LXW_ALIGN_RIGHT);
    for (const Sheet& s : sheets_) {
        lxw_worksheet* ws = workbook_add_worksheet(book, s.name.toUtf8().constData());
        for (const auto& [column, width] : s.widths)
            worksheet_set_column(ws, lxw_col_t(column), lxw_col_t(column), width, nullptr);
        for (const Cell& c : s.cells) {
            const auto row = lxw_row_t(c.row);
            const auto col = lxw_col_t(c.column);
            switch (c.kind) {
                case Kind::Text:
                case Kind::BoldText:
                case Kind::AmountText:
                    worksheet_write_string(ws, row, col, c.value.toString().toUtf8().constData(),
                                           c.kind == Kind::BoldText
                                               ? bold
                                               : (c.kind == Kind::AmountText ? amountText : nullptr));
                    break;
                case Kind::Number:
                    worksheet_write_number(ws, row, col, c.value.toDouble(), number);
                    break;
                case Kind::Integer:
                    worksheet_write_number(ws, row, col, c.value.toDouble(), nullptr);
                    break;
                case Kind::Date: {
                    const QDate d = c.value.toDate();
                    lxw_datetime dt{d.year(), d.month(), d.day(), 0, 0, 0.0};
                    worksheet_write_datetime(ws, row, col, &dt, date);
                    break;
                }
            }
        }
    }
    errno = 0;
    const lxw_error result = workbook_close(book);
    if (result != LXW_NO_ERROR) target.failedWriting(errno);
    target.commit();
}

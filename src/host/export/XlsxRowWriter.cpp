#include "XlsxRowWriter.h"

#include "SuiteError.h"
#include "Value.h"

#include <xlsxwriter.h>
#include <QFile>
#include <QFileInfo>
#include <cerrno>

XlsxRowWriter::XlsxRowWriter(const QString& path, const QString& sheetName)
    : target_(std::make_unique<AtomicFile>(path)) {
    const QByteArray file = QFile::encodeName(target_->temporaryPath());
    // The library's row scratch files on the same disk as the file: a full disk is that disk's.
    scratch_ = QFile::encodeName(QFileInfo(path).absolutePath());
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    options.tmpdir = scratch_.data();
    errno = 0;
    book_ = workbook_new_opt(file.constData(), &options);
    if (!book_) target_->failedWriting(errno);
    bold_ = workbook_add_format(book_);
    format_set_bold(bold_);
    amount_ = workbook_add_format(book_);
    format_set_num_format(amount_, "#,##0.00");
    boldAmount_ = workbook_add_format(book_);
    format_set_num_format(boldAmount_, "#,##0.00");
    format_set_bold(boldAmount_);
    date_ = workbook_add_format(book_);
    format_set_num_format(date_, "dd/mm/yyyy");
    sheet_ = workbook_add_worksheet(book_, Value::leftWhole(sheetName, 31).toUtf8().constData());
}

XlsxRowWriter::~XlsxRowWriter() {
    if (!book_) return;
    // Given up (a cancel, a failure): the library's scratch files go; the temporary file goes with
    // the AtomicFile.
    workbook_close(book_);
}

void XlsxRowWriter::setColumnWidth(int column, double width) {
    worksheet_set_column(sheet_, lxw_col_t(column), lxw_col_t(column), width, nullptr);
}

void XlsxRowWriter::text(int column, const QString& value, bool bold) {
    if (value.isEmpty()) return;
    worksheet_write_string(sheet_, lxw_row_t(row_), lxw_col_t(column), value.toUtf8().constData(),
                           bold ? bold_ : nullptr);
}

void XlsxRowWriter::amount(int column, const Decimal& value, bool bold) {
    // Amounts of a Bill have at most 15 digits: a spreadsheet's double holds them to the cent.
    worksheet_write_number(sheet_, lxw_row_t(row_), lxw_col_t(column), value.toDouble(),
                           bold ? boldAmount_ : amount_);
}

void XlsxRowWriter::integer(int column, qint64 value) {
    worksheet_write_number(sheet_, lxw_row_t(row_), lxw_col_t(column), double(value), nullptr);
}

void XlsxRowWriter::date(int column, const QDate& value) {
    if (!value.isValid()) return;
    if (value.year() < 1900 || value.year() > 9999) {
        text(column, value.toString(QStringLiteral("dd/MM/yyyy")));
        return;
    }
    lxw_datetime dt{value.year(), value.month(), value.day(), 0, 0, 0.0};
    worksheet_write_datetime(sheet_, lxw_row_t(row_), lxw_col_t(column), &dt, date_);
}

void XlsxRowWriter::close() {
    lxw_workbook* book = book_;
    book_ = nullptr;
    errno = 0;
    if (workbook_close(book) != LXW_NO_ERROR) target_->failedWriting(errno);
    target_->commit();
}

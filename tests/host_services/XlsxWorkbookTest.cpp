#include "SuiteError.h"
#include "XlsxCells.h"
#include "XlsxWorkbook.h"
#include "ZipEntry.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>

// The workbook written and read back as a spreadsheet program reads it: the sheets' XML, the
// shared strings and the styles of the cells.
TEST(XlsxWorkbookTest, CellsComeBackAsTextNumbersAndDates) {
    QTemporaryDir dir;
    XlsxWorkbook book;
    const int s = book.addSheet(QStringLiteral("Dettaglio effetti"));
    const int t = book.addSheet(QStringLiteral("Dettaglio effetti"));  // a second of the same name
    const int u = book.addSheet(QStringLiteral("Note: [interne]/ufficio * con un nome molto lungo"));
    book.setText(s, 0, 0, QStringLiteral("Importo"), true);
    book.setText(s, 0, 1, QStringLiteral("Scadenza"), true);
    book.setText(s, 1, 0, QStringLiteral("Città d'Aosta <&> \"€\" 東京"));
    book.setNumber(s, 2, 0, 1234.5);
    book.setDate(s, 2, 1, QDate(2026, 1, 31));
    book.setDate(s, 3, 1, QDate());  // no date: the cell stays empty
    book.setText(t, 0, 0, QStringLiteral("secondo"));
    EXPECT_EQ(book.rowCount(s), 3);
    EXPECT_EQ(book.sheetName(t), QStringLiteral("Dettaglio effetti (2)"));
    EXPECT_EQ(book.sheetName(u).size(), 31);
    EXPECT_FALSE(book.sheetName(u).contains(QRegularExpression(QStringLiteral("[\\[\\]:*?/\\\\]"))));
    EXPECT_THROW(book.setText(s, -1, 0, QStringLiteral("x")), SuiteError);

    const QString path = dir.filePath(QStringLiteral("bill.xlsx"));
    book.save(path);
    const QString workbook = zipEntry(path, QStringLiteral("xl/workbook.xml"));
    EXPECT_TRUE(workbook.contains(QStringLiteral("name=\"Dettaglio effetti (2)\"")))
        << workbook.toStdString();
    const QString strings = zipEntry(path, QStringLiteral("xl/sharedStrings.xml"));
    EXPECT_TRUE(strings.contains(QStringLiteral("Città d'Aosta &lt;&amp;&gt; \"€\" 東京")))
        << strings.toStdString();
    const QString sheet = zipEntry(path, QStringLiteral("xl/worksheets/sheet1.xml"));
    // The amount is a number and the date the day's serial number (31 January 2026 is 46053).
    EXPECT_TRUE(
        sheet.contains(QRegularExpression(QStringLiteral("<c r=\"A3\" s=\"(\\d+)\"><v>1234.5</v></c>"))))
        << sheet.toStdString();
    EXPECT_TRUE(
        sheet.contains(QRegularExpression(QStringLiteral("<c r=\"B3\" s=\"\\d+\"><v>46053</v></c>"))));
    EXPECT_FALSE(sheet.contains(QStringLiteral("r=\"B4\"")));
    const QString styles = zipEntry(path, QStringLiteral("xl/styles.xml"));
    EXPECT_TRUE(styles.contains(QStringLiteral("formatCode=\"#,##0.00\"")));
    EXPECT_TRUE(styles.contains(QStringLiteral("formatCode=\"dd/mm/yyyy\"")));
    EXPECT_TRUE(styles.contains(QStringLiteral("<b/>")));
}

// A file that cannot be written is reported with its name, and the workbook can then be saved
// elsewhere with everything it held.
TEST(XlsxWorkbookTest, AFolderThatCannotBeWrittenLosesNothing) {
    QTemporaryDir dir;
    XlsxWorkbook book;
    const int s = book.addSheet(QStringLiteral("Effetti"));
    book.setNumber(s, 0, 0, 10.25);
    const QString missing = dir.filePath(QStringLiteral("non/esiste/bill.xlsx"));
    const QString aFolder = dir.path();                        // a folder in place of the file
    const QString system = QStringLiteral("/proc/bill.xlsx");  // refused even to the superuser
    for (const QString& bad : {missing, aFolder, system}) {
        try {
            book.save(bad);
            ADD_FAILURE() << "saved to " << bad.toStdString();
        } catch (const SuiteError& e) {
            EXPECT_FALSE(e.description().isEmpty());
        }
    }
    const QString good = dir.filePath(QStringLiteral("bill.xlsx"));
    book.save(good);
    EXPECT_TRUE(
        zipEntry(good, QStringLiteral("xl/worksheets/sheet1.xml")).contains(QStringLiteral("<v>10.25</v>")));
}

// Amounts keep every digit: a number cell while a double holds them, their text beyond; a date
// a spreadsheet cannot hold as a date is written as its text instead of an empty cell.
TEST(XlsxWorkbookTest, AmountsStayExactAndOldDatesAreText) {
    QTemporaryDir dir;
    XlsxWorkbook book;
    const int s = book.addSheet(QStringLiteral("Importi"));
    const QStringList amounts = {QStringLiteral("0.10"),
                                 QStringLiteral("5708.89"),
                                 QStringLiteral("-0.05"),
                                 QStringLiteral("1234567890123.45"),
                                 QStringLiteral("12345678901234567.89"),
                                 QStringLiteral("-9999999999999999.99")};
    for (int r = 0; r < amounts.size(); ++r) book.setAmount(s, r, 0, Decimal::fromString(amounts[r]));
    book.setDate(s, 0, 1, QDate(1899, 12, 31));
    book.setDate(s, 1, 1, QDate(1900, 3, 1));
    const QString path = dir.filePath(QStringLiteral("importi.xlsx"));
    book.save(path);

    const QHash<QString, QString> cells = xlsxCells(path);
    for (int r = 0; r < 4; ++r) {
        const std::optional<Decimal> read = Decimal::parse(cells.value(QStringLiteral("A%1").arg(r + 1)));
        ASSERT_TRUE(read) << cells.value(QStringLiteral("A%1").arg(r + 1)).toStdString();
        EXPECT_EQ(*read, Decimal::fromString(amounts[r])) << amounts[r].toStdString();
    }
    EXPECT_EQ(cells.value(QStringLiteral("A5")), QStringLiteral("12.345.678.901.234.567,89"));
    EXPECT_EQ(cells.value(QStringLiteral("A6")), QStringLiteral("-9.999.999.999.999.999,99"));
    EXPECT_EQ(cells.value(QStringLiteral("B1")), QStringLiteral("31/12/1899"));
    EXPECT_EQ(cells.value(QStringLiteral("B2")), QStringLiteral("61"));  // 1 March 1900, a date serial
}

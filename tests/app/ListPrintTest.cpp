#include "BillListRows.h"
#include "ItalianFormat.h"
#include "ListPrint.h"
#include "ListTotals.h"
#include "SheetCells.h"
#include "SuiteError.h"
#include "XlsxRowWriter.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace {

// What poppler's tools (not our code) read in a PDF: its text in place, or its description.
QString poppler(const QString& tool, const QStringList& arguments) {
    const QString program = QStandardPaths::findExecutable(tool);
    if (program.isEmpty()) return {};
    QProcess reader;
    reader.start(program, arguments);
    reader.waitForFinished(60000);
    return QString::fromUtf8(reader.readAllStandardOutput());
}

ListRow bill(int i) {
    ListRow row;
    row.number = i + 1;
    row.due = QDate(2026, 1, 1).addDays(i);
    row.closed = i % 5 == 0;
    row.overdue = row.closed ? 0 : i % 40;
    row.amount =
        Decimal::fromString(QStringLiteral("%1.%2").arg(1000 + i).arg(i % 100, 2, 10, QLatin1Char('0')));
    if (i % 7 == 0) {
        row.currency = QStringLiteral("USD");
        row.amountCurrency = row.amount + Decimal(10);
    }
    row.code = QString::number(100 + i % 9);
    // Every third name is longer than its column.
    row.name = i % 3 == 0 ? QStringLiteral(
                                "Società Cooperativa Agricola «L'Àncora» dei Produttori Riuniti della "
                                "Val Padana e delle Colline %1")
                                .arg(i)
                          : QStringLiteral("Rossi & Figli %1").arg(i);
    row.billType = QStringLiteral("Ricevuta bancaria");
    row.document = QString::number(5000 + i);
    return row;
}

}  // namespace

// A selection longer than a page: every Bill on one line of its own, over landscape pages that
// are numbered, the long names shortened rather than wrapped, the closing line the rows' totals.
TEST(ListPrint, EveryRowOnOneLineOverNumberedLandscapePages) {
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("elenco.pdf"));
    ListTotals totals;
    {
        ListPrint print(pdf, QStringLiteral("Effetti clienti: elenco al 15/03/2026"), 0);
        for (int page = 0; page < 3; ++page) {
            std::vector<ListRow> rows;
            for (int i = page * 50; i < page * 50 + 50; ++i) rows.push_back(bill(i));
            for (const ListRow& row : rows) totals.add(row);
            print.add(rows);
        }
        print.close(totals);
    }
    const QString info = poppler(QStringLiteral("pdfinfo"), {pdf});
    if (info.isEmpty()) GTEST_SKIP() << "poppler-utils missing";
    EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Page size:\\s+842 x 595"))))
        << info.toStdString();
    EXPECT_TRUE(info.contains(QStringLiteral("Title:           Effetti clienti: elenco al 15/03/2026")));
    const int pages = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(info).captured(1).toInt();
    EXPECT_GE(pages, 3);

    const QString text =
        poppler(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    QStringList lines = text.split(u'\n');
    for (int i = 0; i < 150; ++i) {
        const ListRow row = bill(i);
        // Its number, due date and amount, and the start of its name, on the same line.
        const QRegularExpression line(QStringLiteral("^\\s*%1\\s+%2\\s.*%3.*%4")
                                          .arg(row.number)
                                          .arg(ItalianFormat::date(row.due),
                                               ItalianFormat::amount(row.amount),
                                               QRegularExpression::escape(row.name.left(12))));
        EXPECT_EQ(lines.filter(line).size(), 1) << i;
    }
    EXPECT_FALSE(text.contains(QStringLiteral("Colline 0"))) << "a long name is shortened";
    EXPECT_TRUE(text.contains(QStringLiteral("Pagina %1").arg(pages)));
    EXPECT_TRUE(text.simplified().contains(totals.text().simplified())) << totals.text().toStdString();
    EXPECT_TRUE(totals.text().startsWith(QStringLiteral("150 effetti per € ")));
    EXPECT_TRUE(totals.text().contains(QStringLiteral(" — in USD: aperti ")));
}

// The row writer's cells as a spreadsheet reads them on an Italian desk: amounts to the cent,
// dates as dates, texts whole; a file that cannot be written is told, one given up is not left.
TEST(ListPrint, SpreadsheetRowsKeepNumbersDatesAndTexts) {
    const ItalianCLocale italian;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("righe.xlsx"));
    {
        XlsxRowWriter writer(path, QStringLiteral("Effetti"));
        writer.text(0, QStringLiteral("Città d'Aosta <&> \"€\" 東京"), true);
        writer.nextRow();
        writer.amount(0, Decimal::fromString(QStringLiteral("1234567.89")));
        writer.amount(1, Decimal::fromString(QStringLiteral("-0.01")));
        writer.date(2, QDate(2026, 1, 31));
        writer.integer(3, 4242);
        writer.nextRow();
        writer.close();
    }
    const SheetCells cells = SheetCells::read(path, 1);
    EXPECT_EQ(cells.texts.value(QStringLiteral("A1")), QStringLiteral("Città d'Aosta <&> \"€\" 東京"));
    EXPECT_EQ(qRound64(cells.numbers.value(QStringLiteral("A2")).value_or(0) * 100), 123456789);
    EXPECT_EQ(qRound64(cells.numbers.value(QStringLiteral("B2")).value_or(0) * 100), -1);
    EXPECT_EQ(cells.numbers.value(QStringLiteral("C2")).value_or(0), 46053);  // 31/01/2026 as a serial day
    EXPECT_EQ(cells.numbers.value(QStringLiteral("D2")).value_or(0), 4242);

    EXPECT_THROW(XlsxRowWriter(QStringLiteral("/proc/righe.xlsx"), QStringLiteral("Effetti")).close(),
                 SuiteError);
    const QString dropped = dir.filePath(QStringLiteral("lasciato.xlsx"));
    {
        XlsxRowWriter writer(dropped, QStringLiteral("Effetti"));
        writer.text(0, QStringLiteral("a metà"));
    }
    EXPECT_FALSE(QFile::exists(dropped));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("righe.xlsx")})
        << "no scratch file left";
}

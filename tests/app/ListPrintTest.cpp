#include "BillListRows.h"
#include "ItalianFormat.h"
#include "ListPdf.h"
#include "ListPrint.h"
#include "ListTotals.h"
#include "SheetCells.h"
#include "SuiteError.h"
#include "XlsxRowWriter.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <algorithm>
#include <tuple>

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
    // Every third name is longer than its column; others have PDF's special characters, or
    // letters the standard fonts lack.
    const QString names[] = {
        QStringLiteral("Società Cooperativa Agricola «L'Àncora» dei Produttori Riuniti della "
                       "Val Padana e delle Colline %1"),
        QStringLiteral("Rossi (Milano) \\ Figli %1"), QStringLiteral("Tōkyō 東京 %1")};
    row.name = names[i % 3].arg(i);
    row.billType = QStringLiteral("Ricevuta bancaria");
    row.document = QString::number(5000 + i);
    return row;
}

// A name as the standard fonts show it: a letter they lack is a "?".
QString shown(QString name) {
    for (QChar& c : name)
        if (c.unicode() > 0xFF) c = u'?';
    return name;
}

// What poppler reads of each word of a PDF: its page, its box and its text.
struct Word {
    int page = 0;
    double top = 0;
    double left = 0;
    double right = 0;
    QString text;
};
QList<Word> words(const QString& pdf) {
    const QString html =
        poppler(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    const QRegularExpression word(QStringLiteral(
        "<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" yMax=\"[\\d.]+\">([^<]*)</word>"));
    QList<Word> out;
    const QStringList pages = html.split(QStringLiteral("<page "));
    for (int page = 1; page < pages.size(); ++page)
        for (auto it = word.globalMatch(pages[page]); it.hasNext();) {
            const QRegularExpressionMatch m = it.next();
            out.append({page, m.captured(2).toDouble(), m.captured(1).toDouble(), m.captured(3).toDouble(),
                        m.captured(4)});
        }
    return out;
}

}  // namespace

// A selection longer than a page: every Bill on one line of its own, over landscape pages that
// are numbered, the long names cut to their column rather than wrapped, accents, "€" and dashes
// as written, the closing line the rows' totals; the file's structure whole to a reader that is
// not ours.
TEST(ListPdf, EveryRowOnOneLineOverNumberedLandscapePages) {
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("elenco.pdf"));
    ListTotals totals;
    {
        ListPdf print(pdf, QStringLiteral("Effetti clienti: elenco al 15/03/2026"),
                      QStringLiteral("Àncora S.p.A. 東京"), 0);
        for (int page = 0; page < 3; ++page) {
            std::vector<ListRow> rows;
            for (int i = page * 50; i < page * 50 + 50; ++i) rows.push_back(bill(i));
            for (const ListRow& row : rows) totals.add(row);
            print.add(rows);
        }
        print.close(totals);
    }
    QProcess info;
    info.start(QStandardPaths::findExecutable(QStringLiteral("pdfinfo")), {pdf});
    if (!info.waitForFinished(60000)) GTEST_SKIP() << "poppler-utils missing";
    const QString described = QString::fromUtf8(info.readAllStandardOutput());
    EXPECT_EQ(QString::fromUtf8(info.readAllStandardError()), QString()) << "no syntax error or warning";
    EXPECT_TRUE(described.contains(QRegularExpression(QStringLiteral("Page size:\\s+842 x 595"))))
        << described.toStdString();
    EXPECT_TRUE(described.contains(QStringLiteral("Title:           Effetti clienti: elenco al 15/03/2026")));
    EXPECT_TRUE(described.contains(QStringLiteral("Author:          Àncora S.p.A. 東京")));
    const int pages =
        QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(described).captured(1).toInt();
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
                                               QRegularExpression::escape(shown(row.name.left(12)))));
        EXPECT_EQ(lines.filter(line).size(), 1) << i;
    }
    EXPECT_FALSE(text.contains(QStringLiteral("Colline 0"))) << "a long name is cut";
    EXPECT_EQ(lines.filter(QStringLiteral("Società Cooperativa Agricola «L'Àncora»")).size(), 50);
    EXPECT_EQ(lines.filter(QStringLiteral("...")).size(), 50);
    EXPECT_EQ(lines.filter(QStringLiteral("Rossi (Milano) \\ Figli")).size(), 50)
        << "parentheses and backslash";
    EXPECT_EQ(lines.filter(QStringLiteral("T?ky? ??")).size(), 50);
    EXPECT_TRUE(text.contains(QStringLiteral("Pagina %1").arg(pages)));
    EXPECT_TRUE(text.simplified().contains(totals.text().simplified())) << totals.text().toStdString();
    EXPECT_TRUE(totals.text().startsWith(QStringLiteral("150 effetti per € ")));
    EXPECT_TRUE(totals.text().contains(QStringLiteral(" — in USD: aperti ")));

    // Measured as the reader draws them, no cell runs into the next one on its line.
    QList<Word> drawn = words(pdf);
    ASSERT_GT(drawn.size(), 1500);
    std::sort(drawn.begin(), drawn.end(),
              [](const Word& a, const Word& b) { return std::tie(a.top, a.left) < std::tie(b.top, b.left); });
    for (qsizetype i = 1; i < drawn.size(); ++i) {
        if (drawn[i].page != drawn[i - 1].page || std::abs(drawn[i].top - drawn[i - 1].top) >= 0.5) continue;
        EXPECT_LE(drawn[i - 1].right, drawn[i].left + 0.01)
            << drawn[i - 1].text.toStdString() << " / " << drawn[i].text.toStdString();
    }
}

// On a printer the list goes through the painter: the same lines and the same closing totals.
TEST(ListPrint, APrinterGetsTheSameLines) {
    QTemporaryDir dir;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath(QStringLiteral("stampante.pdf")));
    printer.setPageOrientation(QPageLayout::Landscape);
    ListTotals totals;
    {
        ListPrint print(printer, QStringLiteral("Effetti clienti"), 0);
        std::vector<ListRow> rows;
        for (int i = 0; i < 60; ++i) rows.push_back(bill(i));
        for (const ListRow& row : rows) totals.add(row);
        print.add(rows);
        print.close(totals);
    }
    const QString text = poppler(QStringLiteral("pdftotext"),
                                 {QStringLiteral("-layout"), printer.outputFileName(), QStringLiteral("-")});
    if (text.isEmpty()) GTEST_SKIP() << "poppler-utils missing";
    EXPECT_EQ(text.split(u'\n')
                  .filter(QRegularExpression(QStringLiteral("^\\s*\\d+\\s+\\d\\d/\\d\\d/2026\\s")))
                  .size(),
              60);
    EXPECT_TRUE(text.simplified().contains(totals.text().simplified())) << text.toStdString();
}

// A print given up leaves no file; one that cannot be begun says so.
TEST(ListPdf, NothingLeftWhenGivenUp) {
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("lasciato.pdf"));
    {
        ListPdf print(pdf, QStringLiteral("Elenco"), QString(), 0);
        print.add({bill(1), bill(2)});
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList());
    EXPECT_THROW(ListPdf(QStringLiteral("/proc/elenco.pdf"), QStringLiteral("Elenco"), QString(), 0),
                 SuiteError);
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

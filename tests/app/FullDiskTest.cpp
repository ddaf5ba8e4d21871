// Files written for people on a disk that fills up, or turns read-only, under the export: the
// file that was there stays as it was, nothing half-written or temporary is left beside it, and
// the message names the real cause. The disk is a small tmpfs mounted for the test (root only).
#include "BillListRows.h"
#include "ListPdf.h"
#include "ListTotals.h"
#include "ReportPrinter.h"
#include "SuiteError.h"
#include "TestDatabase.h"
#include "XlsxWorkbook.h"
#include "ZipEntry.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace {

// A small tmpfs mounted on a temporary folder for the test's life.
class SmallDisk {
public:
    SmallDisk() {
        mounted_ =
            dir_.isValid() && mount({QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                                     QStringLiteral("size=512k"), QStringLiteral("kvprova"), dir_.path()});
    }
    ~SmallDisk() {
        if (mounted_) QProcess::execute(QStringLiteral("umount"), {dir_.path()});
    }
    bool mounted() const { return mounted_; }
    QString path(const QString& name) const { return QDir(dir_.path()).filePath(name); }
    QStringList files() const { return QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden); }
    bool mount(const QStringList& arguments) {
        return QProcess::execute(QStringLiteral("mount"), arguments) == 0;
    }
    bool readOnly() { return mount({QStringLiteral("-o"), QStringLiteral("remount,ro"), dir_.path()}); }

private:
    QTemporaryDir dir_;
    bool mounted_ = false;
};

QByteArray contentOf(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The list written to a PDF, a Bill a line.
void writeList(const QString& pdf, int bills) {
    ListPdf print(pdf, QStringLiteral("Effetti clienti"), QString(), 0);
    std::vector<ListRow> rows(bills);
    ListTotals totals;
    for (int r = 0; r < bills; ++r) {
        rows[r].number = r + 1;
        rows[r].name = QStringLiteral("Cliente %1").arg(quint64(r) * 2654435761u, 0, 36);
        totals.add(rows[r]);
    }
    print.add(rows);
    print.close(totals);
}

QString failureOf(const std::function<void()>& write) {
    try {
        write();
    } catch (const SuiteError& e) {
        return e.description();
    }
    return {};
}

}  // namespace

TEST(FullDiskTest, TheOldFileStaysWholeAndTheCauseIsNamed) {
    SmallDisk disk;
    if (!disk.mounted()) {
        if (QStandardPaths::findExecutable(QStringLiteral("mount")).isEmpty())
            SKIP_OR_FAIL("mount is missing: install mount");
        GTEST_SKIP() << "mounting a small file system needs the superuser";
    }
    const QString xlsx = disk.path(QStringLiteral("effetti.xlsx"));
    const QString pdf = disk.path(QStringLiteral("effetto.pdf"));
    const QString list = disk.path(QStringLiteral("elenco.pdf"));
    XlsxWorkbook small;
    small.setText(small.addSheet(QStringLiteral("Effetti")), 0, 0, QStringLiteral("la versione buona"));
    small.save(xlsx);
    ReportPrinter::toPdf(QStringLiteral("<p>Effetto n. 1</p>"), pdf, false);
    writeList(list, 1);
    const QByteArray goodXlsx = contentOf(xlsx), goodPdf = contentOf(pdf), goodList = contentOf(list);
    ASSERT_FALSE(goodXlsx.isEmpty());
    ASSERT_FALSE(goodPdf.isEmpty());
    ASSERT_FALSE(goodList.isEmpty());

    // Larger than what is left once the disk is full; text that does not compress to nothing.
    XlsxWorkbook big;
    const int sheet = big.addSheet(QStringLiteral("Effetti"));
    QString html;
    for (int r = 0; r < 3000; ++r) {
        const QString text = QStringLiteral("Effetto %1 %2").arg(r).arg(quint64(r) * 2654435761u, 0, 36);
        big.setText(sheet, r, 0, text);
        html += QStringLiteral("<p>") + text + QStringLiteral("</p>");
    }
    {  // every block that is left taken
        QFile ballast(disk.path(QStringLiteral("zavorra")));
        ASSERT_TRUE(ballast.open(QIODevice::WriteOnly));
        while (ballast.write(QByteArray(4096, 'z')) == 4096 && ballast.flush()) {
        }
    }
    const QStringList before = disk.files();
    for (const auto& [file, write] : std::vector<std::pair<QString, std::function<void()>>>{
             {xlsx, [&] { big.save(xlsx); }},
             {pdf, [&] { ReportPrinter::toPdf(html, pdf, false); }},
             {list, [&] { writeList(list, 20000); }}}) {
        SCOPED_TRACE(file.toStdString());
        const QString message = failureOf(write);
        EXPECT_TRUE(message.contains(QStringLiteral("il disco è pieno"))) << message.toStdString();
        EXPECT_TRUE(message.contains(file)) << message.toStdString();
        EXPECT_EQ(disk.files(), before) << "nothing left beside it";
    }
    EXPECT_EQ(contentOf(xlsx), goodXlsx);
    EXPECT_EQ(contentOf(pdf), goodPdf);
    EXPECT_EQ(contentOf(list), goodList);
    EXPECT_TRUE(
        zipEntry(xlsx, QStringLiteral("xl/sharedStrings.xml")).contains(QStringLiteral("la versione buona")));

    QFile::remove(disk.path(QStringLiteral("zavorra")));
    ASSERT_TRUE(disk.readOnly());
    const QString message = failureOf([&] { big.save(xlsx); });
    EXPECT_TRUE(message.contains(QStringLiteral("sola lettura"))) << message.toStdString();
    EXPECT_EQ(contentOf(xlsx), goodXlsx);
}

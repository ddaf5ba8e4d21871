#include "ReportPrinter.h"

#include <QAbstractItemModel>
#include <QPageLayout>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QTextDocument>

namespace {

void setUp(QPrinter& printer, bool landscape) {
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    printer.setPageMargins(QMarginsF(12, 12, 12, 12), QPageLayout::Millimeter);
}

void print(const QString& html, QPrinter& printer) {
    QTextDocument document;
    PdfDocument::prepare(document);
    document.setHtml(html);
    document.print(&printer);
}

}  // namespace

namespace ReportPrinter {

QString tableHtml(const QAbstractItemModel& model, const QString& title, const QString& closing) {
    QString html = QStringLiteral("<html><body style=\"font-family: 'DejaVu Sans'; font-size: 8pt\"><h3>") +
                   title.toHtmlEscaped() + QStringLiteral("</h3>");
    html += QStringLiteral("<table border=\"1\" cellspacing=\"0\" cellpadding=\"2\" width=\"100%\"><tr>");
    for (int c = 0; c < model.columnCount(); ++c)
        html += QStringLiteral("<th>") + model.headerData(c, Qt::Horizontal).toString().toHtmlEscaped() +
                QStringLiteral("</th>");
    html += QStringLiteral("</tr>");
    for (int r = 0; r < model.rowCount(); ++r) {
        html += QStringLiteral("<tr>");
        for (int c = 0; c < model.columnCount(); ++c) {
            const QModelIndex index = model.index(r, c);
            const bool right = (index.data(Qt::TextAlignmentRole).toInt() & Qt::AlignRight) != 0;
            html += (right ? QStringLiteral("<td align=\"right\">") : QStringLiteral("<td>")) +
                    index.data().toString().toHtmlEscaped() + QStringLiteral("</td>");
        }
        html += QStringLiteral("</tr>");
    }
    html += QStringLiteral("</table><p>") + closing.toHtmlEscaped() + QStringLiteral("</p></body></html>");
    return html;
}

void toPdf(const QString& html, const QString& file, bool landscape, const PdfDocument::Metadata& metadata) {
    PdfDocument::write(html, file, metadata, landscape);
}

void preview(const QString& html, bool landscape, QWidget* parent, const QString& title) {
    QPrinter printer(QPrinter::HighResolution);
    setUp(printer, landscape);
    printer.setDocName(title);
    QPrintPreviewDialog dialog(&printer, parent);
    dialog.setWindowTitle(QStringLiteral("Anteprima di stampa"));
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                     [&html](QPrinter* p) { print(html, *p); });
    dialog.exec();
}

}  // namespace ReportPrinter

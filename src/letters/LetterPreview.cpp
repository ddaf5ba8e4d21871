#include "LetterPreview.h"

#include "LetterLayout.h"
#include "PdfDocument.h"

#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QTextDocument>

namespace LetterPreview {

void show(const ReminderLetter& letter, const LetterSender& sender, QWidget* parent) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageMargins(QMarginsF(12, 12, 12, 12), QPageLayout::Millimeter);
    printer.setDocName(LetterLayout::title(letter));
    printer.setCreator(sender.name);
    const QString html = LetterLayout::html(letter, sender);
    QPrintPreviewDialog dialog(&printer, parent);
    dialog.setObjectName(QStringLiteral("DLG_LETTERASOLLECITO"));
    dialog.setWindowTitle(QStringLiteral("Lettera di sollecito - %1").arg(letter.customerName));
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog, [&html](QPrinter* p) {
        QTextDocument document;
        PdfDocument::prepare(document);
        document.setHtml(html);
        document.print(p);
    });
    dialog.exec();
}

}  // namespace LetterPreview

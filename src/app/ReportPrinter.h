#pragma once

#include "PdfDocument.h"

#include <QString>

class QAbstractItemModel;
class QWidget;

// Pages of the calling program on paper: a table as the clerk sees it (the list or the ageing)
// or a Bill's page, printed through Qt Print Support to a printer or a PDF file.
namespace ReportPrinter {

// The model's rows and columns as an HTML table under a title, with a closing line (totals).
QString tableHtml(const QAbstractItemModel& model, const QString& title, const QString& closing);
// Writes `html` to a PDF file (A4; landscape for wide tables) with its title and author. Throws
// SuiteError when the file cannot be written; a file that could not be finished is removed, none
// is left half-written.
void toPdf(const QString& html, const QString& file, bool landscape,
           const PdfDocument::Metadata& metadata = {});
// The print preview, from which the clerk prints to a printer or to a PDF file titled `title`.
void preview(const QString& html, bool landscape, QWidget* parent, const QString& title = {});

}  // namespace ReportPrinter

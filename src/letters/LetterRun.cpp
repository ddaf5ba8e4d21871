#include "LetterRun.h"

#include "FailureText.h"
#include "ItalianFormat.h"
#include "LetterLayout.h"
#include "PdfDocument.h"
#include "ReminderRecorder.h"
#include "SuiteError.h"

#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QTextDocument>

QString LetterRun::failureText(const SuiteError& error) {
    const QString notDone =
        QStringLiteral("Nessuna lettera è stata scritta e nessun sollecito è stato registrato.");
    // Our own words (a wrong choice, a Bill closed meanwhile) are told as they are.
    if (error.source() == QStringLiteral("Lettere di sollecito"))
        return notDone + QStringLiteral("\r\n") + error.description();
    return FailureText::of(error, notDone);
}

LetterRun::LetterRun(std::shared_ptr<Connection> connection, qint32 company)
    : connection_(connection), builder_(std::move(connection), company) {}

QStringList LetterRun::writeFiles(const QList<ReminderLetter>& letters, LettersDialog::Output output,
                                  const QString& target) const {
    const LetterSender sender = builder_.sender();
    QStringList written;
    try {
        ReminderRecorder(connection_).record(letters, [&] {
            if (output == LettersDialog::Output::OneFile) {
                PdfDocument::write(LetterLayout::html(letters, sender), target,
                                   {QStringLiteral("Lettere di sollecito del %1")
                                        .arg(ItalianFormat::date(letters.isEmpty() ? QDate::currentDate()
                                                                                   : letters.first().date)),
                                    sender.name},
                                   false);
                written << target;
                return;
            }
            for (const ReminderLetter& letter : letters) {
                const QString file = QDir(target).filePath(LetterLayout::fileName(letter));
                PdfDocument::write(LetterLayout::html(letter, sender), file,
                                   {LetterLayout::title(letter), sender.name}, false);
                written << file;
            }
        });
    } catch (const SuiteError&) {
        // No reminder was recorded: no letter stays behind to be sent.
        for (const QString& file : written) QFile::remove(file);
        throw;
    }
    return written;
}

void LetterRun::runFromList(const QString& selectText, const QDate& date, QWidget* parent) const {
    const QString title = QStringLiteral("Lettere di sollecito");
    LettersDialog dialog(date, parent);
    if (dialog.exec() != QDialog::Accepted) return;
    try {
        const QList<ReminderLetter> letters = builder_.forSelection(selectText, dialog.options());
        if (letters.isEmpty()) {
            QMessageBox::information(parent, title,
                                     QStringLiteral("Nessun effetto aperto della selezione è scaduto al %1.")
                                         .arg(ItalianFormat::date(dialog.options().date)));
            return;
        }
        qsizetype bills = 0;
        Decimal total = Decimal::fromMantissa(0, 2);
        for (const ReminderLetter& l : letters) {
            bills += l.lines.size();
            total = total + l.total();
        }
        const QString what =
            QStringLiteral("%1 lettere a %1 clienti per %2 effetti scaduti, totale dovuto € %3.")
                .arg(letters.size())
                .arg(bills)
                .arg(ItalianFormat::amount(total));
        if (QMessageBox::question(
                parent, title,
                what + QStringLiteral("\nOgni effetto riceve il sollecito della lettera. Procedere?")) !=
            QMessageBox::Yes)
            return;
        if (dialog.output() == LettersDialog::Output::Printer) {
            QPrinter printer(QPrinter::HighResolution);
            QPrintDialog choose(&printer, parent);
            if (choose.exec() != QDialog::Accepted) return;
            const LetterSender sender = builder_.sender();
            ReminderRecorder(connection_).record(letters, [&] {
                QTextDocument document;
                PdfDocument::prepare(document);
                document.setHtml(LetterLayout::html(letters, sender));
                document.print(&printer);
            });
        } else {
            const QStringList files = writeFiles(letters, dialog.output(), dialog.target());
            QMessageBox::information(
                parent, title,
                what + QStringLiteral("\nScritti %1 file PDF in %2; i solleciti sono registrati "
                                      "sugli effetti.")
                           .arg(files.size())
                           .arg(QDir::toNativeSeparators(dialog.target())));
        }
    } catch (const SuiteError& e) {
        QMessageBox::warning(parent, title, failureText(e));
    }
}

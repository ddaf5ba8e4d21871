#include "DeskPictures.h"

#include "AtomicFile.h"
#include "CallingProgram.h"
#include "HostMainWindow.h"
#include "HostToolbar.h"
#include "ReportPrinter.h"
#include "SlipDialog.h"
#include "SuiteError.h"

#include <QApplication>
#include <QComboBox>
#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QFile>
#include <QTabWidget>
#include <QTimer>
#include <cstdio>

namespace {

// The memory the process holds now and at most, as the kernel counts it.
QString residentMemory() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return QStringLiteral("non nota");
    QStringList parts;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:") || line.startsWith("VmHWM:"))
            parts.append(QString::fromLatin1(line.simplified()));
    return parts.join(QStringLiteral(", "));
}

// The window as drawn into `file` once it has settled, then the program ends.
void grabLater(QApplication& app, HostMainWindow& window, const QString& file, int delayMs) {
    QTimer::singleShot(delayMs, &window, [&app, &window, file] {
        try {
            AtomicFile::savePng(file, window.grab().toImage());
        } catch (const SuiteError& e) {
            std::fprintf(stderr, "%s\n", qPrintable(e.description()));
        }
        app.quit();
    });
}

// Until what was asked is on screen: a pass of the events lays a newly shown form out and leaves
// its first drawing, the whole form, to the next pass; counted with the opening, not with the
// click that would come next.
void settle() {
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
}

// How long each press of "Successivo" takes to show the next Bill, the first press apart.
QString clicks(HostMainWindow& window, int presses) {
    QStringList times;
    QElapsedTimer clock;
    for (int i = 0; i < presses; ++i) {
        clock.start();
        window.navigator()->press(QStringLiteral("Successivo"));
        settle();
        times << QString::number(clock.elapsed());
    }
    window.navigator()->press(QStringLiteral("Primo"));
    return times.join(QStringLiteral(", "));
}

std::optional<int> firstBill(QApplication& app, HostMainWindow& window,
                             const DeskPictures::Options& options) {
    QElapsedTimer total;
    total.start();
    QElapsedTimer clock;
    clock.start();
    CallingProgram* calling = window.callingProgram();
    calling->search();
    QCoreApplication::processEvents();
    const qint64 listMs = clock.restart();
    // The form is opened at once, as a clerk opens it from the list while the count and the sums
    // are still being read in the background.
    const bool counting = !calling->countDone();
    if (!window.openModule(calling->filter(), calling->selectedKey())) return 1;
    settle();
    const qint64 formMs = clock.elapsed();
    if (options.timing) {
        const QString moves = clicks(window, 5);
        while (!calling->countDone() && total.elapsed() < 60000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        std::fprintf(stderr,
                     "lista %lld ms, scheda sul primo effetto %lld ms%s, clic su Successivo %s ms, "
                     "conteggio e totali %lld ms dalla ricerca, memoria %s\n",
                     static_cast<long long>(listMs), static_cast<long long>(formMs),
                     counting ? " (mentre si contava)" : "", qPrintable(moves),
                     static_cast<long long>(total.elapsed()), qPrintable(residentMemory()));
    }
    // The clerk's main screen: the host window with the Bill's tab in front.
    grabLater(app, window, options.screenshotForm, 500);
    return std::nullopt;
}

const QCommandLineOption kScreenshot(
    QStringLiteral("screenshot"), QStringLiteral("Cerca, salva un'immagine della finestra nel file ed esce."),
    QStringLiteral("file"));
const QCommandLineOption kScreenshotForm(
    QStringLiteral("screenshot-form"),
    QStringLiteral("Apre il primo effetto trovato, salva un'immagine della finestra nel file ed esce."),
    QStringLiteral("file"));
const QCommandLineOption kScreenshotAgeing(
    QStringLiteral("screenshot-ageing"),
    QStringLiteral("Cerca, salva un'immagine della finestra sulla vista dell'anzianità nel file ed esce."),
    QStringLiteral("file"));
const QCommandLineOption kPdf(QStringLiteral("pdf"),
                              QStringLiteral("Cerca, stampa il primo effetto trovato nel file PDF ed esce."),
                              QStringLiteral("file"));
const QCommandLineOption kScreenshotSlip(
    QStringLiteral("screenshot-slip"),
    QStringLiteral("Cerca, apre \"Presenta alla banca\" con la prima banca della ditta, salva un'immagine "
                   "della finestra nel file ed esce."),
    QStringLiteral("file"));
const QCommandLineOption kTiming(
    QStringLiteral("timing"),
    QStringLiteral("Con --screenshot-form: scrive quanto hanno impiegato l'elenco e la scheda a comparire, "
                   "ogni clic su Successivo, il conteggio e la memoria che il programma occupa."));

}  // namespace

void DeskPictures::addTo(QCommandLineParser& parser) {
    parser.setApplicationDescription(
        QStringLiteral("Immagini e stampe della scrivania di Dettaglio effetti, per la documentazione."));
    parser.addOptions({kScreenshot, kScreenshotForm, kScreenshotAgeing, kPdf, kScreenshotSlip, kTiming});
}

DeskPictures::Options DeskPictures::read(const QCommandLineParser& parser) {
    return {parser.value(kScreenshot), parser.value(kScreenshotForm), parser.value(kScreenshotAgeing),
            parser.value(kPdf),        parser.value(kScreenshotSlip), parser.isSet(kTiming)};
}

std::optional<int> DeskPictures::take(QApplication& app, HostMainWindow& window, const Options& options) {
    if (!options.screenshotForm.isEmpty()) return firstBill(app, window, options);
    if (!options.screenshot.isEmpty() || !options.screenshotAgeing.isEmpty()) {
        CallingProgram* calling = window.callingProgram();
        calling->search();
        if (!options.screenshotAgeing.isEmpty()) calling->tabs()->setCurrentIndex(1);
        grabLater(app, window, options.screenshot.isEmpty() ? options.screenshotAgeing : options.screenshot,
                  800);
        return std::nullopt;
    }
    if (!options.screenshotSlip.isEmpty()) {
        CallingProgram* calling = window.callingProgram();
        calling->search();
        calling->presentToBank([&options](QDialog& dialog) {
            if (auto* slip = qobject_cast<SlipDialog*>(&dialog)) slip->bankCombo()->setCurrentIndex(1);
            QTimer::singleShot(800, &dialog, [&dialog, file = options.screenshotSlip] {
                try {
                    AtomicFile::savePng(file, dialog.grab().toImage());
                } catch (const SuiteError& e) {
                    std::fprintf(stderr, "%s\n", qPrintable(e.description()));
                }
                dialog.reject();
            });
        });
        return 0;
    }
    if (!options.pdf.isEmpty()) {
        window.callingProgram()->search();
        const BillReport::Page page = window.callingProgram()->billPage();
        ReportPrinter::toPdf(page.html, options.pdf, false, {page.title, page.author});
        return 0;
    }
    // Nothing asked: a picture tool that shows the desk and waits would wait for nobody.
    std::fprintf(
        stderr,
        "Indicare --screenshot, --screenshot-form, --screenshot-ageing, --screenshot-slip oppure --pdf.\n");
    return 2;
}

#include "DeskPictures.h"

#include "AtomicFile.h"
#include "CallingProgram.h"
#include "HostMainWindow.h"
#include "ProgramOptions.h"
#include "ReportPrinter.h"
#include "SuiteError.h"

#include <QApplication>
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

std::optional<int> firstBill(QApplication& app, HostMainWindow& window, const ProgramOptions& options) {
    QElapsedTimer clock;
    clock.start();
    CallingProgram* calling = window.callingProgram();
    calling->search();
    QCoreApplication::processEvents();
    const qint64 listMs = clock.restart();
    // The form is opened once the list is counted, as a clerk opens it from the list.
    while (!calling->countDone() && clock.elapsed() < 60000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    const qint64 countMs = clock.restart();
    if (!window.openModule(calling->filter(), calling->selectedKey())) return 1;
    QCoreApplication::processEvents();
    if (options.timing)
        std::fprintf(stderr,
                     "lista %lld ms, conteggio %lld ms, scheda sul primo effetto %lld ms, memoria %s\n",
                     static_cast<long long>(listMs), static_cast<long long>(countMs),
                     static_cast<long long>(clock.elapsed()), qPrintable(residentMemory()));
    // The clerk's main screen: the host window with the Bill's tab in front.
    grabLater(app, window, options.screenshotForm, 500);
    return std::nullopt;
}

}  // namespace

std::optional<int> DeskPictures::take(QApplication& app, HostMainWindow& window,
                                      const ProgramOptions& options) {
    if (!options.screenshotForm.isEmpty()) return firstBill(app, window, options);
    if (!options.screenshot.isEmpty() || !options.screenshotAgeing.isEmpty()) {
        CallingProgram* calling = window.callingProgram();
        calling->search();
        if (!options.screenshotAgeing.isEmpty()) calling->tabs()->setCurrentIndex(1);
        grabLater(app, window, options.screenshot.isEmpty() ? options.screenshotAgeing : options.screenshot,
                  800);
        return std::nullopt;
    }
    if (!options.pdf.isEmpty()) {
        window.callingProgram()->search();
        const BillReport::Page page = window.callingProgram()->billPage();
        ReportPrinter::toPdf(page.html, options.pdf, false, {page.title, page.author});
        return 0;
    }
    return std::nullopt;
}

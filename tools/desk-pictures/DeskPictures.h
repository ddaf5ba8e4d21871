#pragma once

#include <QString>
#include <optional>

class QApplication;
class QCommandLineParser;
class HostMainWindow;

// The pictures and prints the user guide and the timing runs ask of the clerk's desk (a
// screenshot of the list, of the ageing, of the slip's dialog or of the first Bill opened, with how long each
// took; the first Bill printed to PDF), taken from the window the clerk would see. A tool of its own: the
// product's program has none of these options.
namespace DeskPictures {

struct Options {
    QString screenshot;
    QString screenshotForm;
    QString screenshotAgeing;
    QString pdf;
    QString screenshotSlip;
    bool timing = false;
};

// Adds the tool's options to `parser`; `read` takes their values once it processed the line.
void addTo(QCommandLineParser& parser);
Options read(const QCommandLineParser& parser);

// Starts what the options ask. The exit code when the tool is done (the PDF printed, the Bill not
// opened); nullopt when it goes on to its event loop: a picture is taken once the window has
// settled and then ends the tool.
std::optional<int> take(QApplication& app, HostMainWindow& window, const Options& options);

}  // namespace DeskPictures

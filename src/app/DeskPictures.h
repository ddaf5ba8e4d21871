#pragma once

#include <optional>

class QApplication;
class HostMainWindow;
struct ProgramOptions;

// The pictures and prints the user guide, the package's trial and the timing runs ask the
// program for (a screenshot of the list, of the ageing or of the first Bill opened, with how
// long each took; the first Bill printed to PDF), taken from the window the clerk would see.
namespace DeskPictures {

// Starts what the options ask. The exit code when the program is done (the PDF printed, the
// Bill not opened); nullopt when it goes on to its event loop: nothing was asked, or a picture
// is taken once the window has settled and then ends the program.
std::optional<int> take(QApplication& app, HostMainWindow& window, const ProgramOptions& options);

}  // namespace DeskPictures

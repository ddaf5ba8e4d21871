#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class QApplication;
class HostMainWindow;
struct ProgramOptions;

// The program's start as the clerk gets it: the database prepared (the demo company on an empty
// one), the user signed in (by the start dialog, or by a script's password), the desk opened,
// the module's plugin registered and the window shown. The product's program and the tool that
// takes the documentation's pictures start alike.
namespace DeskStart {

// The application as the desk's: Italian (Qt's own texts too), numbers for machines with a point.
void prepare(QApplication& app);
// The module's plugin `file` in the first of `folders` (relative to the running program) that
// has it; empty when none has.
QString plugin(const QStringList& folders, const QString& file);
// What to do once the window is shown: an exit code to end with, or nullopt for the event loop.
using Shown = std::function<std::optional<int>(QApplication& app, HostMainWindow& window)>;
// Runs the desk with the module's library `plugin`; answers the program's exit code.
int run(QApplication& app, const ProgramOptions& options, const QString& plugin, const Shown& shown = {});

}  // namespace DeskStart

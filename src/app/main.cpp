#include "DeskStart.h"
#include "HostMainWindow.h"
#include "OutcomeScript.h"
#include "ProgramOptions.h"

#include <QApplication>
#include <QCommandLineParser>
#include <cstdio>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    DeskStart::prepare(app);
    QCommandLineParser parser;
    const ProgramOptions options = ProgramOptions::parse(app, parser);
    if (const QString problem = options.problem(); !problem.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(problem));
        return 2;
    }
    // A script's slip file or outcome runs on the desk's connection once signed in, then ends.
    DeskStart::Shown shown;
    if (!options.slipFile.isEmpty()) {
        shown = [&options](QApplication&, HostMainWindow& window) -> std::optional<int> {
            return window.writeSlipFile(options.slipFile, options.output) ? 0 : 1;
        };
    } else if (options.outcomeAsked) {
        shown = [&options](QApplication&, HostMainWindow& window) -> std::optional<int> {
            return OutcomeScript::run(options, window.connection(), window.company());
        };
    }
    // The module's plugin: beside the installed program, else where the build left it (a path
    // relative to the program, so that the package holds no path of the build tree).
    return DeskStart::run(
        app, options,
        DeskStart::plugin({QStringLiteral(KV_PLUGIN_INSTALLED), QStringLiteral(KV_PLUGIN_FROM_PROGRAM)},
                          QStringLiteral(KVUO_TARSELLO_FILE)),
        shown);
}

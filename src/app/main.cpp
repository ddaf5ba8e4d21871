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
    OutcomeScript::addOptions(parser);
    const ProgramOptions options = ProgramOptions::parse(app, parser);
    // A script's outcome on a slip runs on the desk's connection once signed in, then ends.
    DeskStart::Shown outcome;
    if (OutcomeScript::asked(parser)) {
        if (!options.passwordGiven) {
            std::fprintf(stderr,
                         "Gli esiti delle distinte da riga di comando richiedono --user e --password.\n");
            return 2;
        }
        outcome = [&parser](QApplication&, HostMainWindow& window) -> std::optional<int> {
            return OutcomeScript::run(parser, window.connection(), window.company());
        };
    }
    // The module's plugin: beside the installed program, else where the build left it (a path
    // relative to the program, so that the package holds no path of the build tree).
    return DeskStart::run(
        app, options,
        DeskStart::plugin({QStringLiteral(KV_PLUGIN_INSTALLED), QStringLiteral(KV_PLUGIN_FROM_PROGRAM)},
                          QStringLiteral(KVUO_TARSELLO_FILE)),
        outcome);
}

#include "DeskStart.h"
#include "ProgramOptions.h"

#include <QApplication>
#include <QCommandLineParser>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    DeskStart::prepare(app);
    QCommandLineParser parser;
    const ProgramOptions options = ProgramOptions::parse(app, parser);
    // The module's plugin: beside the installed program, else where the build left it (a path
    // relative to the program, so that the package holds no path of the build tree).
    return DeskStart::run(
        app, options,
        DeskStart::plugin({QStringLiteral(KV_PLUGIN_INSTALLED), QStringLiteral(KV_PLUGIN_FROM_PROGRAM)},
                          QStringLiteral(KVUO_TARSELLO_FILE)));
}

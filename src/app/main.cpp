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
    const QCommandLineOption slipFile(
        QStringLiteral("file-distinta"),
        QStringLiteral("Scrive in --output il file per la banca della distinta TIPO/ANNO/NUMERO (tipo 0 "
                       "Ri.Ba., 1 RID/SDD), rifatto dalla distinta registrata, ed esce."),
        QStringLiteral("distinta"));
    const QCommandLineOption output(QStringLiteral("output"), QStringLiteral("Il file da scrivere."),
                                    QStringLiteral("percorso"));
    parser.addOptions({slipFile, output});
    OutcomeScript::addOptions(parser);
    const ProgramOptions options = ProgramOptions::parse(app, parser);
    // A script's slip file or outcome runs on the desk's connection once signed in, then ends.
    DeskStart::Shown shown;
    if (parser.isSet(slipFile)) {
        if (parser.value(output).isEmpty()) {
            std::fprintf(stderr, "--file-distinta: indicare con --output dove scrivere il file\n");
            return 2;
        }
        shown = [&](QApplication&, HostMainWindow& window) -> std::optional<int> {
            return window.writeSlipFile(parser.value(slipFile), parser.value(output)) ? 0 : 1;
        };
    } else if (OutcomeScript::asked(parser)) {
        if (!options.passwordGiven) {
            std::fprintf(stderr,
                         "Gli esiti delle distinte da riga di comando richiedono --user e --password.\n");
            return 2;
        }
        shown = [&parser](QApplication&, HostMainWindow& window) -> std::optional<int> {
            return OutcomeScript::run(parser, window.connection(), window.company());
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

#include "DeskPictures.h"
#include "DeskStart.h"
#include "ProgramOptions.h"

#include <QApplication>
#include <QCommandLineParser>

// The clerk's desk started as the program starts it, then the pictures asked taken from it.
int main(int argc, char** argv) {
    QApplication app(argc, argv);
    DeskStart::prepare(app);
    QCommandLineParser parser;
    DeskPictures::addTo(parser);
    const ProgramOptions options = ProgramOptions::parse(app, parser);
    const DeskPictures::Options pictures = DeskPictures::read(parser);
    return DeskStart::run(
        app, options,
        DeskStart::plugin({QStringLiteral(KV_PLUGIN_FROM_PROGRAM)}, QStringLiteral(KVUO_TARSELLO_FILE)),
        [&pictures](QApplication& a, HostMainWindow& window) {
            return DeskPictures::take(a, window, pictures);
        });
}

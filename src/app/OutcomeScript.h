#pragma once

#include <QString>
#include <memory>
#include <optional>

class Connection;
class QCommandLineParser;

// The bank's outcomes on a slip run from the command line by a script (with --password): the
// options name the slip and one action; what was done goes to standard output, a refusal to
// standard error with a non-zero exit code.
namespace OutcomeScript {

void addOptions(QCommandLineParser& parser);
// True when the command line asks for an outcome.
bool asked(const QCommandLineParser& parser);
// Runs the action on the signed-in user's connection; the program's exit code.
int run(const QCommandLineParser& parser, const std::shared_ptr<Connection>& connection, qint32 company);

}  // namespace OutcomeScript

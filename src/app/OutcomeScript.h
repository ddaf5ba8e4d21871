#pragma once

#include <QString>
#include <memory>
#include <optional>

class Connection;
struct ProgramOptions;

// The bank's outcomes on a slip run from the command line by a script (with --password): the
// options (ProgramOptions) name the slip and one action; what was done goes to standard output, a refusal to
// standard error with a non-zero exit code.
namespace OutcomeScript {

// Runs the action on the signed-in user's connection; the program's exit code.
int run(const ProgramOptions& options, const std::shared_ptr<Connection>& connection, qint32 company);

}  // namespace OutcomeScript

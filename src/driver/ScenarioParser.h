#pragma once

#include "ScenarioCommand.h"

#include <QList>
#include <optional>

// Reads scenario text: one command a line; blanks separate arguments; an argument with blanks
// goes between double quotes (\" and \\ inside them); a # at the start of an argument begins a
// comment. `sql` takes the rest of its line as it stands, so that SQL keeps its own quotes.
// Every command's arguments are checked here, before anything runs.
class ScenarioParser {
public:
    // Nothing for a blank or comment line; throws ScenarioError for a malformed one.
    static std::optional<ScenarioCommand> parseLine(const QString& text, int line);
    // Every command of a scenario; the error names the first bad line ("line 3: ...").
    static QList<ScenarioCommand> parse(const QString& scenario);

private:
    static QStringList split(const QString& text);
    static void check(const ScenarioCommand& command);
};

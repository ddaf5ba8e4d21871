#pragma once

#include <QString>

// What the clerk is not shown goes here: the engine's and the driver's own words when a database
// does not open or refuses the program, with the time, for whoever looks after the desk. One
// file per user, $XDG_STATE_HOME/Contabilita/Dettaglio effetti/dettaglio.log
// (~/.local/state/... by default); past 1 MB it moves to dettaglio.log.1 and starts again.
// Writing never throws: a log that cannot be written must not stop the clerk's work.
class TechnicalLog {
public:
    static void write(const QString& source, const QString& text);
    static QString path();
    // Another file (a test's own); empty: the user's file again.
    static void setPath(const QString& path);
};

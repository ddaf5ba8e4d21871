#pragma once

#include <QString>
#include <QtGlobal>
#include <memory>

class Cinterface;
class Connection;
class Grid;
class LogService;
class Recordset;

// What the bill form hands to a child form of one of its grid tabs (history movements,
// reminders) before showing it: the host, the tab's own recordset that the child form edits, the
// connection, the message service, the grid to rebind, whether to open on a new row, and the
// BillKey of new rows (the company comes from the host).
struct ChildFormHandOver {
    Cinterface* host = nullptr;
    std::shared_ptr<Recordset> recordset;
    std::shared_ptr<Connection> connection;
    std::shared_ptr<LogService> log;
    Grid* grid = nullptr;
    bool nuovo = false;  // the form opens on a new row
    bool secondFlag = false;
    bool childChanged = false;  // the bill form's changed flag of the tab, handed on
    QString numReg;
    qint32 rigaCont = 0, progEc = 0, progEff = 0;
};

#pragma once

#include "TableAccess.h"

// What a group may do in a program, as the host hands it to the module (CanInsert, CanUpdate,
// CanDelete, CanQbe).
struct ProgramRights {
    bool insert = false;
    bool update = false;
    bool remove = false;
    bool query = false;

    static ProgramRights all() { return {true, true, true, true}; }
};

// The tables by what a signed-in user may do with them.
enum class TableClass {
    BillHeader,  // the Bills themselves: every right of the program applies as it is
    BillPart,    // written with a Bill (history, reminders, notes, register): entered or changed with it
    Workspace,   // the user's own things and the services' rows: numbering, layouts, scripts, attachments
    Accounts,    // users, groups, rights, their audit: written by privileged users only
    Reference,   // archives, parameters, codes: read only
};

// The one table of who may do what, applied by the engine (GRANTs or the SQLite access check).
bool allows(const ProgramRights& rights, bool privileged, TableAction action, TableClass table);

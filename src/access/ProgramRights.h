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

// The tables by what a signed-in user may do with them (docs/DATABASE.md, "Who may do what").
enum class TableClass {
    BillHeader,  // the Bills themselves: every right of the program applies as it is
    Maintained,  // archives kept by the suite's maintenance windows (CIG/CUP, company banks): as BillHeader
    BillPart,    // notes, reminders, bills of exchange: written with the Bill, removed by who may change it
    BillTrail,   // history, document register, attachments: written with the Bill, removed only by who may
                 // delete
    Numbering,   // the numbering series: moved on by who may enter Bills, never removed
    Personal,    // layouts and scripts: each user's own rows (a privileged user anyone's, audited)
    Accounts,    // users, groups, rights, sign-in rows: read by all, written by privileged users only
    Audit,       // the audit of the accounts: read and added to by privileged users, never changed
    Reference,   // archives, parameters, codes: read only
};

// The one table of who may do what, applied by the engine (GRANTs or the SQLite access check).
// Which rows of a Personal table are a user's own the database checks row by row.
bool allows(const ProgramRights& rights, bool privileged, TableAction action, TableClass table);

#include "ProgramRights.h"

bool allows(const ProgramRights& rights, bool privileged, TableAction action, TableClass table) {
    const bool bill = table == TableClass::BillHeader || table == TableClass::BillPart;
    if (action == TableAction::Read) return !bill || rights.query;
    switch (table) {
        case TableClass::BillHeader:
            return action == TableAction::Insert   ? rights.insert
                   : action == TableAction::Update ? rights.update
                                                   : rights.remove;
        case TableClass::BillPart:
            // A Bill's parts are written, and dropped, as the Bill is entered or changed;
            // deleting the Bill itself is the header's right.
            return rights.insert || rights.update;
        case TableClass::Workspace:
            return true;
        case TableClass::Accounts:
            return privileged;
        case TableClass::Reference:
            return false;
    }
    return false;
}

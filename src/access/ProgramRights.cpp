#include "ProgramRights.h"

bool allows(const ProgramRights& rights, bool privileged, TableAction action, TableClass table) {
    // Entering a Bill or changing one writes its parts and its trail.
    const bool writes = rights.insert || rights.update;
    switch (table) {
        case TableClass::BillHeader:
        case TableClass::Maintained:
            switch (action) {
                case TableAction::Read:
                    return rights.query;
                case TableAction::Insert:
                    return rights.insert;
                case TableAction::Update:
                    return rights.update;
                case TableAction::Delete:
                    return rights.remove;
            }
            return false;
        case TableClass::BillPart:
            // Removing a reminder or a note is a change of the Bill it belongs to.
            return action == TableAction::Read     ? rights.query
                   : action == TableAction::Delete ? rights.update
                                                   : writes;
        case TableClass::BillTrail:
            switch (action) {
                case TableAction::Read:
                    return rights.query;
                case TableAction::Insert:
                    return writes;
                case TableAction::Update:
                    return rights.update;
                case TableAction::Delete:
                    // An undo deletes a movement; a Bill's deletion its register row.
                    return rights.remove;
            }
            return false;
        case TableClass::Numbering:
            return action == TableAction::Read || (action != TableAction::Delete && rights.insert);
        case TableClass::Personal:
            return true;
        case TableClass::Accounts:
            return action == TableAction::Read || privileged;
        case TableClass::Audit:
            return (action == TableAction::Read || action == TableAction::Insert) && privileged;
        case TableClass::Reference:
            return action == TableAction::Read;
    }
    return false;
}

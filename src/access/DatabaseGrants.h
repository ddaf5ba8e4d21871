#pragma once

#include "ProgramRights.h"

#include <QList>
#include <QString>
#include <utility>

class Connection;

// On a server with roles, makes the database itself enforce the rights: a role per group with
// GRANTs that follow the group's rights in the program, and a role for privileged users that may
// change the accounts. Clerks connect as login roles that are members of their group's role,
// so a clerk without the right to delete cannot delete even from another tool.
namespace DatabaseGrants {

using TableClasses = QList<std::pair<QString, TableClass>>;

// Creates the roles that are missing and sets every table's GRANTs, in one transaction, where
// the engine's credentials have the server enforce the rights; nothing where the program does. Throws
// SuiteError when the connected role may not create roles or grant.
void apply(Connection& connection, const TableClasses& tables, const QString& program);

}  // namespace DatabaseGrants

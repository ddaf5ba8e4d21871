#pragma once

#include "ProgramRights.h"

#include <QString>
#include <functional>

// Makes every connection opened as a named user on an engine without roles (SQLite) apply that
// user's rights: the same table of rights the server's GRANTs follow.
namespace AccessRules {

using ClassOf = std::function<TableClass(const QString& table)>;

// Once per process, before the first connection opened as a user.
void install(ClassOf classOf, QString program);

}  // namespace AccessRules

#pragma once

#include "ConnectionFactory.h"
#include "ProgramRights.h"

#include <QString>
#include <functional>

// What a connection opened for a user on an engine without roles (SQLite) applies: that user's
// rights, the same table of rights the server's GRANTs follow.
namespace AccessRules {

using ClassOf = std::function<TableClass(const QString& table)>;

// Reads `user`'s account and their group's rights in `program`.
ConnectionFactory::RuleSource ruleOf(QString user, ClassOf classOf, QString program);

}  // namespace AccessRules

#include "DatabaseGrants.h"

#include "Accounts.h"
#include "Connection.h"
#include "Credentials.h"

namespace {

QStringList privileges(const ProgramRights& rights, bool privileged, TableClass table) {
    static const std::pair<TableAction, const char*> names[] = {{TableAction::Read, "SELECT"},
                                                                {TableAction::Insert, "INSERT"},
                                                                {TableAction::Update, "UPDATE"},
                                                                {TableAction::Delete, "DELETE"}};
    QStringList granted;
    for (const auto& [action, name] : names)
        if (allows(rights, privileged, action, table)) granted.append(QString::fromLatin1(name));
    return granted;
}

}  // namespace

void DatabaseGrants::apply(Connection& connection, const TableClasses& tables, const QString& program) {
    const auto grants = [&](const QString& role, const ProgramRights& rights, bool privileged) {
        RoleGrants g{role, {}};
        for (const auto& [table, tableClass] : tables)
            g.tables.append({table, privileges(rights, privileged, tableClass)});
        return g;
    };
    Accounts accounts(connection);
    DatabaseRights rights;
    for (const QString& group : accounts.groups())
        rights.groups.append(grants(Accounts::groupRole(group), accounts.rightsOf(group, program), false));
    // Privileged users add to their group's rights the writing of the accounts and their audit.
    rights.privileged = grants(Accounts::privilegedRole(), {}, true);
    rights.counterRole = Accounts::counterRole();
    rights.counterPassword = QString::fromLatin1(Accounts::kCounterPassword);
    connection.dialect().credentials().apply(connection, rights);
}

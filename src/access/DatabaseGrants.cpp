#include "DatabaseGrants.h"

#include "Accounts.h"
#include "Connection.h"
#include "TransactionScope.h"

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
    const SqlDialect& d = connection.dialect();
    if (!d.hasRoles()) return;
    Accounts accounts(connection);
    QList<std::pair<QString, ProgramRights>> roles;
    for (const QString& group : accounts.groups())
        roles.append({Accounts::groupRole(group), accounts.rightsOf(group, program)});
    TransactionScope transaction(connection);
    connection.Execute(d.serializeRoleChanges());
    // Tables, views and routines are the installer's: no clerk creates, drops or alters one.
    connection.Execute(d.reserveSchemaToOwner());
    for (const auto& [role, rights] : roles) {
        for (const QString& statement : d.createRole(role, false, QString())) connection.Execute(statement);
        connection.Execute(d.grantSchemaUsage(role));
        for (const auto& [table, tableClass] : tables)
            for (const QString& statement : d.grantOnly(privileges(rights, false, tableClass), table, role))
                connection.Execute(statement);
    }
    // Privileged users add to their group's rights the writing of the accounts and their audit.
    const QString privileged = Accounts::privilegedRole();
    for (const QString& statement : d.createRole(privileged, false, QString())) connection.Execute(statement);
    connection.Execute(d.grantSchemaUsage(privileged));
    // Disabling a user ends the sessions that user still has open.
    connection.Execute(d.letEndSessions(privileged));
    for (const auto& [table, tableClass] : tables)
        for (const QString& statement : d.grantOnly(privileges({}, true, tableClass), table, privileged))
            connection.Execute(statement);
    // The role the sign-in counts wrong passwords through, before anybody signed in.
    const QString counter = Accounts::counterRole();
    for (const QString& statement :
         d.createRole(counter, true, QString::fromLatin1(Accounts::kCounterPassword)))
        connection.Execute(statement);
    connection.Execute(d.setRolePassword(counter, QString::fromLatin1(Accounts::kCounterPassword)));
    connection.Execute(d.setRoleLogin(counter, true));
    connection.Execute(d.grantSchemaUsage(counter));
    for (const QString& statement : d.signInCounterGrants(counter)) connection.Execute(statement);
    transaction.commit();
}

#include "AccessRules.h"

#include "Accounts.h"
#include "Connection.h"
#include "SuiteError.h"

void AccessRules::install(ClassOf classOf, QString program) {
    Connection::setAccessRuleSource([classOf = std::move(classOf), program = std::move(program)](
                                        Connection& connection, const QString& user) -> AccessRule {
        Accounts accounts(connection);
        const std::optional<Account> account = accounts.find(user);
        if (!account || account->disabled)
            throw SuiteError(SuiteError::kNotPermitted, QStringLiteral("Accesso"),
                             QStringLiteral("L'utente %1 non può aprire il database.").arg(user));
        const ProgramRights rights = accounts.rightsOf(account->group, program);
        return [classOf, rights, privileged = account->privileged](TableAction action, const QString& table) {
            return allows(rights, privileged, action, classOf(table));
        };
    });
}

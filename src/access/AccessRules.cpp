#include "AccessRules.h"

#include "Accounts.h"
#include "Connection.h"
#include "SuiteError.h"

ConnectionFactory::RuleSource AccessRules::ruleOf(QString user, ClassOf classOf, QString program) {
    return [user = std::move(user), classOf = std::move(classOf),
            program = std::move(program)](Connection& connection) -> AccessRule {
        // One read by key of the user, their sign-in row and their group's rights: cheap enough
        // for the start of every transaction.
        Accounts accounts(connection);
        const std::optional<Account> account = accounts.find(user);
        if (!account)
            throw SuiteError(
                SuiteError::kNotPermitted, QStringLiteral("Accesso"),
                QStringLiteral("L'utente %1 non esiste più fra gli utenti della ditta.").arg(user));
        if (account->disabled)
            throw SuiteError(
                SuiteError::kNotPermitted, QStringLiteral("Accesso"),
                QStringLiteral("L'utente %1 è stato disattivato dall'amministratore: non può più "
                               "lavorare sul database.")
                    .arg(account->code));
        const ProgramRights rights = accounts.rightsOf(account->group, program);
        return {
            account->code, account->privileged,
            [classOf, rights, privileged = account->privileged](TableAction action, const QString& table) {
                return allows(rights, privileged, action, classOf(table));
            }};
    };
}

#include "DemoGenerator.h"

#include "Accounts.h"
#include "BillFilter.h"
#include "Credentials.h"
#include "DatabaseGrants.h"
#include "DemoBuilder.h"
#include "PasswordHash.h"
#include "Schema.h"
#include "SchemaInstaller.h"
#include "TransactionScope.h"

#include <QHash>

QString DemoGenerator::customerAccount() {
    return QStringLiteral("0401001");
}
QString DemoGenerator::supplierAccount() {
    return QStringLiteral("1401001");
}
HeaderQuery DemoGenerator::customerBills() {
    HeaderQuery q;
    q.tipoArchivio = 0;
    q.company = kCompany;
    q.ledgerGroup = kLedgerGroup;
    q.customerAccount = customerAccount();
    q.supplierAccount = supplierAccount();
    q.order = BillFilter{}.orderText();
    return q;
}
DemoGenerator::Options DemoGenerator::Options::aroundDay(const QDate& day) {
    Options options;
    options.today = day;
    options.booksStart = day.addMonths(-6);
    return options;
}

QDate DemoGenerator::today() {
    return Options().today;
}

DemoGenerator::DemoGenerator(std::shared_ptr<Connection> connection, Options options)
    : connection_(std::move(connection)), options_(std::move(options)) {}

QList<DemoGenerator::User> DemoGenerator::users() {
    return {{QStringLiteral("ADMIN"), QStringLiteral("Amministratore di sistema"),
             QStringLiteral("AMMINISTRAZIONE"), true, QStringLiteral("Admin.2024")},
            {QStringLiteral("MROSSI"), QStringLiteral("Maria Rossi"), QStringLiteral("CONTABILITA"), false,
             QStringLiteral("Rossi.2024")},
            {QStringLiteral("GDANGELO"), QStringLiteral("Giuseppe D'Angelo"), QStringLiteral("CONTABILITA"),
             false, QStringLiteral("Dangelo.2024")}};
}

QString DemoGenerator::passwordHash(const QString& code) {
    static const QHash<QString, QString> hashes = [] {
        QHash<QString, QString> h;
        for (const User& user : users()) h.insert(user.code, PasswordHash::make(user.password));
        return h;
    }();
    return hashes.value(code);
}

DemoGenerator::Counts DemoGenerator::installOn(const std::shared_ptr<Connection>& connection,
                                               Options options) {
    connection->setCatalogue(SchemaInstaller::catalogue());
    SchemaInstaller(connection).install();
    return DemoGenerator(connection, std::move(options)).run();
}

DemoGenerator::Counts DemoGenerator::run() {
    const Counts counts = DemoBuilder(*connection_, options_).run();
    DatabaseGrants::apply(*connection_, Schema::accessClasses(), Schema::billProgram());
    const Credentials& credentials = connection_->dialect().credentials();
    TransactionScope transaction(*connection_);
    for (const User& user : users())
        credentials.createLogin(*connection_, credentials.loginRoleOf(user.code), user.password,
                                Accounts::groupRole(user.group),
                                user.privileged ? Accounts::privilegedRole() : QString());
    transaction.commit();
    // Without statistics the planner walks the ordering index even for one customer's Bills.
    connection_->Execute(QStringLiteral("EXEC sp_updatestats"));
    return counts;
}

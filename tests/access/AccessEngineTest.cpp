#include "AccessRules.h"
#include "Accounts.h"
#include "Connection.h"
#include "DemoGenerator.h"
#include "PasswordHash.h"
#include "Schema.h"
#include "SchemaInstaller.h"
#include "SignIn.h"
#include "SuiteError.h"
#include "TechnicalLog.h"
#include "TestDatabase.h"

#include <gtest/gtest.h>
#include <QFile>
#include <QUrl>
#include <QUrlQuery>

namespace {

// The demo company with a handful of Bills, on each engine, and the process's access rules.
class AccessTest : public ::testing::TestWithParam<TestEngine> {
protected:
    void SetUp() override {
        REQUIRE_ENGINE(GetParam());
        AccessRules::install(Schema::accessClass, Schema::billProgram());
        db_ = std::make_unique<TestDatabase>(GetParam());
        admin_ = db_->connect(SchemaInstaller::catalogue());
        DemoGenerator::installOn(admin_, {.bills = 12});
    }

    bool server() const { return GetParam() == TestEngine::PostgreSql; }

    // Where a login role signs in with a password: the server over TCP on this machine.
    QString signInString() const {
        if (!server()) return db_->connectionString();
        QUrl url(db_->connectionString());
        QUrlQuery query(url);
        query.removeQueryItem(QStringLiteral("host"));
        url.setQuery(query);
        url.setHost(QStringLiteral("localhost"));
        return url.toString();
    }
    // The user's name at the sign-in: the suite code, or on the server its login role.
    QString login(const QString& code) const { return server() ? Accounts::loginRole(code) : code; }

    SignIn::Session signIn(const QString& code, const QString& password) const {
        return SignIn(Schema::billProgram()).signIn(signInString(), login(code), password);
    }

    static qint32 failureOf(const std::function<void()>& action, QString* message = nullptr) {
        try {
            action();
        } catch (const SuiteError& e) {
            if (message) *message = e.description();
            return e.number();
        }
        return 0;
    }

    std::unique_ptr<TestDatabase> db_;
    std::shared_ptr<Connection> admin_;
};

TEST(PasswordHash, SaltedAndCheckedWithoutKeepingThePassword) {
    const QString first = PasswordHash::make(QStringLiteral("Città è già 東京 ;'"));
    const QString second = PasswordHash::make(QStringLiteral("Città è già 東京 ;'"));
    EXPECT_FALSE(first.contains(QStringLiteral("Città")));
    EXPECT_TRUE(first.startsWith(QStringLiteral("$argon2id$")));
    EXPECT_NE(first, second);
    EXPECT_TRUE(PasswordHash::matches(first, QStringLiteral("Città è già 東京 ;'")));
    EXPECT_FALSE(PasswordHash::matches(first, QStringLiteral("citta e gia")));
    EXPECT_FALSE(PasswordHash::matches(QStringLiteral("not a hash"), QStringLiteral("x")));
    EXPECT_EQ(SignIn::waitSeconds(1), 0);
    EXPECT_EQ(SignIn::waitSeconds(3), 2);
    EXPECT_EQ(SignIn::waitSeconds(40), 60);
}

TEST_P(AccessTest, AWrongPasswordIsRefusedAndRepeatedFailuresWait) {
    QString message;
    EXPECT_EQ(failureOf([&] { signIn(QStringLiteral("MROSSI"), QStringLiteral("Sbagliata.7")); }, &message),
              SuiteError::kNotPermitted);
    EXPECT_TRUE(message.startsWith(QStringLiteral("Utente o password non validi."))) << message.toStdString();
    // The server's own words go to the technical log, never to the clerk; the password to neither.
    QFile log(TechnicalLog::path());
    const QString logged = log.open(QIODevice::ReadOnly) ? QString::fromUtf8(log.readAll()) : QString();
    for (const char* engineText : {"QPSQL", "FATAL", "Sbagliata.7"})
        EXPECT_FALSE(message.contains(QLatin1String(engineText))) << message.toStdString();
    EXPECT_FALSE(logged.contains(QStringLiteral("Sbagliata.7")));
    if (server()) {
        EXPECT_TRUE(logged.contains(QStringLiteral("QPSQL"))) << logged.toStdString();
    }
    // One mistake costs nothing: the right password goes in at once.
    const SignIn::Session session = signIn(QStringLiteral("MROSSI"), QStringLiteral("Rossi.2024"));
    EXPECT_EQ(session.account.code, QStringLiteral("MROSSI"));
    EXPECT_TRUE(session.rights.update);
    EXPECT_FALSE(session.rights.remove);
    // Two in a row: even the right password waits.
    for (int i = 0; i < 2; ++i) failureOf([&] { signIn(QStringLiteral("GDANGELO"), QStringLiteral("x")); });
    EXPECT_EQ(
        failureOf([&] { signIn(QStringLiteral("GDANGELO"), QStringLiteral("Dangelo.2024")); }, &message),
        SuiteError::kNotPermitted);
    EXPECT_TRUE(message.startsWith(QStringLiteral("Troppi tentativi"))) << message.toStdString();
    if (server()) return;

    // A database from before passwords: the administrator chooses theirs at the first sign-in,
    // a clerk waits for the administrator.
    admin_->Execute(QStringLiteral("UPDATE KV10_ACCESSI SET KV10_HASH = NULL"));
    EXPECT_EQ(failureOf([&] { signIn(QStringLiteral("ADMIN"), QString()); }), SignIn::kFirstPassword);
    EXPECT_EQ(failureOf([&] { signIn(QStringLiteral("MROSSI"), QString()); }, &message),
              SuiteError::kNotPermitted);
    EXPECT_TRUE(message.contains(QStringLiteral("non è stata data una password"))) << message.toStdString();
    EXPECT_EQ(failureOf([&] {
                  Accounts(*admin_).setFirstPassword(QStringLiteral("MROSSI"), QStringLiteral("x12345678"));
              }),
              SuiteError::kOperationNotAllowed);
    Accounts(*admin_).setFirstPassword(QStringLiteral("ADMIN"), QStringLiteral("Prima.2024"));
    EXPECT_TRUE(signIn(QStringLiteral("ADMIN"), QStringLiteral("Prima.2024")).account.privileged);
    EXPECT_EQ(failureOf([&] {
                  Accounts(*admin_).setFirstPassword(QStringLiteral("ADMIN"), QStringLiteral("Altra.2024"));
              }),
              SuiteError::kOperationNotAllowed);
}

TEST_P(AccessTest, AClerkWhoMayNotDeleteIsRefusedByTheDatabaseAndTheAdministratorIsNot) {
    const auto count = [&](const std::shared_ptr<Connection>& c) {
        return c->Query(QStringLiteral("SELECT COUNT(*) FROM EF01_SCADENZE")).front().rows.front()[0].toInt();
    };
    const auto open = [](const SignIn::Session& s) {
        auto c = std::make_shared<Connection>();
        c->Open(s.connectionString);
        return c;
    };
    const int before = count(admin_);
    auto clerk = open(signIn(QStringLiteral("MROSSI"), QStringLiteral("Rossi.2024")));
    QString message;
    EXPECT_EQ(failureOf([&] { clerk->Execute(QStringLiteral("DELETE FROM EF01_SCADENZE")); }, &message),
              SuiteError::kNotPermitted);
    EXPECT_TRUE(message.contains(QStringLiteral("non ha il diritto"))) << message.toStdString();
    // What the clerk may do goes through: a change, and the history of a Bill.
    EXPECT_GT(clerk->Execute(QStringLiteral("UPDATE EF01_SCADENZE SET EF01_CONTRFINANZ = 'rivisto'")), 0);
    EXPECT_EQ(failureOf([&] { clerk->Execute(QStringLiteral("UPDATE KV11_DIRITTI SET KV11_FLGCANC = 1")); }),
              SuiteError::kNotPermitted);
    EXPECT_EQ(failureOf([&] { clerk->Execute(QStringLiteral("DELETE FROM CG18_DITTE")); }),
              SuiteError::kNotPermitted);
    EXPECT_EQ(count(admin_), before);

    auto administrator = open(signIn(QStringLiteral("ADMIN"), QStringLiteral("Admin.2024")));
    EXPECT_EQ(administrator->Execute(QStringLiteral("DELETE FROM EF04_SCADNOTE")) >= 0, true);
    EXPECT_GT(administrator->Execute(QStringLiteral("DELETE FROM EF01_SCADENZE WHERE EF01_PROGEFF = 1")), 0);
}

TEST_P(AccessTest, UsersAreManagedByAPrivilegedUserWithAnAuditRow) {
    auto administrator = std::make_shared<Connection>();
    administrator->Open(signIn(QStringLiteral("ADMIN"), QStringLiteral("Admin.2024")).connectionString);
    Accounts accounts(*administrator, QStringLiteral("ADMIN"));
    Account fresh;
    fresh.code = server() ? QStringLiteral("T%1").arg(QDateTime::currentMSecsSinceEpoch() % 100000000)
                          : QStringLiteral("LBIANCHI");
    fresh.name = QStringLiteral("Lucia Bianchi");
    fresh.group = QStringLiteral("CONTABILITA");
    QString message;
    EXPECT_EQ(failureOf([&] { accounts.add(fresh, QStringLiteral("corta")); }, &message),
              SuiteError::kOperationNotAllowed);
    EXPECT_TRUE(message.contains(QStringLiteral("almeno 8"))) << message.toStdString();
    accounts.add(fresh, QStringLiteral("Bianchi.2024"));
    EXPECT_EQ(signIn(fresh.code, QStringLiteral("Bianchi.2024")).account.code, fresh.code);
    accounts.resetPassword(fresh.code, QStringLiteral("Nuova'pass;2024"));
    EXPECT_EQ(signIn(fresh.code, QStringLiteral("Nuova'pass;2024")).rights.remove, false);
    accounts.changeGroup(fresh.code, QStringLiteral("AMMINISTRAZIONE"));
    EXPECT_TRUE(signIn(fresh.code, QStringLiteral("Nuova'pass;2024")).rights.remove);
    accounts.setDisabled(fresh.code, true);
    EXPECT_EQ(failureOf([&] { signIn(fresh.code, QStringLiteral("Nuova'pass;2024")); }),
              SuiteError::kNotPermitted);

    // A clerk may not manage users.
    auto clerk = std::make_shared<Connection>();
    clerk->Open(signIn(QStringLiteral("MROSSI"), QStringLiteral("Rossi.2024")).connectionString);
    EXPECT_EQ(failureOf([&] {
                  Accounts(*clerk, QStringLiteral("MROSSI")).setDisabled(QStringLiteral("ADMIN"), true);
              }),
              SuiteError::kOperationNotAllowed);

    const auto audit =
        admin_
            ->Query(QStringLiteral("SELECT KV12_AUTORE, KV12_UTENTE, KV12_AZIONE, KV12_DATAORA FROM "
                                   "KV12_REGUTENTI ORDER BY KV12_PROGR"))
            .front()
            .rows;
    QStringList actions;
    for (const auto& row : audit) {
        EXPECT_EQ(row[0].toString().trimmed(), QStringLiteral("ADMIN"));
        EXPECT_EQ(row[1].toString().trimmed(), fresh.code);
        EXPECT_FALSE(row[3].isNull());
        actions << row[2].toString().trimmed();
    }
    EXPECT_EQ(actions, (QStringList{QStringLiteral("AGGIUNTO"), QStringLiteral("PASSWORD"),
                                    QStringLiteral("GRUPPO"), QStringLiteral("DISATTIVATO")}));
    // The hash on the embedded database is not the password.
    if (server()) {
        // Roles belong to the server, not to the test's schema: this one goes with the test.
        admin_->Execute(QStringLiteral("DROP ROLE %1").arg(Accounts::loginRole(fresh.code)));
    } else {
        EXPECT_FALSE(accounts.find(fresh.code)->passwordHash.contains(QStringLiteral("Nuova")));
    }
}

INSTANTIATE_TEST_SUITE_P(Engines, AccessTest, ::testing::Values(TestEngine::Sqlite, TestEngine::PostgreSql),
                         [](const ::testing::TestParamInfo<TestEngine>& info) {
                             return engineName(info.param);
                         });

}  // namespace

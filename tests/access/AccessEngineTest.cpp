#include "Accounts.h"
#include "Connection.h"
#include "DatabaseGrants.h"
#include "DemoDatabase.h"
#include "DemoGenerator.h"
#include "PasswordHash.h"
#include "Schema.h"
#include "SchemaInstaller.h"
#include "SignIn.h"
#include "SignInAttempts.h"
#include "SqlText.h"
#include "SuiteError.h"
#include "TechnicalLog.h"

#include <gtest/gtest.h>
#include <QElapsedTimer>
#include <QFile>
#include <QMap>
#include <QRandomGenerator>
#include <QThread>
#include <QUrl>
#include <QUrlQuery>
#include <atomic>
#include <thread>
#include <vector>

namespace {

// The demo company with a handful of Bills, on each engine, and the process's access rules.
class AccessTest : public ::testing::TestWithParam<TestEngine> {
protected:
    void SetUp() override {
        REQUIRE_ENGINE(GetParam());
        demo_ = std::make_unique<DemoDatabase>(GetParam(), 40);
        admin_ = demo_->connection;
    }

    bool server() const { return GetParam() != TestEngine::Sqlite; }

    QString signInString() const { return demo_->db.signInString(); }
    // The code as a clerk types it (MROSSI), on the server too.
    SignIn::Session signIn(const QString& code, const QString& password) const {
        return SignIn(Schema::billProgram(), Schema::accessClass, SchemaInstaller::catalogue())
            .signIn(signInString(), code, password);
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

    static std::shared_ptr<Connection> open(const SignIn::Session& s) { return s.open(); }

    // A user added by the administrator for this test alone: on the server its login role is
    // unique, since roles are shared by every test running.
    static inline const QString kFreshPassword = QStringLiteral("Bianchi.2024");
    Account addUser(const QString& group) {
        Account fresh;
        fresh.code = server() ? QStringLiteral("T%1_%2")
                                    .arg(QDateTime::currentMSecsSinceEpoch() % 100000000)
                                    .arg(QRandomGenerator::global()->bounded(1000))
                              : QStringLiteral("LBIANCHI");
        fresh.name = QStringLiteral("Lucia Bianchi");
        fresh.group = group;
        auto administrator = open(signIn(QStringLiteral("ADMIN"), QStringLiteral("Admin.2024")));
        Accounts(*administrator, QStringLiteral("ADMIN")).add(fresh, kFreshPassword);
        return fresh;
    }
    void dropUser(const Account& user) {
        // Roles belong to the server, not to the test's schema: this one goes with the test.
        if (server()) admin_->Execute(QStringLiteral("DROP ROLE %1").arg(Accounts::loginRole(user.code)));
    }

    std::unique_ptr<DemoDatabase> demo_;
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
    EXPECT_EQ(SignInAttempts::waitSeconds(1), 0);
    EXPECT_EQ(SignInAttempts::waitSeconds(3), 2);
    EXPECT_EQ(SignInAttempts::waitSeconds(40), 60);
}

TEST_P(AccessTest, AWrongPasswordIsRefusedAndRepeatedFailuresWait) {
    QString message;
    EXPECT_EQ(failureOf([&] { signIn(QStringLiteral("MROSSI"), QStringLiteral("Sbagliata.7")); }, &message),
              SuiteError::kNotPermitted);
    EXPECT_TRUE(message.startsWith(QStringLiteral("Utente o password non validi."))) << message.toStdString();
    // The server's own words go to the technical log, never to the clerk; the password to neither.
    QFile log(TechnicalLog::path());
    const QString logged = log.open(QIODevice::ReadOnly) ? QString::fromUtf8(log.readAll()) : QString();
    for (const char* engineText : {"QPSQL", "QODBC", "FATAL", "Sbagliata.7"})
        EXPECT_FALSE(message.contains(QLatin1String(engineText))) << message.toStdString();
    EXPECT_FALSE(logged.contains(QStringLiteral("Sbagliata.7")));
    if (server()) {
        EXPECT_TRUE(logged.contains(QStringLiteral("QPSQL")) || logged.contains(QStringLiteral("QODBC")))
            << logged.toStdString();
    }
    // One mistake costs nothing: the right password goes in at once.
    const SignIn::Session session = signIn(QStringLiteral("MROSSI"), QStringLiteral("Rossi.2024"));
    EXPECT_EQ(session.account().code, QStringLiteral("MROSSI"));
    EXPECT_TRUE(session.rights().update);
    EXPECT_FALSE(session.rights().remove);
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
    EXPECT_TRUE(signIn(QStringLiteral("ADMIN"), QStringLiteral("Prima.2024")).account().privileged);
    EXPECT_EQ(failureOf([&] {
                  Accounts(*admin_).setFirstPassword(QStringLiteral("ADMIN"), QStringLiteral("Altra.2024"));
              }),
              SuiteError::kOperationNotAllowed);
}

// Guessers at once, each with connections of its own, against one user: every attempt that
// reached the password is counted in the database, where any other process reads it, and no
// more get through than the wait allows.
TEST_P(AccessTest, ParallelWrongPasswordsAreAllCountedAndWaitTheirTurn) {
    constexpr int kGuessers = 4;
    std::atomic<int> tried{0};
    std::atomic<int> held{0};
    QElapsedTimer clock;
    clock.start();
    std::vector<std::thread> guessers;
    for (int i = 0; i < kGuessers; ++i)
        guessers.emplace_back([&] {
            while (clock.elapsed() < 5000) {
                QString message;
                failureOf([&] { signIn(QStringLiteral("GDANGELO"), QStringLiteral("sbagliata")); }, &message);
                if (message.startsWith(QStringLiteral("Utente o password non validi.")))
                    ++tried;
                else if (message.startsWith(QStringLiteral("Troppi tentativi")))
                    ++held;
                else
                    ADD_FAILURE() << message.toStdString();
                QThread::msleep(20);
            }
        });
    for (std::thread& g : guessers) g.join();
    // In 5 seconds: two at once, one 2 s after them, one 3 s after that.
    EXPECT_LE(tried.load(), 4);
    EXPECT_GT(held.load(), 0);
    const auto stored = admin_
                            ->Query(QStringLiteral("SELECT KV10_TENTATIVI FROM KV10_ACCESSI WHERE "
                                                   "KV10_UTENTE_KV02 = 'GDANGELO'"))
                            .front()
                            .rows;
    ASSERT_EQ(stored.size(), 1U);
    EXPECT_EQ(stored.front()[0].toInt(), tried.load());
}

// A clerk who may enter and change Bills but not delete them, at an SQL prompt beside the
// program: every table refuses what the group may not do, and no schema statement passes, for
// the administrator either (the schema is the installer's).
TEST_P(AccessTest, AClerkAtAnSqlPromptIsHeldToTheGroupsRightsOnEveryTable) {
    const auto count = [&](const char* table) {
        return admin_->Query(QStringLiteral("SELECT COUNT(*) FROM %1").arg(QLatin1String(table)))
            .front()
            .rows.front()[0]
            .toInt();
    };
    const char* kept[] = {"EF01_SCADENZE", "EF06_SCADSTO", "CO99_MASTERDOC", "EF05_SCADSOLLEC",
                          "KV04_NUMERATORI"};
    QMap<QString, int> before;
    for (const char* table : kept) before[QLatin1String(table)] = count(table);
    ASSERT_GT(before[QStringLiteral("EF06_SCADSTO")], 0);
    ASSERT_GT(before[QStringLiteral("EF05_SCADSOLLEC")], 1);

    auto clerk = open(signIn(QStringLiteral("MROSSI"), QStringLiteral("Rossi.2024")));
    QStringList refused{"DELETE FROM EF01_SCADENZE",
                        "DELETE FROM EF06_SCADSTO",
                        "DELETE FROM CO99_MASTERDOC",
                        "DELETE FROM KV05_ALLEGATI",
                        "DELETE FROM KV04_NUMERATORI",
                        "UPDATE KV04_NUMERATORI SET KV04_ULTIMO = 0",
                        "UPDATE KV10_ACCESSI SET KV10_FLGDISAB = 0",
                        "UPDATE KV11_DIRITTI SET KV11_FLGCANC = 1",
                        "INSERT INTO KV03_GRUPPI (KV03_GRUPPO) VALUES ('MIO')",
                        "DELETE FROM KV12_REGUTENTI",
                        "DELETE FROM CG18_DITTE",
                        "UPDATE KV06_MESSAGGI SET KV06_TESTO = 'x'",
                        "DROP TABLE EF05_SCADSOLLEC",
                        "ALTER TABLE KV10_ACCESSI RENAME TO KV10_VECCHIA",
                        "ALTER TABLE EF06_SCADSTO ADD COLUMN EF06_MIA INTEGER",
                        "CREATE TABLE KV99_MIA (A INTEGER)",
                        "CREATE VIEW KV99_VISTA AS SELECT EF01_PROGEFF FROM EF01_SCADENZE",
                        "CREATE INDEX IX_MIO ON EF01_SCADENZE (EF01_PROGEFF)"};
    if (!server())
        refused << "PRAGMA writable_schema = 1"
                << "ATTACH DATABASE ':memory:' AS ALTRO"
                << "CREATE TRIGGER KV99_T AFTER INSERT ON EF01_SCADENZE BEGIN DELETE FROM EF06_SCADSTO; END";
    // The connection names who signed in on every engine and transport (the login role on the
    // server), and a refusal is told in our words with that name; the driver's are in the log.
    EXPECT_EQ(clerk->user().toUpper(), QStringLiteral("MROSSI"));
    const auto ours = [](const QString& message) {
        for (const char* driverText :
             {"QPSQL", "QODBC", "ERROR", "denied", "authorized", "UNIQUE", "duplicate"})
            if (message.contains(QLatin1String(driverText), Qt::CaseInsensitive)) return false;
        return message.contains(TechnicalLog::path());
    };
    for (const QString& statement : refused) {
        QString message;
        EXPECT_EQ(failureOf([&] { clerk->ExecuteNative(statement); }, &message), SuiteError::kNotPermitted)
            << statement.toStdString() << ": " << message.toStdString();
        EXPECT_TRUE(message.contains(clerk->user()) && ours(message)) << message.toStdString();
    }
    QString message;
    EXPECT_EQ(failureOf(
                  [&] {
                      admin_->Execute(
                          QStringLiteral("INSERT INTO KV03_GRUPPI (KV03_GRUPPO) VALUES "
                                         "('CONTABILITA')"));
                  },
                  &message),
              SuiteError::kWriteConflict);
    EXPECT_TRUE(ours(message)) << message.toStdString();
    EXPECT_EQ(
        failureOf([&] { clerk->Query(QStringLiteral("SELECT EF01_NONCE FROM EF01_SCADENZE")); }, &message),
        SuiteError::kCommandFailed);
    EXPECT_TRUE(ours(message) && !message.contains(QStringLiteral("EF01_NONCE"))) << message.toStdString();
    QFile log(TechnicalLog::path());
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    EXPECT_TRUE(log.readAll().contains("EF01_NONCE"));
    // What the group may do goes through: a change of the Bills, a reminder removed (the Bill's
    // change), a number taken.
    EXPECT_GT(clerk->Execute(QStringLiteral("UPDATE EF01_SCADENZE SET EF01_CONTRFINANZ = 'rivisto'")), 0);
    const QString lastReminders = QStringLiteral(
        " FROM EF05_SCADSOLLEC WHERE EF05_PROGAVVISI = (SELECT MAX(EF05_PROGAVVISI) FROM EF05_SCADSOLLEC)");
    const int removed =
        admin_->Query(QStringLiteral("SELECT COUNT(*)") + lastReminders).front().rows.front()[0].toInt();
    ASSERT_GT(removed, 0);
    EXPECT_EQ(clerk->Execute(QStringLiteral("DELETE") + lastReminders), removed);
    EXPECT_NO_THROW(clerk->Execute(QStringLiteral("UPDATE KV04_NUMERATORI SET KV04_ULTIMO = KV04_ULTIMO")));
    before[QStringLiteral("EF05_SCADSOLLEC")] -= removed;
    for (const char* table : kept) EXPECT_EQ(count(table), before[QLatin1String(table)]) << table;

    // The administrators' group deletes a movement, as an undo does; the schema and the audit
    // stay out of its reach.
    auto administrator = open(signIn(QStringLiteral("ADMIN"), QStringLiteral("Admin.2024")));
    EXPECT_GT(administrator->Execute(QStringLiteral("DELETE FROM EF06_SCADSTO WHERE EF06_PROGSTO = (SELECT "
                                                    "MAX(EF06_PROGSTO) FROM EF06_SCADSTO)")),
              0);
    for (const char* statement :
         {"DROP TABLE EF05_SCADSOLLEC", "ALTER TABLE KV10_ACCESSI RENAME TO KV10_VECCHIA",
          "DELETE FROM KV12_REGUTENTI"})
        EXPECT_EQ(failureOf([&] { administrator->ExecuteNative(QLatin1String(statement)); }),
                  SuiteError::kNotPermitted)
            << statement;
    EXPECT_TRUE(signIn(QStringLiteral("ADMIN"), QStringLiteral("Admin.2024")).account().privileged);
}

// A script runs in its owner's session: a clerk cannot plant one for anybody else, even at an
// SQL prompt; a privileged user manages anyone's, and each such change leaves an audit row.
TEST_P(AccessTest, AScriptPlantedForAnotherUserIsRefusedAndTheAdministratorsChangeIsAudited) {
    auto clerk = open(signIn(QStringLiteral("MROSSI"), QStringLiteral("Rossi.2024")));
    auto administrator = open(signIn(QStringLiteral("ADMIN"), QStringLiteral("Admin.2024")));
    const auto script = [&](const char* user) {
        const auto rows =
            admin_
                ->Query(QStringLiteral("SELECT KV09_TESTO FROM KV09_SCRIPT WHERE KV09_UTENTE_KV02 = '%1'")
                            .arg(QLatin1String(user)))
                .front()
                .rows;
        return rows.empty() ? QString() : rows.front()[0].toString();
    };
    const QString own = QStringLiteral("function tsOpen(form) {}");
    administrator->Execute(
        QStringLiteral("INSERT INTO KV09_SCRIPT (KV09_UTENTE_KV02, KV09_PROGRAMMA, KV09_TESTO) "
                       "VALUES ('ADMIN', 'P', '%1')")
            .arg(own));
    clerk->Execute(
        QStringLiteral("INSERT INTO KV09_SCRIPT (KV09_UTENTE_KV02, KV09_PROGRAMMA, KV09_TESTO) VALUES "
                       "('MROSSI', 'P', 'function tsOpen(form) {}')"));
    const QString planted =
        QStringLiteral("function tsOpen(form) { form.message('Dare la password a MROSSI'); }");
    EXPECT_EQ(failureOf([&] {
                  clerk->Execute(QStringLiteral("INSERT INTO KV09_SCRIPT (KV09_UTENTE_KV02, KV09_PROGRAMMA, "
                                                "KV09_TESTO) VALUES ('ADMIN', 'Q', %1)")
                                     .arg(SqlText::quote(planted)));
              }),
              SuiteError::kNotPermitted);
    // Nor by a temporary table that would say the clerk is ADMIN (SQLite refuses creating it).
    if (server()) {
        clerk->Execute(
            QStringLiteral("CREATE TEMP TABLE KV10_ACCESSI AS SELECT CAST('ADMIN' AS VARCHAR(20)) AS "
                           "KV10_UTENTE_KV02, CAST(current_user AS VARCHAR(63)) AS KV10_RUOLODB"));
        EXPECT_EQ(
            failureOf([&] {
                clerk->Execute(QStringLiteral("INSERT INTO KV09_SCRIPT (KV09_UTENTE_KV02, KV09_PROGRAMMA, "
                                              "KV09_TESTO) VALUES ('ADMIN', 'R', %1)")
                                   .arg(SqlText::quote(planted)));
            }),
            SuiteError::kNotPermitted);
    }
    // Moving one's own script to someone else is planting it too.
    EXPECT_EQ(failureOf([&] {
                  clerk->Execute(QStringLiteral(
                      "UPDATE KV09_SCRIPT SET KV09_UTENTE_KV02 = 'ADMIN', KV09_PROGRAMMA = 'Q' WHERE "
                      "KV09_UTENTE_KV02 = 'MROSSI'"));
              }),
              SuiteError::kNotPermitted);
    // Another user's rows are refused (SQLite) or out of sight (PostgreSQL): untouched either way.
    for (const QString& statement :
         {QStringLiteral("UPDATE KV09_SCRIPT SET KV09_TESTO = %1").arg(SqlText::quote(planted)),
          QStringLiteral("DELETE FROM KV09_SCRIPT WHERE KV09_UTENTE_KV02 = 'ADMIN'")}) {
        try {
            clerk->Execute(statement);
        } catch (const SuiteError& e) {
            EXPECT_EQ(e.number(), SuiteError::kNotPermitted) << e.description().toStdString();
        }
    }
    EXPECT_EQ(script("ADMIN"), own);
    const auto audit = [&] {
        return admin_
            ->Query(QStringLiteral(
                "SELECT KV12_AUTORE, KV12_UTENTE, KV12_AZIONE, KV12_DETTAGLIO FROM KV12_REGUTENTI "
                "ORDER BY KV12_PROGR"))
            .front()
            .rows;
    };
    EXPECT_TRUE(audit().empty());

    administrator->Execute(
        QStringLiteral("UPDATE KV09_SCRIPT SET KV09_TESTO = '// sospeso' WHERE KV09_UTENTE_KV02 = 'MROSSI'"));
    EXPECT_EQ(script("MROSSI"), QStringLiteral("// sospeso"));
    const auto rows = audit();
    ASSERT_EQ(rows.size(), 1U);
    EXPECT_EQ(rows.front()[0].toString().trimmed(), QStringLiteral("ADMIN"));
    EXPECT_EQ(rows.front()[1].toString().trimmed(), QStringLiteral("MROSSI"));
    EXPECT_EQ(rows.front()[2].toString().trimmed(), QStringLiteral("SCRIPT"));
    EXPECT_EQ(rows.front()[3].toString().trimmed(), QStringLiteral("modificato"));
}

// What the administrator changes acts at the clerk's next statement, without a new sign-in:
// a right taken from the group, then the user disabled, on the session's next connection too.
TEST_P(AccessTest, ARevokedRightOrADisabledUserActsAtTheNextStatement) {
    const Account fresh = addUser(QStringLiteral("CONTABILITA"));
    const UserSession session = signIn(fresh.code, kFreshPassword);
    auto clerk = open(session);
    // The user's connection string alone, outside the session, does not open past their rights.
    if (!server()) {
        EXPECT_EQ(failureOf([&] { Connection().Open(session.connections().connectionString()); }),
                  SuiteError::kConnectionFailed);
    }
    const QString change = QStringLiteral("UPDATE EF01_SCADENZE SET EF01_CONTRFINANZ = 'rivisto'");
    EXPECT_GT(clerk->Execute(change), 0);

    const auto setRight = [&](const char* right, bool allowed) {
        admin_->Execute(
            QStringLiteral("UPDATE KV11_DIRITTI SET %1 = %2 WHERE KV11_GRUPPO_KV03 = 'CONTABILITA'")
                .arg(QLatin1String(right))
                .arg(allowed ? 1 : 0));
        DatabaseGrants::apply(*admin_, Schema::accessClasses(), Schema::billProgram());
    };
    setRight("KV11_FLGMOD", false);
    EXPECT_EQ(failureOf([&] { clerk->Execute(change); }), SuiteError::kNotPermitted);
    setRight("KV11_FLGMOD", true);
    EXPECT_GT(clerk->Execute(change), 0);
    // A read kept prepared while the right to read was there is refused once it is gone, at the
    // next read itself.
    const auto read = [&] {
        clerk->QueryReadOnly(QStringLiteral("SELECT EF01_NUMREG_CO99 FROM EF01_SCADENZE"),
                             Connection::Reuse::Kept);
    };
    read();
    setRight("KV11_FLGCONS", false);
    EXPECT_EQ(failureOf(read), SuiteError::kNotPermitted);
    setRight("KV11_FLGCONS", true);

    auto administrator = open(signIn(QStringLiteral("ADMIN"), QStringLiteral("Admin.2024")));
    Accounts(*administrator, QStringLiteral("ADMIN")).setDisabled(fresh.code, true);
    // Each attempt is refused and says why: the edits of a form stay pending meanwhile.
    for (int attempt = 0; attempt < 2; ++attempt) {
        QString message;
        const qint32 failure = failureOf([&] { clerk->Execute(change); }, &message);
        if (server()) {
            EXPECT_EQ(failure, SuiteError::kConnectionFailed) << message.toStdString();
            EXPECT_TRUE(message.contains(QStringLiteral("amministratore"))) << message.toStdString();
        } else {
            EXPECT_EQ(failure, SuiteError::kNotPermitted);
            EXPECT_TRUE(message.contains(QStringLiteral("disattivato"))) << message.toStdString();
        }
    }
    EXPECT_NE(failureOf([&] { session.open(); }), 0);
    dropUser(fresh);
}

TEST_P(AccessTest, UsersAreManagedByAPrivilegedUserWithAnAuditRow) {
    auto administrator = open(signIn(QStringLiteral("ADMIN"), QStringLiteral("Admin.2024")));
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
    EXPECT_EQ(signIn(fresh.code, QStringLiteral("Bianchi.2024")).account().code, fresh.code);
    accounts.resetPassword(fresh.code, QStringLiteral("Nuova'pass;2024"));
    EXPECT_EQ(signIn(fresh.code, QStringLiteral("Nuova'pass;2024")).rights().remove, false);
    accounts.changeGroup(fresh.code, QStringLiteral("AMMINISTRAZIONE"));
    EXPECT_TRUE(signIn(fresh.code, QStringLiteral("Nuova'pass;2024")).rights().remove);
    accounts.setDisabled(fresh.code, true);
    EXPECT_EQ(failureOf([&] { signIn(fresh.code, QStringLiteral("Nuova'pass;2024")); }),
              SuiteError::kNotPermitted);

    // A clerk may not manage users.
    auto clerk = open(signIn(QStringLiteral("MROSSI"), QStringLiteral("Rossi.2024")));
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

INSTANTIATE_ON_ENGINES_AND_ODBC(AccessTest);

}  // namespace

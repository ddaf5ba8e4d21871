#include "DatabaseInspector.h"
#include "LockWait.h"
#include "Schema.h"
#include "SchemaInstaller.h"
#include "SuiteError.h"
#include "TestDatabase.h"

#include <gtest/gtest.h>
#include <QElapsedTimer>

namespace {

class SchemaEngine : public ::testing::TestWithParam<TestEngine> {};

// The schema as the engine reports it must be the definition itself: same tables, columns in
// the same order with the same types, sizes, nullability, and the same keys.
TEST_P(SchemaEngine, InstalledSchemaReadsBackAsDefined) {
    REQUIRE_ENGINE(GetParam());
    TestDatabase db(GetParam());
    auto c = db.connect(SchemaInstaller::catalogue());
    SchemaInstaller(c).install();
    DatabaseInspector inspector(*c);

    QStringList expected;
    for (const TableDef& t : Schema::all()) expected.append(t.name);
    expected.sort();
    EXPECT_EQ(inspector.tableNames(), expected);

    for (const TableDef& defined : Schema::all()) {
        SCOPED_TRACE(defined.name.toStdString());
        const auto found = inspector.table(defined.name);
        ASSERT_TRUE(found.has_value());
        EXPECT_EQ(found->isView, defined.isView);
        ASSERT_EQ(found->columns.size(), defined.columns.size());
        for (int i = 0; i < defined.columns.size(); ++i) {
            const ColumnDef& want = defined.columns[i];
            const ColumnDef& got = found->columns[i];
            SCOPED_TRACE(want.name.toStdString());
            EXPECT_EQ(got.name, want.name);
            if (defined.isView) continue;
            EXPECT_EQ(got.type, want.type);
            EXPECT_EQ(got.nullable, want.nullable);
            if (want.type == DataType::Text) {
                EXPECT_EQ(got.size, want.size);
            }
            if (want.type == DataType::Decimal) {
                EXPECT_EQ(got.precision, want.precision);
                EXPECT_EQ(got.scale, want.scale);
            }
        }
        EXPECT_EQ(found->primaryKey, defined.primaryKey);
    }
}

TEST_P(SchemaEngine, InstallerRecordsItsVersionAndRefusesForeignOrOtherVersions) {
    REQUIRE_ENGINE(GetParam());
    const auto message = [](const std::function<void()>& action) {
        try {
            action();
        } catch (const SuiteError& e) {
            return e.description();
        }
        return QString();
    };
    {
        TestDatabase db(GetParam());
        auto c = db.connect();
        SchemaInstaller installer(c);
        EXPECT_EQ(installer.state(), SchemaInstaller::State::Empty);
        EXPECT_TRUE(message([&] { installer.verify(); }).contains("vuoto"));
        installer.installOrVerify();
        EXPECT_EQ(installer.state(), SchemaInstaller::State::Current);
        EXPECT_EQ(installer.installedVersion(), Schema::kVersion);
        EXPECT_NO_THROW(installer.verify());
        EXPECT_NO_THROW(installer.installOrVerify());
        // A second installation would destroy nothing but must not half-succeed either.
        EXPECT_TRUE(message([&] { installer.install(); }).contains("database vuoto"));
        EXPECT_EQ(installer.state(), SchemaInstaller::State::Current);

        c->Execute(QStringLiteral("UPDATE KV00_VERSIONE SET KV00_VERSIONE = %1").arg(Schema::kVersion - 1));
        EXPECT_EQ(installer.state(), SchemaInstaller::State::Older);
        EXPECT_TRUE(message([&] { installer.verify(); }).contains("aggiornare il database"));
        // An older database gets the tables it lacks and keeps its rows.
        // Before rights existed everybody could do everything: the groups keep it, and the users
        // get their sign-in rows without a password.
        c->Execute(QStringLiteral("INSERT INTO KV07_LAYOUT (KV07_UTENTE_KV02, KV07_FORM) VALUES ('U', 'F')"));
        c->Execute(QStringLiteral("INSERT INTO KV03_GRUPPI (KV03_GRUPPO) VALUES ('UFFICIO')"));
        c->Execute(QStringLiteral(
            "INSERT INTO KV02_UTENTI (KV02_UTENTE, KV02_GRUPPO_KV03) VALUES ('U', 'UFFICIO')"));
        for (const char* table : {"KV09_SCRIPT", "KV10_ACCESSI", "KV11_DIRITTI", "KV12_REGUTENTI"})
            c->Execute(QStringLiteral("DROP TABLE %1").arg(QString::fromLatin1(table)));
        installer.installOrVerify();
        EXPECT_EQ(installer.state(), SchemaInstaller::State::Current);
        const auto rights =
            c->Query(QStringLiteral("SELECT KV11_FLGINS + KV11_FLGMOD + KV11_FLGCANC + KV11_FLGCONS "
                                    "FROM KV11_DIRITTI WHERE KV11_GRUPPO_KV03 = 'UFFICIO'"))
                .front()
                .rows;
        ASSERT_EQ(rights.size(), 1U);
        EXPECT_EQ(rights.front()[0].toInt(), 4);
        EXPECT_EQ(c->Query(QStringLiteral("SELECT KV10_HASH FROM KV10_ACCESSI WHERE KV10_UTENTE_KV02 = 'U'"))
                      .front()
                      .rows.size(),
                  1U);
        EXPECT_NO_THROW(c->Execute(QStringLiteral("SELECT KV09_TESTO FROM KV09_SCRIPT")));
        EXPECT_EQ(c->Query(QStringLiteral("SELECT KV07_FORM FROM KV07_LAYOUT")).front().rows.size(), 1U);
        c->Execute(QStringLiteral("UPDATE KV00_VERSIONE SET KV00_VERSIONE = %1").arg(Schema::kVersion + 1));
        EXPECT_EQ(installer.state(), SchemaInstaller::State::Newer);
        EXPECT_TRUE(message([&] { installer.verify(); }).contains("aggiornare il programma"));
        c->Execute(QStringLiteral("DELETE FROM KV00_VERSIONE"));
        EXPECT_EQ(installer.state(), SchemaInstaller::State::Foreign);
    }
    {
        TestDatabase db(GetParam());
        auto c = db.connect();
        c->Execute(QStringLiteral("CREATE TABLE ANAGRAFICA (CODICE INTEGER, NOME VARCHAR(40))"));
        SchemaInstaller installer(c);
        EXPECT_EQ(installer.state(), SchemaInstaller::State::Foreign);
        const QString why = message([&] { installer.installOrVerify(); });
        EXPECT_TRUE(why.contains("non è un database")) << why.toStdString();
        EXPECT_TRUE(message([&] { installer.install(); }).contains("contiene già delle tabelle"));
    }
}

TEST_P(SchemaEngine, AProgramStartingWhileAColleagueSavesWaitsForNothingAndAddsAMissingIndex) {
    // Every program start looks for the indexes its schema declares.
    REQUIRE_ENGINE(GetParam());
    TestDatabase db(GetParam());
    auto c = db.connect();
    SchemaInstaller(c).installOrVerify();
    auto colleague = db.connect();
    colleague->BeginTrans();
    colleague->Execute(QStringLiteral("UPDATE EF01_SCADENZE SET EF01_PROGEFF = EF01_PROGEFF WHERE 1 = 0"));
    QElapsedTimer starting;
    starting.start();
    SchemaInstaller(c).addMissingIndexes();
    EXPECT_LT(starting.elapsed(), LockWait::ms()) << "the start waited for the colleague's save";
    colleague->RollbackTrans();

    const TableDef& bills = *Schema::catalogue()->table(QStringLiteral("EF01_SCADENZE"));
    ASSERT_FALSE(bills.indexes.empty());
    const QString dropped = bills.indexes.front().name;
    c->Execute(QStringLiteral("DROP INDEX %1").arg(dropped));
    EXPECT_FALSE(DatabaseInspector(*c).indexNames()->contains(dropped.toUpper()));
    SchemaInstaller(c).addMissingIndexes();
    EXPECT_TRUE(DatabaseInspector(*c).indexNames()->contains(dropped.toUpper()));
}

INSTANTIATE_ON_ENGINES(SchemaEngine);

}  // namespace

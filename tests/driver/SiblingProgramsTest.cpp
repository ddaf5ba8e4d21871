#include "ArchivePrograms.h"
#include "ArchiveStore.h"
#include "ArchiveTexts.h"
#include "ArchiveWindow.h"
#include "Connection.h"
#include "DemoDatabase.h"
#include "DemoGenerator.h"
#include "DriverApplication.h"
#include "EditBox.h"
#include "Grid.h"
#include "Recordset.h"
#include "Schema.h"
#include "SchemaInstaller.h"
#include "ScriptedLogService.h"
#include "SignIn.h"
#include "SuiteError.h"
#include "Value.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QLineEdit>
#include <QTest>
#include <QUrl>
#include <QUrlQuery>

namespace {

// The archive programs the host runs for the forms, on the demo company of each engine, used by
// a clerk without the delete right (MROSSI) as the application signs in.
class SiblingPrograms : public ::testing::TestWithParam<TestEngine> {
protected:
    void SetUp() override {
        REQUIRE_ENGINE(GetParam());
        demo_ = std::make_unique<DemoDatabase>(GetParam(), 40);
        admin_ = demo_->connection;
    }
    std::shared_ptr<Connection> clerk(const QString& code, const QString& password) const {
        return SignIn(Schema::billProgram(), Schema::accessClass, SchemaInstaller::catalogue())
            .signIn(demo_->db.signInString(), code, password)
            .open();
    }
    QVariantList row(const QString& sql) const {
        const std::vector<ResultSet> r = admin_->Query(sql);
        return r.empty() || r.front().rows.empty() ? QVariantList() : r.front().rows.front();
    }
    int count(const QString& sql) const { return Value::toInt(row(sql).value(0)); }
    // The driver's output of `scenario` run as MROSSI signs in; empty (and the test failed) when the
    // run stopped.
    QByteArray driveAsClerk(const QString& scenario) const {
        QBuffer input;
        input.setData(scenario.toUtf8());
        input.open(QIODevice::ReadOnly);
        QByteArray out;
        QString error;
        const int code = DriverApplication::run(
            {QStringLiteral("--db"), demo_->db.signInString(), QStringLiteral("--company"),
             QStringLiteral("1"), QStringLiteral("--user"), QStringLiteral("MROSSI"),
             QStringLiteral("--password"), QStringLiteral("Rossi.2024")},
            input, [&](const QByteArray& line) { out += line + '\n'; }, &error);
        EXPECT_EQ(code, 0) << error.toStdString() << out.toStdString();
        return code == 0 ? out : QByteArray();
    }

    std::unique_ptr<DemoDatabase> demo_;
    std::shared_ptr<Connection> admin_;
};

TEST_P(SiblingPrograms, ABankChosenInItsProgramComesBackAndAPairRegisteredThereIsAcceptedAtTheSave) {
    const QVariantList bill =
        row(QStringLiteral("SELECT EF01_DITTA_CG18, EF01_NUMREG_CO99, EF01_RIGACONT_CG42, EF01_PROGEC_EC01,"
                           " EF01_PROGEFF, EF01_CLIFOR_CG44 FROM EF01_SCADENZE WHERE EF01_DITTA_CG18 = 1"
                           " AND EF01_TIPOCF_CG44 = 0 ORDER BY EF01_NUMREG_CO99, EF01_PROGEFF"));
    ASSERT_EQ(bill.size(), 6);
    QStringList key;
    for (int i = 0; i < 5; ++i) key << Value::toText(bill[i]).trimmed();
    const QString secondBank = Value::toText(
        row(QStringLiteral("SELECT EF08_PROGR FROM EF08_BANCHEAZ WHERE EF08_DITTA_CG18 = 1 AND EF08_PROGR > "
                           "(SELECT MIN(EF08_PROGR) FROM EF08_BANCHEAZ WHERE EF08_DITTA_CG18 = 1)"
                           " ORDER BY EF08_PROGR"))
            .value(0));
    ASSERT_FALSE(secondBank.isEmpty());
    // The clerk picks the second company bank in its program, registers a new pair for the
    // customer in the CIG/CUP archive (first with a letter-typed code cut short, then right),
    // types it on the Bill and saves.
    const QString scenario = QStringLiteral(
                                 "set TipoArchivio 0\n"
                                 "set ChiaveEffettoInGestione %1\n"
                                 "show\n"
                                 "in FRMKV_TARSELLO\n"
                                 "menu TXT_PROGR_EF08 Kgestione\n"
                                 "in GST_BANCHEAZ\n"
                                 "row GRD_ARCHIVIO 2\n"
                                 "click NAV_ARCHIVIO Scegli\n"
                                 "in FRMKV_TARSELLO\n"
                                 "get TXT_PROGR_EF08\n"
                                 "menu TXT_CIG Kgestione\n"
                                 "in GST_CIGCUP\n"
                                 "click NAV_ARCHIVIO Nuovo\n"
                                 "type TXT_CO1H_CIG \"zq'1234567890\"\n"
                                 "type TXT_CO1H_DESCR \"Lotto d'acqua; 2°\"\n"
                                 "key TXT_CO1H_DESCR 83 2\n"
                                 "get GRD_ARCHIVIO\n"
                                 "key GRD_ARCHIVIO 27\n"
                                 "in FRMKV_TARSELLO\n"
                                 "type TXT_CIG \"ZQ'1234567\"\n"
                                 "leave TXT_CIG\n"
                                 "click INV_MAIN Salva\n"
                                 "messages\n")
                                 .arg(key.join(u','));
    const QByteArray out = driveAsClerk(scenario);
    ASSERT_FALSE(out.isEmpty());
    const std::string output = out.toStdString();
    EXPECT_NE(output.find("\"control\":\"TXT_PROGR_EF08\",\"text\":\"" + secondBank.toStdString() + "\""),
              std::string::npos)
        << output;
    EXPECT_NE(output.find("\"control\":\"GRD_ARCHIVIO\",\"rows\":1"), std::string::npos) << output;
    EXPECT_NE(output.find("{\"cmd\":\"messages\",\"messages\":[]}"), std::string::npos) << output;
    const QString where = QStringLiteral(
                              " WHERE EF01_DITTA_CG18 = %1 AND EF01_NUMREG_CO99 = '%2' AND "
                              "EF01_RIGACONT_CG42 = %3 AND EF01_PROGEC_EC01 = %4 AND EF01_PROGEFF = %5")
                              .arg(key[0], key[1], key[2], key[3], key[4]);
    const QVariantList saved =
        row(QStringLiteral("SELECT EF01_CIG, EF01_PROGR_EF08 FROM EF01_SCADENZE") + where);
    EXPECT_EQ(Value::toText(saved.value(0)).trimmed(), QStringLiteral("ZQ'1234567"));
    EXPECT_EQ(Value::toText(saved.value(1)).trimmed(), secondBank);
    EXPECT_EQ(
        count(QStringLiteral("SELECT COUNT(*) FROM CO1H_CIGCUP INNER JOIN CO1I_CFCIGCUP ON "
                             "CO1I_IDCIGCUP_CO1H = CO1H_ID WHERE CO1H_CIG = 'ZQ''1234567' AND CO1H_CUP = ''"
                             " AND CO1H_DESCR = 'Lotto d''acqua; 2°' AND CO1I_TIPOCF_CG44 = 0 AND "
                             "CO1I_CLIFOR_CG44 = %1")
                  .arg(Value::toText(bill[5]).trimmed())),
        1);
}

TEST_P(SiblingPrograms, WhatIsTypedIsCheckedAndTheDatabaseRefusesWhatTheGroupMayNot) {
    auto mrossi = clerk(QStringLiteral("MROSSI"), QStringLiteral("Rossi.2024"));
    ArchiveStore banks(ArchivePrograms::describe(QString::fromLatin1(ArchivePrograms::kCompanyBanks), 1, {}),
                       mrossi);
    const auto problem = [&](ArchiveStore::Record r) { return banks.check(r, {}).toStdString(); };
    EXPECT_NE(problem({{"EF08_DESCR", "Banca"}, {"EF08_BANCA_CG12", "30a9"}}).find("Banca (ABI)"),
              std::string::npos);
    EXPECT_NE(problem({{"EF08_DESCR", QString(61, u'x')}}).find("al massimo 60 caratteri"),
              std::string::npos);
    EXPECT_NE(problem({{"EF08_DESCR", " "}}).find("obbligatorio"), std::string::npos);
    EXPECT_EQ(problem({{"EF08_DESCR", "Banca"}, {"EF08_BANCA_CG12", "3069"}}), "");

    // One pair for two customers: the second only gains its assignment.
    const auto cigCup = [](const std::shared_ptr<Connection>& c, int customer) {
        return ArchiveStore(ArchivePrograms::describe(QString::fromLatin1(ArchivePrograms::kCigCup), 1,
                                                      {0, customer, QString(), QString()}),
                            c);
    };
    const QString pairs = QStringLiteral("SELECT COUNT(*) FROM CO1H_CIGCUP");
    const QString links = QStringLiteral("SELECT COUNT(*) FROM CO1I_CFCIGCUP");
    const int pairsBefore = count(pairs);
    const int linksBefore = count(links);
    ArchiveStore first = cigCup(mrossi, 901);
    const ArchiveStore::Record pair{
        {"CO1H_CIG", "b77'x"}, {"CO1H_CUP", ""}, {"CO1H_DESCR", "Scuola; lotto 1"}};
    ASSERT_EQ(first.check(pair, {}), QString());
    const ArchiveStore::Record stored = first.save(pair, {});
    EXPECT_NE(first.check(pair, {}).toStdString().find("Esiste già"), std::string::npos);
    ArchiveStore second = cigCup(mrossi, 902);
    ASSERT_EQ(second.check(pair, {}), QString());
    second.save(pair, {});
    EXPECT_EQ(count(pairs), pairsBefore + 1);
    EXPECT_EQ(count(links), linksBefore + 2);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM CO1H_CIGCUP WHERE CO1H_CIG = 'B77''X'")), 1);

    // A colleague changed the pair after this clerk read it: the clerk's change is refused, not
    // written over the colleague's.
    ArchiveStore::Record edited = stored;
    edited["CO1H_DESCR"] = QStringLiteral("Scuola; lotto 2");
    second.save(edited, stored);
    edited["CO1H_DESCR"] = QStringLiteral("Scuola; lotto 3");
    try {
        first.save(edited, stored);
        ADD_FAILURE() << "a change made on a stale row was written";
    } catch (const SuiteError& e) {
        EXPECT_EQ(e.number(), SuiteError::kWriteConflict);
    }
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM CO1H_CIGCUP WHERE CO1H_DESCR = 'Scuola; lotto 2'")),
              1);

    // Without the delete right the database itself refuses, and nothing goes.
    try {
        first.remove(stored);
        ADD_FAILURE() << "a clerk without the delete right removed an assignment";
    } catch (const SuiteError& e) {
        EXPECT_EQ(e.number(), SuiteError::kNotPermitted) << e.description().toStdString();
    }
    EXPECT_EQ(count(links), linksBefore + 2);
    // The administrator removes the first customer's assignment; the pair stays for the second,
    // and goes with its last assignment.
    auto admin = clerk(QStringLiteral("ADMIN"), QStringLiteral("Admin.2024"));
    cigCup(admin, 901).remove(stored);
    EXPECT_EQ(count(pairs), pairsBefore + 1);
    cigCup(admin, 902).remove(stored);
    EXPECT_EQ(count(pairs), pairsBefore);
    EXPECT_EQ(count(links), linksBefore);
}

// "Gestione" on the Bill created for the charges, in the history movement form, opens another
// bill form on that Bill; closing it returns to the movement, and the first bill form still shows
// its own Bill.
TEST_P(SiblingPrograms, TheBillOfTheChargesOpensInAnotherBillFormAndClosingItReturnsToTheMovement) {
    const QString keyColumns = QStringLiteral(
        "EF01_DITTA_CG18, EF01_NUMREG_CO99, EF01_RIGACONT_CG42, EF01_PROGEC_EC01, EF01_PROGEFF, EF01_NUMEFF");
    const QVariantList first =
        row(QStringLiteral("SELECT %1 FROM EF01_SCADENZE WHERE EF01_DITTA_CG18 = 1 AND "
                           "EF01_TIPOCF_CG44 = 0 AND EXISTS (SELECT 1 FROM EF06_SCADSTO "
                           "WHERE EF06_NUMREG_CO99 = EF01_NUMREG_CO99 AND "
                           "EF06_PROGEFF_EF01 = EF01_PROGEFF) ORDER BY EF01_NUMREG_CO99")
                .arg(keyColumns));
    ASSERT_EQ(first.size(), 6);
    const QVariantList charges =
        row(QStringLiteral("SELECT %1 FROM EF01_SCADENZE WHERE EF01_DITTA_CG18 = 1 AND EF01_TIPOCF_CG44 = 0 "
                           "AND EF01_NUMEFF <> %2 ORDER BY EF01_NUMREG_CO99 DESC")
                .arg(keyColumns, Value::toText(first[5])));
    ASSERT_EQ(charges.size(), 6);
    QStringList key;
    for (int i = 0; i < 5; ++i) key << Value::toText(first[i]).trimmed();
    const QString numEff = Value::toText(charges[5]).trimmed();
    admin_->Execute(
        QStringLiteral("UPDATE EF06_SCADSTO SET EF06_PROGEFFSPE = %1 WHERE EF06_DITTA_CG18 = 1 AND "
                       "EF06_NUMREG_CO99 = '%2' AND EF06_RIGACONT_EF01 = %3 AND EF06_PROGEC_EF01 = "
                       "%4 AND EF06_PROGEFF_EF01 = %5")
            .arg(numEff, key[1], key[2], key[3], key[4]));
    const QString scenario = QStringLiteral(
                                 "set TipoArchivio 0\n"
                                 "set ChiaveEffettoInGestione %1\n"
                                 "show\n"
                                 "in FRMKV_TARSELLO\n"
                                 "tab 2\n"
                                 "row GRD_STORICO 1\n"
                                 "dblclick GRD_STORICO\n"
                                 "in FRMKV_STORICO\n"
                                 "menu TXT_PROGEFFSPE Kgestione\n"
                                 "in\n"
                                 "get TXT_NUMEFF\n"
                                 "close\n"
                                 "focused\n"
                                 "close\n"
                                 "in FRMKV_TARSELLO\n"
                                 "get TXT_NUMEFF\n"
                                 "messages\n")
                                 .arg(key.join(u','));
    const QByteArray out = driveAsClerk(scenario);
    ASSERT_FALSE(out.isEmpty());
    const QStringList lines = QString::fromUtf8(out).split(u'\n');
    const auto numbers = lines.filter(QStringLiteral("\"control\":\"TXT_NUMEFF\""));
    ASSERT_EQ(numbers.size(), 2) << out.toStdString();
    EXPECT_TRUE(numbers[0].contains(QStringLiteral("\"text\":\"%1\"").arg(numEff)))
        << numbers[0].toStdString();
    EXPECT_TRUE(numbers[1].contains(QStringLiteral("\"text\":\"%1\"").arg(Value::toText(first[5]).trimmed())))
        << numbers[1].toStdString();
    EXPECT_TRUE(
        out.contains("{\"cmd\":\"focused\",\"form\":\"FRMKV_STORICO\",\"control\":\"TXT_PROGEFFSPE\"}"))
        << out.toStdString();
    EXPECT_TRUE(out.contains("{\"cmd\":\"messages\",\"messages\":[]}")) << out.toStdString();
}

// The letter texts opened from the reminder's head item list the head texts only. A colleague's
// change or deletion met at the save: the row is read again and the clerk's edit kept, to be
// saved again.
TEST_P(SiblingPrograms, AWriteConflictReadsTheRowAgainKeepingTheClerksEdit) {
    auto log = std::make_shared<ScriptedLogService>();
    ArchiveWindow window(ArchiveStore(ArchivePrograms::describe(
                                          QString::fromLatin1(ArchivePrograms::kFixedTexts), 1, {"SOL1", 1}),
                                      clerk(QStringLiteral("MROSSI"), QStringLiteral("Rossi.2024"))),
                         log);
    EXPECT_EQ(window.findChild<Grid*>(QStringLiteral("GRD_ARCHIVIO"))->DataSource()->RecordCount(),
              count(QStringLiteral(
                  "SELECT COUNT(*) FROM MG0B_TESTI WHERE MG0B_DITTA_CG18 = 1 AND MG0B_INDTIPO = 5")));
    auto field = [&](const char* column) {
        return window.findChild<EditBox*>(QStringLiteral("TXT_") + QLatin1String(column));
    };
    ASSERT_TRUE(field("MG0B_DESCR"));
    EXPECT_EQ(field("MG0B_CODTESTO")->Text(), QStringLiteral("SOL1"));
    const auto edit = [&](const char* column, const QString& text) {
        QLineEdit* e = field(column)->lineEdit();
        e->selectAll();
        QTest::keyClicks(e, text);
    };
    edit("MG0B_DESCR", QStringLiteral("Sollecito; primo d'avviso"));
    admin_->Execute(
        QStringLiteral("UPDATE MG0B_TESTI SET MG0B_TESTO = 'Testo del collega' WHERE "
                       "MG0B_DITTA_CG18 = 1 AND MG0B_INDTIPO = 5 AND MG0B_CODTESTO = 'SOL1'"));
    EXPECT_FALSE(window.save());
    ASSERT_EQ(log->messages().size(), 1);
    EXPECT_EQ(log->messages().first().text, ArchiveTexts::kRilettoModificato);
    EXPECT_EQ(field("MG0B_TESTO")->Text(), QStringLiteral("Testo del collega"));
    EXPECT_EQ(field("MG0B_DESCR")->Text(), QStringLiteral("Sollecito; primo d'avviso"));
    EXPECT_TRUE(window.save());
    const QString sol1 = QStringLiteral(
        "SELECT COUNT(*) FROM MG0B_TESTI WHERE MG0B_INDTIPO = 5 AND MG0B_CODTESTO = "
        "'SOL1' AND MG0B_TESTO = 'Testo del collega' AND MG0B_DESCR = "
        "'Sollecito; primo d''avviso'");
    EXPECT_EQ(count(sol1), 1);

    // Deleted meanwhile: saved again, it is there again, with its kind.
    log->clear();
    edit("MG0B_TESTO", QStringLiteral("Ultimo avviso"));
    admin_->Execute(QStringLiteral("DELETE FROM MG0B_TESTI WHERE MG0B_CODTESTO = 'SOL1'"));
    EXPECT_FALSE(window.save());
    ASSERT_EQ(log->messages().size(), 1);
    EXPECT_EQ(log->messages().first().text, ArchiveTexts::kRilettoEliminato);
    EXPECT_TRUE(window.save());
    EXPECT_EQ(
        count(QStringLiteral("SELECT COUNT(*) FROM MG0B_TESTI WHERE MG0B_INDTIPO = 5 AND MG0B_CODTESTO = "
                             "'SOL1' AND MG0B_TESTO = 'Ultimo avviso'")),
        1);
}

INSTANTIATE_ON_ENGINES(SiblingPrograms);

}  // namespace

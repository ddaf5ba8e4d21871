#include "Connection.h"
#include "DriverTestForm.h"
#include "EditBox.h"
#include "JsonLine.h"
#include "MemoryCatalogue.h"
#include "ScenarioParser.h"
#include "ScenarioRunner.h"
#include "ScriptedLogService.h"
#include "TestDatabase.h"

#include <gtest/gtest.h>

#include "TestSchema.h"

#include <QApplication>
#include <QStringDecoder>
#include <QTest>

namespace {

using TestSchema::column;
using TestSchema::table;

// Lines joined, so that a failure shows them readably.
std::string joined(const QStringList& lines) {
    return lines.join(u'\n').toStdString();
}

// The driver replaying scenarios on a form of real controls over an SQLite file, handed to it
// already open, as a test or a host gives it a form of its own.
class DriverOnAForm : public ::testing::Test {
protected:
    void SetUp() override {
        auto catalogue = std::make_shared<MemoryCatalogue>();
        catalogue->add(
            table("TS01_ITEMS",
                  {column("TS01_ID", DataType::Integer), column("TS01_NAME", DataType::Text, 20),
                   column("TS01_AMOUNT", DataType::Decimal, 0, 15, 2), column("TS01_DUE", DataType::Date),
                   column("TS01_FLAG", DataType::SmallInt), column("TS01_KIND", DataType::Text, 4)}));
        catalogue->add(table("TS02_KINDS", {column("TS02_CODE", DataType::Text, 4),
                                            column("TS02_DESCR", DataType::Text, 30)}));
        connection = db.connect(catalogue);
        DriverTestForm::createTables(*connection);
        form = std::make_unique<DriverTestForm>(connection, db.connectionString(), log);
        form->show();
        QApplication::setActiveWindow(form.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }

    QStringList run(const char* scenario, int expectedCode = ScenarioRunner::kOk) {
        QStringList lines;
        ScenarioRunner runner({nullptr, connection, log, form.get(), nullptr, nullptr, nullptr},
                              [&](const QByteArray& line) { lines << QString::fromUtf8(line); });
        EXPECT_EQ(runner.run(ScenarioParser::parse(QString::fromUtf8(scenario))), expectedCode)
            << runner.error().toStdString();
        error = runner.error();
        return lines;
    }

    TestDatabase db{TestEngine::Sqlite};
    std::shared_ptr<Connection> connection;
    std::shared_ptr<ScriptedLogService> log = std::make_shared<ScriptedLogService>();
    std::unique_ptr<DriverTestForm> form;
    QString error;
};

TEST_F(DriverOnAForm, TypesLeavesChoosesAndSavesWithRealInputEvents) {
    const QStringList out = run(R"(
        type TXT_NAME Zeta
        field TS01_NAME          # not left yet: the row still has the old value
        leave TXT_NAME
        field TS01_NAME
        type TXT_AMOUNT 7,5
        leave TXT_AMOUNT
        get TXT_AMOUNT
        type TXT_DUE 01032024
        leave TXT_DUE
        get TXT_DUE
        check CHK_FLAG 0
        check CHK_FLAG 0         # already off: no click
        select CBO_KIND R3
        get CBO_KIND
        key TXT_NAME 113
        menu TXT_NAME UP
        menu TXT_NAME OFF        # a disabled item: nothing happens
        click INV_MAIN Salva
        sql SELECT TS01_NAME, TS01_AMOUNT, TS01_DUE, TS01_FLAG, TS01_KIND FROM TS01_ITEMS WHERE TS01_ID = 1
        sql UPDATE TS01_ITEMS SET TS01_FLAG = 1 WHERE TS01_ID > 1
        get LBL_EVENTS
    )");
    EXPECT_EQ(
        joined(out),
        joined({
            R"({"cmd":"field","column":"TS01_NAME","value":"Alfa"})",
            R"({"cmd":"field","column":"TS01_NAME","value":"Zeta"})",
            R"({"cmd":"get","control":"TXT_AMOUNT","text":"7,50","value":"7.50","enabled":true,"visible":true,"valid":true})",
            R"({"cmd":"get","control":"TXT_DUE","text":"01/03/2024","value":"2024-03-01","enabled":true,"visible":true,"valid":true})",
            R"({"cmd":"get","control":"CBO_KIND","text":"Mav","value":"R3","enabled":true,"visible":true,"valid":true})",
            R"({"cmd":"sql","columns":["TS01_NAME","TS01_AMOUNT","TS01_DUE","TS01_FLAG","TS01_KIND"],"rows":[["ZETA","7.50","2024-03-01",0,"R3"]]})",
            R"({"cmd":"sql","rowsAffected":2})",
            R"({"cmd":"get","control":"LBL_EVENTS","text":"KeyDown 90/0; KeyDown 69/0; KeyDown 84/0; KeyDown 65/0; KeyDown 9/0; Click; ChangeRow; KeyDown 113/0; Menu UP","enabled":true,"visible":true})",
        }));
    EXPECT_TRUE(log->messages().isEmpty());
}

TEST_F(DriverOnAForm, TypesAnyTextAsAKeyboardAndAnInputMethodDeliverItAndPrintsItAsUtf8) {
    // Accented letters of an Italian keyboard, the euro sign, Greek, Chinese and a character
    // beyond the basic plane; saved and read back through the control, the row and the file.
    // 19 UTF-16 units: the column takes 20.
    const QString typed = QStringLiteral(u"Città è € Ελλάς 東𝄞");
    QByteArrayList bytes;
    ScenarioRunner runner({nullptr, connection, log, form.get(), nullptr, nullptr, nullptr},
                          [&](const QByteArray& line) { bytes << line; });
    const QString scenario = QStringLiteral(
                                 u"type TXT_NAME \"%1\"\nleave TXT_NAME\nget TXT_NAME\n"
                                 u"field TS01_NAME\nclick INV_MAIN Salva\n"
                                 u"sql SELECT TS01_NAME FROM TS01_ITEMS WHERE TS01_ID = 1\n"
                                 u"get LBL_EVENTS\n")
                                 .arg(typed);
    ASSERT_EQ(runner.run(ScenarioParser::parse(scenario)), ScenarioRunner::kOk)
        << runner.error().toStdString();
    const QByteArray text = typed.toUtf8();
    ASSERT_EQ(bytes.size(), 4) << bytes.join('\n').toStdString();
    EXPECT_EQ(bytes[0].toStdString(),
              (R"({"cmd":"get","control":"TXT_NAME","text":")" + text + R"(","value":")" + text +
               R"(","enabled":true,"visible":true,"valid":true})")
                  .toStdString());
    EXPECT_EQ(bytes[1].toStdString(),
              (R"({"cmd":"field","column":"TS01_NAME","value":")" + text + "\"}").toStdString());
    EXPECT_EQ(bytes[2].toStdString(),
              (R"({"cmd":"sql","columns":["TS01_NAME"],"rows":[[")" + text + "\"]]}").toStdString());
    // The keyboard's keys raise KeyDown (à and è have no Windows code here); the input method's
    // commits do not.
    EXPECT_EQ(
        bytes[3].toStdString(),
        R"({"cmd":"get","control":"LBL_EVENTS","text":"KeyDown 67/0; KeyDown 73/0; KeyDown 84/0; )"
        R"(KeyDown 84/0; KeyDown 0/0; KeyDown 32/0; KeyDown 0/0; KeyDown 32/0; KeyDown 32/0; KeyDown 32/0; )"
        R"(KeyDown 9/0","enabled":true,"visible":true})");
    for (const QByteArray& line : bytes) {
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString decoded = utf8(line);
        EXPECT_FALSE(utf8.hasError()) << line.toStdString();
        EXPECT_FALSE(line.contains('?')) << line.toStdString();
    }
    // A half of a pair alone is no character: escaped, never written as bytes that are not UTF-8.
    EXPECT_EQ(JsonLine::string(QString(QChar(0xD834)) + u'x'), R"("\ud834x")");
    EXPECT_EQ(JsonLine::string(QStringLiteral(u"€\u0001")), QByteArray("\"\xE2\x82\xAC\\u0001\""));
}

TEST_F(DriverOnAForm, AFieldThatRefusesToBeLeftKeepsThePersonThereAndStopsTheClick) {
    const QStringList out = run(R"(
        type TXT_NAME NO
        leave TXT_NAME
        type TXT_AMOUNT 5
        click INV_MAIN Salva
        type TXT_NAME Nuovo
        type TXT_AMOUNT -
        leave TXT_AMOUNT
        get TXT_AMOUNT
        messages
        get INV_MAIN
    )");
    ASSERT_EQ(out.size(), 5);
    EXPECT_EQ(out[0].toStdString(),
              R"({"cmd":"type","control":"TXT_AMOUNT","entered":false,"focus":"TXT_NAME"})");
    EXPECT_EQ(
        out[1].toStdString(),
        R"({"cmd":"click","control":"INV_MAIN","button":"Salva","pressed":false,"reason":"focus kept by the field being left"})");
    EXPECT_EQ(
        out[2].toStdString(),
        R"({"cmd":"get","control":"TXT_AMOUNT","text":"-","value":null,"enabled":true,"visible":true,"valid":false})");
    EXPECT_TRUE(
        out[3].startsWith(R"({"cmd":"messages","messages":[{"title":"Controllo dati","flags":48,"text":)"))
        << out[3].toStdString();
    EXPECT_TRUE(out[3].endsWith(R"("answer":1,"scripted":false}]})")) << out[3].toStdString();
    EXPECT_TRUE(out[4].startsWith(R"({"cmd":"get","control":"INV_MAIN","buttons":{"Primo":true,)"))
        << out[4].toStdString();
}

TEST_F(DriverOnAForm, QueuedAnswersGoToTheNextMessageBoxesInTurn) {
    const QStringList out = run(R"(
        answer 7 6
        type TXT_NAME Rho
        click INV_MAIN Successivo    # pending change: No undoes it and moves on
        field TS01_NAME
        type TXT_NAME Sigma
        click INV_MAIN Successivo    # Yes saves it first
        sql SELECT TS01_NAME FROM TS01_ITEMS WHERE TS01_ID IN (1, 2) ORDER BY TS01_ID
        messages
    )");
    const QString question = QStringLiteral(
        R"({"title":"Richiesta conferma","flags":35,"text":"I dati sono stati modificati.\r\nSi desidera salvare le modifiche?","answer":%1,"scripted":true})");
    EXPECT_EQ(
        joined(out),
        joined({
            R"({"cmd":"field","column":"TS01_NAME","value":"Beta"})",
            R"({"cmd":"sql","columns":["TS01_NAME"],"rows":[["Alfa"],["Sigma"]]})",
            QStringLiteral(R"({"cmd":"messages","messages":[%1,%2]})").arg(question.arg(7), question.arg(6)),
        }));
}

TEST_F(DriverOnAForm, WhatIsNotThereStopsTheScenarioWithTheLineAndModalFormsAreLeft) {
    const auto stops = [&](const char* scenario, int code) {
        const QStringList out = run(scenario, code);
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << scenario;
        return error.toStdString();
    };
    EXPECT_EQ(stops("get TXT_NOPE", 2), "line 1: unknown control \"TXT_NOPE\" in FRMTEST: get TXT_NOPE");
    EXPECT_EQ(stops("in FRMNONE", 2), "line 1: no open form \"FRMNONE\": in FRMNONE");
    EXPECT_EQ(stops("type GRD_ITEMS x", 2), "line 1: GRD_ITEMS is a Grid, not an edit box: type GRD_ITEMS x");
    EXPECT_EQ(stops("select CBO_KIND ZZ", 2),
              "line 1: CBO_KIND has no item with code \"ZZ\": select CBO_KIND ZZ");
    EXPECT_EQ(stops("click INV_MAIN Vola", 2),
              "line 1: INV_MAIN has no button \"Vola\": click INV_MAIN Vola");
    EXPECT_EQ(stops("show", 2), "line 1: no module to show: show");
    // A control character no key types: refused before anything is typed.
    EXPECT_EQ(
        stops("type TXT_NAME \"ab\fc\"", 2),
        "line 1: the text holds the control character U+000C, which no key types: type TXT_NAME \"ab\fc\"");
    EXPECT_EQ(form->findChild<EditBox*>(QStringLiteral("TXT_NAME"))->Text().toStdString(), "Alfa");
    EXPECT_EQ(stops("tab 1\ntype TXT_NAME x", 2),
              "line 2: TXT_NAME cannot be entered: it is on a tab not in view: type TXT_NAME x");
    EXPECT_EQ(stops("tab 1\nrow GRD_ITEMS 4", 2), "line 2: GRD_ITEMS has 3 rows: row GRD_ITEMS 4");
    // Inside the child form the parent's controls are not at hand; the child is closed on the way out.
    EXPECT_EQ(stops("tab 1\ndblclick GRD_ITEMS\nget TXT_NAME", 2),
              "line 3: unknown control \"TXT_NAME\" in FRMCHILD: get TXT_NAME");
    EXPECT_EQ(
        stops("sql SELECT NOPE FROM NOWHERE", 1).rfind("line 1: Il database ha rifiutato l'operazione.", 0),
        0u);
}

}  // namespace

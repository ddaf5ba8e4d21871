#include "Decimal.h"
#include "JsonLine.h"
#include "ScenarioError.h"
#include "ScenarioParser.h"

#include <gtest/gtest.h>

#include <QDate>

namespace {

QStringList words(const char* line) {
    const auto c = ScenarioParser::parseLine(QString::fromUtf8(line), 1);
    if (!c) return {QStringLiteral("<nothing>")};
    return QStringList{c->name} + c->args;
}

std::string refusal(const char* line) {
    try {
        ScenarioParser::parseLine(QString::fromUtf8(line), 1);
    } catch (const ScenarioError& e) {
        return e.message().toStdString();
    }
    return "accepted";
}

TEST(ScenarioParser, QuotesKeepBlanksAndTakeEscapedQuotes) {
    EXPECT_EQ(words(R"(type TXT_NOTE "due  parole")"), (QStringList{"type", "TXT_NOTE", "due  parole"}));
    EXPECT_EQ(words(R"(type TXT_NOTE "a \"b\" c\\d\n")"),
              (QStringList{"type", "TXT_NOTE", "a \"b\" c\\d\n"}));
    EXPECT_EQ(words(R"(type TXT_NOTE "")"), (QStringList{"type", "TXT_NOTE", ""}));
    EXPECT_EQ(words("  click\tINV_MAIN   Salva  "), (QStringList{"click", "INV_MAIN", "Salva"}));
    EXPECT_EQ(words("set Caption \"Perché è così\""), (QStringList{"set", "Caption", "Perché è così"}));
}

TEST(ScenarioParser, CommentsAndBlankLinesAreSkippedButAQuotedHashIsText) {
    EXPECT_EQ(words("# the whole line"), QStringList{"<nothing>"});
    EXPECT_EQ(words("   "), QStringList{"<nothing>"});
    EXPECT_EQ(words("focus TXT_NAME # why"), (QStringList{"focus", "TXT_NAME"}));
    EXPECT_EQ(words(R"(type TXT_NAME "#1")"), (QStringList{"type", "TXT_NAME", "#1"}));
    EXPECT_EQ(words("type TXT_NAME a#1"), (QStringList{"type", "TXT_NAME", "a#1"}));
}

TEST(ScenarioParser, SqlTakesTheRestOfTheLineAsItStands) {
    EXPECT_EQ(words(R"(sql SELECT '  a  "#' FROM T WHERE X = 'it''s')"),
              (QStringList{"sql", R"(SELECT '  a  "#' FROM T WHERE X = 'it''s')"}));
    EXPECT_EQ(words(R"(sql "SELECT 1")"), (QStringList{"sql", "SELECT 1"}));
    EXPECT_EQ(words(R"(sql "A" = 1)"), (QStringList{"sql", R"("A" = 1)"}));
    EXPECT_EQ(refusal("sql   "), "sql takes the statement to run");
    EXPECT_EQ(refusal("sqlite x"), "unknown command \"sqlite\"");
}

TEST(ScenarioParser, RefusesMalformedLinesWithTheReason) {
    EXPECT_EQ(refusal(R"(type TXT "abc)"), "unterminated quote");
    EXPECT_EQ(refusal(R"(type TXT a"b)"), "a quote inside an unquoted argument");
    EXPECT_EQ(refusal(R"(type TXT "a"b)"), "a closing quote must be followed by a blank");
    EXPECT_EQ(refusal("jump TXT"), "unknown command \"jump\"");
    EXPECT_EQ(refusal("focus"), "focus takes 1 argument(s), 0 given");
    EXPECT_EQ(refusal("in A B"), "in takes 0 to 1 argument(s), 2 given");
    EXPECT_EQ(refusal("answer"), "answer takes at least 1 argument(s), 0 given");
    EXPECT_EQ(refusal("answer 6 x"), "answer: \"x\" is not a number from 1 to 7");
    EXPECT_EQ(refusal("answer 9"), "answer: \"9\" is not a number from 1 to 7");
    EXPECT_EQ(refusal("check CHK 2"), "check: \"2\" is not a number from 0 to 1");
    EXPECT_EQ(refusal("row GRD 0"), "row: \"0\" is not a number from 1 up");
    EXPECT_EQ(refusal("key TXT 13 8"), "key: \"8\" is not a number from 0 to 7") << "shift is checked too";
    EXPECT_EQ(refusal("answer 6 7 2 1"), "accepted");
    // The search list's row is a number; the text typed in its filter is any text.
    EXPECT_EQ(refusal("lookup TXT x"), "lookup: \"x\" is not a number from 1 up");
    EXPECT_EQ(refusal("lookup TXT 2 \"s.r.l 100%\""), "accepted");
    EXPECT_EQ(refusal("lookup TXT 2 a b"), "lookup takes 2 to 3 argument(s), 4 given");
}

TEST(ScenarioParser, AScenarioNamesItsFirstBadLine) {
    const auto commands = ScenarioParser::parse(QStringLiteral("# opening\r\nshow\r\n\r\nget TXT_A\n"));
    ASSERT_EQ(commands.size(), 2);
    EXPECT_EQ(commands[1].line, 4);
    EXPECT_EQ(commands[1].text, "get TXT_A");
    try {
        ScenarioParser::parse(QStringLiteral("show\n\n  tab x  \nget A B"));
        FAIL() << "accepted";
    } catch (const ScenarioError& e) {
        EXPECT_EQ(e.message(), "line 3: tab: \"x\" is not a number from 0 up: tab x");
    }
}

TEST(JsonLine, WritesValuesExactlyAndKeepsTheKeysInOrder) {
    const QVariantList values{QVariant(),         12,   QVariant::fromValue(Decimal::fromString("1234.50")),
                              QDate(2024, 2, 29), true, QStringLiteral("è \"x\"\n\t\x01")};
    EXPECT_EQ(
        JsonLine(QStringLiteral("get")).add(QStringLiteral("z"), 1).add(QStringLiteral("a"), values).toJson(),
        QByteArray(R"({"cmd":"get","z":1,"a":[null,12,"1234.50","2024-02-29",true,"è \"x\"\n\t\u0001"]})"));
    // A half of a pair alone is no character: escaped, never written as bytes that are not UTF-8.
    EXPECT_EQ(JsonLine::string(QString(QChar(0xD834)) + u'x'), R"("\ud834x")");
}

}  // namespace

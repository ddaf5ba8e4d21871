#include "ScenarioParser.h"

#include "ScenarioError.h"

#include <QHash>
#include <QRegularExpression>
#include <QStringList>
#include <algorithm>
#include <limits>

namespace {

constexpr int kNoLimit = std::numeric_limits<int>::max();

struct Range {
    int lowest = 0;
    int highest = kNoLimit;
};

// How many arguments a command takes, and which of them are whole numbers: from `firstNumber`
// on, argument i keeps to ranges[i] (the last range serves the rest), up to `lastNumber`.
struct Shape {
    int min;
    int max;
    int firstNumber = -1;
    QList<Range> ranges = {};
    int lastNumber = kNoLimit;
};

const QHash<QString, Shape>& shapes() {
    static const QHash<QString, Shape> table{
        {QStringLiteral("set"), {2, 2}},
        {QStringLiteral("show"), {0, 0}},
        {QStringLiteral("close"), {0, 0}},
        {QStringLiteral("answer"), {1, kNoLimit, 0, {{1, 7}}}},
        {QStringLiteral("focus"), {1, 1}},
        {QStringLiteral("type"), {2, 2}},
        {QStringLiteral("leave"), {1, 1}},
        {QStringLiteral("select"), {2, 2}},
        {QStringLiteral("check"), {2, 2, 1, {{0, 1}}}},
        {QStringLiteral("key"), {2, 3, 1, {{0, 255}, {0, 7}}}},
        {QStringLiteral("menu"), {2, 2}},
        {QStringLiteral("click"), {2, 2}},
        {QStringLiteral("tab"), {1, 1, 0, {{0}}}},
        {QStringLiteral("row"), {2, 2, 1, {{1}}}},
        {QStringLiteral("dblclick"), {1, 1}},
        {QStringLiteral("lookup"), {2, 3, 1, {{1}}, 1}},
        {QStringLiteral("in"), {0, 1}},
        {QStringLiteral("get"), {1, 1}},
        {QStringLiteral("field"), {1, 1}},
        {QStringLiteral("messages"), {0, 0}},
        {QStringLiteral("grab"), {1, 1}},
        {QStringLiteral("navigator"), {1, 2}},
        {QStringLiteral("property"), {1, 1}},
        {QStringLiteral("focused"), {0, 0}},
        {QStringLiteral("script"), {1, 1}},
        {QStringLiteral("attach"), {1, 1}},
        {QStringLiteral("presenta"), {4, 4}},
        {QStringLiteral("ritira"), {1, 1}},
        {QStringLiteral("slipfile"), {2, 2}},
        {QStringLiteral("slips"), {0, 0}},
        {QStringLiteral("slipbills"), {1, 1}},
        {QStringLiteral("credit"), {2, 2}},
        {QStringLiteral("pay"), {2, kNoLimit}},
        {QStringLiteral("unpaid"), {7, 7, 4, {{0, 3}}, 4}},
        {QStringLiteral("sepafile"), {3, 3}},
        {QStringLiteral("statusreport"), {2, 3}},
    };
    return table;
}

}  // namespace

QStringList ScenarioParser::split(const QString& text) {
    QStringList words;
    int i = 0;
    const int n = int(text.size());
    while (i < n) {
        if (text[i].isSpace()) {
            ++i;
            continue;
        }
        if (text[i] == u'#') break;
        QString word;
        if (text[i] == u'"') {
            ++i;
            bool closed = false;
            while (i < n) {
                const QChar c = text[i++];
                if (c == u'"') {
                    closed = true;
                    break;
                }
                if (c == u'\\' && i < n && (text[i] == u'"' || text[i] == u'\\')) {
                    word += text[i++];
                    continue;
                }
                // A line break in a quoted text (a multi-line note).
                if (c == u'\\' && i < n && text[i] == u'n') {
                    word += u'\n';
                    ++i;
                    continue;
                }
                word += c;
            }
            if (!closed) throw ScenarioError(QStringLiteral("unterminated quote"));
            if (i < n && !text[i].isSpace())
                throw ScenarioError(QStringLiteral("a closing quote must be followed by a blank"));
        } else {
            while (i < n && !text[i].isSpace()) {
                if (text[i] == u'"')
                    throw ScenarioError(QStringLiteral("a quote inside an unquoted argument"));
                word += text[i++];
            }
        }
        words << word;
    }
    return words;
}

void ScenarioParser::check(const ScenarioCommand& command) {
    const auto it = shapes().constFind(command.name);
    if (it == shapes().constEnd())
        throw ScenarioError(QStringLiteral("unknown command \"%1\"").arg(command.name));
    const Shape& shape = it.value();
    const int count = int(command.args.size());
    if (count < shape.min || count > shape.max) {
        const QString wanted = shape.min == shape.max ? QString::number(shape.min)
                               : shape.max == kNoLimit
                                   ? QStringLiteral("at least %1").arg(shape.min)
                                   : QStringLiteral("%1 to %2").arg(shape.min).arg(shape.max);
        throw ScenarioError(
            QStringLiteral("%1 takes %2 argument(s), %3 given").arg(command.name, wanted).arg(count));
    }
    if (shape.firstNumber < 0) return;
    for (int i = shape.firstNumber; i < count && i <= shape.lastNumber; ++i) {
        const Range& range = shape.ranges[std::min(i - shape.firstNumber, int(shape.ranges.size()) - 1)];
        bool ok = false;
        const int value = command.args[i].toInt(&ok);
        if (!ok || value < range.lowest || value > range.highest)
            throw ScenarioError(QStringLiteral("%1: \"%2\" is not a number from %3%4")
                                    .arg(command.name, command.args[i])
                                    .arg(range.lowest)
                                    .arg(range.highest == kNoLimit
                                             ? QStringLiteral(" up")
                                             : QStringLiteral(" to %1").arg(range.highest)));
    }
}

std::optional<ScenarioCommand> ScenarioParser::parseLine(const QString& text, int line) {
    ScenarioCommand command;
    command.line = line;
    command.text = text.trimmed();

    static const QRegularExpression sqlLine(QStringLiteral("^\\s*sql(\\s+(.*))?$"),
                                            QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpressionMatch sql = sqlLine.match(text);
    if (sql.hasMatch()) {
        command.name = QStringLiteral("sql");
        QString statement = sql.captured(2).trimmed();
        // Given as one quoted argument: the quotes go.
        if (statement.startsWith(u'"')) {
            const QStringList words = split(statement);
            if (words.size() == 1) statement = words.front();
        }
        if (statement.isEmpty()) throw ScenarioError(QStringLiteral("sql takes the statement to run"));
        command.args << statement;
        return command;
    }

    QStringList words = split(text);
    if (words.isEmpty()) return std::nullopt;
    command.name = words.takeFirst();
    command.args = words;
    check(command);
    return command;
}

QList<ScenarioCommand> ScenarioParser::parse(const QString& scenario) {
    QList<ScenarioCommand> commands;
    const QStringList lines = scenario.split(u'\n');
    for (int i = 0; i < lines.size(); ++i) {
        QString text = lines[i];
        if (text.endsWith(u'\r')) text.chop(1);
        try {
            if (auto command = parseLine(text, i + 1)) commands << *command;
        } catch (const ScenarioError& e) {
            throw ScenarioError(
                QStringLiteral("line %1: %2: %3").arg(i + 1).arg(e.message(), text.trimmed()));
        }
    }
    return commands;
}

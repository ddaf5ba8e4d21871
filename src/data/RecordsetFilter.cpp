#include "RecordsetFilter.h"

#include "SuiteError.h"
#include "Value.h"

#include <QRegularExpression>

struct RecordsetFilter::Node {
    enum Kind { And, Or, Condition } kind = Condition;
    std::vector<std::unique_ptr<Node>> children;
    enum Op { Eq, Ne, Lt, Gt, Le, Ge, Like } op = Eq;
    int column = -1;
    QVariant value;
    QRegularExpression pattern;

    bool eval(const QVector<QVariant>& row) const {
        switch (kind) {
            case And:
                for (const auto& c : children)
                    if (!c->eval(row)) return false;
                return true;
            case Or:
                for (const auto& c : children)
                    if (c->eval(row)) return true;
                return false;
            case Condition:
                break;
        }
        const QVariant& v = row[column];
        if (op == Like) return !Value::isNull(v) && pattern.match(Value::toText(v)).hasMatch();
        if (Value::isNull(value) || Value::isNull(v)) {
            // "= NULL" and "<> NULL" test for Null, as the filter syntax allows.
            const bool bothNull = Value::isNull(value) && Value::isNull(v);
            if (op == Eq) return bothNull;
            if (op == Ne) return !bothNull;
            return false;
        }
        const int c = Value::compare(v, value);
        switch (op) {
            case Eq:
                return c == 0;
            case Ne:
                return c != 0;
            case Lt:
                return c < 0;
            case Gt:
                return c > 0;
            case Le:
                return c <= 0;
            case Ge:
                return c >= 0;
            case Like:
                break;
        }
        return false;
    }
};

namespace {

struct Token {
    enum Kind { Word, Number, Text, Date, Op, Open, Close, End } kind = End;
    QString text;
};

class Parser {
public:
    Parser(const QString& text, const std::vector<ResultColumn>& columns, const QHash<QString, int>& index)
        : text_(text), columns_(columns), index_(index) {
        advance();
    }

    std::unique_ptr<RecordsetFilter::Node> parseAll() {
        auto node = parseOr();
        if (tok_.kind != Token::End) fail(QStringLiteral("testo inatteso '%1'").arg(tok_.text));
        return node;
    }

private:
    using Node = RecordsetFilter::Node;

    [[noreturn]] void fail(const QString& why) const {
        throw SuiteError(SuiteError::kOperationNotAllowed, QStringLiteral("Recordset.Filter"),
                         QStringLiteral("Filtro non valido (%1): %2").arg(why, text_));
    }

    bool isKeyword(const char* word) const {
        return tok_.kind == Token::Word && tok_.text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
    }

    std::unique_ptr<Node> parseOr() {
        auto first = parseAnd();
        if (!isKeyword("OR")) return first;
        auto node = std::make_unique<Node>();
        node->kind = Node::Or;
        node->children.push_back(std::move(first));
        while (isKeyword("OR")) {
            advance();
            node->children.push_back(parseAnd());
        }
        return node;
    }

    std::unique_ptr<Node> parseAnd() {
        auto first = parseFactor();
        if (!isKeyword("AND")) return first;
        auto node = std::make_unique<Node>();
        node->kind = Node::And;
        node->children.push_back(std::move(first));
        while (isKeyword("AND")) {
            advance();
            node->children.push_back(parseFactor());
        }
        return node;
    }

    std::unique_ptr<Node> parseFactor() {
        if (tok_.kind == Token::Open) {
            advance();
            auto inner = parseOr();
            if (tok_.kind != Token::Close) fail(QStringLiteral("manca ')'"));
            advance();
            return inner;
        }
        if (tok_.kind != Token::Word) fail(QStringLiteral("atteso il nome di un campo"));
        QString name = tok_.text;
        if (const int dot = name.lastIndexOf(QLatin1Char('.')); dot >= 0) name = name.mid(dot + 1);
        const int column = index_.value(name.toUpper(), -1);
        if (column < 0) fail(QStringLiteral("campo '%1' sconosciuto").arg(tok_.text));
        advance();

        auto node = std::make_unique<Node>();
        node->column = column;
        if (isKeyword("LIKE")) {
            node->op = Node::Like;
        } else if (tok_.kind == Token::Op) {
            static const QHash<QString, Node::Op> ops = {{"=", Node::Eq}, {"<>", Node::Ne}, {"!=", Node::Ne},
                                                         {"<", Node::Lt}, {">", Node::Gt},  {"<=", Node::Le},
                                                         {">=", Node::Ge}};
            node->op = ops.value(tok_.text, Node::Eq);
        } else {
            fail(QStringLiteral("atteso un operatore dopo '%1'").arg(name));
        }
        advance();

        const ResultColumn& col = columns_[size_t(column)];
        QVariant literal;
        switch (tok_.kind) {
            case Token::Number:
            case Token::Text:
            case Token::Date:
                literal = tok_.text;
                break;
            case Token::Word:
                if (!isKeyword("NULL")) fail(QStringLiteral("valore non valido '%1'").arg(tok_.text));
                break;
            default:
                fail(QStringLiteral("manca il valore per '%1'").arg(name));
        }
        advance();
        if (node->op == Node::Like) {
            QString rx = QRegularExpression::escape(literal.toString());
            rx.replace(QStringLiteral("\\*"), QStringLiteral(".*"))
                .replace(QStringLiteral("%"), QStringLiteral(".*"));
            node->pattern = QRegularExpression(QStringLiteral("^") + rx + QStringLiteral("$"),
                                               QRegularExpression::CaseInsensitiveOption);
        } else {
            try {
                node->value = Value::coerce(literal, col.type, -1);
            } catch (const SuiteError&) {
                fail(QStringLiteral("'%1' non è un valore per il campo %2").arg(literal.toString(), name));
            }
        }
        return node;
    }

    void advance() {
        const int n = text_.size();
        while (at_ < n && text_[at_].isSpace()) ++at_;
        tok_ = Token{};
        if (at_ >= n) return;
        const QChar c = text_[at_];
        if (c == QLatin1Char('(')) {
            tok_ = {Token::Open, QStringLiteral("(")};
            ++at_;
        } else if (c == QLatin1Char(')')) {
            tok_ = {Token::Close, QStringLiteral(")")};
            ++at_;
        } else if (c == QLatin1Char('\'')) {
            QString value;
            int i = at_ + 1;
            for (;; ++i) {
                if (i >= n) fail(QStringLiteral("apice non chiuso"));
                if (text_[i] == QLatin1Char('\'')) {
                    if (i + 1 < n && text_[i + 1] == QLatin1Char('\'')) {
                        value += QLatin1Char('\'');
                        ++i;
                        continue;
                    }
                    break;
                }
                value += text_[i];
            }
            tok_ = {Token::Text, value};
            at_ = i + 1;
        } else if (c == QLatin1Char('#')) {
            const int close = text_.indexOf(QLatin1Char('#'), at_ + 1);
            if (close < 0) fail(QStringLiteral("data non chiusa da '#'"));
            tok_ = {Token::Date, text_.mid(at_ + 1, close - at_ - 1).trimmed()};
            at_ = close + 1;
        } else if (QStringLiteral("=<>!").contains(c)) {
            int len = 1;
            if (at_ + 1 < n && QStringLiteral("=>").contains(text_[at_ + 1]) && c != QLatin1Char('='))
                len = 2;
            tok_ = {Token::Op, text_.mid(at_, len)};
            at_ += len;
        } else if (c.isDigit() || c == QLatin1Char('-') || c == QLatin1Char('+') || c == QLatin1Char('.')) {
            int i = at_ + 1;
            while (i < n && (text_[i].isDigit() || text_[i] == QLatin1Char('.'))) ++i;
            tok_ = {Token::Number, text_.mid(at_, i - at_)};
            at_ = i;
        } else if (c.isLetter() || c == QLatin1Char('_') || c == QLatin1Char('[')) {
            int i = at_;
            while (i < n && (text_[i].isLetterOrNumber() || text_[i] == QLatin1Char('_') ||
                             text_[i] == QLatin1Char('.') || text_[i] == QLatin1Char('[') ||
                             text_[i] == QLatin1Char(']')))
                ++i;
            QString word = text_.mid(at_, i - at_);
            word.remove(QLatin1Char('[')).remove(QLatin1Char(']'));
            tok_ = {Token::Word, word};
            at_ = i;
        } else {
            fail(QStringLiteral("carattere inatteso '%1'").arg(c));
        }
    }

    const QString& text_;
    const std::vector<ResultColumn>& columns_;
    const QHash<QString, int>& index_;
    int at_ = 0;
    Token tok_;
};

}  // namespace

RecordsetFilter::RecordsetFilter() = default;
RecordsetFilter::~RecordsetFilter() = default;
RecordsetFilter::RecordsetFilter(RecordsetFilter&&) noexcept = default;
RecordsetFilter& RecordsetFilter::operator=(RecordsetFilter&&) noexcept = default;

RecordsetFilter RecordsetFilter::parse(const QString& text, const std::vector<ResultColumn>& columns,
                                       const QHash<QString, int>& index) {
    RecordsetFilter f;
    if (text.trimmed().isEmpty()) return f;
    f.root_ = Parser(text, columns, index).parseAll();
    return f;
}

bool RecordsetFilter::matches(const QVector<QVariant>& values) const {
    return !root_ || root_->eval(values);
}

#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

// Reading SQL text the way the engine does: what is inside a quoted literal is data, never code.
// The dialects transform only the code around the literals.
namespace SqlText {

struct Piece {
    QString text;
    bool literal = false;  // a '...' literal, quotes included, doubled quotes kept
};

QList<Piece> scan(const QString& sql);
QString join(const QList<Piece>& pieces);

// The statements of a batch, split at the semicolons outside literals; blank ones dropped.
QStringList splitStatements(const QString& sql);

// Removes the table hints WITH (NOLOCK) / WITH(NOLOCK), in any case and spacing.
QString removeTableHints(const QString& sql);

// "IF ( condition ) BEGIN body END": the condition without its outer parentheses and the body.
struct Conditional {
    QString condition;
    QString body;
};
std::optional<Conditional> parseConditional(const QString& statement);

// 'text' with every quote doubled: the only way a text value enters SQL as a literal.
QString quote(const QString& text);

// Why `fragment` cannot stand as one part of a single statement (a selection or an order a
// caller hands over): a statement separator, a comment, a literal left open or a parenthesis
// closed that it did not open. Nullopt when it can. Square brackets count as parentheses.
std::optional<QString> fragmentProblem(const QString& fragment);

// Every call of the function `name` (any case) outside literals replaced by what `rewrite`
// answers for its arguments, as written and already rewritten themselves. A call left open is
// kept as it is; the engine will report it.
QString rewriteCalls(const QString& sql, const QString& name,
                     const std::function<QString(const QStringList& arguments)>& rewrite);

// True when the statement is a query that returns rows (SELECT, or WITH ... SELECT).
bool returnsRows(const QString& statement);

}  // namespace SqlText

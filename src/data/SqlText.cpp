#include "SqlText.h"

#include <QRegularExpression>
#include <algorithm>

namespace SqlText {

QList<Piece> scan(const QString& sql) {
    QList<Piece> out;
    const qsizetype n = sql.size();
    qsizetype i = 0;
    while (i < n) {
        const qsizetype open = sql.indexOf(QLatin1Char('\''), i);
        if (open < 0) {
            out.append({sql.mid(i), false});
            break;
        }
        if (open > i) out.append({sql.mid(i, open - i), false});
        qsizetype j = open + 1;
        while (j < n) {
            if (sql[j] == QLatin1Char('\'')) {
                if (j + 1 < n && sql[j + 1] == QLatin1Char('\'')) {
                    j += 2;
                    continue;
                }
                break;
            }
            ++j;
        }
        // An unterminated literal runs to the end; the engine will report it.
        const qsizetype end = j < n ? j + 1 : n;
        out.append({sql.mid(open, end - open), true});
        i = end;
    }
    return out;
}

QString join(const QList<Piece>& pieces) {
    QString out;
    for (const Piece& p : pieces) out += p.text;
    return out;
}

QStringList splitStatements(const QString& sql) {
    QStringList out;
    if (!sql.contains(QLatin1Char(';'))) {
        if (!sql.trimmed().isEmpty()) out.append(sql.trimmed());
        return out;
    }
    QString current;
    for (const Piece& p : scan(sql)) {
        if (p.literal) {
            current += p.text;
            continue;
        }
        const QStringList parts = p.text.split(QLatin1Char(';'));
        for (int k = 0; k < parts.size(); ++k) {
            if (k > 0) {
                if (!current.trimmed().isEmpty()) out.append(current.trimmed());
                current.clear();
            }
            current += parts[k];
        }
    }
    if (!current.trimmed().isEmpty()) out.append(current.trimmed());
    return out;
}

QString removeTableHints(const QString& sql) {
    static const QRegularExpression hint(QStringLiteral("\\bWITH\\s*\\(\\s*NOLOCK\\s*\\)"),
                                         QRegularExpression::CaseInsensitiveOption);
    if (!sql.contains(QStringLiteral("NOLOCK"), Qt::CaseInsensitive)) return sql;
    QList<Piece> pieces = scan(sql);
    for (Piece& p : pieces)
        if (!p.literal) p.text.replace(hint, QStringLiteral(" "));
    return join(pieces);
}

namespace {

// Index just past the parenthesis that closes the one at `open`, looking only at code.
int matchParenthesis(const QList<Piece>& pieces, int pieceIndex, int open, int& endPiece) {
    int depth = 0;
    for (int pi = pieceIndex; pi < pieces.size(); ++pi) {
        if (pieces[pi].literal) continue;
        const QString& t = pieces[pi].text;
        for (int k = (pi == pieceIndex ? open : 0); k < t.size(); ++k) {
            if (t[k] == QLatin1Char('(')) ++depth;
            if (t[k] == QLatin1Char(')') && --depth == 0) {
                endPiece = pi;
                return k + 1;
            }
        }
    }
    return -1;
}

}  // namespace

std::optional<Conditional> parseConditional(const QString& statement) {
    static const QRegularExpression head(QStringLiteral("^\\s*IF\\s*\\("),
                                         QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression block(
        QStringLiteral("^\\s*BEGIN\\b(.*)\\bEND\\s*$"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    if (!QStringView(statement).trimmed().startsWith(QLatin1String("IF"), Qt::CaseInsensitive))
        return std::nullopt;
    const QList<Piece> pieces = scan(statement);
    if (pieces.isEmpty() || pieces[0].literal) return std::nullopt;
    const auto m = head.match(pieces[0].text);
    if (!m.hasMatch()) return std::nullopt;
    const int open = m.capturedEnd() - 1;
    int endPiece = 0;
    const int close = matchParenthesis(pieces, 0, open, endPiece);
    if (close < 0) return std::nullopt;

    // Text of the condition (inside the outer parentheses) and of what follows it.
    QString condition;
    QString rest;
    for (int pi = 0; pi < pieces.size(); ++pi) {
        const QString& t = pieces[pi].text;
        if (pi < endPiece) {
            condition += pi == 0 ? t.mid(open + 1) : t;
        } else if (pi == endPiece) {
            condition += (pi == 0 ? t.mid(open + 1, close - open - 2) : t.left(close - 1));
            rest += t.mid(close);
        } else {
            rest += t;
        }
    }
    const auto b = block.match(rest);
    if (!b.hasMatch()) return std::nullopt;
    return Conditional{condition.trimmed(), b.captured(1).trimmed()};
}

std::optional<QString> fragmentProblem(const QString& fragment) {
    int depth = 0;
    for (const Piece& p : scan(fragment)) {
        if (p.literal) {
            if (p.text.size() < 2 || !p.text.endsWith(QLatin1Char('\'')) ||
                p.text.count(QLatin1Char('\'')) % 2 != 0)
                return QStringLiteral("un testo fra apici non è chiuso");
            continue;
        }
        const QString& code = p.text;
        for (int i = 0; i < code.size(); ++i) {
            const QChar c = code[i];
            const QChar next = i + 1 < code.size() ? code[i + 1] : QChar();
            if (c == QLatin1Char(';')) return QStringLiteral("contiene un separatore di istruzioni (;)");
            if ((c == QLatin1Char('-') && next == QLatin1Char('-')) ||
                (c == QLatin1Char('/') && next == QLatin1Char('*')))
                return QStringLiteral("contiene un commento");
            if (c == QLatin1Char('(') || c == QLatin1Char('[')) ++depth;
            if ((c == QLatin1Char(')') || c == QLatin1Char(']')) && --depth < 0)
                return QStringLiteral("chiude una parentesi che non ha aperto");
        }
    }
    if (depth != 0) return QStringLiteral("lascia una parentesi aperta");
    return std::nullopt;
}

QString quote(const QString& text) {
    QString out = text;
    out.replace(QLatin1Char('\''), QStringLiteral("''"));
    return QLatin1Char('\'') + out + QLatin1Char('\'');
}

namespace {

bool identifierChar(QChar c) {
    return c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('@') || c == QLatin1Char('#') ||
           c == QLatin1Char('.');
}

// Index of the first character after the literal that opens at `i`.
int pastLiteral(const QString& sql, int i) {
    for (int j = i + 1; j < sql.size(); ++j)
        if (sql[j] == QLatin1Char('\'')) {
            if (j + 1 < sql.size() && sql[j + 1] == QLatin1Char('\'')) {
                ++j;
                continue;
            }
            return j + 1;
        }
    return int(sql.size());
}

// The arguments of the call whose parenthesis opens at `open`, split at the commas of its own
// level; `end` is set past its closing parenthesis, or to -1 when it is never closed.
QStringList arguments(const QString& sql, int open, int& end) {
    QStringList out;
    int depth = 0;
    int start = open + 1;
    for (int i = open; i < sql.size();) {
        const QChar c = sql[i];
        if (c == QLatin1Char('\'')) {
            i = pastLiteral(sql, i);
            continue;
        }
        if (c == QLatin1Char('(')) ++depth;
        if (c == QLatin1Char(')') && --depth == 0) {
            out.append(sql.mid(start, i - start).trimmed());
            end = i + 1;
            return out;
        }
        if (c == QLatin1Char(',') && depth == 1) {
            out.append(sql.mid(start, i - start).trimmed());
            start = i + 1;
        }
        ++i;
    }
    end = -1;
    return out;
}

}  // namespace

QString rewriteCalls(const QString& sql, const QString& name,
                     const std::function<QString(const QStringList& arguments)>& rewrite) {
    if (!sql.contains(name, Qt::CaseInsensitive)) return sql;
    QString out;
    out.reserve(sql.size());
    int i = 0;
    while (i < sql.size()) {
        // Straight to the next literal or the next place the name could start.
        const qsizetype quoteAt = sql.indexOf(QLatin1Char('\''), i);
        const qsizetype nameAt = sql.indexOf(name, i, Qt::CaseInsensitive);
        const qsizetype next = quoteAt < 0 ? nameAt : nameAt < 0 ? quoteAt : std::min(quoteAt, nameAt);
        if (next < 0) {
            out += QStringView(sql).mid(i);
            break;
        }
        out += QStringView(sql).mid(i, next - i);
        i = int(next);
        if (sql[i] == QLatin1Char('\'')) {
            const int end = pastLiteral(sql, i);
            out += sql.mid(i, end - i);
            i = end;
            continue;
        }
        const bool starts = (i == 0 || !identifierChar(sql[i - 1])) &&
                            QStringView(sql).mid(i, name.size()).compare(name, Qt::CaseInsensitive) == 0;
        int open = i + int(name.size());
        while (starts && open < sql.size() && sql[open].isSpace()) ++open;
        int end = -1;
        QStringList args;
        if (starts && open < sql.size() && sql[open] == QLatin1Char('(')) args = arguments(sql, open, end);
        if (end < 0) {
            out += sql[i++];
            continue;
        }
        for (QString& a : args) a = rewriteCalls(a, name, rewrite);
        out += rewrite(args);
        i = end;
    }
    return out;
}

bool returnsRows(const QString& statement) {
    static const QRegularExpression select(QStringLiteral("^\\s*\\(*\\s*(SELECT|WITH)\\b"),
                                           QRegularExpression::CaseInsensitiveOption);
    return select.match(statement).hasMatch();
}

}  // namespace SqlText

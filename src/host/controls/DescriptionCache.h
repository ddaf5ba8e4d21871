#pragma once

#include <QElapsedTimer>
#include <QHash>
#include <QString>
#include <QVariantList>
#include <optional>

// The rows of code look-ups (a code's description and the columns beside it) read once for
// whoever shares the cache, the coded boxes of one form: showing another Bill with the same
// bank, section or payment kind asks the database nothing. Only rows found are kept, so a code
// missing now is looked for again. Everything kept is forgotten after kMaxAgeMs and when more than
// kMaxRows are kept: a description a colleague changed shows at most that late.
class DescriptionCache {
public:
    static constexpr qint64 kMaxAgeMs = 60 * 1000;
    static constexpr int kMaxRows = 1000;

    // The row kept for `query` on that database, if any.
    std::optional<QVariantList> find(const QString& connectionString, const QString& query);
    // Keeps `row` as the answer to `query`; an empty row (nothing found) forgets it.
    void keep(const QString& connectionString, const QString& query, const QVariantList& row);
    void clear();

private:
    static QString key(const QString& connectionString, const QString& query);

    QHash<QString, QVariantList> rows_;
    QElapsedTimer age_;  // since the first row kept
};

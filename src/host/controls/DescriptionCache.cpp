#include "DescriptionCache.h"

QString DescriptionCache::key(const QString& connectionString, const QString& query) {
    return connectionString + QLatin1Char('\n') + query;
}

std::optional<QVariantList> DescriptionCache::find(const QString& connectionString, const QString& query) {
    if (age_.isValid() && age_.hasExpired(kMaxAgeMs)) clear();
    const auto it = rows_.constFind(key(connectionString, query));
    if (it == rows_.constEnd()) return std::nullopt;
    return *it;
}

void DescriptionCache::keep(const QString& connectionString, const QString& query, const QVariantList& row) {
    if (row.isEmpty()) {
        rows_.remove(key(connectionString, query));
        return;
    }
    if (rows_.size() >= kMaxRows) clear();
    if (!age_.isValid()) age_.start();
    rows_.insert(key(connectionString, query), row);
}

void DescriptionCache::clear() {
    rows_.clear();
    age_.invalidate();
}

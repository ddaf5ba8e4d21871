#include "KeptStatements.h"

QSqlQuery* KeptStatements::find(const QString& sql) {
    for (auto it = kept_.begin(); it != kept_.end(); ++it) {
        if (it->first != sql) continue;
        kept_.splice(kept_.begin(), kept_, it);
        return &kept_.front().second;
    }
    return nullptr;
}

QSqlQuery& KeptStatements::keep(const QString& sql, QSqlQuery prepared) {
    if (int(kept_.size()) >= kCapacity) kept_.pop_back();
    kept_.emplace_front(sql, std::move(prepared));
    return kept_.front().second;
}

void KeptStatements::forgetAfterSchemaChange(qint64 schemaVersion) {
    if (schemaVersion != schemaVersion_) kept_.clear();
    schemaVersion_ = schemaVersion;
}

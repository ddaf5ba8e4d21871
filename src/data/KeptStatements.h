#pragma once

#include <QSqlQuery>
#include <QString>
#include <list>
#include <utility>

// Statements kept prepared on one connection, by their text, for reads a caller repeats (a
// selection's first page, read again after a deletion) and for the data layer's own statements
// bound anew for each row (the hold of a Bill): on an engine that prepares in the program,
// parsing a wide statement costs more than running it. The few used last are kept.
class KeptStatements {
public:
    static constexpr int kCapacity = 8;

    // The statement kept for `sql`, or nullptr.
    QSqlQuery* find(const QString& sql);
    // Keeps `prepared` for `sql`, letting go of the one used longest ago when full.
    QSqlQuery& keep(const QString& sql, QSqlQuery prepared);
    // Before the connection they were prepared on closes, and whenever what was checked as
    // they were prepared (the user's rights) may have changed.
    void clear() { kept_.clear(); }
    // Given the engine's count of changes to the schema before each use: after a change, the
    // kept statements go (the engine would prepare them again by itself, but the driver keeps
    // what it learnt of their columns).
    void forgetAfterSchemaChange(qint64 schemaVersion);
    bool empty() const { return kept_.empty(); }

private:
    std::list<std::pair<QString, QSqlQuery>> kept_;  // used last first
    qint64 schemaVersion_ = -1;
};

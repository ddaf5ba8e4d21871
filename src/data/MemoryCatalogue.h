#pragma once

#include "SchemaCatalogue.h"

#include <QHash>
#include <memory>
#include <utility>
#include <vector>

// A catalogue held in memory, filled by whoever defines the schema.
class MemoryCatalogue : public SchemaCatalogue {
public:
    MemoryCatalogue() = default;
    explicit MemoryCatalogue(const QList<TableDef>& tables);

    void add(TableDef table);

    QList<const TableDef*> tables() const override;
    const TableDef* table(const QString& name) const override;
    const TableDef* ownerOfColumn(const QString& column) const override;
    const ColumnDef* columnOf(const QString& column) const override;

private:
    std::vector<std::unique_ptr<TableDef>> tables_;
    QHash<QString, const TableDef*> byName_;
    // Each result column of every query is looked up here: its owner and definition at once.
    QHash<QString, std::pair<const TableDef*, const ColumnDef*>> byColumn_;
};

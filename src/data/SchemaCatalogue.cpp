#include "SchemaCatalogue.h"
#include "MemoryCatalogue.h"

const ColumnDef* TableDef::column(const QString& name) const {
    for (const ColumnDef& c : columns)
        if (c.name.compare(name, Qt::CaseInsensitive) == 0) return &c;
    return nullptr;
}

MemoryCatalogue::MemoryCatalogue(const QList<TableDef>& tables) {
    for (const TableDef& t : tables) add(t);
}

void MemoryCatalogue::add(TableDef table) {
    tables_.push_back(std::make_unique<TableDef>(std::move(table)));
    const TableDef* t = tables_.back().get();
    byName_.insert(t->name.toUpper(), t);
    for (const ColumnDef& c : t->columns) {
        const QString key = c.name.toUpper();
        const TableDef* existing = byColumn_.value(key).first;
        // A table wins over a view that repeats its column.
        if (!existing || (existing->isView && !t->isView)) byColumn_.insert(key, {t, &c});
    }
}

QList<const TableDef*> MemoryCatalogue::tables() const {
    QList<const TableDef*> out;
    for (const auto& t : tables_) out.append(t.get());
    return out;
}

const TableDef* MemoryCatalogue::table(const QString& name) const {
    return byName_.value(name.toUpper());
}

const TableDef* MemoryCatalogue::ownerOfColumn(const QString& column) const {
    return byColumn_.value(column.toUpper()).first;
}

const ColumnDef* MemoryCatalogue::columnOf(const QString& column) const {
    return byColumn_.value(column.toUpper()).second;
}

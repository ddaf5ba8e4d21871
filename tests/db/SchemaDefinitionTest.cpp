#include "CodeLists.h"
#include "Schema.h"

#include <gtest/gtest.h>
#include <QSet>

namespace {

QString prefixOf(const QString& table) {
    return table.left(table.indexOf(QLatin1Char('_')) + 1);
}

}  // namespace

// The data layer finds a column's table by its name: each column must carry its table's prefix
// and no name may be used twice, or a batch update would write to the wrong table.
TEST(SchemaDefinition, ColumnsCarryTheirTablePrefixAndAreUnique) {
    QSet<QString> seen, tables;
    for (const TableDef& t : Schema::all()) {
        EXPECT_FALSE(tables.contains(t.name)) << t.name.toStdString();
        tables.insert(t.name);
        if (t.isView) {
            EXPECT_FALSE(t.viewSql.isEmpty());
            continue;
        }
        for (const ColumnDef& c : t.columns) {
            EXPECT_TRUE(c.name.startsWith(prefixOf(t.name))) << c.name.toStdString();
            EXPECT_FALSE(seen.contains(c.name)) << "colonna ripetuta " << c.name.toStdString();
            seen.insert(c.name);
            if (c.type == DataType::Text) {
                EXPECT_GT(c.size, 0) << c.name.toStdString();
            }
            if (c.type == DataType::Decimal) {
                EXPECT_GT(c.precision, c.scale) << c.name.toStdString();
            }
        }
        ASSERT_FALSE(t.primaryKey.isEmpty()) << t.name.toStdString();
        for (const QString& k : t.primaryKey) {
            const ColumnDef* c = t.column(k);
            ASSERT_NE(c, nullptr) << k.toStdString();
            EXPECT_FALSE(c->nullable) << k.toStdString();
        }
    }
}

// Every column the forms read or write, by name.
TEST(SchemaDefinition, CodedColumnsExistAsIntegers) {
    const auto catalogue = Schema::catalogue();
    for (const CodeLists::CodedColumn& coded : CodeLists::all()) {
        const TableDef* t = catalogue->table(coded.table);
        ASSERT_NE(t, nullptr) << coded.table.toStdString();
        const ColumnDef* c = t->column(coded.column);
        ASSERT_NE(c, nullptr) << coded.column.toStdString();
        EXPECT_TRUE(c->type == DataType::SmallInt || c->type == DataType::Integer)
            << coded.column.toStdString();
        EXPECT_FALSE(coded.codes.isEmpty());
    }
    EXPECT_TRUE(CodeLists::codesOf("EF01_IMPEFF_S").isEmpty());
}

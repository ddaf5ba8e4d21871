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

TEST(SchemaDefinition, BillAndChildrenKeysAndCatalogueLookup) {
    const auto catalogue = Schema::catalogue();
    const QStringList billKey = {"EF01_DITTA_CG18", "EF01_NUMREG_CO99", "EF01_RIGACONT_CG42",
                                 "EF01_PROGEC_EC01", "EF01_PROGEFF"};
    EXPECT_EQ(catalogue->table("ef01_scadenze")->primaryKey, billKey);
    for (const QString child : {"EF03_SCADCECAM", "EF04_SCADNOTE", "EF05_SCADSOLLEC", "EF06_SCADSTO"}) {
        const QString p = child.left(5);
        QStringList expected = {p + "DITTA_CG18", p + "NUMREG_CO99", p + "RIGACONT_EF01", p + "PROGEC_EF01",
                                p + "PROGEFF_EF01"};
        if (p == "EF05_") expected << "EF05_PROGAVVISI";
        if (p == "EF06_") expected << "EF06_PROGSTO";
        EXPECT_EQ(catalogue->table(child)->primaryKey, expected) << child.toStdString();
        // The registration number is text, the rest of the key integers, as on the Bill.
        EXPECT_EQ(catalogue->table(child)->column(p + "NUMREG_CO99")->type, DataType::Text);
        EXPECT_EQ(catalogue->table(child)->column(p + "PROGEFF_EF01")->type, DataType::Integer);
    }
    EXPECT_EQ(catalogue->table("CO99_MASTERDOC")->primaryKey,
              QStringList({"CO99_DITTA_CG18", "CO99_NUMREG"}));
    EXPECT_EQ(catalogue->ownerOfColumn("ef06_progsto")->name, "EF06_SCADSTO");
    // A view that repeats a table's column leaves the column to the table.
    EXPECT_EQ(catalogue->ownerOfColumn("CG16_RAGSOANAG")->name, "CG16_ANAGGEN");
    EXPECT_EQ(catalogue->ownerOfColumn("DATAINIZIOVALIDITA")->name, "VCG16_CG44_ALLADATA");
    EXPECT_EQ(catalogue->ownerOfColumn("V_GUID")->name, "VFILTROSTATI");
    EXPECT_EQ(catalogue->table("EF01_SCADENZE")->column("EF01_SCADE_S")->type, DataType::Date);
    EXPECT_EQ(catalogue->table("EF01_SCADENZE")->column("EF01_CAMBIO")->scale, 6);
    EXPECT_EQ(catalogue->table("EF01_SCADENZE")->column("EF01_IMPEFF_S")->scale, 2);
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
    EXPECT_EQ(CodeLists::codesOf("ef01_tipoeff").last(), 99);
    EXPECT_FALSE(CodeLists::codesOf("EF01_TIPOEFF").contains(17));
    EXPECT_EQ(CodeLists::codesOf("EF06_INDTIPOPER").size(), 17);
    EXPECT_TRUE(CodeLists::codesOf("EF06_INDTIPODIST_EF09").contains(21));
    EXPECT_EQ(CodeLists::codesOf("EF06_BONFLGCONF"), QList<int>({0, 1}));
    EXPECT_TRUE(CodeLists::codesOf("EF01_IMPEFF_S").isEmpty());
}

#pragma once

#include "Connection.h"
#include "MemoryCatalogue.h"
#include "Recordset.h"
#include "TestDatabase.h"

#include <gtest/gtest.h>

// Small tables shaped like the real ones: a bill-like table with a composite key and every
// value kind, a register joined to it, and a child table.
inline std::shared_ptr<MemoryCatalogue> testCatalogue() {
    auto c = std::make_shared<MemoryCatalogue>();
    c->add({QStringLiteral("TS01_BILLS"),
            {{QStringLiteral("TS01_DITTA"), DataType::Integer, 0, 0, 0, false},
             {QStringLiteral("TS01_NUMREG"), DataType::Text, 12, 0, 0, false},
             {QStringLiteral("TS01_PROG"), DataType::Integer, 0, 0, 0, false},
             {QStringLiteral("TS01_STATE"), DataType::SmallInt},
             {QStringLiteral("TS01_AMOUNT"), DataType::Decimal, 0, 18, 2},
             {QStringLiteral("TS01_RATE"), DataType::Decimal, 0, 18, 6},
             {QStringLiteral("TS01_NOTE"), DataType::Text, 80},
             {QStringLiteral("TS01_DUE"), DataType::Date},
             {QStringLiteral("TS01_STAMP"), DataType::DateTime}},
            {QStringLiteral("TS01_DITTA"), QStringLiteral("TS01_NUMREG"), QStringLiteral("TS01_PROG")}});
    c->add({QStringLiteral("TS02_REGISTER"),
            {{QStringLiteral("TS02_DITTA"), DataType::Integer, 0, 0, 0, false},
             {QStringLiteral("TS02_NUMREG"), DataType::Text, 12, 0, 0, false},
             {QStringLiteral("TS02_TYPE"), DataType::SmallInt},
             {QStringLiteral("TS02_CREATED"), DataType::Date}},
            {QStringLiteral("TS02_DITTA"), QStringLiteral("TS02_NUMREG")}});
    c->add({QStringLiteral("TS03_NOTES"),
            {{QStringLiteral("TS03_DITTA"), DataType::Integer, 0, 0, 0, false},
             {QStringLiteral("TS03_NUMREG"), DataType::Text, 12, 0, 0, false},
             {QStringLiteral("TS03_PROG"), DataType::Integer, 0, 0, 0, false},
             {QStringLiteral("TS03_TEXT"), DataType::Text, 200}},
            {QStringLiteral("TS03_DITTA"), QStringLiteral("TS03_NUMREG"), QStringLiteral("TS03_PROG")}});
    return c;
}

class EngineTest : public ::testing::TestWithParam<TestEngine> {
protected:
    void SetUp() override {
        REQUIRE_ENGINE(GetParam());
        db_ = std::make_unique<TestDatabase>(GetParam());
        catalogue_ = testCatalogue();
        conn_ = db_->connect(catalogue_);
        for (const TableDef* t : catalogue_->tables()) conn_->Execute(conn_->dialect().createTable(*t));
        // Three bills of company 1, one of company 2, and their register rows.
        conn_->Execute(QStringLiteral(
            "INSERT INTO TS02_REGISTER (TS02_DITTA, TS02_NUMREG, TS02_TYPE, TS02_CREATED) VALUES "
            "(1, 'R001', 4, '20240105'), (1, 'R002', 1, '20240210'), (2, 'R001', 4, '20240301')"));
        conn_->Execute(
            QStringLiteral("INSERT INTO TS01_BILLS (TS01_DITTA, TS01_NUMREG, TS01_PROG, TS01_STATE, "
                           "TS01_AMOUNT, TS01_NOTE, TS01_DUE) "
                           "VALUES (1, 'R001', 1, 0, 100.50, 'prima', '20240131'), (1, 'R001', 2, 1, 200.25, "
                           "'seconda', '20240229'), "
                           "(1, 'R002', 1, 0, 300.00, NULL, '20240315'), (2, 'R001', 1, 0, 50.00, 'altra "
                           "ditta', '20240131')"));
    }

    std::shared_ptr<Recordset> open(const QString& sql, std::shared_ptr<Connection> c = nullptr) {
        auto rs = std::make_shared<Recordset>();
        rs->Open(sql, c ? c : conn_);
        return rs;
    }

    QVariant scalar(const QString& sql) {
        auto rs = open(sql);
        return rs->Fields(0).Value();
    }

    std::unique_ptr<TestDatabase> db_;
    std::shared_ptr<MemoryCatalogue> catalogue_;
    std::shared_ptr<Connection> conn_;
};

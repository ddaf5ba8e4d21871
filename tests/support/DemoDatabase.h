#pragma once

#include "DemoGenerator.h"
#include "Recordset.h"
#include "SchemaInstaller.h"
#include "TestDatabase.h"
#include "Value.h"

#include <memory>

// A demo company on a fresh database of the engine: what every test of the forms, the host
// application, the access rules and the query plans starts from.
struct DemoDatabase {
    explicit DemoDatabase(TestEngine engine, int bills = 120) : db(engine) {
        connection = db.connect(SchemaInstaller::catalogue());
        DemoGenerator::installOn(connection, {.bills = bills});
    }
    // The first column of the first row of `sql`, as a number.
    int count(const QString& sql) const {
        Recordset rs;
        rs.Open(sql, connection);
        return Value::toInt(rs.Fields(0).Value());
    }
    TestDatabase db;
    std::shared_ptr<Connection> connection;
};

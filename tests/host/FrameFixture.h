#pragma once

#include "CheckBox.h"
#include "Connection.h"
#include "DateBox.h"
#include "EditBox.h"
#include "EventLog.h"
#include "MainNavigator.h"
#include "MemoryCatalogue.h"
#include "NumericBox.h"
#include "Recordset.h"
#include "ScriptedLogService.h"
#include "TestDatabase.h"
#include "TestForm.h"
#include "TestSchema.h"
#include "VirtualFrame.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>

// A small form on a real SQLite table: TS01_ITEMS with three rows, a frame bound to it with a
// text, an amount, a date and a flag control, an unbound field to move to, and a main navigator.
using TestSchema::column;
using TestSchema::table;

class FrameFixture : public ::testing::Test {
protected:
    void SetUp() override {
        auto catalogue = std::make_shared<MemoryCatalogue>();
        catalogue->add(table("TS01_ITEMS",
                             {column("TS01_ID", DataType::Integer), column("TS01_NAME", DataType::Text, 10),
                              column("TS01_AMOUNT", DataType::Decimal, 0, 15, 2),
                              column("TS01_DUE", DataType::Date), column("TS01_FLAG", DataType::SmallInt)}));
        catalogue->add(table("TS02_KINDS", {column("TS02_CODE", DataType::Text, 4),
                                            column("TS02_DESCR", DataType::Text, 30)}));
        conn = db.connect(catalogue);
        conn->Execute(QStringLiteral(
            "CREATE TABLE TS01_ITEMS (TS01_ID INTEGER NOT NULL PRIMARY KEY, TS01_NAME VARCHAR(10), "
            "TS01_AMOUNT DECIMAL(15,2), TS01_DUE TEXT, TS01_FLAG SMALLINT)"));
        conn->Execute(
            QStringLiteral("INSERT INTO TS01_ITEMS VALUES (1, 'Alfa', 10.5, '20240131', 1); "
                           "INSERT INTO TS01_ITEMS VALUES (2, 'Beta', 20, '20240229', 0); "
                           "INSERT INTO TS01_ITEMS VALUES (3, 'Gamma', NULL, NULL, 0)"));
        conn->Execute(QStringLiteral(
            "CREATE TABLE TS02_KINDS (TS02_CODE VARCHAR(4) NOT NULL PRIMARY KEY, TS02_DESCR VARCHAR(30))"));
        conn->Execute(QStringLiteral(
            "INSERT INTO TS02_KINDS VALUES ('R1', 'Riba'); INSERT INTO TS02_KINDS VALUES ('R2', 'Rid')"));

        log = std::make_shared<ScriptedLogService>();
        frame = form.add(new VirtualFrame);
        frame->setLogService(log);
        name = bind(new EditBox, "TS01_NAME");
        amount = bind(new NumericBox, "TS01_AMOUNT");
        due = bind(new DateBox, "TS01_DUE");
        flag = bind(new CheckBox(QStringLiteral("Flag")), "TS01_FLAG");
        other = form.add(new EditBox);
        navigator = form.add(new MainNavigator);

        rs = std::make_shared<Recordset>();
        rs->Open(kSql, conn);
        frame->Bind(conn, rs, kSql, QStringLiteral("TS01_ID"), navigator);
        events.watch(frame);
        ASSERT_TRUE(form.open());
    }

    template <class C>
    C* bind(C* control, const char* column) {
        form.add(control);
        control->setDataField(QString::fromLatin1(column));
        frame->AddControl(control);
        return control;
    }

    // What a person does to change a field: click into it, replace its text, leave with Tab.
    void retype(EditBox* box, const QString& text) {
        box->setFocus();
        box->lineEdit()->selectAll();
        QTest::keyClicks(box->lineEdit(), text);
        QTest::keyClick(box->lineEdit(), Qt::Key_Tab);
    }

    void click(const char* key) {
        QTest::mouseClick(navigator->button(QString::fromLatin1(key)), Qt::LeftButton);
    }

    // The stored value, read on a connection of its own.
    QVariant stored(int id, const char* column) {
        auto reader = db.connect();
        const auto results =
            reader->Query(QStringLiteral("SELECT %1 FROM TS01_ITEMS WHERE TS01_ID = %2").arg(column).arg(id));
        return results.empty() || results.front().rows.empty() ? QVariant()
                                                               : results.front().rows.front().value(0);
    }
    int storedRows() {
        return db.connect()
            ->Query(QStringLiteral("SELECT COUNT(*) FROM TS01_ITEMS"))
            .front()
            .rows.front()
            .value(0)
            .toInt();
    }

    const QString kSql = QStringLiteral(
        "SELECT TS01_ID, TS01_NAME, TS01_AMOUNT, TS01_DUE, TS01_FLAG FROM TS01_ITEMS WITH (NOLOCK) ORDER BY "
        "TS01_ID");

    TestDatabase db{TestEngine::Sqlite};
    std::shared_ptr<Connection> conn;
    std::shared_ptr<Recordset> rs;
    std::shared_ptr<ScriptedLogService> log;
    TestForm form;
    EventLog events;
    VirtualFrame* frame;
    EditBox* name;
    NumericBox* amount;
    DateBox* due;
    CheckBox* flag;
    EditBox* other;
    MainNavigator* navigator;
};

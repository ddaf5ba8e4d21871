#pragma once

// A demo company on a fresh database of each engine, and the bill form opened on it by the
// module class as the host application does.
#include "CLSKV_TARSELLO.h"
#include "DatabaseHost.h"
#include "DemoDatabase.h"
#include "DemoGenerator.h"
#include "FRMKV_TARSELLO.h"
#include "FrameControl.h"
#include "GridNavigator.h"
#include "MemoBox.h"
#include "Recordset.h"
#include "SchemaInstaller.h"
#include "ScriptedLogService.h"
#include "TabControl.h"
#include "TestDatabase.h"
#include "Value.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QSqlError>
#include <QSqlQuery>
#include <QtTest/QTest>

inline const QString kCustomerBills = QStringLiteral(
    " FROM EF01_SCADENZE WHERE EF01_DITTA_CG18 = 1 AND EF01_DITTACF_CG18 = 1 AND EF01_TIPOCF_CG44 = 0 AND "
    "EF01_INDCONTO = 0");

// A statement run beside the program, as a colleague's tool or a fault would.
inline void runSql(const std::shared_ptr<Connection>& c, const QString& sql) {
    QSqlQuery q(c->database());
    ASSERT_TRUE(q.exec(sql)) << q.lastError().text().toStdString() << " " << sql.toStdString();
}

// Makes every `event` (INSERT, UPDATE or DELETE) on `table` fail with "guasto simulato", as a
// full disk or a broken connection would, until mendWrites; with `when` (a condition on NEW's
// columns), only the rows meeting it.
inline void breakWrites(const std::shared_ptr<Connection>& c, TestEngine engine, const QString& event,
                        const QString& table, const QString& when = {}) {
    if (engine == TestEngine::Sqlite) {
        runSql(c, QStringLiteral("CREATE TRIGGER KV_GUASTO BEFORE %1 ON %2 %3 BEGIN SELECT RAISE(ABORT, "
                                 "'guasto simulato'); END")
                      .arg(event, table, when.isEmpty() ? QString() : QStringLiteral("WHEN ") + when));
        return;
    }
    runSql(c, QStringLiteral("CREATE OR REPLACE FUNCTION KV_GUASTO() RETURNS trigger AS $$ BEGIN IF %1 THEN "
                             "RAISE EXCEPTION 'guasto simulato'; END IF; RETURN NEW; END $$ LANGUAGE plpgsql")
                  .arg(when.isEmpty() ? QStringLiteral("TRUE") : when));
    runSql(c, QStringLiteral(
                  "CREATE TRIGGER KV_GUASTO BEFORE %1 ON %2 FOR EACH ROW EXECUTE FUNCTION KV_GUASTO()")
                  .arg(event, table));
}

inline void mendWrites(const std::shared_ptr<Connection>& c, TestEngine engine, const QString& table) {
    runSql(c, engine == TestEngine::Sqlite ? QStringLiteral("DROP TRIGGER KV_GUASTO")
                                           : QStringLiteral("DROP TRIGGER KV_GUASTO ON %1").arg(table));
}

// The form opened by the module class on the demo company, as the host application does.
class BillFormTest : public ::testing::TestWithParam<TestEngine> {
protected:
    void SetUp() override {
        REQUIRE_ENGINE(GetParam());
        demo_ = std::make_unique<DemoDatabase>(GetParam());
        host_ = std::make_shared<DatabaseHost>(demo_->db.connectionString(), DemoGenerator::kCompany,
                                               QStringLiteral("MROSSI"));
        log_ = std::make_shared<ScriptedLogService>();
        host_->setLogServiceFactory([this] { return log_; });
        newModule();
    }
    // A module of its own for each opening of the form, on host_, as the host application makes.
    void newModule() {
        module_ = std::make_unique<CLSKV_TARSELLO>([] { return std::make_unique<FRMKV_TARSELLO>(); });
        module_->setClsGlobal(host_);
        module_->TipoArchivio = 0;
        module_->StringaDiOrdinamentoEffetti =
            QStringLiteral("EF01_NUMREG_CO99, EF01_RIGACONT_CG42, EF01_PROGEC_EC01, EF01_PROGEFF");
    }
    void TearDown() override {
        if (module_ && form()) {
            log_->enqueue(7);  // leave without saving whatever a test left pending
            module_->CloseForm();
        }
    }

    FRMKV_TARSELLO* show() {
        module_->ShowForm();
        QApplication::processEvents();
        return form();
    }
    // The form shown on its tab `tab`; null when it did not open.
    FRMKV_TARSELLO* showTab(int tab) {
        FRMKV_TARSELLO* f = show();
        if (!f) return nullptr;
        f->TAB_SCADENZE->setTab(tab);
        QApplication::processEvents();
        return f;
    }
    // The history's last movement deleted with the grid's button, Yes to its question; the
    // messages shown stay in log_.
    void deleteLastMovement(FRMKV_TARSELLO* f) {
        f->clsRstStorico->MoveLast();
        log_->clear();
        log_->enqueue(6);
        f->GNV_STORICO->press(QStringLiteral("Elimina"));
    }
    FRMKV_TARSELLO* form() const { return dynamic_cast<FRMKV_TARSELLO*>(module_->form()); }
    FrameControl* c(const char* name) const { return form()->control(QString::fromLatin1(name)); }
    // A column of the header's current row.
    QVariant column(const char* name) const {
        return form()->clsRstTestata->Fields(QString::fromLatin1(name)).Value();
    }
    // The texts of the messages shown so far, and the last one.
    QStringList messageTexts() const {
        QStringList out;
        for (const auto& m : log_->messages()) out << m.text;
        return out;
    }
    QString lastMessage() const { return messageTexts().value(messageTexts().size() - 1); }
    // The key of the n-th customer Bill, in key order, meeting `condition` (" AND ..."); empty if
    // there is none.
    QString keyOfRow(int n, const QString& condition = {}) {
        Recordset rs;
        rs.Open(
            QStringLiteral("SELECT EF01_NUMREG_CO99, EF01_RIGACONT_CG42, EF01_PROGEC_EC01, EF01_PROGEFF") +
                kCustomerBills + condition +
                QStringLiteral(
                    " ORDER BY EF01_NUMREG_CO99, EF01_RIGACONT_CG42, EF01_PROGEC_EC01, EF01_PROGEFF"),
            demo_->connection);
        rs.Move(n - 1);
        if (rs.AtEOF()) return {};
        return QStringLiteral("1,%1,%2,%3,%4")
            .arg(Value::toText(rs.Fields(0).Value()).trimmed(), Value::toText(rs.Fields(1).Value()),
                 Value::toText(rs.Fields(2).Value()), Value::toText(rs.Fields(3).Value()));
    }
    QString keyWhere(const QString& condition) { return keyOfRow(1, condition); }
    // The rows of `table` under the registration number `numReg`.
    int registered(const char* table, const QString& numReg) {
        const QString t = QString::fromLatin1(table);
        const QString column =
            t.startsWith(u"CO99") ? QStringLiteral("CO99_NUMREG") : t.left(4) + "_NUMREG_CO99";
        return rowsOf(t, QStringLiteral("%1 = '%2'").arg(column, numReg));
    }
    // The rows of `table` meeting `condition`.
    int rowsOf(const QString& table, const QString& condition) {
        return demo_->count(QStringLiteral("SELECT COUNT(*) FROM %1 WHERE %2").arg(table, condition));
    }
    QString shownNumReg() const {
        return Value::toText(form()->clsRstTestata->Fields(QStringLiteral("EF01_NUMREG_CO99")).Value())
            .trimmed();
    }

    std::unique_ptr<DemoDatabase> demo_;
    std::shared_ptr<DatabaseHost> host_;
    std::shared_ptr<ScriptedLogService> log_;
    std::unique_ptr<CLSKV_TARSELLO> module_;
};

// Types into a field as a clerk does: enters it, replaces its text and, unless told to stay,
// leaves it with Tab.
inline void typeInto(FrameControl* field, const QString& text, bool leave = true) {
    // The clerk works in this form's window, whichever opened last.
    QApplication::setActiveWindow(field->window());
    field->setFocus();
    QApplication::processEvents();
    field->editor()->setFocus();
    QTest::keyClick(field->editor(), Qt::Key_A, Qt::ControlModifier);
    if (text.isEmpty()) QTest::keyClick(field->editor(), Qt::Key_Delete);
    for (const QChar c : text) {
        if (c.unicode() < 0x80) {
            QTest::keyClick(field->editor(), c.toLatin1());
            continue;
        }
        // A character with no key of its own arrives as a keyboard layout or input method
        // gives it: a key event carrying the text.
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(field->editor(), &press);
        QApplication::sendEvent(field->editor(), &release);
    }
    if (leave) QTest::keyClick(field->editor(), Qt::Key_Tab);
    QApplication::processEvents();
}

// Another clerk at another desk: a module of their own on the same database, their own
// connection and their own messages.
struct ClerkSession {
    ClerkSession(const QString& connectionString, const QString& key)
        : host(std::make_shared<DatabaseHost>(connectionString, DemoGenerator::kCompany,
                                              QStringLiteral("GDANGELO"))),
          log(std::make_shared<ScriptedLogService>()),
          module(std::make_unique<CLSKV_TARSELLO>([] { return std::make_unique<FRMKV_TARSELLO>(); })) {
        host->setLogServiceFactory([l = log] { return l; });
        module->setClsGlobal(host);
        module->TipoArchivio = 0;
        module->ChiaveEffettoInGestione = key;
        module->ShowForm();
        QApplication::processEvents();
    }
    ~ClerkSession() {
        if (form()) {
            log->enqueue(7);
            module->CloseForm();
        }
    }
    FRMKV_TARSELLO* form() const { return dynamic_cast<FRMKV_TARSELLO*>(module->form()); }

    std::shared_ptr<DatabaseHost> host;
    std::shared_ptr<ScriptedLogService> log;
    std::unique_ptr<CLSKV_TARSELLO> module;
};

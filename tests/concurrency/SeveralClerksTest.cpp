// Several clerks on one Bill at the same moment, each a kv_driver process of its own over the same
// database, paced by a write lock the test holds: they all read the Bill, type, and press Save
// while the test keeps the Bill locked, so that their saves meet when the lock goes.
#include "ClerkProcess.h"
#include "Connection.h"
#include "DatabaseGrants.h"
#include "Schema.h"
#include "TestDatabase.h"
#include "Value.h"
#include "WriteConflict.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringDecoder>
#include <QTemporaryDir>

#include <algorithm>
#include <memory>
#include <vector>

namespace {

// The save waits this long for another writer before it gives up (SQLite's busy timeout).
constexpr int kSaveWaitMs = 10000;
// Several clerks saving at once wait longer (the driver's --lock-wait): on a slow machine the first
// must still be waiting when the last one starts.
constexpr int kPatientWaitSeconds = 60;

class ClerksOnOneBill : public ::testing::Test {
protected:
    void open(TestEngine engine) {
        db = std::make_unique<TestDatabase>(engine);
        {
            ClerkProcess maker(db->connectionString(), QStringLiteral("MROSSI"), QString(),
                               {QStringLiteral("--demo")});
            ASSERT_TRUE(ClerkProcess::pumpUntil([&] { return maker.finished(); }, 120000))
                << maker.describe();
            ASSERT_EQ(maker.exitCode(), 0) << maker.describe();
        }
        connection = db->connect();
        const QVariantList first =
            row("SELECT EF01_DITTA_CG18, EF01_NUMREG_CO99, EF01_RIGACONT_CG42, EF01_PROGEC_EC01, EF01_PROGEFF"
                " FROM EF01_SCADENZE WHERE EF01_DITTA_CG18 = 1 AND EF01_TIPOCF_CG44 = 0"
                " ORDER BY EF01_NUMREG_CO99, EF01_RIGACONT_CG42, EF01_PROGEC_EC01, EF01_PROGEFF");
        ASSERT_EQ(first.size(), 5) << "the demo company has no customer Bill";
        QStringList key;
        for (const QVariant& v : first) key << Value::toText(v).trimmed();
        billKey = key.join(u',');
        billWhere = QStringLiteral(
                        "EF01_DITTA_CG18 = %1 AND EF01_NUMREG_CO99 = '%2' AND EF01_RIGACONT_CG42 = %3"
                        " AND EF01_PROGEC_EC01 = %4 AND EF01_PROGEFF = %5")
                        .arg(key[0], key[1], key[2], key[3], key[4]);
        historyWhere = QStringLiteral(
                           "EF06_DITTA_CG18 = %1 AND EF06_NUMREG_CO99 = '%2' AND EF06_RIGACONT_EF01 = %3"
                           " AND EF06_PROGEC_EF01 = %4 AND EF06_PROGEFF_EF01 = %5")
                           .arg(key[0], key[1], key[2], key[3], key[4]);
    }

    bool sqlite() const { return db->engine() == TestEngine::Sqlite; }

    QVariantList row(const char* sql) { return row(QString::fromUtf8(sql)); }
    QVariantList row(const QString& sql) {
        const std::vector<ResultSet> results = connection->Query(sql);
        if (results.empty() || results.front().rows.empty()) return {};
        return QVariantList(results.front().rows.front().begin(), results.front().rows.front().end());
    }
    QVariant scalar(const QString& sql) {
        const QVariantList r = row(sql);
        return r.isEmpty() ? QVariant() : r.front();
    }

    // How every clerk's scenario starts: the Bill opened in the bill form. Each scenario then
    // types and prints the field just before its save, so that the test sees the clerk reach it.
    QString opening() const {
        return QStringLiteral("set TipoArchivio 0\nset ChiaveEffettoInGestione %1\nshow\n").arg(billKey);
    }

    // The test's write lock: on SQLite the file's (BEGIN IMMEDIATE), on PostgreSQL what
    // `postgresLock` takes inside a transaction.
    void lock(const QString& postgresLock) {
        holder = db->connect();
        QSqlQuery q(holder->database());
        if (sqlite()) {
            ASSERT_TRUE(q.exec(QStringLiteral("BEGIN IMMEDIATE"))) << q.lastError().text().toStdString();
        } else {
            holder->BeginTrans();
            ASSERT_TRUE(q.exec(postgresLock)) << q.lastError().text().toStdString();
        }
    }
    void unlock() {
        if (!holder) return;
        if (sqlite()) {
            QSqlQuery q(holder->database());
            EXPECT_TRUE(q.exec(QStringLiteral("ROLLBACK"))) << q.lastError().text().toStdString();
        } else {
            holder->RollbackTrans();
        }
        holder.reset();
    }

    // PostgreSQL sessions other than the test's that hold a lock on a table of this test's
    // schema and wait (`waitType` Lock: for a lock; Timeout: in pg_sleep), or that have a
    // transaction open.
    int sessions(const QString& condition) {
        return Value::toInt(
            scalar(QStringLiteral(
                       "SELECT COUNT(DISTINCT a.pid) FROM pg_stat_activity a JOIN pg_locks l ON l.pid = a.pid"
                       " JOIN pg_class c ON c.oid = l.relation"
                       " WHERE c.relnamespace = current_schema()::regnamespace AND a.pid <> pg_backend_pid()"
                       " AND %1")
                       .arg(condition)));
    }

    // Waits until every clerk has printed `lines` lines (has reached the step before its save)
    // and then until `blocked` of them are held in their save: PostgreSQL shows them waiting;
    // SQLite does not tell, so a short pause. Within the save's own wait on SQLite.
    void waitForSaves(const std::vector<std::unique_ptr<ClerkProcess>>& clerks, qsizetype lines, int blocked,
                      const QString& waitCondition = QStringLiteral("a.wait_event_type = 'Lock'")) {
        const auto reached = [&] {
            for (const auto& c : clerks)
                if (c->lines().size() < lines && !c->finished()) return false;
            return true;
        };
        QElapsedTimer sinceFirst;
        const bool all = ClerkProcess::pumpUntil(
            [&] {
                if (!sinceFirst.isValid())
                    for (const auto& c : clerks)
                        if (c->lines().size() >= lines) sinceFirst.start();
                // SQLite: the first clerk's save gives up after kSaveWaitMs.
                if (sqlite() && sinceFirst.isValid() && sinceFirst.elapsed() > kSaveWaitMs / 2) return true;
                return reached();
            },
            120000);
        ASSERT_TRUE(all) << "the clerks did not reach their save: " << clerks.front()->describe();
        for (const auto& c : clerks)
            ASSERT_FALSE(c->finished()) << "a clerk ended before the save was released\n" << c->describe();
        ASSERT_TRUE(reached()) << "a clerk had not reached the save in time on a slow machine";
        if (sqlite()) {
            ClerkProcess::pumpUntil([] { return false; }, 1500);
        } else {
            ASSERT_TRUE(ClerkProcess::pumpUntil([&] { return sessions(waitCondition) >= blocked; }, 30000))
                << "only " << sessions(waitCondition) << " of " << blocked << " saves are held";
        }
    }

    static void finishAll(const std::vector<std::unique_ptr<ClerkProcess>>& clerks) {
        ClerkProcess::pumpUntil(
            [&] {
                for (const auto& c : clerks)
                    if (!c->finished()) return false;
                return true;
            },
            60000);
    }

    // Each output line is whole UTF-8 and JSON.
    static void expectCleanOutput(const ClerkProcess& clerk) {
        EXPECT_FALSE(clerk.crashed()) << clerk.describe();
        EXPECT_EQ(clerk.exitCode(), 0) << clerk.describe();
        // Qt's own warnings may go to standard error; the driver's failures start with its name.
        EXPECT_FALSE(clerk.errors().startsWith("kv_driver:") || clerk.errors().contains("\nkv_driver:"))
            << clerk.describe();
        for (const QByteArray& line : clerk.lines()) {
            QStringDecoder utf8(QStringDecoder::Utf8);
            const QString text = utf8(line);
            EXPECT_FALSE(utf8.hasError()) << clerk.describe();
            EXPECT_FALSE(QJsonDocument::fromJson(line).isNull()) << line.toStdString();
        }
    }

    static bool isConflict(const QJsonValue& message) {
        const QJsonObject m = message.toObject();
        return m.value(QStringLiteral("title")).toString() == WriteConflict::kTitle &&
               m.value(QStringLiteral("text")).toString() == WriteConflict::kMessage &&
               m.value(QStringLiteral("flags")).toInt() == WriteConflict::kFlags;
    }

    std::unique_ptr<TestDatabase> db;
    std::shared_ptr<Connection> connection;
    std::shared_ptr<Connection> holder;
    QString billKey, billWhere, historyWhere;
};

QString userOf(int clerk) {
    return clerk % 2 ? QStringLiteral("GDANGELO") : QStringLiteral("MROSSI");
}

// ---- several clerks save the same Bill ------------------------------------------------------

// What each clerk changes.
enum class Edit {
    SameText,  // one header field that keeps no history, each clerk a value of its own
    TextEach,  // a header field each, none keeping history
    SameDue,   // the due date, each clerk a date of its own: the save also writes a movement
    SameNote,  // the administration note of the notes tab, whose row is there
    NewNote,   // the same note of a Bill without a notes row: each clerk's save adds the row
};

struct SaveCase {
    TestEngine engine;
    int clerks;
    Edit edit;
};

class SeveralClerksSave : public ClerksOnOneBill, public ::testing::WithParamInterface<SaveCase> {
protected:
    QString notesWhere() const {
        QString where = historyWhere;
        return where.replace(QStringLiteral("EF06_"), QStringLiteral("EF04_"));
    }
};

// Header text fields that keep no history: changing them writes the header row alone.
// Free text fields of the header (CIG and CUP are checked against their archive, so they are
// no free text).
const char* const kFields[][2] = {{"TXT_NUMDOCORIG", "EF01_NUMDOCORIG"},
                                  {"TXT_NRAVVISOMAV", "EF01_NRAVVISOMAV"}};

TEST_P(SeveralClerksSave, NoUpdateIsLostEveryClerkSavesOrIsToldOfTheConflict) {
    const SaveCase c = GetParam();
    REQUIRE_ENGINE(c.engine);
    ASSERT_NO_FATAL_FAILURE(open(c.engine));
    const qint64 historyBefore =
        Value::toInt(scalar("SELECT COUNT(*) FROM EF06_SCADSTO WHERE " + historyWhere));
    const QDate dueBefore =
        Value::toDate(scalar("SELECT EF01_SCADE_S FROM EF01_SCADENZE WHERE " + billWhere));
    if (c.edit == Edit::SameNote) {
        connection->Execute(QStringLiteral("DELETE FROM EF04_SCADNOTE WHERE ") + notesWhere());
        connection->Execute(
            QStringLiteral("INSERT INTO EF04_SCADNOTE (EF04_DITTA_CG18, EF04_NUMREG_CO99,"
                           " EF04_RIGACONT_EF01, EF04_PROGEC_EF01, EF04_PROGEFF_EF01, EF04_NOTEAMMIN)"
                           " VALUES (%1, '%2', %3, %4, %5, 'Nota letta da tutti')")
                .arg(billKey.section(u',', 0, 0), billKey.section(u',', 1, 1), billKey.section(u',', 2, 2),
                     billKey.section(u',', 3, 3), billKey.section(u',', 4, 4)));
    }
    if (c.edit == Edit::NewNote)
        connection->Execute(QStringLiteral("DELETE FROM EF04_SCADNOTE WHERE ") + notesWhere());

    // Every table of the Bill's rows: readers go on, every write waits (a note's save writes no
    // header row).
    lock(QStringLiteral(
        "LOCK TABLE EF01_SCADENZE, EF03_SCADCECAM, EF04_SCADNOTE, EF05_SCADSOLLEC, EF06_SCADSTO"
        " IN SHARE MODE"));
    std::vector<std::unique_ptr<ClerkProcess>> clerks;
    QStringList typed, stored;
    for (int i = 0; i < c.clerks; ++i) {
        QString control = QString::fromLatin1(kFields[c.edit == Edit::TextEach ? i : 0][0]);
        QString steps;
        if (c.edit == Edit::SameDue) {
            control = QStringLiteral("TXT_SCADE");
            const QDate due = dueBefore.addMonths(i + 1);
            typed << due.toString(QStringLiteral("dd/MM/yyyy"));
            stored << due.toString(Qt::ISODate);
        } else {
            // Accented, euro and Greek: the value also crosses the driver's input and output whole.
            typed << QStringLiteral(u"Più € Ω %1").arg(i + 1);  // 9 characters: every field takes them
            stored << typed.last();
        }
        if (c.edit == Edit::SameNote || c.edit == Edit::NewNote) {
            control = QStringLiteral("TXT_NOTEAMMIN");
            steps = QStringLiteral("tab 4\n");
        }
        steps += QStringLiteral("type %1 \"%2\"\nleave %1\nget %1\nclick INV_MAIN Salva\nget %1\nmessages\n")
                     .arg(control, typed.last());
        clerks.push_back(std::make_unique<ClerkProcess>(
            db->connectionString(), userOf(i), opening() + steps,
            QStringList{QStringLiteral("--lock-wait"), QString::number(kPatientWaitSeconds)}));
    }
    ASSERT_NO_FATAL_FAILURE(waitForSaves(clerks, 1, c.clerks));
    unlock();
    finishAll(clerks);

    // Where each clerk's value lands.
    const auto storedValue = [&](int i) {
        if (c.edit == Edit::SameDue)
            return Value::toDate(scalar("SELECT EF01_SCADE_S FROM EF01_SCADENZE WHERE " + billWhere))
                .toString(Qt::ISODate);
        if (c.edit == Edit::SameNote || c.edit == Edit::NewNote)
            return Value::toText(scalar("SELECT EF04_NOTEAMMIN FROM EF04_SCADNOTE WHERE " + notesWhere()));
        const QString column = QString::fromLatin1(kFields[c.edit == Edit::TextEach ? i : 0][1]);
        return Value::toText(
            scalar(QStringLiteral("SELECT %1 FROM EF01_SCADENZE WHERE %2").arg(column, billWhere)));
    };
    int saved = 0;
    for (int i = 0; i < c.clerks; ++i) {
        const ClerkProcess& clerk = *clerks[i];
        SCOPED_TRACE(clerk.describe());
        expectCleanOutput(clerk);
        const QList<QJsonObject> seen = clerk.observations();
        ASSERT_EQ(seen.size(), 3);
        EXPECT_EQ(seen[0].value(QStringLiteral("text")).toString(), typed[i]);  // typed whole
        const QJsonArray messages = seen[2].value(QStringLiteral("messages")).toArray();
        const bool inDatabase = storedValue(i) == stored[i];
        const bool toldOfConflict = messages.size() == 1 && isConflict(messages[0]);
        // Saved, or told that another clerk changed the Bill: nothing else, never both.
        EXPECT_TRUE(inDatabase != toldOfConflict)
            << "in the database: " << inDatabase
            << "; messages: " << QJsonDocument(messages).toJson().toStdString();
        if (inDatabase) {
            ++saved;
            EXPECT_TRUE(messages.isEmpty());
        }
        // Saved or refused, the clerk's field still shows what was typed (a refused change stays
        // pending, to be read again and redone).
        EXPECT_EQ(seen[1].value(QStringLiteral("text")).toString(), typed[i]);
    }
    // One value for one field: the first save wins and the others find the Bill changed. A
    // field each: every save goes in.
    EXPECT_EQ(saved, c.edit == Edit::TextEach ? c.clerks : 1);
    // A movement for the one due date that went in, none for the others.
    EXPECT_EQ(Value::toInt(scalar("SELECT COUNT(*) FROM EF06_SCADSTO WHERE " + historyWhere)),
              historyBefore + (c.edit == Edit::SameDue ? 1 : 0));
}

std::vector<SaveCase> saveCases() {
    std::vector<SaveCase> cases;
    for (TestEngine engine : {TestEngine::Sqlite, TestEngine::PostgreSql}) {
        for (int n : {2, 4, 8}) cases.push_back({engine, n, Edit::SameText});
        cases.push_back({engine, int(std::size(kFields)), Edit::TextEach});
        for (int n : {2, 4}) cases.push_back({engine, n, Edit::SameDue});
        cases.push_back({engine, 2, Edit::SameNote});
        cases.push_back({engine, 2, Edit::NewNote});
    }
    // Through ODBC: the saves that meet on one field, on one due date, on a new note.
    for (Edit edit : {Edit::SameText, Edit::SameDue, Edit::NewNote})
        cases.push_back({TestEngine::Odbc, 2, edit});
    return cases;
}

std::string editName(Edit edit) {
    switch (edit) {
        case Edit::SameText:
            return "SameText";
        case Edit::TextEach:
            return "TextEach";
        case Edit::SameDue:
            return "SameDue";
        case Edit::SameNote:
            return "SameNote";
        case Edit::NewNote:
            return "NewNote";
    }
    return "";
}

// ctest names the cases by their printed parameter.
void PrintTo(const SaveCase& c, std::ostream* os) {
    *os << engineName(c.engine) << ", " << c.clerks << " clerks, " << editName(c.edit);
}

INSTANTIATE_TEST_SUITE_P(Clerks, SeveralClerksSave, ::testing::ValuesIn(saveCases()),
                         [](const ::testing::TestParamInfo<SaveCase>& info) {
                             return engineName(info.param.engine) + "_" + std::to_string(info.param.clerks) +
                                    "_" + editName(info.param.edit);
                         });

// ---- two clerks at once on writes from a view that can be stale -----------------------------

class StaleWrites : public ClerksOnOneBill, public ::testing::WithParamInterface<TestEngine> {
protected:
    // Each scenario a clerk of its own, started while the test holds the Bill's row and let go
    // once every clerk waits in its write; answers each clerk's messages at the end.
    std::vector<QJsonArray> paced(const QStringList& scenarios) {
        lock(QStringLiteral("SELECT EF01_PROGEFF FROM EF01_SCADENZE WHERE %1 FOR UPDATE").arg(billWhere));
        std::vector<std::unique_ptr<ClerkProcess>> clerks;
        // As patient as the clerks saving at once: on a busy machine the first must still be
        // waiting when the last one starts.
        for (int i = 0; i < scenarios.size(); ++i)
            clerks.push_back(std::make_unique<ClerkProcess>(
                db->connectionString(), userOf(i), opening() + scenarios[i],
                QStringList{QStringLiteral("--lock-wait"), QString::number(kPatientWaitSeconds)}));
        std::vector<QJsonArray> messages;
        waitForSaves(clerks, 1, int(clerks.size()));
        unlock();
        finishAll(clerks);
        for (const auto& clerk : clerks) {
            SCOPED_TRACE(clerk->describe());
            expectCleanOutput(*clerk);
            const QList<QJsonObject> seen = clerk->observations();
            messages.push_back(seen.isEmpty() ? QJsonArray()
                                              : seen.last().value(QStringLiteral("messages")).toArray());
        }
        return messages;
    }
    static bool toldOfConflict(const QJsonArray& messages) {
        return std::any_of(messages.begin(), messages.end(),
                           [](const QJsonValue& m) { return isConflict(m); });
    }
};

// Clerk A has the history open on the last movement and presses "Elimina" while clerk B saves a
// new due date (a movement of its own). Whichever goes first, the other is told of the conflict
// and undoes or saves nothing: the history never has a gap and the Bill is the winner's.
TEST_P(StaleWrites, AnUndoMeetingASaveLeavesTheWinnersBillAndNoGap) {
    REQUIRE_ENGINE(GetParam());
    ASSERT_NO_FATAL_FAILURE(open(GetParam()));
    connection->Execute(QStringLiteral("UPDATE EF01_SCADENZE SET EF01_INDEXP = 0 WHERE ") + billWhere);
    // An undo deletes a movement: the undoing clerk's group needs the delete right.
    connection->Execute(
        QStringLiteral("UPDATE KV11_DIRITTI SET KV11_FLGCANC = 1 WHERE KV11_GRUPPO_KV03 = 'CONTABILITA'"));
    DatabaseGrants::apply(*connection, Schema::accessClasses(), Schema::billProgram());
    const auto due = [&] {
        return Value::toDate(scalar("SELECT EF01_SCADE_S FROM EF01_SCADENZE WHERE " + billWhere));
    };
    const auto movements = [&] {
        return Value::toInt(scalar("SELECT COUNT(*) FROM EF06_SCADSTO WHERE " + historyWhere));
    };
    const QDate original = due();
    const auto changeOfDue = [&](int months) {
        return QStringLiteral(
                   "type TXT_SCADE %1\nleave TXT_SCADE\nget TXT_SCADE\nclick INV_MAIN Salva\nmessages\n")
            .arg(original.addMonths(months).toString(QStringLiteral("dd/MM/yyyy")));
    };
    {  // A manual variation to undo: its snapshot holds the due date as it was.
        ClerkProcess first(db->connectionString(), userOf(0), opening() + changeOfDue(1));
        ASSERT_TRUE(ClerkProcess::pumpUntil([&] { return first.finished(); }, 60000)) << first.describe();
        ASSERT_EQ(due(), original.addMonths(1)) << first.describe();
    }
    const int before = movements();
    const std::vector<QJsonArray> told = paced(
        {QStringLiteral(
             "tab 2\nrow GRD_STORICO %1\nget GRD_STORICO\nanswer 6\nclick GNV_STORICO Elimina\nmessages\n")
             .arg(before),
         changeOfDue(2)});
    ASSERT_EQ(told.size(), 2U);
    EXPECT_NE(toldOfConflict(told[0]), toldOfConflict(told[1])) << "exactly one of the two is told";
    const bool undoWon = toldOfConflict(told[1]);
    EXPECT_EQ(movements(), before + (undoWon ? -1 : 1));
    EXPECT_EQ(Value::toInt(scalar("SELECT MAX(EF06_PROGSTO) FROM EF06_SCADSTO WHERE " + historyWhere)),
              movements())
        << "a gap in the history";
    EXPECT_EQ(due(), undoWon ? original : original.addMonths(2));
}

// Both press "new attachment" on the Bill's header at once, first on a Bill without attachments
// (each would make an id of its own), then on one that has them. Every file ends under the Bill's
// one id and nobody is told of a failure.
TEST_P(StaleWrites, TwoClerksAttachingAtOnceKeepEveryFileUnderTheBillsOneId) {
    REQUIRE_ENGINE(GetParam());
    ASSERT_NO_FATAL_FAILURE(open(GetParam()));
    connection->Execute(QStringLiteral("UPDATE EF01_SCADENZE SET EF01_IDMEDIA_CG99 = NULL WHERE ") +
                        billWhere);
    QTemporaryDir dir;
    QStringList attached;
    for (int round = 0; round < 2; ++round) {
        QStringList scenarios;
        for (int i = 0; i < 2; ++i) {
            attached << QStringLiteral("pratica %1-%2 Più.txt").arg(round).arg(i);
            QFile file(dir.filePath(attached.last()));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write("x") == 1);
            scenarios << QStringLiteral(
                             "attach \"%1\"\nget TXT_NUMEFF\nnavigator ButtonPressed 11\nmessages\n")
                             .arg(file.fileName());
        }
        for (const QJsonArray& messages : paced(scenarios)) EXPECT_TRUE(messages.isEmpty());
    }
    const QString media =
        Value::toText(scalar("SELECT EF01_IDMEDIA_CG99 FROM EF01_SCADENZE WHERE " + billWhere)).trimmed();
    ASSERT_FALSE(media.isEmpty());
    QStringList names;
    for (const ResultSet& r : connection->Query(
             QStringLiteral("SELECT KV05_NOMEFILE FROM KV05_ALLEGATI WHERE KV05_IDMEDIA = '%1'").arg(media)))
        for (const auto& row : r.rows) names << Value::toText(row[0]).trimmed();
    names.sort();
    attached.sort();
    EXPECT_EQ(names, attached);
}

INSTANTIATE_ON_ENGINES(StaleWrites);

// ---- a clerk's process killed in the middle of a save ---------------------------------------

enum class Hold {
    BillLocked,   // the save waits for the Bill's row (SQLite: for the file), before any write
    HistorySlow,  // a trigger makes the history movement's insert slow: header and movement are
                  // written, not committed
};

struct KillCase {
    TestEngine engine;
    Hold hold;
};

class ClerkKilledInSave : public ClerksOnOneBill, public ::testing::WithParamInterface<KillCase> {
protected:
    struct BillState {
        QString due;
        int history = 0;
        QVariant changedFlag;
    };
    BillState state() {
        const QVariantList r =
            row("SELECT EF01_SCADE_S, EF01_FLGEFFVAR FROM EF01_SCADENZE WHERE " + billWhere);
        return {r.isEmpty() ? QString() : Value::toDate(r[0]).toString(Qt::ISODate),
                Value::toInt(scalar("SELECT COUNT(*) FROM EF06_SCADSTO WHERE " + historyWhere)),
                r.isEmpty() ? QVariant() : r[1]};
    }
    // Whether another connection is inside a write transaction of the SQLite file: the test
    // cannot take the write lock at once.
    bool sqliteWriterInside() {
        const QString name = QStringLiteral("kv-probe");
        bool inside = false;
        {
            QSqlDatabase probe = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
            probe.setDatabaseName(db->connectionString().mid(int(qstrlen("sqlite:"))));
            probe.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=0"));
            if (probe.open()) {
                QSqlQuery q(probe);
                inside = !q.exec(QStringLiteral("BEGIN IMMEDIATE"));
                if (!inside) q.exec(QStringLiteral("ROLLBACK"));
            }
            probe.close();
        }
        QSqlDatabase::removeDatabase(name);
        return inside;
    }

    // The due date moved on a month: a change that keeps history, so the save writes the header
    // and a movement in one transaction.
    QString changeOfDue(const QString& due) const {
        const QDate d = QDate::fromString(due, Qt::ISODate).addMonths(1);
        return opening() + QStringLiteral(
                               "type TXT_SCADE %1\nleave TXT_SCADE\nget TXT_SCADE\nclick INV_MAIN Salva\n"
                               "field EF01_SCADE_S\nmessages\n")
                               .arg(d.toString(QStringLiteral("dd/MM/yyyy")));
    }
};

TEST_P(ClerkKilledInSave, TheBillIsUntouchedAndTheDatabaseWhole) {
    const KillCase c = GetParam();
    REQUIRE_ENGINE(c.engine);
    ASSERT_NO_FATAL_FAILURE(open(c.engine));
    const BillState before = state();
    ASSERT_FALSE(before.due.isEmpty());

    QString waitCondition = QStringLiteral("a.wait_event_type = 'Lock'");
    if (c.hold == Hold::HistorySlow) {
        // Straight to the engine: the trigger's body has semicolons of its own. PostgreSQL
        // sleeps; SQLite cannot, so it counts to thirty million (seconds; the kill ends it).
        QSqlQuery q(connection->database());
        if (sqlite()) {
            ASSERT_TRUE(q.exec(QStringLiteral(
                "CREATE TRIGGER kv_slow_history AFTER INSERT ON EF06_SCADSTO BEGIN SELECT COUNT(*) FROM"
                " (WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 30000000)"
                " SELECT i FROM n); END")))
                << q.lastError().text().toStdString();
        } else {
            ASSERT_TRUE(
                q.exec(QStringLiteral("CREATE FUNCTION kv_slow_history() RETURNS trigger AS $$"
                                      " BEGIN PERFORM pg_sleep(3); RETURN NEW; END $$ LANGUAGE plpgsql")))
                << q.lastError().text().toStdString();
            ASSERT_TRUE(
                q.exec(QStringLiteral("CREATE TRIGGER kv_slow_history AFTER INSERT ON EF06_SCADSTO"
                                      " FOR EACH ROW EXECUTE FUNCTION kv_slow_history()")))
                << q.lastError().text().toStdString();
        }
        waitCondition = QStringLiteral("a.wait_event = 'PgSleep'");
    } else {
        lock(QStringLiteral("SELECT EF01_PROGEFF FROM EF01_SCADENZE WHERE %1 FOR UPDATE").arg(billWhere));
    }
    std::vector<std::unique_ptr<ClerkProcess>> clerks;
    clerks.push_back(
        std::make_unique<ClerkProcess>(db->connectionString(), userOf(0), changeOfDue(before.due)));
    if (sqlite() && c.hold == Hold::HistorySlow) {
        // The clerk's save holds the file's write lock from its first write to its commit. Only
        // after the line before the save: opening a WAL file may hold its lock for a moment too.
        ASSERT_TRUE(ClerkProcess::pumpUntil(
            [&] {
                const ClerkProcess& clerk = *clerks.front();
                return clerk.finished() || (!clerk.lines().isEmpty() && sqliteWriterInside());
            },
            60000))
            << clerks.front()->describe();
        ASSERT_FALSE(clerks.front()->finished()) << clerks.front()->describe();
    } else {
        ASSERT_NO_FATAL_FAILURE(waitForSaves(clerks, 1, 1, waitCondition));
    }
    clerks.front()->kill();
    ASSERT_TRUE(clerks.front()->crashed()) << clerks.front()->describe();
    unlock();

    if (!sqlite()) {
        // The server notices the client has gone and rolls its transaction back.
        EXPECT_TRUE(ClerkProcess::pumpUntil(
            [&] { return sessions(QStringLiteral("a.xact_start IS NOT NULL")) == 0; }, 30000))
            << "a transaction of the killed clerk is still open";
    }
    const BillState after = state();
    EXPECT_EQ(after.due, before.due);
    EXPECT_EQ(after.history, before.history);
    EXPECT_EQ(after.changedFlag, before.changedFlag);
    if (sqlite()) {
        EXPECT_EQ(Value::toText(scalar(QStringLiteral("PRAGMA integrity_check"))), QStringLiteral("ok"));
    } else {
        EXPECT_GT(Value::toInt(scalar(QStringLiteral("SELECT COUNT(*) FROM EF01_SCADENZE"))), 0);
    }

    // Another clerk makes the same change afterwards: nothing is left locked, and the header and
    // its movement go in together.
    if (c.hold == Hold::HistorySlow)
        connection->Execute(sqlite() ? QStringLiteral("DROP TRIGGER kv_slow_history")
                                     : QStringLiteral("DROP TRIGGER kv_slow_history ON EF06_SCADSTO"));
    ClerkProcess next(db->connectionString(), userOf(1), changeOfDue(before.due));
    ASSERT_TRUE(ClerkProcess::pumpUntil([&] { return next.finished(); }, 60000)) << next.describe();
    expectCleanOutput(next);
    const BillState saved = state();
    EXPECT_EQ(saved.due, QDate::fromString(before.due, Qt::ISODate).addMonths(1).toString(Qt::ISODate))
        << next.describe();
    EXPECT_EQ(saved.history, before.history + 1) << next.describe();
}

void PrintTo(const KillCase& c, std::ostream* os) {
    *os << engineName(c.engine) << ", " << (c.hold == Hold::BillLocked ? "Bill locked" : "history slow");
}

INSTANTIATE_TEST_SUITE_P(Kill, ClerkKilledInSave,
                         ::testing::Values(KillCase{TestEngine::Sqlite, Hold::BillLocked},
                                           KillCase{TestEngine::Sqlite, Hold::HistorySlow},
                                           KillCase{TestEngine::PostgreSql, Hold::BillLocked},
                                           KillCase{TestEngine::PostgreSql, Hold::HistorySlow},
                                           KillCase{TestEngine::Odbc, Hold::BillLocked}),
                         [](const ::testing::TestParamInfo<KillCase>& info) {
                             return engineName(info.param.engine) +
                                    (info.param.hold == Hold::BillLocked ? "_BillLocked" : "_HistorySlow");
                         });

}  // namespace

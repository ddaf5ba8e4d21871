// Many clerks on one PostgreSQL server at month end: 1, 4, 16 and 32 sessions, each a process of
// its own with its own connections and the real bill form, for a fixed time each. A session
// moves to a Bill, reads it again and adds one to its print counter (a history column: every
// save writes a movement too), enters new Bills and adds reminders. The figures of 1 session are
// the baseline of the others. At the end: no update lost (the counters and the movements add up
// to the saves acknowledged), no registration or Bill number given twice.
//
//   KV_TEST_PG=postgresql:///kvtest?host=/var/run/postgresql bench_load [SECONDS_PER_LEVEL]
#include "CLSKV_TARSELLO.h"
#include "Connection.h"
#include "DatabaseHost.h"
#include "DemoGenerator.h"
#include "FRMKV_SOLLECITI.h"
#include "FRMKV_TARSELLO.h"
#include "GridNavigator.h"
#include "MainNavigator.h"
#include "Recordset.h"
#include "ScratchDatabase.h"
#include "ScriptedLogService.h"
#include "TabControl.h"
#include "Value.h"
#include "VirtualFrame.h"
#include "WriteConflict.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRandomGenerator>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <iostream>
#include <string>

namespace {

const QString kCounter = QStringLiteral("EF01_NUMSTEFF_S");
constexpr int kHotBills = 8;  // the Bills every session changes: where the saves meet

// ---- one session ------------------------------------------------------------------------------

class Session {
public:
    Session(const QString& connectionString, const QStringList& keys) : keys_(keys) {
        host_ = std::make_shared<DatabaseHost>(connectionString, DemoGenerator::kCompany,
                                               QStringLiteral("ADMIN"));
        log_ = std::make_shared<ScriptedLogService>();
        host_->setLogServiceFactory([this] { return log_; });
        module_ = std::make_unique<CLSKV_TARSELLO>([] { return std::make_unique<FRMKV_TARSELLO>(); });
        module_->setClsGlobal(host_);
        module_->TipoArchivio = 0;
        QStringList numbers;
        for (const QString& k : keys) numbers << QStringLiteral("'%1'").arg(k.section(u',', 1, 1));
        module_->StringaDiSelezioneEffetti =
            QStringLiteral("EF01_NUMREG_CO99 IN (%1)").arg(numbers.join(QStringLiteral(", ")));
        module_->ChiaveEffettoInGestione = keys.first();
        module_->ShowForm();
        form_ = dynamic_cast<FRMKV_TARSELLO*>(module_->form());
    }
    ~Session() {
        log_->enqueue(7);
        module_->CloseForm();
    }

    void run(qint64 milliseconds) {
        QElapsedTimer clock;
        clock.start();
        auto* random = QRandomGenerator::global();
        while (clock.elapsed() < milliseconds) {
            const int pick = int(random->bounded(10));
            const int bill = int(random->bounded(kHotBills));
            if (pick < 6)
                addToCounter(bill);
            else if (pick < 8)
                enterNewBill();
            else
                addReminder(bill);
        }
    }

    QJsonObject result() const {
        return {{QStringLiteral("saves"), saves_},         {QStringLiteral("conflicts"), conflicts_},
                {QStringLiteral("failures"), failures_},   {QStringLiteral("increments"), increments_},
                {QStringLiteral("latencies"), latencies_}, {QStringLiteral("numbering"), numbering_},
                {QStringLiteral("moves"), moves_},         {QStringLiteral("bills"), bills_},
                {QStringLiteral("errors"), errors_}};
    }

private:
    // The clerk moves to the Bill and reads it again, as after pressing the form's refresh.
    void goTo(int bill) {
        QElapsedTimer timer;
        timer.start();
        const QStringList k = keys_.at(bill).split(u',');
        FRMKV_TARSELLO& f = *form_;
        f.FME_TESTATA->DataWillBeReread();
        f.FME_TESTATA->Detach();
        f.clsRstTestata->SeekKey({k[0].toInt(), k[1], k[2].toInt(), k[3].toInt(), k[4].toInt()});
        f.clsRstTestata->RequeryAround();
        f.FME_TESTATA->Attach(f.clsRstTestata);
        f.FME_TESTATA->setRecordChanged(false);
        moves_.append(double(timer.nsecsElapsed()) / 1e6);
    }

    bool save() {
        log_->clear();
        QElapsedTimer timer;
        timer.start();
        const bool saved = form_->FME_TESTATA->UpdateRecord(true, false);
        if (saved) {
            latencies_.append(double(timer.nsecsElapsed()) / 1e6);
            ++saves_;
            return true;
        }
        const auto messages = log_->messages();
        if (!messages.isEmpty() && messages.last().text == WriteConflict::kMessage) {
            ++conflicts_;
        } else {
            ++failures_;
            if (errors_.size() < 5)
                errors_.append(messages.isEmpty() ? QStringLiteral("refused") : messages.last().text);
        }
        form_->FME_TESTATA->Undo();
        return false;
    }

    void addToCounter(int bill) {
        goTo(bill);
        Recordset& rs = *form_->clsRstTestata;
        rs.Fields(kCounter).setValue(Value::toInt(rs.Fields(kCounter).Value()) + 1);
        form_->FME_TESTATA->Refresh();
        // The clerk's typing: other sessions save meanwhile, and this save must find out.
        QThread::msleep(5 + QRandomGenerator::global()->bounded(20));
        form_->FME_TESTATA->setRecordChanged(true);
        if (save()) ++increments_;
    }

    void enterNewBill() {
        QElapsedTimer timer;
        timer.start();
        form_->INV_MAIN->press(QStringLiteral("Nuovo"));
        numbering_.append(double(timer.nsecsElapsed()) / 1e6);
        auto set = [&](const char* column, const QVariant& v) {
            form_->clsRstTestata->Fields(QString::fromLatin1(column)).setValue(v);
        };
        set("EF01_CLIFOR_CG44", 1);
        set("EF01_TIPOEFF", 2);
        set("EF01_SCADE_S", QDate(2026, 12, 31));
        set("EF01_IMPEFF_S", QStringLiteral("1250.40"));
        set("EF01_INDSTATO_S", 0);
        set("EF01_INDGENSTATO_S", 0);
        form_->FME_TESTATA->Refresh();
        const QString numReg = form_->newRegistrationNumber();
        if (save()) bills_.append(numReg);
    }

    void addReminder(int bill) {
        goTo(bill);
        form_->TAB_SCADENZE->setTab(FRMKV_TARSELLO::TabSolleciti);
        // The reminder form is modal: it is confirmed from inside its own loop.
        QTimer::singleShot(0, [] {
            if (auto* r = qobject_cast<FRMKV_SOLLECITI*>(QApplication::activeModalWidget())) {
                r->GNV_DETTSOLLECITI->press(QStringLiteral("Conferma"));
                r->close();
            }
        });
        form_->GNV_SOLLECITI->press(QStringLiteral("Nuovo"));
        save();
    }

    QStringList keys_;
    std::shared_ptr<DatabaseHost> host_;
    std::shared_ptr<ScriptedLogService> log_;
    std::unique_ptr<CLSKV_TARSELLO> module_;
    FRMKV_TARSELLO* form_ = nullptr;
    int saves_ = 0, conflicts_ = 0, failures_ = 0, increments_ = 0;
    QJsonArray latencies_, numbering_, moves_, bills_, errors_;
};

// A session process: opens its form, says "ready", waits for "go" on its standard input, works
// for the time given and prints its result as one JSON line.
int runSession(const QString& connectionString, const QStringList& keys, qint64 milliseconds) {
    Session session(connectionString, keys);
    std::cout << "ready" << std::endl;
    std::string go;
    std::getline(std::cin, go);
    session.run(milliseconds);
    std::cout << QJsonDocument(session.result()).toJson(QJsonDocument::Compact).toStdString() << std::endl;
    return 0;
}

// ---- the run -----------------------------------------------------------------------------------

struct Level {
    int sessions = 0;
    double savesPerSecond = 0, p50 = 0, p95 = 0, p99 = 0, numberingMs = 0, moveMs = 0;
    int conflicts = 0, failures = 0;
};

double percentile(std::vector<double> v, double p) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, size_t(p * double(v.size())))];
}

qint64 scalar(const std::shared_ptr<Connection>& c, const QString& sql) {
    Recordset rs;
    rs.Open(sql, c);
    return Value::toDecimal(rs.Fields(0).Value()).toLongLong();
}

class LoadRun {
public:
    explicit LoadRun(qint64 milliseconds) : milliseconds_(milliseconds), db_(QStringLiteral("postgresql")) {
        auto c = db_.connection();
        DemoGenerator::installOn(c, {.bills = 200});
        Recordset rs;
        rs.Open(QStringLiteral("SELECT EF01_NUMREG_CO99, EF01_RIGACONT_CG42, EF01_PROGEC_EC01, EF01_PROGEFF"
                               " FROM EF01_SCADENZE WHERE EF01_DITTA_CG18 = 1 AND EF01_TIPOCF_CG44 = 0"
                               " AND EF01_INDEXP = 0 AND EF01_PROGEC_EC01 = 1 ORDER BY EF01_NUMREG_CO99"),
                c);
        for (; !rs.AtEOF() && keys_.size() < kHotBills; rs.MoveNext())
            keys_ << QStringLiteral("1,%1,%2,%3,%4")
                         .arg(Value::toText(rs.Fields(0).Value()).trimmed(),
                              Value::toText(rs.Fields(1).Value()), Value::toText(rs.Fields(2).Value()),
                              Value::toText(rs.Fields(3).Value()));
        counterBefore_ = counterSum();
        movementsBefore_ = movements();
    }

    Level level(int sessions) {
        std::vector<std::unique_ptr<QProcess>> processes;
        for (int i = 0; i < sessions; ++i) {
            auto p = std::make_unique<QProcess>();
            p->setProcessChannelMode(QProcess::ForwardedErrorChannel);
            p->start(QCoreApplication::applicationFilePath(),
                     {QStringLiteral("--clerk"), db_.connectionString(), keys_.join(u';'),
                      QString::number(milliseconds_)});
            processes.push_back(std::move(p));
        }
        for (auto& p : processes)
            while (!p->canReadLine())
                if (!p->waitForReadyRead(120000)) throw std::runtime_error("a session did not start");
        for (auto& p : processes) p->readLine();
        for (auto& p : processes) {
            p->write("go\n");
            p->waitForBytesWritten();
        }
        Level l;
        l.sessions = sessions;
        std::vector<double> latencies, numbering, moves;
        int saves = 0;
        for (auto& p : processes) {
            p->waitForFinished(milliseconds_ + 120000);
            const QJsonObject r = QJsonDocument::fromJson(p->readAllStandardOutput()).object();
            if (r.isEmpty()) throw std::runtime_error("a session gave no result");
            saves += r[QStringLiteral("saves")].toInt();
            l.conflicts += r[QStringLiteral("conflicts")].toInt();
            l.failures += r[QStringLiteral("failures")].toInt();
            increments_ += r[QStringLiteral("increments")].toInt();
            for (const QJsonValue v : r[QStringLiteral("latencies")].toArray())
                latencies.push_back(v.toDouble());
            for (const QJsonValue v : r[QStringLiteral("numbering")].toArray())
                numbering.push_back(v.toDouble());
            for (const QJsonValue v : r[QStringLiteral("moves")].toArray()) moves.push_back(v.toDouble());
            for (const QJsonValue v : r[QStringLiteral("bills")].toArray()) newBills_ << v.toString();
            for (const QJsonValue v : r[QStringLiteral("errors")].toArray())
                std::printf("  session error: %s\n", qPrintable(v.toString()));
        }
        l.savesPerSecond = saves * 1000.0 / double(milliseconds_);
        l.p50 = percentile(latencies, 0.50);
        l.p95 = percentile(latencies, 0.95);
        l.p99 = percentile(latencies, 0.99);
        l.numberingMs = percentile(numbering, 0.50);
        l.moveMs = percentile(moves, 0.50);
        return l;
    }

    // Answers whether every acknowledged change is in the database, each number given once.
    bool check() {
        const qint64 counted = counterSum() - counterBefore_;
        const qint64 moved = movements() - movementsBefore_;
        std::printf("\nCounter increments acknowledged %lld, found %lld; history movements %lld\n",
                    increments_, counted, moved);
        QStringList quoted;
        for (const QString& n : newBills_) quoted << QStringLiteral("'%1'").arg(n);
        const QString mine = QStringLiteral(" FROM EF01_SCADENZE WHERE EF01_NUMREG_CO99 IN (%1)")
                                 .arg(quoted.isEmpty() ? QStringLiteral("''") : quoted.join(u','));
        const qint64 rows = scalar(db_.connection(), QStringLiteral("SELECT COUNT(*)") + mine);
        const qint64 registrations =
            scalar(db_.connection(), QStringLiteral("SELECT COUNT(DISTINCT EF01_NUMREG_CO99)") + mine);
        const qint64 numbers =
            scalar(db_.connection(), QStringLiteral("SELECT COUNT(DISTINCT EF01_NUMEFF)") + mine);
        std::printf(
            "New Bills acknowledged %lld, stored %lld, distinct registrations %lld, distinct Bill "
            "numbers %lld\n",
            qint64(newBills_.size()), rows, registrations, numbers);
        const qint64 acknowledged = newBills_.size();
        return counted == increments_ && moved == increments_ && rows == acknowledged &&
               registrations == acknowledged && numbers == acknowledged;
    }

private:
    QString keyWhere(const QString& prefix, bool bill) const {
        QStringList any;
        for (const QString& key : keys_) {
            const QStringList k = key.split(u',');
            const QString columns = bill ? QStringLiteral(
                                               "(EF01_NUMREG_CO99 = '%1' AND EF01_RIGACONT_CG42 = %2 AND "
                                               "EF01_PROGEC_EC01 = %3 AND EF01_PROGEFF = %4)")
                                         : QStringLiteral(
                                               "(%5_NUMREG_CO99 = '%1' AND %5_RIGACONT_EF01 = %2 AND "
                                               "%5_PROGEC_EF01 = %3 AND %5_PROGEFF_EF01 = %4)")
                                               .replace(QStringLiteral("%5"), prefix);
            any << columns.arg(k[1], k[2], k[3], k[4]);
        }
        return any.join(QStringLiteral(" OR "));
    }
    qint64 counterSum() {
        return scalar(db_.connection(),
                      QStringLiteral("SELECT COALESCE(SUM(%1), 0) FROM EF01_SCADENZE WHERE ").arg(kCounter) +
                          keyWhere(QStringLiteral("EF01"), true));
    }
    qint64 movements() {
        return scalar(db_.connection(), QStringLiteral("SELECT COUNT(*) FROM EF06_SCADSTO WHERE ") +
                                            keyWhere(QStringLiteral("EF06"), false));
    }

    qint64 milliseconds_;
    ScratchDatabase db_;
    QStringList keys_;
    qint64 counterBefore_ = 0, movementsBefore_ = 0, increments_ = 0;
    QStringList newBills_;
};

int measure(qint64 milliseconds) {
    LoadRun run(milliseconds);
    std::vector<Level> levels;
    for (int sessions : {1, 4, 16, 32}) {
        levels.push_back(run.level(sessions));
        std::printf("%2d sessions done\n", sessions);
        std::fflush(stdout);
    }
    std::printf("\n%8s %10s %7s %8s %8s %8s %9s %9s %9s %8s\n", "sessions", "saves/s", "ratio", "p50 ms",
                "p95 ms", "p99 ms", "conflicts", "failures", "new ms", "move ms");
    for (const Level& l : levels)
        std::printf(
            "%8d %10.1f %7.2f %8.1f %8.1f %8.1f %9d %9d %9.1f %8.1f\n", l.sessions, l.savesPerSecond,
            levels.front().savesPerSecond > 0 ? l.savesPerSecond / levels.front().savesPerSecond : 0.0, l.p50,
            l.p95, l.p99, l.conflicts, l.failures, l.numberingMs, l.moveMs);
    const bool whole = run.check();
    std::printf("%s\n", whole ? "No update lost, no number given twice." : "LOST OR DUPLICATED DATA");
    return whole ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() == 5 && args[1] == QStringLiteral("--clerk"))
        return runSession(args[2], args[3].split(u';'), args[4].toLongLong());
    if (qEnvironmentVariableIsEmpty("KV_TEST_PG")) {
        std::fprintf(stderr, "KV_TEST_PG names no PostgreSQL database: nothing to measure.\n");
        return 2;
    }
    const qint64 seconds = args.size() > 1 ? args[1].toLongLong() : 10;
    try {
        return measure(seconds * 1000);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
}

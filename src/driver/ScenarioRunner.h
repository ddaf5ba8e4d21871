#pragma once

#include "ScenarioCommand.h"

#include <QObject>
#include <QPointer>
#include <QQueue>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>

class Cinterface;
class Connection;
class HostGlobal;
class FrameControl;
class HostNavigator;
class ScriptedAttachmentDesk;
class QEventLoop;
class ScriptedLogService;

// Replays a scenario of user actions on the real forms of a running module.
//
// Each command runs in an event-loop turn of its own, driven by a zero timer that is armed
// before the command runs, after the posted events of the previous one (layouts, queued calls)
// have been handled. So when a command opens a modal form (a double click that opens a
// child form, a modal ShowForm), the modal form's nested loop fires the timer and the scenario
// goes on inside it; closing the child form returns to the loop that opened it.
// Control commands act on the current form: the one named by `in`, else the innermost open one.
class ScenarioRunner : public QObject {
    Q_OBJECT
public:
    // What a scenario acts on. Without a module, `set`, `show` and `close` of the module are
    // refused; `form` is a form already open (a test's own form).
    struct Session {
        Cinterface* module = nullptr;
        std::shared_ptr<Connection> connection;
        std::shared_ptr<ScriptedLogService> log;
        QWidget* form = nullptr;
        // What a host hands the module each time it opens it; `show` hands it over again when
        // the module let go of it (its form closed).
        std::shared_ptr<HostGlobal> host;
        // The host's navigator the module is handed, and who picks attachment files.
        HostNavigator* navigator = nullptr;
        std::shared_ptr<ScriptedAttachmentDesk> desk;
    };
    // Receives each observation: one compact JSON object, without the line end.
    using Output = std::function<void(const QByteArray& line)>;

    static constexpr int kOk = 0;
    static constexpr int kFailed = 1;       // e.g. a database error
    static constexpr int kBadScenario = 2;  // a command, control or form that is not there

    ScenarioRunner(Session session, Output output, QObject* parent = nullptr);
    ~ScenarioRunner() override;

    // Runs every command; answers kOk, kFailed or kBadScenario (the reason in error()).
    int run(const QList<ScenarioCommand>& commands);
    const QString& error() const { return error_; }

private:
    void scheduleStep();
    void step();
    void execute(const ScenarioCommand& command);
    void finish(int code, const QString& error);
    void emitLine(const QByteArray& line) const;

    // The module and the host.
    void set(const QString& name, const QString& value);
    void show();
    void close();
    void answer(const QStringList& answers);
    void in(const QStringList& args);
    void sql(const QString& statement);
    // Writes the bank's file of slip `slip` ("TIPO/ANNO/NUMERO") to `path`.
    void slipFile(const QString& slip, const QString& path);
    void messages();
    // The current form's window as it is drawn, written to a PNG file.
    void grab(const QString& path);

    // Forms and controls (ScenarioControls.cpp).
    void trackWindows();
    QWidget* innermost() const;
    QWidget* currentForm();
    QWidget* control(const QString& name);
    template <class T>
    T* controlAs(const QString& name, const char* kind);
    void activate(QWidget* form);
    bool enter(QWidget* control, const QString& command, const QString& name);
    QWidget* focusTarget(QWidget* control) const;
    bool isShown(const QWidget* widget) const;
    static QString nameOf(const QWidget* widget);

    void focus(const QString& name);
    void type(const QString& name, const QString& text);
    void leave(const QString& name);
    void select(const QString& name, const QString& code);
    void check(const QString& name, const QString& state);
    void key(const QString& name, int code, int shift);
    void menu(const QString& name, const QString& key);
    void click(const QString& name, const QString& button);
    void tab(int index);
    void row(const QString& name, int row);
    void dblclick(const QString& name);
    void lookup(const QString& name, int row, const QString& filter);
    void get(const QString& name);
    void field(const QString& column);

    // The slip for the bank, by a filter or by its key (ScenarioSlips.cpp).
    void present(const QStringList& args);
    void withdraw(const QString& key);

    // The host's side (ScenarioHostEvents.cpp).
    void navigator(const QStringList& args);
    void property(const QString& name);
    void focused();
    void script(const QString& text);
    void attach(const QString& path);

    // The bank's outcomes on the slips (ScenarioOutcomes.cpp): `slips`, `slipbills`, `credit`,
    // `pay`, `unpaid`, `sepafile`, `statusreport`.
    static bool isOutcome(const QString& command);
    void outcome(const QString& command, const QStringList& args);

    Session session_;
    Output output_;
    QQueue<ScenarioCommand> pending_;
    QList<QPointer<QWidget>> opened_;  // top-level forms in the order they appeared
    QPointer<QWidget> pinned_;         // the form named by `in`
    QEventLoop* loop_ = nullptr;
    QTimer stepTimer_;  // a real timer, not a posted call: flushing posted events never runs it
    int steps_ = 0;
    bool paused_ = false;  // a command is answering a dialog of its own (the search list)
    bool done_ = false;
    int exitCode_ = kOk;
    QString error_;
};

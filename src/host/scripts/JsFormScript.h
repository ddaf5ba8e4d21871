#pragma once

#include "LayoutScriptHolder.h"

#include <QJsonObject>
#include <QPointer>
#include <QProcess>
#include <memory>

class LogService;
class QWidget;

// A user's script in JavaScript, run on a form's events by an engine in a process of its own
// (kv_script_engine). The script defines the functions it wants called, tsOpen(form) and
// tsClose(form); what tsClose answers is the form's answer to the request to close (true keeps
// the form open). `form` offers:
//   form.name                 the form's name as the layout knows it
//   form.field("TXT_NUMEFF")  the text a field shows; an unknown field is an error
//   form.message("text")      a message to the user ("Informazione")
// A script that fails (a syntax error, an exception, an unknown field) is reported as a
// SuiteError naming the line. One that runs past the time limit (the time a message waits for
// the user not counted), shows too many messages or takes too much memory cannot hold on: its
// process is killed and the engine discarded; the later events of this build do nothing. The
// form goes on either way.
class JsFormScript : public ScriptObject {
public:
    static constexpr int kDefaultTimeLimitMs = 2000;
    // Messages one event may show before the script is stopped.
    static constexpr int kMaxMessages = 20;

    // Starts the engine and evaluates the script text once (its top level defines the
    // functions); throws SuiteError when it does not compile, fails at once or runs too long.
    JsFormScript(const QString& text, QWidget* form, QString formName, std::shared_ptr<LogService> log,
                 int timeLimitMs = kDefaultTimeLimitMs);
    ~JsFormScript() override;
    JsFormScript(const JsFormScript&) = delete;
    JsFormScript& operator=(const JsFormScript&) = delete;

    void Close(const QVariant& context) override;
    QVariant RaiseFormEvent(bool open, const QVariantList& arguments) override;

    // The engine's program: beside the installed libraries, else where the build left it.
    static QString enginePath();

private:
    // Sends `request` and answers the engine's questions until it is done; throws SuiteError
    // for the script's error and, the engine discarded, for a run past the limits.
    QJsonObject run(const QJsonObject& request, const QString& what);
    QJsonObject answer(const QJsonObject& question, int* messages, const QString& what);
    [[noreturn]] void discard(const QString& why);

    QProcess engine_;
    QPointer<QWidget> form_;
    std::shared_ptr<LogService> log_;
    int timeLimitMs_;
    bool closed_ = false;
    bool discarded_ = false;
};

#pragma once

#include "LayoutScriptHolder.h"

#include <QJSEngine>
#include <functional>
#include <memory>

class LogService;
class QWidget;

// A user's script in JavaScript, run by QJSEngine on a form's events. The script defines the
// functions it wants called, tsOpen(form) and tsClose(form); what tsClose answers is the form's
// answer to the request to close (true keeps the form open). `form` offers:
//   form.name                 the form's name as the layout knows it
//   form.field("TXT_NUMEFF")  the text a field shows; an unknown field is an error
//   form.message("text")      a message to the user ("Informazione")
// A script that fails (a syntax error, an exception, an unknown field) or runs past the time
// limit is stopped and reported as a SuiteError naming the line; the form goes on.
class JsFormScript : public ScriptObject {
public:
    static constexpr int kDefaultTimeLimitMs = 2000;

    // Evaluates the script text once (its top level defines the functions); throws SuiteError
    // when it does not compile or fails at once.
    JsFormScript(const QString& text, QWidget* form, QString formName, std::shared_ptr<LogService> log,
                 int timeLimitMs = kDefaultTimeLimitMs);
    ~JsFormScript() override;

    void Close(const QVariant& context) override;
    QVariant RaiseFormEvent(bool open, const QVariantList& arguments) override;

private:
    // Runs `call` under the time limit; throws SuiteError for an error or an interrupted run.
    QJSValue guarded(const std::function<QJSValue()>& call, const QString& what);

    QJSEngine engine_;
    int timeLimitMs_;
    bool closed_ = false;
};

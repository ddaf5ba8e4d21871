// The host's side of a scenario: the navigator's events, the hand-over read back, the control
// in focus, the user's script and the files a person attaches.
#include "AttachmentDesk.h"
#include "Cinterface.h"
#include "HostGlobal.h"
#include "HostNavigator.h"
#include "JsonLine.h"
#include "LayoutScriptHolder.h"
#include "ScenarioError.h"
#include "ScenarioRunner.h"
#include "SuiteError.h"
#include "XlsxOfficeExport.h"

void ScenarioRunner::navigator(const QStringList& args) {
    HostNavigator* nav = session_.navigator;
    if (!nav) throw ScenarioError(QStringLiteral("no host navigator"));
    const QString& event = args[0];
    JsonLine line(QStringLiteral("navigator"));
    line.add(QStringLiteral("event"), event);
    const auto argument = [&] {
        if (args.size() < 2) throw ScenarioError(QStringLiteral("navigator %1 needs an argument").arg(event));
        return args[1];
    };
    if (event == QStringLiteral("BeforeChangeDitta")) {
        bool cancel = false;
        emit nav->BeforeChangeDitta(&cancel);
        line.add(QStringLiteral("cancel"), cancel);
    } else if (event == QStringLiteral("BeforeExportToOffice")) {
        const QString path = argument();
        line.add(QStringLiteral("file"), path);
        try {
            line.add(QStringLiteral("sections"), XlsxOfficeExport::run(*nav, path));
        } catch (const SuiteError& e) {
            // What the host shows the clerk: the scenario goes on, as the clerk would.
            line.add(QStringLiteral("error"), e.description());
        }
    } else if (event == QStringLiteral("ButtonPressed")) {
        bool ok = false;
        const int button = argument().toInt(&ok);
        if (!ok) throw ScenarioError(QStringLiteral("navigator ButtonPressed needs a number"));
        const qsizetype before = session_.desk ? session_.desk->opened.size() : 0;
        emit nav->ButtonPressed(button);
        line.add(QStringLiteral("button"), button);
        if (session_.desk) line.add(QStringLiteral("opened"), QVariant(session_.desk->opened.mid(before)));
    } else if (event == QStringLiteral("InitializeLayoutObjectModel") ||
               event == QStringLiteral("InitializeScriptObjectModel")) {
        if (!session_.host) throw ScenarioError(QStringLiteral("no host"));
        LayoutScriptHolder& holder = session_.host->LayoutAndScript();
        if (event == QStringLiteral("InitializeLayoutObjectModel"))
            emit nav->InitializeLayoutObjectModel(&holder);
        else
            emit nav->InitializeScriptObjectModel(&holder);
        line.add(QStringLiteral("structures"), QVariant(holder.StructureNames()));
    } else {
        throw ScenarioError(QStringLiteral("unknown navigator event \"%1\"").arg(event));
    }
    emitLine(line.toJson());
}

void ScenarioRunner::property(const QString& name) {
    Cinterface* m = session_.module;
    if (!m) throw ScenarioError(QStringLiteral("no module to read %1 from").arg(name));
    const QByteArray key = name.toLatin1();
    if (m->metaObject()->indexOfProperty(key.constData()) < 0)
        throw ScenarioError(QStringLiteral("the module has no property %1").arg(name));
    emitLine(JsonLine(QStringLiteral("property"))
                 .add(QStringLiteral("name"), name)
                 .add(QStringLiteral("value"), m->property(key.constData()))
                 .toJson());
}

void ScenarioRunner::focused() {
    QWidget* form = currentForm();
    if (!form) throw ScenarioError(QStringLiteral("no form is open"));
    // The named control that holds the focus: the focus may sit on an editor inside it.
    QWidget* w = form->focusWidget();
    while (w && w != form && (w->objectName().isEmpty() || w->objectName().startsWith(QStringLiteral("qt_"))))
        w = w->parentWidget();
    emitLine(JsonLine(QStringLiteral("focused"))
                 .add(QStringLiteral("form"), nameOf(form))
                 .add(QStringLiteral("control"), w && w != form ? QVariant(w->objectName()) : QVariant())
                 .toJson());
}

void ScenarioRunner::script(const QString& text) {
    if (!session_.host) throw ScenarioError(QStringLiteral("no host to keep the script"));
    session_.host->LayoutAndScript().SaveScript(text);
    emitLine(JsonLine(QStringLiteral("script")).add(QStringLiteral("saved"), true).toJson());
}

void ScenarioRunner::attach(const QString& path) {
    if (!session_.desk) throw ScenarioError(QStringLiteral("no attachment desk"));
    session_.desk->files.append(path);
}

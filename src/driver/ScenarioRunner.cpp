#include "ScenarioRunner.h"

#include "AtomicFile.h"

#include "Cinterface.h"
#include "Connection.h"
#include "HostGlobal.h"
#include "JsonLine.h"
#include "Recordset.h"
#include "ScenarioError.h"
#include "ScriptedLogService.h"
#include "SlipFiles.h"
#include "SuiteError.h"

#include <QApplication>
#include <QEventLoop>
#include <QPixmap>
#include <QRegularExpression>

namespace {

bool toBool(const QString& name, const QString& text) {
    const QString t = text.trimmed().toLower();
    if (t == QStringLiteral("1") || t == QStringLiteral("true")) return true;
    if (t == QStringLiteral("0") || t == QStringLiteral("false")) return false;
    throw ScenarioError(QStringLiteral("%1 takes 0, 1, true or false, not \"%2\"").arg(name, text));
}

int toInt(const QString& name, const QString& text) {
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    if (!ok) throw ScenarioError(QStringLiteral("%1 takes a whole number, not \"%2\"").arg(name, text));
    return value;
}

// The calling program's key of a Bill: company, registration number, row, statement and bill
// progressives; every part but the registration number a whole number.
QString billKey(const QString& text) {
    const QStringList parts = text.split(u',');
    bool ok = parts.size() == 5;
    for (int i = 0; ok && i < 5; ++i)
        if (i != 1) parts[i].trimmed().toInt(&ok);
    if (!ok)
        throw ScenarioError(
            QStringLiteral("ChiaveEffettoInGestione takes company,numreg,row,progec,progeff, not \"%1\"")
                .arg(text));
    return text;
}

}  // namespace

ScenarioRunner::ScenarioRunner(Session session, Output output, QObject* parent)
    : QObject(parent), session_(std::move(session)), output_(std::move(output)) {
    stepTimer_.setSingleShot(true);
    stepTimer_.setInterval(0);
    connect(&stepTimer_, &QTimer::timeout, this, &ScenarioRunner::step);
    if (session_.form) opened_.append(session_.form);
}

ScenarioRunner::~ScenarioRunner() = default;

int ScenarioRunner::run(const QList<ScenarioCommand>& commands) {
    pending_.clear();
    for (const ScenarioCommand& c : commands) pending_.enqueue(c);
    done_ = false;
    exitCode_ = kOk;
    error_.clear();
    QEventLoop loop;
    loop_ = &loop;
    scheduleStep();
    loop.exec();
    loop_ = nullptr;
    return exitCode_;
}

void ScenarioRunner::scheduleStep() {
    if (!stepTimer_.isActive()) stepTimer_.start();
}

void ScenarioRunner::step() {
    if (done_ || paused_) return;
    const int turn = ++steps_;
    // What the last command caused settles first, as between two actions of a person. The timer
    // is armed meanwhile: should that open a modal form, the scenario goes on inside it.
    scheduleStep();
    QCoreApplication::sendPostedEvents();
    if (turn != steps_ || done_) return;  // a step inside a modal form opened meanwhile took over
    stepTimer_.stop();
    trackWindows();
    if (pending_.isEmpty()) {
        finish(kOk, QString());
        return;
    }
    const ScenarioCommand command = pending_.dequeue();
    // Armed before the command runs: a command that opens a modal form waits in that form's
    // loop, and the next command must run inside it.
    scheduleStep();
    const auto where = [&](const QString& message) {
        return QStringLiteral("line %1: %2: %3").arg(command.line).arg(message, command.text);
    };
    try {
        execute(command);
    } catch (const ScenarioError& e) {
        finish(kBadScenario, where(e.message()));
    } catch (const SuiteError& e) {
        finish(kFailed, where(QStringLiteral("%1 (%2)").arg(e.description(), e.hexNumber())));
    } catch (const std::exception& e) {
        finish(kFailed, where(QString::fromLocal8Bit(e.what())));
    }
}

void ScenarioRunner::finish(int code, const QString& error) {
    if (done_) return;
    done_ = true;
    exitCode_ = code;
    error_ = error;
    // Modal forms still open hold nested loops above ours: hiding them, innermost first,
    // lets those loops return so that run() can.
    for (qsizetype i = opened_.size() - 1; i >= 0; --i) {
        QWidget* w = opened_[i];
        if (w && w->isVisible() && w->windowModality() != Qt::NonModal) w->hide();
    }
    // Also those opened inside a command (a search list, a message box on screen).
    for (QWidget* modal = QApplication::activeModalWidget(); modal && modal->isVisible();
         modal = QApplication::activeModalWidget())
        modal->hide();
    if (loop_) loop_->quit();
}

void ScenarioRunner::emitLine(const QByteArray& line) const {
    if (output_) output_(line);
}

void ScenarioRunner::execute(const ScenarioCommand& c) {
    const QString& n = c.name;
    const QStringList& a = c.args;
    if (n == QStringLiteral("set"))
        set(a[0], a[1]);
    else if (n == QStringLiteral("show"))
        show();
    else if (n == QStringLiteral("close"))
        close();
    else if (n == QStringLiteral("answer"))
        answer(a);
    else if (n == QStringLiteral("in"))
        in(a);
    else if (n == QStringLiteral("sql"))
        sql(a[0]);
    else if (n == QStringLiteral("messages"))
        messages();
    else if (n == QStringLiteral("grab"))
        grab(a[0]);
    else if (n == QStringLiteral("focus"))
        focus(a[0]);
    else if (n == QStringLiteral("type"))
        type(a[0], a[1]);
    else if (n == QStringLiteral("leave"))
        leave(a[0]);
    else if (n == QStringLiteral("select"))
        select(a[0], a[1]);
    else if (n == QStringLiteral("check"))
        check(a[0], a[1]);
    else if (n == QStringLiteral("key"))
        key(a[0], a[1].toInt(), a.size() > 2 ? a[2].toInt() : 0);
    else if (n == QStringLiteral("menu"))
        menu(a[0], a[1]);
    else if (n == QStringLiteral("click"))
        click(a[0], a[1]);
    else if (n == QStringLiteral("tab"))
        tab(a[0].toInt());
    else if (n == QStringLiteral("row"))
        row(a[0], a[1].toInt());
    else if (n == QStringLiteral("dblclick"))
        dblclick(a[0]);
    else if (n == QStringLiteral("lookup"))
        lookup(a[0], a[1].toInt(), a.value(2));
    else if (n == QStringLiteral("get"))
        get(a[0]);
    else if (n == QStringLiteral("field"))
        field(a[0]);
    else if (n == QStringLiteral("navigator"))
        navigator(a);
    else if (n == QStringLiteral("property"))
        property(a[0]);
    else if (n == QStringLiteral("focused"))
        focused();
    else if (n == QStringLiteral("script"))
        script(a[0]);
    else if (n == QStringLiteral("attach"))
        attach(a[0]);
    else if (n == QStringLiteral("presenta"))
        present(a);
    else if (n == QStringLiteral("ritira"))
        withdraw(a[0]);
    else if (n == QStringLiteral("slipfile"))
        slipFile(a[0], a[1]);
    else if (isOutcome(n))
        outcome(n, a);
    else
        throw ScenarioError(QStringLiteral("unknown command \"%1\"").arg(n));
}

void ScenarioRunner::set(const QString& name, const QString& value) {
    Cinterface* m = session_.module;
    if (!m) throw ScenarioError(QStringLiteral("no module to set %1 on").arg(name));
    // The calling program's hand-over: properties of the module, set by name as a caller does.
    const auto handOver = [&](const QVariant& v) {
        const QByteArray property = name.toLatin1();
        if (m->metaObject()->indexOfProperty(property.constData()) < 0 ||
            !m->setProperty(property.constData(), v))
            throw ScenarioError(QStringLiteral("the module has no property %1").arg(name));
    };
    if (name == QStringLiteral("StringaDiSelezioneEffetti") ||
        name == QStringLiteral("StringaDiOrdinamentoEffetti"))
        handOver(value);
    else if (name == QStringLiteral("TipoArchivio"))
        handOver(toInt(name, value));
    else if (name == QStringLiteral("AperturaSuNuovoEffetto") ||
             name == QStringLiteral("StringaSelezioneContenenteCampiDecodifica"))
        handOver(toBool(name, value));
    else if (name == QStringLiteral("ChiaveEffettoInGestione"))
        handOver(billKey(value));
    else if (name == QStringLiteral("WindowModal"))
        m->setWindowModal(toBool(name, value));
    else if (name == QStringLiteral("WindowState"))
        m->setWindowState(toInt(name, value));
    else if (name == QStringLiteral("ProgramMode"))
        m->setProgramMode(toInt(name, value));
    else if (name == QStringLiteral("hwndParent"))
        m->sethwndParent(toInt(name, value));
    else if (name == QStringLiteral("CanInsert"))
        m->setCanInsert(toBool(name, value));
    else if (name == QStringLiteral("CanDelete"))
        m->setCanDelete(toBool(name, value));
    else if (name == QStringLiteral("CanUpdate"))
        m->setCanUpdate(toBool(name, value));
    else if (name == QStringLiteral("CanQbe"))
        m->setCanQbe(toBool(name, value));
    else if (name == QStringLiteral("IsActive"))
        m->setIsActive(toBool(name, value));
    else if (name == QStringLiteral("IsCalled"))
        m->setIsCalled(toBool(name, value));
    // Variants: handed over as the text the scenario gives, as a host passes them on.
    else if (name == QStringLiteral("Top"))
        m->setTop(value);
    else if (name == QStringLiteral("Left"))
        m->setLeft(value);
    else if (name == QStringLiteral("Caption"))
        m->setCaption(value);
    else if (name == QStringLiteral("MenuModulo"))
        m->setMenuModulo(value);
    else if (name == QStringLiteral("MenuPadre"))
        m->setMenuPadre(value);
    else if (name == QStringLiteral("MenuProg"))
        m->setMenuProg(value);
    else if (name == QStringLiteral("Filtro"))
        m->setFiltro(value);
    else
        throw ScenarioError(QStringLiteral("unknown property \"%1\"").arg(name));
}

void ScenarioRunner::show() {
    Cinterface* m = session_.module;
    if (!m) throw ScenarioError(QStringLiteral("no module to show"));
    // A closed form took the host's objects away from the module: a host opening the module
    // again hands them over anew.
    if (session_.host && !m->ClsGlobal()) {
        m->setClsGlobal(session_.host);
        m->setActiveDll(m);
        m->setActiveNavigator(session_.navigator);
        session_.host->SetActiveModule(m);
    }
    m->ShowForm();
}

void ScenarioRunner::close() {
    QWidget* form = pinned_ && pinned_->isVisible() ? pinned_.data() : innermost();
    QWidget* moduleForm = session_.module ? qobject_cast<QWidget*>(session_.module->Cwindow()) : nullptr;
    if (session_.module && (!form || form == moduleForm)) {
        const QVariant name = moduleForm ? QVariant(nameOf(moduleForm)) : QVariant();
        const bool closed = session_.module->CloseForm().toBool();
        emitLine(JsonLine(QStringLiteral("close"))
                     .add(QStringLiteral("form"), name)
                     .add(QStringLiteral("result"), closed)
                     .toJson());
        return;
    }
    if (!form) throw ScenarioError(QStringLiteral("no form is open"));
    const QString name = nameOf(form);
    QPointer<QWidget> guard(form);
    form->close();
    emitLine(JsonLine(QStringLiteral("close"))
                 .add(QStringLiteral("form"), name)
                 .add(QStringLiteral("result"), !guard || !guard->isVisible())
                 .toJson());
}

void ScenarioRunner::answer(const QStringList& answers) {
    if (!session_.log) throw ScenarioError(QStringLiteral("no scripted message service to answer with"));
    for (const QString& a : answers) session_.log->enqueue(a.toInt());
}

void ScenarioRunner::in(const QStringList& args) {
    if (args.isEmpty()) {
        pinned_.clear();
        return;
    }
    const QString& name = args.front();
    for (qsizetype i = opened_.size() - 1; i >= 0; --i) {
        QWidget* w = opened_[i];
        if (w && w->isVisible() &&
            (w->objectName() == name || QString::fromLatin1(w->metaObject()->className()) == name)) {
            pinned_ = w;
            return;
        }
    }
    throw ScenarioError(QStringLiteral("no open form \"%1\"").arg(name));
}

void ScenarioRunner::sql(const QString& statement) {
    if (!session_.connection) throw ScenarioError(QStringLiteral("no database to run SQL on"));
    static const QRegularExpression returnsRows(QStringLiteral("^\\s*(SELECT|WITH)\\b"),
                                                QRegularExpression::CaseInsensitiveOption);
    if (!returnsRows.match(statement).hasMatch()) {
        const long affected = session_.connection->Execute(statement);
        emitLine(JsonLine(QStringLiteral("sql"))
                     .add(QStringLiteral("rowsAffected"), qlonglong(affected))
                     .toJson());
        return;
    }
    auto rs = std::make_shared<Recordset>();
    rs->Open(statement, session_.connection);
    for (; rs && rs->State() == 1; rs = rs->NextRecordset()) {
        QVariantList columns;
        for (int c = 0; c < rs->FieldCount(); ++c) columns << rs->Fields(c).Name();
        QByteArray rows = "[";
        int count = 0;
        for (; !rs->AtEOF(); rs->MoveNext()) {
            QVariantList values;
            for (int c = 0; c < rs->FieldCount(); ++c) values << rs->Fields(c).Value();
            rows += (count++ ? "," : "") + JsonLine::value(values);
        }
        emitLine(JsonLine(QStringLiteral("sql"))
                     .add(QStringLiteral("columns"), columns)
                     .addJson(QStringLiteral("rows"), rows + ']')
                     .toJson());
    }
}

void ScenarioRunner::slipFile(const QString& slip, const QString& path) {
    if (!session_.connection || !session_.host)
        throw ScenarioError(QStringLiteral("no database to read slips from"));
    JsonLine line(QStringLiteral("slipfile"));
    line.add(QStringLiteral("slip"), slip);
    try {
        const SlipFiles::Written written = SlipFiles::write(
            session_.connection,
            SlipKey::parse(session_.host->CompanyContext().company, slip, QStringLiteral("slipfile")), path);
        line.add(QStringLiteral("format"), written.format)
            .add(QStringLiteral("bills"), written.bills)
            .add(QStringLiteral("total"), written.total.toString())
            .add(QStringLiteral("bytes"), qlonglong(written.bytes));
    } catch (const SuiteError& e) {
        // A refusal is what the clerk is told: the scenario goes on.
        line.add(QStringLiteral("error"), e.description());
    }
    emitLine(line.toJson());
}

void ScenarioRunner::grab(const QString& path) {
    QWidget* form = currentForm();
    if (!form) throw ScenarioError(QStringLiteral("no form is open"));
    try {
        AtomicFile::savePng(path, form->grab().toImage());
    } catch (const SuiteError& e) {
        throw ScenarioError(QStringLiteral("cannot write \"%1\": %2").arg(path, e.description()));
    }
    emitLine(JsonLine(QStringLiteral("grab"))
                 .add(QStringLiteral("form"), nameOf(form))
                 .add(QStringLiteral("file"), path)
                 .toJson());
}

void ScenarioRunner::messages() {
    if (!session_.log) throw ScenarioError(QStringLiteral("no scripted message service"));
    QByteArray list = "[";
    const auto& all = session_.log->messages();
    for (qsizetype i = 0; i < all.size(); ++i) {
        const ScriptedLogService::Message& m = all[i];
        QByteArray item =
            "{\"title\":" + JsonLine::string(m.title) + ",\"flags\":" + QByteArray::number(m.flags) +
            ",\"text\":" + JsonLine::string(m.text) + ",\"answer\":" + QByteArray::number(m.answer) +
            ",\"scripted\":" + (m.scripted ? "true" : "false") + '}';
        list += (i ? "," : "") + item;
    }
    emitLine(JsonLine(QStringLiteral("messages")).addJson(QStringLiteral("messages"), list + ']').toJson());
}

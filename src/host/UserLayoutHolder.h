#pragma once

#include "LayoutScriptHolder.h"

#include <QList>
#include <QPointer>
#include <QWidget>
#include <functional>

class Connection;
class LogService;

// Layouts and scripts kept per user and program in the company database. The layout is the
// window's place and size and the column widths and order of the form's grids, saved when the
// form goes and given back when it opens. The script is JavaScript (JsFormScript) run on the form's events,
// built on the first structure declared (the form itself); a user without a script gets none.
class UserLayoutHolder : public LayoutScriptHolder {
public:
    using LogFactory = std::function<std::shared_ptr<LogService>()>;
    UserLayoutHolder(std::shared_ptr<Connection> connection, QString user, QString program,
                     LogFactory log = {});

    void AddStructure(const QString& name, QWidget* widget) override;
    QStringList StructureNames() const override;
    std::shared_ptr<LayoutObject> CurrentLayout() const override { return layout_; }
    void ClearLayout() override { layout_.reset(); }
    void ApplyLayout() override;
    std::shared_ptr<ScriptObject> CurrentScript() const override { return script_; }
    void ClearScript() override { script_.reset(); }
    void BuildScript() override;
    QString ScriptText() const override;
    void SaveScript(const QString& text) override;

    void SaveLayout() override;
    // Whether the last ApplyLayout gave the structure back as the user left it.
    bool restored(const QString& structure) const { return restored_.contains(structure); }
    // How long a script event may run before it is stopped.
    void setScriptTimeLimit(int ms) { scriptTimeLimitMs_ = ms; }

private:
    struct Structure {
        QString name;
        QPointer<QWidget> widget;
    };
    std::shared_ptr<Connection> connection_;
    QString user_;
    QString program_;
    LogFactory log_;
    QList<Structure> structures_;
    std::shared_ptr<LayoutObject> layout_;
    QStringList restored_;
    std::shared_ptr<ScriptObject> script_;
    int scriptTimeLimitMs_;
};
